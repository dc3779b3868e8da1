// The parts of the Wayland client that need no compositor: key notations, GNOME's list
// texts, command lines, and sway's configuration files edited and restored.
#include "desktop/wayland/GnomeBindingInstaller.h"
#include "desktop/wayland/KeyCombination.h"
#include "desktop/wayland/ManualBindingInstructions.h"
#include "desktop/wayland/SwayBindingInstaller.h"
#include "desktop/wayland/SwayIpc.h"
#include "desktop/wayland/commandText.h"
#include "ui/Translations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace glimra {

namespace {

TEST(KeyCombination, IsWrittenInEachDesktopsNotation)
{
    struct Case
    {
        const char *keys, *sway, *gnome, *portal, *text;
    } cases[] = {
        {"Meta+Alt+G", "Mod4+Mod1+g", "<Super><Alt>g", "ALT+LOGO+g", "Super+Alt+G"},
        {"Ctrl+Shift+F5", "Ctrl+Shift+F5", "<Control><Shift>F5", "CTRL+SHIFT+F5", "Ctrl+Shift+F5"},
        {"Meta+Space", "Mod4+space", "<Super>space", "LOGO+space", "Super+Space"},
        {"Ctrl++", "Ctrl+plus", "<Control>plus", "CTRL+plus", "Ctrl++"},
        {"Meta+Alt+C, X", "Mod4+Mod1+c", "<Super><Alt>c", "ALT+LOGO+c", "Super+Alt+C"},
        {"alt+meta+7", "Mod4+Mod1+7", "<Super><Alt>7", "ALT+LOGO+7", "Super+Alt+7"},
    };
    for (const Case &c : cases) {
        const std::optional<KeyCombination> keys = KeyCombination::parse(QString::fromUtf8(c.keys));
        ASSERT_TRUE(keys) << c.keys;
        EXPECT_EQ(keys->toSway(), QString::fromUtf8(c.sway)) << c.keys;
        EXPECT_EQ(keys->toGnome(), QString::fromUtf8(c.gnome)) << c.keys;
        EXPECT_EQ(keys->toPortal(), QString::fromUtf8(c.portal)) << c.keys;
        EXPECT_EQ(keys->toText(), QString::fromUtf8(c.text)) << c.keys;
    }
    for (const char *bad : {"", "Meta+", "Hyper+G", "Meta+Alt+Ä", "Meta+NoSuchKey", "F99"})
        EXPECT_FALSE(KeyCombination::parse(QString::fromUtf8(bad))) << bad;
}

TEST(GnomeBindingInstaller, ReadsAndWritesGVariantListsOfPaths)
{
    struct Case
    {
        const char *text;
        std::optional<QStringList> paths;
    } cases[] = {
        {"@as []", QStringList()},
        {"[]", QStringList()},
        {"['/a/b/']", QStringList{QStringLiteral("/a/b/")}},
        {"['/a/', \"/b/\"]", QStringList{QStringLiteral("/a/"), QStringLiteral("/b/")}},
        {"['it\\'s', 'back\\\\slash']", QStringList{QStringLiteral("it's"), QStringLiteral("back\\slash")}},
        {"['/a/'", std::nullopt},
        {"[1, 2]", std::nullopt},
        {"['/a/' '/b/']", std::nullopt},
        {"nothing", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GnomeBindingInstaller::parseStringArray(QString::fromUtf8(c.text)), c.paths) << c.text;
    const QStringList odd{QStringLiteral("it's"), QStringLiteral("a\\b"), QStringLiteral("/c d/")};
    EXPECT_EQ(GnomeBindingInstaller::parseStringArray(GnomeBindingInstaller::formatStringArray(odd)), odd);
}

TEST(CommandText, QuotesOnlyTheWordsThatNeedIt)
{
    EXPECT_EQ(commandText({QStringLiteral("/usr/bin/glimra"), QStringLiteral("guess")}), QStringLiteral("/usr/bin/glimra guess"));
    EXPECT_EQ(commandText({QStringLiteral("/opt/my apps/glimra"), QStringLiteral("clipboard")}),
              QStringLiteral("'/opt/my apps/glimra' clipboard"));
    EXPECT_EQ(commandText({QStringLiteral("it's"), QStringLiteral("$HOME")}), QStringLiteral("'it'\\''s' '$HOME'"));
}

TEST(SwayIpc, FindsTheFocusedWindowInTheTree)
{
    const QByteArray tree = R"({"type":"root","focused":false,"nodes":[{"type":"output","nodes":[{"type":"workspace",
        "nodes":[{"type":"con","focused":false,"pid":10,"app_id":"foot","name":"one","nodes":[]}],
        "floating_nodes":[{"type":"floating_con","focused":true,"pid":42,"app_id":null,"name":"xterm ✓",
                           "window_properties":{"class":"XTerm"},"nodes":[]}]}]}]})";
    const std::optional<SwayIpc::FocusedWindow> focused = SwayIpc::findFocused(QJsonDocument::fromJson(tree).object());
    ASSERT_TRUE(focused);
    EXPECT_EQ(focused->pid, 42);
    EXPECT_TRUE(focused->appId.isEmpty());
    EXPECT_EQ(focused->windowClass, QStringLiteral("XTerm"));
    EXPECT_EQ(focused->title, QStringLiteral("xterm ✓"));
    // A focused workspace (nothing open) is no window.
    EXPECT_FALSE(SwayIpc::findFocused(QJsonDocument::fromJson(R"({"type":"workspace","focused":true,"nodes":[]})").object()));
    EXPECT_FALSE(SwayIpc::findFocused(QJsonObject()));
}

