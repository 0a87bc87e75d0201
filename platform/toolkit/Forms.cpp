#include "platform/toolkit/Forms.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/FormReader.h"
#include "platform/toolkit/Menus.h"

namespace tk {

namespace {
constexpr int kFrameBand = 3;

// Shows the window in the state; normal as show() does for a window first
// shown, as showNormal() for one restored.
void ShowInState(QWidget* w, TWindowState state, bool restore) {
    switch (state) {
    case wsMaximized:
        w->showMaximized();
        break;
    case wsMinimized:
        w->showMinimized();
        break;
    default:
        if (restore) {
            w->showNormal();
        } else {
            w->show();
        }
        break;
    }
}

void RaiseWindow(QWidget* w) {
    // The offscreen platform has no stacking and says so on every call.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        w->raise();
    }
    w->activateWindow();
}
} // namespace

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
    SetParentFont(false);
    SetFocusable(true);
    m_left = 0;
    m_top = 0;
    m_width = 320;
    m_height = 240;
    SetVisible(false);
    PublishEvent("OnCreate", OnCreate);
    PublishEvent("OnDestroy", OnDestroy);
    PublishEvent("OnShow", OnShow);
    PublishEvent("OnHide", OnHide);
    PublishEvent("OnActivate", OnActivate);
    PublishEvent("OnDeactivate", OnDeactivate);
    PublishEvent("OnPaint", OnPaint);
    PublishEvent("OnClose", OnClose);
    PublishEvent("OnCloseQuery", OnCloseQuery);
    PublishEvent("OnShortCut", OnShortCut);
    // A form has its window from the start: children get theirs as they
    // are placed on it.
    CreateHandle();
}

TCustomForm::~TCustomForm() {
    if (m_modalLoop) {
        m_modalLoop->quit();
    }
}

