#include "ui/SettingsWatcher.h"

#include "foundation/Paths.h"
#include "platform/UserDefaults.h"

#include <QFileInfo>

namespace glimra {

namespace {

// What the settings reader would read: a FIFO or a device put in the file's place must
// not hang the application (the reader refuses it; the watcher sees no content).
QByteArray contentsOf(const QString &path)
{
    return UserDefaults::readFile(path).value_or(QByteArray());
}

} // namespace

SettingsWatcher::SettingsWatcher(QString filePath, QObject *parent)
    : QObject(parent), m_filePath(std::move(filePath)), m_last(contentsOf(m_filePath))
{
    mk_dirs(QFileInfo(m_filePath).absolutePath());
    watch();
    auto check = [this] {
        watch();
        // The folder also changes for the lock file and the temporary copy: only a new
        // content counts.
        const QByteArray now = contentsOf(m_filePath);
        if (now == m_last)
            return;
        m_last = now;
        emit changed();
    };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, check);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, check);
}

void SettingsWatcher::watch()
{
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (!m_watcher.directories().contains(folder))
        m_watcher.addPath(folder);
    if (QFileInfo::exists(m_filePath) && !m_watcher.files().contains(m_filePath))
        m_watcher.addPath(m_filePath);
}

} // namespace glimra
