#include "cli/ResultPrinter.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace glimra {

void ResultPrinter::print(QTextStream &out, QJsonObject state, bool json,
                          const std::optional<QStringList> &searchResults)
{
    if (json) {
        if (searchResults)
            state.insert(u"searchResults"_s, QJsonArray::fromStringList(*searchResults));
        out << QString::fromUtf8(QJsonDocument(state).toJson(QJsonDocument::Indented));
        out.flush();
        return;
    }
    out << u"looks like "_s << state.value(u"contentType"_s).toString() << u'\n';
    const QJsonArray actions = state.value(u"actions"_s).toArray();
    if (!actions.isEmpty())
        out << u"actions:\n"_s;
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const QJsonObject action = actions.at(i).toObject();
        out << u"  %1. %2"_s.arg(i + 1).arg(action.value(u"label"_s).toString());
        // What it acts on, whole: the command "run" would run.
        if (action.contains(u"detail"_s))
            out << u": "_s << action.value(u"detail"_s).toString();
        out << u'\n';
    }
    const QJsonArray files = state.value(u"files"_s).toArray();
    if (!files.isEmpty())
        out << u"files:\n"_s;
    for (const QJsonValue &file : files) {
        const QJsonObject entry = file.toObject();
        const QJsonValue path = entry.value(u"filePath"_s);
        out << u"  "_s << (path.isString() ? path.toString() : entry.value(u"urlPath"_s).toString());
        if (entry.contains(u"line"_s))
            out << u':' << entry.value(u"line"_s).toString();
        out << u'\n';
    }
    if (searchResults) {
        out << u"search results:\n"_s;
        for (const QString &path : *searchResults)
            out << u"  "_s << path << u'\n';
    }
    out.flush();
}

} // namespace glimra
