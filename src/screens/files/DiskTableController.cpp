#include "screens/files/DiskTableController.h"

DiskTableController::DiskTableController(QObject* parent)
    : ScreenController(QStringLiteral("File Statistics"), ui::TableViewStyle::Grouped, parent)
{
}
