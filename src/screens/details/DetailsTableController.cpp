#include "screens/details/DetailsTableController.h"

#include "host/Mailer.h"
#include "screens/common/SettingsRows.h"
#include "screens/details/DetailsCells.h"
#include "screens/details/DetailsRows.h"
#include "screens/log/LogTableController.h"
#include "screens/ScreensLog.h"
#include "stats/DeviceReport.h"
#include "ui/AlertView.h"
#include "ui/BarButtonItem.h"
#include "ui/Device.h"
#include "ui/NavigationController.h"
#include "ui/NavigationItem.h"

DetailsTableController::DetailsTableController(Host host, LogTableController& log, QObject* parent)
    : ScreenController(QStringLiteral("Details"), ui::TableViewStyle::Grouped, parent), m_log(log),
      m_host(host), m_mailButton(new ui::BarButtonItem(
                        QStringLiteral("Mail"), [this] { exportReport(); }, this))
{
    navigationItem()->setRightBarButtonItem(m_mailButton);
}

void DetailsTableController::viewDidLoad()
{
    ScreenController::viewDidLoad();
    navigationItem()->setHidesBackButton(true);
}

void DetailsTableController::reloadData()
{
    // Back from the log, its row is not left chosen.
    SettingsRows::clearSelection(tableView());
    ScreenController::reloadData();
}

bool DetailsTableController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const
{
    return ui::Device::isPad();
}

ui::AlertView* DetailsTableController::alert() const
{
    return m_alert;
}

void DetailsTableController::exportReport()
{
    showEmailModalView();
}

void DetailsTableController::showAlert(const QString& title, const QString& message)
{
    delete m_alert;
    m_alert = new ui::AlertView(title, message, nullptr, QStringLiteral("OK"), {}, this);
    connect(m_alert, &ui::AlertView::dismissed, m_alert, &QObject::deleteLater);
    m_alert->show();
}

void DetailsTableController::showEmailModalView()
{
    Mailer& mailer = m_host.mailer;
    if (!mailer.canSendMail()) {
        showAlert(QString::fromLatin1(kNoAccountTitle), QString::fromLatin1(kNoAccountMessage));
        return;
    }
    // The live facts, never the demo texts of the rows.
    const Mailer::Message message{
        {}, QString::fromLatin1(DeviceReport::kSubject), DeviceReport::text(m_host.stats)};
    QPointer<DetailsTableController> self(this);
    mailer.compose(message, [self](bool ok, const QString& error) {
        if (ok || !self)
            return;
        qCWarning(lcScreens) << "report mail:" << error;
        self->showAlert(QStringLiteral("Mail Not Sent"), error);
    });
}

int DetailsTableController::numberOfSectionsInTableView(ui::TableView*)
{
    return DetailsRows::kSections;
}

int DetailsTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return DetailsRows(m_host.stats, ui::Device::isPad()).numberOfRows(section);
}

QString DetailsTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    return DetailsRows::sectionTitle(section);
}

double DetailsTableController::heightForRowAtIndexPath(ui::TableView*, ui::IndexPath p)
{
    if (ui::Device::isPad())
        return 44;
    return p == ui::IndexPath{1, 5} ? 50 : 30;
}

ui::TableViewCell* DetailsTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                 ui::IndexPath p)
{
    return DetailsCells::cell(tableView, DetailsRows(m_host.stats, ui::Device::isPad()).row(p));
}

std::optional<ui::IndexPath> DetailsTableController::willSelectRowAtIndexPath(ui::TableView*,
                                                                              ui::IndexPath p)
{
    if (!ui::Device::isPad() && DetailsRows::isSystemLog(p))
        return p;
    return std::nullopt;
}

void DetailsTableController::didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath p)
{
    if (DetailsRows::isSystemLog(p) && navigationController())
        navigationController()->pushViewController(&m_log, true);
}
