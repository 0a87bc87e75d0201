#include "skin/SKThemes.h"

#include <QApplication>
#include <QMetaProperty>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cstdint>

#include "platform/toolkit/Application.h"
#include "platform/win32/Win32.h"
#include "skin/SKForm.h"
#include "skin/SKMgr.h"

namespace sk {

using tk::TBitmap;
using tk::TCanvas;
using tk::TRect;

bool g_SkinKitConverting = false;

namespace {

// One row per theme item: its key name, its kind, the resource-name suffix of
// an image item, and the value of every other item in each built-in style
// (MacOS, WinXP, DeepBlue, Protein, BlueGlass).
struct ThemeItem {
    const char* name;
    TskType kind;
    const char* suffix;
    std::array<std::int32_t, 5> values;
};

constexpr TskType I = TskType::Int;
constexpr TskType C = TskType::Color;
constexpr TskType S = TskType::Str;
constexpr TskType B = TskType::Bool;

constexpr ThemeItem kItems[SK_ITEM_COUNT + 1] = {
    {"", I, nullptr, {}},
    {"ButtonImage", S, "BUTTON", {}},
    {"ButtonTransparentBool", B, nullptr, {1, 0, 0, 0, 1}},
    {"CheckBoxImage", S, "CHECKBOX", {}},
    {"RadioButtonImage", S, "RADIOBUTTON", {}},
    {"TitleBarButtonImage", S, "TITLEBTN", {}},
    {"TitleBarButtonTransparentBool", B, nullptr, {0, 0, 0, 1, 1}},
    {"TitleBarButtonLeftOffsetInt", I, nullptr, {3, 2, 0, 0, 4}},
    {"TitleBarButtonRightOffsetInt", I, nullptr, {-2, -2, 0, 0, -3}},
    {"TitleBarButtonTopInt", I, nullptr, {4, 5, 2, 2, 6}},
    {"TitleBarLeftImage", S, "TITLE_LEFT", {}},
    {"TitleBarClientImage", S, "TITLE_CLIENT", {}},
    {"TitleBarRightImage", S, "TITLE_RIGHT", {}},
    {"FormMinWidthInt", I, nullptr, {130, 150, 130, 130, 270}},
    {"FormRoundCornerInt", I, nullptr, {0, 13, 0, 0, 11}},
    {"FormBackgroundColor", C, nullptr, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {"FormBorderColor", C, nullptr, {0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000}},
    {"FormBorderWidthInt", I, nullptr, {1, 3, 1, 1, 1}},
    {"MenuSelectedBorderColor", C, nullptr, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {"MenuSelectedBackgroundColor", C, nullptr, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {"MenuSelectedFontColor", C, nullptr, {0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {"MenuBackgroundColor", C, nullptr, {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},
    {"MenuFontColor", C, nullptr, {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}},
    {"MenuBarColor", C, nullptr, {0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}},
    {"ProgressBarImage", S, "PROGRESSBAR", {}},
    {"ControlBorderColor", C, nullptr, {0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000}},
    {"ControlBackgroundColor", C, nullptr, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {"ControlFontColor", C, nullptr, {0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000}},
    {"TrackBarBarImage", S, "TRACKBAR_BAR", {}},
    {"TrackBarSliderImage", S, "TRACKBAR_SLIDER", {}},
    {"TrackBarSliderVImage", S, "TRACKBAR_SLIDER_V", {}},
    {"ScrollBarBackgroundColor", C, nullptr, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}},
    {"ScrollBarButtonImage", S, "SCROLLBAR_BUTTON", {}},
    {"ScrollBarSliderImage", S, "SCROLLBAR_TRACK", {}},
    {"CheckListBoxImage", S, "CHECKLIST", {}},
    {"ToolBarButtonBorderColor", C, nullptr, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}},
    {"ToolBarButtonBackgroundColor",
     C,
     nullptr,
     {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}},
    {"ToolBarButtonDownBackgroundColor",
     C,
     nullptr,
     {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}},
    // Named MACOS_, WINXP_ or MORE_ (the other three styles share one image).
    {"ScrollButtonImage", S, "SCROLLBUTTON", {}},
    {"TabControlTabImage", S, "TAB", {}},
    {"TabControlBarImage", S, "TAB_LINE", {}},
    {"SideChannelHandleImage", S, "SIDECHENNEL_HANDLE", {}},
    {"SideChannelBarImage", S, "SIDECHENNEL_BAR", {}},
};

template <class T, class F> constexpr std::array<T, SK_ITEM_COUNT + 1> Column(F field) {
    std::array<T, SK_ITEM_COUNT + 1> out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = field(kItems[i]);
    }
    return out;
}

} // namespace

const std::array<const char*, SK_ITEM_COUNT + 1> SK_FILETHEME_ITEMNAME =
    Column<const char*>([](const ThemeItem& item) { return item.name; });

const std::array<TskType, SK_ITEM_COUNT + 1> SK_ITEM_TYPE =
    Column<TskType>([](const ThemeItem& item) { return item.kind; });

namespace {

const char* ImageSuffix(int index) {
    return kItems[index].suffix;
}

const char* StylePrefix(TskUIStyle style) {
    switch (style) {
    case MacOS:
        return "MACOS";
    case WinXP:
        return "WINXP";
    case DeepBlue:
        return "DEEPBLUE";
    case Protein:
        return "PROTEIN";
    case BlueGlass:
        return "BLUEGLASS";
    default:
        return nullptr;
    }
}

bool BuiltIn(TskUIStyle style) {
    return style >= MacOS && style <= BlueGlass;
}

bool ValidItem(int index) {
    return index >= 1 && index <= SK_ITEM_COUNT;
}

// The built-in value when the item is of the kind asked for.
bool Lookup(TskUIStyle style, int index, TskType kind, std::int32_t& value) {
    if (!BuiltIn(style) || !ValidItem(index) ||
        SK_ITEM_TYPE[static_cast<std::size_t>(index)] != kind) {
        return false;
    }
    value = kItems[index].values[style - MacOS];
    return true;
}

constexpr TColor kKeyColor = 0xFF00FF;

// The image with every pixel of the key colour made fully transparent.
QImage KeyedOut(const QImage& source, TColor key) {
    QImage out = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const TColor k = tk::ColorToRGB(key);
    const QRgb keyRgb = qRgb(tk::GetRValue(k), tk::GetGValue(k), tk::GetBValue(k)) & 0xFFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == keyRgb && qAlpha(line[x]) == 255) {
                line[x] = 0;
            }
        }
    }
    return out;
}

// Draws the part src (left, top, right, bottom) of an image into dst; pieces
// that come out empty are skipped.
void Piece(TCanvas* canvas, const QImage& image, bool keyed, const TRect& src, const TRect& dst) {
    // Tiny images can name rows past their edge; only real pixels are read.
    const QRect part = src.ToQ() & image.rect();
    if (part.isEmpty() || dst.IsEmpty()) {
        return;
    }
    canvas->DrawImage(dst, image, part, keyed);
}

} // namespace

// ---- theme look-up ----------------------------------------------------------

TskUIStyle GetSKFormStyle(tk::TComponent* Owner) {
    auto* form = qobject_cast<tk::TCustomForm*>(Owner);
    if (!form) {
        return DeepBlue;
    }
    for (const tk::TControl* c : form->ControlList()) {
        if (const auto* skinned = qobject_cast<const TskForm*>(c)) {
            return skinned->UIStyle();
        }
    }
    return DeepBlue;
}

QString GetInsideThemeResourceName(TskUIStyle UIStyle, int Index) {
    if (!BuiltIn(UIStyle) || !ValidItem(Index) ||
        SK_ITEM_TYPE[static_cast<std::size_t>(Index)] != TskType::Str) {
        return {};
    }
    const QString suffix = QLatin1String(ImageSuffix(Index));
    if (Index == siScrollButtonImage && UIStyle != MacOS && UIStyle != WinXP) {
        return QStringLiteral("MORE_") + suffix;
    }
    return QLatin1String(StylePrefix(UIStyle)) + QLatin1Char('_') + suffix;
}

void GetInsideThemeBitmap(TskUIStyle UIStyle, int Index, TBitmap* Buf, int SpitCount,
                          int SpitIndex) {
    const QString name = GetInsideThemeResourceName(UIStyle, Index);
    if (!Buf || name.isEmpty()) {
        return;
    }
    try {
        if (SpitCount == 0) {
            Buf->LoadFromResourceName(name);
            return;
        }
        TBitmap whole;
        whole.LoadFromResourceName(name);
        SpitBitmap(&whole, Buf, SpitCount, SpitIndex);
    } catch (const tk::Exception&) {
        // A missing image leaves the bitmap as it was; the component draws what it has.
    }
}

TColor GetInsideThemeColor(TskUIStyle UIStyle, int Index) {
    std::int32_t v = 0;
    return Lookup(UIStyle, Index, TskType::Color, v) ? static_cast<TColor>(v) : 0;
}

int GetInsideThemeInt(TskUIStyle UIStyle, int Index) {
    std::int32_t v = 0;
    return Lookup(UIStyle, Index, TskType::Int, v) ? v : -1;
}

bool GetInsideThemeBool(TskUIStyle UIStyle, int Index) {
    std::int32_t v = 0;
    return Lookup(UIStyle, Index, TskType::Bool, v) && v != 0;
}

// ---- published properties ---------------------------------------------------

namespace {

QMetaProperty FindPublished(const QObject* object, const char* name) {
    if (!name) {
        return {};
    }
    return tk::FindPublishedProperty(object, QString::fromLatin1(name));
}

} // namespace

bool IsHasProperty(const QObject* Component, const char* Name) {
    return FindPublished(Component, Name).isValid();
}

bool SetPublishedProperty(QObject* Component, const char* Name, const QVariant& Value) {
    const QMetaProperty mp = FindPublished(Component, Name);
    if (!mp.isValid() || !mp.isWritable()) {
        return false;
    }
    const QMetaType type = mp.metaType();
    if (type.flags() & QMetaType::PointerToQObject) {
        // The variant must carry the property's own pointer type.
        QObject* object = Value.value<QObject*>();
        const QMetaObject* wanted = type.metaObject();
        if (object && wanted && !object->metaObject()->inherits(wanted)) {
            return false;
        }
        return mp.write(Component, QVariant(type, &object));
    }
    QVariant v = Value;
    if (mp.isEnumType() && v.canConvert<int>()) {
        v = QVariant(v.toInt());
    }
    if (!v.convert(type)) {
        return false;
    }
    return mp.write(Component, v);
}

void ContainerApplyUIStyle(tk::TWinControl* Container, TskUIStyle UIStyle,
                           TskFileTheme* FileTheme) {
    if (!Container) {
        return;
    }
    // A copy: applying a style may add or remove controls.
    const std::vector<tk::TControl*> children = Container->ControlList();
    QPointer<tk::TWinControl> alive(Container);
    for (tk::TControl* c : children) {
        if (!alive || !Container->ContainsControl(c)) {
            continue;
        }
        if (IsHasProperty(c, "FileTheme") && IsHasProperty(c, "UIStyle")) {
            SetPublishedProperty(c, "FileTheme",
                                 QVariant::fromValue(static_cast<QObject*>(FileTheme)));
            SetPublishedProperty(c, "UIStyle", QVariant(static_cast<int>(UIStyle)));
        }
    }
}

// ---- drawing helpers --------------------------------------------------------

void SpitBitmap(const TBitmap* Source, TBitmap* Dest, int Count, int Index) {
    if (!Source || !Dest || Count <= 0) {
        return;
    }
    const QImage& image = Source->Image();
    const int w = image.width() / Count;
    Dest->SetImage(image.copy((Index - 1) * w, 0, w, image.height()));
}

void SpitDraw(const TBitmap* Source, TCanvas* Canvas, const TRect& Rect, bool Transparent) {
    if (!Source || !Canvas || Source->Empty()) {
        return;
    }
    const QImage& image = Source->Image();
    const QImage keyed = KeyedOut(image, kKeyColor);
    const QImage& cornerImage = Transparent ? keyed : image;
    const int W = image.width();
    const int H = image.height();
    const int hw = W / 2;
    const int hh = H / 2;
    const int dw = Rect.Width();
    const int dh = Rect.Height();
    if (dw <= 0 || dh <= 0) {
        return;
    }
    const int R = Rect.Right;
    const int Bm = Rect.Bottom;
    // With an even height the middle band between the halves would be empty
    // and leave an unpainted stripe; one row of it is taken instead.
    const int midRows = std::max(1, H - 2 * hh);

    // Corners: each the smaller of its source piece and its destination
    // quarter, keeping the part next to the outer corner.
    const int tlw = std::max(0, std::min(hw, dw / 2));
    const int tlh = std::max(0, std::min(hh, dh / 2));
    const TRect TL = tk::Bounds(0, 0, tlw, tlh);
    Piece(Canvas, cornerImage, Transparent, tk::Rect(0, 0, tlw, tlh), TL);

    const int blw = std::max(0, std::min(hw, dw / 2));
    const int blh = std::max(0, std::min(hh - 1, dh / 2 - 1));
    const TRect BL = tk::Rect(0, Bm - blh, blw, Bm);
    Piece(Canvas, cornerImage, Transparent, tk::Rect(0, H - blh, blw, H), BL);

    {
        TRect dst = tk::Rect(0, TL.Bottom, TL.Right, BL.Top);
        const int w = std::min(hw, dst.Width());
        Piece(Canvas, keyed, true, tk::Rect(0, hh, w, hh + midRows), dst);
    }

    const int trw = std::max(0, std::min(hw - 1, dw / 2 - 1));
    const int trh = std::max(0, std::min(hh, dh / 2));
    const TRect TR = tk::Rect(R - trw, 0, R, trh);
    Piece(Canvas, cornerImage, Transparent, tk::Rect(W - trw, 0, W, trh), TR);

    const int brw = std::max(0, std::min(hw - 1, dw / 2 - 1));
    const int brh = std::max(0, std::min(hh - 1, dh / 2 - 1));
    const TRect BR = tk::Rect(R - brw, Bm - brh, R, Bm);
    Piece(Canvas, cornerImage, Transparent, tk::Rect(W - brw, H - brh, W, H), BR);

    {
        // Right edge: source rows H-hh to hh+2, the right part when narrower.
        const TRect dst = tk::Rect(TR.Left, TR.Bottom, TR.Right, BR.Top);
        const int w = std::min(hw - 1, dst.Width());
        Piece(Canvas, keyed, true, tk::Rect(W - w, H - hh, W, hh + 2), dst);
    }
    {
        const TRect dst = tk::Rect(TL.Right, 0, TR.Left, TL.Bottom);
        const int h = std::min(hh, dst.Height());
        Piece(Canvas, keyed, true, tk::Rect(hw, 0, W - hw + 1, h), dst);
    }
    Piece(Canvas, keyed, true, tk::Rect(hw, hh, W - hw + 1, hh + midRows),
          tk::Rect(TL.Right, TL.Bottom, TR.Left, BR.Top - 1));
    {
        const TRect dst = tk::Rect(TL.Right - 1, BL.Top - 1, BR.Left, BR.Bottom);
        const int h = std::min(hh, dst.Height());
        Piece(Canvas, keyed, true, tk::Rect(hw, H - h, W - hw + 1, H), dst);
    }
}

void SpitDrawHorizontal(const TBitmap* Source, TCanvas* Canvas, const TRect& Rect,
                        bool UseCornerColor) {
    if (!Source || !Canvas || Source->Empty()) {
        return;
    }
    const QImage& image = Source->Image();
    const int p = image.width() / 3;
    const int H = image.height();
    if (p <= 0) {
        return;
    }
    const TColor key = UseCornerColor ? tk::FromQColor(QColor(image.pixel(0, 0))) : kKeyColor;
    const QImage keyed = KeyedOut(image, key);
    Piece(Canvas, keyed, true, tk::Rect(0, 0, p, H), tk::Bounds(Rect.Left, Rect.Top, p, H));
    Piece(Canvas, keyed, true, tk::Rect(2 * p, 0, 3 * p, H),
          tk::Bounds(Rect.Right - p, Rect.Top, p, H));
    Piece(Canvas, image, false, tk::Rect(p, 0, 2 * p, H),
          tk::Rect(Rect.Left + p, Rect.Top, Rect.Right - p, Rect.Bottom));
}

void TileDraw(TCanvas* Canvas, const tk::TGraphic* Picture, const TRect& Rect) {
    if (!Canvas || !Picture || Picture->Empty()) {
        return;
    }
    const int pw = Picture->Width();
    const int ph = Picture->Height();
    for (int x = 0; x < Rect.Width() + pw; x += pw) {
        for (int y = 0; y < Rect.Height() + ph; y += ph) {
            Canvas->Draw(x, y, *Picture);
        }
    }
}

void TileDraw(TCanvas* Canvas, tk::TPicture* Picture, const TRect& Rect) {
    TileDraw(Canvas, Picture ? Picture->Graphic() : nullptr, Rect);
}

void DoTrans(TCanvas* Canvas, tk::TControl* Control) {
    if (!Canvas || !Control || !Control->Parent()) {
        return;
    }
    tk::TWinControl* parent = Control->Parent();
    parent->Handle();
    QWidget* widget = parent->ClientWidget();
    if (!widget) {
        return;
    }
    tk::TCanvasState state(*Canvas);
    Canvas->MoveOrigin(-Control->Left(), -Control->Top());
    Canvas->IntersectClipRect(tk::Rect(0, 0, parent->ClientWidth(), parent->ClientHeight()));
    QPainter* painter = Canvas->Painter();
    if (!painter) {
        return;
    }
    // The parent paints itself (through its own message handling) into our
    // painter; its children are left out, so siblings and the control itself
    // never show up in the background.
    // render() puts the region's top-left at the offset given.
    const tk::TRect bounds = Control->BoundsRect();
    widget->render(painter, QPoint(bounds.Left, bounds.Top), QRegion(bounds.ToQ()),
                   QWidget::DrawWindowBackground);
}

void DrawControlBorder(TCanvas* WindowCanvas, tk::TControl* Control, TColor BorderColor,
                       TColor InnerColor, bool DrawInner) {
    if (!WindowCanvas || !Control) {
        return;
    }
    tk::TCanvasState state(*WindowCanvas);
    tk::TBrush* brush = WindowCanvas->Brush();
    const TColor oldColor = brush->Color();
    const auto oldStyle = brush->Style();
    TRect r = tk::Rect(0, 0, Control->Width(), Control->Height());
    brush->SetColor(BorderColor);
    WindowCanvas->FrameRect(r);
    if (DrawInner) {
        tk::InflateRect(r, -1, -1);
        brush->SetColor(InnerColor);
        WindowCanvas->FrameRect(r);
    }
    brush->SetColor(oldColor);
    brush->SetStyle(oldStyle);
}

namespace {

// dst(x', y') for every source pixel, through map(x, y) -> (x', y').
template <class Map> void Turn(TBitmap* bitmap, Map map) {
    if (!bitmap || bitmap->Empty()) {
        return;
    }
    const QImage src = bitmap->Image();
    QImage dst(src.height(), src.width(), src.format());
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const QPoint to = map(x, y, src.width(), src.height());
            dst.setPixel(to, src.pixel(x, y));
        }
    }
    bitmap->SetImage(dst);
}

} // namespace

