// What the skinned buttons draw: the state slices, the parent through
// transparent faces, glyph layouts on synthetic glyphs, focus cues, auto-size,
// the special buttons, and a gallery of every style in every state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKButton.h"

using namespace sk;
using namespace tk;

namespace {

constexpr QRgb kParent = 0xFFFF0000; // red panel behind the controls
constexpr QRgb kMagenta = 0xFFFF00FF;

QImage Grab(TControl* c) {
    return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A borderless form with a red panel that the controls sit on.
struct Stage {
    Stage() : form(new TForm(nullptr)) {
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 420, 300);
        panel = new TPanel(form.get());
        panel->SetBevelOuter(bvNone);
        panel->SetColor(RGBColor(255, 0, 0));
        panel->SetParent(form.get());
        panel->SetBounds(0, 0, 420, 300);
    }
    template <class T> T* Add(int x, int y, int w = 0, int h = 0) {
        auto* c = new T(form.get());
        c->SetParent(panel);
        c->SetBounds(x, y, w ? w : c->Width(), h ? h : c->Height());
        return c;
    }
    void ShowActive() {
        form->Show();
        QApplication::setActiveWindow(form->Handle());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    }
    TComponentPtr<TForm> form;
    TPanel* panel = nullptr;
};

QImage Slice(TskUIStyle style, int item, int count, int index) {
    TBitmap b;
    GetInsideThemeBitmap(style, item, &b, count, index);
    return b.Image().convertToFormat(QImage::Format_RGB32);
}

enum class State { Normal, MouseOn, MouseDown, Disabled };

void Put(TskCustomButton* b, State s) {
    // Wherever the pointer of the platform happens to be.
    b->Perform(CM_MOUSELEAVE);
    switch (s) {
    case State::Normal:
        break;
    case State::MouseOn:
        b->Perform(CM_MOUSEENTER);
        break;
    case State::MouseDown:
        b->Perform(CM_MOUSEENTER);
        b->Perform(WM_LBUTTONDOWN, 0, MakeLParam(3, 3));
        break;
    case State::Disabled:
        b->SetEnabled(false);
        break;
    }
}

// A glyph of w x h, keyed by its white corner pixel, holding a 2-pixel white
// border around solid blocks of the given colours (one per image).
TBitmap Glyph(int h, std::initializer_list<QRgb> colours) {
    const int n = static_cast<int>(colours.size());
    QImage img(h * n, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    int i = 0;
    for (QRgb c : colours) {
        p.fillRect(i * h + 2, 2, h - 4, h - 4, QColor::fromRgb(c));
        ++i;
    }
    p.end();
    return TBitmap(img);
}

// Bounding box of the pixels of one colour; empty when there are none.
QRect Find(const QImage& img, QRgb colour) {
    QRect r;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) == colour) {
                r |= QRect(x, y, 1, 1);
            }
        }
    }
    return r;
}

} // namespace

TEST(SkinButtonPaint, EachStateShowsItsSliceWithKeyedCornersOverTheParent) {
    const State states[] = {State::Normal, State::MouseOn, State::MouseDown, State::Disabled};
    const int slices[] = {1, 2, 3, 1};
    for (TskUIStyle style : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        for (int i = 0; i < 4; ++i) {
            Stage stage;
            auto* b = stage.Add<TskButton>(10, 10, 200, 40);
            b->SetTabStop(false);
            b->SetUIStyle(style);
            stage.form->Show();
            Put(b, states[i]);
            const QImage face = Grab(b);
            const QImage slice = Slice(style, siButtonImage, 3, slices[i]);
            ASSERT_FALSE(slice.isNull());
            // The top-left quarter of the slice, unscaled; its key colour
            // lets the red parent through.
            bool keyed = false;
            for (int y = 0; y < slice.height() / 2; ++y) {
                for (int x = 0; x < slice.width() / 2; ++x) {
                    const QRgb want = slice.pixel(x, y) == kMagenta ? kParent : slice.pixel(x, y);
                    keyed |= want == kParent;
                    ASSERT_EQ(face.pixel(x, y), want)
                        << static_cast<int>(style) << " state " << i << " at " << x << "," << y;
                }
            }
            EXPECT_EQ(keyed, style == MacOS || style == BlueGlass) << static_cast<int>(style);
        }
    }
}

