#pragma once

#include <QString>

namespace glimra {

/// Starting Glimra at login: the XDG autostart entry $XDG_CONFIG_HOME/autostart/
/// org.glimra.Glimra.desktop, a copy of the installed desktop entry.
class AutostartEntry
{
public:
    static QString path();
    static bool isEnabled();
    /// Writes or removes the entry; false with the reason when that failed.
    static bool setEnabled(bool enabled, QString *error = nullptr);
};

} // namespace glimra
