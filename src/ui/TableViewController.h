#pragma once

#include "ui/TableView.h"
#include "ui/TableViewDataSource.h"
#include "ui/TableViewDelegate.h"
#include "ui/ViewController.h"

namespace ui {

// A page whose view is one table, filled and answered by the page itself.
class TableViewController : public ViewController,
                            public TableViewDataSource,
                            public TableViewDelegate {
    Q_OBJECT
public:
    explicit TableViewController(TableViewStyle style, QObject* parent = nullptr);

    TableView* tableView();
    TableViewStyle tableStyle() const { return m_style; }

    int numberOfRowsInSection(TableView*, int) override { return 0; }
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, IndexPath indexPath) override;

protected:
    QWidget* loadView() override;

private:
    TableViewStyle m_style;
    TableView* m_tableView = nullptr;
};

} // namespace ui
