#include "cli/DefaultsCommand.h"

#include "cli/CommandLine.h"
#include "foundation/HandlerScript.h"
#include "platform/UserDefaults.h"

#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QString jsonText(const QJsonValue &value)
{
    // QJsonDocument writes objects and arrays only: wrap the value and unwrap the text.
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Indented);
    QString text = QString::fromUtf8(wrapped).trimmed();
    text = text.mid(1, text.size() - 2).trimmed();
    // Unindent the one level the wrapping added.
    text.replace(u"\n    "_s, u"\n"_s);
    return text;
}

int read(CommandLine &command, const QStringList &words)
{
    if (words.size() > 1)
        return command.usageError(u"read takes at most one key"_s);
    QString error;
    const std::optional<QJsonObject> all = UserDefaults().dictionaryRepresentation(&error);
    if (!all) {
        command.err() << error << u'\n';
        return 1;
    }
    if (words.isEmpty()) {
        command.out() << jsonText(*all) << u'\n';
        return 0;
    }
    if (!all->contains(words.first())) {
        command.err() << u"glimra defaults: \"%1\" is not set\n"_s.arg(words.first());
        return 1;
    }
    command.out() << jsonText(all->value(words.first())) << u'\n';
    return 0;
}

int write(CommandLine &command, const QStringList &words)
{
    if (words.size() != 2)
        return command.usageError(u"write takes a key and a JSON value"_s);
    const QVariant parsed = parseSingleJsonValue(words.at(1).toUtf8());
    if (!parsed.isValid() && words.at(1).trimmed() != u"null"_s)
        return command.usageError(u"'%1' is not a JSON value"_s.arg(words.at(1)));
    QString error;
    if (!UserDefaults().setObject(words.first(), QJsonValue::fromVariant(parsed), &error)) {
        command.err() << u"glimra defaults: "_s << error << u'\n';
        return 1;
    }
    return 0;
}

int remove(CommandLine &command, const QStringList &words)
{
    if (words.size() != 1)
        return command.usageError(u"delete takes one key"_s);
    QString error;
    if (!UserDefaults().removeObjectForKey(words.first(), &error)) {
        command.err() << u"glimra defaults: "_s << error << u'\n';
        return 1;
    }
    return 0;
}

} // namespace

int DefaultsCommand::run(const QStringList &arguments)
{
    CommandLine command(u"defaults"_s, arguments);
    command.parser().addPositionalArgument(u"verb"_s, u"read, write or delete"_s);
    return command.runVerb({{u"read"_s, [&](const QStringList &words) { return read(command, words); }},
                            {u"write"_s, [&](const QStringList &words) { return write(command, words); }},
                            {u"delete"_s, [&](const QStringList &words) { return remove(command, words); }}});
}

} // namespace glimra
