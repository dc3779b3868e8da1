#include "app/PanelHeader.h"

#include "app/SelectionKind.h"

using namespace Qt::StringLiterals;

namespace glimra {

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
    const qsizetype paths = lines(matched.value(ACT_PATHS)).size();
    switch (selectionKindOf(matched)) {
    case SelectionKind::Nothing:
        return tr("Nothing recognised");
    case SelectionKind::WebAddresses: {
        const qsizetype count = lines(matched.value(ACT_URLS)).size();
        return count > 1 ? tr("%n web addresses", nullptr, int(count)) : tr("Web address");
    }
    case SelectionKind::Command:
        return tr("Command");
    case SelectionKind::Trace:
    case SelectionKind::Files:
    case SelectionKind::File:
        return paths > 1 ? tr("%n files", nullptr, int(paths)) : tr("File");
    case SelectionKind::Calculation:
        return tr("Calculation");
    case SelectionKind::Text:
        break;
    }
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
    if (selectionKindOf(matched) == SelectionKind::Calculation) {
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
    const SelectionKind kind = selectionKindOf(matched);
    return (kind == SelectionKind::File || kind == SelectionKind::Trace) && lines(matched.value(ACT_PATHS)).size() <= 1;
}

} // namespace glimra