TEST(SkinButtonPaint, TransparentBoxesAndPicturesShowTheParent) {
    Stage stage;
    auto* box = stage.Add<TskCheckBox>(10, 10);
    box->SetAutoSize(false);
    box->SetBounds(10, 10, 150, 20);
    box->SetColor(RGBColor(0, 0, 255));
    auto* pic = stage.Add<TskImageButton>(10, 50, 30, 30);
    QImage art(30, 30, QImage::Format_RGB32);
    art.fill(qRgb(0, 255, 0)); // the key: pixel (0, 0)
    art.setPixel(15, 15, qRgb(0, 0, 0));
    pic->PicNormal()->Assign(std::make_unique<TBitmap>(art).get());
    pic->SetColor(RGBColor(0, 0, 255));
    pic->SetTabStop(false);
    stage.form->Show();

    EXPECT_EQ(Grab(box).pixel(149, 0), qRgb(0, 0, 255));
    EXPECT_EQ(Grab(pic).pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(Grab(pic).pixel(15, 15), qRgb(0, 0, 0));
    box->SetTransparent(true);
    pic->SetTransparent(true);
    EXPECT_EQ(Grab(box).pixel(149, 0), kParent);
    EXPECT_EQ(Grab(pic).pixel(1, 1), kParent);
    EXPECT_EQ(Grab(pic).pixel(15, 15), qRgb(0, 0, 0));
}

TEST(SkinButtonGlyph, LayoutsPlaceGlyphAndCaption) {
    constexpr QRgb kInk = 0xFF01FE03;
    struct Case {
        TButtonLayout layout;
        bool pressed;
    } cases[] = {{blGlyphLeft, false},   {blGlyphRight, false}, {blGlyphTop, false},
                 {blGlyphBottom, false}, {blGlyphLeft, true},   {blGlyphBottom, true}};
    for (const Case& c : cases) {
        Stage stage;
        auto* b = stage.Add<TskButton>(10, 10, 121, 61);
        b->SetTabStop(false);
        b->SetUIStyle(DeepBlue);
        b->SetCaption("Go &on");
        b->SetSpacing(5);
        b->SetLayout(c.layout);
        const TBitmap glyph = Glyph(16, {kInk});
        b->SetGlyph(&glyph);
        stage.form->Show();
        if (c.pressed) {
            Put(b, State::MouseDown);
        }
        const QImage face = Grab(b);

        TBitmap probe(1, 1);
        probe.Canvas()->Font()->Assign(*b->Font());
        const int tw = probe.Canvas()->TextWidth("Go on");
        const int th = probe.Canvas()->TextHeight("Go &on");
        const int W = 121, H = 61, S = 5, g = 16;
        TPoint glyphAt, text;
        switch (c.layout) {
        case blGlyphLeft:
            glyphAt = {(W - tw - g - S) / 2, (H - g) / 2};
            text = {glyphAt.x + g + S, (H - th) / 2};
            break;
        case blGlyphRight:
            glyphAt = {(W + tw + S - g) / 2, (H - g) / 2};
            text = {glyphAt.x - tw - S, (H - th) / 2};
            break;
        case blGlyphTop:
            glyphAt = {(W - g) / 2, (H - th - g - S) / 2};
            text = {(W - tw) / 2, glyphAt.y + g + S};
            break;
        case blGlyphBottom:
            glyphAt = {(W - g) / 2, (H + th + S - g) / 2};
            text = {(W - tw) / 2, glyphAt.y - th - S};
            break;
        }
        const int shift = c.pressed ? 1 : 0;
        EXPECT_EQ(Find(face, kInk), QRect(glyphAt.x + 2 + shift, glyphAt.y + 2 + shift, 12, 12))
            << c.layout << " pressed " << c.pressed;
        EXPECT_EQ(b->TextPos(), (TPoint{text.x + shift, text.y + shift})) << c.layout;
    }
}

TEST(SkinButtonGlyph, TwoImageGlyphsSwapAndOneImageGlyphsGrey) {
    constexpr QRgb kOn = 0xFF01FE03;
    constexpr QRgb kOff = 0xFF03FE01;
    Stage stage;
    auto* two = stage.Add<TskButton>(10, 10);
    auto* one = stage.Add<TskButton>(10, 50);
    const TBitmap pair = Glyph(16, {kOn, kOff});
    const TBitmap single = Glyph(16, {kOn});
    two->SetGlyph(&pair);
    one->SetGlyph(&single);
    stage.form->Show();
    EXPECT_EQ(Find(Grab(two), kOn).size(), QSize(12, 12));
    EXPECT_TRUE(Find(Grab(two), kOff).isNull());
    EXPECT_EQ(Find(Grab(one), kOn).size(), QSize(12, 12));
    two->SetEnabled(false);
    one->SetEnabled(false);
    EXPECT_TRUE(Find(Grab(two), kOn).isNull());
    EXPECT_EQ(Find(Grab(two), kOff).size(), QSize(12, 12));
    EXPECT_TRUE(Find(Grab(one), kOn).isNull()) << "greyed";
}

TEST(SkinButtonPaint, FocusIsARectangleOrABoldCaption) {
    struct Case {
        TskUIStyle style;
        int margin;
        bool rectangle;
    } cases[] = {{WinXP, 2, true},
                 {DeepBlue, 5, true},
                 {Protein, 2, true},
                 {MacOS, 2, false},
                 {BlueGlass, 2, false}};
    for (const Case& c : cases) {
        Stage stage;
        auto* b = stage.Add<TskButton>(10, 10, 100, 30);
        auto* other = stage.Add<TskButton>(150, 10);
        b->SetUIStyle(c.style);
        b->SetCaption("Refresh");
        // The MS Sans Serif outlines at hand have no bold that differs.
        b->Font()->SetName("Tahoma");
        b->SetFocusedRectMargin(c.margin);
        stage.ShowActive();
        other->SetFocus();
        const QImage plain = Grab(b);
        b->SetFocus();
        ASSERT_TRUE(b->Focused());
        const QImage focused = Grab(b);
        const int m = c.margin;
        const QRect ring(m, m, 100 - 2 * m, 30 - 2 * m);
        int onRing = 0;
        int inside = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 100; ++x) {
                if (plain.pixel(x, y) == focused.pixel(x, y)) {
                    continue;
                }
                const bool edge =
                    ring.contains(x, y) && !ring.adjusted(1, 1, -1, -1).contains(x, y);
                (edge ? onRing : inside)++;
            }
        }
        if (c.rectangle) {
            EXPECT_GT(onRing, 2 * (ring.width() + ring.height()) / 3) << c.style;
            EXPECT_EQ(inside, 0) << c.style << ": the caption is not bold";
        } else {
            EXPECT_EQ(onRing, 0) << c.style;
            EXPECT_GT(inside, 0) << c.style << ": the caption is bold";
        }
    }
}

