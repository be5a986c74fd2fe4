#include "screens/routes/RouteTableController.h"

RouteTableController::RouteTableController(QObject* parent)
    : ScreenController(QStringLiteral("Routing Table"), ui::TableViewStyle::Plain, parent)
{
}
