#include "platform/RunningApplications.h"

namespace glimra {

RunningApplications::~RunningApplications() = default;

} // namespace glimra