void TCustomForm::BeforeDestruction() {
    if (OnDestroy && m_created) {
        OnDestroy(this);
    }
    TWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() {
    m_created = true;
    if (OnCreate) {
        OnCreate(this);
    }
}

// A form's window: tells the form when its window state changes.
class TFormWidget : public THandleWidget {
public:
    TFormWidget(TCustomForm* form, QWidget* parent)
        : THandleWidget(form, Role::Window, parent), m_form(form) {}

protected:
    void changeEvent(QEvent* e) override {
        THandleWidget::changeEvent(e);
        if (e->type() == QEvent::WindowStateChange && Control()) {
            m_form->WindowStateChanged();
        }
    }

private:
    TCustomForm* m_form;
};

std::unique_ptr<THandleWidget> TCustomForm::CreateWidget(QWidget* parentWidget) {
    auto w = std::make_unique<TFormWidget>(this, parentWidget);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->setAttribute(Qt::WA_QuitOnClose, false);
    return w;
}

void TCustomForm::InitializeHandle() {
    TWinControl::InitializeHandle();
    // The form takes the keyboard only when nothing on it can; a click on a
    // panel or label must not pull the focus away from the focused control.
    Handle()->setFocusPolicy(Qt::TabFocus);
    Handle()->setWindowTitle(Caption());
    ApplyWindowFlags();
}

bool TCustomForm::Sizeable() const {
    return m_borderStyle == bsSizeable || m_borderStyle == bsSizeToolWin;
}

void TCustomForm::ApplyWindowFlags() {
    if (!HandleAllocated()) {
        return;
    }
    QWidget* w = Handle();
    if (m_site) {
        // The site frames the window; the form keeps its own band.
        SetNonClientBand((!m_windowCaption && m_borderStyle != bsNone) ? kFrameBand : 0);
        m_site->FormFrameChanged(this);
        return;
    }
    Qt::WindowFlags flags = Qt::Window;
    if (m_borderStyle == bsToolWindow || m_borderStyle == bsSizeToolWin) {
        flags = Qt::Tool;
    } else if (m_borderStyle == bsDialog) {
        flags = Qt::Dialog;
    }
    const bool frameless = m_borderStyle == bsNone || !m_windowCaption;
    if (frameless) {
        flags |= Qt::FramelessWindowHint;
    }
    if (m_formStyle == fsStayOnTop) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    const bool wasVisible = w->isVisible();
    if (w->windowFlags() != flags) {
        w->setWindowFlags(flags);
    }
    // A caption-less frame is still a frame: three pixels the form paints.
    const int band = (!m_windowCaption && m_borderStyle != bsNone) ? kFrameBand : 0;
    SetNonClientBand(band);
    if (!Sizeable() && !frameless) {
        w->setFixedSize(Width(), Height());
    } else {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    UpdateHandleGeometry();
    if (wasVisible) {
        w->show();
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style != m_borderStyle) {
        m_borderStyle = style;
        ApplyWindowFlags();
    }
}

void TCustomForm::SetWindowCaption(bool caption) {
    m_windowCaption = caption;
}

void TCustomForm::RefreshFrame() {
    ApplyWindowFlags();
    Invalidate();
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (m_site) {
        m_site->PlaceForm(this);
        return;
    }
    if (HandleAllocated() && !Sizeable() && m_windowCaption && m_borderStyle != bsNone) {
        Handle()->setFixedSize(Width(), Height());
    }
}

bool TCustomForm::CanResize(int& NewWidth, int& NewHeight) {
    return m_restoringBounds || TWinControl::CanResize(NewWidth, NewHeight);
}

void TCustomForm::RestoreNormalBounds(const TRect& Bounds) {
    m_restoringBounds = true;
    try {
        SetBoundsRect(Bounds);
    } catch (...) {
        m_restoringBounds = false;
        throw;
    }
    m_restoringBounds = false;
}

void TCustomForm::HandleGeometryEvent(QEvent* e) {
    QWidget* w = Handle();
    if (!w->isWindow()) {
        return;
    }
    const QRect g = w->geometry();
    if (e->type() == QEvent::Move) {
        m_left = g.x();
        m_top = g.y();
        return;
    }
    if (g.width() == Width() && g.height() == Height()) {
        return;
    }
    // Sized from outside (window manager, maximise): the form may refuse.
    int nw = g.width();
    int nh = g.height();
    Constraints()->Apply(nw, nh);
    if (!CanResize(nw, nh)) {
        w->resize(Width(), Height());
        return;
    }
    m_width = nw;
    m_height = nh;
    if (nw != g.width() || nh != g.height()) {
        w->resize(nw, nh);
    }
    Perform(WM_SIZE, 0, MakeLParam(m_width, m_height));
}

void TCustomForm::SetVisible(bool visible) {
    if (visible && !m_site) {
        PlaceOnFirstShow();
    }
    const bool changed = visible != Visible();
    TWinControl::SetVisible(visible);
    if (!changed || !HandleAllocated()) {
        return;
    }
    QWidget* w = Handle();
    if (m_site) {
        m_site->ShowForm(this, visible);
    } else if (visible) {
        ShowInState(w, m_windowState, false);
        RaiseWindow(w);
    } else {
        w->hide();
    }
    if (visible) {
        if (m_activeControl && m_activeControl->CanFocus()) {
            FocusControl(m_activeControl);
        } else if (TWinControl* first = FindNextControl(nullptr, true, true, false)) {
            FocusControl(first);
        }
    }
}

void TCustomForm::PlaceOnFirstShow() {
    if (m_placed) {
        return;
    }
    m_placed = true;
    QRect area;
    if (m_position == poScreenCenter || m_position == poDesktopCenter) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            area = s->availableGeometry();
        }
    } else if (m_position == poMainFormCenter || m_position == poOwnerFormCenter) {
        TCustomForm* over = qobject_cast<TCustomForm*>(Owner());
        if (m_position == poMainFormCenter || !over) {
            over = Application ? Application->MainForm() : nullptr;
        }
        if (over && over != this) {
            area = QRect(over->Left(), over->Top(), over->Width(), over->Height());
        } else if (QScreen* s = QGuiApplication::primaryScreen()) {
            area = s->availableGeometry();
        }
    }
    if (area.isValid()) {
        SetBounds(area.x() + (area.width() - Width()) / 2,
                  area.y() + (area.height() - Height()) / 2, Width(), Height());
    }
}

void TCustomForm::SetWindowState(TWindowState state) {
    if (state == m_windowState) {
        return;
    }
    const TWindowState old = m_windowState;
    if (old == wsNormal) {
        m_normalBounds = BoundsRect();
    }
    m_windowState = state;
    if (!HandleAllocated() || !Visible()) {
        return;
    }
    if (m_site) {
        m_site->FormStateChanged(this);
        Perform(WM_SIZE, 0, MakeLParam(Width(), Height()));
        return;
    }
    ShowInState(Handle(), state, true);
    // Without a window manager nobody answers the request: a restored form
    // goes back to its normal bounds itself, and the form hears of the new
    // state in a size message, as it would from the window system.
    if (state == wsNormal && old == wsMaximized && !m_normalBounds.IsEmpty()) {
        RestoreNormalBounds(m_normalBounds);
    }
    Perform(WM_SIZE, 0, MakeLParam(Width(), Height()));
}

