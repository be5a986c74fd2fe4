#pragma once

#include <QSize>

#include "ui/TabBarControllerDelegate.h"

#include <QObject>

#include <vector>

class QWidget;
class AboutTableController;
class BatteryTableController;
class Defaults;
class DetailsTableController;
class DynamicStats;
class GeneralTableController;
class MemoryTableController;
class ProcessesTableController;
class QuillSplitViewController;
class ScreenController;
class TabBarController;

namespace ui {
class NavigationController;
class ViewController;
} // namespace ui

// The application delegate: places the root of the chosen layout in the
// window at launch, and on a return to the foreground stops a sounding alarm,
// re-applies the idle rule and reloads the pages the user can see.
class StatusAppDelegate : public QObject, public ui::TabBarControllerDelegate {
    Q_OBJECT
public:
    struct Parts {
        QWidget& window;
        TabBarController& tabBarController;
        QuillSplitViewController& splitViewController;
        ui::NavigationController& generalNavigController;
        ui::NavigationController& detailsNavigController;
        GeneralTableController& general;
        BatteryTableController& battery;
        MemoryTableController& memory;
        ProcessesTableController& processes;
        DetailsTableController& details;
        AboutTableController& about;
        // kAlertType
        Defaults& defaults;
        // The idle rule: shouldPreventIdle and preventIdle.
        DynamicStats& stats;
    };

    explicit StatusAppDelegate(Parts parts, QObject* parent = nullptr);

    // A user's launch counts as a use for the rating prompt; a tool run
    // (--dump, --screenshot) does not, so looking at a page writes nothing.
    enum class Launch { User, Tool };
    bool applicationDidFinishLaunching(Launch launch = Launch::User);
    // The smallest window that still holds a page's fixed content.
    static QSize minimumWindowSize(bool large);
    void applicationWillEnterForeground();
    void applicationWillResignActive() {}
    // Leaving the foreground takes an unanswered rating question away.
    void applicationDidEnterBackground();
    void applicationDidBecomeActive() {}
    void applicationWillTerminate() {}

    void tabBarControllerDidSelectViewController(ui::TabBarController* tabBarController,
                                                 ui::ViewController* viewController) override;

    // The pages a tab shows, found by the tab's controller (so the tab
    // order does not matter); empty for a controller that is no tab.
    std::vector<ScreenController*> pagesOfTab(const ui::ViewController* tab) const;

private:
    Parts m_parts;
};
