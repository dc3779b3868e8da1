#include "TestClient.h"
#include "WaylandFixture.h"

#include "desktop/wayland/GlobalShortcutsPortal.h"
#include "desktop/wayland/GnomeBindingInstaller.h"
#include "desktop/wayland/KeystrokeSender.h"
#include "desktop/wayland/SwayBindingInstaller.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QFile>
#include <QFileSystemWatcher>
#include <QKeySequence>
#include <QSignalSpy>

namespace glimra::test {

namespace {

using namespace std::chrono_literals;

constexpr int KeyG = 34;
constexpr int KeyC = 46;
const QList<int> SuperAlt = {KeystrokeSender::KeyLeftMeta, KeystrokeSender::KeyLeftAlt};

class ShortcutTest : public WaylandTest
{
protected:
    // A command that notes each run in a file, standing in for `glimra guess`.
    QStringList boundCommand()
    {
        const QString script = workPath(QStringLiteral("home/bound-command"));
        QFile file(script);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        // Each run renames a new whole file into place, which a folder watch sees.
        file.write("#!/bin/sh\ndir=$(dirname \"$0\")\n"
                   "{ cat \"$dir/bound-command.runs\" 2>/dev/null; echo \"$@\"; } >\"$dir/.runs\" && "
                   "mv \"$dir/.runs\" \"$dir/bound-command.runs\"\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return {script, QStringLiteral("guess")};
    }
    // Waits until the command ran `count` times in all.
    bool waitForRuns(int count, std::chrono::milliseconds timeout = 20s)
    {
        QFileSystemWatcher watcher({workPath(QStringLiteral("home"))});
        return waitUntil([&] { return runs().count('\n') >= count; }, timeout);
    }
    QByteArray runs() const
    {
        QFile file(workPath(QStringLiteral("home/bound-command.runs")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QByteArray readFile(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ShortcutTest, TheGlobalShortcutsPortalActivatesOnKWinAndIsRefusedElsewhere)
{
    GlobalShortcutsPortal portal;
    QString problem;
    const bool opened = portal.open({{QStringLiteral("guess"), QStringLiteral("Glimra: guess the selection"),
                                      QStringLiteral("ALT+LOGO+g")}},
                                    20s, &problem, QStringLiteral("glimra_test"));
    if (!isKWin()) {
        EXPECT_FALSE(opened) << "this desktop has no GlobalShortcuts portal in Debian 12";
        EXPECT_TRUE(problem.startsWith(QStringLiteral("the GlobalShortcuts portal refused CreateSession"))) << problem.toStdString();
        return;
    }
    ASSERT_TRUE(opened) << problem.toStdString();
    ASSERT_TRUE(portal.isOpen());
    // The keys the desktop binds, as it lists them: those asked for, until the user
    // rebinds them in its settings.
    EXPECT_EQ(QKeySequence::fromString(portal.trigger(QStringLiteral("guess")), QKeySequence::NativeText),
              QKeySequence(Qt::META | Qt::ALT | Qt::Key_G)) << portal.trigger(QStringLiteral("guess")).toStdString();
    const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("front"), {}, {}});
    QSignalSpy activated(&portal, &GlobalShortcutsPortal::activated);
    pressKeys(SuperAlt, KeyG);
    ASSERT_TRUE(waitUntil([&] { return !activated.isEmpty(); })) << "the shortcut did not reach the portal";
    EXPECT_EQ(activated.first().value(0).toString(), QStringLiteral("guess"));
}

// Rebinding in System Settings is a change of KDE's global shortcut service: the portal
// tells the session the new keys, which is what the tray and Preferences show.
TEST_F(ShortcutTest, OnKWinTheKeysTheUserRebindsAreTheKeysShown)
{
    if (!isKWin())
        GTEST_SKIP() << "the portal answers on KWin only";
    GlobalShortcutsPortal portal;
    QString problem;
    ASSERT_TRUE(portal.open({{QStringLiteral("clipboard"), QStringLiteral("Glimra: guess the clipboard"),
                              QStringLiteral("CTRL+ALT+h")}},
                            20s, &problem, QStringLiteral("glimra_rebind")))
        << problem.toStdString();
    EXPECT_EQ(QKeySequence::fromString(portal.trigger(QStringLiteral("clipboard")), QKeySequence::NativeText),
              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_H)) << portal.trigger(QStringLiteral("clipboard")).toStdString();

    // The component KDE made for this session: the one whose name holds its token.
    const QString service = QStringLiteral("org.kde.kglobalaccel");
    const QDBusMessage components = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        service, QStringLiteral("/kglobalaccel"), QStringLiteral("org.kde.KGlobalAccel"), QStringLiteral("allComponents")));
    QString component;
    for (const QDBusObjectPath &path : qdbus_cast<QList<QDBusObjectPath>>(components.arguments().value(0))) {
        const QDBusMessage name = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
            service, path.path(), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get")) << QStringLiteral("org.kde.kglobalaccel.Component") << QStringLiteral("uniqueName"));
        const QString unique = name.arguments().value(0).value<QDBusVariant>().variant().toString();
        if (unique.contains(QStringLiteral("glimra_rebind")))
            component = unique;
    }
    ASSERT_FALSE(component.isEmpty()) << components.errorMessage().toStdString();
    QSignalSpy changed(&portal, &GlobalShortcutsPortal::triggersChanged);
    qDBusRegisterMetaType<QList<int>>();
    const QDBusMessage rebound = QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall(service, QStringLiteral("/kglobalaccel"), QStringLiteral("org.kde.KGlobalAccel"),
                                       QStringLiteral("setForeignShortcut"))
        << QStringList{component, QStringLiteral("clipboard"), QString(), QString()}
        << QVariant::fromValue(QList<int>{int(Qt::META | Qt::SHIFT | Qt::Key_H)}));
    ASSERT_NE(rebound.type(), QDBusMessage::ErrorMessage) << rebound.errorMessage().toStdString();
    ASSERT_TRUE(waitUntil([&] { return !changed.isEmpty(); })) << "the portal told no change";
    EXPECT_EQ(QKeySequence::fromString(portal.trigger(QStringLiteral("clipboard")), QKeySequence::NativeText),
              QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_H)) << portal.trigger(QStringLiteral("clipboard")).toStdString();
}

