// Protein: light and flat. Flat blue title bar with a ribbon of slanted
// stripes, white faces with thin grey lines, blue for selection.
#include "resources/artgen/Art.h"

namespace art {
namespace {

const char* const kGroup = "Protein";
constexpr Rgb kFace = Grey(251);
constexpr Rgb kBlue = Hex(0x4A6ED6);
constexpr Rgb kBar = Hex(0x3654B4); // the title bar body
constexpr Rgb kLine = Hex(0xB4BCCC);
constexpr Rgb kInk = Hex(0x2C3C8C);

Rgb TitleRow(int y) {
    if (y <= 0) {
        return Hex(0x101A40);
    }
    if (y == 1) {
        return Hex(0x5C7CD4);
    }
    if (y >= 22) {
        return Hex(0x1C2C74);
    }
    return Mix(Hex(0x3A58BA), Hex(0x3250B0), (y - 2) / 19.0);
}

// The left image is wide: past the caption it carries flat slanted stripes,
// lighter towards the right, then settles to the plain bar colour.
Canvas TitleLeft() {
    Canvas c(441, 23);
    c.Fill(QRect(0, 0, 441, 23), [](int, int y) { return TitleRow(y); });
    // Clear of the program's caption, and ending inside the image so the
    // stretched client part continues plain.
    for (int i = 0; i < 4; ++i) {
        const double x0 = 372 + i * 13;
        const Shape stripe = Polygon({{x0, 22}, {x0 + 7, 22}, {x0 + 25, 2}, {x0 + 18, 2}});
        c.FillShape(stripe, Lighter(kBar, 0.07 + 0.04 * i));
    }
    return c;
}

Canvas Title(int w) {
    Canvas c(w, 23);
    c.Fill(QRect(0, 0, w, 23), [](int, int y) { return TitleRow(y); });
    return c;
}

enum State { Normal, Over, Down };

// Flat buttons: in the normal state only the glyph shows on the bar.
Canvas TitleButton(TitleGlyph g, State s) {
    const bool close = g == TitleGlyph::Close;
    Canvas c(19, 19);
    c.Fill(QRect(0, 0, 19, 19), [](int, int y) { return TitleRow(y + 2); });
    const Shape box = RoundRect(1, 1, 17, 17, 2);
    if (s == Over) {
        c.FillShape(box, close ? Hex(0xD8463A) : Hex(0x5C80DC));
    } else if (s == Down) {
        c.FillShape(box, close ? Hex(0x9C2418) : Hex(0x1C2E78));
    }
    const int shift = s == Down ? 1 : 0;
    CentreGlyph(c, QRect(shift, shift, 19, 19), GlyphFor(g), kWhite);
    if (s == Normal) {
        // Everything but the glyph is keyed, so the bar shows through.
        for (int y = 0; y < 19; ++y) {
            for (int x = 0; x < 19; ++x) {
                if (ToQRgb(c.Get(x, y)) != ToQRgb(kWhite)) {
                    c.Set(x, y, kKey);
                }
            }
        }
    } else {
        c.KeyOutside(box, QRect(0, 0, 19, 19));
    }
    return c;
}

Canvas Button(State s) {
    Face f;
    f.radius = 2;
    switch (s) {
    case Normal:
        f.border = Hex(0x9CA6BA);
        f.fill = {{0.0, kWhite}, {1.0, Hex(0xF2F4F8)}};
        break;
    case Over:
        f.border = kBlue;
        f.fill = {{0.0, Hex(0xF2F6FF)}, {1.0, Hex(0xE2EAFC)}};
        break;
    case Down:
        f.border = Hex(0x2C48A4);
        f.fill = Ramp(Hex(0xCAD8F8));
        break;
    }
    Canvas c = FaceSlice(74, 21, f, Solid(kFace), false);
    EvenMiddle(c);
    return c;
}

Canvas Box(int size, bool checked, bool enabled, Rgb bg, const std::vector<std::string>& g) {
    Canvas c(size, size, bg);
    c.Fill(QRect(0, 0, size, size), enabled ? kWhite : Grey(242));
    c.Frame(QRect(0, 0, size, size), enabled ? Hex(0x8C96AC) : Grey(200));
    if (checked) {
        CentreGlyph(c, QRect(0, 0, size, size), g, enabled ? kBlue : Grey(180));
    }
    return c;
}

Canvas Radio(bool checked, bool enabled) {
    RoundLook look;
    look.ring = enabled ? Hex(0x8C96AC) : Grey(200);
    look.fill = Ramp(enabled ? kWhite : Grey(242));
    if (checked) {
        look.dotRadius = 2.8;
        look.dot = Ramp(enabled ? kBlue : Grey(180));
    }
    return RoundMark(13, 13, 6.5, 6.5, 6.5, look, kFace);
}

Face ScrollFace(State s) {
    Face f;
    f.radius = 2;
    f.border = s == Normal ? Hex(0xC4CAD6) : s == Over ? kBlue : Hex(0x2C48A4);
    f.fill = Ramp(s == Normal ? Hex(0xEEF0F4) : s == Over ? Hex(0xE2EAFC) : kBlue);
    return f;
}

Canvas ScrollButton(bool up, State s) {
    return GlyphButton(16, 16, ScrollFace(s), up ? glyph::kArrowUp : MirrorY(glyph::kArrowUp),
                       s == Normal ? Hex(0x606A80)
                       : s == Over ? kInk
                                   : kWhite,
                       Solid(Grey(245)), true, up ? -1 : 0);
}

Canvas ScrollThumb() {
    Face f;
    f.radius = 2;
    f.border = Hex(0x8C9ABC);
    f.fill = Ramp(Hex(0xC2CCE6));
    return Thumb(21, 16, f, 1, Grey(245));
}

Canvas Tab(bool selected) {
    Face f;
    f.radius = 1.5;
    f.border = kLine;
    f.fill = Ramp(selected ? kWhite : Hex(0xEEF0F4));
    Canvas c = TabSlice(9, 17, f, selected, kFace);
    if (selected) {
        c.HLine(1, 7, 1, kBlue);
        c.HLine(1, 7, 2, kBlue);
    }
    EvenMiddle(c);
    return c;
}

Canvas TabLine() {
    Canvas c(10, 5, kWhite);
    c.HLine(0, 9, 0, kLine);
    return c;
}

Canvas SideHandle() {
    Face f;
    f.radius = 2;
    f.border = Hex(0x2C48A4);
    f.fill = Ramp(kBlue);
    Canvas c = FaceSlice(8, 83, f, Solid(kFace), false);
    c.Stamp(3, 39, {"#..", "##.", "###", "##.", "#.."}, kWhite);
    return c;
}

Canvas SideBar() {
    return Canvas::Column(1, 21, [](int, int y) {
        if (y == 0) {
            return Hex(0x101A40);
        }
        if (y == 20) {
            return Hex(0x2C44A0);
        }
        return Mix(Hex(0x4C70D8), Hex(0x4466CE), (y - 1) / 18.0);
    });
}

Canvas FormBackground() {
    Canvas c(8, 8, kFace);
    for (int i = 0; i < 8; ++i) {
        c.Set(i, 7 - i, Hex(0xF2F4F8));
    }
    return c;
}

} // namespace

void AddProtein(Catalogue& cat) {
    const std::string p = "PROTEIN_";
    cat.Add(kGroup, p + "BUTTON", Strip({Button(Normal), Button(Over), Button(Down)}), 3);
    std::vector<Canvas> boxes;
    std::vector<Canvas> marks;
    for (bool enabled : {true, false}) {
        for (bool checked : {true, false}) {
            boxes.push_back(Box(13, checked, enabled, kFace, glyph::kCheck));
            marks.push_back(Box(11, checked, enabled, kWhite, glyph::kCheckSmall));
        }
    }
    cat.Add(kGroup, p + "CHECKBOX", Strip(boxes), 4);
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
    cat.Add(kGroup, p + "TITLE_LEFT", TitleLeft());
    cat.Add(kGroup, p + "TITLE_CLIENT", Title(1));
    cat.Add(kGroup, p + "TITLE_RIGHT", Title(1));
    cat.Add(kGroup, p + "PROGRESSBAR", Canvas::Column(1, 10, [](int, int y) {
                return y == 0 ? Hex(0x8CA6EC) : y == 9 ? Hex(0x3454B8) : kBlue;
            }));
    cat.Add(kGroup, p + "TRACKBAR_BAR",
            Groove(45, {Hex(0x9CA6BA), Hex(0xDCE0E8), Hex(0xDCE0E8), kWhite}));
    cat.Add(kGroup, p + "TRACKBAR_SLIDER",
            Pointer(11, 20, Hex(0x2C48A4), Ramp(kBlue), Hex(0x7C98E4), kFace));
    {
        Face f;
        f.radius = 2;
        f.border = Hex(0x2C48A4);
        f.fill = Ramp(kBlue);
        cat.Add(kGroup, p + "TRACKBAR_SLIDER_V", FaceSlice(18, 11, f, Solid(kFace), false));
    }
    std::vector<Canvas> arrows;
    for (bool up : {true, false}) {
        for (State s : {Normal, Over, Down}) {
            arrows.push_back(ScrollButton(up, s));
        }
    }
    cat.Add(kGroup, p + "SCROLLBAR_BUTTON", Strip(arrows), 6);
    cat.Add(kGroup, p + "SCROLLBAR_TRACK", ScrollThumb(), 3);
    cat.Add(kGroup, p + "CHECKLIST", Strip(marks), 4);
    cat.Add(kGroup, p + "TAB", Strip({Tab(false), Tab(true)}), 2);
    cat.Add(kGroup, p + "TAB_LINE", TabLine());
    cat.Add(kGroup, p + "SIDECHENNEL_HANDLE", SideHandle());
    cat.Add(kGroup, p + "SIDECHENNEL_BAR", SideBar());
    cat.Add(kGroup, p + "FORM_BACKGROUND", FormBackground());
}

} // namespace art
