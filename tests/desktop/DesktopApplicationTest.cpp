#include "DesktopTest.h"

#include "platform/desktop/X11GlobalShortcuts.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

// The resident application, started as the user starts it, driven by key presses.
class DesktopApplicationTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        // xdg-open writes down what it was asked to open.
        writeFile(u"bin/xdg-open"_s, "#!/bin/sh\necho \"$1\" >> '" + path(u"opened"_s).toUtf8() + "'\n", true);
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PATH"_s, path(u"bin"_s) + u':' + environment.value(u"PATH"_s));
        environment.insert(u"GLIMRA_KEEP_DISPLAY"_s, u"1"_s);
    }
    void TearDown() override
    {
        if (app.state() != QProcess::NotRunning) {
            call(u"Quit"_s);
            if (!app.waitForFinished(5000))
                app.kill();
            app.waitForFinished();
        }
        DesktopTest::TearDown();
    }
    static bool running()
    {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(u"org.glimra.Glimra"_s).value();
    }
    void startApplication()
    {
        app.setProcessEnvironment(environment);
        app.setProcessChannelMode(QProcess::SeparateChannels);
        app.start(QStringLiteral(GLIMRA_BINARY), {});
        ASSERT_TRUE(QTest::qWaitFor(running, 10000)) << "the application never took its bus name";
    }
    // Waits with the event loop running: this process may own the clipboard that the
    // application asks for meanwhile.
    QDBusMessage call(const QString &method)
    {
        QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
            u"org.glimra.Glimra"_s, u"/org/glimra/Glimra"_s, u"org.glimra.Glimra1"_s, method));
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 30000))
            ADD_FAILURE() << "the application did not answer " << method.toStdString();
        return pending.reply();
    }
    QJsonObject results()
    {
        const QDBusMessage reply = call(u"Results"_s);
        return QJsonDocument::fromJson(reply.arguments().value(0).toString().toUtf8()).object();
    }
    QString selected() { return results().value(u"selectionContext"_s).toObject().value(u"CTX_TEXT"_s).toString(); }
    QString activeWindowName()
    {
        return output(u"/usr/bin/xdotool"_s, {u"getactivewindow"_s, u"getwindowname"_s}).trimmed();
    }
    bool panelVisible()
    {
        return !output(u"/usr/bin/xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^Glimra$"_s})
                    .trimmed().isEmpty();
    }
    void key(const QString &keys) { output(u"/usr/bin/xdotool"_s, {u"key"_s, u"--clearmodifiers"_s, keys}); }

    QProcessEnvironment environment;
    QProcess app;
};

TEST_F(DesktopApplicationTest, TheShortcutGuessesTheSelectionAndEnterRunsTheChosenAction)
{
    writeFile(u"proj/src/main.c"_s, "int main;\n");
    startApplication();
    startXterm(path(u"proj"_s));
    auto *previous = new QMimeData;
    previous->setText(u"what I copied"_s);
    QGuiApplication::clipboard()->setMimeData(previous);
    xclipSet(u"primary"_s, u"src/main.c:3"_s);

    key(u"super+alt+g"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return selected() == u"src/main.c:3"_s; }, 10000));
    const QJsonObject state = results();
    QStringList labels;
    for (const QJsonValue &action : state.value(u"actions"_s).toArray())
        labels.append(action.toObject().value(u"label"_s).toString());
    EXPECT_EQ(labels, (QStringList{u"open"_s, u"reveal"_s, u"search"_s, u"spotlight"_s, u"open at line"_s}));
    EXPECT_EQ(state.value(u"selectedTab"_s).toInt(), 1);
    EXPECT_EQ(state.value(u"matchedContext"_s).toObject().value(u"ACT_PATH"_s).toString(),
              path(u"proj/src/main.c"_s));
    // The panel has the focus: Enter runs the first action.
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeWindowName() == u"Glimra"_s; }, 5000));
    key(u"Return"_s);
    QFile opened(path(u"opened"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() > 0; }, 5000));
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll().trimmed(), (u"file://"_s + path(u"proj/src/main.c"_s)).toUtf8());
    // What the user had copied is still there.
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"what I copied"_s);
    // The last application guessed is the terminal, never Glimra itself.
    EXPECT_EQ(state.value(u"selectionContext"_s).toObject().value(u"CTX_APPID"_s).toString(), u"XTerm"_s);
}

TEST_F(DesktopApplicationTest, ASecondStartShowsThePanelAndTheCommandLineGoesThroughTheRunningOne)
{
    startApplication();
    startXterm(path());
    xclipSet(u"primary"_s, u"6*7"_s);
    const GlimraRun run = glimra({u"guess"_s, u"--json"_s}, {}, environment);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.json().value(u"matchedContext"_s).toObject().value(u"ACT_TEXT"_s), u"42"_s);
    EXPECT_EQ(selected(), u"6*7"_s); // the running one guessed it
    ASSERT_TRUE(QTest::qWaitFor([&] { return panelVisible(); }, 5000));

    key(u"Escape"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panelVisible(); }, 5000));
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(GLIMRA_BINARY), {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panelVisible(); }, 5000));
    EXPECT_EQ(app.state(), QProcess::Running);
}

TEST_F(DesktopApplicationTest, AShortcutAnotherProgramHoldsIsReportedAndTheOtherStillWorks)
{
    X11GlobalShortcuts holder; // this process holds the first shortcut
    ASSERT_TRUE(holder.grab(1, QKeySequence(u"Meta+Alt+G"_s)));
    startApplication();
    startXterm(path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.readAllStandardError().contains("shortcut unavailable"); }, 5000));
    xclipSet(u"clipboard"_s, u"https://example.org/"_s);
    key(u"super+alt+c"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return selected() == u"https://example.org/"_s; }, 10000));
}

TEST_F(DesktopApplicationTest, TheClipboardItPutBackAfterACopyOutlivesIt)
{
    startApplication();
    CopyingWindow window;
    window.resize(200, 100);
    window.show();
    window.requestActivate();
    waitUntilActive(QCoreApplication::applicationPid());
    QGuiApplication::clipboard()->setText(u"what I copied"_s);
    // Nothing selected: the window is asked to copy, through the clipboard.
    xclipSet(u"primary"_s, u""_s);
    call(u"GuessSelection"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return selected() == u"selected in the window"_s; }, 10000));
    EXPECT_EQ(xclipGet(u"clipboard"_s), u"what I copied"_s);

    call(u"Quit"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(xclipGet(u"clipboard"_s), u"what I copied"_s);
}
