#include "skin/frmThemeMgr.h"

namespace sk {

TfrmMgr::TfrmMgr(tk::TComponent* AOwner) : tk::TForm(AOwner) {}
void TfrmMgr::btn_unselClick(tk::TObject*) {}
void TfrmMgr::btn_selClick(tk::TObject*) {}

} // namespace sk
