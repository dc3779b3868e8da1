#pragma once

#include "platform/RunningApplications.h"
#include "desktop/DesktopEntries.h"

#include <QPointer>

#include <memory>
#include <optional>

namespace glimra {

class SwayIpc;
class WaylandSession;
class WaylandWindowList;
struct WaylandWindow;

/// The applications of a Wayland desktop, native windows included, from the compositor's
/// window list (KDE's plasma window management, or the wlroots foreign toplevel list):
/// each window is its own entry, identified by its app_id (an XWayland window's by its
/// WM_CLASS name where the list tells only that), named after the desktop entry of that
/// app_id, else the app_id. The process comes from the window list where it tells (KDE);
/// on sway, that of the focused window comes from sway's IPC, asked with a time bound when
/// the list is read. Keeps its session open. Main thread only.
class WaylandRunningApplications : public RunningApplications
{
    Q_OBJECT
public:
    /// Null when the compositor offers this program no window list.
    static std::unique_ptr<WaylandRunningApplications> create(const std::shared_ptr<WaylandSession> &session);
    ~WaylandRunningApplications() override;

    QList<RunningApplication> runningApplications() const override;
    /// KDE's list tells each window's place; sway's IPC tells the focused one's.
    QRect activeWindowGeometry() const override;
    /// The protocol the list comes from.
    QString mechanism() const;

private:
    WaylandRunningApplications(std::shared_ptr<WaylandSession> session, WaylandWindowList *list);
    void announceActive();
    /// The application of `window` as the focus tracker sees it (the process as the list tells).
    RunningApplication describe(const WaylandWindow &window) const;
    /// The process of the focused window, from sway; 0 when sway does not tell.
    qint64 focusedProcess() const;

    std::shared_ptr<WaylandSession> m_session;
    QPointer<WaylandWindowList> m_list;
    std::unique_ptr<SwayIpc> m_sway;
    mutable DesktopEntries m_entries;
};

} // namespace glimra
