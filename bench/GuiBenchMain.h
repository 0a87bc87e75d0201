// The entry point of the GUI benchmarks: offscreen Qt, the program's fonts
// and an application object, then every benchmark given on the command line.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Fonts.h"

namespace benchsupport {

inline int RunGuiBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tk::RegisterFonts();
    tk::TApplication application;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchsupport
