// The resident application's shortcuts in a Wayland session without a portal: a change of
// the shortcut settings rewrites the binding Glimra wrote in sway, and only that.
#include "desktop/wayland/GnomeBindingInstaller.h"
#include "desktop/wayland/SwayBindingInstaller.h"
#include "platform/UserDefaults.h"
#include "ui/DesktopApplication.h"
#include "ui/WaylandShortcuts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace glimra {

namespace {

const QString Selection = QStringLiteral("shortcut_guess_selection");
const QString Clipboard = QStringLiteral("shortcut_guess_clipboard");

class WaylandShortcutsTest : public ::testing::Test
{
protected:
    QString path(const QString &relative) const { return dir.path() + QLatin1Char('/') + relative; }
    QByteArray read(const QString &relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeUserConfiguration()
    {
        QDir().mkpath(path(QStringLiteral("config/sway")));
        QFile file(path(QStringLiteral("config/sway/config")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(UsersConfiguration);
    }
    std::unique_ptr<BindingInstaller> installer() const
    {
        return std::make_unique<SwayBindingInstaller>(path(QStringLiteral("config")), path(QStringLiteral("home")),
                                                      path(QStringLiteral("no-sway")));
    }
    // Glimra's own file, without its header and record: the bindsym lines.
    QStringList boundLines() const
    {
        QStringList lines;
        for (const QByteArray &line : read(QStringLiteral("config/Glimra/sway-shortcuts.conf")).split('\n')) {
            const QString text = QString::fromUtf8(line);
            if (text.startsWith(QStringLiteral("bindsym ")))
                lines << text.section(QLatin1Char(' '), 1, 1) + QLatin1Char(' ') + text.section(QLatin1Char(' '), -1);
        }
        return lines;
    }

    const QByteArray UsersConfiguration = QByteArrayLiteral("set $mod Mod4\nbindsym $mod+Return exec foot\n");
    QTemporaryDir dir;
    UserDefaults defaults{path(QStringLiteral("settings.json"))};
};

TEST_F(WaylandShortcutsTest, ASettingsChangeRewritesTheBindingGlimraWroteAndNothingElse)
{
    writeUserConfiguration();
    WaylandShortcuts shortcuts(defaults, installer());
    // Nothing bound yet: a change writes nothing, and the keys are the desktop's.
    defaults.setObject(Selection, QStringLiteral("Ctrl+Alt+Y"));
    shortcuts.settingsChanged();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("config/Glimra/sway-shortcuts.conf"))));
    EXPECT_EQ(read(QStringLiteral("config/sway/config")), UsersConfiguration);
    EXPECT_EQ(shortcuts.keysText(Selection), QStringLiteral("bound in the desktop's settings"));

    ASSERT_NE(shortcuts.install().result, BindingChange::Result::Failed);
    const QByteArray include = SwayBindingInstaller(path(QStringLiteral("config"))).includeLine().toUtf8() + '\n';

    struct Case
    {
        const char *name;
        QString key;
        QJsonValue value; // Null: the setting is removed (its default holds)
        QStringList lines;
        QString selectionKeys;
    } cases[] = {
        {"the selection's keys changed", Selection, QStringLiteral("Ctrl+Alt+Y"),
         {QStringLiteral("Mod1+Ctrl+y guess"), QStringLiteral("Mod4+Mod1+c clipboard")}, QStringLiteral("Ctrl+Alt+Y")},
        {"the clipboard's shortcut turned off", Clipboard, QStringLiteral(""),
         {QStringLiteral("Mod1+Ctrl+y guess")}, QStringLiteral("Ctrl+Alt+Y")},
        {"the selection's keys back to their default", Selection, QJsonValue(),
         {QStringLiteral("Mod4+Mod1+g guess")}, QStringLiteral("Meta+Alt+G")},
        {"another setting changed", QStringLiteral("hide_after_action"), true,
         {QStringLiteral("Mod4+Mod1+g guess")}, QStringLiteral("Meta+Alt+G")},
        {"the clipboard's shortcut on again", Clipboard, QStringLiteral("Meta+Shift+V"),
         {QStringLiteral("Mod4+Mod1+g guess"), QStringLiteral("Mod4+Shift+v clipboard")}, QStringLiteral("Meta+Alt+G")},
    };
    for (const Case &c : cases) {
        if (c.value.isNull())
            defaults.removeObjectForKey(c.key);
        else
            defaults.setObject(c.key, c.value);
        shortcuts.settingsChanged();
        EXPECT_EQ(boundLines(), c.lines) << c.name;
        // The user's configuration keeps its lines, with one include line after them.
        EXPECT_EQ(read(QStringLiteral("config/sway/config")), UsersConfiguration + include) << c.name;
        EXPECT_EQ(QKeySequence::fromString(shortcuts.keysText(Selection), QKeySequence::NativeText),
                  QKeySequence::fromString(c.selectionKeys, QKeySequence::PortableText)) << c.name;
    }

