#include "GlimraProcess.h"
#include "TestEnvironment.h"

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class ScriptingCommandTest : public IsolatedTest
{
};

TEST_F(ScriptingCommandTest, ARegularExpressionThatReachesALimitSaysSoAndIsNeitherTrueNorFalse)
{
    const QString fortyAndC = QString(40, u'a') + u'c';
    const struct
    {
        QStringList words;
        int exitCode;
        QString out;
        QString err;
    } rows[] = {
        {{u"match"_s, fortyAndC, u"a{40}c"_s}, 0, u"true\n"_s, {}},
        {{u"match"_s, fortyAndC, u"a{41}"_s}, 1, u"false\n"_s, {}},
        // The answer is true, but nested repeats reach the step limit first: not "false".
        {{u"match"_s, fortyAndC, u"^(a+)+b|a{40}c"_s}, 3, {},
         u"glimra regexp: the regular expression reached the match limit (10000000 steps) and was stopped\n"_s},
        {{u"multiple"_s, fortyAndC, u"^(a+)+b|(a{40})c"_s}, 3, {},
         u"glimra regexp: the regular expression reached the match limit (10000000 steps) and was stopped\n"_s},
        // Back references over a long line run until their time is up.
        {{u"match"_s, QString(100'000, u'a'), u"(\\w+)\\1[^a]"_s}, 3, {},
         u"glimra regexp: the regular expression reached 1 s of processor time and was stopped\n"_s},
    };
    for (const auto &row : rows) {
        const QString shown = row.words.join(u' ').left(60);
        const GlimraRun run = runGlimra(QStringList{u"regexp"_s} + row.words);
        EXPECT_EQ(run.exitCode, row.exitCode) << shown.toStdString();
        EXPECT_EQ(run.out, row.out) << shown.toStdString();
        EXPECT_EQ(run.err, row.err) << shown.toStdString();
    }
}
