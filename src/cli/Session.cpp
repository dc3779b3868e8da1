#include "cli/Session.h"

#include "app/AppDelegate.h"
#include "platform/MemoryClipboard.h"
#include "platform/UserDefaults.h"

#include <QEventLoop>
#include <QTimer>

#include <optional>

namespace glimra {

Session::Session(SessionServices services) : m_services(std::move(services))
{
    m_interface = std::make_unique<MainInterface>(m_services.platform,
                                                  std::make_shared<UserDefaults>(), &m_panel);
}

Session::~Session() = default;

AppDelegate &Session::delegate()
{
    return m_interface->appDelegate();
}

GuessOutcome Session::guess(const std::function<quint64(AppDelegate &)> &start)
{
    std::optional<GuessOutcome> outcome;
    std::optional<quint64> guess;
    QEventLoop loop;
    // The guess may end before start() returns (a clipboard guess runs at once).
    const auto connection = QObject::connect(&delegate(), &AppDelegate::guessFinished, &loop,
                                             [&](const GuessOutcome &ended) {
                                                 if (!guess || ended.guess == *guess) {
                                                     outcome = ended;
                                                     loop.quit();
                                                 }
                                             });
    guess = start(delegate());
    if (!outcome || outcome->guess != *guess) {
        outcome.reset();
        loop.exec();
    }
    QObject::disconnect(connection);
    return *outcome;
}

void Session::waitForLateResults(const GuessOutcome &outcome, double seconds)
{
    if (!outcome.searching)
        return;
    QEventLoop loop;
    QObject::connect(&delegate(), &AppDelegate::lateResultsFinished, &loop,
                     [&](quint64 guess) {
                         if (guess == outcome.guess)
                             loop.quit();
                     });
    QTimer::singleShot(qint64(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
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

void SessionServices::handOverClipboard() const
{
    if (keepClipboard && platform.clipboard)
        keepClipboard(*platform.clipboard);
}

void Session::keepClipboard()
{
    m_services.handOverClipboard();
}

SessionServices Session::withoutDesktop()
{
    SessionServices services;
    services.platform.clipboard = std::make_shared<MemoryClipboard>();
    services.platform.runningApplications = std::make_shared<NoRunningApplications>();
    return services;
}

} // namespace glimra
