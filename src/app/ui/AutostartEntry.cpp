#include "app/ui/AutostartEntry.h"

#include "foundation/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

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

} // namespace

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
            return fail(u"%1 cannot be removed"_s.arg(path()));
        return true;
    }
    const QByteArray entry = desktopEntry();
    if (entry.isEmpty())
        return fail(u"the desktop entry %1 is nowhere to be found"_s.arg(EntryName));
    mk_dirs(QFileInfo(path()).absolutePath());
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly) || file.write(entry) != entry.size() || !file.commit())
        return fail(u"%1 cannot be written: %2"_s.arg(path(), file.errorString()));
    return true;
}

} // namespace glimra
