#include "LogCapture.h"
#include "TestEnvironment.h"

#include "plugins/PerlEngine.h"

#include <QElapsedTimer>
#include <QFile>

#include <csignal>

#include <unistd.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

// The process's state letter ('Z' for dead, not yet reaped) and parent; state 0 when gone.
struct ProcessState
{
    char state = 0;
    qint64 parent = 0;
};

ProcessState processState(qint64 pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    // "pid (name) S ppid …": the name may hold spaces and parentheses.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 2 || fields[0].isEmpty())
        return {};
    return {fields[0].at(0), fields[1].toLongLong()};
}

} // namespace

class PerlEngineTest : public IsolatedTest
{
protected:
    void load(const QByteArray &script)
    {
        engine.parse(writeFile(u"script%1.pl"_s.arg(++m_count), script));
    }
    PerlEngine engine;

private:
    int m_count = 0;
};

TEST_F(PerlEngineTest, NothingHappensBeforeTheFirstParseAndTextsCrossAsUtf8Bytes)
{
    EXPECT_EQ(engine.execute(u"anything"_s), -1);
    EXPECT_TRUE(engine.eval(u"1"_s).isNull());
    engine.setStringValue(u"ignored"_s, u"s"_s);

    load("our $declared;\n");
    EXPECT_EQ(engine.eval(u"defined($declared) ? 'defined' : 'undef'"_s), u"undef"_s);
    engine.setStringValue(u"é"_s, u"s"_s);
    EXPECT_EQ(engine.eval(u"length($s)"_s), u"2"_s); // UTF-8 bytes, no UTF-8 flag
    EXPECT_EQ(engine.eval(u"$s"_s), u"é"_s);
    EXPECT_EQ(engine.eval(u"uc($s) . \"\\xc3\\xa0\""_s), u"éà"_s);
    EXPECT_TRUE(engine.eval(u"\"\\xff\\xfe\""_s).isNull()); // not UTF-8
    engine.setStringValue(QString(), u"s"_s);
    EXPECT_EQ(engine.eval(u"defined($s) ? 'defined' : 'undef'"_s), u"undef"_s);
}

TEST_F(PerlEngineTest, SubroutineResultsAsIntegers)
{
    load("sub text { '3abc' } sub empty { return } sub undefined { undef } sub big { 7 }\n"
         "sub dies { die \"broken\\n\" }\n");
    EXPECT_EQ(engine.execute(u"text"_s), 3);
    EXPECT_EQ(engine.execute(u"empty"_s), 0);
    EXPECT_EQ(engine.execute(u"undefined"_s), 0);
    LogCapture log;
    EXPECT_EQ(engine.execute(u"dies"_s), 0);
    EXPECT_EQ(log.linesStartingWith(u"perl error - "_s), QStringList{u"perl error - broken"_s});
    EXPECT_EQ(engine.execute(u"big"_s), 7); // the interpreter stays usable
}

TEST_F(PerlEngineTest, TopLevelCodeNeverRunsAndEachParseStartsClean)
{
    load("our $x = 5; our %CONTEXT; $CONTEXT{ACT_X} = 1; sub x { $x // 0 } sub first { 1 }\n");
    EXPECT_EQ(engine.execute(u"x"_s), 0);
    load("sub second { 2 }\n");
    LogCapture log;
    EXPECT_EQ(engine.execute(u"first"_s), 0);
    ASSERT_EQ(log.linesStartingWith(u"perl error - "_s).size(), 1);
    EXPECT_TRUE(log.lines().first().contains(u"Undefined subroutine"_s));
    EXPECT_EQ(engine.execute(u"second"_s), 2);
}

TEST_F(PerlEngineTest, CompiledModulesLoad)
{
    load("use List::Util qw(sum); use POSIX qw(floor); sub total { sum(1, 2, floor(3.7)) }\n");
    EXPECT_EQ(engine.execute(u"total"_s), 6);
}

TEST_F(PerlEngineTest, AScriptNeverEndsTheProgram)
{
    LogCapture log;
    load("sub leave { exit 3 } sub fine { 1 }\n");
    EXPECT_EQ(engine.execute(u"leave"_s), 0);
    EXPECT_EQ(engine.execute(u"fine"_s), 0); // the call that exited spoilt this interpreter
    EXPECT_TRUE(engine.eval(u"1"_s).isNull());

    load("BEGIN { exit 0 } sub fine { 1 }\n");
    EXPECT_EQ(engine.execute(u"fine"_s), 0);
    load("BEGIN { die \"no\\n\" } sub fine { 1 }\n");
    EXPECT_EQ(engine.execute(u"fine"_s), 0);
    load("sub fine { 1 }\n");
    EXPECT_EQ(engine.execute(u"fine"_s), 1);
    EXPECT_GE(log.linesStartingWith(u"perl error - "_s).size(), 3);
}

