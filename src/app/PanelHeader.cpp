#include "app/PanelHeader.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

bool isCalculation(const Context &matched)
{
    return matched.value(ACT_FOUND) == u"DCalcMatch"_s && matched.contains(ACT_TEXT);
}

} // namespace

QStringList PanelHeader::lines(const QString &value)
{
    return value.split(u'\n', Qt::SkipEmptyParts);
}

QString PanelHeader::oneLine(const QString &text)
{
    // Cut before simplifying: a huge selection is never copied whole.
    return QStringView(text).left(MaxValueLength * 2).toString().simplified().left(MaxValueLength);
}

QString PanelHeader::separator()
{
    return u" \u00b7 "_s;
}

QString PanelHeader::kind(const Context &matched)
{
    if (matched.isEmpty())
        return tr("Nothing recognised");
    if (matched.contains(ACT_URLS)) {
        const qsizetype count = lines(matched.value(ACT_URLS)).size();
        return count > 1 ? tr("%1 web addresses").arg(count) : tr("Web address");
    }
    // A backticked command is what was selected, even where a word of it names a file.
    if (matched.contains(ACT_COMMAND))
        return tr("Command");
    if (matched.contains(ACT_PATHS) || matched.contains(ACT_PATH)) {
        const qsizetype count = lines(matched.value(ACT_PATHS)).size();
        return count > 1 ? tr("%1 files").arg(count) : tr("File");
    }
    if (isCalculation(matched))
        return tr("Calculation");
    return tr("Text");
}

QString PanelHeader::value(const Context &matched, const Context &selection)
{
    if (matched.isEmpty())
        return oneLine(selection.value(CTX_TEXT));
    if (matched.contains(ACT_URLS))
        return oneLine(lines(matched.value(ACT_URLS)).join(u", "_s));
    if (matched.contains(ACT_COMMAND))
        return u"`%1`"_s.arg(oneLine(matched.value(ACT_COMMAND)));
    const QStringList paths = lines(matched.value(ACT_PATHS));
    if (paths.size() > 1)
        return oneLine(paths.join(u", "_s));
    if (matched.contains(ACT_PATHS) || matched.contains(ACT_PATH)) {
        const QString path = matched.contains(ACT_PATH) ? matched.value(ACT_PATH) : paths.value(0);
        const QString line = matched.value(ACT_PATH_LINE);
        return line.isEmpty() ? oneLine(path) : tr("%1, line %2").arg(oneLine(path), oneLine(line));
    }
    if (isCalculation(matched)) {
        const QString expression = matched.contains(ACT_WORDS) ? matched.value(ACT_WORDS) : matched.value(CTX_TEXT);
        return u"%1 = %2"_s.arg(oneLine(expression), oneLine(matched.value(ACT_TEXT)));
    }
    for (const QString &key : {ACT_WORDS, ACT_TEXT, CTX_TEXT})
        if (matched.contains(key))
            return oneLine(matched.value(key));
    return {};
}

bool PanelHeader::elideInTheMiddle(const Context &matched)
{
    return (matched.contains(ACT_PATH) || matched.contains(ACT_PATHS)) && !matched.contains(ACT_URLS)
        && !matched.contains(ACT_COMMAND)
        && lines(matched.value(ACT_PATHS)).size() <= 1;
}

} // namespace glimra
