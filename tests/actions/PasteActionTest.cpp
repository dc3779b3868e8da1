#include "TestEnvironment.h"

#include "actions/PasteAction.h"
#include "platform/MemoryClipboard.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

using namespace glimra;
using namespace Qt::StringLiterals;

class PasteActionTest : public test::IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        qputenv("GLIMRA_RESOURCES", path(u"res"_s).toLocal8Bit());
        // The paste script appends the arguments it received to a log, one line per call.
        writeFile(u"res/PasteAction.scpt"_s,
                  "#!/bin/sh\n[ \"$1\" = paste_selection ] || exit 1\n{ cat; echo; } >> '"
                      + path(u"calls.log"_s).toUtf8() + "'\n",
                  true);
        clipboard->setTypes({u"image/png"_s});
        clipboard->setData("previous", u"image/png"_s);
    }
    void TearDown() override
    {
        qunsetenv("GLIMRA_RESOURCES");
        IsolatedTest::TearDown();
    }
    // Offers and runs the paste action for `context`; the arguments of each handler call.
    QList<QJsonArray> paste(const Context &context)
    {
        PasteAction prototype(clipboard);
        const ActionList offered = prototype.actionsForContext(context);
        EXPECT_EQ(offered.size(), 1);
        if (!offered.isEmpty())
            offered.first()->execute(context, {});
        QList<QJsonArray> calls;
        QFile log(path(u"calls.log"_s));
        if (log.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : log.readAll().split('\n')) {
                if (!line.isEmpty())
                    calls.append(QJsonDocument::fromJson(line).array());
            }
        }
        return calls;
    }
    std::shared_ptr<MemoryClipboard> clipboard = std::make_shared<MemoryClipboard>();
};

TEST_F(PasteActionTest, IntoATerminalNoLineBreakEndsTheTextAndSeveralLinesAreAskedFor)
{
    PasteAction prototype(clipboard, [](const Context &context) { return context.value(CTX_APPID) == u"XTerm"_s; });
    auto pasteInto = [&](const QString &application, const QString &text) {
        const ActionList offered = prototype.actionsForContext({{ACT_TEXT, text}});
        std::optional<Outcome> outcome;
        offered.first()->execute({{ACT_TEXT, text}, {CTX_APPID, application}}, [&](const Outcome &ended) { outcome = ended; });
        return std::make_pair(offered.first(), outcome.value_or(Outcome::failure(u"never heard"_s)));
    };
    auto pastedTexts = [&] {
        QStringList texts;
        QFile log(path(u"calls.log"_s));
        if (log.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : log.readAll().split('\n')) {
                if (!line.isEmpty())
                    texts.append(QJsonDocument::fromJson(line).array().at(0).toObject().value(u"ACT_TEXT"_s).toString());
            }
        }
        return texts;
    };
    EXPECT_TRUE(pasteInto(u"XTerm"_s, u"rm -rf build\n"_s).second.ok);
    EXPECT_EQ(clipboard->text(), u"rm -rf build"_s);
    EXPECT_TRUE(pasteInto(u"Editor"_s, u"line\n"_s).second.ok);
    EXPECT_EQ(pastedTexts(), (QStringList{u"rm -rf build"_s, u"line\n"_s}));

    const auto [action, asked] = pasteInto(u"XTerm"_s, u"cd /\nrm -rf x\n"_s);
    EXPECT_FALSE(asked.ok);
    EXPECT_EQ(asked.message, u"the text has 2 lines, and a terminal may run each as a command: choose paste again to paste them"_s);
    EXPECT_EQ(pastedTexts().size(), 2);
    std::optional<Outcome> again;
    action->execute({{ACT_TEXT, u"cd /\nrm -rf x\n"_s}, {CTX_APPID, u"XTerm"_s}}, [&](const Outcome &ended) { again = ended; });
    ASSERT_TRUE(again && again->ok);
    EXPECT_EQ(pastedTexts().last(), u"cd /\nrm -rf x"_s);
}

TEST_F(PasteActionTest, WhereNoProgramMayTypeTheUserIsToldWhichKeysToPressAndTheTextStays)
{
    // The script is told whether the window is a terminal, and answers the keys to press.
    writeFile(u"res/PasteAction.scpt"_s,
              "#!/bin/sh\ncat > '" + path(u"arguments.json"_s).toUtf8() + "'\necho '{\"press\": \"Ctrl+Shift+V\"}'\n", true);
    PasteAction prototype(clipboard, [](const Context &) { return true; });
    const ActionList offered = prototype.actionsForContext({{ACT_TEXT, u"ls"_s}});
    ASSERT_EQ(offered.size(), 1);
    std::optional<Outcome> outcome;
    offered.first()->execute({{ACT_TEXT, u"ls\n"_s}, {CTX_APPID, u"foot"_s}}, [&](const Outcome &ended) { outcome = ended; });
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->ok);
    EXPECT_EQ(outcome->message, u"the text is on the clipboard: press Ctrl+Shift+V to paste it"_s);
    EXPECT_EQ(clipboard->text(), u"ls"_s);
    QFile arguments(path(u"arguments.json"_s));
    ASSERT_TRUE(arguments.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(arguments.readAll()).array().at(1).toObject(), (QJsonObject{{u"terminal"_s, true}}));
}

