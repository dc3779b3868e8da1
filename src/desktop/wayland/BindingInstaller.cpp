#include "BindingInstaller.h"

#include "GnomeBindingInstaller.h"
#include "ManualBindingInstructions.h"
#include "SwayBindingInstaller.h"

namespace glimra {

BindingInstaller::~BindingInstaller() = default;

std::unique_ptr<BindingInstaller> BindingInstaller::forSession()
{
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'));
    if (!qEnvironmentVariable("SWAYSOCK").isEmpty() || desktops.contains(QLatin1String("sway"), Qt::CaseInsensitive))
        return std::make_unique<SwayBindingInstaller>();
    if (desktops.contains(QLatin1String("GNOME"), Qt::CaseInsensitive))
        return std::make_unique<GnomeBindingInstaller>();
    return std::make_unique<ManualBindingInstructions>();
}

} // namespace glimra
