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

signals:
    /// A change of the user's was not written, for the reason `why`.
    void refused(const QString &why);
    /// A change of the user's was written.
    void stored();

protected:
    /// Shows the values of `settings` for this page's keys.
    virtual void load(const Settings &settings) = 0;
    /// The keys this page edits.
    virtual QStringList keys() const = 0;

    /// Writes `value` under `key` (an undefined value removes the key); false with the
    /// reason in `error` when it was refused. Without `error`, a refusal is said (refused())
    /// and the page shows again what is stored, not the change that was not made.
    bool store(const QString &key, const QJsonValue &value, QString *error = nullptr);
    UserDefaults &defaults() const { return m_defaults; }

private:
    UserDefaults &m_defaults;
    QHash<QString, QJsonValue> m_shown;
};

} // namespace glimra
