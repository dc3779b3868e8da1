#include "app/AppDelegate.h"

#include "app/ResultPanel.h"
#include "capture/CopySelection.h"
#include "capture/FocusTracker.h"
#include "capture/isSystemApp.h"
#include "foundation/Collections.h"
#include "foundation/GlobalContext.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "matching/LateResults.h"
#include "matching/MatchingEngine.h"
#include "matching/contentType.h"
#include "platform/Notifier.h"
#include "platform/Clipboard.h"
#include "platform/UserDefaults.h"

#include <QDateTime>
#include <QPointer>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString FollowMouse = u"do_follow_mouse"_s;
// Where the update feed would come from; nothing is fetched from it.
const QString UpdateHost = u"updates.glimra.org"_s;

QString formatted(const QString &value)
{
    // Formatted with "%@": an absent value reads "(null)".
    return value.isNull() ? u"(null)"_s : value;
}

} // namespace

AppDelegate::AppDelegate(QObject *parent) : ApplicationDelegate(parent) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::setClipboard(std::shared_ptr<Clipboard> clipboard)
{
    m_clipboard = std::move(clipboard);
}

void AppDelegate::setLateResults(LateResults *lateResults)
{
    if (m_lateResults)
        disconnect(m_lateResults, nullptr, this, nullptr);
    m_lateResults = lateResults;
    if (!m_lateResults)
        return;
    connect(m_lateResults, &LateResults::filesFound, this, &AppDelegate::takeLateFiles);
    connect(m_lateResults, &LateResults::finished, this, &AppDelegate::lateResultsFinished);
}

void AppDelegate::clearContexts()
{
    setSelectionContext(Context());
    setMatchedContext(Context());
}

void AppDelegate::makeUpdateFeed()
{
    QString seed = m_userDefaults ? m_userDefaults->stringForKey(u"app_tm_seed"_s) : QString();
    if (seed.isEmpty()) {
        seed = QString::number(QDateTime::currentSecsSinceEpoch(), 16).toUpper();
        if (m_userDefaults)
            m_userDefaults->setObject(u"app_tm_seed"_s, seed);
    }
    m_feedURL = u"http://%1/glimra?t=%2"_s.arg(UpdateHost, seed);
}

bool AppDelegate::applicationShouldHandleReopen(bool)
{
    showResults();
    return true;
}

// One guess at a time: requests that arrive while a guess runs wait their turn. Of the
// waiting captures only the newest runs; a request that names its text is never dropped.

quint64 AppDelegate::request(Kind kind, std::function<void()> run)
{
    const quint64 guess = ++m_lastGuess;
    if (m_running) {
        if (kind == Kind::Capture)
            dropWaitingCapture();
        m_waiting.push_back(Request{guess, kind == Kind::Capture, std::move(run)});
        return guess;
    }
    begin(guess);
    run();
    return guess;
}

void AppDelegate::dropWaitingCapture()
{
    const auto waiting = std::find_if(m_waiting.begin(), m_waiting.end(),
                                      [](const Request &request) { return request.replaceable; });
    if (waiting == m_waiting.end())
        return;
    qCInfo(lcApp).noquote() << u"guess %1 dropped: a newer request arrived while guess %2 ran"_s
                                   .arg(waiting->guess).arg(*m_running);
    GuessOutcome dropped;
    dropped.guess = waiting->guess;
    dropped.ending = GuessOutcome::Ending::Dropped;
    m_waiting.erase(waiting);
    emit guessFinished(dropped);
}

void AppDelegate::startNext()
{
    if (m_running || m_waiting.empty())
        return;
    const Request next = std::move(m_waiting.front());
    m_waiting.pop_front();
    begin(next.guess);
    next.run();
}

void AppDelegate::begin(quint64 guess)
{
    m_running = guess;
    m_cutAt = 0;
    m_shownRunning = false;
    m_settings = m_userDefaults ? m_userDefaults->snapshot() : Settings();
}

