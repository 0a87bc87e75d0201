// Forms, form descriptions, modal runs, the exception box, resize refusal,
// dialog keys and the plain controls, on real widgets and pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <unistd.h>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Collections.h"
#include "platform/toolkit/FormReader.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "platform/toolkit/Timers.h"
#include "platform/win32/Win32Testing.h"

using namespace tk;

// ---- a control with a collection and a property that overwrites another ----

class TTestBand : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(int Width MEMBER m_width)
    Q_PROPERTY(quint32 Color MEMBER m_color)
public:
    using TCollectionItem::TCollectionItem;
    int m_width = 0;
    TColor m_color = clBlack;
};

class TTestStrip : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(int Scheme READ Scheme WRITE SetScheme)
    Q_PROPERTY(tk::TCollection* Bands READ Bands)
public:
    explicit TTestStrip(TComponent* owner)
        : TCustomControl(owner), m_bands(CollectionItemFactory<TTestBand>()) {
        m_bands.OnChange = [this] { Invalidate(); };
    }
    int Scheme() const { return m_scheme; }
    // Like a visual style: re-reads the colours it owns.
    void SetScheme(int s) {
        m_scheme = s;
        SetColor(s == 1 ? clYellow : clGray);
    }
    TCollection* Bands() { return &m_bands; }
    bool sawLoadingInScheme = false;

protected:
    void Paint() override {
        TCanvas& c = *Canvas();
        c.Brush()->SetColor(Color());
        c.FillRect(ClientRect());
        int x = 0;
        for (int i = 0; i < m_bands.Count(); ++i) {
            auto* b = m_bands.ItemAs<TTestBand>(i);
            c.Brush()->SetColor(b->m_color);
            c.FillRect(Rect(x, 0, x + b->m_width, Height()));
            x += b->m_width;
        }
    }

private:
    int m_scheme = 0;
    TCollection m_bands;
};

class TfmTest : public TForm {
    Q_OBJECT
public:
    explicit TfmTest(TComponent* owner) : TForm(owner) {
        RegisterHandler("stBandsClick", &TfmTest::stBandsClick);
        RegisterHandler("btnOkClick", &TfmTest::btnOkClick);
        RegisterHandler("btnThrowClick", &TfmTest::btnThrowClick);
        RegisterHandler("FormCanResize", &TfmTest::FormCanResize);
    }
    int clicks = 0;
    int okClicks = 0;
    QString toThrow;

    void stBandsClick(TObject*) { ++clicks; }
    void btnOkClick(TObject*) { ++okClicks; }
    void btnThrowClick(TObject*) { throw Exception(toThrow); }
    void FormCanResize(TObject*, int& w, int& h, bool& resize) { resize = w > 300 && h > 200; }
};

