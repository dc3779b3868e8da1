#include "GlimraProcess.h"
#include "TestEnvironment.h"

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class CaptureCommandTest : public IsolatedTest
{
};

TEST_F(CaptureCommandTest, WithoutADisplayACaptureSaysSoAndRunsNothing)
{
    const struct
    {
        QString display;
        QString said;
    } rows[] = {
        {QString(), u"no display was found: DISPLAY is not set"_s},
        {u":4077"_s, u"no display was found: DISPLAY is \":4077\", which cannot be opened"_s},
    };
    for (const auto &row : rows) {
        for (const QString &verb : {u"guess"_s, u"clipboard"_s, u"service"_s}) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove(u"DISPLAY"_s);
            // Outside a Wayland session too: there the compositor could serve the capture.
            environment.remove(u"WAYLAND_DISPLAY"_s);
            if (!row.display.isNull()) {
                environment.insert(u"DISPLAY"_s, row.display);
                environment.insert(u"GLIMRA_KEEP_DISPLAY"_s, u"1"_s);
            }
            const GlimraRun run = runGlimra({verb}, "6*7", environment);
            EXPECT_EQ(run.exitCode, 5) << verb.toStdString();
            // Said once, in Glimra's words: no X tool was asked and failed.
            EXPECT_EQ(run.err, u"glimra %1: %2\n"_s.arg(verb, row.said)) << verb.toStdString();
            EXPECT_TRUE(run.out.isEmpty());
        }
    }
}
