// The skinned buttons' behaviour on real widgets: pointer states, auto-repeat
// on the manual clock, Enter/Escape routing, modal results, accelerators, and
// the check-box and radio-button rules.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include "platform/toolkit/Actions.h"
#include "platform/toolkit/Edits.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/StdCtrls.h"
#include "platform/toolkit/Timers.h"
#include "skin/SKButton.h"

using namespace sk;
using namespace tk;

namespace {

QImage Face(TControl* c) {
    return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// What a real double click delivers: the second press comes as a double click.
void DoubleClick(TControl* c, QPoint p) {
    QWidget* h = c->Handle();
    QTest::mouseClick(h, Qt::LeftButton, {}, p);
    QTest::mouseDClick(h, Qt::LeftButton, {}, p);
    QTest::mouseRelease(h, Qt::LeftButton, {}, p);
}

// A form loaded from a description, with click counters by component name.
struct Fixture {
    explicit Fixture(const QString& text) : form(new TForm(nullptr)) {
        RegisterToolkitClasses();
        RegisterSkinButtonClasses();
        form->RegisterHandler("Counted", TNotifyEvent([this](TObject* s) {
                                  ++clicks[static_cast<TComponent*>(s)->Name()];
                              }));
        form->LoadDescriptionText(text, "buttons.form");
    }
    template <class T = TControl> T* Get(const char* name) const {
        auto* c = qobject_cast<T*>(form->FindComponent(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void ShowActive() {
        form->Show();
        QApplication::setActiveWindow(form->Handle());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    }
    int Clicks(const char* name) { return clicks[name]; }

    TComponentPtr<TForm> form;
    std::map<QString, int> clicks;
};

const char* kDialog = R"(
object fmDialog: TForm
  BorderStyle = bsNone
  ClientWidth = 320
  ClientHeight = 140
  object edtName: TEdit
    Left = 8
    Top = 8
    Width = 120
    TabOrder = 0
  end
  object sbtnOK: TskButton
    Left = 8
    Top = 40
    Caption = '&OK'
    Default = True
    UIStyle = WinXP
    TabOrder = 1
    OnClick = Counted
  end
  object sbtnRefresh: TskButton
    Left = 100
    Top = 40
    Caption = '&Refresh'
    TabOrder = 2
    OnClick = Counted
  end
  object sbtnCancel: TskButton
    Left = 200
    Top = 40
    Caption = '&Cancel'
    Cancel = True
    ModalResult = mrCancel
    TabOrder = 3
    OnClick = Counted
  end
  object cbtnEmail: TskCheckBox
    Left = 8
    Top = 80
    Caption = 'Same &Email Address'
    Checked = True
    TabOrder = 4
    OnClick = Counted
  end
end
)";

} // namespace

TEST(SkinButtonStates, EnterPressDragOffAndRelease) {
    Fixture f(kDialog);
    auto* btn = f.Get<TskButton>("sbtnRefresh");
    int exits = 0;
    btn->OnMouseExit = [&](TObject*) { ++exits; };
    f.ShowActive();
    QWidget* h = btn->Handle();
    btn->SetFocus();
    const QImage normal = Face(btn);

    QTest::mouseMove(h, QPoint(40, 13));
    EXPECT_TRUE(btn->IsMouseOn());
    const QImage hover = Face(btn);
    EXPECT_NE(hover, normal);

    QTest::mousePress(h, Qt::LeftButton, {}, QPoint(40, 13));
    EXPECT_TRUE(btn->IsMouseDown());
    EXPECT_TRUE(btn->RepeatTimerRunning());
    EXPECT_TRUE(btn->Focused());
    EXPECT_NE(Face(btn), hover);

    // Off the button while held: the normal face at once, the ticks stop.
    QTest::mouseMove(h, QPoint(120, 13));
    EXPECT_FALSE(btn->IsMouseDown());
    EXPECT_FALSE(btn->IsMouseOn());
    EXPECT_FALSE(btn->RepeatTimerRunning());
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(Face(btn), normal);

    // Back over it and released there: still a click, and one exit only.
    QTest::mouseMove(h, QPoint(40, 13));
    EXPECT_TRUE(btn->IsMouseOn());
    QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(40, 13));
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 1);

    // Released away from the button: no click.
    QTest::mousePress(h, Qt::LeftButton, {}, QPoint(40, 13));
    QTest::mouseMove(h, QPoint(-20, 13));
    QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(-20, 13));
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 1);
    EXPECT_EQ(exits, 2);
    EXPECT_FALSE(btn->RepeatTimerRunning());
}

