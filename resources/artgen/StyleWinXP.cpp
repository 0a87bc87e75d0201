// WinXP: the rounded, saturated blue title bar of that era, beige faces,
// green marks and orange hover rings.
#include "resources/artgen/Art.h"

namespace art {
namespace {

const char* const kGroup = "WinXP";
constexpr Rgb kFace = Hex(0xEFEBDE);
constexpr Rgb kEdge = Hex(0x003C74); // push-button and box outline
constexpr Rgb kBoxEdge = Hex(0x1C5180);
constexpr Rgb kGreen = Hex(0x21A121);
constexpr Rgb kArrowInk = Hex(0x4D6185);

// 29 rows: a bright top edge, a glossy crown, the deep body and a dark base.
Rgb TitleRow(int y) {
    static const Ramp body = {{0.0, Hex(0x0040D8)},  {0.035, Hex(0x3C8CFC)}, {0.07, Hex(0x5CA4FF)},
                              {0.14, Hex(0x2C86FC)}, {0.3, Hex(0x0A6CF0)},   {0.6, Hex(0x005CE4)},
                              {0.86, Hex(0x0054DC)}, {0.93, Hex(0x004CD0)},  {1.0, Hex(0x0030A4)}};
    return body.At(y / 28.0);
}

Canvas Title(int w, int shade) {
    Canvas c(w, 29);
    c.Fill(QRect(0, 0, w, 29), [](int, int y) { return TitleRow(y); });
    // The ends of the bar curve away: darken the outer columns a little.
    for (int i = 0; i < 5 && shade != 0; ++i) {
        const int x = shade < 0 ? i : w - 1 - i;
        for (int y = 1; y < 28; ++y) {
            c.Set(x, y, Darker(c.Get(x, y), 0.05 * (5 - i)));
        }
    }
    return c;
}

enum State { Normal, Over, Down };

Canvas TitleButton(TitleGlyph g, State s) {
    const bool close = g == TitleGlyph::Close;
    Face f;
    f.radius = 3.5;
    f.border = Hex(0xEEF4FF);
    f.ring = true;
    Ramp fill = close ? Ramp{{0.0, Hex(0xF0A488)}, {0.3, Hex(0xE2704C)}, {1.0, Hex(0xC83C18)}}
                      : Ramp{{0.0, Hex(0x7CB4FF)}, {0.3, Hex(0x3C8CFC)}, {1.0, Hex(0x145CE4)}};
    Ramp ring = close ? Ramp{{0.0, Hex(0xF8C8B4)}, {1.0, Hex(0xD85C38)}}
                      : Ramp{{0.0, Hex(0xB0D2FF)}, {1.0, Hex(0x2C74F0)}};
    if (s == Over) {
        fill = fill.Toward(kWhite, 0.25);
        ring = ring.Toward(kWhite, 0.3);
    } else if (s == Down) {
        fill = Ramp{{0.0, close ? Hex(0x9C2C10) : Hex(0x0840B0)},
                    {1.0, close ? Hex(0xD05834) : Hex(0x2C74F0)}};
        ring = Ramp(close ? Hex(0xA03818) : Hex(0x1850C0));
    }
    f.fill = fill;
    f.ringRamp = ring;
    Canvas c = FaceSlice(
        21, 21, f, [](int, int y) { return TitleRow(y + 5); }, false);
    const int shift = s == Down ? 1 : 0;
    CentreGlyph(c, QRect(shift, shift, 21, 21), GlyphFor(g), kWhite, Hex(0x00207C), 0.35);
    return c;
}

Canvas Button(State s) {
    Face f;
    f.radius = 3;
    f.border = kEdge;
    f.ring = true;
    switch (s) {
    case Normal:
        f.ringRamp = {{0.0, kWhite}, {1.0, Hex(0xD6D0C5)}};
        f.fill = {{0.0, kWhite}, {0.7, Hex(0xF0EFEA)}, {1.0, Hex(0xDCD8CC)}};
        break;
    case Over:
        f.ringRamp = {{0.0, Hex(0xFFF0CF)}, {0.4, Hex(0xF9C864)}, {1.0, Hex(0xE59700)}};
        f.fill = {{0.0, kWhite}, {0.7, Hex(0xF4F3EE)}, {1.0, Hex(0xE2DED4)}};
        break;
    case Down:
        f.ringRamp = {{0.0, Hex(0xD1CCC1)}, {1.0, Hex(0xF0EFEA)}};
        f.fill = {{0.0, Hex(0xE0DED6)}, {0.5, Hex(0xE6E4DC)}, {1.0, Hex(0xF2F1EC)}};
        break;
    }
    Canvas c = FaceSlice(18, 21, f, Solid(kFace), false);
    if (s == Over) {
        // The hover ring is two pixels wide.
        for (int y = 3; y < 18; ++y) {
            c.Set(2, y, Hex(0xF8C060));
            c.Set(15, y, Hex(0xF0B040));
        }
        c.HLine(3, 14, 2, Hex(0xFCE2A8));
        c.HLine(3, 14, 18, Hex(0xEBA818));
    }
    EvenMiddle(c);
    return c;
}

// Boxes shade from a grey top-left to white at the bottom right.
Paint Diagonal(Rgb from, Rgb to, int size) {
    return [from, to, size](int x, int y) { return Mix(from, to, double(x + y) / (2.0 * size)); };
}

Canvas CheckBox(bool checked, bool enabled) {
    Canvas c(13, 13, kFace);
    c.Frame(QRect(0, 0, 13, 13), enabled ? kBoxEdge : Hex(0xCAC8BB));
    c.Fill(QRect(1, 1, 11, 11),
           enabled ? Diagonal(Hex(0xDCDCD7), kWhite, 11) : Solid(Hex(0xF5F4EA)));
    if (checked) {
        c.Stamp(3, 3, glyph::kCheck, enabled ? kGreen : Hex(0xCAC8BB));
    }
    return c;
}

Canvas Radio(bool checked, bool enabled) {
    RoundLook look;
    look.ring = enabled ? Hex(0x1C5180) : Hex(0xCAC8BB);
    look.fill = enabled ? Ramp{{0.0, Hex(0xDCDCD7)}, {1.0, kWhite}} : Ramp(Hex(0xF5F4EA));
    if (checked) {
        look.dotRadius = 2.6;
        look.dot = enabled ? Ramp{{0.0, Hex(0x70D85C)}, {1.0, Hex(0x1E9A1E)}} : Ramp(Hex(0xCAC8BB));
        look.hasDotShine = enabled;
        look.dotShine = Hex(0xC8F4BC);
    }
    return RoundMark(13, 13, 6.5, 6.5, 6.5, look, kFace);
}

Canvas CheckListMark(bool checked, bool enabled) {
    Canvas c(11, 11, kWhite);
    c.Frame(QRect(0, 0, 11, 11), enabled ? kBoxEdge : Hex(0xCAC8BB));
    c.Fill(QRect(1, 1, 9, 9), enabled ? Diagonal(Hex(0xDCDCD7), kWhite, 9) : Solid(Hex(0xF5F4EA)));
    if (checked) {
        c.Stamp(3, 3, glyph::kCheckSmall, enabled ? kGreen : Hex(0xCAC8BB));
    }
    return c;
}

Face ScrollFace(State s) {
    Face f;
    f.radius = 2.5;
    f.ring = true;
    f.horizontal = true;
    f.border = s == Down ? Hex(0x6E88C8) : Hex(0xB4C8F6);
    f.ringRamp = Ramp(s == Down ? Hex(0x8CA4E0) : kWhite);
    const Ramp face = {{0.0, Hex(0xD8E4FC)}, {0.5, Hex(0xC6D4F8)}, {1.0, Hex(0xB4C8F4)}};
    f.fill = s == Normal ? face
             : s == Over ? face.Toward(kWhite, 0.4)
                         : Ramp{{0.0, Hex(0x98B0EC)}, {1.0, Hex(0xAEC2F0)}};
    return f;
}

Canvas ScrollButton(bool up, State s) {
    return GlyphButton(16, 17, ScrollFace(s), up ? glyph::kChevronUp : MirrorY(glyph::kChevronUp),
                       kArrowInk, Solid(Grey(249)), true, up ? -1 : 0);
}

Canvas ScrollThumb() {
    Face f = ScrollFace(Normal);
    f.horizontal = false;
    f.border = Hex(0x98B0E8);
    f.fill = {{0.0, Hex(0xD8E4FC)}, {0.5, Hex(0xC6D4F8)}, {1.0, Hex(0xB8CAF4)}};
    return Thumb(21, 16, f, 0, Grey(249));
}

Canvas TrackSliderV() {
    Canvas c(22, 11, kFace);
    Face f;
    f.radius = 2;
    f.border = Hex(0x7088B8);
    f.fill = {{0.0, kWhite}, {1.0, Hex(0xE4E2D8)}};
    DrawFace(c, QRect(0, 0, 22, 11), f);
    for (int y = 2; y < 9; ++y) {
        c.Set(1, y, Hex(0x4CC43C));
        c.Set(20, y, Hex(0x2CA02C));
    }
    return c;
}

Canvas TrackSlider() {
    Canvas c = Pointer(11, 21, Hex(0x7088B8), {{0.0, kWhite}, {1.0, Hex(0xE4E2D8)}}, kWhite, kFace);
    c.HLine(2, 8, 1, Hex(0x4CC43C));
    c.HLine(1, 9, 2, Hex(0x2CA02C));
    return c;
}

Canvas Progress() {
    const unsigned rows[10] = {0xC2F2B8, 0x98E488, 0x6CD45C, 0x48C83A, 0x34BE26,
                               0x30BA22, 0x40C232, 0x5CCC4C, 0x86DA78, 0xB4EAA8};
    Canvas c(6, 10);
    for (int y = 0; y < 10; ++y) {
        c.HLine(0, 5, y, Hex(rows[y]));
    }
    return c;
}

Canvas ScrollButtons() {
    std::vector<Canvas> s;
    for (bool left : {true, false}) {
        for (bool down : {false, true}) {
            Face f = ScrollFace(down ? Down : Normal);
            f.horizontal = false;
            s.push_back(GlyphButton(
                18, 18, f, Transpose(left ? glyph::kChevronUp : MirrorY(glyph::kChevronUp)),
                kArrowInk, Solid(kFace), false));
        }
    }
    return Strip(s);
}

Canvas Tab(bool selected) {
    Face f;
    f.radius = 2;
    f.border = Hex(0x919B9C);
    f.fill = selected ? Ramp(Hex(0xFCFCFE)) : Ramp{{0.0, kWhite}, {1.0, Hex(0xECEBE6)}};
    Canvas c = TabSlice(9, 18, f, selected, kFace);
    if (selected) {
        c.HLine(2, 6, 0, Hex(0xE68B2C));
        c.HLine(1, 7, 1, Hex(0xFFC73C));
        c.HLine(1, 7, 2, Hex(0xFFD25A));
    }
    EvenMiddle(c);
    return c;
}

Canvas SideHandle() {
    Face f;
    f.radius = 3;
    f.ring = true;
    f.horizontal = true;
    f.border = Hex(0x8CA4E0);
    f.ringRamp = Ramp(kWhite);
    f.fill = {{0.0, Hex(0xE0E8FC)}, {1.0, Hex(0xBCCCF4)}};
    Canvas c = FaceSlice(8, 86, f, Solid(kFace), false);
    c.Stamp(2, 38, Transpose(MirrorY(glyph::kChevronUp)), kArrowInk);
    return c;
}

Canvas SideBar() {
    return Canvas::Column(1, 21, [](int, int y) {
        if (y == 0) {
            return Grey(104);
        }
        return VRamp({{0.0, kWhite}, {1.0, Hex(0xC6D3F7)}}, 1, 20)(0, y);
    });
}

Canvas ComboButton() {
    Face f = ScrollFace(Normal);
    return GlyphButton(16, 18, f, MirrorY(glyph::kChevronUp), kArrowInk, Solid(kWhite), false);
}

} // namespace

void AddWinXP(Catalogue& cat) {
    const std::string p = "WINXP_";
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
    cat.Add(kGroup, p + "TITLE_LEFT", Title(35, -1));
    cat.Add(kGroup, p + "TITLE_CLIENT", Title(37, 0));
    cat.Add(kGroup, p + "TITLE_RIGHT", Title(35, 1));
    cat.Add(kGroup, p + "PROGRESSBAR", Progress());
    cat.Add(kGroup, p + "TRACKBAR_BAR",
            Groove(45, {Hex(0x9D9C99), Hex(0xD8D6CE), Hex(0xECEBE6), Hex(0xF4F3EE), Hex(0xF4F3EE),
                        Hex(0xF8F8F6), kWhite, kWhite}));
    cat.Add(kGroup, p + "TRACKBAR_SLIDER", TrackSlider());
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
    Canvas line(8, 1, Hex(0x919B9C));
    cat.Add(kGroup, p + "TAB_LINE", line);
    cat.Add(kGroup, p + "SIDECHENNEL_HANDLE", SideHandle());
    cat.Add(kGroup, p + "SIDECHENNEL_BAR", SideBar());
    cat.Add(kGroup, p + "COMBOBOX_BUTTON", ComboButton());
}

} // namespace art
