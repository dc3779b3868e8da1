#include "cli/MatchCommand.h"

#include "app/ActionOrder.h"
#include "app/ExplanationReport.h"
#include "app/GuessPipeline.h"
#include "app/GuessReport.h"
#include "app/MatchingAssembly.h"
#include "cli/CommandLine.h"
#include "cli/ResultPrinter.h"
#include "cli/Session.h"
#include "matching/LateResults.h"
#include "platform/UserDefaults.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

constexpr int NoSuchAction = 3;
constexpr int ActionFailed = 4;

std::optional<QString> readText(CommandLine &command)
{
    QCommandLineParser &parser = command.parser();
    if (parser.isSet(u"text"_s))
        return parser.value(u"text"_s);
    QFile file;
    if (parser.isSet(u"text-file"_s)) {
        file.setFileName(parser.value(u"text-file"_s));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
    } else if (!file.open(stdin, QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

ActionPtr offeredAction(const GuessResult &result, const QString &label)
{
    for (const ActionPtr &action : result.actions) {
        if (action->label() == label)
            return action;
    }
    return nullptr;
}

// While a desktop search of `result`'s guess still gathers, waits until its files are in,
// at most `seconds`; the files that arrive meanwhile are in `result` by then.
void waitForLateFiles(const GuessResult &result, LateResults &late, double seconds)
{
    if (!late.isSearching(result.guess))
        return;
    QEventLoop loop;
    QObject::connect(&late, &LateResults::finished, &loop, [&](quint64 guess) {
        if (guess == result.guess)
            loop.quit();
    });
    QTimer::singleShot(qint64(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs `action` in `context` and waits until it reports how it ended.
Outcome runAction(const ActionPtr &action, const Context &context)
{
    std::optional<Outcome> outcome;
    QEventLoop loop;
    action->execute(context, [&](const Outcome &ended) {
        outcome = ended;
        loop.quit();
    });
    if (!outcome)
        loop.exec();
    return *outcome;
}

} // namespace

int MatchCommand::run(const QStringList &arguments, const std::function<SessionServices()> &services)
{
    CommandLine command(u"match"_s, arguments);
    QCommandLineParser &parser = command.parser();
    parser.addOptions({{u"text"_s, u"The text to guess."_s, u"TEXT"_s},
                       {u"text-file"_s, u"Read the text from FILE."_s, u"FILE"_s},
                       {u"context"_s, u"Add KEY=VALUE to the selection context."_s, u"KEY=VALUE"_s},
                       {u"run"_s, u"Run the offered action labelled LABEL."_s, u"LABEL"_s},
                       {u"run-commands"_s, u"Run a command between backticks during the guess, for a "
                                           u"caller that trusts its text."_s},
                       {u"explain"_s, u"Tell what each matcher and action did, and why."_s},
                       {u"json"_s, u"Print one JSON object."_s}});
    command.addWaitOption();
    if (!command.parseOptionsOnly())
        return command.stopStatus();
    if (parser.isSet(u"text"_s) && parser.isSet(u"text-file"_s))
        return command.usageError(u"--text and --text-file exclude each other"_s);
    const std::optional<double> wait = command.waitSeconds();
    if (!wait)
        return CommandLine::UsageError;

    Context selection;
    for (const QString &entry : parser.values(u"context"_s)) {
        const qsizetype equals = entry.indexOf(u'=');
        if (equals < 1)
            return command.usageError(u"--context needs KEY=VALUE, not '%1'"_s.arg(entry));
        selection.insert(entry.left(equals), entry.mid(equals + 1));
    }
    const std::optional<QString> text = readText(command);
    if (!text)
        return command.usageError(u"cannot read %1"_s.arg(parser.value(u"text-file"_s)));
    selection.insert(CTX_TEXT, *text);

    // The guess goes straight through the pipeline: no controller, no panel, nothing of
    // the desktop's capture.
    const SessionServices session = services();
    const Settings settings = UserDefaults().snapshot();
    const bool learned = settings.learnsActionOrder();
    MatchingAssembly matching(session.platform, [&settings] { return settings; });
    const ActionOrder actionOrder;
    const GuessPipeline pipeline(matching.engine(), actionOrder);
    GuessPipeline::Request request{1, selection, settings, parser.isSet(u"explain"_s),
                                   parser.isSet(u"run-commands"_s), {}};
    GuessResult result = pipeline.guess(request);
    // The files a desktop search finds later are laid into the result of their guess, also
    // while an action runs.
    QObject listener;
    QObject::connect(&matching.lateResults(), &LateResults::filesFound, &listener,
                     [&](quint64 guess, const QList<FileObject> &files) {
                         if (guess == result.guess)
                             result = pipeline.withLateFiles(result, files, learned);
                     });
    waitForLateFiles(result, matching.lateResults(), *wait);

    std::optional<QStringList> searchResults;
    if (parser.isSet(u"run"_s)) {
        const ActionPtr action = offeredAction(result, parser.value(u"run"_s));
        if (!action) {
            QStringList labels;
            for (const ActionPtr &offered : std::as_const(result.actions))
                labels.append(offered->label());
            command.err() << u"glimra match: no action \"%1\" is offered; offered: %2\n"_s.arg(
                parser.value(u"run"_s), labels.isEmpty() ? u"none"_s : labels.join(u", "_s));
            command.err().flush();
            return NoSuchAction;
        }
        const QString kind = GuessPipeline::kindTaught(result, action, learned);
        const Outcome ran = runAction(action, result.executionContext());
        if (!ran.ok) {
            command.err() << u"glimra match: \"%1\" could not be carried out: %2\n"_s.arg(
                action->label(), ran.message);
            command.err().flush();
            session.handOverClipboard();
            return ActionFailed;
        }
        // Done, with something the user has to do next ("press Ctrl+V").
        if (!ran.message.isEmpty()) {
            command.err() << u"glimra match: \"%1\": %2\n"_s.arg(action->label(), ran.message);
            command.err().flush();
        }
        pipeline.learnPick(kind, action->label());
        // A text the action produced (what a command printed) is guessed next, in the
        // selection's context; it is the value "paste" and "copy" then offer as it is.
        if (ran.text) {
            request.guess = 2;
            request.selectionContext = result.selectionContext;
            request.selectionContext.insert(CTX_TEXT, *ran.text);
            request.produced = {{ACT_TEXT, *ran.text}};
            result = pipeline.guess(request);
        }
        searchResults = ran.items;
    }

    QJsonObject state = GuessReport::state(result);
    const bool json = parser.isSet(u"json"_s);
    if (result.explanation && json)
        state.insert(u"explain"_s, ExplanationReport::json(*result.explanation));
    ResultPrinter::print(command.out(), state, json, searchResults);
    if (result.explanation && !json) {
        command.out() << ExplanationReport::text(*result.explanation);
        command.out().flush();
    }
    session.handOverClipboard();
    return result.matched() ? 0 : 1;
}

} // namespace glimra
