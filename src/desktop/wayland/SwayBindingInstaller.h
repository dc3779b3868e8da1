#pragma once

#include "BindingInstaller.h"

namespace glimra {

/// Binds the shortcuts in sway: `bindsym` lines in a file of Glimra's own
/// ($XDG_CONFIG_HOME/Glimra/sway-shortcuts.conf), and one `include` line of it appended to
/// the user's own configuration, then `reload` through sway's IPC. A user without a
/// configuration of their own runs the system one (/etc/sway/config); a file written for
/// them would hide it, so nothing is written and the lines to add are given instead.
class SwayBindingInstaller : public BindingInstaller
{
public:
    /// The folders and socket default to $XDG_CONFIG_HOME (~/.config), $HOME and $SWAYSOCK.
    explicit SwayBindingInstaller(QString configHome = {}, QString home = {}, QString swaySocket = {});

    QString mechanism() const override;
    BindingChange install(const QList<ShortcutBinding> &bindings) override;
    BindingChange remove() override;
    bool isInstalled() const override;

    /// The file of Glimra's own.
    QString bindingsFile() const;
    /// The user's configuration as sway looks for it (the first that exists of
    /// ~/.sway/config, $XDG_CONFIG_HOME/sway/config, ~/.i3/config,
    /// $XDG_CONFIG_HOME/i3/config); empty when the user has none.
    QString userConfiguration() const;
    /// The line appended to the user's configuration.
    QString includeLine() const;

private:
    /// The `bindsym` lines; none when a binding's keys name no key sway can bind (then
    /// those keys are in `unbindable`).
    static QStringList bindsymLines(const QList<ShortcutBinding> &bindings, QString *unbindable);
    /// `change` once sway has reloaded its configuration, else with what the user must do.
    BindingChange reloaded(BindingChange change) const;

    QString m_configHome;
    QString m_home;
    QString m_socket;
};

} // namespace glimra
