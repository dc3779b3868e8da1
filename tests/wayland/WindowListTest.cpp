#include "TestClient.h"
#include "WaylandFixture.h"

#include "desktop/wayland/KeystrokeSender.h"
#include "desktop/wayland/SwayIpc.h"
#include "desktop/wayland/WaylandWindowList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QSignalSpy>

namespace glimra::test {

namespace {

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

const QString FrontAppId = QStringLiteral("org.glimra.FrontWindow");
const QString FrontTitle = QStringLiteral("Front – ümlaut ✓");

TEST_F(WaylandTest, TheWindowListKnowsTheFrontWindow)
{
    const auto front = openWindow({FrontAppId, FrontTitle, {}, {}});

    std::unique_ptr<WaylandWindowList> list(WaylandWindowList::create(session()));
    if (isGnome()) {
        EXPECT_EQ(list, nullptr) << "GNOME tells no program about native windows";
        return;
    }
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->interfaceName(), isKWin() ? QStringLiteral("org_kde_plasma_window_management")
                                              : QStringLiteral("zwlr_foreign_toplevel_manager_v1"));
    QSignalSpy changed(list.get(), &WaylandWindowList::activeWindowChanged);
    ASSERT_TRUE(waitUntil([&] {
        const auto active = list->activeWindow();
        return active && active->appId == FrontAppId;
    })) << "active: " << (list->activeWindow() ? list->activeWindow()->appId.toStdString() : "none");
    const WaylandWindow active = *list->activeWindow();
    EXPECT_EQ(active.title, FrontTitle);
    // Only KDE's list tells the process.
    EXPECT_EQ(active.pid, isKWin() ? front->pid() : 0);

    // Another window takes the focus: the list follows.
    const auto next = openWindow({QStringLiteral("org.glimra.Next"), QStringLiteral("next"), {}, {}});
    EXPECT_TRUE(waitUntil([&] {
        const auto now = list->activeWindow();
        return now && now->appId == QLatin1String("org.glimra.Next");
    }));
    EXPECT_FALSE(changed.isEmpty());
}

TEST_F(WaylandTest, SwaysTreeTellsTheFocusedWindowsProcess)
{
    if (!isSway())
        GTEST_SKIP() << "sway only";
    const auto front = openWindow({FrontAppId, FrontTitle, {}, {}});
    SwayIpc sway;
    QString problem;
    std::optional<SwayIpc::FocusedWindow> focused;
    ASSERT_TRUE(waitUntil([&] {
        focused = sway.focusedWindow(2s, &problem);
        return focused && focused->pid == front->pid();
    })) << problem.toStdString();
    EXPECT_EQ(focused->appId, FrontAppId);
    EXPECT_EQ(focused->title, FrontTitle);
    EXPECT_TRUE(focused->windowClass.isEmpty());

    // A socket that is not sway's is said, not waited on.
    SwayIpc nowhere(workPath(QStringLiteral("no-such-socket")));
    EXPECT_FALSE(nowhere.focusedWindow(2s, &problem));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("cannot talk to sway"))) << problem.toStdString();
}

// sway's word (swaymsg) on its outputs in use: each one's name and logical place.
QMap<QString, QRect> swayOutputs()
{
    QProcess swaymsg;
    swaymsg.start(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_outputs")});
    swaymsg.waitForFinished(5000);
    QMap<QString, QRect> outputs;
    for (const QJsonValue output : QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).array()) {
        if (!output[QLatin1String("active")].toBool())
            continue;
        const QJsonObject rect = output[QLatin1String("rect")].toObject();
        outputs.insert(output[QLatin1String("name")].toString(),
                       QRect(rect[QLatin1String("x")].toInt(), rect[QLatin1String("y")].toInt(),
                             rect[QLatin1String("width")].toInt(), rect[QLatin1String("height")].toInt()));
    }
    return outputs;
}

TEST_F(WaylandTest, OnWlrootsAWindowsPlaceIsTheOutputItIsOn)
{
    if (!isSway())
        GTEST_SKIP() << "the foreign toplevel list is sway's here; KDE's tells the window's own place";
    const auto front = openWindow({FrontAppId, FrontTitle, {}, {}});
    std::unique_ptr<WaylandWindowList> list(WaylandWindowList::create(session()));
    ASSERT_NE(list, nullptr);
    const QMap<QString, QRect> outputs = swayOutputs();
    ASSERT_EQ(outputs.size(), 1);
    const auto placeOfFront = [&] {
        const auto active = list->activeWindow();
        return active && active->appId == FrontAppId ? active->geometry : QRect();
    };
    // The protocol tells which output the window is on; its place is that output's.
    EXPECT_TRUE(waitUntil([&] { return placeOfFront() == outputs.first(); }))
        << "the front window's place: " << placeOfFront().x() << "," << placeOfFront().y() << " "
        << placeOfFront().width() << "x" << placeOfFront().height();
}

TEST_F(WaylandTest, KeystrokesReachTheFocusedNativeWindow)
{
    std::unique_ptr<KeystrokeSender> keys(KeystrokeSender::create(session()));
    if (isGnome()) {
        EXPECT_EQ(keys, nullptr) << "GNOME lets no program type into native windows";
        return;
    }
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->interfaceName(), isKWin() ? QStringLiteral("org_kde_kwin_fake_input")
                                              : QStringLiteral("zwp_virtual_keyboard_manager_v1"));
    const auto front = openWindow({FrontAppId, FrontTitle, {}, {}});

    struct Case
    {
        const char *name;
        QList<int> modifiers;
        int key;
        QByteArray expected; // "key MODIFIERS KEY TEXT"
    } cases[] = {
        {"a plain key types its letter", {}, KeystrokeSender::KeyC, "key 0 67 63"},
        {"Shift gives the capital", {KeystrokeSender::KeyLeftShift}, KeystrokeSender::KeyC, "key 33554432 67 43"},
        {"Ctrl+C is the copy keystroke", {KeystrokeSender::KeyLeftCtrl}, KeystrokeSender::KeyC, "key 67108864 67 03"},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(keys->sendChord(c.modifiers, c.key)) << c.name;
        // Modifier presses are reported too; the line of the key itself is the one wanted.
        std::optional<QByteArray> line;
        while ((line = front->waitForLine("key ")) && line->split(' ').value(2) != "67") {
        }
        ASSERT_TRUE(line) << c.name << ": " << front->transcript().toStdString();
        EXPECT_EQ(*line, c.expected) << c.name;
    }
}

} // namespace

} // namespace glimra::test
