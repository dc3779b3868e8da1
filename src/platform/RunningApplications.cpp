#include "platform/RunningApplications.h"

namespace glimra {

RunningApplications::~RunningApplications() = default;

std::optional<RunningApplication> RunningApplications::activeApplication() const
{
    for (const RunningApplication &application : runningApplications()) {
        if (application.active)
            return application;
    }
    return std::nullopt;
}

} // namespace glimra
