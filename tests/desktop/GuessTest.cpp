#include "DesktopTest.h"

#include "desktop/X11RunningApplications.h"
#include "foundation/ApplicationScripts.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
#include <QSignalSpy>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class GuessTest : public DesktopTest
{
};

TEST_F(GuessTest, TheSelectionOfTheActiveTerminalIsGuessedAndTheClipboardKept)
{
    const QString project = path(u"proj"_s);
    writeFile(u"proj/src/main.c"_s, "int main;\n");
    startXterm(project);
    // What the user had copied before: text and an image, owned by this process.
    auto *previous = new QMimeData;
    previous->setText(u"what I copied"_s);
    previous->setData(u"image/png"_s, QByteArray("\x89PNG\r\n\x1a\n fake image", 20));
    QGuiApplication::clipboard()->setMimeData(previous);
    // The selection: the text selected last is the PRIMARY selection.
    xclipSet(u"primary"_s, u"src/main.c:3"_s);

    const GlimraRun run = glimra({u"guess"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = run.json();
    const QJsonObject selection = result.value(u"selectionContext"_s).toObject();
    EXPECT_EQ(selection.value(u"CTX_TEXT"_s), u"src/main.c:3"_s);
    EXPECT_EQ(selection.value(u"CTX_APPID"_s), u"XTerm"_s);
    EXPECT_EQ(selection.value(u"CTX_DIR"_s), project + u'/');
    const QJsonObject matched = result.value(u"matchedContext"_s).toObject();
    EXPECT_EQ(matched.value(u"ACT_PATH"_s), project + u"/src/main.c"_s);
    EXPECT_EQ(matched.value(u"ACT_PATH_LINE"_s), u"3"_s);

    // The clipboard the user had is there again, though glimra has exited. This process
    // hears of the clipboard's new owner (the keeper) through an X event: wait for it.
    const QByteArray image("\x89PNG\r\n\x1a\n fake image", 20);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QMimeData *now = QGuiApplication::clipboard()->mimeData();
            return now && now->text() == u"what I copied"_s && now->data(u"image/png"_s) == image;
        },
        5000));
}

TEST_F(GuessTest, AnEmptySelectionFallsBackOrStops)
{
    startXterm(path());
    xclipSet(u"primary"_s, u""_s);
    // The folder of the terminal's foreground program is the document: its path is guessed.
    const GlimraRun run = glimra({u"guess"_s, u"--json"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.json().value(u"selectionContext"_s).toObject().value(u"CTX_TEXT"_s), path() + u'/');
}

TEST_F(GuessTest, WithoutAnyWindowThereIsNoContext)
{
    const GlimraRun run = glimra({u"guess"_s});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"no context: no application is active"_s)) << run.err.toStdString();
}

TEST_F(GuessTest, TheActiveApplicationComesFromTheWindowManager)
{
    auto applications = X11RunningApplications::connect();
    ASSERT_TRUE(applications);
    QSignalSpy activated(applications.get(), &RunningApplications::applicationActivated);
    startXterm(path());
    const std::optional<RunningApplication> active = applications->activeApplication();
    ASSERT_TRUE(active);
    EXPECT_EQ(active->windowClass, u"XTerm"_s);
    EXPECT_FALSE(active->name.isEmpty());
    EXPECT_GT(active->pid, 0);
    ASSERT_TRUE(!activated.isEmpty() || activated.wait(5000));
    EXPECT_EQ(activated.last().at(0).toString(), u"XTerm"_s);
}

TEST_F(GuessTest, AnEmptyClipboardStaysEmptyAndNoKeeperIsLeftBehind)
{
    startXterm(path());
    QGuiApplication::clipboard()->clear();
    xclipSet(u"primary"_s, u"hello"_s);
    ASSERT_EQ(glimra({u"guess"_s}).exitCode, 0);
    // Nobody owns the clipboard, so no keeper of this display is left: xclip finds nothing.
    EXPECT_TRUE(xclipGet(u"clipboard"_s).isNull());
}

TEST_F(GuessTest, AUsersScriptIsToldTheFactsOfTheActiveWindow)
{
    startXterm(path());
    writeFile(u"data/Glimra/AppScripts/XTerm.scpt"_s,
              "#!/bin/sh\ncat > '" + path(u"facts.json"_s).toUtf8() + "'\necho '{\"APP_NAME\": \"mine\"}'\n");
    xclipSet(u"primary"_s, u"x"_s);
    const GlimraRun run = glimra({u"guess"_s, u"--json"_s});
    EXPECT_EQ(run.json().value(u"selectionContext"_s).toObject().value(u"CTX_APP_NAME"_s), u"mine"_s);

    QFile file(path(u"facts.json"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject facts = QJsonDocument::fromJson(file.readAll()).array().at(0).toObject();
    const QString window = output(u"/usr/bin/xdotool"_s, {u"getactivewindow"_s}).trimmed();
    EXPECT_EQ(facts.value(u"WINDOW_ID"_s), u"0x"_s + QString::number(window.toULongLong(), 16));
    EXPECT_EQ(facts.value(u"WINDOW_CLASS"_s), u"XTerm"_s);
    EXPECT_EQ(facts.value(u"WINDOW_PID"_s),
              output(u"/usr/bin/xdotool"_s, {u"getwindowpid"_s, window}).trimmed());
    EXPECT_EQ(facts.value(u"WINDOW_TITLE"_s),
              output(u"/usr/bin/xdotool"_s, {u"getwindowname"_s, window}).chopped(1));
}

TEST_F(GuessTest, TheShippedScriptsRunAsTheUsersGuessTheSameWithoutAskingTheWindowManager)
{
    const QString project = path(u"proj"_s);
    writeFile(u"proj/src/main.c"_s, "int main;\n");
    startXterm(project);
    xclipSet(u"primary"_s, u"src/main.c:3"_s);
    for (const QString &suffix : {u""_s, u"-selection"_s}) {
        const QString mine = writeFile(u"data/Glimra/AppScripts/XTerm%1.scpt"_s.arg(suffix), "");
        QFile::remove(mine);
        ASSERT_TRUE(QFile::copy(ApplicationScripts::shippedScriptsDir() + u"/default%1.scpt"_s.arg(suffix), mine));
    }
    // Whatever the scripts need to know of the window, they are told.
    writeFile(u"bin/xprop"_s, "#!/bin/sh\nexit 1\n", true);
    writeFile(u"bin/xdotool"_s, "#!/bin/sh\nexit 1\n", true);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PATH"_s, path(u"bin"_s) + u':' + environment.value(u"PATH"_s));

    const GlimraRun run = glimra({u"guess"_s, u"--json"_s}, {}, environment);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject selection = run.json().value(u"selectionContext"_s).toObject();
    EXPECT_EQ(selection.value(u"CTX_TEXT"_s), u"src/main.c:3"_s);
    EXPECT_EQ(selection.value(u"CTX_APP_NAME"_s), u"XTerm"_s);
    EXPECT_EQ(selection.value(u"CTX_DIR"_s), project + u'/');
}