namespace {

struct ToolkitEnv {
    ToolkitEnv() {
        static TApplication* app = [] {
            auto* a = new TApplication(); // lives for the whole test run
            a->SetTitle("Toolkit Test");
            RegisterClass<TTestStrip>();
            return a;
        }();
        (void)app;
        win32test::ResetHooks();
    }
};

QImage Render(TControl* c) {
    return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TColor At(const QImage& img, int x, int y) {
    const QRgb p = img.pixel(x, y);
    return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

TComponentPtr<TfmTest> Load(const QString& text) {
    TComponentPtr<TfmTest> form(new TfmTest(nullptr));
    form->LoadDescriptionText(text, "test.form");
    return form;
}

template <class T> T* Find(TComponent* form, const char* name) {
    auto* c = qobject_cast<T*>(form->FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

const char* kLayout = R"(
object fmTest: TfmTest
  BorderStyle = bsNone
  ClientWidth = 200
  ClientHeight = 120
  Color = clWhite
  object pnTop: TPanel
    Align = alTop
    Height = 20
    BevelOuter = bvNone
    Color = clRed
  end
  object pnLeft: TPanel
    Align = alLeft
    Width = 30
    BevelOuter = bvNone
    Color = clLime
    object pnInner: TPanel
      Align = alBottom
      Height = 10
      BevelOuter = bvNone
      Color = clBlue
    end
  end
  object stBands: TTestStrip
    Align = alClient
    Scheme = 1
    Color = clAqua
    Bands = <
      item
        Width = 10
        Color = clBlack
      end
      item
        Width = 5
        Color = clFuchsia
      end>
    OnClick = stBandsClick
  end
end
)";

} // namespace

TEST(FormDescription, BuildsNestedAlignedControlsWithCollectionAndHandler) {
    ToolkitEnv env;
    auto form = Load(kLayout);
    auto* strip = Find<TTestStrip>(form.get(), "stBands");
    EXPECT_EQ(strip->Owner(), form.get());
    EXPECT_EQ(Find<TPanel>(form.get(), "pnInner")->Parent(), Find<TPanel>(form.get(), "pnLeft"));
    EXPECT_EQ(strip->BoundsRect(), Rect(30, 20, 200, 120));
    EXPECT_EQ(strip->Bands()->Count(), 2);

    const QImage img = Render(form.get());
    ASSERT_EQ(img.size(), QSize(200, 120));
    EXPECT_EQ(At(img, 100, 5), clRed);
    EXPECT_EQ(At(img, 5, 50), clLime);
    EXPECT_EQ(At(img, 5, 115), clBlue); // pnLeft's bottom 10 pixels
    EXPECT_EQ(At(img, 5, 109), clLime);
    EXPECT_EQ(At(img, 35, 60), clBlack);
    EXPECT_EQ(At(img, 42, 60), clFuchsia);
    // Color was stored after Scheme, so it wins over the scheme's colour.
    EXPECT_EQ(At(img, 100, 60), clAqua);

    form->Show();
    QTest::mouseClick(strip->Handle(), Qt::LeftButton, {}, QPoint(80, 40));
    EXPECT_EQ(form->clicks, 1);
}

TEST(FormDescription, PropertiesApplyInFileOrder) {
    ToolkitEnv env;
    QString text = kLayout;
    text.replace("    Scheme = 1\n    Color = clAqua\n", "    Color = clAqua\n    Scheme = 1\n");
    auto form = Load(text);
    EXPECT_EQ(Find<TTestStrip>(form.get(), "stBands")->Color(), clYellow);
}

TEST(FormDescription, ResizingRealignsAndSplitterDragMovesTheBoundary) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  BorderStyle = bsNone
  ClientWidth = 200
  ClientHeight = 200
  object pnClient: TPanel
    Align = alClient
  end
  object spSplit: TSplitter
    Align = alBottom
    Top = 140
    Height = 3
    MinSize = 30
  end
  object pnBottom: TPanel
    Align = alBottom
    Top = 150
    Height = 50
  end
end
)");
    auto* client = Find<TPanel>(form.get(), "pnClient");
    auto* bottom = Find<TPanel>(form.get(), "pnBottom");
    auto* split = Find<TSplitter>(form.get(), "spSplit");
    EXPECT_EQ(split->Top(), 147);
    EXPECT_EQ(split->Cursor(), crVSplit);
    EXPECT_EQ(split->FindResizedControl(), bottom);
    form->SetBounds(0, 0, 300, 260);
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 210, 300, 260));
    EXPECT_EQ(client->Height(), 207);

    form->Show();
    QWidget* h = split->Handle();
    QTest::mousePress(h, Qt::LeftButton, {}, QPoint(10, 1));
    QTest::mouseMove(h, QPoint(10, -39));
    QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(10, -39));
    EXPECT_EQ(bottom->Height(), 90);
    EXPECT_EQ(split->Top(), 167);
    // Dragged far down: stops at MinSize.
    h = split->Handle();
    QTest::mousePress(h, Qt::LeftButton, {}, QPoint(10, 1));
    QTest::mouseMove(h, QPoint(10, 500));
    QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(10, 500));
    EXPECT_EQ(bottom->Height(), 30);
}

