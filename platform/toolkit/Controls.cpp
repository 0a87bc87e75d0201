#include "platform/toolkit/Controls.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Timers.h"

namespace tk {

// ---- size constraints ------------------------------------------------------

void TSizeConstraints::SetMinWidth(int v) {
    if (v != m_minWidth) {
        m_minWidth = v;
        if (m_maxWidth > 0 && m_maxWidth < v) {
            m_maxWidth = v;
        }
        Changed();
    }
}
void TSizeConstraints::SetMinHeight(int v) {
    if (v != m_minHeight) {
        m_minHeight = v;
        if (m_maxHeight > 0 && m_maxHeight < v) {
            m_maxHeight = v;
        }
        Changed();
    }
}
void TSizeConstraints::SetMaxWidth(int v) {
    if (v != m_maxWidth) {
        m_maxWidth = v;
        if (v > 0 && m_minWidth > v) {
            m_minWidth = v;
        }
        Changed();
    }
}
void TSizeConstraints::SetMaxHeight(int v) {
    if (v != m_maxHeight) {
        m_maxHeight = v;
        if (v > 0 && m_minHeight > v) {
            m_minHeight = v;
        }
        Changed();
    }
}
void TSizeConstraints::Apply(int& width, int& height) const {
    if (m_minWidth > 0 && width < m_minWidth) {
        width = m_minWidth;
    }
    if (m_minHeight > 0 && height < m_minHeight) {
        height = m_minHeight;
    }
    if (m_maxWidth > 0 && width > m_maxWidth) {
        width = m_maxWidth;
    }
    if (m_maxHeight > 0 && height > m_maxHeight) {
        height = m_maxHeight;
    }
}

// ---- keys -------------------------------------------------------------------

unsigned VirtualKeyFromQt(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) {
        return static_cast<unsigned>('A' + (k - Qt::Key_A));
    }
    if (k >= Qt::Key_0 && k <= Qt::Key_9) {
        return static_cast<unsigned>('0' + (k - Qt::Key_0));
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) {
        return VK_F1 + static_cast<unsigned>(k - Qt::Key_F1);
    }
    switch (k) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

TShiftState ShiftFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier) {
        s |= ssShift;
    }
    if (mods & Qt::ControlModifier) {
        s |= ssCtrl;
    }
    if (mods & Qt::AltModifier) {
        s |= ssAlt;
    }
    if (buttons & Qt::LeftButton) {
        s |= ssLeft;
    }
    if (buttons & Qt::RightButton) {
        s |= ssRight;
    }
    if (buttons & Qt::MiddleButton) {
        s |= ssMiddle;
    }
    return s;
}

QString VirtualKeyName(unsigned vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        return QString(QChar(static_cast<char16_t>(vk)));
    }
    if (vk >= VK_F1 && vk < VK_F1 + 24) {
        return QStringLiteral("F%1").arg(vk - VK_F1 + 1);
    }
    switch (vk) {
    case VK_BACK:
        return QStringLiteral("BkSp");
    case VK_TAB:
        return QStringLiteral("Tab");
    case VK_RETURN:
        return QStringLiteral("Enter");
    case VK_ESCAPE:
        return QStringLiteral("Esc");
    case VK_SPACE:
        return QStringLiteral("Space");
    case VK_PRIOR:
        return QStringLiteral("PgUp");
    case VK_NEXT:
        return QStringLiteral("PgDn");
    case VK_END:
        return QStringLiteral("End");
    case VK_HOME:
        return QStringLiteral("Home");
    case VK_LEFT:
        return QStringLiteral("Left");
    case VK_UP:
        return QStringLiteral("Up");
    case VK_RIGHT:
        return QStringLiteral("Right");
    case VK_DOWN:
        return QStringLiteral("Down");
    case VK_INSERT:
        return QStringLiteral("Ins");
    case VK_DELETE:
        return QStringLiteral("Del");
    default:
        return {};
    }
}

namespace {

Qt::CursorShape CursorShape(TCursor c) {
    switch (c) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crDrag:
        return Qt::DragMoveCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crNo:
        return Qt::ForbiddenCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

unsigned MouseMessage(QEvent::Type type, Qt::MouseButton b) {
    const int base = b == Qt::RightButton    ? WM_RBUTTONDOWN
                     : b == Qt::MiddleButton ? WM_MBUTTONDOWN
                                             : WM_LBUTTONDOWN;
    switch (type) {
    case QEvent::MouseButtonPress:
        return static_cast<unsigned>(base);
    case QEvent::MouseButtonRelease:
        return static_cast<unsigned>(base + 1);
    case QEvent::MouseButtonDblClick:
        return static_cast<unsigned>(base + 2);
    default:
        return WM_MOUSEMOVE;
    }
}

bool IsDialogKey(unsigned vk) {
    switch (vk) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- handle widget ------------------------------------------------------------

THandleWidget::THandleWidget(TControl* control, Role role, QWidget* parent)
    : QWidget(parent), m_control(control), m_role(role) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground, true);
}

THandleWidget::~THandleWidget() {
    if (m_control) {
        m_control->HandleWidgetDestroyed(this);
    }
}

bool THandleWidget::event(QEvent* e) {
    if (!m_control) {
        return QWidget::event(e);
    }
    try {
        return m_control->DispatchEvent(e, this);
    } catch (...) {
        if (QWidget* grabber = QWidget::mouseGrabber()) {
            grabber->releaseMouse();
        }
        if (Application) {
            Application->HandleException(m_control);
        }
        return true;
    }
}

bool THandleWidget::focusNextPrevChild(bool next) {
    if (m_control) {
        if (TCustomForm* form = m_control->ParentForm()) {
            form->SelectNext(form->ActiveControl(), next, true);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

// ---- control -------------------------------------------------------------------

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), m_font(std::make_unique<TFont>()),
      m_constraints(std::make_unique<TSizeConstraints>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    m_font->OnChange = [this] { FontChanged(); };
    m_constraints->OnChange = [this] { SetBounds(m_left, m_top, m_width, m_height); };
    PublishEvent("OnClick", OnClick);
    PublishEvent("OnDblClick", OnDblClick);
    PublishEvent("OnMouseDown", OnMouseDown);
    PublishEvent("OnMouseUp", OnMouseUp);
    PublishEvent("OnMouseMove", OnMouseMove);
    PublishEvent("OnMouseEnter", OnMouseEnter);
    PublishEvent("OnMouseLeave", OnMouseLeave);
    PublishEvent("OnResize", OnResize);
    PublishEvent("OnCanResize", OnCanResize);
}

TControl::~TControl() {
    if (m_parent) {
        m_parent->RemoveControl(this);
    }
    TControl::DestroyHandle();
}

void TControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
    SetParent(nullptr);
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* wc = qobject_cast<TWinControl*>(parent)) {
        SetParent(wc);
    }
}

TComponent* TControl::ParentComponent() const {
    return m_parent;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == m_parent) {
        return;
    }
    if (parent == this) {
        throw Exception(QStringLiteral("A control cannot be its own parent"));
    }
    if (m_parent) {
        m_parent->RemoveControl(this);
    }
    if (parent) {
        parent->InsertControl(this);
    }
}

TCustomForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->m_parent) {
        c = c->m_parent;
    }
    return qobject_cast<TCustomForm*>(const_cast<TControl*>(c));
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
    bool resize = true;
    // The sizes a description gives (and what its components make of them
    // while it loads) are the design, not a change to judge.
    if (OnCanResize && !IsLoading()) {
        OnCanResize(this, NewWidth, NewHeight, resize);
    }
    return resize;
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    m_constraints->Apply(AWidth, AHeight);
    const bool sizeChanged = AWidth != m_width || AHeight != m_height;
    if (sizeChanged && !CanResize(AWidth, AHeight)) {
        return;
    }
    if (!sizeChanged && ALeft == m_left && ATop == m_top) {
        return;
    }
    m_left = ALeft;
    m_top = ATop;
    m_width = AWidth;
    m_height = AHeight;
    UpdateHandleGeometry();
    if (sizeChanged) {
        Perform(WM_SIZE, 0, MakeLParam(m_width, m_height));
    }
    RequestAlign();
}

void TControl::SetClientWidth(int w) {
    SetWidth(w + (Width() - ClientWidth()));
}
void TControl::SetClientHeight(int h) {
    SetHeight(h + (Height() - ClientHeight()));
}

TPoint TControl::ClientOrigin() const {
    if (QWidget* w = ClientWidget()) {
        const QPoint p = w->mapToGlobal(QPoint(0, 0));
        return {p.x(), p.y()};
    }
    if (m_parent) {
        const TPoint p = m_parent->ClientOrigin();
        return {p.x + m_left, p.y + m_top};
    }
    return {m_left, m_top};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    const TPoint o = ClientOrigin();
    return {p.x + o.x, p.y + o.y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint o = ClientOrigin();
    return {p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign align) {
    if (align == m_align) {
        return;
    }
    m_align = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (m_parent && (m_align != alNone)) {
        m_parent->RealignFrom(this);
    }
}

bool TControl::Showing() const {
    if (!m_visible) {
        return false;
    }
    if (m_parent) {
        return m_parent->Showing();
    }
    return HandleAllocated() && m_handle->isVisible();
}

void TControl::SetVisible(bool visible) {
    if (visible == m_visible) {
        return;
    }
    m_visible = visible;
    UpdateHandleVisible();
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    if (m_parent && m_align != alNone) {
        m_parent->RealignFrom(this);
    }
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == m_enabled) {
        return;
    }
    m_enabled = enabled;
    if (HandleAllocated()) {
        m_handle->setEnabled(enabled);
    }
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetCaption(const QString& caption) {
    if (caption == m_caption) {
        return;
    }
    m_caption = caption;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor color) {
    if (color != m_color) {
        m_color = color;
        m_parentColor = false;
        Perform(CM_COLORCHANGED);
    } else {
        m_parentColor = false;
    }
}

void TControl::SetParentColor(bool v) {
    if (v == m_parentColor) {
        return;
    }
    m_parentColor = v;
    if (v && m_parent) {
        Perform(CM_PARENTCOLORCHANGED);
    }
}

void TControl::SetFont(TFont* font) {
    if (font && font != m_font.get()) {
        m_font->Assign(*font);
    }
}

void TControl::SetParentFont(bool v) {
    if (v == m_parentFont) {
        return;
    }
    m_parentFont = v;
    if (v && m_parent) {
        Perform(CM_PARENTFONTCHANGED);
    }
}

void TControl::FontChanged() {
    // A font changed by anyone but the parent is the control's own.
    if (!m_inParentFontChange) {
        m_parentFont = false;
    }
    ApplyFont();
    Perform(CM_FONTCHANGED);
}

void TControl::ApplyFont() {
    if (HandleAllocated()) {
        m_handle->setFont(m_font->ToQFont());
    }
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor != m_cursor) {
        m_cursor = cursor;
        ApplyCursor();
    }
}

void TControl::ApplyCursor() {
    if (!HandleAllocated()) {
        return;
    }
    if (m_cursor == crDefault) {
        m_handle->unsetCursor();
    } else {
        m_handle->setCursor(CursorShape(m_cursor));
    }
}

void TControl::SetControlStyle(TControlStyle style) {
    m_controlStyle = style;
    if (HandleAllocated()) {
        m_handle->setAttribute(Qt::WA_OpaquePaintEvent, (style & csOpaque) != 0);
    }
}

// ---- window --------------------------------------------------------------------

QWidget* TControl::Handle() {
    if (!m_handle) {
        if (m_parent) {
            m_parent->Handle();
            // The parent creates its children's windows with its own.
            if (m_handle) {
                return m_handle.data();
            }
        } else if (!qobject_cast<TCustomForm*>(this)) {
            throw Exception(QStringLiteral("Control '%1' has no parent window").arg(Name()));
        }
        CreateHandle();
    }
    return m_handle.data();
}

std::unique_ptr<THandleWidget> TControl::CreateWidget(QWidget* parentWidget) {
    return std::make_unique<THandleWidget>(this, THandleWidget::Role::Window, parentWidget);
}

void TControl::CreateHandle() {
    if (m_handle) {
        return;
    }
    QWidget* parentWidget = m_parent ? m_parent->ClientWidget() : nullptr;
    m_ownedHandle = CreateWidget(parentWidget);
    m_handle = m_ownedHandle.get();
    InitializeHandle();
}

void TControl::InitializeHandle() {
    m_handle->setAttribute(Qt::WA_OpaquePaintEvent, (m_controlStyle & csOpaque) != 0);
    m_handle->setEnabled(m_enabled);
    m_handle->setFont(m_font->ToQFont());
    ApplyCursor();
    UpdateHandleGeometry();
    UpdateHandleVisible();
}

void TControl::DestroyHandle() {
    if (m_ownedHandle) {
        m_ownedHandle->DetachControl();
        m_ownedHandle.reset();
    }
    m_handle.clear();
}

void TControl::HandleWidgetDestroyed(THandleWidget* w) {
    // Qt deleted the window behind our back (its parent went first).
    if (m_ownedHandle.get() == w) {
        (void)m_ownedHandle.release();
    }
}

void TControl::UpdateHandleGeometry() {
    if (HandleAllocated()) {
        m_handle->setGeometry(m_left, m_top, m_width, m_height);
    }
}

void TControl::UpdateHandleVisible() {
    if (HandleAllocated() && m_parent) {
        m_handle->setVisible(m_visible);
    }
}

void TControl::Invalidate() {
    if (HandleAllocated()) {
        m_handle->update();
        if (QWidget* c = ClientWidget(); c && c != m_handle.data()) {
            c->update();
        }
    }
}

void TControl::Repaint() {
    if (HandleAllocated() && m_handle->isVisible()) {
        m_handle->repaint();
    }
}

void TControl::BringToFront() {
    if (m_parent) {
        auto& list = m_parent->m_controls;
        list.erase(std::find(list.begin(), list.end(), this));
        list.push_back(this);
    }
    if (HandleAllocated()) {
        m_handle->raise();
    }
}

void TControl::SendToBack() {
    if (m_parent) {
        auto& list = m_parent->m_controls;
        list.erase(std::find(list.begin(), list.end(), this));
        list.insert(list.begin(), this);
    }
    if (HandleAllocated()) {
        m_handle->lower();
    }
}

// ---- messages ------------------------------------------------------------------

std::intptr_t TControl::Perform(unsigned Msg, std::uintptr_t WParam, std::intptr_t LParam) {
    TMessage m;
    m.Msg = Msg;
    m.WParam = WParam;
    m.LParam = LParam;
    WindowProc(m);
    return m.Result;
}

namespace {
bool IsInputEvent(QEvent::Type t) {
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}
} // namespace

void TControl::DefaultHandler(TMessage& Message) {
    if (!Message.Event) {
        return;
    }
    m_defaultCalled = true;
    if (m_nativeDispatch) {
        // A wrapped native widget gets the event once the handlers return.
        m_defaultResult = true;
        return;
    }
    if (m_dispatchWidget) {
        // Qt would pass an unhandled input event up to the parent window,
        // which no window of the classic toolkits does.
        m_defaultResult =
            IsInputEvent(Message.Event->type()) || m_dispatchWidget->DefaultEvent(Message.Event);
    }
}

bool TControl::TranslateInputEvent(QEvent* e, QPoint offset, TMessage& m) {
    m.Event = e;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        const QPoint p = me->position().toPoint() + offset;
        m.Msg = MouseMessage(e->type(), me->button());
        m.WParam = ShiftFromQt(me->modifiers(), me->buttons()) |
                   (e->type() == QEvent::MouseButtonDblClick ? ssDouble : 0u);
        m.LParam = MakeLParam(p.x(), p.y());
        return true;
    }
    case QEvent::Wheel: {
        auto* we = static_cast<QWheelEvent*>(e);
        m.Msg = WM_MOUSEWHEEL;
        m.WParam =
            ShiftFromQt(we->modifiers(), we->buttons()) |
            (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(we->angleDelta().y())) << 16);
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        const bool alt = (ke->modifiers() & Qt::AltModifier) != 0;
        if (e->type() == QEvent::KeyPress) {
            m.Msg = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
        } else {
            m.Msg = alt ? WM_SYSKEYUP : WM_KEYUP;
        }
        m.WParam = VirtualKeyFromQt(ke->key());
        m.LParam = static_cast<std::intptr_t>(ShiftFromQt(ke->modifiers()));
        return true;
    }
    case QEvent::FocusIn:
        m.Msg = WM_SETFOCUS;
        return true;
    case QEvent::FocusOut:
        m.Msg = WM_KILLFOCUS;
        return true;
    default:
        return false;
    }
}

