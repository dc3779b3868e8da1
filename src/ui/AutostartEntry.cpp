#include "ui/AutostartEntry.h"

#include "foundation/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString EntryName = u"org.glimra.Glimra.desktop"_s;

// The installed desktop entry, or the copy built into the program.
QByteArray desktopEntry()
{
    QString installed = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, EntryName);
    if (installed.isEmpty())
        installed = u":/"_s + EntryName;
    QFile file(installed);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A word of an Exec line: quoted when it holds anything but plain characters; "%" is
// doubled either way.
QString execWord(const QString &word)
{
    QString quoted = word;
    quoted.replace(u'%', u"%%"_s);
    const bool plain = std::all_of(word.begin(), word.end(), [](QChar c) {
        return c.isLetterOrNumber() || QStringView(u"/._-+").contains(c);
    });
    if (plain)
        return quoted;
    for (const QChar special : {u'\\', u'"', u'`', u'$'})
        quoted.replace(special, QString(u'\\') + special);
    return u'"' + quoted + u'"';
}

} // namespace

QString AutostartEntry::program()
{
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {folder + u"/glimra"_s, folder + u"/"_s + QStringLiteral(GLIMRA_PROGRAM_FROM_LIBEXECDIR)}) {
        const QFileInfo file(candidate);
        if (file.isFile() && file.isExecutable())
            return QDir::cleanPath(file.absoluteFilePath());
    }
    return QStringLiteral(GLIMRA_INSTALLED_PROGRAM);
}

QByteArray AutostartEntry::withProgram(const QByteArray &entry, const QString &program)
{
    QList<QByteArray> lines = entry.split('\n');
    for (QByteArray &line : lines) {
        if (!line.startsWith("Exec="))
            continue;
        const qsizetype end = line.indexOf(' ');
        line = "Exec=" + execWord(program).toUtf8() + (end < 0 ? QByteArray() : line.mid(end));
    }
    return lines.join('\n');
}

QString AutostartEntry::path()
{
    return configHomeDir() + u"/autostart/"_s + EntryName;
}

bool AutostartEntry::isEnabled()
{
    return QFileInfo::exists(path());
}

bool AutostartEntry::setEnabled(bool enabled, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!enabled) {
        if (QFile::exists(path()) && !QFile::remove(path()))
            return fail(QCoreApplication::translate("glimra::AutostartEntry", "%1 cannot be removed").arg(path()));
        return true;
    }
    const QByteArray installed = desktopEntry();
    if (installed.isEmpty())
        return fail(QCoreApplication::translate("glimra::AutostartEntry", "the desktop entry %1 is nowhere to be found")
                        .arg(EntryName));
    const QByteArray entry = withProgram(installed, program());
    mk_dirs(QFileInfo(path()).absolutePath());
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly) || file.write(entry) != entry.size() || !file.commit())
        return fail(QCoreApplication::translate("glimra::AutostartEntry", "%1 cannot be written: %2")
                        .arg(path(), file.errorString()));
    return true;
}

} // namespace glimra
