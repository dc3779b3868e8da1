#include "platform/desktop/DesktopWorkspace.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/Url.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString FileManagerService = u"org.freedesktop.FileManager1"_s;

void startXdgOpen(const QString &argument)
{
    if (!QProcess::startDetached(u"xdg-open"_s, {argument}))
        qCInfo(lcPlatform).noquote() << u"xdg-open could not be started for %1"_s.arg(argument);
}

bool fileManagerAvailable(const QDBusConnection &bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    if (bus.interface()->isServiceRegistered(FileManagerService))
        return true;
    // A file manager that is not running yet may be started by the bus.
    const QDBusReply<QStringList> activatable = bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(FileManagerService);
}

} // namespace

DesktopWorkspace::DesktopWorkspace(QObject *parent) : QObject(parent)
{
    connect(&m_search, &SearchResultsQuery::finished, this,
            [this](const QString &query, const QStringList &paths) {
                emit searchResultsReady(query, paths);
                if (!hasPendingWork())
                    emit pendingWorkDone();
            });
}

void DesktopWorkspace::openURL(const Url &url)
{
    startXdgOpen(url.absoluteString());
}

void DesktopWorkspace::selectFile(const QString &path, const QString &)
{
    const QString folder = dirname(path);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!fileManagerAvailable(bus)) {
        startXdgOpen(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(FileManagerService,
                                                       u"/org/freedesktop/FileManager1"_s,
                                                       FileManagerService, u"ShowItems"_s);
    call << QStringList{Url::fileURLWithPath(path).absoluteString()} << QString();
    // Asynchronous: a slow file manager never holds up the caller. Should the call fail,
    // the folder is opened instead.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    ++m_pendingCalls;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, folder](QDBusPendingCallWatcher *w) {
                if (w->isError())
                    startXdgOpen(folder);
                w->deleteLater();
                --m_pendingCalls;
                if (!hasPendingWork())
                    emit pendingWorkDone();
            });
}

void DesktopWorkspace::showSearchResultsForQueryString(const QString &query)
{
    if (!m_search.start(query))
        emit searchResultsReady(query, {});
}

} // namespace glimra
