#include "foundation/Paths.h"

#include "foundation/Url.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>

#include <climits>
#include <pwd.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QString absoluteEnvDir(const char *variable, const QString &fallback)
{
    // The XDG base directory rules: an unset, empty or relative value is ignored.
    const QString value = qEnvironmentVariable(variable);
    return value.startsWith(u'/') ? QDir::cleanPath(value) : fallback;
}

// Linux refuses a path of PATH_MAX bytes or more, and a path has at least as many bytes as
// UTF-16 units; so a longer text (a whole selection tried as a path) is answered at once
// instead of being encoded for the kernel to refuse.
bool mayNameAFile(const QString &path)
{
    return !path.isEmpty() && path.size() < PATH_MAX;
}

} // namespace

QString homeDir()
{
    return QDir::homePath();
}

QString appResourcesDir()
{
    const QString fromEnv = qEnvironmentVariable("GLIMRA_RESOURCES");
    if (!fromEnv.isEmpty())
        return QDir::cleanPath(fromEnv);
    if (QCoreApplication::instance()) {
        const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                                  + u"/../share/glimra"_s);
        if (QFileInfo(installed).isDir())
            return installed;
    }
    if (QFileInfo(QStringLiteral(GLIMRA_INSTALLED_RESOURCES)).isDir()
        && !QFileInfo(QStringLiteral(GLIMRA_SOURCE_RESOURCES)).isDir())
        return QStringLiteral(GLIMRA_INSTALLED_RESOURCES);
    return QStringLiteral(GLIMRA_SOURCE_RESOURCES);
}

QString appPluginsDir()
{
    return appResourcesDir() + u"/PlugIns"_s;
}

QString appSupportDir()
{
    return absoluteEnvDir("XDG_DATA_HOME", homeDir() + u"/.local/share"_s);
}

QString configHomeDir()
{
    return absoluteEnvDir("XDG_CONFIG_HOME", homeDir() + u"/.config"_s);
}

QString stateHomeDir()
{
    return absoluteEnvDir("XDG_STATE_HOME", homeDir() + u"/.local/state"_s);
}

QString expandPath(const QString &text)
{
    if (text.isNull())
        return {};
    QString expanded = text;
    if (expanded.contains(u"${"_s)) {
        expanded.replace(u"${APP_PLUGINS}"_s, appPluginsDir());
        expanded.replace(u"${APP_RESOURCES}"_s, appResourcesDir());
        expanded.replace(u"${APP_SUPPORT}"_s, appSupportDir());
        expanded.replace(u"${HOME}"_s, homeDir());
    }
    if (expanded.startsWith(u"file:"_s)) {
        const std::optional<Url> url = Url::URLWithString(expanded);
        if (url && url->isFileURL())
            return url->path();
    }
    return expanded;
}

QStringList ls_files(const QString &pattern)
{
    const QString expanded = expandPath(pattern);
    const qsizetype slash = expanded.lastIndexOf(u'/');
    const QString folder = slash < 0 ? u"."_s : (slash == 0 ? u"/"_s : expanded.left(slash));
    const QString namePattern = expanded.mid(slash + 1);
    // Names are matched as written: "*Matcher*" never takes "notesmatcher.sh".
    QDir::Filters filters = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System
        | QDir::CaseSensitive;
    if (namePattern.startsWith(u'.'))
        filters |= QDir::Hidden;
    QStringList names = QDir(folder).entryList({namePattern}, filters, QDir::NoSort);
    std::sort(names.begin(), names.end());
    QStringList paths;
    paths.reserve(names.size());
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    for (const QString &name : std::as_const(names))
        paths.append(prefix + name);
    return paths;
}

bool file_exists(const QString &path)
{
    if (!mayNameAFile(path))
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool dir_exists(const QString &path)
{
    return mayNameAFile(path) && QFileInfo(path).isDir();
}

bool path_exists(const QString &path)
{
    return mayNameAFile(path) && QFileInfo::exists(path);
}

bool mk_dirs(const QString &path)
{
    return !path.isEmpty() && QDir().mkpath(path);
}

bool cp_file(const QString &from, const QString &to)
{
    return QFile::copy(from, to);
}

QString basename(const QString &path)
{
    if (path.isNull())
        return {};
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == u'/')
        --end;
    if (end == 1 && path.at(0) == u'/')
        return u"/"_s;
    const qsizetype slash = path.lastIndexOf(u'/', end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

QString dirname(const QString &path)
{
    if (path.isNull())
        return {};
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == u'/')
        --end;
    const qsizetype slash = path.lastIndexOf(u'/', end - 1);
    if (slash < 0)
        return u""_s;
    if (slash == 0)
        return u"/"_s;
    qsizetype cut = slash;
    while (cut > 1 && path.at(cut - 1) == u'/')
        --cut;
    return path.left(cut);
}

QString basename_ext(const QString &path)
{
    const QString name = basename(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.mid(dot + 1) : u""_s;
}

QString stringByExpandingTildeInPath(const QString &path)
{
    if (!path.startsWith(u'~'))
        return path;
    const qsizetype slash = path.indexOf(u'/');
    const QString user = path.mid(1, slash < 0 ? -1 : slash - 1);
    const QString rest = slash < 0 ? QString() : path.mid(slash);
    QString home;
    if (user.isEmpty()) {
        home = homeDir();
    } else {
        const struct passwd *entry = ::getpwnam(user.toLocal8Bit().constData());
        if (!entry)
            return path;
        home = QString::fromLocal8Bit(entry->pw_dir);
    }
    if (home.endsWith(u'/') && rest.startsWith(u'/'))
        home.chop(1);
    return home + rest;
}

QString stringByStandardizingPath(const QString &path)
{
    if (path.isNull())
        return {};
    const QString expanded = stringByExpandingTildeInPath(path);
    // One component, ".", ".." or none at all: already standard.
    if (!expanded.contains(u'/'))
        return expanded;
    const bool absolute = expanded.startsWith(u'/');
    // Built in one pass, each component after a "/" (none before the first of a relative
    // path), so that a path of any length costs time and memory in proportion to it.
    QString standardized;
    standardized.reserve(expanded.size());
    for (const QStringView component : QStringView(expanded).tokenize(u'/', Qt::SkipEmptyParts)) {
        if (component == u".")
            continue;
        if (component == u".." && absolute) {
            standardized.truncate(std::max<qsizetype>(0, standardized.lastIndexOf(u'/')));
            continue;
        }
        if (absolute || !standardized.isEmpty())
            standardized += u'/';
        standardized += component;
    }
    if (standardized.isEmpty())
        return absolute ? u"/"_s : u"."_s;
    return standardized;
}

QString file_icon(const QString &pathOrUrl)
{
    static const QMimeDatabase database;
    const QMimeType type = pathOrUrl.startsWith(u'/')
        ? database.mimeTypeForFile(pathOrUrl)
        : database.mimeTypeForUrl(QUrl(pathOrUrl));
    return type.iconName();
}

} // namespace glimra
