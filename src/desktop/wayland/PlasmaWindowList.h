#pragma once

#include "WaylandWindowList.h"

#include <map>

struct org_kde_plasma_window_management;
struct org_kde_plasma_window;

namespace glimra {

/// KDE Plasma's window list: org_kde_plasma_window_management tells each window's app_id,
/// title, process and whether it is active. KWin offers it only to a program whose
/// executable is named by an installed desktop entry carrying
/// "X-KDE-Wayland-Interfaces=org_kde_plasma_window_management".
class PlasmaWindowList : public WaylandWindowList
{
    Q_OBJECT
public:
    /// Null when the compositor does not offer the protocol to this program.
    static PlasmaWindowList *create(WaylandSession &session);
    ~PlasmaWindowList() override;

    QString interfaceName() const override;
    QList<WaylandWindow> windows() const override;

private:
    PlasmaWindowList(WaylandSession &session, org_kde_plasma_window_management *manager, quint32 version);

    struct Window
    {
        WaylandWindow state;
        bool known = false; ///< its first state has arrived
    };

    void watch(org_kde_plasma_window *window);
    void forget(org_kde_plasma_window *window);
    static Window &windowOf(void *data, org_kde_plasma_window *window);

    static void onWindow(void *data, org_kde_plasma_window_management *, quint32 id);
    static void onWindowWithUuid(void *data, org_kde_plasma_window_management *, quint32 id, const char *uuid);
    static void onTitle(void *data, org_kde_plasma_window *window, const char *title);
    static void onAppId(void *data, org_kde_plasma_window *window, const char *appId);
    static void onState(void *data, org_kde_plasma_window *window, quint32 flags);
    static void onUnmapped(void *data, org_kde_plasma_window *window);
    static void onInitialState(void *data, org_kde_plasma_window *window);
    static void onPid(void *data, org_kde_plasma_window *window, quint32 pid);
    static void onGeometry(void *data, org_kde_plasma_window *window, qint32 x, qint32 y,
                           quint32 width, quint32 height);
    static void onResourceName(void *data, org_kde_plasma_window *window, const char *name);

    WaylandSession &m_session;
    org_kde_plasma_window_management *m_manager;
    quint32 m_version;
    std::map<org_kde_plasma_window *, Window> m_windows;
    quint64 m_nextId = 1;
};

} // namespace glimra