    // Both off: what Glimra wrote goes, and the user's file is as it was.
    defaults.setObject(Selection, QStringLiteral(""));
    defaults.setObject(Clipboard, QStringLiteral(""));
    shortcuts.settingsChanged();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("config/Glimra/sway-shortcuts.conf"))));
    EXPECT_EQ(read(QStringLiteral("config/sway/config")), UsersConfiguration);
    EXPECT_EQ(shortcuts.keysText(Selection), QString());
}

TEST_F(WaylandShortcutsTest, WithoutAPortalStartBringsAnOutdatedBindingInLine)
{
    writeUserConfiguration();
    {
        WaylandShortcuts before(defaults, installer());
        ASSERT_EQ(before.install().result, BindingChange::Result::Changed);
    }
    // Changed while Glimra did not run.
    defaults.setObject(Selection, QStringLiteral("Ctrl+Alt+Y"));
    WaylandShortcuts shortcuts(defaults, installer());
    // No portal answers: on no bus at all.
    EXPECT_FALSE(shortcuts.start(std::chrono::seconds(2), QDBusConnection(QStringLiteral("no bus"))));
    EXPECT_FALSE(shortcuts.usesPortal());
    EXPECT_EQ(boundLines(), (QStringList{QStringLiteral("Mod1+Ctrl+y guess"), QStringLiteral("Mod4+Mod1+c clipboard")}));
}

TEST_F(WaylandShortcutsTest, AStalledGsettingsNeitherFreezesTheEventLoopNorGoesUnsaid)
{
    // A gsettings whose writes stall, as when GNOME's settings service hangs; it reads a
    // binding Glimra wrote, so that a settings change rewrites it.
    QDir().mkpath(path(QStringLiteral("bin")));
    QFile script(path(QStringLiteral("bin/gsettings")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\ncase \"$1\" in get) echo \"['%1guess/']\";; *) exec sleep 60;; esac\n")
                     .arg(GnomeBindingInstaller::PathPrefix).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", path(QStringLiteral("bin")).toLocal8Bit() + ':' + oldPath);

    WaylandShortcuts shortcuts(defaults, std::make_unique<GnomeBindingInstaller>());
    QSignalSpy failed(&shortcuts, &WaylandShortcuts::failed);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        // Another change while the first is being written waits for it.
        if (++ticks == 1) {
            defaults.setObject(Clipboard, QStringLiteral("Meta+Shift+V"));
            shortcuts.settingsChanged();
        }
        // The button pressed meanwhile writes nothing beside it.
        if (ticks == 2) {
            const BindingChange refused = shortcuts.install();
            EXPECT_EQ(refused.result, BindingChange::Result::Failed);
            EXPECT_TRUE(refused.message.contains(QStringLiteral("being written already"))) << refused.message.toStdString();
        }
    });
    ticker.start(100);
    QElapsedTimer elapsed;
    elapsed.start();
    defaults.setObject(Selection, QStringLiteral("Ctrl+Alt+Y"));
    shortcuts.settingsChanged();
    qputenv("PATH", oldPath);

    EXPECT_GE(ticks, 10) << "the event loop stood still while gsettings ran";
    // Killed at its bound, once for each change, and said each time.
    EXPECT_GE(elapsed.elapsed(), 2 * 5000);
    ASSERT_EQ(failed.size(), 2);
    EXPECT_TRUE(failed.first().first().toString().startsWith(QStringLiteral("gsettings set failed")))
        << failed.first().first().toString().toStdString();
}

} // namespace

} // namespace glimra
