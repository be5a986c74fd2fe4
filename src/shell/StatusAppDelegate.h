#pragma once

#include "ui/TabBarControllerDelegate.h"

#include <functional>
#include <QObject>

class QWidget;
class AboutTableController;
class BatteryTableController;
class DetailsTableController;
class GeneralTableController;
class MemoryTableController;
class ProcessesTableController;
class QuillSplitViewController;
class TabBarController;

namespace ui {
class NavigationController;
}

// The application delegate: places the root of the chosen layout in the
// window at launch, and on a return to the foreground stops a sounding alarm,
// re-applies the idle rule and reloads the pages the user can see.
class StatusAppDelegate : public QObject, public ui::TabBarControllerDelegate {
    Q_OBJECT
public:
    explicit StatusAppDelegate(QObject* parent = nullptr);

    bool applicationDidFinishLaunching();
    void applicationWillEnterForeground();
    void applicationWillResignActive() {}
    void applicationDidEnterBackground() {}
    void applicationDidBecomeActive() {}
    void applicationWillTerminate() {}

    void tabBarControllerDidSelectViewController(ui::TabBarController* tabBarController,
                                                 ui::ViewController* viewController) override;

    // Re-applies the idle-timer rule while an alarm is configured; set by
    // whoever owns the idle inhibitor.
    std::function<void()> applyIdleRule;

    // Outlets wired by the main window description.
    QWidget* window = nullptr;
    TabBarController* tabBarController = nullptr;
    QuillSplitViewController* splitViewController = nullptr;
    GeneralTableController* generalTableController = nullptr;
    MemoryTableController* memoryTableController = nullptr;
    ProcessesTableController* processTableController = nullptr;
    BatteryTableController* batteryTableController = nullptr;
    DetailsTableController* detailsTableController = nullptr;
    AboutTableController* aboutTableController = nullptr;
    ui::NavigationController* generalNavigController = nullptr;
    ui::NavigationController* detailsNavigController = nullptr;
};
