// The picture panel: normal, stretched and tiled pictures on coded images,
// the parent's background through transparent panels and keyed pictures,
// caption placement and auto-size against Align.
#include <gtest/gtest.h>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKImagePanel.h"

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

// 4 x 3, every pixel its own colour: (x, y) -> RGB(40 x + 10, 60 y + 20, 200).
TColor Code(int x, int y) {
    return RGBColor(40 * x + 10, 60 * y + 20, 200);
}
TPicture* Coded(TPicture& picture) {
    TBitmap* b = picture.Bitmap();
    b->SetSize(4, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            b->Canvas()->SetPixels(x, y, Code(x, y));
        }
    }
    return &picture;
}

// A plain teal panel holding the picture panel under test.
struct Fixture {
    Fixture() : form(new TForm(nullptr)) {
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 200, 120);
        host = new TPanel(form.get());
        host->SetBevelOuter(bvNone);
        host->SetColor(clTeal);
        host->SetBounds(0, 0, 200, 120);
        host->SetParent(form.get());
        panel = new TskImagePanel(form.get());
        panel->SetColor(clYellow);
        panel->SetBounds(20, 10, 10, 7);
        panel->SetParent(host);
    }
    TComponentPtr<TForm> form;
    TPanel* host = nullptr;
    TskImagePanel* panel = nullptr;
};

} // namespace

TEST(TskImagePanel, DrawStylesOnACodedPicture) {
    struct Probe {
        int x, y;
        TColor expected;
    };
    struct Row {
        TskDrawStyle style;
        int w, h;
        std::vector<Probe> probes;
    };
    const std::vector<Row> rows = {
        {skNormal,
         10,
         7,
         {{0, 0, Code(0, 0)}, {3, 2, Code(3, 2)}, {4, 0, clYellow}, {0, 3, clYellow}}},
        {skStretch,
         8,
         6,
         {{0, 0, Code(0, 0)}, {3, 1, Code(1, 0)}, {7, 5, Code(3, 2)}, {4, 2, Code(2, 1)}}},
        {skTile,
         10,
         7,
         {{4, 0, Code(0, 0)}, {5, 4, Code(1, 1)}, {9, 6, Code(1, 0)}, {3, 5, Code(3, 2)}}},
    };
    for (const Row& r : rows) {
        Fixture f;
        TPicture picture;
        f.panel->SetPicture(Coded(picture));
        f.panel->SetDrawStyle(r.style);
        f.panel->SetBounds(20, 10, r.w, r.h);
        const QImage img = Face(f.panel);
        for (const Probe& p : r.probes) {
            EXPECT_EQ(At(img, p.x, p.y), p.expected) << r.style << " at " << p.x << "," << p.y;
        }
    }
}

TEST(TskImagePanel, TransparentShowsTheParentThroughPanelAndKey) {
    Fixture f;
    EXPECT_EQ(At(Face(f.panel), 5, 5), clYellow); // opaque, no picture: Color

    // Keyed by its bottom-left pixel.
    TPicture picture;
    Coded(picture)->Bitmap()->Canvas()->SetPixels(0, 2, clFuchsia);
    picture.Bitmap()->Canvas()->SetPixels(2, 0, clFuchsia);
    f.panel->SetPicture(&picture);
    f.panel->SetTransparent(true);
    ASSERT_NE(f.panel->Picture()->Graphic(), nullptr);
    EXPECT_TRUE(f.panel->Picture()->Graphic()->Transparent());

    const QImage img = Face(f.panel);
    EXPECT_EQ(At(img, 8, 5), clTeal); // outside the picture
    EXPECT_EQ(At(img, 2, 0), clTeal); // a keyed pixel
    EXPECT_EQ(At(img, 1, 1), Code(1, 1));

    // A picture assigned later takes the panel's flag.
    TPicture other;
    f.panel->SetPicture(Coded(other));
    EXPECT_TRUE(f.panel->Picture()->Graphic()->Transparent());
    f.panel->SetTransparent(false);
    EXPECT_FALSE(f.panel->Picture()->Graphic()->Transparent());
    EXPECT_EQ(At(Face(f.panel), 8, 5), clYellow);
}

TEST(TskImagePanel, CaptionPlacement) {
    Fixture f;
    f.panel->SetBounds(0, 0, 200, 40);
    f.panel->SetCaption("Thumb");
    const QImage blank = [&] {
        Fixture g;
        g.panel->SetBounds(0, 0, 200, 40);
        g.panel->SetCaption("   "); // blank after trimming: nothing drawn
        return Face(g.panel);
    }();
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(At(blank, x, y), clYellow) << x << "," << y;
        }
    }

    struct Row {
        TAlignment alignment;
        int captionX, captionY;
    };
    for (const Row& r : {Row{taLeftJustify, -1, -1}, Row{taCenter, -1, -1},
                         Row{taRightJustify, -1, -1}, Row{taCenter, 12, 5}}) {
        f.panel->SetAlignment(r.alignment);
        f.panel->SetCaptionPos(r.captionX, r.captionY);
        const QImage img = Face(f.panel);
        const TRect box = f.panel->LastCaptionRect();
        ASSERT_FALSE(box.IsEmpty());
        if (r.captionX >= 0) {
            EXPECT_EQ(box.Left, 12);
            EXPECT_EQ(box.Top, 5);
        } else {
            EXPECT_NEAR(box.Top, (40 - box.Height()) / 2, 1);
            const int expectedLeft = r.alignment == taLeftJustify ? 0
                                     : r.alignment == taCenter    ? (200 - box.Width()) / 2
                                                                  : 200 - box.Width();
            EXPECT_EQ(box.Left, expectedLeft) << r.alignment;
        }
        // Text inside the box, Color everywhere else.
        int inside = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 200; ++x) {
                if (At(img, x, y) == clYellow) {
                    continue;
                }
                if (PtInRect(box, {x, y})) {
                    ++inside;
                } else {
                    ADD_FAILURE() << "text outside its box at " << x << "," << y;
                    return;
                }
            }
        }
        EXPECT_GT(inside, 10);
    }
}

TEST(TskImagePanel, AutoSizeKeepsTheAlignedSide) {
    struct Row {
        TAlign align;
        int w, h;
    };
    // The host is 200 x 120; the picture 4 x 3.
    for (const Row& r : {Row{alNone, 4, 3}, Row{alTop, 200, 3}, Row{alBottom, 200, 3},
                         Row{alLeft, 4, 120}, Row{alRight, 4, 120}, Row{alClient, 200, 120}}) {
        Fixture f;
        f.panel->SetAlign(r.align);
        f.panel->SetAutoSize(true);
        TPicture picture;
        f.panel->SetPicture(Coded(picture));
        EXPECT_EQ(f.panel->Width(), r.w) << r.align;
        EXPECT_EQ(f.panel->Height(), r.h) << r.align;
    }
    // Switched on with a picture already there, it applies at once.
    Fixture f;
    TPicture picture;
    f.panel->SetPicture(Coded(picture));
    EXPECT_EQ(f.panel->Width(), 10);
    f.panel->SetAutoSize(true);
    EXPECT_EQ(f.panel->BoundsRect(), Rect(20, 10, 24, 13));
}
