#pragma once

#include "desktop/wayland/CapabilityProbe.h"

namespace glimra {

/// What `glimra doctor` tells: for the running session, how each of the program's needs is
/// met (the selection, the front application, the clipboard, the keystroke, the shortcut),
/// whether that answered when tried, and what the user can do about a missing one. In a
/// Wayland session each mechanism the compositor offers is tried on a connection of its
/// own (CapabilityProbe); in an X11 session nothing of Wayland is connected to.
class DesktopDoctor
{
public:
    static CapabilityReport examine(const CapabilityProbe::Options &options);

private:
    static CapabilityReport examineX11();
    /// The clipboard's line: data control owns it for a restore where offered, else X11.
    static Capability waylandClipboard(const CapabilityReport &report);
};

} // namespace glimra
