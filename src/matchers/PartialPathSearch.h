#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <chrono>

namespace glimra {

/// Finds files a trace names by a partial path ("tests/test_models.py", "Shop.java",
/// "com/example/Shop.java") under one folder, while a guess waits: one walk for all the
/// paths, breadth-first so that the nearest file comes first, within a time and an entry
/// bound. Hidden entries are skipped and links to folders not followed (a link loop cannot
/// trap it); a hit is a regular file, or a link to one. The desktop search finds files
/// later and over the whole computer; this answers at once and stays near the document.
class PartialPathSearch
{
public:
    struct Limits
    {
        /// How long the walk may take.
        std::chrono::milliseconds time;
        /// How many entries (files and folders) it may look at.
        qsizetype entries;
    };
    /// A tenth of a second, and as many entries as a cold walk reads in about that time.
    static constexpr Limits DefaultLimits{std::chrono::milliseconds(100), 20000};

    /// For each of `partialPaths` (relative, standardized) that some file under `folder`
    /// ends with (after a "/"), the nearest such file's absolute path. Paths not found
    /// within the limits are left out.
    static QHash<QString, QString> find(const QString &folder, const QStringList &partialPaths,
                                        Limits limits = DefaultLimits);
};

} // namespace glimra
