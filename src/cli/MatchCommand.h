#pragma once

#include <QStringList>

namespace glimra {

/// glimra match [--text TEXT | --text-file FILE] [--context KEY=VALUE]... [--wait SECONDS]
///              [--run LABEL] [--explain] [--json]
/// Guesses a text and prints the result. Exit status 0 when something matched, 1 when
/// nothing did, 2 for a usage error, 3 when --run names no offered action, 4 when the action
/// could not be carried out.
class MatchCommand
{
public:
    static int run(const QStringList &arguments, bool withDisplay);
};

} // namespace glimra
