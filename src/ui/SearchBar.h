#pragma once

#include <QLineEdit>

namespace ui {

// The search field that sits as a table's header: a line edit with a
// clear button and a "Search" placeholder. Its text changes reach the
// SearchDisplayController that owns the results table.
class SearchBar : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kHeight = 44;

    explicit SearchBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
