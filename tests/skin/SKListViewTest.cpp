// The skinned report list on real widgets: loaded from a description as the
// main window configures its lists (select events, check marks, custom-drawn
// rows, data pointers), the skinned border in the style's colours, and the
// linkage to skinned scroll bars.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTreeView>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Timers.h"
#include "skin/SKEdit.h"
#include "skin/SKListView.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;

namespace {

const char* kColumns = R"(
    Columns = <
      item
        Caption = 'Display Name'
        Width = 160
      end
      item
        Caption = 'Email'
        Width = 200
      end
      item
        Caption = 'Company'
        Width = 100
      end
      item
        Caption = 'Title'
        Width = 100
      end
      item
        Caption = 'Home Phone'
        Width = 120
      end
      item
        Caption = 'Work Phone'
        Width = 120
      end>)";

QString MainLayout() {
    return QStringLiteral(R"(
object fmMain: TForm
  BorderStyle = bsNone
  ClientWidth = 500
  ClientHeight = 320
  Color = 15198183
  object slvItems: TskListView
    Left = 0
    Top = 0
    Width = 500
    Height = 150
    UIStyle = BlueGlass
    BorderColor = clBlack
    BevelOuter = bvNone
    BorderStyle = bsNone
    BorderWidth = 2
    ViewStyle = vsReport
    RowSelect = True
    MultiSelect = False
    ReadOnly = True
    HideSelection = False%1
    OnCustomDrawItem = slvItemsCustomDrawItem
    OnSelectItem = slvItemsSelectItem
  end
  object slvDups: TskListView
    Left = 0
    Top = 160
    Width = 500
    Height = 120
    UIStyle = WinXP
    BorderColor = clRed
    BorderStyle = bsNone
    BorderWidth = 2
    Checkboxes = True
    ViewStyle = vsReport
    RowSelect = True
    ReadOnly = True
    VScrollBar = sbDups%1
  end
  object sbDups: TskScrollBar
  end
  object edtName: TskEdit
    Left = 17
    Top = 290
    Width = 251
    Height = 19
    UIStyle = BlueGlass
    BorderColor = clBlack
    Enabled = False
  end
end
)")
        .arg(QString::fromLatin1(kColumns));
}

struct MainFixture {
    TComponentPtr<TForm> form{new TForm(nullptr)};
    TskListView* items = nullptr;
    TskListView* dups = nullptr;
    TskEdit* edit = nullptr;
    QStringList events;
    int records[6] = {};

    MainFixture() {
        RegisterToolkitClasses();
        RegisterSkinListViewClasses();
        RegisterSkinEditClasses();
        form->RegisterHandler(
            "slvItemsSelectItem", TLVSelectItemEvent([this](TObject*, TListItem* item, bool on) {
                events << QStringLiteral("%1 %2").arg(item->Caption(), on ? "on" : "off");
            }));
        // Rows of records in a duplicate group are blue, as the main window has it.
        form->RegisterHandler(
            "slvItemsCustomDrawItem",
            TLVCustomDrawItemEvent([this](TObject*, TListItem* item, TCustomDrawState, bool&) {
                const int* record = static_cast<int*>(item->Data());
                items->Canvas()->Font()->SetColor(record && *record != 0 ? clBlue : clBlack);
            }));
        form->LoadDescriptionText(MainLayout(), "main.form");
        items = qobject_cast<TskListView*>(form->FindComponent("slvItems"));
        dups = qobject_cast<TskListView*>(form->FindComponent("slvDups"));
        edit = qobject_cast<TskEdit*>(form->FindComponent("edtName"));
        for (int i = 0; i < 6; ++i) {
            records[i] = i % 2; // odd rows are in group 1
            for (TskListView* list : {items, dups}) {
                TListItem* row = list->Items()->Add();
                row->SetCaption(QStringLiteral("Row %1").arg(i));
                row->AddSubItem(QStringLiteral("row%1@example.org").arg(i));
                row->SetData(&records[i]);
            }
        }
        form->Show();
        QApplication::setActiveWindow(form->Handle());
        QApplication::processEvents();
    }
};

