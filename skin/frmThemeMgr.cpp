#include "skin/frmThemeMgr.h"

#include <QtGlobal>

// The form description is compiled into the static skin library, whose
// resources are registered on first use.
static void InitSkinResources() {
    Q_INIT_RESOURCE(skin);
}

namespace sk {

TfrmMgr::TfrmMgr(tk::TComponent* AOwner) : tk::TForm(AOwner) {
    InitSkinResources();
    tk::RegisterToolkitClasses();
    RegisterHandler("btn_unselClick", &TfrmMgr::btn_unselClick);
    RegisterHandler("btn_selClick", &TfrmMgr::btn_selClick);
    LoadDescription(QStringLiteral(":/forms/frmThemeMgr.form"));
    List = qobject_cast<tk::TCheckListBox*>(FindComponent("List"));
    btn_unsel = qobject_cast<tk::TButton*>(FindComponent("btn_unsel"));
    btn_sel = qobject_cast<tk::TButton*>(FindComponent("btn_sel"));
    btn_ok = qobject_cast<tk::TButton*>(FindComponent("btn_ok"));
    DoCreate();
}

void TfrmMgr::btn_unselClick(tk::TObject* /*Sender*/) {
    for (int i = 0; i < List->Count(); ++i) {
        List->SetChecked(i, false);
    }
}

void TfrmMgr::btn_selClick(tk::TObject* /*Sender*/) {
    for (int i = 0; i < List->Count(); ++i) {
        List->SetChecked(i, true);
    }
}

} // namespace sk
