#include "shell/PageNavigator.h"

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
#include "shell/DetailNavigationController.h"
#include "shell/MainWindowDescription.h"
#include "shell/RootViewController.h"
#include "shell/TabBarController.h"
#include "ui/Device.h"

namespace {
// Page name, page-list row (-1: not on the list), tab on small screens,
// and the screen pushed on that tab's stack (if any).
struct Route {
    const char* name;
    int row;
    int tab;
};
constexpr Route kRoutes[] = {
    {"overview", 0, 0}, {"worktime", 1, 0}, {"files", 2, 0},     {"connections", 3, 0},
    {"routes", 4, 0},   {"memory", 5, 1},   {"processes", 6, 2}, {"details", 7, 3},
    {"log", 8, 3},      {"about", 9, 4},    {"alarm", 1, 0},
};

const Route* find(const QString& name)
{
    for (const Route& r : kRoutes)
        if (name == QLatin1String(r.name))
            return &r;
    return nullptr;
}
} // namespace

QStringList PageNavigator::pageNames()
{
    QStringList names;
    for (const Route& r : kRoutes)
        names << QString::fromLatin1(r.name);
    return names;
}

bool PageNavigator::isPageName(const QString& name)
{
    return find(name) != nullptr;
}

ui::ViewController* PageNavigator::show(MainWindowDescription& graph, const QString& name)
{
    const Route* route = find(name);
    if (!route)
        return nullptr;
    const auto& s = graph.screens;
    ui::ViewController* pushed = nullptr; // what goes on top of the row's or tab's page
    ui::NavigationController* nav = nullptr;
    if (ui::Device::isPad()) {
        graph.rootViewController->tableView()->tapRowAtIndexPath({0, route->row});
        nav = graph.detailNavigController;
    } else {
        graph.tabBarController->selectTabByUser(route->tab);
        nav = route->tab == 0   ? graph.generalNavigController
              : route->tab == 3 ? graph.detailsNavigController
                                : nullptr;
        const QString n = name;
        if (n == QLatin1String("worktime") || n == QLatin1String("alarm"))
            pushed = s.battery;
        else if (n == QLatin1String("files"))
            pushed = s.disk;
        else if (n == QLatin1String("connections"))
            pushed = s.connection;
        else if (n == QLatin1String("routes"))
            pushed = s.route;
        else if (n == QLatin1String("log"))
            pushed = s.log;
    }
    if (nav && pushed)
        nav->pushViewController(pushed, false);
    if (nav && name == QLatin1String("alarm"))
        nav->pushViewController(s.alarm, false);
    if (nav)
        return nav->topViewController();
    return graph.tabBarController->selectedViewController();
}