QImage Grab(TControl* c) {
    return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb Rgb(TColor c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A point of the row, in the view's viewport.
QPoint RowPoint(TskListView* list, int row) {
    const TRect r = list->Items()->Item(row)->DisplayRect();
    return QPoint(80, (r.Top + r.Bottom) / 2) -
           list->View()->viewport()->mapTo(list->View(), QPoint());
}

// Ink of a row's text: how many blue and how many dark pixels.
std::pair<int, int> Inks(TskListView* list, int row) {
    const QImage img = Grab(list);
    const TRect r = list->Items()->Item(row)->DisplayRect();
    int blue = 0;
    int dark = 0;
    for (int y = r.Top + 2; y < r.Bottom; ++y) {
        for (int x = 4; x < 150; ++x) {
            const QRgb p = img.pixel(x + 2, y + 2); // past the two-pixel border
            blue += qBlue(p) > 150 && qRed(p) < 100 && qGreen(p) < 100;
            dark += qGray(p) < 80;
        }
    }
    return {blue, dark};
}

// A list over 100 rows with skinned bars beside it, linked.
struct LinkedFixture {
    TComponentPtr<TForm> form{new TForm(nullptr)};
    TskListView* list = nullptr;
    TskScrollBar* vbar = nullptr;
    TskScrollBar* hbar = nullptr;

    explicit LinkedFixture(int rows) {
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 400, 300);
        list = new TskListView(form.get()); // owned by the form
        list->SetParent(form.get());
        list->SetBounds(10, 10, 300, 200);
        list->SetViewStyle(vsReport);
        for (int c = 0; c < 3; ++c) {
            list->AddColumn(QStringLiteral("Column %1").arg(c), 150);
        }
        vbar = new TskScrollBar(form.get());
        vbar->SetParent(form.get());
        hbar = new TskScrollBar(form.get());
        hbar->SetParent(form.get());
        AddRows(rows);
        form->Show();
        Settle();
        list->SetVScrollBar(vbar);
        list->SetHScrollBar(hbar);
        Settle();
    }
    void AddRows(int n) {
        for (int i = 0; i < n; ++i) {
            list->Items()->Add()->SetCaption(QStringLiteral("Row %1").arg(list->Items()->Count()));
        }
    }
    // Rows reach the view, the view lays them out, the native bars show or
    // hide, and the linked bars follow: each a pass of the loop.
    static void Settle() {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
        }
    }
    int Top() const { return list->TopItem() ? list->TopItem()->Index() : -1; }
};

} // namespace

