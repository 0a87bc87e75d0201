// The about dialog: the program's icon, name and version, the maker's notice
// and a legal warning. Created and freed for each showing.
#pragma once

#include "platform/toolkit/Forms.h"

class TfmAbout : public tk::TForm {
    Q_OBJECT
public:
    explicit TfmAbout(tk::TComponent* AOwner);
};
