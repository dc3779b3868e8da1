// The user's regexp entries: expression and template from the settings, text from the
// selection. The input holds the entry's key, template and expression on its first three
// lines, then the captured text.
#include "FuzzSupport.h"

#include "foundation/Strings.h"
#include "matching/RegExpMatcher.h"

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

QString takeLine(QString &rest)
{
    const qsizetype end = rest.indexOf(u'\n');
    const QString line = rest.left(end < 0 ? rest.size() : end);
    rest = end < 0 ? QString() : rest.mid(end + 1);
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString rest = fuzz::text(data, size);
    const QString key = takeLine(rest);
    const QString valueTemplate = takeLine(rest);
    const QString expression = takeLine(rest);
    RegExpMatcher matcher(key, valueTemplate, expression);
    Context context{{CTX_TEXT, rest}};
    matcher.matches(context);
    // The template filled from pieces that need not come from a match.
    matcher.expandAll(split(rest, u"\n"_s));
    return 0;
}
