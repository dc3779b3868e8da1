#pragma once

#include "matching/LateResults.h"
#include "matching/MatcherObject.h"
#include "platform/MetadataQuery.h"
#include "platform/Predicate.h"

#include <optional>

namespace glimra {

/// Looks up, with the desktop search, a path that does not exist as written (a partial
/// path printed by a tool that ran elsewhere), or what a plug-in asks for through
/// ACT_SEARCH_QUERY, ACT_SEARCH_FILE and ACT_SEARCH_SCOPE. matches() only starts the search;
/// the hits that pass the suffix, base-folder and exclusion tests (the exclusion filter of
/// the guess that started it) are delivered later with that guess's identity, newest
/// first. One search at a time: a new one replaces one still gathering, whose hits then
/// never come. Main thread only; the main thread must run an event loop.
class FileSearchMatch : public LateResults, public MatcherObject
{
    Q_OBJECT
public:
    /// The file-name index is read through `runner`.
    explicit FileSearchMatch(QObject *parent = nullptr, ProgramRunner &runner = ProgramRunner::standard());
    ~FileSearchMatch() override;

    void beginRun(const MatchRun &run) override;
    bool matches(Context &workingContext) override;
    QString whyNot(const Context &workingContext) const override;
    bool isSearching(quint64 guess) const override;

    QString searchedPath() const { return m_searchedPath; }
    QStringList searchScope() const { return m_searchScope; }

    /// Starts the search for `queryText`; false (and no search) when it does not parse.
    bool doQuery(const QString &queryText);
    bool isSearching() const { return m_metadataSearch.isGathering(); }

    /// The query text for files whose display name is `name`; any name can be searched.
    static QString displayNameQuery(const QString &name);

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
    // The guess now matching, and the guess whose search is gathering, with its filter.
    quint64 m_runGuess = 0;
    std::optional<Predicate> m_runExclusion;
    quint64 m_searchGuess = 0;
    std::optional<Predicate> m_searchExclusion;
};

} // namespace glimra
