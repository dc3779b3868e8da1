#include "cli/KeysCommand.h"

#include "cli/CommandLine.h"
#include "desktop/wayland/KeystrokeSender.h"
#include "desktop/wayland/WaylandSession.h"

#include <QCoreApplication>

#include <memory>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// KWin looks up the program's desktop entry before it grants fake input: up to 2 s measured.
constexpr std::chrono::milliseconds ConnectTimeout = std::chrono::seconds(5);

} // namespace

int KeysCommand::run(const QStringList &arguments)
{
    CommandLine command(u"keys"_s, arguments);
    command.parser().addPositionalArgument(u"chord"_s, u"The keys to type, as \"ctrl+v\"."_s, u"CHORD..."_s);
    if (!command.parse())
        return command.stopStatus();
    const QStringList words = command.parser().positionalArguments();
    QList<KeystrokeSender::Chord> chords;
    for (const QString &word : words) {
        const std::optional<KeystrokeSender::Chord> chord = KeystrokeSender::parseChord(word);
        if (!chord)
            return command.usageError(QCoreApplication::translate("KeysCommand", "'%1' names no key").arg(word));
        chords.append(*chord);
    }
    if (chords.isEmpty())
        return command.usageError(QCoreApplication::translate("KeysCommand", "name the keys to type, as ctrl+v"));

    QString problem;
    const std::unique_ptr<WaylandSession> session = WaylandSession::connectToSession(&problem, ConnectTimeout);
    if (!session) {
        command.err() << u"glimra keys: "_s
                      << QCoreApplication::translate("KeysCommand", "not a Wayland session (%1)").arg(problem) << u'\n';
        return NoWaylandSession;
    }
    KeystrokeSender *sender = KeystrokeSender::create(*session);
    if (!sender) {
        command.err() << u"glimra keys: "_s
                      << QCoreApplication::translate("KeysCommand", "this desktop lets no program type into a native window")
                      << u'\n';
        return NoKeystrokeHere;
    }
    for (const KeystrokeSender::Chord &chord : std::as_const(chords)) {
        if (!sender->send(chord))
            break;
    }
    // The compositor has the keys once it has answered after them.
    if (!session->roundTrip(ConnectTimeout)) {
        command.err() << u"glimra keys: "_s
                      << QCoreApplication::translate("KeysCommand", "the compositor did not take the keys") << u'\n';
        return 1;
    }
    return 0;
}

} // namespace glimra
