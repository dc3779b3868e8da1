// What Glimra does with native Wayland windows beyond reading their selection: paste back,
// the terminal's folder on KWin, the selection through GNOME's Xwayland bridge, a capture
// without Xwayland, and what glimra doctor says on KWin.
#include "WaylandFixture.h"
#include "../support/QtPrinters.h"

#include "desktop/wayland/DataControl.h"
#include "desktop/wayland/KeystrokeSender.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

#include <memory>

namespace glimra::test {

namespace {

using namespace std::chrono_literals;

const QByteArray ClipboardBefore = QByteArrayLiteral("kept on the clipboard ✂\n");

class NativeWindowTest : public XwaylandTest
{
protected:
    static QJsonObject selectionContext(const GlimraRun &run)
    {
        return run.json().value(QStringLiteral("selectionContext")).toObject();
    }
};

TEST_F(NativeWindowTest, PasteReachesTheFocusedNativeWindowOrTheUserIsToldToPressCtrlV)
{
    const auto copying = openWindow({QStringLiteral("org.glimra.Copying"), QStringLiteral("copying"), ClipboardBefore, {}});
    const auto target = openWindow({QStringLiteral("org.glimra.Target"), QStringLiteral("the target"), {}, {}});
    const QByteArray pasted = "pasted " + QByteArrayLiteral("14").toHex();

    const GlimraRun run = glimraOnTheDesktop({QStringLiteral("match"), QStringLiteral("--text"), QStringLiteral("2*(3+4)"),
                                              QStringLiteral("--run"), QStringLiteral("paste")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    if (isGnome()) {
        // No program may type into a native window here: the user is told, and the text
        // stays on the clipboard for the Ctrl+V they press.
        EXPECT_TRUE(run.err.contains(QStringLiteral("press Ctrl+V"))) << run.err.toStdString();
        pressKeys({KeystrokeSender::KeyLeftCtrl}, KeystrokeSender::KeyV);
        const std::optional<QByteArray> line = target->waitForLine("pasted ");
        ASSERT_TRUE(line) << target->transcript().toStdString();
        EXPECT_EQ(*line, pasted);
        return;
    }
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const std::optional<QByteArray> line = target->waitForLine("pasted ");
    ASSERT_TRUE(line) << "the paste keystroke did not reach the window: " << target->transcript().toStdString();
    EXPECT_EQ(*line, pasted);
    // Once the window has fetched the text, the clipboard holds what it held before.
    std::unique_ptr<DataControl> control(DataControl::create(session()));
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(waitUntil([&] { return control->readText(SelectionKind::Clipboard, {}) == ClipboardBefore; }))
        << "the clipboard holds " << control->readText(SelectionKind::Clipboard, {}).toStdString();
}

// `glimra keys` types into the focused native window, or exits 3 where the desktop lets no
// program type (what the application scripts tell from a session without a compositor, 5).
TEST_F(NativeWindowTest, GlimraKeysTypesIntoTheNativeWindowOrSaysTheDesktopForbidsIt)
{
    const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("the front window"), {}, {}});
    const GlimraRun run = glimraOnTheDesktop({QStringLiteral("keys"), QStringLiteral("m")});
    if (isGnome()) {
        EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("lets no program type"))) << run.err.toStdString();
        return;
    }
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(front->waitForLine("key 0 77")) << front->transcript().toStdString();
}

TEST_F(NativeWindowTest, WithNothingSelectedTheCopyKeystrokeReachesTheNativeWindow)
{
    if (isGnome())
        GTEST_SKIP() << "GNOME lets no program type into a native window";
    const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("the front window"), {}, {}});
    const GlimraRun run = glimraOnTheDesktop({QStringLiteral("guess"), QStringLiteral("--json")});
    // Ctrl (Qt::ControlModifier) and C.
    EXPECT_TRUE(front->waitForLine("key 67108864 67")) << run.err.toStdString() << front->transcript().toStdString();
}

TEST_F(NativeWindowTest, OnGnomeAGuessReadsANativeWindowsSelectionThroughTheXwaylandBridge)
{
    if (!isGnome())
        GTEST_SKIP() << "elsewhere the compositor's data control reads it";
    for (const bool xwaylandInFront : {true, false}) {
        for (const QByteArray &text : {QByteArrayLiteral("héllo wörld"), QByteArrayLiteral("漢字とかな 🙂"),
                                       QByteArrayLiteral("second line\n"), QByteArrayLiteral("two\nlines\n\n")}) {
            SCOPED_TRACE(text.toStdString() + (xwaylandInFront ? " before an Xwayland window" : " before a native one"));
            const auto selecting = openWindow({QStringLiteral("org.glimra.Selecting"), QStringLiteral("selecting"), {}, text});
            TestClient::Options frontWindow{QStringLiteral("org.glimra.Front"), QStringLiteral("the front window"), {}, {}};
            frontWindow.onXwayland = xwaylandInFront;
            const auto front = openWindow(frontWindow);
            const GlimraRun run = glimraOnTheDesktop({QStringLiteral("guess"), QStringLiteral("--json")});
            const QJsonObject context = selectionContext(run);
            EXPECT_EQ(context.value(QStringLiteral("CTX_TEXT")).toString(), QString::fromUtf8(text))
                << run.err.toStdString();
            // GNOME tells no program which native window is in front: that one is unknown.
            if (!xwaylandInFront)
                EXPECT_EQ(context.value(QStringLiteral("CTX_APP_NAME")).toString(), QStringLiteral("unknown"))
                    << run.out.toStdString();
        }
    }
}

