#include "shell/RootViewController.h"

#include "screens/about/AboutTableController.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/details/DetailsTableController.h"
#include "screens/files/DiskTableController.h"
#include "screens/overview/GeneralTableController.h"
#include "screens/log/LogTableController.h"
#include "screens/memory/MemoryTableController.h"
#include "screens/processes/ProcessesTableController.h"
#include "screens/routes/RouteTableController.h"
#include "shell/DetailNavigationController.h"
#include "shell/PageIcons.h"
#include "shell/QuillSplitViewController.h"
#include "ui/BarButtonItem.h"
#include "ui/Font.h"
#include "ui/Popover.h"
#include "ui/TableViewCell.h"

#include <QLabel>
#include <QTimer>

namespace {
const QString kCellIdentifier = QStringLiteral("RootViewControllerCellIdentifier");
constexpr int kIconTag = 77;

struct Page {
    const char* title;
    const char* icon;
};
constexpr Page kPages[RootViewController::kPageCount] = {
    {"Overview", "monitor.png"},         {"Work Time", "clock.png"},
    {"File Statistics", "database.png"}, {"Connections", "connections.png"},
    {"Routing Table", "move.png"},       {"Memory", "graph.png"},
    {"Processes", "photos.png"},         {"Details", "preferences.png"},
    {"System Log", "newspaper.png"},     {"About", "house.png"},
};
} // namespace

RootViewController::RootViewController(QObject* parent)
    : ui::TableViewController(ui::TableViewStyle::Plain, parent)
{
    setTitle(QStringLiteral("Pages"));
}

// The popover and its button belong to the split view; we only point at them.
RootViewController::~RootViewController() = default;

QString RootViewController::pageTitle(int row)
{
    return row >= 0 && row < kPageCount ? QString::fromLatin1(kPages[row].title) : QString();
}

QString RootViewController::pageIconName(int row)
{
    return row >= 0 && row < kPageCount ? QString::fromLatin1(kPages[row].icon) : QString();
}

ui::ViewController* RootViewController::pageController(int row) const
{
    ui::ViewController* const pages[kPageCount] = {
        generalTableController,    batteryTableController, diskTableController,
        connectionTableController, routeTableController,   memoryTableController,
        processTableController,    detailsTableController, logTableController,
        aboutTableController,
    };
    return row >= 0 && row < kPageCount ? pages[row] : nullptr;
}

QLabel* RootViewController::getImageView(const QString& imageName) const
{
    auto* view = new QLabel;
    const QPixmap image = PageIcons::imageNamed(imageName);
    view->setPixmap(image);
    const QSize natural = image.isNull() ? QSize() : (image.deviceIndependentSize().toSize());
    view->setGeometry(10, 9, natural.width(), natural.height());
    view->setAttribute(Qt::WA_TransparentForMouseEvents);
    return view;
}

ui::TableViewCell* RootViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                             ui::IndexPath indexPath)
{
    ui::TableViewCell* cell = tableView->dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = new ui::TableViewCell(ui::CellStyle::Default, kCellIdentifier);
        cell->setIndentationWidth(40.0);
        cell->setIndentationLevel(1);
    }
    // A reused cell still shows its previous icon: replace it, never pile up.
    delete cell->viewWithTag(kIconTag);
    cell->textLabel()->setText(pageTitle(indexPath.row));
    if (indexPath.row >= 0 && indexPath.row < kPageCount) {
        QLabel* icon = getImageView(pageIconName(indexPath.row));
        ui::TableViewCell::setTag(icon, kIconTag);
        icon->setParent(cell->contentView());
        icon->show();
    }
    return cell;
}

void RootViewController::didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath)
{
    ui::ViewController* page = pageController(indexPath.row);
    auto* detail =
        splitViewController
            ? qobject_cast<DetailNavigationController*>(splitViewController->detailViewController())
            : detailNavigController;
    if (detail) {
        detail->invalidateRootPopoverButtonItem();
        detail->popToRootViewControllerAnimated(false);
        if (page)
            detail->pushViewController(page, false);
    }
    if (popoverController)
        popoverController->dismissPopoverAnimated(true);
    if (rootPopoverButtonItem && detailNavigController)
        detailNavigController->showRootPopoverButtonItem(rootPopoverButtonItem);
}

void RootViewController::viewDidLoad()
{
    ui::TableViewController::viewDidLoad();
    const double height = 22.0 + 10 * tableView()->rowHeight();
    m_popoverSize = QSize(250, static_cast<int>(static_cast<float>(height)));
    if (splitViewController)
        if (auto* nav = qobject_cast<ui::NavigationController*>(
                splitViewController->detailViewController()))
            nav->pushViewController(generalTableController, false);
    QTimer::singleShot(0, this, &RootViewController::selectFirstRow);
}

void RootViewController::viewDidUnload()
{
    splitViewController = nullptr;
    rootPopoverButtonItem = nullptr;
}

void RootViewController::selectFirstRow()
{
    ui::TableView* table = tableView();
    if (table->numberOfSections() == 0)
        table->reloadData();
    if (table->numberOfSections() > 0 && table->numberOfRowsInSection(0) > 0)
        table->selectRowAtIndexPath(ui::IndexPath{0, 0}, false, ui::ScrollPosition::None);
}

void RootViewController::splitViewControllerWillHideViewController(QuillSplitViewController*,
                                                                   ui::ViewController*,
                                                                   ui::BarButtonItem* barButtonItem,
                                                                   ui::Popover* popover)
{
    barButtonItem->setTitle(QStringLiteral("Page List"));
    popover->setPopoverContentSize(m_popoverSize.isEmpty() ? QSize(250, 462) : m_popoverSize);
    popoverController = popover;
    rootPopoverButtonItem = barButtonItem;
    if (detailNavigController)
        detailNavigController->showRootPopoverButtonItem(barButtonItem);
}

void RootViewController::splitViewControllerWillShowViewController(QuillSplitViewController*,
                                                                   ui::ViewController*,
                                                                   ui::BarButtonItem*)
{
    if (detailNavigController)
        detailNavigController->invalidateRootPopoverButtonItem();
    popoverController = nullptr;
    rootPopoverButtonItem = nullptr;
}
