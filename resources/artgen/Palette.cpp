// 24 x 24 palette icons of the component classes, for a form designer. The
// bottom-left pixel is the key, as palette bitmaps are drawn; shapes are
// hard-edged so nothing blends with the key.
#include <functional>

#include "resources/artgen/Art.h"

namespace art {

namespace {

const char* const kGroup = "Palette";
constexpr Rgb kInk = Hex(0x283040);
constexpr Rgb kEdge = Hex(0x60708C);
constexpr Rgb kBlue = Hex(0x3464C4);
constexpr Rgb kLight = Hex(0xECF0F6);
constexpr Rgb kFaceTop = Hex(0xF8FAFC);
constexpr Rgb kFaceBottom = Hex(0xD4DCE8);
constexpr Rgb kSelect = Hex(0x5E5EEC);

// Pixels whose centre lies in the shape, without blending.
void Hard(Canvas& c, const Shape& s, Rgb colour) {
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            if (s(x + 0.5, y + 0.5)) {
                c.Set(x, y, colour);
            }
        }
    }
}

void Box(Canvas& c, const QRect& r, Rgb fill, Rgb edge) {
    c.Fill(r, fill);
    c.Frame(r, edge);
}

void Window(Canvas& c, const QRect& r) {
    Box(c, r, kLight, Hex(0x28386C));
    c.Fill(QRect(r.left() + 1, r.top() + 1, r.width() - 2, 3), kBlue);
    c.Fill(QRect(r.right() - 3, r.top() + 2, 2, 1), kWhite);
}

void ButtonFace(Canvas& c, const QRect& r) {
    c.Fill(r.adjusted(1, 1, -1, -1),
           VRamp({{0.0, kFaceTop}, {1.0, kFaceBottom}}, r.top(), r.height()));
    c.HLine(r.left() + 1, r.right() - 1, r.top(), kEdge);
    c.HLine(r.left() + 1, r.right() - 1, r.bottom(), kEdge);
    c.VLine(r.left(), r.top() + 1, r.bottom() - 1, kEdge);
    c.VLine(r.right(), r.top() + 1, r.bottom() - 1, kEdge);
}

void Field(Canvas& c, const QRect& r) {
    Box(c, r, kWhite, kEdge);
}

void Tri(Canvas& c, int cx, int y, bool up, Rgb colour) {
    for (int i = 0; i < 3; ++i) {
        const int row = up ? y + i : y + 2 - i;
        c.HLine(cx - i, cx + i, row, colour);
    }
}

void Check(Canvas& c, int x, int y) {
    Box(c, QRect(x, y, 9, 9), kWhite, kInk);
    c.Stamp(x + 2, y + 2, glyph::kCheckSmall, kBlue);
}

void Radio(Canvas& c, double cx, double cy, bool on) {
    Hard(c, Ellipse(cx, cy, 4.5, 4.5), kInk);
    Hard(c, Ellipse(cx, cy, 3.5, 3.5), kWhite);
    if (on) {
        Hard(c, Ellipse(cx, cy, 1.8, 1.8), kBlue);
    }
}

void Line(Canvas& c, int x0, int x1, int y) {
    c.HLine(x0, x1, y, Hex(0x8890A0));
}

void Picture(Canvas& c, const QRect& r) {
    c.Fill(r, VRamp({{0.0, Hex(0x9CC4F4)}, {1.0, Hex(0xE0ECFC)}}, r.top(), r.height()));
    Hard(c, Ellipse(r.right() - 4.5, r.top() + 4.5, 2.5, 2.5), Hex(0xF4C020));
    Hard(c,
         Polygon({{double(r.left()), r.bottom() + 1.0},
                  {r.left() + 6.0, r.top() + 5.0},
                  {r.left() + 11.0, r.bottom() - 2.0},
                  {r.left() + 14.0, r.top() + 9.0},
                  {r.right() + 1.0, r.bottom() + 1.0}}),
         Hex(0x3C9C44));
    c.Frame(r, kEdge);
}

