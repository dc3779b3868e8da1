#include "TestClient.h"
#include "WaylandFixture.h"

#include "desktop/wayland/CapabilityProbe.h"

#include "foundation/ProcessRunner.h"

#include <QJsonArray>

namespace glimra::test {

namespace {

TEST_F(WaylandTest, TheProbeNamesTheFamilysMechanisms)
{
    struct Expected
    {
        QString desktop;
        QStringList mechanisms;
        QList<bool> answered;
    };
    const Expected expected = isSway()
        ? Expected{QStringLiteral("sway"),
                   {QStringLiteral("zwlr_data_control_manager_v1"),
                    QStringLiteral("zwlr_foreign_toplevel_manager_v1 and sway's IPC"),
                    QStringLiteral("zwp_virtual_keyboard_manager_v1"), QStringLiteral("sway's configuration")},
                   {true, true, true, false}}
        : isKWin()
        ? Expected{QStringLiteral("KDE"),
                   {QStringLiteral("zwlr_data_control_manager_v1"), QStringLiteral("org_kde_plasma_window_management"),
                    QStringLiteral("org_kde_kwin_fake_input"), QStringLiteral("org.freedesktop.portal.GlobalShortcuts")},
                   {true, true, true, true}}
        : Expected{QStringLiteral("GNOME"),
                   {QStringLiteral("the XWayland bridge (X11 selections)"), QStringLiteral("none"), QStringLiteral("none"),
                    QStringLiteral("GNOME's custom keyboard shortcuts")},
                   {true, false, false, false}};

    CapabilityProbe::Options options;
    options.timeout = std::chrono::seconds(20);
    const CapabilityReport report = CapabilityProbe::probe(session(), options);
    EXPECT_EQ(report.desktop, expected.desktop);
    ASSERT_EQ(report.capabilities.size(), 4);
    const QStringList names{QStringLiteral("selection"), QStringLiteral("front application"), QStringLiteral("keystroke"),
                            QStringLiteral("shortcut")};
    for (int i = 0; i < 4; ++i) {
        const Capability &capability = report.capabilities[i];
        EXPECT_EQ(capability.name, names[i]);
        EXPECT_EQ(capability.mechanism, expected.mechanisms[i]) << capability.name.toStdString();
        EXPECT_EQ(capability.answered, expected.answered[i]) << capability.name.toStdString();
        // Whatever did not answer comes with advice.
        EXPECT_EQ(capability.advice.isEmpty(), capability.answered) << capability.name.toStdString();
    }
    const QString shortcutAdvice = report.capabilities[3].advice;
    if (isSway()) {
        EXPECT_EQ(shortcutAdvice, QStringLiteral("no GlobalShortcuts portal on this desktop; run `glimra shortcut install` to "
                                                 "bind Super+Alt+G in sway"));
    }
    if (isGnome()) {
        EXPECT_EQ(report.capabilities[2].advice, QStringLiteral("this desktop lets no program type into native windows: "
                                                                "paste puts the text on the clipboard; press Ctrl+V"));
    }
    EXPECT_EQ(report.toJson().value(QStringLiteral("capabilities")).toArray().size(), 4);
}

TEST_F(WaylandTest, GnomesXWaylandBridgeHandsNativeSelectionsToX11Clients)
{
    if (!isGnome())
        GTEST_SKIP() << "GNOME only: the other families read selections through data control";
    const QByteArray primary = QByteArrayLiteral("Primär ✓ over the bridge\n");
    const QByteArray clipboard = QByteArrayLiteral("Zwischenablage 日本語\n");
    const auto selecting = openWindow({QStringLiteral("org.glimra.Selecting"), QStringLiteral("selecting"), {}, primary});
    const auto copying = openWindow({QStringLiteral("org.glimra.Copying"), QStringLiteral("copying"), clipboard, {}});
    const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("front"), {}, {}});

    for (const auto &[selection, expected] : {std::pair{"primary", primary}, std::pair{"clipboard", clipboard}}) {
        ProcessResult result;
        const bool read = waitUntil([&] {
            ProcessRequest request;
            request.program = QStringLiteral("/usr/bin/xclip");
            request.arguments = {QStringLiteral("-o"), QStringLiteral("-selection"), QLatin1String(selection),
                                 QStringLiteral("-target"), QStringLiteral("UTF8_STRING")};
            result = ProcessRunner::run(request);
            return result.succeeded() && result.standardOutput == expected;
        });
        EXPECT_TRUE(read) << selection << ": " << result.standardOutput.toStdString() << result.standardError.toStdString();
    }
    EXPECT_FALSE(front->waitForLine("focus 0", std::chrono::milliseconds(300)));
}

} // namespace

} // namespace glimra::test
