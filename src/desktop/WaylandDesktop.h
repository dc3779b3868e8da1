#pragma once

#include "platform/Clipboard.h"
#include "platform/RunningApplications.h"

#include <QString>

#include <functional>
#include <memory>

namespace glimra {

class WaylandSession;

/// What this program uses of a Wayland session, chosen capability by capability from what
/// the compositor offers it, on a connection of its own: the selections through data
/// control, the front window through the compositor's window list (with sway's IPC for its
/// process), the copy keystroke through a virtual keyboard or KDE's fake input. A capability
/// the compositor does not offer is null, and the X11 one (XWayland) stays in use for it.
/// Made only in a Wayland session: on X11 nothing of it is connected to. Main thread only.
class WaylandDesktop
{
public:
    /// Connects when this is a Wayland session ($WAYLAND_DISPLAY set, the compositor
    /// answering, $XDG_SESSION_TYPE not "x11"); null otherwise, with the reason in `problem`.
    static std::unique_ptr<WaylandDesktop> connect(QString *problem = nullptr);
    ~WaylandDesktop();

    /// The seat's PRIMARY selection and clipboard; null without data control (or, for
    /// PRIMARY, with a data control that has none).
    std::shared_ptr<Clipboard> primary() const { return m_primary; }
    std::shared_ptr<Clipboard> clipboard() const { return m_clipboard; }
    /// The applications of every window, native ones included; null without a window list.
    std::shared_ptr<RunningApplications> runningApplications() const { return m_applications; }
    /// Sends the copy keystroke to the focused window; null when the compositor lets this
    /// program type no keys.
    std::function<void()> copyKeystroke() const { return m_copyKeystroke; }

    /// The protocol behind each capability; empty where there is none.
    QString selectionMechanism() const { return m_selectionMechanism; }
    QString windowListMechanism() const { return m_windowListMechanism; }
    QString keystrokeMechanism() const { return m_keystrokeMechanism; }

private:
    explicit WaylandDesktop(std::shared_ptr<WaylandSession> session);

    std::shared_ptr<WaylandSession> m_session;
    std::shared_ptr<Clipboard> m_primary;
    std::shared_ptr<Clipboard> m_clipboard;
    std::shared_ptr<RunningApplications> m_applications;
    std::function<void()> m_copyKeystroke;
    QString m_selectionMechanism;
    QString m_windowListMechanism;
    QString m_keystrokeMechanism;
};

} // namespace glimra