TEST(SkinButtonStates, AutoRepeatPeriodFromTheInterval) {
    struct Case {
        int interval;
        int advance;
        int ticks; // after the press and the advance
    } cases[] = {
        {100, 99, 0},
        {100, 100, 1},
        {100, 350, 3},
        {40, 200, 5},
        // Zero and negative intervals give the message loop's shortest
        // period, 10 ms, not a tick on every pass.
        {0, 9, 0},
        {0, 10, 1},
        {-5, 35, 3},
    };
    for (const Case& c : cases) {
        TManualClockScope clock;
        Fixture f(kDialog);
        auto* btn = f.Get<TskButton>("sbtnRefresh");
        int ticks = 0;
        btn->OnMouseContinuouslyDown = [&](TObject*) { ++ticks; };
        btn->SetMouseContinuouslyDownInterval(c.interval);
        f.form->Show();
        QTest::mousePress(btn->Handle(), Qt::LeftButton, {}, QPoint(10, 10));
        clock.Clock().Advance(c.advance);
        EXPECT_EQ(ticks, c.ticks) << c.interval << " ms after " << c.advance;
        QTest::mouseRelease(btn->Handle(), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(f.Clicks("sbtnRefresh"), 1);
        EXPECT_FALSE(btn->RepeatTimerRunning());
        clock.Clock().Advance(1000);
        EXPECT_EQ(ticks, c.ticks) << "ticks after the release";
    }
}

TEST(SkinButtonStates, DisablingAHeldButtonEndsTheRepeat) {
    TManualClockScope clock;
    Fixture f(kDialog);
    auto* btn = f.Get<TskButton>("sbtnRefresh");
    int ticks = 0;
    btn->OnMouseContinuouslyDown = [&](TObject* s) {
        // Like a scroll arrow that reached the end.
        if (++ticks == 2) {
            static_cast<TControl*>(s)->SetEnabled(false);
        }
    };
    f.form->Show();
    QTest::mousePress(btn->Handle(), Qt::LeftButton, {}, QPoint(10, 10));
    clock.Clock().Advance(1000);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(btn->IsMouseDown());
    // A disabled button takes no clicks.
    QTest::mouseClick(btn->Handle(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 0);
}

TEST(SkinButtonKeys, EnterEscapeDefaultAndCancel) {
    Fixture f(kDialog);
    f.ShowActive();
    auto* edit = f.Get<TWinControl>("edtName");
    auto* refresh = f.Get<TskButton>("sbtnRefresh");
    struct Case {
        TWinControl* focus;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        const char* clicked; // null: nothing
    } cases[] = {
        {edit, Qt::Key_Return, Qt::NoModifier, "sbtnOK"},
        {refresh, Qt::Key_Return, Qt::NoModifier, "sbtnRefresh"},
        {edit, Qt::Key_Escape, Qt::NoModifier, "sbtnCancel"},
        {refresh, Qt::Key_Escape, Qt::NoModifier, "sbtnCancel"},
        {edit, Qt::Key_Return, Qt::ShiftModifier, nullptr},
        {edit, Qt::Key_Escape, Qt::ShiftModifier, nullptr},
        {edit, Qt::Key_Return, Qt::ControlModifier, nullptr},
    };
    for (const Case& c : cases) {
        c.focus->SetFocus();
        ASSERT_TRUE(c.focus->Focused());
        f.clicks.clear();
        f.Key(c.key, c.mods);
        int total = 0;
        for (const auto& [name, n] : f.clicks) {
            total += n;
        }
        EXPECT_EQ(total, c.clicked ? 1 : 0) << c.focus->Name().toStdString() << " " << c.key;
        if (c.clicked) {
            EXPECT_EQ(f.Clicks(c.clicked), 1) << c.focus->Name().toStdString() << " " << c.key;
        }
    }
    // Default moved to another button while the edit has the focus.
    f.Get<TskButton>("sbtnOK")->SetDefault(false);
    refresh->SetDefault(true);
    edit->SetFocus();
    f.clicks.clear();
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 1);
    EXPECT_EQ(f.Clicks("sbtnOK"), 0);
}

TEST(SkinButtonKeys, SpaceClicksOnReleaseOnceWhileHeld) {
    Fixture f(kDialog);
    f.ShowActive();
    auto* btn = f.Get<TskButton>("sbtnRefresh");
    btn->SetFocus();
    QWidget* h = QApplication::focusWidget();
    QTest::keyPress(h, Qt::Key_Space);
    EXPECT_TRUE(btn->IsMouseDown());
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 0);
    // A held key repeats; the releases Qt puts between the repeats are not
    // real ones.
    for (int i = 0; i < 3; ++i) {
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
        QApplication::sendEvent(h, &up);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
        QApplication::sendEvent(h, &down);
    }
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 0);
    QTest::keyRelease(h, Qt::Key_Space);
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 1);
    EXPECT_FALSE(btn->IsMouseDown());
}

