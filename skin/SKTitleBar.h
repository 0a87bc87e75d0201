// The skinned caption of a window: the style's three title images, the window
// buttons with their normal, pointer-over and pressed pictures, the control
// box or application icon, and the caption, shortened with "..." when it does
// not fit. Dragging the empty caption moves the window, the buttons and a
// double click minimise, maximise, restore and close it, and the control box
// opens a skinned system menu.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/Collections.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKMgr.h"
#include "skin/SKPopupMenu.h"
#include "skin/SKThemes.h"

namespace sk {

struct TskTitleBarEnums {
    Q_GADGET

public:
    enum TskTitleBarAlign { skLeft = 0, skRight = 1, skClient = 2 };
    Q_ENUM(TskTitleBarAlign)
    enum TskTitleBarBtnType {
        skMax = 0,
        skMin = 1,
        skClose = 2,
        skHelp = 3,
        skControlBox = 4,
        skCustom = 5
    };
    Q_ENUM(TskTitleBarBtnType)
};

using TskTitleBarAlign = TskTitleBarEnums::TskTitleBarAlign;
using TskTitleBarBtnType = TskTitleBarEnums::TskTitleBarBtnType;
using enum TskTitleBarEnums::TskTitleBarAlign;
using enum TskTitleBarEnums::TskTitleBarBtnType;

// Sender is the title bar, ButtonIndex the button's index in Buttons.
using TskTitleBarButtonClickEvent = std::function<void(tk::TObject* Sender, int ButtonIndex)>;

class TskTitleBar;

// One title image. Drawing goes by position (0 left, 1 right, 2 client);
// Align, Width, Stretch and AutoSize are kept and copied.
class TskTitleBarSection : public tk::TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(sk::TskTitleBarEnums::TskTitleBarAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(tk::TPicture* Picture READ Picture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)

public:
    explicit TskTitleBarSection(tk::TCollection* Collection);
    ~TskTitleBarSection() override;

    bool AutoSize() const { return m_autoSize; }
    // Width follows the picture whenever it holds one.
    void SetAutoSize(bool Value);
    int Width() const { return m_width; }
    void SetWidth(int Value);
    TskTitleBarAlign Align() const { return m_align; }
    // A second skClient section is refused with an error box.
    void SetAlign(TskTitleBarAlign Value);
    tk::TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(const tk::TPicture* Value);
    bool Stretch() const { return m_stretch; }
    // Stays true for the client section.
    void SetStretch(bool Value);

    void Assign(const tk::TCollectionItem& Other) override;

private:
    void PictureChanged();

    bool m_autoSize = false;
    int m_width = 10;
    TskTitleBarAlign m_align = skLeft;
    std::unique_ptr<tk::TPicture> m_picture;
    bool m_stretch = false;
};

class TskTitleBarSections : public tk::TCollection {
    Q_OBJECT
public:
    explicit TskTitleBarSections(TskTitleBar* Owner);
    TskTitleBarSection* Add() { return static_cast<TskTitleBarSection*>(TCollection::Add()); }
    TskTitleBarSection* Items(int Index) const { return ItemAs<TskTitleBarSection>(Index); }
};

// One window button; its three pictures come from the style's 18-state strip
// except for skCustom, which keeps its own.
class TskTitleBarButton : public tk::TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(
        sk::TskTitleBarEnums::TskTitleBarBtnType ButtonType READ ButtonType WRITE SetButtonType)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(tk::TPopupMenu* ControlBoxMenu READ ControlBoxMenu WRITE SetControlBoxMenu)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(tk::TPicture* PicNormal READ PicNormal)
    Q_PROPERTY(tk::TPicture* PicMouseOn READ PicMouseOn)
    Q_PROPERTY(tk::TPicture* PicMouseDown READ PicMouseDown)

public:
    explicit TskTitleBarButton(tk::TCollection* Collection);
    ~TskTitleBarButton() override;

    TskUIStyle UIStyle() const { return m_style; }
    void SetUIStyle(TskUIStyle Value);
    TskTitleBarBtnType ButtonType() const { return m_type; }
    // A second control box is refused with an error box.
    void SetButtonType(TskTitleBarBtnType Value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool Value);
    int Top() const { return m_top; }
    void SetTop(int Value);
    tk::TPopupMenu* ControlBoxMenu() const { return m_controlBoxMenu.data(); }
    void SetControlBoxMenu(tk::TPopupMenu* Value) { m_controlBoxMenu = Value; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool Value);
    tk::TPicture* PicNormal() const { return m_picNormal.get(); }
    tk::TPicture* PicMouseOn() const { return m_picMouseOn.get(); }
    tk::TPicture* PicMouseDown() const { return m_picMouseDown.get(); }

