#include "platform/Settings.h"

#include "foundation/Log.h"

using namespace Qt::StringLiterals;

namespace glimra {

const QString Settings::CaptureLimitKey = u"capture_limit_mib"_s;
const QString Settings::LearnActionOrderKey = u"learn_action_order"_s;

bool Settings::isCaptureLimit(const QJsonValue &value)
{
    return value.isDouble() && value.toDouble() == value.toInt() && value.toInt() >= 1
        && value.toInt() <= MaximumCaptureLimitMiB;
}

qsizetype Settings::captureLimitBytes() const
{
    const QJsonValue value = objectForKey(CaptureLimitKey);
    return qsizetype(isCaptureLimit(value) ? value.toInt() : DefaultCaptureLimitMiB) * 1024 * 1024;
}

bool Settings::boolForKey(const QString &key) const
{
    return objectForKey(key).toBool(false);
}

QString Settings::stringForKey(const QString &key) const
{
    const QJsonValue value = objectForKey(key);
    return value.isString() ? value.toString() : QString();
}

QJsonObject Settings::dictionaryForKey(const QString &key) const
{
    return objectForKey(key).toObject();
}

QJsonArray Settings::arrayForKey(const QString &key) const
{
    return objectForKey(key).toArray();
}

std::optional<Predicate> Settings::unarchiveObjectForKey(const QString &key) const
{
    const QString format = stringForKey(key);
    if (format.isEmpty())
        return std::nullopt;
    QString error;
    std::optional<Predicate> predicate = Predicate::predicateWithFormat(format, &error);
    if (!predicate)
        qCWarning(lcPlatform).noquote() << u"\"%1\" is not a predicate (%2); ignored"_s.arg(key, error);
    return predicate;
}

} // namespace glimra
