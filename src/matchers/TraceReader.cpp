#include "matchers/TraceReader.h"

#include "foundation/Paths.h"
#include "foundation/Strings.h"
#include "matchers/TraceForms.h"

#include <QHash>
#include <QSet>
#include <QStringMatcher>

#include <algorithm>
#include <climits>

namespace glimra {

TraceReader::TraceReader(Resolve resolve, QString searchFolder, PartialPathSearch::Limits limits)
    : m_resolve(std::move(resolve)), m_searchFolder(std::move(searchFolder)), m_limits(limits)
{
}

QString TraceReader::partialPath(const QString &writtenPath)
{
    if (writtenPath.startsWith(u'/') || writtenPath.startsWith(u'~') || writtenPath.size() > PATH_MAX)
        return {};
    const QString partial = stringByStandardizingPath(writtenPath);
    if (partial.isEmpty() || partial.startsWith(u'/') || partial.section(u'/', 0, 0).contains(u':'))
        return {};
    const bool climbs = !forEachPiece(partial, u"/", [](QStringView component) {
        return component != u"..";
    });
    return climbs ? QString() : partial;
}

QList<TraceLocation> TraceReader::places(QStringView text)
{
    QList<TraceLocation> places;
    // Only the lines holding a mark are tried: the marks are found by scans of the whole
    // text (a character search and a Boyer-Moore search), and each line is then read alone.
    const QStringMatcher lineWord(TraceForms::LineWord);
    qsizetype nextColon = text.indexOf(TraceForms::Colon);
    qsizetype nextWord = lineWord.indexIn(text);
    qsizetype tried = 0;
    for (qsizetype from = 0; places.size() < MaximumPlaces && tried < MaximumLinesTried; ++tried) {
        if (nextColon >= 0 && nextColon < from)
            nextColon = text.indexOf(TraceForms::Colon, from);
        if (nextWord >= 0 && nextWord < from)
            nextWord = lineWord.indexIn(text, from);
        const qsizetype mark = nextColon < 0 ? nextWord
            : nextWord < 0                   ? nextColon
                                             : std::min(nextColon, nextWord);
        if (mark < 0)
            break;
        const qsizetype start = text.lastIndexOf(u'\n', mark) + 1;
        qsizetype end = text.indexOf(u'\n', mark);
        if (end < 0)
            end = text.size();
        from = end + 1;
        std::optional<TraceLocation> place = TraceForms::read(text.sliced(start, end - start));
        if (!place)
            continue;
        // Only the first place can be on the line that opens the text: the lines of any
        // other are preceded by its line, which is not blank.
        place->opensText = places.isEmpty() && text.first(start).trimmed().isEmpty();
        places.append(*place);
    }
    return places;
}

QHash<QString, QString> TraceReader::resolveAll(const QList<TraceLocation> &places) const
{
    QHash<QString, QString> resolved; // path as written: existing file, or null
    QHash<QString, QString> partials; // path as written that did not resolve: what to look for
    for (const TraceLocation &place : places) {
        if (resolved.contains(place.path))
            continue;
        const QString file = m_resolve(place.path);
        resolved.insert(place.path, file);
        const QString partial = file.isNull() ? partialPath(place.path) : QString();
        if (!partial.isNull())
            partials.insert(place.path, partial);
    }
    if (!m_searchFolder.isEmpty() && !partials.isEmpty()) {
        const QHash<QString, QString> found =
            PartialPathSearch::find(m_searchFolder, partials.values(), m_limits);
        for (auto it = partials.cbegin(); it != partials.cend(); ++it)
            resolved.insert(it.key(), found.value(it.value()));
    }
    return resolved;
}

QList<TraceLocation> TraceReader::frames(QStringView text) const
{
    QList<TraceLocation> read = places(text);
    const QHash<QString, QString> resolved = resolveAll(read);
    QList<TraceLocation> frames;
    QSet<QString> listed;
    for (TraceLocation &place : read) {
        const QString file = resolved.value(place.path);
        const QString key = file + u'\n' + place.lineAndColumn();
        if (file.isNull() || listed.contains(key))
            continue;
        listed.insert(key);
        place.path = file;
        frames.append(place);
    }
    return frames;
}

} // namespace glimra
