#include "shell/AppComposition.h"

#include "host/HostServices.h"
#include "host/media/TagLibMediaLibrary.h"
#include "host/settings/Defaults.h"
#include "rating/RatingPrompt.h"
#include "screens/about/AboutTableController.h"
#include "screens/about/HelpWindow.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/details/DetailsTableController.h"
#include "screens/files/DiskTableController.h"
#include "screens/log/LogTableController.h"
#include "screens/memory/MemoryTableController.h"
#include "screens/overview/GeneralTableController.h"
#include "screens/processes/ProcessesTableController.h"
#include "screens/routes/RouteTableController.h"
#include "stats/ConnectionStats.h"
#include "stats/DynamicStats.h"
#include "stats/ProcessStats.h"
#include "stats/LogStats.h"
#include "stats/RouteStats.h"
#include "stats/SemiDynamicStats.h"
#include "stats/StaticStats.h"

#include <QCoreApplication>
#include <QDateTime>

AppComposition::Services AppComposition::machine()
{
    return Services{
        Defaults::standardUserDefaults(),
        HostServices::battery(),
        StaticStats::instance(),
        DynamicStats::instance(),
        SemiDynamicStats::instance(),
        RouteStats::instance(),
        ConnectionStats::instance(),
        HostServices::mediaLibrary(),
        [] { return QDateTime::currentMSecsSinceEpoch() / 1000.0; },
        &ProcessStats::instance(),
    };
}

AppComposition::AppComposition(Services services,
                               std::function<std::unique_ptr<AudioPlayer>()> makePlayer,
                               std::function<std::unique_ptr<RepeatingTimer>()> makeTimer)
    : m_services(std::move(services)),
      m_alarm(FullChargeAlarm::Host{m_services.battery, m_services.dynamicStats,
                                    m_services.defaults, std::move(makePlayer),
                                    std::move(makeTimer)})
{
    m_rating = std::make_unique<RatingPrompt>(RatingPrompt::Host{
        m_services.defaults, QStringLiteral(WELVANE_VERSION), m_services.now,
        HostServices::reachability(), [this](const QUrl& url) { m_urlOpener.openURL(url); }});
    RatingPrompt::setSharedInstance(m_rating.get());
}

AppComposition::~AppComposition() = default;

OverviewSources AppComposition::overviewSources()
{
    const Services& s = m_services;
    return OverviewSources{
        s.dynamicStats, s.semiDynamicStats, s.staticStats, s.routeStats, s.connectionStats,
        s.battery,      s.defaults,         m_alarm,       s.now};
}

BatteryTableController::Host AppComposition::batteryHost()
{
    return {m_services.battery, m_services.staticStats.deviceFacts(), m_services.defaults};
}

AboutTableController::Host AppComposition::aboutHost()
{
    return {m_services.staticStats, HostServices::mailer(), m_urlOpener, [this] { m_rating->rateApp(); },
            HelpWindow::locate(QCoreApplication::applicationDirPath())};
}

AlarmTableController::Host AppComposition::alarmHost()
{
    return {m_services.defaults, m_services.dynamicStats};
}

MemoryTableController::Host AppComposition::memoryHost()
{
    return {m_services.dynamicStats, m_services.staticStats};
}

DetailsTableController::Host AppComposition::detailsHost()
{
    // One mail service for the whole application, whatever the collectors.
    return {m_services.staticStats, HostServices::mailer()};
}

LogTableController::Host AppComposition::logHost()
{
    return {LogStats::instance()};
}

DiskTableController::Host AppComposition::diskHost()
{
    Defaults& defaults = m_services.defaults;
    return {m_services.mediaLibrary,
            [&defaults] { return TagLibMediaLibrary::musicFolder(defaults); },
            m_services.staticStats.deviceFacts(), m_services.now, BackgroundWorker::longJobs()};
}

void AppComposition::completeScreens(MainWindowDescription::Screens& s, QObject* parent)
{
    // Pages first, then the pages that push them.
    const auto make = [parent](auto*& screen, auto&&... args) {
        using T = std::remove_reference_t<decltype(*screen)>;
        if (!screen)
            screen = new T(std::forward<decltype(args)>(args)...);
        screen->setParent(parent);
    };
    make(s.memory, memoryHost());
    make(s.processes,
         m_services.processStats ? *m_services.processStats : ProcessStats::instance());
    make(s.about, aboutHost());
    make(s.disk, diskHost());
    make(s.route, m_services.routeStats);
    make(s.connection, m_services.connectionStats);
    make(s.log, logHost());
    make(s.details, detailsHost(), *s.log);
    make(s.alarm, alarmHost());
    make(s.battery, batteryHost(), *s.alarm);
    make(s.general, overviewSources(),
         GeneralTableController::Pages{*s.battery, *s.disk, *s.connection, *s.route});
}
