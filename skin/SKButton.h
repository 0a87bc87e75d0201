// Self-drawn buttons, check boxes and radio buttons. Every face is composed
// off-screen from the current style's images and copied in one go; the
// background is never erased.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "platform/toolkit/Actions.h"
#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/Controls.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

namespace sk {

struct TskButtonEnums {
    Q_GADGET

public:
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    Q_ENUM(TButtonLayout)

    enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
    Q_ENUM(TCheckBoxState)

    enum TskArrowButtonType { skUp, skDown };
    Q_ENUM(TskArrowButtonType)
};

using TButtonLayout = TskButtonEnums::TButtonLayout;
using TCheckBoxState = TskButtonEnums::TCheckBoxState;
using TskArrowButtonType = TskButtonEnums::TskArrowButtonType;
using enum TskButtonEnums::TButtonLayout;
using enum TskButtonEnums::TCheckBoxState;
using enum TskButtonEnums::TskArrowButtonType;

// The state machine, auto-repeat, keyboard paths, modal result and paint
// pipeline shared by the push-button family.
class TskCustomButton : public tk::TCustomControl, public tk::TActionClient {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(int MouseContinuouslyDownInterval READ MouseContinuouslyDownInterval WRITE
                   SetMouseContinuouslyDownInterval)
    Q_PROPERTY(int FocusedRectMargin READ FocusedRectMargin WRITE SetFocusedRectMargin)
    Q_PROPERTY(tk::TBasicAction* Action READ Action WRITE SetAction)

public:
    explicit TskCustomButton(tk::TComponent* AOwner);
    ~TskCustomButton() override;

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool Value);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool Value);
    bool Default() const { return m_default; }
    void SetDefault(bool Value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool Value);
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int Value);
    virtual TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    bool PicTransparent() const { return m_picTransparent; }
    void SetPicTransparent(bool Value);
    int MouseContinuouslyDownInterval() const { return m_mouseContinuouslyDownInterval; }
    void SetMouseContinuouslyDownInterval(int Value) { m_mouseContinuouslyDownInterval = Value; }
    int FocusedRectMargin() const { return m_focusedRectMargin; }
    void SetFocusedRectMargin(int Value);
    // TabStop also decides whether a click may move the focus here.
    void SetTabStop(bool Value);

    void SetEnabled(bool Value) override;
    void Click() override;

    // What the state machine holds right now.
    bool IsMouseOn() const { return FMouseOn; }
    bool IsMouseDown() const { return FMouseDown; }
    bool IsActive() const { return FActive; }
    bool RepeatTimerRunning() const { return FTimer; }

    tk::TNotifyEvent OnMouseExit;
    tk::TNotifyEvent OnMouseContinuouslyDown;

protected:
    virtual void AutoSizeChanged();
    virtual void CaptionChanged() {}
    virtual void FontChanged();
    virtual void TransparentChanged();
    virtual void EnableChanged() {}
    virtual void UIStyleChanged() {}
    virtual void PaintPic(tk::TCanvas* ACanvas, tk::TBitmap* ABitmap);
    virtual void PaintText(tk::TCanvas* ACanvas, const QString& ACaption);
    virtual void PaintFocus(tk::TCanvas* ACanvas);
    virtual void PaintButtonNormal(tk::TBitmap* ABitmap);
    virtual void PaintButtonMouseOn(tk::TBitmap* ABitmap);
    virtual void PaintButtonMouseDown(tk::TBitmap* ABitmap);
    virtual void PaintButtonDisabled(tk::TBitmap* ABitmap);

    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;
    void CreateHandle() override;
    void InitializeHandle() override;
    void Loaded() override;
    void Paint() override;
    void MouseDown(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y) override;
    void MouseMove(tk::TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, tk::TShiftState Shift) override;
    void KeyUp(unsigned& Key, tk::TShiftState Shift) override;
    void ActionChange(tk::TBasicAction* Sender, bool CheckDefaults) override;
    void WndProc(tk::TMessage& Message) override;
    void WMEraseBkgnd(tk::TMessage& Message) override;
    void WMSetFocus(tk::TMessage& Message) override;
    void WMKillFocus(tk::TMessage& Message) override;
    void WMTimer(tk::TMessage& Message) override;
    void CMMouseEnter(tk::TMessage& Message) override;
    void CMMouseLeave(tk::TMessage& Message) override;
    void CMFontChanged(tk::TMessage& Message) override;
    void CMTextChanged(tk::TMessage& Message) override;
    void CMDialogKey(tk::TMessage& Message) override;
    void CMDialogChar(tk::TMessage& Message) override;
    void CMFocusChanged(tk::TMessage& Message) override;

    // The state image of one of the three push-button slices, or the 74x21
    // blank stand-in when the style has none.
    void LoadButtonSlice(tk::TBitmap* ABitmap, int Slice) const;
    void StopRepeatTimer();

    TskThemeLink m_theme;
    // One-shot: the next caption drawn the base way is bold.
    bool FFocusBold = false;

