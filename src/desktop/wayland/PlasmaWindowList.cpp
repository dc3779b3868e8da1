#include "PlasmaWindowList.h"

#include "WaylandSession.h"

#include "plasma-window-management-client-protocol.h"

#include <algorithm>

namespace glimra {

namespace {

// The events this list has no use for.
void ignoreText(void *, org_kde_plasma_window *, const char *) {}
void ignoreNumber(void *, org_kde_plasma_window *, int32_t) {}
void ignoreNothing(void *, org_kde_plasma_window *) {}
void ignoreParent(void *, org_kde_plasma_window *, org_kde_plasma_window *) {}
void ignoreMenu(void *, org_kde_plasma_window *, const char *, const char *) {}
void ignoreShowDesktop(void *, org_kde_plasma_window_management *, uint32_t) {}
void ignoreStacking(void *, org_kde_plasma_window_management *, wl_array *) {}
void ignoreStackingUuids(void *, org_kde_plasma_window_management *, const char *) {}

} // namespace

PlasmaWindowList *PlasmaWindowList::create(WaylandSession &session)
{
    quint32 version = 0;
    auto *manager = static_cast<org_kde_plasma_window_management *>(
        session.bind(&org_kde_plasma_window_management_interface, 16, &version));
    return manager ? new PlasmaWindowList(session, manager, version) : nullptr;
}

PlasmaWindowList::PlasmaWindowList(WaylandSession &session, org_kde_plasma_window_management *manager,
                                   quint32 version)
    : WaylandWindowList(&session)
    , m_session(session)
    , m_manager(manager)
    , m_version(version)
{
    static const org_kde_plasma_window_management_listener listener = {
        .show_desktop_changed = &ignoreShowDesktop,
        .window = &PlasmaWindowList::onWindow,
        .stacking_order_changed = &ignoreStacking,
        .stacking_order_uuid_changed = &ignoreStackingUuids,
        .window_with_uuid = &PlasmaWindowList::onWindowWithUuid,
    };
    org_kde_plasma_window_management_add_listener(m_manager, &listener, this);
}

PlasmaWindowList::~PlasmaWindowList()
{
    for (auto &[window, state] : m_windows)
        org_kde_plasma_window_destroy(window);
    org_kde_plasma_window_management_destroy(m_manager);
    m_session.flush();
}

QString PlasmaWindowList::interfaceName() const
{
    return QString::fromLatin1(org_kde_plasma_window_management_interface.name);
}

QList<WaylandWindow> PlasmaWindowList::windows() const
{
    QList<WaylandWindow> result;
    for (const auto &[window, state] : m_windows) {
        if (state.known)
            result.append(state.state);
    }
    std::sort(result.begin(), result.end(),
              [](const WaylandWindow &a, const WaylandWindow &b) { return a.id < b.id; });
    return result;
}

void PlasmaWindowList::watch(org_kde_plasma_window *window)
{
    static const org_kde_plasma_window_listener listener = {
        .title_changed = &PlasmaWindowList::onTitle,
        .app_id_changed = &PlasmaWindowList::onAppId,
        .state_changed = &PlasmaWindowList::onState,
        .virtual_desktop_changed = &ignoreNumber,
        .themed_icon_name_changed = &ignoreText,
        .unmapped = &PlasmaWindowList::onUnmapped,
        .initial_state = &PlasmaWindowList::onInitialState,
        .parent_window = &ignoreParent,
        .geometry = &PlasmaWindowList::onGeometry,
        .icon_changed = &ignoreNothing,
        .pid_changed = &PlasmaWindowList::onPid,
        .virtual_desktop_entered = &ignoreText,
        .virtual_desktop_left = &ignoreText,
        .application_menu = &ignoreMenu,
        .activity_entered = &ignoreText,
        .activity_left = &ignoreText,
        .resource_name_changed = &PlasmaWindowList::onResourceName,
    };
    Window &state = m_windows[window];
    state.state.id = m_nextId++;
    // Before version 4 no event says the first state is complete.
    state.known = m_version < ORG_KDE_PLASMA_WINDOW_INITIAL_STATE_SINCE_VERSION;
    org_kde_plasma_window_add_listener(window, &listener, this);
}

void PlasmaWindowList::forget(org_kde_plasma_window *window)
{
    const bool wasActive = m_windows[window].state.active;
    m_windows.erase(window);
    org_kde_plasma_window_destroy(window);
    if (wasActive)
        emit activeWindowChanged();
}

PlasmaWindowList::Window &PlasmaWindowList::windowOf(void *data, org_kde_plasma_window *window)
{
    return static_cast<PlasmaWindowList *>(data)->m_windows[window];
}

void PlasmaWindowList::onWindow(void *data, org_kde_plasma_window_management *manager, quint32 id)
{
    auto *self = static_cast<PlasmaWindowList *>(data);
    // From version 13 on every window is announced by uuid too, and taken from there.
    if (self->m_version < ORG_KDE_PLASMA_WINDOW_MANAGEMENT_WINDOW_WITH_UUID_SINCE_VERSION)
        self->watch(org_kde_plasma_window_management_get_window(manager, id));
}

void PlasmaWindowList::onWindowWithUuid(void *data, org_kde_plasma_window_management *manager, quint32,
                                        const char *uuid)
{
    static_cast<PlasmaWindowList *>(data)->watch(org_kde_plasma_window_management_get_window_by_uuid(manager, uuid));
}

void PlasmaWindowList::onTitle(void *data, org_kde_plasma_window *window, const char *title)
{
    windowOf(data, window).state.title = QString::fromUtf8(title);
}

void PlasmaWindowList::onAppId(void *data, org_kde_plasma_window *window, const char *appId)
{
    windowOf(data, window).state.appId = QString::fromUtf8(appId);
}

void PlasmaWindowList::onState(void *data, org_kde_plasma_window *window, quint32 flags)
{
    Window &state = windowOf(data, window);
    const bool active = flags & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE;
    const bool changed = state.known && active != state.state.active;
    state.state.active = active;
    if (changed)
        emit static_cast<PlasmaWindowList *>(data)->activeWindowChanged();
}

void PlasmaWindowList::onUnmapped(void *data, org_kde_plasma_window *window)
{
    static_cast<PlasmaWindowList *>(data)->forget(window);
}

void PlasmaWindowList::onInitialState(void *data, org_kde_plasma_window *window)
{
    Window &state = windowOf(data, window);
    state.known = true;
    if (state.state.active)
        emit static_cast<PlasmaWindowList *>(data)->activeWindowChanged();
}

void PlasmaWindowList::onPid(void *data, org_kde_plasma_window *window, quint32 pid)
{
    windowOf(data, window).state.pid = pid;
}

void PlasmaWindowList::onGeometry(void *data, org_kde_plasma_window *window, qint32 x, qint32 y,
                                  quint32 width, quint32 height)
{
    windowOf(data, window).state.geometry = QRect(x, y, int(width), int(height));
}

void PlasmaWindowList::onResourceName(void *data, org_kde_plasma_window *window, const char *name)
{
    windowOf(data, window).state.resourceName = QString::fromUtf8(name);
}

} // namespace glimra
