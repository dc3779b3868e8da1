#include "platform/UserDefaults.h"

#include "foundation/Log.h"
#include "foundation/BoundedRegexp.h"
#include "foundation/Paths.h"
#include "foundation/ScriptFile.h"
#include "platform/LockedFile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QString typeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null: return u"null"_s;
    case QJsonValue::Bool: return u"a boolean"_s;
    case QJsonValue::Double: return u"a number"_s;
    case QJsonValue::String: return u"a text"_s;
    case QJsonValue::Array: return u"an array"_s;
    case QJsonValue::Object: return u"an object"_s;
    case QJsonValue::Undefined: break;
    }
    return u"nothing"_s;
}

QString validateRegexpMatchers(const QJsonValue &value)
{
    if (!value.isArray())
        return u"\"regexp_matchers\" must be an array of objects, not %1"_s.arg(typeName(value));
    const QJsonArray entries = value.toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).isObject())
            return u"entry %1 of \"regexp_matchers\" must be an object"_s.arg(i);
        const QJsonObject entry = entries.at(i).toObject();
        for (const QString &field : {u"matched_key"_s, u"matched_value"_s, u"regexp"_s}) {
            if (entry.contains(field) && !entry.value(field).isString())
                return u"\"%1\" of entry %2 of \"regexp_matchers\" must be a text"_s.arg(field).arg(i);
        }
        for (const QString &field : {u"matched_key"_s, u"regexp"_s}) {
            if (!entry.contains(field))
                return u"entry %1 of \"regexp_matchers\" needs \"%2\""_s.arg(i).arg(field);
        }
        const QString problem = UserDefaults::regexpProblem(entry.value(u"regexp"_s).toString());
        if (!problem.isNull())
            return u"entry %1 of \"regexp_matchers\": %2"_s.arg(i).arg(problem);
    }
    return {};
}

} // namespace

UserDefaults::UserDefaults() : m_filePath(defaultFilePath()) {}

UserDefaults::UserDefaults(QString filePath) : m_filePath(std::move(filePath)) {}

QString UserDefaults::defaultFilePath()
{
    return configHomeDir() + u"/Glimra/defaults.json"_s;
}

std::optional<QJsonObject> UserDefaults::dictionaryRepresentation(QString *error) const
{
    if (!QFileInfo::exists(m_filePath))
        return QJsonObject();
    // Read as plug-ins are: a link to a device or a FIFO would otherwise exhaust memory or
    // hang every reader, and a huge file slow every guess down.
    QString why;
    const std::optional<QByteArray> contents = readFile(m_filePath, &why);
    if (!contents) {
        if (error)
            *error = u"%1 cannot be read: %2"_s.arg(m_filePath, why);
        return std::nullopt;
    }
    return dictionaryFromData(*contents, m_filePath, error);
}

std::optional<QByteArray> UserDefaults::readFile(const QString &filePath, QString *why)
{
    return ScriptFile::read(filePath, MaximumFileBytes, why);
}

std::optional<QJsonObject> UserDefaults::dictionaryFromData(const QByteArray &contents,
                                                            const QString &filePath,
                                                            QString *error)
{
    if (contents.trimmed().isEmpty())
        return QJsonObject();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(contents, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        if (error) {
            *error = parseError.error != QJsonParseError::NoError
                ? u"%1 is not valid JSON (%2 at offset %3)"_s.arg(filePath, parseError.errorString())
                      .arg(parseError.offset)
                : u"%1 does not hold a JSON object"_s.arg(filePath);
        }
        return std::nullopt;
    }
    return document.object();
}

Settings UserDefaults::snapshot() const
{
    QString error;
    const std::optional<QJsonObject> all = dictionaryRepresentation(&error);
    if (!all) {
        qCWarning(lcPlatform).noquote() << error << u"- using no settings"_s;
        return {};
    }
    return Settings(*all);
}

QJsonValue UserDefaults::objectForKey(const QString &key) const
{
    return snapshot().objectForKey(key);
}

bool UserDefaults::boolForKey(const QString &key) const
{
    return snapshot().boolForKey(key);
}

QString UserDefaults::stringForKey(const QString &key) const
{
    return snapshot().stringForKey(key);
}

QJsonObject UserDefaults::dictionaryForKey(const QString &key) const
{
    return snapshot().dictionaryForKey(key);
}

QJsonArray UserDefaults::arrayForKey(const QString &key) const
{
    return snapshot().arrayForKey(key);
}

std::optional<Predicate> UserDefaults::unarchiveObjectForKey(const QString &key) const
{
    return snapshot().unarchiveObjectForKey(key);
}

QString UserDefaults::regexpProblem(const QString &pattern)
{
    // Compiled as the matchers and the scripting commands compile it.
    const BoundedRegexp expression(pattern);
    if (expression.isValid())
        return {};
    return u"the regexp \"%1\" does not compile: %2 at offset %3"_s.arg(
        pattern, expression.errorString()).arg(expression.patternErrorOffset());
}

QString UserDefaults::validate(const QString &key, const QJsonValue &value)
{
    if (key == u"user_context_configuration"_s && !value.isObject())
        return u"\"%1\" must be an object, not %2"_s.arg(key, typeName(value));
    if (key == u"regexp_matchers"_s)
        return validateRegexpMatchers(value);
    if ((key == u"hide_after_action"_s || key == u"popup_close_to_mouse"_s
         || key == Settings::LearnActionOrderKey) && !value.isBool())
        return u"\"%1\" must be a boolean, not %2"_s.arg(key, typeName(value));
    if ((key == u"app_tm_seed"_s || key == u"editor_command"_s || key == u"web_search_url"_s
         || key.startsWith(u"shortcut_"_s))
        && !value.isString())
        return u"\"%1\" must be a text, not %2"_s.arg(key, typeName(value));
    if (key == Settings::CaptureLimitKey && !Settings::isCaptureLimit(value))
        return u"\"%1\" must be a whole number of MiB from 1 to %2, not %3"_s.arg(key).arg(
            Settings::MaximumCaptureLimitMiB).arg(value.isDouble() ? QString::number(value.toDouble()) : typeName(value));
    if (key == u"search_exclusion_filter"_s) {
        if (!value.isString())
            return u"\"%1\" must be a predicate text, not %2"_s.arg(key, typeName(value));
        QString error;
        if (!Predicate::predicateWithFormat(value.toString(), &error))
            return u"\"%1\" is not a valid predicate: %2"_s.arg(key, error);
    }
    return {};
}

namespace {

UserDefaults::Validator validator = nullptr;

} // namespace

void UserDefaults::setValidator(Validator check)
{
    validator = check;
}

bool UserDefaults::setObject(const QString &key, const QJsonValue &value, QString *error)
{
    const QString problem = validate(key, value);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    return update(key, value, error);
}

bool UserDefaults::removeObjectForKey(const QString &key, QString *error)
{
    return update(key, std::nullopt, error);
}

bool UserDefaults::update(const QString &key, const std::optional<QJsonValue> &value,
                          QString *error)
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    LockedFile file(m_filePath);
    if (!file.lock(5000, error))
        return false;

    QString readError;
    std::optional<QJsonObject> all = dictionaryRepresentation(&readError);
    if (!all)
        return fail(readError + u"; not changed. Fix or remove the file first."_s);
    if (value && validator) {
        if (const QString problem = validator(key, *value, *all); !problem.isNull())
            return fail(problem);
    }
    if (value)
        all->insert(key, *value);
    else
        all->remove(key);

    return file.write(QJsonDocument(*all).toJson(QJsonDocument::Indented), error);
}

} // namespace glimra
