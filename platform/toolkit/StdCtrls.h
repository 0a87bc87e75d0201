// The plain controls: panel, static text, splitter, picture box and a push
// button.
#pragma once

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/Controls.h"

namespace tk {

// Raised/lowered 3-D frame of the classic look, width pixels wide; r shrinks
// by the frame.
void Frame3D(TCanvas& canvas, TRect& r, TColor topColor, TColor bottomColor, int width);

class TCustomPanel : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(tk::TEnums::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(tk::TEnums::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(tk::TEnums::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(tk::TEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    explicit TCustomPanel(TComponent* AOwner);

    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut v);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut v);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int v);
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);

protected:
    void AdjustClientRect(TRect& r) const override;
    void Paint() override;

private:
    void FrameChanged();
    TBevelCut m_bevelOuter = bvRaised;
    TBevelCut m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    TFormBorderStyle m_borderStyle = bsNone;
    TAlignment m_alignment = taCenter;
};

class TPanel : public TCustomPanel {
    Q_OBJECT
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

class TLabel : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_PROPERTY(tk::TEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(tk::TEnums::TTextLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(tk::TWinControl* FocusControl READ FocusControl WRITE SetFocusControl)

public:
    explicit TLabel(TComponent* AOwner);

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool v);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout v);
    TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* c);

protected:
    void Paint() override;
    void Loaded() override;
    void CMTextChanged(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
    void CMDialogChar(TMessage& m) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AdjustBounds();
    UINT TextFlags() const;

    bool m_autoSize = true;
    bool m_transparent = false;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    TWinControl* m_focusControl = nullptr;
};

using TMovedEvent = TNotifyEvent;

// Drags the boundary between the control it touches (aligned the same way)
// and the rest of its parent.
class TSplitter : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
    Q_PROPERTY(tk::TEnums::TResizeStyle ResizeStyle READ ResizeStyle WRITE SetResizeStyle)
    Q_PROPERTY(bool Beveled READ Beveled WRITE SetBeveled)

public:
    explicit TSplitter(TComponent* AOwner);

    int MinSize() const { return m_minSize; }
    void SetMinSize(int v) { m_minSize = v > 0 ? v : 1; }
    TResizeStyle ResizeStyle() const { return m_resizeStyle; }
    void SetResizeStyle(TResizeStyle v) { m_resizeStyle = v; }
    bool Beveled() const { return m_beveled; }
    void SetBeveled(bool v);

    // The control this splitter resizes, null if none touches it.
    TControl* FindResizedControl() const;

    TNotifyEvent OnMoved;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WndProc(TMessage& m) override;

private:
    void UpdateCursor();
    int NewSizeFor(int x, int y) const;

    int m_minSize = 30;
    TResizeStyle m_resizeStyle = rsPattern;
    bool m_beveled = false;
    QPointer<TControl> m_control; // may be freed mid-drag
    TPoint m_downPos;
    int m_maxSize = 0;
    bool m_dragging = false;
};

class TImage : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(tk::TPicture* Picture READ Picture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const { return m_picture.get(); }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool v);
    bool Center() const { return m_center; }
    void SetCenter(bool v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);

protected:
    void Paint() override;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> m_picture;
    bool m_stretch = false;
    bool m_center = false;
    bool m_transparent = false;
    bool m_autoSize = false;
};

// A captioned, etched frame around a group of controls.
class TGroupBox : public TCustomControl {
    Q_OBJECT
public:
    explicit TGroupBox(TComponent* AOwner);

protected:
    void AdjustClientRect(TRect& r) const override;
    void Paint() override;
    void CMTextChanged(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;

private:
    int CaptionHeight() const;
};

// The toolkit's own push button, in the classic raised look.
class TButton : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)

public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return m_default; }
    void SetDefault(bool v);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool v) { m_cancel = v; }
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int v) { m_modalResult = v; }
    bool Pressed() const { return m_pressed; }

    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, TShiftState Shift) override;
    void KeyUp(unsigned& Key, TShiftState Shift) override;
    void CMDialogKey(TMessage& m) override;
    void CMDialogChar(TMessage& m) override;
    void CMFocusChanged(TMessage& m) override;
    void WMSetFocus(TMessage& m) override;
    void WMKillFocus(TMessage& m) override;

private:
    bool m_default = false;
    bool m_cancel = false;
    int m_modalResult = 0;
    bool m_pressed = false;
    bool m_tracking = false;
    bool m_spaceDown = false;
    bool m_active = false; // the button Enter presses right now
};

} // namespace tk
