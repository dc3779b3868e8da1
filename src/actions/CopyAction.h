#pragma once

#include "matching/ActionObject.h"
#include "platform/Clipboard.h"

#include <memory>

namespace glimra {

/// "copy": puts the value a guess found on the clipboard, as "paste" would (the file of
/// data of ACT_DATA_TYPE, else ACT_TEXT), else the path ACT_PATH, else the URL ACT_URL.
/// The value is taken when offered and shown as the offer's detail.
class CopyAction : public ActionObject
{
public:
    explicit CopyAction(std::shared_ptr<Clipboard> clipboard);

    ActionList actionsForContext(const Context &matchedContext) override;
    QString whyNotOffered(const Context &) const override;
    void execute(const Context &executionContext, const Completion &done) override;

private:
    std::shared_ptr<Clipboard> m_clipboard;
    Context m_value; // what to copy, in the keys "paste" reads
};

} // namespace glimra