TEST_F(PerlEngineTest, ASubroutineThatRunsForeverIsStopped)
{
    EXPECT_EQ(engine.timeLimit(), 5);
    engine.setTimeLimit(1);
    load("sub spin { 1 while 1 } sub sleeps { sleep 30; 1 } sub fine { 4 }\n");
    LogCapture log;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(engine.execute(u"spin"_s), 0);
    EXPECT_EQ(engine.execute(u"sleeps"_s), 0);
    EXPECT_LT(clock.elapsed(), 6000);
    EXPECT_EQ(log.linesStartingWith(u"perl error - timed out"_s).size(), 2);
    EXPECT_EQ(engine.execute(u"fine"_s), 4);
    engine.setTimeLimit(5);
}

TEST_F(PerlEngineTest, EveryWayOfRunningForeverEndsWithinTheLimit)
{
    const QByteArray pids = path(u"pids"_s).toUtf8();
    const struct
    {
        const char *name;
        QByteArray script;
        bool overruns;
    } rows[] = {
        {"a busy loop", "sub f { 1 while 1 }", true},
        {"a loop in a BEGIN block", "BEGIN { 1 while 1 } sub f { 0 }", true},
        {"a loop inside eval, which catches a die", "sub f { while (1) { eval { 1 while 1 } } }", true},
        {"ALRM reset to its default first", "sub f { $SIG{ALRM} = 'DEFAULT'; 1 while 1 }", true},
        {"alarm 0 first", "sub f { alarm 0; 1 while 1 }", true},
        {"a read that never gets data", "sub f { pipe(my $r, my $w); scalar <$r> }", true},
        {"a program that runs for long", "sub f { system(q{echo $$ >> PIDS; exec sleep 1000}) }", true},
        {"a forked child that loops while the call returns",
         "sub f { pipe(my $r, my $w); if (!fork) { print $w \"$$\\n\"; close $w; 1 while 1 }\n"
         "  close $w; my $child = <$r>; open(my $out, '>>', 'PIDS'); print $out $child; 0 }",
         false},
        {"a destructor that loops when the script is torn down",
         "our $object; BEGIN { $object = bless {}, 'Loop' } sub Loop::DESTROY { 1 while 1 } sub f { 0 }",
         true},
    };
    engine.setTimeLimit(1);
    for (const auto &row : rows) {
        LogCapture log;
        QElapsedTimer clock;
        clock.start();
        load(QByteArray(row.script).replace("PIDS", pids) + '\n');
        engine.execute(u"f"_s);
        load("sub fine { 4 }\n"); // tears the script down: that is bounded too
        EXPECT_EQ(engine.execute(u"fine"_s), 4) << row.name;
        const qint64 elapsed = clock.elapsed();
        EXPECT_LT(elapsed, 1000 + 3000) << row.name;
        if (row.overruns) {
            EXPECT_GE(elapsed, 1000) << row.name;
            EXPECT_EQ(log.lines().filter(u"timed out"_s).size(), 1) << row.name;
        }
    }
    engine.setTimeLimit(5);

    QFile written(QString::fromUtf8(pids));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> started = written.readAll().trimmed().split('\n');
    EXPECT_EQ(started.size(), 2);
    for (const QByteArray &pid : started) {
        const ProcessState process = processState(pid.toLongLong());
        EXPECT_TRUE(process.state == 0 || (process.state == 'Z' && process.parent != ::getpid()))
            << "process " << pid.toStdString() << " is left in state " << process.state;
    }
}

TEST_F(PerlEngineTest, AScriptsOwnSignalHandlersWorkAndEndWithItsInterpreter)
{
    // In every interpreter, not only the first one of the process.
    for (int i = 0; i < 2; ++i) {
        load("BEGIN { $SIG{USR1} = sub { } }\n"
             "sub f { eval { local $SIG{ALRM} = sub { die \"alarm\\n\" }; alarm 1; sleep 5 };\n"
             "        $@ eq \"alarm\\n\" ? 7 : 0 }\n");
        struct sigaction usr1 = {};
        ::sigaction(SIGUSR1, nullptr, &usr1);
        EXPECT_NE(usr1.sa_handler, SIG_DFL);
        EXPECT_EQ(engine.execute(u"f"_s), 7);
    }
    load("sub fine { 1 }\n");
    struct sigaction usr1 = {};
    ::sigaction(SIGUSR1, nullptr, &usr1);
    EXPECT_EQ(usr1.sa_handler, SIG_DFL);

    // POSIX::sigaction, which never names %SIG in the script, ends with it too.
    load("use POSIX (); BEGIN { POSIX::sigaction(POSIX::SIGUSR2(), POSIX::SigAction->new(sub { })) }\n");
    struct sigaction usr2 = {};
    ::sigaction(SIGUSR2, nullptr, &usr2);
    EXPECT_NE(usr2.sa_handler, SIG_DFL);
    load("sub fine { 1 }\n");
    ::sigaction(SIGUSR2, nullptr, &usr2);
    EXPECT_EQ(usr2.sa_handler, SIG_DFL);
}
