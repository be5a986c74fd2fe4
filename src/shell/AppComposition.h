#pragma once

#include "screens/battery/AlarmTableController.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/battery/FullChargeAlarm.h"
#include "screens/files/DiskTableController.h"
#include "screens/overview/OverviewSources.h"
#include "shell/MainWindowDescription.h"

#include <functional>
#include <memory>

class AudioPlayer;
class Battery;
class ConnectionStats;
class Defaults;
class DynamicStats;
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
        std::function<double()> now; // calendar seconds, with fractions
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
    DiskTableController::Host diskHost();

    // Makes every screen the set lacks, each handed what it uses; parent
    // owns the new ones.
    void completeScreens(MainWindowDescription::Screens& screens, QObject* parent);

private:
    Services m_services;
    FullChargeAlarm m_alarm;
};
