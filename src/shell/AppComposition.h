#pragma once

#include "screens/about/AboutTableController.h"
#include "screens/battery/AlarmTableController.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/battery/FullChargeAlarm.h"
#include "screens/details/DetailsTableController.h"
#include "screens/memory/MemoryTableController.h"
#include "screens/log/LogTableController.h"
#include "screens/files/DiskTableController.h"
#include "screens/overview/OverviewSources.h"
#include "shell/MainWindowDescription.h"
#include "ui/DesktopUrlOpener.h"

#include <functional>
#include <memory>

class AudioPlayer;
class Battery;
class ConnectionStats;
class Defaults;
class DynamicStats;
class Mailer;
class RatingPrompt;
class ProcessStats;
class MediaLibrary;
class RepeatingTimer;
class RouteStats;
class SemiDynamicStats;
class StaticStats;

// The one place that decides which host services and collectors the
// application runs on, and hands every screen what it uses through its
// constructor. The running program takes the machine's; tests take fakes.
class AppComposition {
public:
    struct Services {
        Defaults& defaults;
        Battery& battery;
        StaticStats& staticStats;
        DynamicStats& dynamicStats;
        SemiDynamicStats& semiDynamicStats;
        RouteStats& routeStats;
        ConnectionStats& connectionStats;
        MediaLibrary& mediaLibrary;
        std::function<double()> now;          // calendar seconds, with fractions
        ProcessStats* processStats = nullptr; // nullptr: the shared instance
    };

    // This machine: the host services, the shared collectors, the user's
    // settings and the wall clock.
    static Services machine();

    // The alarm sounds through makePlayer and repeats on makeTimer's timers;
    // empty means the application's own sound and Qt timers.
    explicit AppComposition(Services services,
                            std::function<std::unique_ptr<AudioPlayer>()> makePlayer = {},
                            std::function<std::unique_ptr<RepeatingTimer>()> makeTimer = {});
    ~AppComposition();
    AppComposition(const AppComposition&) = delete;
    AppComposition& operator=(const AppComposition&) = delete;

    const Services& services() const { return m_services; }
    FullChargeAlarm& alarm() { return m_alarm; }

    // What each screen is built with; tests building stand-in screens use
    // the same.
    OverviewSources overviewSources();
    BatteryTableController::Host batteryHost();
    AlarmTableController::Host alarmHost();
    AboutTableController::Host aboutHost();
    // The rating prompt over these services; the class operations act on it
    // while this composition lives.
    RatingPrompt& rating() { return *m_rating; }
    MemoryTableController::Host memoryHost();
    DetailsTableController::Host detailsHost();
    LogTableController::Host logHost();
    DiskTableController::Host diskHost();

    // Makes every screen the set lacks, each handed what it uses; parent
    // owns the new ones.
    void completeScreens(MainWindowDescription::Screens& screens, QObject* parent);

private:
    Services m_services;
    FullChargeAlarm m_alarm;
    DesktopUrlOpener m_urlOpener;
    std::unique_ptr<RatingPrompt> m_rating;
};
