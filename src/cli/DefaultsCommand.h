#pragma once

#include <QStringList>

namespace glimra {

/// glimra defaults read [KEY] | write KEY JSON | delete KEY
/// Reads and changes the user's settings as JSON values.
class DefaultsCommand
{
public:
    static int run(const QStringList &arguments);
};

} // namespace glimra
