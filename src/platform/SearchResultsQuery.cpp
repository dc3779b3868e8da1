#include "platform/SearchResultsQuery.h"

#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

SearchResultsQuery::SearchResultsQuery(QObject *parent, ProgramRunner &runner)
    : QObject(parent), m_query(nullptr, runner)
{
    connect(&m_query, &MetadataQuery::didFinishGathering, this, [this] {
        m_query.stopQuery();
        QStringList paths;
        for (qsizetype i = 0; i < m_query.resultCount(); ++i)
            paths.append(m_query.resultAtIndex(i).value(u"kMDItemPath"_s).toString());
        emit finished(m_text, paths);
    });
}

QString SearchResultsQuery::formatFor(const QString &query)
{
    QStringList conditions;
    for (const QString &word : split(query, u" \t\n\r"_s))
        conditions.append(u"kMDItemDisplayName CONTAINS[cd] "_s + Predicate::quoted(word));
    return conditions.join(u" AND "_s);
}

bool SearchResultsQuery::start(const QString &query)
{
    const std::optional<Predicate> predicate = Predicate::predicateWithFormat(formatFor(query));
    if (!predicate)
        return false;
    m_text = query;
    m_query.setPredicate(*predicate);
    m_query.setSearchScopes({MetadataQuery::LocalComputerScope});
    return m_query.startQuery();
}

} // namespace glimra
