// The drawing helpers on synthetic images, where every source pixel tells
// where it came from: nine-part and three-part stretching, tiling, quarter
// turns, borders and the parent's background under a transparent control.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QWidget>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKThemes.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using tk::TBitmap;

namespace {

constexpr QRgb kBack = 0xFF00FF00; // green: what the target held before
constexpr QRgb kMagenta = 0xFFFF00FF;

// Pixel (x, y) is rgb(x, y, 100): never the key colour.
TBitmap Coded(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            img.setPixel(x, y, qRgb(x, y, 100));
        }
    }
    return TBitmap(img);
}

TBitmap Target(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kBack);
    return TBitmap(img);
}

// Where a coded pixel came from; (-1, -1) for anything else.
QPoint Origin(const QImage& img, int x, int y) {
    const QRgb p = img.pixel(x, y);
    if (qBlue(p) != 100) {
        return {-1, -1};
    }
    return {qRed(p), qGreen(p)};
}

// Every pixel of the destination block comes unscaled from the source block
// starting at (sx, sy).
::testing::AssertionResult Unscaled(const QImage& img, const QRect& dest, int sx, int sy) {
    for (int y = dest.top(); y <= dest.bottom(); ++y) {
        for (int x = dest.left(); x <= dest.right(); ++x) {
            const QPoint want(sx + x - dest.left(), sy + y - dest.top());
            if (Origin(img, x, y) != want) {
                return ::testing::AssertionFailure()
                       << "at " << x << "," << y << " got " << Origin(img, x, y).x() << ","
                       << Origin(img, x, y).y() << " want " << want.x() << "," << want.y();
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(SkinSpitDraw, LargeTargetKeepsCornersAndStretchesTheMiddleStrips) {
    const TBitmap src = Coded(77, 27);
    TBitmap dst = Target(200, 40);
    SpitDraw(&src, dst.Canvas(), tk::Rect(0, 0, 200, 40), false);
    const QImage img = dst.Image();
    // Corners 38x13 (top left), 37x13, 38x12, 37x12; the bottom edge is drawn
    // one column into the bottom-left corner.
    EXPECT_TRUE(Unscaled(img, QRect(0, 0, 38, 13), 0, 0));
    EXPECT_TRUE(Unscaled(img, QRect(163, 0, 37, 13), 40, 0));
    EXPECT_TRUE(Unscaled(img, QRect(0, 28, 37, 12), 0, 15));
    EXPECT_TRUE(Unscaled(img, QRect(163, 28, 37, 12), 40, 15));
    // The top edge repeats source columns 38 and 39 only, rows unscaled.
    for (int x = 38; x < 163; ++x) {
        for (int y = 0; y < 13; ++y) {
            const QPoint o = Origin(img, x, y);
            ASSERT_TRUE((o.x() == 38 || o.x() == 39) && o.y() == y) << x << "," << y;
        }
    }
    // The left edge repeats source row 13.
    for (int y = 13; y < 27; ++y) {
        EXPECT_TRUE(Unscaled(img, QRect(0, y, 38, 1), 0, 13)) << y;
    }
    // Everything is painted.
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            ASSERT_NE(img.pixel(x, y), kBack) << x << "," << y;
        }
    }
}

TEST(SkinSpitDraw, SmallTargetClipsCornersToTheirQuarters) {
    const TBitmap src = Coded(77, 27);
    TBitmap dst = Target(20, 10);
    SpitDraw(&src, dst.Canvas(), tk::Rect(0, 0, 20, 10), false);
    const QImage img = dst.Image();
    EXPECT_TRUE(Unscaled(img, QRect(0, 0, 10, 5), 0, 0));   // top-left part
    EXPECT_TRUE(Unscaled(img, QRect(11, 0, 9, 5), 68, 0));  // top-right part
    EXPECT_TRUE(Unscaled(img, QRect(0, 6, 9, 4), 0, 23));   // bottom-left part
    EXPECT_TRUE(Unscaled(img, QRect(11, 6, 9, 4), 68, 23)); // bottom-right part
}

TEST(SkinSpitDraw, MagentaIsKeyedInCornersOnlyWhenTransparent) {
    QImage img(9, 9, QImage::Format_RGB32);
    img.fill(qRgb(10, 20, 30));
    img.setPixel(0, 0, kMagenta);
    img.setPixel(4, 4, kMagenta); // the centre strip
    const TBitmap src(img);
    for (bool transparent : {false, true}) {
        TBitmap dst = Target(30, 30);
        SpitDraw(&src, dst.Canvas(), tk::Rect(0, 0, 30, 30), transparent);
        const QImage out = dst.Image();
        EXPECT_EQ(out.pixel(0, 0), transparent ? kBack : kMagenta);
        EXPECT_EQ(out.pixel(4, 4), kBack) << "edges and centre are always keyed";
        EXPECT_EQ(out.pixel(29, 29), qRgb(10, 20, 30));
    }
}

TEST(SkinSpitDraw, EvenHeightLeavesNoUnpaintedBand) {
    const TBitmap src = Coded(10, 8);
    TBitmap dst = Target(40, 30);
    SpitDraw(&src, dst.Canvas(), tk::Rect(0, 0, 40, 30), false);
    const QImage img = dst.Image();
    for (int y = 0; y < 30; ++y) {
        ASSERT_NE(img.pixel(2, y), kBack) << y;
        ASSERT_NE(img.pixel(20, y), kBack) << y;
    }
}

TEST(SkinSpitDrawHorizontal, EndsUnscaledMiddleStretched) {
    QImage img(45, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 45; ++x) {
            img.setPixel(x, y, qRgb(x, y, 100));
        }
    }
    img.setPixel(44, 9, kMagenta);
    const TBitmap src(img);
    TBitmap dst = Target(320, 10);
    SpitDrawHorizontal(&src, dst.Canvas(), tk::Rect(10, 0, 310, 10), true);
    QImage out = dst.Image();
    // Keyed by the top-left pixel: that one shows the background.
    EXPECT_EQ(out.pixel(10, 0), kBack);
    EXPECT_TRUE(Unscaled(out, QRect(11, 0, 14, 10), 1, 0));
    EXPECT_TRUE(Unscaled(out, QRect(295, 0, 15, 9), 30, 0));
    EXPECT_EQ(out.pixel(309, 9), kMagenta); // not the key this time
    int last = 15;
    for (int x = 25; x < 295; ++x) {
        const QPoint o = Origin(out, x, 5);
        ASSERT_TRUE(o.x() >= last && o.x() < 30 && o.y() == 5) << x;
        last = o.x();
    }
    EXPECT_EQ(out.pixel(9, 0), kBack);
    EXPECT_EQ(out.pixel(310, 0), kBack);

    // Without the corner colour magenta is the key.
    TBitmap dst2 = Target(320, 10);
    SpitDrawHorizontal(&src, dst2.Canvas(), tk::Rect(10, 0, 310, 10), false);
    out = dst2.Image();
    EXPECT_TRUE(Unscaled(out, QRect(10, 0, 15, 10), 0, 0));
    EXPECT_EQ(out.pixel(309, 9), kBack);
}

TEST(SkinTileDraw, TilesFromTheOriginAndOvershootByOneTile) {
    const TBitmap tile = Coded(3, 2);
    TBitmap dst = Target(20, 12);
    TileDraw(dst.Canvas(), &tile, tk::Rect(4, 4, 14, 9));
    const QImage img = dst.Image();
    // x = 0..12 step 3 (x < 10 + 3), y = 0..6 step 2 (y < 5 + 2).
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (x < 15 && y < 8) {
                ASSERT_EQ(Origin(img, x, y), QPoint(x % 3, y % 2)) << x << "," << y;
            } else {
                ASSERT_EQ(img.pixel(x, y), kBack) << x << "," << y;
            }
        }
    }
    TBitmap empty;
    TileDraw(dst.Canvas(), &empty, tk::Rect(0, 0, 20, 12));
    tk::TPicture none;
    TileDraw(dst.Canvas(), &none, tk::Rect(0, 0, 20, 12));
    EXPECT_EQ(dst.Image(), img);
}

