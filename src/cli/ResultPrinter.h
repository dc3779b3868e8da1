#pragma once

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace glimra {

/// Writes the state of a guess (GuessReport::state): one JSON object, or a few lines for
/// people.
class ResultPrinter
{
public:
    /// The JSON object, or for people the description, the numbered action labels and the
    /// result files. `searchResults`, when the desktop's search results were shown, follow
    /// (as "searchResults" in the JSON).
    static void print(QTextStream &out, QJsonObject state, bool json,
                      const std::optional<QStringList> &searchResults = std::nullopt);
};

} // namespace glimra
