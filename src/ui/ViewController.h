#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace ui {

class NavigationController;
class NavigationItem;

// The handheld platform's orientations, numbered as it numbers them.
enum class InterfaceOrientation {
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeRight = 3,
    LandscapeLeft = 4
};

// A page: owns one view, made on first use (loadView, then viewDidLoad), and
// hears when it appears and disappears. Containers (navigation, tab bar,
// split view) drive the appearance calls for the children they show.
class ViewController : public QObject {
    Q_OBJECT
public:
    explicit ViewController(QObject* parent = nullptr);
    ~ViewController() override;

    QWidget* view();
    bool isViewLoaded() const { return !m_view.isNull(); }

    QString title() const { return m_title; }
    void setTitle(const QString& title);
    NavigationItem* navigationItem() const { return m_navigationItem; }

    QString tabBarTitle() const { return m_tabTitle.isEmpty() ? m_title : m_tabTitle; }
    QIcon tabBarIcon() const { return m_tabIcon; }
    void setTabBarItem(const QString& title, const QIcon& icon);

    NavigationController* navigationController() const { return m_navigationController; }
    void setNavigationController(NavigationController* nav) { m_navigationController = nav; }

    // True between viewWillAppear and viewWillDisappear.
    bool isAppearing() const { return m_appearing; }

    virtual void awakeFromNib() {}
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool animated);
    virtual void viewDidAppear(bool animated);
    virtual void viewWillDisappear(bool animated);
    virtual void viewDidDisappear(bool animated);
    virtual void viewDidUnload() {}
    virtual bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) const;
    // A container turning (on a desktop: its window crossing between
    // portrait and landscape shape) tells the pages it holds.
    virtual void willRotateToInterfaceOrientation(InterfaceOrientation, double /*duration*/) {}
    virtual void willAnimateRotationToInterfaceOrientation(InterfaceOrientation, double) {}
    virtual void willAnimateFirstHalfOfRotationToInterfaceOrientation(InterfaceOrientation, double)
    {
    }
    virtual void didAnimateFirstHalfOfRotationToInterfaceOrientation(InterfaceOrientation) {}
    virtual void willAnimateSecondHalfOfRotationFromInterfaceOrientation(InterfaceOrientation,
                                                                         double)
    {
    }
    virtual void didRotateFromInterfaceOrientation(InterfaceOrientation /*from*/) {}

    // Containers call these; they keep the appearing flag right and call the
    // virtual hooks once per change.
    void beginAppearance(bool animated);
    void endAppearance(bool animated);
    void beginDisappearance(bool animated);
    void endDisappearance(bool animated);

protected:
    // Makes the page's view; the default is an empty widget.
    virtual QWidget* loadView();

Q_SIGNALS:
    void titleChanged(const QString& title);

private:
    QPointer<QWidget> m_view;
    QString m_title;
    QString m_tabTitle;
    QIcon m_tabIcon;
    NavigationItem* m_navigationItem;
    NavigationController* m_navigationController = nullptr;
    bool m_appearing = false;
    bool m_loading = false;
};

} // namespace ui
