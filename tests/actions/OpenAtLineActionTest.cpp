#include "Recorders.h"
#include "TestEnvironment.h"

#include "actions/CommandTemplate.h"
#include "actions/OpenAtLineAction.h"
#include "matching/MatchingEngine.h"
#include "matching/PluginManager.h"
#include "platform/MemoryClipboard.h"

#include <QFile>
#include <QTest>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

// Every editor and terminal the tests put on the PATH, all the same recording script.
const char *const FakePrograms[] = {"vi",   "vim",  "nvim",  "emacs", "emacsclient", "nano",
                                    "code", "kate", "gedit", "geany", "subl",        "term",
                                    "x-terminal-emulator"};

const char *const EnvironmentNames[] = {"PATH", "VISUAL", "EDITOR", "DISPLAY", "TERMINAL"};

} // namespace

class OpenAtLineActionTest : public IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        for (const char *name : EnvironmentNames)
            m_savedEnvironment.append(qEnvironmentVariableIsSet(name)
                                          ? std::optional<QByteArray>(qgetenv(name))
                                          : std::nullopt);
        // Each fake program writes its name and arguments, separated by NUL characters, to
        // the record, whole or not at all. The PATH holds nothing else, so no real editor or
        // terminal can answer in their place.
        const QByteArray record = path(u"record"_s).toUtf8();
        for (const char *program : FakePrograms)
            writeFile(u"bin/"_s + QString::fromUtf8(program),
                      "#!/bin/sh\nprintf '%s\\0' \"${0##*/}\" \"$@\" > '" + record
                          + ".part'\n/bin/mv '" + record + ".part' '" + record + "'\n",
                      true);
        // xdg-mime: every file is C source, whose default application is in mime-default.
        writeFile(u"bin/xdg-mime"_s,
                  "#!/bin/sh\ncase \"$2 $3\" in\n'filetype '*) echo text/x-csrc ;;\n"
                  "'default text/x-csrc') /bin/cat '"
                      + path(u"mime-default"_s).toUtf8() + "' ;;\nesac\n",
                  true);
        writeFile(u"data/applications/org.example.Gedit.desktop"_s,
                  "[Desktop Action new]\nExec=other\n[Desktop Entry]\nName=Text\n"
                  "Exec=gedit \"--new-window\" %U\n");
        writeFile(u"data/applications/viewer.desktop"_s, "[Desktop Entry]\nExec=viewer %F\n");
        qputenv("PATH", path(u"bin"_s).toUtf8());
        file = writeFile(u"src/main.c"_s, "int main;\n");
    }
    void TearDown() override
    {
        for (size_t i = 0; i < std::size(EnvironmentNames); ++i) {
            if (m_savedEnvironment[i])
                qputenv(EnvironmentNames[i], *m_savedEnvironment[i]);
            else
                qunsetenv(EnvironmentNames[i]);
        }
        IsolatedTest::TearDown();
    }
    void setEnvironment(const char *name, const char *value)
    {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    // The offer for `file` at `line` (and `column`), with "editor_command" = `setting`.
    ActionPtr offer(const QString &line, const QString &column, const QString &setting = {})
    {
        OpenAtLineAction prototype(fileManager, [setting] { return setting; });
        Context matched{{ACT_PATH, file}, {ACT_PATH_LINE, line}};
        if (!column.isNull())
            matched.insert(ACT_PATH_COLUMN, column);
        const ActionList offered = prototype.actionsForContext(matched);
        return offered.size() == 1 ? offered.first() : nullptr;
    }
    // Runs `action`; the name and arguments of the program it started, or the file manager's
    // calls when it started none.
    QStringList run(const ActionPtr &action)
    {
        QFile::remove(path(u"record"_s));
        fileManager->calls.clear();
        std::optional<Outcome> outcome;
        action->execute({}, [&](const Outcome &ended) { outcome = ended; });
        // The editor is launched: its outcome comes once it is known not to have failed.
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 10000));
        EXPECT_TRUE(outcome && outcome->ok) << (outcome ? outcome->message.toStdString() : "");
        if (!fileManager->calls.isEmpty())
            return fileManager->calls;
        QFile record(path(u"record"_s));
        EXPECT_TRUE(QTest::qWaitFor([&] { return record.exists(); }, 5000));
        if (!record.open(QIODevice::ReadOnly))
            return {};
        QStringList arguments = QString::fromUtf8(record.readAll()).split(QChar());
        arguments.removeLast(); // after the last NUL
        return arguments;
    }
    std::shared_ptr<RecordingFileManager> fileManager = std::make_shared<RecordingFileManager>();
    QString file;

