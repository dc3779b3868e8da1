#pragma once

#include "app/GuessOutcome.h"
#include "app/MainInterface.h"
#include "cli/ConsolePanel.h"
#include "foundation/Completion.h"
#include "matching/ActionObject.h"
#include "platform/Platform.h"

#include <functional>
#include <memory>

namespace glimra {

class AppDelegate;

/// One run of the command line: the desktop's services (or stand-ins without a display),
/// the guess controller and its collaborators, and what must happen before exit. Every
/// wait runs the event loop until the awaited signal arrives.
class Session
{
public:
    explicit Session(bool withDisplay);
    ~Session();

    MainInterface &interface() { return *m_interface; }
    AppDelegate &delegate();
    const Platform &platform() const { return m_platform; }

    /// Starts a guess with `start` (which returns the guess's identity) and waits for its
    /// outcome.
    GuessOutcome guess(const std::function<quint64(AppDelegate &)> &start);
    /// When `outcome` says a desktop search still gathers, waits until its files are in,
    /// at most `seconds`.
    void waitForLateResults(const GuessOutcome &outcome, double seconds);
    /// Runs `action` on the current guess and waits until it reports how it ended.
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
