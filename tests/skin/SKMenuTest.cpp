// The skinned menus on real menu windows: item heights per style, where the
// caption, short-cut, separator, check mark and image land, the selected,
// disabled and default looks, the flat border, and the main menu's bar on a
// skinned form.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ImageList.h"
#include "skin/SKForm.h"
#include "skin/SKMainMenu.h"
#include "skin/SKPopupMenu.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;

namespace {

constexpr int kBorder = TMenuWindow::Border;

QRgb Rgb(TColor c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFF;
}

// The box around every pixel of r that is not the background colour.
TRect InkBox(const QImage& image, const TRect& r, QRgb background) {
    TRect box{r.Right, r.Bottom, r.Left, r.Top};
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != background) {
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
        }
    }
    return box;
}

// Pixels of text drawn in white (its smoothed edges are lighter than any
// background here).
int CountLight(const QImage& image, const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            const QRgb p = image.pixel(x, y);
            n += qRed(p) > 240 && qGreen(p) > 240 && qBlue(p) > 240;
        }
    }
    return n;
}

int CountColour(const QImage& image, const TRect& r, QRgb colour) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            n += (image.pixel(x, y) & 0xFFFFFF) == colour;
        }
    }
    return n;
}

// Where text drawn with its top-left at (x, y) in the system menu font puts ink.
TRect TextInk(const QString& text, int x, int y, bool bold = false) {
    QImage image(x + 300, y + 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas(&image);
    Menu_GetSystemFont(*canvas.Font());
    canvas.Font()->SetColor(clBlack);
    if (bold) {
        canvas.Font()->SetStyle(fsBold);
    }
    canvas.Brush()->SetStyle(bsClear);
    TRect r = Rect(x, y, image.width(), image.height());
    canvas.DrawText(text, r, DT_SINGLELINE | DT_LEFT | DT_TOP);
    canvas.EndPaint();
    return InkBox(image, Rect(0, 0, image.width(), image.height()), 0xFFFFFF);
}

int TextWidth(const QString& text) {
    QImage image(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&image);
    Menu_GetSystemFont(*canvas.Font());
    return canvas.TextWidth(text);
}

// A skinned popup menu on its own form, opened and painted.
struct MenuFixture {
    explicit MenuFixture(TskUIStyle style) { menu->SetUIStyle(style); }
    ~MenuFixture() {
        menu->CloseMenu();
        QApplication::processEvents();
    }
    TMenuItem* Add(const QString& caption) {
        auto* item = new TMenuItem(form.get()); // owned by the form
        item->SetCaption(caption);
        menu->Items()->Add(item);
        return item;
    }
    TMenuWindow* Open() {
        // Window-system news of earlier windows would close the popup.
        QApplication::processEvents();
        menu->Popup(100, 100);
        QApplication::processEvents();
        TMenuChain* chain = TMenuChain::Active();
        return chain ? chain->Window(0) : nullptr;
    }
    // The row's rectangle in window pixels.
    static TRect Row(const TMenuWindow* w, int row) {
        TRect r = w->RowRect(row);
        OffsetRect(r, kBorder, kBorder);
        return r;
    }
    static QImage Shot(TMenuWindow* w) {
        return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    TComponentPtr<TForm> form{new TForm(nullptr)};
    TskPopupMenu* menu = new TskPopupMenu(form.get()); // owned by the form
};

} // namespace

TEST(TskMenu, HeightsPerStyleAndTheMacOSHeightsCannotBeWritten) {
    struct Row {
        TskUIStyle style;
        int item, separator, bar;
        TColor separatorColor;
        bool heightsWritable;
    };
    const Row rows[] = {
        {BlueGlass, 21, 5, 26, 0x848284, true}, {DeepBlue, 21, 5, 26, 0x848284, true},
        {WinXP, 21, 5, 26, 0x848284, true},     {Protein, 21, 5, 26, 0x848284, true},
        {MacOS, 20, 12, 26, clBlack, false},
    };
    for (const Row& r : rows) {
        MenuFixture f(r.style);
        TMenuItem* open = f.Add("&Open ...");
        open->SetShortCut(ShortCut('O', ssCtrl));
        TMenuItem* line = f.Add("-");
        line->SetShortCut(ShortCut('L', ssCtrl)); // a separator is one whatever else it has
        EXPECT_EQ(f.menu->MenuItemHeight(), r.item) << r.style;
        EXPECT_EQ(f.menu->SeparatorHeight(), r.separator) << r.style;
        EXPECT_EQ(f.menu->BarWidth(), r.bar) << r.style;
        EXPECT_EQ(f.menu->SeparatorColor(), r.separatorColor) << r.style;
        f.menu->SetMenuItemHeight(30);
        f.menu->SetSeparatorHeight(9);
        const int item = r.heightsWritable ? 30 : r.item;
        const int separator = r.heightsWritable ? 9 : r.separator;
        TMenuWindow* w = f.Open();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->RowRect(0).Height(), item) << r.style;
        EXPECT_EQ(w->RowRect(1).Height(), separator) << r.style;
        // Caption and short-cut text, the bar and 40 pixels.
        EXPECT_EQ(w->RowRect(0).Width(), TextWidth("&Open ...") + TextWidth("Ctrl+O") + r.bar + 40)
            << r.style;
    }
}

