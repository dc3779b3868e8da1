#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

namespace glimra {

/// The resident Glimra of this session, as the command line reaches it over the session
/// bus. Never starts one: a command finds it running or guesses in its own process.
class RunningInstance
{
public:
    /// One runs (someone owns org.glimra.Glimra).
    static bool isRunning();
    /// Its answer to RunGuess (`kind` "selection" or "clipboard"): {"outcome", "state"};
    /// nullopt when it did not answer.
    static std::optional<QJsonObject> runGuess(const QString &kind, double waitSeconds);
    /// Asks it to show its results panel, starting it when the bus can (a service file is
    /// installed). False when no Glimra could be reached.
    static bool showResults(QString *problem);
    /// Calls `method` (ShowPreferences, ShowHelp) of the running one, never starting one.
    /// False when none runs or it did not answer.
    static bool show(const QString &method, const QVariantList &arguments, QString *problem);
};

} // namespace glimra
