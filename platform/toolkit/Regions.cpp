#include "platform/toolkit/Regions.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace tk {

namespace {

void Normalise(int& l, int& t, int& r, int& b) {
    if (l > r) {
        std::swap(l, r);
    }
    if (t > b) {
        std::swap(t, b);
    }
}

// Left inset of row i (0-based) of a w x h ellipse: the first pixel whose
// centre lies inside. Mirrored on the right, so every row is symmetric.
int EllipseInset(int i, int w, int h) {
    const double a = w / 2.0;
    const double b = h / 2.0;
    const double dy = (i + 0.5) - b;
    const double q = 1.0 - (dy * dy) / (b * b);
    if (q <= 0) {
        return (w + 1) / 2;
    }
    const double half = a * std::sqrt(q);
    const int inset = static_cast<int>(std::ceil(a - half - 0.5 - 1e-9));
    return std::clamp(inset, 0, (w + 1) / 2);
}

} // namespace

TRegion::TRegion(const TRect& r) {
    if (!r.IsEmpty()) {
        m_region = QRegion(r.ToQ());
    }
}

TRect TRegion::BoundingRect() const {
    if (m_region.isEmpty()) {
        return {};
    }
    return TRect::FromQ(m_region.boundingRect());
}

bool TRegion::Contains(int x, int y) const {
    return m_region.contains(QPoint(x, y));
}

void TRegion::Offset(int dx, int dy) {
    m_region.translate(dx, dy);
}

int TRegion::Kind() const {
    if (m_region.isEmpty()) {
        return NULLREGION;
    }
    return m_region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRegion RoundRectPixels(const TRect& box, int w, int h) {
    const int width = box.Width();
    const int height = box.Height();
    if (width <= 0 || height <= 0) {
        return {};
    }
    w = std::clamp(w, 0, width);
    h = std::clamp(h, 0, height);
    if (w < 2 || h < 2) {
        return QRegion(box.ToQ());
    }
    // Rows of the top corner band, mirrored for the bottom band; runs of
    // rows with the same inset become one rectangle.
    const int band = h / 2;
    std::vector<int> insets(static_cast<std::size_t>(height), 0);
    for (int i = 0; i < band; ++i) {
        const int inset = EllipseInset(i, w, h);
        insets[static_cast<std::size_t>(i)] = inset;
        insets[static_cast<std::size_t>(height - 1 - i)] = inset;
    }
    QRegion region;
    int row = 0;
    while (row < height) {
        const int inset = insets[static_cast<std::size_t>(row)];
        int end = row + 1;
        while (end < height && insets[static_cast<std::size_t>(end)] == inset) {
            ++end;
        }
        if (width - 2 * inset > 0) {
            region += QRect(box.Left + inset, box.Top + row, width - 2 * inset, end - row);
        }
        row = end;
    }
    return region;
}

TRegion CreateRectRgn(int l, int t, int r, int b) {
    Normalise(l, t, r, b);
    return TRegion(Rect(l, t, r, b));
}

TRegion CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) {
    Normalise(l, t, r, b);
    return TRegion(RoundRectPixels(Rect(l, t, r - 1, b - 1), std::abs(w), std::abs(h)));
}

TRegion CreateEllipticRgn(int l, int t, int r, int b) {
    Normalise(l, t, r, b);
    return TRegion(RoundRectPixels(Rect(l, t, r - 1, b - 1), r - l - 1, b - t - 1));
}

int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode) {
    QRegion result;
    switch (mode) {
    case RGN_AND:
        result = a.ToQ().intersected(b.ToQ());
        break;
    case RGN_OR:
        result = a.ToQ().united(b.ToQ());
        break;
    case RGN_XOR:
        result = a.ToQ().xored(b.ToQ());
        break;
    case RGN_DIFF:
        result = a.ToQ().subtracted(b.ToQ());
        break;
    case RGN_COPY:
        result = a.ToQ();
        break;
    default:
        return RGN_ERROR;
    }
    dest = TRegion(result);
    return dest.Kind();
}

bool PtInRegion(const TRegion& region, int x, int y) {
    return region.Contains(x, y);
}

void OffsetRgn(TRegion& region, int dx, int dy) {
    region.Offset(dx, dy);
}

} // namespace tk
