#pragma once

#include <QStringList>

namespace glimra {

/// glimra keys CHORD...
/// Types each chord ("ctrl+v", "shift+Insert") into the window that has the keyboard focus
/// on a Wayland desktop, through the compositor's virtual keyboard or KDE's fake input: what
/// xdotool does for X11 windows, for the application scripts. Native windows of a desktop
/// that lets no program type (GNOME) get nothing: the status is NoKeystrokeHere, and the
/// message says so.
class KeysCommand
{
public:
    /// The exit status when this desktop lets no program type into a native window.
    static constexpr int NoKeystrokeHere = 3;

    static int run(const QStringList &arguments);
};

} // namespace glimra
