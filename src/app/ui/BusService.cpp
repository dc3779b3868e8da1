#include "app/ui/BusService.h"

#include "app/AppDelegate.h"
#include "app/GuessReport.h"
#include "app/ResultPanel.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QJsonDocument>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace glimra {

const QString BusService::ServiceName = u"org.glimra.Glimra"_s;
const QString BusService::ObjectPath = u"/org/glimra/Glimra"_s;
const QString BusService::Interface = u"org.glimra.Glimra1"_s;

namespace {

QString compact(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace

BusService::BusService(AppDelegate *delegate, ResultPanel *resultWindow, QObject *parent)
    : QObject(parent), m_delegate(delegate), m_resultWindow(resultWindow)
{
}

bool BusService::registerOnBus(QString *problem)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        *problem = u"there is no session bus"_s;
        return false;
    }
    if (!bus.registerObject(ObjectPath, this,
                            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals)) {
        *problem = u"the object %1 is taken"_s.arg(ObjectPath);
        return false;
    }
    // Queued requests would make two instances wait for each other: the first one owns it.
    const auto reply = bus.interface()->registerService(ServiceName, QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(ObjectPath);
        *problem = u"another program owns %1"_s.arg(ServiceName);
        return false;
    }
    return true;
}

void BusService::ShowResults()
{
    if (m_resultWindow)
        m_resultWindow->makeKeyAndActivate();
}

void BusService::GuessSelection()
{
    m_delegate->guessCurrentSelection();
}

void BusService::GuessClipboard()
{
    m_delegate->guessCurrentClipboard();
}

void BusService::RefreshPlugins()
{
    m_delegate->refreshPlugins();
}

void BusService::ShowPreferences()
{
    emit preferencesRequested();
}

void BusService::ShowHelp(const QString &document)
{
    emit helpRequested(document);
}

void BusService::Quit()
{
    // After the reply has left.
    QTimer::singleShot(0, this, &BusService::quitRequested);
}

QString BusService::Results()
{
    return compact(GuessReport::state(*m_delegate));
}

QString BusService::RunGuess(const QString &kind, double waitSeconds)
{
    if (kind != u"selection"_s && kind != u"clipboard"_s) {
        sendErrorReply(QDBusError::InvalidArgs, u"RunGuess guesses \"selection\" or \"clipboard\", not \"%1\""_s.arg(kind));
        return {};
    }
    setDelayedReply(true);
    const QDBusMessage request = message();
    // Lives until the answer has left; every connection made for this call goes with it.
    auto *waiter = new QObject(this);
    auto guess = std::make_shared<quint64>(0);
    auto answered = std::make_shared<bool>(false);
    auto answer = [this, waiter, request, answered](const GuessOutcome &outcome) {
        if (std::exchange(*answered, true))
            return;
        const QJsonObject reply{{u"outcome"_s, GuessReport::outcome(outcome)},
                                {u"state"_s, GuessReport::state(*m_delegate)}};
        QDBusConnection::sessionBus().send(request.createReply(compact(reply)));
        waiter->deleteLater();
    };
    // The guess may end before the request returns (a clipboard guess runs at once): listen
    // first, for whichever guess the request gets.
    connect(m_delegate, &AppDelegate::guessFinished, waiter,
            [this, waiter, guess, waitSeconds, answer](const GuessOutcome &outcome) {
                if (*guess != 0 && outcome.guess != *guess)
                    return;
                if (!outcome.searching)
                    return answer(outcome);
                // Its late files are in, or the caller's patience is out: answer with what
                // there is then.
                GuessOutcome later = outcome;
                later.searching = false;
                connect(m_delegate, &AppDelegate::lateResultsFinished, waiter,
                        [later, answer](quint64 finished) {
                            if (finished == later.guess)
                                answer(later);
                        });
                QTimer::singleShot(qint64(waitSeconds * 1000), waiter, [later, answer] { answer(later); });
            });
    *guess = kind == u"selection"_s ? m_delegate->guessCurrentSelection()
                                    : m_delegate->guessCurrentClipboard();
    return {};
}

} // namespace glimra
