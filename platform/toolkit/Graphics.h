// Colours, fonts, pens, brushes and the canvas: GDI-style drawing on Qt.
// Coordinates are integers; rectangles exclude their right and bottom edge;
// lines and shapes are drawn without antialiasing so pixels are exact.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPolygon>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QTransform>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/toolkit/Exceptions.h"
#include "platform/toolkit/Types.h"
#include "platform/win32/Win32.h"

class QPaintDevice;
class QPainter;

// ---- Windows constants the drawing calls take --------------------------------
// Guarded so that a Windows-function header defining the same names wins.

#ifndef COLOR_SCROLLBAR
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_HOTLIGHT 26
#define COLOR_GRADIENTACTIVECAPTION 27
#define COLOR_GRADIENTINACTIVECAPTION 28
#define COLOR_MENUHILIGHT 29
#define COLOR_MENUBAR 30
#endif

#ifndef DT_LEFT
#define DT_TOP 0x00000000u
#define DT_LEFT 0x00000000u
#define DT_CENTER 0x00000001u
#define DT_RIGHT 0x00000002u
#define DT_VCENTER 0x00000004u
#define DT_BOTTOM 0x00000008u
#define DT_WORDBREAK 0x00000010u
#define DT_SINGLELINE 0x00000020u
#define DT_EXPANDTABS 0x00000040u
#define DT_NOCLIP 0x00000100u
#define DT_CALCRECT 0x00000400u
#define DT_NOPREFIX 0x00000800u
#define DT_END_ELLIPSIS 0x00008000u
#define DT_HIDEPREFIX 0x00100000u
#endif

#ifndef ANSI_CHARSET
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define OEM_CHARSET 255
#endif

#ifndef FW_NORMAL
#define FW_NORMAL 400
#define FW_BOLD 700
#endif

namespace tk {

class TBitmap;
class TGraphic;
class TRegion;

// ---- Colours -------------------------------------------------------------------

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

constexpr TColor RGBColor(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// The classic Windows value of a system colour (index COLOR_*); black for an
// unknown index. Fixed, not taken from the desktop, so pixels reproduce.
TColor GetSysColor(int index);

// A plain 0x00BBGGRR value: system colours resolved; any other value keeps
// its low 24 bits (clNone gives white, clDefault black).
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// "clBtnFace" <-> value, for form descriptions. StringToColor also takes
// decimal and "$BBGGRR"/"0x..." numbers; false when the text is neither.
bool IdentToColor(const QString& ident, TColor& color);
QString ColorToString(TColor color);
bool StringToColor(const QString& text, TColor& color);

// a * b / c rounded half away from zero, with a 64-bit intermediate; -1 when
// c is 0, as on Windows.
int MulDiv(int a, int b, int c);

// ---- Font ----------------------------------------------------------------------

class TFont : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Size READ Size WRITE SetSize STORED false)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)
    Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
    Q_PROPERTY(TFontPitch Pitch READ Pitch WRITE SetPitch)

public:
    enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)
    enum TFontPitch { fpDefault, fpVariable, fpFixed };
    Q_ENUM(TFontPitch)

    static constexpr int PixelsPerInch = 96;

    explicit TFont(QObject* parent = nullptr);
    ~TFont() override;

    QString Name() const { return m_name; }
    void SetName(const QString& name);
    // Negative: character height in pixels; positive: cell height (with the
    // internal leading); 0: the default height.
    int Height() const { return m_height; }
    void SetHeight(int height);
    // Points at 96 pixels per inch.
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style);
    int Charset() const { return m_charset; }
    void SetCharset(int charset);
    TFontPitch Pitch() const { return m_pitch; }
    void SetPitch(TFontPitch pitch);

    // Copies every attribute, raising OnChange once if anything differed.
    void Assign(const TFont& other);
    // Name, height, weight, italic, underline, strike-out, charset of a LOGFONTA.
    void AssignLogFont(const LOGFONTA& lf);
    static std::unique_ptr<TFont> FromLogFont(const LOGFONTA& lf);
    LOGFONTA ToLogFont() const;

    bool operator==(const TFont& other) const;

    // Pixel-sized, unhinted-surprise-free QFont for this description.
    QFont ToQFont() const;
    // The pixel size ToQFont() uses.
    int PixelSize() const;

    std::function<void()> OnChange;

private:
    void Changed();

    QString m_name;
    int m_height;
    TColor m_color;
    TFontStyles m_style;
    int m_charset;
    TFontPitch m_pitch;
};

using TFontStyle = TFont::TFontStyle;
using TFontStyles = TFont::TFontStyles;
using TFontPitch = TFont::TFontPitch;
using enum TFont::TFontStyle;
using enum TFont::TFontPitch;

