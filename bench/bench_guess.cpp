// Time from request to results for a guess of the selection of a real xterm, split into
// focus tracking, copying, matching and the panel; medians and 90th percentiles over many
// guesses.
// Run it on a desktop of its own:  tests/desktop/run-with-desktop.sh build/bench/bench_guess
#include "BenchSupport.h"
#include "DesktopBench.h"

#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "platform/UserDefaults.h"
#include "app/ResultPanel.h"
#include "capture/CopySelection.h"
#include "capture/FocusTracker.h"
#include "desktop/DesktopPlatform.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

class NoPanel : public ResultPanel
{
public:
    void showPanel() override {}
    void hidePanel() override {}
};

void printFigures(const char *what, const QList<double> &ms)
{
    std::printf("  %-16s median %8.2f  p90 %8.2f\n", what, bench::percentile(ms, 0.5),
                bench::percentile(ms, 0.9));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_guess needs a display: run it with run-with-desktop.sh\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    bench::IsolatedHome home;
    home.writeFile(u"proj/src/main.c"_s, "int main;\n");

    bench::SelectingXterm xterm(home.path(u"proj"_s), u"src/main.c:3"_s);
    if (!xterm.activate()) {
        std::fprintf(stderr, "the xterm never became the active window\n");
        return 1;
    }

    NoPanel panel;
    MainInterface ui(DesktopPlatform::create(true), std::make_shared<UserDefaults>(), &panel);
    const int guesses = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50;
    QList<double> focus, copy, match, show, total;
    for (int i = 0; i < guesses; ++i) {
        QElapsedTimer clock;
        clock.start();
        const std::optional<Context> focusContext = ui.focusTracker().contextForCurrentApp();
        const double t1 = clock.nsecsElapsed() / 1e6;
        const std::optional<Context> capture =
            ui.copySelection().contextForApp(focusContext ? focusContext->value(CTX_APPID) : QString()).context;
        const double t2 = clock.nsecsElapsed() / 1e6;
        Context selection = focusContext.value_or(Context());
        selection.insert(capture.value_or(Context()));
        ui.appDelegate().runMatchingEngine(selection);
        const double t3 = clock.nsecsElapsed() / 1e6;
        panel.showPanel();
        const double t4 = clock.nsecsElapsed() / 1e6;
        focus.append(t1);
        copy.append(t2 - t1);
        match.append(t3 - t2);
        show.append(t4 - t3);
        total.append(t4);
        if (!capture)
            std::fprintf(stderr, "guess %d captured nothing\n", i);
    }
    std::printf("guesses: %d (milliseconds)\n", guesses);
    printFigures("focus tracking", focus);
    printFigures("copying", copy);
    printFigures("matching", match);
    printFigures("panel", show);
    printFigures("total", total);
    return 0;
}
