#include "DesktopTest.h"

#include "desktop/X11RunningApplications.h"

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class WindowFactsTest : public DesktopTest
{
};

TEST_F(WindowFactsTest, AWindowClassOfAnyLengthIsReadWholeAndNothingBeyondIt)
{
    const std::unique_ptr<X11RunningApplications> applications = X11RunningApplications::connect();
    ASSERT_TRUE(applications);
    // Past 8 KiB, the class used to be read from the heap beyond the property.
    for (const qsizetype length : {qsizetype(5), qsizetype(9000), qsizetype(60000)}) {
        const QString windowClass(length, u'C');
        QProcess window;
        window.start(QStringLiteral(GLIMRA_SELECTION_OWNER), {u"window"_s, windowClass});
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.readAllStandardOutput().contains("ready"); }, 10000));
        std::optional<RunningApplication> found;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            for (const RunningApplication &application : applications->runningApplications()) {
                if (application.pid == window.processId())
                    found = application;
            }
            return found.has_value();
        }, 10000)) << "the window never appeared among the running applications";
        EXPECT_EQ(found->windowClass, windowClass) << length;
        EXPECT_EQ(found->windowTitle, u"a window with a long class"_s);
        window.kill();
        window.waitForFinished();
    }
}