    // Loads the pictures from the style (or the title bar's file theme).
    void LoadPictures();
    // A maximise button's pictures for the form's window state: restore
    // while maximised. Nothing for other buttons or a Custom title bar.
    void LoadMaxPictures();

    void Assign(const tk::TCollectionItem& Other) override;

private:
    TskTitleBar* TitleBar() const;
    void LoadStates(const TskThemeLink& Theme, int First);

    TskUIStyle m_style = DeepBlue;
    TskTitleBarBtnType m_type = skCustom;
    bool m_transparent = false;
    int m_top = 2;
    QPointer<tk::TPopupMenu> m_controlBoxMenu;
    bool m_visible = true;
    std::unique_ptr<tk::TPicture> m_picNormal;
    std::unique_ptr<tk::TPicture> m_picMouseOn;
    std::unique_ptr<tk::TPicture> m_picMouseDown;
};

class TskTitleBarButtons : public tk::TCollection {
    Q_OBJECT
public:
    explicit TskTitleBarButtons(TskTitleBar* Owner);
    TskTitleBarButton* Add() { return static_cast<TskTitleBarButton*>(TCollection::Add()); }
    TskTitleBarButton* Items(int Index) const { return ItemAs<TskTitleBarButton>(Index); }
};

// The system menu: minimise, maximise/restore, a separator, close. Only the
// items whose buttons the title bar shows are enabled.
class TskTitleBarPopupMenu : public TskPopupMenu {
    Q_OBJECT
public:
    explicit TskTitleBarPopupMenu(tk::TComponent* AOwner);

    TskTitleBar* TitleBar() const { return m_titleBar.data(); }
    void SetTitleBar(TskTitleBar* Value) { m_titleBar = Value; }
    tk::TMenuItem* MinimizeItem() const { return m_minimize; }
    tk::TMenuItem* MaximizeItem() const { return m_maximize; }
    tk::TMenuItem* CloseItem() const { return m_close; }

    void Popup(int X, int Y) override;

private:
    tk::TMenuItem* AddItem(const QString& Caption, tk::TNotifyEvent OnClick);

    QPointer<TskTitleBar> m_titleBar;
    tk::TMenuItem* m_minimize; // the items are the menu's
    tk::TMenuItem* m_maximize;
    tk::TMenuItem* m_close;
};

// Where the title bar's parts are for a given width: decided once, then
// painted and hit-tested alike.
struct TskTitleBarLayout {
    std::vector<tk::TRect> buttons; // by index in Buttons; empty when not shown
    int controlBox = -1;            // index of the visible control box
    int captionLeft = 0;
    int captionRight = 0; // left edge of the leftmost right-hand button
    tk::TRect appIcon;    // with DrawAppIcon
};

class TskTitleBar : public tk::TCustomPanel {
    Q_OBJECT
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(bool Custom READ Custom WRITE SetCustom)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(sk::TskTitleBarSections* Sections READ Sections)
    Q_PROPERTY(sk::TskTitleBarButtons* Buttons READ Buttons)
    Q_PROPERTY(int ButtonInterval READ ButtonInterval WRITE SetButtonInterval)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool FormActive READ FormActive WRITE SetActive)
    Q_PROPERTY(int LeftBtnXOffset READ LeftBtnXOffset WRITE SetLeftBtnXOffset)
    Q_PROPERTY(int RightBtnXOffset READ RightBtnXOffset WRITE SetRightBtnXOffset)
    Q_PROPERTY(bool DrawAppIcon READ DrawAppIcon WRITE SetDrawAppIcon)
    Q_PROPERTY(int RoundCorner READ RoundCorner WRITE SetRoundCorner)