private:
    void ApplyFocusPolicy();

    bool m_autoSize = false;
    bool m_cancel = false;
    bool m_default = false;
    bool m_transparent = false;
    int m_modalResult = 0;
    bool m_picTransparent = false;
    int m_mouseContinuouslyDownInterval = 100;
    int m_focusedRectMargin = 2;
    // The auto-repeat window timer exists only while the button is held.
    bool FTimer = false;
    bool FActive = false;
    bool FMouseOn = false;
    bool FMouseDown = false;
    // Whether the last pointer notification delivered was an enter; Qt holds
    // its own back while the mouse is grabbed, so moves report them instead.
    bool m_hoverReported = false;
};

// Push button: nine-part face, glyph and caption.
class TskButton : public TskCustomButton {
    Q_OBJECT
    Q_PROPERTY(tk::TPicture* Glyph READ GlyphPicture)
    Q_PROPERTY(sk::TskButtonEnums::TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_PROPERTY(quint32 ResHandle READ ResHandle WRITE SetResHandle)

public:
    explicit TskButton(tk::TComponent* AOwner);
    ~TskButton() override;

    // The bitmap is the button's own; SetGlyph copies.
    tk::TBitmap* Glyph() const;
    void SetGlyph(const tk::TBitmap* Value);
    tk::TPicture* GlyphPicture() const { return m_glyph.get(); }
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout Value);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int Value);
    quint32 ResHandle() const { return 0; }
    void SetResHandle(quint32) {}

    // Caption origin of the last glyph layout.
    tk::TPoint TextPos() const { return FTextPos; }

protected:
    void UIStyleChanged() override;
    void PaintPic(tk::TCanvas* ACanvas, tk::TBitmap* ABitmap) override;
    void PaintText(tk::TCanvas* ACanvas, const QString& ACaption) override;
    void PaintFocus(tk::TCanvas* ACanvas) override;
    void ActionChange(tk::TBasicAction* Sender, bool CheckDefaults) override;

private:
    // The glyph to draw; null when there is none (or it is no bitmap).
    const tk::TBitmap* GlyphBitmap() const;
    bool HasGlyph() const { return GlyphBitmap() != nullptr; }

    std::unique_ptr<tk::TPicture> m_glyph;
    TButtonLayout m_layout = blGlyphLeft;
    tk::TPoint FTextPos;
    int m_spacing = 4;
};

// The spin edit's arrow: a button face with a black triangle, no caption.
class TskArrowButton : public TskCustomButton {
    Q_OBJECT
    Q_PROPERTY(sk::TskButtonEnums::TskArrowButtonType Arrow READ Arrow WRITE SetArrow)

public:
    explicit TskArrowButton(tk::TComponent* AOwner);

    TskArrowButtonType Arrow() const { return m_arrow; }
    void SetArrow(TskArrowButtonType Value);

protected:
    void UIStyleChanged() override;
    void PaintPic(tk::TCanvas* ACanvas, tk::TBitmap* ABitmap) override;
    void PaintText(tk::TCanvas*, const QString&) override {}

private:
    TskArrowButtonType m_arrow = skUp;
};

