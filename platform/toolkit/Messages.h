// Window messages as the controls see them. Qt events are translated into
// these and handed to a control's WindowProc, so a control (or a component
// that hooks another control's WindowProc) reacts to the same messages the
// classic toolkits send.
#pragma once

#include <cstdint>

class QEvent;

namespace tk {

enum : unsigned {
    WM_NULL = 0x0000,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018,
    WM_NCPAINT = 0x0085,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MOUSEWHEEL = 0x020A,
    WM_CAPTURECHANGED = 0x0215,

    // Toolkit notifications.
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_FOCUSCHANGED = CM_BASE + 7,
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_ENABLEDCHANGED = CM_BASE + 11,
    CM_COLORCHANGED = CM_BASE + 12,
    CM_FONTCHANGED = CM_BASE + 13,
    CM_VISIBLECHANGED = CM_BASE + 22,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_SHOWINGCHANGED = CM_BASE + 25,
    CM_RECREATEWND = CM_BASE + 51,
    CM_WANTSPECIALKEY = CM_BASE + 30,
    CM_CHILDKEY = CM_BASE + 31,
    CM_CONTROLCHANGE = CM_BASE + 36,
    CM_SYSFONTCHANGED = CM_BASE + 53,
};

// Virtual key codes (the subset the program and the skin layer use).
enum : unsigned {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_F4 = 0x73,
    VK_F10 = 0x79,
};

// One message on its way to a control. Key messages carry the virtual key in
// WParam and the shift state in LParam; mouse messages carry the shift state
// in WParam and the point (x low, y high, signed 16 bit) in LParam.
struct TMessage {
    unsigned Msg = WM_NULL;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
    QEvent* Event = nullptr; // the Qt event behind it, if any

    int XPos() const { return static_cast<std::int16_t>(LParam & 0xFFFF); }
    int YPos() const { return static_cast<std::int16_t>((LParam >> 16) & 0xFFFF); }
};

constexpr std::intptr_t MakeLParam(int lo, int hi) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(hi & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(lo & 0xFFFF));
}

} // namespace tk