TEST(SkinButtonPaint, AutoSizeTakesOneSliceOfTheStyle) {
    struct Case {
        TskUIStyle style;
        int width;
        int height;
    } cases[] = {{WinXP, 18, 21},
                 {BlueGlass, 77, 27},
                 {MacOS, 84, 23},
                 {DeepBlue, 74, 21},
                 {Protein, 74, 21},
                 // No image: the size of the blank stand-in face.
                 {FromThemeFile, 74, 21}};
    for (const Case& c : cases) {
        TComponentPtr<TskButton> b(new TskButton(nullptr));
        b->SetUIStyle(c.style);
        b->SetAutoSize(true);
        EXPECT_EQ(b->Width(), c.width) << c.style;
        EXPECT_EQ(b->Height(), c.height) << c.style;
    }
    // A style set later re-sizes an auto-sized button.
    TComponentPtr<TskButton> b(new TskButton(nullptr));
    b->SetAutoSize(true);
    b->SetUIStyle(WinXP);
    EXPECT_EQ(b->Width(), 18);
}

TEST(SkinCheckBoxPaint, AutoSizeFitsMarkAndCaptionOnPaint) {
    // Sizes the program's windows are laid out with.
    struct Case {
        bool radio;
        TskUIStyle style;
        const char* font;
        const char* caption;
        int width;
        int height;
    } cases[] = {
        // (Verdana is stood in for by another face here, so the main
        // window's radio buttons come out a few pixels narrower.)
        {true, BlueGlass, "MS Sans Serif", "Default Windows Address Book", 171, 19},
        {true, BlueGlass, "MS Sans Serif", "Open Other Windows Address Books", 197, 19},
        {false, BlueGlass, "MS Sans Serif", "Same Email Address", 117, 19},
        {false, BlueGlass, "MS Sans Serif", "Same Display Name", 116, 19},
    };
    for (const Case& c : cases) {
        Stage stage;
        TskCheckBox* box =
            c.radio ? stage.Add<TskRadioButton>(10, 10) : stage.Add<TskCheckBox>(10, 10);
        box->SetUIStyle(c.style);
        box->Font()->SetName(c.font);
        box->Font()->SetHeight(-11);
        box->SetCaption(c.caption);
        stage.form->Show();
        (void)Grab(box);
        EXPECT_EQ(box->Width(), c.width) << c.caption;
        EXPECT_EQ(box->Height(), c.height) << c.caption;
    }
}

