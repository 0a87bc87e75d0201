// The skinned progress bar: the caption and the filled part for positions in,
// below, above and without a range, hiding the caption at the start, both
// orientations, and the style's values.
#include <gtest/gtest.h>

#include "skin/SKProgressBar.h"
#include "tests/skin/FrameTestSupport.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;
using namespace sktest;

namespace {

// The bar as it paints itself.
QImage Paint(TskProgressBar* bar) {
    return Shot(bar->Handle());
}

// The last column (horizontal) or first row (vertical) of the picture; -1
// (or the length) when nothing is filled.
int FilledEnd(const QImage& face, const TskProgressBar* bar) {
    const QRgb empty = Rgb(bar->Color());
    const int y = face.height() / 2;
    int last = -1;
    for (int x = 1; x < face.width() - 1; ++x) {
        if (PixelAt(face, x, face.height() - 2) != empty && PixelAt(face, x, 1) != empty &&
            PixelAt(face, x, y) != Rgb(bar->CaptionColor())) {
            last = x;
        }
    }
    return last;
}

struct ProgressBarTest : ::testing::Test {
    THostForm host{300, 200};
    TskProgressBar* bar = host.Add<TskProgressBar>(10, 10);
    void SetUp() override {
        host.form->Show();
        // A caption colour of its own, so it tells from the picture and the empty part.
        bar->SetCaptionColor(0x0000FF);
    }
    // Whether anything of the caption is drawn: the bar differs from itself
    // without one.
    bool CaptionDrawn() {
        const QImage with = Paint(bar);
        const bool show = bar->ShowCaption();
        bar->SetShowCaption(false);
        const QImage without = Paint(bar);
        bar->SetShowCaption(show);
        return with != without;
    }
};

} // namespace

TEST_F(ProgressBarTest, CaptionAndFilledPartForEveryKindOfPosition) {
    struct Row {
        int min, max, position;
        bool smart;
        const char* caption;
        int filledEnd; // last picture column; -1 for none
        bool captionDrawn;
    };
    const Row rows[] = {
        {0, 100, 50, false, "50%", 73, true},    // the default bar
        {0, 100, 0, true, "0%", -1, false},      // at the start, hidden
        {0, 100, 0, false, "0%", -1, true},      // at the start, shown
        {0, 100, 150, false, "150%", 148, true}, // past the end: full
        {5, 5, 5, false, "0%", -1, true},        // no range: empty
        {0, 100, -20, false, "-20%", -1, true},  // below the start: empty
    };
    EXPECT_EQ(bar->Width(), 150);
    EXPECT_EQ(bar->Height(), 12);
    EXPECT_EQ(bar->Caption(), "50%");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.caption);
        bar->SetSmartShowCaption(r.smart);
        bar->SetMin(r.min);
        bar->SetMax(r.max);
        bar->SetPosition(r.position);
        EXPECT_EQ(bar->Caption(), r.caption);
        bar->SetShowCaption(false);
        const QImage face = Paint(bar);
        bar->SetShowCaption(true);
        EXPECT_EQ(FilledEnd(face, bar), r.filledEnd);
        // The frame, and the empty part right after the picture.
        EXPECT_EQ(PixelAt(face, 0, 5), Rgb(bar->BorderColor()));
        EXPECT_EQ(PixelAt(face, 149, 11), Rgb(bar->BorderColor()));
        if (r.filledEnd < 148) {
            EXPECT_EQ(PixelAt(face, r.filledEnd < 0 ? 1 : r.filledEnd + 1, 5), Rgb(bar->Color()));
        }
        EXPECT_EQ(CaptionDrawn(), r.captionDrawn);
    }
    bar->StepBy(30);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 11);
}

TEST_F(ProgressBarTest, TheFilledPartIsThePictureStretched) {
    // Each filled column is the style's one-column picture.
    bar->SetShowCaption(false);
    const QImage face = Paint(bar);
    const QImage picture = static_cast<const TBitmap*>(bar->Picture()->Graphic())->Image();
    ASSERT_EQ(picture.width(), 1); // DeepBlue's
    for (int y = 1; y < 11; ++y) {
        EXPECT_EQ(PixelAt(face, 40, y), picture.pixel(0, y - 1) & 0xFFFFFF) << y;
    }
}

TEST_F(ProgressBarTest, AVerticalBarFillsFromTheBottomAndDropsItsCaption) {
    bar->SetOrientation(skVertical);
    EXPECT_EQ(bar->Width(), 12);
    EXPECT_EQ(bar->Height(), 150);
    // The picture turned a quarter: the horizontal strip's rows become columns.
    EXPECT_EQ(bar->Picture()->Width(), 10);
    EXPECT_EQ(bar->Picture()->Height(), 1);
    const QImage face = Paint(bar);
    EXPECT_FALSE(bar->ShowCaption());
    const QRgb empty = Rgb(bar->Color());
    // Rows 76 to 148 are filled (as columns 1 to 73 of the horizontal bar).
    EXPECT_NE(PixelAt(face, 5, 148), empty);
    EXPECT_NE(PixelAt(face, 5, 76), empty);
    EXPECT_EQ(PixelAt(face, 5, 75), empty);
    EXPECT_EQ(PixelAt(face, 5, 1), empty);
    EXPECT_EQ(PixelAt(face, 5, 149), Rgb(bar->BorderColor()));

    // Back to horizontal: the caption stays off.
    bar->SetOrientation(skHorizontal);
    EXPECT_EQ(bar->Width(), 150);
    EXPECT_EQ(bar->Height(), 12);
    EXPECT_FALSE(bar->ShowCaption());
    EXPECT_FALSE(CaptionDrawn());
}

TEST_F(ProgressBarTest, StyleValues) {
    struct Row {
        TskUIStyle style;
        int pictureWidth;
        TColor color, border;
    };
    const Row rows[] = {
        {MacOS, 13, 0xE7E7E7, 0x7F7F7F},    {WinXP, 6, 0xDEEBEF, 0x686868},
        {DeepBlue, 1, 0xE8E8E8, 0x000000},  {Protein, 1, 0xFBFBFB, 0x000000},
        {BlueGlass, 1, 0xE7E7E7, 0x000000},
    };
    for (const Row& r : rows) {
        bar->SetUIStyle(r.style);
        EXPECT_EQ(bar->Picture()->Width(), r.pictureWidth) << r.style;
        EXPECT_EQ(bar->Picture()->Height(), 10) << r.style;
        EXPECT_EQ(bar->Color(), r.color) << r.style;
        EXPECT_EQ(bar->BorderColor(), r.border) << r.style;
    }
}

TEST(ProgressBar, PercentAndFilledLengthAtTheLimitsOfInt) {
    EXPECT_EQ(ProgressPercent(INT_MIN, INT_MAX, 0), 50);
    EXPECT_EQ(ProgressFilledLength(INT_MIN, INT_MAX, INT_MAX, 149), 149);
    EXPECT_EQ(ProgressFilledLength(0, 100, 100, 149), 149);
    EXPECT_EQ(ProgressFilledLength(100, 0, 50, 149), 0); // an inverted range
}
