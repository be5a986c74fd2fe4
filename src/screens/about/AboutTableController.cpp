#include "screens/about/AboutTableController.h"

#include "drawing/CellIdentifiers.h"
#include "drawing/CopyableLabel.h"
#include "drawing/CustomCell.h"
#include "drawing/CustomDetailCell.h"
#include "drawing/ValueLabel.h"
#include "host/UrlOpener.h"
#include "screens/about/AboutLinks.h"
#include "screens/about/HelpWindow.h"
#include "screens/about/VideoPageFetch.h"
#include "screens/common/CellImageView.h"
#include "screens/common/SettingsRows.h"
#include "screens/ScreensLog.h"
#include "stats/StaticStats.h"
#include "ui/Device.h"
#include "ui/NavigationItem.h"

#include <BuildStamp.h>

#include <QDateTime>
#include <QLocale>

namespace {

const QString kFeedbackSubject = QStringLiteral("Welvane Feedback");
const QString kAuthor = QStringLiteral("The Welvane developers");
const QString kIconCredit = QStringLiteral("Drawn for Welvane");
const QString kCopyright = QStringLiteral("Copyright © 2026 The Welvane developers");

struct LinkRow {
    const char* title;
    const char* identifier;
    const char* icon; // nullptr: none
};
const LinkRow kLinkRows[AboutTableController::kSupportRows] = {
    {"Documentation", cellid::kCellDetails, nullptr},
    {"Provide Feedback", cellid::kCellDetails, nullptr},
    {"Support Page", cellid::kCellDetails, nullptr},
    {"Facebook Fan Page", cellid::kFacebookCell, "facebook.png"},
    {"Video Overview", cellid::kYoutubeCell, "youtube.png"},
};

// Icon origins in the content view, small screens / large screens.
QPoint iconOrigin(const QString& icon)
{
    const bool pad = ui::Device::isPad();
    if (icon == QLatin1String("youtube.png"))
        return pad ? QPoint(573, 9) : QPoint(205, 7);
    if (icon == QLatin1String("facebook.png"))
        return pad ? QPoint(611, 9) : QPoint(243, 7);
    return pad ? QPoint(612, 9) : QPoint(243, 7);
}

ui::IndexPath reviewRow()
{
    return {1, 5};
}

} // namespace

AboutTableController::AboutTableController(Host host, QObject* parent)
    : ScreenController(QStringLiteral("About"), ui::TableViewStyle::Grouped, parent),
      m_host(std::move(host)),
      m_video(new VideoPageFetch(QUrl(QString::fromLatin1(aboutlinks::kFallbackVideo)), this))
{
    connect(m_video, &VideoPageFetch::finished, this,
            [this](const QUrl& video) { m_host.urlOpener.openURL(video); });
}

AboutTableController::~AboutTableController()
{
    delete m_help.data();
}

void AboutTableController::viewDidLoad()
{
    navigationItem()->setHidesBackButton(true);
}

void AboutTableController::reloadData()
{
    SettingsRows::clearSelection(tableView());
    ScreenController::reloadData();
}

int AboutTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return section == 0 ? kSupportRows : section == 1 ? kInformationRows : 0;
}

QString AboutTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    if (section == 0)
        return QStringLiteral("Support");
    if (section == 1)
        return QStringLiteral("Program Information");
    return {};
}

QString AboutTableController::titleForFooterInSection(ui::TableView*, int section)
{
    return section == 1 ? kCopyright : QString();
}

double AboutTableController::heightForRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath)
{
    if (ui::Device::isPad())
        return 44;
    return indexPath.section == 0 || indexPath == reviewRow() ? 40 : 30;
}

std::optional<ui::IndexPath> AboutTableController::willSelectRowAtIndexPath(ui::TableView*,
                                                                            ui::IndexPath indexPath)
{
    if (indexPath.section == 0 || indexPath == reviewRow())
        return indexPath;
    return std::nullopt;
}

bool AboutTableController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const
{
    return ui::Device::isPad();
}

ui::TableViewCell* AboutTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                               ui::IndexPath indexPath)
{
    if (indexPath.section == 0)
        return linkCell(tableView, indexPath.row);
    if (indexPath == reviewRow())
        return reviewCell(tableView);
    return valueCell(tableView, indexPath.row);
}

ui::TableViewCell* AboutTableController::makeLinkCell(const QString& identifier,
                                                      const QString& icon)
{
    ui::TableViewCell* cell = icon.isEmpty() ? static_cast<ui::TableViewCell*>(new CustomDetailCell(
                                                   ui::CellStyle::Value1, identifier))
                                             : new CustomCell(ui::CellStyle::Value1, identifier);
    SettingsRows::applyRowFonts(cell);
    if (!icon.isEmpty()) {
        auto* image = new CellImageView(icon, cell->contentView());
        image->move(iconOrigin(icon));
        image->show();
    }
    if (ui::Device::isPad())
        cell->setAccessoryView(new CellImageView(QStringLiteral("arrow.png")));
    else
        cell->setAccessoryType(ui::AccessoryType::DisclosureIndicator);
    return cell;
}

ui::TableViewCell* AboutTableController::linkCell(ui::TableView* tableView, int row)
{
    const LinkRow& link = kLinkRows[row];
    const QString id = QString::fromLatin1(link.identifier);
    ui::TableViewCell* cell = tableView->dequeueReusableCell(id);
    if (!cell)
        cell = makeLinkCell(id, link.icon ? QString::fromLatin1(link.icon) : QString());
    cell->textLabel()->setText(QString::fromLatin1(link.title));
    const char* detail = row == 1   ? aboutlinks::kFeedbackAddress
                         : row == 2 ? aboutlinks::kSupportPage
                                    : "";
    cell->detailTextLabel()->setText(QString::fromLatin1(detail));
    return cell;
}

