#pragma once

#include <QStringList>

namespace glimra {

/// glimra plugins list [--json]
/// glimra plugins new matcher NAME [--kind handler|perl|shell] [--no-open]
/// glimra plugins new action NAME [--kind handler|shell] [--no-open]
/// ("applescript" is accepted for "handler").
class PluginsCommand
{
public:
    static int run(const QStringList &arguments);
};

} // namespace glimra