TEST(FormDescription, ErrorsNameTheLineAndLeaveNothingBehind) {
    ToolkitEnv env;
    struct Case {
        const char* text;
        int line;
        const char* words;
    };
    const Case cases[] = {
        {"object fmTest: TfmTest\n  Width = 10\n  Colour = clRed\nend", 3, "no property Colour"},
        {"object fmTest: TfmTest\n  object x: TNoSuch\n  end\nend", 2, "unknown class TNoSuch"},
        {"object fmTest: TfmTest\n  object b: TButton\n    OnClick = Nope\n  end\nend", 3,
         "no handler Nope"},
        {"object fmTest: TfmTest\n  object p: TPanel\n    Align = alMiddle\n  end\nend", 3,
         "alMiddle is not a value"},
        // A number the enumeration cannot hold.
        {"object fmTest: TfmTest\n  object p: TPanel\n    Align = 407\n  end\nend", 3,
         "407 is not a value"},
        {"object fmTest: TfmTest\n  Caption = 'open\nend", 2, "string not closed"},
        {"object fmTest: TfmTest\n  object p: TPanel\n", 3, "'end' of object 'p' missing"},
        {"object fmTest: TfmTest\n  object p: TPanel\n  end\n  ActiveControl = nobody\nend", 4,
         "properties of 'fmTest' must come before"},
        {"object fmTest: TfmTest\n  ActiveControl = nobody\n  object p: TPanel\n  end\nend", 2,
         "no component named nobody"},
        {"object fmTest: TfmTest\n  Width = 'wide'\nend", 2, "does not take a string"},
        {"object fmTest: TfmTest\n  object p: TPanel\n  end\n  object P: TPanel\n  end\nend", 4,
         "named P already exists"},
        {"object fmTest: TfmTest\n  Color = clSomething\nend", 2, "not a colour"},
        {"object fmTest: TfmTest\n  Font.Style = [fsBold, fsFat]\nend", 2, "fsFat is not a value"},
        {"object fmTest: TfmTest\n  object b: TButton\n    OnClick = FormCanResize\n  end\nend", 3,
         "does not fit event OnClick"},
        {"object other: TPanel\nend", 1, "of class TPanel"},
        {"object fmTest: TfmTest\n  Picture.Data = {0A1}\nend", 2, "odd number"},
    };
    for (const Case& c : cases) {
        TComponentPtr<TfmTest> form(new TfmTest(nullptr));
        try {
            form->LoadDescriptionText(c.text, "bad.form");
            ADD_FAILURE() << "no error for: " << c.text;
        } catch (const EFormDescription& e) {
            const QString expected = QStringLiteral("bad.form:%1: ").arg(c.line);
            EXPECT_TRUE(e.Message().startsWith(expected)) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(c.words)) << e.Message().toStdString();
        }
        EXPECT_EQ(form->ComponentCount(), 0) << c.text;
        EXPECT_FALSE(form->IsLoading());
    }
}

TEST(FormDescription, StringsJoinAcrossPlusAndSplitInLists) {
    const FdObject root =
        ParseFormDescription("object a: TForm\n  Caption = 'it''s' +\n    #32'ok'#33\n  Lines = "
                             "('one' 'two'#9 'x' + 'y')\nend",
                             "strings.form");
    ASSERT_EQ(root.properties.size(), 2u);
    EXPECT_EQ(root.properties[0].value.text, "it's ok!");
    const auto& list = root.properties[1].value.list;
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].text, "one");
    EXPECT_EQ(list[1].text, "two\t");
    EXPECT_EQ(list[2].text, "xy");
    EXPECT_EQ(root.properties[1].line, 4);
}

TEST(FormDescription, SetsFontsSetsEnumsAndReferences) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  Font.Name = 'Verdana'
  Font.Height = -11
  ActiveControl = btnOk
  object lbTitle: TLabel
    Caption = 'Show :'
    Font.Name = 'Tahoma'
    Font.Style = [fsBold, fsItalic]
    Font.Color = $FF0000
  end
  object btnOk: TButton
    Caption = 'OK'
    ModalResult = mrOk
    Cursor = crHandPoint
  end
