#include "TestEnvironment.h"

#include "capture/CopySelection.h"
#include "capture/SelectionCopyScript.h"
#include "capture/TerminalSession.h"
#include "capture/WindowFacts.h"
#include "capture/WindowReportScript.h"
#include "platform/MemoryClipboard.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

// The generic application scripts that Glimra runs in process, with real processes on real
// pseudo-terminals.
class BuiltInScriptsTest : public IsolatedTest
{
protected:
    void TearDown() override
    {
        terminal.kill();
        terminal.waitForFinished();
        IsolatedTest::TearDown();
    }
    // A terminal emulator as /proc shows one: `script` runs its command in a session of its
    // own on a pseudo-terminal, here in `folder`.
    qint64 startTerminal(const QString &folder)
    {
        terminal.setWorkingDirectory(folder);
        terminal.start(u"script"_s, {u"-q"_s, u"-c"_s, u"sleep 60"_s, u"/dev/null"_s});
        EXPECT_TRUE(terminal.waitForStarted(5000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return TerminalSession::of(terminal.processId()).has_value(); }, 5000));
        return terminal.processId();
    }
    static QJsonArray window(qint64 pid, const QString &title)
    {
        return WindowFacts{0x2a, u"Editor"_s, pid, title}.arguments(u"Editor"_s);
    }

    QProcess terminal;
};

TEST_F(BuiltInScriptsTest, TheReportNamesTheDocumentFromTheTitleOrTheTerminal)
{
    writeFile(u"home/docs/a b.txt"_s, "x");
    writeFile(u"work/.keep"_s, "");
    const qint64 terminalPid = startTerminal(path(u"work"_s));
    const qint64 noTerminal = QCoreApplication::applicationPid();
    const QString docs = path(u"home/docs"_s);
    using Order = WindowReportScript::Order;
    const struct
    {
        Order order;
        qint64 pid;
        QString title;
        QString expected; // CURRENT_PATH; null: none
    } rows[] = {
        {Order::TitleFirst, noTerminal, u"a b.txt (~/docs) - Editor"_s, docs},
        {Order::TitleFirst, noTerminal, u"a b.txt - %1 - Editor"_s.arg(docs), docs},
        {Order::TitleFirst, noTerminal, u"me@host: ~/docs"_s, docs},
        {Order::TitleFirst, noTerminal, docs, docs},
        {Order::TitleFirst, noTerminal, u"~/gone - Editor"_s, QString()},
        {Order::TitleFirst, terminalPid, u"sh"_s, path(u"work"_s)},
        {Order::TitleFirst, terminalPid, u"me@host: ~/docs"_s, docs},
        {Order::TerminalFirst, terminalPid, u"me@host: ~/docs"_s, path(u"work"_s)},
        {Order::TerminalFirst, noTerminal, u"me@host: ~/docs"_s, docs},
    };
    for (const auto &row : rows) {
        const QVariantMap report =
            WindowReportScript(row.order).call(u"selected_files"_s, window(row.pid, row.title)).toMap();
        EXPECT_EQ(report.value(u"APP_NAME"_s), u"Editor"_s);
        EXPECT_EQ(report.value(u"WIN_NAME"_s), row.title);
        EXPECT_EQ(report.value(u"CURRENT_PATH"_s).toString(), row.expected) << row.title.toStdString();
    }
    // Without a window there is nothing to report on; other handlers do not exist.
    QString failure;
    EXPECT_FALSE(WindowReportScript().call(u"selected_files"_s, {QJsonObject()}).isValid());
    EXPECT_FALSE(WindowReportScript().call(u"copy_selection"_s, window(1, u""_s), &failure).isValid());
    EXPECT_EQ(failure, u"no handler copy_selection"_s);
}

TEST_F(BuiltInScriptsTest, WithNothingSelectedTheCopyKeystrokeGoesOnlyToWindowsKnownNotToBeTerminals)
{
    const qint64 terminalPid = startTerminal(path());
    auto selection = std::make_shared<MemoryClipboard>();
    auto clipboard = std::make_shared<MemoryClipboard>();
    int keystrokes = 0;
    const SelectionCopyScript copy(selection, clipboard, [&] { ++keystrokes; });
    const SelectionCopyScript copyForTerminals(selection, clipboard, nullptr);
    const struct
    {
        const SelectionCopyScript *script;
        QJsonArray arguments;
        int keystrokes;
    } rows[] = {
        {&copy, window(QCoreApplication::applicationPid(), u"editor"_s), 1},
        // Whether these are terminals cannot be told: no keystroke.
        {&copy, window(0, u"a window that names no process"_s), 0},
        {&copy, window(0x7ffffff0, u"a process on another machine"_s), 0},
        {&copy, window(terminalPid, u"terminal"_s), 0},
        {&copy, {QJsonObject{{CTX_APPID, u"Editor"_s}}}, 0}, // no window known
        {&copyForTerminals, window(QCoreApplication::applicationPid(), u"xterm"_s), 0},
    };
    for (const auto &row : rows) {
        keystrokes = 0;
        row.script->call(u"copy_selection"_s, row.arguments);
        EXPECT_EQ(keystrokes, row.keystrokes) << QJsonDocument(row.arguments).toJson().constData();
    }
    // Something selected: it goes on the clipboard, exactly as it is; no key is pressed.
    selection->setText(u" two\nlines\n"_s);
    keystrokes = 0;
    copy.call(u"copy_selection"_s, window(QCoreApplication::applicationPid(), u""_s));
    EXPECT_EQ(clipboard->text(), u" two\nlines\n"_s);
    EXPECT_EQ(keystrokes, 0);
}
