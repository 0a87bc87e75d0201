// MacOS: light pinstripes, gel buttons and a blue gel selection.
#include <algorithm>

#include "resources/artgen/Art.h"

namespace art {
namespace {

const char* const kGroup = "MacOS";
constexpr Rgb kFace = Grey(231);
constexpr Rgb kBlue = Hex(0x3C82E0);
constexpr Rgb kGraphite = Hex(0x8C96A8);

// Alternating light and dark rows, two pixels to the period; light rows on
// even rows wherever the stripes start.
Rgb Stripe(int y, double light, double dark) {
    return Grey(int(y % 2 == 0 ? light : dark));
}

Rgb TitleRow(int y) {
    if (y <= 0) {
        return Grey(127);
    }
    if (y == 1) {
        return kWhite;
    }
    if (y == 21) {
        return Grey(200);
    }
    if (y >= 22) {
        return Grey(150);
    }
    const double t = (y - 2) / 18.0;
    return Stripe(y, 246 - 8 * t, 230 - 8 * t);
}

Canvas Title(int w) {
    Canvas c(w, 23);
    c.Fill(QRect(0, 0, w, 23), [](int, int y) { return TitleRow(y); });
    return c;
}

// The gel: a darker rim, a body that brightens towards the bottom, and a
// white reflection over the upper half.
void Gel(Canvas& c, const QRect& r, double radius, Rgb base, double shine = 0.85) {
    Face f;
    f.radius = radius;
    f.border = Darker(base, 0.42);
    f.fill = {{0.0, Darker(base, 0.12)}, {0.5, base}, {1.0, Lighter(base, 0.62)}};
    f.shineAlpha = shine;
    f.shineHeight = 0.48;
    f.shineInset = std::max(2.0, radius * 0.55);
    DrawFace(c, r, f);
}

void GelDisc(Canvas& c, double cx, double cy, double r, Rgb base, double shine = 0.85) {
    c.FillShape(Ellipse(cx, cy, r, r), Darker(base, 0.42));
    c.FillShape(Ellipse(cx, cy, r - 1, r - 1),
                VRamp({{0.0, Darker(base, 0.12)}, {0.5, base}, {1.0, Lighter(base, 0.62)}},
                      int(cy - r), int(2 * r)));
    const double top = cy - r + 1;
    c.FillShape(Ellipse(cx, cy - r * 0.42, r * 0.66, r * 0.44), [&c, top, r, shine](int x, int y) {
        return Mix(c.Get(x, y), kWhite, shine * std::max(0.0, 1.0 - (y + 0.5 - top) / r));
    });
}

enum State { Normal, Over, Down };

// Small dark symbols that show on a gel button under the pointer.
// clang-format off
const std::vector<std::string> kPlus = {"..#..", "..#..", "#####", "..#..", "..#.."};
const std::vector<std::string> kMinus = {".....", ".....", "#####", ".....", "....."};
const std::vector<std::string> kSquare = {"#####", "#...#", "#...#", "#...#", "#####"};
const std::vector<std::string> kQuery = {".###.", "#...#", "...#.", ".....", "..#.."};
const std::vector<std::string> kDown = {".....", "#####", ".###.", "..#..", "....."};
// clang-format on

Canvas TitleButton(TitleGlyph g, State s) {
    Rgb base = kGraphite;
    const std::vector<std::string>* mark = &kDown;
    switch (g) {
    case TitleGlyph::Menu:
        break;
    case TitleGlyph::Help:
        base = kBlue;
        mark = &kQuery;
        break;
    case TitleGlyph::Max:
        base = Hex(0x58B83C);
        mark = &kPlus;
        break;
    case TitleGlyph::Restore:
        base = Hex(0x58B83C);
        mark = &kSquare;
        break;
    case TitleGlyph::Min:
        base = Hex(0xF0B428);
        mark = &kMinus;
        break;
    case TitleGlyph::Close:
        base = Hex(0xE04A3C);
        mark = &glyph::kCloseSmall;
        break;
    }
    if (s == Down) {
        base = Darker(base, 0.3);
    }
    Canvas c(17, 17);
    c.Fill(QRect(0, 0, 17, 17), [](int, int y) { return TitleRow(y + 4); });
    GelDisc(c, 8.5, 8.5, 6.5, base, s == Down ? 0.55 : 0.85);
    if (s != Normal) {
        c.Stamp(6, 6, *mark, Darker(base, 0.7));
    }
    return c;
}

Canvas Button(State s) {
    Canvas c(84, 23, kFace);
    const QRect r(0, 0, 84, 23);
    if (s == Normal) {
        Face f;
        f.radius = 10;
        f.border = Grey(118);
        f.fill = {{0.0, Grey(226)}, {0.5, Grey(236)}, {1.0, kWhite}};
        f.shineAlpha = 0.9;
        f.shineHeight = 0.5;
        f.shineInset = 5;
        DrawFace(c, r, f);
    } else {
        Gel(c, r, 10, s == Over ? Hex(0x6CAAF0) : Hex(0x2C74D4), s == Over ? 0.85 : 0.6);
    }
    c.KeyOutside(FaceShape(r, 10), r);
    EvenMiddle(c);
    return c;
}

Canvas CheckBox(bool checked, bool enabled) {
    Canvas c(15, 17, kFace);
    const QRect box(1, 2, 13, 13);
    if (checked) {
        Gel(c, box, 3, enabled ? Hex(0x5C9CEC) : Hex(0xB4C6DC), enabled ? 0.8 : 0.5);
        c.Stamp(4, 5, glyph::kCheck, enabled ? Grey(16) : Grey(120));
    } else {
        Face f;
        f.radius = 3;
        f.border = enabled ? Grey(112) : Grey(176);
        f.fill = {
            {0.0, Grey(enabled ? 222 : 236)}, {0.5, Grey(enabled ? 236 : 242)}, {1.0, kWhite}};
        f.shineAlpha = 0.9;
        f.shineHeight = 0.5;
        DrawFace(c, box, f);
    }
    return c;
}

Canvas Radio(bool checked, bool enabled) {
    Canvas c(16, 17, kFace);
    const Shape outer = Ellipse(8, 8.5, 7, 7);
    if (checked) {
        GelDisc(c, 8, 8.5, 7, enabled ? Hex(0x5C9CEC) : Hex(0xB4C6DC), enabled ? 0.8 : 0.5);
        c.FillShape(Ellipse(8, 8.5, 2.4, 2.4), enabled ? Grey(20) : Grey(120));
    } else {
        c.FillShape(outer, enabled ? Grey(112) : Grey(176));
        c.FillShape(
            Ellipse(8, 8.5, 6, 6),
            VRamp({{0.0, Grey(enabled ? 222 : 236)}, {0.5, Grey(236)}, {1.0, kWhite}}, 2, 13));
        c.FillShape(Ellipse(8, 5.6, 4.2, 2.8), kWhite, 0.75);
    }
    c.KeyOutside(outer, QRect(0, 0, 16, 17));
    return c;
}

Canvas CheckListMark(bool checked, bool enabled) {
    Face f;
    f.radius = 2;
    f.border = enabled ? Grey(112) : Grey(176);
    f.fill = {{0.0, Grey(230)}, {1.0, kWhite}};
    Canvas c = BoxMark(10, 11, QRect(0, 1, 9, 9), f, kWhite, nullptr, kBlack);
    if (checked) {
        c.Stamp(2, 3, glyph::kCheckSmall, enabled ? Grey(16) : Grey(150));
    }
    return c;
}

// White gel arrows of the scroll bar, shaded across the bar.
Face ScrollFace(State s) {
    Face f;
    f.radius = 3;
    f.horizontal = true;
    f.border = s == Normal ? Grey(128) : Hex(0x3868B0);
    const Ramp tube = {{0.0, Grey(210)}, {0.45, kWhite}, {1.0, Grey(200)}};
    f.fill = s == Normal ? tube
             : s == Over ? tube.Toward(Hex(0x9CC8F8), 0.45)
                         : Ramp{{0.0, Hex(0x3C78D0)}, {0.45, Hex(0xA8D0FA)}, {1.0, Hex(0x3470CC)}};
    return f;
}

Canvas ScrollButton(bool up, State s) {
    return GlyphButton(16, 22, ScrollFace(s), up ? glyph::kArrowUp : MirrorY(glyph::kArrowUp),
                       s == Down ? kWhite : Grey(24), Solid(Grey(201)), true);
}

Canvas ScrollThumb() {
    Face f;
    f.radius = 6;
    f.border = Hex(0x1E4C9C);
    f.fill = {
        {0.0, Hex(0x3C7CD8)}, {0.45, Hex(0xA8D2FC)}, {0.55, Hex(0x94C4F8)}, {1.0, Hex(0x2E6CCC)}};
    return Thumb(33, 16, f, 1, Grey(201));
}

Canvas TrackSliderV() {
    Canvas c(19, 11, kFace);
    Gel(c, QRect(0, 0, 19, 11), 5, Hex(0x5C9CEC));
    return c;
}

Canvas Progress() {
    const int rows[10][3] = {{150, 196, 246}, {200, 226, 252}, {150, 196, 246}, {98, 158, 236},
                             {66, 130, 226},  {56, 122, 222},  {70, 138, 230},  {98, 164, 240},
                             {136, 194, 250}, {172, 216, 255}};
    Canvas c(13, 10);
    for (int y = 0; y < 10; ++y) {
        c.HLine(0, 12, y, Rgb{double(rows[y][0]), double(rows[y][1]), double(rows[y][2])});
    }
    return c;
}

// Left and right arrows for tab scrolling: left, left pressed, right, right
// pressed.
Canvas ScrollButtons() {
    std::vector<Canvas> s;
    for (bool left : {true, false}) {
        for (bool down : {false, true}) {
            Canvas c(18, 18, kFace);
            if (down) {
                Gel(c, QRect(0, 0, 18, 18), 4, Hex(0x4C8CE4), 0.6);
            } else {
                Face f;
                f.radius = 4;
                f.border = Grey(118);
                f.fill = {{0.0, Grey(226)}, {0.5, Grey(236)}, {1.0, kWhite}};
                f.shineAlpha = 0.9;
                f.shineHeight = 0.5;
                DrawFace(c, QRect(0, 0, 18, 18), f);
            }
            CentreGlyph(c, QRect(0, 0, 18, 18),
                        Transpose(left ? glyph::kArrowUp : MirrorY(glyph::kArrowUp)),
                        down ? kWhite : Grey(24));
            s.push_back(c);
        }
    }
    return Strip(s);
}

Canvas Tab(bool selected) {
    Canvas c(18, 27, kFace);
    Face f;
    f.radius = 5;
    f.border = Grey(118);
    if (selected) {
        f.border = Hex(0x245CAC);
        f.fill = {{0.0, Hex(0x4C8CE4)}, {0.5, Hex(0x78B0F0)}, {1.0, Hex(0xC0E0FF)}};
    } else {
        f.fill = {{0.0, Grey(226)}, {0.5, Grey(238)}, {1.0, kWhite}};
    }
    f.shineAlpha = 0.85;
    f.shineHeight = 0.4;
    f.shineInset = 3;
    DrawFace(c, QRect(0, 0, 18, 33), f);
    if (!selected) {
        c.HLine(0, 17, 26, Grey(118));
    }
    EvenMiddle(c);
    return c;
}

Canvas TabLine() {
    Canvas c(17, 7);
    const int rows[7] = {140, 252, 246, 240, 236, 232, 176};
    for (int y = 0; y < 7; ++y) {
        c.HLine(0, 16, y, Grey(rows[y]));
    }
    return c;
}

Canvas SideHandle() {
    Face f;
    f.radius = 3;
    f.horizontal = true;
    f.border = Grey(100);
    f.fill = {{0.0, Grey(170)}, {0.45, Grey(236)}, {1.0, Grey(160)}};
    Canvas c = FaceSlice(7, 84, f, Solid(kFace), false);
    for (int y = 30; y <= 54; y += 3) {
        if (y >= 38 && y <= 46) {
            continue;
        }
        c.HLine(2, 4, y, Grey(110));
        c.HLine(2, 4, y + 1, kWhite);
    }
    c.Stamp(2, 39, {"#..", "##.", "###", "##.", "#.."}, Grey(48));
    return c;
}

Canvas SideBar() {
    return Canvas::Column(1, 21, [](int, int y) {
        static const Ramp body = {
            {0.0, Grey(250)}, {0.45, Grey(236)}, {0.46, Grey(224)}, {1.0, Grey(242)}};
        if (y == 0) {
            return Grey(127);
        }
        if (y == 20) {
            return Grey(160);
        }
        return body.At((y - 1) / 18.0);
    });
}

Canvas FormBackground() {
    Canvas c(8, 8);
    c.Fill(QRect(0, 0, 8, 8), [](int, int y) { return Stripe(y, 236, 226); });
    return c;
}

// Menu bar and drop-down background: pinstripes over the 20 rows an item
// uses, then the bar's lower edge.
Canvas MenuBar() {
    return Canvas::Column(1, 22, [](int, int y) {
        if (y == 20) {
            return Grey(196);
        }
        if (y == 21) {
            return Grey(140);
        }
        return Stripe(y, 250, 240);
    });
}

Canvas MenuSelect() {
    return Canvas::Column(1, 21,
                          VRamp({{0.0, Hex(0x7CAEEE)},
                                 {0.1, Hex(0x5C94E0)},
                                 {0.5, Hex(0x3973C4)},
                                 {0.55, Hex(0x2E66BA)},
                                 {1.0, Hex(0x5A9AE8)}},
                                0, 21));
}

Canvas ComboButton() {
    Canvas c(16, 17, kWhite);
    Gel(c, QRect(0, 0, 16, 17), 4, Hex(0x4C8CE4));
    c.Stamp(5, 4, glyph::kArrowUpSmall, kWhite);
    c.Stamp(5, 10, MirrorY(glyph::kArrowUpSmall), kWhite);
    return c;
}

} // namespace

void AddMacOS(Catalogue& cat) {
    const std::string p = "MACOS_";
    cat.Add(kGroup, p + "BUTTON", Strip({Button(Normal), Button(Over), Button(Down)}), 3);
    cat.Add(kGroup, p + "CHECKBOX",
            Strip({CheckBox(true, true), CheckBox(false, true), CheckBox(true, false),
                   CheckBox(false, false)}),
            4);
    cat.Add(kGroup, p + "RADIOBUTTON",
            Strip({Radio(true, true), Radio(false, true), Radio(true, false), Radio(false, false)}),
            4);
    std::vector<Canvas> buttons;
    for (TitleGlyph g : kTitleOrder) {
        for (State s : {Normal, Over, Down}) {
            buttons.push_back(TitleButton(g, s));
        }
    }
    cat.Add(kGroup, p + "TITLEBTN", Strip(buttons), 18);
    cat.Add(kGroup, p + "TITLE_LEFT", Title(48));
    cat.Add(kGroup, p + "TITLE_CLIENT", Title(49));
    cat.Add(kGroup, p + "TITLE_RIGHT", Title(48));
    cat.Add(kGroup, p + "PROGRESSBAR", Progress());
    cat.Add(kGroup, p + "TRACKBAR_BAR",
            Groove(45, {Grey(120), Grey(168), Grey(212), Grey(236), Grey(252)}));
    cat.Add(kGroup, p + "TRACKBAR_SLIDER",
            Pointer(11, 20, Hex(0x1E4C9C),
                    {{0.0, Hex(0xB4D6FC)}, {0.45, Hex(0x5C9CEC)}, {1.0, Hex(0xA4D0FC)}},
                    Hex(0xE4F0FE), kFace));
    cat.Add(kGroup, p + "TRACKBAR_SLIDER_V", TrackSliderV());
    std::vector<Canvas> arrows;
    for (bool up : {true, false}) {
        for (State s : {Normal, Over, Down}) {
            arrows.push_back(ScrollButton(up, s));
        }
    }
    cat.Add(kGroup, p + "SCROLLBAR_BUTTON", Strip(arrows), 6);
    cat.Add(kGroup, p + "SCROLLBAR_TRACK", ScrollThumb(), 3);
    cat.Add(kGroup, p + "CHECKLIST",
            Strip({CheckListMark(true, true), CheckListMark(false, true),
                   CheckListMark(true, false), CheckListMark(false, false)}),
            4);
    cat.Add(kGroup, p + "SCROLLBUTTON", ScrollButtons(), 4);
    cat.Add(kGroup, p + "TAB", Strip({Tab(false), Tab(true)}), 2);
    cat.Add(kGroup, p + "TAB_LINE", TabLine());
    cat.Add(kGroup, p + "SIDECHENNEL_HANDLE", SideHandle());
    cat.Add(kGroup, p + "SIDECHENNEL_BAR", SideBar());
    cat.Add(kGroup, p + "FORM_BACKGROUND", FormBackground());
    cat.Add(kGroup, p + "MENU_BAR", MenuBar());
    cat.Add(kGroup, p + "MENU_SELECT", MenuSelect());
    cat.Add(kGroup, p + "COMBOBOX_BUTTON", ComboButton());
}

} // namespace art
