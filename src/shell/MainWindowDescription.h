#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QWidget;
class AboutTableController;
class AppComposition;
class AlarmTableController;
class BatteryTableController;
class ConnectionTableController;
class DetailNavigationController;
class DetailsTableController;
class DiskTableController;
class GeneralTableController;
class LogTableController;
class MemoryTableController;
class ProcessesTableController;
class QuillSplitViewController;
class RootViewController;
class RouteTableController;
class StatusAppDelegate;
class TabBarController;

namespace ui {
class NavigationController;
class ViewController;
} // namespace ui

// The whole object graph of the application, built in code: the window,
// both roots (tab bar and split view), one instance of every screen shared by
// both layouts, and the wiring between them, each part handed what it uses
// when it is made. Loading sends awakeFromNib to the screens; nothing is
// shown until the delegate's launch.
class MainWindowDescription : public QObject {
    Q_OBJECT
public:
    // The screens of the graph, owned by it.
    struct Screens {
        GeneralTableController* general = nullptr;
        BatteryTableController* battery = nullptr;
        AlarmTableController* alarm = nullptr;
        MemoryTableController* memory = nullptr;
        ProcessesTableController* processes = nullptr;
        DetailsTableController* details = nullptr;
        AboutTableController* about = nullptr;
        DiskTableController* disk = nullptr;
        RouteTableController* route = nullptr;
        ConnectionTableController* connection = nullptr;
        LogTableController* log = nullptr;
    };

    // The graph over this machine.
    static std::unique_ptr<MainWindowDescription> load();
    // The graph over the composition's services; screens given are used as
    // they are (tests pass stand-ins built from the same composition), the
    // others are made by it.
    static std::unique_ptr<MainWindowDescription> load(std::unique_ptr<AppComposition> composition);
    static std::unique_ptr<MainWindowDescription> load(std::unique_ptr<AppComposition> composition,
                                                       Screens screens);
    ~MainWindowDescription() override;

    // The small screen's tab that shows a page (the page itself or the stack
    // it is pushed on), or nullptr for a page that is not in the graph.
    ui::ViewController* tabOfPage(const ui::ViewController* page) const;

    std::unique_ptr<AppComposition> composition;
    QWidget* window = nullptr;
    StatusAppDelegate* appDelegate = nullptr;
    TabBarController* tabBarController = nullptr;
    ui::NavigationController* generalNavigController = nullptr;
    ui::NavigationController* detailsNavigController = nullptr;
    // The Memory tab's stack, so the page has a bar for its "Free" button.
    ui::NavigationController* memoryNavigController = nullptr;
    // Gives the Processes tab a bar for its Refresh button.
    ui::NavigationController* processesNavigController = nullptr;
    QuillSplitViewController* splitViewController = nullptr;
    RootViewController* rootViewController = nullptr;
    DetailNavigationController* detailNavigController = nullptr;
    Screens screens;

private:
    MainWindowDescription() = default;
    void build();
};
