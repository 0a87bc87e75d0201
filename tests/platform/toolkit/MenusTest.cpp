// Menus on real popup windows: short-cut texts, owner-drawn measuring and
// drawing at every depth, keyboard and mouse tracking, short-cuts run from a
// form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Menus.h"
#include "platform/toolkit/StdCtrls.h"

using namespace tk;

namespace {

QImage Grab(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TColor At(const QImage& img, int x, int y) {
    const QRgb p = img.pixel(x, y);
    return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const QString& caption,
                   int* clicks = nullptr) {
    auto* item = new TMenuItem(owner); // owned by owner, freed with its parent item
    item->SetCaption(caption);
    if (clicks) {
        item->OnClick = [clicks](TObject*) { ++*clicks; };
    }
    parent->Add(item);
    return item;
}

TMenuWindow* Level(int level) {
    TMenuChain* chain = TMenuChain::Active();
    return chain ? chain->Window(level) : nullptr;
}

// Keys and the mouse go through the window system, so the open popup gets
// them as it would from a user.
void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup->windowHandle(), key, mods);
}

void MoveTo(QWidget* w, QPoint local) {
    QTest::mouseMove(w->windowHandle(), local);
}

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterToolkitClasses();
        form.reset(new TForm(nullptr));
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 400, 300);
        form->Show();
        QApplication::setActiveWindow(form->Handle());

        menu = new TPopupMenu(form.get()); // owned by the form
        TMenuItem* root = menu->Items();
        miNew = AddItem(form.get(), root, "&New", &newClicks);
        AddItem(form.get(), root, "-");
        miOpen = AddItem(form.get(), root, "&Open", &openClicks);
        miRecent = AddItem(form.get(), root, "Recent");
        miFirst = AddItem(form.get(), miRecent, "First", &firstClicks);
        miSecond = AddItem(form.get(), miRecent, "Second", &secondClicks);
        miOff = AddItem(form.get(), root, "Disabled", &offClicks);
        miOff->SetEnabled(false);
        miExit = AddItem(form.get(), root, "E&xit", &exitClicks);
        miExit->SetShortCut(ShortCut('Q', ssCtrl));
    }
    void TearDown() override {
        if (TMenuChain* open = TMenuChain::Active()) {
            open->Close(true);
        }
        form.reset();
        QApplication::processEvents(); // windows closed with deleteLater
    }

    TComponentPtr<TForm> form;
    TPopupMenu* menu = nullptr;
    TMenuItem* miNew = nullptr;
    TMenuItem* miOpen = nullptr;
    TMenuItem* miRecent = nullptr;
    TMenuItem* miFirst = nullptr;
    TMenuItem* miSecond = nullptr;
    TMenuItem* miOff = nullptr;
    TMenuItem* miExit = nullptr;
    int newClicks = 0, openClicks = 0, firstClicks = 0, secondClicks = 0, offClicks = 0,
        exitClicks = 0;
};

} // namespace

