#include "screens/connections/ConnectionTableController.h"

ConnectionTableController::ConnectionTableController(QObject* parent)
    : ScreenController(QStringLiteral("Connections"), ui::TableViewStyle::Plain, parent)
{
}
