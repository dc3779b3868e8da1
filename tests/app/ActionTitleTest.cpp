#include "app/ActionTitle.h"

#include "actions/WebSearchAction.h"
#include "matching/ActionObject.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

class Offer : public ActionObject
{
public:
    Offer(const QString &className, const QString &label, const QString &script = {})
        : ActionObject(className, script)
    {
        setLabel(label);
    }
};

} // namespace

TEST(ActionTitleTest, EachBuiltInActionSaysWhatHappensAndToWhat)
{
    const Context file{{ACT_PATH, u"/home/me/proj/src/main.c"_s}, {ACT_PATH_LINE, u"42"_s}};
    const Context word{{ACT_WORDS, u"serendipity"_s}};
    const Context name{{ACT_WORDS, u"main.c"_s}};
    const Context calculation{{ACT_FOUND, u"DCalcMatch"_s}, {ACT_TEXT, u"14"_s}};
    const struct
    {
        QString label;
        QString detail;
        Context matched;
        QString editor;
        QString title;
    } rows[] = {
        {u"open"_s, {}, file, {}, u"Open main.c"_s},
        {u"open"_s, {}, {{ACT_PATHS, u"/a\n/b/\n/c"_s}}, {}, u"Open 3 files"_s},
        {u"open"_s, {}, {{ACT_PATH, u"/home/me/proj/"_s}}, {}, u"Open proj"_s},
        {u"open"_s, {}, {{ACT_URLS, u"https://example.org/a?b=c"_s}}, {}, u"Open https://example.org/a?b=c"_s},
        {u"open at line"_s, {}, file, u"Vim"_s, u"Open main.c at line 42 in Vim"_s},
        {u"open at line"_s, {}, file, {}, u"Open main.c at line 42"_s},
        {u"reveal"_s, {}, file, {}, u"Show in file manager"_s},
        {u"search"_s, {}, word, {}, u"Search the web for “serendipity”"_s},
        {u"spotlight"_s, {}, name, {}, u"Find files named “main.c”"_s},
        {u"paste"_s, {}, calculation, {}, u"Paste 14"_s},
        {u"copy"_s, u"14"_s, calculation, {}, u"Copy 14"_s},
        {u"copy"_s, u"/home/me/proj/src/main.c"_s, file, {}, u"Copy the path"_s},
        {u"copy"_s, u"/a\n/b"_s, {{ACT_PATH, u"/a"_s}, {ACT_PATHS, u"/a\n/b"_s}}, {}, u"Copy 2 paths"_s},
        {u"run"_s, u"date"_s, {{ACT_COMMAND, u"date"_s}}, {}, u"Run `date`"_s},
        {u"run"_s, {}, {{ACT_COMMAND, u"echo one;\necho two"_s}}, {}, u"Run the command"_s},
        {u"run"_s, {}, {{ACT_COMMAND, QString(21, u'x')}}, {}, u"Run the command"_s},
        {u"search"_s, {}, {{ACT_WORDS, QString(60, u'a') + u"\nb"_s}}, {},
         u"Search the web for “"_s + QString(40, u'a') + u"…”"_s},
        {u"my plug-in's action"_s, {}, word, {}, u"my plug-in's action"_s},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ActionTitle::title(row.label, row.detail, row.matched, row.editor), row.title)
            << row.label.toStdString();
}

TEST(ActionTitleTest, APlugInKeepsItsLabelWhateverItIsCalled)
{
    const Context calculation{{ACT_FOUND, u"DCalcMatch"_s}, {ACT_TEXT, u"14"_s}};
    EXPECT_EQ(ActionTitle::title(Offer(u"CopyAction"_s, u"copy"_s), calculation), u"Copy 14"_s);
    EXPECT_EQ(ActionTitle::title(Offer(u"HandlerScriptAction"_s, u"copy"_s, u"/p/copy.sh"_s), calculation), u"copy"_s);
    EXPECT_EQ(ActionTitle::title(Offer(u"PerlAction"_s, u"paste"_s), calculation), u"paste"_s);
}

TEST(ActionTitleTest, AWebSearchNamesTheEngineItsAddressReaches)
{
    const Context word{{ACT_WORDS, u"serendipity"_s}};
    const struct
    {
        QString setting;
        QString title;
    } rows[] = {
        {{}, u"Search Google for “serendipity”"_s},
        {u"https://duckduckgo.com/?q={query}"_s, u"Search DuckDuckGo for “serendipity”"_s},
        {u"https://search.brave.com/search?q={query}"_s, u"Search Brave Search for “serendipity”"_s},
        {u"https://searx.example.net/?q={query}"_s, u"Search searx.example.net for “serendipity”"_s},
        {u"ftp://duckduckgo.com/{query}"_s, u"Search Google for “serendipity”"_s},
    };
    for (const auto &row : rows) {
        WebSearchAction search(nullptr, [&] { return row.setting; });
        const ActionList offered = search.actionsForContext(word);
        ASSERT_EQ(offered.size(), 1);
        EXPECT_EQ(ActionTitle::title(*offered.first(), word), row.title) << row.setting.toStdString();
        // The editor the panel knows names "open at line"'s program, never the engine.
        EXPECT_EQ(ActionTitle::title(*offered.first(), word, u"Vim"_s), row.title) << row.setting.toStdString();
        EXPECT_EQ(offered.first()->label(), u"search"_s);
    }
}

TEST(ActionTitleTest, EachActionHasAnIconOfTheDesktopsThemeNamesThatShipsAsWell)
{
    const Context file{{ACT_PATH, u"/a/main.c"_s}};
    const Context address{{ACT_URLS, u"https://example.org"_s}};
    const struct
    {
        QString className;
        QString label;
        Context matched;
        QString icon;
    } rows[] = {
        {u"OpenAction"_s, u"open"_s, file, u"document-open"_s},
        {u"OpenAction"_s, u"open"_s, address, u"web-browser"_s},
        {u"OpenAtLineAction"_s, u"open at line"_s, file, u"accessories-text-editor"_s},
        {u"RevealAction"_s, u"reveal"_s, file, u"folder-open"_s},
        {u"WebSearchAction"_s, u"search"_s, {}, u"web-browser"_s},
        {u"SpotlightAction"_s, u"spotlight"_s, {}, u"system-search"_s},
        {u"PasteAction"_s, u"paste"_s, {}, u"edit-paste"_s},
        {u"CopyAction"_s, u"copy"_s, {}, u"edit-copy"_s},
        {u"RunCommandAction"_s, u"run"_s, {}, u"utilities-terminal"_s},
        {u"PerlAction"_s, u"copy"_s, {}, u"system-run"_s},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(ActionTitle::iconName(row.className, row.label, row.matched), row.icon) << row.label.toStdString();
        EXPECT_TRUE(ActionTitle::iconNames().contains(row.icon)) << row.icon.toStdString();
    }
    // Each name has its picture in the program, for desktops without a theme.
    for (const QString &name : ActionTitle::iconNames())
        EXPECT_TRUE(QFile::exists(QStringLiteral(GLIMRA_SOURCE_RESOURCES "/icons/") + name + u".svg"_s))
            << name.toStdString();
}
