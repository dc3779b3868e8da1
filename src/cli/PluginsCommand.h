#pragma once

#include <QStringList>

namespace glimra {

/// glimra plugins list [--json]
/// glimra plugins new matcher NAME [--kind applescript|perl|shell] [--no-open]
/// glimra plugins new action NAME [--kind applescript|shell] [--no-open]
class PluginsCommand
{
public:
    static int run(const QStringList &arguments);
};

} // namespace glimra
