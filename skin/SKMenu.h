// What the skinned main menu and popup menus share: the look of an item
// (fixed item and separator heights, a coloured bar at the left, a framed
// selection, caption, short-cut text, check marks and images, the MacOS
// images, an optional flat window border) and the helpers that draw it.
#pragma once

#include <QString>

#include "platform/toolkit/Graphics.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Menus.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

namespace sk {

// The measure and draw callbacks of an item and of its sub-items, depth first.
void Menu_SetItemEvent(tk::TMenuItem* Item, const tk::TMenuMeasureItemEvent& Measure,
                       const tk::TMenuDrawItemEvent& Draw);
void Menu_DrawBackGround(tk::TCanvas* Canvas, const tk::TRect& Rect, TColor Color);
// A one-pixel frame.
void Menu_DrawBorder(tk::TCanvas* Canvas, const tk::TRect& Rect, TColor Color);
// The separator line, two pixels below the item's top, right of the bar.
void Menu_DrawLineItem(tk::TCanvas* Canvas, const tk::TRect& Rect, TColor Color, int BarWidth);
// MACOS_MENU_BAR (its top 12 rows), MACOS_MENU_SELECT and MACOS_MENU_BAR (top
// 20 rows) stretched over the item.
void Menu_DrawMacOSLineItem(tk::TCanvas* Canvas, const tk::TRect& Rect);
void Menu_DrawMacOSSelectedItem(tk::TCanvas* Canvas, const tk::TRect& Rect);
void Menu_DrawMacOSNonSelectedItem(tk::TCanvas* Canvas, const tk::TRect& Rect);
// The flat border of a menu window whose whole rectangle, in the canvas's
// coordinates, is WindowRect: a BorderColor line, a white one inside it, and
// the outer bottom, right and top rows in EdgeColor. Drawn into the menu
// window itself: the toolkit has no screen-wide canvas.
void Menu_DrawWindowBorder(tk::TCanvas* Canvas, const tk::TRect& WindowRect, TColor BorderColor,
                           TColor EdgeColor);
// The system's menu font in the menu-text colour; the font is left as it was
// when the system metrics cannot be read.
void Menu_GetSystemFont(tk::TFont& Font);

// A built-in bitmap outside the theme table, by resource name, loaded once;
// empty when the program does not carry it.
const tk::TBitmap& GetNamedSkinBitmap(const char* Name);
// The part of the bitmap above row Rows, stretched over Rect; nothing for an
// empty bitmap.
void StretchTopRows(tk::TCanvas* Canvas, const tk::TRect& Rect, const tk::TBitmap& Bitmap,
                    int Rows);

// The published skin properties of TskMainMenu and TskPopupMenu, in their
// order. One list for both classes; the accessors come from TskMenuSkin.
#define SK_MENU_SKIN_PROPERTIES                                                                    \
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE SetOwnerDraw)                                   \
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)                      \
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)                     \
    Q_PROPERTY(int MenuItemHeight READ MenuItemHeight WRITE SetMenuItemHeight)                     \
    Q_PROPERTY(int SeparatorHeight READ SeparatorHeight WRITE SetSeparatorHeight)                  \
    Q_PROPERTY(int BarWidth READ BarWidth WRITE SetBarWidth)                                       \
    Q_PROPERTY(quint32 BarColor READ BarColor WRITE SetBarColor)                                   \
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)                                            \
    Q_PROPERTY(quint32 SeparatorColor READ SeparatorColor WRITE SetSeparatorColor)                 \
    Q_PROPERTY(quint32 SelectedBorderColor READ SelectedBorderColor WRITE SetSelectedBorderColor)  \
    Q_PROPERTY(quint32 SelectedColor READ SelectedColor WRITE SetSelectedColor)                    \
    Q_PROPERTY(quint32 SelectedFontColor READ SelectedFontColor WRITE SetSelectedFontColor)        \
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)                                \
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)                          \
    Q_PROPERTY(bool FlatMenu READ FlatMenu WRITE SetFlatMenu)                                      \
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)                                   \
    Q_PROPERTY(int FontSize READ FontSize WRITE SetFontSize)                                       \
    Q_PROPERTY(int FontCharset READ FontCharset WRITE SetFontCharset)                              \
    Q_PROPERTY(bool UseSystemFont READ UseSystemFont WRITE SetUseSystemFont)

// The skin of a menu: style, colours, heights and fonts, and how every item
// of the menu is measured and drawn with them. A menu class derives from its
// toolkit menu and from this.
class TskMenuSkin {
public:
    explicit TskMenuSkin(tk::TMenu* Menu);
    virtual ~TskMenuSkin();
    TskMenuSkin(const TskMenuSkin&) = delete;
    TskMenuSkin& operator=(const TskMenuSkin&) = delete;

