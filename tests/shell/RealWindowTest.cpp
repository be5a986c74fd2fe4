// The large layout in a real X window (Xvfb), resized as a user drags its
// edge: across the landscape line the page list moves into the popover and
// back. The offscreen run starts this binary again under xvfb-run.
#include "ShellTestSupport.h"

#include "shell/DetailNavigationController.h"
#include "shell/QuillSplitViewController.h"
#include "shell/RootViewController.h"
#include "shell/StatusAppDelegate.h"
#include "support/IdiomScope.h"
#include "support/TestSupport.h"
#include "ui/NavigationBar.h"

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace shelltest;

TEST(RealWindowXcb, ResizedAcrossTheLineAndBack)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs a real X display";
    testsupport::IdiomScope pad(ui::UserInterfaceIdiom::Pad);
    CountingGraph graph;
    QWidget* window = graph->window;
    window->resize(1024, 768);
    graph->appDelegate->applicationDidFinishLaunching();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    RootViewController* root = graph->rootViewController;
    QPushButton* left = graph->detailNavigController->navigBar()->leftButton();
    QuillSplitViewController* split = graph->splitViewController;

    const auto sizedTo = [&](QSize size) {
        window->windowHandle()->resize(size); // through the window system
        return testsupport::waitUntil([&] { return split->view()->size() == size; });
    };
    const auto listBeside = [&] {
        return split->isShowingMaster() && root->view()->isVisible() &&
               root->view()->geometry() == QRect(0, 0, 256, split->view()->height()) &&
               left->isHidden();
    };
    ASSERT_TRUE(listBeside());

    for (QSize portrait : {QSize(900, 700), QSize(800, 1000)}) {
        ASSERT_TRUE(sizedTo(portrait)) << portrait.width();
        EXPECT_FALSE(root->view()->isVisible());
        EXPECT_TRUE(left->isVisible());
        EXPECT_EQ(left->text(), "Page List");
        EXPECT_EQ(graph->detailNavigController->view()->width(), portrait.width());
        QTest::mouseClick(left, Qt::LeftButton);
        EXPECT_TRUE(testsupport::waitUntil([&] { return root->view()->isVisible(); }));
        QTest::keyClick(root->tableView(), Qt::Key_Escape);
        EXPECT_FALSE(root->view()->isVisible());

        ASSERT_TRUE(sizedTo(QSize(1200, 800)));
        EXPECT_TRUE(listBeside());
        EXPECT_EQ(graph->detailNavigController->view()->geometry(), QRect(257, 0, 943, 800));
    }
    // Smaller than the pages allow: the window manager is told the minimum,
    // and the window keeps it.
    EXPECT_EQ(window->windowHandle()->minimumSize(), QSize(768, 540));
    window->resize(300, 200);
    EXPECT_TRUE(testsupport::waitUntil([&] { return split->view()->size() == QSize(768, 540); }));
}

TEST(RealWindow, UnderXvfb)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfb.isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed";
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(xvfb,
                {QStringLiteral("-a"), QStringLiteral("-s"),
                 QStringLiteral("-screen 0 1600x1200x24"), QCoreApplication::applicationFilePath(),
                 QStringLiteral("--gtest_filter=RealWindowXcb.*")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << out.toStdString();
}