// Saves the per-dispatch state of a control and puts it back when the
// dispatch ends, by return or by exception, unless the control is gone.
class TControl::DispatchScope {
public:
    DispatchScope(TControl* control, THandleWidget* widget, bool native)
        : m_control(control), m_alive(control), m_widget(control->m_dispatchWidget),
          m_called(control->m_defaultCalled), m_result(control->m_defaultResult),
          m_native(control->m_nativeDispatch) {
        control->m_nativeDispatch = native;
        if (!native) {
            control->m_dispatchWidget = widget;
            control->m_defaultResult = false;
        }
        control->m_defaultCalled = false;
    }
    ~DispatchScope() {
        if (m_alive) {
            m_control->m_dispatchWidget = m_widget;
            m_control->m_defaultCalled = m_called;
            m_control->m_defaultResult = m_result;
            m_control->m_nativeDispatch = m_native;
        }
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
    // The control may be freed by its own handler (a form closing itself).
    bool Alive() const { return !m_alive.isNull(); }

private:
    TControl* m_control;
    QPointer<QObject> m_alive;
    THandleWidget* m_widget;
    bool m_called;
    bool m_result;
    bool m_native;
};

bool TControl::DispatchNativeEvent(QWidget* target, QEvent* e) {
    TMessage m;
    const QPoint offset =
        ClientWidget() ? target->mapTo(ClientWidget(), QPoint(0, 0)) : QPoint(0, 0);
    if (!TranslateInputEvent(e, offset, m)) {
        return false;
    }
    DispatchScope scope(this, nullptr, true);
    try {
        WindowProc(m);
    } catch (...) {
        if (QWidget* grabber = QWidget::mouseGrabber()) {
            grabber->releaseMouse();
        }
        if (Application) {
            Application->HandleException(this);
        }
        return true;
    }
    // Handled, unless a handler let the default handling have it.
    return !scope.Alive() || !m_defaultCalled;
}

bool TControl::DispatchEvent(QEvent* e, THandleWidget* from) {
    const bool isWindow = from->WidgetRole() == THandleWidget::Role::Window;
    const bool hasBand = ClientWidget() != m_handle.data();
    TMessage m;
    m.Event = e;

    switch (e->type()) {
    case QEvent::Paint: {
        // One painter per widget and paint: the band gets a canvas of its
        // own, the client area is painted through the control's Canvas().
        if (isWindow && hasBand) {
            TCanvas canvas(from);
            m.Msg = WM_NCPAINT;
            m.WParam = reinterpret_cast<std::uintptr_t>(&canvas);
            WindowProc(m);
            return true;
        }
        m_canvas.Attach(from);
        m.Msg = WM_PAINT;
        m.WParam = reinterpret_cast<std::uintptr_t>(&m_canvas);
        QPointer<QObject> alive(this);
        WindowProc(m);
        if (alive) {
            m_canvas.Detach();
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        QPoint offset;
        if (isWindow && hasBand) {
            if (auto* form = qobject_cast<TCustomForm*>(this)) {
                return form->FrameMouse(static_cast<QMouseEvent*>(e));
            }
            offset = -ClientWidget()->pos();
        }
        TranslateInputEvent(e, offset, m);
        e->accept();
        break;
    }
    case QEvent::Wheel:
        TranslateInputEvent(e, QPoint(), m);
        break;
    case QEvent::Enter:
        if (!isWindow) {
            return true;
        }
        m.Msg = CM_MOUSEENTER;
        break;
    case QEvent::Leave:
        if (!isWindow) {
            return true;
        }
        m.Msg = CM_MOUSELEAVE;
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        TranslateInputEvent(e, QPoint(), m);
        e->accept();
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        TranslateInputEvent(e, QPoint(), m);
        break;
    case QEvent::Resize:
    case QEvent::Move:
        if (isWindow) {
            HandleGeometryEvent(e);
        }
        return from->DefaultEvent(e);
    case QEvent::Show:
    case QEvent::Hide:
        if (!isWindow) {
            return from->DefaultEvent(e);
        }
        m.Msg = WM_SHOWWINDOW;
        m.WParam = e->type() == QEvent::Show ? 1 : 0;
        break;
    case QEvent::Close:
        m.Msg = WM_CLOSE;
        e->ignore(); // the form decides, in its WM_CLOSE handler
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (!isWindow) {
            return from->DefaultEvent(e);
        }
        m.Msg = WM_ACTIVATE;
        m.WParam = e->type() == QEvent::WindowActivate ? 1 : 0;
        break;
    default:
        return from->DefaultEvent(e);
    }

    DispatchScope scope(this, from, false);
    WindowProc(m);
    if (!scope.Alive()) {
        return true;
    }
    return m_defaultCalled ? m_defaultResult : true;
}

void TControl::HandleGeometryEvent(QEvent* /*e*/) {}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        WMPaint(m);
        break;
    case WM_ERASEBKGND:
        WMEraseBkgnd(m);
        break;
    case WM_NCPAINT:
        WMNCPaint(m);
        break;
    case WM_SIZE:
        WMSize(m);
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        WMMouse(m);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        WMKey(m);
        break;
    case WM_SETFOCUS:
        WMSetFocus(m);
        break;
    case WM_KILLFOCUS:
        WMKillFocus(m);
        break;
    case WM_TIMER:
        WMTimer(m);
        break;
    case CM_MOUSEENTER:
        CMMouseEnter(m);
        break;
    case CM_MOUSELEAVE:
        CMMouseLeave(m);
        break;
    case CM_TEXTCHANGED:
        CMTextChanged(m);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(m);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(m);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(m);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(m);
        break;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(m);
        break;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(m);
        break;
    case CM_DIALOGKEY:
        CMDialogKey(m);
        break;
    case CM_DIALOGCHAR:
        CMDialogChar(m);
        break;
    case CM_FOCUSCHANGED:
        CMFocusChanged(m);
        break;
    default:
        DefaultHandler(m);
        break;
    }
}

