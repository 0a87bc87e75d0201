// Plain value types shared by the whole toolkit layer.
#pragma once

#include <cstdint>
#include <QPoint>
#include <QRect>

namespace tk {

// 0x00BBGGRR; 0x80000000 + n is system colour n; clNone / clDefault are markers.
using TColor = std::uint32_t;

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
    QPoint ToQ() const { return {x, y}; }
};

// Windows-style rectangle: right and bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;

    QRect ToQ() const { return {Left, Top, Right - Left, Bottom - Top}; }
    static TRect FromQ(const QRect& r) {
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
};

constexpr TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
constexpr TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }

inline void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}
inline void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}
inline bool PtInRect(const TRect& r, TPoint p) {
    return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

// Modifier and button state of keyboard and mouse events.
enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

} // namespace tk
