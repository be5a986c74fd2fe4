#include "shell/MainWindowDescription.h"

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
#include "shell/AppComposition.h"
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
    return load(std::make_unique<AppComposition>(AppComposition::machine()));
}

std::unique_ptr<MainWindowDescription>
MainWindowDescription::load(std::unique_ptr<AppComposition> composition)
{
    return load(std::move(composition), Screens{});
}

std::unique_ptr<MainWindowDescription>
MainWindowDescription::load(std::unique_ptr<AppComposition> composition, Screens given)
{
    std::unique_ptr<MainWindowDescription> graph(new MainWindowDescription);
    graph->composition = std::move(composition);
    graph->screens = given;
    graph->build();
    return graph;
}

MainWindowDescription::~MainWindowDescription()
{
    delete window;
    // The screens hold references into the composition: they go first.
    while (!children().isEmpty())
        delete children().constFirst();
}

ui::ViewController* MainWindowDescription::tabOfPage(const ui::ViewController* page) const
{
    const Screens& s = screens;
    if (!page)
        return nullptr;
    for (const ui::ViewController* p : std::initializer_list<const ui::ViewController*>{
             s.general, s.battery, s.alarm, s.disk, s.route, s.connection})
        if (page == p)
            return generalNavigController;
    if (page == s.details || page == s.log)
        return detailsNavigController;
    if (page == s.memory)
        return memoryNavigController;
    if (page == s.processes)
        return processesNavigController;
    if (page == s.about)
        return const_cast<ui::ViewController*>(page);
    return nullptr;
}

void MainWindowDescription::build()
{
    Screens& s = screens;
    composition->completeScreens(s, this);

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
    memoryNavigController = new ui::NavigationController(s.memory, this);
    memoryNavigController->setTabBarItem(QStringLiteral("Memory"),
                                         PageIcons::imageNamed(QStringLiteral("graph.png")));
    processesNavigController = new ui::NavigationController(s.processes, this);
    processesNavigController->setTabBarItem(QStringLiteral("Processes"),
                                            PageIcons::imageNamed(QStringLiteral("photos.png")));
    s.about->setTabBarItem(QStringLiteral("About"),
                           PageIcons::imageNamed(QStringLiteral("house.png")));
    tabBarController = new TabBarController(this);
    tabBarController->setViewControllers({generalNavigController, memoryNavigController,
                                          processesNavigController, detailsNavigController,
                                          s.about});

    // Large screens: the page list beside the chosen page.
    splitViewController = new QuillSplitViewController(this);
    detailNavigController = new DetailNavigationController(nullptr, this);
    rootViewController =
        new RootViewController({s.general, s.battery, s.disk, s.connection, s.route, s.memory,
                                s.processes, s.details, s.log, s.about},
                               *splitViewController, *detailNavigController, this);
    splitViewController->setMasterViewController(rootViewController);
    splitViewController->setDetailViewController(detailNavigController);
    splitViewController->setDelegate(rootViewController);

    const AppComposition::Services& services = composition->services();
    appDelegate = new StatusAppDelegate(
        StatusAppDelegate::Parts{*window, *tabBarController, *splitViewController,
                                 *generalNavigController, *detailsNavigController, *s.general,
                                 *s.battery, *s.memory, *s.processes, *s.details, *s.about,
                                 services.defaults, services.dynamicStats},
        this);
    tabBarController->setDelegate(appDelegate);

    for (ScreenController* screen : std::initializer_list<ScreenController*>{
             s.general, s.battery, s.alarm, s.memory, s.processes, s.details, s.about, s.disk,
             s.route, s.connection, s.log})
        screen->awakeFromNib();
}
