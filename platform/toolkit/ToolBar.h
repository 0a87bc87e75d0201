// Tool bars: one window that lays out and paints its buttons, with
// custom-draw hooks for the bar and for each button. A button bound to a
// menu item drops the item's submenu down under itself, and the bar then
// tracks the pointer and the arrow keys from button to button as a menu bar
// does.
#pragma once

#include <functional>
#include <vector>

#include "platform/toolkit/Actions.h"
#include "platform/toolkit/Controls.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Menus.h"

namespace tk {

class TToolBar;
class TToolButton;

struct TToolBarEnums {
    Q_GADGET

public:
    enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
    Q_ENUM(TToolButtonStyle)
    enum TEdgeBorder { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };
    Q_DECLARE_FLAGS(TEdgeBorders, TEdgeBorder)
    Q_FLAG(TEdgeBorders)
    enum TEdgeStyle { esNone, esRaised, esLowered };
    Q_ENUM(TEdgeStyle)
};
using TToolButtonStyle = TToolBarEnums::TToolButtonStyle;
using TEdgeBorder = TToolBarEnums::TEdgeBorder;
using TEdgeBorders = TToolBarEnums::TEdgeBorders;
using TEdgeStyle = TToolBarEnums::TEdgeStyle;
using enum TToolBarEnums::TToolButtonStyle;
using enum TToolBarEnums::TEdgeBorder;
using enum TToolBarEnums::TEdgeStyle;

// TCustomDrawState (cdsSelected, cdsHot, ...) is in Enums.h, shared with the list view.

// Drawing on Sender->Canvas(). Clearing DefaultDraw skips the bar's own
// drawing: of the buttons (bar hook) or of that button.
using TTBCustomDrawEvent =
    std::function<void(TToolBar* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTBCustomDrawBtnEvent = std::function<void(TToolBar* Sender, TToolButton* Button,
                                                 TCustomDrawState State, bool& DefaultDraw)>;

class TToolButton : public TGraphicControl, public TActionClient {
    Q_OBJECT
    Q_PROPERTY(tk::TToolBarEnums::TToolButtonStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool Grouped READ Grouped WRITE SetGrouped)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Wrap READ Wrap WRITE SetWrap)
    Q_PROPERTY(bool Marked READ Marked WRITE SetMarked)
    Q_PROPERTY(bool Indeterminate READ Indeterminate WRITE SetIndeterminate)
    Q_PROPERTY(tk::TMenuItem* MenuItem READ MenuItem WRITE SetMenuItem)
    Q_PROPERTY(tk::TPopupMenu* DropdownMenu READ DropdownMenu WRITE SetDropdownMenu)
    Q_PROPERTY(tk::TBasicAction* Action READ Action WRITE SetAction)

public:
    explicit TToolButton(TComponent* AOwner);
    ~TToolButton() override;

    TToolButtonStyle Style() const { return m_style; }
    void SetStyle(TToolButtonStyle style);
    // Grouped check buttons next to each other: one of them is down.
    bool Grouped() const { return m_grouped; }
    void SetGrouped(bool v);
    bool Down() const { return m_down; }
    void SetDown(bool v);
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool v) { m_allowAllUp = v; }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    // As wide as its caption and image need, instead of the bar's ButtonWidth.
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    // The next button starts a new row.
    bool Wrap() const { return m_wrap; }
    void SetWrap(bool v);
    bool Marked() const { return m_marked; }
    void SetMarked(bool v);
    bool Indeterminate() const { return m_indeterminate; }
    void SetIndeterminate(bool v);
    // Takes the item's caption and enabled state (and keeps following them);
    // pressing the button drops the item's submenu down.
    TMenuItem* MenuItem() const { return m_menuItem; }
    void SetMenuItem(TMenuItem* item);
    TPopupMenu* DropdownMenu() const { return m_dropdownMenu; }
    void SetDropdownMenu(TPopupMenu* menu);

    TToolBar* ToolBar() const;
    int Index() const;
    bool IsSeparator() const { return m_style == tbsSeparator || m_style == tbsDivider; }
    // Drops a menu down when pressing the button does so.
    bool HasDropDown() const;

    // A check button toggles (a grouped one stays down); a button bound to an
    // item without sub-items runs it; then OnClick or the action.
    void Click() override;

