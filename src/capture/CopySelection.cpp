#include "capture/CopySelection.h"

#include "capture/WindowFacts.h"
#include "foundation/Log.h"
#include "foundation/MainLoop.h"
#include "foundation/PluginController.h"
#include "platform/Pasteboard.h"


using namespace Qt::StringLiterals;

namespace glimra {

CopySelection::CopySelection(const PluginController *pluginController,
                             std::shared_ptr<Pasteboard> generalPasteboard,
                             const RunningApplications *runningApplications)
    : m_pluginController(pluginController),
      m_generalPasteboard(std::move(generalPasteboard)),
      m_runningApplications(runningApplications)
{
}

std::optional<Context> CopySelection::capture(const QString &text)
{
    if (text.isNull() || text == u""_s || text == u"null"_s || text == u"(null)"_s)
        return std::nullopt;
    return Context{{CTX_TEXT, text}};
}

std::optional<Context> CopySelection::getPBoard(const Pasteboard &pasteboard)
{
    return capture(pasteboard.stringValue());
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
    std::shared_ptr<ApplicationScript> script = m_pluginController->pluginForName(scriptName);
    if (!script)
        script = m_pluginController->pluginForName(u"CurrentCocoaApp-selection"_s);
    const QJsonArray arguments = WindowFacts::ofApplication(m_runningApplications, bundleIdentifier)
                                     .arguments(bundleIdentifier);
    if (script) {
        if (const std::optional<QString> text = script->selectionWithoutClipboard(arguments)) {
            if (std::optional<Context> direct = capture(*text))
                return direct;
        }
    }

    // Whatever the user had copied is kept and put back afterwards: the copy below would
    // otherwise lose it for good.
    const PasteboardContents saved = m_generalPasteboard->contents();
    setPBoard(*m_generalPasteboard, u""_s);
    if (script)
        script->executeSubroutine(u"copy_selection"_s, arguments);
    const std::optional<Context> copied = waitForCopy();
    m_generalPasteboard->setContents(saved);
    return copied;
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
