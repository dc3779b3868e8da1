#include "capture/SelectionCopyScript.h"

#include "capture/CopySelection.h"
#include "capture/TerminalSession.h"
#include "capture/WindowFacts.h"
#include "platform/Pasteboard.h"

#include <QFileInfo>

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

// The copy keystroke is the interrupt key in a terminal. A window is known not to be one
// only when its process can be looked at here: a window without a process id, or whose
// process lives elsewhere (another machine over ssh -X, another pid namespace), gets none.
bool SelectionCopyScript::mayTakeTheCopyKeystroke(const WindowFacts &window)
{
    return window.id != 0 && window.pid > 0
        && QFileInfo::exists(u"/proc/%1/stat"_s.arg(window.pid))
        && !TerminalSession::of(window.pid);
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
    if (m_copyKeystroke && mayTakeTheCopyKeystroke(WindowFacts::fromArguments(args)))
        m_copyKeystroke();
    return {};
}

} // namespace glimra