private:
    QList<std::optional<QByteArray>> m_savedEnvironment;
};

TEST_F(OpenAtLineActionTest, OfferedAfterTheOtherBuiltInsForAnAbsolutePathAndANumber)
{
    Platform platform;
    platform.fileManager = fileManager;
    platform.clipboard = std::make_shared<MemoryClipboard>();
    std::unique_ptr<PluginManager> manager = builtInPluginManager(platform);
    manager->loadPlugins();
    const auto labels = [&](const Context &matched) {
        QStringList all;
        for (const ActionPtr &action : MatchingEngine(manager.get()).actionsForContext(matched))
            all.append(action->label());
        return all;
    };
    // "copy" (the path) comes last of the built-ins.
    const QStringList withoutIt{u"open"_s, u"reveal"_s, u"copy"_s};
    const QStringList withIt{u"open"_s, u"reveal"_s, u"open at line"_s, u"copy"_s};
    const struct
    {
        const char *description;
        Context matched;
        QStringList expected;
    } rows[] = {
        {"a path with a line", {{ACT_PATH, file}, {ACT_PATH_LINE, u"12"_s}}, withIt},
        {"a path without a line", {{ACT_PATH, file}}, withoutIt},
        {"a line without a path", {{ACT_PATH_LINE, u"12"_s}}, {}},
        {"a relative path, which an editor could take for an option",
         {{ACT_PATH, u"-c"_s}, {ACT_PATH_LINE, u"12"_s}}, withoutIt},
        {"a line that is a command, not a number",
         {{ACT_PATH, file}, {ACT_PATH_LINE, u"!touch pwned"_s}}, withoutIt},
        {"a line too long for a number", {{ACT_PATH, file}, {ACT_PATH_LINE, u"1234567890"_s}},
         withoutIt},
    };
    for (const auto &row : rows)
        EXPECT_EQ(labels(row.matched), row.expected) << row.description;
}

