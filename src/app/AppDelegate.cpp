#include "app/AppDelegate.h"

#include "app/GuessPipeline.h"
#include "app/ResultPanel.h"
#include "capture/CopySelection.h"
#include "capture/FocusTracker.h"
#include "capture/isSystemApp.h"
#include "foundation/Collections.h"
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

// Where the update feed would come from; nothing is fetched from it.
const QString UpdateHost = u"updates.glimra.org"_s;

// Said both in a notification, translated, and in the outcome a caller reports, as written.
const char *const NoContext = QT_TRANSLATE_NOOP("glimra::AppDelegate", "no context");
const char *const NoApplication = QT_TRANSLATE_NOOP("glimra::AppDelegate", "no application is active");
const char *const EmptySelection = QT_TRANSLATE_NOOP("glimra::AppDelegate", "the selection seems to be empty");

QString formatted(const QString &value)
{
    // Formatted with "%@": an absent value reads "(null)".
    return value.isNull() ? u"(null)"_s : value;
}

} // namespace

AppDelegate::AppDelegate(const Collaborators &collaborators, QObject *parent)
    : ApplicationDelegate(parent), m_with(collaborators)
{
    connect(&m_with.lateResults, &LateResults::filesFound, this, &AppDelegate::takeLateFiles);
    connect(&m_with.lateResults, &LateResults::finished, this, &AppDelegate::lateResultsFinished);
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::makeUpdateFeed()
{
    QString seed = m_with.userDefaults.stringForKey(u"app_tm_seed"_s);
    if (seed.isEmpty()) {
        seed = QString::number(QDateTime::currentSecsSinceEpoch(), 16).toUpper();
        m_with.userDefaults.setObject(u"app_tm_seed"_s, seed);
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
    m_followPointer = false;
    m_frontWindow = QRect();
    m_shownRunning = false;
    m_settings = m_with.userDefaults.snapshot();
}

void AppDelegate::finish(GuessOutcome outcome)
{
    outcome.guess = *m_running;
    if (outcome.finished()) {
        outcome.matched = m_result.matched();
        outcome.searching = m_with.lateResults.isSearching(outcome.guess);
        outcome.cutAt = m_cutAt;
        if (m_shownRunning && outcome.matched)
            m_recent.add({contentType(m_result.matchedContext), m_result.selectionContext,
                          m_result.matchedContext, m_result.actions, m_result.files, m_cutAt});
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
    if (m_with.notifier)
        m_with.notifier->notify(title, description, Notifier::Progress);
}

void AppDelegate::notifyError(const QString &title, const QString &description)
{
    if (m_with.notifier)
        m_with.notifier->notify(title, description, Notifier::Failure);
}

void AppDelegate::showTab(qint64 tab)
{
    m_result.selectedTab = tab;
    emit resultChanged(m_result);
}

void AppDelegate::setResult(const GuessResult &result)
{
    m_result = result;
    emit resultChanged(m_result);
}

quint64 AppDelegate::guessCurrentSelection(Sender sender)
{
    return request(Kind::Capture, [this, sender] {
        followPointerFrom(sender);
        notify(tr("guessing..."), QString());
        // The guess goes on after the request's own event handling has finished.
        QTimer::singleShot(0, this, &AppDelegate::continueGuessing);
    });
}

void AppDelegate::followPointerFrom(Sender sender)
{
    m_followPointer = sender != Sender::ToolbarItem;
    // Asked now, while the window the request is about is still in front.
    m_frontWindow = m_followPointer ? m_with.focusTracker.frontWindowGeometry() : QRect();
}

std::optional<Context> AppDelegate::focusContext() const
{
    std::optional<Context> focus = m_with.focusTracker.contextForCurrentApp();
    if (focus && !focus->contains(CTX_APPID))
        return std::nullopt;
    return focus;
}

void AppDelegate::matchCapture(const Context &focus, const Context &capture, std::optional<qint64> tab)
{
    Context selection;
    mergeObjectsFromDictionary(selection, focus);
    mergeObjectsFromDictionary(selection, capture); // the capture's CTX_TEXT wins
    runMatchingEngine(selection, {}, tab);
}

void AppDelegate::showResults()
{
    m_shownRunning = m_running.has_value();
    if (m_resultWindow)
        m_resultWindow->showPanel();
    // A request asks for the panel at the pointer for one showing only.
    m_result.followPointer = false;
}

void AppDelegate::continueGuessing()
{
    const std::optional<Context> focus = focusContext();
    if (!focus) {
        // The notification is in the user's language; the outcome, which the command line
        // reports, stays in English.
        notifyError(tr(NoContext), tr(NoApplication));
        showTab(GuessResult::NoTab);
        return finish(stop(GuessOutcome::Ending::NoContext, QString::fromUtf8(NoContext),
                           QString::fromUtf8(NoApplication)));
    }
    const QString appId = focus->value(CTX_APPID);
    const QString documentPath = focus->value(CTX_PATH);
    const QString documentURL = focus->value(CTX_URL);
    const QString title = formatted(focus->value(CTX_APP_NAME));

    const CopySelection::Capture captured =
        m_with.copySelection.contextForApp(appId, m_settings.captureLimitBytes());
    if (!captured.failure.isNull()) {
        notifyError(title, captured.failureShown());
        showTab(GuessResult::NoTab);
        return finish(stop(GuessOutcome::Ending::NotHandedOver, title, captured.failure));
    }
    std::optional<Context> capture = captured.context;
    m_cutAt = captured.cutAt;
    bool fellBack = false;
    if (!capture) {
        if (str_isNotNullOrEmpty(documentPath)) {
            notifyError(title, tr("the selection seems to be empty, returning front-most document path"));
            capture = Context{{CTX_TEXT, documentPath}};
        } else if (str_isNotNullOrEmpty(documentURL)) {
            notifyError(title, tr("the selection seems to be empty, returning front-most document URL"));
            capture = Context{{CTX_TEXT, documentURL}};
        } else {
            notifyError(title, tr(EmptySelection));
            showTab(GuessResult::NoTab);
            return finish(stop(GuessOutcome::Ending::EmptySelection, title, QString::fromUtf8(EmptySelection)));
        }
        fellBack = true;
    }
    matchCapture(*focus, *capture, std::nullopt);
    showResults();
    if (!fellBack)
        notify(tr("got it"), tr("looks like %1").arg(contentType(m_result.matchedContext)));
    finish(GuessOutcome());
}

quint64 AppDelegate::guessCurrentClipboard(Sender sender)
{
    return request(Kind::Capture, [this, sender] {
        followPointerFrom(sender);
        const qsizetype limit = m_settings.captureLimitBytes();
        guessClipboardCapture(m_with.clipboard
                                  ? m_with.copySelection.clipboard(*m_with.clipboard, QString(), limit)
                                  : CopySelection::Capture());
    });
}

quint64 AppDelegate::handleFromService(const Clipboard &clipboard)
{
    // Read now: the request's clipboard need not outlive this call. The settings of the
    // guess are not read yet: its limit is read for the purpose.
    const qsizetype limit = m_with.userDefaults.snapshot().captureLimitBytes();
    const CopySelection::Capture capture = m_with.copySelection.clipboard(clipboard, QString(), limit);
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
    matchCapture(*focus, *capture.context, GuessResult::ActionsTab);
    showResults();
    finish(GuessOutcome());
}

quint64 AppDelegate::guessText(const Context &selectionContext)
{
    return request(Kind::NamedText, [this, selectionContext] {
        runMatchingEngine(selectionContext);
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
        Context result = m_result.matchedContext;
        const QStringList paths = m_result.filePaths();
        if (!paths.isEmpty()) {
            result.insert(ACT_FILENAMES, paths.join(u'\n'));
            result.insert(ACT_FILENAME, paths.first());
        }
        answer(result);
    });
    return guessText(selection);
}

void AppDelegate::runMatchingEngine(const Context &selectionContext, const Context &produced)
{
    runMatchingEngine(selectionContext, produced, GuessResult::ActionsTab);
}

void AppDelegate::runMatchingEngine(const Context &selectionContext, const Context &produced,
                                    std::optional<qint64> tab)
{
    // Run on its own (not inside a guess), it is a guess of its own.
    if (!m_running)
        m_settings = m_with.userDefaults.snapshot();
    const quint64 guess = m_running ? *m_running : ++m_lastGuess;
    GuessResult result = GuessPipeline(m_with.matchingEngine, m_actionOrder)
                             .guess({guess, selectionContext, m_settings, m_explaining, m_runningCommands, produced});
    // Without a given tab, several files are shown on the files tab.
    result.selectedTab = tab.value_or(result.files.size() >= 2 ? GuessResult::FilesTab : GuessResult::ActionsTab);
    result.followPointer = std::exchange(m_followPointer, false);
    result.frontWindow = std::exchange(m_frontWindow, QRect());
    result.outcome.guess = guess;
    result.outcome.matched = result.matched();
    result.outcome.searching = m_with.lateResults.isSearching(guess);
    result.outcome.cutAt = m_cutAt;
    setResult(result);
}

void AppDelegate::takeLateFiles(quint64 guess, const QList<FileObject> &files)
{
    if (guess != m_result.guess) {
        qCInfo(lcApp).noquote() << u"%1 late files of guess %2 dropped: guess %3 is shown"_s
                                       .arg(files.size()).arg(guess).arg(m_result.guess);
        return;
    }
    addResultFiles(files);
}

void AppDelegate::addResultFiles(const QList<FileObject> &files)
{
    GuessResult updated = GuessPipeline(m_with.matchingEngine, m_actionOrder)
                              .withLateFiles(m_result, files, m_settings.learnsActionOrder());
    // The request's wish to show the panel at the pointer was for its first showing.
    updated.followPointer = false;
    setResult(updated);
    if (!files.isEmpty())
        showResults();
}

void AppDelegate::executeAction(const ActionPtr &action, const Completion &done)
{
    if (!action)
        return complete(done, Outcome::failure(QT_TRANSLATE_NOOP("glimra::Outcome", "no action was chosen")));
    // Whether it failed before execute() returned: the panel then stays, showing why.
    auto failedAtOnce = std::make_shared<bool>(false);
    auto ended = std::make_shared<bool>(false);
    QPointer<AppDelegate> self(this);
    // Only a pick among the offers of the guess shown teaches the order (not a frame of the
    // Files tab opened at its line), and only while the user lets it.
    const QString learnedKind = GuessPipeline::kindTaught(m_result, action, m_settings.learnsActionOrder());
    action->execute(m_result.executionContext(), [self, done, failedAtOnce, ended, label = action->label(),
                                         learnedKind, selection = m_result.selectionContext](const Outcome &outcome) {
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

void AppDelegate::showRecentGuess(qsizetype index)
{
    if (index < 0 || index >= m_recent.entries().size())
        return;
    request(Kind::NamedText, [this, entry = m_recent.entries().at(index)] {
        GuessResult shown;
        shown.guess = *m_running;
        shown.selectionContext = entry.selectionContext;
        shown.matchedContext = entry.matchedContext;
        shown.actions = entry.actions;
        shown.files = entry.files;
        shown.selectedTab = GuessResult::ActionsTab;
        shown.outcome.guess = shown.guess;
        shown.outcome.matched = shown.matched();
        shown.outcome.cutAt = m_cutAt = entry.cutAt;
        setResult(shown);
        showResults();
        // Shown again, it keeps its place in the list.
        m_shownRunning = false;
        finish(GuessOutcome());
    });
}

void AppDelegate::openAtLine(const FileObject &file, const Completion &done)
{
    Context place = m_result.matchedContext;
    place.insert(ACT_PATH, file.filePath());
    place.insert(ACT_PATH_LINE, file.lineNumber());
    place.insert(ACT_PATH_COLUMN, file.column());
    const ActionList offers = m_with.matchingEngine.actionsNamed(u"OpenAtLineAction"_s, place);
    // The Files tab has no row that could show a failure: a notification says it.
    QPointer<AppDelegate> self(this);
    executeAction(offers.value(0), [self, done, title = file.niceTitle()](const Outcome &outcome) {
        if (self && !outcome.ok && self->m_resultWindow && self->m_resultWindow->isShown())
            self->notifyError(title, outcome.messageShown());
        complete(done, outcome);
    });
}

void AppDelegate::actionEnded(const QString &label, const Outcome &outcome)
{
    // The panel shows a failure on the action's row; without a panel, a notification says it.
    if (!outcome.ok && (!m_resultWindow || !m_resultWindow->isShown()))
        notifyError(label, outcome.messageShown());
    // Done, with something the user has to do next ("press Ctrl+V"): said whatever is shown.
    if (outcome.ok && !outcome.message.isEmpty())
        notify(label, outcome.messageShown());
}

void AppDelegate::guessProducedText(const QString &text, const Context &selection, const Outcome &outcome,
                                    const Completion &done)
{
    Context produced = selection;
    produced.insert(CTX_TEXT, text);
    request(Kind::NamedText, [this, produced, text, outcome, done] {
        // What the action produced is the value: "paste" and "copy" offer it as it is.
        runMatchingEngine(produced, {{ACT_TEXT, text}});
        showResults();
        finish(GuessOutcome());
        complete(done, outcome);
    });
}

void AppDelegate::learnPick(const QString &kind, const QString &label)
{
    GuessPipeline(m_with.matchingEngine, m_actionOrder).learnPick(kind, label);
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

} // namespace glimra
