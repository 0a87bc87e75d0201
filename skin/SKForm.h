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

// What the skinned form and the skinned MDI frame do alike to the form they
// take over (the host): its caption goes (the frame band comes out of the
// window, not out of the client area), their own procedure goes in front of
// its window procedure, and the application-wide key hook is theirs when
// nobody holds it yet; all of it comes back when they go. In front of the
// host's procedure they answer keys (menu short-cuts), paint the frame band,
// strip a caption that came back, show the host's activation on the title
// bar and follow its sizes.
class TskFrameHost {
public:
    // The form taken over; null when nothing was.
    tk::TCustomForm* Host() const { return m_host.data(); }
    // Whether this frame installed the application-wide key hook.
    bool InstalledApplicationHook() const { return m_hookedApplication; }
    // The last shape given to the host.
    const tk::TRegion& WindowRegion() const { return m_region; }
    // Paints the frame into a canvas on the host's whole window.
    virtual void PaintFormBorder(tk::TCanvas* WindowCanvas) = 0;
    // Key messages: Result tells whether a menu short-cut ran.
    virtual void ProcessKeyPress(tk::TMessage& Message) = 0;

    // The title bar's, forwarded (none, false, without a title bar).
    bool TitleBarCustom() const;
    void SetTitleBarCustom(bool Value);
    bool TitleBarDrawAppIcon() const;
    void SetTitleBarDrawAppIcon(bool Value);
    TskTitleBarButtons* TitleBarButtons() const;
    TskTitleBarSections* TitleBarSections() const;
    bool TitleBarVisible() const { return m_titleBarVisible; }
    // Shows or hides the title bar, keeps it at the top and frames and
    // shapes the host to suit.
    void SetTitleBarVisible(bool Value);

    TskFrameHost(const TskFrameHost&) = delete;
    TskFrameHost& operator=(const TskFrameHost&) = delete;

protected:
    TskFrameHost() = default;
    virtual ~TskFrameHost() = default;

    // Takes Host over: no single, tool-window or missing border (a dialog's
    // instead), no caption, no scrolling, this procedure, the application
    // hook when free.
    void HookHost(tk::TCustomForm* Host);
    // Gives it all back; the caption only while the host lives on.
    void UnhookHost();
    // Cuts the host to the shape with round top corners of radius R.
    void ShapeHost(int R);
    // Asks the host to paint its frame band again.
    void InvalidateHostFrame();
    // The caption of the title bar and of the host.
    void SetFrameCaption(const QString& Value);

    virtual tk::TComponent* FrameComponent() = 0;
    virtual TskTitleBar* FrameTitleBar() const = 0;
    virtual void HostSized() = 0;
    virtual void TitleBarToTop() = 0;
    virtual void RegionWindow() = 0;
    // A host message the shared procedure leaves alone.
    virtual void OtherHostMessage(tk::TMessage&) {}
    // An application message that is no key-down.
    virtual void ApplicationMessage(tk::TMsg&, bool&) {}

    QPointer<tk::TCustomForm> m_host;
    // Set as removal starts; from then on the host hears nothing from here.
    bool m_destroying = false;
    bool m_titleBarVisible = true;

private:
    void HostWndProc(tk::TMessage& Message);
    void OnApplicationMessage(tk::TMsg& Msg, bool& Handled);

    tk::TWndMethod m_oldWndProc;
    bool m_hookedApplication = false;
    tk::TRegion m_region;
};

class TskForm : public tk::TCustomPanel, public TskFrameHost {
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

    TskTitleBar* TitleBar() const { return m_titleBar; }
    tk::TToolBar* MenuBar() const { return m_menuBar; }

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
    // The title bar's caption; setting it also sets the host's.
    QString Caption() const;
    void SetCaption(const QString& Value);
    tk::TCustomPanel* FormPanel() const { return m_formPanel; }
    // The form itself is refused with an error box.
    void SetPanel(tk::TCustomPanel* Value);
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

