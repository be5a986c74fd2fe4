#include "shell/TwoPaneController.h"

#include "shell/ShellLog.h"

#include <QEvent>

TwoPaneController::TwoPaneController(QObject* parent) : ui::ViewController(parent) {}

TwoPaneController::~TwoPaneController()
{
    // The panes' views belong to their own controllers.
    for (const QPointer<ui::ViewController>& vc : std::as_const(m_viewControllers))
        release(vc);
}

void TwoPaneController::release(ui::ViewController* pane)
{
    if (pane && pane->isViewLoaded() && isViewLoaded() && pane->view()->parentWidget() == view())
        pane->view()->setParent(nullptr);
}

ui::ViewController* TwoPaneController::masterViewController() const
{
    return m_viewControllers.isEmpty() ? nullptr : m_viewControllers[0].data();
}

ui::ViewController* TwoPaneController::detailViewController() const
{
    return m_viewControllers.size() < 2 ? nullptr : m_viewControllers[1].data();
}

QList<ui::ViewController*> TwoPaneController::viewControllers() const
{
    QList<ui::ViewController*> out;
    for (const QPointer<ui::ViewController>& vc : m_viewControllers)
        out.append(vc.data());
    return out;
}

void TwoPaneController::setMasterViewController(ui::ViewController* master)
{
    ui::ViewController* old = masterViewController();
    if (master == old)
        return;
    // The pane it leaves must not keep showing it behind the new one.
    release(old);
    if (m_viewControllers.isEmpty())
        m_viewControllers.append(master);
    else
        m_viewControllers[0] = master;
    layoutSubviews();
}

void TwoPaneController::setDetailViewController(ui::ViewController* detail)
{
    ui::ViewController* old = detailViewController();
    if (!detail || detail == old)
        return;
    release(old);
    // An emptied list keeps the master's slot, so the detail never lands there.
    if (m_viewControllers.isEmpty())
        m_viewControllers.append(nullptr);
    if (m_viewControllers.size() < 2)
        m_viewControllers.append(detail);
    else
        m_viewControllers[1] = detail;
    layoutSubviews();
}

void TwoPaneController::setViewControllers(const QList<ui::ViewController*>& controllers)
{
    if (controllers == viewControllers())
        return;
    for (const QPointer<ui::ViewController>& vc : std::as_const(m_viewControllers))
        if (vc && vc->isViewLoaded() && vc->view()->parentWidget())
            vc->view()->setParent(nullptr);
    m_viewControllers.clear();
    if (controllers.size() < 2) {
        qCWarning(lcShell, "Error: %s requires 2 view-controllers. (%s)", metaObject()->className(),
                  "setViewControllers:");
        layoutSubviews();
        return;
    }
    setMasterViewController(controllers[0]);
    setDetailViewController(controllers[1]);
    layoutSubviews();
}

void TwoPaneController::watchShapeOf(QWidget* view)
{
    view->installEventFilter(this);
    m_orientation = orientationForSize(view->size());
}

bool TwoPaneController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && isViewLoaded() && watched == view())
        viewDidResize();
    return ui::ViewController::eventFilter(watched, event);
}

ui::InterfaceOrientation TwoPaneController::orientationForSize(QSize size)
{
    // A window narrower than this cannot hold the list beside a full page.
    return size.width() > size.height() && size.width() >= kLandscapeMinimumWidth
               ? ui::InterfaceOrientation::LandscapeRight
               : ui::InterfaceOrientation::Portrait;
}

bool TwoPaneController::isLandscape() const
{
    return m_orientation == ui::InterfaceOrientation::LandscapeRight ||
           m_orientation == ui::InterfaceOrientation::LandscapeLeft;
}

QString TwoPaneController::nameOfInterfaceOrientation(int orientation)
{
    switch (orientation) {
    case 1:
        return QStringLiteral("Portrait");
    case 2:
        return QStringLiteral("Portrait (Upside Down)");
    case 3:
        return QStringLiteral("Landscape (Right)");
    case 4:
        return QStringLiteral("Landscape (Left)");
    default:
        return QString();
    }
}

void TwoPaneController::viewDidResize()
{
    const ui::InterfaceOrientation now = orientationForSize(view()->size());
    if (now == m_orientation) {
        layoutSubviews();
        return;
    }
    if (!isAppearing()) {
        // Off screen nothing turns: take the new shape as it is.
        m_orientation = now;
        reorientOffScreen();
        return;
    }
    // Crossing the landscape line is a rotation, told to the panes as one.
    const ui::InterfaceOrientation old = m_orientation;
    willRotateToInterfaceOrientation(now, 0.0);
    m_orientation = now;
    willAnimateRotationToInterfaceOrientation(now, 0.0);
    didRotateFromInterfaceOrientation(old);
}

template <typename Call> void TwoPaneController::forward(Call call, bool masterOnlyWhenShowing)
{
    ui::ViewController* master = masterViewController();
    if (master && (!masterOnlyWhenShowing || isShowingMaster()))
        call(master);
    if (ui::ViewController* detail = detailViewController())
        call(detail);
}

void TwoPaneController::viewWillAppear(bool animated)
{
    forward([&](ui::ViewController* vc) { vc->beginAppearance(animated); }, true);
}

void TwoPaneController::viewDidAppear(bool animated)
{
    forward([&](ui::ViewController* vc) { vc->endAppearance(animated); }, true);
}

void TwoPaneController::viewWillDisappear(bool animated)
{
    forward([&](ui::ViewController* vc) { vc->beginDisappearance(animated); }, true);
}

void TwoPaneController::viewDidDisappear(bool animated)
{
    forward([&](ui::ViewController* vc) { vc->endDisappearance(animated); }, true);
}

void TwoPaneController::willRotateToInterfaceOrientation(ui::InterfaceOrientation to, double d)
{
    forward([&](ui::ViewController* vc) { vc->willRotateToInterfaceOrientation(to, d); }, false);
}

void TwoPaneController::willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to,
                                                                  double d)
{
    forward([&](ui::ViewController* vc) { vc->willAnimateRotationToInterfaceOrientation(to, d); },
            false);
}

void TwoPaneController::willAnimateFirstHalfOfRotationToInterfaceOrientation(
    ui::InterfaceOrientation to, double d)
{
    forward(
        [&](ui::ViewController* vc) {
            vc->willAnimateFirstHalfOfRotationToInterfaceOrientation(to, d);
        },
        false);
}

void TwoPaneController::didAnimateFirstHalfOfRotationToInterfaceOrientation(
    ui::InterfaceOrientation to)
{
    forward(
        [&](ui::ViewController* vc) {
            vc->didAnimateFirstHalfOfRotationToInterfaceOrientation(to);
        },
        false);
}

void TwoPaneController::willAnimateSecondHalfOfRotationFromInterfaceOrientation(
    ui::InterfaceOrientation from, double d)
{
    forward(
        [&](ui::ViewController* vc) {
            vc->willAnimateSecondHalfOfRotationFromInterfaceOrientation(from, d);
        },
        false);
}

void TwoPaneController::didRotateFromInterfaceOrientation(ui::InterfaceOrientation from)
{
    forward([&](ui::ViewController* vc) { vc->didRotateFromInterfaceOrientation(from); }, false);
}
