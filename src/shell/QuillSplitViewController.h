#pragma once

#include "shell/TwoPaneController.h"

#include <QList>
#include <QPointer>
#include <QSizeF>

#include "shell/QuillSplitCornersView.h"
#include "shell/QuillSplitDividerView.h"
#include "shell/QuillSplitMasterPopover.h"
#include "ui/BarButtonItem.h"
#include "ui/Popover.h"

#include <functional>

class QuillSplitViewControllerDelegate;
class ViewAnimation;

enum QuillSplitDividerStyle : int {
    QuillDividerHairline = 0,
    QuillDividerGripBar = 1,
};

// The large-screen root: a master pane (the page list) and a detail pane
// side by side or stacked, with a divider between them. The master can be
// hidden per orientation; hidden, it sits just off screen and is offered in
// a popover behind a bar button that the delegate places in the detail's bar.
class QuillSplitViewController : public TwoPaneController {
    Q_OBJECT
public:
    explicit QuillSplitViewController(QObject* parent = nullptr);
    ~QuillSplitViewController() override;

    QuillSplitViewControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(QuillSplitViewControllerDelegate* delegate) { m_delegate = delegate; }
    // Takes object as the delegate only if it is one; anything else leaves
    // the old delegate in place.
    void setDelegateObject(QObject* object);

    bool showsMasterInPortrait() const { return m_showsMasterInPortrait; }
    void setShowsMasterInPortrait(bool shows);
    bool showsMasterInLandscape() const { return m_showsMasterInLandscape; }
    void setShowsMasterInLandscape(bool shows);
    bool isVertical() const { return m_vertical; }
    void setVertical(bool vertical);
    bool isMasterBeforeDetail() const { return m_masterBeforeDetail; }
    void setMasterBeforeDetail(bool first);

    double splitPosition() const { return m_splitPosition; }
    void setSplitPosition(double position);
    void setSplitPosition(double position, bool animated);
    double splitWidth() const { return m_splitWidth; }
    void setSplitWidth(double width);
    int dividerStyle() const { return m_dividerStyle; }
    void setDividerStyle(int style);
    void setDividerStyle(int style, bool animated);
    bool allowsDraggingDivider() const;
    void setAllowsDraggingDivider(bool allows);
    QuillSplitDividerView* dividerView() const { return m_dividerView; }
    void setDividerView(QuillSplitDividerView* divider);
    // Leading (top or left) and trailing corners views; empty before the
    // first layout.
    QList<QuillSplitCornersView*> cornerViews() const;

    bool isShowingMaster() const override;
    bool shouldShowMaster() const;
    bool shouldShowMasterForInterfaceOrientation(ui::InterfaceOrientation orientation) const;
    // The view's own size: a desktop window has no status bar to take off.
    QSizeF splitViewSizeForOrientation(ui::InterfaceOrientation orientation) const;

    ui::BarButtonItem* barButtonItem() const { return m_masterPopover.button(); }
    ui::Popover* hiddenPopoverController() const { return m_masterPopover.popover(); }

    void layoutSubviews() override;
    void layoutSubviewsWithAnimation(bool animate);
    void layoutSubviewsForInterfaceOrientation(ui::InterfaceOrientation orientation, bool animate);

    void toggleSplitOrientation();
    void toggleMasterBeforeDetail();
    void toggleMasterView();
    void showMasterPopover();
    void notePopoverDismissed();
    void popoverControllerDidDismissPopover(ui::Popover* popover);
    // Ends of the orientation and order animations bring the corners and
    // divider back.
    void animationDidStop(const QString& animationId, bool finished);
    // How long the animated changes take; 0 makes them immediate.
    void setAnimationDuration(int ms);

    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override
    {
        return true;
    }
    void viewWillAppear(bool animated) override;
    void willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to,
                                                   double duration) override;

protected:
    QWidget* loadView() override;
    void reorientOffScreen() override;

private:
    void reconfigureForMasterInPopover(bool inPopover);
    void setShowsMaster(bool& flag, bool shows, bool current);
    void dismissPopoverIfVisible();
    void beginAnimation(const QString& animationId);
    void toggleWithHiddenChrome(const QString& animationId, const std::function<void()>& flip);
    void setChromeVisible(bool visible);
    void applyHiddenMasterVisibility();

    QuillSplitViewControllerDelegate* m_delegate = nullptr;
    QuillSplitMasterPopover m_masterPopover;
    QPointer<QuillSplitDividerView> m_dividerView;
    QList<QPointer<QuillSplitCornersView>> m_cornerViews;
    ViewAnimation* m_animation;
    double m_splitPosition = 256.0;
    double m_splitWidth = 1.0;
    int m_dividerStyle = QuillDividerHairline;
    bool m_showsMasterInPortrait = false;
    bool m_showsMasterInLandscape = true;
    bool m_vertical = true;
    bool m_masterBeforeDetail = true;
    bool m_reconfigurePopup = false;
    bool m_chromeHidden = false;
};
