#include "screens/processes/ProcessesTableController.h"

#include "drawing/CellIdentifiers.h"
#include "drawing/ProcessCell.h"
#include "ui/Device.h"

#include <utility>

ProcessesTableController::ProcessesTableController(ProcessStats& stats, QObject* parent)
    : ListScreenController(QStringLiteral("Processes"), parent), m_stats(stats),
      m_snapshot(stats.snapshot())
{
}

void ProcessesTableController::startSnapshot()
{
    m_stats.refreshAsync();
}

std::shared_ptr<const void> ProcessesTableController::takeSnapshot()
{
    return std::exchange(m_snapshot, m_stats.snapshot());
}

int ProcessesTableController::numberOfSectionsInTableView(ui::TableView*)
{
    return static_cast<int>(m_snapshot->processArray.size());
}

int ProcessesTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return static_cast<int>(m_snapshot->processArray.at(section).processList.size());
}

QString ProcessesTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    const ProcessUserGroup& group = m_snapshot->processArray.at(section);
    const QString name = QString::fromStdString(group.name);
    if (group.processList.size() == 1)
        return QStringLiteral("%1 user processes").arg(name);
    return QStringLiteral("%1 user processes (%2)").arg(name).arg(group.processList.size());
}

ui::TableViewCell* ProcessesTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                   ui::IndexPath indexPath)
{
    const QString identifier = QString::fromLatin1(cellid::kCell);
    auto* cell = static_cast<ProcessCell*>(tableView->dequeueReusableCell(identifier));
    if (!cell)
        cell = new ProcessCell(identifier);
    const ProcessInfo& info =
        m_snapshot->processArray.at(indexPath.section).processList.at(indexPath.row);
    // Bytes that are not UTF-8 show as replacement characters.
    cell->setName(QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size())));
    cell->setRuntime(QString::fromStdString(info.runtime));
    cell->setPID(QString::number(info.pid));
    cell->setPPID(QString::number(info.ppid));
    cell->setPrio(QString::number(info.prio));
    if (ui::Device::isPad()) {
        cell->setPGID(QString::number(info.pgid));
        cell->setUID(QString::number(info.uid));
    }
    return cell;
}
