#include "app/BusService.h"

#include "app/AppDelegate.h"
#include "app/BusAddress.h"
#include "app/GuessCommand.h"
#include "app/GuessReport.h"
#include "app/RegexpCommand.h"
#include "app/ResultPanel.h"
#include "platform/displayName.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>
#include <QFile>
#include <QJsonDocument>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace glimra {

const QString BusService::ServiceName = BusAddress::ServiceName.toString();
const QString BusService::ObjectPath = BusAddress::ObjectPath.toString();
const QString BusService::Interface = BusAddress::Interface.toString();

namespace {

const QString TooLarge = u"org.glimra.Glimra1.Error.TooLarge"_s;
const QString UnknownArgument = u"org.glimra.Glimra1.Error.UnknownArgument"_s;
const QString LimitReached = u"org.glimra.Glimra1.Error.LimitReached"_s;
const QString Busy = u"org.glimra.Glimra1.Error.Busy"_s;
const QString OtherDisplay = u"org.glimra.Glimra1.Error.OtherDisplay"_s;

// The display named in the environment process `pid` started with; null when it cannot be
// read or names none.
QString displayOf(uint pid)
{
    QFile environment(u"/proc/%1/environ"_s.arg(pid));
    if (!environment.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &entry : environment.read(1024 * 1024).split('\0')) {
        if (entry.startsWith("DISPLAY="))
            return QString::fromLocal8Bit(entry.mid(8));
    }
    return {};
}

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The UTF-8 bytes an answer's texts take on the bus.
qsizetype bytesOf(const QVariant &value)
{
    qsizetype bytes = 0;
    for (const QString &text : value.toStringList())
        bytes += text.size() <= BusService::MaximumAnswerBytes / 3 ? text.size() : text.toUtf8().size();
    return bytes;
}

} // namespace

QVariantList BusService::answer(const std::optional<QVariant> &value)
{
    // Each element of an av is marshalled as a variant already: wrapping it once more
    // would hand callers a variant inside a variant.
    if (!value)
        return {};
    return {*value};
}

std::optional<QVariant> BusService::valueOf(const QVariant &reply)
{
    // What arrives is marshalled data unless the receiving side knew the type.
    const QVariantList values = reply.canConvert<QDBusArgument>() ? qdbus_cast<QVariantList>(reply) : reply.toList();
    if (values.isEmpty())
        return std::nullopt;
    const QVariant value = values.first().canConvert<QDBusVariant>() ? values.first().value<QDBusVariant>().variant()
                                                                      : values.first();
    if (value.canConvert<QDBusArgument>())
        return QVariant(qdbus_cast<QStringList>(value)); // the only structured answer: a list of texts
    return value;
}

bool BusService::fits(const QString &text, qsizetype maximumBytes, const QString &what)
{
    // Counted in UTF-16 units first: no copy for the common, small case.
    if (text.size() <= maximumBytes / 3 || text.toUtf8().size() <= maximumBytes)
        return true;
    sendErrorReply(TooLarge, u"%1 holds more than %2 bytes"_s.arg(what).arg(maximumBytes));
    return false;
}

QVariantList BusService::Guess(const GuessArguments &arguments)
{
    for (auto it = arguments.cbegin(); it != arguments.cend(); ++it) {
        if (!GuessCommand::ArgumentKeys.contains(it.key())) {
            sendErrorReply(UnknownArgument, u"Guess takes %1, not \"%2\""_s.arg(GuessCommand::ArgumentKeys.join(u", "_s), it.key()));
            return {};
        }
        if (!fits(it.value(), MaximumTextBytes, u"\"%1\""_s.arg(it.key())))
            return {};
    }
    // The reply waits for the guesses, which wait their turn behind one that runs.
    setDelayedReply(true);
    const QDBusMessage request = message();
    QVariantMap values;
    for (auto it = arguments.cbegin(); it != arguments.cend(); ++it)
        values.insert(it.key(), it.value());
    auto *command = new GuessCommand(*m_delegate, values, this);
    connect(command, &GuessCommand::finished, this, [request](const std::optional<QVariant> &value) {
        QDBusConnection::sessionBus().send(replyWithin(request, QVariant(answer(value)), value ? bytesOf(*value) : 0));
    });
    command->performDefaultImplementation();
    return {};
}

QVariantList BusService::Regexp(const QString &eventId, const QString &text, const QString &regexp)
{
    if (!fits(text, MaximumTextBytes, u"the text"_s) || !fits(regexp, MaximumPatternBytes, u"the pattern"_s))
        return {};
    // Off the main thread: a pattern may take up to its time limit, and the desktop and
    // the bus are served meanwhile.
    setDelayedReply(true);
    const QDBusMessage request = message();
    const bool started = RegexpCommand::performInBackground(
        eventId, text, regexp, this, [request](const RegexpCommand::Answer &result) {
            QDBusConnection::sessionBus().send(
                result.failure.isNull() ? request.createReply(QVariant(answer(result.value)))
                                        : request.createErrorReply(LimitReached, result.failure));
        });
    if (!started)
        sendErrorReply(Busy, u"too many regular expressions are being matched; try again later"_s);
    return {};
}

