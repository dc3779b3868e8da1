#include "foundation/ScriptFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

QString whyNot(const struct stat &info, qint64 maximumBytes)
{
    if (S_ISDIR(info.st_mode))
        return u"it is a folder"_s;
    if (!S_ISREG(info.st_mode))
        return u"it is not a regular file"_s;
    if (info.st_size > maximumBytes)
        return u"it is larger than %1 bytes"_s.arg(maximumBytes);
    return {};
}

QString systemError(int error)
{
    if (error == ENOENT)
        return u"it does not exist (or is a dangling link)"_s;
    if (error == ELOOP)
        return u"its links form a loop"_s;
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString ScriptFile::whyNotLoadable(const QString &path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return systemError(path.isEmpty() ? ENOENT : errno);
    QString why = whyNot(info, MaximumBytes);
    if (why.isNull() && ::access(QFile::encodeName(path).constData(), R_OK) != 0)
        why = u"it cannot be read"_s;
    return why;
}

std::optional<QByteArray> ScriptFile::read(const QString &path, QString *why)
{
    return read(path, MaximumBytes, why);
}

std::optional<QByteArray> ScriptFile::read(const QString &path, qint64 maximumBytes, QString *why)
{
    auto refuse = [why](const QString &reason) -> std::optional<QByteArray> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (path.isEmpty())
        return refuse(systemError(ENOENT));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse(errno == EACCES ? u"it cannot be read"_s : systemError(errno));
    struct stat info {};
    QString reason = ::fstat(fd, &info) == 0 ? whyNot(info, maximumBytes) : systemError(errno);
    QByteArray contents;
    if (reason.isNull()) {
        contents.resize(qsizetype(info.st_size));
        qsizetype filled = 0;
        while (filled < contents.size()) {
            const ssize_t n = ::read(fd, contents.data() + filled, size_t(contents.size() - filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            filled += n;
        }
        contents.truncate(filled); // a file that shrank meanwhile
    }
    ::close(fd);
    if (!reason.isNull())
        return refuse(reason);
    return contents;
}

} // namespace glimra
