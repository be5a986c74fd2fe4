#pragma once

#include "screens/common/ScreenController.h"

#include <QPointer>

class LogTableController;
class Mailer;
class StaticStats;
namespace ui {
class AlertView;
class BarButtonItem;
} // namespace ui

// The page that shows hardware and operating-system facts, mailable as a
// report through the "Mail" button.
class DetailsTableController : public ScreenController {
    Q_OBJECT
public:
    static constexpr const char* kNoAccountTitle = "No Email Account Found";
    static constexpr const char* kNoAccountMessage =
        "An email account has to be configured in system settings to send system "
        "information by email.";

    struct Host {
        const StaticStats& stats;
        Mailer& mailer;
    };

    // log is the page the system-log row pushes.
    DetailsTableController(Host host, LogTableController& log, QObject* parent = nullptr);

    void viewDidLoad() override;
    void reloadData() override;
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;

    // The "Mail" button.
    void exportReport();
    // Opens the report in the mail program, or says why it cannot.
    void showEmailModalView();

    ui::BarButtonItem* mailButton() const { return m_mailButton; }
    // The alert shown last (no mail program, or it failed), while it lives.
    ui::AlertView* alert() const;

    int numberOfSectionsInTableView(ui::TableView*) override;
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;
    double heightForRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*,
                                                          ui::IndexPath indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;

protected:
    LogTableController& m_log;

private:
    void showAlert(const QString& title, const QString& message);

    Host m_host;
    ui::BarButtonItem* m_mailButton;
    QPointer<ui::AlertView> m_alert;
};
