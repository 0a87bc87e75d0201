#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/Main.h"
#include "app/Startup.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Fonts.h"

int main(int argc, char** argv) {
    if (const std::string missing = MissingDisplayMessage(); !missing.empty()) {
        std::fprintf(stderr, "%s\n", missing.c_str());
        return 1;
    }
    KeepFreedHeap();
    QApplication qtApp(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/MAINICON.ico")));
    tk::RegisterFonts();
    tk::TApplication application;
    try {
        application.Initialize();
        application.SetTitle(QStringLiteral("Quenby for WAB"));
        application.CreateForm(fmMain);
        // For the smoke tests: a picture of the screen where the window is,
        // then quit.
        if (const QByteArray shot = qgetenv("QUENBY_SNAPSHOT"); !shot.isEmpty()) {
            QTimer::singleShot(500, [shot] {
                QWidget* w = fmMain->Handle();
                QPixmap pixmap;
                if (QScreen* screen = w->screen();
                    screen && QGuiApplication::platformName() == QLatin1String("xcb")) {
                    pixmap = screen->grabWindow(0, w->x(), w->y(), w->width(), w->height());
                } else {
                    pixmap = w->grab();
                }
                pixmap.save(QString::fromLocal8Bit(shot));
                fmMain->Close();
            });
        }
        application.Run();
    } catch (...) {
        application.HandleException(&application);
    }
    return 0;
}
