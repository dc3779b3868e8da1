#pragma once

#include <QString>

namespace glimra {

/// True when the application name or identifier is exactly (case included) one of
/// "Pelorant", "Glimra", "System Events", or the window class of a Linux
/// desktop shell, panel, dock or notification daemon ("Gnome-shell", "plasmashell",
/// "Xfce4-panel", "Dunst", …): applications that never count as the one the user works in.
/// A null text is not a system application.
bool isSystemApp(const QString &nameOrIdentifier);

} // namespace glimra