void GroupFrame(Canvas& c) {
    c.HLine(2, 3, 4, kEdge);
    c.HLine(11, 21, 4, kEdge);
    c.VLine(2, 4, 21, kEdge);
    c.VLine(21, 4, 21, kEdge);
    c.HLine(2, 21, 21, kEdge);
    c.HLine(5, 9, 4, kInk);
}

// clang-format off
const std::vector<std::string> kDigits = {
    ".#..###...###",
    "##....#...#..",
    ".#..###...##.",
    ".#..#.......#",
    "###.###.#.##.",
};
const std::vector<std::string> kArrow = {
    "#.....",
    "##....",
    "#+#...",
    "#++#..",
    "#+++#.",
    "#++##.",
    "##..#.",
    "#...##",
};
// clang-format on

using Draw = std::function<void(Canvas&)>;

const std::vector<std::pair<const char*, Draw>>& Icons() {
    static const std::vector<std::pair<const char*, Draw>> icons = {
        {"TSKFORM", [](Canvas& c) { Window(c, QRect(2, 3, 20, 18)); }},
        {"TSKMDIFORM",
         [](Canvas& c) {
             Window(c, QRect(1, 1, 20, 17));
             Window(c, QRect(6, 8, 17, 14));
         }},
        {"TSKMSNPOPFORM",
         [](Canvas& c) {
             Window(c, QRect(7, 11, 16, 11));
             Tri(c, 15, 5, true, kBlue);
             c.Fill(QRect(14, 8, 3, 2), kBlue);
         }},
        {"TSKTITLEBAR",
         [](Canvas& c) {
             Box(c, QRect(1, 7, 22, 9), kBlue, Hex(0x1C2C64));
             c.HLine(2, 21, 8, Hex(0x7CA4EC));
             for (int x : {9, 13, 17}) {
                 Box(c, QRect(x, 9, 4, 5), Hex(0x6C94E4), kWhite);
             }
             c.Fill(QRect(3, 10, 4, 3), kWhite);
         }},
        {"TSKMAINMENU",
         [](Canvas& c) {
             Box(c, QRect(1, 2, 22, 6), Hex(0xCED3D6), kEdge);
             c.Fill(QRect(5, 3, 6, 4), kSelect);
             Line(c, 13, 19, 4);
             Box(c, QRect(5, 7, 14, 15), kWhite, kEdge);
             c.Fill(QRect(6, 8, 3, 13), Hex(0xCED3D6));
             Line(c, 10, 16, 10);
             c.Fill(QRect(6, 13, 12, 4), kSelect);
             c.HLine(10, 15, 14, kWhite);
             Line(c, 10, 17, 19);
         }},
        {"TSKPOPUPMENU",
         [](Canvas& c) {
             Box(c, QRect(7, 2, 15, 17), kWhite, kEdge);
             c.Fill(QRect(8, 3, 3, 15), Hex(0xCED3D6));
             Line(c, 12, 19, 5);
             c.Fill(QRect(8, 8, 13, 4), kSelect);
             c.HLine(12, 18, 9, kWhite);
             Line(c, 12, 18, 14);
             c.Stamp(1, 13, kArrow, {{'#', kBlack}, {'+', kWhite}});
         }},
        {"TSKBUTTON",
         [](Canvas& c) {
             ButtonFace(c, QRect(1, 6, 22, 12));
             c.HLine(8, 15, 11, kInk);
             c.HLine(8, 13, 12, kInk);
         }},
        {"TSKARROWBUTTON",
         [](Canvas& c) {
             ButtonFace(c, QRect(5, 4, 14, 16));
             Tri(c, 11, 10, true, kInk);
         }},
        {"TSKCONTROLBUTTON",
         [](Canvas& c) {
             ButtonFace(c, QRect(4, 4, 16, 16));
             c.Stamp(9, 9, glyph::kMax, kInk);
         }},
        {"TSKIMAGEBUTTON",
         [](Canvas& c) {
             ButtonFace(c, QRect(1, 3, 22, 18));
             Picture(c, QRect(4, 6, 16, 12));
         }},
        {"TSKTOOLBARSPEEDBUTTON",
         [](Canvas& c) {
             Box(c, QRect(3, 3, 18, 18), Hex(0xEFEFEF), Hex(0x474747));
             Hard(c, Polygon({{12, 6}, {18, 12}, {12, 18}, {6, 12}}), kBlue);
         }},
        {"TSKCHECKBOX",
         [](Canvas& c) {
             Check(c, 2, 7);
             Line(c, 13, 21, 11);
         }},
        {"TSKRADIOBUTTON",
         [](Canvas& c) {
             Radio(c, 6.5, 11.5, true);
             Line(c, 13, 21, 11);
         }},
        {"TSKTRACKBAR",
         [](Canvas& c) {
             Box(c, QRect(2, 9, 20, 3), kWhite, kEdge);
             Hard(c, Polygon({{8, 5}, {14, 5}, {14, 13}, {11, 16}, {8, 13}}), kBlue);
             for (int x = 3; x <= 21; x += 3) {
                 c.VLine(x, 18, 19, kInk);
             }
         }},
        {"TSKSCROLLBAR",
         [](Canvas& c) {
             Box(c, QRect(1, 8, 22, 8), Hex(0xF4F4F4), kEdge);
             ButtonFace(c, QRect(1, 8, 7, 8));
             ButtonFace(c, QRect(16, 8, 7, 8));
             c.Stamp(3, 10, Transpose(glyph::kArrowUpSmall), kInk);
             c.Stamp(18, 10, Transpose(MirrorY(glyph::kArrowUpSmall)), kInk);
             Box(c, QRect(9, 9, 5, 6), Hex(0x7CA4EC), Hex(0x2C5696));
         }},
        {"TSKLISTVIEW",
         [](Canvas& c) {
             Field(c, QRect(2, 3, 20, 18));
             c.Fill(QRect(3, 4, 18, 3), Hex(0xE4E6EA));
             c.VLine(10, 4, 6, kEdge);
             for (int y : {9, 15, 18}) {
                 Line(c, 4, 17, y);
             }
             c.Fill(QRect(3, 11, 18, 3), kSelect);
             c.HLine(4, 15, 12, kWhite);
         }},
        {"TSKIMAGEPANEL", [](Canvas& c) { Picture(c, QRect(2, 4, 20, 16)); }},
        {"TSKPANEL",
         [](Canvas& c) {
             Box(c, QRect(2, 3, 20, 18), kWhite, kInk);
             c.Fill(QRect(3, 4, 18, 5), kBlue);
             c.HLine(4, 11, 6, kWhite);
             c.Fill(QRect(16, 5, 4, 3), kWhite);
         }},
        {"TSKGROUPBOX", [](Canvas& c) { GroupFrame(c); }},
        {"TSKSTATUSBAR",
         [](Canvas& c) {
             Window(c, QRect(1, 2, 22, 20));
             c.Fill(QRect(2, 16, 20, 5), Hex(0xE7E7E7));
             c.HLine(2, 21, 15, kEdge);
             c.VLine(12, 17, 19, kEdge);
             for (int i = 0; i < 3; ++i) {
                 c.Set(20 - i, 19, kEdge);
                 c.Set(20, 19 - i, kEdge);
             }
         }},
        {"TSKEDIT",
         [](Canvas& c) {
             Field(c, QRect(1, 7, 22, 10));
             c.VLine(6, 9, 14, kInk);
             c.HLine(5, 7, 9, kInk);
             c.HLine(5, 7, 14, kInk);
         }},
        {"TSKMASKEDIT",
         [](Canvas& c) {
             Field(c, QRect(1, 7, 22, 10));
             for (int x : {4, 7, 13, 16, 19}) {
                 c.HLine(x, x + 1, 14, kInk);
             }
             c.HLine(10, 11, 11, kInk);
         }},
        {"TSKNUMBEREDIT",
         [](Canvas& c) {
             Field(c, QRect(1, 7, 22, 10));
             c.Stamp(7, 10, kDigits, kInk);
         }},
        {"TSKSPINEDIT",
         [](Canvas& c) {
             Field(c, QRect(1, 5, 22, 14));
             c.Stamp(4, 9, {".#.", "##.", ".#.", ".#.", "###"}, kInk);
             ButtonFace(c, QRect(14, 6, 8, 6));
             ButtonFace(c, QRect(14, 12, 8, 6));
             Tri(c, 18, 7, true, kInk);
             Tri(c, 18, 14, false, kInk);
         }},
        {"TSKSPINBUTTONS",
         [](Canvas& c) {
             ButtonFace(c, QRect(6, 2, 12, 10));
             ButtonFace(c, QRect(6, 12, 12, 10));
             Tri(c, 11, 5, true, kInk);
             Tri(c, 11, 16, false, kInk);
         }},
        {"TSKPROGRESSBAR",
         [](Canvas& c) {
             Box(c, QRect(1, 8, 22, 8), Hex(0xE7E7E7), kInk);
             c.Fill(
                 QRect(2, 9, 12, 6),
                 VRamp({{0.0, Hex(0xA8CCF8)}, {0.45, Hex(0x3476DC)}, {1.0, Hex(0x6AA6F2)}}, 9, 6));
         }},
        {"TSKTOOLBAR",
         [](Canvas& c) {
             Box(c, QRect(1, 6, 22, 12), Hex(0xE7E7E7), kEdge);
             Box(c, QRect(3, 8, 8, 8), Hex(0xEFEFEF), Hex(0x474747));
             c.Fill(QRect(5, 10, 4, 4), kBlue);
             c.Fill(QRect(14, 10, 4, 4), Hex(0x3C9C44));
         }},
        {"TSKCHECKGROUP",
         [](Canvas& c) {
             GroupFrame(c);
             Check(c, 5, 7);
             Check(c, 5, 15);
             Line(c, 15, 19, 11);
             Line(c, 15, 19, 19);
         }},
        {"TSKRADIOGROUP",
         [](Canvas& c) {
             GroupFrame(c);
             Radio(c, 9.5, 10.5, true);
             Radio(c, 9.5, 17.5, false);
             Line(c, 15, 19, 10);
             Line(c, 15, 19, 17);
         }},
        {"TSKFILETHEME",
         [](Canvas& c) {
             Hard(c, Polygon({{5, 2}, {15, 2}, {20, 7}, {20, 22}, {5, 22}}), kEdge);
             Hard(c, Polygon({{6, 3}, {14.5, 3}, {19, 7.5}, {19, 21}, {6, 21}}), kWhite);
             Hard(c, Polygon({{14, 3}, {19, 8}, {14, 8}}), Hex(0xC8D0DC));
             c.Fill(QRect(8, 11, 3, 3), Hex(0xD8463A));
             c.Fill(QRect(11, 11, 3, 3), Hex(0x3C9C44));
             c.Fill(QRect(14, 11, 3, 3), kBlue);
             Line(c, 8, 16, 16);
             Line(c, 8, 14, 18);
         }},
        {"TSKBUILTINFILETHEME",
         [](Canvas& c) {
             Hard(c, Polygon({{7, 1}, {16, 1}, {21, 6}, {21, 18}, {7, 18}}), kEdge);
             Hard(c, Polygon({{8, 2}, {15.5, 2}, {20, 6.5}, {20, 17}, {8, 17}}), kWhite);
             c.Fill(QRect(10, 9, 3, 3), Hex(0xD8463A));
             c.Fill(QRect(13, 9, 3, 3), Hex(0x3C9C44));
             c.Fill(QRect(16, 9, 3, 3), kBlue);
             Box(c, QRect(2, 13, 10, 9), Hex(0x7CA4EC), Hex(0x1C2C64));
             c.Fill(QRect(4, 15, 6, 5), Hex(0x3464C4));
         }},
        {"TSKTHEMEMANAGER",
         [](Canvas& c) {
             Box(c, QRect(2, 9, 10, 10), Hex(0xD8463A), kInk);
             Box(c, QRect(7, 6, 10, 10), Hex(0x3C9C44), kInk);
             Box(c, QRect(12, 3, 10, 10), kBlue, kInk);
             c.HLine(3, 20, 21, kInk);
             c.VLine(20, 15, 21, kInk);
         }},
    };
    return icons;
}

} // namespace

void AddPalette(Catalogue& cat) {
    for (const auto& [name, draw] : Icons()) {
        Canvas c(24, 24, kKey);
        draw(c);
        cat.Add(kGroup, name, c);
    }
}

} // namespace art
