#include "Recorders.h"
#include "TestEnvironment.h"

#include "actions/EMailAction.h"
#include "matching/MatchingEngine.h"
#include "matching/includeFile.h"

#include <QJsonObject>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class MatchingEngineTest : public IsolatedTest
{
protected:
    void add(const QString &name, std::function<bool(Context &)> body)
    {
        plugins.matchers.append(std::make_shared<FunctionMatcher>(name, std::move(body)));
    }
    FixedPlugins plugins;
    MatchingEngine engine{&plugins};
};

TEST_F(MatchingEngineTest, OnlyResultKeysOfMatchesReachTheResult)
{
    add(u"Declines"_s, [](Context &c) {
        c.insert(u"ACT_EARLY"_s, u"from a matcher that declined"_s);
        c.insert(u"LOG_NOTE"_s, u"never copied"_s);
        c.insert(u"OTHER"_s, u"never copied"_s);
        c.insert(u"CTX_TEXT"_s, u"rewritten"_s);
        return false;
    });
    add(u"Sees"_s, [](Context &c) {
        c.insert(u"ACT_SEEN"_s, c.value(u"CTX_TEXT"_s)); // sees what earlier matchers wrote
        return true;
    });
    add(u"LastMatch"_s, [](Context &c) {
        c.insert(u"ACT_SEEN"_s, u"overwritten"_s);
        return true;
    });
    add(u"Quiet"_s, [](Context &c) {
        c.insert(u"ACT_LATE"_s, u"after the last match"_s);
        return false;
    });
    const Context selection{{u"CTX_TEXT"_s, u"captured"_s}};
    const Context result = engine.matchContext(selection);
    EXPECT_EQ(result, (Context{{u"ACT_EARLY"_s, u"from a matcher that declined"_s},
                               {u"ACT_SEEN"_s, u"overwritten"_s},
                               {u"ACT_FOUND"_s, u"LastMatch"_s}}));
    EXPECT_EQ(selection.value(u"CTX_TEXT"_s), u"captured"_s);
}

TEST_F(MatchingEngineTest, ConfigurationEntriesReachTheResultOnlyWithAMatch)
{
    setDefault(u"user_context_configuration"_s,
               QJsonObject{{u"ACT_WORDS"_s, u"configured"_s}, {u"CTX_DIRx"_s, u"/base"_s},
                           {u"ACT_NUMBER"_s, 3}, {u"ACT_FLAG"_s, true}});
    bool matches = false;
    Context seen;
    add(u"M"_s, [&](Context &c) {
        seen = c;
        return matches;
    });
    EXPECT_TRUE(engine.matchContext({{u"CTX_TEXT"_s, u"x"_s}}, currentRun()).isEmpty());
    EXPECT_EQ(seen.value(u"CTX_DIRx"_s), u"/base"_s);

    matches = true;
    const Context result = engine.matchContext({{u"CTX_TEXT"_s, u"x"_s}}, currentRun());
    EXPECT_EQ(result.value(u"ACT_WORDS"_s), u"configured"_s);
    EXPECT_EQ(result.value(u"ACT_NUMBER"_s), u"3"_s); // text form of a value that is not text
    EXPECT_EQ(result.value(u"ACT_FLAG"_s), u"true"_s);
    EXPECT_FALSE(result.contains(u"CTX_DIRx"_s));
    EXPECT_EQ(result.value(u"ACT_FOUND"_s), u"M"_s);
}

TEST_F(MatchingEngineTest, ActionsAreOfferedInListOrder)
{
    class Offers : public ActionObject
    {
    public:
        Offers(QString name, int count) : ActionObject(std::move(name)), m_count(count) {}
        ActionList actionsForContext(const Context &) override
        {
            ActionList offered;
            for (int i = 0; i < m_count; ++i) {
                auto action = std::make_shared<ActionObject>(name());
                action->setLabel(name() + QString::number(i));
                offered.append(action);
            }
            return offered;
        }

    private:
        int m_count;
    };
    plugins.actions = {std::make_shared<Offers>(u"a"_s, 2), std::make_shared<EMailAction>(),
                       std::make_shared<Offers>(u"b"_s, 1)};
    QStringList labels;
    for (const ActionPtr &action : engine.actionsForContext({}))
        labels.append(action->label());
    EXPECT_EQ(labels, (QStringList{u"a0"_s, u"a1"_s, u"b0"_s}));
}

