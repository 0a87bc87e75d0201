#include "skin/SKMenu.h"

#include <map>
#include <memory>

#include "platform/win32/Win32.h"

namespace sk {

using namespace tk;

namespace {

// Item geometry; the check box and images sit in the bar.
constexpr int kTextLeft = 4; // after the bar
constexpr int kTextTop = 4;
constexpr int kShortCutRight = 16;
constexpr int kMeasureExtra = 40;
constexpr int kImageLeft = 4;
constexpr int kImageTop = 3;
constexpr TRect kCheckFrame = {2, 1, 21, 20}; // relative to the item's top-left
constexpr TColor kDisabledText = 0x808080;

// Every item of a skinned menu measures and draws through these: they ask
// the menu the item is in now, so an item moved to another menu takes its
// look, and a plain menu's item draws the plain way.
void SkinMeasure(TObject* Sender, TCanvas* Canvas, int& Width, int& Height) {
    auto* item = qobject_cast<TMenuItem*>(Sender);
    if (const TskMenuSkin* skin = item ? TskMenuSkin::Of(item) : nullptr) {
        skin->MeasureItem(item, Canvas, Width, Height);
    }
}

void SkinDraw(TObject* Sender, TCanvas* Canvas, const TRect& Rect, bool Selected) {
    auto* item = qobject_cast<TMenuItem*>(Sender);
    if (!item) {
        return;
    }
    if (const TskMenuSkin* skin = TskMenuSkin::Of(item)) {
        skin->DrawItem(item, Canvas, Rect, Selected);
    } else {
        item->DefaultDraw(Canvas, Rect, Selected ? odSelected : 0u);
    }
}

} // namespace

// ---- helpers ------------------------------------------------------------------

void Menu_SetItemEvent(TMenuItem* Item, const TMenuMeasureItemEvent& Measure,
                       const TMenuDrawItemEvent& Draw) {
    if (!Item) {
        return;
    }
    Item->OnDrawItem = Draw;
    Item->OnMeasureItem = Measure;
    for (int i = 0; i < Item->Count(); ++i) {
        Menu_SetItemEvent(Item->Items(i), Measure, Draw);
    }
}

void Menu_DrawBackGround(TCanvas* Canvas, const TRect& Rect, TColor Color) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(Rect);
}

void Menu_DrawBorder(TCanvas* Canvas, const TRect& Rect, TColor Color) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FrameRect(Rect);
}

void Menu_DrawLineItem(TCanvas* Canvas, const TRect& Rect, TColor Color, int BarWidth) {
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(Color);
    Canvas->MoveTo(Rect.Left + BarWidth + 4, Rect.Top + 2);
    Canvas->LineTo(Rect.Right - 2, Rect.Top + 2);
}

const TBitmap& GetNamedSkinBitmap(const char* Name) {
    static std::map<QString, std::unique_ptr<TBitmap>> loaded;
    const QString name = QLatin1String(Name);
    auto it = loaded.find(name);
    if (it == loaded.end()) {
        auto bitmap = std::make_unique<TBitmap>();
        try {
            bitmap->LoadFromResourceName(name);
        } catch (const Exception&) {
            bitmap->Clear(); // drawn as nothing
        }
        it = loaded.emplace(name, std::move(bitmap)).first;
    }
    return *it->second;
}

void StretchTopRows(TCanvas* Canvas, const TRect& Rect, const TBitmap& Bitmap, int Rows) {
    if (Bitmap.Empty() || Rect.IsEmpty()) {
        return;
    }
    const QImage& image = Bitmap.Image();
    Canvas->DrawImage(Rect, image, QRect(0, 0, image.width(), std::min(Rows, image.height())),
                      false);
}

void Menu_DrawMacOSLineItem(TCanvas* Canvas, const TRect& Rect) {
    StretchTopRows(Canvas, Rect, GetNamedSkinBitmap("MACOS_MENU_BAR"), 12);
}

void Menu_DrawMacOSSelectedItem(TCanvas* Canvas, const TRect& Rect) {
    StretchTopRows(Canvas, Rect, GetNamedSkinBitmap("MACOS_MENU_SELECT"), 20);
}

