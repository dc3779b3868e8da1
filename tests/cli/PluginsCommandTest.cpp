#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QJsonArray>
#include <QProcessEnvironment>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class PluginsCommandTest : public IsolatedTest
{
};

TEST_F(PluginsCommandTest, ListingGivesTheRunOrderAndTheActions)
{
    writeFile(userPluginsDir() + u"/MineMatcher.sh"_s, "exit 1\n");
    const QJsonObject listing = runGlimra({u"plugins"_s, u"list"_s, u"--json"_s}).json();
    const QJsonArray matchers = listing.value(u"matchers"_s).toArray();
    ASSERT_EQ(matchers.size(), 7);
    EXPECT_EQ(matchers[5].toObject(),
              (QJsonObject{{u"name"_s, u"MineMatcher.sh"_s}, {u"kind"_s, u"shell"_s},
                           {u"file"_s, userPluginsDir() + u"/MineMatcher.sh"_s}}));
    EXPECT_EQ(matchers[6].toObject().value(u"name"_s), u"FileSearchMatch"_s);
    EXPECT_EQ(listing.value(u"actions"_s).toArray().size(), 9);
    EXPECT_TRUE(runGlimra({u"plugins"_s, u"list"_s}).out.contains(u"MineMatcher.sh (shell)"_s));
}

TEST_F(PluginsCommandTest, ANewPluginThatCannotBeOpenedIsMadeAndTheFailureSaid)
{
    writeFile(u"bin/failing-editor"_s, "#!/bin/sh\nexit 7\n", true);
    writeFile(u"bin/editor"_s, "#!/bin/sh\n[ -f \"$1\" ]\n", true);
    const struct {
        const char *what;
        QString visual;
        QString editor;
        int exitCode;
        QString said;
    } cases[] = {
        // No editor, and no xdg-open on the PATH.
        {"no editor at all", {}, {}, 1, u"cannot be opened: xdg-open could not be started"_s},
        {"an editor that does not exist", path(u"bin/missing"_s), {}, 1,
         u"cannot be opened: %1 could not be started"_s.arg(path(u"bin/missing"_s))},
        {"an editor that fails at once", path(u"bin/failing-editor"_s), {}, 1,
         u"cannot be opened: %1 exited with status 7"_s.arg(path(u"bin/failing-editor"_s))},
        {"an editor that opens it", path(u"bin/editor"_s), {}, 0, {}},
    };
    int made = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PATH"_s, path(u"empty"_s));
        environment.remove(u"EDITOR"_s);
        environment.remove(u"VISUAL"_s);
        if (!c.visual.isEmpty())
            environment.insert(u"VISUAL"_s, c.visual);
        const QString name = u"Made%1"_s.arg(++made);
        const GlimraRun run = runGlimra({u"plugins"_s, u"new"_s, u"matcher"_s, name, u"--kind"_s, u"shell"_s}, {},
                                        environment);
        const QString file = userPluginsDir() + u"/%1Matcher.sh"_s.arg(name);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(run.out, file + u'\n');
        EXPECT_TRUE(QFile::exists(file));
        if (!c.said.isEmpty())
            EXPECT_TRUE(run.err.contains(u"%1 was made, but it %2"_s.arg(file, c.said))) << run.err.toStdString();
    }
}

