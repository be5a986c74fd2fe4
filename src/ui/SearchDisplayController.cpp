#include "ui/SearchDisplayController.h"

#include "ui/SearchBar.h"
#include "ui/SearchDisplayDelegate.h"
#include "ui/TableView.h"

#include <QEvent>

namespace ui {

SearchDisplayController::SearchDisplayController(SearchBar* searchBar, TableView* contents,
                                                 QObject* parent)
    : QObject(parent), m_searchBar(searchBar), m_contents(contents)
{
    m_results = new TableView(TableViewStyle::Plain, contents->parentWidget());
    m_results->setAccessibleName(QStringLiteral("Search Results"));
    m_results->setGeometry(contents->geometry());
    m_results->hide();
    contents->installEventFilter(this);
    connect(searchBar, &QLineEdit::textChanged, this, &SearchDisplayController::textChanged);
}

SearchDisplayController::~SearchDisplayController()
{
    if (m_contents)
        m_contents->removeEventFilter(this);
}

void SearchDisplayController::setSearchResultsDataSource(TableViewDataSource* dataSource)
{
    m_results->setDataSource(dataSource);
}

void SearchDisplayController::setSearchResultsDelegate(TableViewDelegate* delegate)
{
    m_results->setDelegate(delegate);
}

bool SearchDisplayController::eventFilter(QObject* watched, QEvent* event)
{
    // The results table follows the screen's table wherever it is laid out.
    // The event type is asked first: the table's own destructor sends events
    // here, and the guarded pointer must not be read while it is half gone.
    const bool moved = event->type() == QEvent::Resize || event->type() == QEvent::Move;
    if (moved && watched == m_contents && m_results)
        m_results->setGeometry(m_contents->geometry());
    return QObject::eventFilter(watched, event);
}

void SearchDisplayController::textChanged(const QString& text)
{
    const bool active = !text.isEmpty();
    const bool reload = !m_delegate || m_delegate->shouldReloadTableForSearchString(this, text);
    if (active != m_active) {
        m_active = active;
        m_results->setVisible(active);
        if (active)
            m_results->raise();
    }
    if (active && reload) {
        m_results->reloadData();
        m_results->setContentOffset(0);
    }
}

} // namespace ui
