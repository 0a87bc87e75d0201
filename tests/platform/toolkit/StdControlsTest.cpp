// Edits, status bar, check list box and group box on real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/CheckLst.h"
#include "platform/toolkit/Edits.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/StdCtrls.h"

using namespace tk;

class TfmControls : public TForm {
    Q_OBJECT
public:
    explicit TfmControls(TComponent* owner) : TForm(owner) {
        RegisterHandler("edNameChange", &TfmControls::edNameChange);
        RegisterHandler("edNameKeyPress", &TfmControls::edNameKeyPress);
        RegisterHandler("clbClickCheck", &TfmControls::clbClickCheck);
        LoadDescriptionText(R"(
object fmControls: TfmControls
  BorderStyle = bsSizeable
  ClientWidth = 320
  ClientHeight = 240
  Color = $00E7E7E7
  Font.Name = 'Tahoma'
  Font.Height = -11
  object gbOptions: TGroupBox
    Left = 8
    Top = 8
    Width = 200
    Height = 100
    Caption = 'Options'
    object edName: TEdit
      Align = alTop
      Text = 'first'
      TabOrder = 0
      OnChange = edNameChange
      OnKeyPress = edNameKeyPress
    end
    object edCode: TMaskEdit
      Left = 8
      Top = 50
      EditMask = '000;1;_'
      TabOrder = 1
    end
  end
  object clbItems: TCheckListBox
    Left = 216
    Top = 8
    Width = 96
    Height = 100
    Items = ('Alpha' 'Beta' 'Gamma')
    OnClickCheck = clbClickCheck
  end
  object sbMain: TStatusBar
    Panels = <
      item
        Text = 'Ready'
        Width = 100
      end
      item
        Text = '3 contacts'
        Width = 80
      end>
  end
end
)",
                            "controls.form");
    }
    int changes = 0;
    int checks = 0;
    void edNameChange(TObject*) { ++changes; }
    // Digits are not names.
    void edNameKeyPress(TObject*, QChar& key) {
        if (key.isDigit()) {
            key = QChar();
        }
    }
    void clbClickCheck(TObject*) { ++checks; }
};

namespace {
struct Env {
    Env() {
        static TApplication* app = Application ? Application : new TApplication(); // whole run
        (void)app;
    }
};

template <class T> T* Find(TComponent* form, const char* name) {
    return qobject_cast<T*>(form->FindComponent(name));
}

TComponentPtr<TfmControls> Make() {
    TComponentPtr<TfmControls> form(new TfmControls(nullptr));
    form->Show();
    QApplication::setActiveWindow(form->Handle());
    EXPECT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    return form;
}
} // namespace

TEST(Edit, TextChangesAndKeyFilterAndMask) {
    Env env;
    auto form = Make();
    auto* ed = Find<TEdit>(form.get(), "edName");
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->Text(), "first");
    EXPECT_EQ(form->changes, 0); // loading raises no change
    EXPECT_EQ(ed->LineEdit()->text(), "first");

    // Tabbed into: the text is selected, typing replaces it, digits are refused.
    form->SelectNext(nullptr, true, true);
    EXPECT_EQ(form->ActiveControl(), ed);
    EXPECT_EQ(ed->SelText(), "first");
    QTest::keyClicks(ed->LineEdit(), "a1b2");
    EXPECT_EQ(ed->Text(), "ab");
    EXPECT_EQ(form->changes, 2);

    ed->SetText("set by program");
    EXPECT_EQ(ed->LineEdit()->text(), "set by program");
    EXPECT_EQ(form->changes, 3);

    ed->SetReadOnly(true);
    QTest::keyClicks(ed->LineEdit(), "xyz");
    EXPECT_EQ(ed->Text(), "set by program");

    // A disabled edit still shows its text.
    ed->SetEnabled(false);
    const QImage img = ed->Handle()->grab().toImage();
    int ink = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 4; x < img.width() - 4; ++x) {
            ink += qGray(img.pixel(x, y)) < 160;
        }
    }
    EXPECT_GT(ink, 20);

    auto* code = Find<TMaskEdit>(form.get(), "edCode");
    code->SetFocus(); // a masked line edit types only where it has the focus
    QTest::keyClicks(code->LineEdit(), "4x27");
    EXPECT_EQ(code->Text(), "427");
}

