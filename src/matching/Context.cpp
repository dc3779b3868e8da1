#include "matching/Context.h"

#include "foundation/Strings.h"

#include <QJsonDocument>

namespace glimra {

bool isResultKey(const QString &key)
{
    return key.startsWith(ResultPrefix);
}

void set(Context &context, const QString &key, const QString &value)
{
    if (value.isNull())
        context.remove(key);
    else
        context.insert(key, value);
}

QVariantMap toVariantMap(const Context &context)
{
    QVariantMap map;
    for (auto it = context.cbegin(); it != context.cend(); ++it)
        map.insert(it.key(), it.value());
    return map;
}

QJsonObject toJsonObject(const Context &context)
{
    QJsonObject object;
    for (auto it = context.cbegin(); it != context.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

namespace {

QString textForm(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return nonNull(value.toString());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QVariantMap:
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return QString::fromUtf8(QJsonDocument::fromVariant(value).toJson(QJsonDocument::Compact));
    default:
        break;
    }
    return nonNull(value.toString());
}

} // namespace

Context contextFromVariantMap(const QVariantMap &map)
{
    Context context;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value().isValid() && !it.value().isNull())
            context.insert(it.key(), textForm(it.value()));
    }
    return context;
}

} // namespace glimra