void TControl::WMPaint(TMessage& m) {
    auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
    if (!canvas) {
        return;
    }
    TMessage erase;
    erase.Msg = WM_ERASEBKGND;
    erase.WParam = m.WParam;
    WindowProc(erase);
    if (canvas == &m_canvas) {
        Paint();
    }
}

void TControl::WMEraseBkgnd(TMessage& m) {
    auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
    if (!canvas || !(m_controlStyle & csOpaque)) {
        return;
    }
    canvas->Brush()->SetColor(m_color);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
    m.Result = 1;
}

void TControl::WMNCPaint(TMessage& /*m*/) {}

void TControl::WMSize(TMessage& /*m*/) {
    if (!IsLoading()) {
        Resize();
    }
}

void TControl::Resize() {
    if (OnResize) {
        OnResize(this);
    }
}

void TControl::WMMouse(TMessage& m) {
    const auto shift = static_cast<TShiftState>(m.WParam);
    const int x = m.XPos();
    const int y = m.YPos();
    // A handler may free the control (a button that closes its form).
    QPointer<QObject> alive(this);
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        break;
    case WM_LBUTTONDOWN:
        if (m_controlStyle & csClickEvents) {
            m_mouseDownInside = true;
        }
        MouseDown(TMouseButton::mbLeft, shift, x, y);
        break;
    case WM_LBUTTONDBLCLK:
        if (m_controlStyle & csDoubleClicks) {
            DblClick();
        }
        if (alive) {
            MouseDown(TMouseButton::mbLeft, shift | ssDouble, x, y);
        }
        break;
    case WM_LBUTTONUP: {
        const bool clicked = m_mouseDownInside;
        m_mouseDownInside = false;
        MouseUp(TMouseButton::mbLeft, shift, x, y);
        if (alive && clicked && PtInRect(ClientRect(), {x, y})) {
            Click();
        }
        break;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        MouseDown(TMouseButton::mbRight, shift, x, y);
        break;
    case WM_RBUTTONUP:
        MouseUp(TMouseButton::mbRight, shift, x, y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(TMouseButton::mbMiddle, shift, x, y);
        break;
    case WM_MBUTTONUP:
        MouseUp(TMouseButton::mbMiddle, shift, x, y);
        break;
    default:
        break;
    }
    if (alive) {
        DefaultHandler(m);
    }
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) {
        OnMouseDown(this, Button, Shift, X, Y);
    }
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) {
        OnMouseUp(this, Button, Shift, X, Y);
    }
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) {
        OnMouseMove(this, Shift, X, Y);
    }
}

