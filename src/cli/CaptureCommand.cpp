#include "cli/CaptureCommand.h"
#include "desktop/DesktopPlatform.h"

#include "app/AppDelegate.h"
#include "app/GuessReport.h"
#include "cli/CommandLine.h"
#include "cli/InstanceGuess.h"
#include "cli/Session.h"
#include "cli/desktopServices.h"
#include "capture/CopySelection.h"
#include "platform/MemoryClipboard.h"
#include "platform/Clipboard.h"

#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// Why there is no display, naming the variable looked at.
QString noDisplay()
{
    const QString display = qEnvironmentVariable("DISPLAY");
    return display.isEmpty() ? u"no display was found: DISPLAY is not set"_s
                             : u"no display was found: DISPLAY is \"%1\", which cannot be opened"_s.arg(display);
}

} // namespace

int CaptureCommand::run(const QString &verb, const QStringList &arguments, bool withDisplay)
{
    CommandLine command(verb, arguments);
    InstanceGuess::addOptions(command);
    if (!command.parseOptionsOnly())
        return command.stopStatus();
    const std::optional<double> wait = command.waitSeconds();
    if (!wait)
        return CommandLine::UsageError;
    // Every capture reads an application's window and the selections: without a display,
    // outside a Wayland session, there is nothing to guess, and nothing must run that would
    // say otherwise.
    if (!withDisplay && !DesktopPlatform::waylandSession()) {
        command.err() << u"glimra %1: %2\n"_s.arg(verb, noDisplay());
        command.err().flush();
        return NoDisplay;
    }

    if (verb != u"service"_s) {
        if (const std::optional<int> status = InstanceGuess::ask(command, verb, *wait))
            return *status;
    }

    QByteArray serviceText;
    if (verb == u"service"_s) {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly))
            return command.usageError(u"cannot read standard input"_s);
        // A capture: no more is kept than a capture keeps (an endless input ends there).
        serviceText = input.read(Clipboard::MaximumReadBytes);
    }

    Session session(desktopServices(withDisplay));
    const GuessOutcome outcome = session.guess([&](AppDelegate &delegate) {
        if (verb == u"guess"_s)
            return delegate.guessCurrentSelection();
        if (verb == u"clipboard"_s)
            return delegate.guessCurrentClipboard();
        MemoryClipboard request;
        request.setText(QString::fromUtf8(serviceText));
        return delegate.handleFromService(request);
    });
    if (outcome.finished())
        session.waitForLateResults(outcome, *wait);
    const int status = InstanceGuess::report(command, outcome, GuessReport::state(session.delegate().result()));
    session.keepClipboard();
    return status;
}

} // namespace glimra
