#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include "desktop/wayland/ShortcutBinding.h"

namespace glimra {

class UserDefaults;

/// What the two shortcut settings may hold: one key combination of keys this program
/// knows ("Ctrl+Alt+Y"), or empty for none, and never the other shortcut's combination.
/// Checked wherever a setting is written (glimra defaults write, Preferences), once
/// installed.
struct ShortcutSettings
{
    /// Why `value` cannot be stored under `key` beside the settings `all`; null when it
    /// can, or when `key` is no shortcut.
    /// The command line's words: in English.
    static QString problem(const QString &key, const QJsonValue &value, const QJsonObject &all);
    /// The same in the user's language, for a window.
    static QString shownProblem(const QString &key, const QJsonValue &value, const QJsonObject &all);
    /// Has UserDefaults check every write with problem().
    static void install();
    /// What the desktop binds for the shortcut settings in `defaults` (the defaults where
    /// none is set; a shortcut turned off is left out): the keys, and the glimra command
    /// that each runs.
    static QList<ShortcutBinding> bindings(const UserDefaults &defaults);
};

} // namespace glimra
