#include "LogCapture.h"
#include "TestEnvironment.h"

#include "capture/CopySelection.h"
#include "capture/SelectionCopyScript.h"
#include "foundation/PluginController.h"
#include "platform/MemoryPasteboard.h"
#include "platform/RunningApplications.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

// A pasteboard that another process can copy to: text written to its file is what it
// holds, as if that process owned the clipboard. Declaring types takes it back.
class SharedPasteboard : public MemoryPasteboard
{
public:
    explicit SharedPasteboard(QString file) : m_file(std::move(file)) {}
    void declareTypes(const QStringList &types) override
    {
        ++writes;
        QFile::remove(m_file);
        MemoryPasteboard::declareTypes(types);
    }
    QString stringValue() const override
    {
        ++reads;
        QFile file(m_file);
        if (file.open(QIODevice::ReadOnly))
            return QString::fromUtf8(file.readAll());
        return MemoryPasteboard::stringValue();
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
        geany.bundleIdentifier = u"Geany"_s;
        geany.active = true;
        geany.processIdentifier = 4242;
        geany.windowIdentifier = 0x1c00003;
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
        pasteboard = std::make_shared<SharedPasteboard>(path(u"copied.txt"_s));
        copier = std::make_unique<CopySelection>(&controller, pasteboard);
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

    PluginController controller;
    std::shared_ptr<SharedPasteboard> pasteboard;
    std::unique_ptr<CopySelection> copier;
};

TEST_F(CopySelectionTest, TheCopyIsReadAtOnceWhenItIsThere)
{
    selectionScript(u"Geany-selection"_s, "  selected text ");
    LogCapture log;
    const std::optional<Context> capture = copier->contextForApp(u"Geany"_s).context;
    EXPECT_EQ(capture, (Context{{CTX_TEXT, u"  selected text "_s}})); // not trimmed
    EXPECT_EQ(pasteboard->reads, 1);
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(CopySelectionTest, TheWaitsRunTheEventLoopAndCatchALateCopy)
{
    selectionScript(u"CurrentCocoaApp-selection"_s, QByteArray());
    QTimer::singleShot(300, [this] { writeFile(u"copied.txt"_s, "late"); });
    LogCapture log;
    QElapsedTimer clock;
    clock.start();
    const std::optional<Context> capture = copier->contextForApp(u"NoScriptOfItsOwn"_s).context;
    EXPECT_GE(clock.elapsed(), 550); // 0.0 + 0.2 + 0.4 s of waits
    EXPECT_EQ(capture, (Context{{CTX_TEXT, u"late"_s}}));
    EXPECT_EQ(pasteboard->reads, 4);
    EXPECT_EQ(log.linesStartingWith(u"sleeping..."_s).size(), 3);
}

TEST_F(CopySelectionTest, NothingUsableArrives)
{
    for (const QByteArray &text : {QByteArray(), QByteArray("null"), QByteArray("(null)")}) {
        selectionScript(u"Geany-selection"_s, text);
        LogCapture log;
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(copier->contextForApp(u"Geany"_s).context) << text.constData();
        EXPECT_GE(clock.elapsed(), 550);
        EXPECT_EQ(log.lines().last(), u"no data in the clipboard"_s);
    }
    QFile argument(path(u"argument.json"_s));
    ASSERT_TRUE(argument.open(QIODevice::ReadOnly));
    EXPECT_EQ(argument.readAll(), R"([{"CTX_APPID":"Geany"}])");
}

TEST_F(CopySelectionTest, TheUsersClipboardIsPutBackAfterTheCopy)
{
    pasteboard->declareTypes({Pasteboard::StringType, u"image/png"_s});
    pasteboard->setString(u"what the user copied"_s, Pasteboard::StringType);
    pasteboard->setData("\x89PNG image", u"image/png"_s);
    const PasteboardContents before = pasteboard->contents();
    selectionScript(u"Geany-selection"_s, "selection");
    EXPECT_EQ(copier->contextForApp(u"Geany"_s).context->value(CTX_TEXT), u"selection"_s);
    EXPECT_EQ(pasteboard->contents(), before);
    EXPECT_EQ(pasteboard->stringValue(), u"what the user copied"_s);
}

TEST_F(CopySelectionTest, TheClipboardGuessOnlyReads)
{
    MemoryPasteboard request;
    EXPECT_FALSE(copier->clipboard(request, u"X"_s).context);
    CopySelection::setPBoard(request, u"  "_s);
    EXPECT_EQ(copier->clipboard(request, u"X"_s).context, (Context{{CTX_TEXT, u"  "_s}}));
    EXPECT_EQ(request.types(), QStringList{Pasteboard::StringType});
}

TEST_F(CopySelectionTest, TheBuiltInCopyHandsTheSelectionOverUnlessTheUsersScriptReplacesIt)
{
    auto selection = std::make_shared<MemoryPasteboard>();
    CopySelection::setPBoard(*selection, u"selected line\n"_s);
    controller.registerBuiltIn(u"CurrentCocoaApp-selection"_s,
                               std::make_shared<SelectionCopyScript>(selection, pasteboard, nullptr));
    OneApplication geany;
    CopySelection withFacts(&controller, pasteboard, &geany);
    CopySelection::setPBoard(*pasteboard, u"what the user copied"_s);
    const int writesBefore = pasteboard->writes;

    EXPECT_EQ(withFacts.contextForApp(u"Geany"_s).context, (Context{{CTX_TEXT, u"selected line\n"_s}}));
    EXPECT_EQ(pasteboard->writes, writesBefore); // the user's clipboard was never touched
    EXPECT_EQ(pasteboard->stringValue(), u"what the user copied"_s);

    // The user's script of the name replaces the built-in one, and is told the window.
    selectionScript(u"CurrentCocoaApp-selection"_s, "from my script");
    EXPECT_EQ(withFacts.contextForApp(u"Geany"_s).context, (Context{{CTX_TEXT, u"from my script"_s}}));
    QFile argument(path(u"argument.json"_s));
    ASSERT_TRUE(argument.open(QIODevice::ReadOnly));
    EXPECT_EQ(argument.readAll(),
              R"([{"CTX_APPID":"Geany","WINDOW_CLASS":"Geany","WINDOW_ID":"0x1c00003","WINDOW_PID":"4242"}])");
}
