// The skinned popup menu: context menus, and the base of the title bar's
// system menu.
#pragma once

#include "skin/SKMenu.h"

namespace sk {

class TskPopupMenu : public tk::TPopupMenu, public TskMenuSkin {
    Q_OBJECT
    SK_MENU_SKIN_PROPERTIES

public:
    explicit TskPopupMenu(tk::TComponent* AOwner);
    ~TskPopupMenu() override;

    bool OwnerDraw() const override { return true; }
    void SetOwnerDraw(bool) override {}

    void Loaded() override;

protected:
    const tk::TCustomImageList* CheckImages() const override;
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;
    void MenuChanged(tk::TObject* Sender, tk::TMenuItem* Source, bool Rebuild) override;
};

} // namespace sk
