#pragma once

#include "foundation/Completion.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace glimra {

/// Starts a program for the user: a browser through xdg-open, an editor, a file manager. It
/// is waited on briefly (LaunchWait) to learn whether it failed, then released: it runs in a
/// session of its own, outside the program's process groups, and is never killed, neither
/// when the wait ends nor when the program quits, since it may be the user's browser or
/// editor itself. It gets none of the program's standard streams (all are /dev/null), so
/// that nobody reading ours waits for it to end. Main thread only.
class Launcher
{
public:
    static constexpr std::chrono::milliseconds LaunchWait{2000};

    /// Why a program exited with `status`, where the program documents it: an English
    /// phrase marked with QT_TRANSLATE_NOOP("glimra::Outcome", …); null otherwise.
    using StatusMeaning = std::function<const char *(int status)>;

    /// Starts `program` with `arguments` in `folder` (none: ours). `done` hears once: a
    /// failure when it could not be started or exited with a status other than 0 within the
    /// wait ("<program> exited with status N: <meaning>"), else done, when it exited with 0
    /// or still runs when the wait is over.
    static void launch(const QString &program, const QStringList &arguments, const QString &folder,
                       const Completion &done, const StatusMeaning &meaning = {});
};

} // namespace glimra
