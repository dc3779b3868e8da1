#pragma once

#include "app/MainInterface.h"
#include "cli/ConsolePanel.h"
#include "foundation/Completion.h"
#include "matching/ActionObject.h"
#include "platform/Platform.h"

#include <memory>

namespace glimra {

/// One run of the command line: the desktop's services (or stand-ins without a display),
/// the guess controller and its collaborators, and what must happen before exit.
class Session
{
public:
    explicit Session(bool withDisplay);
    ~Session();

    MainInterface &interface() { return *m_interface; }
    AppDelegate &delegate();
    const Platform &platform() const { return m_platform; }
    const ConsolePanel &panel() const { return m_panel; }

    /// Runs the event loop until no desktop search is gathering any more, at most
    /// `seconds`.
    void waitForLateResults(double seconds);
    /// Runs `action` on the current guess and waits, with the event loop running, until it
    /// reports how it ended.
    Outcome runAction(const ActionPtr &action);
    /// Before exit: a clipboard this process owns is handed to a keeper process, since on
    /// X11 a clipboard dies with its owner.
    void keepClipboard();

private:
    bool m_withDisplay;
    Platform m_platform;
    ConsolePanel m_panel;
    std::unique_ptr<MainInterface> m_interface;
};

} // namespace glimra
