// The dialog that picks which components of a form a theme manager manages.
#pragma once

#include "platform/toolkit/CheckLst.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"

namespace sk {

class TfrmMgr : public tk::TForm {
    Q_OBJECT

public:
    explicit TfrmMgr(tk::TComponent* AOwner);

    tk::TCheckListBox* List = nullptr;
    tk::TButton* btn_unsel = nullptr;
    tk::TButton* btn_sel = nullptr;
    tk::TButton* btn_ok = nullptr;

    void btn_unselClick(tk::TObject* Sender);
    void btn_selClick(tk::TObject* Sender);
};

} // namespace sk
