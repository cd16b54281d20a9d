#include <QCoreApplication>

#include <gtest/gtest.h>

// Tests of the logic layers run inside a Qt core application, so timers, queued
// signals and QObject parents behave as in the program.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