class SwayBindingInstallerTest : public ::testing::Test
{
protected:
    QString path(const QString &relative) const { return dir.path() + QLatin1Char('/') + relative; }
    void write(const QString &relative, const QByteArray &contents)
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    QByteArray read(const QString &relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    SwayBindingInstaller installer() const
    {
        return SwayBindingInstaller(path(QStringLiteral("config")), path(QStringLiteral("home")),
                                    path(QStringLiteral("no-sway")));
    }

    QTemporaryDir dir;
    const QList<ShortcutBinding> bindings{
        {QStringLiteral("guess"), QStringLiteral("Glimra: guess the selection"), QStringLiteral("Meta+Alt+G"),
         {QStringLiteral("/usr/bin/glimra"), QStringLiteral("guess")}},
        {QStringLiteral("clipboard"), QStringLiteral("Glimra: guess the clipboard"), QStringLiteral("Meta+Alt+C"),
         {QStringLiteral("/usr/bin/glimra"), QStringLiteral("clipboard")}},
    };
    const QStringList lines{QStringLiteral("bindsym Mod4+Mod1+g exec /usr/bin/glimra guess"),
                            QStringLiteral("bindsym Mod4+Mod1+c exec /usr/bin/glimra clipboard")};
};

TEST_F(SwayBindingInstallerTest, WithoutAConfigurationOfTheUsersWritesNothingAndGivesTheLines)
{
    const BindingChange change = installer().install(bindings);
    EXPECT_EQ(change.result, BindingChange::Result::NothingToDo);
    EXPECT_EQ(change.lines, lines);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("config"))));
    EXPECT_EQ(installer().remove().result, BindingChange::Result::NothingToDo);
}

TEST_F(SwayBindingInstallerTest, AppendsOneIncludeLineAndRemoveRestoresTheFileExactly)
{
    struct Case
    {
        const char *name;
        QString file;
        QByteArray contents;
    } cases[] = {
        {"a configuration ending in a line break", QStringLiteral("config/sway/config"), "set $mod Mod4\nbindsym $mod+q kill\n"},
        {"one without a final line break", QStringLiteral("config/sway/config"), "exec foot"},
        {"an empty one", QStringLiteral("config/sway/config"), ""},
        {"~/.sway/config, which sway reads first", QStringLiteral("home/.sway/config"), "# mine\n"},
        {"an i3 configuration", QStringLiteral("config/i3/config"), "font pango:mono 10\n"},
    };
    for (const Case &c : cases) {
        QDir(path(QStringLiteral("config"))).removeRecursively();
        QDir(path(QStringLiteral("home"))).removeRecursively();
        write(c.file, c.contents);
        const BindingChange installed = installer().install(bindings);
        EXPECT_EQ(installed.result, BindingChange::Result::Changed) << c.name << ": " << installed.message.toStdString();
        EXPECT_TRUE(installed.message.contains(QStringLiteral("swaymsg reload"))) << c.name << ": sway was not there to reload";
        const QByteArray include = installer().includeLine().toUtf8() + '\n';
        EXPECT_EQ(read(c.file).count(include), 1) << c.name;
        EXPECT_TRUE(read(c.file).startsWith(c.contents)) << c.name;
        EXPECT_TRUE(read(QStringLiteral("config/Glimra/sway-shortcuts.conf")).contains(lines.join(QLatin1Char('\n')).toUtf8()))
            << c.name;

        // Installing the same again writes nothing and leaves sway as it is; other keys
        // rewrite Glimra's own file, and nothing is appended.
        EXPECT_EQ(installer().install(bindings).result, BindingChange::Result::NothingToDo) << c.name;
        EXPECT_EQ(installer().install(bindings.mid(0, 1)).result, BindingChange::Result::Changed) << c.name;
        EXPECT_EQ(read(c.file).count(include), 1) << c.name;
        EXPECT_TRUE(installer().isInstalled()) << c.name;

        EXPECT_EQ(installer().remove().result, BindingChange::Result::Changed) << c.name;
        EXPECT_EQ(read(c.file), c.contents) << c.name;
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("config/Glimra/sway-shortcuts.conf")))) << c.name;
        EXPECT_FALSE(installer().isInstalled()) << c.name;
    }
}

