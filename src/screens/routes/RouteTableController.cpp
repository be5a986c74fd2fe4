#include "screens/routes/RouteTableController.h"

#include "drawing/CellIdentifiers.h"
#include "drawing/RouteCell.h"

#include <utility>

namespace {
QString numberText(std::int32_t value)
{
    return value == -1 ? QStringLiteral("N/A") : QString::number(value);
}

// "Internet (14)", or the bare name for one row.
QString headerTitle(const std::string& name, std::size_t rows)
{
    const QString title = QString::fromStdString(name);
    return rows == 1 ? title : QStringLiteral("%1 (%2)").arg(title).arg(rows);
}
} // namespace

RouteTableController::RowTexts RouteTableController::rowTexts(const RouteStats::Snapshot& snapshot,
                                                              int section, int row)
{
    // Texts are made here, for the rows drawn only.
    const RouteInfo r = snapshot.route(section, row);
    return {QString::fromStdString(r.destination),
            QString::fromStdString(r.gateway),
            QString::fromStdString(r.flags),
            QString::fromStdString(r.interface),
            numberText(r.refs),
            numberText(r.use),
            numberText(r.expire),
            numberText(r.mtu)};
}

RouteTableController::RouteTableController(RouteStats& stats, QObject* parent)
    : ListScreenController(QStringLiteral("Routing Table"), parent), m_stats(stats),
      m_snapshot(stats.snapshot())
{
}

void RouteTableController::startSnapshot()
{
    m_stats.refreshAsync();
}

std::shared_ptr<const void> RouteTableController::takeSnapshot()
{
    return std::exchange(m_snapshot, m_stats.snapshot());
}

int RouteTableController::numberOfSectionsInTableView(ui::TableView*)
{
    return static_cast<int>(m_snapshot->sectionCount());
}

int RouteTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return static_cast<int>(m_snapshot->rowCount(section));
}

QString RouteTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    return headerTitle(m_snapshot->sectionName(section), m_snapshot->rowCount(section));
}

ui::TableViewCell* RouteTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                               ui::IndexPath indexPath)
{
    const QString identifier = QString::fromLatin1(cellid::kCell);
    auto* cell = static_cast<RouteCell*>(tableView->dequeueReusableCell(identifier));
    if (!cell)
        cell = new RouteCell(identifier);
    const RowTexts t = rowTexts(*m_snapshot, indexPath.section, indexPath.row);
    cell->setDestination(t.destination);
    cell->setGateway(t.gateway);
    cell->setFlags(t.flags);
    cell->setInterface(t.interface);
    cell->setRefs(t.refs);
    cell->setUse(t.use);
    cell->setExpire(t.expire);
    cell->setMtu(t.mtu);
    return cell;
}
