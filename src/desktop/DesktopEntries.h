#pragma once

#include <QHash>
#include <QString>

namespace glimra {

/// Names of applications from their freedesktop desktop entries: the "Name" of the entry
/// whose StartupWMClass, or whose file name, matches a window class.
class DesktopEntries
{
public:
    /// The entry's name for the window class `windowClass`; null when no entry matches.
    QString nameForWindowClass(const QString &windowClass);

private:
    void load();

    bool m_loaded = false;
    QHash<QString, QString> m_nameByClass; // keys in lower case
};

} // namespace glimra
