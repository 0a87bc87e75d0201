// BlueGlass: glossy blue glass title bar and buttons on a 0xE7E7E7 face.
#include <algorithm>

#include "resources/artgen/Art.h"

namespace art {
namespace {

const char* const kGroup = "BlueGlass";
constexpr Rgb kFace = Grey(231);
constexpr Rgb kScrollBack = Grey(244);
constexpr Rgb kInk = Hex(0x1C3A80);     // glyphs on light glass
constexpr Rgb kOutline = Hex(0x0E1E46); // the darkest edge of the glass

// The title bar, top to bottom (33 rows): dark rim, highlight, gloss, a hard
// step into the deep half, a glow near the bottom and a dark base line.
Rgb TitleRow(int y) {
    static const Ramp body = {{0.0, Hex(0x7AA6EC)},
                              {0.46, Hex(0x4E84D4)},
                              {0.46, Hex(0x2558B4)},
                              {0.82, Hex(0x1F4AA2)},
                              {1.0, Hex(0x3468C4)}};
    if (y <= 0) {
        return kOutline;
    }
    if (y == 1) {
        return Hex(0xB4CCF4);
    }
    if (y >= 32) {
        return Hex(0x10244E);
    }
    return body.At((y - 2) / 29.0);
}

Canvas Title(int w) {
    Canvas c(w, 33);
    c.Fill(QRect(0, 0, w, 33), [](int, int y) { return TitleRow(y); });
    return c;
}

// A soft reflection behind the control box, fading out long before the right
// end so the left image meets the stretched client image seamlessly.
void Sheen(Canvas& c) {
    const Shape s = Ellipse(18, 2, 70, 13);
    c.FillShape(s, [&c](int x, int y) {
        const double fade = std::max(0.0, 1.0 - x / 88.0);
        return Mix(c.Get(x, y), kWhite, 0.22 * fade * (y < 17 ? 1.0 : 0.0));
    });
}

// The window is cut to rounded top corners and outlined by arcs of radius
// 11; outside the arcs the title images take the rim colour, so the corner
// reads as one dark edge however much of it the window shape keeps.
void RoundTop(Canvas& left, Canvas& right) {
    const int rw = right.Width();
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 11; ++x) {
            const double dx = x + 0.5 - 10.5;
            const double dy = y + 0.5 - 10.5;
            if (dx * dx + dy * dy > 11.0 * 11.0) {
                left.Set(x, y, kOutline);
                right.Set(rw - 1 - x, y, kOutline);
            }
        }
    }
}

enum State { Normal, Over, Down };

Face GlassFace(State s, bool red) {
    Face f;
    f.radius = 4;
    f.border = kOutline;
    f.ring = true;
    if (red) {
        f.fill = {{0.0, Hex(0xF0A08C)},
                  {0.45, Hex(0xDC6A52)},
                  {0.46, Hex(0xB42A18)},
                  {1.0, Hex(0xE0664A)}};
        f.ringRamp = {{0.0, Hex(0xFCD2C6)}, {1.0, Hex(0xE88A70)}};
    } else {
        f.fill = {{0.0, Hex(0x9CC0F4)},
                  {0.45, Hex(0x6C9CE4)},
                  {0.46, Hex(0x2E64C0)},
                  {1.0, Hex(0x5A92E2)}};
        f.ringRamp = {{0.0, Hex(0xD4E4FC)}, {1.0, Hex(0x7AA8EC)}};
    }
    if (s == Over) {
        f.fill = f.fill.Toward(kWhite, 0.28);
        f.ringRamp = f.ringRamp.Toward(kWhite, 0.4);
    } else if (s == Down) {
        f.fill = f.fill.Toward(Hex(0x0A1A40), 0.42);
        f.ringRamp = f.ringRamp.Toward(Hex(0x0A1A40), 0.55);
    }
    return f;
}

