#pragma once

#include "matching/Context.h"

#include <QJsonArray>
#include <QRect>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

namespace glimra {

class ApplicationScripts;
class RunningApplications;

/// Tells which application the user works in and on what: picks the front-most
/// application (skipping system applications in favour of the last one focused), asks its
/// application script's "selected_files" handler for a report on its front document and
/// window, and turns the report into the focus context (CTX_ keys). The script's argument
/// carries the facts of the application's front window (WindowFacts). Keeps no state.
/// Main thread only.
class FocusTracker
{
public:
    /// The record of the last focused application ("app_id", "app_name"), read when a
    /// guess needs it: the application delegate keeps it, and is made after the tracker.
    using LastFocused = std::function<QVariantMap()>;

    /// None of the collaborators is owned; each must outlive the tracker. `lastFocused`
    /// may be empty (no record).
    FocusTracker(const ApplicationScripts *applicationScripts,
                 const RunningApplications *runningApplications, LastFocused lastFocused);
    virtual ~FocusTracker() = default;

    /// The focus context of the front-most application, or nullopt.
    virtual std::optional<Context> contextForCurrentApp() const;
    /// The focus context for the application `windowClass` (may be null), or nullopt
    /// when no script reports anything.
    virtual std::optional<Context> contextForApp(const QString &windowClass) const;
    /// Where the front window is on the desktop, where the desktop tells it without
    /// searching (a Wayland compositor); null elsewhere.
    QRect frontWindowGeometry() const;

private:
    std::optional<Context> contextFor(const QString &windowClass,
                                      const QJsonArray &arguments) const;
    /// The context of a front window the desktop does not show: an empty identifier (no
    /// application script of its own) and the name "unknown".
    static Context unseenApplication();
    Context mkcontext(const QVariantMap &report, const QString &windowClass,
                      const QJsonArray &arguments) const;

    const ApplicationScripts *m_applicationScripts;
    const RunningApplications *m_runningApplications;
    LastFocused m_lastFocused;
};

} // namespace glimra
