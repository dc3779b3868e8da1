#include "TestClient.h"
#include "WaylandFixture.h"

#include "desktop/wayland/DataControl.h"
#include "desktop/wayland/KeystrokeSender.h"
#include "platform/Clipboard.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTimer>

namespace glimra::test {

namespace {

using namespace std::chrono_literals;

const QByteArray PrimaryText = QByteArrayLiteral("Primär ✓ – \"quoted\" <b>not markup</b>\n");
const QByteArray ClipboardText = QByteArrayLiteral("Zwischen\tablage 日本語\n");
const QString TextType = QStringLiteral("text/plain;charset=utf-8");

class DataControlTest : public WaylandTest
{
protected:
    void SetUp() override
    {
        WaylandTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        control = DataControl::create(session());
        if (isGnome()) {
            EXPECT_EQ(control, nullptr) << "GNOME offers no data control protocol";
            GTEST_SKIP() << "GNOME offers no data control: the XWayland bridge is tested instead";
        }
        ASSERT_NE(control, nullptr) << "no data control protocol on " << qPrintable(qEnvironmentVariable("GLIMRA_WAYLAND_FAMILY"));
    }
    void TearDown() override { delete control; }

    // The selection's text, once it is `expected` (a copy takes a moment to be announced).
    QByteArray textOnceItIs(SelectionKind kind, const QByteArray &expected)
    {
        QByteArray text;
        QSignalSpy changed(control, &DataControl::selectionChanged);
        waitUntil([&] {
            text = control->readText(kind, {});
            if (text == expected)
                return true;
            changed.wait(200);
            return false;
        });
        return text;
    }

    DataControl *control = nullptr;
};

TEST_F(DataControlTest, ReadsPrimaryAndClipboardOfNativeWindowsWithoutTakingTheFocus)
{
    const auto selecting = openWindow({QStringLiteral("org.glimra.Selecting"), QStringLiteral("selecting"), {}, PrimaryText});
    const auto copying = openWindow({QStringLiteral("org.glimra.Copying"), QStringLiteral("copying"), ClipboardText, {}});
    const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("front"), {}, {}});

    EXPECT_TRUE(control->hasPrimary());
    EXPECT_EQ(textOnceItIs(SelectionKind::Primary, PrimaryText), PrimaryText);
    EXPECT_EQ(textOnceItIs(SelectionKind::Clipboard, ClipboardText), ClipboardText);
    EXPECT_FALSE(front->waitForLine("focus 0", 300ms)) << "reading took the focus from the front window";
}

TEST_F(DataControlTest, ReadsEveryFormatWithinItsBounds)
{
    const auto copying = openWindow({QStringLiteral("org.glimra.Copying"), QStringLiteral("copying"), ClipboardText, {}});
    ASSERT_EQ(textOnceItIs(SelectionKind::Clipboard, ClipboardText), ClipboardText);

    const SelectionRead all = control->read(SelectionKind::Clipboard, {}, {});
    EXPECT_TRUE(all.complete) << all.problem.toStdString();
    EXPECT_TRUE(all.formats.contains(qMakePair(TextType, ClipboardText)));

    struct Case
    {
        const char *name;
        TransferLimits limits;
        bool complete;
        QString problem;
    } cases[] = {
        {"a cap below the text's size stops the read", {1000ms, 3}, false, QStringLiteral("the selection is too large")},
        {"a cap of exactly the text's size lets it through", {1000ms, ClipboardText.size()}, true, {}},
    };
    for (const Case &c : cases) {
        const SelectionRead read = control->read(SelectionKind::Clipboard, {TextType}, c.limits);
        EXPECT_EQ(read.complete, c.complete) << c.name;
        EXPECT_EQ(read.problem, c.problem) << c.name;
        EXPECT_EQ(read.tooLarge, !c.complete) << c.name;
        // What arrived before the cap: its beginning, for a reader that takes text cut.
        EXPECT_TRUE(read.formats.isEmpty() || ClipboardText.startsWith(read.formats.last().second)) << c.name;
    }
}

TEST_F(DataControlTest, GivesUpOnAnOwnerThatStallsWithoutStoppingTheProgram)
{
    const auto stalling = openWindow({QStringLiteral("org.glimra.Stalling"), QStringLiteral("stalling"),
                                      QByteArrayLiteral("late\xff\xfe not UTF-8\n"), {}, 1500});
    ASSERT_TRUE(waitUntil([&] { return control->formats(SelectionKind::Clipboard, 1s).contains(TextType); }));

    // The program goes on meanwhile: a timer fires during the wait.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(50);
    QElapsedTimer clock;
    clock.start();
    const SelectionRead read = control->read(SelectionKind::Clipboard, {TextType}, {300ms, 1024});
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.problem, QStringLiteral("the program holding the selection did not hand it over in time"));
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_GE(ticks, 2);

    // Once it answers, its bytes come as they are.
    QString problem;
    QByteArray text;
    EXPECT_TRUE(waitUntil([&] {
        text = control->readText(SelectionKind::Clipboard, {5s, 1024}, &problem);
        return !text.isNull();
    })) << problem.toStdString();
    EXPECT_EQ(text, QByteArrayLiteral("late\xff\xfe not UTF-8\n"));
}

