// The options dialog: which address book to open and which fields make two
// contacts duplicates. It works on the main window's settings block.
#pragma once

#include "platform/toolkit/Forms.h"

namespace sk {
class TskButton;
class TskCheckBox;
class TskEdit;
class TskForm;
class TskGroupBox;
class TskRadioButton;
} // namespace sk

class TfmOption : public tk::TForm {
    Q_OBJECT
public:
    explicit TfmOption(tk::TComponent* AOwner);
    ~TfmOption() override;

    sk::TskForm* skForm1 = nullptr;
    sk::TskGroupBox* skGroupBox2 = nullptr;
    sk::TskRadioButton* rbtnDefault = nullptr;
    sk::TskRadioButton* rbtnOther = nullptr;
    sk::TskEdit* edtName = nullptr;
    sk::TskButton* sbtnBrowse = nullptr;
    sk::TskGroupBox* skGroupBox1 = nullptr;
    sk::TskCheckBox* cbtnEmail = nullptr;
    sk::TskCheckBox* cbtnName = nullptr;
    sk::TskButton* sbtnOK = nullptr;
    sk::TskButton* sbtnCancel = nullptr;

    // The file chosen here; a copy of the main window's when the dialog opens.
    char m_szFileName[260];
    // OK changed the main window's address-book file.
    bool m_bChanged;

    void FormCreate(tk::TObject* Sender);
    void rbtnDefaultClick(tk::TObject* Sender);
    void rbtnOtherClick(tk::TObject* Sender);
    void sbtnBrowseClick(tk::TObject* Sender);
    void sbtnOKClick(tk::TObject* Sender);
};

// The options dialog most recently created.
extern TfmOption* fmOption;