Canvas TitleButton(TitleGlyph g, State s) {
    const bool red = g == TitleGlyph::Close;
    Canvas c = FaceSlice(
        19, 19, GlassFace(s, red), [](int, int y) { return TitleRow(y + 6); }, true);
    const int shift = s == Down ? 1 : 0;
    CentreGlyph(c, QRect(shift, shift, 19, 19), GlyphFor(g), kWhite, kOutline, 0.55);
    return c;
}

Face ButtonFace(State s) {
    Face f;
    f.radius = 4;
    f.ring = true;
    switch (s) {
    case Normal:
        f.border = Hex(0x66768F);
        f.ringRamp = {{0.0, kWhite}, {1.0, Hex(0xF0F4FA)}};
        f.fill = {{0.0, Hex(0xFCFDFF)},
                  {0.47, Hex(0xEDF1F7)},
                  {0.48, Hex(0xD9E1EE)},
                  {0.85, Hex(0xE3EAF4)},
                  {1.0, Hex(0xF0F5FB)}};
        break;
    case Over:
        f.border = Hex(0x3A6EBE);
        f.ringRamp = {{0.0, kWhite}, {1.0, Hex(0xD2E6FA)}};
        f.fill = {{0.0, Hex(0xF0F7FF)},
                  {0.47, Hex(0xD8EAFC)},
                  {0.48, Hex(0xB0D2F4)},
                  {0.85, Hex(0xC4E0FA)},
                  {1.0, Hex(0xDCEEFF)}};
        break;
    case Down:
        f.border = Hex(0x234C8C);
        f.ringRamp = {{0.0, Hex(0x8EAED6)}, {1.0, Hex(0xA8C6EA)}};
        f.fill = {{0.0, Hex(0xAEC8E8)},
                  {0.47, Hex(0x9EBDE4)},
                  {0.48, Hex(0x7EA6D8)},
                  {0.85, Hex(0x8CB4E0)},
                  {1.0, Hex(0xA2C4EA)}};
        break;
    }
    return f;
}

Canvas Button(State s) {
    Canvas c = FaceSlice(77, 27, ButtonFace(s), Solid(kFace), true);
    EvenMiddle(c);
    return c;
}

// Check box (opaque) and radio button (keyed) marks, 13 x 13.
Canvas CheckBox(bool checked, bool enabled) {
    Face f;
    f.radius = 2;
    f.ring = true;
    f.border = enabled ? Hex(0x52688A) : Grey(172);
    f.ringRamp = {{0.0, kWhite}, {1.0, enabled ? Hex(0xE6ECF4) : Grey(238)}};
    f.fill = enabled ? Ramp{{0.0, Hex(0xFAFBFD)},
                            {0.5, Hex(0xEEF2F8)},
                            {0.51, Hex(0xDCE4F0)},
                            {1.0, Hex(0xEAF0F8)}}
                     : Ramp{{0.0, Grey(244)}, {1.0, Grey(230)}};
    Canvas c = FaceSlice(13, 13, f, Solid(kFace), false);
    if (checked) {
        c.Stamp(3, 3, glyph::kCheck, enabled ? kInk : Grey(150));
    }
    return c;
}

Canvas Radio(bool checked, bool enabled) {
    Canvas c(13, 13, kFace);
    const Shape outer = Ellipse(6.5, 6.5, 6.5, 6.5);
    c.FillShape(outer, enabled ? Hex(0x52688A) : Grey(172));
    c.FillShape(Ellipse(6.5, 6.5, 5.5, 5.5), enabled ? kWhite : Grey(246));
    c.FillShape(Ellipse(6.5, 6.5, 4.6, 4.6),
                VRamp(enabled ? Ramp{{0.0, Hex(0xF6F8FC)},
                                     {0.5, Hex(0xE8EEF6)},
                                     {0.51, Hex(0xD4DEEC)},
                                     {1.0, Hex(0xE8EEF8)}}
                              : Ramp{{0.0, Grey(242)}, {1.0, Grey(228)}},
                      2, 9));
    if (checked) {
        c.FillShape(
            Ellipse(6.5, 6.5, 3.2, 3.2),
            VRamp(enabled ? Ramp{{0.0, Hex(0x8CB6F0)}, {0.5, Hex(0x3A72CC)}, {1.0, Hex(0x2456AE)}}
                          : Ramp{{0.0, Grey(190)}, {1.0, Grey(150)}},
                  3, 7));
        c.Set(5, 5, enabled ? Hex(0xD8E8FC) : Grey(220));
    }
    c.KeyOutside(outer, QRect(0, 0, 13, 13));
    return c;
}