end
)");
    auto* label = Find<TLabel>(form.get(), "lbTitle");
    auto* ok = Find<TButton>(form.get(), "btnOk");
    EXPECT_EQ(label->Font()->Name(), "Tahoma");
    EXPECT_EQ(label->Font()->Style(), TFontStyles(fsBold | fsItalic));
    EXPECT_EQ(label->Font()->Color(), clBlue);
    EXPECT_FALSE(label->ParentFont());
    EXPECT_EQ(ok->Font()->Name(), "Verdana"); // from its parent, the form
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_EQ(ok->Cursor(), crHandPoint);
    EXPECT_EQ(form->ActiveControl(), ok);
    // An auto-sized label takes the size of its text.
    EXPECT_GT(label->Width(), 20);
    EXPECT_LT(label->Height(), 20);
}

TEST(Forms, ModalRunReturnsTheResultAButtonSet) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  object btnOk: TButton
    Caption = 'OK'
    ModalResult = mrOk
    OnClick = btnOkClick
  end
end
)");
    auto* ok = Find<TButton>(form.get(), "btnOk");
    QTimer::singleShot(0, [&] { QTest::mouseClick(ok->Handle(), Qt::LeftButton); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(form->okClicks, 1);
    EXPECT_FALSE(form->Visible());

    // Any non-zero result ends the run; the form can set it itself.
    QTimer::singleShot(0, [&] { form->SetModalResult(7); });
    EXPECT_EQ(form->ShowModal(), 7);
    // Closing a modal form cancels it.
    QTimer::singleShot(0, [&] { form->Close(); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST(Forms, ExceptionInAHandlerShowsTheBoxAndTheLoopGoesOn) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  object btnThrow: TButton
    Caption = 'Throw'
    OnClick = btnThrowClick
  end
  object btnOk: TButton
    Left = 100
    Caption = 'OK'
    ModalResult = mrOk
    OnClick = btnOkClick
  end
end
)");
    auto* thrower = Find<TButton>(form.get(), "btnThrow");
    auto* ok = Find<TButton>(form.get(), "btnOk");
    form->toThrow = "The address book cannot be opened";
    win32test::ScriptMessageBox(IDOK);
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(thrower->Handle(), Qt::LeftButton);
        QTest::mouseClick(ok->Handle(), Qt::LeftButton);
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    ASSERT_EQ(win32test::MessageBoxCalls().size(), 1u);
    const auto& box = win32test::MessageBoxCalls()[0];
    EXPECT_EQ(box.text, "The address book cannot be opened.");
    EXPECT_EQ(box.caption, "Toolkit Test");
    EXPECT_EQ(box.type, MB_OK | MB_ICONERROR);
    EXPECT_EQ(form->okClicks, 1);

    // A silent abort shows nothing.
    win32test::ResetHooks();
    thrower->OnClick = [](TObject*) { throw EAbort(); };
    form->Show();
    QTest::mouseClick(thrower->Handle(), Qt::LeftButton);
    EXPECT_TRUE(win32test::MessageBoxCalls().empty());
}

TEST(Forms, ExceptionBoxFullStopRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"Cannot open", "Cannot open."},
        {"Why?", "Why?."},
        {"Stop!", "Stop!"},
        {"(done)", "(done)"},
        {"Done.", "Done."},
        {"", ""},
        {"Ends in 9", "Ends in 9."},
        {"Café", "Café."},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(TApplication::ExceptionBoxText(QString::fromUtf8(in)), QString::fromUtf8(out))
            << in;
    }
}

TEST(Forms, RefusedResizeKeepsTheSize) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  BorderStyle = bsNone
  Width = 400
  Height = 300
  OnCanResize = FormCanResize
end
)");
    form->SetBounds(0, 0, 300, 250); // width not > 300: refused
    EXPECT_EQ(form->Width(), 400);
    form->SetBounds(0, 0, 301, 201);
    EXPECT_EQ(form->Width(), 301);
    EXPECT_EQ(form->Height(), 201);

    // A size change from outside (window manager) is asked about as well.
    form->Show();
    QWidget* w = form->Handle();
    w->resize(250, 250);
    QApplication::processEvents();
    EXPECT_EQ(form->Width(), 301);
    EXPECT_EQ(w->width(), 301);
    w->resize(500, 400);
    QApplication::processEvents();
    EXPECT_EQ(form->Width(), 500);
    EXPECT_EQ(form->Height(), 400);
}

