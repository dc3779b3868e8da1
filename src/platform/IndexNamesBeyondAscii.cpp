#include "platform/IndexNamesBeyondAscii.h"

#include <QDateTime>
#include <QFileInfo>

#include <mutex>

namespace glimra {

namespace {

constexpr qsizetype MaximumKeptBytes = 32 * 1024 * 1024;

struct Version
{
    QString database;
    qint64 size = -1;
    QDateTime changed;
    bool operator==(const Version &) const = default;
};

Version versionOf(const QString &database)
{
    const QFileInfo file(database);
    return {database, file.size(), file.lastModified()};
}

std::mutex s_mutex;
Version s_version;
IndexNamesBeyondAscii::Paths s_paths;

} // namespace

IndexNamesBeyondAscii::Paths IndexNamesBeyondAscii::of(const QString &database, const Scan &scan)
{
    const Version version = versionOf(database);
    {
        std::lock_guard lock(s_mutex);
        if (s_paths && s_version == version)
            return s_paths;
    }
    // Scanned outside the lock: a second search meanwhile scans too rather than wait.
    std::optional<QList<QByteArray>> scanned = scan();
    if (!scanned)
        return nullptr;
    qsizetype bytes = 0;
    for (const QByteArray &path : std::as_const(*scanned))
        bytes += path.size();
    auto paths = std::make_shared<const QList<QByteArray>>(std::move(*scanned));
    // The index may have been rebuilt during the scan: then this version is not the one read.
    if (bytes <= MaximumKeptBytes && versionOf(database) == version) {
        std::lock_guard lock(s_mutex);
        s_version = version;
        s_paths = paths;
    }
    return paths;
}

} // namespace glimra
