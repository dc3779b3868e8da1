#pragma once

#include "foundation/HandlerScript.h"
#include "matching/ActionObject.h"
#include "platform/Clipboard.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace glimra {

/// "paste": puts ACT_TEXT, or the file ACT_DATA_PATH of kind ACT_DATA_TYPE, on the general
/// clipboard and runs the "paste_selection" handler of "${APP_RESOURCES}/PasteAction.scpt",
/// which pastes into the application the selection came from. The desktop's clipboard is
/// put back as it was, every format, once the application has fetched the pasted data (or
/// after PasteFetchBound without a fetch), unless another program took it meanwhile.
/// Into a terminal a text is pasted without its final line breaks, which a shell would take
/// for Enter, and a text of several lines only when the user chose paste a second time.
/// Where the desktop lets no program type into the window (native windows on GNOME), the
/// script answers the keys the user must press: the text stays on the clipboard, nothing
/// is put back, and the outcome says to press them.
class PasteAction : public ActionObject
{
public:
    /// Whether the application CTX_APPID of a context is a terminal.
    using TerminalTest = std::function<bool(const Context &context)>;
    static constexpr std::chrono::milliseconds PasteFetchBound{2000};

    /// The prototype: no label. The paste script is loaded when an offer is first run, once,
    /// and shared by the prototype and all its offers: offering paste writes nothing.
    explicit PasteAction(std::shared_ptr<Clipboard> clipboard, TerminalTest isTerminal = {});

    /// The clipboard type of a data kind ("PDF", "HTML", "TIFF", "TXT", "RTF", exactly);
    /// null for anything else.
    static QString typeForDataType(const QString &dataType);

    ActionList actionsForContext(const Context &matchedContext) override;
    QString whyNotOffered(const Context &) const override { return QStringLiteral("it needs ACT_TEXT or ACT_DATA_TYPE"); }
    void execute(const Context &executionContext, const Completion &done) override;


    /// Puts what `context` holds to paste on `clipboard`: the file ACT_DATA_PATH of a known
    /// kind ACT_DATA_TYPE, else ACT_TEXT. False, and the clipboard untouched, when it
    /// holds neither.
    static bool fillClipboard(Clipboard &clipboard, const Context &context);

private:
    /// `context` as it is pasted into its application, a terminal when `terminal`; a
    /// failure asking to choose again when it must not be pasted unasked.
    std::optional<Outcome> checkForTerminal(Context &context, bool terminal);
    /// Has the paste script bring the captured window to the front and send the paste
    /// keystroke; a failure says why nothing was sent (the window is gone).
    /// `terminal`: whether the window is a terminal. `byHand` is set when the user has to
    /// press the paste keys (the outcome says which).
    Outcome sendPasteKeystroke(const Context &context, bool terminal, bool *byHand) const;

    /// The paste script, loaded on first use (null: not loaded, or it cannot be).
    struct Script
    {
        bool tried = false;
        std::shared_ptr<HandlerScript> loaded;
    };
    /// An offer of `prototype`'s, labelled `label`.
    PasteAction(const PasteAction &prototype, const QString &label);
    std::shared_ptr<HandlerScript> script() const;

    std::shared_ptr<Clipboard> m_clipboard;
    std::shared_ptr<Script> m_script = std::make_shared<Script>();
    TerminalTest m_isTerminal;
    bool m_askedOnce = false;
};

} // namespace glimra