TEST(SkinRoundPicture, QuarterTurnsBothWays) {
    TBitmap b = Coded(3, 2);
    RoundPicture(&b); // counter-clockwise: (x, y) -> (y, W-1-x)
    ASSERT_EQ(b.Width(), 2);
    ASSERT_EQ(b.Height(), 3);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(Origin(b.Image(), y, 2 - x), QPoint(x, y));
        }
    }
    TBitmap c = Coded(3, 2);
    RoundPicture3(&c); // clockwise: dst(x, y) = src(y, H-1-x)
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(Origin(c.Image(), x, y), QPoint(y, 1 - x));
        }
    }
    RoundPicture3(&b);
    EXPECT_EQ(b.Image(), Coded(3, 2).Image());
}

TEST(SkinDrawControlBorder, OuterAndInnerFrames) {
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    auto* p = new tk::TPanel(form.get());
    p->SetParent(form.get());
    p->SetBounds(0, 0, 6, 5);
    TBitmap dst = Target(6, 5);
    DrawControlBorder(dst.Canvas(), p, tk::clRed, tk::clBlue, true);
    const QImage img = dst.Image();
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(5, 4), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(4, 3), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(2, 2), kBack);
    TBitmap dst2 = Target(6, 5);
    DrawControlBorder(dst2.Canvas(), p, tk::clRed, tk::clBlue, false);
    EXPECT_EQ(dst2.Image().pixel(1, 1), kBack);
}

