// The captioned panel: collapse and expand steps with the height it
// remembers, the collapse button, the child area, style colours of the panels,
// group box and status bar, file themes, and loading from a description.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKForm.h"
#include "skin/SKGroupBox.h"
#include "skin/SKImagePanel.h"
#include "skin/SKStatusBar.h"
#include "skin/SKThemeFile.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;

namespace {

QImage Face(TControl* c) {
    return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Slice(const QImage& img, const TRect& r) {
    return img.copy(r.ToQ());
}

// State k (1-based) of the collapse button's four.
QImage ButtonSlice(int k) {
    TBitmap strip;
    strip.LoadFromResourceName("PANEL_BUTTON");
    TBitmap one;
    SpitBitmap(&strip, &one, 4, k);
    return one.Image().convertToFormat(QImage::Format_RGB32);
}

const char* kLayout = R"(
object fmPanels: TForm
  BorderStyle = bsNone
  ClientWidth = 300
  ClientHeight = 400
  Color = 15198183
  object spTop: TskPanel
    Align = alTop
    UIStyle = MacOS
    BorderColor = 8355711
    ShowButton = False
    CaptionFontColor = clBlack
    Color = 15198183
    Height = 75
  end
  object spBottom: TskPanel
    Align = alBottom
    UIStyle = BlueGlass
    BorderColor = clBlack
    Caption = 'Duplicate Address Book Entries'
    CaptionFontColor = clWhite
    Height = 151
    Color = 15198183
    object pButtons: TPanel
      Align = alTop
      Height = 32
      BevelOuter = bvNone
      Color = 15198183
    end
    object pList: TPanel
      Align = alClient
      BevelOuter = bvNone
      Color = clWhite
    end
  end
  object skGroupBox2: TskGroupBox
    Left = 16
    Top = 80
    Width = 260
    Height = 100
    Caption = ' Open Windows Address Book File '
    UIStyle = BlueGlass
    Font.Height = -11
    Font.Color = clBlack
    ParentColor = True
    BorderColor = clBlack
  end
  object sbMain: TskStatusBar
    Top = 381
    UIStyle = BlueGlass
    PanelColor = 15198183
    Color = 15198183
  end
end
)";

struct Fixture {
    Fixture() : form(new TForm(nullptr)) {
        RegisterToolkitClasses();
        RegisterSkinPanelClasses();
        form->LoadDescriptionText(kLayout, "panels.form");
        top = Get<TskPanel>("spTop");
        bottom = Get<TskPanel>("spBottom");
        bottom->OnResize = [this](TObject*) { heights.push_back(bottom->Height()); };
    }
    template <class T> T* Get(const char* name) const {
        auto* c = qobject_cast<T*>(form->FindComponent(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    TComponentPtr<TForm> form;
    TskPanel* top = nullptr;
    TskPanel* bottom = nullptr;
    std::vector<int> heights;
};

} // namespace

TEST(TskPanel, LoadsTheMainWindowConfiguration) {
    Fixture f;
    // Values stored after UIStyle win over the style's.
    EXPECT_EQ(f.top->Color(), 0xE7E7E7u);
    EXPECT_EQ(f.top->BorderColor(), 0x7F7F7Fu);
    EXPECT_FALSE(f.top->ShowButton());
    EXPECT_EQ(f.top->Height(), 75);
    EXPECT_EQ(f.bottom->Height(), 151);
    EXPECT_EQ(f.bottom->ExpandedHeight(), 151);
    EXPECT_EQ(f.bottom->BoundsRect(), Rect(0, 400 - 19 - 151, 300, 400 - 19));
    EXPECT_EQ(f.bottom->CaptionBarHeight(), 21);

    auto* box = f.Get<TskGroupBox>("skGroupBox2");
    EXPECT_EQ(box->Caption(), " Open Windows Address Book File ");
    EXPECT_EQ(static_cast<TControl*>(box)->Caption(), " ");
    EXPECT_EQ(box->Color(), 0xE7E7E7u); // the form's, through ParentColor

    auto* bar = f.Get<TskStatusBar>("sbMain");
    EXPECT_EQ(bar->PanelColor(), 0xE7E7E7u);
    EXPECT_EQ(bar->Align(), alBottom);
}

TEST(TskPanel, CollapsesAndExpandsInFifteenPixelSteps) {
    Fixture f;
    f.form->Show();
    int pushes = 0;
    int pops = 0;
    f.bottom->OnPush = [&](TObject*) {
        ++pushes;
        EXPECT_TRUE(f.bottom->GetPushed());
        EXPECT_FALSE(f.bottom->Animating());
    };
    f.bottom->OnPop = [&](TObject*) { ++pops; };

    f.bottom->Push();
    EXPECT_EQ(f.heights, (std::vector<int>{136, 121, 106, 91, 76, 61, 46, 31, 21}));
    EXPECT_EQ(pushes, 1);
    EXPECT_EQ(f.bottom->ExpandedHeight(), 151);
    // Aligned to the bottom, it stays there while it shrinks.
    EXPECT_EQ(f.bottom->Top(), 400 - 19 - 21);

    f.heights.clear();
    f.bottom->Pop();
    EXPECT_EQ(f.heights, (std::vector<int>{36, 51, 66, 81, 96, 111, 126, 141, 151}));
    EXPECT_EQ(pops, 1);
    EXPECT_FALSE(f.bottom->GetPushed());
}

TEST(TskPanel, RemembersItsExpandedHeight) {
    Fixture f;
    TControl* asControl = f.bottom;

    // Expanded: any resize (a splitter's) is the new expanded height.
    asControl->SetHeight(170);
    EXPECT_EQ(f.bottom->ExpandedHeight(), 170);

    f.bottom->Push();
    // Collapsed: a splitter's resize is not remembered ...
    asControl->SetHeight(60);
    EXPECT_EQ(f.bottom->Height(), 60);
    EXPECT_EQ(f.bottom->ExpandedHeight(), 170);
    // ... and the published Height only changes what the next expand goes to.
    f.bottom->SetHeight(120);
    EXPECT_EQ(f.bottom->Height(), 60);
    EXPECT_TRUE(f.bottom->GetPushed());

    f.heights.clear();
    f.bottom->Pop();
    EXPECT_EQ(f.heights, (std::vector<int>{75, 90, 105, 120}));
    EXPECT_EQ(f.bottom->ExpandedHeight(), 120);
}

TEST(TskPanel, RequestsWhileAnimating) {
    Fixture f;
    f.form->Show();
    // An expand that arrives during a collapse runs inside it; the collapse
    // then goes on from where the expand left the panel.
    bool queued = false;
    f.bottom->OnResize = [&](TObject*) {
        f.heights.push_back(f.bottom->Height());
        if (!queued) {
            queued = true;
            QTimer::singleShot(0, f.bottom, [&] { f.bottom->Pop(); });
        }
    };
    f.bottom->Push();
    EXPECT_EQ(f.heights.front(), 136);
    EXPECT_EQ(f.heights[1], 151);
    EXPECT_EQ(f.heights.back(), 21);
    EXPECT_TRUE(f.bottom->GetPushed());
    EXPECT_EQ(f.bottom->ExpandedHeight(), 151);

    // The panel freed between two steps ends the animation quietly.
    QPointer<TskPanel> panel(f.bottom);
    f.bottom->OnResize = [&](TObject*) {
        QTimer::singleShot(0, f.form.get(), [&] { panel->Free(); });
    };
    f.bottom->Pop();
    EXPECT_TRUE(panel.isNull());
}

TEST(TskPanel, PropertiesByNameAreTheClassOwnAsInDescriptions) {
    // Group box and panel publish Caption and Height anew; setting them by
    // name reaches the same property a form description reaches.
    Fixture f;
    auto* box = f.Get<TskGroupBox>("skGroupBox2");
    EXPECT_TRUE(SetPublishedProperty(box, "caption", QStringLiteral(" Criteria ")));
    EXPECT_EQ(box->Caption(), " Criteria ");

    f.bottom->Push();
    EXPECT_TRUE(SetPublishedProperty(f.bottom, "Height", 120));
    EXPECT_EQ(f.bottom->Height(), 21); // collapsed: only the next expand changes
    EXPECT_EQ(f.bottom->ExpandedHeight(), 120);
}

TEST(TskPanel, PanelFreedDuringAClickStartedAnimation) {
    // A handler run between two steps of a collapse that the button started
    // frees the panel: the click ends quietly without touching it again.
    for (bool collapsed : {false, true}) {
        Fixture f;
        f.form->Show();
        if (collapsed) {
            f.bottom->Push();
        }
        QPointer<TskPanel> panel(f.bottom);
        f.bottom->OnResize = [&](TObject*) {
            QTimer::singleShot(0, f.form.get(), [&] {
                if (panel) {
                    panel->Free();
                }
            });
        };
        QWidget* h = f.bottom->Handle();
        QTest::mouseMove(h, QPoint(288, 10));
        QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(288, 10));
        EXPECT_TRUE(panel.isNull()) << collapsed;
    }
}

TEST(TskPanel, AnimationEndsWhereTheSizeStopsChanging) {
    // Constraints or a refusing resize hook hold the panel at some height;
    // the animation stops there instead of asking for ever.
    Fixture f;
    f.form->Show();
    f.bottom->Constraints()->SetMinHeight(100);
    f.bottom->Push();
    EXPECT_EQ(f.bottom->Height(), 100);
    EXPECT_TRUE(f.bottom->GetPushed());

    f.bottom->Constraints()->SetMinHeight(0);
    f.bottom->Constraints()->SetMaxHeight(120);
    f.heights.clear();
    f.bottom->Pop();
    EXPECT_EQ(f.bottom->Height(), 120);
    EXPECT_FALSE(f.bottom->GetPushed());
}

TEST(TskPanel, ChildAreaFollowsTheCaptionBar) {
    Fixture f;
    auto* buttons = f.Get<TPanel>("pButtons");
    auto* list = f.Get<TPanel>("pList");
    EXPECT_EQ(buttons->BoundsRect(), Rect(3, 21 + 3, 297, 21 + 3 + 32));
    EXPECT_EQ(list->BoundsRect(), Rect(3, 21 + 3 + 32, 297, 151 - 3));

    // DeepBlue's bar is a pixel lower: the children move with it.
    f.bottom->SetUIStyle(DeepBlue);
    EXPECT_EQ(f.bottom->CaptionBarHeight(), 20);
    EXPECT_EQ(buttons->BoundsRect(), Rect(3, 20 + 3, 297, 20 + 3 + 32));
    EXPECT_EQ(list->BoundsRect(), Rect(3, 20 + 3 + 32, 297, 151 - 3));
    EXPECT_EQ(f.bottom->Height(), 151);
}

TEST(TskPanel, CollapseButtonFollowsThePointerAndToggles) {
    Fixture f;
    f.form->Show();
    QWidget* h = f.bottom->Handle();
    // 300 wide, bar 21: hit rectangle (282, 4, 295, 16), drawn at (283, 4).
    EXPECT_EQ(f.bottom->ButtonRect(), Rect(282, 4, 295, 16));
    const TRect drawn = Rect(283, 4, 296, 16);
    EXPECT_EQ(Slice(Face(f.bottom), drawn), ButtonSlice(1));

    QTest::mouseMove(h, QPoint(288, 10));
    EXPECT_TRUE(f.bottom->ButtonHot());
    EXPECT_EQ(Slice(Face(f.bottom), drawn), ButtonSlice(2));
    QTest::mouseMove(h, QPoint(150, 10));
    EXPECT_FALSE(f.bottom->ButtonHot());
    EXPECT_EQ(Slice(Face(f.bottom), drawn), ButtonSlice(1));

    // Leaving the bar downwards puts the button out as well: a click in the
    // panel's body then does nothing.
    QTest::mouseMove(h, QPoint(288, 10));
    QTest::mouseMove(h, QPoint(288, 22));
    EXPECT_FALSE(f.bottom->ButtonHot());
    QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(1, 80));
    EXPECT_FALSE(f.bottom->GetPushed());

    QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(288, 10));
    EXPECT_TRUE(f.bottom->GetPushed());
    EXPECT_EQ(f.bottom->Height(), 21);
    EXPECT_EQ(Slice(Face(f.bottom), drawn), ButtonSlice(4)); // collapsed, pointer on it

    h = f.bottom->Handle();
    QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(288, 10));
    EXPECT_FALSE(f.bottom->GetPushed());
    EXPECT_EQ(f.bottom->Height(), 151);
}

TEST(TskPanel, ButtonRulesForShowButtonAndAlign) {
    Fixture f;
    f.form->Show();
    const QImage bar = Slice(Face(f.bottom), Rect(283, 4, 296, 16));

    f.bottom->SetShowButton(false);
    const QImage hidden = Slice(Face(f.bottom), Rect(283, 4, 296, 16));
    EXPECT_NE(hidden, bar);
    EXPECT_EQ(hidden.pixel(6, 6), hidden.pixel(0, 6)); // only the bar image there
    QTest::mouseMove(f.bottom->Handle(), QPoint(288, 10));
    QTest::mouseClick(f.bottom->Handle(), Qt::LeftButton, {}, QPoint(288, 10));
    EXPECT_FALSE(f.bottom->GetPushed());
    EXPECT_FALSE(f.bottom->ButtonHot());

    f.bottom->SetShowButton(true);
    for (TAlign a : {alClient, alLeft, alRight}) {
        f.bottom->SetAlign(a);
        EXPECT_FALSE(f.bottom->ButtonVisible()) << a;
        const int height = f.bottom->Height();
        QTest::mouseClick(f.bottom->Handle(), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_FALSE(f.bottom->GetPushed()) << a;
        try {
            f.bottom->Push();
            ADD_FAILURE() << "Push aligned " << a;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Can't push when Align is alClient, alLeft or alRight.");
        }
        EXPECT_EQ(f.bottom->Height(), height);
        EXPECT_FALSE(f.bottom->GetPushed());
    }
}

TEST(TskPanel, PaintsFrameBarAndCaption) {
    Fixture f;
    const QImage img = Face(f.bottom);
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_EQ(img.pixel(0, 100), black);
    EXPECT_EQ(img.pixel(299, 100), black);
    EXPECT_EQ(img.pixel(150, 150), black);
    EXPECT_EQ(img.pixel(150, 149), qRgb(0xE7, 0xE7, 0xE7)); // Color under the children

    // The 1-pixel-wide bar image is stretched along the bar, column for column.
    TBitmap barImage;
    barImage.Assign(f.bottom->CaptionBarImage());
    for (int y = 0; y < 21; ++y) {
        EXPECT_EQ(img.pixel(5, y) & 0xFFFFFF, barImage.Image().pixel(0, y) & 0xFFFFFF) << y;
    }
    // White caption text from x = 10 within the bar.
    int white = 0;
    for (int y = 0; y < 21; ++y) {
        for (int x = 10; x < 200; ++x) {
            white += img.pixel(x, y) == qRgb(255, 255, 255);
        }
    }
    EXPECT_GT(white, 20);
}

TEST(TskPanel, StyleColours) {
    struct Row {
        TskUIStyle style;
        TColor border;
        TColor captionFont;
        int bar;
        TColor boxFont;
        TColor panelColor;
    };
    const Row rows[] = {
        {MacOS, 0x7F7F7F, clBlack, 21, clBlack, 0xE7E7E7},
        {WinXP, 0x686868, clBlack, 21, 0xCF4602, 0xDEEBEF},
        {DeepBlue, clBlack, clWhite, 20, clBlack, 0xE8E8E8},
        {Protein, clBlack, clWhite, 21, clBlack, 0xFBFBFB},
        {BlueGlass, clBlack, clWhite, 21, clBlack, 0xE7E7E7},
    };
    TComponentPtr<TForm> form(new TForm(nullptr));
    // The first style is the skinned form's.
    auto* skinned = new TskForm(form.get());
    skinned->SetUIStyle(Protein);
    auto* panel = new TskPanel(form.get());
    auto* box = new TskGroupBox(form.get());
    auto* bar = new TskStatusBar(form.get());
    EXPECT_EQ(panel->UIStyle(), Protein);
    EXPECT_EQ(box->UIStyle(), Protein);
    EXPECT_EQ(bar->UIStyle(), Protein);
    EXPECT_EQ(bar->PanelColor(), 0xFBFBFBu);
    for (const Row& r : rows) {
        panel->SetColor(clRed);
        panel->SetUIStyle(r.style);
        EXPECT_EQ(panel->Color(), clWhite) << r.style;
        EXPECT_EQ(panel->BorderColor(), r.border) << r.style;
        EXPECT_EQ(panel->CaptionFontColor(), r.captionFont) << r.style;
        EXPECT_EQ(panel->CaptionBarHeight(), r.bar) << r.style;

        box->SetUIStyle(r.style);
        EXPECT_EQ(box->BorderColor(), r.border) << r.style;
        EXPECT_EQ(box->Font()->Color(), r.boxFont) << r.style;

        bar->SetUIStyle(r.style);
        EXPECT_EQ(bar->PanelColor(), r.panelColor) << r.style;
        EXPECT_EQ(bar->Color(), r.panelColor) << r.style;
    }
}

TEST(TskPanel, FileThemeValuesAndItsRemoval) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plain.skn");
    {
        // No bar image, a dark-text marker in ControlFontColor.
        TskThemeFileWriter writer(path);
        writer.AddInteger("ControlBorderColor", 0x123456);
        writer.AddInteger("ControlFontColor", 0x30000);
        writer.AddInteger("FormBackgroundColor", 0x445566);
        ASSERT_TRUE(writer.Save());
    }
    TComponentPtr<TForm> form(new TForm(nullptr));
    form->SetBounds(0, 0, 300, 300);
    auto* theme = new TskFileTheme(form.get());
    theme->SetThemeFile(path);
    ASSERT_TRUE(theme->CanUse());

    auto* panel = new TskPanel(form.get());
    panel->SetParent(form.get());
    panel->SetHeight(100);
    auto* child = new TskStatusBar(form.get());
    child->SetParent(panel);
    child->SetUIStyle(MacOS);
    auto* box = new TskGroupBox(form.get());
    box->SetParent(form.get());
    auto* bar = new TskStatusBar(form.get());
    bar->SetParent(form.get());

    // With a built-in style a new file theme leaves the panel's colours alone.
    panel->SetColor(0xE7E7E7);
    panel->SetFileTheme(theme);
    EXPECT_EQ(panel->Color(), 0xE7E7E7u);

    panel->SetUIStyle(FromThemeFile);
    EXPECT_EQ(panel->BorderColor(), 0x123456u);
    EXPECT_EQ(panel->CaptionFontColor(), clBlack);
    EXPECT_EQ(panel->CaptionBarHeight(), 20);
    panel->Push();
    EXPECT_EQ(panel->Height(), 20);
    panel->Pop();

    box->SetFileTheme(theme);
    box->SetUIStyle(FromThemeFile);
    EXPECT_EQ(box->BorderColor(), 0x123456u);
    bar->SetFileTheme(theme);
    bar->SetUIStyle(FromThemeFile);
    EXPECT_EQ(bar->PanelColor(), 0x445566u);

    theme->Free();
    EXPECT_EQ(panel->FileTheme(), nullptr);
    EXPECT_EQ(panel->UIStyle(), DeepBlue);
    EXPECT_EQ(panel->CaptionFontColor(), clWhite);
    EXPECT_EQ(child->UIStyle(), DeepBlue);
    EXPECT_EQ(child->PanelColor(), 0xE8E8E8u);
    EXPECT_EQ(box->UIStyle(), DeepBlue);
    EXPECT_EQ(box->BorderColor(), clBlack);
    EXPECT_EQ(bar->UIStyle(), DeepBlue);
    EXPECT_EQ(bar->PanelColor(), 0xE8E8E8u);
}
