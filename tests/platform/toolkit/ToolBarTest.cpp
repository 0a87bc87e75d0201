// Tool bars on real widgets: layout with the bar's font and button height,
// buttons bound to menu items dropping their submenus like a menu bar, and
// custom draw of the bar and of each button with its state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Menus.h"
#include "platform/toolkit/ToolBar.h"

using namespace tk;

namespace {

QImage Grab(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TColor At(const QImage& img, int x, int y) {
    const QRgb p = img.pixel(x, y);
    return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

int TextWidth(const TFont& font, const QString& text) {
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font()->Assign(font);
    return canvas.TextWidth(text);
}

QPoint Centre(const TControl* c) {
    return {c->Left() + c->Width() / 2, c->Top() + c->Height() / 2};
}

class TfmBar : public TForm {
    Q_OBJECT
public:
    explicit TfmBar(TComponent* owner) : TForm(owner) {
        RegisterHandler("ItemClick", TNotifyEvent([this](TObject* s) {
                            ran.push_back(static_cast<TComponent*>(s)->Name());
                        }));
        LoadDescriptionText(R"(
object fmBar: TfmBar
  BorderStyle = bsNone
  ClientWidth = 320
  ClientHeight = 200
  Color = clWhite
  object mnMain: TMainMenu
    object miFile: TMenuItem
      Caption = '&File'
      object miOpen: TMenuItem
        Caption = '&Open'
        OnClick = ItemClick
      end
      object miSave: TMenuItem
        Caption = '&Save'
        OnClick = ItemClick
      end
    end
    object miEdit: TMenuItem
      Caption = '&Edit'
      object miUndo: TMenuItem
        Caption = '&Undo'
        OnClick = ItemClick
      end
    end
    object miGo: TMenuItem
      Caption = '&Go'
      OnClick = ItemClick
    end
    object miHelp: TMenuItem
      Caption = '&Help'
      object miAbout: TMenuItem
        Caption = '&About'
        OnClick = ItemClick
      end
    end
  end
  object tbMenu: TToolBar
    Flat = True
    ShowCaptions = True
    AutoSize = True
    EdgeBorders = []
    ButtonHeight = 22
    Color = $00E7E7E7
    Font.Name = 'Tahoma'
    Font.Height = -11
    object tbFile: TToolButton
      AutoSize = True
      Grouped = True
      MenuItem = miFile
    end
    object tbEdit: TToolButton
      AutoSize = True
      Grouped = True
      MenuItem = miEdit
    end
    object tbGo: TToolButton
      AutoSize = True
      Grouped = True
      MenuItem = miGo
    end
    object tbHelp: TToolButton
      AutoSize = True
      Grouped = True
      MenuItem = miHelp
    end
  end
end
)",
                            "bar.form");
    }
    std::vector<QString> ran;
};

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterToolkitClasses();
        form.reset(new TfmBar(nullptr));
        bar = qobject_cast<TToolBar*>(form->FindComponent("tbMenu"));
        ASSERT_NE(bar, nullptr);
        for (const char* name : {"tbFile", "tbEdit", "tbGo", "tbHelp"}) {
            buttons.push_back(qobject_cast<TToolButton*>(form->FindComponent(name)));
        }
        form->Show();
        QApplication::setActiveWindow(form->Handle());
    }
    void TearDown() override {
        if (TMenuChain* open = TMenuChain::Active()) {
            open->Close(true);
        }
        form.reset();
        QApplication::processEvents();
    }
    TMenuItem* Item(const char* name) const {
        return qobject_cast<TMenuItem*>(form->FindComponent(name));
    }
    QWindow* BarWindow() const { return form->Handle()->windowHandle(); }
    // Bar coordinates in the form's window (the bar sits at the top left).
    QPoint InWindow(QPoint p) const { return p + QPoint(bar->Left(), bar->Top()); }

    TComponentPtr<TfmBar> form;
    TToolBar* bar = nullptr;
    std::vector<TToolButton*> buttons;
};

} // namespace

