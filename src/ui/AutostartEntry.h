#pragma once

#include <QString>

namespace glimra {

/// Starting Glimra at login: the XDG autostart entry $XDG_CONFIG_HOME/autostart/
/// org.glimra.Glimra.desktop, a copy of the installed desktop entry that names the program
/// by its absolute path: at login, $PATH may be another than the one Glimra was set up
/// with, or hold a folder where another program of that name waits.
class AutostartEntry
{
public:
    static QString path();
    static bool isEnabled();
    /// Writes or removes the entry; false with the reason when that failed.
    static bool setEnabled(bool enabled, QString *error = nullptr);

    /// The glimra program: beside this one (the build tree), else where it is installed
    /// relative to this one's folder, else where it was to be installed.
    static QString program();
    /// `entry` with the program of its Exec lines replaced by `program`, quoted as the
    /// freedesktop desktop entry format asks.
    static QByteArray withProgram(const QByteArray &entry, const QString &program);
};

} // namespace glimra