TEST_F(NativeWindowTest, OnKWinANativeTerminalsWorkingFolderIsInTheContext)
{
    if (!isKWin())
        GTEST_SKIP() << "KWin only (sway's is tested with foot)";
    const QString project = QDir::home().filePath(QStringLiteral("kwin project ✓"));
    ASSERT_TRUE(QDir().mkpath(project));
    const auto selecting = openWindow({QStringLiteral("org.glimra.Selecting"), QStringLiteral("selecting"), {},
                                       QByteArrayLiteral("src/main.c")});
    TestClient::Options terminal{QStringLiteral("org.glimra.Terminal"), QStringLiteral("a terminal"), {}, {}};
    terminal.terminalIn = project;
    const auto front = openWindow(terminal);

    const GlimraRun run = glimraOnTheDesktop({QStringLiteral("guess"), QStringLiteral("--json")});
    const QJsonObject context = selectionContext(run);
    EXPECT_EQ(context.value(QStringLiteral("CTX_TEXT")).toString(), QStringLiteral("src/main.c")) << run.err.toStdString();
    EXPECT_EQ(context.value(QStringLiteral("CTX_APPID")).toString(), QStringLiteral("org.glimra.Terminal"));
    EXPECT_EQ(context.value(QStringLiteral("CTX_DIR")).toString(), project + QLatin1Char('/')) << run.out.toStdString();
}

TEST_F(NativeWindowTest, WithoutXwaylandACaptureReadsTheCompositorAndCutsASelectionOver64MiB)
{
    if (isGnome())
        GTEST_SKIP() << "GNOME lets no program read a native selection without Xwayland";
    const struct
    {
        const char *name;
        bool withDisplay;
    } runs[] = {{"without a display", false}, {"with Xwayland", true}};
    const auto selecting = openWindow({QStringLiteral("org.glimra.Selecting"), QStringLiteral("selecting"), {},
                                       QByteArrayLiteral("ünïcode\n")});
    const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("the front window"), {}, {}});
    for (const auto &row : runs) {
        SCOPED_TRACE(row.name);
        const GlimraRun run = glimraOnTheDesktop({QStringLiteral("guess"), QStringLiteral("--json")}, row.withDisplay);
        const QJsonObject context = selectionContext(run);
        EXPECT_EQ(context.value(QStringLiteral("CTX_TEXT")).toString(), QStringLiteral("ünïcode\n")) << run.err.toStdString();
        EXPECT_EQ(context.value(QStringLiteral("CTX_APPID")).toString(), QStringLiteral("org.glimra.Front"));
    }

    // More than any read takes: the capture keeps its beginning, cut to the capture's
    // limit, as it does with an X11 selection, instead of taking it for a stalled owner.
    TestClient::Options huge{QStringLiteral("org.glimra.Huge"), QStringLiteral("huge"), {}, {}};
    huge.primarySize = 64 * 1024 * 1024 + 1;
    const auto selectingMuch = openWindow(huge);
    pressKeys({}, KeystrokeSender::KeyLeftShift);
    ASSERT_TRUE(selectingMuch->waitForLine("primary-set")) << selectingMuch->transcript().toStdString();
    const auto again = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("the front window"), {}, {}});
    const GlimraRun run = glimraOnTheDesktop({QStringLiteral("guess"), QStringLiteral("--json")});
    const QString text = selectionContext(run).value(QStringLiteral("CTX_TEXT")).toString();
    EXPECT_FALSE(text.isEmpty()) << run.err.toStdString();
    EXPECT_LE(text.size(), 16 * 1024 * 1024);
    EXPECT_EQ(text.count(QLatin1Char('x')), text.size());
}

TEST_F(NativeWindowTest, DoctorNamesWhatKWinOffers)
{
    if (!isKWin())
        GTEST_SKIP() << "KWin only (sway's is tested with the guess)";
    const GlimraRun run = glimraOnTheDesktop({QStringLiteral("doctor"), QStringLiteral("--json")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject report = run.json();
    EXPECT_EQ(report.value(QStringLiteral("desktop")).toString(), QStringLiteral("KDE"));
    const struct
    {
        QString name;
        QString mechanism;
    } expected[] = {
        {QStringLiteral("selection"), QStringLiteral("zwlr_data_control_manager_v1")},
        {QStringLiteral("front application"), QStringLiteral("org_kde_plasma_window_management")},
        {QStringLiteral("clipboard"), QStringLiteral("zwlr_data_control_manager_v1")},
        {QStringLiteral("keystroke"), QStringLiteral("org_kde_kwin_fake_input")},
        {QStringLiteral("shortcut"), QStringLiteral("org.freedesktop.portal.GlobalShortcuts")},
    };
    const QJsonArray capabilities = report.value(QStringLiteral("capabilities")).toArray();
    ASSERT_EQ(capabilities.size(), std::size(expected)) << run.out.toStdString();
    for (qsizetype i = 0; i < capabilities.size(); ++i) {
        const QJsonObject capability = capabilities.at(i).toObject();
        EXPECT_EQ(capability.value(QStringLiteral("name")).toString(), expected[i].name);
        EXPECT_EQ(capability.value(QStringLiteral("mechanism")).toString(), expected[i].mechanism) << run.out.toStdString();
        EXPECT_TRUE(capability.value(QStringLiteral("answered")).toBool()) << expected[i].name.toStdString();
    }
}

} // namespace

} // namespace glimra::test