TEST(SkinCheckBoxPaint, MarkSliceFollowsCheckedAndEnabled) {
    struct Case {
        bool checked;
        bool enabled;
        int slice;
    } cases[] = {{true, true, 1}, {false, true, 2}, {true, false, 3}, {false, false, 4}};
    for (const Case& c : cases) {
        Stage stage;
        auto* box = stage.Add<TskCheckBox>(10, 10);
        box->SetUIStyle(WinXP);
        box->SetChecked(c.checked);
        box->SetEnabled(c.enabled);
        stage.form->Show();
        const QImage face = Grab(box);
        const QImage mark = Slice(WinXP, siCheckBoxImage, 4, c.slice);
        const int top = (box->Height() - mark.height()) / 2;
        EXPECT_EQ(face.copy(1, top, mark.width(), mark.height()), mark) << c.slice;
    }
}

TEST(SkinSpecialButtons, ArrowControlImageAndSpeedButtons) {
    Stage stage;
    auto* up = stage.Add<TskArrowButton>(10, 10, 16, 12);
    auto* down = stage.Add<TskArrowButton>(30, 10, 16, 12);
    down->SetArrow(skDown);
    // x0 = 5, y0 = 4.
    auto* ctl = stage.Add<TskControlButton>(60, 10, 50, 50);
    ctl->SetThemeID(siScrollBarButtonImage);
    ctl->SetPicCount(6);
    ctl->SetPicIndex(1);
    auto* bad = stage.Add<TskControlButton>(120, 10, 20, 20);
    bad->SetThemeID(99);
    bad->SetPicCount(0);
    auto* pic = stage.Add<TskImageButton>(150, 10, 40, 40);
    auto* speed = stage.Add<TskToolBarSpeedButton>(200, 10);
    speed->SetColor(RGBColor(255, 255, 255));
    const TBitmap glyph = Glyph(16, {0xFF01FE03});
    speed->SetGlyph(&glyph);
    stage.form->Show();

    const QImage u = Grab(up);
    const QImage d = Grab(down);
    EXPECT_EQ(u.pixel(8, 5), qRgb(0, 0, 0)) << "apex of the up arrow";
    EXPECT_EQ(u.pixel(6, 6), qRgb(0, 0, 0));
    EXPECT_NE(u.pixel(8, 8), qRgb(0, 0, 0));
    EXPECT_EQ(d.pixel(6, 4), qRgb(0, 0, 0)) << "base of the down arrow";
    EXPECT_EQ(d.pixel(8, 6), qRgb(0, 0, 0));
    EXPECT_NE(d.pixel(8, 2), qRgb(0, 0, 0));

    // The control button takes its slice's size; the pointer shows the next.
    (void)Grab(ctl);
    EXPECT_EQ(ctl->Width(), 16);
    EXPECT_EQ(ctl->Height(), 16);
    EXPECT_EQ(Grab(ctl), Slice(DeepBlue, siScrollBarButtonImage, 6, 1));
    ctl->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Grab(ctl), Slice(DeepBlue, siScrollBarButtonImage, 6, 2));
    // Items and counts that do not exist draw nothing and keep the size.
    EXPECT_EQ(Grab(bad).pixel(5, 5), kParent);
    EXPECT_EQ(bad->Width(), 20);

    // An image button without pictures shows its background only; a missing
    // state picture falls back to the normal one; it reads as theme-file.
    EXPECT_EQ(pic->UIStyle(), FromThemeFile);
    EXPECT_EQ(Grab(pic).pixel(20, 20), kParent);
    QImage art(10, 10, QImage::Format_RGB32);
    art.fill(qRgb(255, 255, 255));
    art.setPixel(5, 5, qRgb(0, 0, 255));
    pic->PicNormal()->Assign(std::make_unique<TBitmap>(art).get());
    pic->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Grab(pic).pixel(5, 5), qRgb(0, 0, 255));
    pic->SetStretch(true);
    EXPECT_EQ(Grab(pic).pixel(21, 21), qRgb(0, 0, 255));
    pic->SetAutoSize(true);
    EXPECT_EQ(pic->Width(), 10);

    // The speed button frames its glyph while the pointer is over it.
    EXPECT_EQ(Grab(speed).pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(Find(Grab(speed), 0xFF01FE03), QRect(3, 3, 12, 12));
    speed->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(speed->IsHot());
    EXPECT_EQ(Grab(speed).pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(Grab(speed).pixel(17, 17), qRgb(0, 0, 0));
    speed->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(Grab(speed).pixel(0, 0), qRgb(255, 255, 255));
}

// Every style's buttons, check boxes and radio buttons in every state, for a
// person to look at: build/artifacts/skin-buttons-<style>.png.
TEST(SkinButtonGallery, EveryStyleInEveryState) {
    const QString dir = qEnvironmentVariable("QUENBY_BINARY_DIR") + "/artifacts";
    QDir().mkpath(dir);
    const char* names[] = {"FromThemeFile", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};
    for (TskUIStyle style : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        Stage stage;
        stage.panel->SetColor(0xE7E7E7);
        stage.form->SetBounds(0, 0, 480, 150);
        stage.panel->SetBounds(0, 0, 480, 150);
        const State states[] = {State::Normal, State::MouseOn, State::MouseDown, State::Disabled};
        std::vector<TskButton*> buttons;
        for (int i = 0; i < 4; ++i) {
            auto* b = stage.Add<TskButton>(8 + i * 90, 8);
            b->SetUIStyle(style);
            b->SetTabStop(false);
            b->SetCaption("&Refresh");
            buttons.push_back(b);
        }
        auto* focused = stage.Add<TskButton>(368, 8);
        focused->SetUIStyle(style);
        focused->SetCaption("&Focused");
        for (int i = 0; i < 4; ++i) {
            auto* box = stage.Add<TskCheckBox>(8 + i * 118, 50);
            auto* radio = stage.Add<TskRadioButton>(8 + i * 118, 80);
            radio->SetGroupIndex(i);
            for (TskCheckBox* c :
                 {static_cast<TskCheckBox*>(box), static_cast<TskCheckBox*>(radio)}) {
                c->SetUIStyle(style);
                c->SetTabStop(false);
                c->SetCaption(i % 2 ? "Unchecked" : "Checked");
                c->SetChecked(i % 2 == 0);
                c->SetEnabled(i < 2);
            }
        }
        auto* wide = stage.Add<TskButton>(8, 108, 200, 36);
        wide->SetUIStyle(style);
        wide->SetTabStop(false);
        wide->SetCaption("Glyph and stretched face");
        const TBitmap glyph = Glyph(16, {0xFF2060C0});
        wide->SetGlyph(&glyph);
        for (TskArrowButtonType arrow : {skUp, skDown}) {
            auto* a = stage.Add<TskArrowButton>(220 + 20 * arrow, 112, 16, 12);
            a->SetUIStyle(style);
            a->SetArrow(arrow);
            a->SetTabStop(false);
        }
        stage.ShowActive();
        focused->SetFocus();
        for (int i = 0; i < 4; ++i) {
            Put(buttons[static_cast<std::size_t>(i)], states[i]);
        }
        const QImage normal = Grab(buttons[0]);
        for (int i = 1; i < 4; ++i) {
            EXPECT_NE(Grab(buttons[static_cast<std::size_t>(i)]), normal)
                << names[style] << " state " << i;
        }
        const QImage sheet = Grab(stage.form.get());
        EXPECT_TRUE(sheet.save(dir + "/skin-buttons-" + names[style] + ".png"));
    }
}
