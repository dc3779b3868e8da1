#include "matchers/FileSearchMatch.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/Strings.h"
#include "foundation/Url.h"
#include "matching/includeFile.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace glimra {

FileSearchMatch::FileSearchMatch(QObject *parent, ProgramRunner &runner)
    : LateResults(parent), MatcherObject(u"FileSearchMatch"_s), m_metadataSearch(nullptr, runner)
{
    connect(&m_metadataSearch, &MetadataQuery::didUpdate, this, &FileSearchMatch::queryDidUpdate);
    connect(&m_metadataSearch, &MetadataQuery::didFinishGathering, this,
            &FileSearchMatch::initalGatherComplete);
}

FileSearchMatch::~FileSearchMatch()
{
    m_metadataSearch.stopQuery();
}

void FileSearchMatch::beginRun(const MatchRun &run)
{
    m_runGuess = run.guess;
    m_runExclusion = searchExclusionFilter(run.settings);
}

bool FileSearchMatch::isSearching(quint64 guess) const
{
    return m_metadataSearch.isGathering() && m_searchGuess == guess;
}

QString FileSearchMatch::displayNameQuery(const QString &name)
{
    return u"kMDItemDisplayName == "_s + Predicate::quoted(name);
}

QStringList FileSearchMatch::scopesFrom(const QString &places) const
{
    return places.isNull() ? QStringList{MetadataQuery::LocalComputerScope}
                           : split(places, u":"_s);
}

bool FileSearchMatch::matches(Context &context)
{
    if (hasFoundFiles(context) || context.contains(ACT_DATA_TYPE)
        || context.contains(ACT_PATH))
        return false;

    if (context.contains(ACT_SEARCH_QUERY)) {
        m_searchScope = scopesFrom(context.value(ACT_SEARCH_SCOPE));
        m_searchedPath = QString();
        m_baseDir = QString();
        return doQuery(context.value(ACT_SEARCH_QUERY));
    }

    if (context.contains(ACT_SEARCH_FILE)) {
        const QString file = context.value(ACT_SEARCH_FILE);
        m_searchScope = scopesFrom(context.contains(ACT_SEARCH_SCOPE) ? context.value(ACT_SEARCH_SCOPE)
                                                                      : context.value(CTX_DIR));
        m_searchedPath = file;
        m_baseDir = QString();
        const QString name = file.contains(u'/') && !file_exists(file) ? basename(file) : file;
        return doQuery(displayNameQuery(name));
    }

    const QString path = firstMissingPath(context.value(CTX_TEXT));
    if (path.isNull())
        return false;
    m_searchScope = {MetadataQuery::LocalComputerScope};
    m_searchedPath = path;
    m_baseDir = context.value(CTX_DIRx);
    return doQuery(displayNameQuery(basename(path)));
}

QString FileSearchMatch::whyNot(const Context &context) const
{
    if (hasFoundFiles(context) || context.contains(ACT_DATA_TYPE) || context.contains(ACT_PATH))
        return u"a matcher before it found files or data already"_s;
    if (context.contains(ACT_SEARCH_QUERY) || context.contains(ACT_SEARCH_FILE))
        return u"the search asked for is not a valid query"_s;
    return u"no word is a path that does not exist, to search for by its name"_s;
}

QString FileSearchMatch::firstMissingPath(const QString &text)
{
    QString missing;
    forEachPiece(text, WordSeparators, [&missing](QStringView word) {
        // Only a "/" in the word, or a "~" that standardizing expands, puts one in the path.
        if (!word.contains(u'/') && !word.startsWith(u'~'))
            return true;
        const QString path = stringByStandardizingPath(word.toString());
        if (!path.contains(u'/') || file_exists(path))
            return true;
        missing = path;
        return false;
    });
    return missing;
}

bool FileSearchMatch::doQuery(const QString &queryText)
{
    QString error;
    const std::optional<Predicate> predicate = Predicate::predicateWithFormat(queryText, &error);
    if (!predicate) {
        qCWarning(lcMatchers).noquote() << u"search query skipped: %1 (%2)"_s.arg(queryText, error);
        return false;
    }
    // A search still gathering for an earlier guess is replaced: its hits never come.
    m_searchGuess = m_runGuess;
    m_searchExclusion = m_runExclusion;
    m_metadataSearch.setPredicate(*predicate);
    m_metadataSearch.setSearchScopes(m_searchScope);
    return m_metadataSearch.startQuery();
}

void FileSearchMatch::queryDidUpdate()
{
    qCInfo(lcMatchers).noquote() << u"A data batch has been received"_s;
}

void FileSearchMatch::initalGatherComplete()
{
    m_metadataSearch.stopQuery();
    QString suffix = m_searchedPath;
    if (!suffix.isNull() && !suffix.startsWith(u'/'))
        suffix.prepend(u'/');
    const QString base = m_baseDir.isNull() ? u"/"_s : m_baseDir;

    const std::optional<Predicate> &exclusion = m_searchExclusion;
    QList<FileObject> files;
    for (qsizetype i = 0; i < m_metadataSearch.resultCount(); ++i) {
        const QVariantMap hit = m_metadataSearch.resultAtIndex(i);
        const QString path = hit.value(u"kMDItemPath"_s).toString();
        if ((!suffix.isNull() && !path.endsWith(suffix)) || !path.startsWith(base)
            || !includeFile(path, exclusion))
            continue;
        qCInfo(lcMatchers).noquote() << u"GOT IT:%1"_s.arg(path);
        FileObject file;
        file.setLabel(hit.value(u"kMDItemDisplayName"_s).toString());
        file.setFilePath(path);
        file.setCdate(hit.value(u"kMDItemFSContentChangeDate"_s).toDateTime());
        file.setUrlPath(Url::fileURLWithPath(path).absoluteString());
        files.append(file);
    }
    if (!files.isEmpty()) {
        std::stable_sort(files.begin(), files.end(), [](const FileObject &a, const FileObject &b) {
            return a.cdate() > b.cdate();
        });
        emit filesFound(m_searchGuess, files);
    }
    emit finished(m_searchGuess);
}

} // namespace glimra
