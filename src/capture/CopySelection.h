#pragma once

#include "matching/Context.h"

#include <memory>
#include <optional>

namespace glimra {

class Pasteboard;
class PluginController;
class RunningApplications;

/// Gets the text the user has selected in the front-most application through the general
/// pasteboard: saves what the pasteboard holds, empties it, has the application's
/// selection script ("copy_selection") copy, reads the pasteboard until text arrives or
/// the waits (0.0, 0.2, 0.4 s, with the event loop running) run out, then puts the user's
/// clipboard back as it was. A built-in selection script that hands the selected text over
/// directly is asked first: then the clipboard is not touched. The script's argument
/// carries the facts of the application's front window (WindowFacts). Main thread only.
class CopySelection
{
public:
    /// The plug-in controller and the running applications (may be null: no window facts)
    /// are not owned and must outlive the copier.
    CopySelection(const PluginController *pluginController,
                  std::shared_ptr<Pasteboard> generalPasteboard,
                  const RunningApplications *runningApplications = nullptr);
    virtual ~CopySelection() = default;

    /// The capture (CTX_TEXT alone) of the copied selection, or nullopt.
    virtual std::optional<Context> contextForApp(const QString &bundleIdentifier);
    /// The capture of the text `pasteboard` holds now; nothing is written or waited for.
    std::optional<Context> clipboard(const Pasteboard &pasteboard, const QString &bundleIdentifier);

    /// The capture of the pasteboard's text; nullopt for none, "", "null" and "(null)".
    static std::optional<Context> getPBoard(const Pasteboard &pasteboard);
    /// Makes `text` the pasteboard's only content.
    static void setPBoard(Pasteboard &pasteboard, const QString &text);

private:
    static std::optional<Context> capture(const QString &text);
    std::optional<Context> waitForCopy() const;

    const PluginController *m_pluginController;
    std::shared_ptr<Pasteboard> m_generalPasteboard;
    const RunningApplications *m_runningApplications;
};

} // namespace glimra