TEST(Forms, CaptionlessFrameKeepsABandAroundTheClientArea) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  BorderStyle = bsSizeable
  Color = clWhite
  ClientWidth = 100
  ClientHeight = 80
  object pnAll: TPanel
    Align = alClient
    BevelOuter = bvNone
    Color = clRed
  end
end
)");
    form->SetWindowCaption(false);
    form->RefreshFrame();
    EXPECT_EQ(form->FrameBand(), 3);
    form->SetClientWidth(794);
    form->SetClientHeight(594);
    EXPECT_EQ(form->Width(), 800);
    EXPECT_EQ(form->Height(), 600);
    auto* all = Find<TPanel>(form.get(), "pnAll");
    EXPECT_EQ(all->BoundsRect(), Rect(0, 0, 794, 594));
    const QImage img = Render(form.get());
    EXPECT_EQ(At(img, 3, 3), clRed);
    EXPECT_NE(At(img, 1, 300), clRed); // the band
}

TEST(Forms, DialogKeysAcceleratorsAndTabOrder) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  object btnOk: TButton
    Caption = 'OK'
    Default = True
    TabOrder = 1
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 80
    Caption = '&Cancel'
    Cancel = True
    TabOrder = 0
  end
  object btnThird: TButton
    Left = 160
    Caption = '&Third'
    TabOrder = 2
  end
end
)");
    auto* ok = Find<TButton>(form.get(), "btnOk");
    auto* cancel = Find<TButton>(form.get(), "btnCancel");
    auto* third = Find<TButton>(form.get(), "btnThird");
    int cancels = 0;
    int thirds = 0;
    cancel->OnClick = [&](TObject*) { ++cancels; };
    third->OnClick = [&](TObject*) { ++thirds; };
    EXPECT_EQ(form->TabList(), (std::vector<TWinControl*>{cancel, ok, third}));

    form->Show();
    QApplication::setActiveWindow(form->Handle());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    EXPECT_EQ(form->ActiveControl(), cancel); // first in tab order

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(form->ActiveControl(), ok);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(form->okClicks, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(cancels, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(thirds, 1);
    // On a button a plain letter is an accelerator too.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C);
    EXPECT_EQ(cancels, 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(form->ActiveControl(), cancel);
    // Enter on a focused button presses that one, not the default.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(cancels, 3);
    EXPECT_EQ(form->okClicks, 1);
}

TEST(Forms, ApplicationHookSeesKeysFirst) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  object btnOk: TButton
    Caption = '&OK'
    OnClick = btnOkClick
  end
end
)");
    std::vector<std::pair<unsigned, std::uintptr_t>> seen;
    Application->OnMessage = [&](TMsg& msg, bool& handled) {
        seen.emplace_back(msg.message, msg.wParam);
        handled = msg.message == WM_SYSCHAR && msg.wParam == 'o';
    };
    form->Show();
    QApplication::setActiveWindow(form->Handle());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
    Application->OnMessage = nullptr;
    // Alt itself goes down first, as it does on the desktop.
    using M = std::pair<unsigned, std::uintptr_t>;
    EXPECT_EQ(seen,
              (std::vector<M>{{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'O'}, {WM_SYSCHAR, 'o'}}));
    EXPECT_EQ(form->okClicks, 0); // the hook took the accelerator
}

TEST(Timers, ManualClockFiresDueTimersInOrder) {
    ToolkitEnv env;
    TManualClockScope scope;
    TComponentPtr<TTimer> t(new TTimer(nullptr));
    int ticks = 0;
    t->OnTimer = [&](TObject*) { ++ticks; };
    t->SetInterval(100);
    scope.Clock().Advance(99);
    EXPECT_EQ(ticks, 0);
    scope.Clock().Advance(1);
    EXPECT_EQ(ticks, 1);
    scope.Clock().Advance(250);
    EXPECT_EQ(ticks, 3);
    t->SetEnabled(false);
    scope.Clock().Advance(1000);
    EXPECT_EQ(ticks, 3);
}

