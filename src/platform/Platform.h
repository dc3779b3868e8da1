#pragma once

#include "foundation/ApplicationScript.h"
#include "platform/Notifier.h"
#include "platform/Clipboard.h"
#include "platform/RunningApplications.h"
#include "platform/FileManager.h"

#include <QHash>

#include <memory>

namespace glimra {

/// The desktop services the program uses, behind interfaces: the desktop layer supplies
/// the Linux ones, the command line without a display and tests supply their own.
struct Platform
{
    std::shared_ptr<Clipboard> clipboard;
    std::shared_ptr<FileManager> fileManager;
    std::shared_ptr<Notifier> notifier;
    std::shared_ptr<RunningApplications> runningApplications;
    /// The desktop's built-in application scripts by name: they stand in for the shipped
    /// script files of those names (ApplicationScripts::registerBuiltIn).
    QHash<QString, std::shared_ptr<ApplicationScript>> applicationScripts;
};

} // namespace glimra
