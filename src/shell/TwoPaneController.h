#pragma once

#include "ui/ViewController.h"

#include <QList>
#include <QPointer>

// A container of two slots, master and detail: keeps the list (an empty
// slot is nullptr), and passes the appearance and rotation calls on to the
// panes (to the master only while it shows). The subclass places the views.
// On a desktop the orientation follows the view's shape: landscape when it
// is wider than tall and at least kLandscapeMinimumWidth wide; a resize
// across that line while shown is a rotation.
class TwoPaneController : public ui::ViewController {
    Q_OBJECT
public:
    static constexpr int kLandscapeMinimumWidth = 1024;

    explicit TwoPaneController(QObject* parent = nullptr);
    ~TwoPaneController() override;

    ui::ViewController* masterViewController() const;
    void setMasterViewController(ui::ViewController* master);
    ui::ViewController* detailViewController() const;
    // A null detail is refused.
    void setDetailViewController(ui::ViewController* detail);
    QList<ui::ViewController*> viewControllers() const;
    // Fewer than two controllers empties the list (and logs why).
    void setViewControllers(const QList<ui::ViewController*>& controllers);

    ui::InterfaceOrientation interfaceOrientation() const { return m_orientation; }
    static ui::InterfaceOrientation orientationForSize(QSize size);
    bool isLandscape() const;
    // A null string for a value that is no orientation.
    static QString nameOfInterfaceOrientation(int orientation);

    virtual void layoutSubviews() = 0;
    virtual bool isShowingMaster() const = 0;

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    void willRotateToInterfaceOrientation(ui::InterfaceOrientation to, double duration) override;
    void willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to,
                                                   double duration) override;
    void willAnimateFirstHalfOfRotationToInterfaceOrientation(ui::InterfaceOrientation to,
                                                              double duration) override;
    void didAnimateFirstHalfOfRotationToInterfaceOrientation(ui::InterfaceOrientation to) override;
    void willAnimateSecondHalfOfRotationFromInterfaceOrientation(ui::InterfaceOrientation from,
                                                                 double duration) override;
    void didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) override;

protected:
    // Resizes of view drive the orientation from now on.
    void watchShapeOf(QWidget* view);
    void setInterfaceOrientation(ui::InterfaceOrientation o) { m_orientation = o; }
    // The shape crossed the line while not shown: no rotation to tell.
    virtual void reorientOffScreen() { layoutSubviews(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void viewDidResize();
    // Takes a pane's view out of this container, if it is in it.
    void release(ui::ViewController* pane);
    template <typename Call> void forward(Call call, bool masterOnlyWhenShowing);

    QList<QPointer<ui::ViewController>> m_viewControllers{nullptr, nullptr};
    ui::InterfaceOrientation m_orientation = ui::InterfaceOrientation::Portrait;
};