ui::TableViewCell* AboutTableController::reviewCell(ui::TableView* tableView)
{
    const QString id = QString::fromLatin1(cellid::kRatingCell);
    ui::TableViewCell* cell = tableView->dequeueReusableCell(id);
    if (!cell)
        cell = makeLinkCell(id, QStringLiteral("star.png"));
    cell->textLabel()->setText(QStringLiteral("Write a Review"));
    cell->detailTextLabel()->setText(QString());
    return cell;
}

ui::TableViewCell* AboutTableController::valueCell(ui::TableView* tableView, int row)
{
    const QString id = QString::fromLatin1(cellid::kCellNormal);
    ui::TableViewCell* cell = tableView->dequeueReusableCell(id);
    if (!cell) {
        cell = new CustomCell(ui::CellStyle::Value1, id);
        SettingsRows::applyRowFonts(cell);
        auto* value = new CopyableLabel;
        ValueLabel::configure(value, cell, ValueLabel::kTagAbout);
        value->setGeometry(ui::Device::isPad() ? QRect(250, 12, 407, 20) : QRect(105, 5, 185, 20));
        ValueLabel::applyRowFont(value, cell);
    }
    static const char* const kTitles[] = {"Program Name", "Version", "Build Date", "Author",
                                          "Icons"};
    const QString values[] = {QStringLiteral("Welvane"), QStringLiteral(WELVANE_VERSION),
                              buildDateText(WELVANE_BUILD_EPOCH), kAuthor, kIconCredit};
    cell->textLabel()->setText(QString::fromLatin1(kTitles[row]));
    if (auto* value = qobject_cast<QLabel*>(cell->viewWithTag(ValueLabel::kTagAbout)))
        value->setText(values[row]);
    return cell;
}

QString AboutTableController::buildDateText(qint64 secondsSinceEpoch)
{
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(secondsSinceEpoch).toLocalTime(),
                              QLocale::ShortFormat);
}

Mailer::Message AboutTableController::feedbackMessage(const QString& machine, bool has3g,
                                                      const QString& osVersion)
{
    const QString body = QStringLiteral("System Information:\n- device: %1 %2\n- OS version: "
                                        "%3\n\nBug report / Feature suggestion:\n\n")
                             .arg(machine, has3g ? QStringLiteral("3G") : QString(), osVersion);
    return {QString::fromLatin1(aboutlinks::kFeedbackAddress), kFeedbackSubject, body};
}

void AboutTableController::didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath)
{
    UrlOpener& open = m_host.urlOpener;
    if (indexPath == reviewRow()) {
        if (m_host.rateApp)
            m_host.rateApp();
        return;
    }
    if (indexPath.section != 0)
        return;
    switch (indexPath.row) {
    case 0:
        openHelp(QString());
        break;
    case 1:
        if (m_host.mailer.canSendMail())
            showFaqAlert();
        else
            showAlert(new ui::AlertView(
                QStringLiteral("No Email Account Found"),
                QStringLiteral("An email account has to be configured in order to provide "
                               "feedback by email."),
                nullptr, QStringLiteral("OK"), {}, this));
        break;
    case 2:
        open.openURL(QUrl(QString::fromLatin1(aboutlinks::kSupportPage)));
        break;
    case 3:
        open.openURL(QUrl(QString::fromLatin1(aboutlinks::kSocialPage)));
        break;
    case 4:
        openVideo();
        break;
    default:
        break;
    }
}

void AboutTableController::showAlert(ui::AlertView* alert)
{
    delete m_alert.data();
    m_alert = alert;
    alert->show();
}

void AboutTableController::showFaqAlert()
{
    showAlert(new ui::AlertView(
        QStringLiteral("Read the FAQ first!"),
        QStringLiteral("When suggesting a feature, please read the FAQ first to see the list of "
                       "features which cannot be supported by Welvane."),
        this, QStringLiteral("Cancel"),
        {QStringLiteral("Provide Feedback"), QStringLiteral("Read the FAQ")}, this));
}

void AboutTableController::alertViewClickedButtonAtIndex(ui::AlertView*, int buttonIndex)
{
    if (buttonIndex == 1) {
        const StaticStats& s = m_host.stats;
        m_host.mailer.compose(feedbackMessage(s.machine(), s.has3g(), s.system_version()),
                              [](bool ok, const QString& error) {
                                  if (!ok)
                                      qCWarning(lcScreens).noquote()
                                          << "feedback mail not handed over:" << error;
                              });
    } else if (buttonIndex == 2) {
        openHelp(QString::fromLatin1(aboutlinks::kFaqAnchor));
    }
    if (const auto selected = tableView()->indexPathForSelectedRow())
        tableView()->deselectRowAtIndexPath(*selected, true);
}

void AboutTableController::openHelp(const QString& anchor)
{
    if (m_host.helpPage.isEmpty()) {
        static bool logged = false;
        if (!logged)
            qCWarning(lcScreens) << "help page not installed; opening it on the web";
        logged = true;
        QUrl url(QString::fromLatin1(aboutlinks::kHelpPage));
        if (!anchor.isEmpty())
            url.setFragment(anchor);
        m_host.urlOpener.openURL(url);
        return;
    }
    if (!m_help)
        m_help = new HelpWindow;
    m_help->showPage(m_host.helpPage, anchor);
}

void AboutTableController::openVideo()
{
    m_video->start(m_host.videoPage); // a tap while it runs starts nothing
}
