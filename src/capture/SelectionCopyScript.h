#pragma once

#include "foundation/ApplicationScript.h"

#include <functional>
#include <memory>

namespace glimra {

class Clipboard;
struct WindowFacts;

/// The built-in "copy_selection" handler, what the shipped generic script does on a desktop
/// that keeps a selection apart from the clipboard (X11's PRIMARY selection: the text
/// selected last): that text goes on the clipboard. When nothing is selected there, the
/// application is asked to copy with its copy keystroke, unless the window of its argument
/// is a terminal's (TerminalSession), or its process cannot be looked at to tell: in a
/// terminal the keystroke interrupts the program running in it, and whatever a terminal
/// selects is in that selection already. The selected text is
/// also handed over directly, which spares the user's clipboard. Main thread only.
class SelectionCopyScript : public ApplicationScript
{
public:
    /// `selection` is the desktop's selection, `clipboard` the clipboard (both
    /// shared). `copyKeystroke` sends the copy keystroke to the active window; with none,
    /// it is never sent (for applications known to be terminals).
    SelectionCopyScript(std::shared_ptr<Clipboard> selection,
                        std::shared_ptr<Clipboard> clipboard,
                        std::function<void()> copyKeystroke);

    QVariant call(const QString &handler, const QJsonArray &args,
                  QString *failure = nullptr) const override;
    std::optional<TextRead> selectionWithoutClipboard(const QJsonArray &args, qsizetype maximumBytes) const override;

private:
    static bool mayTakeTheCopyKeystroke(const WindowFacts &window);

    std::shared_ptr<Clipboard> m_selection;
    std::shared_ptr<Clipboard> m_clipboard;
    std::function<void()> m_copyKeystroke;
};

} // namespace glimra