Canvas CheckListMark(bool checked, bool enabled) {
    Face f;
    f.radius = 1.5;
    f.border = enabled ? Hex(0x52688A) : Grey(172);
    f.fill = enabled ? Ramp{{0.0, kWhite}, {1.0, Hex(0xE4EAF4)}} : Ramp(Grey(240));
    Canvas c = FaceSlice(11, 11, f, Solid(kWhite), false);
    if (checked) {
        c.Stamp(3, 3, glyph::kCheckSmall, enabled ? kInk : Grey(150));
    }
    return c;
}

// Scroll-bar arrow buttons (drawn for a vertical bar, shading across it) and
// the thumb pieces (drawn for a horizontal bar, shading across it).
Face ScrollFace(State s) {
    Face f;
    f.radius = 3;
    f.ring = true;
    f.horizontal = true;
    const Ramp tube = {{0.0, Hex(0xE4EBF5)}, {0.5, Hex(0xFAFCFE)}, {1.0, Hex(0xD6E0EE)}};
    f.border = s == Normal ? Hex(0x8C9BB4) : s == Over ? Hex(0x4A7CC4) : Hex(0x2C5A9E);
    f.fill = s == Normal ? tube
             : s == Over ? tube.Toward(Hex(0xA8CCF4), 0.45)
                         : tube.Toward(Hex(0x5A8ED4), 0.6);
    f.ringRamp = Ramp(s == Down ? Hex(0xA0C0E8) : kWhite);
    return f;
}

Canvas ScrollButton(bool up, State s) {
    Canvas c = FaceSlice(17, 16, ScrollFace(s), Solid(kScrollBack), true);
    CentreGlyph(c, QRect(0, up ? -1 : 0, 17, 16), up ? glyph::kArrowUp : MirrorY(glyph::kArrowUp),
                s == Down ? kWhite : kInk);
    return c;
}

Canvas ScrollThumb() {
    Canvas c(21, 16, kScrollBack);
    Face f;
    f.radius = 4;
    f.ring = true;
    f.border = Hex(0x2C5696);
    f.ringRamp = {{0.0, Hex(0xB8D2F6)}, {1.0, Hex(0x8CB2E8)}};
    f.fill = {{0.0, Hex(0x6E9ADC)}, {0.5, Hex(0xA6C6F2)}, {1.0, Hex(0x5A88D0)}};
    DrawFace(c, QRect(0, 1, 21, 14), f);
    return c;
}

// Pointer thumb of a horizontal track, its tip towards the ticks below.
Canvas TrackSlider() {
    return Pointer(
        11, 20, Hex(0x1E4A92),
        {{0.0, Hex(0xC6DCF8)}, {0.42, Hex(0x8AB4EE)}, {0.43, Hex(0x4A82D6)}, {1.0, Hex(0x78A8EA)}},
        Hex(0xDCEAFC), kFace);
}

Canvas TrackSliderV() {
    Face f;
    f.radius = 3;
    f.ring = true;
    f.border = Hex(0x1E4A92);
    f.ringRamp = {{0.0, Hex(0xDCEAFC)}, {1.0, Hex(0x8AB4EE)}};
    f.fill = {
        {0.0, Hex(0xB4D0F6)}, {0.45, Hex(0x86B0EC)}, {0.46, Hex(0x4A82D6)}, {1.0, Hex(0x78A8EA)}};
    return FaceSlice(18, 11, f, Solid(kFace), false);
}

