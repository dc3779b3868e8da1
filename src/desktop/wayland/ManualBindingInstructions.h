#pragma once

#include "BindingInstaller.h"

namespace glimra {

/// Where Glimra cannot write a binding (Hyprland, labwc, river…, or a desktop it does not
/// know): the keys and commands to bind, in words.
class ManualBindingInstructions : public BindingInstaller
{
public:
    QString mechanism() const override;
    BindingChange install(const QList<ShortcutBinding> &bindings) override;
    BindingChange remove() override;
    bool isInstalled() const override;
};

} // namespace glimra
