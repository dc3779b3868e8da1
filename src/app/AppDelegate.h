#pragma once

#include "app/ActionOrder.h"
#include "app/GuessOutcome.h"
#include "app/GuessResult.h"
#include "app/RecentGuesses.h"
#include "capture/CopySelection.h"
#include "foundation/ApplicationDelegate.h"
#include "foundation/Completion.h"
#include "matching/ActionObject.h"
#include "matching/Context.h"
#include "matching/Explanation.h"
#include "platform/Settings.h"
#include "matching/FileObject.h"

#include <QList>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace glimra {

class FocusTracker;
class LateResults;
class MatchingEngine;
class Notifier;
class Clipboard;
class ResultPanel;
class UserDefaults;

/// The guess controller: turns a request (guess the selection, the clipboard, a Services
/// request, a given text) into a guess, keeps the result of the last guess (one value,
/// announced by resultChanged), posts the notifications, takes result files that arrive
/// later (as updates of that value) and runs the action the user picks.
///
/// Every request is a guess with an identity and an outcome (guessFinished). Guesses never
/// nest: a request that arrives while one runs (capture and handler scripts run the event
/// loop) waits its turn. A request that names its text (guessText, handleGuessText) always
/// runs; of the waiting requests that capture (the selection, the clipboard, a Services
/// request) only the newest runs, and an older one ends Dropped. Late files are taken only
/// for the guess that is current. Each guess reads the settings once, when it begins.
///
/// Its collaborators are handed to it when it is made (MainInterface makes them all); it
/// creates none and owns none but its share of the notifier and the clipboard. Only the
/// panel, made after it, is set later. Main thread only.
class AppDelegate : public ApplicationDelegate
{
    Q_OBJECT

public:
    /// Where a request came from: a toolbar item never moves the panel to the pointer.
    enum class Sender { Other, ToolbarItem };

    /// What the controller works with. The references must outlive it; the notifier and
    /// the clipboard may be null (no notifications, no clipboard guess).
    struct Collaborators
    {
        FocusTracker &focusTracker;
        CopySelection &copySelection;
        MatchingEngine &matchingEngine;
        /// Where late files come from; they are taken for the guess that is current.
        LateResults &lateResults;
        UserDefaults &userDefaults;
        std::shared_ptr<Notifier> notifier;
        std::shared_ptr<Clipboard> clipboard;
    };

    explicit AppDelegate(const Collaborators &collaborators, QObject *parent = nullptr);
    ~AppDelegate() override;

    /// The panel that shows the results; null: none (the command line). Not owned.
    void setResultWindow(ResultPanel *resultWindow) { m_resultWindow = resultWindow; }

    /// The update feed of the application: the per-installation seed "app_tm_seed" is
    /// made at the first launch (the seconds since 1970 in upper-case hexadecimal) and kept;
    /// the feed's address carries it. Nothing is fetched: a Linux program is updated by
    /// its package.
    void makeUpdateFeed();
    QString feedURL() const { return m_feedURL; }
    /// The application was started again: shows the results panel. Answers true.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);

    /// Guesses the front-most application's selection; the guess goes on at a later turn
    /// of the event loop. Each of these returns the new guess's identity.
    quint64 guessCurrentSelection(Sender sender = Sender::Other);
    /// Guesses the text the clipboard holds now.
    quint64 guessCurrentClipboard(Sender sender = Sender::Other);
    /// Guesses the text of a Services request's clipboard (read at once).
    quint64 handleFromService(const Clipboard &clipboard);
    /// Guesses a given selection context as it stands: nothing is captured, no panel is
    /// shown, nobody is notified (the command line's match, scripting).
    quint64 guessText(const Context &selectionContext);

    /// The answer to a scripting guess: the matched context, with ACT_FILENAMES (the paths
    /// of the result files, one per line) and ACT_FILENAME (the first of them); nullopt
    /// when the guess did not run.
    using GuessAnswer = std::function<void(const std::optional<Context> &answer)>;
    /// Guesses `text` (with CTX_APP_NAME `applicationName` when given) for a script, in
    /// its turn behind a guess that runs; `answer` hears the outcome.
    quint64 handleGuessText(const QString &text, const QString &applicationName, bool userInput,
                            const GuessAnswer &answer);