TEST(SkinListView, LoadsTheMainWindowListsWithTheirEventsIntact) {
    MainFixture f;
    ASSERT_NE(f.items, nullptr);
    ASSERT_NE(f.dups, nullptr);
    ASSERT_NE(f.edit, nullptr);
    EXPECT_EQ(f.items->ViewStyle(), vsReport);
    EXPECT_TRUE(f.items->RowSelect());
    EXPECT_FALSE(f.items->MultiSelect());
    EXPECT_TRUE(f.items->ReadOnly());
    EXPECT_FALSE(f.items->HideSelection());
    EXPECT_EQ(f.items->BevelOuter(), bvNone);
    EXPECT_EQ(f.items->BorderStyle(), bsNone);
    EXPECT_EQ(f.items->NonClientBand(), 2);
    EXPECT_EQ(f.items->Columns()->Count(), 6);
    EXPECT_EQ(f.items->Column(1)->Caption(), "Email");
    EXPECT_EQ(f.items->Column(5)->Width(), 120);
    EXPECT_TRUE(f.dups->Checkboxes());
    auto* bar = qobject_cast<TskScrollBar*>(f.form->FindComponent("sbDups"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(f.dups->VScrollBar(), bar);
    EXPECT_EQ(bar->Orientation(), skVertical);
    // A colour stored after the style wins over the style's.
    EXPECT_EQ(f.dups->UIStyle(), WinXP);
    EXPECT_EQ(f.dups->BorderColor(), clRed);
    EXPECT_FALSE(f.edit->Enabled());
    EXPECT_EQ(f.edit->BorderColor(), clBlack);

    // Selection: the row that loses first, then the one that gains, for the
    // program and the user alike.
    f.items->Items()->Item(0)->SetSelected(true);
    QTest::mouseClick(f.items->View()->viewport(), Qt::LeftButton, {}, RowPoint(f.items, 3));
    QTest::keyClick(f.items->View(), Qt::Key_Down);
    EXPECT_EQ(f.events,
              (QStringList{"Row 0 on", "Row 0 off", "Row 3 on", "Row 3 off", "Row 4 on"}));
    EXPECT_EQ(f.items->Selected(), f.items->Items()->Item(4));
    EXPECT_EQ(f.items->Selected()->Data(), &f.records[4]);

    // Rows of group 1 draw blue, the others black.
    EXPECT_GT(Inks(f.items, 1).first, 10);
    EXPECT_EQ(Inks(f.items, 2).first, 0);
    EXPECT_GT(Inks(f.items, 2).second, 10);

    // Check marks, by program and by a click on the box.
    TListItem* dup = f.dups->Items()->Item(2);
    dup->SetChecked(true);
    EXPECT_TRUE(dup->Checked());
    QTreeView* view = f.dups->View();
    QStyleOptionViewItem opt;
    opt.initFrom(view);
    opt.rect = view->visualRect(f.dups->ItemModel()->index(3, 0));
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_TRUE(f.dups->Items()->Item(3)->Checked());
    EXPECT_EQ(f.dups->Items()->Item(3)->Data(), &f.records[3]);
    Grab(f.form.get()).save(sktest::ArtifactsDir() + "/skin-listview-main.png");
}

TEST(SkinListView, BorderInTheStylesColoursAroundTheListsColour) {
    const struct {
        TskUIStyle style;
        TColor border;
    } cases[] = {
        {MacOS, 0x7F7F7F},
        {WinXP, 0x686868},
        {DeepBlue, clBlack},
        {BlueGlass, clBlack},
    };
    for (const auto& c : cases) {
        LinkedFixture f(3);
        f.list->SetColor(0xF0E0D0);
        f.list->SetUIStyle(c.style);
        EXPECT_EQ(f.list->BorderColor(), c.border);
        // The linked bars take the list's style.
        EXPECT_EQ(f.vbar->UIStyle(), c.style);
        EXPECT_EQ(f.hbar->UIStyle(), c.style);
        const QImage img = Grab(f.list);
        for (QPoint p : {QPoint(0, 0), QPoint(150, 0), QPoint(299, 100), QPoint(150, 199)}) {
            EXPECT_EQ(img.pixel(p), Rgb(c.border)) << c.style << " outer " << p.x() << "," << p.y();
        }
        for (QPoint p : {QPoint(1, 1), QPoint(150, 1), QPoint(298, 100), QPoint(150, 198)}) {
            EXPECT_EQ(img.pixel(p), Rgb(0xF0E0D0)) << c.style << " inner " << p.x() << "," << p.y();
        }
    }
}

TEST(SkinListView, LinkedBarsFollowTheListsOwnBars) {
    LinkedFixture f(3);
    // Few rows: the list's own vertical bar is hidden, so is the linked one.
    EXPECT_FALSE(f.list->ScrollBarInfo(true).visible);
    EXPECT_FALSE(f.vbar->Visible());
    EXPECT_FALSE(f.vbar->Enabled());
    EXPECT_EQ(f.vbar->LineButton(), 0);
    EXPECT_EQ(f.vbar->Orientation(), skVertical);
    EXPECT_EQ(f.hbar->Orientation(), skHorizontal);
    EXPECT_EQ(f.vbar->SmallChange(), 5);
    // Three 150-pixel columns overflow 300 pixels: the horizontal bar shows,
    // along the bottom inside the border.
    EXPECT_TRUE(f.hbar->Visible());
    EXPECT_EQ(f.hbar->BoundsRect(), Rect(11, 210 - f.hbar->Height() - 2, 11 + 298, 208));

    f.AddRows(97);
    f.Settle();
    const TScrollBarInfo native = f.list->ScrollBarInfo(true);
    ASSERT_TRUE(native.visible);
    EXPECT_TRUE(f.vbar->Visible());
    EXPECT_TRUE(f.vbar->Enabled());
    EXPECT_EQ(f.vbar->LineButton(), native.thumbLength);
    EXPECT_EQ(f.vbar->TrackBar()->SliderRect().Height(), native.thumbLength);
    const TScrollInfo si = f.list->ScrollInfo(true);
    EXPECT_EQ(f.vbar->Max(), 100 - si.nPage);
    EXPECT_EQ(f.vbar->BoundsRect(),
              Rect(10 + 300 - f.vbar->Width() - 2, 11, 308, 11 + 200 - f.hbar->Height() - 2));

    // The list scrolls: the bar follows, and its change does not echo back.
    f.list->ScrollLines(7);
    EXPECT_EQ(f.vbar->Position(), 7);
    EXPECT_EQ(f.Top(), 7);
    // The bar moves: the list scrolls by rows; the horizontal one by pixels.
    f.vbar->SetPosition(20);
    EXPECT_EQ(f.Top(), 20);
    f.hbar->SetPosition(40);
    EXPECT_EQ(f.list->ScrollInfo(false).nPos, 40);
    f.hbar->SetPosition(0);
    EXPECT_EQ(f.list->ScrollInfo(false).nPos, 0);
    Grab(f.form.get()).save(sktest::ArtifactsDir() + "/skin-listview-linked.png");
}

TEST(SkinListView, HeldArrowScrollsFiveRowsATick) {
    const struct {
        int rows;
        int top; // after holding the increment arrow for 350 ms
    } cases[] = {{100, 15}, {0, -1}};
    for (const auto& c : cases) {
        TManualClockScope clock;
        LinkedFixture f(100);
        const int page = f.list->ScrollInfo(true).nPage;
        const int rows = c.rows ? c.rows : page + 8; // the end comes first
        while (f.list->Items()->Count() > rows) {
            f.list->Items()->Delete(f.list->Items()->Count() - 1);
        }
        f.Settle();
        QWidget* arrow = f.vbar->IncButton()->Handle();
        QTest::mousePress(arrow, Qt::LeftButton, {}, QPoint(4, 4));
        clock.Clock().Advance(350);
        QTest::mouseRelease(arrow, Qt::LeftButton, {}, QPoint(4, 4));
        const int expected = c.top >= 0 ? c.top : rows - page;
        EXPECT_EQ(f.Top(), expected) << rows << " rows";
        EXPECT_EQ(f.vbar->Position(), expected);
    }
}

TEST(SkinListView, BarsGivenUpOrFreedAreLetGo) {
    LinkedFixture f(100);
    TskScrollBar* old = f.vbar;
    ASSERT_TRUE(old->OnChange());
    auto* other = new TskScrollBar(f.form.get()); // owned by the form
    other->SetParent(f.form.get());
    f.list->SetVScrollBar(other);
    EXPECT_FALSE(old->OnChange());
    EXPECT_EQ(old->LineButton(), 0);
    EXPECT_EQ(old->Max(), 100);
    EXPECT_TRUE(old->Enabled());
    EXPECT_TRUE(other->OnChange());

    other->Free();
    EXPECT_EQ(f.list->VScrollBar(), nullptr);
    f.list->ScrollLines(3); // no bar to push into

    // A bar that outlives its list no longer calls it.
    f.list->Free();
    f.hbar->SetPosition(10);
    EXPECT_FALSE(f.hbar->OnChange());
}
