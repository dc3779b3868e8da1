#include "desktop/WaylandRunningApplications.h"

#include "desktop/wayland/SwayIpc.h"
#include "desktop/wayland/WaylandSession.h"
#include "desktop/wayland/WaylandWindowList.h"

#include <chrono>

namespace glimra {

namespace {

// sway answers its IPC within a millisecond or two; a stalled one costs the guess at most this.
constexpr std::chrono::milliseconds SwayAnswer{300};

} // namespace

std::unique_ptr<WaylandRunningApplications>
WaylandRunningApplications::create(const std::shared_ptr<WaylandSession> &session)
{
    WaylandWindowList *list = session ? WaylandWindowList::create(*session) : nullptr;
    if (!list)
        return nullptr;
    // KDE's list announces each window, and tells its app_id, process and state only when
    // asked for that window: one more round trip, so that a guess made at once finds the
    // active window.
    session->roundTrip(std::chrono::seconds(2));
    return std::unique_ptr<WaylandRunningApplications>(new WaylandRunningApplications(session, list));
}

WaylandRunningApplications::WaylandRunningApplications(std::shared_ptr<WaylandSession> session,
                                                       WaylandWindowList *list)
    : m_session(std::move(session)), m_list(list)
{
    if (!qEnvironmentVariableIsEmpty("SWAYSOCK"))
        m_sway = std::make_unique<SwayIpc>();
    connect(list, &WaylandWindowList::activeWindowChanged, this, &WaylandRunningApplications::announceActive);
}

WaylandRunningApplications::~WaylandRunningApplications() = default;

QString WaylandRunningApplications::mechanism() const
{
    return m_list ? m_list->interfaceName() : QString();
}

qint64 WaylandRunningApplications::focusedProcess() const
{
    if (!m_sway)
        return 0;
    const std::optional<SwayIpc::FocusedWindow> focused = m_sway->focusedWindow(SwayAnswer);
    return focused ? focused->pid : 0;
}

RunningApplication WaylandRunningApplications::describe(const WaylandWindow &window) const
{
    RunningApplication application;
    const QString identifier = window.appId.isEmpty() ? window.resourceName : window.appId;
    application.windowClass = identifier.isEmpty() ? QString() : identifier;
    const QString entryName = m_entries.nameForWindowClass(identifier);
    application.name = entryName.isNull() ? application.windowClass : entryName;
    application.active = window.active;
    application.pid = window.pid;
    application.windowId = window.id;
    application.windowTitle = window.title;
    return application;
}

QList<RunningApplication> WaylandRunningApplications::runningApplications() const
{
    QList<RunningApplication> applications;
    if (!m_list)
        return applications;
    for (const WaylandWindow &window : m_list->windows()) {
        RunningApplication application = describe(window);
        if (application.active && application.pid == 0)
            application.pid = focusedProcess();
        applications.append(application);
    }
    return applications;
}

QRect WaylandRunningApplications::activeWindowGeometry() const
{
    // sway's tree first: it tells where the window is now, where the window list tells only
    // the output sway last announced for it (a window moved to another output was still
    // announced on the first one in our tests of sway 1.7).
    if (m_sway) {
        const std::optional<SwayIpc::FocusedWindow> focused = m_sway->focusedWindow(SwayAnswer);
        if (focused && focused->rect.isValid())
            return focused->rect;
    }
    const std::optional<WaylandWindow> active = m_list ? m_list->activeWindow() : std::nullopt;
    return active ? active->geometry : QRect();
}

void WaylandRunningApplications::announceActive()
{
    if (!m_list)
        return;
    if (const std::optional<WaylandWindow> active = m_list->activeWindow()) {
        const RunningApplication application = describe(*active);
        emit applicationActivated(application.windowClass, application.name);
    }
}

} // namespace glimra
