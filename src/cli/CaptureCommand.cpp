#include "cli/CaptureCommand.h"
#include "desktop/DesktopPlatform.h"

#include "app/AppDelegate.h"
#include "app/GuessReport.h"
#include "cli/CommandLine.h"
#include "cli/ResultPrinter.h"
#include "cli/RunningInstance.h"
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

// Why a guess that did not run says so.
QString whyNot(const GuessOutcome &outcome)
{
    switch (outcome.ending) {
    case GuessOutcome::Ending::NoContext:
        return outcome.title.isEmpty() ? u"nothing to guess: no application is active"_s
                                       : outcome.title + u": "_s + outcome.description;
    case GuessOutcome::Ending::EmptySelection:
    case GuessOutcome::Ending::NotHandedOver:
        return outcome.title + u": "_s + outcome.description;
    case GuessOutcome::Ending::NoText:
        return u"nothing to guess: there is no text"_s;
    case GuessOutcome::Ending::Dropped:
        return u"the guess was dropped: a newer one was asked for"_s;
    case GuessOutcome::Ending::Finished:
        break;
    }
    return {};
}

// Prints what a guess came to and gives the exit status.
int report(CommandLine &command, const GuessOutcome &outcome, const QJsonObject &state)
{
    if (!outcome.finished()) {
        command.err() << whyNot(outcome) << u'\n';
        command.err().flush();
        return 1;
    }
    ResultPrinter::print(command.out(), state, command.parser().isSet(u"json"_s));
    return state.value(u"matchedContext"_s).toObject().isEmpty() ? 1 : 0;
}

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
    command.parser().addOption({u"json"_s, u"Print one JSON object."_s});
    command.addWaitOption();
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

    // The resident application guesses for us when it runs: its panel shows the results
    // too, and it keeps the clipboard it restores.
    if (verb != u"service"_s) {
        const BusPeer peer = RunningInstance::find();
        QString problem = peer.problem();
        if (peer.state == BusPeer::State::Answers) {
            const std::optional<QJsonObject> answer = RunningInstance::runGuess(
                verb == u"guess"_s ? u"selection"_s : u"clipboard"_s, *wait, &problem);
            if (answer) {
                return report(command, GuessReport::outcomeFrom(answer->value(u"outcome"_s).toObject()),
                              answer->value(u"state"_s).toObject());
            }
        }
        if (!problem.isNull()) {
            command.err() << u"glimra %1: %2\n"_s.arg(verb, problem);
            return 1;
        }
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
    const int status = report(command, outcome, GuessReport::state(session.delegate().result()));
    session.keepClipboard();
    return status;
}

} // namespace glimra
