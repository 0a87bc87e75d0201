// Forms: top-level windows with border styles, modal runs, the can-resize
// hook, focus and dialog-key routing, and the handler table that form
// descriptions bind events to.
#pragma once

#include <QPointer>
#include <any>
#include <map>

#include "platform/toolkit/Controls.h"

class QEventLoop;

Q_MOC_INCLUDE("platform/toolkit/Menus.h")

namespace tk {

class TMainMenu;
class TCustomForm;

// Where a form's window lives when it is no window of the desktop of its own:
// an MDI child's sits in its parent's MDI client (MDI.h). The form hands
// showing, placing, its window state, its frame and activation to the site;
// the site keeps the form's bounds and state in step with what it shows.
class TFormSite {
public:
    virtual ~TFormSite() = default;
    // The form's bounds changed (they are the site's coordinates).
    virtual void PlaceForm(TCustomForm* Form) = 0;
    virtual void ShowForm(TCustomForm* Form, bool Visible) = 0;
    // WindowState was set on a visible form.
    virtual void FormStateChanged(TCustomForm* Form) = 0;
    // The caption or border style changed.
    virtual void FormFrameChanged(TCustomForm* Form) = 0;
    virtual bool FormActive(const TCustomForm* Form) const = 0;
    virtual void ActivateForm(TCustomForm* Form) = 0;
};

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(unsigned Key, TShiftState Shift, bool& Handled)>;

class TCustomForm : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(tk::TEnums::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(tk::TEnums::TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(tk::TEnums::TWindowState WindowState READ WindowState WRITE SetWindowState)
    Q_PROPERTY(tk::TEnums::TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)
    Q_PROPERTY(bool Scaled READ Scaled WRITE SetScaled)
    Q_PROPERTY(bool AutoScroll READ AutoScroll WRITE SetAutoScroll)
    Q_PROPERTY(int PixelsPerInch READ PixelsPerInch WRITE SetPixelsPerInch)
    Q_PROPERTY(tk::TWinControl* ActiveControl READ ActiveControl WRITE SetActiveControl)
    Q_PROPERTY(tk::TMainMenu* Menu READ Menu WRITE SetMenu)

public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition p) { m_position = p; }
    TWindowState WindowState() const { return m_windowState; }
    void SetWindowState(TWindowState state);
    TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle style) { m_formStyle = style; }
    bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool v) { m_keyPreview = v; }
    bool Scaled() const { return m_scaled; }
    void SetScaled(bool v) { m_scaled = v; }
    bool AutoScroll() const { return m_autoScroll; }
    void SetAutoScroll(bool v) { m_autoScroll = v; }
    int PixelsPerInch() const { return 96; }
    void SetPixelsPerInch(int) {}

    // The system caption (title bar of the window manager). Without it the
    // window is frameless and keeps a 3-pixel frame band of its own, which a
    // sizeable form resizes by.
    bool HasWindowCaption() const { return m_windowCaption; }
    void SetWindowCaption(bool caption);
    // Width of the frame band the form paints itself (0 with a system frame).
    int FrameBand() const { return NonClientBand(); }
    // Applies a changed frame (style bits, caption) to the window.
    void RefreshFrame();

    // The site the form's window lives in; none for a window of the desktop.
    // Set by the site as it takes the window in and cleared as it lets go.
    TFormSite* Site() const { return m_site; }
    void SetSite(TFormSite* site) { m_site = site; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool visible) override;
    bool CanResize(int& NewWidth, int& NewHeight) override;
    // Puts the form back to the bounds it had before it was maximised. Not a
    // size anyone chooses, so the can-resize handler is not asked: a handler
    // that would refuse the form's own normal size must not keep it
    // maximised for good.
    void RestoreNormalBounds(const TRect& Bounds);

    // ---- showing and closing ----
    void Show();
    void Close();
    virtual bool CloseQuery();
    int ShowModal();
    bool IsModal() const { return m_modalLoop != nullptr; }
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int result);
    bool Active() const;
    void BringToFront();

    // ---- focus ----
    TWinControl* ActiveControl() const { return m_activeControl; }
    void SetActiveControl(TWinControl* c);
    void FocusControl(TWinControl* c);
    // Called when a control of this form got the focus.
    void SetFocusedControl(TWinControl* c);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    // ---- keys ----
    // Runs a short-cut of the form (OnShortCut, then its main menu).
    virtual bool IsShortCut(unsigned key, TShiftState shift);
    // The menu whose short-cuts the form runs; no menu bar is shown for it.
    TMainMenu* Menu() const;
    void SetMenu(TMainMenu* menu);

    // ---- form descriptions ----
    // Reads a description (a compiled-in resource path like ":/forms/x.form",
    // or a file) into this form: creates its components, sets properties,
    // binds handlers and calls Loaded. Throws EFormDescription on errors,
    // after freeing what it created.
    void LoadDescription(const QString& path);
    void LoadDescriptionText(const QString& text, const QString& sourceName);
    // Raises OnCreate; a form class calls it at the end of its constructor.
    void DoCreate();

    // Handler table read by the form reader: OnClick = sbtnDelClick.
    template <class T, class R, class... A>
    void RegisterHandler(const QString& name, R (T::*fn)(A...)) {
        T* self = static_cast<T*>(this);
        m_handlers[name] = std::function<R(A...)>(
            [self, fn](A... args) -> R { return (self->*fn)(std::forward<A>(args)...); });
    }
    template <class F> void RegisterHandler(const QString& name, F fn) { m_handlers[name] = fn; }
    const std::any* FindHandler(const QString& name) const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    std::unique_ptr<THandleWidget> CreateWidget(QWidget* parentWidget) override;
    void InitializeHandle() override;
    void HandleGeometryEvent(QEvent* e) override;
    void WndProc(TMessage& Message) override;
    void WMNCPaint(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    void Paint() override;
    void BeforeDestruction() override;
    virtual void DoClose(TCloseAction& action);
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();
    // Mouse in the frame band: resizing a sizeable frameless window.
    bool FrameMouse(QMouseEvent* e);

    friend class TControl;

private:
    friend class TFormWidget;
    // The window's state was changed from outside.
    void WindowStateChanged();
    void ApplyWindowFlags();
    void PlaceOnFirstShow();
    Qt::Edges FrameEdgesAt(QPoint p) const;
    bool Sizeable() const;

    TFormBorderStyle m_borderStyle = bsSizeable;
    TPosition m_position = poDesigned;
    TWindowState m_windowState = wsNormal;
    TFormStyle m_formStyle = fsNormal;
    bool m_keyPreview = false;
    bool m_scaled = true;
    bool m_autoScroll = false;
    bool m_windowCaption = true;
    bool m_placed = false;
    TRect m_normalBounds; // before the last maximise or minimise
    bool m_restoringBounds = false;
    int m_modalResult = 0;
    QEventLoop* m_modalLoop = nullptr;
    QPointer<TWinControl> m_activeControl;
    QPointer<QObject> m_menu; // a TMainMenu
    std::map<QString, std::any, CaseInsensitiveLess> m_handlers;
    bool m_created = false;
    TFormSite* m_site = nullptr;

    // Manual frame resizing where the window manager does not do it.
    Qt::Edges m_resizeEdges;
    QPoint m_resizeStart;
    QRect m_resizeStartGeometry;
};

class TForm : public TCustomForm {
    Q_OBJECT
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

} // namespace tk
