#pragma once

#include "foundation/Completion.h"
#include "foundation/ProgramRunner.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace glimra {

class FileManager;

/// The user's own editor, for a file they are to edit (a new plug-in): $VISUAL, else
/// $EDITOR in a terminal, else the file's default application (xdg-open). The editor is
/// the user's program: it is launched through the runner and runs on after Glimra. Main thread only.
class UserEditor
{
public:
    /// The command that opens `file`, program first; empty when neither variable is set.
    static QStringList commandFor(const QString &file);
    /// Opens `file`; `done` hears a failure that says why when the editor named could not
    /// be started or failed at once (no other one is tried in its place), or when there
    /// is none at all.
    static void open(const QString &file, FileManager *fileManager, const Completion &done,
                     ProgramRunner &runner = ProgramRunner::standard());
    /// A failure of open() as a window says it: in the user's language where it is this
    /// class's own (the command line prints it in English).
    static QString shownMessage(const QString &message);
};

} // namespace glimra
