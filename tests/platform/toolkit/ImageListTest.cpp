// Image lists: masks from a key colour or a mask bitmap, strips cut into
// images, the greyed look of a disabled image, and the strip as description
// data.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/ImageList.h"

using namespace tk;

namespace {

// A 16 x 16 image: a red 8 x 8 square at (4, 4) on white.
std::unique_ptr<TBitmap> Glyph() {
    auto b = std::make_unique<TBitmap>(16, 16);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, 16, 16));
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FillRect(Rect(4, 4, 12, 12));
    return b;
}

// Draws image index of the list on a green 20 x 20 canvas at (2, 2).
// The colour at (x, y) after drawing image index on green at (2, 2).
TColor OnGreen(const TCustomImageList& list, int index, int x, int y) {
    TBitmap out(20, 20);
    out.Canvas()->Brush()->SetColor(clGreen);
    out.Canvas()->FillRect(Rect(0, 0, 20, 20));
    list.Draw(out.Canvas(), 2, 2, index, true);
    return out.Canvas()->Pixels(x, y);
}

} // namespace

TEST(ImageList, KeyColourAndMaskMakeTransparentPixelsAndStripsAreCut) {
    TImageList list(nullptr);
    EXPECT_EQ(list.Count(), 0);
    const auto glyph = Glyph();
    EXPECT_EQ(list.AddMasked(*glyph, clWhite), 0);

    // The same image from a mask: white mask pixels are transparent.
    TBitmap mask(16, 16);
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 16, 16));
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(4, 4, 12, 12));
    EXPECT_EQ(list.Add(*glyph, &mask), 1);

    // A 32-wide strip adds two images; its key is the bottom-left pixel.
    TBitmap strip(32, 16);
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect(Rect(0, 0, 32, 16));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(18, 2, 30, 14));
    EXPECT_EQ(list.AddMasked(strip, clDefault), 2);
    ASSERT_EQ(list.Count(), 4);

    for (int i : {0, 1}) {
        EXPECT_EQ(OnGreen(list, i, 3, 3), clGreen) << i;
        EXPECT_EQ(OnGreen(list, i, 2 + 4, 2 + 4), clRed) << i;
        EXPECT_EQ(OnGreen(list, i, 2 + 11, 2 + 11), clRed) << i;
        EXPECT_EQ(OnGreen(list, i, 2 + 12, 2 + 12), clGreen) << i;
    }
    EXPECT_EQ(OnGreen(list, 2, 8, 8), clGreen); // all key colour
    EXPECT_EQ(OnGreen(list, 3, 2 + 2, 2 + 2), clBlue);
    EXPECT_EQ(OnGreen(list, 3, 2 + 1, 2 + 1), clGreen);

    // An unmasked list keeps the key colour; nothing is drawn out of range.
    TImageList plain(nullptr);
    plain.SetMasked(false);
    plain.AddMasked(*glyph, clWhite);
    EXPECT_EQ(OnGreen(plain, 0, 3, 3), clWhite);
    EXPECT_EQ(OnGreen(list, 4, 8, 8), clGreen);
    EXPECT_EQ(OnGreen(list, -1, 8, 8), clGreen);
    EXPECT_EQ(list.Add(TBitmap()), -1);

    // The strip as description data comes back image for image.
    TImageList copy(nullptr);
    copy.LoadFromData(list.SaveToData());
    ASSERT_EQ(copy.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(copy.Image(i), list.Image(i)) << i;
    }

    // A bitmap of the image, its transparent pixels in the key colour.
    TBitmap face;
    ASSERT_TRUE(list.GetBitmap(0, face));
    EXPECT_EQ(face.Width(), 16);
    EXPECT_TRUE(face.Transparent());
    EXPECT_EQ(face.TransparentColor(), clWhite);
    EXPECT_FALSE(list.GetBitmap(9, face));

    // A new size empties the list: its images no longer fit.
    list.SetWidth(24);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, DisabledImagesAreGreyedShapes) {
    TImageList list(nullptr);
    list.AddMasked(*Glyph(), clWhite);
    TBitmap out(20, 20);
    out.Canvas()->Brush()->SetColor(clBtnFace);
    out.Canvas()->FillRect(Rect(0, 0, 20, 20));
    list.Draw(out.Canvas(), 2, 2, 0, false);
    TCanvas& c = *out.Canvas();
    const TColor shadow = ColorToRGB(clBtnShadow);
    const TColor highlight = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(c.Pixels(2 + 4, 2 + 4), shadow);
    EXPECT_EQ(c.Pixels(2 + 11, 2 + 11), shadow);
    // The highlight copy shows one pixel down and right of the shape.
    EXPECT_EQ(c.Pixels(2 + 12, 2 + 12), highlight);
    EXPECT_EQ(c.Pixels(2 + 12, 2 + 5), highlight);
    EXPECT_EQ(c.Pixels(2 + 4, 2 + 12), ColorToRGB(clBtnFace));
    EXPECT_EQ(c.Pixels(2 + 1, 2 + 1), ColorToRGB(clBtnFace));
}
