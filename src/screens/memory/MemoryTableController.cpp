#include "screens/memory/MemoryTableController.h"

MemoryTableController::MemoryTableController(QObject* parent)
    : ScreenController(QStringLiteral("Memory"), ui::TableViewStyle::Grouped, parent)
{
}
