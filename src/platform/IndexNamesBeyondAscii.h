#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace glimra {

/// The paths of a file-name index whose name holds a byte beyond printable ASCII, kept for
/// each version of the index file (its path, size and time of change). A search that folds
/// diacritics cannot leave those names to the index, and reading them takes one scan of the
/// whole index, while they change only when the index is rebuilt (once a day). One version
/// is kept, and only when its paths take at most 32 MiB. Any thread.
class IndexNamesBeyondAscii
{
public:
    using Paths = std::shared_ptr<const QList<QByteArray>>;
    using Scan = std::function<std::optional<QList<QByteArray>>()>;

    /// The paths for `database`: those kept when its file has not changed since, else those
    /// that `scan` reads (null when it fails or is cancelled: then nothing is kept).
    static Paths of(const QString &database, const Scan &scan);
};

} // namespace glimra
