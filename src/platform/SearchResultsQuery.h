#pragma once

#include "platform/MetadataQuery.h"

#include <QObject>
#include <QStringList>

namespace glimra {

/// Shows-search-results support: a desktop search for files whose display name contains
/// every word of a query, case- and diacritic-insensitive, over the whole computer.
/// Reports the paths it found once gathering is done. Main thread only.
class SearchResultsQuery : public QObject
{
    Q_OBJECT
public:
    /// The search's programs run through `runner`.
    explicit SearchResultsQuery(QObject *parent = nullptr,
                                ProgramRunner &runner = ProgramRunner::standard());

    /// The predicate format for `query`; nullopt when it holds no word.
    static QString formatFor(const QString &query);
    /// Starts a search, replacing one still running; false when the query holds no word.
    bool start(const QString &query);
    bool isSearching() const { return m_query.isGathering(); }

signals:
    void finished(const QString &query, const QStringList &paths);

private:
    MetadataQuery m_query;
    QString m_text;
};

} // namespace glimra
