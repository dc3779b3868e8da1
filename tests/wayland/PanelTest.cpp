// The results panel after a shortcut's request on each compositor: it is shown as the
// borderless tool window it is on X11, the keys typed next reach it, and the paste it runs
// reaches the native window that was captured.
#include "WaylandFixture.h"

#include "desktop/wayland/KeystrokeSender.h"
#include "foundation/ProcessRunner.h"

#include <QProcess>

namespace glimra::test {

namespace {

using namespace std::chrono_literals;

constexpr int KeyEscape = 1;
constexpr int Key1 = 2;
// What the panel offers first for this selection is "paste" (the calculator's result, 14).
const QByteArray Calculation = QByteArrayLiteral("2*(3+4)");

class PanelTest : public XwaylandTest
{
protected:
    // Runs an X11 tool on the compositor's Xwayland, where Glimra's windows are; its output.
    static QByteArray onXwayland(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("GLIMRA_XWAYLAND_DISPLAY"));
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished();
        }
        return process.readAllStandardOutput().trimmed();
    }
    // The panel's X11 window while it is shown; empty while it is not.
    static QByteArray shownPanel()
    {
        return onXwayland(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                      QStringLiteral("--name"), QStringLiteral("^Glimra$")})
            .split('\n').value(0);
    }
    // The shortcut's path: the desktop's binding runs `glimra guess`, which asks the running
    // application (a request that follows the pointer, as a key grab's does).
    static void guessAsTheBindingDoes()
    {
        const QDBusMessage reply = ResidentGlimra::call(QStringLiteral("RunGuess"), {QStringLiteral("selection"), 2.0}, 20000);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }
};

TEST_F(PanelTest, AfterAShortcutThePanelIsABorderlessToolWindowAndTakesTheKeys)
{
    const auto captured = openWindow({QStringLiteral("org.glimra.Captured"), QStringLiteral("captured"), {}, Calculation});
    ResidentGlimra resident;
    ASSERT_TRUE(resident.waitUntilOnTheBus()) << "the resident application never took its bus name";

    guessAsTheBindingDoes();
    ASSERT_EQ(ResidentGlimra::guessedText(), QString::fromUtf8(Calculation));
    QByteArray panel;
    ASSERT_TRUE(waitUntil([&] { return !(panel = shownPanel()).isEmpty(); })) << "the panel was not shown";
    // A borderless tool window, as on X11.
    const QByteArray properties = onXwayland(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::fromLatin1(panel),
                                                                        QStringLiteral("_NET_WM_WINDOW_TYPE"),
                                                                        QStringLiteral("_MOTIF_WM_HINTS")});
    EXPECT_TRUE(properties.contains("_NET_WM_WINDOW_TYPE_UTILITY")) << properties.toStdString();
    // The Motif hints: flags with decorations (2) set, and no decorations.
    const QString motif = QString::fromLatin1(properties).section(QStringLiteral("_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = "), 1, 1);
    const QStringList hints = motif.section(QLatin1Char('\n'), 0, 0).split(QLatin1Char(','));
    ASSERT_GE(hints.size(), 3) << properties.toStdString();
    EXPECT_TRUE(hints[0].trimmed().toUInt(nullptr, 16) & 2) << properties.toStdString();
    EXPECT_EQ(hints[2].trimmed(), QStringLiteral("0x0")) << properties.toStdString();
    EXPECT_TRUE(captured->waitForLine("focus 0")) << "the captured window kept the focus: " << captured->transcript().toStdString();

    // The next key reaches the panel: Escape hides it, and the captured window has the
    // focus again.
    pressKeys({}, KeyEscape);
    EXPECT_TRUE(waitUntil([] { return shownPanel().isEmpty(); })) << "Escape did not reach the panel";
    EXPECT_TRUE(captured->waitForLine("focus 1")) << "the focus did not come back: " << captured->transcript().toStdString();
}

// Xwayland may tell Qt nothing when a native window takes the focus: the compositor's window
// list, naming the new window, hides the panel then.
TEST_F(PanelTest, ThePanelGoesWhenANewNativeWindowTakesTheFocus)
{
    const auto captured = openWindow({QStringLiteral("org.glimra.Captured"), QStringLiteral("captured"), {}, Calculation});
    ResidentGlimra resident;
    ASSERT_TRUE(resident.waitUntilOnTheBus()) << "the resident application never took its bus name";
    guessAsTheBindingDoes();
    ASSERT_TRUE(waitUntil([] { return !shownPanel().isEmpty(); })) << "the panel was not shown again";
    ASSERT_TRUE(captured->waitForLine("focus 0"));
    const auto other = openWindow({QStringLiteral("org.glimra.Other"), QStringLiteral("other"), {}, {}});
    EXPECT_TRUE(waitUntil([] { return shownPanel().isEmpty(); })) << "the panel stayed when another window took the focus";
}

TEST_F(PanelTest, ThePastePickedInThePanelReachesTheCapturedNativeWindow)
{
    const auto captured = openWindow({QStringLiteral("org.glimra.Captured"), QStringLiteral("captured"), {}, Calculation});
    ResidentGlimra resident;
    ASSERT_TRUE(resident.waitUntilOnTheBus()) << "the resident application never took its bus name";

    guessAsTheBindingDoes();
    ASSERT_TRUE(waitUntil([] { return !shownPanel().isEmpty(); })) << "the panel was not shown";
    ASSERT_TRUE(captured->waitForLine("focus 0"));
    // 1 picks the first row, "paste": the panel hides and the result is typed into the
    // window the selection came from.
    pressKeys({}, Key1);
    EXPECT_TRUE(waitUntil([] { return shownPanel().isEmpty(); })) << "the key did not reach the panel";
    if (isGnome()) {
        // No program may type into a native window there: the text waits on the clipboard,
        // put there a moment after the panel hid, and the user presses Ctrl+V once told to.
        EXPECT_TRUE(waitUntil([] {
            ProcessRequest request;
            request.program = QStringLiteral("/usr/bin/xclip");
            request.arguments = {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")};
            return ProcessRunner::run(request).standardOutput == "14";
        })) << "the result never reached the clipboard";
        pressKeys({KeystrokeSender::KeyLeftCtrl}, KeystrokeSender::KeyV);
    }
    const std::optional<QByteArray> pasted = captured->waitForLine("pasted ");
    ASSERT_TRUE(pasted) << "the paste did not reach the captured window: " << captured->transcript().toStdString();
    EXPECT_EQ(*pasted, "pasted " + QByteArrayLiteral("14").toHex());
}

} // namespace

} // namespace glimra::test
