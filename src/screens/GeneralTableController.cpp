#include "screens/GeneralTableController.h"

GeneralTableController::GeneralTableController(QObject* parent)
    : ScreenController(QStringLiteral("Overview"), ui::TableViewStyle::Grouped, parent)
{
}
