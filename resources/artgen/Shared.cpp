// Images outside the style table: one look for every style, so they stay
// neutral (greys and the program's blue) and are keyed where they sit on
// backgrounds of any colour.
#include <algorithm>
#include <cmath>

#include "resources/artgen/Art.h"

namespace art {

namespace {

const char* const kGroup = "Shared";
constexpr Rgb kFace = Grey(231);

// 16 x 16, white is the transparent colour of the menu image list, so the
// mark is solid black pixels only.
Canvas MenuChecked() {
    Canvas c(16, 16, kWhite);
    c.Stamp(4, 4, glyph::kCheck, kBlack);
    return c;
}

// Minimise, restore and close glyphs of the MDI menu bar, keyed.
Canvas MdiControls() {
    std::vector<Canvas> glyphs;
    for (const auto* g : {&glyph::kMin, &glyph::kRestore, &glyph::kClose}) {
        Canvas c(16, 16, kKey);
        CentreGlyph(c, QRect(0, 0, 16, 16), *g, kBlack);
        glyphs.push_back(c);
    }
    return Strip(glyphs);
}

// Collapse button of a captioned panel: expanded, expanded with the pointer
// over it, collapsed, collapsed with the pointer over it. Opaque and square,
// so it sits on the caption bar of any style.
Canvas PanelButton() {
    std::vector<Canvas> slices;
    for (bool expanded : {true, false}) {
        for (bool hot : {false, true}) {
            Canvas c(13, 12, kWhite);
            c.Fill(QRect(1, 1, 11, 10),
                   VRamp(hot ? Ramp{{0.0, Hex(0xFFFFFF)}, {1.0, Hex(0xD8E8FC)}}
                             : Ramp{{0.0, Hex(0xFCFCFC)}, {1.0, Hex(0xE2E4E8)}},
                         1, 10));
            c.Frame(QRect(0, 0, 13, 12), hot ? Hex(0x3C6EC0) : Grey(112));
            const Rgb ink = hot ? Hex(0x1C4A9C) : Grey(64);
            const auto g = expanded ? kDoubleChevronUp : MirrorY(kDoubleChevronUp);
            c.Stamp(3, expanded ? 3 : 2, g, ink);
            slices.push_back(c);
        }
    }
    return Strip(slices);
}

// Size grip: three diagonal rows of raised dots, keyed.
Canvas StatusBarHandle() {
    Canvas c(11, 11, kKey);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            if (x + y < 2) {
                continue;
            }
            const int px = 1 + x * 3;
            const int py = 1 + y * 3;
            c.Set(px + 1, py + 1, kWhite);
            c.Set(px, py, Grey(128));
            c.Set(px + 1, py, Grey(160));
            c.Set(px, py + 1, Grey(160));
        }
    }
    return c;
}

Canvas SideChannelButton() {
    Canvas c(7, 9, kKey);
    // clang-format off
    c.Stamp(1, 0, {
        "#....",
        "##...",
        "###..",
        "####.",
        "#####",
        "####.",
        "###..",
        "##...",
        "#....",
    }, Grey(72));
    // clang-format on
    return c;
}

