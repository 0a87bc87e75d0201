// Menus: main and popup menus of menu items, with short-cuts, check marks,
// images, access keys and owner-drawn items. The drop-down and popup windows
// are the toolkit's own popup widgets: an owner-drawn menu measures and draws
// every item through its callbacks, at every depth.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/toolkit/Actions.h"
#include "platform/toolkit/Component.h"
#include "platform/toolkit/Graphics.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/ShortCuts.h"
#include "platform/toolkit/Types.h"

namespace tk {

class TMenu;
class TMenuItem;
class TMenuChain;

struct TMenuEnums {
    Q_GADGET

public:
    // maParent: as the parent item or menu says.
    enum TMenuAutoFlag { maAutomatic, maManual, maParent };
    Q_ENUM(TMenuAutoFlag)
    // Where Popup's x lies on the menu: its left edge, right edge or centre.
    enum TPopupAlignment { paLeft, paRight, paCenter };
    Q_ENUM(TPopupAlignment)
};
using TMenuAutoFlag = TMenuEnums::TMenuAutoFlag;
using TPopupAlignment = TMenuEnums::TPopupAlignment;
using enum TMenuEnums::TMenuAutoFlag;
using enum TMenuEnums::TPopupAlignment;

// State of an owner-drawn item.
enum TOwnerDrawStateFlag : unsigned {
    odSelected = 1u << 0,
    odGrayed = 1u << 1,
    odDisabled = 1u << 2,
    odChecked = 1u << 3,
    odFocused = 1u << 4,
    odDefault = 1u << 5,
    odHotLight = 1u << 6,
    odInactive = 1u << 7,
    odNoAccel = 1u << 8,
    odNoFocusRect = 1u << 9,
};
using TOwnerDrawState = unsigned;

// Sender is the item. Width and Height come in with the plain size.
using TMenuMeasureItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas,
                                                      const TRect& ARect, TOwnerDrawState State)>;
using TMenuChangeEvent = std::function<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

// The system's menu font (the non-client metrics' menu font).
void GetMenuFont(TFont& font);

class TMenuItem : public TComponent, public TActionClient {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool RadioItem READ RadioItem WRITE SetRadioItem)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool AutoCheck READ AutoCheck WRITE SetAutoCheck)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(tk::TMenuEnums::TMenuAutoFlag AutoHotkeys READ AutoHotkeys WRITE SetAutoHotkeys)
    Q_PROPERTY(tk::TBasicAction* Action READ Action WRITE SetAction)

public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // "-" makes the item a separator.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    TShortCut ShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut shortCut);
    QString ShortCutText() const { return ShortCutToText(m_shortCut); }
    // Checking a radio item unchecks the radio items of its group beside it.
    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool Default() const { return m_default; }
    void SetDefault(bool v);
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    bool RadioItem() const { return m_radioItem; }
    void SetRadioItem(bool v);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int index);
    bool AutoCheck() const { return m_autoCheck; }
    void SetAutoCheck(bool v) { m_autoCheck = v; }
    QString Hint() const { return m_hint; }
    void SetHint(const QString& hint) { m_hint = hint; }
    TMenuAutoFlag AutoHotkeys() const { return m_autoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag flag);

    bool IsLine() const { return m_caption == QLatin1String("-"); }

    // ---- sub-items ----
    // An item frees its sub-items with itself, whoever owns them.
    int Count() const { return static_cast<int>(m_items.size()); }
    TMenuItem* Items(int i) const { return m_items.at(static_cast<std::size_t>(i)); }
    TMenuItem* Parent() const { return m_parent; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* item);
    // Frees the sub-item.
    void Delete(int index);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    int MenuIndex() const { return m_parent ? m_parent->IndexOf(this) : -1; }
    // Sub-items that are shown.
    int VisibleCount() const;
    // The sub-item with this caption (access-key marks ignored), null if none.
    TMenuItem* Find(const QString& caption) const;
    // The menu the item belongs to, through its parents; null if none.
    TMenu* GetParentMenu() const;

    // The key that picks the item in its open menu: the marked letter, else
    // with automatic access keys the first letter its siblings leave free.
    QChar AccessKey() const;
    // The caption with the automatic access key marked, as it is drawn.
    QString HotkeyCaption() const;

    // Owner-drawn when the menu says so.
    bool IsOwnerDrawn() const;

    // Runs the item: an auto-check item toggles, then OnClick (or the action).
    // Nothing happens while it is disabled.
    virtual void Click();

    // Asked by the menu windows: the plain size, then OnMeasureItem when
    // owner-drawn (results are clamped to 0 .. 4096).
    virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
    // OnAdvancedDrawItem, else OnDrawItem when owner-drawn; the plain look
    // otherwise.
    virtual void DrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State);
    void DefaultMeasure(TCanvas* ACanvas, int& Width, int& Height) const;
    void DefaultDraw(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) const;

    // Raised before the item's sub-items are shown (and before a short-cut
    // of a sub-item runs): OnClick of an item with sub-items.
    void InitiatePopup();

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    void SetParentComponent(TComponent* parent) override;
    TComponent* ParentComponent() const override;

