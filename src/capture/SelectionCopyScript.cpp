#include "capture/SelectionCopyScript.h"

#include "capture/CopySelection.h"
#include "capture/TerminalSession.h"
#include "capture/WindowFacts.h"
#include "platform/Pasteboard.h"

using namespace Qt::StringLiterals;

namespace glimra {

SelectionCopyScript::SelectionCopyScript(std::shared_ptr<Pasteboard> selection,
                                         std::shared_ptr<Pasteboard> clipboard,
                                         std::function<void()> copyKeystroke)
    : m_selection(std::move(selection)),
      m_clipboard(std::move(clipboard)),
      m_copyKeystroke(std::move(copyKeystroke))
{
}

std::optional<QString> SelectionCopyScript::selectionWithoutClipboard(const QJsonArray &) const
{
    const QString text = m_selection->stringValue();
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

QVariant SelectionCopyScript::executeSubroutine(const QString &handler, const QJsonArray &args,
                                                QString *failure) const
{
    if (handler != u"copy_selection"_s) {
        if (failure)
            *failure = u"no handler %1"_s.arg(handler);
        return {};
    }
    if (const std::optional<QString> text = selectionWithoutClipboard(args)) {
        CopySelection::setPBoard(*m_clipboard, *text);
        return {};
    }
    const WindowFacts window = WindowFacts::fromArguments(args);
    if (m_copyKeystroke && window.id != 0 && !TerminalSession::of(window.pid))
        m_copyKeystroke();
    return {};
}

} // namespace glimra
