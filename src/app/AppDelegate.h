#pragma once

#include "foundation/ApplicationDelegate.h"
#include "matching/ActionObject.h"
#include "matching/Context.h"
#include "results/FileObject.h"

#include <QList>
#include <QObject>

#include <memory>
#include <optional>

namespace glimra {

class CopySelection;
class FocusTracker;
class MatchingEngine;
class Notifier;
class Pasteboard;
class ResultPanel;

/// The guess controller: turns a request (guess the selection, guess the clipboard, a
/// Services request) into a guess, owns the state of the last guess in six observable
/// properties, posts the notifications, takes result files that arrive later and runs the
/// action the user picks. Its collaborators are connected by MainInterface, which creates
/// them; it creates none. Main thread only.
class AppDelegate : public ApplicationDelegate
{
    Q_OBJECT
    Q_PROPERTY(qint64 selectedTab READ selectedTab WRITE setSelectedTab NOTIFY selectedTabChanged)
    Q_PROPERTY(glimra::Context selectionContext READ selectionContext WRITE setSelectionContext
                   NOTIFY selectionContextChanged)
    Q_PROPERTY(glimra::Context matchedContext READ matchedContext WRITE setMatchedContext
                   NOTIFY matchedContextChanged)
    Q_PROPERTY(glimra::ActionList resultActions READ resultActions WRITE setResultActions
                   NOTIFY resultActionsChanged)
    Q_PROPERTY(QList<glimra::FileObject> resultFiles READ resultFiles WRITE setResultFiles
                   NOTIFY resultFilesChanged)
    Q_PROPERTY(QString selection READ selection WRITE setSelection NOTIFY selectionChanged)

public:
    /// Where a request came from: a toolbar item never moves the panel to the pointer.
    enum class Sender { Other, ToolbarItem };

    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    // Outlets, connected by MainInterface. None is owned.
    void setFocusTracker(FocusTracker *focusTracker) { m_focusTracker = focusTracker; }
    void setCopySelection(CopySelection *copySelection) { m_copySelection = copySelection; }
    void setMatchingEngine(MatchingEngine *engine) { m_matchingEngine = engine; }
    void setResultWindow(ResultPanel *resultWindow) { m_resultWindow = resultWindow; }
    void setNotifier(std::shared_ptr<Notifier> notifier) { m_notifier = std::move(notifier); }
    void setGeneralPasteboard(std::shared_ptr<Pasteboard> pasteboard);

    /// Initial state: empty selection and matched contexts.
    void awakeFromNib();

    /// Guesses the front-most application's selection. Returns at once; the guess goes on
    /// at a later turn of the event loop.
    void guessCurrentSelection(Sender sender = Sender::Other);
    /// Guesses the text the clipboard holds now.
    void guessCurrentClipboard(Sender sender = Sender::Other);
    /// Guesses the text of a Services request's pasteboard.
    void handleFromService(const Pasteboard &pasteboard);
    /// Matches the current selection context and publishes the results.
    void runMatchingEngine();
    /// Appends files that arrived later (desktop search), newest first.
    void addResultFiles(const QList<FileObject> &files);
    /// Runs `action` with the execution context: the matched context with the selection
    /// context laid over it; `done` hears how it ended.
    void executeAction(const ActionPtr &action, const Completion &done = {});
    /// Asks for the plug-ins to be reloaded.
    void refreshPlugins();

    void applicationFocusDidChange(const QString &bundleIdentifier,
                                   const QString &localizedName) override;

    qint64 selectedTab() const { return m_selectedTab; }
    void setSelectedTab(qint64 tab);
    Context selectionContext() const { return m_selectionContext; }
    void setSelectionContext(const Context &context);
    Context matchedContext() const { return m_matchedContext; }
    void setMatchedContext(const Context &context);
    ActionList resultActions() const { return m_resultActions; }
    void setResultActions(const ActionList &actions);
    QList<FileObject> resultFiles() const { return m_resultFiles; }
    void setResultFiles(const QList<FileObject> &files);
    QString selection() const { return m_selection; }
    void setSelection(const QString &selection);

    /// The execution context for the current guess.
    Context executionContext() const;

signals:
    void selectedTabChanged();
    void selectionContextChanged();
    void matchedContextChanged();
    void resultActionsChanged();
    void resultFilesChanged();
    void selectionChanged();
    /// A selection guess ended without results; `description` says why.
    void guessStopped(const QString &title, const QString &description);
    /// A selection guess showed its results.
    void guessShown();

private:
    void continueGuessing();
    /// The focus context when it names an application; nullopt otherwise.
    std::optional<Context> focusContext() const;
    /// Lays the capture over the focus context, makes that the selection and matches it.
    void matchCapture(const Context &focus, const Context &capture);
    void guessPasteboard(const Pasteboard &pasteboard);
    /// Ends a selection guess that found nothing to guess.
    void stopGuessing(const QString &title, const QString &description);
    void markFollowMouse(Sender sender);
    void notify(const QString &title, const QString &description);
    void notifyError(const QString &title, const QString &description);

    FocusTracker *m_focusTracker = nullptr;
    CopySelection *m_copySelection = nullptr;
    MatchingEngine *m_matchingEngine = nullptr;
    ResultPanel *m_resultWindow = nullptr;
    std::shared_ptr<Notifier> m_notifier;
    std::shared_ptr<Pasteboard> m_generalPasteboard;

    qint64 m_selectedTab = 0;
    Context m_selectionContext;
    Context m_matchedContext;
    ActionList m_resultActions;
    QList<FileObject> m_resultFiles;
    QString m_selection;
};

} // namespace glimra
