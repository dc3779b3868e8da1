#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include "foundation/ProcessRunner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <signal.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class MatchCommandTest : public IsolatedTest
{
protected:
    // An environment whose xdg-open is a script that writes down what it was asked to open.
    QProcessEnvironment withRecordingOpener()
    {
        writeFile(u"bin/xdg-open"_s, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + path(u"opened"_s).toUtf8() + "'\n",
                  true);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PATH"_s, path(u"bin"_s) + u':' + environment.value(u"PATH"_s));
        return environment;
    }
    // What xdg-open was asked to open, once it has written it (it is started detached).
    QByteArray opened()
    {
        QFile log(path(u"opened"_s));
        for (int i = 0; i < 100 && !log.exists(); ++i)
            QTest::qWait(50);
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    }
};

TEST_F(MatchCommandTest, JsonOutputOfAGuess)
{
    const GlimraRun run = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, u"10/4"_s,
                                     u"--context"_s, u"CTX_APPID=Test"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = run.json();
    EXPECT_EQ(result.value(u"selectionContext"_s).toObject(),
              (QJsonObject{{u"CTX_TEXT"_s, u"10/4"_s}, {u"CTX_APPID"_s, u"Test"_s}}));
    EXPECT_EQ(result.value(u"matchedContext"_s).toObject().value(u"ACT_TEXT"_s), u"2.500"_s);
    EXPECT_EQ(result.value(u"contentType"_s), u"a text (10/4"_s + QChar(0x2026) + u')');
    EXPECT_EQ(result.value(u"actions"_s).toArray().first().toObject(),
              (QJsonObject{{u"name"_s, u"PasteAction"_s}, {u"label"_s, u"paste"_s}}));
    EXPECT_EQ(result.value(u"selectedTab"_s).toInt(), 1);
    EXPECT_TRUE(result.value(u"files"_s).toArray().isEmpty());
}

