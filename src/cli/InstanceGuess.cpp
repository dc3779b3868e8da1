#include "cli/InstanceGuess.h"

#include "app/GuessReport.h"
#include "cli/ResultPrinter.h"
#include "cli/RunningInstance.h"

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

} // namespace

void InstanceGuess::addOptions(CommandLine &command)
{
    command.parser().addOption({u"json"_s, u"Print one JSON object."_s});
    command.addWaitOption();
}

int InstanceGuess::report(CommandLine &command, const GuessOutcome &outcome, const QJsonObject &state)
{
    if (!outcome.finished()) {
        command.err() << whyNot(outcome) << u'\n';
        command.err().flush();
        return 1;
    }
    ResultPrinter::print(command.out(), state, command.parser().isSet(u"json"_s));
    return state.value(u"matchedContext"_s).toObject().isEmpty() ? 1 : 0;
}

std::optional<int> InstanceGuess::ask(CommandLine &command, const QString &verb, double waitSeconds)
{
    // The resident application guesses for us when it runs: its panel shows the results
    // too, and it keeps the clipboard it restores.
    const BusPeer peer = RunningInstance::find();
    QString problem = peer.problem();
    if (peer.state == BusPeer::State::Answers) {
        const std::optional<QJsonObject> answer = RunningInstance::runGuess(
            verb == u"guess"_s ? u"selection"_s : u"clipboard"_s, waitSeconds, &problem);
        if (answer) {
            return report(command, GuessReport::outcomeFrom(answer->value(u"outcome"_s).toObject()),
                          answer->value(u"state"_s).toObject());
        }
    }
    if (problem.isNull())
        return std::nullopt;
    command.err() << u"glimra %1: %2\n"_s.arg(verb, problem);
    return 1;
}

} // namespace glimra