void AppDelegate::finish(GuessOutcome outcome)
{
    outcome.guess = *m_running;
    if (outcome.finished()) {
        outcome.matched = !m_matchedContext.isEmpty();
        outcome.searching = m_lateResults && m_lateResults->isSearching(outcome.guess);
        outcome.cutAt = m_cutAt;
        if (m_shownRunning && outcome.matched)
            m_recent.add({contentType(m_matchedContext), m_selectionContext, m_matchedContext,
                          m_resultActions, m_resultFiles, m_cutAt});
    }
    m_running.reset();
    emit guessFinished(outcome);
    if (!m_waiting.empty())
        QTimer::singleShot(0, this, &AppDelegate::startNext);
}

GuessOutcome AppDelegate::stop(GuessOutcome::Ending ending, const QString &title,
                               const QString &description)
{
    GuessOutcome outcome;
    outcome.ending = ending;
    outcome.title = title;
    outcome.description = description;
    return outcome;
}

void AppDelegate::notify(const QString &title, const QString &description)
{
    if (m_notifier)
        m_notifier->notify(title, description, Notifier::Progress);
}

void AppDelegate::notifyError(const QString &title, const QString &description)
{
    if (m_notifier)
        m_notifier->notify(title, description, Notifier::Failure);
}

void AppDelegate::markFollowMouse(Sender sender)
{
    if (!m_globalContext)
        return;
    QVariantMap &content = m_globalContext->content();
    if (sender == Sender::ToolbarItem)
        content.remove(FollowMouse);
    else
        content.insert(FollowMouse, u"x"_s);
}

quint64 AppDelegate::guessCurrentSelection(Sender sender)
{
    return request(Kind::Capture, [this, sender] {
        markFollowMouse(sender);
        notify(u"guessing..."_s, u""_s);
        // The guess goes on after the request's own event handling has finished.
        QTimer::singleShot(0, this, &AppDelegate::continueGuessing);
    });
}

std::optional<Context> AppDelegate::focusContext() const
{
    std::optional<Context> focus = m_focusTracker ? m_focusTracker->contextForCurrentApp()
                                                  : std::nullopt;
    if (focus && !focus->contains(CTX_APPID))
        return std::nullopt;
    return focus;
}

void AppDelegate::matchCapture(const Context &focus, const Context &capture)
{
    Context selection;
    mergeObjectsFromDictionary(selection, focus);
    mergeObjectsFromDictionary(selection, capture); // the capture's CTX_TEXT wins
    setSelectionContext(selection);
    runMatchingEngine();
}

void AppDelegate::showResults()
{
    m_shownRunning = m_running.has_value();
    if (m_resultWindow)
        m_resultWindow->showPanel();
}

void AppDelegate::continueGuessing()
{
    const std::optional<Context> focus = focusContext();
    if (!focus) {
        const QString title = u"no context"_s;
        const QString description = u"no application is active"_s;
        notifyError(title, description);
        setSelectedTab(0);
        return finish(stop(GuessOutcome::Ending::NoContext, title, description));
    }
    const QString appId = focus->value(CTX_APPID);
    const QString documentPath = focus->value(CTX_PATH);
    const QString documentURL = focus->value(CTX_URL);
    const QString title = formatted(focus->value(CTX_APP_NAME));

    const CopySelection::Capture captured = m_copySelection
        ? m_copySelection->contextForApp(appId, m_settings.captureLimitBytes())
        : CopySelection::Capture();
    if (!captured.failure.isNull()) {
        notifyError(title, captured.failure);
        setSelectedTab(0);
        return finish(stop(GuessOutcome::Ending::NotHandedOver, title, captured.failure));
    }
    std::optional<Context> capture = captured.context;
    m_cutAt = captured.cutAt;
    bool fellBack = false;
    if (!capture) {
        if (str_isNotNullOrEmpty(documentPath)) {
            notifyError(title, u"the selection seems to be empty, returning front-most document path"_s);
            capture = Context{{CTX_TEXT, documentPath}};
        } else if (str_isNotNullOrEmpty(documentURL)) {
            notifyError(title, u"the selection seems to be empty, returning front-most document URL"_s);
            capture = Context{{CTX_TEXT, documentURL}};
        } else {
            const QString description = u"the selection seems to be empty"_s;
            notifyError(title, description);
            setSelectedTab(0);
            return finish(stop(GuessOutcome::Ending::EmptySelection, title, description));
        }
        fellBack = true;
    }
    matchCapture(*focus, *capture);
    setSelectedTab(m_resultFiles.size() >= 2 ? 2 : 1);
    showResults();
    if (!fellBack)
        notify(u"got it"_s, u"looks like %1"_s.arg(contentType(m_matchedContext)));
    finish(GuessOutcome());
}