TEST_F(MatchCommandTest, ABacktickedCommandRunsOnlyWhenTheUserOrATrustingCallerAsks)
{
    const QString canary = path(u"canary"_s);
    const QString text = u"`touch canary; echo %1`"_s.arg(path(u"out.txt"_s));
    writeFile(u"out.txt"_s, "x");
    const QStringList guess{u"match"_s, u"--json"_s, u"--context"_s, u"CTX_DIR="_s + path() + u'/', u"--text"_s, text};

    // A guess only looks: it offers to run the command, shown in full.
    const GlimraRun looked = runGlimra(guess);
    EXPECT_EQ(looked.exitCode, 0);
    EXPECT_EQ(looked.json().value(u"matchedContext"_s).toObject().value(u"ACT_COMMAND"_s),
              u"touch canary; echo %1"_s.arg(path(u"out.txt"_s)));
    EXPECT_EQ(looked.json().value(u"actions"_s).toArray().first().toObject(),
              (QJsonObject{{u"name"_s, u"RunCommandAction"_s}, {u"label"_s, u"run"_s},
                           {u"detail"_s, u"touch canary; echo %1"_s.arg(path(u"out.txt"_s))}}));
    EXPECT_TRUE(runGlimra({u"match"_s, u"--text"_s, text}).out.contains(u"1. run: touch canary; echo "_s));
    EXPECT_EQ(runGlimra({u"call"_s, u"guess"_s, u"--text"_s, text}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(canary));

    // "run" runs it in the folder and shows the guess of what it printed.
    const GlimraRun ran = runGlimra(guess + QStringList{u"--run"_s, u"run"_s});
    EXPECT_EQ(ran.exitCode, 0) << ran.err.toStdString();
    EXPECT_TRUE(QFile::exists(canary));
    const QJsonObject matched = ran.json().value(u"matchedContext"_s).toObject();
    EXPECT_EQ(matched.value(u"ACT_TEXT"_s), path(u"out.txt"_s));
    EXPECT_EQ(matched.value(u"ACT_PATH"_s), path(u"out.txt"_s));
    QStringList labels;
    for (const QJsonValue &action : ran.json().value(u"actions"_s).toArray())
        labels.append(action.toObject().value(u"label"_s).toString());
    EXPECT_TRUE(labels.contains(u"paste"_s) && labels.contains(u"copy"_s)) << labels.join(u' ').toStdString();
    QFile::remove(canary);

    // A caller that trusts its text runs it during the guess, as before.
    const GlimraRun trusted = runGlimra(guess + QStringList{u"--run-commands"_s});
    EXPECT_EQ(trusted.json().value(u"matchedContext"_s).toObject().value(u"ACT_TEXT"_s), path(u"out.txt"_s));
    EXPECT_TRUE(QFile::exists(canary));

    const GlimraRun failed = runGlimra({u"match"_s, u"--text"_s, u"`exit 3`"_s, u"--run"_s, u"run"_s});
    EXPECT_EQ(failed.exitCode, 4);
    EXPECT_TRUE(failed.err.contains(u"\"run\" could not be carried out: the command printed nothing: it exited with status 3"_s))
        << failed.err.toStdString();
}

TEST_F(MatchCommandTest, ACommandWhoseFolderCannotBeEnteredRunsNowhereAndSaysWhy)
{
    // Run from here, a command that went on after a failed change of folder would leave
    // its file here.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(path()));
    writeFile(u"a file"_s, "x");
    const struct {
        const char *what;
        QString context;
        QString why;
    } cases[] = {
        {"a folder that was removed", u"CTX_DIR="_s + path(u"gone/"_s),
         u"the folder %1 cannot be entered: No such file or directory"_s.arg(path(u"gone/"_s))},
        {"a file where the folder was", u"CTX_DIR="_s + path(u"a file/"_s),
         u"the folder %1 cannot be entered: Not a directory"_s.arg(path(u"a file/"_s))},
        // As capture gives it for a terminal whose folder was removed.
        {"a front document that no longer exists", u"CTX_PATH="_s + path(u"gone (deleted)"_s),
         u"the folder of %1 cannot be entered: it no longer exists"_s.arg(path(u"gone (deleted)"_s))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QStringList guess{u"match"_s, u"--context"_s, c.context, u"--text"_s, u"`pwd; echo > wrongplace`"_s};
        const GlimraRun ran = runGlimra(guess + QStringList{u"--run"_s, u"run"_s});
        EXPECT_EQ(ran.exitCode, 4);
        EXPECT_TRUE(ran.err.contains(u"\"run\" could not be carried out: "_s + c.why)) << ran.err.toStdString();
        const GlimraRun trusted = runGlimra(guess + QStringList{u"--run-commands"_s, u"--json"_s});
        EXPECT_FALSE(trusted.json().value(u"matchedContext"_s).toObject().contains(u"ACT_TEXT"_s));
        EXPECT_FALSE(QFile::exists(path(u"wrongplace"_s)));
    }
    QDir::setCurrent(before);
}

TEST_F(MatchCommandTest, ACallerReadingTheOutputDoesNotWaitForTheEditorItStarted)
{
    // An editor that says something on its standard error and stays open.
    writeFile(u"editor"_s, "#!/bin/sh\necho \"$$\" > \"$0.pid\"\necho editing >&2\nexec sleep 60\n", true);
    writeFile(u"notes.txt"_s, "one\ntwo\n");
    ASSERT_EQ(runGlimra({u"defaults"_s, u"write"_s, u"editor_command"_s,
                         u"\"%1 {file} {line}\""_s.arg(path(u"editor"_s))}).exitCode, 0);
    // As a script would: it reads both streams until they end.
    QProcess caller;
    caller.start(u"/bin/sh"_s, {u"-c"_s, u"out=$(\"$0\" match --text \"$1\" --run 'open at line' 2>&1); echo \"[$out]\""_s,
                                QStringLiteral(GLIMRA_BINARY), path(u"notes.txt"_s) + u":2"_s});
    EXPECT_TRUE(caller.waitForFinished(30000)) << "the caller waited for the editor";
    EXPECT_FALSE(caller.readAllStandardOutput().contains("editing"));
    const qint64 editor = pidWrittenTo(path(u"editor.pid"_s));
    EXPECT_TRUE(processAlive(editor)) << "the editor is let go, not stopped";
    ::kill(pid_t(editor), SIGKILL);
}

TEST_F(MatchCommandTest, EachKindOfTextEndToEnd)
{
    const QString project = path(u"proj"_s);
    writeFile(u"proj/src/main.c"_s, "int main;\n");
    const struct
    {
        QString text;
        QString key;
        QString value;
    } rows[] = {
        {u"lookup word"_s, u"ACT_WORDS"_s, u"lookup word"_s},
        {u"(7*6)"_s, u"ACT_TEXT"_s, u"42"_s},
        {u"see www.example.com/x"_s, u"ACT_URL"_s, u"http://www.example.com/x"_s},
        {u"src/main.c:12:5: error"_s, u"ACT_PATH_LINE"_s, u"12"_s},
        {u"src/main.c:12:5: error"_s, u"ACT_PATH"_s, project + u"/src/main.c"_s},
        {u"`ls src`"_s, u"ACT_COMMAND"_s, u"ls src"_s},
    };
    for (const auto &row : rows) {
        const GlimraRun run = runGlimra({u"match"_s, u"--json"_s, u"--wait"_s, u"0"_s, u"--context"_s,
                                         u"CTX_DIR="_s + project + u'/', u"--text"_s, row.text});
        EXPECT_EQ(run.exitCode, 0) << row.text.toStdString();
        EXPECT_EQ(run.json().value(u"matchedContext"_s).toObject().value(row.key).toString(), row.value)
            << row.text.toStdString();
    }
}

TEST_F(MatchCommandTest, FilesUrlsAndTheTextFromStandardInput)
{
    const QString file = writeFile(u"proj/main.c"_s, "int main;\n");
    const GlimraRun run = runGlimra({u"match"_s, u"--json"_s},
                                    (file + u" and https://example.org/x"_s).toUtf8());
    ASSERT_EQ(run.exitCode, 0);
    const QJsonArray files = run.json().value(u"files"_s).toArray();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0].toObject(), (QJsonObject{{u"label"_s, file}, {u"filePath"_s, file},
                                                {u"urlPath"_s, u"file://"_s + file}}));
    EXPECT_EQ(files[1].toObject(), (QJsonObject{{u"label"_s, u"https://example.org/x"_s},
                                                {u"filePath"_s, QJsonValue()},
                                                {u"urlPath"_s, u"https://example.org/x"_s}}));
    const GlimraRun human = runGlimra({u"match"_s, u"--text-file"_s, writeFile(u"t.txt"_s, "hello")});
    EXPECT_TRUE(human.out.startsWith(u"looks like a text (hello"_s)) << human.out.toStdString();
    EXPECT_TRUE(human.out.contains(u"  1. search\n"_s));
    // The frames of a trace carry their lines, each file at each line once.
    const QString other = writeFile(u"proj/util.c"_s, "\n");
    const QString trace = file + u":3: error\n"_s + other + u":7:2: note\n"_s + file + u":3: error\n"_s;
    const GlimraRun frames = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, trace});
    QStringList places;
    for (const QJsonValue &entry : frames.json().value(u"files"_s).toArray())
        places.append(entry[u"filePath"_s].toString() + u' ' + entry[u"line"_s].toString());
    EXPECT_EQ(places, (QStringList{file + u" 3"_s, other + u" 7:2"_s}));
    EXPECT_TRUE(runGlimra({u"match"_s, u"--text"_s, trace}).out.contains(u"  "_s + other + u":7:2\n"_s));
}

