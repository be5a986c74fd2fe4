#include "screens/BatteryTableController.h"

BatteryTableController::BatteryTableController(QObject* parent)
    : ScreenController(QStringLiteral("Work Time"), ui::TableViewStyle::Grouped, parent)
{
}