quint64 AppDelegate::guessCurrentClipboard(Sender sender)
{
    return request(Kind::Capture, [this, sender] {
        markFollowMouse(sender);
        guessClipboardCapture(m_clipboard && m_copySelection
                            ? m_copySelection->clipboard(*m_clipboard, QString(),
                                                         m_settings.captureLimitBytes())
                            : CopySelection::Capture());
    });
}

quint64 AppDelegate::handleFromService(const Clipboard &clipboard)
{
    // Read now: the request's clipboard need not outlive this call. The settings of the
    // guess are not read yet: its limit is read for the purpose.
    const qsizetype limit = (m_userDefaults ? m_userDefaults->snapshot() : Settings()).captureLimitBytes();
    const CopySelection::Capture capture =
        m_copySelection ? m_copySelection->clipboard(clipboard, QString(), limit) : CopySelection::Capture();
    return request(Kind::Capture, [this, capture] { guessClipboardCapture(capture); });
}

void AppDelegate::guessClipboardCapture(const CopySelection::Capture &capture)
{
    // Without an application or a text, nothing changes and nobody is told.
    const std::optional<Context> focus = focusContext();
    if (!focus)
        return finish(stop(GuessOutcome::Ending::NoContext));
    if (!capture.failure.isNull())
        return finish(stop(GuessOutcome::Ending::NotHandedOver, u"the clipboard"_s, capture.failure));
    if (!capture.context)
        return finish(stop(GuessOutcome::Ending::NoText));
    m_cutAt = capture.cutAt;
    matchCapture(*focus, *capture.context);
    setSelectedTab(1);
    showResults();
    finish(GuessOutcome());
}

quint64 AppDelegate::guessText(const Context &selectionContext)
{
    return request(Kind::NamedText, [this, selectionContext] {
        setSelectionContext(selectionContext);
        runMatchingEngine();
        finish(GuessOutcome());
    });
}

quint64 AppDelegate::handleGuessText(const QString &text, const QString &applicationName, bool,
                                     const GuessAnswer &answer)
{
    Context selection{{CTX_TEXT, text}};
    set(selection, CTX_APP_NAME, applicationName.isEmpty() ? QString() : applicationName);
    // The guess may end before guessText() returns: listen first, for the identity the
    // request is about to get.
    const quint64 guess = m_lastGuess + 1;
    auto *listener = new QObject(this);
    connect(this, &AppDelegate::guessFinished, listener, [this, guess, answer, listener](const GuessOutcome &outcome) {
        if (outcome.guess != guess)
            return;
        listener->deleteLater();
        if (!outcome.finished())
            return answer(std::nullopt);
        Context result = m_matchedContext;
        QStringList paths;
        for (const FileObject &file : std::as_const(m_resultFiles)) {
            if (!file.filePath().isNull())
                paths.append(file.filePath());
        }
        if (!paths.isEmpty()) {
            result.insert(ACT_FILENAMES, paths.join(u'\n'));
            result.insert(ACT_FILENAME, paths.first());
        }
        answer(result);
    });
    return guessText(selection);
}

