#include "app/ExplanationReport.h"

#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

void insertScript(QJsonObject &entry, const ScriptRun &script)
{
    if (!script.ran)
        return;
    entry.insert(u"script"_s, QJsonObject{{u"ending"_s, script.ending},
                                          {u"stderr"_s, QJsonArray::fromStringList(script.errorLines)}});
}

void insertIfSet(QJsonObject &entry, const QString &key, const QString &text)
{
    if (!text.isEmpty())
        entry.insert(key, text);
}

QString shown(const QString &value)
{
    QString line = value;
    line.replace(u'\n', u"\\n"_s);
    if (line.size() <= ExplanationReport::ShownValueLength)
        return line;
    return line.left(ExplanationReport::ShownValueLength)
        + u"… (%1 characters)"_s.arg(value.size());
}

// The plug-in's file and its script's ending and first error lines, indented.
void appendScript(QString &text, const QString &file, const ScriptRun &script)
{
    if (!file.isEmpty())
        text += u"      file: "_s + file + u'\n';
    if (!script.ran)
        return;
    text += u"      ended: "_s + script.ending + u'\n';
    for (const QString &line : script.errorLines)
        text += u"      stderr: "_s + shown(line) + u'\n';
}

} // namespace

QJsonArray ExplanationReport::json(const Explanation &explanation)
{
    QJsonArray entries;
    for (const Explanation::Matcher &matcher : explanation.matchers) {
        QJsonObject entry{{u"stage"_s, u"matcher"_s},
                          {u"name"_s, matcher.name},
                          {u"kind"_s, matcher.kind},
                          {u"matched"_s, matcher.matched},
                          {u"wrote"_s, toJsonObject(matcher.wrote)},
                          {u"removed"_s, QJsonArray::fromStringList(matcher.removed)},
                          {u"milliseconds"_s, matcher.milliseconds}};
        insertIfSet(entry, u"file"_s, matcher.file);
        insertIfSet(entry, u"why"_s, matcher.why);
        insertScript(entry, matcher.script);
        entries.append(entry);
    }
    for (const Explanation::Action &action : explanation.actions) {
        QJsonObject entry{{u"stage"_s, u"action"_s},
                          {u"name"_s, action.name},
                          {u"offered"_s, QJsonArray::fromStringList(action.offered)}};
        insertIfSet(entry, u"file"_s, action.file);
        insertIfSet(entry, u"why"_s, action.why);
        insertScript(entry, action.script);
        entries.append(entry);
    }
    return entries;
}

QString ExplanationReport::text(const Explanation &explanation)
{
    QString text = u"matchers, in the order they ran:\n"_s;
    for (const Explanation::Matcher &matcher : explanation.matchers) {
        text += u"  %1 %2 (%3, %4 ms)\n"_s.arg(matcher.matched ? u"matched    "_s : u"no match   "_s,
                                                  matcher.name, matcher.kind)
                    .arg(matcher.milliseconds, 0, 'f', 2);
        for (auto it = matcher.wrote.cbegin(); it != matcher.wrote.cend(); ++it)
            text += u"      wrote %1=%2\n"_s.arg(it.key(), shown(it.value()));
        for (const QString &key : matcher.removed)
            text += u"      removed %1\n"_s.arg(key);
        if (!matcher.why.isEmpty())
            text += u"      why: "_s + matcher.why + u'\n';
        appendScript(text, matcher.file, matcher.script);
    }
    text += u"actions:\n"_s;
    for (const Explanation::Action &action : explanation.actions) {
        text += action.offered.isEmpty()
            ? u"  not offered %1\n"_s.arg(action.name)
            : u"  offered     %1: %2\n"_s.arg(action.name, action.offered.join(u", "_s));
        if (!action.why.isEmpty())
            text += u"      why: "_s + action.why + u'\n';
        appendScript(text, action.file, action.script);
    }
    return text;
}

} // namespace glimra
