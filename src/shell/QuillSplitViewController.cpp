#include "shell/QuillSplitViewController.h"

#include "shell/QuillSplitCornersView.h"
#include "shell/QuillSplitDividerView.h"
#include "shell/QuillSplitGeometry.h"
#include "shell/QuillSplitViewControllerDelegate.h"
#include "shell/ShellLog.h"
#include "shell/ViewAnimation.h"
#include "ui/BarButtonItem.h"
#include "ui/Popover.h"

#include <QEvent>
#include <QLayout>

#include <cmath>

namespace {
const QString kChangeSplitOrientation = QStringLiteral("ChangeSplitOrientation");
const QString kChangeSubviewsOrder = QStringLiteral("ChangeSubviewsOrder");
constexpr double kMinimumPaneLength = 200.0;

// Stacks widget directly above reference among their siblings.
void placeAbove(QWidget* widget, QWidget* reference)
{
    widget->raise();
    if (!reference || reference->parentWidget() != widget->parentWidget())
        return;
    const QObjectList siblings = reference->parentWidget()->children();
    const qsizetype at = siblings.indexOf(reference);
    for (qsizetype i = at + 1; i < siblings.size(); ++i)
        if (auto* next = qobject_cast<QWidget*>(siblings[i]); next && next != widget) {
            widget->stackUnder(next);
            return;
        }
}
} // namespace

QuillSplitViewController::QuillSplitViewController(QObject* parent)
    : TwoPaneController(parent), m_masterPopover(*this), m_animation(new ViewAnimation(this))
{
    m_dividerView = new QuillSplitDividerView;
    m_dividerView->setSplitViewController(this);
    QPalette pal = m_dividerView->palette();
    pal.setColor(QPalette::Window, Qt::black);
    m_dividerView->setPalette(pal);
}

QuillSplitViewController::~QuillSplitViewController()
{
    m_delegate = nullptr;
    delete m_dividerView.data();
    for (const QPointer<QuillSplitCornersView>& corners : std::as_const(m_cornerViews))
        delete corners.data();
}

QWidget* QuillSplitViewController::loadView()
{
    auto* container = new QWidget;
    container->setAutoFillBackground(true);
    QPalette pal = container->palette();
    pal.setColor(QPalette::Window, Qt::black);
    container->setPalette(pal);
    watchShapeOf(container);
    return container;
}

void QuillSplitViewController::setDelegateObject(QObject* object)
{
    if (!object) {
        m_delegate = nullptr;
        return;
    }
    if (auto* delegate = dynamic_cast<QuillSplitViewControllerDelegate*>(object))
        m_delegate = delegate;
}

void QuillSplitViewController::setShowsMasterInPortrait(bool shows)
{
    setShowsMaster(m_showsMasterInPortrait, shows, !isLandscape());
}

void QuillSplitViewController::setShowsMasterInLandscape(bool shows)
{
    setShowsMaster(m_showsMasterInLandscape, shows, isLandscape());
}

// Only the flag of the orientation in force changes what shows now.
void QuillSplitViewController::setShowsMaster(bool& flag, bool shows, bool current)
{
    if (shows == flag)
        return;
    flag = shows;
    if (current) {
        dismissPopoverIfVisible();
        m_reconfigurePopup = true;
        layoutSubviews();
    }
}

void QuillSplitViewController::setVertical(bool vertical)
{
    if (vertical == m_vertical)
        return;
    dismissPopoverIfVisible();
    m_vertical = vertical;
    if (m_dividerView) {
        m_dividerView->setAllowsDragging(m_dividerView->allowsDragging()); // its cursor turns too
        m_dividerView->update();
    }
    if (m_delegate)
        m_delegate->splitViewControllerWillChangeSplitOrientationToVertical(this, vertical);
    layoutSubviews();
}

void QuillSplitViewController::setMasterBeforeDetail(bool first)
{
    if (first == m_masterBeforeDetail)
        return;
    dismissPopoverIfVisible();
    m_masterBeforeDetail = first;
    if (isShowingMaster())
        layoutSubviews();
}

