#include "app/DemoForm.h"

TfmDemo::TfmDemo(tk::TComponent* AOwner) : tk::TForm(AOwner) {
    RegisterHandler("FormCreate", &TfmDemo::FormCreate);
    RegisterHandler("FormCanResize", &TfmDemo::FormCanResize);
    RegisterHandler("btnCloseClick", &TfmDemo::btnCloseClick);
    LoadDescription(QStringLiteral(":/forms/Demo.form"));
    pnTop = qobject_cast<tk::TPanel*>(FindComponent("pnTop"));
    pnClient = qobject_cast<tk::TPanel*>(FindComponent("pnClient"));
    btnClose = qobject_cast<tk::TButton*>(FindComponent("btnClose"));
    DoCreate();
}

void TfmDemo::FormCreate(tk::TObject* /*Sender*/) {
    ActiveControl();
}

void TfmDemo::FormCanResize(tk::TObject* /*Sender*/, int& NewWidth, int& NewHeight, bool& Resize) {
    // Small enough to be useless is refused rather than clipped.
    Resize = NewWidth >= 320 && NewHeight >= 200;
}

void TfmDemo::btnCloseClick(tk::TObject* /*Sender*/) {
    Close();
}
