#pragma once

#include <QString>

#include <functional>

namespace glimra {

/// A tiny registry of named events, keyed by the object that owns them (the application
/// delegate). "refresh_plugins" is the one event the program uses. Main thread only.
using EventCallback = std::function<void()>;

/// Calls `callback` whenever `name` is posted or sent on `owner`.
void bind_event(const void *owner, const QString &name, const void *target,
                EventCallback callback);
/// Calls every callback bound to `name` on `owner` on a later turn of the event loop
/// (at once when no event loop exists).
void post_event(const void *owner, const QString &name);
/// Calls every callback bound to `name` on `owner` now.
void send_event(const void *owner, const QString &name);
/// Removes every binding of `target` on `owner`.
void unbind_event(const void *owner, const void *target);

} // namespace glimra
