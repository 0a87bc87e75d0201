// skingallery OUTDIR: renders the skinned controls, in every state that
// matters, a skinned window frame (title bar, menu bar and a dropped-down
// menu), the lists, scroll bars, track bars and edit boxes, and the MDI frame
// with the remaining components, once for each built-in style and once from a
// theme file written from a built-in style, and writes STYLE.png,
// STYLE-frame.png, STYLE-lists.png and STYLE-components.png into OUTDIR.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMetaEnum>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Fonts.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "platform/toolkit/Timers.h"
#include "skin/SKButton.h"
#include "skin/SKForm.h"
#include "skin/SKGroupBox.h"
#include "skin/SKImagePanel.h"
#include "skin/SKMainMenu.h"
#include "skin/SKStatusBar.h"
#include "skin/SKThemeFile.h"
#include "tools/skingallery/Gallery.h"

using namespace tk;
using namespace sk;
using namespace gallery;

namespace {

// The style the theme file is written from: not the fallback, so a file
// theme that failed to load would show. (A theme file carries no dark-text
// marker of its own, so the panels' captions come out white: fine on the
// dark BlueGlass bar.)
constexpr TskUIStyle kFileSource = BlueGlass;

void Hover(TControl* c) {
    c->Perform(CM_MOUSEENTER);
}

void Press(TControl* c) {
    Hover(c);
    c->Perform(WM_LBUTTONDOWN, ssLeft, MakeLParam(10, 10));
}

QImage Render(const Page& page, const QString& title) {
    TComponentPtr<TForm> form(new TForm(nullptr));
    form->SetBorderStyle(bsSizeable);
    form->SetBounds(0, 0, 600, 430);
    form->SetColor(FaceColour(page));
    form->Font()->SetName("Tahoma");
    form->Font()->SetHeight(-11);
    TForm* f = form.get();

    auto* heading = Label(f, f, 12, 8, title);
    heading->Font()->SetStyle(fsBold);

    // Push buttons: normal, pointer over, pressed, disabled, default.
    Label(f, f, 12, 30, "TskButton: normal, hot, pressed, disabled, default");
    const char* captions[] = {"&Refresh", "&Help", "&Delete", "&Browse", "&OK"};
    std::vector<TskButton*> buttons;
    for (int i = 0; i < 5; ++i) {
        auto* b = Make<TskButton>(f, f, page, 12 + i * 90, 48);
        b->SetBounds(b->Left(), b->Top(), 80, 27);
        b->SetCaption(captions[i]);
        b->SetTransparent(true);
        buttons.push_back(b);
    }
    buttons[3]->SetEnabled(false);
    buttons[4]->SetDefault(true);

    Label(f, f, 12, 86, "TskCheckBox and TskRadioButton: on, off, disabled on, disabled off");
    const char* marks[] = {"Same Email Address", "Same Display Name", "Checked", "Unchecked"};
    for (int i = 0; i < 4; ++i) {
        auto* c = Make<TskCheckBox>(f, f, page, 12 + i * 140, 104);
        c->SetCaption(marks[i]);
        c->SetChecked(i % 2 == 0);
        c->SetEnabled(i < 2);
    }
    const char* radios[] = {"All Records", "Duplicate Records", "Default", "Other"};
    for (int i = 0; i < 4; ++i) {
        auto* r = Make<TskRadioButton>(f, f, page, 12 + i * 140, 126);
        r->SetGroupIndex(i / 2);
        r->SetCaption(radios[i]);
        r->SetChecked(i % 2 == 0);
        r->SetEnabled(i < 2);
    }

    auto* box = Make<TskGroupBox>(f, f, page, 12, 156);
    box->SetBounds(12, 156, 250, 100);
    box->SetCaption(" Set Duplicate Criteria ");
    box->Font()->SetName("MS Sans Serif");
    box->Font()->SetHeight(-11);
    auto* inBox = Make<TskCheckBox>(f, box, page, 31, 32);
    inBox->SetCaption("Same Email Address");
    inBox->SetChecked(true);
    auto* inBox2 = Make<TskCheckBox>(f, box, page, 31, 60);
    inBox2->SetCaption("Same Display Name");

    auto* disabledBox = Make<TskGroupBox>(f, f, page, 12, 264);
    disabledBox->SetBounds(12, 264, 250, 50);
    disabledBox->SetCaption(" Disabled ");
    auto* inDisabled = Make<TskRadioButton>(f, disabledBox, page, 17, 22);
    inDisabled->SetCaption("Default Windows Address Book");
    inDisabled->SetChecked(true);
    disabledBox->SetEnabled(false);

    // Captioned panels: expanded with a child area, collapsed, no button.
    auto* expanded = Make<TskPanel>(f, f, page, 280, 156);
    expanded->SetBounds(280, 156, 305, 120);
    expanded->SetCaption("Duplicate Address Book Entries");
    auto* strip = new TPanel(f);
    strip->SetParent(expanded);
    strip->SetBevelOuter(bvNone);
    strip->SetColor(FaceColour(page));
    strip->SetAlign(alTop);
    strip->SetHeight(32);
    auto* inPanel = Make<TskButton>(f, strip, page, 7, 2);
    inPanel->SetBounds(7, 2, 98, 27);
    inPanel->SetCaption("&Select All");
    auto* rest = new TPanel(f);
    rest->SetParent(expanded);
    rest->SetBevelOuter(bvNone);
    rest->SetColor(clWhite);
    rest->SetAlign(alClient);

    auto* collapsed = Make<TskPanel>(f, f, page, 280, 284);
    collapsed->SetBounds(280, 284, 305, 80);
    collapsed->SetCaption("Collapsed");
    collapsed->Push();

    auto* plain = Make<TskPanel>(f, f, page, 280, 312);
    plain->SetBounds(280, 312, 305, 40);
    plain->SetShowButton(false);
    plain->SetCaption("Without button");

    auto* bar = Make<TskStatusBar>(f, f, page, 0, 0);
    bar->SetSimplePanel(true);
    bar->SetSimpleText("TskStatusBar with its size grip");

    form->Show();
    // The pointer over the collapse button lights it.
    const TRect knob = expanded->ButtonRect();
    expanded->Perform(WM_MOUSEMOVE, 0, MakeLParam(knob.Left + 6, knob.Top + 6));
    Hover(buttons[1]);
    Press(buttons[2]);
    QApplication::processEvents();
    return form->Handle()->grab().toImage();
}

TMenuItem* AddItem(TForm* form, TMenuItem* parent, const QString& caption, TShortCut shortCut = 0) {
    auto* item = new TMenuItem(form); // owned by the form
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

// The window as the screen shows it: cut to its shape, with the open drop-down
// over it, on a grey desk.
QImage Desk(TForm* form, const TskForm* skinned, const QWidget* dropDown) {
    const QPoint origin(24, 24);
    const QRect window(form->Left(), form->Top(), form->Width(), form->Height());
    QRect all = window;
    if (dropDown) {
        all |= dropDown->geometry();
    }
    QImage desk(all.width() + 2 * origin.x(), all.height() + 2 * origin.y(), QImage::Format_RGB32);
    desk.fill(QColor(128, 128, 128));
    QPainter p(&desk);
    p.translate(origin - all.topLeft());
    p.save();
    p.translate(window.topLeft());
    p.setClipRegion(skinned->WindowRegion().ToQ());
    p.drawImage(0, 0, form->Handle()->grab().toImage());
    p.restore();
    if (dropDown) {
        p.drawImage(dropDown->geometry().topLeft(),
                    const_cast<QWidget*>(dropDown)->grab().toImage());
    }
    return desk;
}

QImage RenderFrame(const Page& page, const QString& title) {
    TComponentPtr<TForm> form(new TForm(nullptr));
    TForm* f = form.get();
    form->SetBounds(40, 40, 460, 300);
    form->Font()->SetName("Verdana");
    form->Font()->SetHeight(-11);
    form->SetCaption(title);
    auto* skinned = new TskForm(f); // owned by the form; takes it over
    skinned->SetFileTheme(page.theme);
    skinned->SetUIStyle(page.style);

    auto* menu = new TskMainMenu(f); // owned by the form; shown by the skinned form
    menu->SetFileTheme(page.theme);
    menu->SetUIStyle(page.style);
    TMenuItem* file = AddItem(f, menu->Items(), "&File");
    AddItem(f, file, "&Open ...", ShortCut('O', ssCtrl));
    AddItem(f, file, "&Refresh", ShortCut(VK_F1 + 4, 0));
    AddItem(f, file, "-");
    AddItem(f, file, "Duplicate &Records")->SetChecked(true);
    AddItem(f, file, "&Print")->SetEnabled(false);
    AddItem(f, file, "-");
    AddItem(f, file, "E&xit")->SetDefault(true);
    AddItem(f, AddItem(f, menu->Items(), "Tools"), "&Options ...");
    AddItem(f, AddItem(f, menu->Items(), "&Help"), "&About ...");

    auto* note = Label(f, skinned, 220, 90, "TskForm, TskTitleBar, TskMainMenu");
    note->SetTransparent(true);
    auto* button = Make<TskButton>(f, skinned, page, 220, 120);
    button->SetBounds(220, 120, 80, 27);
    button->SetCaption("&Close");
    button->SetTransparent(true);

    form->Show();
    QApplication::processEvents();
    // The pointer over the close button, the File menu dropped down.
    TskTitleBar* bar = skinned->TitleBar();
    const TRect close = bar->Layout(bar->Width()).buttons[1];
    bar->Perform(WM_MOUSEMOVE, 0, MakeLParam(close.Left + 5, close.Top + 5));
    TToolBar* menuBar = skinned->MenuBar();
    menuBar->TrackMenu(menuBar->Buttons(0));
    QApplication::processEvents();
    TMenuChain* chain = TMenuChain::Active();
    TMenuWindow* dropDown = chain ? chain->Window(0) : nullptr;
    if (dropDown) {
        dropDown->Select(3); // the checked item, under the pointer
        dropDown->repaint();
    }
    QImage image = Desk(f, skinned, dropDown);
    if (chain) {
        chain->Close();
    }
    return image;
}

QString StyleName(TskUIStyle style) {
    return QString::fromLatin1(QMetaEnum::fromType<TskUIStyle>().valueToKey(style));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2 || args[1].startsWith('-')) {
        std::fprintf(stderr, "usage: skingallery OUTDIR\n"
                             "Writes PNGs of the skinned controls per style into OUTDIR.\n");
        return 2;
    }
    const QString out = args[1];
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "skingallery: cannot create %s\n", qPrintable(out));
        return 1;
    }
    RegisterFonts();
    TApplication application;
    // Held buttons start their repeat timer; nothing should tick here.
    TManualClockScope clock;

    int failures = 0;
    auto save = [&](const QImage& image, const QString& name) {
        const QString path = QDir(out).filePath(name + ".png");
        if (image.isNull() || !image.save(path)) {
            std::fprintf(stderr, "skingallery: cannot write %s\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    };

    for (TskUIStyle style : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        save(Render({style, nullptr}, StyleName(style)), StyleName(style));
        save(RenderFrame({style, nullptr}, "Quenby for WAB - " + StyleName(style)),
             StyleName(style) + "-frame");
        save(RenderListsPage({style, nullptr}, StyleName(style)), StyleName(style) + "-lists");
        save(RenderComponentsPage({style, nullptr}, StyleName(style)),
             StyleName(style) + "-components");
    }

    QTemporaryDir temp;
    const QString themePath = temp.filePath(StyleName(kFileSource) + ".skn");
    if (!temp.isValid() || !SaveBuiltInThemeFile(kFileSource, themePath)) {
        std::fprintf(stderr, "skingallery: cannot write a theme file\n");
        return 1;
    }
    TComponentPtr<TForm> owner(new TForm(nullptr));
    auto* theme = new TskFileTheme(owner.get()); // owned by the form
    theme->SetThemeFile(themePath);
    if (!theme->CanUse()) {
        std::fprintf(stderr, "skingallery: the theme file does not load\n");
        return 1;
    }
    const QString fileTitle = "FromThemeFile (written from " + StyleName(kFileSource) + ")";
    save(Render({FromThemeFile, theme}, fileTitle), "FromThemeFile");
    save(RenderFrame({FromThemeFile, theme}, "From a theme file (" + StyleName(kFileSource) + ")"),
         "FromThemeFile-frame");
    save(RenderListsPage({FromThemeFile, theme}, fileTitle), "FromThemeFile-lists");
    save(RenderComponentsPage({FromThemeFile, theme}, fileTitle), "FromThemeFile-components");
    return failures == 0 ? 0 : 1;
}
