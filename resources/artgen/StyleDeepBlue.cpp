// DeepBlue: a dark navy two-tier title bar, steel-blue accents, light faces
// rimmed in navy.
#include "resources/artgen/Art.h"

namespace art {
namespace {

const char* const kGroup = "DeepBlue";
constexpr Rgb kFace = Grey(232);
constexpr Rgb kNavy = Hex(0x142A64);
constexpr Rgb kInk = Hex(0x12245A);
constexpr Rgb kSteel = Hex(0x7896D2);

// 32 rows: the caption band (rows 0 to 21, where buttons and text sit), a
// steel accent line, a lower band and a black base line.
Rgb TitleRow(int y) {
    static const Ramp band = {{0.0, Hex(0x2E4C94)}, {0.5, Hex(0x1C3678)}, {1.0, Hex(0x12285C)}};
    static const Ramp lower = {{0.0, Hex(0x2A4688)}, {1.0, Hex(0x1A3068)}};
    if (y <= 0) {
        return Hex(0x080E24);
    }
    if (y == 1) {
        return Hex(0x5A7AC0);
    }
    if (y <= 21) {
        return band.At((y - 2) / 19.0);
    }
    if (y == 22) {
        return kSteel;
    }
    if (y == 23) {
        return Hex(0x0C1A40);
    }
    if (y >= 31) {
        return kBlack;
    }
    return lower.At((y - 24) / 6.0);
}

Canvas Title(int w) {
    Canvas c(w, 32);
    c.Fill(QRect(0, 0, w, 32), [](int, int y) { return TitleRow(y); });
    return c;
}

enum State { Normal, Over, Down };

Canvas TitleButton(TitleGlyph g, State s) {
    const bool close = g == TitleGlyph::Close;
    Face f;
    f.radius = 2;
    f.ring = true;
    switch (s) {
    case Normal:
        f.border = Hex(0x5470B4);
        f.ringRamp = {{0.0, Hex(0x4A68B0)}, {1.0, Hex(0x243E80)}};
        f.fill = {{0.0, Hex(0x34529C)}, {1.0, Hex(0x1C3474)}};
        break;
    case Over:
        f.border = close ? Hex(0xF0A090) : Hex(0xA8C0F0);
        f.ringRamp = close ? Ramp{{0.0, Hex(0xF08A74)}, {1.0, Hex(0xB83424)}}
                           : Ramp{{0.0, Hex(0x7E9EE0)}, {1.0, Hex(0x3C5EAC)}};
        f.fill = close ? Ramp{{0.0, Hex(0xE0604C)}, {1.0, Hex(0xA82818)}}
                       : Ramp{{0.0, Hex(0x5C80CC)}, {1.0, Hex(0x2E4C98)}};
        break;
    case Down:
        f.border = Hex(0x3C5494);
        f.ringRamp = Ramp(Hex(0x0C1A44));
        f.fill = close ? Ramp{{0.0, Hex(0x801C10)}, {1.0, Hex(0xA83424)}}
                       : Ramp{{0.0, Hex(0x0E1C48)}, {1.0, Hex(0x203A7C)}};
        break;
    }
    Canvas c = FaceSlice(
        19, 19, f, [](int, int y) { return TitleRow(y + 2); }, false);
    const int shift = s == Down ? 1 : 0;
    CentreGlyph(c, QRect(shift, shift, 19, 19), GlyphFor(g), kWhite, Hex(0x040A20), 0.5);
    return c;
}

Canvas Button(State s) {
    Face f;
    f.radius = 2;
    f.ring = true;
    switch (s) {
    case Normal:
        f.border = kNavy;
        f.ringRamp = {{0.0, kWhite}, {1.0, Hex(0xD4DCEA)}};
        f.fill = {{0.0, Hex(0xF4F6FA)}, {0.5, Hex(0xE2E8F2)}, {1.0, Hex(0xC8D2E4)}};
        break;
    case Over:
        f.border = Hex(0x2A4A9C);
        f.ringRamp = {{0.0, Hex(0xC8DAFA)}, {1.0, Hex(0x7C9CDC)}};
        f.fill = {{0.0, Hex(0xF0F6FF)}, {0.5, Hex(0xDCE8FC)}, {1.0, Hex(0xBCD0F4)}};
        break;
    case Down:
        f.border = Hex(0x0A1640);
        f.ringRamp = {{0.0, Hex(0x8A9CC4)}, {1.0, Hex(0xB8C6E0)}};
        f.fill = {{0.0, Hex(0xAEBEDC)}, {0.5, Hex(0xBCCAE4)}, {1.0, Hex(0xCCD8EC)}};
        break;
    }
    Canvas c = FaceSlice(74, 21, f, Solid(kFace), false);
    EvenMiddle(c);
    return c;
}

Face BoxFace(bool enabled) {
    Face f;
    f.radius = 1;
    f.border = enabled ? kNavy : Grey(164);
    f.fill = enabled ? Ramp{{0.0, kWhite}, {1.0, Hex(0xDCE2EE)}} : Ramp(Grey(238));
    return f;
}

Canvas CheckBox(bool checked, bool enabled) {
    return BoxMark(13, 13, QRect(0, 0, 13, 13), BoxFace(enabled), kFace,
                   checked ? &glyph::kCheck : nullptr, enabled ? kInk : Grey(160));
}

Canvas Radio(bool checked, bool enabled) {
    RoundLook look;
    look.ring = enabled ? kNavy : Grey(164);
    look.fill = enabled ? Ramp{{0.0, kWhite}, {1.0, Hex(0xD8E0EE)}} : Ramp(Grey(238));
    if (checked) {
        look.dotRadius = 2.6;
        look.dot = enabled ? Ramp{{0.0, Hex(0x4A6CB8)}, {1.0, Hex(0x101E50)}} : Ramp(Grey(164));
    }
    return RoundMark(13, 13, 6.5, 6.5, 6.5, look, kFace);
}

Canvas CheckListMark(bool checked, bool enabled) {
    return BoxMark(11, 11, QRect(0, 0, 11, 11), BoxFace(enabled), kWhite,
                   checked ? &glyph::kCheckSmall : nullptr, enabled ? kInk : Grey(160));
}

Face ScrollFace(State s) {
    Face f;
    f.radius = 2;
    f.ring = true;
    f.horizontal = true;
    f.border = s == Down ? Hex(0x0C1C4C) : Hex(0x3C5494);
    f.ringRamp = Ramp(s == Down ? Hex(0x3A5498) : kWhite);
    const Ramp face = {{0.0, Hex(0xDCE2EE)}, {0.45, Hex(0xF4F6FA)}, {1.0, Hex(0xC4CEE2)}};
    f.fill = s == Normal ? face
             : s == Over ? face.Toward(Hex(0xA8C2F0), 0.45)
                         : Ramp{{0.0, Hex(0x1C3474)}, {0.45, Hex(0x3A5AA4)}, {1.0, Hex(0x162C64)}};
    return f;
}

Canvas ScrollButton(bool up, State s) {
    return GlyphButton(16, 16, ScrollFace(s), up ? glyph::kArrowUp : MirrorY(glyph::kArrowUp),
                       s == Down ? kWhite : kInk, Solid(Grey(245)), true, up ? -1 : 0);
}

Canvas ScrollThumb() {
    Face f;
    f.radius = 3;
    f.ring = true;
    f.border = Hex(0x0E1E50);
    f.ringRamp = {{0.0, Hex(0x8AA4DC)}, {1.0, Hex(0x4A66A8)}};
    f.fill = {{0.0, Hex(0x2E4A90)}, {0.5, Hex(0x5A7CC4)}, {1.0, Hex(0x243E80)}};
    return Thumb(21, 16, f, 1, Grey(245));
}

Canvas TrackSliderV() {
    Face f;
    f.radius = 2;
    f.ring = true;
    f.border = Hex(0x081640);
    f.ringRamp = {{0.0, Hex(0x8AA4DC)}, {1.0, Hex(0x3A5498)}};
    f.fill = {{0.0, Hex(0x5A7CC4)}, {1.0, Hex(0x1C3474)}};
    return FaceSlice(18, 11, f, Solid(kFace), false);
}

Canvas Tab(bool selected) {
    Face f;
    f.radius = 2;
    f.border = kNavy;
    f.fill = selected ? Ramp(kWhite) : Ramp{{0.0, Hex(0xE4E8F0)}, {1.0, Hex(0xC8D0E0)}};
    Canvas c = TabSlice(6, 17, f, selected, kFace);
    if (selected) {
        c.HLine(1, 4, 1, kSteel);
        c.HLine(1, 4, 2, Hex(0xA8BCE4));
    }
    EvenMiddle(c);
    return c;
}

Canvas TabLine() {
    Canvas c(5, 5, kWhite);
    c.HLine(0, 4, 0, kNavy);
    return c;
}

Canvas SideHandle() {
    Face f;
    f.radius = 3;
    f.ring = true;
    f.horizontal = true;
    f.border = Hex(0x081640);
    f.ringRamp = Ramp(Hex(0x5A7AC0));
    f.fill = {{0.0, Hex(0x1C3474)}, {0.5, Hex(0x3A5AA4)}, {1.0, Hex(0x142A64)}};
    Canvas c = FaceSlice(8, 83, f, Solid(kFace), false);
    c.Stamp(3, 39, {"#..", "##.", "###", "##.", "#.."}, kWhite);
    return c;
}

Canvas SideBar() {
    return Canvas::Column(1, 20, [](int, int y) {
        if (y == 0) {
            return kBlack;
        }
        if (y == 1) {
            return Hex(0x5A7AC0);
        }
        if (y == 19) {
            return Hex(0x0A1640);
        }
        return Ramp{{0.0, Hex(0x34529C)}, {1.0, Hex(0x162C66)}}.At((y - 2) / 16.0);
    });
}

} // namespace

void AddDeepBlue(Catalogue& cat) {
    const std::string p = "DEEPBLUE_";
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
    cat.Add(kGroup, p + "TITLE_LEFT", Title(97));
    cat.Add(kGroup, p + "TITLE_CLIENT", Title(98));
    cat.Add(kGroup, p + "TITLE_RIGHT", Title(97));
    cat.Add(kGroup, p + "PROGRESSBAR",
            Canvas::Column(1, 10,
                           VRamp({{0.0, Hex(0x8AA4E0)},
                                  {0.3, Hex(0x4464B0)},
                                  {0.7, Hex(0x1E3878)},
                                  {1.0, Hex(0x34529C)}},
                                 0, 10)));
    cat.Add(kGroup, p + "TRACKBAR_BAR",
            Groove(45, {Hex(0x1A2A54), Hex(0x6A7898), Hex(0xD0D6E2), Hex(0xFAFBFD)}));
    cat.Add(kGroup, p + "TRACKBAR_SLIDER",
            Pointer(11, 20, Hex(0x081640), {{0.0, Hex(0x5A7CC4)}, {1.0, Hex(0x1C3474)}},
                    Hex(0x8AA4DC), kFace));
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
