#include "resources/artgen/Paint.h"

#include <algorithm>
#include <cmath>

namespace art {

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Lighter(Rgb c, double t) {
    return Mix(c, kWhite, t);
}
Rgb Darker(Rgb c, double t) {
    return Mix(c, kBlack, t);
}

QRgb ToQRgb(Rgb c) {
    auto q = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
    return qRgb(q(c.r), q(c.g), q(c.b));
}

Rgb FromQRgb(QRgb c) {
    return {double(qRed(c)), double(qGreen(c)), double(qBlue(c))};
}

bool IsKey(QRgb c) {
    return (c & 0xFFFFFF) == 0xFF00FF;
}

Ramp::Ramp(std::initializer_list<std::pair<double, Rgb>> stops) : m_stops(stops) {}

Rgb Ramp::At(double t) const {
    if (m_stops.empty()) {
        return kBlack;
    }
    if (t <= m_stops.front().first) {
        return m_stops.front().second;
    }
    for (std::size_t i = 1; i < m_stops.size(); ++i) {
        const auto& [p1, c1] = m_stops[i];
        if (t < p1) {
            const auto& [p0, c0] = m_stops[i - 1];
            return p1 > p0 ? Mix(c0, c1, (t - p0) / (p1 - p0)) : c1;
        }
    }
    return m_stops.back().second;
}

Ramp Ramp::Toward(Rgb c, double t) const {
    Ramp out;
    for (const auto& [p, s] : m_stops) {
        out.m_stops.emplace_back(p, Mix(s, c, t));
    }
    return out;
}

Paint Solid(Rgb c) {
    return [c](int, int) { return c; };
}

Paint VRamp(const Ramp& ramp, int top, int height) {
    return [ramp, top, height](int, int y) {
        return ramp.At(height <= 1 ? 0.0 : double(y - top) / double(height - 1));
    };
}

Paint HRamp(const Ramp& ramp, int left, int width) {
    return [ramp, left, width](int x, int) {
        return ramp.At(width <= 1 ? 0.0 : double(x - left) / double(width - 1));
    };
}

Shape RoundRect(double x, double y, double w, double h, double r) {
    return RoundRect(x, y, w, h, Radii{r, r, r, r});
}

Shape RoundRect(double x, double y, double w, double h, Radii r) {
    return [=](double px, double py) {
        if (px < x || py < y || px > x + w || py > y + h) {
            return false;
        }
        auto corner = [&](double cx, double cy, double rad) {
            const double dx = px - cx;
            const double dy = py - cy;
            return dx * dx + dy * dy <= rad * rad;
        };
        if (r.tl > 0 && px < x + r.tl && py < y + r.tl) {
            return corner(x + r.tl, y + r.tl, r.tl);
        }
        if (r.tr > 0 && px > x + w - r.tr && py < y + r.tr) {
            return corner(x + w - r.tr, y + r.tr, r.tr);
        }
        if (r.br > 0 && px > x + w - r.br && py > y + h - r.br) {
            return corner(x + w - r.br, y + h - r.br, r.br);
        }
        if (r.bl > 0 && px < x + r.bl && py > y + h - r.bl) {
            return corner(x + r.bl, y + h - r.bl, r.bl);
        }
        return true;
    };
}

Shape Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double px, double py) {
        const double dx = (px - cx) / rx;
        const double dy = (py - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

Shape Polygon(std::vector<std::pair<double, double>> pts) {
    return [pts = std::move(pts)](double px, double py) {
        bool inside = false;
        for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) {
                inside = !inside;
            }
        }
        return inside;
    };
}

Shape Minus(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

double Coverage(const Shape& shape, int x, int y) {
    constexpr int n = 8;
    int hits = 0;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            if (shape(x + (i + 0.5) / n, y + (j + 0.5) / n)) {
                ++hits;
            }
        }
    }
    return double(hits) / (n * n);
}

Canvas::Canvas(int w, int h, Rgb fill) : m_image(w, h, QImage::Format_RGB32) {
    m_image.fill(ToQRgb(fill));
}

