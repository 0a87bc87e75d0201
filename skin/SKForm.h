// The skinned window frame. Dropped on a form (its host), the first TskForm
// takes the host over: the system caption goes, the host keeps its thin
// frame band, which this paints in the style's colours and continues the
// title images into; the window is cut to a shape with round top corners;
// the client area is this panel, with a skinned title bar and, when a main
// menu is attached, a skinned menu bar at its top. It routes the menu's
// short-cuts and maximises the host to the work area.
#pragma once

#include <QPointer>
#include <functional>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/MDI.h"
#include "platform/toolkit/Regions.h"
#include "platform/toolkit/StdCtrls.h"
#include "platform/toolkit/ToolBar.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"
#include "skin/SKTitleBar.h"

Q_MOC_INCLUDE("skin/SKMainMenu.h")

namespace sk {

class TskMainMenu;

// One rectangle of the frame and its colour.
struct TskFrameBand {
    tk::TRect rect;
    TColor color;
    friend bool operator==(const TskFrameBand&, const TskFrameBand&) = default;
};

// What the frame of a W x H window gets, decided from the border width b,
// the title bar's and menu bar's heights (0 when hidden) and the corner:
// the border strips and the rest of the 3-pixel band in the form's colour,
// the menu bar's colour beside the menu bar, whether the title images run
// on into the frame, the two corner arcs, and the top line of a window
// without a title bar.
struct TskFramePlan {
    std::vector<TskFrameBand> bands;
    bool continueTitle = false;
    bool arcs = false;
};

struct TskFrameInput {
    int width = 0;
    int height = 0;
    int borderWidth = 1;
    TColor borderColor = 0;
    TColor color = 0;
    int titleBarHeight = 0; // 0: no title bar shown
    bool titleBarCanPaint = false;
    int menuBarHeight = 0; // 0: no menu bar shown
    TColor menuBarColor = 0;
    int roundCorner = 0;
};
TskFramePlan PlanFormBorder(const TskFrameInput& In);

// The window shape: a rectangle whose two top corners are rounded by an
// R x R ellipse (plain with R = 0).
tk::TRegion FormRegion(int Width, int Height, int R);

class TskForm : public tk::TCustomPanel {
    Q_OBJECT
    Q_PROPERTY(bool TitleBarCustom READ TitleBarCustom WRITE SetTitleBarCustom)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(bool UIStyleAutoUpdateSub READ UIStyleAutoUpdateSub WRITE SetUIStyleAutoUpdateSub)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(bool TitleBarVisible READ TitleBarVisible WRITE SetTitleBarVisible)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(tk::TCustomPanel* FormPanel READ FormPanel WRITE SetPanel)
    Q_PROPERTY(sk::TskTitleBarButtons* TitleBarButtons READ TitleBarButtons)
    Q_PROPERTY(sk::TskTitleBarSections* TitleBarSections READ TitleBarSections)
    Q_PROPERTY(bool TitleBarDrawAppIcon READ TitleBarDrawAppIcon WRITE SetTitleBarDrawAppIcon)
    Q_PROPERTY(tk::TFont* Font READ TitleFont WRITE SetTitleFont)
    Q_PROPERTY(tk::TMainMenu* Menu READ Menu WRITE SetMenu)
    Q_PROPERTY(quint32 MenuBarColor READ MenuBarColor WRITE SetMenuBarColor)
    Q_PROPERTY(int MenuBarHeight READ MenuBarHeight WRITE SetMenuBarHeight)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE SetRoundCorner)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
    // Takes the host over when the owner is a form without a TskForm yet;
    // otherwise the component stays an inert panel.
    explicit TskForm(tk::TComponent* AOwner);
    ~TskForm() override;

    // The form taken over; null for an inert TskForm.
    tk::TCustomForm* Host() const { return m_host.data(); }
    TskTitleBar* TitleBar() const { return m_titleBar; }
    tk::TToolBar* MenuBar() const { return m_menuBar; }

