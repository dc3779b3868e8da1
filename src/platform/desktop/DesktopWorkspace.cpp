#include "platform/desktop/DesktopWorkspace.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/Url.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
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

} // namespace

DesktopWorkspace::DesktopWorkspace(QObject *parent) : QObject(parent)
{
    connect(&m_search, &SearchResultsQuery::finished, this, &DesktopWorkspace::searchResultsReady);
}

void DesktopWorkspace::openURL(const Url &url)
{
    startXdgOpen(url.absoluteString());
}

void DesktopWorkspace::selectFile(const QString &path, const QString &)
{
    const QString folder = dirname(path);
    QDBusMessage call = QDBusMessage::createMethodCall(FileManagerService,
                                                       u"/org/freedesktop/FileManager1"_s,
                                                       FileManagerService, u"ShowItems"_s);
    call << QStringList{Url::fileURLWithPath(path).absoluteString()} << QString();
    // Asynchronous: a slow file manager never holds up the caller. Where no file manager
    // offers the service (or there is no session bus), the call fails and the folder is
    // opened instead.
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    ++m_pendingCalls;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, folder](QDBusPendingCallWatcher *w) {
                if (w->isError())
                    startXdgOpen(folder);
                w->deleteLater();
                --m_pendingCalls;
            });
}

void DesktopWorkspace::showSearchResultsForQueryString(const QString &query)
{
    if (!m_search.start(query))
        emit searchResultsReady(query, {});
}

} // namespace glimra
