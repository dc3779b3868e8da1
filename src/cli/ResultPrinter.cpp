#include "cli/ResultPrinter.h"

#include "app/AppDelegate.h"
#include "matching/contentType.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QJsonValue textOrNull(const QString &text)
{
    return text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

} // namespace

QJsonObject ResultPrinter::toJson(const AppDelegate &delegate)
{
    QJsonArray actions;
    for (const ActionPtr &action : delegate.resultActions())
        actions.append(QJsonObject{{u"name"_s, action->name()}, {u"label"_s, action->label()}});
    QJsonArray files;
    for (const FileObject &file : delegate.resultFiles()) {
        files.append(QJsonObject{{u"label"_s, file.label()},
                                 {u"filePath"_s, textOrNull(file.filePath())},
                                 {u"urlPath"_s, textOrNull(file.urlPath())}});
    }
    return QJsonObject{{u"selectionContext"_s, toJsonObject(delegate.selectionContext())},
                       {u"matchedContext"_s, toJsonObject(delegate.matchedContext())},
                       {u"contentType"_s, contentType(delegate.matchedContext())},
                       {u"actions"_s, actions},
                       {u"files"_s, files},
                       {u"selectedTab"_s, delegate.selectedTab()}};
}

void ResultPrinter::print(QTextStream &out, const AppDelegate &delegate, bool json,
                          const std::optional<QStringList> &searchResults)
{
    if (json) {
        QJsonObject result = toJson(delegate);
        if (searchResults)
            result.insert(u"searchResults"_s, QJsonArray::fromStringList(*searchResults));
        out << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Indented));
        out.flush();
        return;
    }
    out << u"looks like "_s << contentType(delegate.matchedContext()) << u'\n';
    const ActionList actions = delegate.resultActions();
    if (!actions.isEmpty())
        out << u"actions:\n"_s;
    for (qsizetype i = 0; i < actions.size(); ++i)
        out << u"  %1. %2\n"_s.arg(i + 1).arg(actions.at(i)->label());
    const QList<FileObject> files = delegate.resultFiles();
    if (!files.isEmpty())
        out << u"files:\n"_s;
    for (const FileObject &file : files)
        out << u"  "_s << file.nicePath() << u'\n';
    if (searchResults) {
        out << u"search results:\n"_s;
        for (const QString &path : *searchResults)
            out << u"  "_s << path << u'\n';
    }
    out.flush();
}

} // namespace glimra