// Message icons, 42 x 42 each: warning, error, information, confirmation.
Canvas MessageIcon(int kind) {
    Canvas c(42, 42, kFace);
    const Rgb white = kWhite;
    Shape outer;
    if (kind == 0) {
        outer = Polygon({{21, 2}, {40, 38}, {39, 40}, {3, 40}, {2, 38}});
        c.FillShape(outer, Hex(0x8A6A00));
        c.FillShape(
            Polygon({{21, 4.5}, {38, 37.5}, {37.4, 38.6}, {4.6, 38.6}, {4, 37.5}}),
            VRamp({{0.0, Hex(0xFFF2A0)}, {0.5, Hex(0xFFD83C)}, {1.0, Hex(0xF0B400)}}, 4, 35));
        // Exclamation mark.
        c.FillShape(RoundRect(18.5, 13, 5, 15, 2.5), Hex(0x201800));
        c.FillShape(Ellipse(21, 33, 2.7, 2.7), Hex(0x201800));
    } else {
        outer = Ellipse(21, 21, 19.5, 19.5);
        const Rgb rim = kind == 1 ? Hex(0x7A1008) : Hex(0x0C2C74);
        const Ramp body =
            kind == 1 ? Ramp{{0.0, Hex(0xFF8A70)}, {0.5, Hex(0xE2321C)}, {1.0, Hex(0xB01408)}}
                      : Ramp{{0.0, Hex(0x8CC0FF)}, {0.5, Hex(0x2E74DC)}, {1.0, Hex(0x1450B4)}};
        c.FillShape(outer, rim);
        c.FillShape(Ellipse(21, 21, 18.3, 18.3), VRamp(body, 3, 37));
        // Glass highlight over the upper half.
        c.FillShape(Ellipse(21, 12, 13, 8), [&c](int x, int y) {
            return Mix(c.Get(x, y), kWhite, std::max(0.0, 0.55 - (y - 4) * 0.035));
        });
        if (kind == 1) {
            const Shape a = Polygon({{12.5, 15.5}, {15.5, 12.5}, {29.5, 26.5}, {26.5, 29.5}});
            const Shape b = Polygon({{26.5, 12.5}, {29.5, 15.5}, {15.5, 29.5}, {12.5, 26.5}});
            c.FillShape(a, white);
            c.FillShape(b, white);
        } else if (kind == 2) {
            c.FillShape(Ellipse(21, 12.5, 2.8, 2.8), white);
            c.FillShape(RoundRect(18.5, 17, 5, 15, 1), white);
            c.FillShape(RoundRect(16.5, 17, 7, 2.6, 0.5), white);
            c.FillShape(RoundRect(16.5, 29.5, 9, 2.6, 0.5), white);
        } else {
            // Question mark: an open ring, a stem and a dot.
            const Shape ring = Minus(Ellipse(21, 16.5, 7, 6.5), Ellipse(21, 16.5, 3.2, 2.8));
            const Shape cut = Polygon({{10, 18}, {21, 17}, {21, 26}, {10, 26}});
            c.FillShape(Minus(ring, cut), white);
            c.FillShape(
                Polygon(
                    {{21.5, 20.5}, {26.5, 20.5}, {23.5, 25}, {23.5, 27}, {18.8, 27}, {18.8, 24}}),
                white);
            c.FillShape(Ellipse(21.2, 31.8, 2.7, 2.7), white);
        }
    }
    c.KeyOutside(outer, QRect(0, 0, 42, 42));
    return c;
}

// The pop-up notice: a title band with the close box at (162..175, 6..19)
// and a light body for navy text.
Canvas NoticeForm() {
    const int w = 181;
    const int h = 116;
    Canvas c(w, h);
    c.Fill(QRect(0, 0, w, 26), VRamp({{0.0, Hex(0xE4EEFC)},
                                      {0.5, Hex(0xC8DAF6)},
                                      {0.52, Hex(0xB4CCF2)},
                                      {1.0, Hex(0xC6DAF6)}},
                                     0, 26));
    c.HLine(1, w - 2, 1, kWhite);
    c.HLine(0, w - 1, 26, Hex(0x7C9CD0));
    c.Fill(QRect(0, 27, w, h - 27),
           VRamp({{0.0, kWhite}, {0.6, Hex(0xF4F8FE)}, {1.0, Hex(0xDCE8FA)}}, 27, h - 27));
    c.Frame(QRect(0, 0, w, h), Hex(0x3C5C9C));
    // Close box.
    Face f;
    f.radius = 2;
    f.border = Hex(0x5C7CB4);
    f.ring = true;
    f.ringRamp = Ramp(kWhite);
    f.fill = {{0.0, Hex(0xF8FBFF)}, {1.0, Hex(0xD2E0F6)}};
    DrawFace(c, QRect(162, 6, 14, 14), f);
    CentreGlyph(c, QRect(162, 6, 14, 14), glyph::kCloseSmall, Hex(0x1C3C80));
    return c;
}

// Left and right arrow buttons shared by three styles (tab scrolling):
// left, left pressed, right, right pressed.
Canvas MoreScrollButton() {
    std::vector<Canvas> s;
    for (bool leftArrow : {true, false}) {
        for (bool down : {false, true}) {
            Face f;
            f.radius = 2;
            f.ring = true;
            f.border = down ? Hex(0x3A5C96) : Grey(128);
            f.ringRamp = Ramp(down ? Hex(0xB4C6E4) : kWhite);
            f.fill = down ? Ramp{{0.0, Hex(0xC8D6EE)}, {1.0, Hex(0xDCE6F6)}}
                          : Ramp{{0.0, Hex(0xFAFAFC)}, {1.0, Hex(0xDCDEE4)}};
            Canvas c = FaceSlice(18, 17, f, Solid(kFace), false);
            const auto g = Transpose(leftArrow ? glyph::kArrowUp : MirrorY(glyph::kArrowUp));
            CentreGlyph(c, QRect(down ? 1 : 0, down ? 1 : 0, 18, 17), g, Grey(32));
            s.push_back(c);
        }
    }
    return Strip(s);
}

} // namespace

