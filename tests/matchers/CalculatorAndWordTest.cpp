#include "matchers/DCalcMatch.h"
#include "matchers/WordMatch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

namespace {

std::optional<QString> result(MatcherObject &matcher, const QString &key, const QString &text)
{
    Context context{{CTX_TEXT, text}};
    const bool matched = matcher.matches(context);
    EXPECT_EQ(matched, context.contains(key)) << text.toStdString();
    return matched ? std::optional<QString>(context.value(key)) : std::nullopt;
}

} // namespace

TEST(WordMatchTest, OneLineIsWords)
{
    WordMatch word;
    EXPECT_EQ(result(word, ACT_WORDS, u"  hello   big world \n"_s), u"hello   big world"_s);
    EXPECT_EQ(result(word, ACT_WORDS, u"one\rline"_s), u"one\rline"_s); // CR alone: one line
    EXPECT_FALSE(result(word, ACT_WORDS, u"two\nlines"_s));
    Context empty;
    EXPECT_FALSE(word.matches(empty));
}

TEST(DCalcMatchTest, ResultsAreShortenedAsTheCalculatorPrintsThem)
{
    DCalcMatch calc;
    const struct
    {
        QString text;
        QString value;
    } rows[] = {{u"10/4"_s, u"2.500"_s}, {u"8/2"_s, u"4"_s},     {u"2*3"_s, u"6"_s},
                {u"1/2"_s, u"0.500"_s},  {u"-1/2"_s, u"-.500"_s}, {u"(7*6)"_s, u"42"_s},
                {u" 42 \n"_s, u"42"_s},   {u"2^10"_s, u"1024"_s},
                // One line however long: no "\" and line break where bc would wrap.
                {u"2^300"_s, u"2037035976334486086268445688409378161051468393665936250636140449354381299763336706183397376"_s}};
    for (const auto &row : rows)
        EXPECT_EQ(result(calc, ACT_TEXT, row.text), row.value) << row.text.toStdString();
}

TEST(DCalcMatchTest, LettersCommasAndInvalidExpressionsAreRefused)
{
    DCalcMatch calc;
    for (const QString &text : {u"sqrt(2)"_s, u"x+1"_s, u"1,000+1"_s, u"(1+2)*(3+4)"_s, u"   "_s,
                                u"1/0"_s, u"*"_s, u"("_s})
        EXPECT_FALSE(result(calc, ACT_TEXT, text)) << text.toStdString();
    EXPECT_EQ(calc.whyNot({{CTX_TEXT, u"1/0"_s}}), u"bc found no value in the text"_s);
}

TEST(DCalcMatchTest, ACalculationThatOverrunsItsBoundIsKilledAndDeclines)
{
    DCalcMatch calc;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(result(calc, ACT_TEXT, u"2^2^25"_s));
    EXPECT_GE(clock.elapsed(), DCalcMatch::TimeBound.count() - 100);
    EXPECT_LT(clock.elapsed(), DCalcMatch::TimeBound.count() + 3000);
    EXPECT_EQ(calc.whyNot({{CTX_TEXT, u"2^2^25"_s}}), u"bc did not answer: it ran too long and was stopped"_s);
}

// bc is looked up on PATH as a shell would (the first folder that has it) and started
// without a shell, with -lq and the expression on its input; without one nothing matches.
TEST(DCalcMatchTest, TheFirstCalculatorOnPathIsStartedDirectly)
{
    QTemporaryDir folders;
    const QString fake = folders.filePath(u"fake"_s);
    QDir().mkpath(fake);
    QDir().mkpath(folders.filePath(u"empty"_s));
    const QString record = folders.filePath(u"record"_s);
    QFile script(fake + u"/bc"_s);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$0 $*\" > '" + record.toUtf8() + "'\ncat >> '" + record.toUtf8()
                 + "'\necho 42\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");

    qputenv("PATH", fake.toUtf8() + ':' + path);
    DCalcMatch first;
    EXPECT_EQ(result(first, ACT_TEXT, u"6*7"_s), u"42"_s);
    QFile recorded(record);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    EXPECT_EQ(recorded.readAll(), fake.toUtf8() + "/bc -lq\nscale=3\n6*7\nquit\n");

    qputenv("PATH", folders.filePath(u"empty"_s).toUtf8());
    DCalcMatch none;
    EXPECT_FALSE(result(none, ACT_TEXT, u"6*7"_s));
    EXPECT_EQ(none.whyNot({{CTX_TEXT, u"6*7"_s}}), u"bc is not on PATH"_s);
    qputenv("PATH", path);
}
