#pragma once

#include "app/GuessOutcome.h"
#include "cli/CommandLine.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace glimra {

/// What `glimra guess`, `glimra clipboard` and `glimra service` share between the desktop
/// program and the glimra command, which answers the first two when a Glimra runs: their
/// options, how a guess is printed, and the guess asked of the running instance.
class InstanceGuess
{
public:
    /// Adds --json and --wait.
    static void addOptions(CommandLine &command);
    /// Prints what a guess came to (the results, or why it did not run) and gives the exit
    /// status: 0 when something matched, 1 when nothing matched or the guess stopped.
    static int report(CommandLine &command, const GuessOutcome &outcome, const QJsonObject &state);
    /// Has the running instance guess (`verb` "guess": the selection, "clipboard") and
    /// prints its answer, or why it cannot be asked (it hangs, serves another display, did
    /// not answer); the exit status. Nullopt, having printed nothing, when none can be asked
    /// (no session bus, nobody owns the name): the caller guesses itself.
    static std::optional<int> ask(CommandLine &command, const QString &verb, double waitSeconds);
};

} // namespace glimra
