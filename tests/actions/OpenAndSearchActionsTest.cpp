#include "LogCapture.h"
#include "Recorders.h"
#include "TestEnvironment.h"

#include "actions/CopyAction.h"

#include "actions/OpenAction.h"
#include "actions/RevealAction.h"
#include "actions/SpotlightAction.h"
#include "actions/WebSearchAction.h"
#include "matching/MatchingEngine.h"
#include "matching/PluginManager.h"
#include "platform/MemoryClipboard.h"

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class ActionsTest : public IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        qputenv("GLIMRA_RESOURCES", path(u"res"_s).toLocal8Bit());
        Platform platform;
        platform.fileManager = fileManager;
        platform.clipboard = std::make_shared<MemoryClipboard>();
        manager = builtInPluginManager(platform);
        manager->loadPlugins();
    }
    void TearDown() override
    {
        manager.reset();
        qunsetenv("GLIMRA_RESOURCES");
        IsolatedTest::TearDown();
    }
    ActionList offers(const Context &matched)
    {
        return MatchingEngine(manager.get()).actionsForContext(matched);
    }
    QStringList labels(const Context &matched)
    {
        QStringList all;
        for (const ActionPtr &action : offers(matched))
            all.append(action->label());
        return all;
    }
    std::shared_ptr<RecordingFileManager> fileManager = std::make_shared<RecordingFileManager>();
    std::unique_ptr<PluginManager> manager;
};

TEST_F(ActionsTest, WhatIsOfferedForWhichResults)
{
    EXPECT_TRUE(labels({}).isEmpty());
    EXPECT_EQ(labels({{ACT_WORDS, u"w"_s}}), (QStringList{u"search"_s, u"spotlight"_s}));
    EXPECT_EQ(labels({{ACT_URL, u"https://x.org"_s}}), (QStringList{u"open"_s, u"copy"_s}));
    EXPECT_EQ(labels({{ACT_PATH, u""_s}}), (QStringList{u"open"_s, u"reveal"_s, u"copy"_s})); // present, empty
    EXPECT_EQ(labels({{ACT_TEXT, u"42"_s}, {ACT_PATH, u"/tmp"_s}, {ACT_URL, u"x:y"_s},
                      {ACT_WORDS, u"w"_s}}),
              (QStringList{u"paste"_s, u"open"_s, u"reveal"_s, u"search"_s, u"spotlight"_s, u"copy"_s}));
    // A value can be copied as well as pasted: a result, a path, an address.
    EXPECT_EQ(labels({{ACT_TEXT, u"42"_s}}), (QStringList{u"paste"_s, u"copy"_s}));
    EXPECT_EQ(labels({{ACT_COMMAND, u"ls"_s}}), QStringList{u"run"_s});
}

TEST_F(ActionsTest, CopyPutsTheValueOnTheClipboardAndSaysWhenThereIsNoClipboard)
{
    class DesktopClipboard : public MemoryClipboard
    {
    public:
        bool isShared() const override { return true; }
    };
    auto clipboard = std::make_shared<DesktopClipboard>();
    CopyAction prototype(clipboard);
    const struct
    {
        Context matched;
        QString copied;
    } rows[] = {
        {{{ACT_TEXT, u"42"_s}, {ACT_PATH, u"/tmp"_s}}, u"42"_s},
        {{{ACT_PATH, u"/tmp/a b"_s}, {ACT_URL, u"https://x.org/"_s}}, u"/tmp/a b"_s},
        {{{ACT_URL, u"https://x.org/"_s}}, u"https://x.org/"_s},
        {{{ACT_PATH, u"/etc/hosts"_s}, {ACT_PATHS, u"/etc/hosts\n/etc/shells"_s}}, u"/etc/hosts\n/etc/shells"_s},
        {{{ACT_PATH, u"/a.c"_s}, {ACT_PATHS, u"/a.c\n/b.c"_s}, {ACT_PATH_LINES, u"1\n2"_s}}, u"/a.c"_s},
    };
    for (const auto &row : rows) {
        const ActionList offered = prototype.actionsForContext(row.matched);
        ASSERT_EQ(offered.size(), 1);
        EXPECT_EQ(offered.first()->detail(), row.copied);
        std::optional<Outcome> outcome;
        offered.first()->execute({{ACT_TEXT, u"not this"_s}}, [&](const Outcome &ended) { outcome = ended; });
        EXPECT_TRUE(outcome && outcome->ok);
        EXPECT_EQ(clipboard->text(), row.copied);
    }
    // A clipboard in memory goes with the program: nothing would be copied.
    CopyAction inMemory(std::make_shared<MemoryClipboard>());
    std::optional<Outcome> outcome;
    inMemory.actionsForContext({{ACT_TEXT, u"42"_s}}).first()->execute({}, [&](const Outcome &ended) { outcome = ended; });
    ASSERT_TRUE(outcome);
    EXPECT_FALSE(outcome->ok);
    EXPECT_EQ(outcome->message, u"there is no clipboard to copy to (no display was found)"_s);
}

