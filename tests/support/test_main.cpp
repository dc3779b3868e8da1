#include <QCoreApplication>

#include <gtest/gtest.h>

// Every test process has an application object, so that event loops, timers and queued
// calls work as they do in the program.
int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