void AppDelegate::runMatchingEngine(const Context &produced)
{
    if (!m_matchingEngine)
        return;
    // Run on its own (not inside a guess), it is a guess of its own.
    if (!m_running) {
        m_settings = m_userDefaults ? m_userDefaults->snapshot() : Settings();
        m_currentGuess = ++m_lastGuess;
    } else {
        m_currentGuess = *m_running;
    }
    const Context selection = m_selectionContext;
    m_explanation = m_explaining ? std::make_shared<Explanation>() : nullptr;
    Context matched =
        m_matchingEngine->matchContext(selection, {m_currentGuess, m_settings, m_explanation, m_runningCommands});
    for (auto it = produced.cbegin(); it != produced.cend(); ++it)
        matched.insert(it.key(), it.value());
    setSelectionContext(selection);
    setMatchedContext(matched);
    setResultActions(inLearnedOrder(m_matchingEngine->actionsForContext(matched, m_explanation.get())));
    setResultFiles(m_matchingEngine->filesForContext(matched));
    setSelectedTab(1);
}

void AppDelegate::takeLateFiles(quint64 guess, const QList<FileObject> &files)
{
    if (guess != m_currentGuess) {
        qCInfo(lcApp).noquote() << u"%1 late files of guess %2 dropped: guess %3 is shown"_s
                                       .arg(files.size()).arg(guess).arg(m_currentGuess);
        return;
    }
    addResultFiles(files);
}

void AppDelegate::addResultFiles(const QList<FileObject> &files)
{
    // A hit the list holds already (a path the selection named) is not listed twice.
    setResultFiles(FileObject::withoutRepeats(m_resultFiles + files));
    if (files.isEmpty())
        return;
    if (files.size() == 1 || m_matchedContext.contains(ACT_PATH_LINE)) {
        Context matched = m_matchedContext;
        matched.insert(ACT_PATH, files.first().filePath());
        const ActionList offered = m_matchingEngine ? m_matchingEngine->actionsForContext(matched)
                                                    : ActionList();
        if (!offered.isEmpty()) {
            ActionList actions = m_resultActions;
            mergeObjectsFromArray(actions, offered,
                                  [](const ActionPtr &action) { return action->name(); });
            setMatchedContext(matched);
            setResultActions(inLearnedOrder(actions));
            setSelectedTab(1);
        }
    } else {
        setSelectedTab(2);
    }
    showResults();
}

Context AppDelegate::executionContext() const
{
    Context context = m_matchedContext;
    mergeObjectsFromDictionary(context, m_selectionContext);
    return context;
}

void AppDelegate::executeAction(const ActionPtr &action, const Completion &done)
{
    if (!action)
        return complete(done, Outcome::failure(u"no action was chosen"_s));
    // Whether it failed before execute() returned: the panel then stays, showing why.
    auto failedAtOnce = std::make_shared<bool>(false);
    auto ended = std::make_shared<bool>(false);
    QPointer<AppDelegate> self(this);
    const QString learnedKind = learnedKindOf(action);
    action->execute(executionContext(), [self, done, failedAtOnce, ended, label = action->label(),
                                         learnedKind, selection = m_selectionContext](const Outcome &outcome) {
        *failedAtOnce = !*ended && !outcome.ok;
        if (!self)
            return complete(done, outcome);
        if (outcome.ok)
            self->learnPick(learnedKind, label);
        if (outcome.ok && outcome.text)
            return self->guessProducedText(*outcome.text, selection, outcome, done);
        self->actionEnded(label, outcome);
        complete(done, outcome);
    });
    *ended = true;
    if (m_settings.boolForKey(u"hide_after_action"_s) && m_resultWindow && !*failedAtOnce)
        m_resultWindow->hidePanel();
}

QString AppDelegate::learnedKindOf(const ActionPtr &action) const
{
    // Only a pick among the offers of the guess shown teaches the order (not a frame of the
    // Files tab opened at its line), and only while the user lets it.
    if (!m_settings.learnsActionOrder() || !m_resultActions.contains(action))
        return {};
    return ActionOrder::kindOf(m_matchedContext);
}

