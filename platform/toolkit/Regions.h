// Pixel regions with the GDI constructors, for window shapes and clipping.
#pragma once

#include <QRegion>

#include "platform/toolkit/Types.h"

#ifndef RGN_AND
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#endif

#ifndef NULLREGION
#define RGN_ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#endif

namespace tk {

// A set of pixels. Value type; an empty region covers nothing.
class TRegion {
public:
    TRegion() = default;
    explicit TRegion(const QRegion& region) : m_region(region) {}
    explicit TRegion(const TRect& r);

    const QRegion& ToQ() const { return m_region; }
    bool IsEmpty() const { return m_region.isEmpty(); }
    TRect BoundingRect() const;
    bool Contains(int x, int y) const;
    void Offset(int dx, int dy);
    // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
    int Kind() const;

    friend bool operator==(const TRegion& a, const TRegion& b) { return a.m_region == b.m_region; }

private:
    QRegion m_region;
};

TRegion CreateRectRgn(int l, int t, int r, int b);
// As on Windows, the rounded and elliptic regions leave out the last column
// and row of the box: (0, 0, W + 1, H + 1) is what covers a W x H window.
// Corners are w x h ellipse quarters (clamped to the shape), pixel-exact and
// mirror-symmetric.
TRegion CreateRoundRectRgn(int l, int t, int r, int b, int w, int h);
TRegion CreateEllipticRgn(int l, int t, int r, int b);
// The shape as drawn: all pixels of the box [l, r) x [t, b), rounded by w x h
// corners. RoundRect and Ellipse paint with it.
QRegion RoundRectPixels(const TRect& box, int w, int h);

// dest = a op b (RGN_COPY copies a). Returns the kind of the result, or
// RGN_ERROR for an unknown mode (dest unchanged).
int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode);
bool PtInRegion(const TRegion& region, int x, int y);
void OffsetRgn(TRegion& region, int dx, int dy);

} // namespace tk
