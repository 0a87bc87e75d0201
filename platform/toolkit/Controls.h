// Controls: bounds, alignment, visibility, colour and font with their parent
// variants, and the message dispatch that turns Qt events into the messages
// the classic toolkits send. Every control has a Qt widget as its window
// ("handle"), created when it first has a parent window.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/toolkit/Component.h"
#include "platform/toolkit/Enums.h"
#include "platform/toolkit/Graphics.h"
#include "platform/toolkit/Messages.h"
#include "platform/toolkit/Types.h"

namespace tk {

class TControl;
class TWinControl;
class TCustomForm;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, unsigned& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;
using TCanResizeEvent =
    std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TWndMethod = std::function<void(TMessage& Message)>;

class TSizeConstraints : public QObject {
    Q_OBJECT
    Q_PROPERTY(int MinWidth READ MinWidth WRITE SetMinWidth)
    Q_PROPERTY(int MinHeight READ MinHeight WRITE SetMinHeight)
    Q_PROPERTY(int MaxWidth READ MaxWidth WRITE SetMaxWidth)
    Q_PROPERTY(int MaxHeight READ MaxHeight WRITE SetMaxHeight)

public:
    using QObject::QObject;
    int MinWidth() const { return m_minWidth; }
    int MinHeight() const { return m_minHeight; }
    int MaxWidth() const { return m_maxWidth; }
    int MaxHeight() const { return m_maxHeight; }
    void SetMinWidth(int v);
    void SetMinHeight(int v);
    void SetMaxWidth(int v);
    void SetMaxHeight(int v);
    // 0 means no limit.
    void Apply(int& width, int& height) const;

    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) {
            OnChange();
        }
    }
    int m_minWidth = 0;
    int m_minHeight = 0;
    int m_maxWidth = 0;
    int m_maxHeight = 0;
};

// The Qt side of a control's window. Every event goes to the control first.
class THandleWidget : public QWidget {
    Q_OBJECT
public:
    enum class Role { Window, Client };
    THandleWidget(TControl* control, Role role, QWidget* parent);
    ~THandleWidget() override;

    TControl* Control() const { return m_control; }
    Role WidgetRole() const { return m_role; }
    void DetachControl() { m_control = nullptr; }
    // The default handling Qt would give the event.
    bool DefaultEvent(QEvent* e) { return QWidget::event(e); }

protected:
    bool event(QEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    TControl* m_control;
    Role m_role;
};

class TControl : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(tk::TEnums::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString Text READ Caption WRITE SetCaption)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(tk::TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(tk::TEnums::TCursor Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(tk::TSizeConstraints* Constraints READ Constraints)

public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // ---- parent and bounds ----
    TWinControl* Parent() const { return m_parent; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;
    TComponent* ParentComponent() const override;

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetLeft(int v) { SetBounds(v, m_top, m_width, m_height); }
    void SetTop(int v) { SetBounds(m_left, v, m_width, m_height); }
    void SetWidth(int v) { SetBounds(m_left, m_top, v, m_height); }
    void SetHeight(int v) { SetBounds(m_left, m_top, m_width, v); }
    TRect BoundsRect() const { return Bounds(m_left, m_top, m_width, m_height); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The one place every move and size change goes through.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    // Asked before a size change; a form asks its OnCanResize.
    virtual bool CanResize(int& NewWidth, int& NewHeight);

    virtual TRect ClientRect() const { return Rect(0, 0, m_width, m_height); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int w);
    virtual void SetClientHeight(int h);
    // Screen position of the client area's (0, 0).
    TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    TSizeConstraints* Constraints() const { return m_constraints.get(); }

    // ---- appearance ----
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent up to the form visible.
    bool Showing() const;
    bool Enabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool v);
    TFont* Font() const { return m_font.get(); }
    void SetFont(TFont* font);
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool v);
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor cursor);
    QString Hint() const { return m_hint; }
    void SetHint(const QString& hint) { m_hint = hint; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool v) { m_showHint = v; }
    TControlStyle ControlStyle() const { return m_controlStyle; }
    void SetControlStyle(TControlStyle style);

    // ---- window ----
    bool HandleAllocated() const { return !m_handle.isNull(); }
    // Creates the window (and its parent's) if needed.
    QWidget* Handle();
    // The widget children are placed in and painted on; the handle itself
    // unless the control keeps a non-client band.
    virtual QWidget* ClientWidget() const { return m_handle.data(); }
    void Invalidate();
    void Repaint();
    void Update() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // ---- messages ----
    // The procedure every message goes through; replace it to hook the control
    // (keep the old value and call it).
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& Message);
    // Default handling of a message: the base toolkit's (Qt's) behaviour.
    void DefaultHandler(TMessage& Message);
    std::intptr_t Perform(unsigned Msg, std::uintptr_t WParam = 0, std::intptr_t LParam = 0);
    // Sends the message to the control's own WindowProc; returns true when the
    // Qt event behind it was consumed.
    bool DispatchEvent(QEvent* e, THandleWidget* from);
    // Input and focus events of a native widget the control wraps (an edit,
    // a list view): through WindowProc first; returns true when a handler
    // took the event so the native widget must not see it.
    bool DispatchNativeEvent(QWidget* target, QEvent* e);

