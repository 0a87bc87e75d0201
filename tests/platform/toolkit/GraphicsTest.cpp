// Colours, fonts and canvas drawing, checked on real pixels of image-backed
// bitmaps.
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QVariant>
#include <gtest/gtest.h>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/Graphics.h"
#include "platform/toolkit/Regions.h"

using namespace tk;

namespace {

// A white bitmap with a few helpers to look at its pixels.
class Surface {
public:
    Surface(int w, int h) : bmp(w, h) {}

    TCanvas& C() { return *bmp.Canvas(); }
    TColor At(int x, int y) const { return FromQColor(QColor(bmp.Image().pixel(x, y))); }
    bool Ink(int x, int y) const { return At(x, y) != clWhite; }

    // Rows of '#' (not white) and '.', for readable failure messages.
    std::string Map() const {
        std::string s;
        const QImage& img = bmp.Image();
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                s += Ink(x, y) ? '#' : '.';
            }
            s += '\n';
        }
        return s;
    }

    // Bounding box of the non-white pixels, right/bottom exclusive.
    TRect InkBounds() const {
        TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        const QImage& img = bmp.Image();
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                if (Ink(x, y)) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
            }
        }
        return r;
    }

    TBitmap bmp;
};

} // namespace

TEST(GraphicsColor, ResolvesSystemColoursAndParsesNames) {
    EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clHighlight), RGBColor(10, 36, 106));
    EXPECT_EQ(ColorToRGB(clGrayText), RGBColor(128, 128, 128));
    EXPECT_EQ(ColorToRGB(clMenu), RGBColor(212, 208, 200));
    EXPECT_EQ(ColorToRGB(0xE7E7E7), 0xE7E7E7u);
    EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack); // unknown index
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), RGBColor(1, 2, 3));
    EXPECT_EQ(GetRValue(RGBColor(1, 2, 3)), 1);
    EXPECT_EQ(GetBValue(RGBColor(1, 2, 3)), 3);

    const struct {
        const char* text;
        bool ok;
        TColor value;
    } cases[] = {
        {"clBtnFace", true, clBtnFace},     {"clwhite", true, clWhite},
        {"$00E7E7E7", true, 0xE7E7E7},      {"0x1FFFFFFF", true, clNone},
        {"15198183", true, 15198183},       {"-2147483633", true, clBtnFace},
        {"clNoSuchColour", false, clBlack}, {"", false, clBlack},
        {"$1FFFFFFFF", false, clBlack},
    };
    for (const auto& c : cases) {
        TColor v = clBlack;
        EXPECT_EQ(StringToColor(QString::fromLatin1(c.text), v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(ColorToString(clBtnFace), QStringLiteral("clBtnFace"));
    TColor back = 0;
    ASSERT_TRUE(StringToColor(ColorToString(0x123456), back));
    EXPECT_EQ(back, 0x123456u);
}

TEST(GraphicsFont, HeightSizeStyleAndChangeNotice) {
    TFont f;
    EXPECT_EQ(f.Name(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    int changes = 0;
    f.OnChange = [&] { ++changes; };

    const struct {
        int size;
        int height;
    } sizes[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {14, -19}};
    for (const auto& s : sizes) {
        f.SetSize(s.size);
        EXPECT_EQ(f.Height(), s.height) << s.size;
        EXPECT_EQ(f.Size(), s.size);
        EXPECT_EQ(f.ToQFont().pixelSize(), -s.height);
    }
    changes = 0;
    f.SetHeight(f.Height()); // no change, no notice
    f.SetColor(f.Color());
    EXPECT_EQ(changes, 0);

    // A form description sets enumerations by their names or values.
    ASSERT_TRUE(f.setProperty("Style", QVariant(QStringLiteral("fsBold|fsUnderline"))));
    EXPECT_EQ(f.Style(), TFontStyles(fsBold | fsUnderline));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(f.ToQFont().bold());
    EXPECT_TRUE(f.ToQFont().underline());
    ASSERT_TRUE(f.setProperty("Style", QVariant(int(fsItalic))));
    EXPECT_EQ(f.Style(), TFontStyles(fsItalic));
    ASSERT_TRUE(f.setProperty("Pitch", QVariant(QStringLiteral("fpFixed"))));
    EXPECT_EQ(f.Pitch(), fpFixed);
    ASSERT_TRUE(f.setProperty("Color", QVariant::fromValue(int(clBtnFace))));
    EXPECT_EQ(f.Color(), clBtnFace);

    TFont copy;
    int copyChanges = 0;
    copy.OnChange = [&] { ++copyChanges; };
    copy.Assign(f);
    copy.Assign(f);
    EXPECT_TRUE(copy == f);
    EXPECT_EQ(copyChanges, 1);
}

TEST(GraphicsFont, FromLogFont) {
    LOGFONTA lf{};
    lf.lfHeight = -12;
    lf.lfWeight = 700;
    lf.lfItalic = 1;
    lf.lfCharSet = ANSI_CHARSET;
    std::memcpy(lf.lfFaceName, "Tahoma", 7);
    const auto f = TFont::FromLogFont(lf);
    EXPECT_EQ(f->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(f->Height(), -12);
    EXPECT_EQ(f->Style(), TFontStyles(fsBold | fsItalic));
    EXPECT_EQ(f->Charset(), ANSI_CHARSET);

    // A face name that fills the array without a terminator is cut, not overrun.
    std::memset(lf.lfFaceName, 'A', LF_FACESIZE);
    EXPECT_EQ(TFont::FromLogFont(lf)->Name().size(), LF_FACESIZE);
}

TEST(GraphicsFont, RegisteredFamiliesResolve) {
    if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")) ||
        !QFile::exists(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"))) {
        GTEST_SKIP() << "Tahoma or DejaVu Sans font files are not installed";
    }
    TFont f;
    f.SetName(QStringLiteral("Tahoma"));
    EXPECT_EQ(QFontInfo(f.ToQFont()).family(), QStringLiteral("Tahoma"));
    f.SetName(QStringLiteral("Verdana"));
    EXPECT_EQ(QFontInfo(f.ToQFont()).family(), QStringLiteral("DejaVu Sans"));
    f.SetName(QStringLiteral("MS Shell Dlg 2"));
    EXPECT_EQ(QFontInfo(f.ToQFont()).family(), QStringLiteral("Tahoma"));
    f.SetName(QStringLiteral("Tahoma"));
    f.SetStyle(fsBold);
    EXPECT_TRUE(QFontInfo(f.ToQFont()).bold());

    // Cells as GDI measures them: Tahoma 8 pt is 11 + 2 pixels; a positive
    // height asks for the cell, so the em comes out smaller.
    const TTextMetrics tm = FontMetrics(f.ToQFont());
    EXPECT_EQ(tm.Ascent, 11);
    EXPECT_EQ(tm.Height, 13);
    f.SetHeight(16);
    EXPECT_EQ(f.PixelSize(), 13);
    EXPECT_EQ(FontMetrics(f.ToQFont()).Height, 16);
}

TEST(GraphicsCanvas, RectanglesExcludeRightAndBottom) {
    Surface s(12, 12);
    s.C().Brush()->SetColor(clBlue);
    s.C().FillRect(Rect(1, 1, 4, 3));
    EXPECT_EQ(s.InkBounds(), Rect(1, 1, 4, 3)) << s.Map();

    Surface f(12, 12);
    f.C().Brush()->SetColor(clRed);
    f.C().FrameRect(Rect(2, 2, 7, 6));
    EXPECT_EQ(f.InkBounds(), Rect(2, 2, 7, 6)) << f.Map();
    EXPECT_EQ(f.At(2, 2), clRed);
    EXPECT_EQ(f.At(6, 5), clRed);
    EXPECT_FALSE(f.Ink(3, 3)) << "a frame is hollow";

    // Rectangle: pen outline on the outer pixels, brush inside.
    Surface r(12, 12);
    r.C().Pen()->SetColor(clBlack);
    r.C().Brush()->SetColor(clLime);
    r.C().Rectangle(1, 1, 6, 5);
    EXPECT_EQ(r.InkBounds(), Rect(1, 1, 6, 5)) << r.Map();
    EXPECT_EQ(r.At(5, 4), clBlack);
    EXPECT_EQ(r.At(2, 2), clLime);
    EXPECT_EQ(r.At(4, 3), clLime);

    // With a clear pen GDI fills one pixel short on the right and bottom.
    Surface n(12, 12);
    n.C().Pen()->SetStyle(psClear);
    n.C().Brush()->SetColor(clLime);
    n.C().Rectangle(1, 1, 6, 5);
    EXPECT_EQ(n.InkBounds(), Rect(1, 1, 5, 4)) << n.Map();

    // A clear brush draws nothing; an empty or inverted rect neither.
    Surface c(6, 6);
    c.C().Brush()->SetStyle(bsClear);
    c.C().FillRect(Rect(0, 0, 6, 6));
    c.C().Brush()->SetColor(clBlack);
    c.C().FillRect(Rect(4, 4, 2, 2));
    c.C().FrameRect(Rect(1, 1, 1, 5));
    EXPECT_EQ(c.Map(), Surface(6, 6).Map());
}

TEST(GraphicsCanvas, LineToLeavesOutTheEndPixel) {
    const struct {
        TPoint from, to;
        int pixels;
    } lines[] = {
        {{1, 1}, {6, 1}, 5}, // right
        {{6, 2}, {1, 2}, 5}, // left
        {{2, 0}, {2, 7}, 7}, // down
        {{0, 0}, {5, 5}, 5}, // diagonal
        {{3, 3}, {3, 3}, 0}, // a point: nothing
    };
    for (const auto& l : lines) {
        Surface s(8, 8);
        s.C().MoveTo(l.from.x, l.from.y);
        s.C().LineTo(l.to.x, l.to.y);
        EXPECT_EQ(s.C().PenPos(), l.to);
        int count = 0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                count += s.Ink(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(count, l.pixels) << s.Map();
        if (l.pixels > 0) {
            EXPECT_TRUE(s.Ink(l.from.x, l.from.y)) << s.Map();
        }
        EXPECT_FALSE(s.Ink(l.to.x, l.to.y)) << s.Map();
    }

    // A polyline joins without gaps and still leaves out its last point.
    Surface p(8, 8);
    p.C().Polyline({{1, 1}, {5, 1}, {5, 5}});
    EXPECT_TRUE(p.Ink(5, 1)) << p.Map();
    EXPECT_TRUE(p.Ink(5, 4));
    EXPECT_FALSE(p.Ink(5, 5));

    // Dotted: 3 on, 3 off.
    Surface d(12, 1);
    d.C().Pen()->SetStyle(psDot);
    d.C().MoveTo(0, 0);
    d.C().LineTo(12, 0);
    EXPECT_EQ(d.Map(), "###...###...\n");
}

TEST(GraphicsCanvas, ArcQuarterLandsOnTheEllipseOutline) {
    // Box 21 x 21, from the east radial counter-clockwise to the north one:
    // the upper-right quarter of the circle.
    Surface arc(21, 21);
    arc.C().Arc(0, 0, 21, 21, 21, 10, 10, 0);
    Surface full(21, 21);
    full.C().Brush()->SetStyle(bsClear);
    full.C().Ellipse(0, 0, 21, 21);

    int drawn = 0;
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 21; ++x) {
            const bool upperRight = x >= 10 && y <= 10;
            if (upperRight) {
                EXPECT_EQ(arc.Ink(x, y), full.Ink(x, y)) << x << "," << y << "\n" << arc.Map();
            } else if (x != 10 && y != 10) {
                EXPECT_FALSE(arc.Ink(x, y)) << x << "," << y << "\n" << arc.Map();
            }
            drawn += arc.Ink(x, y) ? 1 : 0;
        }
    }
    EXPECT_TRUE(arc.Ink(20, 10)) << "east end";
    EXPECT_TRUE(arc.Ink(10, 0)) << "north end";
    EXPECT_TRUE(arc.Ink(17, 3)) << "on the diagonal";
    EXPECT_GT(drawn, 12);
    EXPECT_FALSE(arc.Ink(0, 10)) << "west is not on the arc";
}

TEST(GraphicsCanvas, EllipseAndRoundRectAreSymmetric) {
    Surface s(17, 12);
    s.C().Brush()->SetColor(clLime);
    s.C().RoundRect(0, 0, 17, 12, 9, 7);
    Surface e(17, 12);
    e.C().Ellipse(0, 0, 17, 12);
    for (const Surface* x : {&s, &e}) {
        EXPECT_EQ(x->InkBounds(), Rect(0, 0, 17, 12)) << x->Map();
        for (int y = 0; y < 12; ++y) {
            for (int xx = 0; xx < 17; ++xx) {
                ASSERT_EQ(x->Ink(xx, y), x->Ink(16 - xx, y)) << x->Map();
                ASSERT_EQ(x->Ink(xx, y), x->Ink(xx, 11 - y)) << x->Map();
            }
        }
    }
    EXPECT_FALSE(s.Ink(0, 0));
    EXPECT_EQ(s.At(8, 0), clBlack);
    EXPECT_EQ(s.At(8, 6), clLime);
}

TEST(GraphicsCanvas, PatternBrushTilesFromTheOrigin) {
    // 2 x 2 checker: black at (0,0) and (1,1).
    TBitmap pattern(2, 2);
    pattern.Canvas()->SetPixels(0, 0, clBlack);
    pattern.Canvas()->SetPixels(1, 1, clBlack);

    Surface s(8, 8);
    s.C().Brush()->SetBitmap(&pattern);
    s.C().FillRect(Rect(1, 1, 7, 7));
    for (int y = 1; y < 7; ++y) {
        for (int x = 1; x < 7; ++x) {
            EXPECT_EQ(s.At(x, y), (x + y) % 2 == 0 ? clBlack : clWhite) << x << "," << y;
        }
    }
    EXPECT_FALSE(s.Ink(0, 0)) << "nothing outside the rectangle";

    // The pattern moves with the logical origin, so a child painting its
    // parent's background (origin shifted by its position) lines up.
    Surface o(8, 8);
    o.C().Brush()->SetBitmap(&pattern);
    o.C().SetOrigin(1, 0);
    o.C().FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(o.At(1, 0), clBlack);
    EXPECT_EQ(o.At(2, 0), clWhite);

    // The brush keeps its own copy of the pattern.
    pattern.Canvas()->SetPixels(1, 0, clBlack);
    Surface later(4, 1);
    later.C().Brush()->SetBitmap(nullptr);
    later.C().Brush()->SetPattern(s.C().Brush()->Pattern());
    later.C().FillRect(Rect(0, 0, 4, 1));
    EXPECT_EQ(later.Map(), "#.#.\n");
}

TEST(GraphicsCanvas, TextOutBackgroundFollowsTheBrush) {
    Surface opaque(60, 20);
    opaque.C().Brush()->SetColor(clYellow);
    opaque.C().TextOut(2, 2, QStringLiteral("Hi"));
    const QSize ext = opaque.C().TextExtent(QStringLiteral("Hi"));
    EXPECT_EQ(opaque.At(2, 2), clYellow) << "background cell is filled";
    EXPECT_EQ(opaque.At(2 + ext.width() - 1, 2 + ext.height() - 1), clYellow);
    EXPECT_FALSE(opaque.Ink(2 + ext.width(), 2));
    EXPECT_EQ(opaque.C().PenPos(), (TPoint{2 + ext.width(), 2}));

    Surface clear(60, 20);
    clear.C().Brush()->SetStyle(bsClear);
    clear.C().Font()->SetColor(clRed);
    clear.C().TextOut(2, 2, QStringLiteral("Hi"));
    const TRect ink = clear.InkBounds();
    EXPECT_GE(ink.Left, 2);
    EXPECT_GT(ink.Top, 2) << "no background fill at the cell's top";
    EXPECT_LE(ink.Right, 2 + ext.width());
}

TEST(GraphicsCanvas, DrawTextAlignsAndMeasures) {
    Surface s(100, 30);
    TCanvas& c = s.C();
    c.Brush()->SetStyle(bsClear);
    c.Font()->SetName(QStringLiteral("Tahoma"));
    const QString text = QStringLiteral("OK");
    const QSize ext = c.TextExtent(text);

    TRect calc = Rect(10, 5, 10, 5);
    EXPECT_EQ(c.DrawText(text, calc, DT_SINGLELINE | DT_CALCRECT), ext.height());
    EXPECT_EQ(calc, Rect(10, 5, 10 + ext.width(), 5 + ext.height()));
    EXPECT_EQ(s.Map(), Surface(100, 30).Map()) << "measuring draws nothing";

    TRect r = Rect(0, 0, 100, 30);
    EXPECT_EQ(c.DrawText(text, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER), ext.height());
    // The ink sits inside the centred text cell (a glyph may overhang by a pixel).
    const int cellLeft = (100 - ext.width()) / 2;
    const int cellTop = (30 - ext.height()) / 2;
    const TRect ink = s.InkBounds();
    EXPECT_GE(ink.Left, cellLeft - 1);
    EXPECT_LE(ink.Right, cellLeft + ext.width() + 1);
    EXPECT_GE(ink.Top, cellTop);
    EXPECT_LE(ink.Bottom, cellTop + ext.height());
    EXPECT_NEAR(ink.Left, 100 - ink.Right, 2) << s.Map();

    // Word breaking: more lines, each one line high.
    TRect narrow = Rect(0, 0, ext.width() + 4, 0);
    const int lineHeight = ext.height();
    EXPECT_EQ(c.DrawText(QStringLiteral("OK OK OK"), narrow, DT_WORDBREAK | DT_CALCRECT),
              3 * lineHeight);
    EXPECT_LE(narrow.Width(), ext.width() + 4);
    EXPECT_EQ(c.DrawText(QStringLiteral("a\nb"), narrow, DT_CALCRECT), 2 * lineHeight);
    TRect empty = Rect(0, 0, 50, 50);
    EXPECT_EQ(c.DrawText(QString(), empty, DT_CALCRECT), 0);
}

TEST(GraphicsCanvas, DrawTextUnderlinesTheAccelerator) {
    const auto render = [](const QString& text, UINT flags, TRect* out = nullptr) {
        auto s = std::make_unique<Surface>(80, 24);
        s->C().Brush()->SetStyle(bsClear);
        s->C().Font()->SetName(QStringLiteral("Tahoma"));
        TRect r = Rect(2, 2, 80, 24);
        s->C().DrawText(text, r, DT_SINGLELINE | flags);
        if (out != nullptr) {
            *out = r;
        }
        return s;
    };
    const auto marked = render(QStringLiteral("E&xit"), 0);
    const auto plain = render(QStringLiteral("Exit"), DT_HIDEPREFIX);
    const auto hidden = render(QStringLiteral("E&xit"), DT_HIDEPREFIX);
    EXPECT_EQ(plain->Map(), hidden->Map()) << "hidden prefix: same text, no underline";

    // The pixels that differ form a line below the 'x' and nowhere else.
    TCanvas& c = marked->C();
    const int xLeft = 2 + c.TextWidth(QStringLiteral("E"));
    const int xRight = 2 + c.TextWidth(QStringLiteral("Ex"));
    int extra = 0;
    int row = -1;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (marked->Ink(x, y) && !plain->Ink(x, y)) {
                ++extra;
                EXPECT_GE(x, xLeft) << marked->Map();
                EXPECT_LT(x, xRight) << marked->Map();
                EXPECT_TRUE(row == -1 || row == y) << "one row";
                row = y;
            }
        }
    }
    EXPECT_GE(extra, xRight - xLeft - 1) << marked->Map();
    EXPECT_GE(row, 2 + c.TextMetrics().Ascent) << "below the baseline";

    // "&&" is a literal ampersand; DT_NOPREFIX keeps every '&'.
    TRect r1;
    render(QStringLiteral("a&&b"), DT_CALCRECT, &r1);
    EXPECT_EQ(r1.Width(), c.TextWidth(QStringLiteral("a&b")));
    TRect r2;
    render(QStringLiteral("a&&b"), DT_CALCRECT | DT_NOPREFIX, &r2);
    EXPECT_EQ(r2.Width(), c.TextWidth(QStringLiteral("a&&b")));
}

TEST(GraphicsCanvas, DrawTextEndEllipsisFitsTheRectangle) {
    Surface s(60, 20);
    TCanvas& c = s.C();
    c.Brush()->SetStyle(bsClear);
    const QString text = QStringLiteral("Duplicate Records and more");
    ASSERT_GT(c.TextWidth(text), 50);
    TRect r = Rect(0, 0, 50, 20);
    c.DrawText(text, r, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(s.InkBounds().Right, 50) << s.Map();

    // The drawn line is a prefix of the text plus "...", and is the longest such.
    TRect calc = Rect(0, 0, 50, 20);
    c.DrawText(text, calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(calc.Width(), 50);
    int keep = 0;
    while (c.TextWidth(text.left(keep + 1) + QStringLiteral("...")) <= 50) {
        ++keep;
    }
    EXPECT_EQ(calc.Width(), c.TextWidth(text.left(keep) + QStringLiteral("...")));

    TRect wide = Rect(0, 0, 500, 20);
    c.DrawText(text, wide, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_EQ(wide.Width(), c.TextWidth(text)) << "text that fits is not cut";

    // Without the ellipsis the text is clipped to the rectangle, unless DT_NOCLIP.
    Surface clipped(80, 20);
    clipped.C().Brush()->SetStyle(bsClear);
    TRect narrow = Rect(0, 0, 30, 20);
    clipped.C().DrawText(text, narrow, DT_SINGLELINE);
    EXPECT_LE(clipped.InkBounds().Right, 30);
    clipped.C().DrawText(text, narrow, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(clipped.InkBounds().Right, 40);
}

TEST(GraphicsCanvas, SaveAndRestoreOriginAndClip) {
    Surface s(10, 10);
    TCanvas& c = s.C();
    c.Brush()->SetColor(clBlack);
    {
        TCanvasState guard(c);
        c.MoveOrigin(5, 5);
        c.IntersectClipRect(Rect(0, 0, 3, 3));
        EXPECT_EQ(c.ClipRect(), Rect(0, 0, 3, 3));
        c.FillRect(Rect(-5, -5, 10, 10));
        EXPECT_EQ(s.InkBounds(), Rect(5, 5, 8, 8)) << s.Map();

        // Nested: an empty clip hides everything; restoring brings back the outer one.
        c.SaveState();
        c.IntersectClipRect(Rect(20, 20, 30, 30));
        c.Brush()->SetColor(clRed);
        c.FillRect(Rect(-5, -5, 10, 10));
        c.RestoreState();
        EXPECT_EQ(s.At(5, 5), clBlack);
        c.ExcludeClipRect(Rect(0, 0, 1, 1));
        c.FillRect(Rect(-5, -5, 10, 10));
        EXPECT_EQ(s.At(5, 5), clBlack) << "excluded pixel kept";
        EXPECT_EQ(s.At(6, 6), clRed);
    }
    EXPECT_EQ(c.Origin(), (TPoint{0, 0}));
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 10, 10));
    c.Brush()->SetColor(clBlue);
    c.FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(s.At(0, 0), clBlue);
    c.RestoreState(); // unbalanced: ignored

    // The state survives the bitmap ending and restarting its painter.
    c.SetOrigin(2, 2);
    c.SelectClipRegion(CreateRectRgn(2, 2, 4, 4)); // device coordinates
    (void)s.bmp.Image();
    c.Brush()->SetColor(clLime);
    c.FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(s.At(2, 2), clLime);
    EXPECT_EQ(s.At(3, 3), clLime);
    EXPECT_NE(s.At(4, 4), clLime);
    EXPECT_EQ(c.Pixels(0, 0), clLime) << "reads through the origin too";
}

TEST(GraphicsCanvas, FocusRectInvertsAlternatePixelsAndUndoes) {
    Surface s(8, 6);
    s.C().Brush()->SetColor(clBtnFace);
    s.C().FillRect(Rect(0, 0, 8, 6));
    const std::string before = s.Map();
    s.C().DrawFocusRect(Rect(1, 1, 7, 5));
    const TColor inverted = RGBColor(255 - 212, 255 - 208, 255 - 200);
    EXPECT_EQ(s.At(1, 1), inverted);
    EXPECT_EQ(s.At(2, 1), ColorToRGB(clBtnFace));
    EXPECT_EQ(s.At(3, 1), inverted);
    EXPECT_EQ(s.At(3, 3), ColorToRGB(clBtnFace)) << "inside untouched";
    s.C().DrawFocusRect(Rect(1, 1, 7, 5));
    EXPECT_EQ(s.At(1, 1), ColorToRGB(clBtnFace));
    EXPECT_EQ(s.At(3, 1), ColorToRGB(clBtnFace));
}

TEST(GraphicsCanvas, CopyRectStretchesAndCopiesWithinItself) {
    TBitmap src(2, 2);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 1, clBlue);
    Surface s(6, 6);
    s.C().CopyRect(Rect(0, 0, 4, 4), *src.Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(s.At(0, 0), clRed);
    EXPECT_EQ(s.At(1, 1), clRed);
    EXPECT_EQ(s.At(2, 0), clWhite);
    EXPECT_EQ(s.At(3, 3), clBlue);
    EXPECT_EQ(s.At(4, 4), clWhite);

    // Overlapping copy inside one canvas reads the pixels as they were.
    s.C().CopyRect(Rect(2, 2, 6, 6), s.C(), Rect(0, 0, 4, 4));
    EXPECT_EQ(s.At(2, 2), clRed);
    EXPECT_EQ(s.At(5, 5), clBlue);
    EXPECT_EQ(s.At(0, 0), clRed);
}

TEST(GraphicsCanvas, BorrowedPainterAndNoDevice) {
    QImage img(6, 6, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.translate(2, 2);
    {
        TCanvas c(&p);
        c.Brush()->SetColor(clBlack);
        c.MoveOrigin(1, 0);
        c.FillRect(Rect(0, 0, 1, 1));
        EXPECT_EQ(c.Pixels(0, 0), clBlack);
    }
    EXPECT_EQ(p.transform(), QTransform::fromTranslate(2, 2)) << "lender's state restored";
    p.end();
    EXPECT_EQ(FromQColor(QColor(img.pixel(3, 2))), clBlack);

    // Painting a parent's background into a child's canvas: the handler's
    // canvas borrows the painter of the canvas it is given and draws in its
    // own coordinates, landing shifted and clipped.
    Surface child(6, 6);
    TCanvas& outer = child.C();
    outer.MoveOrigin(-2, -2);
    outer.IntersectClipRect(Rect(2, 2, 5, 5));
    {
        TCanvas handler;
        handler.Attach(outer.Painter());
        handler.Brush()->SetColor(clRed);
        handler.FillRect(Rect(0, 0, 10, 10));
        handler.Detach();
    }
    EXPECT_EQ(child.InkBounds(), Rect(0, 0, 3, 3)) << child.Map();
    outer.Brush()->SetColor(clBlue);
    outer.FillRect(Rect(2, 2, 3, 3)); // the lender goes on as before
    EXPECT_EQ(child.At(0, 0), clBlue);

    // A borrower whose lender ended painting draws nothing and does not crash.
    TCanvas late;
    late.Attach(outer.Painter());
    (void)child.bmp.Image();
    late.FillRect(Rect(0, 0, 5, 5));
    late.Detach();

    // Without a device everything is a quiet no-op.
    TCanvas none;
    none.FillRect(Rect(0, 0, 5, 5));
    none.LineTo(3, 3);
    TRect r = Rect(0, 0, 10, 10);
    EXPECT_GT(none.DrawText(QStringLiteral("x"), r, DT_SINGLELINE), 0);
    EXPECT_EQ(none.Pixels(0, 0), clNone);
    EXPECT_EQ(none.Painter(), nullptr);
}
