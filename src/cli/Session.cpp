#include "cli/Session.h"

#include "app/AppDelegate.h"
#include "cli/ClipboardKeeper.h"
#include "matchers/FileSearchMatch.h"
#include "matching/PluginManager.h"
#include "platform/desktop/DesktopPlatform.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace glimra {

namespace {

template <typename Done>
void runEventLoopUntil(double seconds, Done done)
{
    const QDeadlineTimer deadline(qint64(seconds * 1000));
    while (!done() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

} // namespace

Session::Session(bool withDisplay)
    : m_withDisplay(withDisplay), m_platform(DesktopPlatform::create(withDisplay))
{
    m_interface = std::make_unique<MainInterface>(m_platform, &m_panel);
}

Session::~Session() = default;

AppDelegate &Session::delegate()
{
    return m_interface->appDelegate();
}

void Session::waitForLateResults(double seconds)
{
    const std::shared_ptr<FileSearchMatch> search = m_interface->pluginManager().searchMatch();
    runEventLoopUntil(seconds, [&] { return !search || !search->isSearching(); });
}

Outcome Session::runAction(const ActionPtr &action)
{
    std::optional<Outcome> outcome;
    QEventLoop loop;
    delegate().executeAction(action, [&](const Outcome &ended) {
        outcome = ended;
        loop.quit();
    });
    if (!outcome)
        loop.exec();
    return *outcome;
}

void Session::keepClipboard()
{
    if (m_withDisplay)
        ClipboardKeeper::handOver(*m_platform.generalPasteboard);
}

} // namespace glimra