TEST(Edit, AClickOnSomethingThatTakesNoFocusLeavesTheFocusAlone) {
    Env env;
    auto form = Make();
    auto* ed = Find<TEdit>(form.get(), "edName");
    auto* gb = Find<TGroupBox>(form.get(), "gbOptions");
    ed->SetFocus();
    ASSERT_TRUE(ed->Focused());
    QTest::mouseClick(gb->Handle(), Qt::LeftButton, {}, QPoint(gb->Width() - 5, gb->Height() - 5));
    QTest::mouseClick(form->Handle(), Qt::LeftButton, {}, QPoint(300, 150));
    EXPECT_TRUE(ed->Focused());
    EXPECT_EQ(form->ActiveControl(), ed);
}

TEST(Edit, ClassicMasksInQtNotation) {
    const std::pair<const char*, const char*> cases[] = {
        {"000;1;_", "999"}, {"99/99/0000", "00/00/9999"},
        {">LL-0", ">AA-9"}, {"\\(000\\)", "\\(999\\)"},
        {"aAcC", "nNxX"},   {"#", "#"},
        {"", ""},
    };
    for (const auto& [classic, qt] : cases) {
        EXPECT_EQ(TMaskEdit::ToQtMask(classic), qt) << classic;
    }
}

TEST(CheckListBox, ClicksToggleChecksAndTell) {
    Env env;
    auto form = Make();
    auto* clb = Find<TCheckListBox>(form.get(), "clbItems");
    ASSERT_EQ(clb->Count(), 3);
    clb->SetChecked(2, true);
    EXPECT_TRUE(clb->Checked(2));
    EXPECT_EQ(form->checks, 0); // the program's own change is not a click

    auto* list = static_cast<QListWidget*>(clb->Handle()->findChild<QListWidget*>());
    ASSERT_NE(list, nullptr);
    QStyleOptionViewItem opt;
    opt.initFrom(list);
    opt.rect = list->visualItemRect(list->item(0));
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_TRUE(clb->Checked(0));
    EXPECT_EQ(form->checks, 1);
    EXPECT_THROW(clb->SetChecked(3, true), Exception);
}

TEST(CheckListBox, AddingAnItemKeepsTheSelectedItem) {
    Env env;
    auto form = Make();
    auto* clb = Find<TCheckListBox>(form.get(), "clbItems");
    clb->SetItemIndex(1);
    clb->SetChecked(1, true);
    clb->AddItem("Delta");
    EXPECT_EQ(clb->ItemIndex(), 1);
    EXPECT_TRUE(clb->Checked(1));
    auto* list = clb->Handle()->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->count(), 4);
}

TEST(StatusBarAndGroupBox, PanelsGripAndCaptionArea) {
    Env env;
    auto form = Make();
    auto* sb = Find<TStatusBar>(form.get(), "sbMain");
    auto* gb = Find<TGroupBox>(form.get(), "gbOptions");
    auto* ed = Find<TEdit>(form.get(), "edName");
    EXPECT_EQ(sb->BoundsRect(), Rect(0, 240 - 19, 320, 240));
    EXPECT_EQ(sb->PanelRect(0).Left, 0);
    EXPECT_EQ(sb->PanelRect(1).Right, 320 - 16 - 2); // the last one stops short of the grip
    EXPECT_FALSE(sb->GripRect().IsEmpty());
    // The group box's aligned child sits below the caption.
    EXPECT_GE(ed->Top(), 12);
    EXPECT_EQ(ed->Width(), gb->Width() - 4);

    const QImage img = form->Handle()->grab().toImage();
    QDir().mkpath(qEnvironmentVariable("QUENBY_BINARY_DIR") + "/artifacts");
    img.save(qEnvironmentVariable("QUENBY_BINARY_DIR") + "/artifacts/controls.png");
    // Panel text is drawn; the grip draws light and dark lines on the face.
    auto inkIn = [&](const TRect& r, int below) {
        int ink = 0;
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) {
                ink += qGray(img.pixel(x + sb->Left(), y + sb->Top())) < below;
            }
        }
        return ink;
    };
    EXPECT_GT(inkIn(sb->PanelRect(0), 100), 10);
    EXPECT_GT(inkIn(sb->GripRect(), 160), 6);

    form->SetBorderStyle(bsDialog);
    EXPECT_TRUE(sb->GripRect().IsEmpty());
}

#include "StdControlsTest.moc"
