// One QApplication for every test binary: widget tests need it, the others
// do not mind it. The platform is forced off screen so tests never need X.
// Every test gets its own settings and cache folders, so tests run in
// parallel (ctest -j) never share a settings file, and none touches the
// user's own.
#include "host/settings/Defaults.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {
class PrivateFolders : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        m_dir = std::make_unique<QTemporaryDir>();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            const QString path = m_dir->filePath(QString::fromLatin1(name));
            QDir().mkpath(path);
            qputenv(name, QFile::encodeName(path));
        }
        Defaults::setStandardPath({}); // reopened under the new folder on first use
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        Defaults::setStandardPath({});
        m_dir.reset();
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};
} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("welvane-tests");
    QApplication::setApplicationName("welvane-tests");
    ::testing::UnitTest::GetInstance()->listeners().Append(new PrivateFolders);
    return RUN_ALL_TESTS();
}
