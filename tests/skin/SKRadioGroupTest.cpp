// Radio and check groups: column-by-column layout, items that come and go,
// ItemIndex, the group's OnClick, focus; and the groups, progress bar and
// tool bar loaded from a description.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/toolkit/Forms.h"
#include "skin/SKForm.h"
#include "skin/SKProgressBar.h"
#include "skin/SKRadioGroup.h"
#include "skin/SKToolBar.h"
#include "tests/skin/FrameTestSupport.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;
using namespace sktest;

namespace {

const QStringList kSeven = {"One", "Two", "Three", "Four", "Five", "Six", "Seven"};

template <class Group> struct GroupTest : ::testing::Test {
    THostForm host{400, 300};
    Group* group = host.Add<Group>(10, 10);
    int clicks = 0;
    void SetUp() override {
        group->SetBounds(10, 10, 310, 130);
        group->SetCaption("Group");
        group->OnClick = [this](TObject*) { ++clicks; };
    }
};

using RadioGroupTest = GroupTest<TskRadioGroup>;
using CheckGroupTest = GroupTest<TskCheckGroup>;

} // namespace

TEST(GroupLayout, SevenItemsInThreeColumnsFillColumnByColumn) {
    // Inner rectangle as a 310 x 130 group with an 11-pixel font has it.
    const TRect inner = Rect(3, 11, 308, 128);
    struct Row {
        int index;
        TPoint at;
    };
    // rows = 3, column width = 100, row height = (128 - 19) div 3 = 36,
    // first row at (109 mod 3) div 2 + 19 = 19.
    const Row rows[] = {{0, {8, 19}},   {1, {8, 55}},   {2, {8, 91}},
                        {3, {108, 19}}, {5, {108, 91}}, {6, {208, 19}}};
    for (const Row& r : rows) {
        EXPECT_EQ(GroupButtonPlace(r.index, 7, 3, 8, inner, 310), r.at) << r.index;
    }
    // No columns lays out as one.
    EXPECT_EQ(GroupButtonPlace(1, 3, 0, 8, inner, 310), GroupButtonPlace(1, 3, 1, 8, inner, 310));
}

TEST_F(RadioGroupTest, ItemsMakeAndFreeButtonsLaidOutByColumn) {
    group->SetColumns(3);
    group->SetItems(kSeven);
    ASSERT_EQ(group->ButtonCount(), 7);
    const TRect inner = group->InnerRect();
    for (int i = 0; i < 7; ++i) {
        TskCheckBox* b = group->Buttons(i);
        EXPECT_EQ(b->Caption(), kSeven[i]);
        EXPECT_EQ(b->Parent(), group);
        EXPECT_FALSE(b->TabStop());
        EXPECT_EQ((TPoint{b->Left(), b->Top()}), GroupButtonPlace(i, 7, 3, 8, inner, 310)) << i;
    }
    // Columns of three, three and one.
    EXPECT_EQ(group->Buttons(2)->Left(), group->Buttons(0)->Left());
    EXPECT_GT(group->Buttons(3)->Left(), group->Buttons(2)->Left());
    EXPECT_EQ(group->Buttons(6)->Top(), group->Buttons(0)->Top());

    QPointer<TskCheckBox> last = group->Buttons(6);
    group->SetItems(kSeven.mid(0, 6));
    EXPECT_EQ(group->ButtonCount(), 6);
    EXPECT_TRUE(last.isNull());
    group->SetItems(kSeven.mid(0, 6) + QStringList{"Eight"});
    EXPECT_EQ(group->Buttons(6)->Caption(), "Eight");

    // Negative columns and margins are ignored; 0 columns lays out as one.
    group->SetColumns(-1);
    group->SetTopMargin(-3);
    EXPECT_EQ(group->Columns(), 3);
    EXPECT_EQ(group->TopMargin(), 8);
    group->SetColumns(0);
    EXPECT_EQ(group->Buttons(6)->Left(), group->Buttons(0)->Left());
}

