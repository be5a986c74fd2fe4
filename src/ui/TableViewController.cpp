#include "ui/TableViewController.h"

#include "ui/TableViewCell.h"

namespace ui {

TableViewController::TableViewController(TableViewStyle style, QObject* parent)
    : ViewController(parent), m_style(style)
{
}

QWidget* TableViewController::loadView()
{
    m_tableView = new TableView(m_style);
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    return m_tableView;
}

TableView* TableViewController::tableView()
{
    view();
    return m_tableView;
}

TableViewCell* TableViewController::cellForRowAtIndexPath(TableView* tableView, IndexPath)
{
    static const QString kIdentifier = QStringLiteral("Cell");
    TableViewCell* cell = tableView->dequeueReusableCell(kIdentifier);
    return cell ? cell : new TableViewCell(CellStyle::Default, kIdentifier);
}

} // namespace ui
