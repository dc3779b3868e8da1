#include "matchers/FileMatch.h"

#include "foundation/Paths.h"
#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

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

bool FileMatch::matchesSingleLineNum(Context &context) const
{
    const QString text = trim(context.value(CTX_TEXT));
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1)
        return false;
    const QString line = matchFirst(text.mid(colon + 1), u"^(\\d+)"_s);
    if (line.isEmpty())
        return false;
    const QString path = resolve(text.left(colon), context, Joining::Standardized);
    if (path.isNull())
        return false;
    context.insert(ACT_PATH, path);
    context.insert(ACT_PATH_LINE, line);
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
    QStringList paths;
    for (const QString &word : textWords(context)) {
        const QString path = resolve(word, context, Joining::AsWritten);
        if (!path.isNull() && !paths.contains(path))
            paths.append(path);
    }
    return paths;
}

} // namespace glimra
