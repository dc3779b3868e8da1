#include "TestEnvironment.h"

#include "app/ActionOrder.h"
#include "app/GuessPipeline.h"
#include "app/MatchingAssembly.h"
#include "matching/MatchingEngine.h"
#include "platform/MemoryClipboard.h"

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

QStringList labels(const GuessResult &result)
{
    QStringList all;
    for (const ActionPtr &action : result.actions)
        all.append(action->label());
    return all;
}

QList<FileObject> filesAt(const QStringList &paths)
{
    QList<FileObject> files;
    for (const QString &path : paths) {
        FileObject file;
        file.setFilePath(path);
        files.append(file);
    }
    return files;
}

} // namespace

// The pipeline over the real built-in matchers and actions, in a folder of its own.
class GuessPipelineTest : public IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        platform.clipboard = std::make_shared<MemoryClipboard>();
        matching.emplace(platform, [] { return Settings(); });
        order.emplace(path(u"action-order.json"_s));
        pipeline.emplace(matching->engine(), *order);
    }
    GuessResult guess(const QString &text, quint64 guess = 7)
    {
        return pipeline->guess({guess, {{CTX_TEXT, text}, {CTX_DIR, path() + u'/'}}, Settings(), false, false, {}});
    }

    Platform platform;
    std::optional<MatchingAssembly> matching;
    std::optional<ActionOrder> order;
    std::optional<GuessPipeline> pipeline;
};

TEST_F(GuessPipelineTest, AGuessIsAValueThatCarriesItsRequest)
{
    writeFile(u"notes.txt"_s, "x");
    const GuessResult result = guess(u"notes.txt"_s);
    EXPECT_EQ(result.guess, 7u);
    EXPECT_EQ(result.selectionContext.value(CTX_TEXT), u"notes.txt"_s);
    EXPECT_EQ(result.matchedContext.value(ACT_PATH), path(u"notes.txt"_s));
    EXPECT_EQ(result.files.size(), 1);
    EXPECT_EQ(result.selectedTab, GuessResult::ActionsTab);
    EXPECT_FALSE(result.explanation) << "a guess that is not explained pays nothing for it";
    EXPECT_EQ(result.executionContext().value(CTX_TEXT), u"notes.txt"_s);
    // It keeps no state: the same request gives the same offers in the same order.
    EXPECT_EQ(labels(guess(u"notes.txt"_s)), labels(result));

    GuessPipeline::Request produced{8, {{CTX_TEXT, u"42"_s}}, Settings(), true, false, {{ACT_TEXT, u"42"_s}}};
    const GuessResult fromAnAction = pipeline->guess(produced);
    EXPECT_EQ(fromAnAction.matchedContext.value(ACT_TEXT), u"42"_s) << "what an action produced is laid over";
    ASSERT_TRUE(fromAnAction.explanation);
    EXPECT_FALSE(fromAnAction.explanation->matchers.isEmpty());
}

TEST_F(GuessPipelineTest, LateFilesUpdateTheValueOfTheirGuess)
{
    struct Row
    {
        const char *name;
        QStringList late;
        bool placeInAFile; // the text named a line of a file (ACT_PATH_LINE)
        qsizetype files;
        qint64 tab;
        bool becomesThePath;
    };
    const QList<Row> rows{
        {"no file changes nothing but the list", {}, false, 0, GuessResult::ActionsTab, false},
        {"one file becomes the path the offers act on", {u"p/a.c"_s}, false, 1, GuessResult::ActionsTab, true},
        {"several files go to the files tab", {u"p/a.c"_s, u"q/a.c"_s}, false, 2, GuessResult::FilesTab, false},
        {"the first of several becomes the path of a place in a file", {u"p/a.c"_s, u"q/a.c"_s}, true, 2,
         GuessResult::ActionsTab, true},
        {"a file listed twice is listed once", {u"p/a.c"_s, u"p/a.c"_s}, false, 1, GuessResult::FilesTab, false},
    };
    const QString first = writeFile(u"p/a.c"_s, "int a;");
    writeFile(u"q/a.c"_s, "int a;");
    for (const Row &row : rows) {
        QStringList late;
        for (const QString &name : row.late)
            late.append(path(name));
        GuessResult before = guess(u"words"_s);
        if (row.placeInAFile)
            before.matchedContext.insert(ACT_PATH_LINE, u"3"_s);
        const GuessResult after = pipeline->withLateFiles(before, filesAt(late), true);
        EXPECT_EQ(after.guess, before.guess) << row.name;
        EXPECT_EQ(after.selectionContext, before.selectionContext) << row.name;
        EXPECT_EQ(after.files.size(), row.files) << row.name;
        EXPECT_EQ(after.selectedTab, row.tab) << row.name;
        EXPECT_EQ(after.matchedContext.value(ACT_PATH), row.becomesThePath ? first : QString()) << row.name;
        if (row.becomesThePath)
            EXPECT_GT(after.actions.size(), before.actions.size()) << row.name << ": the file's offers join";
    }
}