TEST_F(MatchCommandTest, ExitStatusesAndUsageErrors)
{
    EXPECT_EQ(runGlimra({u"match"_s, u"--text"_s, u"two\nlines"_s}).exitCode, 1);
    const struct
    {
        QStringList arguments;
        QString problem;
    } usage[] = {
        {{u"match"_s, u"--bogus"_s}, u"bogus"_s},
        {{u"match"_s, u"--text"_s, u"a"_s, u"--text-file"_s, u"f"_s}, u"--text-file"_s},
        {{u"match"_s, u"--text"_s, u"a"_s, u"--context"_s, u"NOEQUALS"_s}, u"KEY=VALUE"_s},
        {{u"match"_s, u"--text"_s, u"a"_s, u"--wait"_s, u"soon"_s}, u"--wait"_s},
        {{u"match"_s, u"--text-file"_s, u"/no/such/file"_s}, u"/no/such/file"_s},
        {{u"match"_s, u"stray"_s}, u"stray"_s},
        {{u"frobnicate"_s}, u"frobnicate"_s},
    };
    for (const auto &row : usage) {
        const GlimraRun run = runGlimra(row.arguments);
        EXPECT_EQ(run.exitCode, 2) << row.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(row.problem)) << run.err.toStdString();
    }
}

TEST_F(MatchCommandTest, RunningAnOfferedActionOrOneThatIsNot)
{
    const QProcessEnvironment environment = withRecordingOpener();
    const GlimraRun missing =
        runGlimra({u"match"_s, u"--text"_s, u"words"_s, u"--run"_s, u"open"_s}, {}, environment);
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_TRUE(missing.err.contains(u"search, spotlight"_s)) << missing.err.toStdString();
    const QString counts = path(u"state/glimra/action-order.json"_s);
    EXPECT_FALSE(QFile::exists(counts)) << "only an action that ran is counted";

    const GlimraRun opened = runGlimra({u"match"_s, u"--text"_s, u"https://example.org/a b"_s,
                                        u"--run"_s, u"open"_s}, {}, environment);
    EXPECT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_EQ(this->opened(), "https://example.org/a\n");
    // The pick teaches the order of addresses; a match that runs nothing changes nothing.
    QFile learned(counts);
    ASSERT_TRUE(learned.open(QIODevice::ReadOnly));
    const QByteArray before = learned.readAll();
    EXPECT_TRUE(before.contains("\"url\"")) << before.toStdString();
    runGlimra({u"match"_s, u"--text"_s, u"https://example.org/a b"_s}, {}, environment);
    learned.close();
    ASSERT_TRUE(learned.open(QIODevice::ReadOnly));
    EXPECT_EQ(learned.readAll(), before);
}

