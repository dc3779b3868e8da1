#include "matchers/FileMatch.h"

#include "foundation/Paths.h"
#include "foundation/Strings.h"

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

// The run of ASCII digits that begins at `from` (what "^(\d+)" matches there); empty when
// none does.
QStringView digitsAt(QStringView text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && text[end] >= u'0' && text[end] <= u'9')
        ++end;
    return text.sliced(from, end - from);
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
    if (matchesSingleLineNum(workingContext))
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

bool FileMatch::matchesSingleLineNum(Context &context) const
{
    const QString value = context.value(CTX_TEXT);
    const QStringView text = QStringView(value).trimmed();
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1)
        return false;
    const QStringView line = digitsAt(text, colon + 1);
    if (line.isEmpty())
        return false;
    const QString path = resolve(text.first(colon).toString(), context, Joining::Standardized);
    if (path.isNull())
        return false;
    context.insert(ACT_PATH, path);
    context.insert(ACT_PATH_LINE, line.toString());
    // Compilers write "file:line:column:"; an editor can go to the column too.
    const qsizetype afterLine = colon + 1 + line.size();
    if (afterLine < text.size() && text[afterLine] == u':') {
        const QStringView column = digitsAt(text, afterLine + 1);
        if (!column.isEmpty())
            context.insert(ACT_PATH_COLUMN, column.toString());
    }
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
