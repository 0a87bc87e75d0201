// Window handles and widgets: an HWND is the address of the QWidget that
// plays the window.
#pragma once

#include "platform/win32/Win32.h"

class QWidget;

inline HWND HwndFromWidget(QWidget* widget) {
    return reinterpret_cast<HWND>(widget);
}

inline QWidget* WidgetFromHwnd(HWND hwnd) {
    return reinterpret_cast<QWidget*>(hwnd);
}