TEST(ShortCuts, EncodingAndTextForm) {
    EXPECT_EQ(ShortCut('O', ssCtrl), 0x4000 | 'O');
    EXPECT_EQ(ShortCut(VK_F1, ssShift | ssAlt), 0x8000 | 0x2000 | VK_F1);
    const struct {
        TShortCut shortCut;
        const char* text;
    } cases[] = {
        {ShortCut('O', ssCtrl), "Ctrl+O"},
        {ShortCut(VK_F1, ssShift | ssCtrl), "Shift+Ctrl+F1"},
        {ShortCut('X', ssAlt), "Alt+X"},
        {ShortCut(VK_DELETE, 0), "Del"},
        {ShortCut(VK_RETURN, ssCtrl | ssAlt), "Ctrl+Alt+Enter"},
        {ShortCut('5', ssShift), "Shift+5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
        EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << c.text;
    }
    EXPECT_EQ(TextToShortCut("ctrl+shift+o"), ShortCut('O', ssCtrl | ssShift));
    for (const char* bad : {"", "Ctrl+", "Ctrl+Nope", "Hyper+O", "Ctrl+Ctrl+O"}) {
        EXPECT_EQ(TextToShortCut(bad), 0) << bad;
    }
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(StripHotkey("E&xit"), "Exit");
    EXPECT_EQ(StripHotkey("Fish && &Chips"), "Fish & Chips");
    EXPECT_EQ(GetHotkey("Fish && &chips"), QChar('C'));
    EXPECT_TRUE(GetHotkey("Fish && Chips").isNull());
}

TEST_F(MenusTest, OwnerDrawnMenuMeasuresAndDrawsEveryItemThroughItsCallbacks) {
    menu->SetOwnerDraw(true);
    struct Drawn {
        TMenuItem* item;
        TRect rect;
        bool selected;
    };
    std::vector<Drawn> drawn;
    int measured = 0;
    bool defaultsCameIn = true;
    std::function<void(TMenuItem*)> install = [&](TMenuItem* parent) {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* it = parent->Items(i);
            it->OnMeasureItem = [&, i](TObject* s, TCanvas* c, int& w, int& h) {
                ++measured;
                defaultsCameIn = defaultsCameIn && w > 0 && h > 0 && c != nullptr;
                h = static_cast<TMenuItem*>(s)->IsLine() ? 5 : 21;
                w = 100 + 10 * i;
            };
            it->OnDrawItem = [&](TObject* s, TCanvas* c, const TRect& r, bool selected) {
                auto* item = static_cast<TMenuItem*>(s);
                drawn.push_back({item, r, selected});
                c->Brush()->SetColor(selected ? clRed : item->IsLine() ? clGray : clLime);
                c->FillRect(r);
                // The window's own frame can be drawn over from any item.
                if (TMenuWindow* win = TMenuWindow::FromCanvas(c)) {
                    c->Brush()->SetColor(clBlack);
                    c->FrameRect(win->WindowRect());
                }
            };
            install(it);
        }
    };
    install(menu->Items());
    TOwnerDrawState offState = 0;
    miOff->OnAdvancedDrawItem = [&](TObject*, TCanvas*, const TRect&, TOwnerDrawState s) {
        offState = s;
    };

    menu->Popup(50, 40);
    TMenuWindow* w = Level(0);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(measured, 6);
    EXPECT_TRUE(defaultsCameIn);
    // Rows as tall as reported, all as wide as the widest, inside a 3-pixel frame.
    const int widest = 100 + 10 * 5;
    EXPECT_EQ(w->pos(), QPoint(50, 40));
    EXPECT_EQ(w->size(), QSize(widest + 6, 5 * 21 + 5 + 6));
    EXPECT_EQ(w->RowRect(0), Rect(0, 0, widest, 21));
    EXPECT_EQ(w->RowRect(1), Rect(0, 21, widest, 26));
    EXPECT_EQ(w->RowRect(5), Rect(0, 89, widest, 110));

    QImage img = Grab(w);
    EXPECT_EQ(At(img, 3 + 5, 3 + 10), clLime);
    EXPECT_EQ(At(img, 3 + widest - 1, 3 + 23), clGray);
    EXPECT_NE(At(img, 1, 1), clLime); // the frame is not an item's
    EXPECT_EQ(At(img, 0, 0), clBlack);
    EXPECT_EQ(At(img, w->width() - 1, w->height() - 1), clBlack);
    EXPECT_EQ(TMenuWindow::FromCanvas(nullptr), nullptr);
    EXPECT_TRUE(offState & odDisabled);
    EXPECT_FALSE(offState & odSelected);

    Key(Qt::Key_Down);
    drawn.clear();
    img = Grab(w);
    EXPECT_EQ(At(img, 3 + 5, 3 + 10), clRed);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front().item, miNew);
    EXPECT_TRUE(drawn.front().selected);
    EXPECT_EQ(drawn.front().rect, Rect(0, 0, widest, 21));
    if (const QByteArray dir = qgetenv("QUENBY_SNAPSHOT_DIR"); !dir.isEmpty()) {
        img.save(QDir(QString::fromLocal8Bit(dir)).filePath("menu-ownerdrawn.png"));
    }

    // One level down, the sub-items go through their callbacks too.
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    TMenuWindow* sub = Level(1);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(measured, 6 + 2);
    EXPECT_EQ(sub->size(), QSize(110 + 6, 2 * 21 + 6));
    // The first row beside the row it opened from.
    EXPECT_EQ(sub->pos(), QPoint(50 + w->width() - 3, 40 + w->RowRect(3).Top));
    img = Grab(sub);
    EXPECT_EQ(At(img, 3 + 5, 3 + 10), clRed);
    EXPECT_EQ(At(img, 3 + 5, 3 + 31), clLime);
}