void Menu_DrawMacOSNonSelectedItem(TCanvas* Canvas, const TRect& Rect) {
    StretchTopRows(Canvas, Rect, GetNamedSkinBitmap("MACOS_MENU_BAR"), 20);
}

void Menu_DrawWindowBorder(TCanvas* Canvas, const TRect& WindowRect, TColor BorderColor,
                           TColor EdgeColor) {
    const int L = WindowRect.Left;
    const int T = WindowRect.Top;
    const int R = WindowRect.Right;
    const int B = WindowRect.Bottom;
    Menu_DrawBorder(Canvas, Rect(L, T + 1, R - 1, B - 1), BorderColor);
    Menu_DrawBorder(Canvas, Rect(L + 1, T + 2, R - 2, B - 2), clWhite);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(EdgeColor);
    Canvas->MoveTo(L, B - 1);
    Canvas->LineTo(R - 1, B - 1);
    Canvas->LineTo(R - 1, T);
    Canvas->LineTo(R, T);
    Canvas->LineTo(L, T);
}

void Menu_GetSystemFont(TFont& Font) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        Font.AssignLogFont(metrics.lfMenuFont);
        Font.SetColor(clMenuText);
    }
}

TComponentPtr<TImageList> MakeCheckMarkList() {
    TComponentPtr<TImageList> list(new TImageList(nullptr));
    const TBitmap& mark = GetNamedSkinBitmap("MENU_CHECKED");
    if (!mark.Empty()) {
        list->AddMasked(mark, clWhite);
    }
    return list;
}

// ---- TskMenuSkin --------------------------------------------------------------

TskMenuSkin::TskMenuSkin(TMenu* Menu)
    : m_menu(Menu), m_theme(Menu, GetSKFormStyle(Menu ? Menu->Owner() : nullptr)) {}

TskMenuSkin::~TskMenuSkin() = default;

TskMenuSkin* TskMenuSkin::Of(const TMenuItem* Item) {
    return Item ? dynamic_cast<TskMenuSkin*>(Item->GetParentMenu()) : nullptr;
}

void TskMenuSkin::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    m_barWidth = 26;
    const bool mac = Value == MacOS;
    m_menuItemHeight = mac ? 20 : 21;
    m_separatorHeight = mac ? 12 : 5;
    m_separatorColor = mac ? clBlack : 0x848284;
    m_barColor = m_theme.GetColor(siMenuBarColor);
    m_color = m_theme.GetColor(siMenuBackgroundColor);
    m_fontColor = m_theme.GetColor(siMenuFontColor);
    m_selectedBorderColor = m_theme.GetColor(siMenuSelectedBorderColor);
    m_selectedColor = m_theme.GetColor(siMenuSelectedBackgroundColor);
    m_selectedFontColor = m_theme.GetColor(siMenuSelectedFontColor);
}

void TskMenuSkin::SetFileTheme(TskFileTheme* Value) {
    m_theme.SetFileTheme(Value);
    SetUIStyle(UIStyle());
}

void TskMenuSkin::SetMenuItemHeight(int Value) {
    if (UIStyle() != MacOS) {
        m_menuItemHeight = Value;
    }
}

void TskMenuSkin::SetSeparatorHeight(int Value) {
    if (UIStyle() != MacOS) {
        m_separatorHeight = Value;
    }
}

