#include "matchers/PartialPathSearch.h"

#include "foundation/Paths.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFileInfo>

#include <deque>

namespace glimra {

QHash<QString, QString> PartialPathSearch::find(const QString &folder,
                                                const QStringList &partialPaths, Limits limits)
{
    QHash<QString, QString> found;
    // The partial paths by their file name: most entries are passed over on their name.
    QHash<QString, QStringList> byName;
    qsizetype wanted = 0;
    for (const QString &partial : partialPaths) {
        QStringList &suffixes = byName[basename(partial)];
        if (!suffixes.contains(u'/' + partial)) {
            suffixes.append(u'/' + partial);
            ++wanted;
        }
    }
    const QString start = stringByStandardizingPath(folder);
    if (byName.isEmpty() || !dir_exists(start))
        return found;

    const QDeadlineTimer deadline(limits.time);
    qsizetype looked = 0;
    std::deque<QString> folders{start};
    while (!folders.empty() && found.size() < wanted) {
        QDirIterator entries(folders.front(), QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot);
        folders.pop_front();
        while (entries.hasNext()) {
            if (++looked > limits.entries || deadline.hasExpired())
                return found;
            const QString path = entries.next();
            const QFileInfo info = entries.fileInfo();
            if (info.isDir()) {
                if (!info.isSymLink())
                    folders.push_back(path);
                continue;
            }
            const auto named = byName.constFind(info.fileName());
            if (named == byName.cend() || !info.isFile())
                continue;
            for (const QString &suffix : *named) {
                const QString partial = suffix.sliced(1);
                if (!found.contains(partial) && path.endsWith(suffix))
                    found.insert(partial, path);
            }
        }
    }
    return found;
}

} // namespace glimra
