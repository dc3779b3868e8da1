// The resident application (`glimra` with no command) guessing the selection of an xterm,
// with no plug-ins installed, on a desktop of its own:
//   the real program, started as the user starts it:
//     `glimra guess` run from a terminal and answered by the running instance (the whole
//     command, start to exit);
//     its resident memory (VmRSS) after start and after 1,000 guesses (bus calls RunGuess);
//   the application built in this process as `glimra` builds it:
//     request to outcome: from the shortcut's slot, and from the bus call GuessSelection,
//     to guessFinished (the results set on the controller);
//     key press to painted panel: from the shortcut's key press (sent through XTest) to the
//     end of the first painting of the results panel with the results.
// Figures are the median and the 90th percentile, in milliseconds.
//   tests/desktop/run-with-desktop.sh build/bench/bench_resident [GUESSES [MEMORY_GUESSES]]
#include "BenchSupport.h"
#include "DesktopBench.h"

#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "app/BusService.h"
#include "ui/DesktopApplication.h"
#include "ui/ResultWindow.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include <X11/keysym.h>

#include <cstdio>
#include <functional>
#include <optional>

using namespace glimra;
using namespace glimra::bench;
using namespace Qt::StringLiterals;

namespace {

const QString Selection = u"src/main.c:3"_s;
constexpr int Warmup = 3;
constexpr int TimeoutMs = 15000;

// The application object, which also tells when the results panel has painted.
class BenchApplication : public QApplication
{
public:
    using QApplication::QApplication;

    /// `painted` runs once, when the next painting of `window` is over.
    void watchPainting(QWidget *window, std::function<void()> painted)
    {
        m_window = window;
        m_painted = std::move(painted);
    }

    bool notify(QObject *receiver, QEvent *event) override
    {
        const bool handled = QApplication::notify(receiver, event);
        if (m_painted && event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(receiver);
            // Every widget of the panel paints in this one pass, and the pass ends with the
            // panel flushed to the screen: the next turn of the event loop comes after it.
            if (widget && widget->window() == m_window)
                QTimer::singleShot(0, this, std::exchange(m_painted, {}));
        }
        return handled;
    }

private:
    QWidget *m_window = nullptr;
    std::function<void()> m_painted;
};

double elapsedMs(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

void printFigures(const char *what, const QList<double> &ms, const char *goal)
{
    std::printf("%-48s median %7.1f ms  p90 %7.1f ms  (%lld guesses)  goal %s\n", what,
                percentile(ms, 0.5), percentile(ms, 0.9), qlonglong(ms.size()), goal);
    std::fflush(stdout);
}

// Runs the event loop until `finish` is called, or the time is out. `start` gets a context
// for its connections, which go when this returns, and `finish`.
bool runUntilFinished(const std::function<void(QObject *context, std::function<void()> finish)> &start)
{
    QEventLoop loop;
    QObject context;
    bool finished = false;
    QTimer::singleShot(TimeoutMs, &loop, &QEventLoop::quit);
    start(&context, [&] {
        finished = true;
        loop.quit();
    });
    if (!finished)
        loop.exec();
    return finished;
}

QDBusMessage busCall(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(BusService::ServiceName, BusService::ObjectPath,
                                                       BusService::Interface, method);
    call.setArguments(arguments);
    return call;
}

bool applicationRuns()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(BusService::ServiceName).value();
}

// The real program: `glimra guess` through it, and its memory.
void measureProgram(SelectingXterm &xterm, int guesses, int memoryGuesses)
{
    QProcess app;
    app.setStandardOutputFile(QProcess::nullDevice());
    app.setStandardErrorFile(QProcess::nullDevice());
    app.start(QStringLiteral(GLIMRA_BINARY), {});
    if (!waitFor(applicationRuns, TimeoutMs)) {
        std::fprintf(stderr, "glimra never took its bus name\n");
        return;
    }
    waitFor([] { return false; }, 1000); // its start-up is over
    const QString pid = QString::number(app.processId());
    const long afterStart = statusKilobytes(pid, "VmRSS");

    QList<double> command;
    int failures = 0;
    for (int i = 0; i < Warmup + guesses; ++i) {
        xterm.activate();
        QProcess guess;
        QElapsedTimer clock;
        std::optional<double> took;
        runUntilFinished([&](QObject *context, const std::function<void()> &finish) {
            QObject::connect(&guess, &QProcess::finished, context, [&, finish] {
                took = elapsedMs(clock);
                finish();
            });
            clock.start();
            guess.start(QStringLiteral(GLIMRA_BINARY), {u"guess"_s, u"--json"_s});
        });
        failures += !took || !guess.readAllStandardOutput().contains(Selection.toUtf8());
        if (took && i >= Warmup)
            command.append(*took);
    }
    printFigures("`glimra guess` through the running instance", command, "median <= 60 ms");
    const long afterCommands = statusKilobytes(pid, "VmRSS");

    for (int i = 0; i < memoryGuesses; ++i) {
        runUntilFinished([&](QObject *context, const std::function<void()> &finish) {
            auto *watcher = new QDBusPendingCallWatcher(
                QDBusConnection::sessionBus().asyncCall(busCall(u"RunGuess"_s, {u"selection"_s, 0.0}),
                                                        TimeoutMs),
                context);
            QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [&, watcher, finish] {
                const QDBusMessage reply = watcher->reply();
                failures += !reply.arguments().value(0).toString().contains(Selection);
                finish();
            });
        });
    }
    const long afterGuesses = statusKilobytes(pid, "VmRSS");
    std::printf("resident memory of glimra: %.1f MB after start, %.1f MB after %d guesses, "
                "%.1f MB after %d more (grew %.1f MB since start; peak %.1f MB)  goal <= 60 MB, "
                "growing <= 5 MB\n",
                afterStart / 1024.0, afterCommands / 1024.0, Warmup + guesses, afterGuesses / 1024.0,
                memoryGuesses, (afterGuesses - afterStart) / 1024.0,
                statusKilobytes(pid, "VmHWM") / 1024.0);
    if (failures)
        std::printf("  %d guesses of the real program did not guess the selection\n", failures);
    std::fflush(stdout);

