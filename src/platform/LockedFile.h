#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QString>

namespace glimra {

/// A file of the program's own that is changed whole: under a lock file beside it
/// ("PATH.lock"), so that two processes never lose each other's change, and replaced
/// atomically, so that a reader never sees half of one. The lock is held from lock() until
/// the object goes.
class LockedFile
{
public:
    explicit LockedFile(QString path);

    /// Makes the file's folder and takes the lock, waiting at most `waitMs`; false with the
    /// reason (held by another process, or a lock file that cannot be made).
    bool lock(int waitMs, QString *error);
    /// Replaces the file's contents; false with the reason. Only while locked.
    bool write(const QByteArray &contents, QString *error);

private:
    QString m_path;
    QLockFile m_lock;
};

} // namespace glimra
