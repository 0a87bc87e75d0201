// The program deleting every duplicate of the address book its settings
// name, through its window on the offscreen platform, with Yes answered: a
// process for the crash test to kill. Usage: app_delete_helper FOLDER, where
// FOLDER holds the settings (brindle.ini). Says "deleting" on standard
// output when the deleting starts, "done" when it has ended.
#include <QApplication>
#include <cstdio>

#include "app/Main.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Fonts.h"
#include "platform/win32/Win32Testing.h"
#include "skin/SKButton.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: app_delete_helper FOLDER\n");
        return 2;
    }
    QApplication qtApp(argc, argv);
    tk::RegisterFonts();
    tk::TApplication application;
    win32test::ResetHooks();
    win32test::SetProgramFileName(std::string(argv[1]) + "/quenby");
    auto* form = new TfmMain(&application); // owned by the application
    win32test::ScriptMessageBox(IDYES);
    std::printf("deleting\n");
    std::fflush(stdout);
    form->btnDelAll->Click();
    std::printf("done\n");
    std::fflush(stdout);
    return 0;
}