TEST_F(MatchCommandTest, LateSearchHitsAreListed)
{
    const QString updatedb = QStandardPaths::findExecutable(u"updatedb"_s);
    if (updatedb.isEmpty())
        GTEST_SKIP() << "updatedb (plocate) is not installed";
    const QString hit = writeFile(u"tree/proj/src/util/strings.c"_s, "x");
    ProcessRequest build;
    build.program = updatedb;
    build.arguments = {u"-U"_s, path(u"tree"_s), u"-o"_s, path(u"index.db"_s)};
    ASSERT_TRUE(ProcessRunner::run(build).succeeded());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"GLIMRA_LOCATE_DB"_s, path(u"index.db"_s));

    const GlimraRun run = runGlimra({u"match"_s, u"--json"_s, u"--wait"_s, u"5"_s, u"--text"_s,
                                     u"see src/util/strings.c line 3"_s}, {}, environment);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = run.json();
    const QJsonArray files = result.value(u"files"_s).toArray();
    ASSERT_EQ(files.size(), 1) << run.out.toStdString();
    EXPECT_EQ(files[0].toObject().value(u"filePath"_s), hit);
    EXPECT_EQ(files[0].toObject().value(u"label"_s), u"strings.c"_s);
    EXPECT_EQ(result.value(u"matchedContext"_s).toObject().value(u"ACT_FOUND"_s),
              u"FileSearchMatch"_s);
    // A single hit becomes the path, and open and reveal are offered for it.
    EXPECT_EQ(result.value(u"matchedContext"_s).toObject().value(u"ACT_PATH"_s), hit);
    QStringList labels;
    for (const QJsonValue &action : result.value(u"actions"_s).toArray())
        labels.append(action.toObject().value(u"label"_s).toString());
    EXPECT_EQ(labels, (QStringList{u"search"_s, u"spotlight"_s, u"open"_s, u"reveal"_s, u"copy"_s}));

    const GlimraRun spotlight = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, u"STRINGS"_s,
                                           u"--run"_s, u"spotlight"_s}, {}, environment);
    EXPECT_EQ(spotlight.json().value(u"searchResults"_s).toArray(), QJsonArray{hit});
}

