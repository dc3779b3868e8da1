#include "ForeignToplevelList.h"

#include "WaylandOutputs.h"
#include "WaylandSession.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <algorithm>

namespace glimra {

ForeignToplevelList *ForeignToplevelList::create(WaylandSession &session)
{
    if (session.version(QString::fromLatin1(zwlr_foreign_toplevel_manager_v1_interface.name)) == 0)
        return nullptr;
    // The outputs first: the compositor says which of ours each window is on as it announces
    // the window.
    auto outputs = std::make_unique<WaylandOutputs>(session);
    auto *manager = static_cast<zwlr_foreign_toplevel_manager_v1 *>(
        session.bind(&zwlr_foreign_toplevel_manager_v1_interface, 3));
    return manager ? new ForeignToplevelList(session, manager, std::move(outputs)) : nullptr;
}

ForeignToplevelList::ForeignToplevelList(WaylandSession &session, zwlr_foreign_toplevel_manager_v1 *manager,
                                         std::unique_ptr<WaylandOutputs> outputs)
    : WaylandWindowList(&session)
    , m_session(session)
    , m_manager(manager)
    , m_outputs(std::move(outputs))
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
    // The manager has no destructor request: the compositor goes on announcing windows to
    // it until it has read `stop`, each with a new object. Forgotten at once, those objects
    // would leave the connection's ids out of step with the compositor's, which ends the
    // connection with a protocol error (seen when a list was made again on the same
    // connection). The manager lives on without us until `finished`, and what it still
    // announces is let go.
    if (m_manager) {
        wl_proxy_set_user_data(reinterpret_cast<wl_proxy *>(m_manager), nullptr);
        zwlr_foreign_toplevel_manager_v1_stop(m_manager);
    }
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
        if (!state.announced)
            continue;
        result.append(state.current);
        // The protocol tells no window's place, only its output's.
        result.last().geometry = m_outputs->rectOf(state.output);
    }
    std::sort(result.begin(), result.end(),
              [](const WaylandWindow &a, const WaylandWindow &b) { return a.id < b.id; });
    return result;
}

void ForeignToplevelList::onToplevel(void *data, zwlr_foreign_toplevel_manager_v1 *,
                                     zwlr_foreign_toplevel_handle_v1 *handle)
{
    // Announced after the list was gone: let go at once.
    if (!data) {
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
        return;
    }
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        .title = &ForeignToplevelList::onTitle,
        .app_id = &ForeignToplevelList::onAppId,
        .output_enter = &ForeignToplevelList::onOutputEnter,
        .output_leave = &ForeignToplevelList::onOutputLeave,
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

void ForeignToplevelList::onFinished(void *data, zwlr_foreign_toplevel_manager_v1 *manager)
{
    zwlr_foreign_toplevel_manager_v1_destroy(manager);
    // Null once the list is gone (see the destructor).
    if (auto *self = static_cast<ForeignToplevelList *>(data))
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

void ForeignToplevelList::onOutputEnter(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_output *output)
{
    static_cast<ForeignToplevelList *>(data)->m_handles[handle].output = output;
}

void ForeignToplevelList::onOutputLeave(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_output *output)
{
    Handle &state = static_cast<ForeignToplevelList *>(data)->m_handles[handle];
    if (state.output == output)
        state.output = nullptr;
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