TEST_F(OpenAtLineActionTest, EachEditorGetsTheLineAndColumnInItsOwnSyntax)
{
    const struct
    {
        const char *description;
        const char *setting = nullptr;
        const char *visual = nullptr;
        const char *editor = nullptr;
        const char *display = ":0";
        const char *terminal = "term";
        const char *mimeDefault = "";
        const char *column = "5";
        // The program's name and arguments, separated by "|"; FILE stands for the file, BIN
        // for the folder on the PATH where the editor inside a terminal was found.
        const char *expected = nullptr;
        // What the panel's title calls that editor; empty when it is not known by then.
        const char *named = "";
    } rows[] = {
        {.description = "vi takes the line alone, in the terminal named by $TERMINAL",
         .visual = "vi", .expected = "term|-e|BIN/vi|+12|FILE", .named = "Vi"},
        {.description = "vim is sent to the column", .visual = "/usr/bin/vim",
         .expected = "term|-e|/usr/bin/vim|+call cursor(12,5)|FILE", .named = "Vim"},
        {.description = "nvim without a column goes to the line", .editor = "nvim",
         .column = nullptr, .expected = "term|-e|BIN/nvim|+12|FILE", .named = "Neovim"},
        {.description = "a column that is not a number is left out", .visual = "vim",
         .column = "5x", .expected = "term|-e|BIN/vim|+12|FILE", .named = "Vim"},
        {.description = "emacs with a display opens its own window", .visual = "emacs",
         .expected = "emacs|+12:5|FILE", .named = "Emacs"},
        {.description = "emacs without a display: x-terminal-emulator when $TERMINAL is unset",
         .visual = "emacs", .display = nullptr, .terminal = nullptr,
         .expected = "x-terminal-emulator|-e|BIN/emacs|+12:5|FILE", .named = "Emacs"},
        {.description = "emacs -nw runs in a terminal whatever the display",
         .visual = "emacs -nw", .expected = "term|-e|BIN/emacs|-nw|+12:5|FILE", .named = "Emacs"},
        {.description = "emacsclient keeps its own options, quoted empty ones too",
         .visual = "emacsclient -c -a ''", .expected = "emacsclient|-c|-a||+12:5|FILE", .named = "Emacs"},
        {.description = "nano, from $EDITOR when the setting cannot be split into words",
         .setting = "vim 'unclosed", .editor = "nano", .expected = "term|-e|BIN/nano|+12,5|FILE", .named = "nano"},
        {.description = "VS Code with its own options", .visual = "code --wait",
         .expected = "code|--wait|--goto|FILE:12:5", .named = "VS Code"},
        {.description = "kate, from $EDITOR when $VISUAL is an editor that takes no line",
         .visual = "ed", .editor = "kate", .expected = "kate|--line|12|--column|5|FILE", .named = "Kate"},
        {.description = "gedit, from $VISUAL before $EDITOR", .visual = "gedit",
         .editor = "kate", .expected = "gedit|+12:5|FILE", .named = "gedit"},
        {.description = "geany counts columns from 0", .visual = "geany",
         .expected = "geany|+12|--column|4|FILE", .named = "Geany"},
        {.description = "subl, named by a setting without placeholders, before $VISUAL",
         .setting = "subl", .visual = "vim", .expected = "subl|FILE:12:5", .named = "Sublime Text"},
        {.description = "a setting with placeholders is the command, filled in inside its words",
         .setting = "code -g {file}:{line}:{column} --x='{line} {column}'", .visual = "vim",
         .expected = "code|-g|FILE:12:5|--x=12 5", .named = "VS Code"},
        {.description = "{column} is 1 when the text had none",
         .setting = "kate -l {line} -c {column} {file}", .column = nullptr,
         .expected = "kate|-l|12|-c|1|FILE", .named = "Kate"},
        {.description = "the desktop's default application for the file, from its entry",
         .mimeDefault = "org.example.Gedit.desktop", .expected = "gedit|--new-window|+12:5|FILE"},
        {.description = "an unknown editor and no default application: the file is opened",
         .visual = "my-editor", .expected = "open file://FILE"},
        {.description = "a default application that is not a known editor: the file is opened",
         .mimeDefault = "viewer.desktop", .expected = "open file://FILE"},
    };
    for (const auto &row : rows) {
        setEnvironment("VISUAL", row.visual);
        setEnvironment("EDITOR", row.editor);
        setEnvironment("DISPLAY", row.display);
        setEnvironment("TERMINAL", row.terminal);
        writeFile(u"mime-default"_s, row.mimeDefault);
        const QString column = row.column ? QString::fromUtf8(row.column) : QString();
        const ActionPtr action = offer(u"12"_s, column, QString::fromUtf8(row.setting));
        ASSERT_TRUE(action) << row.description;
        const QStringList expected =
            QString::fromUtf8(row.expected).replace(u"FILE"_s, file).replace(u"BIN"_s, path(u"bin"_s)).split(u'|');
        EXPECT_EQ(run(action), expected) << row.description;
        EXPECT_EQ(EditorCommand::chosenName(QString::fromUtf8(row.setting)), QString::fromUtf8(row.named))
            << row.description;
    }
}

TEST_F(OpenAtLineActionTest, AnAwkwardPathReachesTheEditorAsOneArgumentUntouched)
{
    file = writeFile(u"it's a \"name\" $(touch pwned) `touch pwned`; {line}.c"_s, "");
    const struct
    {
        const char *description;
        const char *setting;
        QStringList expected;
    } rows[] = {
        {"in a template", "code --goto {file}:{line}", {u"code"_s, u"--goto"_s, file + u":7"_s}},
        {"through a terminal", "nano",
         {u"term"_s, u"-e"_s, path(u"bin/nano"_s), u"+7"_s, file}},
    };
    qputenv("TERMINAL", "term");
    for (const auto &row : rows)
        EXPECT_EQ(run(offer(u"7"_s, {}, QString::fromUtf8(row.setting))), row.expected)
            << row.description;
    EXPECT_FALSE(QFile::exists(path(u"pwned"_s)));
}

