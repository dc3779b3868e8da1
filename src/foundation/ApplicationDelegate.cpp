#include "foundation/ApplicationDelegate.h"

namespace glimra {

void ApplicationDelegate::applicationFocusDidChange(const QString &, const QString &) {}

} // namespace glimra
