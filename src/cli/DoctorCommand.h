#pragma once

#include <QStringList>

namespace glimra {

/// glimra doctor [--json]
/// One line per need of the program in this session (selection, front application,
/// clipboard, keystroke, shortcut): the mechanism chosen, whether it answered when tried,
/// and what the user can do about a missing one; with --json, one object for scripts.
class DoctorCommand
{
public:
    static int run(const QStringList &arguments);
};

} // namespace glimra
