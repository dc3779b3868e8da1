#include "WaylandWindowList.h"

#include "ForeignToplevelList.h"
#include "PlasmaWindowList.h"
#include "WaylandSession.h"

namespace glimra {

WaylandWindowList *WaylandWindowList::create(WaylandSession &session)
{
    WaylandWindowList *list = PlasmaWindowList::create(session);
    if (!list)
        list = ForeignToplevelList::create(session);
    if (list)
        session.roundTrip(std::chrono::seconds(1));
    return list;
}

std::optional<WaylandWindow> WaylandWindowList::activeWindow() const
{
    const QList<WaylandWindow> all = windows();
    for (const WaylandWindow &window : all) {
        if (window.active)
            return window;
    }
    return std::nullopt;
}

} // namespace glimra
