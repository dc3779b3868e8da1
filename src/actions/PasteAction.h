#pragma once

#include "foundation/HandlerScript.h"
#include "matching/ActionObject.h"
#include "platform/Pasteboard.h"

#include <memory>

namespace glimra {

/// "paste": puts ACT_TEXT, or the file ACT_DATA_PATH of kind ACT_DATA_TYPE, on the general
/// pasteboard and runs the "paste_selection" handler of "${APP_RESOURCES}/PasteAction.scpt",
/// which pastes into the application the selection came from.
class PasteAction : public ActionObject
{
public:
    /// The prototype: no label, no script.
    explicit PasteAction(std::shared_ptr<Pasteboard> pasteboard);
    /// An offered action with its script loaded (initWithLabel:).
    PasteAction(std::shared_ptr<Pasteboard> pasteboard, const QString &label);

    /// The pasteboard type of a data kind ("PDF", "HTML", "TIFF", "TXT", "RTF", exactly);
    /// null for anything else.
    static QString typeForDataType(const QString &dataType);

    ActionList actionsForContext(const Context &matchedContext) override;
    QString whyNotOffered(const Context &) const override { return QStringLiteral("it needs ACT_TEXT or ACT_DATA_TYPE"); }
    void execute(const Context &executionContext, const Completion &done) override;

    bool hasScript() const { return m_pastesel_ap != nullptr; }

    /// Puts what `context` holds to paste on `pasteboard`: the file ACT_DATA_PATH of a known
    /// kind ACT_DATA_TYPE, else ACT_TEXT. False, and the pasteboard untouched, when it
    /// holds neither.
    static bool fillPasteboard(Pasteboard &pasteboard, const Context &context);

private:
    std::shared_ptr<Pasteboard> m_pasteboard;
    std::shared_ptr<HandlerScript> m_pastesel_ap;
};

} // namespace glimra