TEST_F(ToolBarTest, BoundButtonsTakeTheirItemsAndLayOutWithTheBarsFontAndHeight) {
    ASSERT_EQ(bar->ButtonCount(), 4);
    EXPECT_EQ(bar->BoundsRect(), Rect(0, 0, 320, 22));
    int x = 0;
    for (TToolButton* b : buttons) {
        EXPECT_EQ(b->Caption(), b->MenuItem()->Caption());
        EXPECT_EQ(b->Left(), x);
        EXPECT_EQ(b->Top(), 0);
        EXPECT_EQ(b->Height(), 22);
        EXPECT_EQ(b->Width(), TextWidth(*bar->Font(), StripHotkey(b->Caption())) + 16);
        x += b->Width();
    }

    // The buttons follow their items.
    Item("miEdit")->SetCaption("&Modify");
    Item("miEdit")->SetEnabled(false);
    EXPECT_EQ(buttons[1]->Caption(), "&Modify");
    EXPECT_FALSE(buttons[1]->Enabled());
    EXPECT_EQ(buttons[2]->Left(), buttons[1]->Left() + buttons[1]->Width());

    // A bigger font makes wider buttons; a button height sets the bar's.
    const int before = buttons[0]->Width();
    bar->Font()->SetHeight(-16);
    EXPECT_GT(buttons[0]->Width(), before);
    buttons[0]->SetHeight(30);
    EXPECT_EQ(bar->ButtonHeight(), 30);
    for (TToolButton* b : buttons) {
        EXPECT_EQ(b->Height(), 30);
    }
    EXPECT_EQ(bar->Height(), 30);

    // Too narrow for one row: the buttons wrap and the bar grows.
    form->SetClientWidth(buttons[0]->Width() + buttons[1]->Width() + 4);
    EXPECT_EQ(bar->RowCount(), 2);
    EXPECT_EQ(bar->Height(), 60);
    EXPECT_EQ(buttons[2]->Left(), 0);
    EXPECT_EQ(buttons[2]->Top(), 30);
}

TEST_F(ToolBarTest, PressingABoundButtonDropsItsSubmenuAndTheBarTracksLikeAMenuBar) {
    TToolButton* file = buttons[0];
    QTest::mousePress(BarWindow(), Qt::LeftButton, {}, InWindow(Centre(file)));
    TMenuChain* chain = TMenuChain::Active();
    ASSERT_EQ(chain, &bar->Chain());
    TMenuWindow* drop = chain->Window(0);
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->ParentItem(), Item("miFile"));
    const TPoint under = bar->ClientToScreen({file->Left(), file->Top() + file->Height()});
    EXPECT_EQ(drop->pos(), QPoint(under.x, under.y));
    EXPECT_EQ(bar->TrackedButton(), file);
    EXPECT_TRUE(bar->ButtonState(file) & cdsSelected);
    QTest::mouseRelease(BarWindow(), Qt::LeftButton, {}, InWindow(Centre(file)));
    EXPECT_EQ(TMenuChain::Active(), chain); // releasing on the bar keeps it open

    if (const QByteArray dir = qgetenv("QUENBY_SNAPSHOT_DIR"); !dir.isEmpty()) {
        Grab(form->Handle()).save(QDir(QString::fromLocal8Bit(dir)).filePath("menubar.png"));
        Grab(drop).save(QDir(QString::fromLocal8Bit(dir)).filePath("menubar-dropdown.png"));
    }

    // The pointer moving over another bound button switches menus.
    QTest::mouseMove(drop->windowHandle(),
                     drop->mapFromGlobal(bar->Handle()->mapToGlobal(Centre(buttons[1]))));
    ASSERT_NE(TMenuChain::Active(), nullptr);
    EXPECT_EQ(TMenuChain::Active()->Window(0)->ParentItem(), Item("miEdit"));
    EXPECT_EQ(bar->TrackedButton(), buttons[1]);

    // Right and Left step through the buttons that drop menus (Go has none).
    QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Right);
    EXPECT_EQ(bar->TrackedButton(), buttons[3]);
    EXPECT_EQ(TMenuChain::Active()->Window(0)->Selected(), 0);
    QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Right);
    EXPECT_EQ(bar->TrackedButton(), file);
    QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Down);
    QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Return);
    EXPECT_EQ(form->ran, std::vector<QString>{"miSave"});
    EXPECT_EQ(TMenuChain::Active(), nullptr);
    EXPECT_EQ(bar->TrackedButton(), nullptr);

    // A press on the open menu's button closes it, and it stays closed.
    QTest::mousePress(BarWindow(), Qt::LeftButton, {}, InWindow(Centre(file)));
    ASSERT_NE(TMenuChain::Active(), nullptr);
    QTest::mouseRelease(BarWindow(), Qt::LeftButton, {}, InWindow(Centre(file)));
    QTest::mouseClick(BarWindow(), Qt::LeftButton, {}, InWindow(Centre(file)));
    QApplication::processEvents();
    EXPECT_EQ(TMenuChain::Active(), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // A button whose item has no sub-items runs it; Alt and a letter drop a menu.
    QTest::mouseClick(BarWindow(), Qt::LeftButton, {}, InWindow(Centre(buttons[2])));
    EXPECT_EQ(form->ran, (std::vector<QString>{"miSave", "miGo"}));
    QTest::keyClick(form->Handle()->windowHandle(), Qt::Key_H, Qt::AltModifier);
    ASSERT_NE(TMenuChain::Active(), nullptr);
    EXPECT_EQ(bar->TrackedButton(), buttons[3]);
    QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(TMenuChain::Active(), nullptr);
}

