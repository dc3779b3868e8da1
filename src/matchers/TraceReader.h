#pragma once

#include "matchers/PartialPathSearch.h"
#include "matchers/TraceLocation.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

namespace glimra {

/// Reads the frames of a trace, of one line or many: the place each line names in one of
/// the forms of TraceForms, its file resolved to an existing one. A file named by a
/// relative path that does not resolve is looked for under the search folder (one bounded
/// walk for the whole text, PartialPathSearch). A place whose file is not found is left
/// out. Costs two scans of the text for the marks every form holds, at most
/// MaximumLinesTried lines read, MaximumPlaces resolutions, and one walk.
class TraceReader
{
public:
    /// The existing file that a path as written names (absolute, or against the document's
    /// folder), as an absolute path; null when there is none.
    using Resolve = std::function<QString(const QString &writtenPath)>;

    /// How many places of a text are read at most; the lines after the last one read are
    /// passed over.
    static constexpr qsizetype MaximumPlaces = 1000;
    /// How many lines holding a mark of TraceForms are tried at most, places or not: a text
    /// of a million lines each holding a ":" costs no more than these.
    static constexpr qsizetype MaximumLinesTried = 20000;

    /// `searchFolder` is where partial paths are looked for; empty: nowhere.
    TraceReader(Resolve resolve, QString searchFolder,
                PartialPathSearch::Limits limits = PartialPathSearch::DefaultLimits);

    /// The frames of `text` in the order of the text, each place (file, line and column)
    /// once; `path` is the existing file's absolute path.
    QList<TraceLocation> frames(QStringView text) const;

private:
    /// The places the lines of `text` name, as written, in text order, within the bounds.
    static QList<TraceLocation> places(QStringView text);
    /// The existing file of each path the places name (null when none): as written or
    /// against the document's folder, else by one search under the search folder.
    QHash<QString, QString> resolveAll(const QList<TraceLocation> &places) const;
    /// The relative path to look for under the search folder for `writtenPath`; null when
    /// it is none (absolute, climbing with "..", a URL or "node:internal/...").
    static QString partialPath(const QString &writtenPath);

    Resolve m_resolve;
    QString m_searchFolder;
    PartialPathSearch::Limits m_limits;
};

} // namespace glimra
