#include "LogCapture.h"
#include "TestEnvironment.h"

#include "capture/CopySelection.h"
#include "capture/SelectionCopyScript.h"
#include "foundation/ApplicationScripts.h"
#include "platform/MemoryClipboard.h"
#include "platform/RunningApplications.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

// A clipboard that another process can copy to: text written to its file is what it
// holds, as if that process owned the clipboard. Declaring types takes it back.
class SharedClipboard : public MemoryClipboard
{
public:
    explicit SharedClipboard(QString file) : m_file(std::move(file)) {}
    void setTypes(const QStringList &types) override
    {
        ++writes;
        QFile::remove(m_file);
        MemoryClipboard::setTypes(types);
    }
    QString text() const override
    {
        ++reads;
        QFile file(m_file);
        if (file.open(QIODevice::ReadOnly))
            return QString::fromUtf8(file.readAll());
        return MemoryClipboard::text();
    }
    /// Another program copies `text`; the clipboard reports the change when `reported`.
    void copy(const QByteArray &text, bool reported)
    {
        QFile file(m_file);
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
        file.close();
        if (reported)
            changed();
    }
    mutable int reads = 0;
    int writes = 0;

private:
    QString m_file;
};

class OneApplication : public RunningApplications
{
public:
    QList<RunningApplication> runningApplications() const override
    {
        RunningApplication geany;
        geany.windowClass = u"Geany"_s;
        geany.active = true;
        geany.pid = 4242;
        geany.windowId = 0x1c00003;
        return {geany};
    }
};

} // namespace

class CopySelectionTest : public IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        qputenv("GLIMRA_RESOURCES", path(u"res"_s).toLocal8Bit());
        clipboard = std::make_shared<SharedClipboard>(path(u"copied.txt"_s));
        copier = std::make_unique<CopySelection>(&scripts, clipboard);
    }
    void TearDown() override
    {
        qunsetenv("GLIMRA_RESOURCES");
        IsolatedTest::TearDown();
    }
    // The application's selection script: copies `text`, or nothing when it is null.
    void selectionScript(const QString &name, const QByteArray &text)
    {
        const QByteArray copy = text.isNull()
            ? QByteArray()
            : "printf '%s' '" + text + "' > '" + path(u"copied.txt"_s).toUtf8() + "'\n";
        writeFile(u"data/Glimra/AppScripts/"_s + name + u".scpt"_s,
                  "#!/bin/sh\ncat > '" + path(u"argument.json"_s).toUtf8() + "'\n" + copy);
    }

    ApplicationScripts scripts;
    std::shared_ptr<SharedClipboard> clipboard;
    std::unique_ptr<CopySelection> copier;
};

TEST_F(CopySelectionTest, TheCopyIsReadAtOnceWhenItIsThere)
{
    selectionScript(u"Geany-selection"_s, "  selected text ");
    LogCapture log;
    const std::optional<Context> capture = copier->contextForApp(u"Geany"_s).context;
    EXPECT_EQ(capture, (Context{{CTX_TEXT, u"  selected text "_s}})); // not trimmed
    EXPECT_EQ(clipboard->reads, 1);
    EXPECT_TRUE(log.lines().isEmpty());
}

// The copy that arrives at 0.3 s is read when the clipboard reports it, not at the end of
// the wait: by then (0.45 s) the clipboard holds another text, which would be taken instead.
TEST_F(CopySelectionTest, ALateCopyIsTakenAsSoonAsTheClipboardChanges)
{
    selectionScript(u"default-selection"_s, QByteArray());
    // The copies end with the test: the second would otherwise reach the next test's clipboard.
    QObject test;
    QTimer::singleShot(300, &test, [this] { clipboard->copy("late", true); });
    QTimer::singleShot(450, &test, [this] { clipboard->copy("after the copy was taken", false); });
    QElapsedTimer clock;
    clock.start();
    const std::optional<Context> capture = copier->contextForApp(u"NoScriptOfItsOwn"_s).context;
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_EQ(capture, (Context{{CTX_TEXT, u"late"_s}}));
    EXPECT_EQ(clipboard->reads, 2); // at once, and on the change
}

