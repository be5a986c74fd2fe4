#include "shell/StatusAppDelegate.h"

#include "host/settings/Defaults.h"
#include "rating/RatingPrompt.h"
#include "screens/about/AboutTableController.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/details/DetailsTableController.h"
#include "screens/memory/MemoryTableController.h"
#include "screens/overview/GeneralTableController.h"
#include "screens/processes/ProcessesTableController.h"
#include "shell/QuillSplitViewController.h"
#include "shell/TabBarController.h"
#include "stats/DynamicStats.h"
#include "ui/Device.h"
#include "ui/NavigationController.h"
#include "ui/ScreenOrderFocus.h"

#include <QLayout>
#include <QWidget>

StatusAppDelegate::StatusAppDelegate(Parts parts, QObject* parent) : QObject(parent), m_parts(parts)
{
}

bool StatusAppDelegate::applicationDidFinishLaunching(Launch launch)
{
    ui::ViewController* root = ui::Device::isPad()
                                   ? static_cast<ui::ViewController*>(&m_parts.splitViewController)
                                   : static_cast<ui::ViewController*>(&m_parts.tabBarController);
    QWidget& window = m_parts.window;
    window.setMinimumSize(minimumWindowSize(ui::Device::isPad()));
    if (!window.findChild<ui::ScreenOrderFocus*>(QString(), Qt::FindDirectChildrenOnly))
        new ui::ScreenOrderFocus(&window);
    window.layout()->addWidget(root->view());
    root->beginAppearance(false);
    // The window itself holds the focus at start, so no control wears the
    // focus ring before the user reaches for the keyboard; Tab goes on
    // from here in screen order.
    window.setFocus(Qt::OtherFocusReason);
    window.show();
    root->endAppearance(false);
    if (launch == Launch::User)
        RatingPrompt::appLaunched(true);
    return true;
}

QSize StatusAppDelegate::minimumWindowSize(bool large)
{
    // The pages' rows have fixed frames: a large page is 767 points wide
    // beside the list, and a portrait window gives it the full width; the
    // height keeps the page-list popover (44 + 22 + 10 rows of 44) whole.
    return large ? QSize(768, 540) : QSize(320, 480);
}

std::vector<ScreenController*> StatusAppDelegate::pagesOfTab(const ui::ViewController* tab) const
{
    const Parts& p = m_parts;
    if (tab == &p.generalNavigController)
        return {&p.general, &p.battery};
    if (tab == &p.memory || (tab && tab == p.memory.navigationController()))
        return {&p.memory};
    if (tab == &p.processes || (tab && tab == p.processes.navigationController()))
        return {&p.processes};
    if (tab == &p.detailsNavigController)
        return {&p.details};
    if (tab == &p.about)
        return {&p.about};
    return {};
}

void StatusAppDelegate::applicationWillEnterForeground()
{
    const Parts& p = m_parts;
    if (p.defaults.integerForKey(QStringLiteral("kAlertType")) != 0) {
        p.general.stopAudioPlayer();
        p.stats.preventIdle(p.stats.shouldPreventIdle());
    }

    const std::vector<ScreenController*> reload =
        ui::Device::isPad() ? std::vector<ScreenController*>{&p.general,   &p.battery, &p.memory,
                                                             &p.processes, &p.details, &p.about}
                            : pagesOfTab(p.tabBarController.selectedViewController());
    for (ScreenController* screen : reload)
        screen->reloadData();

    RatingPrompt::appEnteredForeground(true);
}

void StatusAppDelegate::applicationDidEnterBackground()
{
    RatingPrompt::appWillResignActive();
}

void StatusAppDelegate::tabBarControllerDidSelectViewController(ui::TabBarController*,
                                                                ui::ViewController* viewController)
{
    if (viewController && (viewController == &m_parts.generalNavigController ||
                           viewController == &m_parts.detailsNavigController))
        static_cast<ui::NavigationController*>(viewController)
            ->popToRootViewControllerAnimated(false);
}
