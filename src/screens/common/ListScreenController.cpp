#include "screens/common/ListScreenController.h"

#include "stats/BackgroundWorker.h"
#include "ui/BarButtonItem.h"
#include "ui/Device.h"
#include "ui/NavigationItem.h"

#include <QCoreApplication>
#include <QPointer>

ListScreenController::ListScreenController(const QString& title, QObject* parent)
    : ScreenController(title, ui::TableViewStyle::Plain, parent),
      m_refresh(new ui::BarButtonItem(
          QStringLiteral("Refresh"), [this] { clickMe(); }, this))
{
    navigationItem()->setRightBarButtonItem(m_refresh);
}

void ListScreenController::viewDidLoad()
{
    tableView()->setRowHeight(ui::Device::isPad() ? 56 : 50);
    if (hidesBackButton())
        navigationItem()->setHidesBackButton(true);
}

bool ListScreenController::hidesBackButton() const
{
    return ui::Device::isPad();
}

void ListScreenController::reloadData()
{
    if (!m_shownOnce) {
        // Whatever the collector already holds is shown at once.
        m_shownOnce = true;
        retire(takeSnapshot());
        tableView()->reloadData();
    }
    if (m_pending)
        return;
    m_pending = true;
    startSnapshot();
    // The worker runs jobs in order: this note arrives after the refresh.
    QPointer<ListScreenController> self(this);
    BackgroundWorker::snapshots().post([self] {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app)
            return; // shutting down
        QMetaObject::invokeMethod(
            app,
            [self] {
                if (self)
                    self->snapshotDone();
            },
            Qt::QueuedConnection);
    });
}

void ListScreenController::snapshotDone()
{
    m_pending = false;
    retire(takeSnapshot());
    tableView()->reloadData();
    Q_EMIT snapshotShown();
}

void ListScreenController::retire(std::shared_ptr<const void> snapshot)
{
    // 200 000 records take a frame or two to free: the worker frees them.
    if (snapshot)
        BackgroundWorker::snapshots().post([old = std::move(snapshot)] {});
}

void ListScreenController::clickMe()
{
    reloadData();
}

std::optional<ui::IndexPath> ListScreenController::willSelectRowAtIndexPath(ui::TableView*,
                                                                            ui::IndexPath)
{
    return std::nullopt; // rows are not selectable
}

bool ListScreenController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const
{
    return ui::Device::isPad();
}
