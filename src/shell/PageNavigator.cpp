#include "shell/PageNavigator.h"

#include "screens/about/AboutTableController.h"
#include "screens/battery/AlarmTableController.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/details/DetailsTableController.h"
#include "screens/files/DiskTableController.h"
#include "screens/log/LogTableController.h"
#include "screens/memory/MemoryTableController.h"
#include "screens/overview/GeneralTableController.h"
#include "screens/processes/ProcessesTableController.h"
#include "screens/routes/RouteTableController.h"
#include "shell/DetailNavigationController.h"
#include "shell/MainWindowDescription.h"
#include "shell/RootViewController.h"
#include "shell/TabBarController.h"
#include "ui/Device.h"
#include "ui/NavigationController.h"

#include <utility>

namespace {
// Command-line page names in page-list order; "alarm" is reached through
// Work Time.
constexpr const char* kNames[] = {"overview", "worktime", "files",     "connections",
                                  "routes",   "memory",   "processes", "details",
                                  "log",      "about",    "alarm"};

ui::ViewController* pageNamed(const MainWindowDescription::Screens& s, const QString& name)
{
    const std::pair<const char*, ui::ViewController*> pages[] = {
        {"overview", s.general},
        {"worktime", s.battery},
        {"files", s.disk},
        {"connections", s.connection},
        {"routes", s.route},
        {"memory", s.memory},
        {"processes", s.processes},
        {"details", s.details},
        {"log", s.log},
        {"about", s.about},
        {"alarm", s.alarm},
    };
    for (const auto& [pageName, page] : pages)
        if (name == QLatin1String(pageName))
            return page;
    return nullptr;
}
} // namespace

QStringList PageNavigator::pageNames()
{
    QStringList names;
    for (const char* name : kNames)
        names << QString::fromLatin1(name);
    return names;
}

bool PageNavigator::isPageName(const QString& name)
{
    return pageNames().contains(name);
}

ui::ViewController* PageNavigator::show(MainWindowDescription& graph, const QString& name)
{
    const auto& s = graph.screens;
    ui::ViewController* page = isPageName(name) ? pageNamed(s, name) : nullptr;
    if (!page)
        return nullptr;
    // The alarm has no row or tab of its own: it is pushed from Work Time.
    ui::ViewController* reached = page == s.alarm ? s.battery : page;
    ui::NavigationController* nav = nullptr;
    if (ui::Device::isPad()) {
        graph.rootViewController->tableView()->tapRowAtIndexPath(
            {0, graph.rootViewController->rowOfPage(reached)});
        nav = graph.detailNavigController;
    } else {
        ui::ViewController* tab = graph.tabOfPage(reached);
        graph.tabBarController->selectTabByUser(
            static_cast<int>(graph.tabBarController->viewControllers().indexOf(tab)));
        nav = qobject_cast<ui::NavigationController*>(tab);
        // A page below a stack's root is pushed as the user's row would.
        if (nav && nav->viewControllers().value(0) != reached)
            nav->pushViewController(reached, false);
    }
    if (nav && page == s.alarm)
        nav->pushViewController(s.alarm, false);
    if (nav)
        return nav->topViewController();
    return graph.tabBarController->selectedViewController();
}
