#include "skin/SKPopupMenu.h"

namespace sk {

using namespace tk;

TskPopupMenu::TskPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner), TskMenuSkin(this) {
    SetUIStyle(UIStyle());
}

TskPopupMenu::~TskPopupMenu() = default;

void TskPopupMenu::Loaded() {
    TPopupMenu::Loaded();
    MenuAdded();
}

const TCustomImageList* TskPopupMenu::CheckImages() const {
    // One list for every popup menu of the process.
    static const TComponentPtr<TImageList> marks = MakeCheckMarkList();
    return marks.get();
}

void TskPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TPopupMenu::Notification(AComponent, Operation);
    SkinNotification(AComponent, Operation);
}

void TskPopupMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
    TPopupMenu::MenuChanged(Sender, Source, Rebuild);
    // Items added later draw as the menu's too.
    if (Rebuild) {
        MenuAdded();
    }
}

} // namespace sk