    void SetParent(TWinControl* parent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    std::unique_ptr<THandleWidget> CreateWidget(QWidget* parentWidget) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;
    void CMTextChanged(TMessage& m) override;
    void CMEnabledChanged(TMessage& m) override;
    void CMVisibleChanged(TMessage& m) override;

private:
    friend class TToolBar;
    void Changed(bool relayout);
    void TakeFromMenuItem();
    void UngroupOthers();

    TToolButtonStyle m_style = tbsButton;
    bool m_grouped = false;
    bool m_down = false;
    bool m_allowAllUp = false;
    int m_imageIndex = -1;
    bool m_autoSize = false;
    bool m_wrap = false;
    bool m_marked = false;
    bool m_indeterminate = false;
    TComponentRef<TMenuItem> m_menuItem{this};
    TComponentRef<TPopupMenu> m_dropdownMenu{this};
    int m_separatorWidth = 8;
    bool m_placing = false; // the bar is setting the bounds
};

class TToolBar : public TCustomControl, public TMenuBarHost {
    Q_OBJECT
    Q_PROPERTY(int ButtonHeight READ ButtonHeight WRITE SetButtonHeight)
    Q_PROPERTY(int ButtonWidth READ ButtonWidth WRITE SetButtonWidth)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(bool ShowCaptions READ ShowCaptions WRITE SetShowCaptions)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Wrapable READ Wrapable WRITE SetWrapable)
    Q_PROPERTY(bool List READ List WRITE SetList)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(int Indent READ Indent WRITE SetIndent)
    Q_PROPERTY(tk::TCustomImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(tk::TCustomImageList* HotImages READ HotImages WRITE SetHotImages)
    Q_PROPERTY(tk::TCustomImageList* DisabledImages READ DisabledImages WRITE SetDisabledImages)
    Q_PROPERTY(tk::TToolBarEnums::TEdgeBorders EdgeBorders READ EdgeBorders WRITE SetEdgeBorders)
    Q_PROPERTY(tk::TToolBarEnums::TEdgeStyle EdgeInner READ EdgeInner WRITE SetEdgeInner)
    Q_PROPERTY(tk::TToolBarEnums::TEdgeStyle EdgeOuter READ EdgeOuter WRITE SetEdgeOuter)

public:
    explicit TToolBar(TComponent* AOwner);
    ~TToolBar() override;

    // Every button is this high; setting a button's height sets it.
    int ButtonHeight() const { return m_buttonHeight; }
    void SetButtonHeight(int h);
    int ButtonWidth() const { return m_buttonWidth; }
    void SetButtonWidth(int w);
    bool Flat() const { return m_flat; }
    void SetFlat(bool v);
    bool ShowCaptions() const { return m_showCaptions; }
    void SetShowCaptions(bool v);
    // The bar's height follows its rows of buttons.
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    // Buttons that do not fit go on to a new row.
    bool Wrapable() const { return m_wrapable; }
    void SetWrapable(bool v);
    // Captions right of the images instead of below them.
    bool List() const { return m_list; }
    void SetList(bool v);
    // The parent shows through instead of the bar's colour.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    int Indent() const { return m_indent; }
    void SetIndent(int v);
    TCustomImageList* Images() const { return m_images; }
    void SetImages(TCustomImageList* images);
    TCustomImageList* HotImages() const { return m_hotImages; }
    void SetHotImages(TCustomImageList* images);
    TCustomImageList* DisabledImages() const { return m_disabledImages; }
    void SetDisabledImages(TCustomImageList* images);
    TEdgeBorders EdgeBorders() const { return m_edgeBorders; }
    void SetEdgeBorders(TEdgeBorders borders);
    TEdgeStyle EdgeInner() const { return m_edgeInner; }
    void SetEdgeInner(TEdgeStyle style);
    TEdgeStyle EdgeOuter() const { return m_edgeOuter; }
    void SetEdgeOuter(TEdgeStyle style);

    // Buttons in their order on the bar.
    int ButtonCount() const { return static_cast<int>(m_buttons.size()); }
    TToolButton* Buttons(int i) const { return m_buttons.at(static_cast<std::size_t>(i)); }
    int RowCount() const { return m_rows; }
    TToolButton* ButtonAt(int x, int y) const;

    // Drops the button's menu down under it; false when it has none.
    bool TrackMenu(TToolButton* button, bool selectFirst = false);
    // The button whose drop-down is open, the one under the pointer.
    TToolButton* TrackedButton() const { return m_tracked; }
    TToolButton* HotButton() const { return m_hot; }
    TCustomDrawState ButtonState(const TToolButton* button) const;
    // Closes an open drop-down.
    void CloseMenu();
    TMenuChain& Chain() { return m_chain; }

    // The bar's own look of a button, for custom draw that adds to it.
    void DefaultDrawButton(TToolButton* button, TCustomDrawState state);

    TTBCustomDrawEvent OnCustomDraw;
    TTBCustomDrawBtnEvent OnCustomDrawButton;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& r) const override;
    void AlignControls(TControl* AControl, TRect& r) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TMessage& m) override;
    void CMDialogChar(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;
    void Loaded() override;

    bool MenuBarTrack(TPoint p) override;
    void MenuBarStep(int direction) override;
    void MenuBarPressed(TPoint p) override;
    void MenuBarClosed() override;

private:
    friend class TToolButton;
    void AddButton(TToolButton* b);
    void RemoveButton(TToolButton* b);
    void ButtonsChanged();
    void LayoutButtons();
    int ButtonWidthFor(const TToolButton* b, int uniform) const;
    int EdgeWidth(TEdgeBorder side) const;
    void SetImageList(TComponentRef<TCustomImageList>& slot, TCustomImageList* images);
    void SetHot(TToolButton* b);
    TToolButton* NextMenuButton(TToolButton* from, int direction) const;

    int m_buttonHeight = 22;
    int m_buttonWidth = 23;
    bool m_flat = false;
    bool m_showCaptions = false;
    bool m_autoSize = false;
    bool m_wrapable = true;
    bool m_list = false;
    bool m_transparent = false;
    int m_indent = 0;
    TComponentRef<TCustomImageList> m_images{this};
    TComponentRef<TCustomImageList> m_hotImages{this};
    TComponentRef<TCustomImageList> m_disabledImages{this};
    TEdgeBorders m_edgeBorders = ebTop;
    TEdgeStyle m_edgeInner = esRaised;
    TEdgeStyle m_edgeOuter = esLowered;

    std::vector<TToolButton*> m_buttons; // the bar's children; their owner frees them
    int m_rows = 0;
    bool m_layingOut = false;
    TToolButton* m_hot = nullptr;
    TToolButton* m_pressed = nullptr;
    bool m_pressedInside = false;
    TToolButton* m_tracked = nullptr;
    TToolButton* m_lastClosed = nullptr;
    TMenuChain m_chain;
};

} // namespace tk

Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TToolBarEnums::TEdgeBorders)