    bool MouseInControl() const { return m_mouseInControl; }

    // The form this control is on, null if none.
    TCustomForm* ParentForm() const;

    // ---- events ----
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TCanResizeEvent OnCanResize;

    virtual void Click();

protected:
    friend class TWinControl;
    friend class THandleWidget;

    // Window creation; the widget is owned by the control.
    virtual std::unique_ptr<THandleWidget> CreateWidget(QWidget* parentWidget);
    virtual void CreateHandle();
    virtual void DestroyHandle();
    // Pushes every stored property to a newly created window.
    virtual void InitializeHandle();
    void HandleWidgetDestroyed(THandleWidget* w);
    // The top-level window was moved or sized from outside (window manager).
    virtual void HandleGeometryEvent(QEvent* e);
    static bool TranslateInputEvent(QEvent* e, QPoint offset, TMessage& m);
    void UpdateHandleGeometry();
    void UpdateHandleVisible();

    // Message handlers. Each base version does the classic default.
    virtual void WMPaint(TMessage& Message);
    virtual void WMEraseBkgnd(TMessage& Message);
    virtual void WMNCPaint(TMessage& Message);
    virtual void WMSize(TMessage& Message);
    virtual void WMMouse(TMessage& Message);
    virtual void WMKey(TMessage& Message);
    virtual void WMSetFocus(TMessage& Message);
    virtual void WMKillFocus(TMessage& Message);
    virtual void WMTimer(TMessage& Message);
    virtual void CMMouseEnter(TMessage& Message);
    virtual void CMMouseLeave(TMessage& Message);
    virtual void CMTextChanged(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMColorChanged(TMessage& Message);
    virtual void CMEnabledChanged(TMessage& Message);
    virtual void CMVisibleChanged(TMessage& Message);
    virtual void CMParentFontChanged(TMessage& Message);
    virtual void CMParentColorChanged(TMessage& Message);
    virtual void CMDialogKey(TMessage& Message);
    virtual void CMDialogChar(TMessage& Message);
    virtual void CMFocusChanged(TMessage& Message);

    // Painting: the canvas is valid only during Paint.
    virtual void Paint() {}
    TCanvas* Canvas() { return &m_canvas; }

    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void DblClick();
    virtual void Resize();
    virtual void RequestAlign();
    void Changed();
    void Loaded() override;
    void BeforeDestruction() override;

    // Whether the caption's accelerator (&X) is the key.
    static bool IsAccel(unsigned key, const QString& caption);

    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    TControlStyle m_controlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;

private:
    void FontChanged();
    void ApplyCursor();
    void ApplyFont();

    TWinControl* m_parent = nullptr;
    TAlign m_align = alNone;
    bool m_visible = true;
    bool m_enabled = true;
    QString m_caption;
    TColor m_color = clBtnFace;
    bool m_parentColor = false;
    std::unique_ptr<TFont> m_font;
    bool m_parentFont = true;
    TCursor m_cursor = crDefault;
    QString m_hint;
    bool m_showHint = false;
    std::unique_ptr<TSizeConstraints> m_constraints;
    bool m_mouseInControl = false;
    bool m_mouseDownInside = false;
    bool m_inParentFontChange = false;
    TCanvas m_canvas;
    // The widget whose Qt event is being dispatched, for DefaultHandler.
    class DispatchScope;
    THandleWidget* m_dispatchWidget = nullptr;
    bool m_defaultCalled = false;
    bool m_defaultResult = false;
    bool m_nativeDispatch = false;

    std::unique_ptr<THandleWidget> m_ownedHandle;
    QPointer<THandleWidget> m_handle;
};

class TWinControl : public TControl {
    Q_OBJECT
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)

public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    TControl* Controls(int i) const { return m_controls.at(static_cast<std::size_t>(i)); }
    const std::vector<TControl*>& ControlList() const { return m_controls; }
    bool ContainsControl(const TControl* c) const;

    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool v);
    int TabOrder() const;
    void SetTabOrder(int order);
    // Windowed children in tab order.
    std::vector<TWinControl*> TabList() const;

    bool Focused() const;
    virtual bool CanFocus() const;
    void SetFocus();
    // Next control in tab order after current, within this container.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    // Lays out the aligned children in ClientRect (minus what AdjustClientRect
    // takes); the changed control keeps its place in the order where it can.
    void Realign();
    void DisableAlign() { ++m_alignDisabled; }
    void EnableAlign();
    bool AlignDisabled() const { return m_alignDisabled > 0; }

    // Message to every child; stops at the first that sets a result.
    void Broadcast(TMessage& Message);

    // A band around the client area that WM_NCPAINT paints (a frame).
    int NonClientBand() const { return m_ncBand; }
    void SetNonClientBand(int width);
    TRect ClientRect() const override;
    QWidget* ClientWidget() const override;

    // Message-loop timers of this window (WM_TIMER with the id).
    void SetTimer(unsigned id, int intervalMs);
    void KillTimer(unsigned id);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    friend class TControl;
    friend class TCustomForm;

    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void CreateHandle() override;
    void DestroyHandle() override;
    void InitializeHandle() override;
    void WMSize(TMessage& Message) override;
    void WMKey(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void CMFocusChanged(TMessage& Message) override;
    void CMParentFontChanged(TMessage& Message) override;
    void CMParentColorChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void Loaded() override;

    virtual void AdjustClientRect(TRect& r) const { (void)r; }
    virtual void AlignControls(TControl* AControl, TRect& r);
    virtual void KeyDown(unsigned& Key, TShiftState Shift);
    virtual void KeyUp(unsigned& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // Keys the control handles itself instead of the form's dialog keys
    // (Tab, Enter, Escape, arrows).
    virtual bool WantsKey(unsigned key, TShiftState shift) const;
    // Whether typed characters are the control's (an edit) or accelerators.
    virtual bool WantsChars() const { return false; }
    // Focus policy of the window; controls that take focus say so.
    void SetFocusable(bool focusable);
    bool Focusable() const { return m_focusable; }

    // A native Qt widget that does the control's work (an edit, a list view),
    // filling the client area. Its input and focus events go through
    // WindowProc first. Created with the window, and again when the window's
    // client area is rebuilt; NativeWidgetCreated then pushes the state.
    virtual QWidget* CreateNativeWidget(QWidget* parent);
    virtual void NativeWidgetCreated() {}
    QWidget* NativeWidget() const { return m_native.data(); }

private:
    void ApplyFocusPolicy();
    void RealignFrom(TControl* changed);
    void SortTabOrder(TWinControl* changed);
    void RecreateNative();
    void DetachNative();
    void PlaceNative();

    std::vector<TControl*> m_controls;
    std::vector<TWinControl*> m_tabList;
    int m_tabOrder = -1;
    bool m_tabStop = false;
    bool m_focusable = false;
    int m_alignDisabled = 0;
    bool m_realignPending = false;
    bool m_aligning = false;
    int m_ncBand = 0;
    std::unique_ptr<THandleWidget> m_client;
    std::map<unsigned, int> m_timers; // id -> timer service id
    QPointer<QWidget> m_native;       // a child of the client widget, freed with it
    std::unique_ptr<QObject> m_nativeFilter;
};

// A windowed control that paints itself on a canvas; no background erase
// unless it asks for one.
class TCustomControl : public TWinControl {
    Q_OBJECT
public:
    explicit TCustomControl(TComponent* AOwner);
    using TControl::Canvas;
};

// A control that cannot take focus or hold children (labels, splitters).
class TGraphicControl : public TControl {
    Q_OBJECT
public:
    explicit TGraphicControl(TComponent* AOwner);
    using TControl::Canvas;
};

// Qt key to virtual key code; 0 if none.
unsigned VirtualKeyFromQt(int qtKey);
TShiftState ShiftFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);
// Text form of a virtual key for short-cut texts ("Ctrl+O").
QString VirtualKeyName(unsigned vk);

} // namespace tk
