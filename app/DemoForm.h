// The stand-in window shown until the program's main window exists.
#pragma once

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"

class TfmDemo : public tk::TForm {
    Q_OBJECT
public:
    explicit TfmDemo(tk::TComponent* AOwner);

    tk::TPanel* pnTop = nullptr;
    tk::TPanel* pnClient = nullptr;
    tk::TButton* btnClose = nullptr;

private:
    void FormCreate(tk::TObject* Sender);
    void FormCanResize(tk::TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize);
    void btnCloseClick(tk::TObject* Sender);
};
