#pragma once

#include <QtGlobal>

namespace glimra {

/// Asks the window manager to activate one of this program's windows as a pager or task
/// bar does (_NET_ACTIVE_WINDOW with the source indication 2). Focus-stealing prevention
/// holds back an application's own request when the program has seen no input event of
/// late: the case of a window shown for a request that came over the bus or a portal.
class X11WindowActivation
{
public:
    /// Sends the request for `window` (an X11 window id) on the application's X
    /// connection; does nothing without one.
    static void activate(quint32 window);
};

} // namespace glimra
