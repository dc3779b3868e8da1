#include "matchers/FileMatch.h"

#include "foundation/Paths.h"
#include "foundation/Strings.h"
#include "matchers/TraceForms.h"
#include "matchers/TraceReader.h"

#include <QSet>

#include <climits>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// Joined to any folder, every component of a standardized path without a ".." stays in the
// result, which is therefore at least as long. When such a path is already too long to name
// a file (a whole large selection tried as one path), so is its join: it is neither built
// nor standardized a second time.
bool joinIsTooLong(const QString &standardized)
{
    return standardized.size() > PATH_MAX
        && forEachPiece(standardized, u"/", [](QStringView component) { return component != u".."; });
}

void insertPlace(Context &context, const TraceLocation &place)
{
    context.insert(ACT_PATH, place.path);
    context.insert(ACT_PATH_LINE, place.line);
    if (!place.column.isNull())
        context.insert(ACT_PATH_COLUMN, place.column);
}

} // namespace

FileMatch::FileMatch() : MatcherObject(u"FileMatch"_s) {}

bool FileMatch::pathExists(const QString &path)
{
    return path.startsWith(u'/') && path != u"/"_s && path_exists(path);
}

QString FileMatch::resolve(const QString &candidate, const Context &context, Joining joining)
{
    // An empty text names nothing; joined to CTX_DIR it would name that folder itself.
    if (candidate.isEmpty())
        return {};
    const QString standardized = stringByStandardizingPath(candidate);
    if (pathExists(standardized))
        return standardized;
    if (!context.contains(CTX_DIR))
        return {};
    if (joining == Joining::Standardized && joinIsTooLong(standardized))
        return {};
    const QString relative = joining == Joining::Standardized ? standardized : candidate;
    const QString joined = stringByStandardizingPath(context.value(CTX_DIR) + relative);
    return pathExists(joined) ? joined : QString();
}

bool FileMatch::matches(Context &workingContext)
{
    if (workingContext.contains(ACT_PATH))
        return false;
    if (matchesTrace(workingContext) || matchesSingleLineNum(workingContext))
        return true;
    QStringList paths = matchesSingleLine(workingContext);
    if (paths.isEmpty())
        paths = matchesMultiLine(workingContext);
    if (paths.isEmpty())
        return false;
    workingContext.insert(ACT_PATH, paths.first());
    workingContext.insert(ACT_PATHS, paths.join(u'\n'));
    return true;
}

QString FileMatch::whyNot(const Context &workingContext) const
{
    if (workingContext.contains(ACT_PATH))
        return u"a matcher before it found a path already"_s;
    if (!workingContext.contains(CTX_TEXT))
        return NoText.toString();
    return workingContext.contains(CTX_DIR)
        ? u"no file or folder of that name, nor of any word, exists (relative names were tried in CTX_DIR)"_s
        : u"no file or folder of that name, nor of any word, exists"_s;
}

bool FileMatch::matchesTrace(Context &context) const
{
    if (!context.contains(CTX_TEXT))
        return false;
    // A frame names a file: a folder, even one that exists, is no frame.
    const TraceReader reader(
        [&context](const QString &path) {
            const QString found = resolve(path, context, Joining::Standardized);
            return found.isNull() || dir_exists(found) ? QString() : found;
        },
        context.value(CTX_DIR));
    const QList<TraceLocation> frames = reader.frames(context.value(CTX_TEXT));
    if (frames.isEmpty())
        return false;
    insertPlace(context, frames.first());
    // A text that opens with a compiler's "path:line" and names nothing else is written as
    // it always was, without a list.
    if (frames.size() == 1 && frames.first().form == TraceForms::PathLineColumn
        && frames.first().opensText)
        return true;
    QStringList paths;
    QStringList lines;
    for (const TraceLocation &frame : frames) {
        paths.append(frame.path);
        lines.append(frame.lineAndColumn());
    }
    context.insert(ACT_PATHS, paths.join(u'\n'));
    context.insert(ACT_PATH_LINES, lines.join(u'\n'));
    return true;
}

bool FileMatch::matchesSingleLineNum(Context &context) const
{
    const QString value = context.value(CTX_TEXT);
    const std::optional<TraceLocation> place =
        TraceForms::readPathLineColumn(QStringView(value).trimmed());
    if (!place)
        return false;
    const QString path = resolve(place->path, context, Joining::Standardized);
    if (path.isNull())
        return false;
    insertPlace(context, {path, place->line, place->column, place->form});
    return true;
}

QStringList FileMatch::matchesSingleLine(const Context &context) const
{
    if (!context.contains(CTX_TEXT))
        return {};
    const QString path = resolve(trim(context.value(CTX_TEXT)), context, Joining::Standardized);
    return path.isNull() ? QStringList() : QStringList{path};
}

QStringList FileMatch::matchesMultiLine(const Context &context) const
{
    const QString text = context.value(CTX_TEXT);
    QStringList paths;
    QSet<QString> listed;
    // A word met before resolves as it did then, so it needs no second look at the file
    // system. The set holds views into the text; it is emptied when full, which bounds its
    // memory for a text of millions of different words.
    QSet<QStringView> seen;
    forEachPiece(text, WordSeparators, [&](QStringView word) {
        if (seen.size() >= SeenWordsLimit)
            seen.clear();
        const qsizetype before = seen.size();
        seen.insert(word);
        if (seen.size() == before)
            return true;
        const QString path = resolve(word.toString(), context, Joining::AsWritten);
        if (!path.isNull() && !listed.contains(path)) {
            listed.insert(path);
            paths.append(path);
        }
        return true;
    });
    return paths;
}

} // namespace glimra