    // The skin of the menu an item is in now; null for a plain menu.
    static TskMenuSkin* Of(const tk::TMenuItem* Item);

    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    // Sets the style's heights, colours and bar; the next menu to open shows them.
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    // Stores it, even when unchanged, and applies the style again.
    void SetFileTheme(TskFileTheme* Value);
    int MenuItemHeight() const { return m_menuItemHeight; }
    // Both heights are the MacOS images' own in that style: writes are ignored.
    void SetMenuItemHeight(int Value);
    int SeparatorHeight() const { return m_separatorHeight; }
    void SetSeparatorHeight(int Value);
    bool UseSystemFont() const { return m_useSystemFont; }
    virtual void SetUseSystemFont(bool Value) { m_useSystemFont = Value; }
    // Stored for the next menu to open.
    int BarWidth() const { return m_barWidth; }
    void SetBarWidth(int Value) { m_barWidth = Value; }
    TColor BarColor() const { return m_barColor; }
    void SetBarColor(TColor Value) { m_barColor = Value; }
    TColor Color() const { return m_color; }
    void SetColor(TColor Value) { m_color = Value; }
    TColor SeparatorColor() const { return m_separatorColor; }
    void SetSeparatorColor(TColor Value) { m_separatorColor = Value; }
    TColor SelectedBorderColor() const { return m_selectedBorderColor; }
    void SetSelectedBorderColor(TColor Value) { m_selectedBorderColor = Value; }
    TColor SelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(TColor Value) { m_selectedColor = Value; }
    TColor SelectedFontColor() const { return m_selectedFontColor; }
    void SetSelectedFontColor(TColor Value) { m_selectedFontColor = Value; }
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor Value) { m_fontColor = Value; }
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value) { m_borderColor = Value; }
    bool FlatMenu() const { return m_flatMenu; }
    void SetFlatMenu(bool Value) { m_flatMenu = Value; }
    QString FontName() const { return m_fontName; }
    void SetFontName(const QString& Value) { m_fontName = Value; }
    int FontSize() const { return m_fontSize; }
    void SetFontSize(int Value) { m_fontSize = Value; }
    int FontCharset() const { return m_fontCharset; }
    void SetFontCharset(int Value) { m_fontCharset = Value; }
    // The caption font: the system's menu font or FontName, FontSize and
    // FontCharset (the colour is the caller's).
    void CaptionFont(tk::TFont& Font) const;
    // Theme values of the style in use (the file theme's or the built-in ones).
    const TskThemeLink& Theme() const { return m_theme; }

    // The size an item reports and what is drawn in its rectangle.
    void MeasureItem(tk::TMenuItem* Item, tk::TCanvas* Canvas, int& Width, int& Height) const;
    void DrawItem(tk::TMenuItem* Item, tk::TCanvas* Canvas, const tk::TRect& Rect,
                  bool Selected) const;
    // Installs the measure and draw callbacks on every item, at every depth.
    void MenuAdded();

protected:
    // The 16x16 check mark, drawn for a checked item without an image.
    virtual const tk::TCustomImageList* CheckImages() const = 0;
    // For the menu's Notification: a removed file theme resets to DeepBlue.
    void SkinNotification(tk::TComponent* AComponent, tk::TOperation Operation);

    tk::TMenu* m_menu;
    TskThemeLink m_theme;
    int m_menuItemHeight = 21;
    int m_separatorHeight = 21;
    int m_barWidth = 0;
    TColor m_barColor = tk::clBtnFace;
    TColor m_color = tk::clWhite;
    TColor m_separatorColor = 0x808080;
    TColor m_selectedBorderColor = tk::clHighlight;
    TColor m_selectedColor = tk::clHighlight;
    TColor m_selectedFontColor = tk::clWhite;
    TColor m_fontColor = tk::clWhite;
    TColor m_borderColor = tk::clBlack;
    bool m_flatMenu = false;
    QString m_fontName = QStringLiteral("MS Sans Serif");
    int m_fontSize = 8;
    int m_fontCharset = 1;
    bool m_useSystemFont = true;

private:
    void DrawBackground(tk::TCanvas* Canvas, const tk::TRect& Rect, bool Selected) const;
    void DrawCheckAndImage(tk::TMenuItem* Item, tk::TCanvas* Canvas, const tk::TRect& Rect) const;
};

// An image list holding MENU_CHECKED, white transparent.
tk::TComponentPtr<tk::TImageList> MakeCheckMarkList();

} // namespace sk
