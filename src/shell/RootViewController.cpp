#include "shell/RootViewController.h"

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

RootViewController::RootViewController(Pages pages, QuillSplitViewController& splitViewController,
                                       DetailNavigationController& detail, QObject* parent)
    : ui::TableViewController(ui::TableViewStyle::Plain, parent), m_pages(pages),
      m_split(&splitViewController), m_detail(detail)
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
    return row >= 0 && row < kPageCount ? m_pages[static_cast<std::size_t>(row)] : nullptr;
}

int RootViewController::rowOfPage(const ui::ViewController* page) const
{
    for (int row = 0; row < kPageCount; ++row)
        if (page && m_pages[static_cast<std::size_t>(row)] == page)
            return row;
    return -1;
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
    auto* detail = m_split
                       ? qobject_cast<DetailNavigationController*>(m_split->detailViewController())
                       : &m_detail;
    if (detail) {
        detail->invalidateRootPopoverButtonItem();
        detail->popToRootViewControllerAnimated(false);
        if (page)
            detail->pushViewController(page, false);
    }
    if (popoverController)
        popoverController->dismissPopoverAnimated(true);
    if (rootPopoverButtonItem)
        m_detail.showRootPopoverButtonItem(rootPopoverButtonItem);
}

void RootViewController::viewDidLoad()
{
    ui::TableViewController::viewDidLoad();
    tableView()->setKeyboardSelectsRows(true);
    const double height = 22.0 + 10 * tableView()->rowHeight();
    m_popoverSize = QSize(250, static_cast<int>(static_cast<float>(height)));
    // The split view may load the list before it holds its detail: push
    // onto the detail we were built with.
    ui::NavigationController* nav =
        m_split ? qobject_cast<ui::NavigationController*>(m_split->detailViewController())
                : nullptr;
    (nav ? nav : &m_detail)->pushViewController(m_pages[0], false);
    // Hidden before the first page was there to carry the button.
    if (rootPopoverButtonItem)
        m_detail.showRootPopoverButtonItem(rootPopoverButtonItem);
    QTimer::singleShot(0, this, &RootViewController::selectFirstRow);
}

void RootViewController::viewDidUnload()
{
    m_split = nullptr;
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
    m_detail.showRootPopoverButtonItem(barButtonItem);
}

void RootViewController::splitViewControllerWillShowViewController(QuillSplitViewController*,
                                                                   ui::ViewController*,
                                                                   ui::BarButtonItem*)
{
    m_detail.invalidateRootPopoverButtonItem();
    popoverController = nullptr;
    rootPopoverButtonItem = nullptr;
}
