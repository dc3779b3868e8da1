#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class ShortcutCommandTest : public IsolatedTest
{
protected:
    static QByteArray contents(const QString &file)
    {
        QFile configuration(file);
        return configuration.open(QIODevice::ReadOnly) ? configuration.readAll() : QByteArray();
    }

    // glimra shortcut VERB on the desktop `desktop`, with no compositor to reload.
    GlimraRun shortcut(const QString &verb, const QString &desktop)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CURRENT_DESKTOP"_s, desktop);
        environment.remove(u"SWAYSOCK"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        return runGlimra({u"shortcut"_s, verb}, {}, environment);
    }
    QString bindings() const { return path(u"config/Glimra/sway-shortcuts.conf"_s); }
};

TEST_F(ShortcutCommandTest, InSwayTheBindingsGoInAFileOfGlimrasOwnIncludedOnceAndRemoveRestoresTheConfiguration)
{
    const QByteArray mine = "# mine\nset $mod Mod4\nbindsym $mod+q kill";
    const QString configuration = writeFile(u"config/sway/config"_s, mine);

    const GlimraRun installed = shortcut(u"install"_s, u"sway"_s);
    EXPECT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    EXPECT_TRUE(installed.out.contains(u"Bound in"_s)) << installed.out.toStdString();
    EXPECT_TRUE(installed.out.contains(u"swaymsg reload"_s)) << "sway could not be told: " << installed.out.toStdString();
    const QByteArray include = "include " + bindings().toUtf8() + '\n';
    EXPECT_EQ(contents(configuration), mine + '\n' + include);
    EXPECT_TRUE(contents(bindings()).contains(" guess\n")) << contents(bindings()).toStdString();
    EXPECT_TRUE(contents(bindings()).contains("bindsym Mod4+Mod1+g exec ")) << contents(bindings()).toStdString();
    EXPECT_TRUE(contents(bindings()).contains("bindsym Mod4+Mod1+c exec ")) << contents(bindings()).toStdString();

    // A changed setting rewrites Glimra's own file; the include line is not added twice.
    setDefault(u"shortcut_guess_selection"_s, u"Ctrl+Alt+Y"_s);
    setDefault(u"shortcut_guess_clipboard"_s, u""_s);
    EXPECT_EQ(shortcut(u"install"_s, u"sway"_s).exitCode, 0);
    EXPECT_EQ(contents(configuration), mine + '\n' + include);
    EXPECT_TRUE(contents(bindings()).contains("bindsym Mod1+Ctrl+y exec ")) << contents(bindings()).toStdString();
    EXPECT_FALSE(contents(bindings()).contains(" clipboard\n")) << "a shortcut turned off stays bound";

    const GlimraRun removed = shortcut(u"remove"_s, u"sway"_s);
    EXPECT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    EXPECT_EQ(contents(configuration), mine);
    EXPECT_FALSE(QFileInfo::exists(bindings()));
    EXPECT_TRUE(shortcut(u"remove"_s, u"sway"_s).out.contains(u"bound nothing"_s));
}

TEST_F(ShortcutCommandTest, WhereNothingMayBeWrittenTheLinesOrKeysToBindAreSaidInstead)
{
    const struct
    {
        const char *name;
        QString desktop;
        QString expected;
    } cases[] = {
        {"sway without a configuration of the user's", u"sway"_s, u"bindsym Mod4+Mod1+g exec "_s},
        {"another wlroots compositor", u"Hyprland"_s, u" guess"_s},
    };
    for (const auto &c : cases) {
        const GlimraRun run = shortcut(u"install"_s, c.desktop);
        EXPECT_EQ(run.exitCode, 0) << c.name << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(c.expected)) << c.name << ": " << run.out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path(u"config/sway"_s))) << c.name;
        EXPECT_FALSE(QFileInfo::exists(bindings())) << c.name;
    }
    EXPECT_EQ(shortcut(u"uninstall"_s, u"sway"_s).exitCode, 2);
}