TEST_F(OpenAtLineActionTest, AnEditorThatCannotBeStartedIsReportedAsAFailure)
{
    std::optional<Outcome> outcome;
    offer(u"3"_s, {}, u"no-such-editor {file}"_s)->execute({}, [&](const Outcome &ended) {
        outcome = ended;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 5000));
    EXPECT_FALSE(outcome->ok);
    EXPECT_TRUE(outcome->message.startsWith(u"no-such-editor could not be started"_s)) << outcome->message.toStdString();
}

TEST_F(OpenAtLineActionTest, AnEditorIsNeverLookedUpInTheFilesFolder)
{
    // A program of the same name sits in the folder of the file opened, which is where the
    // editor starts, and where an empty entry of $PATH would look.
    for (const char *program : {"bin/ed", "myed", "term"})
        writeFile(u"src/"_s + QString::fromUtf8(program), "#!/bin/sh\ntouch '" + path(u"pwned"_s).toUtf8() + "'\n", true);
    writeFile(u"bin/myed"_s, "#!/bin/sh\nprintf '%s\\0' myed \"$@\" > '" + path(u"record"_s).toUtf8() + "'\n", true);
    qputenv("PATH", ":" + path(u"bin"_s).toUtf8() + ":.");
    qputenv("TERMINAL", "term");
    const struct
    {
        const char *setting;
        QString failure; // null: it runs
    } rows[] = {
        {"bin/ed {file}", uR"(the editor "bin/ed" is named by a relative path; name it by its absolute path, or by a name found on PATH)"_s},
        {"./myed +{line} {file}", uR"(the editor "./myed" is named by a relative path; name it by its absolute path, or by a name found on PATH)"_s},
        {"myed +{line} {file}", {}},
    };
    for (const auto &row : rows) {
        QFile::remove(path(u"record"_s));
        std::optional<Outcome> outcome;
        offer(u"3"_s, {}, QString::fromUtf8(row.setting))->execute({}, [&](const Outcome &ended) { outcome = ended; });
        // A launched editor is known to have started only after a moment.
        ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 5000)) << row.setting;
        EXPECT_EQ(outcome->ok, row.failure.isNull()) << row.setting;
        EXPECT_EQ(outcome->message, row.failure) << row.setting;
        if (row.failure.isNull())
            EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path(u"record"_s)); }, 5000)) << row.setting;
    }
    EXPECT_EQ(EditorCommand::program(u"vi"_s, nullptr), path(u"bin/vi"_s));
    EXPECT_EQ(EditorCommand::program(u"/opt/ed"_s, nullptr), u"/opt/ed"_s);
    // By the time the last row's editor ran, one started from the file's folder would have.
    EXPECT_FALSE(QFile::exists(path(u"pwned"_s)));
}

TEST(CommandTemplateTest, WordsAreSplitAsAShellSplitsThemWithNothingExpanded)
{
    const struct
    {
        const char *text;
        std::optional<QStringList> words;
    } rows[] = {
        {"  vim\t-p  ", QStringList{u"vim"_s, u"-p"_s}},
        {"a'b c'\"d e\" f\\ g", QStringList{u"ab cd e"_s, u"f g"_s}},
        {"x '' \"\"", QStringList{u"x"_s, u""_s, u""_s}},
        {"\"\\$HOME \\\" \\\\ \\n\" '\\n'", QStringList{u"$HOME \" \\ \\n"_s, u"\\n"_s}},
        {"$HOME * $(date) `id` ~",
         QStringList{u"$HOME"_s, u"*"_s, u"$(date)"_s, u"`id`"_s, u"~"_s}},
        {"a\\\nb \\\n c", QStringList{u"ab"_s, u"c"_s}},
        {"", QStringList{}},
        {"vim 'open", std::nullopt},
        {"vim \"open", std::nullopt},
        {"vim \\", std::nullopt},
    };
    for (const auto &row : rows) {
        const std::optional<CommandTemplate> command =
            CommandTemplate::parse(QString::fromUtf8(row.text));
        EXPECT_EQ(command.has_value(), row.words.has_value()) << row.text;
        if (command && row.words) {
            EXPECT_EQ(command->words(), *row.words) << row.text;
        }
    }
}