Canvas::Canvas(QImage image) : m_image(image.convertToFormat(QImage::Format_RGB32)) {}

Rgb Canvas::Get(int x, int y) const {
    return FromQRgb(m_image.pixel(x, y));
}

void Canvas::Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < Width() && y < Height()) {
        m_image.setPixel(x, y, ToQRgb(c));
    }
}

void Canvas::Blend(int x, int y, Rgb c, double alpha) {
    if (x >= 0 && y >= 0 && x < Width() && y < Height() && alpha > 0) {
        Set(x, y, alpha >= 1 ? c : Mix(Get(x, y), c, alpha));
    }
}

void Canvas::Fill(const QRect& r, Rgb c) {
    Fill(r, Solid(c));
}

void Canvas::Fill(const QRect& r, const Paint& p) {
    const QRect clip = r.intersected(m_image.rect());
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        for (int x = clip.left(); x <= clip.right(); ++x) {
            Set(x, y, p(x, y));
        }
    }
}

void Canvas::HLine(int x0, int x1, int y, Rgb c) {
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) {
        Set(x, y, c);
    }
}

void Canvas::VLine(int x, int y0, int y1, Rgb c) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) {
        Set(x, y, c);
    }
}

void Canvas::Frame(const QRect& r, Rgb c) {
    HLine(r.left(), r.right(), r.top(), c);
    HLine(r.left(), r.right(), r.bottom(), c);
    VLine(r.left(), r.top(), r.bottom(), c);
    VLine(r.right(), r.top(), r.bottom(), c);
}

void Canvas::FillShape(const Shape& s, const Paint& p, double alpha) {
    for (int y = 0; y < Height(); ++y) {
        for (int x = 0; x < Width(); ++x) {
            const double c = Coverage(s, x, y);
            if (c > 0) {
                Blend(x, y, p(x, y), c * alpha);
            }
        }
    }
}

void Canvas::KeyOutside(const Shape& s, const QRect& r) {
    const QRect clip = r.intersected(m_image.rect());
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        for (int x = clip.left(); x <= clip.right(); ++x) {
            if (Coverage(s, x, y) < 0.5) {
                Set(x, y, kKey);
            }
        }
    }
}

void Canvas::Stamp(int x, int y, const std::vector<std::string>& rows, Rgb c) {
    Stamp(x, y, rows, {{'#', c}});
}

void Canvas::Stamp(int x, int y, const std::vector<std::string>& rows,
                   const std::vector<std::pair<char, Rgb>>& colours) {
    for (std::size_t j = 0; j < rows.size(); ++j) {
        for (std::size_t i = 0; i < rows[j].size(); ++i) {
            for (const auto& [ch, c] : colours) {
                if (rows[j][i] == ch) {
                    Set(x + int(i), y + int(j), c);
                }
            }
        }
    }
}

void Canvas::Put(int x, int y, const Canvas& src) {
    for (int j = 0; j < src.Height(); ++j) {
        for (int i = 0; i < src.Width(); ++i) {
            Set(x + i, y + j, src.Get(i, j));
        }
    }
}

Canvas Canvas::Part(const QRect& r) const {
    return Canvas(m_image.copy(r));
}

Canvas Canvas::Column(int w, int h, const Paint& p) {
    Canvas c(w, h);
    c.Fill(QRect(0, 0, w, h), p);
    return c;
}

std::vector<std::string> MirrorY(const std::vector<std::string>& rows) {
    return {rows.rbegin(), rows.rend()};
}

std::vector<std::string> Transpose(const std::vector<std::string>& rows) {
    const int w = GlyphWidth(rows);
    std::vector<std::string> out(std::size_t(w), std::string(rows.size(), '.'));
    for (std::size_t j = 0; j < rows.size(); ++j) {
        for (std::size_t i = 0; i < rows[j].size(); ++i) {
            out[i][j] = rows[j][i];
        }
    }
    return out;
}

int GlyphWidth(const std::vector<std::string>& rows) {
    std::size_t w = 0;
    for (const auto& r : rows) {
        w = std::max(w, r.size());
    }
    return int(w);
}

} // namespace art
