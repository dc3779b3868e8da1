#pragma once

#include "GlimraProcess.h"
#include "TestClient.h"

#include "desktop/wayland/WaylandSession.h"

#include <QDBusMessage>
#include <QProcess>
#include <QString>
#include <QVariantList>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

namespace glimra::test {

/// The desktop family run-on-wayland.sh started.
enum class Family { Sway, KWin, Gnome };

/// A test on the compositor that run-on-wayland.sh started for the whole program. It skips
/// with the script's message where the compositor could not be started.
class WaylandTest : public ::testing::Test
{
protected:
    void SetUp() override;

    static Family family();
    static bool isSway() { return family() == Family::Sway; }
    static bool isKWin() { return family() == Family::KWin; }
    static bool isGnome() { return family() == Family::Gnome; }
    /// The program's connection to the compositor, made by the first test that asks.
    static WaylandSession &session();
    /// A native window that has the focus, and has put `options`' texts on the
    /// selections (a key typed in it gives it the input serial a selection needs).
    static std::unique_ptr<TestClient> openWindow(const TestClient::Options &options);
    /// Types a chord through the compositor (TestKeyboard); fails the test when it cannot.
    static void pressKeys(const QList<int> &modifiers, int key);
    /// A path in the run's temporary folder.
    static QString workPath(const QString &relative);
    /// Runs the event loop until `done` holds, looking again every 20 ms; false after `timeout`.
    static bool waitUntil(const std::function<bool()> &done,
                          std::chrono::milliseconds timeout = std::chrono::seconds(20));
};

/// A test that runs glimra on the compositor's Xwayland: it skips where the compositor told
/// none.
class XwaylandTest : public WaylandTest
{
protected:
    void SetUp() override;
};

/// The resident application (glimra without a command) on the compositor's Xwayland, with
/// its own Wayland connection; quit through its bus interface when it goes.
class ResidentGlimra
{
public:
    ResidentGlimra();
    ~ResidentGlimra();
    /// Waits until it has taken its bus name.
    bool waitUntilOnTheBus();
    /// Calls a method of its bus interface; the reply.
    static QDBusMessage call(const QString &method, const QVariantList &arguments = {}, int timeout = 2000);
    /// The text of the last guess's selection, as its Results tell.
    static QString guessedText();

private:
    QProcess m_process;
};

/// The glimra program run as the desktop runs it: its windows on the compositor's Xwayland,
/// beside its own Wayland connection; without `withDisplay`, as in a session without
/// Xwayland (no DISPLAY).
GlimraRun glimraOnTheDesktop(const QStringList &arguments, bool withDisplay = true);

} // namespace glimra::test
