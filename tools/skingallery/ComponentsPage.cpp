// The gallery page of the skinned MDI frame (its children tiled, cascaded and
// one maximised), the pop-up notice, progress bars, tool bars and the radio
// and check groups.
#include <QApplication>
#include <QPainter>

#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/MDI.h"
#include "skin/SKButton.h"
#include "skin/SKForm.h"
#include "skin/SKMainMenu.h"
#include "skin/SKMenu.h"
#include "skin/SKProgressBar.h"
#include "skin/SKRadioGroup.h"
#include "skin/SKToolBar.h"
#include "skin/frmMSNPop.h"
#include "tools/skingallery/Gallery.h"

using namespace tk;
using namespace sk;

namespace gallery {

namespace {

enum class Arrangement { Tiled, Cascaded, Maximised };

// Room for three children side by side at the BlueGlass minimum width.
constexpr QSize kWideFrame(836, 250);
constexpr QSize kFrameSize(410, 250);

TMainMenu* MenuOf(TForm* owner, const Page& page, const QStringList& captions) {
    auto* menu = new TskMainMenu(owner); // owned by the form
    menu->SetFileTheme(page.theme);
    menu->SetUIStyle(page.style);
    for (const QString& caption : captions) {
        auto* item = new TMenuItem(owner); // owned by the form
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    return menu;
}

TForm* AddChild(TMDIForm* host, const Page& page, const QString& caption, bool withMenu) {
    auto* child = new TForm(host); // owned by the frame's form
    child->SetCaption(caption);
    child->Font()->SetName("Tahoma");
    child->Font()->SetHeight(-11);
    child->SetBounds(0, 0, 180, 120);
    host->AddMDIChild(child);
    auto* skinned = new TskForm(child); // owned by the child; takes it over
    skinned->SetFileTheme(page.theme);
    skinned->SetUIStyle(page.style);
    if (withMenu) {
        MenuOf(child, page, {"&Edit", "&View"});
    }
    auto* button = Make<TskButton>(child, skinned, page, 10, 44);
    button->SetBounds(10, 44, 80, 27);
    button->SetCaption("&OK");
    button->SetTransparent(true);
    child->Show();
    return child;
}

// One MDI window with three children, as the screen shows it.
QImage RenderFrame(const Page& page, Arrangement arrangement) {
    TComponentPtr<TMDIForm> host(new TMDIForm(nullptr));
    const QSize size = arrangement == Arrangement::Tiled ? kWideFrame : kFrameSize;
    host->SetBounds(0, 0, size.width(), size.height());
    host->Font()->SetName("Verdana");
    host->Font()->SetHeight(-11);
    host->SetCaption(arrangement == Arrangement::Tiled      ? "TskMDIForm: tiled"
                     : arrangement == Arrangement::Cascaded ? "TskMDIForm: cascaded"
                                                            : "TskMDIForm: maximised");
    auto* frame = new TskMDIForm(host.get()); // owned by the form
    frame->SetFileTheme(page.theme);
    frame->SetUIStyle(page.style);
    frame->SetMenu(MenuOf(host.get(), page, {"&File", "&Window", "&Help"}));
    host->Show();
    TForm* first = AddChild(host.get(), page, "Contacts", false);
    AddChild(host.get(), page, "Groups", false);
    TForm* last = AddChild(host.get(), page, "Notes (own menu)", true);
    switch (arrangement) {
    case Arrangement::Tiled:
        host->SetTileMode(tbVertical);
        host->Tile();
        break;
    case Arrangement::Cascaded:
        host->Cascade();
        break;
    case Arrangement::Maximised:
        host->Cascade();
        first->BringToFront();
        first->SetWindowState(wsMaximized);
        break;
    }
    (void)last;
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
    QImage shot = host->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Outside the window's shape the desk shows.
    QImage shaped(shot.size(), QImage::Format_RGB32);
    shaped.fill(QColor(128, 128, 128));
    QPainter p(&shaped);
    p.setClipRegion(frame->WindowRegion().ToQ());
    p.drawImage(0, 0, shot);
    return shaped;
}

QImage RenderNotice(const Page& page) {
    TComponentPtr<TskMSNPopForm> notice(new TskMSNPopForm(nullptr));
    (void)page; // the notice has one look
    notice->SetAnimateTime(0);
    notice->SetTitle("Quenby for WAB");
    notice->SetMessageText("12 duplicate contacts were deleted from your address book.");
    notice->Popup();
    QApplication::processEvents();
    return notice->Window()->Handle()->grab().toImage();
}

void ProgressBars(TForm* f, const Page& page) {
    Label(f, f, 12, 30, "TskProgressBar: 50%, smart caption at 0, 150 of 100, vertical");
    auto* half = Make<TskProgressBar>(f, f, page, 12, 50);
    half->SetPosition(50);
    auto* start = Make<TskProgressBar>(f, f, page, 12, 70);
    start->SetPosition(0);
    start->SetSmartShowCaption(true);
    auto* over = Make<TskProgressBar>(f, f, page, 12, 90);
    over->SetPosition(150);
    auto* wide = Make<TskProgressBar>(f, f, page, 12, 110);
    wide->SetBounds(12, 110, 300, 18);
    wide->SetPosition(73);
    for (int i = 0; i < 3; ++i) {
        auto* upright = Make<TskProgressBar>(f, f, page, 330 + 24 * i, 30);
        upright->SetOrientation(skVertical);
        upright->SetHeight(98);
        upright->SetPosition(25 + 35 * i);
    }
}

TskToolBar* ToolBar(TForm* f, const Page& page, TCustomImageList* images, int top, bool list) {
    auto* bar = Make<TskToolBar>(f, f, page, 0, 0);
    bar->SetAlign(alNone);
    bar->SetBounds(12, top, 400, list ? 26 : 40);
    bar->SetColor(FaceColour(page));
    bar->SetShowCaptions(true);
    bar->SetList(list);
    bar->SetImages(images);
    bar->SetButtonHeight(list ? 24 : 38);
    const char* captions[] = {"&Open", "&Save", "&Print", "&Mark", "Mor&e"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new TToolButton(bar); // owned by the bar
        b->SetCaption(captions[i]);
        b->SetImageIndex(i % images->Count());
        b->SetAutoSize(true);
        b->SetStyle(i == 3 ? tbsCheck : i == 4 ? tbsDropDown : tbsButton);
        b->SetParent(bar);
    }
    bar->Buttons(3)->SetDown(true);
    return bar;
}

void ToolBars(TForm* f, const Page& page, TCustomImageList* images) {
    Label(f, f, 12, 140, "TskToolBar: pressed, checked; below, a hot drop-down button");
    TskToolBar* below = ToolBar(f, page, images, 158, false);
    TskToolBar* list = ToolBar(f, page, images, 204, true);
    const TRect pressed = below->Buttons(0)->BoundsRect();
    below->Perform(WM_MOUSEMOVE, ssLeft, MakeLParam(pressed.Left + 4, pressed.Top + 4));
    below->Perform(WM_LBUTTONDOWN, ssLeft, MakeLParam(pressed.Left + 4, pressed.Top + 4));
    const TRect more = list->Buttons(4)->BoundsRect();
    list->Perform(WM_MOUSEMOVE, 0, MakeLParam(more.Left + 4, more.Top + 4));
}

void Groups(TForm* f, const Page& page) {
    auto* radios = Make<TskRadioGroup>(f, f, page, 12, 240);
    radios->SetBounds(12, 240, 260, 110);
    radios->SetCaption(" TskRadioGroup, 3 columns ");
    radios->SetColumns(3);
    radios->SetItems({"One", "Two", "Three", "Four", "Five", "Six", "Seven"});
    radios->SetItemIndex(4);
    auto* checks = Make<TskCheckGroup>(f, f, page, 284, 240);
    checks->SetBounds(284, 240, 180, 110);
    checks->SetCaption(" TskCheckGroup ");
    checks->SetItems({"Same Email Address", "Same Display Name", "Company"});
    checks->SetChecked(0, true);
    checks->SetChecked(2, true);
    checks->SetItemEnabled(2, false);
}

QImage RenderControls(const Page& page, const QString& title) {
    TComponentPtr<TForm> form(new TForm(nullptr));
    form->SetBorderStyle(bsSizeable);
    form->SetBounds(0, 0, 480, 370);
    form->SetColor(FaceColour(page));
    form->Font()->SetName("Tahoma");
    form->Font()->SetHeight(-11);
    TForm* f = form.get();
    auto* heading = Label(f, f, 12, 8, title + ": progress bars, tool bars, groups");
    heading->SetWidth(440);
    heading->Font()->SetStyle(fsBold);

    auto* images = new TImageList(f); // owned by the form
    TBitmap glyphs;
    glyphs.Assign(GetNamedSkinBitmap("MDI_CONTROL_BUTTON"));
    images->AddMasked(glyphs, clDefault);

    ProgressBars(f, page);
    ToolBars(f, page, images);
    Groups(f, page);
    form->Show();
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
    return form->Handle()->grab().toImage();
}

} // namespace

QImage RenderComponentsPage(const Page& page, const QString& title) {
    RegisterSkinFrameClasses();
    const QImage tiled = RenderFrame(page, Arrangement::Tiled);
    const QImage cascaded = RenderFrame(page, Arrangement::Cascaded);
    const QImage maximised = RenderFrame(page, Arrangement::Maximised);
    const QImage controls = RenderControls(page, title);
    const QImage notice = RenderNotice(page);

    // The tiled frame across the top, the other two below it, the controls
    // and the notice at the bottom.
    const int gap = 16;
    const int width = kWideFrame.width() + 2 * gap;
    const int height = 4 * gap + 2 * kFrameSize.height() + controls.height();
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(QColor(128, 128, 128));
    QPainter p(&out);
    p.drawImage(gap, gap, tiled);
    int y = 2 * gap + kFrameSize.height();
    p.drawImage(gap, y, cascaded);
    p.drawImage(width - gap - kFrameSize.width(), y, maximised);
    y += kFrameSize.height() + gap;
    p.drawImage(gap, y, controls);
    p.drawImage(width - gap - notice.width(), y + controls.height() - notice.height(), notice);
    return out;
}

} // namespace gallery
