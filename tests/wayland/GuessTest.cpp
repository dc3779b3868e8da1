#include "GlimraProcess.h"
#include "TestClient.h"
#include "WaylandFixture.h"
#include "../support/QtPrinters.h"

#include "desktop/wayland/DataControl.h"
#include "desktop/wayland/SwayIpc.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QProcess>
#include <QStandardPaths>

#include <QJsonArray>
#include <QJsonObject>
#include <QProcessEnvironment>

#include <memory>

namespace glimra::test {

namespace {

const QByteArray ClipboardBefore = QByteArrayLiteral("kept on the clipboard ✂\n");

class GuessOnWaylandTest : public WaylandTest
{
protected:
    void SetUp() override
    {
        WaylandTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (isGnome())
            GTEST_SKIP() << "the guess through the program is tested on sway and KWin";
        if (qEnvironmentVariableIsEmpty("GLIMRA_XWAYLAND_DISPLAY"))
            GTEST_SKIP() << "the compositor told no Xwayland display";
    }
};

TEST_F(GuessOnWaylandTest, AGuessAnswersANativeWindowsSelectionExactlyAndNamesTheFrontApplication)
{
    const auto copying = openWindow({QStringLiteral("org.glimra.Copying"), QStringLiteral("copying"), ClipboardBefore, {}});
    std::unique_ptr<DataControl> control(DataControl::create(session()));
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(waitUntil([&] { return control->readText(SelectionKind::Clipboard, {}) == ClipboardBefore; }));

    for (const QByteArray &text : {QByteArrayLiteral("héllo wörld"), QByteArrayLiteral("漢字とかな 🙂"),
                                   QByteArrayLiteral("second line\n"), QByteArrayLiteral("two\nlines\n\n")}) {
        SCOPED_TRACE(text.toStdString());
        const auto selecting = openWindow({QStringLiteral("org.glimra.Selecting"), QStringLiteral("selecting"), {}, text});
        ASSERT_TRUE(waitUntil([&] { return control->readText(SelectionKind::Primary, {}) == text; }));
        const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("the front window"), {}, {}});

        // Text that matches nothing ends with status 1, and the guess is printed all the same.
        const GlimraRun run = glimraOnTheDesktop({QStringLiteral("guess"), QStringLiteral("--json")});
        const QJsonObject context = run.json().value(QStringLiteral("selectionContext")).toObject();
        EXPECT_EQ(context.value(QStringLiteral("CTX_TEXT")).toString(), QString::fromUtf8(text)) << run.err.toStdString();
        EXPECT_EQ(context.value(QStringLiteral("CTX_APPID")).toString(), QStringLiteral("org.glimra.Front"))
            << run.err.toStdString();
        EXPECT_EQ(context.value(QStringLiteral("CTX_WIN_NAME")).toString(), QStringLiteral("the front window"));
    }
    EXPECT_EQ(control->readText(SelectionKind::Clipboard, {}), ClipboardBefore) << "the guess changed the clipboard";
}

TEST_F(GuessOnWaylandTest, ANativeTerminalsWorkingFolderComesFromItsProcessAsSwayTellsIt)
{
    if (!isSway())
        GTEST_SKIP() << "sway only";
    if (QStandardPaths::findExecutable(QStringLiteral("foot")).isEmpty())
        GTEST_SKIP() << "foot is not installed (dev.sh installs it)";
    const QString project = QDir::home().filePath(QStringLiteral("project ✓"));
    ASSERT_TRUE(QDir().mkpath(project));
    const auto selecting = openWindow({QStringLiteral("org.glimra.Selecting"), QStringLiteral("selecting"), {},
                                       QByteArrayLiteral("src/main.c")});
    QProcess terminal;
    terminal.start(QStringLiteral("foot"), {QStringLiteral("--app-id=org.glimra.Terminal"),
                                           QStringLiteral("--working-directory=") + project,
                                           QStringLiteral("sleep"), QStringLiteral("600")});
    ASSERT_TRUE(waitUntil([&] {
        const std::optional<SwayIpc::FocusedWindow> focused = SwayIpc().focusedWindow(std::chrono::seconds(2));
        return focused && focused->appId == QStringLiteral("org.glimra.Terminal");
    })) << terminal.readAllStandardError().toStdString();

    const GlimraRun run = glimraOnTheDesktop({QStringLiteral("guess"), QStringLiteral("--json")});
    const QJsonObject context = run.json().value(QStringLiteral("selectionContext")).toObject();
    EXPECT_EQ(context.value(QStringLiteral("CTX_TEXT")).toString(), QStringLiteral("src/main.c")) << run.err.toStdString();
    EXPECT_EQ(context.value(QStringLiteral("CTX_APPID")).toString(), QStringLiteral("org.glimra.Terminal"));
    EXPECT_EQ(context.value(QStringLiteral("CTX_DIR")).toString(), project + QLatin1Char('/')) << run.out.toStdString();
    terminal.kill();
    terminal.waitForFinished();
}