    bool TitleBarCustom() const;
    void SetTitleBarCustom(bool Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    void SetUIStyle(TskUIStyle Value);
    bool UIStyleAutoUpdateSub() const { return m_autoUpdateSub; }
    void SetUIStyleAutoUpdateSub(bool Value) { m_autoUpdateSub = Value; }
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int Value);
    bool TitleBarVisible() const { return m_titleBarVisible; }
    void SetTitleBarVisible(bool Value);
    // The title bar's caption; setting it also sets the host's.
    QString Caption() const;
    void SetCaption(const QString& Value);
    tk::TCustomPanel* FormPanel() const { return m_formPanel; }
    // The form itself is refused with an error box.
    void SetPanel(tk::TCustomPanel* Value);
    TskTitleBarButtons* TitleBarButtons() const;
    TskTitleBarSections* TitleBarSections() const;
    bool TitleBarDrawAppIcon() const;
    void SetTitleBarDrawAppIcon(bool Value);
    // The title bar's caption font (none without a title bar).
    tk::TFont* TitleFont() const;
    void SetTitleFont(tk::TFont* Value);
    tk::TMainMenu* Menu() const { return m_menu; }
    void SetMenu(tk::TMainMenu* Value);
    TColor MenuBarColor() const { return m_menuBarColor; }
    void SetMenuBarColor(TColor Value);
    int MenuBarHeight() const { return m_menuBarHeight; }
    void SetMenuBarHeight(int Value);
    int RoundCorner() const;
    void SetRoundCorner(int Value);
    QString Version() const { return QStringLiteral("5.4"); }
    void SetVersion(const QString&) {}

    // The title bar's height and corner while it is shown, else 0.
    int GetTitleBarHeight() const;
    int GetRoundCorner() const;

    // The menu bar, for the main menu: rebuilt, captions and states
    // refreshed, font refreshed and repainted.
    void UpdateMenu();
    void UpdateTopMenu();
    void RepaintMenuBar();

    // Key messages of the host: a menu short-cut runs when the host has the
    // keyboard; Message.Result tells whether one ran.
    void ProcessKeyPress(tk::TMessage& Message);
    // Whether this form installed the application-wide key hook.
    bool InstalledApplicationHook() const { return m_hookedApplication; }
    // The last shape given to the host.
    const tk::TRegion& WindowRegion() const { return m_region; }
    // Paints the frame into a canvas on the host's whole window.
    void PaintFormBorder(tk::TCanvas* WindowCanvas);

    TskTitleBarButtonClickEvent OnTitleBarCustomBtnsClick;
    TskTitleBarButtonClickEvent OnTitleBarHelpBtnClick;

protected:
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;
    void Paint() override;
    void Resize() override;
    void WMEraseBkgnd(tk::TMessage& Message) override;
    void CMColorChanged(tk::TMessage& Message) override;

private:
    void TakeOver(tk::TCustomForm* Host);
    void Release();
    void NewParentWndProc(tk::TMessage& Message);
    void HostSized();
    void MDIChildSized(bool Maximized);
    void OnApplicationMessage(tk::TMsg& Msg, bool& Handled);
    void RegionWindow();
    // Asks the host to paint its frame band again.
    void InvalidateFrame();
    void TitleBarToTop();
    void CreateMenuBar();
    void DestroyMenuBar();
    void DrawMenuBar(tk::TToolBar* Bar, const tk::TRect& Rect, bool& DefaultDraw);
    void DrawButton(tk::TToolBar* Bar, tk::TToolButton* Button, tk::TCustomDrawState State,
                    bool& DefaultDraw);
    // The menu's style and theme when it is a skinned main menu, else ours.
    const TskThemeLink& MenuTheme() const;
    TskMainMenu* SkinnedMenu() const;