    // A menu short-cut runs when the host has the keyboard.
    void ProcessKeyPress(tk::TMessage& Message) override;
    void PaintFormBorder(tk::TCanvas* WindowCanvas) override;

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
    tk::TComponent* FrameComponent() override { return this; }
    TskTitleBar* FrameTitleBar() const override { return m_titleBar; }
    void HostSized() override;
    void OtherHostMessage(tk::TMessage& Message) override;
    void ApplicationMessage(tk::TMsg& Msg, bool& Handled) override;
    void MDIChildSized(bool Maximized);
    void RegionWindow() override;
    void TitleBarToTop() override;
    void CreateMenuBar();
    void DestroyMenuBar();
    void DrawMenuBar(tk::TToolBar* Bar, const tk::TRect& Rect, bool& DefaultDraw);
    void DrawButton(tk::TToolBar* Bar, tk::TToolButton* Button, tk::TCustomDrawState State,
                    bool& DefaultDraw);
    // The menu's style and theme when it is a skinned main menu, else ours.
    const TskThemeLink& MenuTheme() const;
    TskMainMenu* SkinnedMenu() const;

    TskThemeLink m_theme;
    TskTitleBar* m_titleBar = nullptr; // owned as a component of this form
    tk::TToolBar* m_menuBar = nullptr; // owned as a component of this form
    tk::TRect m_hostBounds;
    bool m_hostMaximized = false;
    // An MDI child maximised in its frame, and how far its contents moved up.
    bool m_maximizedInFrame = false;
    int m_scrolled = 0;
    bool m_autoUpdateSub = false;
    TColor m_borderColor = 0;
    int m_borderWidth = 1;
    tk::TComponentRef<tk::TCustomPanel> m_formPanel{this};
    tk::TComponentRef<tk::TMainMenu> m_menu{this};
    TColor m_menuBarColor = 0;
    int m_menuBarHeight = 22;
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
class TskMDIForm : public tk::TComponent, public TskFrameHost {
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
    // A short-cut of the shown menu runs.
    void ProcessKeyPress(tk::TMessage& Message) override;
    void PaintFormBorder(tk::TCanvas* WindowCanvas) override;

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
    tk::TComponent* FrameComponent() override { return this; }
    TskTitleBar* FrameTitleBar() const override { return m_titleBar; }
    void HostSized() override;
    void ClientWndProc(tk::TMessage& Message);
    void RegionWindow() override;
    void TitleBarToTop() override;
    void RefreshCaption();
    tk::TCustomForm* ArrangedChild() const;
    std::vector<tk::TCustomForm*> ArrangeableChildren(bool& SomeMinimised) const;
    void DrawMenuBar(tk::TToolBar* Bar, const tk::TRect& Rect, bool& DefaultDraw);
    void DrawButton(tk::TToolBar* Bar, tk::TToolButton* Button, tk::TCustomDrawState State,
                    bool& DefaultDraw);

    TskThemeLink m_theme;
    QPointer<tk::TMDIClient> m_client;
    TskTitleBar* m_titleBar = nullptr;        // owned as a component of this one
    tk::TPanel* m_topPanel = nullptr;         // owned as a component of this one
    tk::TToolBar* m_menuBar = nullptr;        // owned as a component of this one
    TskToolBarSpeedButton* m_buttons[3] = {}; // owned as components of this one
    tk::TComponentRef<tk::TMainMenu> m_menu{this};
    QPointer<tk::TMainMenu> m_shownMenu;
    tk::TWndMethod m_oldClientProc;
    TColor m_menuBarColor = 0;
    TColor m_borderColor = 0;
    int m_frameWidth = 1;
    int m_roundCorner = 0;
    bool m_drawChildCaptions = true;
    bool m_drawChildMenus = true;
};

// Makes the frame's classes known to form descriptions (any number of calls):
// TskForm, TskMDIForm, TskTitleBar, TskMainMenu, TskPopupMenu.
void RegisterSkinFrameClasses();

} // namespace sk
