// The resident application on a Wayland compositor (sway or KWin), built in this process as
// `glimra` builds it, its windows on the compositor's Xwayland, while a native Wayland
// client holds the PRIMARY selection and the focus:
//   request to outcome: from the bus call GuessSelection to guessFinished (the results set
//   on the controller);
//   `glimra guess` to outcome: the command the sway binding runs, started by this program;
//   key press to outcome: the shortcut's keys typed through the compositor, to
//   guessFinished. On sway the keys run the binding `glimra shortcut install` wrote (the
//   compositor starts `glimra guess`, which asks this application over the bus); on KWin
//   they reach the application through the GlobalShortcuts portal.
// Figures are the median and the 90th percentile, in milliseconds. It needs the compositor
// the Wayland tests start, and says it skipped where there is none:
//   tests/wayland/run-on-wayland.sh sway|kwin build/bench/bench_wayland [GUESSES]
#include "BenchSupport.h"
#include "DesktopBench.h"
#include "WaylandFixture.h"

#include "app/AppDelegate.h"
#include "app/BusService.h"
#include "desktop/wayland/KeystrokeSender.h"
#include "desktop/wayland/WaylandSession.h"
#include "ui/DesktopApplication.h"
#include "ui/ResultWindow.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <optional>

using namespace glimra;
using namespace glimra::bench;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Selection = "https://example.org/wayland-bench";
constexpr int Warmup = 3;
constexpr int TimeoutMs = 15000;
constexpr int KeyG = 34;
const QList<int> SuperAlt = {KeystrokeSender::KeyLeftMeta, KeystrokeSender::KeyLeftAlt};

// The compositor, its typing and its native windows, as the Wayland tests reach them.
struct Compositor : test::WaylandTest
{
    using WaylandTest::family;
    using WaylandTest::openWindow;
    using WaylandTest::pressKeys;
    using WaylandTest::session;
};

double elapsedMs(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

void printFigures(const QString &what, const QList<double> &ms, const char *goal)
{
    std::printf("%-58s median %7.1f ms  p90 %7.1f ms  (%lld guesses)  goal %s\n", qPrintable(what),
                percentile(ms, 0.5), percentile(ms, 0.9), qlonglong(ms.size()), goal);
    std::fflush(stdout);
}

// Starts `request` and runs the event loop until the application's next guess ends, or
// `timeoutMs` have passed: how long that took, and whether it guessed the selection.
struct Outcome
{
    std::optional<double> took;
    bool right = false;
};
Outcome timeGuess(AppDelegate &delegate, const std::function<void()> &request, int timeoutMs = TimeoutMs)
{
    QEventLoop loop;
    QObject context;
    QElapsedTimer clock;
    Outcome outcome;
    QObject::connect(&delegate, &AppDelegate::guessFinished, &context, [&] {
        outcome.took = elapsedMs(clock);
        outcome.right = delegate.result().selectionContext.value(CTX_TEXT) == QString::fromUtf8(Selection);
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    clock.start();
    request();
    if (!outcome.took)
        loop.exec();
    return outcome;
}

// `glimra shortcut install`: the binding of the guess's keys to `glimra guess` in the user's
// sway configuration, as the user writes it.
bool installSwayBinding()
{
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(GLIMRA_BINARY), {u"shortcut"_s, u"install"_s});
    const bool done = install.waitForFinished(TimeoutMs) && install.exitCode() == 0;
    if (!done)
        std::fprintf(stderr, "glimra shortcut install failed: %s\n", install.readAll().constData());
    return done;
}

class Bench
{
public:
    Bench(DesktopApplication &desktop, test::TestClient &client)
        : m_desktop(desktop)
        , m_client(client)
    {
    }

    QList<double> measure(const std::function<void()> &request, int guesses)
    {
        QList<double> times;
        for (int i = 0; i < Warmup + guesses; ++i) {
            prepare();
            const Outcome outcome = timeGuess(m_desktop.delegate(), request);
            if (!outcome.took || !outcome.right) {
                ++m_failures;
                std::fprintf(stderr, "a guess %s: \"%s\"\n", outcome.took ? "ended wrong" : "never ended",
                             qPrintable(m_desktop.delegate().result().selectionContext.value(CTX_TEXT)));
            } else if (i >= Warmup) {
                times.append(*outcome.took);
            }
        }
        return times;
    }

    // The keys start guessing once the desktop has registered them (KWin's portal takes
    // seconds after the application asked): typed until a guess comes.
    bool waitUntilKeysGuess(const std::function<void()> &press)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000) {
            prepare();
            if (timeGuess(m_desktop.delegate(), press, 2000).took)
                return true;
        }
        return false;
    }

    int failures() const { return m_failures; }

private:
    // Each guess starts as the user's would: the panel hidden, the native window focused.
    void prepare()
    {
        ResultWindow &panel = m_desktop.resultWindow();
        if (!panel.isVisible())
            return;
        panel.hidePanel();
        waitFor([&] { return !panel.windowHandle() || !panel.windowHandle()->isExposed(); }, 5000);
        m_client.waitForLine("focus 1", std::chrono::milliseconds(1000));
    }

    DesktopApplication &m_desktop;
    test::TestClient &m_client;
    int m_failures = 0;
};

