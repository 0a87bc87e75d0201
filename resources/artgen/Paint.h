// Pixel-exact drawing for the built-in art: colours, ramps, shapes with
// supersampled coverage, colour keying and hand-drawn glyphs. Everything is
// plain arithmetic on QImage pixels, so a run gives the same bytes every time.
#pragma once

#include <QImage>
#include <QRect>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace art {

struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

// 0xRRGGBB (screen order, not the 0x00BBGGRR of the theme tables).
constexpr Rgb Hex(unsigned v) {
    return {double((v >> 16) & 0xFF), double((v >> 8) & 0xFF), double(v & 0xFF)};
}
constexpr Rgb Grey(int v) {
    return {double(v), double(v), double(v)};
}

inline constexpr Rgb kKey = Hex(0xFF00FF);
inline constexpr Rgb kWhite = Grey(255);
inline constexpr Rgb kBlack = Grey(0);

Rgb Mix(Rgb a, Rgb b, double t); // t = 0 gives a
Rgb Lighter(Rgb c, double t);    // towards white
Rgb Darker(Rgb c, double t);     // towards black
QRgb ToQRgb(Rgb c);
Rgb FromQRgb(QRgb c);
bool IsKey(QRgb c);

// Colour stops over 0..1; two stops at one position make a hard edge.
class Ramp {
public:
    Ramp() = default;
    Ramp(std::initializer_list<std::pair<double, Rgb>> stops);
    explicit Ramp(Rgb flat) : m_stops{{0.0, flat}} {}
    Rgb At(double t) const;
    // A copy with every stop moved towards c.
    Ramp Toward(Rgb c, double t) const;

private:
    std::vector<std::pair<double, Rgb>> m_stops;
};

// Colour by pixel position.
using Paint = std::function<Rgb(int x, int y)>;
Paint Solid(Rgb c);
// The ramp top to bottom over the rows [top, top + height).
Paint VRamp(const Ramp& ramp, int top, int height);
// The ramp left to right over the columns [left, left + width).
Paint HRamp(const Ramp& ramp, int left, int width);

// A point test in continuous coordinates (pixel (x, y) spans x..x+1, y..y+1).
using Shape = std::function<bool(double x, double y)>;

struct Radii {
    double tl = 0, tr = 0, br = 0, bl = 0;
};
Shape RoundRect(double x, double y, double w, double h, double r);
Shape RoundRect(double x, double y, double w, double h, Radii r);
Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Polygon(std::vector<std::pair<double, double>> points);
Shape Minus(Shape a, Shape b);

// Share of the pixel inside the shape, from an 8 x 8 sample grid.
double Coverage(const Shape& shape, int x, int y);

class Canvas {
public:
    Canvas(int w, int h, Rgb fill = kWhite);
    explicit Canvas(QImage image);

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    const QImage& Image() const { return m_image; }

    Rgb Get(int x, int y) const;
    void Set(int x, int y, Rgb c);
    void Blend(int x, int y, Rgb c, double alpha);

    void Fill(const QRect& r, Rgb c);
    void Fill(const QRect& r, const Paint& p);
    void HLine(int x0, int x1, int y, Rgb c); // inclusive ends
    void VLine(int x, int y0, int y1, Rgb c);
    void Frame(const QRect& r, Rgb c);

    // Paints the shape, blending its edge pixels by coverage; alpha scales
    // the whole shape (a translucent shine).
    void FillShape(const Shape& s, const Paint& p, double alpha = 1.0);
    void FillShape(const Shape& s, Rgb c, double alpha = 1.0) { FillShape(s, Solid(c), alpha); }
    // Magenta on every pixel of r that is less than half inside the shape.
    // Kept edge pixels were blended with the expected background, so no
    // pixel next to the key is a near-magenta mix.
    void KeyOutside(const Shape& s, const QRect& r);

    // '#' pixels of the glyph in c (or c + '+' pixels in c2); anything else is
    // left alone.
    void Stamp(int x, int y, const std::vector<std::string>& rows, Rgb c);
    void Stamp(int x, int y, const std::vector<std::string>& rows,
               const std::vector<std::pair<char, Rgb>>& colours);

    // Copies src (whole) to (x, y).
    void Put(int x, int y, const Canvas& src);
    // The part r as a new canvas.
    Canvas Part(const QRect& r) const;

    // A w x h canvas painted all over by p (strips such as 1 x 21 bars).
    static Canvas Column(int w, int h, const Paint& p);

private:
    QImage m_image;
};

// Glyph helpers.
std::vector<std::string> MirrorY(const std::vector<std::string>& rows);
std::vector<std::string> Transpose(const std::vector<std::string>& rows);
int GlyphWidth(const std::vector<std::string>& rows);

} // namespace art
