#pragma once
// A split view over two recording panes and a recording delegate, shown as
// a top-level window of a given size so resizes reach it as they would.

#include "shell/QuillSplitViewController.h"
#include "shell/QuillSplitViewControllerDelegate.h"
#include "ui/BarButtonItem.h"
#include "ui/ViewController.h"

#include <QStringList>
#include <QWidget>

#include <optional>

namespace splittest {

// Logs what its container tells it.
class Pane : public ui::ViewController {
public:
    QStringList calls;
    void viewWillDisappear(bool) override { calls << "willDisappear"; }
    void viewDidDisappear(bool) override { calls << "didDisappear"; }
    void willRotateToInterfaceOrientation(ui::InterfaceOrientation to, double) override
    {
        calls << QStringLiteral("willRotate %1").arg(int(to));
    }
    void didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) override
    {
        calls << QStringLiteral("didRotate %1").arg(int(from));
    }
};

class Recorder : public QObject, public QuillSplitViewControllerDelegate {
public:
    QStringList calls;
    QList<ui::BarButtonItem*> hideButtons;
    QList<ui::BarButtonItem*> showButtons;
    std::optional<double> constrainTo;

    void splitViewControllerPopoverControllerWillPresentViewController(QuillSplitViewController*,
                                                                       ui::Popover*,
                                                                       ui::ViewController*) override
    {
        calls << "willPresent";
    }
    void splitViewControllerWillHideViewController(QuillSplitViewController*, ui::ViewController*,
                                                   ui::BarButtonItem* button,
                                                   ui::Popover* popover) override
    {
        calls << QStringLiteral("willHide %1%2").arg(button->title(), popover ? "" : " no popover");
        hideButtons << button;
    }
    void splitViewControllerWillShowViewController(QuillSplitViewController*, ui::ViewController*,
                                                   ui::BarButtonItem* button) override
    {
        calls << "willShow";
        showButtons << button;
    }
    std::optional<double> splitViewControllerConstrainSplitPosition(QuillSplitViewController*,
                                                                    double, QSizeF) override
    {
        return constrainTo;
    }
    void splitViewControllerWillMoveSplitToPosition(QuillSplitViewController*, double p) override
    {
        calls << QStringLiteral("willMove %1").arg(p);
    }
    void splitViewControllerWillChangeSplitOrientationToVertical(QuillSplitViewController*,
                                                                 bool vertical) override
    {
        calls << QStringLiteral("willChangeToVertical %1").arg(vertical);
    }
};

// Declared in destruction order: the container goes before its panes.
struct Split {
    Pane master;
    Pane detail;
    Recorder delegate;
    QuillSplitViewController svc;

    explicit Split(QSize size)
    {
        svc.setAnimationDuration(0);
        svc.setDelegate(&delegate);
        svc.setMasterViewController(&master);
        svc.setDetailViewController(&detail);
        svc.view()->resize(size);
        svc.beginAppearance(false);
        svc.view()->show();
        svc.endAppearance(false);
    }
    void resize(int w, int h) { svc.view()->resize(w, h); }
    QRect masterFrame() { return master.view()->geometry(); }
    QRect detailFrame() { return detail.view()->geometry(); }
    QRect dividerFrame() { return svc.dividerView()->geometry(); }
    QRect corners(int i) { return svc.cornerViews().at(i)->geometry(); }
};

} // namespace splittest