// A clipboard that reports no change is still read once more when the wait is over.
TEST_F(CopySelectionTest, ACopyThatIsNotReportedIsReadAtTheDeadline)
{
    selectionScript(u"default-selection"_s, QByteArray());
    QObject test;
    QTimer::singleShot(300, &test, [this] { clipboard->copy("unreported", false); });
    QElapsedTimer clock;
    clock.start();
    const std::optional<Context> capture = copier->contextForApp(u"NoScriptOfItsOwn"_s).context;
    EXPECT_GE(clock.elapsed(), CopySelection::CopyWait.count());
    EXPECT_EQ(capture, (Context{{CTX_TEXT, u"unreported"_s}}));
    EXPECT_EQ(clipboard->reads, 2);
}

TEST_F(CopySelectionTest, NothingUsableArrives)
{
    for (const QByteArray &text : {QByteArray(), QByteArray("null"), QByteArray("(null)")}) {
        selectionScript(u"Geany-selection"_s, text);
        LogCapture log;
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(copier->contextForApp(u"Geany"_s).context) << text.constData();
        EXPECT_GE(clock.elapsed(), CopySelection::CopyWait.count()); // ends at the deadline
        EXPECT_EQ(log.lines().last(), u"no data in the clipboard"_s);
    }
    QFile argument(path(u"argument.json"_s));
    ASSERT_TRUE(argument.open(QIODevice::ReadOnly));
    EXPECT_EQ(argument.readAll(), R"([{"CTX_APPID":"Geany"}])");
}

TEST_F(CopySelectionTest, TheUsersClipboardIsPutBackAfterTheCopy)
{
    clipboard->setTypes({Clipboard::TextType, u"image/png"_s});
    clipboard->setData(u"what the user copied"_s.toUtf8(), Clipboard::TextType);
    clipboard->setData("\x89PNG image", u"image/png"_s);
    const ClipboardContents before = clipboard->contents();
    selectionScript(u"Geany-selection"_s, "selection");
    EXPECT_EQ(copier->contextForApp(u"Geany"_s).context->value(CTX_TEXT), u"selection"_s);
    EXPECT_EQ(clipboard->contents(), before);
    EXPECT_EQ(clipboard->text(), u"what the user copied"_s);
}

TEST_F(CopySelectionTest, TheClipboardGuessOnlyReads)
{
    MemoryClipboard request;
    EXPECT_FALSE(copier->clipboard(request, u"X"_s).context);
    request.setText(u"  "_s);
    EXPECT_EQ(copier->clipboard(request, u"X"_s).context, (Context{{CTX_TEXT, u"  "_s}}));
    EXPECT_EQ(request.types(), QStringList{Clipboard::TextType});
}

TEST_F(CopySelectionTest, TheBuiltInCopyHandsTheSelectionOverUnlessTheUsersScriptReplacesIt)
{
    auto selection = std::make_shared<MemoryClipboard>();
    selection->setText(u"selected line\n"_s);
    scripts.registerBuiltIn(u"default-selection"_s,
                               std::make_shared<SelectionCopyScript>(selection, clipboard, nullptr));
    OneApplication geany;
    CopySelection withFacts(&scripts, clipboard, &geany);
    clipboard->setText(u"what the user copied"_s);
    const int writesBefore = clipboard->writes;

    EXPECT_EQ(withFacts.contextForApp(u"Geany"_s).context, (Context{{CTX_TEXT, u"selected line\n"_s}}));
    EXPECT_EQ(clipboard->writes, writesBefore); // the user's clipboard was never touched
    EXPECT_EQ(clipboard->text(), u"what the user copied"_s);

    // The user's script of the name replaces the built-in one, and is told the window.
    selectionScript(u"default-selection"_s, "from my script");
    EXPECT_EQ(withFacts.contextForApp(u"Geany"_s).context, (Context{{CTX_TEXT, u"from my script"_s}}));
    QFile argument(path(u"argument.json"_s));
    ASSERT_TRUE(argument.open(QIODevice::ReadOnly));
    EXPECT_EQ(argument.readAll(),
              R"([{"CTX_APPID":"Geany","WINDOW_CLASS":"Geany","WINDOW_ID":"0x1c00003","WINDOW_PID":"4242"}])");
}