TEST(TskMenu, BlueGlassItemsSeparatorAndShortCut) {
    MenuFixture f(BlueGlass);
    f.menu->SetColor(0xE7E7E7); // the main window's values
    TMenuItem* open = f.Add("&Open ...");
    open->SetShortCut(ShortCut('O', ssCtrl));
    f.Add("-");
    f.Add("E&xit");
    TMenuWindow* w = f.Open();
    ASSERT_NE(w, nullptr);
    const QImage shot = MenuFixture::Shot(w);

    // The caption starts 30 pixels from the item's left edge and 4 below its
    // top; the short-cut ends 16 pixels before its right edge.
    const TRect item = MenuFixture::Row(w, 0);
    const TRect text = Rect(item.Left + 26, item.Top, item.Right, item.Bottom);
    const QRgb background = Rgb(0xE7E7E7);
    const TRect captionInk = TextInk("&Open ...", item.Left + 30, item.Top + 4);
    const int shortCutX = item.Right - TextWidth("Ctrl+O") - 16;
    const TRect shortCutInk = TextInk("Ctrl+O", shortCutX, item.Top + 4);
    EXPECT_EQ(InkBox(shot, Rect(text.Left, text.Top, shortCutX - 4, text.Bottom), background),
              captionInk);
    EXPECT_EQ(InkBox(shot, Rect(shortCutX - 4, text.Top, text.Right, text.Bottom), background),
              shortCutInk);
    EXPECT_EQ(shot.pixel(item.Left + 5, item.Top + 10) & 0xFFFFFF, Rgb(0xCED3D6)); // the bar

    // The separator: bar, background and a line two pixels below its top
    // from 4 pixels right of the bar to 2 before the right edge.
    const TRect sep = MenuFixture::Row(w, 1);
    EXPECT_EQ(sep.Height(), 5);
    EXPECT_EQ(shot.pixel(sep.Left + 5, sep.Top + 2) & 0xFFFFFF, Rgb(0xCED3D6));
    EXPECT_EQ(shot.pixel(sep.Left + 29, sep.Top + 2) & 0xFFFFFF, background);
    EXPECT_EQ(shot.pixel(sep.Left + 30, sep.Top + 2) & 0xFFFFFF, Rgb(0x848284));
    EXPECT_EQ(shot.pixel(sep.Right - 3, sep.Top + 2) & 0xFFFFFF, Rgb(0x848284));
    EXPECT_EQ(shot.pixel(sep.Right - 2, sep.Top + 2) & 0xFFFFFF, background);
    EXPECT_EQ(shot.pixel(sep.Left + 30, sep.Top + 1) & 0xFFFFFF, background);

    // The selected item: framed fill over the bar too, white text.
    w->Select(2);
    const QImage selected = MenuFixture::Shot(w);
    const TRect exit = MenuFixture::Row(w, 2);
    EXPECT_EQ(selected.pixel(exit.Left + 1, exit.Top + 1) & 0xFFFFFF, Rgb(0xEC5E5E));
    EXPECT_GT(CountLight(selected, exit), 10);
}