    TskThemeLink m_theme;
    QPointer<tk::TCustomForm> m_host;
    TskTitleBar* m_titleBar = nullptr; // owned as a component of this form
    tk::TToolBar* m_menuBar = nullptr; // owned as a component of this form
    tk::TWndMethod m_oldWndProc;
    tk::TRect m_hostBounds;
    bool m_hostMaximized = false;
    // An MDI child maximised in its frame, and how far its contents moved up.
    bool m_maximizedInFrame = false;
    int m_scrolled = 0;
    bool m_hookedApplication = false;
    bool m_destroying = false;
    bool m_autoUpdateSub = false;
    TColor m_borderColor = 0;
    int m_borderWidth = 1;
    bool m_titleBarVisible = true;
    tk::TComponentRef<tk::TCustomPanel> m_formPanel{this};
    tk::TComponentRef<tk::TMainMenu> m_menu{this};
    TColor m_menuBarColor = 0;
    int m_menuBarHeight = 22;
    tk::TRegion m_region;
};

class TskToolBarSpeedButton;

// The skinned frame of a multiple-document parent (a tk::TMDIForm, its
// host): like TskForm, but a component beside the host's MDI client rather
// than a panel over the client area. It takes the host's caption away and
// paints the frame and shape itself, puts a title bar at the top and below it
// a menu bar showing its own menu or the active child's, with the active
// child's minimise, restore and close buttons at the right while that child
// is maximised, and tiles and cascades the children its own way.
//
// It hooks the host's WindowProc (frame, keys, activation, sizes) and the MDI
// client's (menus on WM_MDISETMENU, the child buttons on WM_MDIMAXIMIZE and
// WM_MDIRESTORE, its own arrangement after WM_MDITILE and WM_MDICASCADE),
// and gives both back when it goes.
class TskMDIForm : public tk::TComponent {
    Q_OBJECT
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(tk::TMainMenu* Menu READ Menu WRITE SetMenu)
    Q_PROPERTY(quint32 MenuBarColor READ MenuBarColor WRITE SetMenuBarColor)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool TitleBarDrawAppIcon READ TitleBarDrawAppIcon WRITE SetTitleBarDrawAppIcon)
    Q_PROPERTY(bool TitleBarCustom READ TitleBarCustom WRITE SetTitleBarCustom)
    Q_PROPERTY(bool TitleBarVisible READ TitleBarVisible WRITE SetTitleBarVisible)
    Q_PROPERTY(sk::TskTitleBarButtons* TitleBarButtons READ TitleBarButtons)
    Q_PROPERTY(sk::TskTitleBarSections* TitleBarSections READ TitleBarSections)
    Q_PROPERTY(bool TitleBarDrawChildCaptions READ TitleBarDrawChildCaptions WRITE
                   SetTitleBarDrawChildCaptions)
    Q_PROPERTY(
        bool TitleBarDrawChildMenus READ TitleBarDrawChildMenus WRITE SetTitleBarDrawChildMenus)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE SetRoundCorner)

