#include "matching/contentType.h"

#include "foundation/Strings.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

constexpr qsizetype Shown = 25;

// Cuts never split a surrogate pair: a character outside the BMP is kept whole or dropped.
QString head(const QString &text)
{
    if (text.size() <= Shown)
        return text;
    const bool splitsPair = text.at(Shown - 1).isHighSurrogate();
    return text.left(splitsPair ? Shown - 1 : Shown);
}

QString tail(const QString &text)
{
    if (text.size() <= Shown)
        return text;
    const bool splitsPair = text.at(text.size() - Shown).isLowSurrogate();
    return text.right(splitsPair ? Shown - 1 : Shown);
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