TEST_F(SwayBindingInstallerTest, LeavesWhatTheUserWroteAndTheirLinks)
{
    // The user's configuration is a link into their dotfiles.
    write(QStringLiteral("dotfiles/sway"), "set $mod Mod4\n");
    QDir().mkpath(path(QStringLiteral("config/sway")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("dotfiles/sway")), path(QStringLiteral("config/sway/config"))));
    ASSERT_EQ(installer().install(bindings).result, BindingChange::Result::Changed);
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("config/sway/config"))).isSymLink());
    // Lines the user added after Glimra's stay when it goes.
    QFile file(path(QStringLiteral("dotfiles/sway")));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("bindsym $mod+Return exec foot\n");
    file.close();
    ASSERT_EQ(installer().remove().result, BindingChange::Result::Changed);
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("config/sway/config"))).isSymLink());
    EXPECT_EQ(read(QStringLiteral("dotfiles/sway")), "set $mod Mod4\nbindsym $mod+Return exec foot\n");

    // An include line the user wrote before is theirs: remove leaves it.
    const QByteArray own = "set $mod Mod4\n" + installer().includeLine().toUtf8() + "\n";
    write(QStringLiteral("dotfiles/sway"), own);
    ASSERT_EQ(installer().install(bindings).result, BindingChange::Result::Changed);
    EXPECT_EQ(read(QStringLiteral("dotfiles/sway")), own);
    ASSERT_EQ(installer().remove().result, BindingChange::Result::Changed);
    EXPECT_EQ(read(QStringLiteral("dotfiles/sway")), own);
}

TEST_F(SwayBindingInstallerTest, RefusesKeysSwayCannotBind)
{
    write(QStringLiteral("config/sway/config"), "");
    const BindingChange change = installer().install({{QStringLiteral("guess"), {}, QStringLiteral("Hyper+G"), {QStringLiteral("glimra")}}});
    EXPECT_EQ(change.result, BindingChange::Result::Failed);
    EXPECT_EQ(change.message, QStringLiteral("\"Hyper+G\" names no key sway can bind"));
    EXPECT_EQ(read(QStringLiteral("config/sway/config")), "");
}

TEST(ManualBindingInstructions, SayWhatToBindInWords)
{
    ManualBindingInstructions instructions;
    const BindingChange change = instructions.install(
        {{QStringLiteral("guess"), {}, QStringLiteral("Meta+Alt+G"), {QStringLiteral("/usr/bin/glimra"), QStringLiteral("guess")}},
         {QStringLiteral("clipboard"), {}, QStringLiteral("Meta+Alt+C"), {QStringLiteral("/usr/bin/glimra"), QStringLiteral("clipboard")}}});
    EXPECT_EQ(change.result, BindingChange::Result::NothingToDo);
    EXPECT_EQ(change.message, QStringLiteral("Glimra cannot bind keys on this desktop; in its settings, bind Super+Alt+G to "
                                             "run `/usr/bin/glimra guess`, and bind Super+Alt+C to run `/usr/bin/glimra clipboard`."));
}

TEST_F(SwayBindingInstallerTest, AWindowSaysItInTheUsersLanguageAndTheCommandLineInEnglish)
{
    const auto english = qScopeGuard([] { Translations::install(QLocale::c()); });
    ASSERT_TRUE(Translations::install(QLocale(QStringLiteral("sv_SE")))) << Translations::folder().toStdString();
    write(QStringLiteral("config/sway/config"), "");
    const BindingChange refused =
        installer().install({{QStringLiteral("guess"), {}, QStringLiteral("Hyper+G"), {QStringLiteral("glimra")}}});
    const BindingChange manual = ManualBindingInstructions().install({bindings.first()});
    const struct
    {
        const BindingChange &change;
        QString message;
        QString shown;
    } rows[] = {
        {refused, QStringLiteral("\"Hyper+G\" names no key sway can bind"),
         QStringLiteral("”Hyper+G” anger ingen tangent som sway kan binda")},
        {manual,
         QStringLiteral("Glimra cannot bind keys on this desktop; in its settings, bind Super+Alt+G to run "
                        "`/usr/bin/glimra guess`."),
         QStringLiteral("Glimra kan inte binda tangenter på det här skrivbordet; i dess inställningar, bind "
                        "Super+Alt+G till att köra `/usr/bin/glimra guess`.")},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(row.change.message, row.message);
        EXPECT_EQ(row.change.messageShown(), row.shown);
    }
}

} // namespace

} // namespace glimra
