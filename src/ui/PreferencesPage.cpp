#include "ui/PreferencesPage.h"

#include "platform/UserDefaults.h"

namespace glimra {

PreferencesPage::PreferencesPage(UserDefaults &defaults, QWidget *parent)
    : QWidget(parent), m_defaults(defaults)
{
}

void PreferencesPage::reload(const Settings &settings)
{
    bool differs = m_shown.isEmpty();
    for (const QString &key : keys())
        differs = differs || m_shown.value(key, QJsonValue(QJsonValue::Undefined)) != settings.objectForKey(key);
    if (!differs)
        return;
    for (const QString &key : keys())
        m_shown.insert(key, settings.objectForKey(key));
    load(settings);
}

bool PreferencesPage::store(const QString &key, const QJsonValue &value, QString *error)
{
    const bool stored = value.isUndefined() ? m_defaults.removeObjectForKey(key, error)
                                            : m_defaults.setObject(key, value, error);
    if (stored)
        m_shown.insert(key, value);
    return stored;
}

} // namespace glimra
