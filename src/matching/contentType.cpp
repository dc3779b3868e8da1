#include "matching/contentType.h"

#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

constexpr qsizetype Shown = 25;

QString head(const QString &text)
{
    return text.size() > Shown ? text.left(Shown) : text;
}

QString tail(const QString &text)
{
    return text.size() > Shown ? text.right(Shown) : text;
}

} // namespace

QString contentType(const Context &context)
{
    const QChar ellipsis(0x2026);
    if (context.isEmpty())
        return u"no match"_s;
    if (context.contains(ACT_URLS))
        return u"URL (%1%2)"_s.arg(head(trim(context.value(ACT_URLS))), ellipsis);
    if (context.contains(ACT_PATHS))
        return u"list of files (%1%2)"_s.arg(ellipsis, tail(trim(context.value(ACT_PATHS))));
    if (context.contains(ACT_PATH))
        return u"a file (%1%2)"_s.arg(ellipsis, tail(trim(context.value(ACT_PATH))));
    if (!context.contains(ACT_WORDS))
        return u"a text"_s;
    return u"a text (%1%2)"_s.arg(head(trim(context.value(ACT_WORDS))), ellipsis);
}

} // namespace glimra
