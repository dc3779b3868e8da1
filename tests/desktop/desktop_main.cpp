#include <QCoreApplication>
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// Desktop tests get a QApplication (widgets) on the private X server that run-with-desktop.sh
// started; without one they run with a QCoreApplication and skip.
int main(int argc, char **argv)
{
    std::unique_ptr<QCoreApplication> application;
    if (qEnvironmentVariableIsEmpty("GLIMRA_NO_DESKTOP") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        application = std::make_unique<QApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
