#pragma once

#include "desktop/wayland/ShortcutBinding.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

namespace glimra {

class BindingInstaller;
class GlobalShortcutsPortal;
class UserDefaults;

/// The resident application's two shortcuts in a Wayland session, where a key grab of
/// Xwayland's sees only keys pressed over its own windows. The GlobalShortcuts portal
/// where one answers (KDE Plasma): its session's token is fixed, so the keys the user
/// rebinds in the desktop's settings stay theirs, and an activation is a shortcut request
/// as the X11 grab's is. Elsewhere the desktop's own binding runs `glimra guess` or
/// `glimra clipboard`: it is written by `glimra shortcut install` (or the button in
/// Preferences), and a binding Glimra wrote is rewritten when a shortcut setting changes;
/// nothing Glimra did not write is touched. Main thread only.
class WaylandShortcuts : public QObject
{
    Q_OBJECT
public:
    /// The ids of the two shortcuts, as DesktopApplication numbers them.
    enum Id { GuessSelection = 0, GuessClipboard = 1 };

    /// True in a Wayland session ($WAYLAND_DISPLAY set, $XDG_SESSION_TYPE not "x11").
    static bool isWaylandSession();

    /// `defaults` must outlive it. `installer`: the desktop's binding; by default the one
    /// of this session's desktop.
    explicit WaylandShortcuts(const UserDefaults &defaults, std::unique_ptr<BindingInstaller> installer = {},
                              QObject *parent = nullptr);
    ~WaylandShortcuts() override;

    /// Opens the portal's session (on `bus`) with the shortcuts of the settings, waiting at most
    /// `timeout` (the event loop runs meanwhile); where none answers, brings a binding
    /// Glimra wrote in line with the settings. True when the portal serves the shortcuts.
    bool start(std::chrono::milliseconds timeout, const QDBusConnection &bus = QDBusConnection::sessionBus());
    bool usesPortal() const;
    /// A shortcut setting may have changed: a binding Glimra wrote is rewritten when the
    /// keys differ from those it was written with. Nothing when the portal serves them. The
    /// desktop's programs it runs (gsettings) are waited for with the event loop turning.
    void settingsChanged();
    /// What `glimra shortcut install` does: binds the settings' shortcuts in the desktop's
    /// configuration (or takes the binding out when both are off). Refused while a binding
    /// is being written.
    BindingChange install();
    /// The keys that run the shortcut of `settingsKey`, for people: those the portal says
    /// the desktop binds (the user may have rebound them in its settings); those of the
    /// settings where Glimra wrote the binding; else "bound in the desktop's settings"
    /// (the desktop keeps them and does not say, or Glimra wrote none); empty when the
    /// shortcut is off.
    QString keysText(const QString &settingsKey) const;

signals:
    void activated(int id);
    /// What keysText() answers changed (the user rebound a shortcut in the desktop's settings).
    void keysChanged();
    /// A binding could not be rewritten after a settings change.
    void failed(const QString &message);

private:
    QList<ShortcutBinding> bindings() const;
    void applySettings();

    const UserDefaults &m_defaults;
    std::unique_ptr<BindingInstaller> m_installer;
    std::unique_ptr<GlobalShortcutsPortal> m_portal;
    // The keys the binding was last brought in line with, so that a change of another
    // setting writes nothing.
    QStringList m_applied;
    bool m_applying = false;
    bool m_changedWhileApplying = false;
};

} // namespace glimra
