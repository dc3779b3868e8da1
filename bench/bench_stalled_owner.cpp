// The resident application (`glimra` with no command) while the owner of the selection it
// guesses stalls, on a desktop of its own: the selection is owned by a scripted client
// (tests/fixtures/x11/selection_owner) that never answers, or hands one byte over every
// 0.4 s. A guess is asked for over the bus (RunGuess); meanwhile a bus call (Matches) is
// made every 20 ms:
//   how long each of those calls took to be answered (median, 90th percentile, most);
//   after how long the guess gave up.
// Before the selection was read without blocking, the calls waited for the guess: 20.7 s
// for an owner that never answers, 44 s for the trickle.
//   tests/desktop/run-with-desktop.sh build/bench/bench_stalled_owner [GUESSES]
#include "BenchSupport.h"
#include "DesktopBench.h"

#include "app/BusService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace glimra;
using namespace glimra::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr int TimeoutMs = 30000;

QDBusMessage busCall(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(BusService::ServiceName, BusService::ObjectPath,
                                                       BusService::Interface, method);
    call.setArguments(arguments);
    return call;
}

double elapsedMs(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// One guess while `owner` holds the selection: the answer times of the calls made
// meanwhile go to `answers`, the time the guess took to `gaveUp`.
void guessWhileStalled(QList<double> &answers, QList<double> &gaveUp)
{
    QElapsedTimer clock;
    clock.start();
    QDBusPendingCall guess =
        QDBusConnection::sessionBus().asyncCall(busCall(u"RunGuess"_s, {u"selection"_s, 0.0}), TimeoutMs);
    while (!guess.isFinished() && clock.elapsed() < TimeoutMs) {
        QElapsedTimer asked;
        asked.start();
        QDBusPendingCallWatcher call(
            QDBusConnection::sessionBus().asyncCall(busCall(u"Matches"_s, {u"abc"_s, u"b"_s}), TimeoutMs));
        QEventLoop answered;
        QObject::connect(&call, &QDBusPendingCallWatcher::finished, &answered, &QEventLoop::quit);
        answered.exec();
        if (!guess.isFinished())
            answers.append(elapsedMs(asked));
        waitFor([&] { return guess.isFinished(); }, 20);
    }
    gaveUp.append(elapsedMs(clock));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_stalled_owner needs a desktop: run it with run-with-desktop.sh\n");
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "glimra.*.info=false");
    IsolatedHome home;
    QCoreApplication application(argc, argv);
    const int guesses = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;

    SelectingXterm xterm(home.path(), u"anything"_s);
    if (!xterm.activate()) {
        std::fprintf(stderr, "the xterm never became the active window\n");
        return 1;
    }
    QProcess app;
    app.setStandardOutputFile(QProcess::nullDevice());
    app.setStandardErrorFile(QProcess::nullDevice());
    app.start(QStringLiteral(GLIMRA_BINARY), {});
    if (!waitFor([] { return QDBusConnection::sessionBus().interface()->isServiceRegistered(BusService::ServiceName).value(); },
                 TimeoutMs)) {
        std::fprintf(stderr, "glimra never took its bus name\n");
        return 1;
    }
    const struct
    {
        const char *name;
        QStringList owner;
    } owners[] = {
        {"an owner that never answers", {u"PRIMARY"_s, u"silent"_s}},
        {"an owner that hands a byte over every 0.4 s", {u"PRIMARY"_s, u"trickle"_s, QString(100, u'x'), u"400"_s}},
    };
    for (const auto &row : owners) {
        QProcess owner;
        owner.start(QStringLiteral(GLIMRA_SELECTION_OWNER), row.owner);
        QByteArray said;
        if (!waitFor([&] { return said.append(owner.readAllStandardOutput()).contains("ready"); }, TimeoutMs)) {
            std::fprintf(stderr, "the selection owner never got ready (%s)\n",
                         owner.readAllStandardError().constData());
            return 1;
        }
        QList<double> answers, gaveUp;
        for (int i = 0; i < guesses; ++i)
            guessWhileStalled(answers, gaveUp);
        std::printf("%s:\n  a bus call answered in median %.1f ms, p90 %.1f ms, at most %.1f ms (%lld calls)\n"
                    "  the guess gave up after median %.0f ms, at most %.0f ms (%d guesses)  goal: 2 s\n",
                    row.name, percentile(answers, 0.5), percentile(answers, 0.9),
                    answers.isEmpty() ? 0.0 : *std::max_element(answers.begin(), answers.end()),
                    qlonglong(answers.size()), percentile(gaveUp, 0.5),
                    *std::max_element(gaveUp.begin(), gaveUp.end()), guesses);
        std::fflush(stdout);
        owner.kill();
        owner.waitForFinished();
    }
    QDBusConnection::sessionBus().call(busCall(u"Quit"_s), QDBus::Block, TimeoutMs);
    if (!app.waitForFinished(TimeoutMs))
        app.kill();
    return 0;
}
