#pragma once

#include <QString>
#include <QStringList>

namespace glimra {

/// The user's home folder ($HOME).
QString homeDir();
/// The folder of the program's resources: $GLIMRA_RESOURCES when set, else the installed
/// share/glimra next to the running program, else the source tree's resources/.
QString appResourcesDir();
/// "${APP_RESOURCES}/PlugIns", the shipped plug-ins.
QString appPluginsDir();
/// The XDG data home ($XDG_DATA_HOME, default ~/.local/share): where the user's own
/// plug-ins ("glimra/plugins", formerly "Glimra/PlugIns") and application scripts
/// ("Glimra/AppScripts") live.
QString appSupportDir();
/// The XDG config home ($XDG_CONFIG_HOME, default ~/.config).
QString configHomeDir();
/// The XDG state home ($XDG_STATE_HOME, default ~/.local/state): what the program learns
/// and keeps between runs, under "glimra/".
QString stateHomeDir();

/// Expands ${HOME}, ${APP_RESOURCES}, ${APP_PLUGINS} and ${APP_SUPPORT}, and turns the text
/// of a file URL into its path.
QString expandPath(const QString &text);

/// Full paths of the entries that match the wildcard pattern in the last component of
/// `pattern` (after expandPath()), case-sensitively, sorted by file name. Hidden entries match
/// only a pattern that begins with ".". A missing folder gives an empty list.
QStringList ls_files(const QString &pattern);

bool file_exists(const QString &path); ///< something that is not a folder exists there
bool dir_exists(const QString &path);  ///< a folder exists there
bool path_exists(const QString &path); ///< either
bool mk_dirs(const QString &path);     ///< creates the folder and its parents
bool cp_file(const QString &from, const QString &to); ///< never overwrites

QString basename(const QString &path);     ///< last path component ("/" for "/")
QString dirname(const QString &path);      ///< the path without its last component
QString basename_ext(const QString &path); ///< extension of the last component, no dot

/// A leading "~" or "~user" becomes that home folder; nothing else changes.
QString stringByExpandingTildeInPath(const QString &path);

/// Tilde expanded, empty and "." components collapsed, ".." resolved in absolute paths, a
/// trailing "/" removed. A relative path stays relative. Null stays null.
QString stringByStandardizingPath(const QString &path);

/// The icon name of the MIME type of a file path or of URL text (a freedesktop icon name
/// such as "text-x-csrc"); the desktop layer turns it into an image.
QString file_icon(const QString &pathOrUrl);

} // namespace glimra
