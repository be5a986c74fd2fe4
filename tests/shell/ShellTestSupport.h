#pragma once
// Counting stand-ins for the screens, so the shell's rules can be checked
// without any collector running.

#include "screens/about/AboutTableController.h"
#include "screens/battery/AlarmTableController.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/details/DetailsTableController.h"
#include "screens/files/DiskTableController.h"
#include "screens/overview/GeneralTableController.h"
#include "screens/log/LogTableController.h"
#include "screens/memory/MemoryTableController.h"
#include "screens/processes/ProcessesTableController.h"
#include "screens/routes/RouteTableController.h"
#include "shell/MainWindowDescription.h"

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
    explicit Counting(const char* name) : m_name(name) {}
    void reloadData() override { reloadLog().push_back(m_name); }

private:
    const char* m_name;
};

class CountingGeneral : public Counting<GeneralTableController> {
public:
    CountingGeneral() : Counting("Overview") {}
    int stops = 0;
    void stopAudioPlayer() override { ++stops; }
};

// A graph whose screens only log their reloads.
inline std::unique_ptr<MainWindowDescription> countingGraph(CountingGeneral** general = nullptr)
{
    MainWindowDescription::Screens s;
    auto* g = new CountingGeneral;
    if (general)
        *general = g;
    s.general = g;
    s.battery = new Counting<BatteryTableController>("Work Time");
    s.memory = new Counting<MemoryTableController>("Memory");
    s.processes = new Counting<ProcessesTableController>("Processes");
    s.details = new Counting<DetailsTableController>("Details");
    s.about = new Counting<AboutTableController>("About");
    s.disk = new Counting<DiskTableController>("File Statistics");
    s.route = new Counting<RouteTableController>("Routing Table");
    s.connection = new Counting<ConnectionTableController>("Connections");
    s.log = new Counting<LogTableController>("System Log");
    s.alarm = new Counting<AlarmTableController>("Alarm");
    return MainWindowDescription::load(s);
}

} // namespace shelltest
