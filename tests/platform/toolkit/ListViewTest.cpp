// The report list view on real widgets: selection events, check boxes,
// custom-drawn row colours, keys, deletion and the scroll queries.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTreeView>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ListView.h"

using namespace tk;

class TfmListTest : public TForm {
    Q_OBJECT
public:
    explicit TfmListTest(TComponent* owner) : TForm(owner) {
        RegisterHandler("lvSelectItem", &TfmListTest::lvSelectItem);
        RegisterHandler("lvCustomDrawItem", &TfmListTest::lvCustomDrawItem);
        LoadDescriptionText(R"(
object fmListTest: TfmListTest
  BorderStyle = bsNone
  ClientWidth = 400
  ClientHeight = 200
  object lv: TListView
    Align = alClient
    BorderStyle = bsNone
    BorderWidth = 2
    Checkboxes = True
    RowSelect = True
    ReadOnly = True
    HideSelection = False
    ViewStyle = vsReport
    Columns = <
      item
        Caption = 'Display Name'
        Width = 160
      end
      item
        Caption = 'Email'
        Width = 200
      end>
    OnSelectItem = lvSelectItem
    OnCustomDrawItem = lvCustomDrawItem
  end
end
)",
                            "list.form");
        lv = qobject_cast<TListView*>(FindComponent("lv"));
    }

    TListView* lv = nullptr;
    QStringList events;
    int customDraws = 0;

    void lvSelectItem(TObject*, TListItem* item, bool selected) {
        events << QStringLiteral("%1 %2").arg(item->Caption(), selected ? "on" : "off");
    }
    // Rows whose data is set are the "duplicates": drawn in blue.
    void lvCustomDrawItem(TObject*, TListItem* item, TCustomDrawState, bool&) {
        ++customDraws;
        lv->Canvas()->Font()->SetColor(item->Data() ? clBlue : clBlack);
    }
};

namespace {

struct ListEnv {
    ListEnv() {
        static TApplication* app = Application ? Application : new TApplication(); // whole run
        (void)app;
    }
};

TComponentPtr<TfmListTest> MakeList(int rows) {
    TComponentPtr<TfmListTest> form(new TfmListTest(nullptr));
    static int marker = 0;
    for (int i = 0; i < rows; ++i) {
        TListItem* item = form->lv->Items()->Add();
        item->SetCaption(QStringLiteral("Row %1").arg(i));
        item->AddSubItem(QStringLiteral("row%1@example.org").arg(i));
        item->SetData(i % 2 == 1 ? &marker : nullptr);
    }
    form->Show();
    QApplication::setActiveWindow(form->Handle());
    QApplication::processEvents();
    return form;
}

QPoint RowPoint(TListView* lv, int row, int x = 80) {
    const TRect r = lv->Items()->Item(row)->DisplayRect();
    return QPoint(x, (r.Top + r.Bottom) / 2) - lv->View()->viewport()->mapTo(lv->View(), QPoint());
}

} // namespace

TEST(ListView, SelectionRaisesLoserThenGainerForProgramAndUser) {
    ListEnv env;
    auto form = MakeList(5);
    TListView* lv = form->lv;
    lv->Items()->Item(0)->SetSelected(true);
    EXPECT_EQ(form->events, QStringList{"Row 0 on"});
    EXPECT_EQ(lv->Selected(), lv->Items()->Item(0));

    form->events.clear();
    QTest::mouseClick(lv->View()->viewport(), Qt::LeftButton, {}, RowPoint(lv, 2));
    EXPECT_EQ(form->events, (QStringList{"Row 0 off", "Row 2 on"}));
    EXPECT_EQ(lv->ItemIndex(), 2);

    // Keyboard: Down moves the selection the same way.
    form->events.clear();
    QTest::keyClick(lv->View(), Qt::Key_Down);
    EXPECT_EQ(form->events, (QStringList{"Row 2 off", "Row 3 on"}));

    // A key handler can take a key away from the list.
    lv->OnKeyDown = [](TObject*, unsigned& key, TShiftState) {
        if (key == VK_DOWN) {
            key = 0;
        }
    };
    form->events.clear();
    QTest::keyClick(lv->View(), Qt::Key_Down);
    EXPECT_TRUE(form->events.isEmpty());
    EXPECT_EQ(lv->ItemIndex(), 3);

    // Deleting rows is not a deselection.
    lv->Items()->Delete(3);
    lv->Items()->Clear();
    EXPECT_TRUE(form->events.isEmpty());
    EXPECT_EQ(lv->Selected(), nullptr);
}

