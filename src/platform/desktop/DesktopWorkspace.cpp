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

Outcome startXdgOpen(const QString &argument)
{
    if (QProcess::startDetached(u"xdg-open"_s, {argument}))
        return {};
    const QString why = u"xdg-open could not be started for %1"_s.arg(argument);
    qCInfo(lcPlatform).noquote() << why;
    return Outcome::failure(why);
}

} // namespace

DesktopWorkspace::DesktopWorkspace(QObject *parent) : QObject(parent)
{
    connect(&m_search, &SearchResultsQuery::finished, this,
            [this](const QString &, const QStringList &paths) {
                complete(std::exchange(m_searchDone, {}), Outcome{true, {}, paths});
            });
}

DesktopWorkspace::~DesktopWorkspace()
{
    complete(std::exchange(m_searchDone, {}), Outcome::failure(u"the search was stopped"_s));
}

void DesktopWorkspace::openURL(const Url &url, const Completion &done)
{
    complete(done, startXdgOpen(url.absoluteString()));
}

void DesktopWorkspace::selectFile(const QString &path, const QString &, const Completion &done)
{
    const QString folder = dirname(path);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return complete(done, startXdgOpen(folder));
    QDBusMessage call = QDBusMessage::createMethodCall(FileManagerService,
                                                       u"/org/freedesktop/FileManager1"_s,
                                                       FileManagerService, u"ShowItems"_s);
    call << QStringList{Url::fileURLWithPath(path).absoluteString()} << QString();
    // Asynchronous: a slow file manager never holds up the caller. Where no file manager
    // offers the service, the call fails at once and the folder is opened instead.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [folder, done](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                complete(done, finished->isError() ? startXdgOpen(folder) : Outcome());
            });
}

void DesktopWorkspace::showSearchResultsForQueryString(const QString &query, const Completion &done)
{
    // One search at a time: a newer one replaces the one under way.
    complete(std::exchange(m_searchDone, {}), Outcome::failure(u"a newer search replaced it"_s));
    if (!m_search.start(query))
        return complete(done, Outcome{true, {}, QStringList()});
    m_searchDone = done;
}

} // namespace glimra
