#pragma once

#include "screens/common/ScreenController.h"

#include <optional>

class Defaults;
class DynamicStats;

// The page that shows the full-charge alarm's type and trigger. It keeps no
// state: both settings are read from the defaults whenever a row is filled.
class AlarmTableController : public ScreenController {
    Q_OBJECT
public:
    struct Host {
        Defaults& defaults;
        // shouldPreventIdle and preventIdle
        DynamicStats& stats;
    };

    // Tag of the tick image that marks the chosen row on large screens.
    static constexpr int kTickTag = 1;

    explicit AlarmTableController(Host host, QObject* parent = nullptr);

    // "Off", "Once", "Every minute", "Continuous"; nullopt for another value.
    static std::optional<QString> frequencyTitle(long long alertType);

    void reloadData() override;

    int numberOfSectionsInTableView(ui::TableView*) override { return 2; }
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;

    // Marks the row chosen or not: a check mark, or the tick on large screens.
    static void showCheck(bool check, ui::TableViewCell* cell);

private:
    Host m_host;
};