public:
    // Throws tk::Exception "Sorry, TskMDIForm must be placed on a form" when
    // the owner is no form, having made nothing.
    explicit TskMDIForm(tk::TComponent* AOwner);
    ~TskMDIForm() override;

    tk::TCustomForm* Host() const { return m_host.data(); }
    tk::TMDIClient* MDIClient() const { return m_client.data(); }
    TskTitleBar* TitleBar() const { return m_titleBar; }
    // The panel under the title bar, shown while a menu is, and its bar.
    tk::TPanel* TopPanel() const { return m_topPanel; }
    tk::TToolBar* MenuBar() const { return m_menuBar; }
    // The maximised child's buttons: 1 close, 2 restore, 3 minimise.
    TskToolBarSpeedButton* ControlButton(int Index) const;
    // The menu on the bar right now.
    tk::TMainMenu* ShownMenu() const { return m_shownMenu.data(); }

    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    tk::TMainMenu* Menu() const { return m_menu; }
    void SetMenu(tk::TMainMenu* Value);
    TColor MenuBarColor() const { return m_menuBarColor; }
    void SetMenuBarColor(TColor Value);
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);
    // The host's caption; setting it sets the title bar's too.
    QString Caption() const;
    void SetCaption(const QString& Value);
    bool TitleBarDrawAppIcon() const;
    void SetTitleBarDrawAppIcon(bool Value);
    bool TitleBarCustom() const;
    void SetTitleBarCustom(bool Value);
    bool TitleBarVisible() const { return m_titleBarVisible; }
    void SetTitleBarVisible(bool Value);
    TskTitleBarButtons* TitleBarButtons() const;
    TskTitleBarSections* TitleBarSections() const;
    // Kept; nothing is drawn from it.
    bool TitleBarDrawChildCaptions() const { return m_drawChildCaptions; }
    void SetTitleBarDrawChildCaptions(bool Value) { m_drawChildCaptions = Value; }
    // The bar shows the active child's menu when it has one.
    bool TitleBarDrawChildMenus() const { return m_drawChildMenus; }
    void SetTitleBarDrawChildMenus(bool Value);
    int RoundCorner() const { return m_roundCorner; }
    void SetRoundCorner(int Value);
    // The frame's width, from the style.
    int FrameWidth() const { return m_frameWidth; }

    // The children side by side (the host's vertical tile mode) or one above
    // the other, in the room the host's top and bottom controls leave.
    void Tile();
    // The children at 80% by 60% of the host's client area, each 22 pixels
    // right of and below the one before.
    void Cascade();
    // The title bar's height while shown, plus the menu panel's while shown.
    int GetTitleBarHeight() const;

    // The menu the bar should show: the active child's (its own, or its
    // skinned form's) when child menus are drawn and it has one, else Menu.
    tk::TMainMenu* GetMainMenu() const;
    void UpdateMenu();
    // Key messages: Result tells whether the shown menu ran a short-cut.
    void ProcessKeyPress(tk::TMessage& Message);
    const tk::TRegion& WindowRegion() const { return m_region; }
    void PaintFormBorder(tk::TCanvas* WindowCanvas);

protected:
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

private:
    void TakeOver();
    void Release();
    void CreateMenuBar();
    void PlaceControlButtons();
    void ShowControlButtons();
    void HideControlButtons();
    void ControlButtonClick(int Index);
    void HostWndProc(tk::TMessage& Message);
    void ClientWndProc(tk::TMessage& Message);
    void HostSized();
    void OnApplicationMessage(tk::TMsg& Msg, bool& Handled);
    void RegionWindow();
    void InvalidateFrame();
    void TitleBarToTop();
    void RefreshCaption();
    tk::TCustomForm* ArrangedChild() const;
    std::vector<tk::TCustomForm*> ArrangeableChildren(bool& SomeMinimised) const;
    void DrawMenuBar(tk::TToolBar* Bar, const tk::TRect& Rect, bool& DefaultDraw);
    void DrawButton(tk::TToolBar* Bar, tk::TToolButton* Button, tk::TCustomDrawState State,
                    bool& DefaultDraw);

    TskThemeLink m_theme;
    QPointer<tk::TCustomForm> m_host;
    QPointer<tk::TMDIClient> m_client;
    TskTitleBar* m_titleBar = nullptr;        // owned as a component of this one
    tk::TPanel* m_topPanel = nullptr;         // owned as a component of this one
    tk::TToolBar* m_menuBar = nullptr;        // owned as a component of this one
    TskToolBarSpeedButton* m_buttons[3] = {}; // owned as components of this one
    tk::TComponentRef<tk::TMainMenu> m_menu{this};
    QPointer<tk::TMainMenu> m_shownMenu;
    tk::TWndMethod m_oldHostProc;
    tk::TWndMethod m_oldClientProc;
    bool m_hookedApplication = false;
    bool m_destroying = false;
    TColor m_menuBarColor = 0;
    TColor m_borderColor = 0;
    int m_frameWidth = 1;
    int m_roundCorner = 0;
    bool m_titleBarVisible = true;
    bool m_drawChildCaptions = true;
    bool m_drawChildMenus = true;
    tk::TRegion m_region;
};

// Makes the frame's classes known to form descriptions (any number of calls):
// TskForm, TskMDIForm, TskTitleBar, TskMainMenu, TskPopupMenu.
void RegisterSkinFrameClasses();

} // namespace sk
