#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <signal.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class ContainmentTest : public IsolatedTest
{
protected:
    bool running(qint64 pid)
    {
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z");
    }
    QProcessEnvironment environment()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.insert(u"TMPDIR"_s, path(u"tmp"_s));
        environment.insert(u"PATH"_s, path(u"bin"_s) + u':' + environment.value(u"PATH"_s));
        return environment;
    }
};

TEST_F(ContainmentTest, NoChildOrTemporaryFileOutlivesAnInterruptedGuess)
{
    QDir().mkpath(path(u"tmp"_s));
    const QString stale = path(u"tmp/glimra-script-999999999-AbCdEf"_s);
    const QString live = path(u"tmp/glimra-script-%1-AbCdEf"_s.arg(::getpid()));
    writeFile(stale, "left by a glimra killed outright");
    writeFile(live, "belongs to a glimra still running");
    const QString pids = path(u"pids"_s);
    writeFile(userPluginsDir() + u"/SpinMatcher.sh"_s,
              "sleep 1000 &\necho $! > '" + pids.toUtf8() + "'\necho $$ >> '" + pids.toUtf8()
                  + "'\nwhile :; do :; done\n");
    writeFile(userPluginsDir() + u"/LoadedMatcher.scpt"_s, "#!/bin/sh\necho null\n");

    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QFile::remove(pids);
        QProcess glimra;
        glimra.setProcessEnvironment(environment());
        glimra.start(QStringLiteral(GLIMRA_BINARY), {u"match"_s, u"--text"_s, u"a b"_s});
        ASSERT_TRUE(QTest::qWaitFor([&] {
            QFile file(pids);
            return file.open(QIODevice::ReadOnly) && file.readAll().count('\n') == 2;
        }, 10000));
        ASSERT_FALSE(QDir(path(u"tmp"_s)).entryList({u"glimra-script-%1-*"_s.arg(glimra.processId())},
                                                     QDir::Files).isEmpty());
        ::kill(pid_t(glimra.processId()), signal);
        ASSERT_TRUE(glimra.waitForFinished(5000));
        EXPECT_EQ(glimra.exitStatus(), QProcess::CrashExit); // ended by the signal itself

        QFile file(pids);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (const QByteArray &pid : file.readAll().split('\n')) {
            if (pid.isEmpty())
                continue;
            EXPECT_TRUE(QTest::qWaitFor([&] { return !running(pid.toLongLong()); }, 3000))
                << "process " << pid.toStdString() << " outlived glimra (signal " << signal << "): "
                << [&] { QFile s(u"/proc/%1/stat"_s.arg(QString::fromLatin1(pid))); s.open(QIODevice::ReadOnly); return s.readAll().toStdString(); }();
        }
        EXPECT_EQ(QDir(path(u"tmp"_s)).entryList(QDir::Files), QStringList{QFileInfo(live).fileName()});
    }
    EXPECT_FALSE(QFile::exists(stale));
}

