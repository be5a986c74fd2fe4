#pragma once

#include "ui/TableViewController.h"

// A page of the application: a table screen that rebuilds itself from fresh
// collector values on reloadData(), which it also does when it appears.
class ScreenController : public ui::TableViewController {
    Q_OBJECT
public:
    ScreenController(const QString& title, ui::TableViewStyle style, QObject* parent = nullptr);

    virtual void reloadData();
    // True while a reload started off the UI thread has not arrived yet.
    virtual bool isLoading() const { return false; }
    void viewWillAppear(bool animated) override;
};
