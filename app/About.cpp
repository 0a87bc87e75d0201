#include "app/About.h"

#include "app/SkinClasses.h"

TfmAbout::TfmAbout(tk::TComponent* AOwner) : tk::TForm(AOwner) {
    RegisterSkinClasses();
    LoadDescription(QStringLiteral(":/forms/About.form"));
    DoCreate();
}
