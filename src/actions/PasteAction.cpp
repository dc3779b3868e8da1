#include "actions/PasteAction.h"

#include "foundation/Paths.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace glimra {

PasteAction::PasteAction(std::shared_ptr<Pasteboard> pasteboard)
    : ActionObject(u"PasteAction"_s), m_pasteboard(std::move(pasteboard))
{
}

PasteAction::PasteAction(std::shared_ptr<Pasteboard> pasteboard, const QString &label)
    : PasteAction(std::move(pasteboard))
{
    m_pastesel_ap = HandlerScript::initWithContentsOfFile(f(u"${APP_RESOURCES}/PasteAction.scpt"_s));
    setLabel(label);
}

QString PasteAction::typeForDataType(const QString &dataType)
{
    if (dataType == u"PDF"_s)
        return Pasteboard::PDFType;
    if (dataType == u"HTML"_s)
        return Pasteboard::HTMLType;
    if (dataType == u"TIFF"_s)
        return Pasteboard::TIFFType;
    if (dataType == u"TXT"_s)
        return Pasteboard::StringType;
    if (dataType == u"RTF"_s)
        return Pasteboard::RTFType;
    return {};
}

ActionList PasteAction::actionsForContext(const Context &context)
{
    if (!context.contains(ACT_TEXT) && !context.contains(ACT_DATA_TYPE))
        return {};
    return {std::make_shared<PasteAction>(m_pasteboard, u"paste"_s)};
}

bool PasteAction::fillPasteboard(Pasteboard &pasteboard, const Context &context)
{
    const QString type = typeForDataType(context.value(ACT_DATA_TYPE));
    if (!type.isNull() && context.contains(ACT_DATA_PATH)) {
        QFile file(context.value(ACT_DATA_PATH));
        const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        pasteboard.declareTypes({type});
        if (!data.isNull())
            pasteboard.setData(data, type);
        return true;
    }
    if (!context.contains(ACT_TEXT))
        return false;
    pasteboard.declareTypes({Pasteboard::StringType});
    pasteboard.setString(context.value(ACT_TEXT), Pasteboard::StringType);
    return true;
}

void PasteAction::execute(const Context &context, const Completion &done)
{
    if (!m_pasteboard)
        return complete(done, Outcome::failure(u"there is no pasteboard"_s));
    if (!fillPasteboard(*m_pasteboard, context))
        return complete(done, Outcome::failure(u"there is nothing to paste"_s));
    if (!m_pastesel_ap)
        return complete(done, Outcome::failure(u"the paste script cannot be loaded"_s));
    QString failure;
    m_pastesel_ap->executeSubroutine(u"paste_selection"_s, {toJsonObject(context)}, &failure);
    complete(done, Outcome::unlessFailed(u"the paste script"_s, failure));
}

} // namespace glimra
