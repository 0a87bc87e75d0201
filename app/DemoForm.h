// The stand-in window shown until the program's main window exists: the
// window toolkit's controls, built from a form description.
#pragma once

#include "platform/toolkit/CheckLst.h"
#include "platform/toolkit/Edits.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ListView.h"
#include "platform/toolkit/Menus.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/StdCtrls.h"
#include "platform/toolkit/ToolBar.h"

class TfmDemo : public tk::TForm {
    Q_OBJECT
public:
    explicit TfmDemo(tk::TComponent* AOwner);

    tk::TPanel* pnTop = nullptr;
    tk::TButton* btnClose = nullptr;
    tk::TListView* lvItems = nullptr;
    tk::TEdit* edFind = nullptr;
    tk::TStatusBar* sbMain = nullptr;
    tk::TToolBar* tbMenu = nullptr;

private:
    void FormCreate(tk::TObject* Sender);
    void FormCanResize(tk::TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize);
    void btnCloseClick(tk::TObject* Sender);
    void miFileExitClick(tk::TObject* Sender);
    void miViewClick(tk::TObject* Sender);
    void miHelpAboutClick(tk::TObject* Sender);
    void edFindChange(tk::TObject* Sender);
    void lvItemsCustomDrawItem(tk::TObject* Sender, tk::TListItem* Item, tk::TCustomDrawState State,
                               bool& DefaultDraw);
    void lvItemsSelectItem(tk::TObject* Sender, tk::TListItem* Item, bool Selected);
    void FillList();
};
