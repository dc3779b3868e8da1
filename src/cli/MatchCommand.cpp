#include "cli/MatchCommand.h"

#include "app/AppDelegate.h"
#include "app/ExplanationReport.h"
#include "app/GuessReport.h"
#include "cli/CommandLine.h"
#include "cli/ResultPrinter.h"
#include "cli/Session.h"

#include <QFile>

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

ActionPtr offeredAction(const AppDelegate &delegate, const QString &label)
{
    for (const ActionPtr &action : delegate.resultActions()) {
        if (action->label() == label)
            return action;
    }
    return nullptr;
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

    Session session(services());
    AppDelegate &delegate = session.delegate();
    delegate.setExplaining(parser.isSet(u"explain"_s));
    delegate.setRunningCommands(parser.isSet(u"run-commands"_s));
    const GuessOutcome outcome =
        session.guess([&](AppDelegate &controller) { return controller.guessText(selection); });
    session.waitForLateResults(outcome, *wait);

    std::optional<QStringList> searchResults;
    if (parser.isSet(u"run"_s)) {
        const ActionPtr action = offeredAction(delegate, parser.value(u"run"_s));
        if (!action) {
            QStringList labels;
            for (const ActionPtr &offered : delegate.resultActions())
                labels.append(offered->label());
            command.err() << u"glimra match: no action \"%1\" is offered; offered: %2\n"_s.arg(
                parser.value(u"run"_s), labels.isEmpty() ? u"none"_s : labels.join(u", "_s));
            command.err().flush();
            return NoSuchAction;
        }
        const Outcome ran = session.runAction(action);
        if (!ran.ok) {
            command.err() << u"glimra match: \"%1\" could not be carried out: %2\n"_s.arg(
                action->label(), ran.message);
            command.err().flush();
            session.keepClipboard();
            return ActionFailed;
        }
        searchResults = ran.items;
    }

    QJsonObject state = GuessReport::state(delegate);
    const std::shared_ptr<const Explanation> explanation = delegate.explanation();
    const bool json = parser.isSet(u"json"_s);
    if (explanation && json)
        state.insert(u"explain"_s, ExplanationReport::json(*explanation));
    ResultPrinter::print(command.out(), state, json, searchResults);
    if (explanation && !json) {
        command.out() << ExplanationReport::text(*explanation);
        command.out().flush();
    }
    session.keepClipboard();
    return delegate.matchedContext().isEmpty() ? 1 : 0;
}

} // namespace glimra