void TControl::DblClick() {
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void TControl::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

void TControl::WMKey(TMessage& /*m*/) {}
void TControl::WMSetFocus(TMessage& /*m*/) {}
void TControl::WMKillFocus(TMessage& /*m*/) {}
void TControl::WMTimer(TMessage& /*m*/) {}

void TControl::CMMouseEnter(TMessage& /*m*/) {
    m_mouseInControl = true;
    if (OnMouseEnter) {
        OnMouseEnter(this);
    }
}

void TControl::CMMouseLeave(TMessage& /*m*/) {
    m_mouseInControl = false;
    if (OnMouseLeave) {
        OnMouseLeave(this);
    }
}

void TControl::CMTextChanged(TMessage& /*m*/) {
    Invalidate();
}
void TControl::CMFontChanged(TMessage& /*m*/) {
    Invalidate();
}
void TControl::CMColorChanged(TMessage& /*m*/) {
    Invalidate();
}
void TControl::CMEnabledChanged(TMessage& /*m*/) {
    Invalidate();
}
void TControl::CMVisibleChanged(TMessage& /*m*/) {}

void TControl::CMParentFontChanged(TMessage& /*m*/) {
    if (m_parentFont && m_parent) {
        m_inParentFontChange = true;
        m_font->Assign(*m_parent->Font());
        m_inParentFontChange = false;
    }
}

void TControl::CMParentColorChanged(TMessage& /*m*/) {
    if (m_parentColor && m_parent && m_color != m_parent->Color()) {
        m_color = m_parent->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::CMDialogKey(TMessage& /*m*/) {}
void TControl::CMDialogChar(TMessage& /*m*/) {}
void TControl::CMFocusChanged(TMessage& /*m*/) {}

void TControl::Changed() {
    Invalidate();
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (m_parent) {
        if (m_parentColor) {
            Perform(CM_PARENTCOLORCHANGED);
        }
        if (m_parentFont) {
            Perform(CM_PARENTFONTCHANGED);
        }
    }
}

bool TControl::IsAccel(unsigned key, const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (caption[i + 1] == QLatin1Char('&')) {
                ++i;
                continue;
            }
            return caption[i + 1].toUpper() == QChar(static_cast<char16_t>(key)).toUpper();
        }
    }
    return false;
}

// ---- windowed control ----------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    m_controlStyle |= csOpaque;
    PublishEvent("OnEnter", OnEnter);
    PublishEvent("OnExit", OnExit);
    PublishEvent("OnKeyDown", OnKeyDown);
    PublishEvent("OnKeyUp", OnKeyUp);
    PublishEvent("OnKeyPress", OnKeyPress);
}

TWinControl::~TWinControl() {
    for (auto& [id, serviceId] : m_timers) {
        TTimerService::Instance().Stop(serviceId);
    }
    m_timers.clear();
    // Children belong to their owner, not to us; they only lose their parent.
    for (TControl* c : m_controls) {
        c->m_parent = nullptr;
        c->DestroyHandle();
    }
    m_controls.clear();
    TWinControl::DestroyHandle();
}

bool TWinControl::ContainsControl(const TControl* c) const {
    while (c) {
        if (c == this) {
            return true;
        }
        c = c->Parent();
    }
    return false;
}

void TWinControl::InsertControl(TControl* c) {
    m_controls.push_back(c);
    c->m_parent = this;
    if (auto* w = qobject_cast<TWinControl*>(c)) {
        m_tabList.push_back(w);
    }
    if (c->m_parentFont) {
        c->Perform(CM_PARENTFONTCHANGED);
    }
    if (c->m_parentColor) {
        c->Perform(CM_PARENTCOLORCHANGED);
    }
    if (HandleAllocated()) {
        if (c->HandleAllocated()) {
            c->m_handle->setParent(ClientWidget());
            c->InitializeHandle();
        } else {
            c->CreateHandle();
        }
    }
    if (c->Align() != alNone) {
        RealignFrom(c);
    }
}

