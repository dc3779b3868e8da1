#include "app/SelectionKind.h"

using namespace Qt::StringLiterals;

namespace glimra {

SelectionKind selectionKindOf(const Context &matched)
{
    if (matched.isEmpty())
        return SelectionKind::Nothing;
    if (matched.contains(ACT_URLS))
        return SelectionKind::WebAddresses;
    if (matched.contains(ACT_COMMAND))
        return SelectionKind::Command;
    if (matched.contains(ACT_PATH_LINE) || matched.contains(ACT_PATH_LINES))
        return SelectionKind::Trace;
    if (matched.value(ACT_PATHS).split(u'\n', Qt::SkipEmptyParts).size() > 1)
        return SelectionKind::Files;
    if (matched.contains(ACT_PATHS) || matched.contains(ACT_PATH))
        return SelectionKind::File;
    if (matched.value(ACT_FOUND) == u"DCalcMatch"_s && matched.contains(ACT_TEXT))
        return SelectionKind::Calculation;
    return SelectionKind::Text;
}

QString selectionKindKey(SelectionKind kind)
{
    switch (kind) {
    case SelectionKind::Nothing:
        return {};
    case SelectionKind::WebAddresses:
        return u"url"_s;
    case SelectionKind::Command:
        return u"command"_s;
    case SelectionKind::Trace:
        return u"trace"_s;
    case SelectionKind::Files:
        return u"files"_s;
    case SelectionKind::File:
        return u"file"_s;
    case SelectionKind::Calculation:
        return u"calculation"_s;
    case SelectionKind::Text:
        return u"text"_s;
    }
    return {};
}

} // namespace glimra
