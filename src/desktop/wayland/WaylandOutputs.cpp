#include "WaylandOutputs.h"

#include "WaylandSession.h"

#include <wayland-client-protocol.h>

namespace glimra {

namespace {

// Version 3 tells the place, the mode and the scale, and can be released; version 4's name
// and description are not needed.
constexpr quint32 OutputVersion = 3;

} // namespace

WaylandOutputs::WaylandOutputs(WaylandSession &session)
    : m_session(session)
{
    for (const WaylandGlobal &global : session.globals())
        add(global);
    connect(&session, &WaylandSession::globalAdded, this, [this](const WaylandGlobal &global) { add(global); });
    connect(&session, &WaylandSession::globalRemoved, this, [this](quint32 name) { remove(name); });
}

WaylandOutputs::~WaylandOutputs()
{
    for (const auto &[output, state] : m_outputs)
        wl_output_release(output);
    m_session.flush();
}

QRect WaylandOutputs::rectOf(wl_output *output) const
{
    const auto found = m_outputs.find(output);
    if (found == m_outputs.end() || found->second.mode.isEmpty())
        return {};
    const Output &state = found->second;
    QSize size = state.mode / std::max(state.scale, 1);
    if (state.turned)
        size.transpose();
    return {state.position, size};
}

void WaylandOutputs::add(const WaylandGlobal &global)
{
    if (global.interface != QLatin1String(wl_output_interface.name) || global.version < OutputVersion)
        return;
    static const wl_output_listener listener = {
        .geometry = &WaylandOutputs::onGeometry,
        .mode = &WaylandOutputs::onMode,
        .done = &WaylandOutputs::onDone,
        .scale = &WaylandOutputs::onScale,
        .name = nullptr,
        .description = nullptr,
    };
    auto *output = static_cast<wl_output *>(m_session.bind(global, &wl_output_interface, OutputVersion));
    if (!output)
        return;
    m_outputs[output].name = global.name;
    wl_output_add_listener(output, &listener, this);
}

void WaylandOutputs::remove(quint32 name)
{
    for (auto it = m_outputs.begin(); it != m_outputs.end(); ++it) {
        if (it->second.name == name) {
            wl_output_release(it->first);
            m_outputs.erase(it);
            return;
        }
    }
}

void WaylandOutputs::onGeometry(void *data, wl_output *output, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                                const char *, const char *, int32_t transform)
{
    Output &state = static_cast<WaylandOutputs *>(data)->m_outputs[output];
    state.position = {x, y};
    // 90 and 270 degrees, flipped or not, are the odd transforms.
    state.turned = transform % 2 == 1;
}

void WaylandOutputs::onMode(void *data, wl_output *output, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    if (flags & WL_OUTPUT_MODE_CURRENT)
        static_cast<WaylandOutputs *>(data)->m_outputs[output].mode = {width, height};
}

void WaylandOutputs::onScale(void *data, wl_output *output, int32_t factor)
{
    static_cast<WaylandOutputs *>(data)->m_outputs[output].scale = factor;
}

} // namespace glimra
