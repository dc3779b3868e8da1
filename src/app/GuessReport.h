#pragma once

#include "app/GuessOutcome.h"
#include "app/GuessResult.h"

#include <QJsonObject>

namespace glimra {

/// The result of a guess and how a guess ended, as JSON: what `glimra … --json`
/// prints and what the running application answers over the session bus.
class GuessReport
{
public:
    /// {"selectionContext", "matchedContext", "contentType", "actions": [{"name", "label"}],
    ///  "files": [{"label", "filePath", "urlPath"}], "selectedTab"}
    static QJsonObject state(const GuessResult &result);

    /// {"guess", "ending": "finished" | "no-context" | "empty-selection" | "no-text" |
    ///  "dropped", "matched", "searching", "title", "description"}
    static QJsonObject outcome(const GuessOutcome &outcome);
    /// The outcome back from its JSON form.
    static GuessOutcome outcomeFrom(const QJsonObject &json);
};

} // namespace glimra
