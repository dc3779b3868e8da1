#include "GlimraProcess.h"

#include <QJsonDocument>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace glimra::test {

QJsonObject GlimraRun::json() const
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
    EXPECT_TRUE(document.isObject());
    return document.object();
}

GlimraRun runGlimra(const QStringList &arguments, const QByteArray &input,
                    QProcessEnvironment environment)
{
    if (!environment.contains(u"GLIMRA_KEEP_DISPLAY"_s))
        environment.remove(u"DISPLAY"_s);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(GLIMRA_BINARY), arguments);
    process.write(input);
    process.closeWriteChannel();
    GlimraRun run;
    // The event loop runs meanwhile: the test may own the clipboard or serve a bus name
    // that glimra talks to.
    QEventLoop loop;
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "glimra did not finish";
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

GlimraRun runGlimraOnTerminal(const QStringList &arguments)
{
    std::vector<QByteArray> words{QByteArray(GLIMRA_BINARY)};
    for (const QString &argument : arguments)
        words.push_back(argument.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    GlimraRun run;
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return run;
    }
    if (child == 0) {
        ::unsetenv("DISPLAY");
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    QByteArray received;
    char buffer[4096];
    pollfd ready{terminal, POLLIN, 0};
    // The terminal ends (EIO) when the last process on it has exited.
    while (::poll(&ready, 1, 60000) > 0) {
        const ssize_t n = ::read(terminal, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        received.append(buffer, n);
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = QString::fromUtf8(received).remove(u'\r');
    return run;
}

} // namespace glimra::test
