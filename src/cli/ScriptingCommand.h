#pragma once

#include <QStringList>

namespace glimra {

/// glimra call guess [--file F] [--url U] [--text T] [--app NAME] [--json]
///     the scripting guess, through the running application when there is one
/// glimra regexp match|multiple|split TEXT PATTERN [--json]   (or mreg, xreg, splt)
///     the regular-expression operations, in this process
/// A value prints as its text, a list one element per line, a boolean as true or false
/// (--json: one JSON value, null for none). Exit status 0 with a value that is not false,
/// 1 without, 2 for a usage error.
class ScriptingCommand
{
public:
    static int call(const QStringList &arguments, bool withDisplay);
    static int regexp(const QStringList &arguments);
};

} // namespace glimra
