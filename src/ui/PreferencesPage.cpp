#include "ui/PreferencesPage.h"

#include "platform/UserDefaults.h"

#include <QTimer>

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
    QString why;
    QString *reason = error ? error : &why;
    const bool written = value.isUndefined() ? m_defaults.removeObjectForKey(key, reason)
                                             : m_defaults.setObject(key, value, reason);
    if (written) {
        m_shown.insert(key, value);
        emit stored();
        return true;
    }
    if (error)
        return false;
    emit refused(why);
    // Once the widget that made the change is done with it (a table may be amid an edit):
    // what is stored, since the change was not made.
    QTimer::singleShot(0, this, [this] {
        m_shown.clear();
        reload(m_defaults.snapshot());
    });
    return false;
}

} // namespace glimra
