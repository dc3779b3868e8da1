#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include <QProcess>
#include <QProcessEnvironment>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class KeysCommandTest : public IsolatedTest
{
};

// A script tells "the desktop lets no program type" (3) from "no compositor to type into"
// (5) and from a mistake in the keys it named (2).
TEST_F(KeysCommandTest, ExitCodesSayWhyNoKeysWereTyped)
{
    const struct
    {
        const char *name;
        QStringList arguments;
        QString waylandDisplay; // empty: unset
        int exitCode;
        const char *said;
    } rows[] = {
        {"outside a Wayland session", {u"ctrl+v"_s}, {}, 5, "not a Wayland session"},
        {"with a compositor that is gone", {u"ctrl+v"_s}, u"glimra-no-such-compositor"_s, 5, "not a Wayland session"},
        {"with a chord that names no key", {u"ctrl+F13"_s}, u"glimra-no-such-compositor"_s, 2, "'ctrl+F13' names no key"},
        {"with no chord at all", {}, u"glimra-no-such-compositor"_s, 2, "name the keys to type"},
    };
    for (const auto &row : rows) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_RUNTIME_DIR"_s, path());
        if (row.waylandDisplay.isEmpty())
            environment.remove(u"WAYLAND_DISPLAY"_s);
        else
            environment.insert(u"WAYLAND_DISPLAY"_s, row.waylandDisplay);
        const GlimraRun run = runGlimra(QStringList{u"keys"_s} + row.arguments, {}, environment);
        EXPECT_EQ(run.exitCode, row.exitCode) << row.name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.said))) << row.name << ": " << run.err.toStdString();
    }
}

// The shipped scripts' Glimra::Handlers::send_keys_to: 1 typed, 0 failed, -1 where the
// user has to press the keys, whichever of the two reasons glimra keys gives.
TEST_F(KeysCommandTest, TheScriptsLeaveTheKeysToTheUserForEitherReason)
{
    const QString standIn = writeFile(u"glimra-keys"_s, "#!/bin/sh\n[ -n \"$KILL\" ] && kill -TERM $$\nexit $EXIT\n", true);
    const struct
    {
        const char *name;
        QString program;
        QString exit;
        QString kill;
        const char *answer;
    } rows[] = {
        {"typed", standIn, u"0"_s, {}, "1"},
        {"the compositor did not take them", standIn, u"1"_s, {}, "0"},
        {"the desktop lets no program type", standIn, u"3"_s, {}, "-1"},
        {"no compositor answers", QString::fromUtf8(GLIMRA_BINARY), {}, {}, "-1"},
        {"glimra keys killed", standIn, u"0"_s, u"yes"_s, "0"},
    };
    for (const auto &row : rows) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_RUNTIME_DIR"_s, path());
        environment.insert(u"WAYLAND_DISPLAY"_s, u"glimra-no-such-compositor"_s);
        environment.insert(u"GLIMRA_PROGRAM"_s, row.program);
        environment.insert(u"EXIT"_s, row.exit);
        environment.insert(u"KILL"_s, row.kill);
        QProcess perl;
        perl.setProcessEnvironment(environment);
        perl.start(u"perl"_s, {u"-I" GLIMRA_SOURCE_RESOURCES "/perl5"_s, u"-MGlimra::Handlers"_s, u"-e"_s,
                               u"print Glimra::Handlers::send_keys_to(undef, 'ctrl+v')"_s});
        ASSERT_TRUE(perl.waitForFinished(30000)) << row.name;
        EXPECT_EQ(perl.readAllStandardOutput(), QByteArray(row.answer))
            << row.name << ": " << perl.readAllStandardError().toStdString();
    }
}