TEST_F(MenusTest, KeyboardMovesOpensRunsAndCloses) {
    menu->Popup(100, 80);
    TMenuWindow* w = Level(0);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Selected(), -1);
    Key(Qt::Key_Down);
    EXPECT_EQ(w->Selected(), 0);
    Key(Qt::Key_Down); // over the separator
    EXPECT_EQ(w->Selected(), 2);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up); // wraps to the end
    EXPECT_EQ(w->Selected(), 5);

    // Into the submenu and back out with Escape, then a run with Enter.
    w->Select(3);
    Key(Qt::Key_Right);
    ASSERT_EQ(TMenuChain::Active()->Depth(), 2);
    EXPECT_EQ(Level(1)->Selected(), 0);
    Key(Qt::Key_Escape);
    EXPECT_EQ(TMenuChain::Active()->Depth(), 1);
    EXPECT_EQ(w->Selected(), 3);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(secondClicks, 1);
    EXPECT_EQ(firstClicks, 0);
    EXPECT_EQ(TMenuChain::Active(), nullptr);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // A disabled item takes the selection but does not run.
    menu->Popup(100, 80);
    Level(0)->Select(4);
    Key(Qt::Key_Return);
    EXPECT_EQ(offClicks, 0);
    ASSERT_NE(TMenuChain::Active(), nullptr);

    // Access keys: the marked letter, and the automatic one of "Recent".
    Key(Qt::Key_X);
    EXPECT_EQ(exitClicks, 1);
    menu->Popup(100, 80);
    EXPECT_EQ(miRecent->AccessKey(), QChar('R'));
    EXPECT_EQ(miRecent->HotkeyCaption(), "&Recent");
    Key(Qt::Key_R);
    ASSERT_NE(Level(1), nullptr);
    Key(Qt::Key_S);
    EXPECT_EQ(secondClicks, 2);
    menu->SetAutoHotkeys(maManual);
    EXPECT_TRUE(miRecent->AccessKey().isNull());

    // Escape at the top closes the menu; nothing ran.
    menu->Popup(100, 80);
    Key(Qt::Key_Escape);
    EXPECT_EQ(TMenuChain::Active(), nullptr);
    EXPECT_EQ(newClicks + openClicks + firstClicks, 0);
}

TEST_F(MenusTest, PlainLookHighlightsTheSelectionAndIgnoresDrawCallbacks) {
    bool called = false;
    miNew->OnDrawItem = [&](TObject*, TCanvas*, const TRect&, bool) { called = true; };
    menu->Popup(10, 10);
    TMenuWindow* w = Level(0);
    ASSERT_NE(w, nullptr);
    w->Select(2);
    const QImage img = Grab(w);
    const TRect open = w->RowRect(2);
    EXPECT_EQ(At(img, 3 + open.Right - 3, 3 + open.Top + 2), ColorToRGB(clHighlight));
    EXPECT_EQ(At(img, 3 + 2, 3 + 2), ColorToRGB(clMenu));
    EXPECT_FALSE(called);
    // The short-cut text fits beside the caption.
    int width = 0;
    int height = 0;
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    GetMenuFont(*canvas.Font());
    miExit->DefaultMeasure(&canvas, width, height);
    EXPECT_GT(width, canvas.TextWidth("Exit") + canvas.TextWidth("Ctrl+Q"));
}

TEST_F(MenusTest, PointerFollowsRowsAndAPressOutsideCloses) {
    menu->Popup(100, 80);
    TMenuWindow* w = Level(0);
    ASSERT_NE(w, nullptr);
    const auto rowCentre = [&](TMenuWindow* win, int row) {
        const TRect r = win->RowRect(row);
        return QPoint(3 + (r.Left + r.Right) / 2, 3 + (r.Top + r.Bottom) / 2);
    };
    MoveTo(w, rowCentre(w, 3));
    EXPECT_EQ(w->Selected(), 3);
    ASSERT_NE(Level(1), nullptr); // the submenu follows the pointer
    TMenuWindow* sub = Level(1);
    MoveTo(sub, rowCentre(sub, 1));
    EXPECT_EQ(sub->Selected(), 1);
    EXPECT_EQ(w->Selected(), 3);
    MoveTo(w, rowCentre(w, 2));
    EXPECT_EQ(w->Selected(), 2);
    EXPECT_EQ(TMenuChain::Active()->Depth(), 1);
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, rowCentre(w, 2));
    EXPECT_EQ(openClicks, 1);
    EXPECT_EQ(TMenuChain::Active(), nullptr);

    // A press elsewhere closes the menu and does not reach the window below.
    auto* button = new TButton(form.get()); // owned by the form
    button->SetParent(form.get());
    button->SetBounds(10, 200, 80, 25);
    int buttonClicks = 0;
    button->OnClick = [&](TObject*) { ++buttonClicks; };
    QApplication::processEvents();
    menu->Popup(100, 80);
    ASSERT_NE(Level(0), nullptr);
    QTest::mouseClick(form->Handle()->windowHandle(), Qt::LeftButton, {}, QPoint(50, 212));
    QApplication::processEvents();
    EXPECT_EQ(TMenuChain::Active(), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(buttonClicks, 0);
    EXPECT_EQ(openClicks, 1);
}