void AppDelegate::learnPick(const QString &kind, const QString &label)
{
    if (kind.isEmpty())
        return;
    QString error;
    if (!m_actionOrder.record(kind, label, &error))
        qCWarning(lcApp).noquote() << u"the pick of \"%1\" is not counted: %2"_s.arg(label, error);
}

ActionList AppDelegate::inLearnedOrder(const ActionList &offered) const
{
    return m_actionOrder.ordered(ActionOrder::kindOf(m_matchedContext), offered, m_settings.learnsActionOrder());
}

void AppDelegate::showRecentGuess(qsizetype index)
{
    if (index < 0 || index >= m_recent.entries().size())
        return;
    request(Kind::NamedText, [this, entry = m_recent.entries().at(index)] {
        setSelectionContext(entry.selectionContext);
        setMatchedContext(entry.matchedContext);
        setResultActions(entry.actions);
        setResultFiles(entry.files);
        m_cutAt = entry.cutAt;
        setSelectedTab(1);
        showResults();
        // Shown again, it keeps its place in the list.
        m_shownRunning = false;
        finish(GuessOutcome());
    });
}

void AppDelegate::openAtLine(const FileObject &file, const Completion &done)
{
    Context place = m_matchedContext;
    place.insert(ACT_PATH, file.filePath());
    place.insert(ACT_PATH_LINE, file.lineNumber());
    place.insert(ACT_PATH_COLUMN, file.column());
    const ActionList offers = m_matchingEngine
        ? m_matchingEngine->actionsNamed(u"OpenAtLineAction"_s, place) : ActionList();
    // The Files tab has no row that could show a failure: a notification says it.
    QPointer<AppDelegate> self(this);
    executeAction(offers.value(0), [self, done, title = file.niceTitle()](const Outcome &outcome) {
        if (self && !outcome.ok && self->m_resultWindow && self->m_resultWindow->isShown())
            self->notifyError(title, outcome.message);
        complete(done, outcome);
    });
}

void AppDelegate::actionEnded(const QString &label, const Outcome &outcome)
{
    // The panel shows a failure on the action's row; without a panel, a notification says it.
    if (!outcome.ok && (!m_resultWindow || !m_resultWindow->isShown()))
        notifyError(label, outcome.message);
}

void AppDelegate::guessProducedText(const QString &text, const Context &selection, const Outcome &outcome,
                                    const Completion &done)
{
    Context produced = selection;
    produced.insert(CTX_TEXT, text);
    request(Kind::NamedText, [this, produced, text, outcome, done] {
        setSelectionContext(produced);
        // What the action produced is the value: "paste" and "copy" offer it as it is.
        runMatchingEngine({{ACT_TEXT, text}});
        showResults();
        finish(GuessOutcome());
        complete(done, outcome);
    });
}

void AppDelegate::refreshPlugins()
{
    // Posted: the reload happens on a later turn of the event loop.
    QTimer::singleShot(0, this, &AppDelegate::refresh_plugins);
}

void AppDelegate::applicationFocusDidChange(const QString &windowClass,
                                            const QString &name)
{
    if (name.isEmpty() || name == u"(null)"_s || isSystemApp(name)
        || isSystemApp(windowClass))
        return;
    if (windowClass.isNull())
        applicationContext().remove(u"app_id"_s);
    else
        applicationContext().insert(u"app_id"_s, windowClass);
    applicationContext().insert(u"app_name"_s, name);
}

void AppDelegate::setSelectedTab(qint64 tab)
{
    m_selectedTab = tab;
    emit selectedTabChanged();
}

void AppDelegate::setSelectionContext(const Context &context)
{
    m_selectionContext = context;
    emit selectionContextChanged();
}

void AppDelegate::setMatchedContext(const Context &context)
{
    m_matchedContext = context;
    emit matchedContextChanged();
}

void AppDelegate::setResultActions(const ActionList &actions)
{
    m_resultActions = actions;
    emit resultActionsChanged();
}

void AppDelegate::setResultFiles(const QList<FileObject> &files)
{
    m_resultFiles = files;
    emit resultFilesChanged();
}

} // namespace glimra