TEST_F(MatchCommandTest, ExplainSaysWhatEachMatcherAndActionDidAndWhy)
{
    writeFile(userPluginsDir() + u"/BrokenMatcher.sh"_s, "echo 'no ticket here' >&2\nexit 3\n");
    writeFile(userPluginsDir() + u"/DyingMatcher.pl"_s, "sub matches_context { die \"gave up\\n\" }\n1;\n");
    writeFile(userPluginsDir() + u"/QuietAction.sh"_s, "exit 0\n");
    writeFile(userPluginsDir() + u"/ChattyMatcher.scpt"_s, "#!/bin/sh\necho looking...\n", true);
    ASSERT_EQ(runGlimra({u"defaults"_s, u"write"_s, u"regexp_matchers"_s,
                         uR"([{"matched_key": "ACT_TICKET", "regexp": "^T-[0-9]+$"}])"_s}).exitCode, 0);

    const GlimraRun run = runGlimra({u"match"_s, u"--explain"_s, u"--json"_s, u"--text"_s, u"see T-12x"_s});
    QHash<QString, QJsonObject> entries;
    for (const QJsonValue &entry : run.json().value(u"explain"_s).toArray())
        entries.insert(entry[u"name"_s].toString(), entry.toObject());
    const struct
    {
        QString name;
        QString stage;
        bool matchedOrOffered;
        QString why;
        QString ending;
        QString errorLine;
    } rows[] = {
        {u"WordMatch"_s, u"matcher"_s, true, {}, {}, {}},
        {u"SHBangMatch"_s, u"matcher"_s, false, u"the text is not in backticks"_s, {}, {}},
        {u"DCalcMatch"_s, u"matcher"_s, false, u"the text holds letters or commas, which are never calculated"_s, {}, {}},
        {u"RegExpMatcher"_s, u"matcher"_s, false, u"regexp entry 0 did not match any line or word"_s, {}, {}},
        {u"BrokenMatcher.sh"_s, u"matcher"_s, false, {}, u"it exited with status 3"_s, u"no ticket here"_s},
        {u"DyingMatcher.pl"_s, u"matcher"_s, false, {}, u"matches_context failed: gave up"_s, u"gave up"_s},
        {u"ChattyMatcher.scpt"_s, u"matcher"_s, false, {},
         u"it exited with status 0 but printed something that is not one JSON value"_s, {}},
        {u"OpenAction"_s, u"action"_s, false, u"it needs ACT_PATH or ACT_URL"_s, {}, {}},
        {u"QuietAction.sh"_s, u"action"_s, false, {}, u"it exited with status 0"_s, {}},
        {u"WebSearchAction"_s, u"action"_s, true, {}, {}, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        ASSERT_TRUE(entries.contains(row.name)) << run.out.toStdString();
        const QJsonObject entry = entries.value(row.name);
        EXPECT_EQ(entry[u"stage"_s].toString(), row.stage);
        const bool positive = row.stage == u"matcher"_s ? entry[u"matched"_s].toBool()
                                                         : !entry[u"offered"_s].toArray().isEmpty();
        EXPECT_EQ(positive, row.matchedOrOffered);
        EXPECT_EQ(entry[u"why"_s].toString(), row.why);
        EXPECT_EQ(entry[u"script"_s][u"ending"_s].toString(), row.ending);
        EXPECT_EQ(entry[u"script"_s][u"stderr"_s][0].toString(), row.errorLine);
    }
    EXPECT_EQ(entries[u"WordMatch"_s][u"wrote"_s].toObject(), (QJsonObject{{u"ACT_WORDS"_s, u"see T-12x"_s}}));
    EXPECT_EQ(entries[u"BrokenMatcher.sh"_s][u"file"_s].toString(), userPluginsDir() + u"/BrokenMatcher.sh"_s);

    const GlimraRun text = runGlimra({u"match"_s, u"--explain"_s, u"--text"_s, u"see T-12x"_s});
    EXPECT_TRUE(text.out.contains(u"  no match    BrokenMatcher.sh (shell, "_s)) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(u"      stderr: no ticket here\n"_s));
    EXPECT_FALSE(runGlimra({u"match"_s, u"--json"_s, u"--text"_s, u"x"_s}).json().contains(u"explain"_s));
}

TEST_F(MatchCommandTest, SearchOpensTheWebSearchAddressOfTheSettingsWithTheWordsEncoded)
{
    const QProcessEnvironment environment = withRecordingOpener();
    const GlimraRun refused = runGlimra({u"defaults"_s, u"write"_s, u"web_search_url"_s, u"5"_s});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(u"must be a text"_s)) << refused.err.toStdString();
    EXPECT_EQ(runGlimra({u"defaults"_s, u"write"_s, u"web_search_url"_s, u"\"https://duckduckgo.com/?q={query}\""_s})
                  .exitCode,
              0);
    const GlimraRun searched =
        runGlimra({u"match"_s, u"--text"_s, u"fish & chips"_s, u"--run"_s, u"search"_s}, {}, environment);
    EXPECT_EQ(searched.exitCode, 0) << searched.err.toStdString();
    EXPECT_EQ(opened(), "https://duckduckgo.com/?q=fish%20%26%20chips\n");
}