// A face cut from any theme image; the control takes the slice's size.
class TskControlButton : public TskCustomButton {
    Q_OBJECT
    Q_PROPERTY(int ThemeID READ ThemeID WRITE SetThemeID)
    Q_PROPERTY(int PicIndex READ PicIndex WRITE SetPicIndex)
    Q_PROPERTY(int PicCount READ PicCount WRITE SetPicCount)
    Q_PROPERTY(bool PicTransparent READ PicTransparent WRITE SetPicTransparent)

public:
    explicit TskControlButton(tk::TComponent* AOwner);

    int ThemeID() const { return m_themeID; }
    void SetThemeID(int Value);
    int PicIndex() const { return m_picIndex; }
    void SetPicIndex(int Value);
    int PicCount() const { return m_picCount; }
    void SetPicCount(int Value);

protected:
    void PaintPic(tk::TCanvas* ACanvas, tk::TBitmap* ABitmap) override;
    void PaintButtonNormal(tk::TBitmap* ABitmap) override;
    void PaintButtonMouseOn(tk::TBitmap* ABitmap) override;
    void PaintButtonMouseDown(tk::TBitmap* ABitmap) override;
    void PaintButtonDisabled(tk::TBitmap* ABitmap) override;

private:
    void LoadSlice(tk::TBitmap* ABitmap, int Index);

    int m_themeID = 0;
    int m_picIndex = 0;
    int m_picCount = 0;
};

// A face from four pictures of the user's.
class TskImageButton : public TskCustomButton {
    Q_OBJECT
    Q_PROPERTY(tk::TPicture* PicNormal READ PicNormal)
    Q_PROPERTY(tk::TPicture* PicMouseOn READ PicMouseOn)
    Q_PROPERTY(tk::TPicture* PicMouseDown READ PicMouseDown)
    Q_PROPERTY(tk::TPicture* PicDisabled READ PicDisabled)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool DrawFocused READ DrawFocused WRITE SetDrawFocused)

public:
    explicit TskImageButton(tk::TComponent* AOwner);
    ~TskImageButton() override;

    tk::TPicture* PicNormal() const { return m_picNormal.get(); }
    tk::TPicture* PicMouseOn() const { return m_picMouseOn.get(); }
    tk::TPicture* PicMouseDown() const { return m_picMouseDown.get(); }
    tk::TPicture* PicDisabled() const { return m_picDisabled.get(); }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool Value);
    bool DrawFocused() const { return m_drawFocused; }
    void SetDrawFocused(bool Value);
    // The pictures are the style.
    TskUIStyle UIStyle() const override { return FromThemeFile; }

protected:
    void AutoSizeChanged() override;
    void PaintPic(tk::TCanvas* ACanvas, tk::TBitmap* ABitmap) override;
    void PaintFocus(tk::TCanvas* ACanvas) override;
    void PaintButtonNormal(tk::TBitmap* ABitmap) override;
    void PaintButtonMouseOn(tk::TBitmap* ABitmap) override;
    void PaintButtonMouseDown(tk::TBitmap* ABitmap) override;
    void PaintButtonDisabled(tk::TBitmap* ABitmap) override;

private:
    std::unique_ptr<tk::TPicture> MakePicture();
    void LoadPicture(tk::TBitmap* ABitmap, const tk::TPicture* Picture) const;

    std::unique_ptr<tk::TPicture> m_picNormal;
    std::unique_ptr<tk::TPicture> m_picMouseOn;
    std::unique_ptr<tk::TPicture> m_picMouseDown;
    std::unique_ptr<tk::TPicture> m_picDisabled;
    bool m_stretch = false;
    bool m_drawFocused = false;
};

