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

/// What a session runs with: the desktop's services (or stand-ins), and how a clipboard
/// that this process owns outlives it (none where the clipboard is not the desktop's).
struct SessionServices
{
    Platform platform;
    std::function<void(Clipboard &)> keepClipboard;

    /// Before exit: a clipboard this process owns is handed to a keeper process, since on
    /// X11 a clipboard dies with its owner.
    void handOverClipboard() const;
};

/// One run of the command line: the desktop's services (or stand-ins without a display),
/// the guess controller and its collaborators, and what must happen before exit. Every
/// wait runs the event loop until the awaited signal arrives.
class Session
{
public:
    explicit Session(SessionServices services);
    ~Session();

    MainInterface &interface() { return *m_interface; }
    AppDelegate &delegate();
    const Platform &platform() const { return m_services.platform; }

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

    /// The services of a run that only guesses a given text: it needs nothing of the
    /// desktop, so nothing of it is loaded or connected (a clipboard in memory, no
    /// applications, no file manager, no notifications).
    static SessionServices withoutDesktop();

private:
    SessionServices m_services;
    ConsolePanel m_panel;
    std::unique_ptr<MainInterface> m_interface;
};

} // namespace glimra
