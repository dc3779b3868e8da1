#pragma once

#include <QStringList>

namespace glimra {

/// glimra preferences [PAGE]   the preferences window (PAGE: general, rules, context,
///                             search, plugins)
/// glimra help [actions]       the manual, or the actions document
/// Shown by the running application when there is one (or one the session bus starts),
/// else in a window of this process until it is closed; without a display, help prints
/// the document.
class WindowCommand
{
public:
    /// `display`: a QApplication exists, on a display.
    static int run(const QString &verb, const QStringList &arguments, bool display);
};

} // namespace glimra
