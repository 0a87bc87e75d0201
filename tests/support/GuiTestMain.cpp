// Entry point of the GUI test executables: one application object for the
// whole run, the program's fonts registered, so pixels are reproducible
// (TestEnvironment.cpp has set the platform and DPI already).
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/toolkit/Fonts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tk::RegisterFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
