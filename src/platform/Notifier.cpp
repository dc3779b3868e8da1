#include "platform/Notifier.h"

namespace glimra {

Notifier::~Notifier() = default;

} // namespace glimra
