#pragma once

#include "WaylandWindowList.h"

#include <map>
#include <memory>

struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
struct wl_array;
struct wl_output;

namespace glimra {

class WaylandOutputs;

/// The window list of wlroots compositors (sway, Hyprland, labwc, river…):
/// zwlr_foreign_toplevel_manager_v1 tells each window's app_id, title and whether it is
/// activated, and on which output it is (its geometry is that output's place), but not its
/// process.
class ForeignToplevelList : public WaylandWindowList
{
    Q_OBJECT
public:
    /// Null when the compositor does not offer the protocol.
    static ForeignToplevelList *create(WaylandSession &session);
    ~ForeignToplevelList() override;

    QString interfaceName() const override;
    QList<WaylandWindow> windows() const override;

private:
    ForeignToplevelList(WaylandSession &session, zwlr_foreign_toplevel_manager_v1 *manager,
                        std::unique_ptr<WaylandOutputs> outputs);

    // A window's state is applied when the compositor says it is complete ("done").
    struct Handle
    {
        WaylandWindow current;
        WaylandWindow pending;
        bool announced = false;
        wl_output *output = nullptr; ///< the output it last entered
    };

    static void onToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *, zwlr_foreign_toplevel_handle_v1 *handle);
    static void onFinished(void *data, zwlr_foreign_toplevel_manager_v1 *);
    static void onTitle(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title);
    static void onAppId(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *appId);
    static void onOutputEnter(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_output *output);
    static void onOutputLeave(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_output *output);
    static void onState(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *states);
    static void onDone(void *data, zwlr_foreign_toplevel_handle_v1 *handle);
    static void onClosed(void *data, zwlr_foreign_toplevel_handle_v1 *handle);
    static void onParent(void *, zwlr_foreign_toplevel_handle_v1 *, zwlr_foreign_toplevel_handle_v1 *) {}

    WaylandSession &m_session;
    zwlr_foreign_toplevel_manager_v1 *m_manager;
    std::unique_ptr<WaylandOutputs> m_outputs;
    std::map<zwlr_foreign_toplevel_handle_v1 *, Handle> m_handles;
    quint64 m_nextId = 1;
};

} // namespace glimra
