#pragma once

#include "host/Mailer.h"
#include "screens/about/AboutLinks.h"
#include "screens/about/HelpWindow.h"
#include "screens/common/ScreenController.h"
#include "ui/AlertView.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

class StaticStats;
class UrlOpener;
class VideoPageFetch;

// The page of links, feedback by mail and program information. It keeps no
// state beyond the windows and the fetch it started.
class AboutTableController : public ScreenController, public ui::AlertViewDelegate {
    Q_OBJECT
public:
    struct Host {
        // The machine identifier, whether it has a cellular modem, the OS version.
        const StaticStats& stats;
        Mailer& mailer;
        UrlOpener& urlOpener;
        // The rating prompt's: opens the software centre's review page.
        std::function<void()> rateApp;
        // The help page file; empty when it could not be found (the page on
        // the web is opened instead).
        QString helpPage;
        // Whose body names the current video (a test points it elsewhere).
        QUrl videoPage = QUrl(QString::fromLatin1(aboutlinks::kVideoPage));
    };

    static constexpr int kSupportRows = 5;
    static constexpr int kInformationRows = 6;

    explicit AboutTableController(Host host, QObject* parent = nullptr);
    ~AboutTableController() override;

    void viewDidLoad() override;
    void reloadData() override;

    int numberOfSectionsInTableView(ui::TableView*) override { return 2; }
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    QString titleForFooterInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;
    double heightForRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*,
                                                          ui::IndexPath indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;

    void showFaqAlert();
    void alertViewClickedButtonAtIndex(ui::AlertView* alertView, int buttonIndex) override;

    // The feedback mail for this machine.
    static Mailer::Message feedbackMessage(const QString& machine, bool has3g,
                                           const QString& osVersion);
    // A build instant in the user's short date and time style.
    static QString buildDateText(qint64 secondsSinceEpoch);

    // The alert on screen (or last shown), the help window once opened, the
    // video fetch.
    ui::AlertView* alert() const { return m_alert; }
    HelpWindow* helpWindow() const { return m_help; }
    VideoPageFetch* videoFetch() const { return m_video; }

private:
    ui::TableViewCell* linkCell(ui::TableView* tableView, int row);
    ui::TableViewCell* valueCell(ui::TableView* tableView, int row);
    ui::TableViewCell* reviewCell(ui::TableView* tableView);
    ui::TableViewCell* makeLinkCell(const QString& identifier, const QString& icon);
    void showAlert(ui::AlertView* alert);
    void openHelp(const QString& anchor);
    void openVideo();

    Host m_host;
    QPointer<ui::AlertView> m_alert;
    QPointer<HelpWindow> m_help;
    VideoPageFetch* m_video;
};
