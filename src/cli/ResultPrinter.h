#pragma once

#include <QJsonObject>
#include <QTextStream>

namespace glimra {

class AppDelegate;

/// Writes the outcome of a guess: one JSON object, or a few lines for people.
class ResultPrinter
{
public:
    /// {"selectionContext", "matchedContext", "contentType", "actions": [{"name", "label"}],
    ///  "files": [{"label", "filePath", "urlPath"}], "selectedTab"}
    static QJsonObject toJson(const AppDelegate &delegate);
    static void printJson(QTextStream &out, const AppDelegate &delegate);
    /// The description, the numbered action labels and the result files.
    static void printHuman(QTextStream &out, const AppDelegate &delegate);
};

} // namespace glimra
