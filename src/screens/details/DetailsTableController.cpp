#include "screens/details/DetailsTableController.h"

DetailsTableController::DetailsTableController(QObject* parent)
    : ScreenController(QStringLiteral("Details"), ui::TableViewStyle::Grouped, parent)
{
}
