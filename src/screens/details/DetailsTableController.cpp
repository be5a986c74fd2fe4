#include "screens/details/DetailsTableController.h"

DetailsTableController::DetailsTableController(LogTableController& log, QObject* parent)
    : ScreenController(QStringLiteral("Details"), ui::TableViewStyle::Grouped, parent), m_log(log)
{
}
