#pragma once

#include <QStringList>

namespace glimra {

/// glimra keys CHORD...
/// Types each chord ("ctrl+v", "shift+Insert") into the window that has the keyboard focus
/// on a Wayland desktop, through the compositor's virtual keyboard or KDE's fake input: what
/// xdotool does for X11 windows, for the application scripts. Native windows of a desktop
/// that lets no program type (GNOME) get nothing: the status is NoKeystrokeHere, and the
/// message says so. Without a Wayland session to type into it is NoWaylandSession, as
/// the commands that need an X display answer without one.
class KeysCommand
{
public:
    /// The exit status when this desktop lets no program type into a native window.
    static constexpr int NoKeystrokeHere = 3;
    /// The exit status when no Wayland compositor answers ($WAYLAND_DISPLAY unset or gone).
    static constexpr int NoWaylandSession = 5;

    static int run(const QStringList &arguments);
};

} // namespace glimra
