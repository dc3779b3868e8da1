#pragma once

#include "matching/Context.h"

#include <memory>
#include <optional>

namespace glimra {

class Pasteboard;
class PluginController;

/// Gets the text the user has selected in the front-most application through the general
/// pasteboard: saves what the pasteboard holds, empties it, has the application's
/// selection script ("copy_selection") copy, reads the pasteboard until text arrives or
/// the waits (0.0, 0.2, 0.4 s, with the event loop running) run out, then puts the user's
/// clipboard back as it was. Main thread only.
class CopySelection
{
public:
    /// Neither collaborator is owned; both must outlive the copier.
    CopySelection(const PluginController *pluginController,
                  std::shared_ptr<Pasteboard> generalPasteboard);
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
    std::optional<Context> waitForCopy() const;

    const PluginController *m_pluginController;
    std::shared_ptr<Pasteboard> m_generalPasteboard;
};

} // namespace glimra
