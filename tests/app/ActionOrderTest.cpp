#include "TestEnvironment.h"

#include "app/ActionOrder.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

class Labelled : public ActionObject
{
public:
    explicit Labelled(const QString &label) : ActionObject(label) { setLabel(label); }
    void execute(const Context &, const Completion &done) override { complete(done); }
};

ActionList offers(const QStringList &labels)
{
    ActionList all;
    for (const QString &label : labels)
        all.append(std::make_shared<Labelled>(label));
    return all;
}

QStringList labelsOf(const ActionList &actions)
{
    QStringList labels;
    for (const ActionPtr &action : actions)
        labels.append(action->label());
    return labels;
}

const QStringList FileOffers{u"open"_s, u"reveal"_s, u"search"_s, u"open at line"_s};

} // namespace

class ActionOrderTest : public IsolatedTest
{
protected:
    QStringList order(const QString &kind, const QStringList &offered = FileOffers, bool learned = true) const
    {
        return labelsOf(actions.ordered(kind, offers(offered), learned));
    }
    QByteArray stateFile() const
    {
        QFile file(actions.filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    ActionOrder actions;
};

TEST_F(ActionOrderTest, EachKindOfSelectionOffersItsLikelyActionFirst)
{
    const struct
    {
        const char *why;
        Context matched;
        QString kind;
        QStringList offered;
        QStringList expected;
    } rows[] = {
        {"a trace opens at its line first", {{ACT_PATH, u"/a.c"_s}, {ACT_PATH_LINE, u"4"_s}}, u"trace"_s,
         FileOffers, {u"open at line"_s, u"open"_s, u"reveal"_s, u"search"_s}},
        {"a trace of several frames", {{ACT_PATHS, u"/a.c\n/b.c"_s}, {ACT_PATH_LINES, u"4\n5"_s}}, u"trace"_s,
         FileOffers, {u"open at line"_s, u"open"_s, u"reveal"_s, u"search"_s}},
        {"a calculation pastes, then copies, its result",
         {{ACT_FOUND, u"DCalcMatch"_s}, {ACT_TEXT, u"14"_s}, {ACT_WORDS, u"2*(3+4)"_s}}, u"calculation"_s,
         {u"paste"_s, u"search"_s, u"spotlight"_s, u"copy"_s}, {u"paste"_s, u"copy"_s, u"search"_s, u"spotlight"_s}},
        {"a file keeps the chain's order", {{ACT_PATH, u"/a.c"_s}}, u"file"_s, FileOffers, FileOffers},
        {"one path of a list is a file", {{ACT_PATHS, u"/a.c"_s}}, u"file"_s, FileOffers, FileOffers},
        {"files", {{ACT_PATHS, u"/a\n/b"_s}}, u"files"_s, FileOffers, FileOffers},
        {"an address", {{ACT_URLS, u"https://example.org"_s}, {ACT_PATHS, u"/a\n/b"_s}}, u"url"_s,
         FileOffers, FileOffers},
        {"a command", {{ACT_COMMAND, u"date"_s}, {ACT_WORDS, u"`date`"_s}}, u"command"_s, FileOffers, FileOffers},
        {"a text", {{ACT_WORDS, u"serendipity"_s}}, u"text"_s, FileOffers, FileOffers},
        {"nothing matched", {}, QString(), FileOffers, FileOffers},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(ActionOrder::kindOf(row.matched), row.kind) << row.why;
        EXPECT_EQ(order(row.kind, row.offered), row.expected) << row.why;
    }
}

TEST_F(ActionOrderTest, PicksOrderTheirOwnKindWeighOlderPicksLessAndAreForgotten)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(actions.record(u"file"_s, u"reveal"_s));
    EXPECT_EQ(order(u"file"_s), (QStringList{u"reveal"_s, u"open"_s, u"search"_s, u"open at line"_s}));
    EXPECT_EQ(order(u"url"_s), FileOffers) << "another kind keeps its order";
    EXPECT_EQ(order(u"file"_s, FileOffers, false), FileOffers) << "learning is off";

    // A trace opens at its line first until something else was picked more often for traces.
    ASSERT_TRUE(actions.record(u"trace"_s, u"open at line"_s));
    ASSERT_TRUE(actions.record(u"trace"_s, u"reveal"_s));
    EXPECT_EQ(order(u"trace"_s).first(), u"reveal"_s) << "the newer pick weighs more";
    ASSERT_TRUE(actions.record(u"trace"_s, u"open at line"_s));
    EXPECT_EQ(order(u"trace"_s).first(), u"open at line"_s);

    // A plug-in's label may carry the selection: the file never does.
    ASSERT_TRUE(actions.record(u"text"_s, u"Search the web for “serendipity”"_s));
    EXPECT_EQ(order(u"text"_s, {u"search"_s, u"Search the web for “serendipity”"_s}).first(),
              u"Search the web for “serendipity”"_s);
    EXPECT_FALSE(stateFile().isEmpty());
    EXPECT_FALSE(stateFile().contains("serendipity"));
    EXPECT_FALSE(stateFile().contains("reveal"));

    ASSERT_TRUE(actions.forget());
    EXPECT_FALSE(QFile::exists(actions.filePath()));
    EXPECT_EQ(order(u"file"_s), FileOffers);
    EXPECT_EQ(order(u"trace"_s).first(), u"open at line"_s);
}

TEST_F(ActionOrderTest, AStateFileThatIsNoCountsNeverHangsOrBreaksTheOrder)
{
    const QString path = actions.filePath();
    // Unreadable counts are ours to start again.
    writeFile(path, "{ not json");
    EXPECT_EQ(order(u"file"_s), FileOffers);
    ASSERT_TRUE(actions.record(u"file"_s, u"search"_s));
    EXPECT_EQ(order(u"file"_s).first(), u"search"_s);

    // A named pipe is neither read (it would block) nor replaced.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_EQ(order(u"file"_s), FileOffers);
    QString why;
    EXPECT_FALSE(actions.record(u"file"_s, u"search"_s, &why));
    EXPECT_TRUE(why.contains(u"not a regular file"_s)) << why.toStdString();
    EXPECT_FALSE(actions.forget());
    EXPECT_EQ(QFileInfo(path).isFile(), false);
}
