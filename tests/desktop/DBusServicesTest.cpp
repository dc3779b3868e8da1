#include "DesktopTest.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTimer>
#include <QVariantMap>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

// A notification service on the private session bus that writes down what it is sent.
class NotificationService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList received;
    QStringList names;
    QStringList capabilities{u"body"_s};
    // How long it takes to say what it reads, as a server started on demand may.
    int capabilitiesDelayMs = 0;

public slots:
    uint Notify(const QString &application, uint, const QString &icon, const QString &summary,
                const QString &body, const QStringList &, const QVariantMap &hints, int timeout)
    {
        received.append(summary + u'|' + body);
        names.append(hints.value(u"x-glimra-name"_s).toString());
        EXPECT_EQ(application, u"Glimra"_s);
        EXPECT_TRUE(icon.isEmpty());
        EXPECT_EQ(timeout, -1);
        EXPECT_EQ(hints.value(u"x-glimra-identifier"_s).toString(), u"GLIMRA"_s);
        return uint(received.size());
    }
    QStringList GetCapabilities()
    {
        if (capabilitiesDelayMs == 0)
            return capabilities;
        setDelayedReply(true);
        QTimer::singleShot(capabilitiesDelayMs, this, [this, request = message()] {
            QDBusConnection::sessionBus().send(request.createReply(QVariant(capabilities)));
        });
        return {};
    }
};

// A file manager on the private session bus that writes down what it is asked to show.
class FileManagerService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;

public slots:
    void ShowItems(const QStringList &uris, const QString &) { shown.append(uris); }
    void ShowFolders(const QStringList &, const QString &) {}
};

class DBusServicesTest : public DesktopTest
{
protected:
    template <typename Service>
    void serve(Service &service, const QString &name, const QString &path)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        ASSERT_TRUE(bus.isConnected()) << "no session bus";
        ASSERT_TRUE(bus.registerObject(path, &service, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus.registerService(name));
        m_names.append(name);
        m_paths.append(path);
    }
    void TearDown() override
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        for (const QString &name : std::as_const(m_names))
            bus.unregisterService(name);
        for (const QString &path : std::as_const(m_paths))
            bus.unregisterObject(path);
        DesktopTest::TearDown();
    }

private:
    QStringList m_names;
    QStringList m_paths;
};