TEST_F(MatchingEngineTest, FilesArePathsFirstThenUrls)
{
    const QList<FileObject> files =
        engine.filesForContext({{u"ACT_URLS"_s, u"https://x.org/\nnot a url"_s},
                                {u"ACT_PATHS"_s, u"/tmp/a b\n/etc/hosts\n"_s}});
    ASSERT_EQ(files.size(), 4);
    EXPECT_EQ(files[0].filePath(), u"/tmp/a b"_s);
    EXPECT_EQ(files[0].urlPath(), u"file:///tmp/a%20b"_s);
    EXPECT_EQ(files[1].label(), u"/etc/hosts"_s);
    EXPECT_TRUE(files[2].filePath().isNull());
    EXPECT_EQ(files[2].urlPath(), u"https://x.org/"_s);
    EXPECT_EQ(files[3].label(), u"not a url"_s);
    EXPECT_TRUE(files[3].urlPath().isNull());
    EXPECT_EQ(files[3].niceTitle(), QString()); // neither path nor URL
    EXPECT_EQ(files[2].niceTitle(), u"https://x.org/"_s);
    EXPECT_EQ(files[1].niceTitle(), u"hosts"_s);
    EXPECT_TRUE(engine.filesForContext({}).isEmpty());
}

TEST_F(MatchingEngineTest, EachFileOrAddressIsListedOnceInTheOrderItFirstAppears)
{
    QString paths;
    QString urls;
    for (int i = 0; i < 15000; ++i) {
        paths += u"/etc/hosts\n/src/a.c:12\n"_s;
        urls += u"https://example.org/a\n"_s;
    }
    paths += u"/src/a.c:14\n/etc/hosts"_s;
    const QList<FileObject> files = engine.filesForContext({{u"ACT_PATHS"_s, paths}, {u"ACT_URLS"_s, urls}});
    QStringList shown;
    for (const FileObject &file : files)
        shown.append(file.nicePath());
    // Two places in one file stay two entries.
    EXPECT_EQ(shown, (QStringList{u"/etc/hosts"_s, u"/src/a.c:12"_s, u"/src/a.c:14"_s,
                                  u"https://example.org/a"_s}));
}

TEST_F(MatchingEngineTest, TheLinesOfATraceTravelWithTheirPathsOnlyWhenOnePerPath)
{
    const struct
    {
        QString paths;
        QString lines;
        QStringList expected; // each entry's path and line
    } rows[] = {
        {u"/a.py\n/b.py\n/a.py"_s, u"10\n3:5\n12"_s, {u"/a.py 10"_s, u"/b.py 3:5"_s, u"/a.py 12"_s}},
        {u"/a.py\n/a.py"_s, u"10\n10"_s, {u"/a.py 10"_s}},
        {u"/a.py\n/b.py"_s, u"10"_s, {u"/a.py "_s, u"/b.py "_s}},
        {u"/a.py"_s, QString(), {u"/a.py "_s}},
    };
    for (const auto &row : rows) {
        Context context{{ACT_PATHS, row.paths}};
        if (!row.lines.isNull())
            context.insert(ACT_PATH_LINES, row.lines);
        QStringList entries;
        for (const FileObject &file : engine.filesForContext(context))
            entries.append(file.filePath() + u' ' + file.line());
        EXPECT_EQ(entries, row.expected) << row.paths.toStdString();
    }
}

TEST_F(MatchingEngineTest, FileObjectsIgnoreUnknownKeys)
{
    FileObject file;
    file.setValue(u"/x"_s, u"filePath"_s);
    const FileObject before = file;
    file.setValue(u"anything"_s, u"noSuchKey"_s);
    EXPECT_EQ(file, before);
    EXPECT_EQ(file.nicePath(), u"/x"_s);
}

TEST_F(MatchingEngineTest, TheExclusionFilterDecidesWhichHitsAreShown)
{
    auto included = [this](const QString &path) {
        return includeFile(path, searchExclusionFilter(currentRun().settings));
    };
    EXPECT_TRUE(included(u"/proj/.git/config"_s));
    setDefault(u"search_exclusion_filter"_s,
               u"dirname CONTAINS '/.git' OR extension IN {'o', 'pyc'} OR filename BEGINSWITH '~'"_s);
    EXPECT_FALSE(included(u"/proj/.git/config"_s));
    EXPECT_FALSE(included(u"/proj/main.o"_s));
    EXPECT_FALSE(included(u"/proj/~lock"_s));
    EXPECT_TRUE(included(u"/proj/main.c"_s));
    // A filter the user broke by hand is no filter at all.
    writeFile(u"config/Glimra/defaults.json"_s, R"({"search_exclusion_filter": "dirname =="})");
    EXPECT_TRUE(included(u"/proj/main.o"_s));
}