TEST(Forms, ModalRunLeftByAnExceptionLeavesTheFormReusable) {
    ToolkitEnv env;
    auto form = Load("object fmTest: TfmTest\nend\n");
    bool fail = true;
    form->OnCloseQuery = [&](TObject*, bool&) {
        if (fail) {
            throw Exception("refused");
        }
    };
    QTimer::singleShot(0, [&] { form->SetModalResult(mrOk); });
    EXPECT_THROW(form->ShowModal(), Exception);
    EXPECT_FALSE(form->IsModal());
    EXPECT_FALSE(form->Visible());
    fail = false;
    QTimer::singleShot(0, [&] { form->SetModalResult(mrOk); });
    EXPECT_EQ(form->ShowModal(), mrOk);
}

TEST(Forms, FrameBandSetOnAShownFormPlacesTheClientArea) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  BorderStyle = bsSizeable
  Width = 200
  Height = 150
  object pnAll: TPanel
    Align = alClient
    BevelOuter = bvNone
    Color = clRed
  end
end
)");
    form->SetWindowCaption(false);
    form->RefreshFrame();
    ASSERT_EQ(form->FrameBand(), 3);
    EXPECT_EQ(form->ClientWidget()->geometry(), QRect(3, 3, 194, 144));
    auto* all = Find<TPanel>(form.get(), "pnAll");
    EXPECT_EQ(all->Handle()->geometry(), QRect(0, 0, 194, 144));
    form->SetWindowCaption(true);
    form->RefreshFrame();
    EXPECT_EQ(form->ClientWidget()->geometry(), QRect(0, 0, 200, 150));
}

TEST(Forms, AButtonFreedByItsOwnClickIsNotTouchedAfterwards) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  object btnA: TButton
    Caption = 'A'
  end
  object btnB: TButton
    Top = 30
    Caption = 'B'
  end
end
)");
    form->Show();
    QApplication::setActiveWindow(form->Handle());
    auto freeOnClick = [](TButton* b) { b->OnClick = [b](TObject*) { b->Free(); }; };
    auto* a = Find<TButton>(form.get(), "btnA");
    auto* b = Find<TButton>(form.get(), "btnB");
    QPointer<QObject> aAlive(a);
    QPointer<QObject> bAlive(b);
    freeOnClick(a);
    freeOnClick(b);
    QTest::mouseClick(a->Handle(), Qt::LeftButton);
    EXPECT_TRUE(aAlive.isNull());
    b->SetFocus();
    QTest::keyClick(b->Handle(), Qt::Key_Space);
    EXPECT_TRUE(bAlive.isNull());
    EXPECT_EQ(form->ComponentCount(), 0);
}

TEST(FormDescription, AControlFreedDuringASplitterDragIsLetGo) {
    ToolkitEnv env;
    auto form = Load(R"(
object fmTest: TfmTest
  BorderStyle = bsNone
  ClientWidth = 300
  ClientHeight = 200
  object pnLeft: TPanel
    Align = alLeft
    Width = 100
  end
  object spSplit: TSplitter
    Left = 100
    Align = alLeft
  end
  object pnRest: TPanel
    Align = alClient
  end
end
)");
    form->Show();
    auto* split = Find<TSplitter>(form.get(), "spSplit");
    QWidget* h = split->Handle();
    QTest::mousePress(h, Qt::LeftButton, {}, QPoint(1, 10));
    Find<TPanel>(form.get(), "pnLeft")->Free();
    const int left = split->Left();
    QTest::mouseMove(h, QPoint(40, 10));
    QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_EQ(split->Left(), left);
    EXPECT_EQ(form->ComponentCount(), 2);
}

TEST(FormsDeathTest, TerminatingTheApplicationEndsAModalRunTheFormWouldRefuse) {
    GTEST_FLAG_SET(death_test_style, "fast");
    ToolkitEnv env;
    auto form = Load("object fmTest: TfmTest\nend\n");
    form->OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    // Terminating is for good, so the run happens in a child process; a hung
    // run is ended by the alarm.
    EXPECT_EXIT(
        {
            alarm(10);
            QTimer::singleShot(0, [&] {
                QTimer::singleShot(0, [] { Application->Terminate(); });
                std::_Exit(form->ShowModal() == mrCancel ? 0 : 1);
            });
            QApplication::exec();
            std::_Exit(2);
        },
        testing::ExitedWithCode(0), "");
}

#include "FormsTest.moc"
