#pragma once

#include "platform/Notifier.h"
#include "platform/Pasteboard.h"
#include "platform/RunningApplications.h"
#include "platform/Workspace.h"

#include <memory>

namespace glimra {

/// The desktop services the program uses, behind interfaces: the desktop layer supplies
/// the Linux ones, the command line without a display and tests supply their own.
struct Platform
{
    std::shared_ptr<Pasteboard> generalPasteboard;
    std::shared_ptr<Workspace> workspace;
    std::shared_ptr<Notifier> notifier;
    std::shared_ptr<RunningApplications> runningApplications;
};

} // namespace glimra
