#include "LogCapture.h"
#include "Recorders.h"
#include "TestEnvironment.h"

#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "matching/MatchingEngine.h"
#include "matching/PluginManager.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

#include <algorithm>

#include <sys/stat.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class PluginManagerTest : public IsolatedTest
{
protected:
    void SetUp() override
    {
        IsolatedTest::SetUp();
        platform.fileManager = fileManager;
        // The program's own assembly: the refresh event is wired as it is in the program.
        assembly = std::make_unique<MainInterface>(platform, std::make_shared<UserDefaults>(), nullptr);
        manager = &assembly->pluginManager();
    }
    QStringList matcherNames()
    {
        QStringList names;
        for (const MatcherPtr &matcher : manager->allMatchers(currentRun().settings))
            names.append(matcher->name());
        return names;
    }
    QStringList actionNames()
    {
        QStringList names;
        for (const ActionPtr &action : manager->actionList())
            names.append(action->name());
        return names;
    }
    void useShippedPlugins(const QString &folder)
    {
        qputenv("GLIMRA_RESOURCES", path(folder).toLocal8Bit());
    }
    void TearDown() override
    {
        assembly.reset();
        qunsetenv("GLIMRA_RESOURCES");
        IsolatedTest::TearDown();
    }

    std::shared_ptr<RecordingFileManager> fileManager = std::make_shared<RecordingFileManager>();
    Platform platform;
    std::unique_ptr<MainInterface> assembly;
    PluginManager *manager = nullptr;
};

TEST_F(PluginManagerTest, WithoutPluginsTheListsHoldTheBuiltInsInOrder)
{
    useShippedPlugins(u"empty"_s);
    manager->loadPlugins();
    EXPECT_EQ(matcherNames(), (QStringList{u"WordMatch"_s, u"DCalcMatch"_s, u"URLMatch"_s,
                                           u"FileMatch"_s, u"SHBangMatch"_s, u"FileSearchMatch"_s}));
    EXPECT_EQ(actionNames(), (QStringList{u"RunCommandAction"_s, u"PasteAction"_s, u"OpenAction"_s,
                                          u"RevealAction"_s, u"EMailAction"_s, u"WebSearchAction"_s,
                                          u"SpotlightAction"_s, u"OpenAtLineAction"_s, u"CopyAction"_s}));
    EXPECT_TRUE(QFileInfo(userPluginsDir()).isDir());
}

TEST_F(PluginManagerTest, PluginsAreFoundByRoleAndKindAndTheUserFileTakesTheShippedPlace)
{
    useShippedPlugins(u"res"_s);
    writeFile(u"res/PlugIns/WordMatcher.pl"_s, "sub matches_context { 0 }\n");
    writeFile(u"res/PlugIns/ZMatcher.pl"_s, "sub matches_context { 0 }\n");
    writeFile(u"res/PlugIns/FooMatcherTool.sh"_s, "exit 1\n");
    writeFile(u"res/PlugIns/Foo.sh"_s, "exit 1\n");
    writeFile(u"res/PlugIns/FooAction.pl"_s, "1;\n");
    writeFile(u"res/PlugIns/ListAction.sh"_s, "exit 1\n");
    writeFile(u"res/PlugIns/NoteAction.scpt"_s, "#!/bin/sh\n");
    writeFile(userPluginsDir() + u"/WordMatcher.pl"_s, "sub matches_context { 1 }\n");
    writeFile(userPluginsDir() + u"/MineMatcher.scpt"_s, "#!/bin/sh\n");
    manager->loadPlugins();

    EXPECT_EQ(matcherNames(), (QStringList{u"WordMatch"_s, u"DCalcMatch"_s, u"URLMatch"_s,
                                           u"FileMatch"_s, u"SHBangMatch"_s, u"WordMatcher.pl"_s,
                                           u"ZMatcher.pl"_s, u"MineMatcher.scpt"_s,
                                           u"FooMatcherTool.sh"_s, u"FileSearchMatch"_s}));
    EXPECT_EQ(manager->allMatchers(currentRun().settings).at(5)->scriptFile(),
              userPluginsDir() + u"/WordMatcher.pl"_s);
    EXPECT_EQ(actionNames().mid(9), (QStringList{u"NoteAction.scpt"_s, u"ListAction.sh"_s}));
}

