// One QApplication for every test binary: widget tests need it, the others
// do not mind it. The platform is forced off screen so tests never need X.
#include <gtest/gtest.h>
#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("welvane-tests");
    QApplication::setApplicationName("welvane-tests");
    return RUN_ALL_TESTS();
}
