#include "screens/connections/ConnectionTableController.h"

#include "drawing/CellIdentifiers.h"
#include "drawing/ConnectionCell.h"

#include <utility>

ConnectionTableController::RowTexts
ConnectionTableController::rowTexts(const ConnectionStats::Snapshot& snapshot, int section, int row)
{
    // Texts are made here, for the rows drawn only.
    const ConnectionInfo c = snapshot.connection(section, row);
    return {QString::fromStdString(c.localAddr), QString::fromStdString(c.localPort),
            QString::fromStdString(c.remoteAddr), QString::fromStdString(c.remotePort),
            c.state.empty() ? QStringLiteral("N/A") : QString::fromStdString(c.state)};
}

ConnectionTableController::ConnectionTableController(ConnectionStats& stats, QObject* parent)
    : ListScreenController(QStringLiteral("Connections"), parent), m_stats(stats),
      m_snapshot(stats.snapshot())
{
}

void ConnectionTableController::startSnapshot()
{
    m_stats.refreshAsync();
}

std::shared_ptr<const void> ConnectionTableController::takeSnapshot()
{
    return std::exchange(m_snapshot, m_stats.snapshot());
}

int ConnectionTableController::numberOfSectionsInTableView(ui::TableView*)
{
    return static_cast<int>(m_snapshot->sectionCount());
}

int ConnectionTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return static_cast<int>(m_snapshot->rowCount(section));
}

QString ConnectionTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    const QString name = QString::fromStdString(m_snapshot->sectionName(section));
    const std::size_t rows = m_snapshot->rowCount(section);
    if (rows == 1)
        return name;
    return QStringLiteral("%1 (%2)").arg(name).arg(rows);
}

ui::TableViewCell* ConnectionTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                    ui::IndexPath indexPath)
{
    const QString identifier = QString::fromLatin1(cellid::kCell);
    auto* cell = static_cast<ConnectionCell*>(tableView->dequeueReusableCell(identifier));
    if (!cell)
        cell = new ConnectionCell(identifier);
    const RowTexts t = rowTexts(*m_snapshot, indexPath.section, indexPath.row);
    cell->setLocalAddress(t.localAddress);
    cell->setRemoteAddress(t.remoteAddress);
    cell->setLocalPort(t.localPort);
    cell->setRemotePort(t.remotePort);
    cell->setState(t.state);
    return cell;
}
