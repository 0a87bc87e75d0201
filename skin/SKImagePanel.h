// Panels of the skin layer: the picture panel (a picture shown once,
// stretched or tiled, with an optional caption; every track-bar and
// scroll-bar thumb is one) and the framed panel with a style-coloured caption
// bar whose button collapses it to the bar and expands it again.
#pragma once

#include <QPointer>
#include <memory>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

namespace sk {

struct TskPanelEnums {
    Q_GADGET

public:
    enum TskDrawStyle { skNormal, skStretch, skTile };
    Q_ENUM(TskDrawStyle)
};

using TskDrawStyle = TskPanelEnums::TskDrawStyle;
using enum TskPanelEnums::TskDrawStyle;

// A panel without bevels that paints a picture and its caption into an
// off-screen bitmap and copies it in one go.
class TskCustomPanel : public tk::TCustomPanel {
    Q_OBJECT

public:
    explicit TskCustomPanel(tk::TComponent* AOwner);
    ~TskCustomPanel() override;

    tk::TPicture* Picture() const { return m_picture.get(); }
    // Assigns a copy; null clears the picture.
    void SetPicture(const tk::TPicture* Value);
    bool Transparent() const { return m_transparent; }
    // Also makes the picture's graphic colour-keyed, or not.
    virtual void SetTransparent(bool Value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool Value);
    TskDrawStyle DrawStyle() const { return m_drawStyle; }
    void SetDrawStyle(TskDrawStyle Value);

    // A fixed top-left corner for the caption; -1 in either leaves the caption
    // vertically centred and placed by Alignment.
    int CaptionX() const { return m_captionX; }
    int CaptionY() const { return m_captionY; }
    void SetCaptionPos(int X, int Y);
    // Where the caption was drawn last (empty before it was drawn).
    tk::TRect LastCaptionRect() const { return m_lastCaptionRect; }

    // The next paint starts from Color (when the panel has a parent window).
    virtual void ClearPanel();
    // Called with the last caption rectangle when the text changes.
    virtual void RepaintText(const tk::TRect& Rect);
    virtual void PictureChanged();

protected:
    void Paint() override;
    void WMEraseBkgnd(tk::TMessage& Message) override;
    void CMTextChanged(tk::TMessage& Message) override;
    void WMSize(tk::TMessage& Message) override;

    // Background, picture and caption, as Paint copies them.
    void PaintFace(tk::TCanvas& Canvas);
    void ApplyAutoSize();

private:
    std::unique_ptr<tk::TPicture> m_picture;
    bool m_transparent = false;
    bool m_autoSize = false;
    int m_captionX = -1;
    int m_captionY = -1;
    tk::TRect m_lastCaptionRect;
    TskDrawStyle m_drawStyle = skNormal;
    bool m_inPictureChanged = false;
};

class TskImagePanel : public TskCustomPanel {
    Q_OBJECT
    Q_PROPERTY(tk::TPicture* Picture READ Picture)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(sk::TskPanelEnums::TskDrawStyle DrawStyle READ DrawStyle WRITE SetDrawStyle)

public:
    explicit TskImagePanel(tk::TComponent* AOwner) : TskCustomPanel(AOwner) {}
};

// A framed panel with a caption bar (theme item 42) and, unless it is aligned
// client, left or right, a button in the bar that collapses the panel to the
// bar (Push) and expands it again (Pop) in 15-pixel steps.
class TskPanel : public tk::TCustomPanel {
    Q_OBJECT
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(bool ShowButton READ ShowButton WRITE SetShowButton)
    // Replaces the control's Height: the height the panel has when expanded.
    Q_PROPERTY(int Height READ ExpandedHeight WRITE SetHeight)
    Q_PROPERTY(quint32 CaptionFontColor READ CaptionFontColor WRITE SetCaptionFontColor)

public:
    explicit TskPanel(tk::TComponent* AOwner);
    ~TskPanel() override;

    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);
    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    // Overwrites Color, BorderColor and CaptionFontColor.
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    bool ShowButton() const { return m_showButton; }
    void SetShowButton(bool Value);
    TColor CaptionFontColor() const { return m_captionFontColor; }
    void SetCaptionFontColor(TColor Value);

    // The remembered expanded height. Setting it resizes the panel only while
    // expanded; a collapsed panel keeps its size and expands to the new value.
    // (Hides TControl::SetHeight, which sizes the control as it is.)
    int ExpandedHeight() const { return m_expandedHeight; }
    void SetHeight(int Value);

    // Collapse to the caption bar; throws tk::Exception when aligned client,
    // left or right.
    void Push();
    // Expand to the remembered height.
    void Pop();
    // Whether the panel is collapsed.
    bool GetPushed() const { return !m_expanded; }
    bool Animating() const { return m_animating > 0; }

    const tk::TBitmap& CaptionBarImage() const { return m_barImage; }
    // The bar image's height; 20 when the style has no bar image.
    int CaptionBarHeight() const;
    // Whether the collapse button is shown (ShowButton, and an Align that can
    // collapse).
    bool ButtonVisible() const;
    // The button's hit rectangle.
    tk::TRect ButtonRect() const;
    // The pointer was over the button when it was last drawn.
    bool ButtonHot() const { return m_buttonHot; }

    tk::TNotifyEvent OnPush;
    tk::TNotifyEvent OnPop;

protected:
    void Paint() override;
    void WMEraseBkgnd(tk::TMessage& Message) override;
    void WMSize(tk::TMessage& Message) override;
    void CMMouseLeave(tk::TMessage& Message) override;
    void MouseMove(tk::TShiftState Shift, int X, int Y) override;
    void MouseUp(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y) override;
    void AdjustClientRect(tk::TRect& r) const override;
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

private:
    class AnimationScope;

    // Sizes the control itself (alignment, animation); no bookkeeping.
    void SizeTo(int Height);
    // One animation step's size; false when the size did not change.
    bool SizeStep(int height);
    // Runs pending messages between animation steps; false when the panel
    // went away meanwhile.
    bool Step();
    bool PointerOverButton() const;
    // Recomputes the hot state from the pointer and redraws the button if it
    // changed.
    void UpdateButton();
    void DrawButton(tk::TCanvas& Canvas);
    tk::TRect ButtonPaintRect() const;

    TColor m_borderColor = tk::clBlack;
    TskThemeLink m_theme;
    tk::TBitmap m_barImage;
    tk::TBitmap m_buttonImage; // PANEL_BUTTON, four states
    bool m_showButton = true;
    bool m_buttonHot = false;
    bool m_expanded = true;
    int m_expandedHeight = 100;
    int m_animating = 0;
    bool m_themeReentry = false;
    TColor m_captionFontColor = tk::clWhite;
    // Last pointer position over the panel, for the button's hot image.
    tk::TPoint m_pointer;
    bool m_pointerInside = false;
};

// Registers TskImagePanel, TskPanel, TskGroupBox and TskStatusBar with the
// form reader (any number of calls).
void RegisterSkinPanelClasses();

} // namespace sk