TEST_F(RadioGroupTest, ItemIndexAndOneClickPerSelection) {
    group->SetItems(kSeven.mid(0, 3));
    EXPECT_EQ(group->ItemIndex(), -1);
    group->SetItemIndex(1);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    group->SetItemIndex(2);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_FALSE(group->GetChecked(1));
    EXPECT_EQ(clicks, 2);
    group->SetItemIndex(2); // no change
    group->SetItemIndex(3); // the item count: ignored
    group->SetItemIndex(-2);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(clicks, 2);
    group->SetItemIndex(-1);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(clicks, 2); // unchecking is no selection

    // A real click selects; clicking the selected one again does nothing.
    host.form->Show();
    QWidget* second = group->Buttons(1)->Handle();
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(group->ItemIndex(), 1);
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 3);

    // Out-of-range reads answer false; writes change nothing.
    EXPECT_FALSE(group->GetChecked(7));
    EXPECT_FALSE(group->GetItemEnabled(-1));
    group->SetChecked(9, true);
    group->SetItemEnabled(9, false);
    group->SetItemEnabled(0, false);
    EXPECT_FALSE(group->GetItemEnabled(0));
}

TEST_F(CheckGroupTest, EveryCheckAndUncheckClicksTheGroup) {
    group->SetItems(kSeven.mid(0, 3));
    group->SetChecked(0, true);
    group->SetChecked(2, true);
    group->SetChecked(0, false);
    EXPECT_EQ(clicks, 3);
    group->SetChecked(2, true); // already checked
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(group->GetChecked(2));
    // The group's own click counts too.
    group->Click();
    EXPECT_EQ(clicks, 4);
}

TEST_F(RadioGroupTest, FocusGoesToTheCheckedItemAndArrowsSelect) {
    auto* before = host.Add<TskCheckBox>(10, 200);
    before->SetCaption("Before");
    group->SetItems(kSeven.mid(0, 3));
    group->SetItemIndex(1);
    host.form->Show();
    QApplication::setActiveWindow(host.form->Handle());
    before->SetFocus();
    // Tab to the group: its checked item takes the focus and shows it.
    QTest::keyClick(before->Handle(), Qt::Key_Tab);
    EXPECT_TRUE(group->Buttons(1)->Focused());
    // An arrow moves on and selects as it goes.
    QTest::keyClick(group->Buttons(1)->Handle(), Qt::Key_Down);
    EXPECT_TRUE(group->Buttons(2)->Focused());
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(clicks, 2);
}

TEST(SkinnedComponents, LoadFromADescription) {
    RegisterSkinGroupClasses();
    RegisterSkinProgressBarClasses();
    RegisterSkinToolBarClasses();
    TComponentPtr<TForm> form(new TForm(nullptr));
    form->LoadDescriptionText(R"(
object fmGroups: TForm
  ClientWidth = 300
  ClientHeight = 200
  object rgView: TskRadioGroup
    Left = 8
    Top = 8
    Width = 200
    Height = 120
    Caption = 'View'
    UIStyle = BlueGlass
    Columns = 2
    Items = (
      'All Records'
      'Duplicate Records'
      'Checked')
    ItemIndex = 1
  end
  object pbWork: TskProgressBar
    Left = 220
    Top = 8
    UIStyle = WinXP
    Orientation = skVertical
    Position = 30
    CaptionColor = clRed
  end
  object tbMain: TskToolBar
    UIStyle = Protein
    ButtonColor = clWhite
    object tbOpen: TToolButton
      Caption = '&Open'
    end
  end
end
)",
                              "groups");
    auto* group = qobject_cast<TskRadioGroup*>(form->FindComponent("rgView"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->ButtonCount(), 3);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(group->Buttons(0)->UIStyle(), BlueGlass);
    EXPECT_EQ(group->Buttons(2)->Left(), group->Buttons(0)->Left() + 95); // (200 - 10) div 2

    auto* bar = qobject_cast<TskProgressBar*>(form->FindComponent("pbWork"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Caption(), "30%");
    EXPECT_EQ(bar->Height(), 150);
    EXPECT_EQ(bar->Picture()->Height(), 6); // WinXP's, turned
    EXPECT_EQ(bar->CaptionColor(), clRed);
    auto* tools = qobject_cast<TskToolBar*>(form->FindComponent("tbMain"));
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->Transparent());
    EXPECT_EQ(tools->ButtonColor(), clWhite);
    EXPECT_EQ(tools->ButtonCount(), 1);
}
