#include "screens/about/AboutTableController.h"

AboutTableController::AboutTableController(QObject* parent)
    : ScreenController(QStringLiteral("About"), ui::TableViewStyle::Grouped, parent)
{
}
