#include "DesktopTest.h"

#include "desktop/X11Clipboard.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QMimeData>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class ClipboardTest : public DesktopTest
{
};

TEST_F(ClipboardTest, TheX11ClipboardIsTheDesktopClipboard)
{
    X11Clipboard clipboard;
    clipboard.setText(u"from glimra é"_s);
    EXPECT_TRUE(clipboard.isOwnedHere());
    EXPECT_EQ(xclipGet(u"clipboard"_s), u"from glimra é"_s);

    xclipSet(u"clipboard"_s, u"from xclip"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !clipboard.isOwnedHere(); }, 5000));
    EXPECT_EQ(clipboard.text(), u"from xclip"_s);
}

TEST_F(ClipboardTest, PasteHandsTheValueToASlowReaderThenPutsBackEveryFormatOfTheClipboard)
{
    const QByteArray image("\x89PNG\r\n\x1a\n fake image", 20);
    auto *previous = new QMimeData;
    previous->setText(u"ORIG"_s);
    previous->setData(u"image/png"_s, image);
    QGuiApplication::clipboard()->setMimeData(previous);
    // The application pasted into reads the clipboard a second after the keystroke. It is
    // no child of the paste script's (whose leftovers end with glimra): a session of its own.
    qputenv("GLIMRA_RESOURCES", path(u"res"_s).toLocal8Bit());
    writeFile(u"res/PasteAction.scpt"_s,
              "#!/bin/sh\ncat > /dev/null\nsetsid sh -c \"sleep 1; xclip -o -selection clipboard > '" + path(u"got"_s).toUtf8()
                  + ".part' && mv '" + path(u"got"_s).toUtf8() + ".part' '" + path(u"got"_s).toUtf8()
                  + "'\" > /dev/null 2>&1 &\n",
              true);
    QElapsedTimer clock;
    clock.start();
    const GlimraRun run = glimra({u"match"_s, u"--text"_s, u"2*(3+4)"_s, u"--run"_s, u"paste"_s});
    qunsetenv("GLIMRA_RESOURCES");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // It waited for the reader, not a fixed time, and the reader got the value.
    EXPECT_GE(clock.elapsed(), 1000);
    QFile got(path(u"got"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return got.exists(); }, 5000));
    ASSERT_TRUE(got.open(QIODevice::ReadOnly));
    EXPECT_EQ(got.readAll(), "14");
    // What the user had copied is back, every format, though glimra has exited.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QMimeData *now = QGuiApplication::clipboard()->mimeData();
            return now && now->text() == u"ORIG"_s && now->data(u"image/png"_s) == image;
        },
        5000));
    EXPECT_EQ(xclipGet(u"clipboard"_s), u"ORIG"_s);
}

TEST_F(ClipboardTest, PasteIntoADashTerminalRunsNothingUntilTheUserPressesEnter)
{
    // dash has no bracketed paste: a line break pasted would run the line at once.
    startTerminal(u"xterm"_s, path(), u"exec dash -i"_s);
    writeFile(userPluginsDir() + u"/LineMatcher.scpt"_s,
              "#!/bin/sh\n[ \"$1\" = matches_context ] || exit 1\ncat > /dev/null\n"
              "echo '{\"ACT_TEXT\": \"touch canary\\n\"}'\n",
              true);
    const GlimraRun run = glimra({u"match"_s, u"--text"_s, u"x"_s, u"--context"_s, u"CTX_APPID=XTerm"_s,
                                  u"--run"_s, u"paste"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QTest::qWait(1000); // what a shell would have run by now
    EXPECT_FALSE(QFile::exists(path(u"canary"_s)));
    // The text is there, waiting for the user's Enter.
    output(u"/usr/bin/xdotool"_s, {u"key"_s, u"--clearmodifiers"_s, u"Return"_s});
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path(u"canary"_s)); }, 5000));
}

