#pragma once

#include "desktop/BusPeer.h"

#include <QJsonObject>
#include <QString>
#include <QVariantList>

#include <optional>

namespace glimra {

/// The resident Glimra of this session, as the command line reaches it over the session
/// bus. Never starts one: a command finds it running or guesses in its own process. Each
/// command first asks it which display it serves (BusPeer), so that one that holds the
/// name and does not answer, or serves another display, is said at once.
class RunningInstance
{
public:
    /// Whether one owns the name, answers, and serves this display.
    static BusPeer find();
    /// Its answer to RunGuess (`kind` "selection" or "clipboard"): {"outcome", "state"};
    /// nullopt, with the reason in `problem`, when it refused or did not answer.
    static std::optional<QJsonObject> runGuess(const QString &kind, double waitSeconds, QString *problem);
    /// Asks it to show its results panel, starting it when the bus can (a service file is
    /// installed). False when no Glimra could be reached, or the one running cannot be.
    static bool showResults(QString *problem);
    /// Calls `method` (ShowPreferences, ShowHelp) of the running one, never starting one.
    /// False when none runs, it serves another display or it did not answer.
    static bool show(const QString &method, const QVariantList &arguments, QString *problem);
    /// Asks the running one to quit and waits (at most QuitSeconds) until it has let go of
    /// its bus name. False, with the reason in `problem`, when none runs, it serves another
    /// display, or it did not quit in time.
    static bool quit(QString *problem);
    static constexpr int QuitSeconds = 10;
};

} // namespace glimra
