#include "platform/win32/CrtAssert.h"
#include "platform/win32/Win32.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace win32 {

void AssertionFailed(const char* expression, const char* file, int line) {
    std::string text = std::string("Assertion failed: ") + expression + ", file " + file +
                       ", line " + std::to_string(line);
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);

    // A check failing while the box of another one is up must not stack a
    // second box on the first.
    static std::atomic<bool> reporting{false};
    if (!reporting.exchange(true)) {
        std::string title;
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
            title = QGuiApplication::applicationDisplayName().toLocal8Bit().toStdString();
        } else if (QCoreApplication::instance() != nullptr) {
            title = QCoreApplication::applicationName().toLocal8Bit().toStdString();
        }
        if (title.empty()) {
            title = "Assertion failed";
        }
        MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    }
    std::abort();
}

} // namespace win32