void QuillSplitViewController::setSplitPosition(double position)
{
    if (!std::isfinite(position))
        return;
    const QSizeF size = splitViewSizeForOrientation(interfaceOrientation());
    std::optional<double> constrained;
    if (m_delegate)
        constrained = m_delegate->splitViewControllerConstrainSplitPosition(this, position, size);
    if (constrained) {
        position = *constrained;
        if (!std::isfinite(position))
            return;
    } else {
        // Each pane keeps at least kMinimumPaneLength.
        const double along = m_vertical ? size.width() : size.height();
        if (position == m_splitPosition || position < kMinimumPaneLength ||
            position > along - (m_splitWidth + kMinimumPaneLength))
            return;
    }
    dismissPopoverIfVisible();
    m_splitPosition = position;
    if (m_delegate)
        m_delegate->splitViewControllerWillMoveSplitToPosition(this, position);
    if (isShowingMaster())
        layoutSubviews();
}

void QuillSplitViewController::setSplitPosition(double position, bool animated)
{
    if (!animated || !isShowingMaster()) {
        setSplitPosition(position);
        return;
    }
    m_animation->begin(QStringLiteral("SplitPosition"), [this](const QString& id, bool finished) {
        animationDidStop(id, finished);
    });
    setSplitPosition(position);
    m_animation->commit();
}

void QuillSplitViewController::setSplitWidth(double width)
{
    if (width < 0 || !std::isfinite(width) || width == m_splitWidth)
        return;
    m_splitWidth = width;
    if (isShowingMaster())
        layoutSubviews();
}

void QuillSplitViewController::setDividerStyle(int style)
{
    dismissPopoverIfVisible();
    m_dividerStyle = style;
    if (style == QuillDividerHairline) {
        m_splitWidth = 1.0;
        setAllowsDraggingDivider(false);
    } else if (style == QuillDividerGripBar) {
        m_splitWidth = 25.0;
        setAllowsDraggingDivider(true);
    }
    if (m_dividerView)
        m_dividerView->update();
    const float radius = style == QuillDividerGripBar ? 0.0f : 5.0f;
    for (const QPointer<QuillSplitCornersView>& corners : std::as_const(m_cornerViews))
        if (corners)
            corners->setCornerRadius(radius);
    layoutSubviews();
}

void QuillSplitViewController::setDividerStyle(int style, bool animated)
{
    if (!animated || !isShowingMaster()) {
        setDividerStyle(style);
        return;
    }
    m_animation->begin(QStringLiteral("DividerStyle"), [this](const QString& id, bool finished) {
        animationDidStop(id, finished);
    });
    setDividerStyle(style);
    m_animation->commit();
}

bool QuillSplitViewController::allowsDraggingDivider() const
{
    return m_dividerView && m_dividerView->allowsDragging();
}

void QuillSplitViewController::setAllowsDraggingDivider(bool allows)
{
    if (m_dividerView && m_dividerView->allowsDragging() != allows)
        m_dividerView->setAllowsDragging(allows);
}

void QuillSplitViewController::setDividerView(QuillSplitDividerView* divider)
{
    if (divider == m_dividerView)
        return;
    delete m_dividerView.data();
    m_dividerView = divider;
    if (divider) {
        divider->setSplitViewController(this);
        QPalette pal = divider->palette();
        pal.setColor(QPalette::Window, Qt::black);
        divider->setPalette(pal);
        divider->setAutoFillBackground(true);
    }
    if (isShowingMaster())
        layoutSubviews();
}

QList<QuillSplitCornersView*> QuillSplitViewController::cornerViews() const
{
    QList<QuillSplitCornersView*> out;
    for (const QPointer<QuillSplitCornersView>& corners : m_cornerViews)
        out.append(corners.data());
    return out;
}

void QuillSplitViewController::setAnimationDuration(int ms)
{
    m_animation->setDurationMs(ms);
}

bool QuillSplitViewController::shouldShowMasterForInterfaceOrientation(
    ui::InterfaceOrientation orientation) const
{
    return orientation == ui::InterfaceOrientation::LandscapeRight ||
                   orientation == ui::InterfaceOrientation::LandscapeLeft
               ? m_showsMasterInLandscape
               : m_showsMasterInPortrait;
}

bool QuillSplitViewController::shouldShowMaster() const
{
    return shouldShowMasterForInterfaceOrientation(interfaceOrientation());
}

bool QuillSplitViewController::isShowingMaster() const
{
    ui::ViewController* master = masterViewController();
    return shouldShowMaster() && master && master->isViewLoaded() && isViewLoaded() &&
           master->view()->parentWidget() == const_cast<QuillSplitViewController*>(this)->view();
}

QSizeF QuillSplitViewController::splitViewSizeForOrientation(ui::InterfaceOrientation) const
{
    if (!isViewLoaded())
        return QSizeF(0, 0);
    return QSizeF(const_cast<QuillSplitViewController*>(this)->view()->size());
}