TEST_F(ContainmentTest, WhatAPlugInOrCommandLeftInTheBackgroundEndsWithGlimra)
{
    const QByteArray pid = path(u"child.pid"_s).toUtf8();
    const QByteArray background = "sleep 300 >/dev/null 2>&1 & echo $! > '" + pid + "'";
    const QString command = u"`%1; echo hi`"_s.arg(QString::fromUtf8(background));
    writeFile(userPluginsDir() + u"/SlowMatcher.scpt"_s,
              "#!/bin/sh\ncat >/dev/null\n[ -e '" + path(u"slow"_s).toUtf8() + "' ] && { : > '" + path(u"slow-runs"_s).toUtf8()
                  + "'; sleep 30; }\necho null\n",
              true);
    const struct {
        const char *what;
        QStringList arguments;
        bool interrupted; // by SIGTERM while a later plug-in runs
    } cases[] = {
        {"a handler script's child", {u"match"_s, u"--text"_s, u"leave"_s}, false},
        {"a handler script's child, glimra interrupted", {u"match"_s, u"--text"_s, u"leave"_s}, true},
        {"a command run by \"run\"", {u"match"_s, u"--text"_s, command, u"--run"_s, u"run"_s}, false},
        {"a command run during the guess", {u"match"_s, u"--run-commands"_s, u"--text"_s, command}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(QString::fromUtf8(pid));
        QFile::remove(path(u"slow-runs"_s));
        if (c.interrupted)
            writeFile(u"slow"_s, "");
        else
            QFile::remove(path(u"slow"_s));
        // Alone in leaving a child: the commands' cases have no such plug-in.
        if (c.arguments.contains(u"leave"_s))
            writeFile(userPluginsDir() + u"/LeavingMatcher.scpt"_s,
                      "#!/bin/sh\ncat >/dev/null\n" + background + "\necho null\n", true);
        QProcess glimra;
        glimra.setProcessEnvironment(environment());
        glimra.start(QStringLiteral(GLIMRA_BINARY), c.arguments);
        if (c.interrupted) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path(u"slow-runs"_s)); }, 10000));
            ::kill(pid_t(glimra.processId()), SIGTERM);
        }
        ASSERT_TRUE(glimra.waitForFinished(20000));
        const qint64 child = pidWrittenTo(QString::fromUtf8(pid));
        ASSERT_GT(child, 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !running(child); }, 3000)) << "process " << child << " outlived glimra";
        ::kill(pid_t(child), SIGKILL);
        QFile::remove(userPluginsDir() + u"/LeavingMatcher.scpt"_s);
    }
}

TEST_F(ContainmentTest, AnActionThatCannotBeCarriedOutIsNeverReportedAsDone)
{
    const QString file = writeFile(u"docs/notes.txt"_s, "x");
    QProcessEnvironment withoutOpener = environment();
    withoutOpener.insert(u"PATH"_s, path(u"empty"_s));
    const GlimraRun failed = runGlimra({u"match"_s, u"--text"_s, file, u"--run"_s, u"open"_s}, {},
                                       withoutOpener);
    EXPECT_EQ(failed.exitCode, 4);
    EXPECT_TRUE(failed.err.contains(u"\"open\" could not be carried out: xdg-open could not be started"_s))
        << failed.err.toStdString();

    // Without a session bus there is no file manager to ask: the folder opens at once.
    writeFile(u"bin/xdg-open"_s, "#!/bin/sh\necho \"$1\" > '" + path(u"opened"_s).toUtf8() + "'\n", true);
    QProcessEnvironment withoutBus = environment();
    withoutBus.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
    const GlimraRun revealed = runGlimra({u"match"_s, u"--text"_s, file, u"--run"_s, u"reveal"_s},
                                         {}, withoutBus);
    EXPECT_EQ(revealed.exitCode, 0) << revealed.err.toStdString();
    QFile opened(path(u"opened"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() > 0; }, 5000));
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll().trimmed(), path(u"docs"_s).toUtf8());
}

TEST_F(ContainmentTest, APlugInNeverStopsOnTheTerminalGlimraRunsIn)
{
    // A plug-in that sets its terminal up would be stopped as a background job of a
    // terminal it shares with glimra, until its time bound ran out.
    const QString script = QStandardPaths::findExecutable(u"script"_s);
    if (script.isEmpty())
        GTEST_SKIP() << "script (bsdutils) is not installed";
    writeFile(userPluginsDir() + u"/TtyMatcher.sh"_s,
              "stty -echo </dev/tty 2>/dev/null; echo ACT_TEXT=set-ok\n");
    QProcess glimra;
    glimra.setProcessEnvironment(environment());
    glimra.start(script, {u"-qec"_s, u"'%1' match --text ttytest --json"_s.arg(QStringLiteral(GLIMRA_BINARY)),
                          u"/dev/null"_s});
    ASSERT_TRUE(glimra.waitForFinished(30000));
    EXPECT_TRUE(glimra.readAllStandardOutput().contains("\"ACT_FOUND\": \"TtyMatcher.sh\""));
}