TEST_F(ActionsTest, OpenPrefersThePathAndRunsWithWhatItCapturedAtOfferTime)
{
    const ActionList offered = offers({{ACT_PATH, u"/tmp/a b"_s}, {ACT_URL, u"https://x.org/"_s}});
    ASSERT_EQ(offered.size(), 3); // and copy
    offered[0]->execute({{ACT_PATH, u"/elsewhere"_s}}, {}); // the execution context is not used
    offered[1]->execute({}, {});
    EXPECT_EQ(fileManager->calls, (QStringList{u"open file:///tmp/a%20b"_s,
                                             u"reveal /tmp/a b"_s}));
}

TEST_F(ActionsTest, AnUnparsableUrlGivesAnOpenThatDoesNothing)
{
    const ActionList offered = offers({{ACT_URL, u"not a url"_s}});
    ASSERT_EQ(offered.size(), 2); // and copy
    EXPECT_EQ(offered[0]->label(), u"open"_s);
    offered[0]->execute({}, {});
    EXPECT_TRUE(fileManager->calls.isEmpty());
}

TEST_F(ActionsTest, WordsAreSearchedOnTheWebOverHttpsAndOnTheDesktop)
{
    const ActionList offered = offers({{ACT_WORDS, u"fish & chips é"_s}});
    ASSERT_EQ(offered.size(), 2);
    for (const ActionPtr &action : offered)
        action->execute({}, {});
    EXPECT_EQ(fileManager->calls,
              (QStringList{u"open https://www.google.com/search?client=safari&rls=en&q=fish%20%26%20chips%20%C3%A9&ie=UTF-8&oe=UTF-8"_s,
                           u"search fish & chips é"_s}));
}

TEST_F(ActionsTest, TheWebSearchAddressTakesTheEncodedWordsOrFallsBackToTheDefaultWithOneLogLine)
{
    const QString google = u"https://www.google.com/search?client=safari&rls=en&q=%1&ie=UTF-8&oe=UTF-8"_s;
    const struct
    {
        const char *what;
        QString setting;
        QString opened;
        QString engine;
    } rows[] = {
        {"unset: the default engine", {}, google.arg(u"a%20%26%20b%3Dc%23d%2Be%20%C3%A9"_s), u"Google"_s},
        {"an engine of the user's", u"https://duckduckgo.com/?q={query}&ia=web"_s,
         u"https://duckduckgo.com/?q=a%20%26%20b%3Dc%23d%2Be%20%C3%A9&ia=web"_s, u"DuckDuckGo"_s},
        {"a host the program does not know is named by its host", u"http://www.search.example.org/find?{query}"_s,
         u"http://www.search.example.org/find?a%20%26%20b%3Dc%23d%2Be%20%C3%A9"_s, u"search.example.org"_s},
        {"no {query}: the default", u"https://duckduckgo.com/?q="_s, google.arg(u"a%20%26%20b%3Dc%23d%2Be%20%C3%A9"_s),
         u"Google"_s},
        {"not http(s): the default", u"file:///etc/passwd?{query}"_s, google.arg(u"a%20%26%20b%3Dc%23d%2Be%20%C3%A9"_s),
         u"Google"_s},
        {"a command, not an address: the default", u"javascript:alert({query})"_s,
         google.arg(u"a%20%26%20b%3Dc%23d%2Be%20%C3%A9"_s), u"Google"_s},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        fileManager->calls.clear();
        const LogCapture log;
        WebSearchAction search(fileManager, [&] { return row.setting; });
        const ActionList offered = search.actionsForContext({{ACT_WORDS, u"a & b=c#d+e é"_s}});
        ASSERT_EQ(offered.size(), 1);
        offered.first()->execute({}, {});
        EXPECT_EQ(fileManager->calls, QStringList{u"open "_s + row.opened});
        EXPECT_EQ(offered.first()->label(), u"search"_s);
        EXPECT_EQ(std::static_pointer_cast<WebSearchAction>(offered.first())->engineName(), row.engine);
        const bool fellBack = !row.setting.isEmpty() && row.engine == u"Google"_s;
        EXPECT_EQ(log.linesStartingWith(u"web_search_url is passed over"_s).size(), fellBack ? 1 : 0)
            << log.lines().join(u'\n').toStdString();
    }
}