// Text cell metrics as GDI reports them: ascent and descent from the face's
// Windows metrics when it has them (Qt's are often shorter), so cell heights
// and baselines match the classic layout.
struct TTextMetrics {
    int Height = 0; // Ascent + Descent
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0; // Height minus the em size
};
TTextMetrics FontMetrics(const QFont& font);

// ---- Pen -----------------------------------------------------------------------

class TPen : public QObject {
    Q_OBJECT
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(TPenStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(TPenMode Mode READ Mode WRITE SetMode)

public:
    enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
    Q_ENUM(TPenStyle)
    // pmXor and pmNot work on image-backed canvases (raster operations).
    enum TPenMode { pmCopy, pmXor, pmNot, pmBlack, pmWhite, pmNop };
    Q_ENUM(TPenMode)

    explicit TPen(QObject* parent = nullptr);
    ~TPen() override;

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    int Width() const { return m_width; }
    void SetWidth(int width); // values below 1 become 1
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return m_mode; }
    void SetMode(TPenMode mode);

    void Assign(const TPen& other);

    std::function<void()> OnChange;

private:
    void Changed();

    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = psSolid;
    TPenMode m_mode = pmCopy;
};

using TPenStyle = TPen::TPenStyle;
using TPenMode = TPen::TPenMode;
using enum TPen::TPenStyle;
using enum TPen::TPenMode;

// ---- Brush ---------------------------------------------------------------------

class TBrush : public QObject {
    Q_OBJECT
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(TBrushStyle Style READ Style WRITE SetStyle)

public:
    enum TBrushStyle {
        bsSolid,
        bsClear,
        bsHorizontal,
        bsVertical,
        bsFDiagonal,
        bsBDiagonal,
        bsCross,
        bsDiagCross
    };
    Q_ENUM(TBrushStyle)

    explicit TBrush(QObject* parent = nullptr);
    ~TBrush() override;

    TColor Color() const { return m_color; }
    void SetColor(TColor color); // also makes a clear brush solid, as the classic library does
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle style);

    // Pattern brush: the brush keeps its own copy of the bitmap's pixels and
    // tiles them from the canvas origin; null removes the pattern.
    void SetBitmap(const TBitmap* bitmap);
    void SetPattern(const QImage& pattern);
    bool HasBitmap() const { return !m_pattern.isNull(); }
    const QImage& Pattern() const { return m_pattern; }

    void Assign(const TBrush& other);

    std::function<void()> OnChange;

private:
    void Changed();

    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
    QImage m_pattern;
};

using TBrushStyle = TBrush::TBrushStyle;
using enum TBrush::TBrushStyle;

// ---- Canvas --------------------------------------------------------------------

enum TCopyMode : unsigned {
    cmSrcCopy,
    cmSrcAnd,
    cmSrcPaint,
    cmSrcInvert,
    cmDstInvert,
    cmBlackness,
    cmWhiteness,
};

// A drawing surface with GDI semantics over a QPainter, which the canvas owns
// (begun lazily on a paint device) or borrows. Drawing without a device does
// nothing. The canvas keeps a logical origin and a clip of its own, so the
// painter can be ended and begun again (TBitmap does this whenever its image
// is read) without losing them.
class TCanvas {
public:
    TCanvas();
    // The painter is begun on the first drawing call; on a widget that must
    // happen inside its paint event, and the paint event calls EndPaint (or
    // Detach) before it returns.
    explicit TCanvas(QPaintDevice* device);
    // Borrows a painter that is already active; its transform and clip at
    // this moment are the canvas's device coordinates and outer clip, and its
    // state is restored on Detach. To draw through another canvas (a paint
    // handler given the canvas of a paint in progress) borrow its Painter():
    // origin and clip carry over, and the device keeps a single painter.
    // The lender must outlive the borrower.
    explicit TCanvas(QPainter* painter);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Re-targets the canvas: ends its own painter, drops origin, clip and
    // saved states; pen, brush, font and pen position are kept.
    void Attach(QPaintDevice* device);
    void Attach(QPainter* painter);
    void Detach();
    bool Attached() const;
    // Ends an owned painter; the next drawing call begins it again.
    void EndPaint();
    QPaintDevice* Device() const { return m_device; }

    TBrush* Brush() { return &m_brush; }
    TPen* Pen() { return &m_pen; }
    TFont* Font() { return &m_font; }
    const TBrush* Brush() const { return &m_brush; }
    const TPen* Pen() const { return &m_pen; }
    const TFont* Font() const { return &m_font; }

    TCopyMode CopyMode() const { return m_copyMode; }
    void SetCopyMode(TCopyMode mode) { m_copyMode = mode; }