TEST_F(PluginManagerTest, HandlerScriptsEndInHandlerOrTheOlderScptAndNeedNoExecuteBit)
{
    useShippedPlugins(u"empty"_s);
    const struct
    {
        const char *file;
        const char *loadedAs; // "matcher", "action" or nullptr for neither
    } files[] = {
        {"NoteMatcher.handler", "matcher"},    {"OldMatcher.scpt", "matcher"},
        {"ToolAction.handler", "action"},      {"OldAction.scpt", "action"},
        {"notes.handler", nullptr},            {"notematcher.handler", nullptr},
        {"NoteMatcher.handlers", nullptr},     {"NoteMatcher.handler.txt", nullptr},
    };
    for (const auto &row : files)
        writeFile(userPluginsDir() + u"/"_s + QString::fromUtf8(row.file), "#!/bin/sh\necho null\n");
    manager->loadPlugins();
    const QStringList matchers = matcherNames();
    const QStringList actions = actionNames();
    for (const auto &row : files) {
        const QString file = QString::fromUtf8(row.file);
        const bool matcher = row.loadedAs && qstrcmp(row.loadedAs, "matcher") == 0;
        const bool action = row.loadedAs && qstrcmp(row.loadedAs, "action") == 0;
        EXPECT_EQ(matchers.contains(file), matcher) << row.file;
        EXPECT_EQ(actions.contains(file), action) << row.file;
    }
    for (const MatcherPtr &matcher : manager->matcherList()) {
        if (!matcher->scriptFile().isNull())
            EXPECT_EQ(matcher->kind(), u"handler script"_s) << matcher->name().toStdString();
    }
}

TEST_F(PluginManagerTest, TheOlderPluginFolderIsReadAfterTheNewOneWhosePluginOfANameWins)
{
    useShippedPlugins(u"res"_s);
    const QString older = PluginManager::olderUserPluginsDir();
    EXPECT_EQ(older, path(u"data/Glimra/PlugIns"_s));
    EXPECT_EQ(userPluginsDir(), path(u"data/glimra/plugins"_s));
    const struct
    {
        const char *sentence;
        QStringList files; // where plug-ins of the name lie: "res", "new", "older"
        QString used;      // the one that is the plug-in
        bool logged;       // one log line says the older one is left out
    } rows[] = {
        {"a plug-in only in the new folder is loaded", {u"new"_s}, u"new"_s, false},
        {"a plug-in only in the older folder is still loaded", {u"older"_s}, u"older"_s, false},
        {"the new folder's plug-in wins over the older one's", {u"new"_s, u"older"_s}, u"new"_s, true},
        {"the older folder's plug-in still replaces a shipped one", {u"res"_s, u"older"_s},
         u"older"_s, false},
        {"the new one wins in all three", {u"res"_s, u"new"_s, u"older"_s}, u"new"_s, true},
    };
    const QHash<QString, QString> folders = {{u"res"_s, path(u"res/PlugIns"_s)},
                                             {u"new"_s, userPluginsDir()},
                                             {u"older"_s, older}};
    int i = 0;
    for (const auto &row : rows) {
        const QString name = u"Row%1Matcher.sh"_s.arg(++i);
        for (const QString &folder : row.files)
            writeFile(folders[folder] + u'/' + name, "exit 1\n");
        LogCapture log;
        manager->loadPlugins();
        const QList<MatcherPtr> found = manager->matcherList();
        const auto plugin = std::find_if(found.begin(), found.end(),
                                         [&](const MatcherPtr &matcher) { return matcher->name() == name; });
        ASSERT_NE(plugin, found.end()) << row.sentence;
        EXPECT_EQ((*plugin)->scriptFile(), folders[row.used] + u'/' + name) << row.sentence;
        EXPECT_EQ(matcherNames().count(name), 1) << row.sentence;
        const QStringList leftOut = log.linesStartingWith(u"plug-in "_s).filter(name);
        EXPECT_EQ(leftOut.size(), row.logged ? 1 : 0) << row.sentence;
        for (const QString &folder : row.files) // nothing is moved
            EXPECT_TRUE(QFileInfo::exists(folders[folder] + u'/' + name)) << row.sentence;
    }
}

TEST_F(PluginManagerTest, AnOlderPluginFolderLinkedToTheNewOneIsReadOnce)
{
    useShippedPlugins(u"empty"_s);
    writeFile(userPluginsDir() + u"/OnceMatcher.sh"_s, "exit 1\n");
    QDir().mkpath(path(u"data/Glimra"_s));
    ASSERT_TRUE(QFile::link(userPluginsDir(), PluginManager::olderUserPluginsDir()));
    LogCapture log;
    manager->loadPlugins();
    EXPECT_EQ(matcherNames().count(u"OnceMatcher.sh"_s), 1);
    EXPECT_EQ(manager->matcherList().at(5)->scriptFile(), userPluginsDir() + u"/OnceMatcher.sh"_s);
    EXPECT_TRUE(log.linesStartingWith(u"plug-in "_s).isEmpty());
}

