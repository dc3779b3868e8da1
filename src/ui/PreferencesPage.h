#pragma once

#include "platform/Settings.h"

#include <QHash>
#include <QJsonValue>
#include <QWidget>

namespace glimra {

class UserDefaults;

/// One page of the preferences window. A page writes every change at once, one key at a
/// time (atomically and under the settings lock, by UserDefaults), and shows a change made
/// elsewhere when the settings file changes, unless it is the page's own. Main thread only.
class PreferencesPage : public QWidget
{
    Q_OBJECT
public:
    PreferencesPage(UserDefaults &defaults, QWidget *parent = nullptr);

    /// Shows `settings`; a value the page already shows is left alone (the user may be
    /// editing it).
    void reload(const Settings &settings);

protected:
    /// Shows the values of `settings` for this page's keys.
    virtual void load(const Settings &settings) = 0;
    /// The keys this page edits.
    virtual QStringList keys() const = 0;

    /// Writes `value` under `key` (an undefined value removes the key); false with the
    /// reason in `error` when it was refused.
    bool store(const QString &key, const QJsonValue &value, QString *error = nullptr);
    UserDefaults &defaults() const { return m_defaults; }

private:
    UserDefaults &m_defaults;
    QHash<QString, QJsonValue> m_shown;
};

} // namespace glimra
