// Local heap, time, sound and system metrics.
#include "platform/win32/Win32.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <chrono>
#include <cstdlib>
#include <cstring>

HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes) {
    // A zero-byte block is still a distinct, freeable pointer on Windows.
    SIZE_T n = uBytes == 0 ? 1 : uBytes;
    return (uFlags & LMEM_ZEROINIT) != 0 ? std::calloc(1, n) : std::malloc(n);
}

HLOCAL LocalFree(HLOCAL hMem) {
    std::free(hMem);
    return nullptr;
}

DWORD GetTickCount() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    // Wraps after 49.7 days, as callers of the 32-bit original expect.
    return static_cast<DWORD>(static_cast<std::uint64_t>(ms));
}

BOOL MessageBeep(UINT /*uType*/) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QApplication::beep();
    }
    return TRUE;
}

namespace {

void FillFont(LOGFONTA& font) {
    std::memset(&font, 0, sizeof(font));
    font.lfHeight = -11;
    font.lfWeight = 400;
    static constexpr char kFace[] = "Tahoma";
    std::memcpy(font.lfFaceName, kFace, sizeof(kFace));
}

BOOL GetWorkArea(RECT* rect) {
    if (rect == nullptr ||
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return FALSE;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return FALSE;
    }
    QRect area = screen->availableGeometry();
    rect->left = area.x();
    rect->top = area.y();
    rect->right = area.x() + area.width();
    rect->bottom = area.y() + area.height();
    return TRUE;
}

BOOL GetNonClientMetrics(NONCLIENTMETRICSA* metrics) {
    if (metrics == nullptr || metrics->cbSize != sizeof(NONCLIENTMETRICSA)) {
        return FALSE;
    }
    // Classic desktop defaults; the skin draws its own frame, so only the
    // fonts really matter to callers.
    metrics->iBorderWidth = 1;
    metrics->iScrollWidth = 16;
    metrics->iScrollHeight = 16;
    metrics->iCaptionWidth = 18;
    metrics->iCaptionHeight = 18;
    metrics->iSmCaptionWidth = 12;
    metrics->iSmCaptionHeight = 15;
    metrics->iMenuWidth = 18;
    metrics->iMenuHeight = 18;
    FillFont(metrics->lfCaptionFont);
    FillFont(metrics->lfSmCaptionFont);
    FillFont(metrics->lfMenuFont);
    FillFont(metrics->lfStatusFont);
    FillFont(metrics->lfMessageFont);
    return TRUE;
}

} // namespace

BOOL SystemParametersInfoA(UINT uiAction, UINT /*uiParam*/, LPVOID pvParam, UINT /*fWinIni*/) {
    switch (uiAction) {
    case SPI_GETWORKAREA:
        return GetWorkArea(static_cast<RECT*>(pvParam));
    case SPI_GETNONCLIENTMETRICS:
        return GetNonClientMetrics(static_cast<NONCLIENTMETRICSA*>(pvParam));
    default:
        return FALSE;
    }
}
