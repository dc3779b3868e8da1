#pragma once

#include "ShortcutBinding.h"

#include <QList>

#include <memory>

namespace glimra {

/// Writes the desktop's own binding of Glimra's shortcuts where no GlobalShortcuts portal
/// works: a key of the compositor's that runs `glimra guess` or `glimra clipboard`. It
/// writes only into places of its own (and one line pointing at them, where a desktop
/// needs one), rewrites them on the next install, and takes out on remove exactly what it
/// wrote: nothing else of the user's is ever touched.
class BindingInstaller
{
public:
    virtual ~BindingInstaller();

    /// The one for this session's desktop: sway ($SWAYSOCK, or "sway" in
    /// $XDG_CURRENT_DESKTOP), GNOME ("GNOME" in $XDG_CURRENT_DESKTOP), else instructions in words.
    static std::unique_ptr<BindingInstaller> forSession();

    /// What it binds with, for people ("sway's configuration").
    virtual QString mechanism() const = 0;
    virtual BindingChange install(const QList<ShortcutBinding> &bindings) = 0;
    virtual BindingChange remove() = 0;
    /// Whether a binding Glimra wrote is in place: what a change of the shortcut settings
    /// rewrites. Where Glimra wrote nothing, nothing is written for a change either.
    virtual bool isInstalled() const = 0;
};

} // namespace glimra
