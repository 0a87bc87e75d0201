#include "resources/artgen/Art.h"

#include <algorithm>
#include <utility>

namespace art {

void Catalogue::Add(std::string group, std::string name, Canvas image, int states) {
    m_items.push_back({std::move(name), std::move(image), states, std::move(group)});
}

Catalogue BuildAll() {
    Catalogue c;
    AddMacOS(c);
    AddWinXP(c);
    AddDeepBlue(c);
    AddProtein(c);
    AddBlueGlass(c);
    AddShared(c);
    AddPalette(c);
    return c;
}

Canvas Strip(const std::vector<Canvas>& states) {
    int w = 0;
    int h = 0;
    for (const Canvas& s : states) {
        w += s.Width();
        h = std::max(h, s.Height());
    }
    Canvas out(w, h);
    int x = 0;
    for (const Canvas& s : states) {
        out.Put(x, 0, s);
        x += s.Width();
    }
    return out;
}

Shape FaceShape(const QRect& r, double radius) {
    return RoundRect(r.x(), r.y(), r.width(), r.height(), std::max(0.0, radius));
}

void DrawFace(Canvas& c, const QRect& r, const Face& f) {
    c.FillShape(FaceShape(r, f.radius), f.border);
    QRect inner = r.adjusted(1, 1, -1, -1);
    double radius = f.radius - 1;
    if (f.ring) {
        c.FillShape(FaceShape(inner, radius), f.horizontal
                                                  ? HRamp(f.ringRamp, inner.left(), inner.width())
                                                  : VRamp(f.ringRamp, inner.top(), inner.height()));
        inner = inner.adjusted(1, 1, -1, -1);
        radius -= 1;
    }
    c.FillShape(FaceShape(inner, radius), f.horizontal
                                              ? HRamp(f.fill, inner.left(), inner.width())
                                              : VRamp(f.fill, inner.top(), inner.height()));
    if (f.shineAlpha > 0 && f.shineHeight > 0) {
        const double top = inner.top();
        const double h = r.height() * f.shineHeight;
        const Shape shine = RoundRect(r.x() + f.shineInset, top, r.width() - 2 * f.shineInset, h,
                                      std::max(0.0, radius - 1));
        const double a = f.shineAlpha;
        c.FillShape(shine, [&c, top, h, a](int x, int y) {
            const double t = std::clamp((y + 0.5 - top) / h, 0.0, 1.0);
            return Mix(c.Get(x, y), kWhite, a * (1 - t));
        });
    }
}

Canvas FaceSlice(int w, int h, const Face& f, const Paint& bg, bool keyed) {
    Canvas c(w, h);
    c.Fill(QRect(0, 0, w, h), bg);
    const QRect r(0, 0, w, h);
    DrawFace(c, r, f);
    if (keyed) {
        c.KeyOutside(FaceShape(r, f.radius), r);
    }
    return c;
}

namespace glyph {
// clang-format off
const std::vector<std::string> kClose = {
    "##...##",
    "###.###",
    ".#####.",
    "..###..",
    ".#####.",
    "###.###",
    "##...##",
};
const std::vector<std::string> kCloseSmall = {
    "#...#",
    "##.##",
    ".###.",
    "##.##",
    "#...#",
};
const std::vector<std::string> kMax = {
    "#######",
    "#######",
    "#.....#",
    "#.....#",
    "#.....#",
    "#.....#",
    "#######",
};
const std::vector<std::string> kRestore = {
    "..#####",
    "..#####",
    "..#...#",
    "#####.#",
    "#####.#",
    "#...###",
    "#####..",
};
const std::vector<std::string> kMin = {
    ".......",
    ".......",
    ".......",
    ".......",
    ".......",
    "#######",
    "#######",
};
const std::vector<std::string> kHelp = {
    ".#####.",
    "##...##",
    ".....##",
    "...###.",
    "...##..",
    ".......",
    "...##..",
};
const std::vector<std::string> kMenu = {
    ".......",
    ".......",
    "#######",
    ".#####.",
    "..###..",
    "...#...",
    ".......",
};
const std::vector<std::string> kArrowUp = {
    "...#...",
    "..###..",
    ".#####.",
    "#######",
};
const std::vector<std::string> kArrowUpSmall = {
    "..#..",
    ".###.",
    "#####",
};
const std::vector<std::string> kChevronUp = {
    "...#...",
    "..###..",
    ".##.##.",
    "##...##",
};
const std::vector<std::string> kCheck = {
    "......#",
    ".....##",
    "#...###",
    "##.###.",
    "#####..",
    ".###...",
    "..#....",
};
const std::vector<std::string> kCheckSmall = {
    "....#",
    "...##",
    "#.##.",
    "###..",
    ".#...",
};
// clang-format on
} // namespace glyph

void CentreGlyph(Canvas& c, const QRect& r, const std::vector<std::string>& g, Rgb colour) {
    const int x = r.x() + (r.width() - GlyphWidth(g)) / 2;
    const int y = r.y() + (r.height() - int(g.size())) / 2;
    c.Stamp(x, y, g, colour);
}

void CentreGlyph(Canvas& c, const QRect& r, const std::vector<std::string>& g, Rgb colour,
                 Rgb shadow, double shadowAlpha) {
    const int x = r.x() + (r.width() - GlyphWidth(g)) / 2;
    const int y = r.y() + (r.height() - int(g.size())) / 2;
    for (std::size_t j = 0; j < g.size(); ++j) {
        for (std::size_t i = 0; i < g[j].size(); ++i) {
            if (g[j][i] == '#') {
                c.Blend(x + int(i) + 1, y + int(j) + 1, shadow, shadowAlpha);
            }
        }
    }
    c.Stamp(x, y, g, colour);
}

const std::vector<std::string>& GlyphFor(TitleGlyph g) {
    switch (g) {
    case TitleGlyph::Menu:
        return glyph::kMenu;
    case TitleGlyph::Help:
        return glyph::kHelp;
    case TitleGlyph::Max:
        return glyph::kMax;
    case TitleGlyph::Restore:
        return glyph::kRestore;
    case TitleGlyph::Min:
        return glyph::kMin;
    case TitleGlyph::Close:
        break;
    }
    return glyph::kClose;
}

void EvenMiddle(Canvas& c) {
    const int W = c.Width();
    const int H = c.Height();
    const int hw = W / 2;
    const int hh = H / 2;
    for (int x = 0; x < W; ++x) {
        c.Set(x, H - hh, c.Get(x, hh));
    }
    for (int y = 0; y < H; ++y) {
        c.Set(W - hw, y, c.Get(hw, y));
    }
}

Canvas BoxMark(int w, int h, const QRect& box, const Face& f, Rgb bg,
               const std::vector<std::string>* glyph, Rgb ink) {
    Canvas c(w, h, bg);
    DrawFace(c, box, f);
    if (glyph != nullptr) {
        CentreGlyph(c, box, *glyph, ink);
    }
    return c;
}

Canvas RoundMark(int w, int h, double cx, double cy, double r, const RoundLook& look, Rgb bg) {
    Canvas c(w, h, bg);
    const Shape outer = Ellipse(cx, cy, r, r);
    c.FillShape(outer, look.ring);
    double inner = r - 1;
    if (look.hasInnerRing) {
        c.FillShape(Ellipse(cx, cy, inner, inner), look.innerRing);
        inner -= 0.9;
    }
    c.FillShape(Ellipse(cx, cy, inner, inner),
                VRamp(look.fill, int(cy - inner), int(2 * inner + 1)));
    if (look.dotRadius > 0) {
        const double d = look.dotRadius;
        c.FillShape(Ellipse(cx, cy, d, d), VRamp(look.dot, int(cy - d), int(2 * d + 1)));
        if (look.hasDotShine) {
            c.FillShape(Ellipse(cx - d * 0.3, cy - d * 0.35, d * 0.45, d * 0.35), look.dotShine,
                        0.8);
        }
    }
    c.KeyOutside(outer, QRect(0, 0, w, h));
    return c;
}

Canvas Pointer(int w, int h, Rgb border, const Ramp& fill, Rgb highlight, Rgb bg) {
    Canvas c(w, h, bg);
    const double m = w / 2.0;
    const double shoulder = h - m - 0.5;
    const Shape outer = Polygon({{0, 2},
                                 {2, 0},
                                 {w - 2.0, 0},
                                 {double(w), 2},
                                 {double(w), shoulder},
                                 {m, double(h)},
                                 {0, shoulder}});
    const Shape inner = Polygon({{1, 2.4},
                                 {2.4, 1},
                                 {w - 2.4, 1},
                                 {w - 1.0, 2.4},
                                 {w - 1.0, shoulder - 0.4},
                                 {m, h - 1.4},
                                 {1, shoulder - 0.4}});
    c.FillShape(outer, border);
    c.FillShape(inner, VRamp(fill, 1, h - 2));
    c.VLine(1, 2, int(shoulder) - 1, highlight);
    c.HLine(2, w - 3, 1, highlight);
    c.KeyOutside(outer, QRect(0, 0, w, h));
    return c;
}

Canvas Groove(int w, const std::vector<Rgb>& rows) {
    const int h = int(rows.size());
    Canvas c(w, h);
    for (int y = 0; y < h; ++y) {
        c.HLine(0, w - 1, y, rows[std::size_t(y)]);
    }
    for (int x : {0, w - 1}) {
        for (int y = 1; y < h - 1; ++y) {
            c.Set(x, y, Mix(rows[std::size_t(y)], rows.front(), 0.6));
        }
        c.Set(x, 0, kKey);
        c.Set(x, h - 1, kKey);
    }
    return c;
}

Canvas GlyphButton(int w, int h, const Face& f, const std::vector<std::string>& g, Rgb ink,
                   const Paint& bg, bool keyed, int dy) {
    Canvas c = FaceSlice(w, h, f, bg, keyed);
    CentreGlyph(c, QRect(0, dy, w, h), g, ink);
    return c;
}

Canvas Thumb(int w, int h, const Face& f, int inset, Rgb bg) {
    Canvas c(w, h, bg);
    DrawFace(c, QRect(0, inset, w, h - 2 * inset), f);
    return c;
}

Canvas TabSlice(int w, int h, const Face& f, bool selected, Rgb bg) {
    Canvas c(w, h, bg);
    Face top = f;
    // Only the top corners are round: the face runs past the bottom edge.
    DrawFace(c, QRect(0, 0, w, h + int(f.radius) + 2), top);
    if (!selected) {
        c.HLine(0, w - 1, h - 1, f.border);
    }
    return c;
}

// clang-format off
const std::vector<std::string> kDoubleChevronUp = {
    "...#...",
    "..#.#..",
    ".#...#.",
    "...#...",
    "..#.#..",
    ".#...#.",
    ".......",
};
// clang-format on

Canvas RotateCW(const Canvas& c) {
    Canvas out(c.Height(), c.Width());
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            out.Set(x, y, c.Get(y, c.Height() - 1 - x));
        }
    }
    return out;
}

Canvas RotateCCW(const Canvas& c) {
    Canvas out(c.Height(), c.Width());
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            out.Set(x, y, c.Get(c.Width() - 1 - y, x));
        }
    }
    return out;
}

Canvas FlipV(const Canvas& c) {
    Canvas out(c.Width(), c.Height());
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            out.Set(x, y, c.Get(x, c.Height() - 1 - y));
        }
    }
    return out;
}

Canvas FlipH(const Canvas& c) {
    Canvas out(c.Width(), c.Height());
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            out.Set(x, y, c.Get(c.Width() - 1 - x, y));
        }
    }
    return out;
}

} // namespace art
