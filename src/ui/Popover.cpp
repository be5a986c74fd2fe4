#include "ui/Popover.h"

#include "ui/ViewController.h"

#include <QEvent>
#include <QFrame>
#include <QVBoxLayout>

namespace ui {

namespace {
// Tells the popover when Qt closes the panel (a click outside a popup).
class HideWatcher : public QObject {
public:
    HideWatcher(std::function<void()> onHide, QObject* parent)
        : QObject(parent), m_onHide(std::move(onHide))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            m_onHide();
        return false;
    }

private:
    std::function<void()> m_onHide;
};
} // namespace

Popover::Popover(ViewController* content, QObject* parent) : QObject(parent), m_content(content) {}

Popover::~Popover()
{
    if (m_frame) {
        // The content's view belongs to its controller, not to the panel.
        if (m_content && m_content->isViewLoaded() && m_content->view()->parentWidget() == m_frame)
            m_content->view()->setParent(nullptr);
        delete m_frame.data();
    }
}

bool Popover::isPopoverVisible() const
{
    return m_visible;
}

void Popover::presentFrom(QWidget* anchor, bool animated)
{
    if (!m_frame) {
        m_frame = new QFrame(anchor ? anchor->window() : nullptr, Qt::Popup);
        m_frame->setFrameShape(QFrame::Box);
        m_frame->setAccessibleName(QStringLiteral("popover"));
        auto* layout = new QVBoxLayout(m_frame);
        layout->setContentsMargins(1, 1, 1, 1);
        m_frame->installEventFilter(new HideWatcher(
            [this] {
                if (m_visible) {
                    m_visible = false;
                    if (m_content)
                        m_content->beginDisappearance(false);
                    Q_EMIT didDismiss();
                }
            },
            m_frame));
    }
    QWidget* page = m_content->view();
    if (page->parentWidget() != m_frame.data()) {
        m_frame->layout()->addWidget(page);
    }
    page->show();
    m_frame->resize(m_size);
    if (anchor)
        m_frame->move(anchor->mapToGlobal(QPoint(0, anchor->height())));
    m_visible = true;
    m_content->beginAppearance(animated);
    m_frame->show();
    m_content->endAppearance(animated);
}

void Popover::dismissPopoverAnimated(bool)
{
    if (!m_visible)
        return;
    m_visible = false;
    if (m_content)
        m_content->beginDisappearance(false);
    if (m_frame)
        m_frame->hide();
    if (m_content)
        m_content->endDisappearance(false);
}

} // namespace ui
