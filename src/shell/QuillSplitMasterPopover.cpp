#include "shell/QuillSplitMasterPopover.h"

#include "shell/QuillSplitViewController.h"
#include "shell/QuillSplitViewControllerDelegate.h"

#include <QCoreApplication>

QuillSplitMasterPopover::QuillSplitMasterPopover(QuillSplitViewController& splitViewController)
    : m_split(splitViewController)
{
}

QuillSplitMasterPopover::~QuillSplitMasterPopover()
{
    delete m_popover.data();
    delete m_button.data();
}

void QuillSplitMasterPopover::moveIn(ui::ViewController* master,
                                     QuillSplitViewControllerDelegate* delegate)
{
    master->beginDisappearance(false);
    m_popover = new ui::Popover(master, &m_split);
    master->endDisappearance(false);
    QuillSplitViewController* split = &m_split;
    m_button = new ui::BarButtonItem(
        QCoreApplication::translate("QuillSplitViewController", "Master"),
        [split] { split->showMasterPopover(); }, &m_split);
    if (delegate)
        delegate->splitViewControllerWillHideViewController(&m_split, master, m_button, m_popover);
}

void QuillSplitMasterPopover::moveOut(ui::ViewController* master,
                                      QuillSplitViewControllerDelegate* delegate)
{
    delete m_popover.data();
    ui::BarButtonItem* old = m_button;
    if (delegate)
        delegate->splitViewControllerWillShowViewController(&m_split, master, old);
    delete old;
}

void QuillSplitMasterPopover::dismissIfVisible()
{
    if (m_popover && m_popover->isPopoverVisible())
        m_popover->dismissPopoverAnimated(false);
}

void QuillSplitMasterPopover::present(ui::ViewController* master,
                                      QuillSplitViewControllerDelegate* delegate, QWidget* anchor)
{
    if (!m_popover)
        return;
    if (!m_popover->isPopoverVisible() && delegate)
        delegate->splitViewControllerPopoverControllerWillPresentViewController(&m_split, m_popover,
                                                                                master);
    // Just below the detail's bar, where the delegate puts the button.
    m_popover->presentFrom(anchor, QPoint(5, 44), true);
}