TEST_F(DBusServicesTest, AGuessPostsItsProgressAsNotifications)
{
    NotificationService notifications;
    serve(notifications, u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s);
    startXterm(path());
    xclipSet(u"primary"_s, u"hello world"_s);
    const GlimraRun run = glimra({u"guess"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(notifications.received,
              (QStringList{u"guessing...|"_s,
                           u"got it|looks like a text (hello world"_s + QChar(0x2026) + u')'}));
    EXPECT_EQ(notifications.names, (QStringList{u"CommandExecuted"_s, u"CommandExecuted"_s}));
}

TEST_F(DBusServicesTest, ASelectionIsNeverReadAsMarkup)
{
    NotificationService notifications;
    notifications.capabilities = {u"body"_s, u"body-markup"_s};
    serve(notifications, u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s);
    startXterm(path());
    xclipSet(u"primary"_s, u"a<b>&c"_s);
    ASSERT_EQ(glimra({u"guess"_s}).exitCode, 0);
    EXPECT_EQ(notifications.received.value(1),
              u"got it|looks like a text (a&lt;b&gt;&amp;c"_s + QChar(0x2026) + u')');
}

TEST_F(DBusServicesTest, ASelectionIsEscapedUntilTheServerHasSaidItReadsNoMarkup)
{
    NotificationService notifications;
    notifications.capabilities = {u"body"_s, u"body-markup"_s};
    notifications.capabilitiesDelayMs = 3000;
    serve(notifications, u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s);
    startXterm(path());
    xclipSet(u"primary"_s, u"<b>bold</b>"_s);
    ASSERT_EQ(glimra({u"guess"_s}).exitCode, 0);
    EXPECT_EQ(notifications.received.value(1), u"got it|looks like a text (&lt;b&gt;bold&lt;/b&gt;"_s + QChar(0x2026) + u')');
}

TEST_F(DBusServicesTest, DunstShowsASelectionAsWritten)
{
    const QString dunst = QStandardPaths::findExecutable(u"dunst"_s);
    if (dunst.isEmpty())
        GTEST_SKIP() << "dunst is not installed";
    QProcess server;
    server.start(dunst, {});
    auto registered = [] {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(u"org.freedesktop.Notifications"_s).value();
    };
    ASSERT_TRUE(QTest::qWaitFor(registered, 10000)) << "dunst never took its bus name";
    startXterm(path());
    xclipSet(u"primary"_s, u"<b>bold</b>&amp;"_s);
    ASSERT_EQ(glimra({u"guess"_s}).exitCode, 0);
    // Closed notifications are kept in its history, as it was sent and as it showed them.
    output(u"/usr/bin/dunstctl"_s, {u"close-all"_s});
    QStringList bodies;
    const bool both = QTest::qWaitFor([&] {
        bodies.clear();
        const QJsonObject history = QJsonDocument::fromJson(output(u"/usr/bin/dunstctl"_s, {u"history"_s}).toUtf8()).object();
        for (const QJsonValue &notification : history.value(u"data"_s).toArray().first().toArray())
            bodies.append(notification.toObject().value(u"message"_s).toObject().value(u"data"_s).toString());
        return bodies.size() == 2;
    }, 5000);
    EXPECT_TRUE(both) << bodies.size() << " notifications in the history";
    EXPECT_TRUE(bodies.contains(u"<b>got it</b>\nlooks like a text (&lt;b&gt;bold&lt;/b&gt;&amp;amp;"_s
                                + QChar(0x2026) + u')'))
        << bodies.join(u" | "_s).toStdString();
    server.terminate();
    server.waitForFinished();
}

TEST_F(DBusServicesTest, ThePrivateBusActivatesNoServiceOfTheMachine)
{
    // A notification server or file manager installed on the machine would answer in the
    // place of the tests' own.
    EXPECT_EQ(QDBusConnection::sessionBus().interface()->activatableServiceNames().value(),
              QStringList{u"org.freedesktop.DBus"_s});
}

TEST_F(DBusServicesTest, WithoutANotificationServiceTheGuessGoesOnAndSaysNothingUnlessAsked)
{
    startXterm(path());
    xclipSet(u"primary"_s, u"6*7"_s);
    const GlimraRun run = glimra({u"guess"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // A guess that went as expected writes nothing on standard error.
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(run.json().value(u"matchedContext"_s).toObject().value(u"ACT_TEXT"_s), u"42"_s);

    const GlimraRun verbose = glimra({u"--verbose"_s, u"guess"_s, u"--json"_s});
    ASSERT_EQ(verbose.exitCode, 0) << verbose.err.toStdString();
    EXPECT_TRUE(verbose.err.contains(u"appname:XTerm"_s)) << verbose.err.toStdString();
    EXPECT_TRUE(verbose.err.contains(u"no notification service"_s)) << verbose.err.toStdString();
    EXPECT_EQ(verbose.json(), run.json());

    QProcessEnvironment rules = QProcessEnvironment::systemEnvironment();
    rules.insert(u"QT_LOGGING_RULES"_s, u"glimra.capture.info=true"_s);
    const GlimraRun ruled = glimra({u"guess"_s}, {}, rules);
    EXPECT_TRUE(ruled.err.contains(u"appname:XTerm"_s)) << ruled.err.toStdString();
    EXPECT_FALSE(ruled.err.contains(u"no notification service"_s)) << ruled.err.toStdString();
}

TEST_F(DBusServicesTest, RevealAsksTheFileManagerOrOpensTheFolder)
{
    const QString file = writeFile(u"docs/a file.txt"_s, "x");
    FileManagerService fileManager;
    serve(fileManager, u"org.freedesktop.FileManager1"_s, u"/org/freedesktop/FileManager1"_s);
    EXPECT_EQ(glimra({u"match"_s, u"--text"_s, file, u"--run"_s, u"reveal"_s}).exitCode, 0);
    EXPECT_EQ(fileManager.shown, QStringList{u"file://"_s + path(u"docs/a%20file.txt"_s)});

    QDBusConnection::sessionBus().unregisterService(u"org.freedesktop.FileManager1"_s);
    writeFile(u"bin/xdg-open"_s, "#!/bin/sh\necho \"$1\" > '" + path(u"opened"_s).toUtf8() + "'\n", true);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PATH"_s, path(u"bin"_s) + u':' + environment.value(u"PATH"_s));
    EXPECT_EQ(glimra({u"match"_s, u"--text"_s, file, u"--run"_s, u"reveal"_s}, {}, environment).exitCode, 0);
    QFile opened(path(u"opened"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.exists(); }, 5000));
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll().trimmed(), path(u"docs"_s).toUtf8());
}

#include "DBusServicesTest.moc"