void AddShared(Catalogue& cat) {
    cat.Add(kGroup, "MENU_CHECKED", MenuChecked());
    cat.Add(kGroup, "MDI_CONTROL_BUTTON", MdiControls(), 3);
    cat.Add(kGroup, "PANEL_BUTTON", PanelButton(), 4);
    cat.Add(kGroup, "STATUSBAR_HANDLE", StatusBarHandle());
    cat.Add(kGroup, "SIDECHANNEL_BTN", SideChannelButton());
    cat.Add(kGroup, "MSGDLG",
            Strip({MessageIcon(0), MessageIcon(1), MessageIcon(2), MessageIcon(3)}), 4);
    cat.Add(kGroup, "MSNPOPFORM", NoticeForm());
    cat.Add(kGroup, "MORE_SCROLLBUTTON", MoreScrollButton(), 4);
}

const std::vector<PaletteEntry>& IconPalette() {
    static const std::vector<PaletteEntry> p = {
        {'k', Hex(0x000000)}, {'m', Hex(0x800000)}, {'G', Hex(0x008000)}, {'o', Hex(0x808000)},
        {'n', Hex(0x000080)}, {'p', Hex(0x800080)}, {'t', Hex(0x008080)}, {'s', Hex(0xC0C0C0)},
        {'g', Hex(0x808080)}, {'r', Hex(0xFF0000)}, {'l', Hex(0x00FF00)}, {'y', Hex(0xFFFF00)},
        {'b', Hex(0x0000FF)}, {'f', Hex(0xFF00FF)}, {'a', Hex(0x00FFFF)}, {'w', Hex(0xFFFFFF)},
    };
    return p;
}

namespace {

// A grid of palette letters with hard-edged shapes: a pixel belongs to a
// shape when its centre does.
class LetterGrid {
public:
    explicit LetterGrid(int n) : m_rows(std::size_t(n), std::string(std::size_t(n), '.')) {}
    void Fill(const Shape& s, char fill, char outline = 0) {
        const int n = int(m_rows.size());
        auto in = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < n && y < n && s(x + 0.5, y + 0.5);
        };
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                if (!in(x, y)) {
                    continue;
                }
                const bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
                m_rows[std::size_t(y)][std::size_t(x)] = outline != 0 && edge ? outline : fill;
            }
        }
    }
    void Rect(int x, int y, int w, int h, char fill, char outline = 0) {
        Fill(RoundRect(x, y, w, h, 0), fill, outline);
    }
    void Put(int x, int y, char c) { m_rows[std::size_t(y)][std::size_t(x)] = c; }
    std::vector<std::string> Rows() const { return m_rows; }

private:
    std::vector<std::string> m_rows;
};

// Two address cards, the one behind a faded duplicate, and a red badge that
// takes the duplicate away.
IconImage Icon32() {
    LetterGrid g(32);
    g.Rect(1, 2, 19, 17, 's', 'g');
    g.Rect(2, 3, 17, 3, 'g');
    g.Rect(3, 8, 3, 1, 'g');
    g.Rect(3, 11, 3, 1, 'g');
    g.Rect(7, 7, 21, 19, 'w', 'k');
    g.Rect(8, 8, 19, 3, 'b');
    g.Rect(8, 11, 19, 1, 'n');
    g.Fill(Ellipse(12.5, 15.5, 2.6, 2.6), 'n');
    g.Fill(RoundRect(9, 19, 8, 6, 3), 'n');
    for (int y : {14, 17, 20}) {
        g.Rect(18, y, y == 20 ? 4 : 7, 1, 'g');
    }
    g.Fill(Ellipse(24.5, 24.5, 6.6, 6.6), 'r', 'm');
    g.Rect(20, 23, 9, 3, 'w');
    return {32, g.Rows()};
}

IconImage Icon16() {
    // clang-format off
    return {16, {
        "................",
        "ggggggggg.......",
        "gsssssssg.......",
        "gsskkkkkkkkkkk..",
        "gsskbbbbbbbbbk..",
        "gsskwwwwwwwwwk..",
        "gsskwnnwgggwwk..",
        "gsskwnnwwwwwwk..",
        "gggkwwwwgggwwk..",
        "...kwnnwwwwmmm..",
        "...knnnnwwmrrrm.",
        "...knnnnwmrrrrrm",
        "...kwwwwwmwwwwwm",
        "...kkkkkkmrrrrrm",
        "..........mrrrm.",
        "...........mmm..",
    }};
    // clang-format on
}

} // namespace

std::vector<IconImage> ProgramIcon() {
    return {Icon32(), Icon16()};
}

Canvas IconPreview(const IconImage& icon, Rgb background) {
    Canvas c(icon.size, icon.size, background);
    for (int y = 0; y < icon.size; ++y) {
        for (int x = 0; x < icon.size && x < int(icon.rows[std::size_t(y)].size()); ++x) {
            for (const PaletteEntry& e : IconPalette()) {
                if (e.letter == icon.rows[std::size_t(y)][std::size_t(x)]) {
                    c.Set(x, y, e.colour);
                }
            }
        }
    }
    return c;
}

} // namespace art
