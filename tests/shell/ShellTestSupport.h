#pragma once
// Counting stand-ins for the screens over fake services, so the shell's
// rules can be checked without any machine reading.

#include "screens/about/AboutTableController.h"
#include "screens/battery/AlarmTableController.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/details/DetailsTableController.h"
#include "screens/files/DiskTableController.h"
#include "screens/log/LogTableController.h"
#include "screens/memory/MemoryTableController.h"
#include "screens/overview/GeneralTableController.h"
#include "screens/OverviewRig.h"
#include "screens/processes/ProcessesTableController.h"
#include "screens/routes/RouteTableController.h"
#include "shell/AppComposition.h"
#include "shell/MainWindowDescription.h"
#include "shell/StatusAppDelegate.h"
#include "support/IdiomScope.h"
#include "support/TestSupport.h"

#include <QApplication>

#include <memory>
#include <string>
#include <vector>

namespace shelltest {

inline std::vector<std::string>& reloadLog()
{
    static std::vector<std::string> log;
    return log;
}

template <typename Base> class Counting : public Base {
public:
    template <typename... Args>
    explicit Counting(const char* name, Args&&... args)
        : Base(std::forward<Args>(args)...), m_name(name)
    {
    }
    void reloadData() override { reloadLog().push_back(m_name); }

private:
    const char* m_name;
};

class CountingGeneral : public Counting<GeneralTableController> {
public:
    using Counting::Counting;
    int stops = 0;
    void stopAudioPlayer() override { ++stops; }
};

// The services of an Overview rig (fakes, settings in a private file) as the
// application's composition; the alarm makes no sound.
inline std::unique_ptr<AppComposition> fakeComposition(overview::Rig& rig)
{
    return std::make_unique<AppComposition>(
        AppComposition::Services{Defaults::standardUserDefaults(), rig.battery, *rig.staticStats,
                                 *rig.dynamicStats, *rig.semiDynamicStats, *rig.routeStats,
                                 *rig.connectionStats, rig.media, [&rig] { return rig.now; }},
        [] { return std::unique_ptr<AudioPlayer>(); });
}

// A graph whose screens only log their reloads, over fake services. The
// screen class is the one set when it is made.
struct CountingGraph {
    overview::Rig rig{overview::Options{ui::Device::isPad()}};
    std::unique_ptr<MainWindowDescription> graph;
    CountingGeneral* general = nullptr;

    CountingGraph()
    {
        std::unique_ptr<AppComposition> composition = fakeComposition(rig);
        MainWindowDescription::Screens s;
        s.memory = new Counting<MemoryTableController>("Memory", composition->memoryHost());
        s.processes = new Counting<ProcessesTableController>("Processes", ProcessStats::instance());
        s.about = new Counting<AboutTableController>("About", composition->aboutHost());
        s.disk = new Counting<DiskTableController>("File Statistics", composition->diskHost());
        s.route = new Counting<RouteTableController>("Routing Table", *rig.routeStats);
        s.connection = new Counting<ConnectionTableController>("Connections", *rig.connectionStats);
        s.log = new Counting<LogTableController>("System Log", composition->logHost());
        s.details =
            new Counting<DetailsTableController>("Details", composition->detailsHost(), *s.log);
        s.alarm = new Counting<AlarmTableController>("Alarm", composition->alarmHost());
        s.battery =
            new Counting<BatteryTableController>("Work Time", composition->batteryHost(), *s.alarm);
        general = new CountingGeneral(
            "Overview", composition->overviewSources(),
            GeneralTableController::Pages{*s.battery, *s.disk, *s.connection, *s.route});
        s.general = general;
        graph = MainWindowDescription::load(std::move(composition), s);
    }
    MainWindowDescription* operator->() const { return graph.get(); }
};

// A counting graph of the given screen class, launched in an active window of
// the given size, with the first layout settled.
struct Launched {
    testsupport::IdiomScope idiom;
    CountingGraph graph;
    explicit Launched(ui::UserInterfaceIdiom screenClass = ui::UserInterfaceIdiom::Pad,
                      QSize size = {1024, 768})
        : idiom(screenClass)
    {
        graph->window->resize(size);
        graph->appDelegate->applicationDidFinishLaunching();
        graph->window->activateWindow();
        QApplication::setActiveWindow(graph->window);
        testsupport::waitUntil([] { return false; }, std::chrono::milliseconds(20));
    }
};

} // namespace shelltest
