#pragma once

#include <QStringList>

#include <functional>

namespace glimra {

struct SessionServices;

/// glimra match [--text TEXT | --text-file FILE] [--context KEY=VALUE]... [--wait SECONDS]
///              [--run LABEL] [--run-commands] [--explain] [--json]
/// Guesses a text and prints the result. Exit status 0 when something matched, 1 when
/// nothing did, 2 for a usage error, 3 when --run names no offered action, 4 when the action
/// could not be carried out. `services` makes the guess's services once the arguments are
/// read.
class MatchCommand
{
public:
    static int run(const QStringList &arguments, const std::function<SessionServices()> &services);
};

} // namespace glimra
