#include "screens/MemoryTableController.h"

MemoryTableController::MemoryTableController(QObject* parent)
    : ScreenController(QStringLiteral("Memory"), ui::TableViewStyle::Grouped, parent)
{
}
