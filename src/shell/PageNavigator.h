#pragma once

#include <QString>
#include <QStringList>

class MainWindowDescription;
namespace ui {
class ViewController;
}

// Brings a page on screen the way a user would reach it in the current
// layout: a tab, a push from the Overview or Details, or a page-list row.
class PageNavigator {
public:
    // The page names of the command line, in page-list order.
    static QStringList pageNames();
    static bool isPageName(const QString& name);
    // Shows the page and returns its controller, or nullptr for an unknown name.
    static ui::ViewController* show(MainWindowDescription& graph, const QString& name);
};
