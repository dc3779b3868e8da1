#pragma once

#include "foundation/ProgramRunner.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace glimra {

/// The desktop's default application for a file: the desktop entry that xdg-mime names for
/// the file's MIME type, read from the XDG data folders. Main thread: it waits for xdg-mime
/// (at most two seconds for each of its two questions), run through the runner it is given.
class MimeDefaultApplication
{
public:
    /// The words of that entry's Exec line, its field codes (%f, %U, ...) left out; nullopt
    /// when xdg-mime fails, overruns or answers nothing, or the entry has no Exec line.
    static std::optional<QStringList> commandForFile(const QString &file,
                                                     ProgramRunner &runner = ProgramRunner::standard());
};

} // namespace glimra
