#pragma once

#include <QStringList>

namespace glimra {

/// glimra shortcut install | remove
/// Where the desktop offers no global shortcut to programs, binds the two shortcut
/// settings in the desktop's own configuration (sway: a file of Glimra's own and one
/// include line; GNOME: a custom keybinding of Glimra's own; elsewhere: says what to bind),
/// or takes out what Glimra wrote there. Nothing Glimra did not write is touched.
class ShortcutCommand
{
public:
    static int run(const QStringList &arguments);
};

} // namespace glimra