TEST(ToolBar, CustomDrawPaintsTheBarAndEachButtonWithItsState) {
    RegisterToolkitClasses();
    TComponentPtr<TForm> form(new TForm(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 200, 60);
    auto* bar = new TToolBar(form.get()); // the form owns the bar and its buttons
    bar->SetParent(form.get());
    bar->SetEdgeBorders({});
    bar->SetFlat(true);
    std::vector<TToolButton*> b;
    for (int i = 0; i < 4; ++i) {
        auto* button = new TToolButton(form.get());
        button->SetParent(bar);
        b.push_back(button);
    }
    b[1]->SetStyle(tbsCheck);
    b[1]->SetDown(true);
    b[2]->SetEnabled(false);
    b[3]->SetStyle(tbsCheck);
    b[3]->SetGrouped(true);
    form->Show();

    std::map<TToolButton*, TCustomDrawState> states;
    bar->OnCustomDraw = [](TToolBar* sender, const TRect& r, bool&) {
        sender->Canvas()->Brush()->SetColor(clYellow);
        sender->Canvas()->FillRect(r);
    };
    bar->OnCustomDrawButton = [&](TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                  bool& defaultDraw) {
        states[button] = state;
        if (button == b[0]) {
            sender->Canvas()->Brush()->SetColor(state & cdsHot ? clRed : clBlue);
            sender->Canvas()->FillRect(button->BoundsRect());
            defaultDraw = false;
        }
    };
    QImage img = Grab(bar->Handle());
    EXPECT_EQ(At(img, 1, 1), clBlue); // replaced: no frame, no face
    EXPECT_EQ(At(img, b[0]->Width() - 1, b[0]->Height() - 1), clBlue);
    EXPECT_EQ(At(img, 150, 10), clYellow); // the bar beyond the buttons
    EXPECT_TRUE(states[b[1]] & cdsChecked);
    // Down is drawn sunken by the bar's own look.
    EXPECT_EQ(At(img, b[1]->Left(), b[1]->Top()), ColorToRGB(clBtnShadow));
    EXPECT_TRUE(states[b[2]] & cdsDisabled);
    EXPECT_FALSE(states[b[0]] & (cdsHot | cdsPressed | cdsSelected | cdsChecked | cdsDisabled));

    // Hot under the pointer; pressed and selected while held down.
    QWindow* window = form->Handle()->windowHandle();
    QTest::mouseMove(window, Centre(b[0]));
    img = Grab(bar->Handle());
    EXPECT_TRUE(states[b[0]] & cdsHot);
    EXPECT_EQ(At(img, 5, 5), clRed);
    QTest::mousePress(window, Qt::LeftButton, {}, Centre(b[0]));
    Grab(bar->Handle());
    EXPECT_EQ(states[b[0]] & (cdsPressed | cdsSelected), cdsPressed | cdsSelected);
    QTest::mouseRelease(window, Qt::LeftButton, {}, Centre(b[0]));
    Grab(bar->Handle());
    EXPECT_FALSE(states[b[0]] & cdsPressed);

    // A grouped check button stays down when clicked again.
    QTest::mouseClick(window, Qt::LeftButton, {}, Centre(b[3]));
    EXPECT_TRUE(b[3]->Down());
    QTest::mouseClick(window, Qt::LeftButton, {}, Centre(b[3]));
    EXPECT_TRUE(b[3]->Down());
    QTest::mouseClick(window, Qt::LeftButton, {}, Centre(b[1]));
    EXPECT_FALSE(b[1]->Down());

    // Clearing the bar's DefaultDraw leaves the buttons undrawn.
    states.clear();
    bar->OnCustomDraw = [](TToolBar* sender, const TRect& r, bool& defaultDraw) {
        sender->Canvas()->Brush()->SetColor(clAqua);
        sender->Canvas()->FillRect(r);
        defaultDraw = false;
    };
    img = Grab(bar->Handle());
    EXPECT_TRUE(states.empty());
    EXPECT_EQ(At(img, b[1]->Left(), b[1]->Top()), clAqua);
}

#include "ToolBarTest.moc"
