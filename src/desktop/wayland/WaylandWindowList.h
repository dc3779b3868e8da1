#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

#include <optional>

namespace glimra {

class WaylandSession;

/// A top-level window as the compositor describes it to a window list.
struct WaylandWindow
{
    quint64 id = 0;       ///< this program's own number for it, unique while it is open
    QString appId;        ///< the application's id (the desktop entry's name, mostly); may be empty
    QString title;
    qint64 pid = 0;       ///< its process; 0 where the protocol does not tell
    QString resourceName; ///< an XWayland window's WM_CLASS name, where told
    bool active = false;  ///< it has the keyboard focus
    /// Where it is on the desktop, in the compositor's logical coordinates; null where the
    /// protocol does not tell.
    QRect geometry;
};

/// The compositor's list of top-level windows, native and XWayland, kept current from its
/// announcements. Made by create(); a child of its session. Main thread only.
class WaylandWindowList : public QObject
{
    Q_OBJECT
public:
    /// KDE's org_kde_plasma_window_management where offered (it tells the process), else
    /// zwlr_foreign_toplevel_manager_v1; null when the compositor offers neither to this
    /// program. The first state is known when it returns (one round trip).
    static WaylandWindowList *create(WaylandSession &session);

    /// The protocol in use.
    virtual QString interfaceName() const = 0;
    /// In the order they appeared.
    virtual QList<WaylandWindow> windows() const = 0;
    /// The window that has the keyboard focus; nullopt when none does (the desktop, a
    /// panel) or the compositor has not said.
    std::optional<WaylandWindow> activeWindow() const;

signals:
    /// Another window has the focus now (or none).
    void activeWindowChanged();

protected:
    using QObject::QObject;
};

} // namespace glimra