void TskMenuSkin::SkinNotification(TComponent* AComponent, TOperation Operation) {
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TskMenuSkin::CaptionFont(TFont& Font) const {
    if (m_useSystemFont) {
        Menu_GetSystemFont(Font);
        return;
    }
    Font.SetName(m_fontName);
    Font.SetSize(m_fontSize);
    Font.SetCharset(m_fontCharset);
}

void TskMenuSkin::MenuAdded() {
    if (m_menu) {
        Menu_SetItemEvent(m_menu->Items(), SkinMeasure, SkinDraw);
    }
}

void TskMenuSkin::MeasureItem(TMenuItem* Item, TCanvas* Canvas, int& Width, int& Height) const {
    Height = Item->IsLine() ? m_separatorHeight : m_menuItemHeight;
    if (!Canvas) {
        return;
    }
    // Measured in the font the caption is drawn in.
    CaptionFont(*Canvas->Font());
    Width = Canvas->TextWidth(Item->Caption()) + Canvas->TextWidth(Item->ShortCutText()) +
            m_barWidth + kMeasureExtra;
}

void TskMenuSkin::DrawBackground(TCanvas* Canvas, const TRect& Rect, bool Selected) const {
    const bool mac = m_theme.UsedStyle() == MacOS;
    if (Selected) {
        if (mac) {
            Menu_DrawMacOSSelectedItem(Canvas, Rect);
        } else {
            Menu_DrawBackGround(Canvas, Rect, m_selectedColor);
            Menu_DrawBorder(Canvas, Rect, m_selectedBorderColor);
        }
        return;
    }
    if (mac) {
        Menu_DrawMacOSNonSelectedItem(Canvas, Rect);
        return;
    }
    if (m_barWidth > 0) {
        Menu_DrawBackGround(
            Canvas, tk::Rect(Rect.Left, Rect.Top, Rect.Left + m_barWidth, Rect.Bottom), m_barColor);
    }
    Menu_DrawBackGround(Canvas, tk::Rect(Rect.Left + m_barWidth, Rect.Top, Rect.Right, Rect.Bottom),
                        m_color);
}

void TskMenuSkin::DrawItem(TMenuItem* Item, TCanvas* Canvas, const TRect& Rect,
                           bool Selected) const {
    if (!Item || !Canvas) {
        return;
    }
    if (m_flatMenu) {
        if (const TMenuWindow* window = TMenuWindow::FromCanvas(Canvas)) {
            Menu_DrawWindowBorder(Canvas, window->WindowRect(), clBlack,
                                  m_theme.GetColor(siFormBackgroundColor));
        }
    }
    if (Item->IsLine()) {
        if (m_theme.UsedStyle() == MacOS) {
            Menu_DrawMacOSLineItem(Canvas, Rect);
        } else {
            DrawBackground(Canvas, Rect, false);
            Menu_DrawLineItem(Canvas, Rect, m_separatorColor, m_barWidth);
        }
        return;
    }
    const bool enabled = Item->Enabled();
    const bool selected = Selected && enabled;
    DrawBackground(Canvas, Rect, selected);

    TFont* font = Canvas->Font();
    CaptionFont(*font);
    font->SetColor(!enabled ? kDisabledText : selected ? m_selectedFontColor : m_fontColor);
    if (Item->Default()) {
        font->SetStyle(font->Style() | fsBold);
    }
    Canvas->Brush()->SetStyle(bsClear);
    TRect text =
        tk::Rect(Rect.Left + m_barWidth + kTextLeft, Rect.Top + kTextTop, Rect.Right, Rect.Bottom);
    Canvas->DrawText(Item->HotkeyCaption(), text, DT_SINGLELINE | DT_LEFT | DT_TOP);
    const QString shortCut = Item->ShortCutText();
    if (!shortCut.isEmpty()) {
        Canvas->TextOut(Rect.Right - Canvas->TextWidth(shortCut) - kShortCutRight,
                        Rect.Top + kTextTop, shortCut);
    }
    DrawCheckAndImage(Item, Canvas, Rect);
}

void TskMenuSkin::DrawCheckAndImage(TMenuItem* Item, TCanvas* Canvas, const TRect& Rect) const {
    const TCustomImageList* images = m_menu ? m_menu->Images() : nullptr;
    const int index = Item->ImageIndex();
    const bool hasImage = images && index >= 0 && index < images->Count();
    const int x = Rect.Left + kImageLeft;
    const int y = Rect.Top + kImageTop;
    if (Item->Checked()) {
        if (hasImage) {
            TRect box = kCheckFrame;
            OffsetRect(box, Rect.Left, Rect.Top);
            Menu_DrawBorder(Canvas, box, clBlack);
            InflateRect(box, -1, -1);
            Menu_DrawBackGround(Canvas, box, m_selectedColor);
        } else if (const TCustomImageList* marks = CheckImages()) {
            marks->Draw(Canvas, x, y, 0, Item->Enabled());
        }
    }
    if (hasImage) {
        images->Draw(Canvas, x, y, index, Item->Enabled());
    }
}

} // namespace sk
