// Visual styles, the built-in theme table and the drawing helpers every
// skinned component shares: nine-part and three-part stretching of theme
// images, tiling, fake transparency, control borders and quarter turns.
#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/Controls.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Graphics.h"
#include "platform/toolkit/Types.h"

namespace sk {

using tk::TColor;

// Published so that a form description can say "UIStyle = BlueGlass".
struct TskEnums {
    Q_GADGET

public:
    enum TskUIStyle {
        FromThemeFile = 0,
        MacOS = 1,
        WinXP = 2,
        DeepBlue = 3,
        Protein = 4,
        BlueGlass = 5
    };
    Q_ENUM(TskUIStyle)

    // Kind of a theme item; Str items are images named by a resource name.
    enum TskType { Int = 0, Color = 1, Str = 2, Bool = 3 };
    Q_ENUM(TskType)
};

using TskUIStyle = TskEnums::TskUIStyle;
using TskType = TskEnums::TskType;
using enum TskEnums::TskUIStyle;

// Theme items are numbered 1 to 42; entry 0 of both tables is unused so that
// an item number indexes them directly.
inline constexpr int SK_ITEM_COUNT = 42;
extern const std::array<const char*, SK_ITEM_COUNT + 1> SK_FILETHEME_ITEMNAME;
extern const std::array<TskType, SK_ITEM_COUNT + 1> SK_ITEM_TYPE;

// Item numbers by name, for readable call sites.
enum TskItem : int {
    siButtonImage = 1,
    siButtonTransparentBool = 2,
    siCheckBoxImage = 3,
    siRadioButtonImage = 4,
    siTitleBarButtonImage = 5,
    siTitleBarButtonTransparentBool = 6,
    siTitleBarButtonLeftOffsetInt = 7,
    siTitleBarButtonRightOffsetInt = 8,
    siTitleBarButtonTopInt = 9,
    siTitleBarLeftImage = 10,
    siTitleBarClientImage = 11,
    siTitleBarRightImage = 12,
    siFormMinWidthInt = 13,
    siFormRoundCornerInt = 14,
    siFormBackgroundColor = 15,
    siFormBorderColor = 16,
    siFormBorderWidthInt = 17,
    siMenuSelectedBorderColor = 18,
    siMenuSelectedBackgroundColor = 19,
    siMenuSelectedFontColor = 20,
    siMenuBackgroundColor = 21,
    siMenuFontColor = 22,
    siMenuBarColor = 23,
    siProgressBarImage = 24,
    siControlBorderColor = 25,
    siControlBackgroundColor = 26,
    siControlFontColor = 27,
    siTrackBarBarImage = 28,
    siTrackBarSliderImage = 29,
    siTrackBarSliderVImage = 30,
    siScrollBarBackgroundColor = 31,
    siScrollBarButtonImage = 32,
    siScrollBarSliderImage = 33,
    siCheckListBoxImage = 34,
    siToolBarButtonBorderColor = 35,
    siToolBarButtonBackgroundColor = 36,
    siToolBarButtonDownBackgroundColor = 37,
    siScrollButtonImage = 38,
    siTabControlTabImage = 39,
    siTabControlBarImage = 40,
    siSideChannelHandleImage = 41,
    siSideChannelBarImage = 42,
};

// While true the skinned form keeps its advice about plain main menus to itself.
extern bool g_SkinKitConverting;

// ---- theme look-up ----------------------------------------------------------

// The style (published UIStyle) of the first TskForm among the form's direct
// child controls, in child order; DeepBlue when Owner is no form or has none.
TskUIStyle GetSKFormStyle(tk::TComponent* Owner);

// Item Index of a built-in style into Buf: the whole image (SpitCount 0) or
// state SpitIndex (1-based) of SpitCount. Nothing for a null Buf, a non-image
// item or FromThemeFile; a missing resource leaves Buf as it was.
void GetInsideThemeBitmap(TskUIStyle UIStyle, int Index, tk::TBitmap* Buf, int SpitCount = 0,
                          int SpitIndex = 0);
// The item's value when its kind matches, else colour 0, integer -1, false.
TColor GetInsideThemeColor(TskUIStyle UIStyle, int Index);
int GetInsideThemeInt(TskUIStyle UIStyle, int Index);
bool GetInsideThemeBool(TskUIStyle UIStyle, int Index);
// Resource name of an image item ("BLUEGLASS_BUTTON"); empty for other items.
QString GetInsideThemeResourceName(TskUIStyle UIStyle, int Index);

// ---- published properties ---------------------------------------------------

// Whether the component's class publishes a property of that name (any case).
bool IsHasProperty(const QObject* Component, const char* Name);
// Sets a published property by name; false when there is none or the value
// does not fit. Enumerations take their integer value.
bool SetPublishedProperty(QObject* Component, const char* Name, const QVariant& Value);

class TskFileTheme;

// For each direct child control of Container that publishes both FileTheme and
// UIStyle, in child order: FileTheme, then UIStyle. Grandchildren are not visited.
void ContainerApplyUIStyle(tk::TWinControl* Container, TskUIStyle UIStyle, TskFileTheme* FileTheme);

// ---- drawing helpers --------------------------------------------------------

// Dest becomes state Index (1-based) of Count equal states of Source, unscaled.
void SpitBitmap(const tk::TBitmap* Source, tk::TBitmap* Dest, int Count, int Index);
// Nine-part stretch of Source over Rect (which starts at the canvas origin):
// corners unscaled (keyed by magenta when Transparent), edges and centre
// stretched with magenta keyed out.
void SpitDraw(const tk::TBitmap* Source, tk::TCanvas* Canvas, const tk::TRect& Rect,
              bool Transparent);
// Three-part stretch: both ends unscaled and keyed (by the top-left pixel with
// UseCornerColor, else magenta), the middle stretched opaque.
void SpitDrawHorizontal(const tk::TBitmap* Source, tk::TCanvas* Canvas, const tk::TRect& Rect,
                        bool UseCornerColor);
// Tiles from the canvas origin, overshooting Rect by up to one tile.
void TileDraw(tk::TCanvas* Canvas, const tk::TGraphic* Picture, const tk::TRect& Rect);
void TileDraw(tk::TCanvas* Canvas, tk::TPicture* Picture, const tk::TRect& Rect);
// Paints what the control's parent paints under the control (the parent's
// own background and painting, not its other children) into Canvas, whose
// origin is the control's top-left. Nothing without a parent.
void DoTrans(tk::TCanvas* Canvas, tk::TControl* Control);
// One-pixel frame of BorderColor around the whole window (0, 0, Width, Height),
// and with DrawInner a second one inside it of InnerColor. WindowCanvas is a
// canvas on the control's whole window: the one WM_NCPAINT hands out, or
// WM_PAINT's when the control keeps no band. Nothing without a canvas.
void DrawControlBorder(tk::TCanvas* WindowCanvas, tk::TControl* Control, TColor BorderColor,
                       TColor InnerColor, bool DrawInner);
// Quarter turns in place: RoundPicture counter-clockwise, RoundPicture3 clockwise.
void RoundPicture(tk::TBitmap* Bitmap);
void RoundPicture3(tk::TBitmap* Bitmap);

// ---- small utilities --------------------------------------------------------

// The setter most skinned properties have: store Value, and repaint Control
// when it differs.
template <class T> void StoreAndRepaint(tk::TControl* Control, T& Field, const T& Value) {
    if (Field != Value) {
        Field = Value;
        Control->Invalidate();
    }
}

// Both edges inclusive.
bool InRect(tk::TPoint Point, const tk::TRect& Rect);
bool InRect(int X, int Y, const tk::TRect& Rect);
void PlaceControl(tk::TControl* Control, tk::TPoint Point);
void PlaceControl(tk::TControl* Control, const tk::TRect& Rect);
// Work area of the primary screen.
tk::TRect GetWorkAreaRect();
// Whether key strokes belong to Form.
bool FormHasFocus(tk::TCustomForm* Form);

} // namespace sk
