#include "app/GuessReport.h"

#include "matching/contentType.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QJsonValue textOrNull(const QString &text)
{
    return text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

const QList<std::pair<GuessOutcome::Ending, QString>> &endingNames()
{
    static const QList<std::pair<GuessOutcome::Ending, QString>> names = {
        {GuessOutcome::Ending::Finished, u"finished"_s},
        {GuessOutcome::Ending::NoContext, u"no-context"_s},
        {GuessOutcome::Ending::EmptySelection, u"empty-selection"_s},
        {GuessOutcome::Ending::NoText, u"no-text"_s},
        {GuessOutcome::Ending::Dropped, u"dropped"_s},
        {GuessOutcome::Ending::NotHandedOver, u"not-handed-over"_s}};
    return names;
}

} // namespace

QJsonObject GuessReport::state(const GuessResult &result)
{
    QJsonArray actions;
    for (const ActionPtr &action : result.actions) {
        QJsonObject entry{{u"name"_s, action->name()}, {u"label"_s, action->label()}};
        if (!action->detail().isNull())
            entry.insert(u"detail"_s, action->detail());
        actions.append(entry);
    }
    QJsonArray files;
    for (const FileObject &file : result.files) {
        QJsonObject entry{{u"label"_s, file.label()},
                          {u"filePath"_s, textOrNull(file.filePath())},
                          {u"urlPath"_s, textOrNull(file.urlPath())}};
        // A frame of a trace: the line (and column) it names.
        if (!file.line().isEmpty())
            entry.insert(u"line"_s, file.line());
        files.append(entry);
    }
    return QJsonObject{{u"selectionContext"_s, toJsonObject(result.selectionContext)},
                       {u"matchedContext"_s, toJsonObject(result.matchedContext)},
                       {u"contentType"_s, contentType(result.matchedContext)},
                       {u"actions"_s, actions},
                       {u"files"_s, files},
                       {u"selectedTab"_s, result.selectedTab}};
}

QJsonObject GuessReport::outcome(const GuessOutcome &outcome)
{
    QString ending;
    for (const auto &[value, name] : endingNames()) {
        if (value == outcome.ending)
            ending = name;
    }
    return QJsonObject{{u"guess"_s, QString::number(outcome.guess)},
                       {u"ending"_s, ending},
                       {u"matched"_s, outcome.matched},
                       {u"searching"_s, outcome.searching},
                       {u"cutAt"_s, double(outcome.cutAt)},
                       {u"title"_s, outcome.title},
                       {u"description"_s, outcome.description}};
}

GuessOutcome GuessReport::outcomeFrom(const QJsonObject &json)
{
    GuessOutcome outcome;
    outcome.guess = json.value(u"guess"_s).toString().toULongLong();
    outcome.ending = GuessOutcome::Ending::Dropped;
    for (const auto &[value, name] : endingNames()) {
        if (name == json.value(u"ending"_s).toString())
            outcome.ending = value;
    }
    outcome.matched = json.value(u"matched"_s).toBool();
    outcome.searching = json.value(u"searching"_s).toBool();
    outcome.cutAt = qsizetype(json.value(u"cutAt"_s).toDouble());
    outcome.title = json.value(u"title"_s).toString();
    outcome.description = json.value(u"description"_s).toString();
    return outcome;
}

} // namespace glimra
