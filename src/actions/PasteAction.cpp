#include "actions/PasteAction.h"

#include "foundation/Paths.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace glimra {

PasteAction::PasteAction(std::shared_ptr<Pasteboard> pasteboard, TerminalTest isTerminal)
    : ActionObject(u"PasteAction"_s), m_pasteboard(std::move(pasteboard)), m_isTerminal(std::move(isTerminal))
{
}

PasteAction::PasteAction(std::shared_ptr<Pasteboard> pasteboard, const QString &label, TerminalTest isTerminal)
    : PasteAction(std::move(pasteboard), std::move(isTerminal))
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
    return {std::make_shared<PasteAction>(m_pasteboard, u"paste"_s, m_isTerminal)};
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

std::optional<QString> PasteAction::checkForTerminal(Context &context)
{
    if (!context.contains(ACT_TEXT) || !m_isTerminal || !m_isTerminal(context))
        return std::nullopt;
    // A line break at the end would be Enter: the shell would run the text at once.
    QString text = context.value(ACT_TEXT);
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    context.insert(ACT_TEXT, text);
    const qsizetype lines = text.count(u'\n') + 1;
    if (lines > 1 && !std::exchange(m_askedOnce, true))
        return u"the text has %1 lines, and a terminal may run each as a command: choose paste again to paste them"_s
            .arg(lines);
    return std::nullopt;
}

Outcome PasteAction::sendPasteKeystroke(const Context &context) const
{
    if (!m_pastesel_ap)
        return Outcome::failure(u"the paste script cannot be loaded"_s);
    QString failure;
    // The script answers why it sent no keystroke (the window is gone), else nothing.
    const QVariant refusal = m_pastesel_ap->executeSubroutine(u"paste_selection"_s, {toJsonObject(context)}, &failure);
    if (refusal.typeId() == QMetaType::QString && !refusal.toString().isEmpty())
        return Outcome::failure(refusal.toString());
    return Outcome::unlessFailed(u"the paste script"_s, failure);
}

void PasteAction::execute(const Context &executionContext, const Completion &done)
{
    if (!m_pasteboard)
        return complete(done, Outcome::failure(u"there is no pasteboard"_s));
    Context context = executionContext;
    if (const std::optional<QString> ask = checkForTerminal(context))
        return complete(done, Outcome::failure(*ask));
    // What the user had on the clipboard, every format, to be put back. A paste while an
    // earlier one still waits to put it back finds that one's value there: the user's own
    // clipboard is the one the earlier paste saved, and only the last paste puts it back.
    static std::optional<PasteboardContents> waiting;
    static quint64 lastPaste = 0;
    const PasteboardContents saved = !m_pasteboard->isShared() ? PasteboardContents()
                                     : waiting                 ? *waiting
                                                               : m_pasteboard->contents();
    if (!fillPasteboard(*m_pasteboard, context))
        return complete(done, Outcome::failure(u"there is nothing to paste"_s));
    const quint64 paste = ++lastPaste;
    if (m_pasteboard->isShared())
        waiting = saved;
    const Outcome outcome = sendPasteKeystroke(context);
    if (!m_pasteboard->isShared())
        return complete(done, outcome);
    // Put back once the application has fetched what was pasted, never before: it asks
    // for it only after the keystroke, on its own time.
    std::shared_ptr<Pasteboard> pasteboard = m_pasteboard;
    pasteboard->whenFetched(PasteFetchBound, [pasteboard, saved, done, outcome, paste] {
        if (paste == lastPaste) {
            waiting.reset();
            // Another program took the clipboard meanwhile (the user copied): it stays theirs.
            if (pasteboard->ownsClipboard())
                pasteboard->setContents(saved);
        }
        complete(done, outcome);
    });
}

} // namespace glimra