TEST(TskMenu, CheckMarksImagesAndItemStates) {
    MenuFixture f(BlueGlass);
    TImageList* images = new TImageList(f.form.get()); // owned by the form
    TBitmap red(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(red);
    f.menu->SetImages(images);
    TMenuItem* withImage = f.Add("Image");
    withImage->SetImageIndex(0);
    withImage->SetChecked(true);
    f.Add("Mark")->SetChecked(true);
    TMenuItem* disabled = f.Add("Disabled");
    disabled->SetEnabled(false);
    f.Add("Exit");
    TMenuItem* byDefault = f.Add("Exit");
    byDefault->SetDefault(true);
    TMenuWindow* w = f.Open();
    ASSERT_NE(w, nullptr);
    w->Select(2); // a disabled item under the pointer
    const QImage shot = MenuFixture::Shot(w);

    // Checked with an image: a black frame, the selection colour inside, the
    // image over it at (4, 3).
    const TRect a = MenuFixture::Row(w, 0);
    EXPECT_EQ(shot.pixel(a.Left + 2, a.Top + 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(shot.pixel(a.Left + 20, a.Top + 19) & 0xFFFFFF, 0u);
    EXPECT_EQ(shot.pixel(a.Left + 3, a.Top + 2) & 0xFFFFFF, Rgb(0xEC5E5E));
    EXPECT_EQ(shot.pixel(a.Left + 4, a.Top + 3) & 0xFFFFFF, Rgb(clRed));
    EXPECT_EQ(shot.pixel(a.Left + 19, a.Top + 18) & 0xFFFFFF, Rgb(clRed));

    // Checked without an image: the black check mark in the 16x16 box at
    // (4, 3), no frame.
    const TRect b = MenuFixture::Row(w, 1);
    EXPECT_GT(CountColour(shot, Rect(b.Left + 4, b.Top + 3, b.Left + 20, b.Top + 19), 0), 5);
    EXPECT_EQ(shot.pixel(b.Left + 2, b.Top + 1) & 0xFFFFFF, Rgb(0xCED3D6));

    // Disabled under the pointer: drawn unselected, in grey.
    const TRect c = MenuFixture::Row(w, 2);
    EXPECT_EQ(shot.pixel(c.Left + 1, c.Top + 1) & 0xFFFFFF, Rgb(0xCED3D6));
    EXPECT_EQ(CountColour(shot, c, Rgb(0xEC5E5E)), 0);
    EXPECT_GT(CountColour(shot, c, 0x808080), 5);

    // A default item is bold: the same caption, more ink.
    const TRect plain = MenuFixture::Row(w, 3);
    const TRect bold = MenuFixture::Row(w, 4);
    const QRgb back = Rgb(0xE7E7E7);
    const int plainInk = plain.Width() * plain.Height() - CountColour(shot, plain, back);
    const int boldInk = bold.Width() * bold.Height() - CountColour(shot, bold, back);
    EXPECT_GT(boldInk, plainInk + 5);
    EXPECT_EQ(InkBox(shot, Rect(bold.Left + 26, bold.Top, bold.Right, bold.Bottom), back),
              TextInk(byDefault->HotkeyCaption(), bold.Left + 30, bold.Top + 4, true));
}

TEST(TskMenu, FlatBorderAndMacOSImages) {
    MenuFixture f(MacOS);
    f.menu->SetFlatMenu(true);
    f.Add("Open");
    f.Add("-");
    f.Add("Exit");
    TMenuWindow* w = f.Open();
    ASSERT_NE(w, nullptr);
    w->Select(2);
    const QImage shot = MenuFixture::Shot(w);
    const int W = shot.width();
    const int H = shot.height();
    const QRgb edge = Rgb(GetInsideThemeColor(MacOS, siFormBackgroundColor));
    EXPECT_EQ(shot.pixel(0, H / 2) & 0xFFFFFF, 0u);        // black line
    EXPECT_EQ(shot.pixel(W / 2, 1) & 0xFFFFFF, 0u);        // black line
    EXPECT_EQ(shot.pixel(1, H / 2) & 0xFFFFFF, 0xFFFFFFu); // white line inside
    EXPECT_EQ(shot.pixel(W / 2, 2) & 0xFFFFFF, 0xFFFFFFu); // white line inside
    EXPECT_EQ(shot.pixel(W / 2, 0) & 0xFFFFFF, edge);      // top row
    EXPECT_EQ(shot.pixel(W / 2, H - 1) & 0xFFFFFF, edge);  // bottom row
    EXPECT_EQ(shot.pixel(W - 1, H / 2) & 0xFFFFFF, edge);  // right column

    // Rows of the MacOS images, stretched over the items: the bar's top 20
    // rows behind an item, its top 12 behind a separator, the selection's
    // top 20 behind the selected item; no bar at the left.
    const QImage& bar = GetNamedSkinBitmap("MACOS_MENU_BAR").Image();
    const QImage& select = GetNamedSkinBitmap("MACOS_MENU_SELECT").Image();
    ASSERT_FALSE(bar.isNull());
    const TRect open = MenuFixture::Row(w, 0);
    const TRect line = MenuFixture::Row(w, 1);
    const TRect exit = MenuFixture::Row(w, 2);
    EXPECT_EQ(open.Height(), 20);
    EXPECT_EQ(line.Height(), 12);
    for (int y : {0, 7, 19}) {
        EXPECT_EQ(shot.pixel(open.Left + 2, open.Top + y) & 0xFFFFFF, bar.pixel(0, y) & 0xFFFFFF);
        EXPECT_EQ(shot.pixel(exit.Left + 2, exit.Top + y) & 0xFFFFFF,
                  select.pixel(0, y) & 0xFFFFFF);
    }
    EXPECT_EQ(shot.pixel(line.Left + 40, line.Top + 11) & 0xFFFFFF, bar.pixel(0, 11) & 0xFFFFFF);
}

TEST(TskMainMenu, IsTheMenuBarOfTheFirstSkinnedForm) {
    TComponentPtr<TForm> form(new TForm(nullptr));
    auto* skinned = new TskForm(form.get());  // owned by the form
    auto* menu = new TskMainMenu(form.get()); // owned by the form
    EXPECT_EQ(skinned->Menu(), menu);
    EXPECT_EQ(menu->LinkedForm(), skinned);
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_TRUE(menu->OwnerDraw());
    menu->SetOwnerDraw(false);
    EXPECT_TRUE(menu->OwnerDraw());

    auto add = [&](TMenuItem* parent, const QString& caption) {
        auto* item = new TMenuItem(form.get()); // owned by the form
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    };
    TMenuItem* file = add(menu->Items(), "&File");
    add(file, "E&xit");
    TMenuItem* help = add(menu->Items(), "&Help");
    TToolBar* bar = skinned->MenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->ButtonCount(), 2);
    EXPECT_EQ(bar->Buttons(1)->Caption(), "&Help");
    help->SetCaption("&About");
    help->SetEnabled(false);
    EXPECT_EQ(bar->Buttons(1)->Caption(), "&About");
    EXPECT_FALSE(bar->Buttons(1)->Enabled());
    help->SetVisible(false);
    EXPECT_FALSE(bar->Buttons(1)->Visible());

    // The bar's font follows the menu's.
    menu->SetFontName("Verdana");
    menu->SetFontSize(10);
    menu->SetUseSystemFont(false);
    EXPECT_EQ(bar->Font()->Name(), "Verdana");
    EXPECT_EQ(bar->Font()->Size(), 10);

    // Images: none while the check marks are the menu's own.
    EXPECT_EQ(menu->Images(), nullptr);
    auto* images = new TImageList(form.get()); // owned by the form
    menu->SetImages(images);
    EXPECT_EQ(menu->Images(), images);
    menu->SetImages(nullptr);
    EXPECT_EQ(menu->Images(), nullptr);

    menu->Free();
    EXPECT_EQ(skinned->Menu(), nullptr);
    EXPECT_EQ(skinned->MenuBar(), nullptr);
}