signals:
    // Any change of what the item shows, or of its sub-items.
    void Changed();

protected:
    void BeforeDestruction() override;
    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;
    // Tells the item's watchers and the menu.
    void MenuChanged(bool Rebuild);

private:
    friend class TMenu;
    void Detach();
    bool AutoHotkeysOn() const;
    void TurnSiblingsOff();

    QString m_caption;
    TShortCut m_shortCut = 0;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_default = false;
    int m_imageIndex = -1;
    bool m_visible = true;
    bool m_radioItem = false;
    int m_groupIndex = 0;
    bool m_autoCheck = false;
    QString m_hint;
    TMenuAutoFlag m_autoHotkeys = maParent;

    TMenuItem* m_parent = nullptr;
    std::vector<TMenuItem*> m_items; // freed with this item (see Add)
    TMenu* m_menu = nullptr;         // set on a menu's root item only
};

class TMenu : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE SetOwnerDraw)
    Q_PROPERTY(tk::TCustomImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(tk::TMenuEnums::TMenuAutoFlag AutoHotkeys READ AutoHotkeys WRITE SetAutoHotkeys)

public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The root: its sub-items are the menu's items.
    TMenuItem* Items() const { return m_items; }

    virtual bool OwnerDraw() const { return m_ownerDraw; }
    virtual void SetOwnerDraw(bool v);
    virtual TCustomImageList* Images() const { return m_images; }
    virtual void SetImages(TCustomImageList* images);
    TMenuAutoFlag AutoHotkeys() const { return m_autoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag flag);

    // Runs the enabled, visible item (at any depth, under enabled, visible
    // parents) whose short-cut this is; true when one ran.
    virtual bool IsShortCut(unsigned key, TShiftState shift);
    TMenuItem* FindItemByShortCut(TShortCut shortCut) const;

    // Closes whatever drop-down or popup of this menu is open.
    void CloseMenu();
    bool IsOpen() const;
    // The open windows of this menu (null when closed).
    TMenuChain* Chain() const { return m_chain.get(); }

    void Loaded() override;

    TMenuChangeEvent OnChange;

protected:
    friend class TMenuItem;
    // Something in the items changed; Rebuild when items came or went.
    virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;
    TMenuChain& EnsureChain();

private:
    TMenuItem* m_items; // owned as a component of this menu
    bool m_ownerDraw = false;
    TComponentRef<TCustomImageList> m_images{this};
    TMenuAutoFlag m_autoHotkeys = maAutomatic;
    std::unique_ptr<TMenuChain> m_chain;
};

class TMainMenu : public TMenu {
    Q_OBJECT
public:
    explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
};

class TPopupMenu : public TMenu {
    Q_OBJECT
    Q_PROPERTY(tk::TMenuEnums::TPopupAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoPopup READ AutoPopup WRITE SetAutoPopup)

public:
    explicit TPopupMenu(TComponent* AOwner);

    TPopupAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TPopupAlignment a) { m_alignment = a; }
    bool AutoPopup() const { return m_autoPopup; }
    void SetAutoPopup(bool v) { m_autoPopup = v; }
    TComponent* PopupComponent() const { return m_popupComponent; }
    void SetPopupComponent(TComponent* c) { m_popupComponent = c; }
    TPoint PopupPoint() const { return m_popupPoint; }

    // Raises OnPopup and shows the items at the screen point (moved to stay on
    // the screen). Returns at once; the items run when they are picked.
    virtual void Popup(int X, int Y);

    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;

private:
    TPopupAlignment m_alignment = paLeft;
    bool m_autoPopup = true;
    QPointer<TComponent> m_popupComponent;
    TPoint m_popupPoint;
};