void TWinControl::RemoveControl(TControl* c) {
    auto it = std::find(m_controls.begin(), m_controls.end(), c);
    if (it == m_controls.end()) {
        return;
    }
    m_controls.erase(it);
    m_tabList.erase(std::remove(m_tabList.begin(), m_tabList.end(), c), m_tabList.end());
    c->m_parent = nullptr;
    if (c->HandleAllocated()) {
        // Without a parent window the control has none either.
        c->DestroyHandle();
    }
    if (c->Align() != alNone && !IsDestroying()) {
        Realign();
    }
}

void TWinControl::CreateHandle() {
    if (HandleAllocated()) {
        return;
    }
    TControl::CreateHandle();
    if (m_ncBand > 0) {
        m_client = std::make_unique<THandleWidget>(this, THandleWidget::Role::Client, m_handle);
        m_client->setAttribute(Qt::WA_OpaquePaintEvent, (m_controlStyle & csOpaque) != 0);
        m_client->setGeometry(m_ncBand, m_ncBand, std::max(0, Width() - 2 * m_ncBand),
                              std::max(0, Height() - 2 * m_ncBand));
        m_client->show();
    }
    RecreateNative();
    for (TControl* c : m_controls) {
        c->CreateHandle();
    }
}

namespace {
// Hands a native widget's input and focus events to its control.
class NativeEventFilter : public QObject {
public:
    explicit NativeEventFilter(TControl* control) : m_control(control) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        return watched->isWidgetType() &&
               m_control->DispatchNativeEvent(static_cast<QWidget*>(watched), e);
    }

private:
    TControl* m_control;
};
} // namespace

QWidget* TWinControl::CreateNativeWidget(QWidget* /*parent*/) {
    return nullptr;
}

void TWinControl::DetachNative() {
    // A widget being deleted still sends events (focus out); they must not
    // reach a control that is rebuilding or going away.
    if (m_native && m_nativeFilter) {
        m_native->removeEventFilter(m_nativeFilter.get());
        if (auto* area = qobject_cast<QAbstractScrollArea*>(m_native.data())) {
            area->viewport()->removeEventFilter(m_nativeFilter.get());
        }
    }
}

void TWinControl::RecreateNative() {
    if (!HandleAllocated()) {
        return;
    }
    DetachNative();
    delete m_native.data();
    m_native = CreateNativeWidget(ClientWidget());
    if (!m_native) {
        return;
    }
    if (!m_nativeFilter) {
        m_nativeFilter = std::make_unique<NativeEventFilter>(this);
    }
    m_native->installEventFilter(m_nativeFilter.get());
    if (auto* area = qobject_cast<QAbstractScrollArea*>(m_native.data())) {
        area->viewport()->installEventFilter(m_nativeFilter.get());
    }
    TControl::ClientWidget()->setFocusProxy(m_native);
    if (ClientWidget() != TControl::ClientWidget()) {
        ClientWidget()->setFocusProxy(m_native);
    }
    PlaceNative();
    m_native->show();
    NativeWidgetCreated();
}

void TWinControl::PlaceNative() {
    if (m_native) {
        const TRect r = ClientRect();
        m_native->setGeometry(0, 0, r.Width(), r.Height());
    }
}

void TWinControl::DestroyHandle() {
    DetachNative();
    for (TControl* c : m_controls) {
        c->DestroyHandle();
    }
    if (m_client) {
        m_client->DetachControl();
        m_client.reset();
    }
    TControl::DestroyHandle();
}

void TWinControl::InitializeHandle() {
    TControl::InitializeHandle();
    ApplyFocusPolicy();
}

QWidget* TWinControl::ClientWidget() const {
    return m_client ? static_cast<QWidget*>(m_client.get()) : TControl::ClientWidget();
}

TRect TWinControl::ClientRect() const {
    return Rect(0, 0, std::max(0, Width() - 2 * m_ncBand), std::max(0, Height() - 2 * m_ncBand));
}

void TWinControl::SetNonClientBand(int width) {
    width = std::max(0, width);
    if (width == m_ncBand) {
        return;
    }
    m_ncBand = width;
    if (HandleAllocated()) {
        // Re-home the children in a client widget of the new size.
        std::vector<TControl*> kids = m_controls;
        for (TControl* c : kids) {
            c->DestroyHandle();
        }
        DetachNative();
        if (m_client) {
            m_client->DetachControl();
            m_client.reset();
        }
        if (m_ncBand > 0) {
            m_client = std::make_unique<THandleWidget>(this, THandleWidget::Role::Client, Handle());
            m_client->setAttribute(Qt::WA_OpaquePaintEvent, (m_controlStyle & csOpaque) != 0);
            // The window keeps its size, so no WM_SIZE will place the client.
            m_client->setGeometry(m_ncBand, m_ncBand, std::max(0, Width() - 2 * m_ncBand),
                                  std::max(0, Height() - 2 * m_ncBand));
            m_client->show();
        }
        UpdateHandleGeometry();
        RecreateNative();
        for (TControl* c : kids) {
            c->CreateHandle();
        }
        Invalidate();
    }
    Realign();
}

void TWinControl::SetTabStop(bool v) {
    if (v != m_tabStop) {
        m_tabStop = v;
        ApplyFocusPolicy();
    }
}

void TWinControl::SetFocusable(bool focusable) {
    m_focusable = focusable;
    ApplyFocusPolicy();
}