TEST_F(DataControlTest, OwnsTheClipboardAndPutsBackWhatItHeld)
{
    const auto copying = openWindow({QStringLiteral("org.glimra.Copying"), QStringLiteral("copying"), ClipboardText, {}});
    ASSERT_EQ(textOnceItIs(SelectionKind::Clipboard, ClipboardText), ClipboardText);
    const SelectionRead saved = control->read(SelectionKind::Clipboard, {}, {});
    ASSERT_TRUE(saved.complete) << saved.problem.toStdString();

    // Another program's view of the clipboard: a connection of its own.
    QString problem;
    std::unique_ptr<WaylandSession> other = WaylandSession::connectToSession(&problem);
    ASSERT_TRUE(other) << problem.toStdString();
    DataControl *otherControl = DataControl::create(*other);
    ASSERT_TRUE(otherControl);

    // Being served is told (what a paste waits for before the clipboard is put back), and
    // only once another program asks.
    QSignalSpy served(control, &DataControl::served);
    ASSERT_TRUE(control->own(SelectionKind::Clipboard, {{TextType, QByteArrayLiteral("in between")}}));
    EXPECT_TRUE(control->owns(SelectionKind::Clipboard));
    EXPECT_FALSE(served.wait(300)) << "served before anyone asked";
    EXPECT_TRUE(waitUntil([&] { return otherControl->readText(SelectionKind::Clipboard, {}) == "in between"; }));
    ASSERT_FALSE(served.isEmpty());
    EXPECT_EQ(served.first().first().value<SelectionKind>(), SelectionKind::Clipboard);

    ASSERT_TRUE(control->own(SelectionKind::Clipboard, saved.formats));
    EXPECT_TRUE(waitUntil([&] { return otherControl->readText(SelectionKind::Clipboard, {}) == ClipboardText; }));
    const SelectionRead restored = otherControl->read(SelectionKind::Clipboard, {}, {});
    EXPECT_EQ(restored.formats, saved.formats) << "every format comes back, in its order";

    // A native window pastes what was put back (where the desktop lets a program type).
    const auto front = openWindow({QStringLiteral("org.glimra.Front"), QStringLiteral("front"), {}, {}});
    if (KeystrokeSender *keys = KeystrokeSender::create(session())) {
        ASSERT_TRUE(keys->send(KeystrokeSender::Keystroke::Paste));
        const std::optional<QByteArray> pasted = front->waitForLine("pasted ");
        ASSERT_TRUE(pasted) << front->transcript().toStdString();
        EXPECT_EQ(QByteArray::fromHex(pasted->mid(7)), ClipboardText);
        delete keys;
    }

    // Another copy ends the ownership, and says so.
    QSignalSpy lost(control, &DataControl::ownershipLost);
    ASSERT_TRUE(otherControl->own(SelectionKind::Clipboard, {{TextType, QByteArrayLiteral("theirs")}}));
    EXPECT_TRUE(waitUntil([&] { return !lost.isEmpty(); }));
    EXPECT_FALSE(control->owns(SelectionKind::Clipboard));
}

TEST_F(DataControlTest, OwnsThePrimarySelectionApart)
{
    ASSERT_TRUE(control->own(SelectionKind::Primary, {{TextType, PrimaryText}}));
    ASSERT_TRUE(control->own(SelectionKind::Clipboard, {{TextType, ClipboardText}}));
    EXPECT_EQ(textOnceItIs(SelectionKind::Primary, PrimaryText), PrimaryText);
    EXPECT_EQ(textOnceItIs(SelectionKind::Clipboard, ClipboardText), ClipboardText);

    // Owning nothing empties the selection.
    ASSERT_TRUE(control->own(SelectionKind::Primary, {}));
    EXPECT_TRUE(waitUntil([&] { return control->formats(SelectionKind::Primary, 500ms).isEmpty(); }));
    QString problem;
    EXPECT_TRUE(control->readText(SelectionKind::Primary, {}, &problem).isNull());
    EXPECT_EQ(problem, QStringLiteral("the selection is empty"));
}

// A short-lived glimra hands what it put on the clipboard to a keeper, which serves it until
// another program copies: told by the compositor, the keeper then ends.
TEST_F(DataControlTest, AClipboardKeeperServesUntilAnotherCopyAndThenEnds)
{
    const QString contentsFile = workPath(QStringLiteral("home/kept-clipboard"));
    {
        QFile file(contentsFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QDataStream stream(&file);
        stream << ClipboardContents{{TextType, ClipboardText}};
    }
    QProcess keeper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("GLIMRA_XWAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("GLIMRA_KEEP_DISPLAY"), QStringLiteral("1"));
    keeper.setProcessEnvironment(environment);
    keeper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    keeper.start(QStringLiteral(GLIMRA_BINARY), {QStringLiteral("clipboard-keeper"), contentsFile});
    ASSERT_TRUE(keeper.waitForStarted());
    EXPECT_EQ(textOnceItIs(SelectionKind::Clipboard, ClipboardText), ClipboardText);
    EXPECT_FALSE(QFile::exists(contentsFile)) << "the keeper leaves no copy on disk";
    EXPECT_EQ(keeper.state(), QProcess::Running);

    ASSERT_TRUE(control->own(SelectionKind::Clipboard, {{TextType, QByteArrayLiteral("theirs")}}));
    const bool ended = keeper.waitForFinished(5000);
    if (!ended)
        keeper.kill();
    EXPECT_TRUE(ended) << "the keeper kept running after another program copied";
    EXPECT_EQ(keeper.exitCode(), 0);
}

} // namespace

} // namespace glimra::test