QVariantList BusService::Matches(const QString &text, const QString &regexp)
{
    return Regexp(u"mreg"_s, text, regexp);
}

QVariantList BusService::MatchMultiple(const QString &text, const QString &regexp)
{
    return Regexp(u"xreg"_s, text, regexp);
}

QVariantList BusService::Split(const QString &text, const QString &separators)
{
    return Regexp(u"splt"_s, text, separators);
}

// A message over the bus's limit would end this connection: the daemon drops the sender,
// and Glimra would be off the bus for good. Such an answer is refused instead.
QDBusMessage BusService::replyWithin(const QDBusMessage &request, const QVariant &answer, qsizetype bytes)
{
    if (bytes <= MaximumAnswerBytes)
        return request.createReply(answer);
    return request.createErrorReply(TooLarge, u"the answer holds %1 MiB, more than the bus carries (%2 MiB); "
                                              u"a shorter selection, or a lower capture_limit_mib, fits"_s
                                                  .arg(bytes / (1024 * 1024))
                                                  .arg(MaximumAnswerBytes / (1024 * 1024)));
}

QDBusMessage BusService::jsonReply(const QDBusMessage &request, const QJsonObject &object)
{
    const QByteArray json = compact(object);
    return replyWithin(request, json.size() <= MaximumAnswerBytes ? QString::fromUtf8(json) : QString(), json.size());
}

BusService::BusService(AppDelegate *delegate, ResultPanel *resultWindow, QObject *parent)
    : QObject(parent), m_delegate(delegate), m_resultWindow(resultWindow), m_display(displayName())
{
    qDBusRegisterMetaType<GuessArguments>();
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

QString BusService::Display()
{
    return m_display;
}

bool BusService::fromThisDisplay()
{
    if (!calledFromDBus())
        return true;
    const QDBusReply<uint> pid = connection().interface()->servicePid(message().service());
    const QString theirs = pid.isValid() ? displayOf(pid.value()) : QString();
    if (theirs.isEmpty() || displayName(theirs) == m_display)
        return true;
    sendErrorReply(OtherDisplay, u"Glimra runs on display %1 and serves that display only, not %2"_s.arg(
                                     m_display, displayName(theirs)));
    return false;
}

void BusService::ShowResults()
{
    if (!fromThisDisplay())
        return;
    if (m_resultWindow)
        m_resultWindow->showPanel();
}

void BusService::GuessSelection()
{
    if (fromThisDisplay())
        m_delegate->guessCurrentSelection();
}

void BusService::GuessClipboard()
{
    if (fromThisDisplay())
        m_delegate->guessCurrentClipboard();
}

void BusService::RefreshPlugins()
{
    m_delegate->refreshPlugins();
}

void BusService::ShowPreferences()
{
    if (fromThisDisplay())
        emit preferencesRequested({});
}

void BusService::ShowPreferencesPage(const QString &page)
{
    if (fromThisDisplay())
        emit preferencesRequested(page);
}

void BusService::ShowHelp(const QString &document)
{
    if (fromThisDisplay())
        emit helpRequested(document);
}

void BusService::Quit()
{
    // After the reply has left.
    QTimer::singleShot(0, this, &BusService::quitRequested);
}

QString BusService::Results()
{
    setDelayedReply(true);
    QDBusConnection::sessionBus().send(jsonReply(message(), GuessReport::state(m_delegate->result())));
    return {};
}

QString BusService::RunGuess(const QString &kind, double waitSeconds)
{
    if (kind != u"selection"_s && kind != u"clipboard"_s) {
        sendErrorReply(QDBusError::InvalidArgs, u"RunGuess guesses \"selection\" or \"clipboard\", not \"%1\""_s.arg(kind));
        return {};
    }
    if (!fromThisDisplay())
        return {};
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
                                {u"state"_s, GuessReport::state(m_delegate->result())}};
        QDBusConnection::sessionBus().send(jsonReply(request, reply));
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
    // What a desktop's binding of a shortcut runs (`glimra guess`): a shortcut's request,
    // whose panel opens at the pointer as the key grab's does.
    using Sender = AppDelegate::Sender;
    *guess = kind == u"selection"_s ? m_delegate->guessCurrentSelection(Sender::Other)
                                    : m_delegate->guessCurrentClipboard(Sender::Other);
    return {};
}

} // namespace glimra
