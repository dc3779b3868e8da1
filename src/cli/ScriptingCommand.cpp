#include "cli/ScriptingCommand.h"

#include "app/AppDelegate.h"
#include "app/GuessCommand.h"
#include "app/RegexpCommand.h"
#include "app/BusService.h"
#include "cli/CommandLine.h"
#include "cli/RunningInstance.h"
#include "cli/Session.h"
#include "cli/desktopServices.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The exit status of a regular expression that reached a limit: neither false nor no value.
constexpr int LimitReached = 3;

// Prints `value` and gives the exit status.
int printValue(CommandLine &command, const std::optional<QVariant> &value)
{
    const bool json = command.parser().isSet(u"json"_s);
    if (json) {
        const QJsonValue printed = value ? QJsonValue::fromVariant(*value) : QJsonValue(QJsonValue::Null);
        command.out() << QString::fromUtf8(QJsonDocument(QJsonArray{printed}).toJson(QJsonDocument::Compact)).mid(1).chopped(1)
                      << u'\n';
    } else if (value && value->typeId() == QMetaType::Bool) {
        command.out() << (value->toBool() ? u"true"_s : u"false"_s) << u'\n';
    } else if (value) {
        for (const QString &line : value->toStringList())
            command.out() << line << u'\n';
    }
    command.out().flush();
    return value && !(value->typeId() == QMetaType::Bool && !value->toBool()) ? 0 : 1;
}

std::optional<QVariant> guessThroughTheRunningOne(const GuessArguments &arguments, bool *answered)
{
    qDBusRegisterMetaType<GuessArguments>();
    QDBusMessage call = QDBusMessage::createMethodCall(BusService::ServiceName, BusService::ObjectPath,
                                                       BusService::Interface, u"Guess"_s);
    call << QVariant::fromValue(arguments);
    call.setAutoStartService(false);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 120000);
    *answered = reply.type() == QDBusMessage::ReplyMessage;
    return BusService::valueOf(reply.arguments().value(0));
}

std::optional<QVariant> guessHere(const QVariantMap &arguments, bool withDisplay)
{
    Session session(desktopServices(withDisplay));
    std::optional<QVariant> value;
    QEventLoop loop;
    bool done = false;
    auto *command = new GuessCommand(session.delegate(), arguments);
    QObject::connect(command, &GuessCommand::finished, &loop, [&](const std::optional<QVariant> &answer) {
        value = answer;
        done = true;
        loop.quit();
    });
    command->performDefaultImplementation();
    if (!done)
        loop.exec();
    return value;
}

} // namespace

int ScriptingCommand::call(const QStringList &arguments, bool withDisplay)
{
    CommandLine command(u"call"_s, arguments);
    command.parser().addOptions({{u"file"_s, u"A file name or path to guess."_s, u"FILE"_s},
                                 {u"url"_s, u"A URL to guess."_s, u"URL"_s},
                                 {u"text"_s, u"A text to guess."_s, u"TEXT"_s},
                                 {u"app"_s, u"The application the value comes from."_s, u"NAME"_s},
                                 {u"json"_s, u"Print one JSON value."_s}});
    if (!command.parse())
        return command.stopStatus();
    const QStringList words = command.parser().positionalArguments();
    if (words != QStringList{u"guess"_s})
        return command.usageError(u"call takes \"guess\" and its options"_s);
    GuessArguments values;
    for (const auto &[option, key] : {std::pair{u"file"_s, u"file_string"_s}, std::pair{u"url"_s, u"url_string"_s},
                                      std::pair{u"text"_s, u"text_string"_s}, std::pair{u"app"_s, u"app_name"_s}}) {
        if (command.parser().isSet(option))
            values.insert(key, command.parser().value(option));
    }
    // A text is guessed by the running one whatever display it serves: nothing is
    // captured or shown.
    const BusPeer peer = RunningInstance::find();
    if (peer.state == BusPeer::State::Answers || peer.state == BusPeer::State::OtherDisplay) {
        bool answered = false;
        const std::optional<QVariant> value = guessThroughTheRunningOne(values, &answered);
        if (answered)
            return printValue(command, value);
        command.err() << u"glimra call: the running Glimra did not answer; guessing here\n"_s;
    } else if (peer.state == BusPeer::State::Hung) {
        command.err() << u"glimra call: %1; guessing here\n"_s.arg(peer.problem());
    }
    QVariantMap here;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        here.insert(it.key(), it.value());
    return printValue(command, guessHere(here, withDisplay));
}

int ScriptingCommand::regexp(const QStringList &arguments)
{
    CommandLine command(u"regexp"_s, arguments);
    command.parser().addOption({u"json"_s, u"Print one JSON value."_s});
    if (!command.parse())
        return command.stopStatus();
    const QStringList words = command.parser().positionalArguments();
    static const QList<std::pair<QString, QString>> operations = {
        {u"match"_s, u"mreg"_s}, {u"multiple"_s, u"xreg"_s}, {u"split"_s, u"splt"_s}};
    QString code;
    for (const auto &[name, eventId] : operations) {
        if (words.value(0) == name || words.value(0) == eventId)
            code = eventId;
    }
    if (code.isEmpty() || words.size() != 3)
        return command.usageError(u"regexp takes match, multiple or split (mreg, xreg, splt), a text and a pattern"_s);
    const RegexpCommand::Answer answer = RegexpCommand::perform(code, words.at(1), words.at(2));
    if (!answer.failure.isNull()) {
        command.err() << u"glimra regexp: "_s << answer.failure << u'\n';
        return LimitReached;
    }
    return printValue(command, answer.value);
}

} // namespace glimra
