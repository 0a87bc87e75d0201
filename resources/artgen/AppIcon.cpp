// The program icon for the desktop: the pixel art at the sizes it was drawn
// for, the same design with smooth edges at the larger ones.
#include <cmath>

#include "resources/artgen/Art.h"

namespace art {

namespace {

// The 32-pixel design's coordinates, scaled to the target size.
class Design {
public:
    explicit Design(int size) : m_s(size / 32.0), m_line(std::max(1.0, std::round(size / 48.0))) {}

    Shape Box(double x, double y, double w, double h, double r = 0) const {
        return RoundRect(x * m_s, y * m_s, w * m_s, h * m_s, r * m_s);
    }
    // The box's outline, one line wide inside its edge.
    Shape Outline(double x, double y, double w, double h, double r) const {
        const double l = m_line;
        return Minus(Box(x, y, w, h, r), RoundRect(x * m_s + l, y * m_s + l, w * m_s - 2 * l,
                                                   h * m_s - 2 * l, std::max(0.0, r * m_s - l)));
    }
    Shape Circle(double cx, double cy, double r) const {
        return Ellipse(cx * m_s, cy * m_s, r * m_s, r * m_s);
    }
    Shape Ring(double cx, double cy, double r) const {
        return Minus(Circle(cx, cy, r),
                     Ellipse(cx * m_s, cy * m_s, r * m_s - m_line, r * m_s - m_line));
    }
    Paint Down(const Ramp& ramp, double y, double h) const {
        return VRamp(ramp, int(y * m_s), int(h * m_s));
    }
    double Line() const { return m_line; }

private:
    double m_s;
    double m_line;
};

void BackCard(Canvas& c, const Design& d) {
    c.FillShape(d.Box(1, 2, 19, 17, 1.5), d.Down(Ramp{{0, Grey(0xDC)}, {1, Grey(0xB4)}}, 2, 17));
    c.FillShape(d.Box(2, 3, 17, 3, 0.8), Grey(0x90));
    for (double y : {8.0, 11.0, 14.0}) {
        c.FillShape(d.Box(3, y, 3 + (y == 14 ? 2 : 0), 1, 0.5), Grey(0x90));
    }
    c.FillShape(d.Outline(1, 2, 19, 17, 1.5), Grey(0x80));
}

void FrontCard(Canvas& c, const Design& d) {
    c.FillShape(d.Box(7.6, 7.8, 21, 19, 1.5), kBlack, 0.25); // shadow
    c.FillShape(d.Box(7, 7, 21, 19, 1.5), d.Down(Ramp{{0, kWhite}, {1, Hex(0xE6ECF4)}}, 7, 19));
    c.FillShape(d.Box(8, 8, 19, 3.4, 0.8),
                d.Down(Ramp{{0, Hex(0x4A8AF0)}, {1, Hex(0x1048B0)}}, 8, 3.4));
    c.FillShape(d.Circle(12.5, 15.5, 2.6),
                d.Down(Ramp{{0, Hex(0x3050A8)}, {1, Hex(0x102060)}}, 13, 5));
    c.FillShape(d.Box(9, 19, 8, 6, 3), d.Down(Ramp{{0, Hex(0x3050A8)}, {1, Hex(0x102060)}}, 19, 6));
    for (double y : {14.0, 17.0, 20.0}) {
        c.FillShape(d.Box(18, y, y == 20 ? 4 : 7, 1, 0.5), Grey(0x88));
    }
    c.FillShape(d.Outline(7, 7, 21, 19, 1.5), Hex(0x202830));
}

// The red badge that takes the duplicate away.
void Badge(Canvas& c, const Design& d) {
    c.FillShape(d.Circle(24.5, 24.5, 6.6),
                d.Down(Ramp{{0, Hex(0xFF6850)}, {1, Hex(0xB80000)}}, 18, 13));
    // A shine over the upper half, under the bar.
    c.FillShape(Minus(d.Circle(24.5, 22.6, 5.2), d.Box(0, 24, 32, 8)), kWhite, 0.3);
    c.FillShape(d.Box(19.5, 22.6, 10, 3.8, 1), kWhite);
    c.FillShape(d.Ring(24.5, 24.5, 6.6), Hex(0x800000));
}

Canvas Smooth(int size, Rgb background) {
    Canvas c(size, size, background);
    const Design d(size);
    BackCard(c, d);
    FrontCard(c, d);
    Badge(c, d);
    return c;
}

// The drawing over black and over white tells each pixel's opacity and its
// own colour, so edges blend with whatever the desktop puts behind them.
QImage WithAlpha(const Canvas& onBlack, const Canvas& onWhite) {
    QImage out(onBlack.Width(), onBlack.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const Rgb b = onBlack.Get(x, y);
            const Rgb w = onWhite.Get(x, y);
            const double alpha = 1.0 - ((w.r - b.r) + (w.g - b.g) + (w.b - b.b)) / (3 * 255.0);
            if (alpha <= 0) {
                out.setPixel(x, y, 0);
                continue;
            }
            const QRgb c = ToQRgb({b.r / alpha, b.g / alpha, b.b / alpha});
            out.setPixel(x, y, qRgba(qRed(c), qGreen(c), qBlue(c), int(std::lround(alpha * 255))));
        }
    }
    return out;
}

} // namespace

QImage ProgramIconImage(int size) {
    for (const IconImage& icon : ProgramIcon()) {
        if (icon.size == size) {
            return WithAlpha(IconPreview(icon, kBlack), IconPreview(icon, kWhite));
        }
    }
    return WithAlpha(Smooth(size, kBlack), Smooth(size, kWhite));
}

} // namespace art