void TCustomForm::WindowStateChanged() {
    // Changed from outside (the window manager, a task bar): the form follows.
    const Qt::WindowStates s = Handle()->windowState();
    const TWindowState state = (s & Qt::WindowMinimized)   ? wsMinimized
                               : (s & Qt::WindowMaximized) ? wsMaximized
                                                           : wsNormal;
    if (state != m_windowState && Visible()) {
        if (m_windowState == wsNormal) {
            m_normalBounds = BoundsRect();
        }
        m_windowState = state;
        Perform(WM_SIZE, 0, MakeLParam(Width(), Height()));
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::BringToFront() {
    if (m_site) {
        m_site->ActivateForm(this);
    } else if (HandleAllocated()) {
        RaiseWindow(Handle());
    }
}

bool TCustomForm::Active() const {
    if (m_site) {
        return m_site->FormActive(this);
    }
    return HandleAllocated() && const_cast<TCustomForm*>(this)->Handle()->isActiveWindow();
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) {
        OnCloseQuery(this, canClose);
    }
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) {
        OnClose(this, action);
    }
}

void TCustomForm::Close() {
    if (m_modalLoop) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) {
        return;
    }
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) {
        return;
    }
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Hide();
        // Freed once the handler that closed it has returned.
        QPointer<QObject> self(this);
        QMetaObject::invokeMethod(
            qApp,
            [self] {
                if (self) {
                    static_cast<TCustomForm*>(self.data())->Free();
                }
            },
            Qt::QueuedConnection);
    }
}

void TCustomForm::SetModalResult(int result) {
    m_modalResult = result;
    if (m_modalLoop && result != 0) {
        m_modalLoop->quit();
    }
}

int TCustomForm::ShowModal() {
    if (Visible() || m_modalLoop) {
        throw Exception(QStringLiteral("Cannot make a visible window modal"));
    }
    QWidget* w = Handle();
    w->setWindowModality(Qt::ApplicationModal);
    m_modalResult = 0;
    QEventLoop loop;
    m_modalLoop = &loop;
    QPointer<QObject> self(this);
    try {
        Show();
        for (;;) {
            if (m_modalResult == 0) {
                loop.exec(QEventLoop::DialogExec);
            }
            if (!self) {
                return mrCancel;
            }
            if (m_modalResult == 0) {
                if (Application && Application->Terminated()) {
                    // The application is going: the form is not asked, or a
                    // refusal would spin here for ever.
                    m_modalResult = mrCancel;
                    break;
                }
                continue;
            }
            // A form may still refuse to close, which keeps the modal run going.
            if (!CloseQuery()) {
                m_modalResult = 0;
                continue;
            }
            TCloseAction action = caHide;
            DoClose(action);
            if (action == caNone) {
                m_modalResult = 0;
                continue;
            }
            break;
        }
    } catch (...) {
        // A throwing handler ends the run: the loop it pointed at is gone.
        if (self) {
            m_modalLoop = nullptr;
            Hide();
            w->setWindowModality(Qt::NonModal);
        }
        throw;
    }
    m_modalLoop = nullptr;
    Hide();
    w->setWindowModality(Qt::NonModal);
    return m_modalResult;
}

void TCustomForm::SetActiveControl(TWinControl* c) {
    if (c && !ContainsControl(c)) {
        throw Exception(QStringLiteral("Invalid active control"));
    }
    m_activeControl = c;
    if (c && !IsLoading() && Visible() && c->CanFocus()) {
        FocusControl(c);
    }
}

void TCustomForm::FocusControl(TWinControl* c) {
    if (!c || !c->HandleAllocated()) {
        m_activeControl = c;
        return;
    }
    m_activeControl = c;
    static_cast<TControl*>(c)->TControl::ClientWidget()->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::SetFocusedControl(TWinControl* c) {
    m_activeControl = c;
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<std::intptr_t>(c));
}

void TCustomForm::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false)) {
        FocusControl(next);
    }
}

bool TCustomForm::IsShortCut(unsigned key, TShiftState shift) {
    bool handled = false;
    if (OnShortCut) {
        OnShortCut(key, shift, handled);
    }
    if (!handled) {
        if (TMainMenu* menu = Menu()) {
            handled = menu->IsShortCut(key, shift);
        }
    }
    return handled;
}

TMainMenu* TCustomForm::Menu() const {
    return static_cast<TMainMenu*>(m_menu.data());
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    m_menu = menu;
}

const std::any* TCustomForm::FindHandler(const QString& name) const {
    auto it = m_handlers.find(name);
    return it == m_handlers.end() ? nullptr : &it->second;
}

void TCustomForm::LoadDescription(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        throw EFormDescription(QStringLiteral("Form description %1 cannot be read").arg(path));
    }
    LoadDescriptionText(QString::fromUtf8(f.readAll()), path);
}

