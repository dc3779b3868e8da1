#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace glimra {

class FileManager;

/// The user's own editor, for a file they are to edit (a new plug-in): $VISUAL, else
/// $EDITOR in a terminal, else the file's default application (xdg-open). The editor is
/// the user's program: it is started detached and runs on after Glimra.
class UserEditor
{
public:
    /// The command that opens `file`, program first; empty when neither variable is set.
    static QStringList commandFor(const QString &file);
    /// Opens `file`; false when the editor could not be started.
    static bool open(const QString &file, FileManager *fileManager);
};

} // namespace glimra
