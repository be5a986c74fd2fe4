#include "screens/AlarmTableController.h"

AlarmTableController::AlarmTableController(QObject* parent)
    : ScreenController(QStringLiteral("Sound Alert"), ui::TableViewStyle::Grouped, parent)
{
}
