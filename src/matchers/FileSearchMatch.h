#pragma once

#include "matching/MatcherObject.h"
#include "platform/MetadataQuery.h"
#include "results/FileObject.h"

#include <QObject>

#include <functional>

namespace glimra {

/// Looks up, with the desktop search, a path that does not exist as written (a partial
/// path printed by a tool that ran elsewhere), or what a plug-in asks for through
/// ACT_SEARCH_QUERY, ACT_SEARCH_FILE and ACT_SEARCH_SCOPE. matches() only starts the search;
/// the hits that pass the suffix, base-folder and exclusion tests reach the result
/// receiver later, newest first. One search at a time: a new one replaces one still
/// gathering. Main thread only; the main thread must run an event loop.
class FileSearchMatch : public QObject, public MatcherObject
{
    Q_OBJECT
public:
    using ResultReceiver = std::function<void(const QList<FileObject> &)>;

    explicit FileSearchMatch(QObject *parent = nullptr);
    ~FileSearchMatch() override;

    bool matches(Context &workingContext) override;

    /// Where the hits go: the guess controller's addResultFiles.
    void setResultReceiver(ResultReceiver receiver) { m_receiver = std::move(receiver); }

    QString searchedPath() const { return m_searchedPath; }
    void setSearchedPath(const QString &path) { m_searchedPath = path; }
    QStringList searchScope() const { return m_searchScope; }
    void setSearchScope(const QStringList &scope) { m_searchScope = scope; }
    QString baseDir() const { return m_baseDir; }
    void setBaseDir(const QString &dir) { m_baseDir = dir; }

    /// Starts the search for `queryText`; false (and no search) when it does not parse.
    bool doQuery(const QString &queryText);
    bool isSearching() const { return m_metadataSearch.isGathering(); }

    /// The query text for files whose display name is `name`; any name can be searched.
    static QString displayNameQuery(const QString &name);

signals:
    /// A search ended: its hits (possibly none) have been delivered.
    void searchFinished();

private:
    void queryDidUpdate();
    void initalGatherComplete();
    QStringList scopesFrom(const QString &places) const;
    /// The first word of `text` that, standardized, holds a "/" and names no file; null
    /// when there is none.
    static QString firstMissingPath(const QString &text);

    MetadataQuery m_metadataSearch;
    QString m_searchedPath;
    QStringList m_searchScope;
    QString m_baseDir;
    ResultReceiver m_receiver;
};

} // namespace glimra