// The tool bar's flat glyph button: a frame while the pointer is over it.
class TskToolBarSpeedButton : public tk::TCustomPanel {
    Q_OBJECT
    Q_PROPERTY(tk::TPicture* Glyph READ GlyphPicture)

public:
    explicit TskToolBarSpeedButton(tk::TComponent* AOwner);
    ~TskToolBarSpeedButton() override;

    tk::TBitmap* Glyph() const;
    void SetGlyph(const tk::TBitmap* Value);
    tk::TPicture* GlyphPicture() const { return m_glyph.get(); }
    bool IsHot() const { return FHot; }

protected:
    void Paint() override;
    void WMEraseBkgnd(tk::TMessage& Message) override;
    void CMMouseEnter(tk::TMessage& Message) override;
    void CMMouseLeave(tk::TMessage& Message) override;

private:
    std::unique_ptr<tk::TPicture> m_glyph;
    bool FHot = false;
};

// Check mark and caption. OnClick is the box's own event: it fires whenever
// Checked changes, from the user or from code, but not while loading.
class TskCheckBox : public tk::TCustomControl {
    Q_OBJECT
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(sk::TskButtonEnums::TCheckBoxState State READ State WRITE SetState STORED false)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit TskCheckBox(tk::TComponent* AOwner);
    ~TskCheckBox() override;

    bool Checked() const { return m_checked; }
    void SetChecked(bool Value);
    // There is no grey state: anything but cbChecked unchecks.
    TCheckBoxState State() const { return m_checked ? cbChecked : cbUnchecked; }
    void SetState(TCheckBoxState Value) { SetChecked(Value == cbChecked); }
    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool Value);
    void SetEnabled(bool Value) override;
    void Click() override;

    // Hides the toolkit's click event, which still runs after the toggle.
    tk::TNotifyEvent OnClick;

protected:
    virtual bool NeedDrawFocus();
    virtual bool GetPicTransparent() { return false; }
    virtual int GetPicThemeIndex() { return siCheckBoxImage; }
    virtual void CheckStateChanged();
    // Called before every toggle.
    virtual void Toggle() {}
    virtual void DoClick();
    virtual bool WantKeyUp() { return true; }

    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;
    void Loaded() override;
    void Paint() override;
    void MouseDown(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y) override;
    void KeyUp(unsigned& Key, tk::TShiftState Shift) override;
    void WndProc(tk::TMessage& Message) override;
    void WMEraseBkgnd(tk::TMessage& Message) override;
    void WMSetFocus(tk::TMessage& Message) override;
    void WMKillFocus(tk::TMessage& Message) override;
    void CMFontChanged(tk::TMessage& Message) override;
    void CMTextChanged(tk::TMessage& Message) override;
    void CMFocusChanged(tk::TMessage& Message) override;
    void CMDialogChar(tk::TMessage& Message) override;

    void FireOnClick();
    void TakeFocus();

    TskThemeLink m_theme;

private:
    void LoadMark(tk::TBitmap* ABitmap);
    void AdjustSize(tk::TCanvas* ACanvas, const tk::TBitmap& Mark);
    // Auto-sizes to the mark and caption now, outside any paint: a control
    // that changes its size while it paints leaves the strip it gave up
    // unpainted.
    void FitToCaption();

    bool m_checked = false;
    bool m_transparent = false;
    bool m_autoSize = true;
};

// Radio mark; checking one unchecks the others of its GroupIndex among its
// siblings.
class TskRadioButton : public TskCheckBox {
    Q_OBJECT
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)

public:
    explicit TskRadioButton(tk::TComponent* AOwner);

    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int Value) { m_groupIndex = Value; }

protected:
    bool GetPicTransparent() override { return true; }
    int GetPicThemeIndex() override { return siRadioButtonImage; }
    void CheckStateChanged() override;
    void DoClick() override;
    bool WantKeyUp() override { return false; }
    void WMSetFocus(tk::TMessage& Message) override;

private:
    int m_groupIndex = 0;
};

// Makes the classes above known to form descriptions (any number of calls).
void RegisterSkinButtonClasses();

} // namespace sk