    QDBusConnection::sessionBus().call(busCall(u"Quit"_s), QDBus::Block, TimeoutMs);
    if (!app.waitForFinished(TimeoutMs))
        app.kill();
}

// The application built in this process: request to outcome, key press to painted panel.
void measureInProcess(BenchApplication &application, SelectingXterm &xterm, int guesses)
{
    DesktopApplication desktop;
    if (!desktop.start()) {
        std::fprintf(stderr, "the application did not start\n");
        return;
    }
    AppDelegate &delegate = desktop.delegate();
    int failures = 0;
    // Each guess starts as the user's would: the panel hidden, the terminal active.
    auto prepare = [&] {
        // Shown again before the X server has taken it down, the panel would stay unmapped.
        ResultWindow &panel = desktop.resultWindow();
        panel.hidePanel();
        waitFor([&] { return !panel.windowHandle() || !panel.windowHandle()->isExposed(); }, 5000);
        return xterm.activate();
    };
    auto guessed = [&](bool ended) {
        const bool right = ended && delegate.result().selectionContext.value(CTX_TEXT) == Selection;
        if (!right) {
            ++failures;
            std::fprintf(stderr, "a guess %s: selection \"%s\" of %s\n",
                         ended ? "ended wrong" : "never ended",
                         qPrintable(delegate.result().selectionContext.value(CTX_TEXT)),
                         qPrintable(delegate.result().selectionContext.value(CTX_APPID)));
        }
        return right;
    };
    auto outcomeTimes = [&](const std::function<void()> &request) {
        QList<double> times;
        for (int i = 0; i < Warmup + guesses; ++i) {
            if (!prepare())
                continue;
            QElapsedTimer clock;
            std::optional<double> took;
            const bool ended = runUntilFinished([&](QObject *context, const std::function<void()> &finish) {
                QObject::connect(&delegate, &AppDelegate::guessFinished, context, [&, finish] {
                    took = elapsedMs(clock);
                    finish();
                });
                clock.start();
                request();
            });
            if (guessed(ended) && i >= Warmup)
                times.append(*took);
        }
        return times;
    };
    printFigures("request (shortcut) to outcome", outcomeTimes([&] { desktop.guessSelection(); }),
                 "median <= 30 ms, p90 <= 50 ms");
    printFigures("request (bus call GuessSelection) to outcome", outcomeTimes([] {
                     QDBusConnection::sessionBus().asyncCall(busCall(u"GuessSelection"_s));
                 }),
                 "median <= 30 ms, p90 <= 50 ms");

    FakeKeyboard keyboard;
    QList<double> painted;
    for (int i = 0; i < Warmup + guesses; ++i) {
        if (!prepare())
            continue;
        QElapsedTimer clock;
        std::optional<double> took;
        const bool shown = runUntilFinished([&](QObject *, const std::function<void()> &finish) {
            application.watchPainting(&desktop.resultWindow(), [&, finish] {
                took = elapsedMs(clock);
                finish();
            });
            clock.start();
            keyboard.type({XK_Super_L, XK_Alt_L, XK_g});
        });
        application.watchPainting(nullptr, {});
        if (guessed(shown) && i >= Warmup)
            painted.append(*took);
    }
    printFigures("key press to results panel painted", painted, "median <= 100 ms");
    if (failures)
        std::printf("  %d guesses in this process did not guess the selection\n", failures);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_resident needs a desktop: run it with run-with-desktop.sh\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    // The figures, not the log lines of every guess.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "glimra.*.info=false");
    IsolatedHome home;
    home.writeFile(u"proj/src/main.c"_s, "int main;\n");
    BenchApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int guesses = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 30;
    const int memoryGuesses = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1000;

    SelectingXterm xterm(home.path(u"proj"_s), Selection);
    if (!xterm.activate()) {
        std::fprintf(stderr, "the xterm never became the active window\n");
        return 1;
    }
    // The real program first: this process must not own the clipboard while it blocks.
    measureProgram(xterm, guesses, memoryGuesses);
    measureInProcess(application, xterm, guesses);
    return 0;
}