void QuillSplitViewController::willAnimateRotationToInterfaceOrientation(
    ui::InterfaceOrientation to, double duration)
{
    TwoPaneController::willAnimateRotationToInterfaceOrientation(to, duration);
    dismissPopoverIfVisible();
    m_reconfigurePopup = true;
    layoutSubviewsForInterfaceOrientation(to, true);
}

void QuillSplitViewController::viewWillAppear(bool animated)
{
    TwoPaneController::viewWillAppear(animated);
    // The window's layout may not have sized us yet: take the size it will
    // give, so the first decision is not made for a default-sized widget.
    if (QWidget* parent = view()->parentWidget(); parent && parent->layout())
        parent->layout()->activate();
    setInterfaceOrientation(orientationForSize(view()->size()));
    m_reconfigurePopup = true;
    layoutSubviews();
}

void QuillSplitViewController::layoutSubviews()
{
    layoutSubviewsForInterfaceOrientation(interfaceOrientation(), true);
}

void QuillSplitViewController::layoutSubviewsWithAnimation(bool animate)
{
    layoutSubviewsForInterfaceOrientation(interfaceOrientation(), animate);
}

// The animation flag is accepted for callers' sake; animated changes are
// those made inside an open animation block.
void QuillSplitViewController::layoutSubviewsForInterfaceOrientation(
    ui::InterfaceOrientation orientation, bool)
{
    // Nothing is placed before the view is first asked for: building the
    // graph must not load the large layout (and its page list, which takes
    // the Overview onto its detail) on a small screen.
    if (!isViewLoaded())
        return;
    QWidget* container = view();
    if (m_reconfigurePopup)
        reconfigureForMasterInPopover(!shouldShowMasterForInterfaceOrientation(orientation));

    const bool show = shouldShowMasterForInterfaceOrientation(orientation);
    if (m_cornerViews.isEmpty()) {
        for (int i = 0; i < 2; ++i) {
            auto* corners = new QuillSplitCornersView;
            corners->setGeometry(0, 0, 10, 10);
            corners->setSplitViewController(this);
            corners->setCornerBackgroundColor(Qt::black);
            corners->setCornerRadius(5.0f);
            m_cornerViews.append(corners);
        }
    }
    QuillSplitCornersView* leading = m_cornerViews[0];
    QuillSplitCornersView* trailing = m_cornerViews[1];
    const QuillSplitGeometry g = QuillSplitGeometry::compute(
        {splitViewSizeForOrientation(orientation), m_splitPosition, m_splitWidth, m_vertical,
         m_masterBeforeDetail, show, leading->cornerRadius()});

    QWidget* masterView = nullptr;
    if (ui::ViewController* master = masterViewController()) {
        masterView = master->view();
        if (!masterView->parentWidget()) {
            masterView->setGeometry(g.master);
            master->beginAppearance(false);
            masterView->setParent(container);
            masterView->show();
            master->endAppearance(false);
        }
        m_animation->setFrame(masterView, g.master);
    }
    if (m_dividerView) {
        m_animation->setFrame(m_dividerView, g.divider);
        if (!m_dividerView->parentWidget()) {
            m_dividerView->setParent(container);
            m_dividerView->setVisible(!m_chromeHidden);
        }
    }
    QWidget* detailView = nullptr;
    if (ui::ViewController* detail = detailViewController()) {
        detailView = detail->view();
        m_animation->setFrame(detailView, g.detail);
        if (detailView->parentWidget() == container) {
            detailView->raise();
        } else {
            detailView->setParent(container);
            placeAbove(detailView, masterView);
            detailView->show();
        }
    }

    if (m_vertical) {
        leading->setCornersPosition(QuillCornersTop);
        leading->setAutoresizingMask(QuillSplitCornersView::FlexibleBottomMargin);
        trailing->setCornersPosition(QuillCornersBottom);
        trailing->setAutoresizingMask(QuillSplitCornersView::FlexibleTopMargin);
    } else {
        leading->setCornersPosition(QuillCornersLeft);
        leading->setAutoresizingMask(QuillSplitCornersView::FlexibleRightMargin);
        trailing->setCornersPosition(QuillCornersRight);
        trailing->setAutoresizingMask(QuillSplitCornersView::FlexibleLeftMargin);
    }
    m_animation->setFrame(leading, g.leadingCorners);
    m_animation->setFrame(trailing, g.trailingCorners);
    if (!leading->parentWidget()) {
        for (QuillSplitCornersView* corners : {leading, trailing}) {
            corners->setParent(container);
            placeAbove(corners, detailView);
            corners->setVisible(!m_chromeHidden);
        }
    } else {
        leading->raise();
        trailing->raise();
    }
    applyHiddenMasterVisibility();
}

