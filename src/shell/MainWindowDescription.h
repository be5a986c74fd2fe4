#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QWidget;
class AboutTableController;
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
}

// The whole object graph of the application, built in code: the window,
// both roots (tab bar and split view), one instance of every screen shared by
// both layouts, and the wiring between them. Loading sends awakeFromNib to
// the screens; nothing is shown until the delegate's launch.
class MainWindowDescription : public QObject {
    Q_OBJECT
public:
    // The graph, with screens of the given classes (tests pass stand-ins).
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

    static std::unique_ptr<MainWindowDescription> load();
    static std::unique_ptr<MainWindowDescription> load(Screens screens);
    ~MainWindowDescription() override;

    QWidget* window = nullptr;
    StatusAppDelegate* appDelegate = nullptr;
    TabBarController* tabBarController = nullptr;
    ui::NavigationController* generalNavigController = nullptr;
    ui::NavigationController* detailsNavigController = nullptr;
    QuillSplitViewController* splitViewController = nullptr;
    RootViewController* rootViewController = nullptr;
    DetailNavigationController* detailNavigController = nullptr;
    Screens screens;

private:
    MainWindowDescription() = default;
    void build();
};
