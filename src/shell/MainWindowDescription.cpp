#include "shell/MainWindowDescription.h"

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
#include "shell/PageIcons.h"
#include "shell/QuillSplitViewController.h"
#include "shell/RootViewController.h"
#include "shell/StatusAppDelegate.h"
#include "shell/TabBarController.h"

#include <QIcon>
#include <QVBoxLayout>
#include <QWidget>

std::unique_ptr<MainWindowDescription> MainWindowDescription::load()
{
    return load(Screens{});
}

std::unique_ptr<MainWindowDescription> MainWindowDescription::load(Screens given)
{
    std::unique_ptr<MainWindowDescription> graph(new MainWindowDescription);
    graph->screens = given;
    graph->build();
    return graph;
}

MainWindowDescription::~MainWindowDescription()
{
    delete window;
}

template <typename T> static T* own(T* given, QObject* parent)
{
    T* screen = given ? given : new T;
    screen->setParent(parent);
    return screen;
}

void MainWindowDescription::build()
{
    Screens& s = screens;
    s.general = own(s.general, this);
    s.battery = own(s.battery, this);
    s.alarm = own(s.alarm, this);
    s.memory = own(s.memory, this);
    s.processes = own(s.processes, this);
    s.details = own(s.details, this);
    s.about = own(s.about, this);
    s.disk = own(s.disk, this);
    s.route = own(s.route, this);
    s.connection = own(s.connection, this);
    s.log = own(s.log, this);

    window = new QWidget;
    window->setWindowTitle(QStringLiteral("Welvane"));
    window->setAccessibleName(QStringLiteral("Welvane"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);

    // Small screens: five tabs, two of them navigation stacks.
    generalNavigController = new ui::NavigationController(s.general, this);
    generalNavigController->setTabBarItem(QStringLiteral("Overview"),
                                          PageIcons::imageNamed(QStringLiteral("monitor.png")));
    detailsNavigController = new ui::NavigationController(s.details, this);
    detailsNavigController->setTabBarItem(QStringLiteral("Details"),
                                          PageIcons::imageNamed(QStringLiteral("preferences.png")));
    s.memory->setTabBarItem(QStringLiteral("Memory"),
                            PageIcons::imageNamed(QStringLiteral("graph.png")));
    s.processes->setTabBarItem(QStringLiteral("Processes"),
                               PageIcons::imageNamed(QStringLiteral("photos.png")));
    s.about->setTabBarItem(QStringLiteral("About"),
                           PageIcons::imageNamed(QStringLiteral("house.png")));
    tabBarController = new TabBarController(this);
    tabBarController->setViewControllers(
        {generalNavigController, s.memory, s.processes, detailsNavigController, s.about});

    // Large screens: the page list beside the chosen page.
    splitViewController = new QuillSplitViewController(this);
    rootViewController = new RootViewController(this);
    detailNavigController = new DetailNavigationController(nullptr, this);
    splitViewController->setMasterViewController(rootViewController);
    splitViewController->setDetailViewController(detailNavigController);
    splitViewController->setDelegate(rootViewController);

    RootViewController* root = rootViewController;
    root->splitViewController = splitViewController;
    root->generalTableController = s.general;
    root->batteryTableController = s.battery;
    root->memoryTableController = s.memory;
    root->processTableController = s.processes;
    root->detailsTableController = s.details;
    root->aboutTableController = s.about;
    root->diskTableController = s.disk;
    root->routeTableController = s.route;
    root->connectionTableController = s.connection;
    root->logTableController = s.log;
    root->detailNavigController = detailNavigController;

    appDelegate = new StatusAppDelegate(this);
    StatusAppDelegate* d = appDelegate;
    d->window = window;
    d->tabBarController = tabBarController;
    d->splitViewController = splitViewController;
    d->generalTableController = s.general;
    d->memoryTableController = s.memory;
    d->processTableController = s.processes;
    d->batteryTableController = s.battery;
    d->detailsTableController = s.details;
    d->aboutTableController = s.about;
    d->generalNavigController = generalNavigController;
    d->detailsNavigController = detailsNavigController;
    tabBarController->setDelegate(appDelegate);

    // Outlets of the screens.
    s.general->batteryController = s.battery;
    s.general->diskController = s.disk;
    s.general->routeController = s.route;
    s.general->connectionController = s.connection;
    s.general->navigController = generalNavigController;
    s.battery->navigController = generalNavigController;
    s.battery->alarmController = s.alarm;
    s.alarm->navigController = generalNavigController;
    s.details->navigController = detailsNavigController;
    s.details->logController = s.log;

    for (ScreenController* screen : std::initializer_list<ScreenController*>{
             s.general, s.battery, s.alarm, s.memory, s.processes, s.details, s.about, s.disk,
             s.route, s.connection, s.log})
        screen->awakeFromNib();
}