void TCustomForm::LoadDescriptionText(const QString& text, const QString& sourceName) {
    TFormReader reader(this);
    reader.Read(text, sourceName);
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_SHOWWINDOW:
        if (m.WParam) {
            DoShow();
        } else {
            DoHide();
        }
        return;
    case WM_ACTIVATE:
        if (m.WParam) {
            Activate();
        } else {
            Deactivate();
        }
        return;
    case CM_TEXTCHANGED:
        if (HandleAllocated()) {
            Handle()->setWindowTitle(Caption());
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TCustomForm::DoShow() {
    if (OnShow) {
        OnShow(this);
    }
}

void TCustomForm::DoHide() {
    if (OnHide) {
        OnHide(this);
    }
}

void TCustomForm::Activate() {
    if (OnActivate) {
        OnActivate(this);
    }
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) {
        OnDeactivate(this);
    }
}

void TCustomForm::WMNCPaint(TMessage& m) {
    // The plain frame band: the face colour with a light and dark edge.
    auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
    if (!canvas) {
        return;
    }
    const TRect r = Rect(0, 0, Width(), Height());
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(r);
}

void TCustomForm::Paint() {
    if (OnPaint) {
        OnPaint(this);
    }
}

void TCustomForm::CMDialogKey(TMessage& m) {
    const auto shift = static_cast<TShiftState>(m.LParam);
    if (!(shift & ssAlt)) {
        switch (m.WParam) {
        case VK_TAB:
            if (!(shift & ssCtrl)) {
                SelectNext(m_activeControl, !(shift & ssShift), true);
                m.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (m_activeControl && m_activeControl->Parent()) {
                TWinControl* parent = m_activeControl->Parent();
                const bool forward = m.WParam == VK_RIGHT || m.WParam == VK_DOWN;
                if (TWinControl* next =
                        parent->FindNextControl(m_activeControl, forward, false, true)) {
                    FocusControl(next);
                }
                m.Result = 1;
            }
            return;
        default:
            break;
        }
    }
    TWinControl::CMDialogKey(m);
}

Qt::Edges TCustomForm::FrameEdgesAt(QPoint p) const {
    Qt::Edges edges;
    const int grip = 8; // corners are easier to hit than the 3-pixel band
    if (p.x() < kFrameBand || (p.x() < grip && (p.y() < grip || p.y() >= Height() - grip))) {
        edges |= Qt::LeftEdge;
    }
    if (p.x() >= Width() - kFrameBand ||
        (p.x() >= Width() - grip && (p.y() < grip || p.y() >= Height() - grip))) {
        edges |= Qt::RightEdge;
    }
    if (p.y() < kFrameBand) {
        edges |= Qt::TopEdge;
    }
    if (p.y() >= Height() - kFrameBand) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

bool TCustomForm::FrameMouse(QMouseEvent* e) {
    if (!Sizeable() || m_windowState == wsMaximized) {
        return true;
    }
    QWidget* w = Handle();
    const QPoint p = e->position().toPoint();
    const Qt::Edges edges = FrameEdgesAt(p);
    switch (e->type()) {
    case QEvent::MouseMove:
        if (m_resizeEdges) {
            // Manual resize: the window manager did not take it.
            const QPoint d = e->globalPosition().toPoint() - m_resizeStart;
            QRect g = m_resizeStartGeometry;
            if (m_resizeEdges & Qt::LeftEdge) {
                g.setLeft(g.left() + d.x());
            }
            if (m_resizeEdges & Qt::RightEdge) {
                g.setRight(g.right() + d.x());
            }
            if (m_resizeEdges & Qt::TopEdge) {
                g.setTop(g.top() + d.y());
            }
            if (m_resizeEdges & Qt::BottomEdge) {
                g.setBottom(g.bottom() + d.y());
            }
            SetBounds(g.x(), g.y(), g.width(), g.height());
        } else {
            const bool h = edges & (Qt::LeftEdge | Qt::RightEdge);
            const bool v = edges & (Qt::TopEdge | Qt::BottomEdge);
            const bool diagA =
                edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
            if (h && v) {
                w->setCursor(diagA ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
            } else if (h) {
                w->setCursor(Qt::SizeHorCursor);
            } else if (v) {
                w->setCursor(Qt::SizeVerCursor);
            } else {
                w->unsetCursor();
            }
        }
        return true;
    case QEvent::MouseButtonPress:
        if (e->button() == Qt::LeftButton && edges) {
            QWindow* win = w->windowHandle();
            if (win && win->startSystemResize(edges)) {
                return true;
            }
            m_resizeEdges = edges;
            m_resizeStart = e->globalPosition().toPoint();
            m_resizeStartGeometry = QRect(Left(), Top(), Width(), Height());
        }
        return true;
    case QEvent::MouseButtonRelease:
        m_resizeEdges = {};
        return true;
    default:
        return true;
    }
}

} // namespace tk