// A master parked off screen must not take the keyboard focus; it stays
// visible only while an animation slides it.
void QuillSplitViewController::applyHiddenMasterVisibility()
{
    ui::ViewController* master = masterViewController();
    if (!master || !master->isViewLoaded() || master->view()->parentWidget() != view())
        return;
    if (shouldShowMaster())
        master->view()->show();
    else if (!m_animation->isOpen() && !m_animation->isRunning())
        master->view()->hide();
}

void QuillSplitViewController::reconfigureForMasterInPopover(bool inPopover)
{
    m_reconfigurePopup = false;
    ui::ViewController* master = masterViewController();
    if (inPopover == (m_masterPopover.popover() != nullptr) || !master)
        return;
    if (inPopover && !m_masterPopover.button()) {
        m_masterPopover.moveIn(master, m_delegate);
    } else if (!inPopover && m_masterPopover.button()) {
        m_masterPopover.moveOut(master, m_delegate);
        // Out of the panel, the master's view waits for the next layout.
        if (master->isViewLoaded() && master->view()->parentWidget() &&
            master->view()->parentWidget() != view())
            master->view()->setParent(nullptr);
    }
}

void QuillSplitViewController::dismissPopoverIfVisible()
{
    m_masterPopover.dismissIfVisible();
}

void QuillSplitViewController::showMasterPopover()
{
    ui::ViewController* detail = detailViewController();
    m_masterPopover.present(masterViewController(), m_delegate, detail ? detail->view() : view());
}

void QuillSplitViewController::notePopoverDismissed()
{
    popoverControllerDidDismissPopover(m_masterPopover.popover());
}

void QuillSplitViewController::popoverControllerDidDismissPopover(ui::Popover*)
{
    reconfigureForMasterInPopover(false);
}

void QuillSplitViewController::toggleMasterView()
{
    dismissPopoverIfVisible();
    if (!isShowingMaster()) {
        m_reconfigurePopup = true;
        reconfigureForMasterInPopover(false);
        layoutSubviews();
    }
    m_animation->begin(QStringLiteral("toggleMaster"), [this](const QString& id, bool finished) {
        animationDidStop(id, finished);
    });
    if (isLandscape())
        setShowsMasterInLandscape(!m_showsMasterInLandscape);
    else
        setShowsMasterInPortrait(!m_showsMasterInPortrait);
    m_animation->commit();
}

void QuillSplitViewController::toggleSplitOrientation()
{
    toggleWithHiddenChrome(kChangeSplitOrientation, [this] { setVertical(!m_vertical); });
}

void QuillSplitViewController::toggleMasterBeforeDetail()
{
    toggleWithHiddenChrome(kChangeSubviewsOrder,
                           [this] { setMasterBeforeDetail(!m_masterBeforeDetail); });
}

void QuillSplitViewController::toggleWithHiddenChrome(const QString& animationId,
                                                      const std::function<void()>& flip)
{
    if (!isShowingMaster()) {
        flip();
        return;
    }
    // Corners and divider would sit in the wrong place mid-way: they come
    // back when the animation ends.
    if (!m_cornerViews.isEmpty())
        setChromeVisible(false);
    m_animation->begin(
        animationId, [this](const QString& id, bool finished) { animationDidStop(id, finished); });
    flip();
    m_animation->commit();
}

void QuillSplitViewController::setChromeVisible(bool visible)
{
    m_chromeHidden = !visible;
    for (const QPointer<QuillSplitCornersView>& corners : std::as_const(m_cornerViews))
        if (corners && corners->parentWidget())
            corners->setVisible(visible);
    if (m_dividerView && m_dividerView->parentWidget())
        m_dividerView->setVisible(visible);
}

void QuillSplitViewController::beginAnimation(const QString& animationId)
{
    m_animation->begin(
        animationId, [this](const QString& id, bool finished) { animationDidStop(id, finished); });
}

void QuillSplitViewController::reorientOffScreen()
{
    m_reconfigurePopup = true;
    layoutSubviews();
}

void QuillSplitViewController::animationDidStop(const QString& animationId, bool)
{
    if ((animationId == kChangeSplitOrientation || animationId == kChangeSubviewsOrder) &&
        !m_cornerViews.isEmpty())
        setChromeVisible(true);
    applyHiddenMasterVisibility();
}
