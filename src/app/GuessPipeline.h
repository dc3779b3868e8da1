#pragma once

#include "app/GuessResult.h"
#include "matching/Context.h"
#include "platform/Settings.h"

namespace glimra {

class ActionOrder;
class MatchingEngine;

/// From a selection to its result: matches the selection context, asks for the offers and
/// puts them in the order the user sees, lists the files. It keeps no state of a guess:
/// the controller and the command line alike call it and keep the value it returns.
/// Main thread only (the matching engine is).
class GuessPipeline
{
public:
    struct Request
    {
        quint64 guess = 0;
        Context selectionContext;
        /// The settings the guess reads, once, when it begins.
        Settings settings;
        /// Each matcher's and action's part is written down.
        bool explaining = false;
        /// A command between backticks runs during the guess (a caller that trusts its text).
        bool runningCommands = false;
        /// What an action produced, laid over the matched context.
        Context produced;
    };

    /// Neither is owned; both must outlive the pipeline.
    GuessPipeline(MatchingEngine &engine, const ActionOrder &actionOrder);

    /// The result of `request`, shown on the actions tab.
    GuessResult guess(const Request &request) const;
    /// `result` with the files a desktop search found later appended (a file it lists
    /// already is not listed twice). One file, or a place in a file, becomes the path the
    /// offers act on; several are shown on the files tab. `learned`: the offers follow the
    /// learned order.
    GuessResult withLateFiles(GuessResult result, const QList<FileObject> &files, bool learned) const;

    /// The kind of selection a pick of `action` teaches the order of: only a pick among the
    /// offers of `result`, and only while the user lets it (`learned`); null otherwise.
    static QString kindTaught(const GuessResult &result, const ActionPtr &action, bool learned);
    /// Counts one pick of the action labelled `label` for `kind` (none for a null kind); a
    /// file that cannot be written is logged and the order stays what it was.
    void learnPick(const QString &kind, const QString &label) const;

private:
    ActionList ordered(const Context &matched, const ActionList &offered, bool learned) const;

    MatchingEngine &m_engine;
    const ActionOrder &m_actionOrder;
};

} // namespace glimra
