#include "capture/FocusTracker.h"

#include "capture/WindowFacts.h"
#include "capture/isSystemApp.h"
#include "foundation/ApplicationScripts.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/Strings.h"
#include "foundation/Url.h"
#include "platform/RunningApplications.h"


using namespace Qt::StringLiterals;

namespace glimra {

FocusTracker::FocusTracker(const ApplicationScripts *applicationScripts,
                           const RunningApplications *runningApplications,
                           LastFocused lastFocused)
    : m_applicationScripts(applicationScripts),
      m_runningApplications(runningApplications),
      m_lastFocused(std::move(lastFocused))
{
}

std::optional<Context> FocusTracker::contextForCurrentApp() const
{
    const QList<RunningApplication> applications = m_runningApplications
        ? m_runningApplications->runningApplications()
        : QList<RunningApplication>();
    QString name;
    QString identifier;
    bool found = false;
    for (const RunningApplication &application : applications) {
        if (application.active && !application.hidden && !application.terminated
            && application.finishedLaunching) {
            name = application.name;
            identifier = application.windowClass;
            found = true;
            break;
        }
    }
    // A window Glimra cannot see is in front: the guess runs on the selection alone, rather
    // than on the window that had the focus before it.
    if (!found && m_runningApplications && !m_runningApplications->seesEveryWindow())
        return unseenApplication();
    const bool needsReplacing = name.isNull() || identifier.isNull() || isSystemApp(name)
        || isSystemApp(identifier);
    if (needsReplacing && m_lastFocused) {
        const QVariantMap last = m_lastFocused();
        if (last.contains(u"app_name"_s) && last.contains(u"app_id"_s))
            identifier = last.value(u"app_id"_s).toString();
    }
    return contextFor(identifier,
                      WindowFacts::ofApplication(applications, identifier).arguments(identifier));
}

QRect FocusTracker::frontWindowGeometry() const
{
    return m_runningApplications ? m_runningApplications->activeWindowGeometry() : QRect();
}

std::optional<Context> FocusTracker::contextForApp(const QString &windowClass) const
{
    return contextFor(windowClass,
                      WindowFacts::ofApplication(m_runningApplications, windowClass)
                          .arguments(windowClass));
}

std::optional<Context> FocusTracker::contextFor(const QString &windowClass,
                                                const QJsonArray &arguments) const
{
    qCInfo(lcCapture).noquote() << u"appname:%1"_s.arg(windowClass.isNull() ? u"(null)"_s
                                                                               : windowClass);
    std::shared_ptr<ApplicationScript> script = m_applicationScripts->find(windowClass);
    if (!script) {
        qCInfo(lcCapture).noquote() << u"no script of its own, try the default one"_s;
        script = m_applicationScripts->find(ApplicationScripts::Default);
    }
    const QVariantMap report =
        script ? script->call(u"selected_files"_s, arguments).toMap() : QVariantMap();
    if (report.isEmpty()) {
        qCInfo(lcCapture).noquote() << u"no context..."_s;
        return std::nullopt;
    }
    return mkcontext(report, windowClass, arguments);
}

Context FocusTracker::unseenApplication()
{
    qCInfo(lcCapture).noquote() << u"appname: a window of the desktop's own, unknown"_s;
    Context context;
    context.insert(CTX_APPID, u""_s);
    context.insert(CTX_APP_NAME, u"unknown"_s);
    return context;
}

Context FocusTracker::mkcontext(const QVariantMap &report, const QString &windowClass,
                                const QJsonArray &arguments) const
{
    Context context;
    set(context, CTX_APPID, windowClass);
    // The very window, so that a paste goes back to it and not to another of its application.
    if (const quint64 window = WindowFacts::fromArguments(arguments).id)
        context.insert(CTX_WINDOW_ID, u"0x"_s + QString::number(window, 16));
    auto text = [&report](const QString &key) {
        const QVariant value = report.value(key);
        return value.typeId() == QMetaType::QString ? trim(value.toString()) : QString();
    };
    const QString currentPath = text(CURRENT_PATH);
    QString documentPath;
    QString documentURL;
    if (currentPath.startsWith(u'/') || currentPath.startsWith(u'~')) {
        documentPath = stringByExpandingTildeInPath(currentPath);
    } else if (currentPath.startsWith(u"file:"_s)) {
        if (const std::optional<Url> url = Url::URLWithString(currentPath))
            documentPath = url->path();
    } else {
        documentURL = currentPath;
    }
    if (!documentPath.isNull()) {
        if (dir_exists(documentPath)) {
            if (!documentPath.endsWith(u'/'))
                documentPath += u'/';
            context.insert(CTX_DIR, documentPath);
        } else if (file_exists(documentPath)) {
            context.insert(CTX_FILE, documentPath);
            const QString folder = dirname(documentPath);
            context.insert(CTX_DIR, folder.endsWith(u'/') ? folder : folder + u'/');
        }
        context.insert(CTX_PATH, documentPath);
    }
    set(context, CTX_URL, documentURL);
    set(context, CTX_APP_NAME, text(APP_NAME));
    set(context, CTX_WIN_NAME, text(WIN_NAME));
    return context;
}

} // namespace glimra
