// The report and feedback mail: the mailto: link, the handler lookup in the
// XDG association files, and the hand-over to the mail program.

#include "host/system/MailHandlerLookup.h"
#include "host/system/MailtoUrl.h"
#include "host/system/XdgMailer.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::writeFile;

namespace {

struct Desktop {
    QTemporaryDir root;
    MailHandlerLookup::Paths paths{{root.path() + "/config", root.path() + "/etc"},
                                   {root.path() + "/data", root.path() + "/usr"},
                                   {"gnome"}};
    void app(const QString& id)
    {
        writeFile(root.path(), "usr/applications/" + id, "[Desktop Entry]\n");
    }
    void file(const QString& relative, const QByteArray& text)
    {
        writeFile(root.path(), relative, text);
    }
    QString found() { return MailHandlerLookup::handler(paths).value_or("none").section('/', -1); }
};

} // namespace

TEST(MailtoUrl, EncodesEveryCharacterThatCouldEndAFieldOrAddAHeader)
{
    const QString body = QString::fromUtf8("a&b?c#d%e+f=g\nZürich 名");
    EXPECT_EQ(MailtoUrl::build({}, "Welvane Device Info", body),
              "mailto:?subject=Welvane%20Device%20Info&body=a%26b%3Fc%23d%25e%2Bf%3Dg%0D%0AZ%C3%"
              "BCrich%20%E5%90%8D");
    EXPECT_EQ(MailtoUrl::build("ana@example.org", "Hi", {}), "mailto:ana@example.org?subject=Hi");
}

TEST(MailHandlerLookup, FindsTheHandlerWhoseDesktopFileExists)
{
    Desktop d;
    EXPECT_EQ(d.found(), "none"); // no association anywhere

    // Named, but not installed: not a handler.
    d.file("config/mimeapps.list",
           "[Default Applications]\nx-scheme-handler/mailto=gone.desktop\n");
    EXPECT_EQ(d.found(), "none");

    // Installed; a desktop-specific list comes before the general one.
    d.app("thunderbird.desktop");
    d.app("evolution.desktop");
    d.file("etc/mimeapps.list", "[Default Applications]\ntext/html=firefox.desktop\n"
                                "x-scheme-handler/mailto=gone.desktop;thunderbird.desktop;\n");
    EXPECT_EQ(d.found(), "thunderbird.desktop");
    d.file("config/gnome-mimeapps.list",
           "[Added Associations]\nx-scheme-handler/mailto=evolution.desktop\n");
    EXPECT_EQ(d.found(), "evolution.desktop");
}

TEST(MailHandlerLookup, RemovedAssociationsAndTheInstalledApplicationsCache)
{
    Desktop d;
    d.app("kde/kmail.desktop"); // the ID "kde-kmail.desktop" names this file
    d.file("usr/applications/mimeinfo.cache",
           "[MIME Cache]\nx-scheme-handler/mailto=kde-kmail.desktop;\n");
    EXPECT_EQ(d.found(), "kmail.desktop");
    d.file("config/mimeapps.list",
           "[Removed Associations]\nx-scheme-handler/mailto=kde-kmail.desktop\n");
    EXPECT_EQ(d.found(), "none");
}

TEST(XdgMailer, HandsTheLinkOverAndReportsAFailedHandlerInOneLine)
{
    QTemporaryDir dir;
    const QString out = dir.path() + "/url";
    const auto script = [&](const QString& name, const QByteArray& text) {
        writeFile(dir.path(), name, "#!/bin/sh\n" + text);
        QFile::setPermissions(dir.path() + "/" + name,
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        return dir.path() + "/" + name;
    };
    struct Answer {
        int calls = 0;
        bool ok = false;
        QString error;
    };
    const auto send = [](XdgMailer& mailer, Answer& a) {
        mailer.compose({{}, "Subject", "line & more\n"}, [&a](bool ok, const QString& error) {
            ++a.calls;
            a.ok = ok;
            a.error = error;
        });
        EXPECT_TRUE(testsupport::waitUntil([&a] { return a.calls > 0; }));
    };

    XdgMailer good({}, script("good", "printf '%s' \"$1\" > '" + out.toUtf8() + "'\n"));
    Answer a;
    send(good, a);
    EXPECT_TRUE(a.ok);
    QFile received(out);
    ASSERT_TRUE(received.open(QIODevice::ReadOnly));
    EXPECT_EQ(received.readAll(), MailtoUrl::build({}, "Subject", "line & more\n"));

    XdgMailer failing({}, script("bad", "echo no handler >&2\nexit 3\n"));
    Answer b;
    send(failing, b);
    EXPECT_FALSE(b.ok);
    EXPECT_TRUE(b.error.contains("3"));
    EXPECT_FALSE(b.error.contains('\n'));

    XdgMailer missing({}, dir.path() + "/no-such-program");
    missing.setHandOver(std::chrono::milliseconds(100));
    Answer c;
    send(missing, c);
    EXPECT_FALSE(c.ok);
    EXPECT_FALSE(c.error.isEmpty());
    testsupport::waitUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(c.calls, 1); // answered once, not again by the hand-over timer
}
