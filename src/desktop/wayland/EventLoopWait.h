#pragma once

#include <QDeadlineTimer>

#include <functional>

namespace glimra {

/// Runs the event loop until `done` holds or `deadline` passes; true when `done` held.
/// Everything the Wayland client waits for (a round trip, a pipe, a bus reply) is waited
/// for this way, so the program's other work goes on meanwhile and nothing blocks.
bool waitWithEventLoop(const std::function<bool()> &done, QDeadlineTimer deadline);

} // namespace glimra