void RoundPicture(TBitmap* Bitmap) {
    Turn(Bitmap, [](int x, int y, int W, int) { return QPoint(y, W - 1 - x); });
}

void RoundPicture3(TBitmap* Bitmap) {
    // dst(x, y) = src(y, H-1-x), so src(x, y) lands at (H-1-y, x).
    Turn(Bitmap, [](int x, int y, int, int H) { return QPoint(H - 1 - y, x); });
}

// ---- small utilities --------------------------------------------------------

bool InRect(tk::TPoint Point, const TRect& Rect) {
    return InRect(Point.x, Point.y, Rect);
}

bool InRect(int X, int Y, const TRect& Rect) {
    return Rect.Left <= X && X <= Rect.Right && Rect.Top <= Y && Y <= Rect.Bottom;
}

void PlaceControl(tk::TControl* Control, tk::TPoint Point) {
    if (Control) {
        Control->SetBounds(Point.x, Point.y, Control->Width(), Control->Height());
    }
}

void PlaceControl(tk::TControl* Control, const TRect& Rect) {
    if (Control) {
        Control->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    }
}

TRect GetWorkAreaRect() {
    RECT r{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) {
        return {};
    }
    return tk::Rect(r.left, r.top, r.right, r.bottom);
}

bool FormHasFocus(tk::TCustomForm* Form) {
    tk::TCustomForm* main = tk::Application ? tk::Application->MainForm() : nullptr;
    if (!main) {
        return Form && Form->Active();
    }
    const bool mdiFrame = main->FormStyle() == tk::fsMDIForm;
    if (mdiFrame && Form == main) {
        return true;
    }
    if (!tk::Application->Active()) {
        return false;
    }
    if (!Form || Form == main) {
        return true;
    }
    if (mdiFrame) {
        // The active child of a frame holds the keyboard focus inside it.
        if (Form->HandleAllocated()) {
            const QWidget* focus = QApplication::focusWidget();
            if (focus && Form->Handle()->isAncestorOf(focus)) {
                return true;
            }
        }
        return Form->Active();
    }
    return Form->Active();
}

} // namespace sk
