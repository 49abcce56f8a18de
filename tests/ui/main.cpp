// The shell's tests run offscreen: no display is needed and no box ever waits for a click.

#include <gtest/gtest.h>

#include <QApplication>

#include "windows/ProgramStyle.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qb::UseProgramStyle();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