TEST_F(PluginManagerTest, RefreshingReplacesEverythingButTheFileSearchMatcher)
{
    useShippedPlugins(u"empty"_s);
    manager->loadPlugins();
    const MatcherPtr firstWord = manager->matcherList().first();
    const MatcherPtr search = manager->searchMatch();
    writeFile(userPluginsDir() + u"/NewMatcher.sh"_s, "exit 1\n");
    // The refresh command posts "refresh_plugins": the reload comes on a later turn.
    assembly->appDelegate().refreshPlugins();
    EXPECT_EQ(manager->matcherList().first(), firstWord);
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager->matcherList().first() != firstWord; }, 5000));
    manager->refreshPlugins();
    const MatcherList matchers = manager->matcherList();
    EXPECT_EQ(matchers.last(), search);
    EXPECT_EQ(std::count(matchers.begin(), matchers.end(), search), 1);
    EXPECT_EQ(matchers.at(matchers.size() - 2)->name(), u"NewMatcher.sh"_s);
}

TEST_F(PluginManagerTest, RegexpEntriesRunBeforeOrAfterByTheirKey)
{
    useShippedPlugins(u"empty"_s);
    manager->loadPlugins();
    auto entry = [](const QString &key, const QString &regexp) {
        return QJsonObject{{u"matched_key"_s, key}, {u"matched_value"_s, u"$1"_s},
                           {u"regexp"_s, regexp}};
    };
    setDefault(u"regexp_matchers"_s,
               QJsonArray{entry(u"ACT_LATE"_s, u"(.*)"_s), entry(u"CTX_TEXT"_s, u"^see (.+)$"_s),
                          entry(u"OTHER"_s, u"x"_s), entry(u""_s, u"x"_s),
                          entry(u"ACT_EMPTY"_s, u""_s)});
    const MatcherList all = manager->allMatchers(currentRun().settings);
    ASSERT_EQ(all.size(), 8);
    EXPECT_EQ(all.first()->name(), u"RegExpMatcher"_s);
    EXPECT_EQ(all.at(6)->name(), u"FileSearchMatch"_s);
    EXPECT_EQ(all.last()->name(), u"RegExpMatcher"_s);

    // The CTX_ entry rewrites the text every later matcher reads; the selection keeps it.
    MatchingEngine engine(manager);
    const Context selection{{CTX_TEXT, u"see 6*7"_s}};
    const Context result = engine.matchContext(selection, currentRun());
    EXPECT_EQ(result.value(ACT_TEXT), u"42"_s);
    EXPECT_EQ(result.value(ACT_WORDS), u"6*7"_s);
    EXPECT_EQ(result.value(u"ACT_LATE"_s), u"6*7"_s);
    EXPECT_EQ(result.value(ACT_FOUND), u"RegExpMatcher"_s);
    EXPECT_EQ(selection.value(CTX_TEXT), u"see 6*7"_s);
}

TEST_F(PluginManagerTest, AnUncompilableRegexpInTheFileNeverMatchesAndIsLoggedOncePerGuess)
{
    useShippedPlugins(u"empty"_s);
    manager->loadPlugins();
    // Written by hand: the settings command would refuse it.
    writeFile(u"config/Glimra/defaults.json"_s,
              R"({"regexp_matchers": [{"matched_key": "ACT_BAD", "regexp": "(x"},
                                      {"matched_key": "ACT_GOOD", "regexp": "x"}]})");
    MatchingEngine engine(manager);
    LogCapture log;
    const Context result = engine.matchContext({{CTX_TEXT, u"(x"_s}}, currentRun());
    EXPECT_FALSE(result.contains(u"ACT_BAD"_s));
    EXPECT_EQ(result.value(u"ACT_GOOD"_s), u"(x"_s);
    EXPECT_EQ(log.linesStartingWith(u"regexp_matchers entry 0: the regexp \"(x\" does not compile"_s).size(), 1);
}

