// The gallery page of the skinned lists, scroll bars, track bars and edit
// boxes.
#include <QApplication>

#include "skin/SKEdit.h"
#include "skin/SKListView.h"
#include "skin/SKScrollBar.h"
#include "skin/SKTrackBar.h"
#include "tools/skingallery/Gallery.h"

using namespace tk;
using namespace sk;

namespace gallery {

namespace {

const char* const kColumns[] = {"Display Name", "Email",      "Company",
                                "Title",        "Home Phone", "Work Phone"};
const int kWidths[] = {110, 150, 90, 70, 90, 90};

void Fill(TskListView* list, int rows) {
    for (int c = 0; c < 6; ++c) {
        list->AddColumn(QString::fromLatin1(kColumns[c]), kWidths[c]);
    }
    for (int i = 0; i < rows; ++i) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(QStringLiteral("Contact %1").arg(i + 1, 2, 10, QLatin1Char('0')));
        item->AddSubItem(QStringLiteral("contact%1@example.org").arg(i + 1));
        item->AddSubItem(QStringLiteral("Brindle & Co"));
        item->AddSubItem(QStringLiteral("Clerk"));
        item->AddSubItem(QStringLiteral("+1 555 01%1").arg(i, 2, 10, QLatin1Char('0')));
        item->AddSubItem(QStringLiteral("+1 555 02%1").arg(i, 2, 10, QLatin1Char('0')));
    }
}

TskListView* MakeList(TForm* f, const Page& page, const TRect& r, int rows) {
    auto* list = Make<TskListView>(f, f, page, r.Left, r.Top);
    list->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    list->SetViewStyle(vsReport);
    list->SetRowSelect(true);
    list->SetReadOnly(true);
    list->SetHideSelection(false);
    Fill(list, rows);
    return list;
}

// The contact list of the main window: duplicates drawn blue, scrolled by
// skinned bars that lie over its own.
void ListWithBars(TForm* f, const Page& page) {
    Label(f, f, 12, 30, "TskListView with linked TskScrollBar controls");
    TskListView* list = MakeList(f, page, Rect(12, 48, 372, 218), 40);
    list->SetCheckboxes(true);
    list->OnCustomDrawItem = [list](TObject*, TListItem* item, TCustomDrawState, bool&) {
        list->Canvas()->Font()->SetColor(item->Index() % 3 == 1 ? clBlue : clBlack);
    };
    list->SetVScrollBar(Make<TskScrollBar>(f, f, page, 0, 0));
    list->SetHScrollBar(Make<TskScrollBar>(f, f, page, 0, 0));
    for (int i : {1, 4, 5}) {
        list->Items()->Item(i)->SetChecked(true);
    }
    list->Items()->Item(0)->SetSelected(true);
    list->Items()->Item(6)->MakeVisible();

    Label(f, f, 396, 30, "TskListView with its own bars");
    MakeList(f, page, Rect(396, 48, 606, 218), 6);
}

void TrackAndScrollBars(TForm* f, const Page& page) {
    Label(f, f, 12, 230, "TskTrackBar both ways; TskScrollBar both ways");
    auto* track = Make<TskTrackBar>(f, f, page, 12, 250);
    track->SetWidth(200);
    track->SetPosition(3);
    auto* wide = Make<TskTrackBar>(f, f, page, 12, 280);
    wide->SetWidth(200);
    wide->SetMax(100);
    wide->SetFrequency(10);
    wide->SetPosition(75);
    auto* upright = Make<TskTrackBar>(f, f, page, 222, 250);
    upright->SetOrientation(skVertical);
    upright->SetHeight(120);
    upright->SetPosition(7);

    auto* across = Make<TskScrollBar>(f, f, page, 12, 320);
    across->SetWidth(200);
    across->SetPageSize(30);
    across->SetPosition(40);
    auto* hover = Make<TskScrollBar>(f, f, page, 12, 346);
    hover->SetWidth(200);
    hover->SetLineButton(24);
    hover->SetPosition(100);
    hover->DecButton()->Perform(CM_MOUSEENTER);
    auto* down = Make<TskScrollBar>(f, f, page, 262, 250);
    down->SetOrientation(skVertical);
    down->SetHeight(120);
    down->SetPageSize(50);
    down->SetPosition(60);
    down->IncButton()->Perform(CM_MOUSEENTER);
    down->IncButton()->Perform(WM_LBUTTONDOWN, ssLeft, MakeLParam(4, 4));
}

void Edits(TForm* f, const Page& page) {
    Label(f, f, 300, 230, "TskEdit: normal, disabled; TskMaskEdit");
    auto* name = Make<TskEdit>(f, f, page, 300, 248);
    name->SetBounds(300, 248, 251, 19);
    name->SetText("/home/quenby/.local/share/wab/quenby.wab");
    auto* off = Make<TskEdit>(f, f, page, 300, 272);
    off->SetBounds(300, 272, 251, 19);
    off->SetText("Disabled");
    off->SetEnabled(false);
    auto* phone = Make<TskMaskEdit>(f, f, page, 300, 296);
    phone->SetBounds(300, 296, 120, 21);
    phone->SetEditMask("(999) 000-0000;1;_");
    phone->SetText("(555) 012-3456");

    Label(f, f, 300, 324, "TskNumberEdit, TskSpinEdit");
    auto* amount = Make<TskNumberEdit>(f, f, page, 300, 342);
    amount->SetMask("#,##0.00");
    amount->SetValue(1234.5);
    Make<TskNumberEdit>(f, f, page, 430, 342)->SetWidth(80);
    auto* spin = Make<TskSpinEdit>(f, f, page, 520, 342);
    spin->SetWidth(70);
    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    spin->SetValue(7);
}

} // namespace

QImage RenderListsPage(const Page& page, const QString& title) {
    RegisterSkinListViewClasses();
    TComponentPtr<TForm> form(new TForm(nullptr));
    form->SetBorderStyle(bsSizeable);
    form->SetBounds(0, 0, 620, 400);
    form->SetColor(FaceColour(page));
    form->Font()->SetName("Tahoma");
    form->Font()->SetHeight(-11);
    TForm* f = form.get();

    auto* heading = Label(f, f, 12, 8, title + ": lists, scroll bars, track bars, edit boxes");
    heading->SetWidth(560);
    heading->Font()->SetStyle(fsBold);
    ListWithBars(f, page);
    TrackAndScrollBars(f, page);
    Edits(f, page);

    form->Show();
    for (int i = 0; i < 4; ++i) {
        QApplication::processEvents();
    }
    return form->Handle()->grab().toImage();
}

} // namespace gallery
