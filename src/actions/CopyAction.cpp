#include "actions/CopyAction.h"

#include "actions/PasteAction.h"

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// What of `context` is copied, in the keys "paste" reads; empty when it holds no value.
Context valueOf(const Context &context)
{
    if (!PasteAction::typeForDataType(context.value(ACT_DATA_TYPE)).isNull() && context.contains(ACT_DATA_PATH))
        return {{ACT_DATA_TYPE, context.value(ACT_DATA_TYPE)}, {ACT_DATA_PATH, context.value(ACT_DATA_PATH)}};
    // Several files selected are copied whole, one a line; a trace's frames are not a
    // selection of files, so its first frame's path stands for it.
    if (!context.contains(ACT_TEXT) && !context.contains(ACT_PATH_LINES)
        && context.value(ACT_PATHS).contains(u'\n'))
        return {{ACT_TEXT, context.value(ACT_PATHS)}};
    for (const QString &key : {ACT_TEXT, ACT_PATH, ACT_URL}) {
        if (context.contains(key))
            return {{ACT_TEXT, context.value(key)}};
    }
    return {};
}

} // namespace

CopyAction::CopyAction(std::shared_ptr<Clipboard> clipboard)
    : ActionObject(u"CopyAction"_s), m_clipboard(std::move(clipboard))
{
}

ActionList CopyAction::actionsForContext(const Context &context)
{
    const Context value = valueOf(context);
    if (value.isEmpty())
        return {};
    auto offer = std::make_shared<CopyAction>(m_clipboard);
    offer->setLabel(u"copy"_s);
    offer->m_value = value;
    offer->setDetail(value.contains(ACT_TEXT) ? value.value(ACT_TEXT)
                                              : u"%1 data from %2"_s.arg(value.value(ACT_DATA_TYPE),
                                                                         value.value(ACT_DATA_PATH)));
    return {offer};
}

QString CopyAction::whyNotOffered(const Context &) const
{
    return u"it needs ACT_TEXT, ACT_PATH, ACT_URL or a file of data"_s;
}

void CopyAction::execute(const Context &, const Completion &done)
{
    // A clipboard in memory goes with this program: nothing would have been copied.
    if (!m_clipboard || !m_clipboard->isShared())
        return complete(done, Outcome::failure(
            QT_TRANSLATE_NOOP("glimra::Outcome", "there is no clipboard to copy to (no display was found)")));
    if (!PasteAction::fillClipboard(*m_clipboard, m_value))
        return complete(done, Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "there is nothing to copy")));
    complete(done);
}

} // namespace glimra
