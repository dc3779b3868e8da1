#pragma once

#include "cli/Session.h"

namespace glimra {

/// The services of a session of the desktop program: DesktopPlatform's, and with a
/// display the clipboard keeper, which serves what this process put on the clipboard
/// after it exits. `withDisplay` needs a QGuiApplication.
SessionServices desktopServices(bool withDisplay);

} // namespace glimra
