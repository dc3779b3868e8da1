#pragma once

#include <QDBusConnection>
#include <QList>
#include <QString>

#include <memory>

namespace glimra {
class KeystrokeSender;
class WaylandSession;
} // namespace glimra

namespace glimra::test {

/// Types through the compositor as a person would, for the tests: on sway and KWin through
/// the program's own keystroke protocols, on GNOME through a session of Mutter's remote
/// desktop service (which asks no consent of a test's own compositor). Keys are Linux input
/// event codes.
class TestKeyboard
{
public:
    TestKeyboard(WaylandSession &session, bool gnome);
    ~TestKeyboard();

    /// False, with the reason, when it cannot type.
    bool sendChord(const QList<int> &modifiers, int key, QString *problem = nullptr);

private:
    bool remoteKey(int key, bool pressed, QString *problem);

    std::unique_ptr<KeystrokeSender> m_sender;
    QString m_remoteSession;
};

} // namespace glimra::test
