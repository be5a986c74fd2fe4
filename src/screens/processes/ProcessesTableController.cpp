#include "screens/processes/ProcessesTableController.h"

ProcessesTableController::ProcessesTableController(QObject* parent)
    : ScreenController(QStringLiteral("Processes"), ui::TableViewStyle::Plain, parent)
{
}
