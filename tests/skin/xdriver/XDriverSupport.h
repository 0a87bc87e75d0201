// What the X driver programs share: a line per step with a count of the
// failed ones, and the start of a run: the application, the program's fonts,
// a folder for screen shots and the X display with its XTest extension.
// Include it after every other header: the X headers' macros (None, Bool,
// KeyPress, ...) would break the ones that follow.
#pragma once

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <functional>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Fonts.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace xdriver {

inline int g_failures = 0;

inline void Step(const char* name, bool ok, const QString& detail = QString()) {
    std::printf("%s: %s%s%s\n", ok ? "ok" : "FAIL", name, detail.isEmpty() ? "" : " - ",
                qPrintable(detail));
    std::fflush(stdout);
    g_failures += ok ? 0 : 1;
}

// Runs Steps with the display and the shot folder (empty for none); the
// exit status is the number of failed steps.
inline int Run(int argc, char** argv,
               const std::function<void(Display* display, const QString& shots)>& Steps) {
    QApplication app(argc, argv);
    const QString shots = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
    }
    tk::RegisterFonts();
    tk::TApplication application;
    Display* display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!display || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::printf("FAIL: the X server offers no XTest extension\n");
        return 1;
    }
    Steps(display, shots);
    XCloseDisplay(display);
    return g_failures;
}

} // namespace xdriver
