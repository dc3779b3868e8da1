#pragma once

#include <QFileSystemWatcher>
#include <QObject>

namespace glimra {

/// Tells when the settings file changed, whoever changed it (the preferences window, a
/// `glimra defaults write`, an editor). Settings are written by replacing the file, so the
/// folder is watched too and the file watched again once it is back. Main thread only.
class SettingsWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SettingsWatcher(QString filePath, QObject *parent = nullptr);

signals:
    void changed();

private:
    void watch();

    QString m_filePath;
    QFileSystemWatcher m_watcher;
    QByteArray m_last;
};

} // namespace glimra
