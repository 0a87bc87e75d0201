#include "app/Option.h"

#include <cstring>

#include "app/Main.h"
#include "app/SkinClasses.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Qt.h"
#include "skin/SKButton.h"
#include "skin/SKEdit.h"
#include "skin/SKForm.h"
#include "skin/SKGroupBox.h"

TfmOption* fmOption = nullptr;

TfmOption::TfmOption(tk::TComponent* AOwner)
    : tk::TForm(AOwner), m_szFileName{}, m_bChanged(false) {
    RegisterSkinClasses();
    RegisterHandler("FormCreate", &TfmOption::FormCreate);
    RegisterHandler("rbtnDefaultClick", &TfmOption::rbtnDefaultClick);
    RegisterHandler("rbtnOtherClick", &TfmOption::rbtnOtherClick);
    RegisterHandler("sbtnBrowseClick", &TfmOption::sbtnBrowseClick);
    RegisterHandler("sbtnOKClick", &TfmOption::sbtnOKClick);
    LoadDescription(QStringLiteral(":/forms/Option.form"));
    skForm1 = FindPart<sk::TskForm>(this, "skForm1");
    skGroupBox2 = FindPart<sk::TskGroupBox>(this, "skGroupBox2");
    rbtnDefault = FindPart<sk::TskRadioButton>(this, "rbtnDefault");
    rbtnOther = FindPart<sk::TskRadioButton>(this, "rbtnOther");
    edtName = FindPart<sk::TskEdit>(this, "edtName");
    sbtnBrowse = FindPart<sk::TskButton>(this, "sbtnBrowse");
    skGroupBox1 = FindPart<sk::TskGroupBox>(this, "skGroupBox1");
    cbtnEmail = FindPart<sk::TskCheckBox>(this, "cbtnEmail");
    cbtnName = FindPart<sk::TskCheckBox>(this, "cbtnName");
    sbtnOK = FindPart<sk::TskButton>(this, "sbtnOK");
    sbtnCancel = FindPart<sk::TskButton>(this, "sbtnCancel");
    fmOption = this;
    DoCreate();
}

TfmOption::~TfmOption() {
    if (fmOption == this) {
        fmOption = nullptr;
    }
}

void TfmOption::FormCreate(tk::TObject* /*Sender*/) {
    if (fmMain->m_szWabName[0] == '\0') {
        rbtnDefault->SetChecked(true);
        sbtnBrowse->SetEnabled(false);
    } else {
        rbtnOther->SetChecked(true);
        sbtnBrowse->SetEnabled(true);
    }
    cbtnEmail->SetChecked(fmMain->m_bCheckMail);
    cbtnName->SetChecked(fmMain->m_bCheckName);
    edtName->SetText(QString::fromUtf8(fmMain->m_szWabName));
    std::memcpy(m_szFileName, fmMain->m_szWabName, sizeof m_szFileName);
}

void TfmOption::rbtnDefaultClick(tk::TObject* /*Sender*/) {
    sbtnBrowse->SetEnabled(false);
}

void TfmOption::rbtnOtherClick(tk::TObject* /*Sender*/) {
    sbtnBrowse->SetEnabled(true);
}

void TfmOption::sbtnBrowseClick(tk::TObject* /*Sender*/) {
    char szFile[260] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = HwndFromWidget(Handle());
    ofn.hInstance = nullptr; // the program's own module
    ofn.lpstrFilter = "WAB File(*.wab)\0*.wab\0";
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof szFile - 1;
    ofn.lpstrTitle = "Open Windows Address Book File";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (GetOpenFileNameA(&ofn)) {
        std::memcpy(m_szFileName, szFile, sizeof m_szFileName);
        edtName->SetText(QString::fromUtf8(m_szFileName));
    }
}

void TfmOption::sbtnOKClick(tk::TObject* /*Sender*/) {
    if (!cbtnEmail->Checked() && !cbtnName->Checked()) {
        MessageBoxA(HwndFromWidget(Handle()),
                    "You must set at lease one criteria to check duplicate contact record.",
                    "Error", MB_OK | MB_ICONERROR);
        return;
    }
    fmMain->m_bCheckName = cbtnName->Checked();
    fmMain->m_bCheckMail = cbtnEmail->Checked();
    if (rbtnDefault->Checked()) {
        m_szFileName[0] = '\0';
    }
    if (std::strcmp(m_szFileName, fmMain->m_szWabName) != 0) {
        std::memcpy(fmMain->m_szWabName, m_szFileName, sizeof m_szFileName);
        m_bChanged = true;
    }
    SetModalResult(tk::mrOk);
}
