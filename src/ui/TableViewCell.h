#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace ui {

enum class CellStyle { Default = 0, Value1 = 1 };
enum class AccessoryType { None, DisclosureIndicator, Checkmark };
enum class SelectionStyle { None, Blue, Gray };
// Where a cell sits in a grouped section; decides its rounded corners.
enum class GroupPosition { Plain, Single, Top, Middle, Bottom };

class TableView;

// One row of a TableView. The cell owns a content view whose children may
// carry integer tags, found again with viewWithTag() when the cell is reused.
// layoutSubviews() places the standard labels; subclasses run it first and
// then move what they need.
class TableViewCell : public QWidget {
    Q_OBJECT
public:
    TableViewCell(CellStyle style, const QString& reuseIdentifier, QWidget* parent = nullptr);
    ~TableViewCell() override;

    CellStyle cellStyle() const { return m_style; }
    QString reuseIdentifier() const { return m_reuseIdentifier; }

    QLabel* textLabel() const { return m_textLabel; }
    // Only value-1 cells have a detail label; default cells answer nullptr.
    QLabel* detailTextLabel() const { return m_detailTextLabel; }
    QWidget* contentView() const { return m_contentView; }

    AccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(AccessoryType type);
    // The cell takes ownership; a custom view replaces the accessory type.
    QWidget* accessoryView() const { return m_accessoryView; }
    void setAccessoryView(QWidget* view);

    SelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(SelectionStyle style) { m_selectionStyle = style; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    double indentationWidth() const { return m_indentationWidth; }
    void setIndentationWidth(double width) { m_indentationWidth = width; }
    int indentationLevel() const { return m_indentationLevel; }
    void setIndentationLevel(int level) { m_indentationLevel = level; }

    GroupPosition groupPosition() const { return m_groupPosition; }
    void setGroupPosition(GroupPosition position);

    // Tagged subviews: tag 0 means untagged.
    static void setTag(QWidget* view, int tag);
    static int tag(const QWidget* view);
    QWidget* viewWithTag(int tag) const;

    // Places the standard labels and the accessory in the cell's bounds.
    virtual void layoutSubviews();
    // Called when the table hands the cell out again from its reuse pool.
    virtual void prepareForReuse() {}

    // Text of the row for `--dump`: the label, a tab, the values.
    virtual QString dumpText() const;

Q_SIGNALS:
    void tapped(ui::TableViewCell* cell);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect accessoryRect() const;
    void updateLabelColors();

    CellStyle m_style;
    QString m_reuseIdentifier;
    QWidget* m_contentView;
    QLabel* m_textLabel;
    QLabel* m_detailTextLabel = nullptr;
    QWidget* m_accessoryView = nullptr;
    QWidget* m_accessoryIndicator = nullptr;
    AccessoryType m_accessoryType = AccessoryType::None;
    SelectionStyle m_selectionStyle = SelectionStyle::Blue;
    GroupPosition m_groupPosition = GroupPosition::Plain;
    double m_indentationWidth = 10.0;
    int m_indentationLevel = 0;
    bool m_selected = false;
    bool m_pressed = false;
    bool m_labelsWhite = false;
    QColor m_savedColors[2];
};

} // namespace ui
