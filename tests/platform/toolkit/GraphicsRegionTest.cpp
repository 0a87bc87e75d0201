// Window-shape regions: GDI constructors and combining.
#include <gtest/gtest.h>

#include "platform/toolkit/Regions.h"

using namespace tk;

TEST(GraphicsRegion, RoundedWindowShapeCorners) {
    // The window shape of a skinned form: W x H with round top corners of 11.
    const int W = 60;
    const int H = 40;
    const int r = 11;
    TRegion shape = CreateRoundRectRgn(0, 0, W + 1, H + 1, r, r);
    EXPECT_EQ(shape.BoundingRect(), Rect(0, 0, W, H)) << "the +1 box covers exactly W x H";
    CombineRgn(shape, shape, CreateRectRgn(0, H - 2 * r, 2 * r, H), RGN_OR);
    CombineRgn(shape, shape, CreateRectRgn(W - 2 * r, H - 2 * r, W, H), RGN_OR);

    // Top-left corner rows of an 11 x 11 ellipse start at x = 3, 2, 1, 0.
    const struct {
        int x, y;
        bool in;
    } points[] = {
        {0, 0, false},        {2, 0, false},  {3, 0, true},   {1, 1, false},   {2, 1, true},
        {0, 2, false},        {1, 2, true},   {0, 3, true},   {30, 0, true},   {0, H - 1, true},
        {W - 1, H - 1, true}, {W, 10, false}, {10, H, false}, {-1, 10, false},
    };
    for (const auto& p : points) {
        EXPECT_EQ(PtInRegion(shape, p.x, p.y), p.in) << p.x << "," << p.y;
        EXPECT_EQ(PtInRegion(shape, W - 1 - p.x, p.y), p.in) << "mirror of " << p.x << "," << p.y;
    }
}

TEST(GraphicsRegion, EllipseIsSymmetricAndRectsExcludeTheirEdge) {
    for (const TRect box : {Rect(0, 0, 16, 10), Rect(3, 2, 14, 13), Rect(0, 0, 2, 2)}) {
        const TRegion e = CreateEllipticRgn(box.Left, box.Top, box.Right, box.Bottom);
        const TRect b = e.BoundingRect();
        EXPECT_EQ(b, Rect(box.Left, box.Top, box.Right - 1, box.Bottom - 1));
        for (int y = b.Top; y < b.Bottom; ++y) {
            for (int x = b.Left; x < b.Right; ++x) {
                const int mx = b.Left + b.Right - 1 - x;
                const int my = b.Top + b.Bottom - 1 - y;
                ASSERT_EQ(e.Contains(x, y), e.Contains(mx, y)) << x << "," << y;
                ASSERT_EQ(e.Contains(x, y), e.Contains(x, my)) << x << "," << y;
            }
        }
    }
    const TRegion rect = CreateRectRgn(5, 5, 1, 1); // corners in either order
    EXPECT_TRUE(PtInRegion(rect, 1, 1));
    EXPECT_TRUE(PtInRegion(rect, 4, 4));
    EXPECT_FALSE(PtInRegion(rect, 5, 4));
    EXPECT_TRUE(CreateRoundRectRgn(0, 0, 1, 1, 5, 5).IsEmpty());
}

TEST(GraphicsRegion, CombineModesAndKinds) {
    const TRegion a = CreateRectRgn(0, 0, 4, 4);
    const TRegion b = CreateRectRgn(2, 0, 6, 4);
    const struct {
        int mode;
        int kind;
        int area;
    } cases[] = {
        {RGN_AND, SIMPLEREGION, 8},  {RGN_OR, SIMPLEREGION, 24},   {RGN_XOR, COMPLEXREGION, 16},
        {RGN_DIFF, SIMPLEREGION, 8}, {RGN_COPY, SIMPLEREGION, 16},
    };
    for (const auto& c : cases) {
        TRegion d;
        EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.kind) << c.mode;
        int area = 0;
        for (const QRect& r : d.ToQ()) {
            area += r.width() * r.height();
        }
        EXPECT_EQ(area, c.area) << c.mode;
    }
    TRegion d = a;
    EXPECT_EQ(CombineRgn(d, a, CreateRectRgn(9, 9, 10, 10), RGN_AND), NULLREGION);
    EXPECT_TRUE(d.IsEmpty());
    d = a;
    EXPECT_EQ(CombineRgn(d, b, b, 42), RGN_ERROR);
    EXPECT_EQ(d, a) << "unknown mode leaves the destination";
    OffsetRgn(d, 10, 0);
    EXPECT_TRUE(PtInRegion(d, 10, 0));
    EXPECT_FALSE(PtInRegion(d, 0, 0));
}
