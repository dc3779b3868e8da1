#include "desktop/DesktopEntries.h"

#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

struct Entry
{
    QString name;
    QString windowClass;
};

Entry readEntry(const QString &path)
{
    Entry entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entry;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == u"[Desktop Entry]"_s;
            continue;
        }
        if (!inMainGroup)
            continue;
        if (line.startsWith(u"Name="_s) && entry.name.isNull())
            entry.name = line.mid(5);
        else if (line.startsWith(u"StartupWMClass="_s))
            entry.windowClass = line.mid(15);
    }
    return entry;
}

} // namespace

void DesktopEntries::load()
{
    m_loaded = true;
    const QStringList folders =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, u"applications"_s,
                                  QStandardPaths::LocateDirectory);
    for (const QString &folder : folders) {
        QDirIterator files(folder, {u"*.desktop"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const Entry entry = readEntry(path);
            if (entry.name.isEmpty())
                continue;
            QString stem = files.fileName();
            stem.chop(8); // ".desktop"
            for (const QString &key : {entry.windowClass.toLower(), stem.toLower()}) {
                if (!key.isEmpty() && !m_nameByClass.contains(key))
                    m_nameByClass.insert(key, entry.name);
            }
        }
    }
}

QString DesktopEntries::nameForWindowClass(const QString &windowClass)
{
    if (!m_loaded)
        load();
    return m_nameByClass.value(windowClass.toLower());
}

} // namespace glimra