TEST_F(PluginsCommandTest, ANewPluginOfEachKindWorksOnceEdited)
{
    const struct
    {
        QString kind;
        QString file;
        QByteArray edited;
        QString value;
    } kinds[] = {
        {u"perl"_s, u"FooMatcher.pl"_s, "sub matches_context { $CONTEXT{ACT_FOO} = 'perl'; 1 }\n",
         u"perl"_s},
        {u"shell"_s, u"FooMatcher.sh"_s, "echo ACT_FOO=shell\n", u"shell"_s},
        {u"handler"_s, u"FooMatcher.handler"_s, "#!/bin/sh\necho '{\"ACT_FOO\": \"handler\"}'\n",
         u"handler"_s},
        // "applescript" is the older name of the handler kind.
        {u"applescript"_s, u"FooMatcher.handler"_s, "#!/bin/sh\necho '{\"ACT_FOO\": \"handler\"}'\n",
         u"handler"_s},
    };
    for (const auto &row : kinds) {
        const GlimraRun created = runGlimra({u"plugins"_s, u"new"_s, u"matcher"_s, u"Foo"_s,
                                             u"--kind"_s, row.kind, u"--no-open"_s});
        ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
        const QString file = userPluginsDir() + u'/' + row.file;
        EXPECT_EQ(created.out, file + u'\n');
        writeFile(file, row.edited);
        const QJsonObject matched = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, u"x\ny"_s})
                                        .json()
                                        .value(u"matchedContext"_s)
                                        .toObject();
        EXPECT_EQ(matched.value(u"ACT_FOO"_s), row.value);
        EXPECT_EQ(matched.value(u"ACT_FOUND"_s), row.file);
        QFile::remove(file);
    }
}

TEST_F(PluginsCommandTest, TemplatesMatchOutOfTheBox)
{
    ASSERT_EQ(runGlimra({u"plugins"_s, u"new"_s, u"matcher"_s, u"Ticket"_s, u"--kind"_s, u"perl"_s,
                         u"--no-open"_s}).exitCode, 0);
    ASSERT_EQ(runGlimra({u"plugins"_s, u"new"_s, u"matcher"_s, u"Colour"_s, u"--kind"_s, u"shell"_s,
                         u"--no-open"_s}).exitCode, 0);
    ASSERT_EQ(runGlimra({u"plugins"_s, u"new"_s, u"matcher"_s, u"Upper"_s, u"--no-open"_s}).exitCode, 0);
    ASSERT_EQ(runGlimra({u"plugins"_s, u"new"_s, u"action"_s, u"Backup"_s, u"--kind"_s, u"shell"_s,
                         u"--no-open"_s}).exitCode, 0);
    const QJsonObject ticket = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, u"see ABC-123"_s})
                                   .json().value(u"matchedContext"_s).toObject();
    EXPECT_EQ(ticket.value(u"ACT_URL"_s), u"https://tracker.example.com/browse/ABC-123"_s);
    EXPECT_EQ(ticket.value(u"ACT_TEXT"_s), u"SEE ABC-123"_s); // the handler-script template
    const QJsonObject colour = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, u"#ff8800"_s})
                                   .json().value(u"matchedContext"_s).toObject();
    EXPECT_EQ(colour.value(u"ACT_TEXT"_s), u"rgb(255, 136, 0)"_s);
    const QString file = writeFile(u"doc.txt"_s, "x");
    const QJsonObject backup = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, file}).json();
    QStringList labels;
    for (const QJsonValue &action : backup.value(u"actions"_s).toArray())
        labels.append(action.toObject().value(u"label"_s).toString());
    EXPECT_TRUE(labels.contains(u"make a backup copy"_s));
    EXPECT_EQ(runGlimra({u"match"_s, u"--text"_s, file, u"--run"_s, u"make a backup copy"_s}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(file + u".bak"_s));
}

TEST_F(PluginsCommandTest, RefusedNamesAndExistingFilesWriteNothing)
{
    for (const QString &name : {u"../Escape"_s, u".hidden"_s, u"a/b"_s, u" "_s}) {
        const GlimraRun run = runGlimra({u"plugins"_s, u"new"_s, u"matcher"_s, name, u"--no-open"_s});
        EXPECT_EQ(run.exitCode, 1) << name.toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path(u"data/glimra/EscapeMatcher.handler"_s)));
    writeFile(userPluginsDir() + u"/KeepMatcher.handler"_s, "mine");
    EXPECT_EQ(runGlimra({u"plugins"_s, u"new"_s, u"matcher"_s, u"Keep"_s, u"--no-open"_s}).exitCode, 1);
    QFile kept(userPluginsDir() + u"/KeepMatcher.handler"_s);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "mine");
    EXPECT_EQ(runGlimra({u"plugins"_s, u"new"_s, u"action"_s, u"X"_s, u"--kind"_s, u"perl"_s}).exitCode, 2);
}
