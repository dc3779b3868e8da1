#pragma once

#include <QString>

namespace glimra {

/// True when the application name or identifier is exactly one of "GrowlHelperApp",
/// "Pelorant", "Glimra" and "System Events": applications that never count as the one the
/// user works in. A null text is not a system application.
bool isSystemApp(const QString &nameOrIdentifier);

} // namespace glimra
