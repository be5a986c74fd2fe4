#include "screens/log/LogTableController.h"

LogTableController::LogTableController(QObject* parent)
    : ScreenController(QStringLiteral("System Log"), ui::TableViewStyle::Plain, parent)
{
}