    TPoint PenPos() const { return m_penPos; }
    void SetPenPos(TPoint p) { m_penPos = p; }
    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y) without the end pixel.
    void LineTo(int x, int y);
    // Lines through the points, the last point not drawn; pen position unchanged.
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);

    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    // Pen outline inside r, brush fill; with a clear pen the fill stops one
    // pixel short of the right and bottom edge, as GDI does.
    void Rectangle(int l, int t, int r, int b);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int l, int t, int r, int b, int w, int h);
    void Ellipse(int l, int t, int r, int b);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // GDI arc: bounding box (x1, y1)-(x2, y2), from the radial through (x3, y3)
    // counter-clockwise to the radial through (x4, y4).
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Paints the region (logical coordinates) with the brush; FrameRegion
    // paints its inner border, w pixels wide at the sides and h at top and bottom.
    void FillRegion(const TRegion& region);
    void FrameRegion(const TRegion& region, int w, int h);

    // Text with its top-left at (x, y) in the font colour; the background is
    // filled with the brush unless the brush is clear. Moves the pen position
    // to the text's end.
    void TextOut(int x, int y, const QString& text);
    // As TextOut, clipped to r; an opaque brush fills all of r.
    void TextRect(const TRect& r, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    QSize TextExtent(const QString& text) const; // height: the font's cell height
    TTextMetrics TextMetrics() const;
    // DrawText with the DT_* flags listed above. Returns the height of the
    // text drawn (or measured, with DT_CALCRECT, which also sets r's right
    // and bottom and draws nothing). An opaque brush fills behind each line.
    int DrawText(const QString& text, TRect& r, UINT flags);

    // Draws the graphic unscaled at (x, y); transparent bitmaps are colour-keyed.
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& r, const TGraphic& graphic);
    // Copies (stretching if sizes differ) pixels of an image-backed source
    // canvas under the copy mode. The source may be this canvas.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
    // The part src of an image into dest, scaled (nearest pixel) when sizes
    // differ. Keyed images (alpha already cut out) blend; others go under the
    // copy mode.
    void DrawImage(const TRect& dest, const QImage& image, const QRect& src, bool keyed);
    // Dotted frame that inverts every other pixel; drawing it twice restores.
    void DrawFocusRect(const TRect& r);

    // Reading needs an image-backed canvas; elsewhere, and outside the image,
    // it answers clNone.
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    // Logical (0, 0) sits at device point Origin(). SetOrigin places it,
    // MoveOrigin shifts it (MoveOrigin(-10, 0) draws everything 10 pixels
    // further left).
    TPoint Origin() const { return m_origin; }
    void SetOrigin(int x, int y);
    void MoveOrigin(int dx, int dy);
    // Clip rectangle in logical coordinates, intersected with the current clip.
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    // Replaces the clip by a region in device coordinates (not moved by the
    // origin), as SelectClipRgn does.
    void SelectClipRegion(const TRegion& region);
    void ClearClip();
    // The visible part in logical coordinates (the device bounds without a clip).
    TRect ClipRect() const;

    // Origin, clip and pen position.
    void SaveState();
    void RestoreState(); // no-op on an empty stack

    // The painter with the canvas's origin and clip applied, begun if needed;
    // null without a device. Code that changes its state restores it.
    QPainter* Painter();

    // Raised after drawing (TBitmap uses it to know its pixels changed).
    std::function<void()> OnChange;

private:
    struct State {
        TPoint origin;
        std::optional<QRegion> clip; // device coordinates
        TPoint penPos;
    };

    QPainter* Active();
    void ApplyState(QPainter* p);
    void Changed();
    QImage* TargetImage();
    QPoint ToImagePoint(int x, int y) const;
    QRect DeviceBounds() const;
    void FillWithBrush(QPainter* p, const QRegion& region);
    void PaintPenPixels(QPainter* p, const QRegion& region);
    void DrawPenLine(QPainter* p, TPoint from, TPoint to);
    void DrawTextLine(QPainter* p, const QFont& font, const QString& line, int x, int y, int accel,
                      bool opaque);

    TBrush m_brush;
    TPen m_pen;
    TFont m_font;
    TCopyMode m_copyMode = cmSrcCopy;
    TPoint m_penPos;

    QPaintDevice* m_device = nullptr;
    std::unique_ptr<QPainter> m_ownPainter;
    QPainter* m_borrowed = nullptr;
    struct LenderState;
    std::unique_ptr<LenderState> m_lender; // the borrowed painter's state, given back on Detach
    QTransform m_baseTransform;
    std::optional<QRegion> m_baseClip;

    TPoint m_origin;
    std::optional<QRegion> m_clip;
    std::vector<State> m_saved;
    bool m_dirty = true; // origin or clip not yet given to the painter
};

// Saves the canvas state for a scope.
class TCanvasState {
public:
    explicit TCanvasState(TCanvas& canvas) : m_canvas(canvas) { m_canvas.SaveState(); }
    ~TCanvasState() { m_canvas.RestoreState(); }
    TCanvasState(const TCanvasState&) = delete;
    TCanvasState& operator=(const TCanvasState&) = delete;

private:
    TCanvas& m_canvas;
};

} // namespace tk

Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TFont::TFontStyles)