TEST_F(GuessOnWaylandTest, AUsersScriptNamedAfterTheAppIdIsToldTheFrontWindowsFacts)
{
    const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Glimra/AppScripts");
    const QString script = folder + QStringLiteral("/org.glimra.Front.scpt");
    const QString facts = QDir::home().filePath(QStringLiteral("facts.json"));
    const auto cleanUp = qScopeGuard([&] { QFile::remove(script); QFile::remove(facts); });
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\ncat > '" + facts.toUtf8() + "'\necho '{\"APP_NAME\": \"mine\"}'\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);

    const auto selecting = openWindow({QStringLiteral("org.glimra.Selecting"), QStringLiteral("selecting"), {},
                                       QByteArrayLiteral("x")});
    const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("the front window"), {}, {}});
    const GlimraRun run = glimraOnTheDesktop({QStringLiteral("guess"), QStringLiteral("--json")});
    EXPECT_EQ(run.json().value(QStringLiteral("selectionContext")).toObject().value(QStringLiteral("CTX_APP_NAME")).toString(),
              QStringLiteral("mine")) << run.err.toStdString();

    QFile told(facts);
    ASSERT_TRUE(told.open(QIODevice::ReadOnly));
    const QJsonObject window = QJsonDocument::fromJson(told.readAll()).array().at(0).toObject();
    EXPECT_EQ(window.value(QStringLiteral("WINDOW_CLASS")).toString(), QStringLiteral("org.glimra.Front"));
    EXPECT_EQ(window.value(QStringLiteral("WINDOW_TITLE")).toString(), QStringLiteral("the front window"));
    EXPECT_EQ(window.value(QStringLiteral("WINDOW_PID")).toString(), QString::number(front->pid()))
        << "sway's IPC, or KWin's window list, tells the focused window's process";
}

TEST_F(GuessOnWaylandTest, DoctorNamesWhatSwayOffersAndHowToBindTheShortcut)
{
    if (!isSway())
        GTEST_SKIP() << "sway only";
    const GlimraRun run = glimraOnTheDesktop({QStringLiteral("doctor"), QStringLiteral("--json")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject report = run.json();
    EXPECT_EQ(report.value(QStringLiteral("desktop")).toString(), QStringLiteral("sway"));
    const struct
    {
        QString name;
        QString mechanism;
        bool answered;
    } expected[] = {
        {QStringLiteral("selection"), QStringLiteral("zwlr_data_control_manager_v1"), true},
        {QStringLiteral("front application"), QStringLiteral("zwlr_foreign_toplevel_manager_v1 and sway's IPC"), true},
        {QStringLiteral("clipboard"), QStringLiteral("zwlr_data_control_manager_v1"), true},
        {QStringLiteral("keystroke"), QStringLiteral("zwp_virtual_keyboard_manager_v1"), true},
        {QStringLiteral("shortcut"), QStringLiteral("sway's configuration"), false},
    };
    const QJsonArray capabilities = report.value(QStringLiteral("capabilities")).toArray();
    ASSERT_EQ(capabilities.size(), std::size(expected)) << run.out.toStdString();
    for (qsizetype i = 0; i < capabilities.size(); ++i) {
        const QJsonObject capability = capabilities.at(i).toObject();
        EXPECT_EQ(capability.value(QStringLiteral("name")).toString(), expected[i].name);
        EXPECT_EQ(capability.value(QStringLiteral("mechanism")).toString(), expected[i].mechanism);
        EXPECT_EQ(capability.value(QStringLiteral("answered")).toBool(), expected[i].answered) << expected[i].name.toStdString();
    }
    EXPECT_TRUE(capabilities.at(4).toObject().value(QStringLiteral("advice")).toString().contains(
        QStringLiteral("run `glimra shortcut install`")));
}

} // namespace

} // namespace glimra::test