TEST(ListView, CheckBoxesToggleByClickAndByProgram) {
    ListEnv env;
    auto form = MakeList(3);
    TListView* lv = form->lv;
    TListItem* item = lv->Items()->Item(1);
    EXPECT_FALSE(item->Checked());
    // The check box sits at the left of the first column.
    QTreeView* view = lv->View();
    QStyleOptionViewItem opt;
    opt.initFrom(view);
    opt.rect = view->visualRect(lv->ItemModel()->index(1, 0));
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_TRUE(item->Checked());
    item->SetChecked(false);
    EXPECT_EQ(lv->ItemModel()->data(lv->ItemModel()->index(1, 0), Qt::CheckStateRole).toInt(),
              Qt::Unchecked);
}

TEST(ListView, CustomDrawColoursRowsOncePerRow) {
    ListEnv env;
    auto form = MakeList(4);
    TListView* lv = form->lv;
    lv->Items()->Item(2)->SetSelected(true);
    const QImage img = form->Handle()->grab().toImage();
    QDir().mkpath(qEnvironmentVariable("QUENBY_BINARY_DIR") + "/artifacts");
    img.save(qEnvironmentVariable("QUENBY_BINARY_DIR") + "/artifacts/listview.png");
    // Text pixels of row 1 (data set) are blue, of row 0 black.
    auto inks = [&](int row) {
        const TRect r = lv->Items()->Item(row)->DisplayRect();
        int blue = 0;
        int black = 0;
        for (int y = r.Top + 2; y < r.Bottom; ++y) {
            for (int x = 30; x < 150; ++x) {
                const QRgb p = img.pixel(x + 2, y + 2); // the 2-pixel border band
                if (qBlue(p) > 150 && qRed(p) < 100 && qGreen(p) < 100) {
                    ++blue;
                }
                if (qGray(p) < 80) {
                    ++black;
                }
            }
        }
        return std::pair{blue, black};
    };
    EXPECT_GT(inks(1).first, 10);
    EXPECT_EQ(inks(0).first, 0);
    EXPECT_GT(inks(0).second, 10);
    EXPECT_GT(form->customDraws, 0);
    EXPECT_LE(form->customDraws, 4 * 2); // per row, not per cell (a repaint may come twice)
}

TEST(ListView, ScrollQueriesFollowTheNativeBars) {
    ListEnv env;
    auto few = MakeList(2);
    EXPECT_FALSE(few->lv->ScrollBarInfo(true).visible);

    auto form = MakeList(100);
    TListView* lv = form->lv;
    int vscrolls = 0;
    TWndMethod old = lv->WindowProc;
    lv->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_VSCROLL) {
            ++vscrolls;
        }
        old(m);
    };
    TScrollInfo si = lv->ScrollInfo(true);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 99);
    EXPECT_GT(si.nPage, 3);
    EXPECT_LT(si.nPage, 20);
    EXPECT_EQ(si.nPos, 0);
    const TScrollBarInfo bar = lv->ScrollBarInfo(true);
    EXPECT_TRUE(bar.visible);
    EXPECT_GT(bar.thumbLength, 0);

    lv->ScrollLines(5);
    EXPECT_EQ(lv->ScrollInfo(true).nPos, 5);
    EXPECT_EQ(lv->TopItem(), lv->Items()->Item(5));
    EXPECT_EQ(vscrolls, 1);
    lv->ScrollLines(-100);
    EXPECT_EQ(lv->ScrollInfo(true).nPos, 0);
    lv->WindowProc = old;
}

#include "ListViewTest.moc"
