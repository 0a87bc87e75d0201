// artgen: draws the built-in theme bitmaps and the program icon.
//   artgen --out DIR     the .bmp files, MAINICON.ico and quenby_resources.qrc
//   artgen --sheet DIR   one contact sheet (PNG) per style, for looking at
//   artgen --icons DIR   the program icon for the desktop, quenby-<size>.png
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "resources/artgen/Files.h"

int main(int argc, char** argv) {
    const bool icons = argc == 3 && std::strcmp(argv[1], "--icons") == 0;
    if (argc != 3 ||
        (std::strcmp(argv[1], "--out") != 0 && std::strcmp(argv[1], "--sheet") != 0 && !icons)) {
        std::fprintf(stderr, "usage: artgen --out DIR | --sheet DIR | --icons DIR\n");
        return 2;
    }
    if (icons) {
        return art::WriteDesktopIcons(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    const bool sheet = std::strcmp(argv[1], "--sheet") == 0;
    // Only the sheets draw text; the resources need no display at all.
    std::unique_ptr<QGuiApplication> app;
    if (sheet) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    const art::Catalogue cat = art::BuildAll();
    const QString dir = QString::fromLocal8Bit(argv[2]);
    const bool ok = sheet ? art::WriteSheets(cat, dir) : art::WriteResources(cat, dir);
    return ok ? 0 : 1;
}
