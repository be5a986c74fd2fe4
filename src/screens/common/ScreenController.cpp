#include "screens/common/ScreenController.h"

ScreenController::ScreenController(const QString& title, ui::TableViewStyle style, QObject* parent)
    : ui::TableViewController(style, parent)
{
    setTitle(title);
}

void ScreenController::reloadData()
{
    tableView()->reloadData();
}

void ScreenController::viewWillAppear(bool animated)
{
    ui::TableViewController::viewWillAppear(animated);
    reloadData();
}
