#pragma once

namespace ui {

class TabBarController;
class ViewController;

// Told when the user picks a tab.
class TabBarControllerDelegate {
public:
    virtual ~TabBarControllerDelegate() = default;
    virtual void tabBarControllerDidSelectViewController(TabBarController* tabBarController,
                                                         ViewController* viewController) = 0;
};

} // namespace ui