void TWinControl::ApplyFocusPolicy() {
    if (!HandleAllocated()) {
        return;
    }
    QWidget* h = TControl::ClientWidget();
    if (!m_focusable) {
        h->setFocusPolicy(Qt::NoFocus);
    } else {
        h->setFocusPolicy(m_tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) {
        return -1;
    }
    const auto list = Parent()->TabList();
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    m_tabOrder = order;
    if (Parent() && !Parent()->IsLoading()) {
        Parent()->SortTabOrder(this);
    }
}

void TWinControl::SortTabOrder(TWinControl* changed) {
    // The tab list keeps windowed children in tab order; a new order value
    // moves one control, the others keep their relative order.
    auto& list = m_tabList;
    list.erase(std::remove(list.begin(), list.end(), changed), list.end());
    int pos = std::clamp(changed->m_tabOrder, 0, static_cast<int>(list.size()));
    if (changed->m_tabOrder < 0) {
        pos = static_cast<int>(list.size());
    }
    list.insert(list.begin() + pos, changed);
}

std::vector<TWinControl*> TWinControl::TabList() const {
    std::vector<TWinControl*> result;
    for (TWinControl* w : m_tabList) {
        if (std::find(m_controls.begin(), m_controls.end(), w) != m_controls.end()) {
            result.push_back(w);
        }
    }
    for (TControl* c : m_controls) {
        if (auto* w = qobject_cast<TWinControl*>(c)) {
            if (std::find(result.begin(), result.end(), w) == result.end()) {
                result.push_back(w);
            }
        }
    }
    return result;
}

bool TWinControl::Focused() const {
    return HandleAllocated() && TControl::ClientWidget()->hasFocus();
}

bool TWinControl::CanFocus() const {
    if (!m_focusable) {
        return false;
    }
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) {
            return false;
        }
    }
    return true;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = ParentForm()) {
        form->FocusControl(this);
    } else if (HandleAllocated()) {
        TControl::ClientWidget()->setFocus(Qt::OtherFocusReason);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    // Flatten the tab order of the whole container tree.
    std::vector<TWinControl*> all;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* parent) {
        for (TWinControl* w : parent->TabList()) {
            all.push_back(w);
            collect(w);
        }
    };
    collect(this);
    if (all.empty()) {
        return nullptr;
    }
    auto it = std::find(all.begin(), all.end(), current);
    std::size_t start = it == all.end() ? (goForward ? all.size() - 1 : 0)
                                        : static_cast<std::size_t>(it - all.begin());
    const std::size_t n = all.size();
    std::size_t i = start;
    for (std::size_t step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* w = all[i];
        if (w == current) {
            break;
        }
        if ((!checkTabStop || w->TabStop()) && (!checkParent || w->Parent() == this) &&
            w->CanFocus()) {
            return w;
        }
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false)) {
        next->SetFocus();
    }
}

void TWinControl::EnableAlign() {
    if (m_alignDisabled > 0 && --m_alignDisabled == 0 && m_realignPending) {
        Realign();
    }
}

void TWinControl::Realign() {
    RealignFrom(nullptr);
}

void TWinControl::RealignFrom(TControl* changed) {
    if (m_alignDisabled > 0 || IsLoading() || IsDestroying()) {
        m_realignPending = true;
        return;
    }
    if (m_aligning) {
        return;
    }
    m_realignPending = false;
    m_aligning = true;
    TRect r = ClientRect();
    AlignControls(changed, r);
    m_aligning = false;
}

void TWinControl::AlignControls(TControl* AControl, TRect& r) {
    AdjustClientRect(r);
    auto insertBefore = [](TControl* c1, TControl* c2, TAlign a) {
        switch (a) {
        case alTop:
            return c1->Top() < c2->Top();
        case alBottom:
            return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
        case alLeft:
            return c1->Left() < c2->Left();
        case alRight:
            return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
        default:
            return false;
        }
    };
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> list;
        if (AControl && AControl->Align() == a && AControl->Visible() &&
            std::find(m_controls.begin(), m_controls.end(), AControl) != m_controls.end()) {
            list.push_back(AControl);
        }
        for (TControl* c : m_controls) {
            if (c == AControl || c->Align() != a || !c->Visible()) {
                continue;
            }
            std::size_t j = 0;
            while (j < list.size() && !insertBefore(c, list[j], a)) {
                ++j;
            }
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
        }
        for (TControl* c : list) {
            const int w = std::max(0, r.Width());
            const int h = std::max(0, r.Height());
            switch (a) {
            case alTop:
                c->SetBounds(r.Left, r.Top, w, c->Height());
                r.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(r.Left, r.Bottom - c->Height(), w, c->Height());
                r.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(r.Left, r.Top, c->Width(), h);
                r.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), h);
                r.Right -= c->Width();
                break;
            case alClient:
                c->SetBounds(r.Left, r.Top, w, h);
                break;
            default:
                break;
            }
        }
    }
}

void TWinControl::WMSize(TMessage& m) {
    if (HandleAllocated() && m_client) {
        m_client->setGeometry(m_ncBand, m_ncBand, std::max(0, Width() - 2 * m_ncBand),
                              std::max(0, Height() - 2 * m_ncBand));
    }
    PlaceNative();
    Realign();
    TControl::WMSize(m);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    // Tab orders read from a description are applied together, as numbers.
    std::stable_sort(m_tabList.begin(), m_tabList.end(), [](TWinControl* a, TWinControl* b) {
        const int oa = a->m_tabOrder < 0 ? INT_MAX : a->m_tabOrder;
        const int ob = b->m_tabOrder < 0 ? INT_MAX : b->m_tabOrder;
        return oa < ob;
    });
    if (Parent() == nullptr || !Parent()->IsLoading()) {
        // The loaded tree aligns from the top once everything is in place.
        std::function<void(TWinControl*)> align = [&](TWinControl* w) {
            w->Realign();
            for (TControl* c : w->m_controls) {
                if (auto* wc = qobject_cast<TWinControl*>(c)) {
                    align(wc);
                }
            }
        };
        align(this);
    }
}

bool TWinControl::WantsKey(unsigned /*key*/, TShiftState /*shift*/) const {
    return false;
}