TEST_F(ShortcutTest, OnKWinTheRunningGlimraGuessesWhenThePortalActivatesItsShortcut)
{
    if (!isKWin())
        GTEST_SKIP() << "the portal answers on KWin only";
    if (qEnvironmentVariableIsEmpty("GLIMRA_XWAYLAND_DISPLAY"))
        GTEST_SKIP() << "the compositor told no Xwayland display";
    const QByteArray text = QByteArrayLiteral("https://example.org/through-the-portal");
    const auto copying = openWindow({QStringLiteral("org.glimra.Copying"), QStringLiteral("copying"), text, {}});

    // The resident application, on the compositor's Xwayland.
    ResidentGlimra resident;
    ASSERT_TRUE(resident.waitUntilOnTheBus()) << "the resident application never took its bus name";

    // Super+Alt+C, the clipboard's shortcut (no other test binds it): the portal's
    // activation guesses the clipboard as the key grab does. The portal registers the
    // shortcut once the session is open: keys typed before that go to the window.
    // The application waits up to 20 s for the portal; KWin looks up its desktop entry
    // first (seconds on a loaded machine).
    const QDeadlineTimer deadline(60s);
    bool guessed = false;
    while (!guessed && !deadline.hasExpired()) {
        pressKeys(SuperAlt, KeyC);
        guessed = waitUntil([&] { return ResidentGlimra::guessedText() == QString::fromUtf8(text); }, 2s);
    }
    EXPECT_TRUE(guessed) << "the portal's shortcut made no guess";
}

TEST_F(ShortcutTest, SwaysBindingRunsTheCommandAndRemoveTakesItOut)
{
    if (!isSway())
        GTEST_SKIP() << "sway only";
    SwayBindingInstaller installer;
    const QString configuration = installer.userConfiguration();
    ASSERT_FALSE(configuration.isEmpty()) << "run-on-wayland.sh starts sway on the user's own configuration";
    const QByteArray before = readFile(configuration);

    const BindingChange installed = installer.install({{QStringLiteral("guess"), QStringLiteral("Glimra: guess"),
                                                        QStringLiteral("Meta+Alt+G"), boundCommand()}});
    ASSERT_EQ(installed.result, BindingChange::Result::Changed) << installed.message.toStdString();
    EXPECT_FALSE(installed.message.contains(QStringLiteral("swaymsg reload"))) << "sway was reloaded";
    pressKeys(SuperAlt, KeyG);
    EXPECT_TRUE(waitForRuns(1)) << "the key press did not run the bound command";
    EXPECT_EQ(runs(), "guess\n");

    const BindingChange removed = installer.remove();
    ASSERT_EQ(removed.result, BindingChange::Result::Changed) << removed.message.toStdString();
    EXPECT_EQ(readFile(configuration), before);
    // The keys reach the window again.
    const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("front"), {}, {}});
    pressKeys(SuperAlt, KeyG);
    EXPECT_TRUE(front->waitForLine("key 402653184 71")) << front->transcript().toStdString();
    EXPECT_EQ(runs(), "guess\n");
}

TEST_F(ShortcutTest, GnomesCustomKeybindingRunsTheCommandAndTheUsersListStays)
{
    if (!isGnome())
        GTEST_SKIP() << "GNOME only";
    // The user has a custom keybinding of their own.
    const QString theirs = QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/");
    QProcess gsettings;
    gsettings.start(QStringLiteral("gsettings"), {QStringLiteral("set"), GnomeBindingInstaller::ListSchema,
                                                  QStringLiteral("custom-keybindings"), QStringLiteral("['%1']").arg(theirs)});
    ASSERT_TRUE(gsettings.waitForFinished(10000) && gsettings.exitCode() == 0);

    GnomeBindingInstaller installer;
    const BindingChange installed = installer.install({{QStringLiteral("guess"), QStringLiteral("Glimra: guess"),
                                                        QStringLiteral("Meta+Alt+G"), boundCommand()}});
    ASSERT_EQ(installed.result, BindingChange::Result::Changed) << installed.message.toStdString();
    EXPECT_EQ(installer.customKeybindings(),
              QStringList({theirs, GnomeBindingInstaller::PathPrefix + QStringLiteral("guess/")}));
    // gnome-settings-daemon picks the binding up from the settings it watches: keys typed
    // before that reach the window instead, so they are typed until the command runs.
    const QDeadlineTimer deadline(20s);
    bool ran = false;
    while (!ran && !deadline.hasExpired()) {
        pressKeys(SuperAlt, KeyG);
        ran = waitForRuns(1, 1s);
    }
    EXPECT_TRUE(ran) << "the key press did not run the bound command";
    EXPECT_TRUE(runs().startsWith("guess\n"));

    const BindingChange removed = installer.remove();
    ASSERT_EQ(removed.result, BindingChange::Result::Changed) << removed.message.toStdString();
    EXPECT_EQ(installer.customKeybindings(), QStringList({theirs}));
    EXPECT_EQ(installer.remove().result, BindingChange::Result::NothingToDo);
}

} // namespace

} // namespace glimra::test
