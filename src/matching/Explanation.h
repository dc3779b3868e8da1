#pragma once

#include "foundation/ScriptRun.h"
#include "matching/Context.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace glimra {

/// Why a guess came out as it did, for a user whose rule or plug-in does not fire: what
/// each matcher did, in the order the guess ran them, and what each action offered. Made
/// only when asked for (MatchRun::explanation): a guess that is not explained pays
/// nothing for it.
struct Explanation
{
    struct Matcher
    {
        QString name;
        QString kind;
        QString file;        ///< null for a built-in
        bool matched = false;
        Context wrote;       ///< the keys it set or changed, with their new values
        QStringList removed; ///< the keys it removed
        QString why;         ///< why it did not match, where the matcher knows
        double milliseconds = 0;
        ScriptRun script;    ///< how a plug-in's script ended
    };
    struct Action
    {
        QString name;
        QString file;
        QStringList offered; ///< the labels it offered
        QString why;         ///< why it offered nothing, where it knows
        ScriptRun script;
    };

    QList<Matcher> matchers;
    QList<Action> actions;
};

} // namespace glimra