TEST_F(MenusTest, FreeingAnItemOfTheOpenMenuClosesIt) {
    menu->Popup(100, 80);
    Level(0)->Select(3);
    Key(Qt::Key_Right);
    ASSERT_EQ(TMenuChain::Active()->Depth(), 2);
    miSecond->Free();
    EXPECT_EQ(TMenuChain::Active(), nullptr);
    EXPECT_EQ(miRecent->Count(), 1);
    menu->Popup(100, 80);
    const int components = form->ComponentCount();
    miRecent->Free(); // with its sub-item
    EXPECT_EQ(TMenuChain::Active(), nullptr);
    EXPECT_EQ(form->ComponentCount(), components - 2);
    EXPECT_EQ(menu->Items()->Count(), 5);
}

// ---- short-cuts of a form's main menu, from a description ----------------------

class TfmMenus : public TForm {
    Q_OBJECT
public:
    explicit TfmMenus(TComponent* owner) : TForm(owner) {
        RegisterHandler("miFileClick", TNotifyEvent([this](TObject*) { ++fileDrops; }));
        RegisterHandler("miOpenClick", TNotifyEvent([this](TObject*) { ++opens; }));
        RegisterHandler("miSaveClick", TNotifyEvent([this](TObject*) { ++saves; }));
        RegisterHandler("miDeepClick", TNotifyEvent([this](TObject*) { ++deeps; }));
        LoadDescriptionText(R"(
object fmMenus: TfmMenus
  BorderStyle = bsNone
  ClientWidth = 200
  ClientHeight = 100
  Menu = mnMain
  object btnFocus: TButton
    Left = 8
    Top = 8
    TabStop = True
  end
  object mnMain: TMainMenu
    object miFile: TMenuItem
      Caption = '&File'
      OnClick = miFileClick
      object miOpen: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        OnClick = miOpenClick
      end
      object miSave: TMenuItem
        Caption = '&Save'
        ShortCut = 16467
        Enabled = False
        OnClick = miSaveClick
      end
      object miRecent: TMenuItem
        Caption = 'Recent'
        object miDeep: TMenuItem
          Caption = 'Deep'
          ShortCut = 24644
          OnClick = miDeepClick
        end
      end
    end
  end
end
)",
                            "menus.form");
    }
    int fileDrops = 0;
    int opens = 0;
    int saves = 0;
    int deeps = 0;
};

TEST(MainMenu, FormRunsTheShortCutsOfItsMenuAtEveryDepth) {
    RegisterToolkitClasses();
    TComponentPtr<TfmMenus> form(new TfmMenus(nullptr));
    auto* mnMain = qobject_cast<TMainMenu*>(form->FindComponent("mnMain"));
    auto* miFile = qobject_cast<TMenuItem*>(form->FindComponent("miFile"));
    auto* miDeep = qobject_cast<TMenuItem*>(form->FindComponent("miDeep"));
    ASSERT_NE(mnMain, nullptr);
    ASSERT_NE(miDeep, nullptr);
    EXPECT_EQ(form->Menu(), mnMain);
    EXPECT_EQ(miFile->Parent(), mnMain->Items());
    EXPECT_EQ(miFile->Count(), 3);
    EXPECT_EQ(miDeep->GetParentMenu(), mnMain);
    EXPECT_EQ(miDeep->ShortCutText(), "Shift+Ctrl+D");

    form->Show();
    QApplication::setActiveWindow(form->Handle());
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(form->opens, 1);
    EXPECT_EQ(form->fileDrops, 1); // its drop-down heard first
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(form->saves, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->deeps, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(form->deeps, 1);

    // The form's own handler comes first; without a menu nothing runs.
    form->OnShortCut = [](unsigned key, TShiftState, bool& handled) { handled = key == 'O'; };
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(form->opens, 1);
    form->OnShortCut = nullptr;
    mnMain->Free();
    EXPECT_EQ(form->Menu(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(form->opens, 1);
}

#include "MenusTest.moc"
