#include "shell/QuillSplitViewController.h"

#include "shell/QuillSplitViewControllerDelegate.h"
#include "ui/BarButtonItem.h"
#include "ui/Popover.h"

#include <QEvent>
#include <QResizeEvent>

namespace {
// Lays the panes out again whenever the container's view changes size.
class ResizeWatcher : public QObject {
public:
    ResizeWatcher(QuillSplitViewController* svc, QObject* parent) : QObject(parent), m_svc(svc) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            m_svc->layoutSubviews();
        return false;
    }

private:
    QuillSplitViewController* m_svc;
};
} // namespace

QuillSplitViewController::QuillSplitViewController(QObject* parent) : ui::ViewController(parent) {}

QuillSplitViewController::~QuillSplitViewController()
{
    delete m_popover;
}

QWidget* QuillSplitViewController::loadView()
{
    auto* view = new QWidget;
    view->setAutoFillBackground(true);
    QPalette pal = view->palette();
    pal.setColor(QPalette::Window, Qt::black);
    view->setPalette(pal);
    m_divider = new QWidget(view);
    m_divider->setAutoFillBackground(true);
    m_divider->setPalette(pal);
    view->installEventFilter(new ResizeWatcher(this, view));
    return view;
}

void QuillSplitViewController::setMasterViewController(ui::ViewController* master)
{
    m_master = master;
    if (isViewLoaded())
        layoutSubviews();
}

void QuillSplitViewController::setDetailViewController(ui::ViewController* detail)
{
    m_detail = detail;
    if (isViewLoaded())
        layoutSubviews();
}

bool QuillSplitViewController::isLandscape() const
{
    if (!isViewLoaded())
        return true;
    QWidget* v = const_cast<QuillSplitViewController*>(this)->view();
    return v->width() > v->height();
}

bool QuillSplitViewController::isShowingMaster() const
{
    return m_master && !m_masterInPopover && m_master->isViewLoaded();
}

void QuillSplitViewController::layoutSubviews()
{
    QWidget* v = view();
    const bool wantPopover = !isLandscape();
    if (wantPopover != m_masterInPopover)
        reconfigureForMasterInPopover(wantPopover);

    const int w = v->width();
    const int h = v->height();
    if (!m_masterInPopover && m_master) {
        QWidget* mv = m_master->view();
        if (mv->parentWidget() != v)
            mv->setParent(v);
        const int split = static_cast<int>(m_splitPosition);
        const int divider = static_cast<int>(m_splitWidth);
        mv->setGeometry(0, 0, split, h);
        mv->show();
        m_divider->setGeometry(split, 0, divider, h);
        m_divider->show();
        if (m_detail) {
            QWidget* dv = m_detail->view();
            if (dv->parentWidget() != v)
                dv->setParent(v);
            dv->setGeometry(split + divider, 0, std::max(0, w - split - divider), h);
            dv->show();
        }
    } else {
        m_divider->hide();
        if (m_detail) {
            QWidget* dv = m_detail->view();
            if (dv->parentWidget() != v)
                dv->setParent(v);
            dv->setGeometry(0, 0, w, h);
            dv->show();
        }
    }
}

void QuillSplitViewController::reconfigureForMasterInPopover(bool inPopover)
{
    m_masterInPopover = inPopover;
    if (inPopover) {
        if (m_master && m_master->isViewLoaded())
            m_master->view()->hide();
        m_barButtonItem = new ui::BarButtonItem(
            QString(), [this] { showMasterPopover(); }, this);
        m_popover = new ui::Popover(m_master, this);
        if (m_delegate)
            m_delegate->splitViewControllerWillHideViewController(this, m_master, m_barButtonItem,
                                                                  m_popover);
    } else {
        if (m_popover)
            m_popover->dismissPopoverAnimated(false);
        if (m_delegate)
            m_delegate->splitViewControllerWillShowViewController(this, m_master, m_barButtonItem);
        delete m_barButtonItem;
        m_barButtonItem = nullptr;
        delete m_popover;
        m_popover = nullptr;
        if (m_master && m_master->isViewLoaded())
            m_master->view()->setParent(view());
    }
}

void QuillSplitViewController::showMasterPopover()
{
    if (!m_popover || m_popover->isPopoverVisible())
        return;
    // Just below the detail's bar, where the "Page List" button sits.
    m_popover->presentFrom(m_detail ? m_detail->view() : view(), QPoint(5, 44), true);
}

void QuillSplitViewController::viewWillAppear(bool animated)
{
    if (isShowingMaster())
        m_master->beginAppearance(animated);
    if (m_detail)
        m_detail->beginAppearance(animated);
    layoutSubviews();
}

void QuillSplitViewController::viewDidAppear(bool animated)
{
    if (isShowingMaster())
        m_master->endAppearance(animated);
    if (m_detail)
        m_detail->endAppearance(animated);
}

void QuillSplitViewController::viewWillDisappear(bool animated)
{
    if (isShowingMaster())
        m_master->beginDisappearance(animated);
    if (m_detail)
        m_detail->beginDisappearance(animated);
}

void QuillSplitViewController::viewDidDisappear(bool animated)
{
    if (isShowingMaster())
        m_master->endDisappearance(animated);
    if (m_detail)
        m_detail->endDisappearance(animated);
}