    /// Matches `selectionContext` and publishes the result; the keys of `produced` (what an
    /// action produced) are laid over the matched context.
    void runMatchingEngine(const Context &selectionContext, const Context &produced = {});
    /// Appends files that arrived later (desktop search), newest first.
    void addResultFiles(const QList<FileObject> &files);
    /// Runs `action` with the execution context: the matched context with the selection
    /// context laid over it; `done` hears how it ended. A text the action produced (what a
    /// command printed) is guessed next, in the selection's context, with ACT_TEXT set to
    /// it; `done` hears after that guess. A failure is notified when no panel shows it.
    void executeAction(const ActionPtr &action, const Completion &done = {});
    /// The last guesses whose panel was shown, newest first.
    const QList<RecentGuesses::Entry> &recentGuesses() const { return m_recent.entries(); }
    /// Shows the recent guess at `index` (of recentGuesses()) again, in its turn; it stays
    /// where it is in the list.
    void showRecentGuess(qsizetype index);
    void clearRecentGuesses() { m_recent.clear(); }
    /// Opens `file` at its line as "open at line" does (one frame of a trace); a failure,
    /// also that the action is not loaded, is notified and `done` hears it.
    void openAtLine(const FileObject &file, const Completion &done = {});
    /// Asks for the plug-ins to be reloaded: posts "refresh_plugins".
    void refreshPlugins();

    void applicationFocusDidChange(const QString &windowClass,
                                   const QString &name) override;

    /// The result of the last guess that ran to its end (or shown again).
    const GuessResult &result() const { return m_result; }
    /// Makes `result` the current one and announces it (a recent guess shown again).
    void setResult(const GuessResult &result);
    /// The guess whose result is current (0 before the first).
    quint64 currentGuess() const { return m_result.guess; }
    bool isGuessing() const { return m_running.has_value(); }
    /// The settings read when the current guess began.
    const Settings &settings() const { return m_settings; }
    /// Whether guesses are explained: each matcher's and action's part is written down.
    void setExplaining(bool explaining) { m_explaining = explaining; }
    /// Whether a command between backticks runs during a guess: only for a caller that
    /// trusts the texts it asks about (glimra match --run-commands). Off, a guess only looks.
    void setRunningCommands(bool running) { m_runningCommands = running; }

signals:
    /// The current result changed: a new guess, its late files, or a guess that stopped
    /// before it had anything to show (its tab is then 0).
    void resultChanged(const glimra::GuessResult &result);
    /// The event that reloads the plug-ins; the assembly connects the plug-in manager.
    void refresh_plugins();
    /// A guess has ended (or was dropped before it ran).
    void guessFinished(const glimra::GuessOutcome &outcome);
    /// The late files of `guess` are all in.
    void lateResultsFinished(quint64 guess);

private:
    struct Request
    {
        quint64 guess;
        /// A capture: a newer capture that arrives while it waits takes its place.
        bool replaceable;
        std::function<void()> run;
    };
    enum class Kind { Capture, NamedText };
    quint64 request(Kind kind, std::function<void()> run);
    void dropWaitingCapture();
    void startNext();
    void begin(quint64 guess);
    void finish(GuessOutcome outcome);
    GuessOutcome stop(GuessOutcome::Ending ending, const QString &title = {},
                      const QString &description = {});

    void continueGuessing();
    void guessClipboardCapture(const CopySelection::Capture &capture);
    /// Notes whether the request wants the panel at the pointer, and where its front window is.
    void followPointerFrom(Sender sender);
    std::optional<Context> focusContext() const;
    /// `tab`: the tab the result is shown on; none: by the number of files.
    void matchCapture(const Context &focus, const Context &capture, std::optional<qint64> tab);
    void runMatchingEngine(const Context &selectionContext, const Context &produced,
                           std::optional<qint64> tab);
    void showResults();
    void showTab(qint64 tab);
    void notify(const QString &title, const QString &description);
    void notifyError(const QString &title, const QString &description);
    void takeLateFiles(quint64 guess, const QList<FileObject> &files);
    void guessProducedText(const QString &text, const Context &selection, const Outcome &outcome,
                           const Completion &done);
    void actionEnded(const QString &label, const Outcome &outcome);
    void learnPick(const QString &kind, const QString &label);

    const Collaborators m_with;
    ResultPanel *m_resultWindow = nullptr;
    QString m_feedURL;

    quint64 m_lastGuess = 0;
    std::optional<quint64> m_running; // the guess running now
    std::deque<Request> m_waiting;    // the requests that wait for it, oldest first
    qsizetype m_cutAt = 0;            // the running guess's text was cut at this size
    bool m_shownRunning = false;      // the running guess's panel was shown
    RecentGuesses m_recent;
    ActionOrder m_actionOrder;
    Settings m_settings;
    bool m_explaining = false;
    bool m_runningCommands = false;
    // Whether the running request asked for the panel at the pointer.
    bool m_followPointer = false;
    // Where the request's front window was (GuessResult::frontWindow).
    QRect m_frontWindow;
    GuessResult m_result;
};

} // namespace glimra
