// The group box's frame and caption pixels, its child layout, enabling and
// style for children; the status bar's grip rules.
#include <gtest/gtest.h>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKGroupBox.h"
#include "skin/SKStatusBar.h"

using namespace sk;
using namespace tk;

namespace {

QImage Face(TControl* c) {
    return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TColor At(const QImage& img, int x, int y) {
    const QRgb p = img.pixel(x, y);
    return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

int Count(const QImage& img, const TRect& r, TColor colour) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            n += At(img, x, y) == colour;
        }
    }
    return n;
}

struct BoxFixture {
    BoxFixture() : form(new TForm(nullptr)) {
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 200, 100);
        form->SetColor(clWhite);
        box = new TskGroupBox(form.get());
        box->SetBounds(0, 0, 100, 60);
        box->SetParent(form.get());
        box->SetBorderColor(clRed);
        box->Font()->SetColor(clBlack);
        box->Font()->SetHeight(-11);
    }
    TComponentPtr<TForm> form;
    TskGroupBox* box = nullptr;
};

} // namespace

TEST(TskGroupBox, FrameClosedWithoutCaptionAndOpenAfterIt) {
    BoxFixture f;
    // |font height| 11: the top line lies at 11 div 2 + 1.
    const int y = 6;
    QImage img = Face(f.box);
    EXPECT_EQ(Count(img, Rect(0, y, 100, y + 1), clRed), 100);
    EXPECT_EQ(Count(img, Rect(0, y, 1, 60), clRed), 60 - y);
    EXPECT_EQ(Count(img, Rect(99, y, 100, 60), clRed), 60 - y);
    EXPECT_EQ(Count(img, Rect(0, 59, 100, 60), clRed), 100);
    EXPECT_EQ(Count(img, Rect(0, 0, 100, y), clRed), 0);
    EXPECT_EQ(At(img, 50, 30), clWhite); // the parent's colour

    f.box->SetCaption("Options");
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(*f.box->Font());
    const int cw = probe.Canvas()->TextWidth("Options");
    img = Face(f.box);
    // Line up to x = 2, a gap over the caption to x = cw + 6, line again.
    EXPECT_EQ(Count(img, Rect(0, y, 3, y + 1), clRed), 3);
    EXPECT_EQ(Count(img, Rect(3, y, cw + 7, y + 1), clRed), 0);
    EXPECT_EQ(Count(img, Rect(cw + 7, y, 100, y + 1), clRed), 100 - cw - 7);
    EXPECT_GT(Count(img, Rect(5, 0, 5 + cw, 14), clBlack), 10);
    EXPECT_EQ(Count(img, Rect(5, 0, 5 + cw, 14), clGray), 0);

    f.box->SetEnabled(false);
    img = Face(f.box);
    EXPECT_EQ(Count(img, Rect(5, 0, 5 + cw, 14), clBlack), 0);
    EXPECT_GT(Count(img, Rect(5, 0, 5 + cw, 14), clGray), 10);

    // Its own colour, or the parent's background under the same frame.
    f.box->SetColor(clYellow);
    EXPECT_EQ(At(Face(f.box), 50, 30), clYellow);
    f.box->SetTransparent(true);
    img = Face(f.box);
    EXPECT_EQ(At(img, 50, 30), clWhite);
    EXPECT_EQ(Count(img, Rect(0, 59, 100, 60), clRed), 100);
}

TEST(TskGroupBox, ChildrenLayoutEnablingAndStyle) {
    BoxFixture f;
    auto* top = new TPanel(f.form.get());
    top->SetAlign(alTop);
    top->SetHeight(10);
    top->SetParent(f.box);
    auto* styled = new TskGroupBox(f.form.get());
    styled->SetParent(f.box);
    styled->SetUIStyle(MacOS);
    // Under a plain panel, out of the box's reach.
    auto* grandchild = new TskGroupBox(f.form.get());
    grandchild->SetParent(top);
    grandchild->SetUIStyle(MacOS);

    // (left + 3, top + h + 5, right - 3, bottom - 3) with h = 11.
    EXPECT_EQ(top->BoundsRect(), Rect(3, 16, 97, 26));
    EXPECT_EQ(f.box->InnerRect(), Rect(3, 11, 98, 58));
    f.box->Font()->SetHeight(-15);
    EXPECT_EQ(top->BoundsRect(), Rect(3, 20, 97, 30));

    f.box->SetEnabled(false);
    EXPECT_FALSE(top->Enabled());
    EXPECT_FALSE(styled->Enabled());
    EXPECT_TRUE(grandchild->Enabled()); // direct children only
    f.box->SetEnabled(true);
    EXPECT_TRUE(top->Enabled());
    EXPECT_TRUE(styled->Enabled());

    f.box->SetUIStyle(WinXP);
    EXPECT_EQ(f.box->BorderColor(), 0x686868u);
    EXPECT_EQ(f.box->Font()->Color(), 0xCF4602u);
    EXPECT_EQ(styled->UIStyle(), WinXP);
    EXPECT_EQ(grandchild->UIStyle(), MacOS);
}

TEST(TskStatusBar, GripRules) {
    struct Row {
        const char* name;
        TFormBorderStyle border;
        TWindowState state;
        bool sizeGrip;
        bool lines;
        bool filled;
    };
    const TColor grey = ColorToRGB(clInactiveCaption);
    for (const Row& r : {Row{"dialog", bsDialog, wsNormal, true, false, false},
                         Row{"sizeable", bsSizeable, wsNormal, true, true, true},
                         Row{"maximised", bsSizeable, wsMaximized, true, false, true},
                         Row{"no grip", bsSizeable, wsNormal, false, false, true}}) {
        TComponentPtr<TForm> form(new TForm(nullptr));
        form->SetBorderStyle(r.border);
        form->SetBounds(0, 0, 300, 200);
        form->SetWindowState(r.state);
        auto* bar = new TskStatusBar(form.get());
        bar->SetParent(form.get());
        bar->SetSizeGrip(r.sizeGrip);
        bar->SetPanelColor(clYellow);
        // Without a grip the toolkit runs the panel's bevel into the corner.
        bar->Panels()->Add();
        const int w = bar->Width();
        const int h = bar->Height();
        ASSERT_EQ(h, 19);
        const QImage img = Face(bar);
        const TRect corner = Rect(w - 16, h - 16, w, h);
        const int yellow = Count(img, corner, clYellow);
        if (r.lines) {
            // Four lines from (w - 15 + 4k, h - 1) towards the top right.
            EXPECT_EQ(At(img, w - 15, h - 1), grey);
            EXPECT_EQ(At(img, w - 8, h - 8), grey);
            EXPECT_EQ(At(img, w - 2, h - 2), grey);
            EXPECT_EQ(At(img, w - 1, h - 15), clYellow);
            EXPECT_EQ(Count(img, corner, grey), 14 + 10 + 6 + 2);
            EXPECT_EQ(yellow, 16 * 16 - 32);
        } else if (r.filled) {
            EXPECT_EQ(yellow, 16 * 16) << r.name;
        } else {
            // Only what the toolkit drew: no grip lines, the bevel shows.
            EXPECT_EQ(Count(img, corner, grey), 0) << r.name;
            EXPECT_GT(Count(img, corner, clWhite), 0) << r.name;
        }
    }
}
