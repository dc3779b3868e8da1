#include "capture/SelectionCopyScript.h"

#include "capture/CopySelection.h"
#include "capture/TerminalSession.h"
#include "capture/WindowFacts.h"
#include "platform/Clipboard.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace glimra {

SelectionCopyScript::SelectionCopyScript(std::shared_ptr<Clipboard> selection,
                                         std::shared_ptr<Clipboard> clipboard,
                                         std::function<void()> copyKeystroke)
    : m_selection(std::move(selection)),
      m_clipboard(std::move(clipboard)),
      m_copyKeystroke(std::move(copyKeystroke))
{
}

std::optional<TextRead> SelectionCopyScript::selectionWithoutClipboard(const QJsonArray &,
                                                                      qsizetype maximumBytes) const
{
    const TextRead read = m_selection->readText(maximumBytes);
    if (read.text.isEmpty() && !read.timedOut)
        return std::nullopt;
    return read;
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

QVariant SelectionCopyScript::call(const QString &handler, const QJsonArray &args,
                                   QString *failure) const
{
    if (handler != u"copy_selection"_s) {
        if (failure)
            *failure = u"no handler %1"_s.arg(handler);
        return {};
    }
    if (const std::optional<TextRead> read = selectionWithoutClipboard(args, Clipboard::MaximumReadBytes)) {
        if (read->timedOut) {
            if (failure)
                *failure = u"the selection was not handed over in time"_s;
            return {};
        }
        m_clipboard->setText(read->text);
        return {};
    }
    if (m_copyKeystroke && mayTakeTheCopyKeystroke(WindowFacts::fromArguments(args)))
        m_copyKeystroke();
    return {};
}

} // namespace glimra
