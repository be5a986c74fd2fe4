#include "shell/StatusAppDelegate.h"

#include "host/settings/Defaults.h"
#include "rating/RatingPrompt.h"
#include "screens/about/AboutTableController.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/details/DetailsTableController.h"
#include "screens/overview/GeneralTableController.h"
#include "screens/memory/MemoryTableController.h"
#include "screens/processes/ProcessesTableController.h"
#include "shell/QuillSplitViewController.h"
#include "shell/TabBarController.h"
#include "ui/Device.h"
#include "ui/NavigationController.h"

#include <QLayout>
#include <QWidget>

StatusAppDelegate::StatusAppDelegate(QObject* parent) : QObject(parent) {}

bool StatusAppDelegate::applicationDidFinishLaunching()
{
    ui::ViewController* root = ui::Device::isPad()
                                   ? static_cast<ui::ViewController*>(splitViewController)
                                   : static_cast<ui::ViewController*>(tabBarController);
    if (window && root) {
        window->layout()->addWidget(root->view());
        root->beginAppearance(false);
        window->show();
        root->endAppearance(false);
    }
    RatingPrompt::appLaunched(true);
    return true;
}

void StatusAppDelegate::applicationWillEnterForeground()
{
    if (Defaults::standardUserDefaults().integerForKey(QStringLiteral("kAlertType")) != 0) {
        if (generalTableController)
            generalTableController->stopAudioPlayer();
        if (applyIdleRule)
            applyIdleRule();
    }

    std::vector<ScreenController*> reload;
    if (ui::Device::isPad()) {
        reload = {generalTableController, batteryTableController, memoryTableController,
                  processTableController, detailsTableController, aboutTableController};
    } else if (tabBarController) {
        switch (tabBarController->selectedIndex()) {
        case 0:
            reload = {generalTableController, batteryTableController};
            break;
        case 1:
            reload = {memoryTableController};
            break;
        case 2:
            reload = {processTableController};
            break;
        case 3:
            reload = {detailsTableController};
            break;
        case 4:
            reload = {aboutTableController};
            break;
        default:
            break;
        }
    }
    for (ScreenController* screen : reload)
        if (screen)
            screen->reloadData();

    RatingPrompt::appEnteredForeground(true);
}

void StatusAppDelegate::tabBarControllerDidSelectViewController(ui::TabBarController*,
                                                                ui::ViewController* viewController)
{
    if (viewController &&
        (viewController == generalNavigController || viewController == detailsNavigController))
        static_cast<ui::NavigationController*>(viewController)
            ->popToRootViewControllerAnimated(false);
}