TEST(SkinButtonKeys, AcceleratorsClickEnabledControls) {
    Fixture f(kDialog);
    f.ShowActive();
    auto* box = f.Get<TskCheckBox>("cbtnEmail");
    f.Get<TWinControl>("edtName")->SetFocus();
    f.Key(Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 1);
    // A letter typed into the edit is the edit's.
    f.Key(Qt::Key_R);
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 1);
    // The check box takes the focus and toggles.
    f.Key(Qt::Key_E, Qt::AltModifier);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(f.Clicks("cbtnEmail"), 1);
    EXPECT_TRUE(box->Focused());
    // On a focused button or box a plain letter is an accelerator too.
    f.Key(Qt::Key_R);
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 2);
    f.Get<TskButton>("sbtnRefresh")->SetEnabled(false);
    box->SetEnabled(false);
    f.Get<TWinControl>("edtName")->SetFocus();
    f.Key(Qt::Key_R, Qt::AltModifier);
    f.Key(Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 2);
    EXPECT_EQ(f.Clicks("cbtnEmail"), 1);
}

TEST(SkinButtonModal, EveryClickPassesItsModalResult) {
    Fixture f(kDialog);
    auto* ok = f.Get<TskButton>("sbtnOK");
    QTimer::singleShot(0, [&] {
        // A result of 0 is passed too, and keeps the dialog open.
        f.form->SetModalResult(mrRetry);
        ok->Click();
        EXPECT_EQ(f.form->ModalResult(), 0);
        QApplication::setActiveWindow(f.form->Handle());
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : f.form->Handle(), Qt::Key_Escape);
    });
    EXPECT_EQ(f.form->ShowModal(), mrCancel);
    EXPECT_EQ(f.Clicks("sbtnCancel"), 1);
    // A button on no form passes nothing and still clicks.
    TComponentPtr<TskButton> orphan(new TskButton(nullptr));
    int clicks = 0;
    orphan->OnClick = [&](TObject*) { ++clicks; };
    orphan->Click();
    EXPECT_EQ(clicks, 1);
}

TEST(SkinButtonMouse, FastDoubleClickIsTwoClicks) {
    Fixture f(kDialog);
    f.ShowActive();
    auto* btn = f.Get<TskButton>("sbtnRefresh");
    auto* box = f.Get<TskCheckBox>("cbtnEmail");
    DoubleClick(btn, QPoint(10, 10));
    EXPECT_EQ(f.Clicks("sbtnRefresh"), 2);
    DoubleClick(box, QPoint(5, 5));
    EXPECT_EQ(f.Clicks("cbtnEmail"), 2);
    EXPECT_TRUE(box->Checked());
}

// ---- check boxes and radio buttons -------------------------------------------

namespace {

const char* kGroups = R"(
object fmGroups: TForm
  BorderStyle = bsNone
  ClientWidth = 400
  ClientHeight = 200
  object pnLeft: TPanel
    Width = 200
    Height = 200
    object rbtnAll: TskRadioButton
      Top = 10
      Caption = 'All Records'
      Checked = True
      OnClick = Counted
    end
    object rbtnDup: TskRadioButton
      Top = 40
      Caption = 'Duplicate Records'
      OnClick = Counted
    end
    object rbtnOther: TskRadioButton
      Top = 70
      Caption = 'Other group'
      GroupIndex = 1
      Checked = True
      OnClick = Counted
    end
  end
  object pnRight: TPanel
    Left = 200
    Width = 200
    Height = 200
    object rbtnRight: TskRadioButton
      Top = 10
      Caption = 'Elsewhere'
      Checked = True
      OnClick = Counted
    end
    object cbtnName: TskCheckBox
      Top = 40
      Caption = 'Same Display Name'
      OnClick = Counted
    end
  end
end
)";

} // namespace