Canvas TrackBar() {
    return Groove(45, {Hex(0x70809A), Hex(0xB0BACA), Hex(0xDEE4EC), Hex(0xFAFBFD)});
}

Canvas Progress() {
    return Canvas::Column(1, 10,
                          VRamp({{0.0, Hex(0xA8CCF8)},
                                 {0.4, Hex(0x6EA2EE)},
                                 {0.41, Hex(0x3476DC)},
                                 {1.0, Hex(0x6AA6F2)}},
                                0, 10));
}

Canvas Tab(bool selected) {
    Face f;
    f.radius = 3;
    f.border = Hex(0x7C8CA6);
    f.fill = selected ? Ramp{{0.0, kWhite}, {1.0, Hex(0xF6F8FC)}}
                      : Ramp{{0.0, Hex(0xF0F3F8)},
                             {0.5, Hex(0xE2E8F0)},
                             {0.51, Hex(0xD4DCE8)},
                             {1.0, Hex(0xDEE4EE)}};
    Canvas c = TabSlice(9, 17, f, selected, kFace);
    if (selected) {
        c.HLine(2, 6, 1, Hex(0x3C78D2));
        c.HLine(1, 7, 2, Hex(0x6A9CE4));
    }
    EvenMiddle(c);
    return c;
}

Canvas TabLine() {
    Canvas c(10, 5, kWhite);
    c.HLine(0, 9, 0, Hex(0x7C8CA6));
    c.Fill(QRect(0, 1, 10, 4), VRamp({{0.0, kWhite}, {1.0, Hex(0xF2F5FA)}}, 1, 4));
    return c;
}

Canvas SideHandle() {
    Face f;
    f.radius = 3;
    f.ring = true;
    f.horizontal = true;
    f.border = Hex(0x1E4A92);
    f.ringRamp = Ramp(Hex(0xAAC8F2));
    f.fill = {{0.0, Hex(0x5A8ED8)}, {0.45, Hex(0x9CC0F2)}, {1.0, Hex(0x3E74C8)}};
    Canvas c = FaceSlice(8, 86, f, Solid(kFace), false);
    const std::vector<std::string> arrow = {"#..", "##.", "###", "##.", "#.."};
    c.Stamp(3, 40, arrow, kWhite);
    for (int y : {30, 33, 36, 48, 51, 54}) {
        c.Set(3, y, Hex(0x163A78));
        c.Set(4, y, Hex(0xDCEAFC));
    }
    return c;
}

Canvas SideBar() {
    return Canvas::Column(1, 21, [](int, int y) {
        static const Ramp body = {{0.0, Hex(0x86AEEC)},
                                  {0.47, Hex(0x5486D6)},
                                  {0.48, Hex(0x285CB8)},
                                  {1.0, Hex(0x3A70CA)}};
        if (y == 0) {
            return Hex(0x18346E);
        }
        if (y == 1) {
            return Hex(0xBCD2F6);
        }
        if (y == 20) {
            return Hex(0x1A3A7A);
        }
        return body.At((y - 2) / 17.0);
    });
}

} // namespace

void AddBlueGlass(Catalogue& cat) {
    const std::string p = "BLUEGLASS_";
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

    Canvas left = Title(162);
    Sheen(left);
    Canvas right = Title(101);
    RoundTop(left, right);
    cat.Add(kGroup, p + "TITLE_LEFT", left);
    cat.Add(kGroup, p + "TITLE_CLIENT", Title(179));
    cat.Add(kGroup, p + "TITLE_RIGHT", right);

    cat.Add(kGroup, p + "PROGRESSBAR", Progress());
    cat.Add(kGroup, p + "TRACKBAR_BAR", TrackBar());
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
    cat.Add(kGroup, p + "TAB", Strip({Tab(false), Tab(true)}), 2);
    cat.Add(kGroup, p + "TAB_LINE", TabLine());
    cat.Add(kGroup, p + "SIDECHENNEL_HANDLE", SideHandle());
    cat.Add(kGroup, p + "SIDECHENNEL_BAR", SideBar());
}

} // namespace art