TEST_F(PluginManagerTest, OnlyRegularFilesWhoseNamesMatchAsWrittenBecomePlugins)
{
    useShippedPlugins(u"empty"_s);
    const QString folder = userPluginsDir();
    writeFile(folder + u"/GoodMatcher.sh"_s, "echo ACT_X=1\n");
    writeFile(folder + u"/notesmatcher.sh"_s, "echo ACT_X=1\n");
    writeFile(folder + u"/transaction.sh"_s, "echo title\n");
    writeFile(folder + u"/HugeMatcher.pl"_s, QByteArray(2 * 1024 * 1024, '#'));
    QFile::link(u"/nonexistent"_s, folder + u"/DangMatcher.pl"_s);
    QFile::link(u"/dev/zero"_s, folder + u"/ZeroMatcher.scpt"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + u"/FifoMatcher.scpt"_s).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + u"/FifoAction.sh"_s).constData(), 0600), 0);
    LogCapture log;
    manager->loadPlugins();
    EXPECT_EQ(matcherNames().mid(5, 1), QStringList{u"GoodMatcher.sh"_s});
    EXPECT_EQ(matcherNames().size(), 7);
    EXPECT_EQ(actionNames().size(), 9);
    const QStringList skipped = log.linesStartingWith(u"plug-in "_s);
    EXPECT_EQ(skipped.size(), 5) << skipped.join(u'\n').toStdString();
    for (const QString &name : {u"HugeMatcher.pl"_s, u"DangMatcher.pl"_s, u"ZeroMatcher.scpt"_s,
                                u"FifoMatcher.scpt"_s, u"FifoAction.sh"_s})
        EXPECT_EQ(skipped.filter(name).size(), 1) << name.toStdString();
}

TEST_F(PluginManagerTest, NewPluginsComeFromTheirTemplates)
{
    manager->loadPlugins();
    const struct
    {
        qint64 type;
        QString file;
        QString templ;
    } matchers[] = {{1, u"LookupMatcher.pl"_s, u"MatchTemplate.pl"_s},
                    {2, u"ShMatcher.sh"_s, u"MatchTemplate.sh"_s},
                    {0, u"ScMatcher.handler"_s, u"MatchTemplate.handler"_s},
                    {7, u"OddMatcher.handler"_s, u"MatchTemplate.handler"_s}};
    for (const auto &row : matchers) {
        manager->setNewMatcherType(row.type);
        manager->setNewMatcherName(row.file.section(u"Matcher"_s, 0, 0));
        const PluginManager::Creation creation = manager->addMatcher();
        ASSERT_TRUE(creation.created) << creation.message.toStdString();
        EXPECT_EQ(creation.path, userPluginsDir() + u'/' + row.file);
        QFile created(creation.path);
        QFile source(u"" GLIMRA_SOURCE_RESOURCES "/"_s + row.templ);
        ASSERT_TRUE(created.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
        EXPECT_EQ(created.readAll(), source.readAll());
    }
    manager->setNewActionType(1);
    manager->setNewActionName(u"Backup"_s);
    EXPECT_TRUE(manager->addAction().created);
    EXPECT_EQ(fileManager->calls.last(), u"open file://"_s + userPluginsDir() + u"/BackupAction.sh"_s);
    // The refresh that followed each creation loaded the new files.
    EXPECT_TRUE(matcherNames().contains(u"LookupMatcher.pl"_s));
    EXPECT_EQ(manager->actionList().last()->name(), u"BackupAction.sh"_s);
}

TEST_F(PluginManagerTest, NamesThatLeaveThePluginFolderAndExistingFilesAreRefused)
{
    manager->loadPlugins();
    for (const QString &name : {u"../Escape"_s, u"a/b"_s, u".Hidden"_s, u""_s, u"  \t"_s}) {
        manager->setNewMatcherName(name);
        const PluginManager::Creation creation = manager->addMatcher(false);
        EXPECT_FALSE(creation.created) << name.toStdString();
        EXPECT_FALSE(creation.message.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(path(u"data/glimra/EscapeMatcher.handler"_s)));
    EXPECT_EQ(QDir(userPluginsDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());

    // A new handler script would double or hide the user's plug-in of the same name.
    const struct
    {
        const char *name;
        QString existing;
    } taken[] = {
        {"the same file", userPluginsDir() + u"/LookupMatcher.handler"_s},
        {"the older ending beside it", userPluginsDir() + u"/LookupMatcher.scpt"_s},
        {"the older folder", PluginManager::olderUserPluginsDir() + u"/LookupMatcher.handler"_s},
        {"the older ending in the older folder", PluginManager::olderUserPluginsDir() + u"/LookupMatcher.scpt"_s},
    };
    manager->setNewMatcherName(u"Lookup"_s);
    manager->setNewMatcherType(0);
    for (const auto &row : taken) {
        const QString mine = writeFile(row.existing, "#!/bin/sh\nmine\n");
        const PluginManager::Creation creation = manager->addMatcher(false);
        EXPECT_FALSE(creation.created) << row.name;
        EXPECT_TRUE(creation.message.contains(row.existing)) << row.name;
        const QString wouldBe = userPluginsDir() + u"/LookupMatcher.handler"_s;
        if (row.existing != wouldBe)
            EXPECT_FALSE(QFileInfo::exists(wouldBe)) << row.name;
        QFile kept(mine);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "#!/bin/sh\nmine\n") << row.name;
        QFile::remove(mine);
    }
    EXPECT_TRUE(fileManager->calls.isEmpty());
}
