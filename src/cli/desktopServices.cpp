#include "cli/desktopServices.h"

#include "cli/ClipboardKeeper.h"
#include "desktop/DesktopPlatform.h"

namespace glimra {

SessionServices desktopServices(bool withDisplay)
{
    SessionServices services;
    services.platform = DesktopPlatform::create(withDisplay);
    if (withDisplay)
        services.keepClipboard = [](Clipboard &clipboard) { ClipboardKeeper::handOver(clipboard); };
    return services;
}

} // namespace glimra
