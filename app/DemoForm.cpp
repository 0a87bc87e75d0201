#include "app/DemoForm.h"

#include "platform/win32/Win32.h"
#include "platform/win32/Win32Qt.h"

namespace {

struct SampleContact {
    const char* name;
    const char* email;
    const char* company;
    bool duplicate;
};

// A few contacts to show the list with; the duplicates are drawn in blue.
constexpr SampleContact kSamples[] = {
    {"Ada Lovelace", "ada@analytical.example", "Analytical Engines", true},
    {"Ada Lovelace", "ada@analytical.example", "", true},
    {"Charles Babbage", "charles@difference.example", "Analytical Engines", false},
    {"Grace Hopper", "grace@cobol.example", "Navy", true},
    {"G. Hopper", "grace@cobol.example", "", true},
    {"Alan Turing", "alan@bletchley.example", "Bletchley Park", false},
    {"Katherine Johnson", "katherine@nasa.example", "NASA", false},
};

} // namespace

TfmDemo::TfmDemo(tk::TComponent* AOwner) : tk::TForm(AOwner) {
    RegisterHandler("FormCreate", &TfmDemo::FormCreate);
    RegisterHandler("FormCanResize", &TfmDemo::FormCanResize);
    RegisterHandler("btnCloseClick", &TfmDemo::btnCloseClick);
    RegisterHandler("miFileExitClick", &TfmDemo::miFileExitClick);
    RegisterHandler("miViewClick", &TfmDemo::miViewClick);
    RegisterHandler("miHelpAboutClick", &TfmDemo::miHelpAboutClick);
    RegisterHandler("edFindChange", &TfmDemo::edFindChange);
    RegisterHandler("lvItemsCustomDrawItem", &TfmDemo::lvItemsCustomDrawItem);
    RegisterHandler("lvItemsSelectItem", &TfmDemo::lvItemsSelectItem);
    LoadDescription(QStringLiteral(":/forms/Demo.form"));
    pnTop = qobject_cast<tk::TPanel*>(FindComponent("pnTop"));
    btnClose = qobject_cast<tk::TButton*>(FindComponent("btnClose"));
    lvItems = qobject_cast<tk::TListView*>(FindComponent("lvItems"));
    edFind = qobject_cast<tk::TEdit*>(FindComponent("edFind"));
    sbMain = qobject_cast<tk::TStatusBar*>(FindComponent("sbMain"));
    tbMenu = qobject_cast<tk::TToolBar*>(FindComponent("tbMenu"));
    DoCreate();
}

void TfmDemo::FormCreate(tk::TObject* /*Sender*/) {
    FillList();
}

void TfmDemo::FillList() {
    lvItems->Items()->Clear();
    const QString filter = edFind->Text().trimmed();
    const bool duplicatesOnly = qobject_cast<tk::TMenuItem*>(FindComponent("miViewDup"))->Checked();
    for (const SampleContact& c : kSamples) {
        const QString name = QString::fromUtf8(c.name);
        if ((duplicatesOnly && !c.duplicate) ||
            (!filter.isEmpty() && !name.contains(filter, Qt::CaseInsensitive))) {
            continue;
        }
        tk::TListItem* item = lvItems->Items()->Add();
        item->SetCaption(name);
        item->AddSubItem(QString::fromUtf8(c.email));
        item->AddSubItem(QString::fromUtf8(c.company));
        item->SetData(const_cast<SampleContact*>(&c));
    }
    if (lvItems->Items()->Count() > 0) {
        lvItems->Items()->Item(0)->SetSelected(true);
    }
    sbMain->Panel(1)->SetText(QStringLiteral("%1 contacts").arg(lvItems->Items()->Count()));
}

void TfmDemo::FormCanResize(tk::TObject* /*Sender*/, int& NewWidth, int& NewHeight, bool& Resize) {
    // Small enough to be useless is refused rather than clipped.
    Resize = NewWidth >= 400 && NewHeight >= 300;
}

void TfmDemo::btnCloseClick(tk::TObject* /*Sender*/) {
    Close();
}

void TfmDemo::miFileExitClick(tk::TObject* /*Sender*/) {
    Close();
}

void TfmDemo::miViewClick(tk::TObject* Sender) {
    auto* all = qobject_cast<tk::TMenuItem*>(FindComponent("miViewAll"));
    auto* dup = qobject_cast<tk::TMenuItem*>(FindComponent("miViewDup"));
    all->SetChecked(Sender == all);
    dup->SetChecked(Sender == dup);
    FillList();
}

void TfmDemo::miHelpAboutClick(tk::TObject* /*Sender*/) {
    MessageBoxA(HwndFromWidget(Handle()),
                "Quenby for WAB cleans duplicate contacts out of an address book.\n\n"
                "This is the toolkit's demo window; the main window is on its way.",
                "About Quenby for WAB", MB_OK | MB_ICONINFORMATION);
}

void TfmDemo::edFindChange(tk::TObject* /*Sender*/) {
    FillList();
}

void TfmDemo::lvItemsCustomDrawItem(tk::TObject* /*Sender*/, tk::TListItem* Item,
                                    tk::TCustomDrawState /*State*/, bool& /*DefaultDraw*/) {
    const auto* c = static_cast<const SampleContact*>(Item->Data());
    lvItems->Canvas()->Font()->SetColor(c && c->duplicate ? tk::clBlue : tk::clBlack);
}

void TfmDemo::lvItemsSelectItem(tk::TObject* /*Sender*/, tk::TListItem* Item, bool Selected) {
    if (Selected) {
        sbMain->Panel(0)->SetText(Item->Caption());
    }
}
