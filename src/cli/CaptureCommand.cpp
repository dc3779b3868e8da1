#include "cli/CaptureCommand.h"

#include "app/AppDelegate.h"
#include "capture/CopySelection.h"
#include "cli/CommandLine.h"
#include "cli/ResultPrinter.h"
#include "cli/Session.h"
#include "platform/MemoryPasteboard.h"

#include <QEventLoop>
#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// Runs a selection guess to its end: results shown, or stopped with a message.
bool guessSelection(Session &session, CommandLine &command)
{
    AppDelegate &delegate = session.delegate();
    QEventLoop loop;
    bool shown = false;
    QObject::connect(&delegate, &AppDelegate::guessShown, &loop, [&] {
        shown = true;
        loop.quit();
    });
    QObject::connect(&delegate, &AppDelegate::guessStopped, &loop,
                     [&](const QString &title, const QString &description) {
                         command.err() << title << u": "_s << description << u'\n';
                         loop.quit();
                     });
    delegate.guessCurrentSelection();
    loop.exec();
    return shown;
}

} // namespace

int CaptureCommand::run(const QString &verb, const QStringList &arguments, bool withDisplay)
{
    CommandLine command(verb, arguments);
    command.parser().addOption({u"json"_s, u"Print one JSON object."_s});
    command.addWaitOption();
    if (!command.parseOptionsOnly())
        return CommandLine::UsageError;
    const std::optional<double> wait = command.waitSeconds();
    if (!wait)
        return CommandLine::UsageError;

    Session session(withDisplay);
    AppDelegate &delegate = session.delegate();
    bool shown = false;
    if (verb == u"guess"_s) {
        shown = guessSelection(session, command);
    } else if (verb == u"clipboard"_s) {
        delegate.guessCurrentClipboard();
        shown = session.panel().timesShown() > 0;
    } else {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly))
            return command.usageError(u"cannot read standard input"_s);
        MemoryPasteboard request;
        CopySelection::setPBoard(request, QString::fromUtf8(input.readAll()));
        delegate.handleFromService(request);
        shown = session.panel().timesShown() > 0;
    }
    if (!shown) {
        if (verb != u"guess"_s)
            command.err() << u"nothing to guess: no application is active or there is no text\n"_s;
        command.err().flush();
        session.keepClipboard();
        return 1;
    }
    session.waitForLateResults(*wait);
    ResultPrinter::print(command.out(), delegate, command.parser().isSet(u"json"_s));
    session.keepClipboard();
    return delegate.matchedContext().isEmpty() ? 1 : 0;
}

} // namespace glimra
