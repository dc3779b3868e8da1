#include "app/AppDelegate.h"

#include "app/ResultPanel.h"
#include "app/growl_notify.h"
#include "capture/CopySelection.h"
#include "capture/FocusTracker.h"
#include "capture/isSystemApp.h"
#include "foundation/Collections.h"
#include "foundation/EventCenter.h"
#include "foundation/GlobalContext.h"
#include "foundation/Strings.h"
#include "matching/MatchingEngine.h"
#include "matching/contentType.h"
#include "platform/Notifier.h"
#include "platform/Pasteboard.h"
#include "platform/UserDefaults.h"

#include <QTimer>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString FollowMouse = u"do_follow_mouse"_s;

QString formatted(const QString &value)
{
    // Formatted with "%@": an absent value reads "(null)".
    return value.isNull() ? u"(null)"_s : value;
}

} // namespace

AppDelegate::AppDelegate(QObject *parent) : ApplicationDelegate(parent) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::setGeneralPasteboard(std::shared_ptr<Pasteboard> pasteboard)
{
    m_generalPasteboard = std::move(pasteboard);
}

void AppDelegate::awakeFromNib()
{
    setSelectionContext(Context());
    setMatchedContext(Context());
}

void AppDelegate::notify(const QString &title, const QString &description)
{
    if (m_notifier)
        growl_notify(*m_notifier, title, description);
}

void AppDelegate::notifyError(const QString &title, const QString &description)
{
    if (m_notifier)
        growl_notify_error(*m_notifier, title, description);
}

void AppDelegate::markFollowMouse(Sender sender)
{
    QVariantMap &content = GlobalContext::sharedInstance().content();
    if (sender == Sender::ToolbarItem)
        content.remove(FollowMouse);
    else
        content.insert(FollowMouse, u"x"_s);
}

void AppDelegate::guessCurrentSelection(Sender sender)
{
    markFollowMouse(sender);
    notify(u"guessing..."_s, u""_s);
    // The guess goes on after the request's own event handling has finished.
    QTimer::singleShot(0, this, &AppDelegate::continueGuessing);
}

void AppDelegate::stopGuessing(const QString &title, const QString &description)
{
    notifyError(title, description);
    setSelectedTab(0);
    emit guessStopped(title, description);
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

void AppDelegate::continueGuessing()
{
    const std::optional<Context> focus = focusContext();
    if (!focus) {
        stopGuessing(u"no context"_s, u"no application is active"_s);
        return;
    }
    const QString appId = focus->value(CTX_APPID);
    const QString documentPath = focus->value(CTX_PATH);
    const QString documentURL = focus->value(CTX_URL);
    const QString title = formatted(focus->value(CTX_APP_NAME));

    std::optional<Context> capture = m_copySelection ? m_copySelection->contextForApp(appId)
                                                     : std::nullopt;
    bool fellBack = false;
    if (!capture) {
        if (str_isNotNullOrEmpty(documentPath)) {
            notifyError(title, u"the selection seems to be empty, returning front-most document path"_s);
            capture = Context{{CTX_TEXT, documentPath}};
        } else if (str_isNotNullOrEmpty(documentURL)) {
            notifyError(title, u"the selection seems to be empty, returning front-most document URL"_s);
            capture = Context{{CTX_TEXT, documentURL}};
        } else {
            stopGuessing(title, u"the selection seems to be empty"_s);
            return;
        }
        fellBack = true;
    }
    matchCapture(*focus, *capture);
    setSelectedTab(m_resultFiles.size() >= 2 ? 2 : 1);
    if (m_resultWindow)
        m_resultWindow->makeKeyAndActivate();
    if (!fellBack)
        notify(u"got it"_s, u"looks like %1"_s.arg(contentType(m_matchedContext)));
    emit guessShown();
}

void AppDelegate::guessCurrentClipboard(Sender sender)
{
    markFollowMouse(sender);
    if (m_generalPasteboard)
        guessPasteboard(*m_generalPasteboard);
}

void AppDelegate::handleFromService(const Pasteboard &pasteboard)
{
    guessPasteboard(pasteboard);
}

void AppDelegate::guessPasteboard(const Pasteboard &pasteboard)
{
    const std::optional<Context> focus = focusContext();
    if (!focus || !m_copySelection)
        return;
    const std::optional<Context> capture =
        m_copySelection->clipboard(pasteboard, focus->value(CTX_APPID));
    if (!capture)
        return;
    matchCapture(*focus, *capture);
    setSelectedTab(1);
    if (m_resultWindow)
        m_resultWindow->makeKeyAndActivate();
}

void AppDelegate::runMatchingEngine()
{
    if (!m_matchingEngine)
        return;
    const Context selection = m_selectionContext;
    const Context matched = m_matchingEngine->matchContext(selection);
    setSelectionContext(selection);
    setMatchedContext(matched);
    setResultActions(m_matchingEngine->actionsForContext(matched));
    setResultFiles(m_matchingEngine->filesForContext(matched));
    setSelectedTab(1);
}

void AppDelegate::addResultFiles(const QList<FileObject> &files)
{
    setResultFiles(m_resultFiles + files);
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
            setResultActions(actions);
            setSelectedTab(1);
        }
    } else {
        setSelectedTab(2);
    }
    if (m_resultWindow)
        m_resultWindow->makeKeyAndActivate();
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
    action->execute(executionContext(), done);
    if (UserDefaults().boolForKey(u"hide_after_action"_s) && m_resultWindow)
        m_resultWindow->orderOut();
}

void AppDelegate::refreshPlugins()
{
    post_event(this, u"refresh_plugins"_s);
}

void AppDelegate::applicationFocusDidChange(const QString &bundleIdentifier,
                                            const QString &localizedName)
{
    if (localizedName.isEmpty() || localizedName == u"(null)"_s || isSystemApp(localizedName)
        || isSystemApp(bundleIdentifier))
        return;
    if (bundleIdentifier.isNull())
        applicationContext().remove(u"app_id"_s);
    else
        applicationContext().insert(u"app_id"_s, bundleIdentifier);
    applicationContext().insert(u"app_name"_s, localizedName);
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

void AppDelegate::setSelection(const QString &selection)
{
    m_selection = selection;
    emit selectionChanged();
}

} // namespace glimra
