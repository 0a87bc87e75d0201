#include "skin/SKMainMenu.h"

#include "platform/toolkit/Forms.h"
#include "skin/SKForm.h"

namespace sk {

using namespace tk;

TskMainMenu::TskMainMenu(TComponent* AOwner)
    : TMainMenu(AOwner), TskMenuSkin(this), m_checkMarks(MakeCheckMarkList()) {
    SetUIStyle(UIStyle());
    auto* form = qobject_cast<TCustomForm*>(AOwner);
    if (!form) {
        return;
    }
    form->SetMenu(nullptr);
    for (TControl* c : form->ControlList()) {
        if (auto* skinned = qobject_cast<TskForm*>(c)) {
            skinned->SetMenu(this);
            break;
        }
    }
}

TskMainMenu::~TskMainMenu() = default;

void TskMainMenu::SetUseSystemFont(bool Value) {
    TskMenuSkin::SetUseSystemFont(Value);
    if (m_form) {
        m_form->RepaintMenuBar();
    }
}

void TskMainMenu::Loaded() {
    TMainMenu::Loaded();
    MenuAdded();
    if (m_form) {
        m_form->UpdateMenu();
    }
}

void TskMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMainMenu::Notification(AComponent, Operation);
    SkinNotification(AComponent, Operation);
}

void TskMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
    TMainMenu::MenuChanged(Sender, Source, Rebuild);
    if (Rebuild) {
        MenuAdded();
    }
    if (!m_form || !qobject_cast<TCustomForm*>(Owner())) {
        return;
    }
    // Top-level items that came, went or were hidden change the bar's
    // buttons; anything else only their captions and states (an open
    // drop-down filling itself keeps its button).
    const bool topLevel = !Source || Source == Items() || Source->Parent() == Items();
    if (Rebuild && topLevel) {
        m_form->UpdateMenu();
    } else {
        m_form->UpdateTopMenu();
    }
}

} // namespace sk
