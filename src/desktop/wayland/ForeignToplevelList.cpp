#include "ForeignToplevelList.h"

#include "WaylandSession.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <algorithm>

namespace glimra {

ForeignToplevelList *ForeignToplevelList::create(WaylandSession &session)
{
    auto *manager = static_cast<zwlr_foreign_toplevel_manager_v1 *>(
        session.bind(&zwlr_foreign_toplevel_manager_v1_interface, 3));
    return manager ? new ForeignToplevelList(session, manager) : nullptr;
}

ForeignToplevelList::ForeignToplevelList(WaylandSession &session, zwlr_foreign_toplevel_manager_v1 *manager)
    : WaylandWindowList(&session)
    , m_session(session)
    , m_manager(manager)
{
    static const zwlr_foreign_toplevel_manager_v1_listener listener = {
        .toplevel = &ForeignToplevelList::onToplevel,
        .finished = &ForeignToplevelList::onFinished,
    };
    zwlr_foreign_toplevel_manager_v1_add_listener(m_manager, &listener, this);
}

ForeignToplevelList::~ForeignToplevelList()
{
    for (auto &[handle, state] : m_handles)
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
    if (m_manager)
        zwlr_foreign_toplevel_manager_v1_destroy(m_manager);
    m_session.flush();
}

QString ForeignToplevelList::interfaceName() const
{
    return QString::fromLatin1(zwlr_foreign_toplevel_manager_v1_interface.name);
}

QList<WaylandWindow> ForeignToplevelList::windows() const
{
    QList<WaylandWindow> result;
    for (const auto &[handle, state] : m_handles) {
        if (state.announced)
            result.append(state.current);
    }
    std::sort(result.begin(), result.end(),
              [](const WaylandWindow &a, const WaylandWindow &b) { return a.id < b.id; });
    return result;
}

void ForeignToplevelList::onToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *,
                                     zwlr_foreign_toplevel_handle_v1 *handle)
{
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        .title = &ForeignToplevelList::onTitle,
        .app_id = &ForeignToplevelList::onAppId,
        .output_enter = &ForeignToplevelList::onOutput,
        .output_leave = &ForeignToplevelList::onOutput,
        .state = &ForeignToplevelList::onState,
        .done = &ForeignToplevelList::onDone,
        .closed = &ForeignToplevelList::onClosed,
        .parent = &ForeignToplevelList::onParent,
    };
    auto *self = static_cast<ForeignToplevelList *>(data);
    Handle &state = self->m_handles[handle];
    state.pending.id = self->m_nextId++;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, self);
}

void ForeignToplevelList::onFinished(void *data, zwlr_foreign_toplevel_manager_v1 *)
{
    auto *self = static_cast<ForeignToplevelList *>(data);
    zwlr_foreign_toplevel_manager_v1_destroy(self->m_manager);
    self->m_manager = nullptr;
}

void ForeignToplevelList::onTitle(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title)
{
    static_cast<ForeignToplevelList *>(data)->m_handles[handle].pending.title = QString::fromUtf8(title);
}

void ForeignToplevelList::onAppId(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *appId)
{
    static_cast<ForeignToplevelList *>(data)->m_handles[handle].pending.appId = QString::fromUtf8(appId);
}

void ForeignToplevelList::onState(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *states)
{
    bool activated = false;
    const auto *state = static_cast<const quint32 *>(states->data);
    for (size_t i = 0; i < states->size / sizeof(quint32); ++i)
        activated = activated || state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    static_cast<ForeignToplevelList *>(data)->m_handles[handle].pending.active = activated;
}

void ForeignToplevelList::onDone(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
{
    auto *self = static_cast<ForeignToplevelList *>(data);
    Handle &state = self->m_handles[handle];
    const bool focusChanged = state.pending.active != (state.announced && state.current.active);
    state.current = state.pending;
    state.announced = true;
    if (focusChanged)
        emit self->activeWindowChanged();
}

void ForeignToplevelList::onClosed(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
{
    auto *self = static_cast<ForeignToplevelList *>(data);
    const bool wasActive = self->m_handles[handle].current.active;
    self->m_handles.erase(handle);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
    if (wasActive)
        emit self->activeWindowChanged();
}

} // namespace glimra