TEST_F(PasteActionTest, TextIsPastedAsAPlainString)
{
    const Context context{{ACT_TEXT, u"42"_s}, {CTX_APPID, u"XTerm"_s}};
    const QList<QJsonArray> calls = paste(context);
    EXPECT_EQ(clipboard->types(), QStringList{Clipboard::TextType});
    EXPECT_EQ(clipboard->text(), u"42"_s);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0], (QJsonArray{toJsonObject(context), QJsonObject{{u"terminal"_s, false}}}));
}

TEST_F(PasteActionTest, DataOfAKnownKindWinsOverText)
{
    const QString pdf = writeFile(u"doc.pdf"_s, "%PDF-1.4 data");
    const QList<QJsonArray> calls =
        paste({{ACT_DATA_TYPE, u"PDF"_s}, {ACT_DATA_PATH, pdf}, {ACT_TEXT, u"ignored"_s}});
    EXPECT_EQ(clipboard->types(), QStringList{Clipboard::PDFType});
    EXPECT_EQ(clipboard->data(Clipboard::PDFType), "%PDF-1.4 data");
    EXPECT_EQ(calls.size(), 1);
}

TEST_F(PasteActionTest, UnknownKindsFallBackToTheTextAndWithoutTextNothingHappens)
{
    const QString pdf = writeFile(u"doc.pdf"_s, "%PDF");
    paste({{ACT_DATA_TYPE, u"pdf"_s}, {ACT_DATA_PATH, pdf}, {ACT_TEXT, u"the text"_s}});
    EXPECT_EQ(clipboard->text(), u"the text"_s);

    QFile::remove(path(u"calls.log"_s));
    clipboard->setTypes({u"image/png"_s});
    const QList<QJsonArray> calls = paste({{ACT_DATA_TYPE, u"pdf"_s}, {ACT_DATA_PATH, pdf}});
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(clipboard->types(), QStringList{u"image/png"_s}); // untouched

    const QList<QJsonArray> noPath = paste({{ACT_DATA_TYPE, u"HTML"_s}});
    EXPECT_TRUE(noPath.isEmpty());
}

TEST_F(PasteActionTest, AnUnreadableDataFileStillDeclaresItsTypeAndPastes)
{
    const QList<QJsonArray> calls =
        paste({{ACT_DATA_TYPE, u"RTF"_s}, {ACT_DATA_PATH, path(u"missing.rtf"_s)}});
    EXPECT_EQ(clipboard->types(), QStringList{Clipboard::RTFType});
    EXPECT_TRUE(clipboard->data(Clipboard::RTFType).isEmpty());
    EXPECT_EQ(calls.size(), 1);
}

TEST_F(PasteActionTest, NothingToPasteOffersNothing)
{
    PasteAction prototype(clipboard);
    EXPECT_TRUE(prototype.actionsForContext({{ACT_WORDS, u"w"_s}}).isEmpty());
    EXPECT_EQ(PasteAction::typeForDataType(u"TIFF"_s), Clipboard::TIFFType);
    EXPECT_EQ(PasteAction::typeForDataType(u"TXT"_s), Clipboard::TextType);
    EXPECT_TRUE(PasteAction::typeForDataType(u"Pdf"_s).isNull());
}

// Offering paste writes nothing; the first paste loads the script (one private copy in the
// temporary folder) and every later offer of the same prototype reuses it.
TEST_F(PasteActionTest, TheScriptIsCopiedOnceOnFirstUseNotOnEveryGuess)
{
    qputenv("TMPDIR", path().toLocal8Bit());
    const auto copies = [&] { return QDir(path()).entryList({u"glimra-script-*"_s}, QDir::Files).size(); };
    const Context context{{ACT_TEXT, u"text"_s}};
    {
        PasteAction prototype(clipboard);
        const ActionList first = prototype.actionsForContext(context);
        const ActionList second = prototype.actionsForContext(context);
        ASSERT_EQ(first.size(), 1);
        ASSERT_EQ(second.size(), 1);
        EXPECT_EQ(copies(), 0);
        first.first()->execute(context, {});
        second.first()->execute(context, {});
        EXPECT_EQ(copies(), 1);
    }
    EXPECT_EQ(copies(), 0);
    qunsetenv("TMPDIR");
}
