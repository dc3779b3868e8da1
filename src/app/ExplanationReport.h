#pragma once

#include "matching/Explanation.h"

#include <QJsonArray>
#include <QString>

namespace glimra {

/// An explained guess as JSON (what `glimra match --explain --json` prints) and as text for
/// people (the command line and the results panel's "Why?" view).
class ExplanationReport
{
public:
    /// One object per matcher, in the order they ran: {"stage": "matcher", "name", "kind",
    /// "file", "matched", "wrote": {KEY: value}, "removed": [KEY], "why", "milliseconds",
    /// "script": {"ending", "stderr": [line]}}, then one per action prototype: {"stage":
    /// "action", "name", "file", "offered": [label], "why", "script"}. "file", "why" and
    /// "script" appear only when there is something to say.
    static QJsonArray json(const Explanation &explanation);
    /// A line per matcher and per action, with the keys written, the reasons and what a
    /// plug-in's script said; long values are shortened.
    static QString text(const Explanation &explanation);

    /// How much of a value the text shows.
    static constexpr qsizetype ShownValueLength = 120;
};

} // namespace glimra