namespace {

// Paints a pattern that tells its coordinates apart.
class TPatterned : public tk::TCustomControl {
public:
    using tk::TCustomControl::TCustomControl;

protected:
    void Paint() override {
        tk::TCanvas& c = *Canvas();
        for (int x = 0; x < Width(); x += 10) {
            c.Brush()->SetColor(tk::RGBColor(x, 40, 200));
            c.FillRect(tk::Rect(x, 0, x + 10, Height()));
        }
        c.Brush()->SetColor(tk::clYellow);
        c.FillRect(tk::Rect(0, 30, Width(), 35));
    }
};

// Composes its face off-screen with the parent's background under it.
class TSeeThrough : public tk::TCustomControl {
public:
    using tk::TCustomControl::TCustomControl;
    QImage face;

protected:
    void Paint() override {
        TBitmap buf(Width(), Height());
        buf.Canvas()->Brush()->SetColor(tk::clWhite);
        buf.Canvas()->FillRect(tk::Rect(0, 0, Width(), Height()));
        DoTrans(buf.Canvas(), this);
        face = buf.Image();
        Canvas()->Draw(0, 0, buf);
    }
};

// Lets the parent paint straight onto its own window canvas.
class TSeeThroughDirect : public tk::TCustomControl {
public:
    using tk::TCustomControl::TCustomControl;

protected:
    void Paint() override { DoTrans(Canvas(), this); }
};

} // namespace

TEST(SkinDoTrans, ShowsTheParentsPaintingButNotItsOtherChildren) {
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    form->SetBounds(0, 0, 300, 200);
    form->SetColor(tk::clMaroon);
    auto* parent = new TPatterned(form.get());
    parent->SetParent(form.get());
    parent->SetBounds(10, 10, 200, 100);
    auto* sibling = new tk::TPanel(form.get());
    sibling->SetParent(parent);
    sibling->SetColor(tk::clBlack);
    sibling->SetBounds(40, 20, 30, 30);
    auto* glass = new TSeeThrough(form.get());
    glass->SetParent(parent);
    glass->SetBounds(33, 25, 50, 40);
    auto* onForm = new TSeeThrough(form.get());
    onForm->SetParent(form.get());
    onForm->SetBounds(220, 20, 30, 30);
    auto* direct = new TSeeThroughDirect(form.get());
    direct->SetParent(parent);
    direct->SetBounds(120, 40, 30, 30);
    form->Show();
    const QImage shown = form->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);

    ASSERT_FALSE(glass->face.isNull());
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 50; ++x) {
            const int px = 33 + x;
            const int py = 25 + y;
            const QRgb want =
                py >= 30 && py < 35 ? qRgb(255, 255, 0) : qRgb((px / 10) * 10, 40, 200);
            ASSERT_EQ(glass->face.pixel(x, y), want) << x << "," << y;
        }
    }
    // On the window the control shows the same; the sibling stays beside it.
    EXPECT_EQ(shown.pixel(10 + 33 + 1, 10 + 25 + 1), glass->face.pixel(1, 1));
    EXPECT_EQ(shown.pixel(10 + 45, 10 + 22), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(10 + 125, 10 + 45), qRgb(120, 40, 200));
    EXPECT_EQ(shown.pixel(10 + 141, 10 + 45), qRgb(140, 40, 200));
    // A form paints its colour behind its controls.
    ASSERT_FALSE(onForm->face.isNull());
    EXPECT_EQ(onForm->face.pixel(5, 5), qRgb(0x80, 0, 0));
    QDir().mkpath(sktest::ArtifactsDir());
    shown.save(sktest::ArtifactsDir() + "/skin-dotrans.png");

    // Without a parent nothing is painted.
    tk::TComponentPtr<TSeeThrough> orphan(new TSeeThrough(nullptr));
    TBitmap buf = Target(5, 5);
    DoTrans(buf.Canvas(), orphan.get());
    EXPECT_EQ(buf.Image().pixel(2, 2), kBack);
}
