#include "shell/DetailNavigationController.h"

#include "ui/NavigationBar.h"
#include "ui/NavigationItem.h"

DetailNavigationController::DetailNavigationController(ui::ViewController* root, QObject* parent)
    : ui::NavigationController(root, parent)
{
}

void DetailNavigationController::invalidateRootPopoverButtonItem()
{
    if (ui::NavigationItem* item = navigBar()->topItem())
        item->setLeftBarButtonItem(nullptr, false);
}

void DetailNavigationController::showRootPopoverButtonItem(ui::BarButtonItem* barButtonItem)
{
    // Takes the place of the back button of a pushed page.
    if (ui::NavigationItem* item = navigBar()->topItem())
        item->setLeftBarButtonItem(barButtonItem, false);
}