public:
    explicit TskTitleBar(tk::TComponent* AOwner);
    ~TskTitleBar() override;

    bool Custom() const { return m_custom; }
    // A Custom title bar keeps its sections, pictures and offsets when the
    // style changes.
    void SetCustom(bool Value) { m_custom = Value; }
    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    // Applies the style again, leaving the caption colour alone.
    void SetFileTheme(TskFileTheme* Value);
    bool AutoSize() const { return m_autoSize; }
    // The height becomes the left image's (3 less in a skinned form).
    void SetAutoSize(bool Value);
    TskTitleBarSections* Sections() const { return m_sections.get(); }
    void SetSections(const TskTitleBarSections* Value);
    TskTitleBarButtons* Buttons() const { return m_buttons.get(); }
    void SetButtons(const TskTitleBarButtons* Value);
    int ButtonInterval() const { return m_buttonInterval; }
    void SetButtonInterval(int Value) { Store(m_buttonInterval, Value); }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& Value) { Store(m_caption, Value); }
    bool FormActive() const { return m_formActive; }
    void SetActive(bool Value) { Store(m_formActive, Value); }
    int LeftBtnXOffset() const { return m_leftBtnXOffset; }
    void SetLeftBtnXOffset(int Value) { Store(m_leftBtnXOffset, Value); }
    int RightBtnXOffset() const { return m_rightBtnXOffset; }
    void SetRightBtnXOffset(int Value) { Store(m_rightBtnXOffset, Value); }
    bool DrawAppIcon() const { return m_drawAppIcon; }
    void SetDrawAppIcon(bool Value) { Store(m_drawAppIcon, Value); }
    int RoundCorner() const { return m_roundCorner; }
    // Stored only; the skinned form shapes the window.
    void SetRoundCorner(int Value) { m_roundCorner = Value; }

    // Every maximise button takes the pictures of the form's window state.
    void ProcessMaxBtn();
    // Pictures of sections 0, 1 and 2 (null when missing).
    tk::TPicture* GetLeftImage() const { return SectionPicture(0); }
    tk::TPicture* GetRightImage() const { return SectionPicture(1); }
    tk::TPicture* GetCenterImage() const { return SectionPicture(2); }
    // Exactly three sections, each with a picture.
    bool CanPaint() const;
    // Its parent is a skinned form, or it is an MDI frame's.
    bool InForm() const;
    // It is an MDI frame's, placed on the frame's form.
    bool InMDIForm() const;
    // The top of the buttons and the height the caption is centred in.
    int ButtonTop() const { return m_buttonTop; }
    int CaptionCentreHeight() const { return m_captionCentreHeight; }

    TskTitleBarPopupMenu* SystemMenu() const { return m_systemMenu; }
    // Shows the system menu at the title bar's bottom-left corner, or at (X, Y)
    // on the screen.
    void PopupSystemMenu();
    void PopupSystemMenu(int X, int Y);
    // What the button does to the form (the events are the title bar's).
    void DoClick(TskTitleBarButton* Button);

    TskTitleBarLayout Layout(int Width) const;
    // The button under the title-bar point, -1 for none.
    int ButtonAt(tk::TPoint P) const;
    int HoverIndex() const { return m_hover; }
    // The caption as drawn in the given room: whole, or cut with "...".
    static QString FitCaption(tk::TCanvas* Canvas, const QString& Caption, int Room);

    TskTitleBarButtonClickEvent OnCustomBtnsClick;
    TskTitleBarButtonClickEvent OnHelpBtnClick;

protected:
    virtual void DrawSectionsTo(tk::TBitmap* Bitmap);
    virtual void DrawButtons(tk::TBitmap* Bitmap);

    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;
    void Paint() override;
    void WndProc(tk::TMessage& Message) override;
    void WMEraseBkgnd(tk::TMessage& Message) override;
    void CMFontChanged(tk::TMessage& Message) override;
    void CMMouseLeave(tk::TMessage& Message) override;
    void MouseDown(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y) override;
    void MouseMove(tk::TShiftState Shift, int X, int Y) override;
    void MouseUp(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y) override;
    void DblClick() override;

private:
    friend class TskTitleBarButton;
    template <class T> void Store(T& Field, const T& Value) {
        if (Field != Value) {
            Field = Value;
            Invalidate();
        }
    }
    tk::TPicture* SectionPicture(int Index) const;
    void ApplyStyle(bool CaptionColour);
    void AddStyleSections();
    bool FormMaximized() const;
    void StartMove(tk::TPoint Global);
    void DrawButtonPicture(tk::TCanvas* Canvas, const TskTitleBarButton* Button,
                           const tk::TRect& Rect, bool Hover) const;
    void DrawCaption(tk::TCanvas* Canvas, const TskTitleBarLayout& Layout);
    void FireButtonEvent(int Index);

    TskThemeLink m_theme;
    std::unique_ptr<TskTitleBarSections> m_sections;
    std::unique_ptr<TskTitleBarButtons> m_buttons;
    TskTitleBarPopupMenu* m_systemMenu; // owned as a component of the title bar
    bool m_custom = false;
    bool m_autoSize = false;
    int m_buttonInterval = 0;
    QString m_caption;
    bool m_formActive = true;
    int m_leftBtnXOffset = 0;
    int m_rightBtnXOffset = 0;
    bool m_drawAppIcon = false;
    int m_roundCorner = 0;
    int m_buttonTop = 2;
    int m_captionCentreHeight = 0;

    // Pointer and button state between paints.
    tk::TPoint m_pointer{-1, -1};
    bool m_pointerInside = false;
    int m_hover = -1;
    bool m_pressed = false;
    // A move by hand, where the window system does not move the window.
    bool m_moving = false;
    tk::TPoint m_moveStart;
    tk::TPoint m_formStart;
    tk::TPoint m_lastGlobal;
};

} // namespace sk
