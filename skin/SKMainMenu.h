// The skinned main menu: its top-level items are the buttons of a skinned
// form's menu bar, and its drop-down menus are drawn by the skin.
#pragma once

#include <QPointer>

#include "skin/SKMenu.h"

namespace sk {

class TskForm;

class TskMainMenu : public tk::TMainMenu, public TskMenuSkin {
    Q_OBJECT
    SK_MENU_SKIN_PROPERTIES

public:
    // With a form as owner the form's native menu is dropped and the form's
    // first skinned form shows this menu.
    explicit TskMainMenu(tk::TComponent* AOwner);
    ~TskMainMenu() override;

    bool OwnerDraw() const override { return true; }
    void SetOwnerDraw(bool) override {}
    // Asks the linked form to refresh its menu bar's font.
    void SetUseSystemFont(bool Value) override;

    // The skinned form showing this menu; set and cleared by that form.
    TskForm* LinkedForm() const { return m_form.data(); }
    void SetLinkedForm(TskForm* Form) { m_form = Form; }

    void Loaded() override;

protected:
    const tk::TCustomImageList* CheckImages() const override { return m_checkMarks.get(); }
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;
    void MenuChanged(tk::TObject* Sender, tk::TMenuItem* Source, bool Rebuild) override;

private:
    tk::TComponentPtr<tk::TImageList> m_checkMarks;
    QPointer<TskForm> m_form;
};

} // namespace sk
