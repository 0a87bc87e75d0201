// Actions shared by a menu item, a tool button and a control of its own: what
// each takes from the action, ActionChange on every change, running through
// the action, and an action that goes away.
#include <gtest/gtest.h>

#include "platform/toolkit/Actions.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Menus.h"
#include "platform/toolkit/ToolBar.h"

using namespace tk;

namespace {

// A control that takes an action, as the skin's buttons do.
class TActionButton : public TCustomControl, public TActionClient {
    Q_OBJECT
    Q_PROPERTY(tk::TBasicAction* Action READ Action WRITE SetAction)
public:
    explicit TActionButton(TComponent* owner) : TCustomControl(owner) {}
    int changes = 0;
    TBasicAction* lastSender = nullptr;
    int imageCount = -1;

protected:
    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override {
        ApplyActionToControl(*this, Sender, CheckDefaults);
        ++changes;
        lastSender = Sender;
        if (auto* a = qobject_cast<TCustomAction*>(Sender); a && a->Images()) {
            imageCount = a->Images()->Count();
        }
    }
};

class TfmActions : public TForm {
    Q_OBJECT
public:
    explicit TfmActions(TComponent* owner) : TForm(owner) {
        RegisterClass<TActionButton>();
        RegisterHandler("actOpenExecute", TNotifyEvent([this](TObject* s) {
                            ++executed;
                            by = static_cast<TBasicAction*>(s)->ActionComponent();
                        }));
        LoadDescriptionText(R"(
object fmActions: TfmActions
  BorderStyle = bsNone
  ClientWidth = 200
  ClientHeight = 100
  object ilGlyphs: TImageList
    Width = 16
    Height = 16
  end
  object alMain: TActionList
    Images = ilGlyphs
    object actOpen: TAction
      Caption = '&Open'
      ImageIndex = 1
      ShortCut = 16463
      OnExecute = actOpenExecute
    end
  end
  object mnMain: TMainMenu
    Images = ilGlyphs
    object miFile: TMenuItem
      Caption = '&File'
      object miOpen: TMenuItem
        Action = actOpen
      end
    end
  end
  object tbMain: TToolBar
    Images = ilGlyphs
    object tbOpen: TToolButton
      Action = actOpen
    end
  end
  object btOpen: TActionButton
    Caption = 'Keep'
    Action = actOpen
  end
end
)",
                            "actions.form");
    }
    int executed = 0;
    TComponent* by = nullptr;
};

template <class T> T* Find(TComponent* form, const char* name) {
    auto* c = qobject_cast<T*>(form->FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

} // namespace

TEST(Actions, ClientsTakeTheActionsStateAndRunThroughIt) {
    RegisterToolkitClasses();
    TComponentPtr<TfmActions> form(new TfmActions(nullptr));
    auto* action = Find<TAction>(form.get(), "actOpen");
    auto* list = Find<TActionList>(form.get(), "alMain");
    auto* item = Find<TMenuItem>(form.get(), "miOpen");
    auto* button = Find<TToolButton>(form.get(), "tbOpen");
    auto* control = Find<TActionButton>(form.get(), "btOpen");
    auto* images = Find<TImageList>(form.get(), "ilGlyphs");
    ASSERT_TRUE(action && item && button && control && images);
    EXPECT_EQ(action->ActionList(), list);
    EXPECT_EQ(list->ActionCount(), 1);

    EXPECT_EQ(item->Caption(), "&Open");
    EXPECT_EQ(item->ImageIndex(), 1);
    EXPECT_EQ(item->ShortCutText(), "Ctrl+O");
    EXPECT_EQ(button->Caption(), "&Open");
    EXPECT_EQ(button->ImageIndex(), 1);
    // A caption read from the description is the control's own.
    EXPECT_EQ(control->Caption(), "Keep");

    // Every change reaches every client.
    const int before = control->changes;
    action->SetEnabled(false);
    EXPECT_FALSE(item->Enabled());
    EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(control->Enabled());
    EXPECT_EQ(control->changes, before + 1);
    EXPECT_EQ(control->lastSender, action);
    action->SetChecked(true);
    EXPECT_TRUE(item->Checked());
    EXPECT_TRUE(button->Down());
    action->SetCaption("&Open...");
    EXPECT_EQ(control->Caption(), "&Open...");

    // The image list of the action's list, as a glyph source.
    TBitmap glyph(32, 16);
    images->Add(glyph);
    EXPECT_EQ(control->imageCount, 2);

    // Clicking a client runs the action unless it is disabled.
    item->SetEnabled(true);
    item->Click();
    EXPECT_EQ(form->executed, 0);
    action->SetEnabled(true);
    item->Click();
    button->Click();
    EXPECT_EQ(form->executed, 2);
    EXPECT_EQ(form->by, button);
    EXPECT_TRUE(list->IsShortCut('O', ssCtrl));
    EXPECT_EQ(form->executed, 3);

    // An action that goes away leaves its clients as they are, unlinked.
    action->Free();
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_EQ(control->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 0);
    EXPECT_EQ(item->Caption(), "&Open...");
    item->Click();
    EXPECT_EQ(form->executed, 3);
}

#include "MenusActionsTest.moc"
