#pragma once

#include <QString>

namespace glimra {

/// `display` (by default $DISPLAY) as one name for one display: the screen number and a
/// local host ("unix", "localhost") are left out, so ":0", ":0.0" and "unix:0" read ":0".
/// The bus service and its callers compare these names to tell whether a running instance
/// serves the caller's display.
QString displayName(const QString &display = qEnvironmentVariable("DISPLAY"));

} // namespace glimra
