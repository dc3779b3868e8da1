#include "desktop/DesktopFileManager.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/Url.h"
#include "platform/MetadataGatherer.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString FileManagerService = u"org.freedesktop.FileManager1"_s;

// What xdg-open's exit statuses mean, as its manual gives them.
const char *xdgOpenStatus(int status)
{
    switch (status) {
    case 1: return QT_TRANSLATE_NOOP("glimra::Outcome", "it was called wrongly");
    case 2: return QT_TRANSLATE_NOOP("glimra::Outcome", "the file does not exist");
    case 3: return QT_TRANSLATE_NOOP("glimra::Outcome", "no application is set up to open it");
    case 4: return QT_TRANSLATE_NOOP("glimra::Outcome", "the application that opens it failed");
    }
    return nullptr;
}

} // namespace

DesktopFileManager::DesktopFileManager(QObject *parent, ProgramRunner &runner)
    : QObject(parent), m_runner(runner), m_search(nullptr, runner)
{
    connect(&m_search, &SearchResultsQuery::finished, this,
            [this](const QString &, const QStringList &paths) {
                complete(std::exchange(m_searchDone, {}), Outcome{true, {}, paths, {}, {}});
            });
}

DesktopFileManager::~DesktopFileManager()
{
    complete(std::exchange(m_searchDone, {}), Outcome::failure(
        QT_TRANSLATE_NOOP("glimra::Outcome", "the search was stopped")));
}

void DesktopFileManager::open(const Url &url, const Completion &done)
{
    startXdgOpen(url.absoluteString(), done);
}

void DesktopFileManager::startXdgOpen(const QString &argument, const Completion &done)
{
    // xdg-open is released once it has started: it may hand over to a program that runs on.
    m_runner.launch(u"xdg-open"_s, {argument}, {}, done, xdgOpenStatus);
}

void DesktopFileManager::reveal(const QString &path, const Completion &done)
{
    const QString folder = dirname(path);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return startXdgOpen(folder, done);
    QDBusMessage call = QDBusMessage::createMethodCall(FileManagerService,
                                                       u"/org/freedesktop/FileManager1"_s,
                                                       FileManagerService, u"ShowItems"_s);
    call << QStringList{Url::fileURLWithPath(path).absoluteString()} << QString();
    // Asynchronous: a slow file manager never holds up the caller. Where no file manager
    // offers the service, the call fails at once and the folder is opened instead.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, folder, done](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                if (!finished->isError())
                    return complete(done);
                // No file manager offers it, or the one that does did not answer: the folder
                // is opened instead, and if that fails too, both are said.
                const char *fileManager = finished->error().type() == QDBusError::NoReply
                    ? QT_TRANSLATE_NOOP("glimra::Outcome", "the file manager did not answer; %1")
                    : QT_TRANSLATE_NOOP("glimra::Outcome", "no file manager offers to show a file; %1");
                startXdgOpen(folder, [done, fileManager](const Outcome &opened) {
                    complete(done, opened.ok ? opened : Outcome::failure(fileManager, {opened.phrase()}));
                });
            });
}

void DesktopFileManager::showSearchResults(const QString &query, const Completion &done)
{
    // One search at a time: a newer one replaces the one under way.
    complete(std::exchange(m_searchDone, {}), Outcome::failure(
        QT_TRANSLATE_NOOP("glimra::Outcome", "a newer search replaced it")));
    if (!m_search.start(query))
        return complete(done, Outcome{true, {}, QStringList(), {}, {}});
    // Without a file-name index only the home folder is searched: the outcome says so.
    const char *noIndex = MetadataGatherer::locateProgram(m_runner).isEmpty()
        ? QT_TRANSLATE_NOOP("glimra::Outcome",
                            "there is no file-name index (plocate is not installed), so only the home folder was searched")
        : MetadataGatherer::locateDatabase().isEmpty()
        ? QT_TRANSLATE_NOOP("glimra::Outcome",
                            "there is no file-name index yet (run updatedb), so only the home folder was searched")
        : nullptr;
    m_searchDone = [done, noIndex](const Outcome &found) {
        if (!found.ok || !noIndex)
            return complete(done, found);
        Outcome partial = Outcome::failure(noIndex);
        partial.items = found.items;
        complete(done, partial);
    };
}

} // namespace glimra