void TWinControl::WMKey(TMessage& m) {
    TCustomForm* form = ParentForm();
    auto* ke =
        m.Event && (m.Event->type() == QEvent::KeyPress || m.Event->type() == QEvent::KeyRelease)
            ? static_cast<QKeyEvent*>(m.Event)
            : nullptr;
    auto shift = static_cast<TShiftState>(m.LParam);
    unsigned key = static_cast<unsigned>(m.WParam);
    // A handler may free the control (a button that closes its form).
    QPointer<QObject> alive(this);

    if (m.Msg == WM_KEYUP || m.Msg == WM_SYSKEYUP) {
        if (form && form != this && form->KeyPreview()) {
            static_cast<TWinControl*>(form)->KeyUp(key, shift);
            if (key == 0 || !alive) {
                return;
            }
        }
        KeyUp(key, shift);
        if (key != 0 && alive) {
            DefaultHandler(m);
        }
        return;
    }

    if (m.Msg == WM_CHAR || m.Msg == WM_SYSCHAR) {
        QChar ch(static_cast<char16_t>(m.WParam));
        m.Result = 1; // taken, unless it reaches the control and is kept
        if (form && (m.Msg == WM_SYSCHAR || !WantsChars())) {
            if (form->Perform(CM_DIALOGCHAR, m.WParam, static_cast<std::intptr_t>(shift)) != 0) {
                return;
            }
        }
        if (m.Msg == WM_CHAR) {
            if (form && form != this && form->KeyPreview()) {
                static_cast<TWinControl*>(form)->KeyPress(ch);
                if (ch.isNull()) {
                    return;
                }
            }
            KeyPress(ch);
            if (!ch.isNull()) {
                m.Result = 0;
            }
        }
        return;
    }

    // Key down: preview, short-cuts, dialog keys, then the control.
    if (key != 0) {
        if (form && form != this && form->KeyPreview()) {
            static_cast<TWinControl*>(form)->KeyDown(key, shift);
            if (key == 0) {
                return;
            }
        }
        if (form && form->IsShortCut(key, shift)) {
            return;
        }
        if (form && !WantsKey(key, shift) && IsDialogKey(key)) {
            if (form->Perform(CM_DIALOGKEY, key, static_cast<std::intptr_t>(shift)) != 0) {
                return;
            }
        }
        KeyDown(key, shift);
        if (key == 0 || !alive) {
            return;
        }
    }
    // The character the key typed, the way the message loop translates it.
    if (ke && !ke->text().isEmpty() && !(Application && Application->CharHandledFor(ke))) {
        const QChar ch = ke->text().at(0);
        if (ch.unicode() >= 32 || ch == QLatin1Char('\r') || ch == QLatin1Char('\b') ||
            ch == QLatin1Char('\x1b') || ch == QLatin1Char('\t')) {
            const bool alt = (shift & ssAlt) != 0;
            if (Perform(alt ? WM_SYSCHAR : WM_CHAR, ch.unicode(),
                        static_cast<std::intptr_t>(shift)) != 0 ||
                !alive) {
                return;
            }
        }
    }
    DefaultHandler(m);
}

void TWinControl::KeyDown(unsigned& Key, TShiftState Shift) {
    if (OnKeyDown) {
        OnKeyDown(this, Key, Shift);
    }
}

void TWinControl::KeyUp(unsigned& Key, TShiftState Shift) {
    if (OnKeyUp) {
        OnKeyUp(this, Key, Shift);
    }
}

void TWinControl::KeyPress(QChar& Key) {
    if (OnKeyPress) {
        OnKeyPress(this, Key);
    }
}

void TWinControl::WMSetFocus(TMessage& m) {
    DefaultHandler(m);
    if (TCustomForm* form = ParentForm(); form && form != this) {
        form->SetFocusedControl(this);
    }
    DoEnter();
}

void TWinControl::WMKillFocus(TMessage& m) {
    DefaultHandler(m);
    DoExit();
}

void TWinControl::DoEnter() {
    if (OnEnter) {
        OnEnter(this);
    }
}

void TWinControl::DoExit() {
    if (OnExit) {
        OnExit(this);
    }
}

void TWinControl::Broadcast(TMessage& m) {
    // A copy: a handler may add or remove controls.
    const std::vector<TControl*> list = m_controls;
    for (TControl* c : list) {
        if (std::find(m_controls.begin(), m_controls.end(), c) == m_controls.end()) {
            continue;
        }
        c->WindowProc(m);
        if (m.Result != 0) {
            return;
        }
    }
}

void TWinControl::CMDialogKey(TMessage& m) {
    Broadcast(m);
}
void TWinControl::CMDialogChar(TMessage& m) {
    Broadcast(m);
}
void TWinControl::CMFocusChanged(TMessage& m) {
    Broadcast(m);
    m.Result = 0; // every control hears it
}

void TWinControl::CMParentFontChanged(TMessage& m) {
    TControl::CMParentFontChanged(m);
}
void TWinControl::CMParentColorChanged(TMessage& m) {
    TControl::CMParentColorChanged(m);
}

void TWinControl::CMFontChanged(TMessage& m) {
    TControl::CMFontChanged(m);
    for (TControl* c : std::vector<TControl*>(m_controls)) {
        c->Perform(CM_PARENTFONTCHANGED);
    }
}

void TWinControl::CMColorChanged(TMessage& m) {
    TControl::CMColorChanged(m);
    for (TControl* c : std::vector<TControl*>(m_controls)) {
        c->Perform(CM_PARENTCOLORCHANGED);
    }
}

void TWinControl::CMEnabledChanged(TMessage& m) {
    TControl::CMEnabledChanged(m);
    if (!Enabled() && Focused()) {
        if (TCustomForm* form = ParentForm()) {
            form->SelectNext(this, true, true);
        }
    }
}

void TWinControl::SetTimer(unsigned id, int intervalMs) {
    KillTimer(id);
    QPointer<QObject> self(this);
    m_timers[id] = TTimerService::Instance().Start(intervalMs, [this, self, id] {
        if (self) {
            Perform(WM_TIMER, id);
        }
    });
}

void TWinControl::KillTimer(unsigned id) {
    auto it = m_timers.find(id);
    if (it != m_timers.end()) {
        TTimerService::Instance().Stop(it->second);
        m_timers.erase(it);
    }
}

// ---- custom and graphic controls --------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
    m_controlStyle &= ~csOpaque;
}

} // namespace tk