TEST_F(ClipboardTest, PasteGoesToTheWindowTheSelectionCameFromOrNowhere)
{
    writeFile(userPluginsDir() + u"/LineMatcher.scpt"_s,
              "#!/bin/sh\n[ \"$1\" = matches_context ] || exit 1\ncat > /dev/null\n"
              "echo '{\"ACT_TEXT\": \"touch canary\"}'\n",
              true);
    // Two dash terminals of one class, in folders of their own; the second is in front.
    std::vector<std::unique_ptr<QProcess>> terminals;
    QStringList windows;
    for (const QString &folder : {u"first"_s, u"second"_s}) {
        QDir().mkpath(path(folder));
        auto &terminal = terminals.emplace_back(std::make_unique<QProcess>());
        terminal->setWorkingDirectory(path(folder));
        terminal->start(u"xterm"_s, {u"-e"_s, u"sh"_s, u"-c"_s, u"exec dash -i"_s});
        ASSERT_TRUE(terminal->waitForStarted(5000));
        waitUntilActive(terminal->processId());
        // Active is not yet mapped everywhere on a busy server: wait until it is found.
        QString window;
        const bool found = QTest::qWaitFor([&] {
            window = output(u"/usr/bin/xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--pid"_s,
                                                    QString::number(terminal->processId())})
                         .section(u'\n', 0, 0)
                         .trimmed();
            return window.toULongLong() != 0;
        }, 5000);
        ASSERT_TRUE(found) << "no window of the terminal in " << folder.toStdString();
        windows.append(window);
    }
    auto pasteInto = [&](const QString &window) {
        return glimra({u"match"_s, u"--text"_s, u"x"_s, u"--context"_s, u"CTX_APPID=XTerm"_s, u"--context"_s,
                       u"CTX_WINDOW_ID=0x"_s + QString::number(window.toULongLong(), 16), u"--run"_s, u"paste"_s});
    };
    const struct {
        const char *what;
        int window;
        QString folder;
    } cases[] = {
        {"into the window behind the front one", 0, u"first"_s},
        {"into the front one", 1, u"second"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const GlimraRun run = pasteInto(windows.at(c.window));
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        output(u"/usr/bin/xdotool"_s, {u"key"_s, u"--clearmodifiers"_s, u"Return"_s});
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path(c.folder + u"/canary"_s)); }, 5000));
        QFile::remove(path(c.folder + u"/canary"_s));
    }

    // The first window is closed: nothing goes to the other one of its class, and it is said.
    terminals.front()->kill();
    terminals.front()->waitForFinished(5000);
    const GlimraRun run = pasteInto(windows.at(0));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(u"the window the selection was taken from is closed"_s)) << run.err.toStdString();
    output(u"/usr/bin/xdotool"_s, {u"key"_s, u"--clearmodifiers"_s, u"Return"_s});
    QTest::qWait(500); // what a shell would have run by now
    EXPECT_FALSE(QFile::exists(path(u"second/canary"_s)));
}

TEST_F(ClipboardTest, TheClipboardGuessReadsWhatXclipPutThere)
{
    startXterm(path());
    xclipSet(u"clipboard"_s, u"https://example.org/page"_s);
    const GlimraRun run = glimra({u"clipboard"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = run.json();
    EXPECT_EQ(result.value(u"selectionContext"_s).toObject().value(u"CTX_TEXT"_s),
              u"https://example.org/page"_s);
    EXPECT_EQ(result.value(u"selectionContext"_s).toObject().value(u"CTX_APPID"_s), u"XTerm"_s);
    EXPECT_EQ(result.value(u"files"_s).toArray().size(), 1);
}

TEST_F(ClipboardTest, AServicesRequestGuessesTheTextItBrings)
{
    startXterm(path());
    const GlimraRun run = glimra({u"service"_s, u"--json"_s}, "6*7");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.json().value(u"matchedContext"_s).toObject().value(u"ACT_TEXT"_s), u"42"_s);
    EXPECT_EQ(run.json().value(u"selectedTab"_s).toInt(), 1);
}