TEST(SkinCheckBox, CheckedFromCodeAndStateRules) {
    Fixture f(kGroups);
    auto* box = f.Get<TskCheckBox>("cbtnName");
    EXPECT_TRUE(f.clicks.empty()) << "loading fires nothing";
    box->SetChecked(true);
    EXPECT_EQ(f.Clicks("cbtnName"), 1);
    box->SetChecked(true);
    EXPECT_EQ(f.Clicks("cbtnName"), 1);
    box->SetState(cbGrayed);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(f.Clicks("cbtnName"), 2);
    box->SetState(cbChecked);
    EXPECT_EQ(box->State(), cbChecked);
    // The toolkit's own click event still runs after the toggle.
    int plain = 0;
    box->TControl::OnClick = [&](TObject*) { plain += box->Checked() ? 10 : 1; };
    QTest::mouseClick(box->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(plain, 1);
    EXPECT_EQ(f.Clicks("cbtnName"), 4);
}

TEST(SkinCheckBox, SpaceTogglesABoxOnReleaseButNeverARadio) {
    Fixture f(kGroups);
    f.ShowActive();
    auto* box = f.Get<TskCheckBox>("cbtnName");
    auto* dup = f.Get<TskRadioButton>("rbtnDup");
    box->SetFocus();
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(box->Checked());
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(box->Checked());
    dup->SetFocus();
    ASSERT_TRUE(dup->Focused());
    f.Key(Qt::Key_Space);
    EXPECT_FALSE(dup->Checked());
    EXPECT_EQ(f.Clicks("rbtnDup"), 0);
}

TEST(SkinRadioButton, CheckingUnchecksOnlyItsGroupAmongSiblings) {
    Fixture f(kGroups);
    f.form->Show();
    auto* all = f.Get<TskRadioButton>("rbtnAll");
    auto* dup = f.Get<TskRadioButton>("rbtnDup");
    auto* other = f.Get<TskRadioButton>("rbtnOther");
    auto* right = f.Get<TskRadioButton>("rbtnRight");
    EXPECT_TRUE(f.clicks.empty()) << "loading fires nothing";

    QTest::mouseClick(dup->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(dup->Checked());
    EXPECT_FALSE(all->Checked());
    EXPECT_TRUE(other->Checked()) << "another group index";
    EXPECT_TRUE(right->Checked()) << "another parent";
    EXPECT_EQ(f.Clicks("rbtnDup"), 1);
    EXPECT_EQ(f.Clicks("rbtnAll"), 0) << "becoming unchecked fires nothing";

    // Clicking the checked one again: nothing.
    QTest::mouseClick(dup->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.Clicks("rbtnDup"), 1);
    EXPECT_TRUE(dup->Checked());

    // Checked by the program: the same as by the user.
    all->SetChecked(true);
    EXPECT_EQ(f.Clicks("rbtnAll"), 1);
    EXPECT_FALSE(dup->Checked());

    // Without a parent there are no siblings to uncheck.
    TComponentPtr<TskRadioButton> loose(new TskRadioButton(nullptr));
    int looseClicks = 0;
    loose->OnClick = [&](TObject*) { ++looseClicks; };
    loose->SetChecked(true);
    EXPECT_EQ(looseClicks, 1);
    EXPECT_TRUE(all->Checked());
}

TEST(SkinRadioButton, DoubleClicksReachTheRadioButtonOnly) {
    Fixture f(kGroups);
    f.form->Show();
    auto* dup = f.Get<TskRadioButton>("rbtnDup");
    auto* box = f.Get<TskCheckBox>("cbtnName");
    int radioDbl = 0;
    int boxDbl = 0;
    dup->OnDblClick = [&](TObject*) { ++radioDbl; };
    box->OnDblClick = [&](TObject*) { ++boxDbl; };
    DoubleClick(dup, QPoint(5, 5));
    DoubleClick(box, QPoint(5, 5));
    EXPECT_EQ(radioDbl, 1);
    EXPECT_EQ(boxDbl, 0);
    EXPECT_TRUE(dup->Checked());
    EXPECT_EQ(f.Clicks("rbtnDup"), 1);
}

TEST(SkinButtonProperties, StyleSetsTransparencyUnlessStoredAfterIt) {
    struct Case {
        const char* props;
        bool transparent;
    } cases[] = {
        {"UIStyle = BlueGlass", true},
        {"UIStyle = MacOS", true},
        {"UIStyle = WinXP", false},
        {"UIStyle = BlueGlass\n    Transparent = False", false},
        {"Transparent = False\n    UIStyle = BlueGlass", true},
        {"UIStyle = DeepBlue\n    Transparent = True", true},
    };
    for (const Case& c : cases) {
        Fixture f(QStringLiteral("object fm: TForm\n  object b: TskButton\n    %1\n  end\n"
                                 "  object a: TskArrowButton\n    %1\n  end\nend\n")
                      .arg(QLatin1String(c.props)));
        EXPECT_EQ(f.Get<TskButton>("b")->Transparent(), c.transparent) << c.props;
        EXPECT_EQ(f.Get<TskButton>("b")->PicTransparent(), c.transparent) << c.props;
        EXPECT_EQ(f.Get<TskArrowButton>("a")->Transparent(), c.transparent) << c.props;
    }
}

TEST(SkinButtonProperties, FileThemeRemovalFallsBackToDeepBlue) {
    TComponentPtr<TForm> form(new TForm(nullptr));
    auto* theme = new TskFileTheme(form.get());
    auto* btn = new TskButton(form.get());
    auto* box = new TskCheckBox(form.get());
    btn->SetUIStyle(BlueGlass);
    box->SetUIStyle(BlueGlass);
    btn->SetFileTheme(theme);
    box->SetFileTheme(theme);
    EXPECT_EQ(btn->FileTheme(), theme);
    theme->Free();
    EXPECT_EQ(btn->FileTheme(), nullptr);
    EXPECT_EQ(btn->UIStyle(), DeepBlue);
    EXPECT_FALSE(btn->Transparent());
    EXPECT_EQ(box->FileTheme(), nullptr);
    EXPECT_EQ(box->UIStyle(), DeepBlue);
}

TEST(SkinButtonProperties, ActionGivesCaptionGlyphAndClick) {
    TComponentPtr<TForm> form(new TForm(nullptr));
    auto* images = new TImageList(form.get());
    QImage art(16, 16, QImage::Format_RGB32);
    art.fill(qRgb(0, 0, 255));
    images->Add(TBitmap(art));
    auto* list = new TActionList(form.get());
    list->SetImages(images);
    auto* action = new TAction(form.get());
    action->SetActionList(list);
    action->SetCaption("&Go");
    int runs = 0;
    action->OnExecute = [&](TObject*) { ++runs; };
    struct Case {
        int imageIndex;
        bool glyphBefore;
        int glyphWidth; // after the action is assigned
    } cases[] = {{0, false, 16}, {1, false, 0}, {-1, false, 0}, {0, true, 8}};
    for (const Case& c : cases) {
        action->SetImageIndex(c.imageIndex);
        auto* btn = new TskButton(form.get());
        btn->SetParent(form.get());
        if (c.glyphBefore) {
            const TBitmap own(8, 8);
            btn->SetGlyph(&own);
        }
        btn->SetAction(action);
        EXPECT_EQ(btn->Caption(), "&Go");
        EXPECT_EQ(btn->Glyph()->Width(), c.glyphWidth) << c.imageIndex;
        btn->Click();
    }
    EXPECT_EQ(runs, 4);
}

TEST(SkinButtonMouse, OnlyTabStopButtonsTakeTheFocusOnAClick) {
    Fixture f(R"(
object fm: TForm
  BorderStyle = bsNone
  ClientWidth = 300
  ClientHeight = 100
  object edtName: TEdit
    Width = 80
  end
  object sbtnArrow: TskButton
    Left = 100
    TabStop = False
    OnClick = Counted
  end
  object cbtnFlag: TskCheckBox
    Left = 200
    TabStop = False
    OnClick = Counted
  end
  object sbtnPlain: TskButton
    Top = 40
    OnClick = Counted
  end
end
)");
    f.ShowActive();
    QTest::mouseClick(f.Get("sbtnArrow")->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(f.Get<TWinControl>("sbtnArrow")->Focused());
    // A check box takes it whatever its TabStop says.
    QTest::mouseClick(f.Get("cbtnFlag")->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(f.Get<TWinControl>("cbtnFlag")->Focused());
    EXPECT_EQ(f.Clicks("sbtnArrow"), 1);
    EXPECT_EQ(f.Clicks("cbtnFlag"), 1);
    QTest::mouseClick(f.Get("sbtnPlain")->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(f.Get<TWinControl>("sbtnPlain")->Focused());
}
