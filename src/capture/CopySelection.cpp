#include "capture/CopySelection.h"

#include "foundation/Log.h"
#include "foundation/MainLoop.h"
#include "foundation/PluginController.h"
#include "platform/Pasteboard.h"


using namespace Qt::StringLiterals;

namespace glimra {

CopySelection::CopySelection(const PluginController *pluginController,
                             std::shared_ptr<Pasteboard> generalPasteboard)
    : m_pluginController(pluginController), m_generalPasteboard(std::move(generalPasteboard))
{
}

std::optional<Context> CopySelection::getPBoard(const Pasteboard &pasteboard)
{
    const QString text = pasteboard.stringValue();
    if (text.isNull() || text == u""_s || text == u"null"_s || text == u"(null)"_s)
        return std::nullopt;
    return Context{{CTX_TEXT, text}};
}

void CopySelection::setPBoard(Pasteboard &pasteboard, const QString &text)
{
    pasteboard.declareTypes({Pasteboard::StringType});
    pasteboard.setString(text, Pasteboard::StringType);
}

std::optional<Context> CopySelection::contextForApp(const QString &bundleIdentifier)
{
    const QString scriptName =
        u"%1-selection"_s.arg(bundleIdentifier.isNull() ? u"(null)"_s : bundleIdentifier);
    // Whatever the user had copied is kept and put back afterwards: the copy below would
    // otherwise lose it for good.
    const PasteboardContents saved = m_generalPasteboard->contents();
    setPBoard(*m_generalPasteboard, u""_s);

    std::shared_ptr<HandlerScript> script = m_pluginController->pluginForName(scriptName);
    if (!script)
        script = m_pluginController->pluginForName(u"CurrentCocoaApp-selection"_s);
    if (script) {
        Context argument;
        set(argument, CTX_APPID, bundleIdentifier);
        script->executeSubroutine(u"copy_selection"_s, {toJsonObject(argument)});
    }

    const std::optional<Context> capture = waitForCopy();
    m_generalPasteboard->setContents(saved);
    return capture;
}

std::optional<Context> CopySelection::waitForCopy() const
{
    if (std::optional<Context> capture = getPBoard(*m_generalPasteboard))
        return capture;
    for (int n = 0; n < 3; ++n) {
        qCInfo(lcCapture).noquote() << u"sleeping..."_s;
        sleep_main_loop(0.2 * n);
        if (std::optional<Context> capture = getPBoard(*m_generalPasteboard))
            return capture;
    }
    qCInfo(lcCapture).noquote() << u"no data in the clipboard"_s;
    return std::nullopt;
}

std::optional<Context> CopySelection::clipboard(const Pasteboard &pasteboard, const QString &)
{
    return getPBoard(pasteboard);
}

} // namespace glimra
