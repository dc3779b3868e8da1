#include "matching/contentType.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

constexpr qsizetype Shown = 25;

// The value trimmed, then cut. Cuts never split a surrogate pair: a character outside the
// BMP is kept whole or dropped. Trimming a view copies nothing, however long the value.
QString head(const QString &value)
{
    const QStringView text = QStringView(value).trimmed();
    if (text.size() <= Shown)
        return text.toString();
    const bool splitsPair = text.at(Shown - 1).isHighSurrogate();
    return text.first(splitsPair ? Shown - 1 : Shown).toString();
}

QString tail(const QString &value)
{
    const QStringView text = QStringView(value).trimmed();
    if (text.size() <= Shown)
        return text.toString();
    const bool splitsPair = text.at(text.size() - Shown).isLowSurrogate();
    return text.last(splitsPair ? Shown - 1 : Shown).toString();
}

} // namespace

QString contentType(const Context &context)
{
    const QChar ellipsis(0x2026);
    if (context.isEmpty())
        return u"no match"_s;
    if (context.contains(ACT_URLS))
        return u"URL (%1%2)"_s.arg(head(context.value(ACT_URLS)), ellipsis);
    if (context.contains(ACT_PATHS))
        return u"list of files (%1%2)"_s.arg(ellipsis, tail(context.value(ACT_PATHS)));
    if (context.contains(ACT_PATH))
        return u"a file (%1%2)"_s.arg(ellipsis, tail(context.value(ACT_PATH)));
    if (context.contains(ACT_COMMAND))
        return u"a command (%1%2)"_s.arg(head(context.value(ACT_COMMAND)), ellipsis);
    if (!context.contains(ACT_WORDS))
        return u"a text"_s;
    return u"a text (%1%2)"_s.arg(head(context.value(ACT_WORDS)), ellipsis);
}

} // namespace glimra
