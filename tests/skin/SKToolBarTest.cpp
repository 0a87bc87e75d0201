// The skinned tool bar: the parent's background behind MacOS and Protein
// bars, buttons drawn in the hot and pressed colours, and where images and
// captions go.
#include <gtest/gtest.h>

#include "platform/toolkit/Forms.h"
#include "skin/SKToolBar.h"
#include "tests/skin/FrameTestSupport.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;
using namespace sktest;

namespace {

constexpr TColor kFormColour = 0x00C000;
constexpr TColor kBarColour = 0x0000C0;

struct ToolBarTest : ::testing::Test {
    THostForm host{300, 120};
    TskToolBar* bar = nullptr;
    TToolButton* button = nullptr;
    void SetUp() override {
        host.form->SetColor(kFormColour);
        bar = new TskToolBar(host.form.get()); // owned by the form
        bar->SetParent(host.form.get());
        bar->SetColor(kBarColour);
        bar->SetShowCaptions(true);
        button = new TToolButton(bar); // owned by the bar
        button->SetCaption("&Open");
        button->SetParent(bar);
        host.form->Show();
    }
    QImage Bar() { return Shot(bar->Handle()); }
};

} // namespace

TEST_F(ToolBarTest, MacOSAndProteinBarsShowTheirParentBehindTheButtons) {
    struct Row {
        TskUIStyle style;
        bool transparent;
    };
    const Row rows[] = {
        {MacOS, true}, {Protein, true}, {WinXP, false}, {DeepBlue, false}, {BlueGlass, false}};
    for (const Row& r : rows) {
        bar->SetUIStyle(r.style);
        bar->SetColor(kBarColour);
        EXPECT_EQ(bar->Transparent(), r.transparent) << r.style;
        EXPECT_EQ(bar->EdgeInner(), esNone);
        EXPECT_EQ(bar->EdgeOuter(), esNone);
        // Right of the only button, where nothing but the bar is.
        const QImage face = Bar();
        EXPECT_EQ(PixelAt(face, 250, 10), Rgb(r.transparent ? kFormColour : kBarColour)) << r.style;
    }
}

TEST_F(ToolBarTest, HotAndPressedButtonsInTheStyleColours) {
    bar->SetUIStyle(WinXP);
    EXPECT_EQ(bar->ButtonBorderColor(), 0xC66931u);
    EXPECT_EQ(bar->ButtonColor(), 0xEFD3C6u);
    EXPECT_EQ(bar->ButtonDownColor(), 0xE1AC93u);
    const TRect r = button->BoundsRect();
    const TPoint inside{r.Left + 2, r.Top + r.Height() - 3};
    // Resting: the toolkit's own flat button on the bar's colour.
    EXPECT_EQ(PixelAt(Bar(), inside.x, inside.y), Rgb(kBarColour));
    bar->Perform(WM_MOUSEMOVE, 0, MakeLParam(r.Left + 5, r.Top + 5));
    QImage face = Bar();
    EXPECT_EQ(PixelAt(face, inside.x, inside.y), Rgb(bar->ButtonColor()));
    EXPECT_EQ(PixelAt(face, r.Left, r.Top + 5), Rgb(bar->ButtonBorderColor()));
    bar->Perform(WM_LBUTTONDOWN, ssLeft, MakeLParam(r.Left + 5, r.Top + 5));
    face = Bar();
    EXPECT_EQ(PixelAt(face, inside.x, inside.y), Rgb(bar->ButtonDownColor()));
    bar->Perform(WM_LBUTTONUP, 0, MakeLParam(r.Left + 5, r.Top + 5));

    // A checked button that the pointer has left is drawn hot.
    button->SetStyle(tbsCheck);
    button->SetDown(true);
    bar->Perform(CM_MOUSELEAVE);
    bar->Perform(WM_MOUSEMOVE, 0, MakeLParam(250, 5));
    EXPECT_EQ(PixelAt(Bar(), inside.x, inside.y), Rgb(bar->ButtonColor()));
}

TEST(ToolButtonPlaces, ListAndBelowLayouts) {
    const TRect r = Rect(10, 0, 70, 40);
    struct Row {
        bool list, dropDown, down;
        int iw, ih, cw;
        TPoint image, caption;
    };
    const Row rows[] = {
        {true, false, false, 16, 16, 30, {15, 3}, {33, 4}},
        {true, false, false, 0, 0, 30, {15, 3}, {18, 3}},
        {false, false, false, 16, 16, 30, {32, 3}, {25, 20}},
        {false, true, false, 16, 16, 30, {25, 3}, {18, 20}}, // right - 14 for the arrow
        {false, false, true, 0, 0, 30, {40, 3}, {25, 5}},
        {false, false, false, 0, 0, 30, {40, 3}, {25, 4}},
    };
    for (const Row& w : rows) {
        const TskToolButtonPlaces at =
            ToolButtonPlaces(r, w.list, w.dropDown, w.down, w.iw, w.ih, w.cw);
        EXPECT_EQ(at.image, w.image);
        EXPECT_EQ(at.caption, w.caption);
    }
}