// ---- the open menu ---------------------------------------------------------------

// A bar whose items drop menus down (a tool bar acting as a menu bar).
class TMenuBarHost {
public:
    virtual ~TMenuBarHost() = default;
    // The pointer, at screen point p, left the open menus: switch to the bar
    // item under it; true when the bar switched.
    virtual bool MenuBarTrack(TPoint p) = 0;
    // Left (-1) or Right (+1) at the top level: open the neighbour's menu.
    virtual void MenuBarStep(int direction) = 0;
    // A press at screen point p, outside the menus, closed them.
    virtual void MenuBarPressed(TPoint p) = 0;
    // The menus closed.
    virtual void MenuBarClosed() = 0;
};

class TMenuWindow;

// The windows of one open menu, one per level. At most one chain is open in
// the application: opening one closes the other.
class TMenuChain {
public:
    TMenuChain();
    ~TMenuChain();
    TMenuChain(const TMenuChain&) = delete;
    TMenuChain& operator=(const TMenuChain&) = delete;

    // Shows the sub-items of parent with the window's top-left at p (screen),
    // kept on the screen; with an avoid rectangle (a bar button, screen
    // coordinates) a menu that does not fit below it opens above it. Returns
    // false when there is nothing to show.
    bool Open(TMenuItem* parent, TPoint p, TMenuBarHost* host, bool selectFirst,
              const TRect* avoid = nullptr, TPopupAlignment alignment = paLeft);
    // Closes every level; the host hears MenuBarClosed unless silent.
    void Close(bool silent = false);
    bool IsOpen() const { return !m_levels.empty(); }
    int Depth() const { return static_cast<int>(m_levels.size()); }
    TMenuWindow* Window(int level) const;
    TMenuItem* Root() const { return m_root; }
    TMenuBarHost* Host() const { return m_host; }

    // Raised after the chain closed (not when closed silently).
    std::function<void()> OnClosed;

    // The open chain of the application, if any.
    static TMenuChain* Active();
    // An item is going: the open chain closes if it shows the item.
    static void ItemGoing(const TMenuItem* item);

private:
    friend class TMenuWindow;
    struct DeferredDelete {
        void operator()(TMenuWindow* w) const;
    };
    using WindowPtr = std::unique_ptr<TMenuWindow, DeferredDelete>;

    bool OpenLevel(TMenuItem* parent, TPoint p, bool selectFirst, const TRect* avoid,
                   TPopupAlignment alignment);
    void OpenSubmenu(int level, bool selectFirst);
    void CloseFrom(int level);
    void Activate(TMenuItem* item);
    TMenuWindow* WindowAt(QPoint global) const;
    bool Shows(const TMenuItem* item) const;

    std::vector<WindowPtr> m_levels;
    TMenuItem* m_root = nullptr;
    TMenuBarHost* m_host = nullptr;
    bool m_closing = false;
};

// One level of an open menu: a frame of Border pixels around the rows.
class TMenuWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int Border = 3;

    TMenuItem* ParentItem() const { return m_parent; }
    int Level() const { return m_level; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    TMenuItem* RowItem(int row) const;
    // In client coordinates (inside the frame), as the draw callback gets it.
    TRect RowRect(int row) const;
    int Selected() const { return m_selected; }
    void Select(int row);
    // The window while it paints with this canvas (a draw callback's), else
    // null; the canvas's origin is the client area's top-left.
    static TMenuWindow* FromCanvas(const TCanvas* canvas);
    // The whole window, frame included, in the coordinates of its paint canvas.
    TRect WindowRect() const;
    // Measures the rows again and resizes.
    void Relayout();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    friend class TMenuChain;
    TMenuWindow(TMenuChain* chain, TMenuItem* parent, int level);

    struct Row {
        TMenuItem* item;
        TRect rect;
    };
    void Layout();
    int RowAt(QPoint local) const;
    bool Selectable(int row) const;
    void Step(int direction);
    void Hover(int row);
    void Enter(int row, bool byKey);
    void AccessKey(QChar key);

    TMenuChain* m_chain;
    TMenuItem* m_parent;
    int m_level;
    std::vector<Row> m_rows;
    int m_selected = -1;
    bool m_chainHides = false; // hidden by the chain, not from outside
    bool m_inLayout = false;
    const TCanvas* m_paintCanvas = nullptr;
};

} // namespace tk
