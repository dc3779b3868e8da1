#pragma once

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace glimra {

class AppDelegate;

/// Writes the outcome of a guess: one JSON object, or a few lines for people.
class ResultPrinter
{
public:
    /// {"selectionContext", "matchedContext", "contentType", "actions": [{"name", "label"}],
    ///  "files": [{"label", "filePath", "urlPath"}], "selectedTab"}
    static QJsonObject toJson(const AppDelegate &delegate);
    /// The JSON object, or for people the description, the numbered action labels and the
    /// result files. `searchResults`, when the desktop's search results were shown, follow
    /// (as "searchResults" in the JSON).
    static void print(QTextStream &out, const AppDelegate &delegate, bool json,
                      const std::optional<QStringList> &searchResults = std::nullopt);
};

} // namespace glimra
