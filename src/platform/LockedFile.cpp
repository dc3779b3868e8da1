#include "platform/LockedFile.h"

#include "foundation/Paths.h"

#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

LockedFile::LockedFile(QString path) : m_path(std::move(path)), m_lock(m_path + u".lock"_s)
{
    // A lock left by a process that died is taken over after this long.
    m_lock.setStaleLockTime(10000);
}

bool LockedFile::lock(int waitMs, QString *error)
{
    if (!mk_dirs(QFileInfo(m_path).absolutePath()))
        return fail(error, u"cannot create the folder of %1"_s.arg(m_path));
    if (m_lock.tryLock(waitMs))
        return true;
    // Held by another process only when it says so; else the lock file cannot be made (a
    // folder that is not the user's to write).
    return fail(error, m_lock.error() == QLockFile::LockFailedError
                           ? u"%1 is locked by another process"_s.arg(m_path)
                           : u"%1 cannot be changed: its lock file %1.lock cannot be made (can its folder be written to?)"_s.arg(m_path));
}

bool LockedFile::write(const QByteArray &contents, QString *error)
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit())
        return fail(error, u"%1 cannot be written: %2"_s.arg(m_path, file.errorString()));
    return true;
}

} // namespace glimra
