#include "ui/NavigationBar.h"

#include "ui/BarButtonItem.h"
#include "ui/FocusMark.h"
#include "ui/Font.h"
#include "ui/NavigationController.h"
#include "ui/NavigationItem.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace ui {

namespace {
constexpr int kBarHeight = 44;

QString buttonStyle()
{
    return QStringLiteral(
               "QPushButton { color: white; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
               " stop:0 #8fa3bf, stop:1 #5e7aa0); border: 1px solid #3d5479; border-radius: 5px;"
               " padding: 3px 9px; font-weight: bold; }"
               "QPushButton:pressed { background: #3d5479; }") +
           FocusMark::styleRule(QStringLiteral("QPushButton"));
}
} // namespace

NavigationBar::NavigationBar(NavigationController* controller, QWidget* parent)
    : QWidget(parent), m_controller(controller)
{
    setFixedHeight(kBarHeight);
    setAccessibleName(QStringLiteral("navigation bar"));
    m_title = new QLabel(this);
    m_title->setFont(Font::boldSystemFont(20));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setStyleSheet(QStringLiteral("color: white;"));
    m_left = new QPushButton(this);
    m_right = new QPushButton(this);
    for (QPushButton* b : {m_left, m_right}) {
        b->setFont(Font::boldSystemFont(12));
        b->setStyleSheet(buttonStyle());
        b->setCursor(Qt::PointingHandCursor);
        b->hide();
    }
    connect(m_left, &QPushButton::clicked, this, [this] {
        if (m_leftIsBack) {
            m_controller->popViewControllerAnimated(true);
        } else if (NavigationItem* item = topItem(); item && item->leftBarButtonItem()) {
            item->leftBarButtonItem()->trigger();
        }
    });
    connect(m_right, &QPushButton::clicked, this, [this] {
        if (NavigationItem* item = topItem(); item && item->rightBarButtonItem())
            item->rightBarButtonItem()->trigger();
    });
}

NavigationItem* NavigationBar::topItem() const
{
    ViewController* top = m_controller->topViewController();
    return top ? top->navigationItem() : nullptr;
}

QString NavigationBar::backButtonTitle() const
{
    return m_leftIsBack && !m_left->isHidden() ? m_left->text() : QString();
}

QString NavigationBar::titleText() const
{
    return m_fullTitle;
}

void NavigationBar::refresh()
{
    NavigationItem* item = topItem();
    if (m_watched != item) {
        if (m_watched)
            disconnect(m_watched, nullptr, this, nullptr);
        m_watched = item;
        if (item)
            connect(item, &NavigationItem::changed, this, &NavigationBar::refresh);
    }
    m_fullTitle = item ? item->title() : QString();

    m_leftIsBack = false;
    m_left->hide();
    if (item && item->leftBarButtonItem()) {
        const BarButtonItem* b = item->leftBarButtonItem();
        showButton(m_left, b->title(), b->icon(), b->isEnabled());
    } else if (item && !item->hidesBackButton() && m_controller->viewControllers().size() > 1) {
        const auto stack = m_controller->viewControllers();
        const QString below = stack.at(stack.size() - 2)->title();
        m_leftIsBack = true;
        showButton(m_left, below.isEmpty() ? QStringLiteral("Back") : below, {}, true);
        m_left->setAccessibleName(QStringLiteral("Back"));
    }
    m_right->hide();
    if (item && item->rightBarButtonItem()) {
        const BarButtonItem* b = item->rightBarButtonItem();
        showButton(m_right, b->title(), b->icon(), b->isEnabled());
    }
    place();
}

void NavigationBar::showButton(QPushButton* button, const QString& title, const QIcon& icon,
                               bool enabled)
{
    button->setText(title);
    button->setIcon(icon);
    button->setEnabled(enabled);
    button->setAccessibleName(title.isEmpty() ? QStringLiteral("action") : title);
    button->show();
}

void NavigationBar::place()
{
    const int margin = 5;
    const int h = 30;
    const int y = (height() - h) / 2;
    int leftEdge = margin;
    int rightEdge = width() - margin;
    if (!m_left->isHidden()) {
        const int w = std::min(m_left->sizeHint().width(), width() / 3);
        m_left->setGeometry(margin, y, w, h);
        leftEdge = margin + w + margin;
    }
    if (!m_right->isHidden()) {
        const int w = std::min(m_right->sizeHint().width(), width() / 3);
        m_right->setGeometry(width() - margin - w, y, w, h);
        rightEdge = width() - margin - w - margin;
    }
    // Keep the title centred on the bar while the buttons leave room; when it
    // does not fit there, use all the room between the buttons and elide.
    const QFontMetrics fm(m_title->font());
    const int textW = fm.horizontalAdvance(m_fullTitle);
    const int side = std::max(leftEdge, width() - rightEdge);
    QRect r(side, 0, std::max(0, width() - 2 * side), height());
    if (textW > r.width())
        r = QRect(leftEdge, 0, std::max(0, rightEdge - leftEdge), height());
    m_title->setGeometry(r);
    m_title->setText(fm.elidedText(m_fullTitle, Qt::ElideRight, r.width()));
}

void NavigationBar::resizeEvent(QResizeEvent*)
{
    place();
}

void NavigationBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(176, 188, 205));
    g.setColorAt(0.5, QColor(129, 149, 175));
    g.setColorAt(1, QColor(109, 132, 162));
    p.fillRect(rect(), g);
    p.setPen(QColor(45, 54, 66));
    p.drawLine(0, height() - 1, width(), height() - 1);
}

} // namespace ui
