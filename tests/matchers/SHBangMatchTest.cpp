#include "TestEnvironment.h"

#include "matchers/SHBangMatch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

using namespace glimra;
using namespace Qt::StringLiterals;

class SHBangMatchTest : public test::IsolatedTest
{
protected:
    // The guess of a caller that trusts its text: the command runs during the guess.
    std::optional<QString> run(const QString &text, const QString &dir = {})
    {
        SHBangMatch matcher;
        MatchRun trusting;
        trusting.runCommands = true;
        matcher.beginRun(trusting);
        Context context{{CTX_TEXT, text}};
        if (!dir.isNull())
            context.insert(CTX_DIR, dir);
        if (!matcher.matches(context))
            return std::nullopt;
        return context.value(ACT_TEXT);
    }
};

TEST_F(SHBangMatchTest, AGuessOnlyRecognisesTheCommandAndRunsNothing)
{
    const QString canary = path(u"canary"_s);
    const struct
    {
        QString text;
        std::optional<QString> command;
    } rows[] = {
        {u"  `touch '%1'`\n"_s.arg(canary), u"touch '%1'"_s.arg(canary)},
        {u"`touch '%1'; rm -rf ~`"_s.arg(canary), u"touch '%1'; rm -rf ~"_s.arg(canary)},
        {u"`a\nb`"_s, u"a\nb"_s},
        {u"run `touch '%1'` now"_s.arg(canary), std::nullopt},
        {u"`"_s, std::nullopt},
        {u""_s, std::nullopt},
    };
    for (const auto &row : rows) {
        SHBangMatch matcher;
        matcher.beginRun(currentRun());
        Context context{{CTX_TEXT, row.text}, {CTX_DIR, path() + u'/'}};
        EXPECT_EQ(matcher.matches(context), row.command.has_value()) << row.text.toStdString();
        EXPECT_EQ(context.contains(ACT_COMMAND) ? std::optional<QString>(context.value(ACT_COMMAND)) : std::nullopt,
                  row.command) << row.text.toStdString();
        EXPECT_FALSE(context.contains(ACT_TEXT));
        // The folder stays where it was: the command is written as it stands.
        EXPECT_EQ(context.value(CTX_DIR), path() + u'/');
    }
    EXPECT_FALSE(QFile::exists(canary));
}

TEST_F(SHBangMatchTest, OnlyATextBetweenBackticksRuns)
{
    EXPECT_EQ(run(u"  `echo hello`\n"_s), u"hello"_s);
    EXPECT_EQ(run(u"`printf 'a\\nb\\n\\n'`"_s), u"a\nb"_s);
    for (const QString &text : {u"`"_s, u"``"_s, u"`echo a"_s, u"echo a`"_s,
                                u"run `echo a` now"_s, u"`true`"_s, u""_s})
        EXPECT_FALSE(run(text)) << text.toStdString();
}

TEST_F(SHBangMatchTest, TheCommandRunsInTheDocumentFolderWhateverItsName)
{
    const QString folder = path(u"it's a \"folder\" $x"_s);
    writeFile(u"it's a \"folder\" $x/marker.txt"_s, "");
    EXPECT_EQ(run(u"`ls`"_s, folder + u'/'), u"marker.txt"_s);
    EXPECT_EQ(run(u"`pwd`"_s, folder + u'/'), folder);
    // A folder that cannot be entered stops the command: it would run elsewhere.
    EXPECT_FALSE(run(u"`echo ran`"_s, path(u"missing/"_s)));
    // Folders named like options of cd are folders.
    writeFile(u"-/m"_s, "");
    writeFile(u"-x/m"_s, "");
    const QString current = QDir::currentPath();
    QDir::setCurrent(path());
    EXPECT_EQ(run(u"`pwd`"_s, u"-"_s), path(u"-"_s));
    EXPECT_EQ(run(u"`pwd`"_s, u"-x/"_s), path(u"-x"_s));
    QDir::setCurrent(current);
}

TEST_F(SHBangMatchTest, ACommandThatOverrunsItsBoundIsKilledAndDeclines)
{
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(run(u"`sleep 60; echo late`"_s));
    EXPECT_GE(clock.elapsed(), SHBangMatch::TimeBound.count() - 100);
    EXPECT_LT(clock.elapsed(), SHBangMatch::TimeBound.count() + 3000);
}