int skipped(const QString &reason)
{
    std::printf("bench_wayland skipped: %s\n", qPrintable(reason));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (const QString reason = qEnvironmentVariable("GLIMRA_WAYLAND_SKIP"); !reason.isEmpty())
        return skipped(reason);
    if (qEnvironmentVariableIsEmpty("GLIMRA_WAYLAND_FAMILY"))
        return skipped(u"it needs a compositor: run it with tests/wayland/run-on-wayland.sh sway|kwin"_s);
    const test::Family family = Compositor::family();
    if (family == test::Family::Gnome)
        return skipped(u"GNOME has no key path to measure here (sway and KWin only)"_s);
    if (qEnvironmentVariableIsEmpty("GLIMRA_XWAYLAND_DISPLAY"))
        return skipped(u"the compositor told no Xwayland display"_s);
    // The application's windows on the compositor's Xwayland, as the desktop runs it.
    qputenv("DISPLAY", qgetenv("GLIMRA_XWAYLAND_DISPLAY"));
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "glimra.*.info=false");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int guesses = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 30;
    const bool sway = family == test::Family::Sway;
    const QString name = sway ? u"sway"_s : u"KWin"_s;

    // A compositor just started on a busy machine may take longer than a connection waits.
    if (!WaylandSession::connectToSession(nullptr, std::chrono::seconds(30)))
        return skipped(u"the compositor did not answer within 30 s"_s);
    Compositor::session();
    const auto client = Compositor::openWindow({u"org.glimra.BenchClient"_s, u"bench client"_s, {}, Selection});
    DesktopApplication desktop;
    if (!desktop.start()) {
        std::fprintf(stderr, "the application did not start\n");
        return 1;
    }
    // Written after the application started: it rewrites a binding it finds with its own
    // program, which is this benchmark, not `glimra`.
    if (sway && !installSwayBinding())
        return 1;
    Bench bench(desktop, *client);
    printFigures(name + u": request (bus call GuessSelection) to outcome"_s, bench.measure([] {
        QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
            BusService::ServiceName, BusService::ObjectPath, BusService::Interface, u"GuessSelection"_s));
    }, guesses), "median <= 12 ms");

    // What the binding runs, started by this process: the part of the key's path that is
    // not the compositor's.
    printFigures(name + u": `glimra guess` started to outcome"_s, bench.measure([] {
        QProcess guess;
        guess.setProgram(QStringLiteral(GLIMRA_BINARY));
        guess.setArguments({u"guess"_s});
        guess.setStandardOutputFile(QProcess::nullDevice());
        guess.setStandardErrorFile(QProcess::nullDevice());
        guess.startDetached();
    }, guesses), "median <= 60 ms");

    const auto press = [] { Compositor::pressKeys(SuperAlt, KeyG); };
    if (!bench.waitUntilKeysGuess(press)) {
        std::fprintf(stderr, "%s: Super+Alt+G never made a guess\n", qPrintable(name));
        return 1;
    }
    printFigures(name + (sway ? u": key press (sway binding, glimra guess) to outcome"_s
                              : u": key press (GlobalShortcuts portal) to outcome"_s),
                 bench.measure(press, guesses), "median <= 40 ms");
    if (bench.failures())
        std::printf("  %d guesses did not guess the selection\n", bench.failures());
    return 0;
}
