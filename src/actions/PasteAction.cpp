#include "actions/PasteAction.h"

#include "foundation/Paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace glimra {

PasteAction::PasteAction(std::shared_ptr<Clipboard> clipboard, TerminalTest isTerminal)
    : ActionObject(u"PasteAction"_s), m_clipboard(std::move(clipboard)), m_isTerminal(std::move(isTerminal))
{
}

PasteAction::PasteAction(const PasteAction &prototype, const QString &label)
    : PasteAction(prototype.m_clipboard, prototype.m_isTerminal)
{
    m_script = prototype.m_script;
    setLabel(label);
}

std::shared_ptr<HandlerScript> PasteAction::script() const
{
    // Loading writes a private copy of the script: done once, not for every guess.
    if (!std::exchange(m_script->tried, true))
        m_script->loaded = HandlerScript::load(expandPath(u"${APP_RESOURCES}/PasteAction.scpt"_s));
    return m_script->loaded;
}

QString PasteAction::typeForDataType(const QString &dataType)
{
    if (dataType == u"PDF"_s)
        return Clipboard::PDFType;
    if (dataType == u"HTML"_s)
        return Clipboard::HTMLType;
    if (dataType == u"TIFF"_s)
        return Clipboard::TIFFType;
    if (dataType == u"TXT"_s)
        return Clipboard::TextType;
    if (dataType == u"RTF"_s)
        return Clipboard::RTFType;
    return {};
}

ActionList PasteAction::actionsForContext(const Context &context)
{
    if (!context.contains(ACT_TEXT) && !context.contains(ACT_DATA_TYPE))
        return {};
    return {std::shared_ptr<PasteAction>(new PasteAction(*this, u"paste"_s))};
}

bool PasteAction::fillClipboard(Clipboard &clipboard, const Context &context)
{
    const QString type = typeForDataType(context.value(ACT_DATA_TYPE));
    if (!type.isNull() && context.contains(ACT_DATA_PATH)) {
        QFile file(context.value(ACT_DATA_PATH));
        const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        clipboard.setTypes({type});
        if (!data.isNull())
            clipboard.setData(data, type);
        return true;
    }
    if (!context.contains(ACT_TEXT))
        return false;
    clipboard.setText(context.value(ACT_TEXT));
    return true;
}

std::optional<Outcome> PasteAction::checkForTerminal(Context &context, bool terminal)
{
    if (!terminal)
        return std::nullopt;
    // A line break at the end would be Enter: the shell would run the text at once.
    QString text = context.value(ACT_TEXT);
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    context.insert(ACT_TEXT, text);
    const qsizetype lines = text.count(u'\n') + 1;
    if (lines > 1 && !std::exchange(m_askedOnce, true))
        return Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "the text has %1 lines, and a terminal may run "
                                                                     "each as a command: choose paste again to paste them"),
                                {QString::number(lines)});
    return std::nullopt;
}

Outcome PasteAction::sendPasteKeystroke(const Context &context, bool terminal, bool *byHand) const
{
    const std::shared_ptr<HandlerScript> loaded = script();
    if (!loaded)
        return Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "the paste script cannot be loaded"));
    QString failure;
    // The script answers why it sent no keystroke (the window is gone), the keys the user
    // must press where no program may type them, or nothing.
    const QVariant answer = loaded->call(u"paste_selection"_s,
                                         {toJsonObject(context), QJsonObject{{u"terminal"_s, terminal}}}, &failure);
    if (answer.typeId() == QMetaType::QString && !answer.toString().isEmpty())
        return Outcome::failure(answer.toString());
    const QString press = answer.toMap().value(u"press"_s).toString();
    if (failure.isNull() && !press.isEmpty()) {
        *byHand = true;
        return Outcome::said(QT_TRANSLATE_NOOP("glimra::Outcome", "the text is on the clipboard: press %1 to paste it"),
                             {press});
    }
    return Outcome::unlessFailed(u"the paste script"_s, failure);
}

void PasteAction::execute(const Context &executionContext, const Completion &done)
{
    if (!m_clipboard)
        return complete(done, Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "there is no clipboard")));
    Context context = executionContext;
    const bool terminal = context.contains(ACT_TEXT) && m_isTerminal && m_isTerminal(context);
    if (const std::optional<Outcome> ask = checkForTerminal(context, terminal))
        return complete(done, *ask);
    // What the user had on the clipboard, every format, to be put back. A paste while an
    // earlier one still waits to put it back finds that one's value there: the user's own
    // clipboard is the one the earlier paste saved, and only the last paste puts it back.
    static std::optional<ClipboardContents> waiting;
    static quint64 lastPaste = 0;
    const ClipboardContents saved = !m_clipboard->isShared() ? ClipboardContents()
                                     : waiting                 ? *waiting
                                                               : m_clipboard->contents();
    if (!fillClipboard(*m_clipboard, context))
        return complete(done, Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "there is nothing to paste")));
    const quint64 paste = ++lastPaste;
    if (m_clipboard->isShared())
        waiting = saved;
    bool byHand = false;
    const Outcome outcome = sendPasteKeystroke(context, terminal, &byHand);
    if (byHand && paste == lastPaste)
        waiting.reset();
    // The user pastes by hand: the text stays on the clipboard for them.
    if (!m_clipboard->isShared() || byHand)
        return complete(done, outcome);
    // Put back once the application has fetched what was pasted, never before: it asks
    // for it only after the keystroke, on its own time.
    std::shared_ptr<Clipboard> clipboard = m_clipboard;
    clipboard->whenFetched(PasteFetchBound, [clipboard, saved, done, outcome, paste] {
        if (paste == lastPaste) {
            waiting.reset();
            // Another program took the clipboard meanwhile (the user copied): it stays theirs.
            if (clipboard->isOwnedHere())
                clipboard->setContents(saved);
        }
        complete(done, outcome);
    });
}

} // namespace glimra
