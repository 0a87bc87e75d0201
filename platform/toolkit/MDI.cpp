#include "platform/toolkit/MDI.h"

#include <QEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace tk {

namespace {

TCustomForm* FormArg(std::uintptr_t WParam) {
    return reinterpret_cast<TCustomForm*>(WParam);
}

std::uintptr_t AsWParam(const TCustomForm* Form) {
    return reinterpret_cast<std::uintptr_t>(Form);
}

TWindowState StateOf(const QMdiSubWindow* Window) {
    if (Window->isMinimized()) {
        return wsMinimized;
    }
    return Window->isMaximized() ? wsMaximized : wsNormal;
}

} // namespace

TMDIClient::TMDIClient(TComponent* AOwner) : TWinControl(AOwner) {
    SetAlign(alClient);
    SetColor(clAppWorkSpace);
}

TMDIClient::~TMDIClient() {
    m_releasing = true;
    for (Child& c : m_children) {
        RemoveFreeNotification(c.form);
        c.form->SetSite(nullptr);
        Release(c);
        // A window of the desktop again, with the frame that goes with it.
        c.form->RefreshFrame();
    }
    m_children.clear();
    delete m_area.data();
}

// ---- children ---------------------------------------------------------------------

TMDIClient::Child* TMDIClient::Find(const TCustomForm* Form) {
    for (Child& c : m_children) {
        if (c.form == Form) {
            return &c;
        }
    }
    return nullptr;
}

const TMDIClient::Child* TMDIClient::Find(const TCustomForm* Form) const {
    return const_cast<TMDIClient*>(this)->Find(Form);
}

TMDIClient::Child* TMDIClient::Find(const QObject* Window) {
    for (Child& c : m_children) {
        if (Window && c.window.data() == Window) {
            return &c;
        }
    }
    return nullptr;
}

void TMDIClient::AddChild(TCustomForm* Form) {
    if (!Form || Find(Form) || Form == ParentForm()) {
        return;
    }
    Form->SetFormStyle(fsMDIChild);
    FreeNotification(Form);
    m_children.push_back({Form, nullptr, Form->WindowState()});
    Form->SetSite(this);
    if (m_area) {
        Embed(m_children.back());
    }
    Form->RefreshFrame();
}

std::vector<TCustomForm*> TMDIClient::Children() const {
    std::vector<TCustomForm*> out;
    if (m_area) {
        // Qt lists the stacking order bottom first.
        const QList<QMdiSubWindow*> stack = m_area->subWindowList(QMdiArea::StackingOrder);
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
            for (const Child& c : m_children) {
                if (c.window.data() == *it && c.form->Visible()) {
                    out.push_back(c.form);
                }
            }
        }
        return out;
    }
    for (const Child& c : m_children) {
        if (c.form->Visible()) {
            out.push_back(c.form);
        }
    }
    return out;
}

TCustomForm* TMDIClient::ActiveChild() const {
    return m_active && m_active->Visible() ? m_active : nullptr;
}

TCustomForm* TMDIClient::MaximizedChild() const {
    // What the windows show: a form asking to be maximised is not yet.
    for (const Child& c : m_children) {
        const TWindowState state = c.window ? StateOf(c.window) : c.form->WindowState();
        if (c.form->Visible() && state == wsMaximized) {
            return c.form;
        }
    }
    return nullptr;
}

// ---- the area and the children's windows --------------------------------------

void TMDIClient::CreateHandle() {
    if (HandleAllocated()) {
        return;
    }
    TWinControl::CreateHandle();
    auto* area = new QMdiArea(ClientWidget()); // a Qt child of the client's window
    area->setFrameShape(QFrame::NoFrame);
    // When the active child goes, Qt brings the next one up the pile.
    area->setActivationOrder(QMdiArea::StackingOrder);
    area->setBackground(ToQColor(Color()));
    const TRect r = ClientRect();
    area->setGeometry(0, 0, r.Width(), r.Height());
    area->show();
    m_area = area;
    connect(area, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* window) { WindowActivated(window); });
    for (Child& c : m_children) {
        Embed(c);
    }
}

void TMDIClient::DestroyHandle() {
    // The children's windows are the forms' own: out before the area goes.
    m_releasing = true;
    for (Child& c : m_children) {
        Release(c);
    }
    m_releasing = false;
    delete m_area.data();
    TWinControl::DestroyHandle();
}

void TMDIClient::Embed(Child& C) {
    auto* window = new QMdiSubWindow(); // the area's once added
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->setWidget(C.form->Handle());
    m_area->addSubWindow(window);
    window->hide();
    C.window = window;
    ApplyFrame(C, C.form->WindowState());
    window->setGeometry(C.form->BoundsRect().ToQ().marginsAdded(window->contentsMargins()));
    FitWidget(C);
    window->installEventFilter(this);
    if (C.form->Visible()) {
        window->show();
        C.form->Handle()->show();
        ApplyState(C, C.form->WindowState());
    }
}

void TMDIClient::Release(Child& C) {
    QMdiSubWindow* window = C.window.data();
    if (!window) {
        return;
    }
    window->removeEventFilter(this);
    if (QWidget* w = window->widget()) {
        w->hide();
        window->setWidget(nullptr); // back to a window of its own, hidden
    }
    C.window = nullptr;
    delete window;
}

void TMDIClient::ApplyFrame(Child& C, TWindowState State) {
    QMdiSubWindow* window = C.window.data();
    if (!window) {
        return;
    }
    // Qt's frame for a form with a system caption, and for any minimised
    // child (so that there is something to restore it by).
    const bool framed =
        (C.form->HasWindowCaption() && C.form->BorderStyle() != bsNone) || State == wsMinimized;
    const Qt::WindowFlags flags =
        framed ? Qt::WindowFlags(Qt::SubWindow) : Qt::SubWindow | Qt::FramelessWindowHint;
    if (window->windowFlags() != flags) {
        window->setWindowFlags(flags);
    }
    // A frameless child's form paints all of itself; where its own shape cuts
    // it, the area shows through.
    window->setAutoFillBackground(framed);
}

void TMDIClient::FitWidget(Child& C) {
    // The form's window fills the sub-window's inside, whatever moved it.
    if (QLayout* layout = C.window ? C.window->layout() : nullptr) {
        layout->invalidate();
        layout->activate();
    }
}

void TMDIClient::ApplyState(Child& C, TWindowState State) {
    QMdiSubWindow* window = C.window.data();
    if (!window) {
        return;
    }
    ++m_syncing;
    C.shown = State;
    // Framed before minimising, frameless after coming back.
    if (State == wsMinimized) {
        ApplyFrame(C, State);
        window->showMinimized();
    } else {
        if (State == wsMaximized) {
            window->showMaximized();
        } else {
            window->showNormal();
        }
        ApplyFrame(C, State);
    }
    --m_syncing;
    SyncFromWindow(C);
}

void TMDIClient::SyncFromWindow(Child& C) {
    QMdiSubWindow* window = C.window.data();
    if (!window) {
        return;
    }
    ++m_syncing;
    const TWindowState state = StateOf(window);
    const bool leftMinimised = C.shown == wsMinimized && state != wsMinimized;
    C.shown = state;
    if (state != wsMinimized) {
        const QRect inner = window->geometry().marginsRemoved(window->contentsMargins());
        C.form->SetBounds(inner.x(), inner.y(), inner.width(), inner.height());
    }
    if (C.form->WindowState() != state) {
        C.form->SetWindowState(state);
    }
    --m_syncing;
    if (leftMinimised) {
        // Off the bar of minimised windows: the form's own frame again, once
        // Qt is done with the window.
        QPointer<QMdiSubWindow> alive(window);
        TCustomForm* form = C.form;
        QMetaObject::invokeMethod(
            this,
            [this, alive, form] {
                if (Child* c = alive ? Find(form) : nullptr) {
                    ApplyFrame(*c, StateOf(alive));
                }
            },
            Qt::QueuedConnection);
    }
}

bool TMDIClient::eventFilter(QObject* Watched, QEvent* Event) {
    const QEvent::Type type = Event->type();
    if (m_syncing == 0 &&
        (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange)) {
        if (Child* c = Find(Watched)) {
            SyncFromWindow(*c);
            if (type == QEvent::WindowStateChange) {
                NoticeMaximized();
            }
        }
    }
    return TWinControl::eventFilter(Watched, Event);
}

// ---- the form's site ------------------------------------------------------------

void TMDIClient::PlaceForm(TCustomForm* Form) {
    Child* c = Find(Form);
    if (!c || !c->window) {
        return;
    }
    QMdiSubWindow* window = c->window.data();
    if (m_syncing == 0) {
        if (StateOf(window) == wsNormal) {
            ++m_syncing;
            window->setGeometry(Form->BoundsRect().ToQ().marginsAdded(window->contentsMargins()));
            --m_syncing;
        } else {
            // A maximised or minimised window keeps its place; so does the form.
            SyncFromWindow(*c);
        }
    }
    FitWidget(*c);
}

void TMDIClient::ShowForm(TCustomForm* Form, bool Visible) {
    Child* c = Find(Form);
    if (!c || !c->window) {
        return;
    }
    if (Visible) {
        c->window->show();
        Form->Handle()->show();
        ApplyState(*c, Form->WindowState());
        ActivateForm(Form);
    } else {
        const std::vector<TCustomForm*> pile = Children();
        c->window->hide();
        if (m_active == Form) {
            ActivateNext(pile, Form);
        }
    }
    NoticeMaximized();
}

void TMDIClient::FormStateChanged(TCustomForm* Form) {
    if (m_syncing > 0) {
        return;
    }
    switch (Form->WindowState()) {
    case wsMaximized:
        Perform(WM_MDIMAXIMIZE, AsWParam(Form));
        break;
    case wsNormal:
        Perform(WM_MDIRESTORE, AsWParam(Form));
        break;
    default:
        if (Child* c = Find(Form)) {
            const std::vector<TCustomForm*> pile = Children();
            ApplyState(*c, wsMinimized);
            if (m_active == Form) {
                ActivateNext(pile, Form);
            }
        }
        NoticeMaximized();
        break;
    }
}

void TMDIClient::FormFrameChanged(TCustomForm* Form) {
    if (Child* c = Find(Form)) {
        ApplyFrame(*c, c->shown);
        if (c->window && StateOf(c->window) == wsNormal) {
            PlaceForm(Form);
        }
    }
}

bool TMDIClient::FormActive(const TCustomForm* Form) const {
    return Form && Form == ActiveChild() && m_area && m_area->window()->isActiveWindow();
}

void TMDIClient::ActivateForm(TCustomForm* Form) {
    Child* c = Find(Form);
    if (!c || !c->window || !Form->Visible()) {
        return;
    }
    m_area->setActiveSubWindow(c->window);
    c->window->raise();
    // Qt tells only of changes it makes itself, and not always.
    SetActive(Form);
    NoticeMaximized();
}

// ---- activation -----------------------------------------------------------------

void TMDIClient::WindowActivated(QMdiSubWindow* Window) {
    if (m_releasing) {
        return;
    }
    Child* c = Find(Window);
    if (!c && ActiveChild()) {
        return; // the application lost the focus; the child stays active here
    }
    SetActive(c ? c->form : nullptr);
    NoticeMaximized();
}

void TMDIClient::SetActive(TCustomForm* Form) {
    if (Form == m_active) {
        return;
    }
    QPointer<TCustomForm> previous(m_active);
    QPointer<TCustomForm> next(Form);
    m_active = Form;
    if (previous) {
        previous->Perform(WM_ACTIVATE, 0);
    }
    if (previous) {
        previous->Perform(WM_MDIACTIVATE, AsWParam(previous),
                          reinterpret_cast<std::intptr_t>(Form));
    }
    if (next) {
        next->Perform(WM_ACTIVATE, 1);
    }
    if (next) {
        next->Perform(WM_MDIACTIVATE, AsWParam(previous), reinterpret_cast<std::intptr_t>(Form));
    }
    Perform(WM_MDISETMENU, AsWParam(ActiveChild()), kMDINotice);
}

void TMDIClient::ActivateNext(const std::vector<TCustomForm*>& Pile, const TCustomForm* Leaving) {
    // The next one down the pile as it was, as Qt's own choice may differ.
    for (TCustomForm* f : Pile) {
        if (f != Leaving && Find(f) && f->Visible() && f->WindowState() != wsMinimized) {
            ActivateForm(f);
            return;
        }
    }
    SetActive(nullptr);
}

void TMDIClient::NoticeMaximized() {
    TCustomForm* now = MaximizedChild();
    if (now == m_noticedMaximized) {
        return;
    }
    TCustomForm* before = m_noticedMaximized;
    m_noticedMaximized = now;
    if (now) {
        Perform(WM_MDIMAXIMIZE, AsWParam(now), kMDINotice);
    } else {
        Perform(WM_MDIRESTORE, AsWParam(Find(before) ? before : nullptr), kMDINotice);
    }
}

// ---- requests -------------------------------------------------------------------

void TMDIClient::WndProc(TMessage& Message) {
    const bool notice = Message.LParam == kMDINotice;
    switch (Message.Msg) {
    case WM_MDIACTIVATE:
        ActivateForm(FormArg(Message.WParam));
        return;
    case WM_MDIMAXIMIZE:
        if (!notice) {
            Maximize(FormArg(Message.WParam));
        }
        return;
    case WM_MDIRESTORE:
        if (!notice) {
            Restore(FormArg(Message.WParam));
        }
        return;
    case WM_MDITILE:
        Tile(static_cast<TTileMode>(Message.WParam));
        return;
    case WM_MDICASCADE:
        Cascade();
        return;
    case WM_MDIGETACTIVE:
        Message.Result = reinterpret_cast<std::intptr_t>(ActiveChild());
        return;
    case WM_MDIREFRESHMENU:
        Perform(WM_MDISETMENU, AsWParam(ActiveChild()), kMDINotice);
        return;
    case WM_MDISETMENU:
        return;
    default:
        TWinControl::WndProc(Message);
    }
}

void TMDIClient::Maximize(TCustomForm* Form) {
    Child* c = Find(Form);
    if (!c || !Form->Visible()) {
        return;
    }
    ActivateForm(Form);
    ApplyState(*c, wsMaximized);
    // The request itself tells whoever hooks the client.
    m_noticedMaximized = MaximizedChild();
}

void TMDIClient::Restore(TCustomForm* Form) {
    Child* c = Find(Form);
    if (!c || !Form->Visible()) {
        return;
    }
    ApplyState(*c, wsNormal);
    m_noticedMaximized = MaximizedChild();
}

void TMDIClient::Tile(TTileMode Mode) {
    std::vector<Child*> open;
    bool minimised = false;
    for (TCustomForm* f : Children()) {
        Child* c = Find(f);
        if (f->WindowState() == wsMinimized) {
            minimised = true;
        } else {
            open.push_back(c);
        }
    }
    if (open.empty() || !m_area) {
        return;
    }
    const int n = static_cast<int>(open.size());
    const QRect area = m_area->viewport()->rect();
    // Minimised children keep a row at the bottom.
    const int height = area.height() - (minimised ? 24 : 0);
    for (int i = 0; i < n; ++i) {
        Child& c = *open[static_cast<std::size_t>(i)];
        if (c.form->WindowState() == wsMaximized) {
            ApplyState(c, wsNormal);
        }
        const QRect slot =
            Mode == tbVertical
                ? QRect(area.width() * i / n, 0, area.width() * (i + 1) / n - area.width() * i / n,
                        height)
                : QRect(0, height * i / n, area.width(), height * (i + 1) / n - height * i / n);
        c.window->setGeometry(slot);
    }
    NoticeMaximized();
}

void TMDIClient::Cascade() {
    if (m_area) {
        m_area->cascadeSubWindows();
        NoticeMaximized();
    }
}

// ---- the control ------------------------------------------------------------------

void TMDIClient::WMSize(TMessage& Message) {
    TWinControl::WMSize(Message);
    if (m_area) {
        const TRect r = ClientRect();
        m_area->setGeometry(0, 0, r.Width(), r.Height());
    }
}

void TMDIClient::CMColorChanged(TMessage& Message) {
    TWinControl::CMColorChanged(Message);
    if (m_area) {
        m_area->setBackground(ToQColor(Color()));
    }
}

void TMDIClient::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) {
        return;
    }
    auto it = std::find_if(m_children.begin(), m_children.end(),
                           [&](const Child& c) { return c.form == AComponent; });
    if (it == m_children.end()) {
        return;
    }
    TCustomForm* form = it->form;
    const std::vector<TCustomForm*> pile = Children();
    form->SetSite(nullptr);
    m_releasing = true;
    Release(*it);
    m_releasing = false;
    m_children.erase(it);
    if (m_active == form) {
        m_active = nullptr;
        // A parent being torn down activates nothing: the other children's
        // handlers would run on a half-freed window.
        bool tearingDown = IsDestroying();
        for (TComponent* o = Owner(); o != nullptr && !tearingDown; o = o->Owner()) {
            tearingDown = o->IsDestroying();
        }
        if (!tearingDown) {
            ActivateNext(pile, form);
        }
    }
    if (m_noticedMaximized == form) {
        m_noticedMaximized = nullptr;
        Perform(WM_MDIRESTORE, 0, kMDINotice);
    }
    NoticeMaximized();
}

// ---- the parent form ------------------------------------------------------------

TMDIForm::TMDIForm(TComponent* AOwner) : TForm(AOwner) {
    SetFormStyle(fsMDIForm);
    m_client = new TMDIClient(this); // owned by the form
    m_client->SetParent(this);
}

void TMDIForm::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == m_client) {
        m_client = nullptr;
    }
}

void TMDIForm::AddMDIChild(TCustomForm* Child) {
    if (m_client) {
        m_client->AddChild(Child);
    }
}

int TMDIForm::MDIChildCount() const {
    return m_client ? static_cast<int>(m_client->Children().size()) : 0;
}

TCustomForm* TMDIForm::MDIChildren(int Index) const {
    if (!m_client) {
        return nullptr;
    }
    const std::vector<TCustomForm*> children = m_client->Children();
    return Index >= 0 && Index < static_cast<int>(children.size())
               ? children[static_cast<std::size_t>(Index)]
               : nullptr;
}

TCustomForm* TMDIForm::ActiveMDIChild() const {
    return m_client ? m_client->ActiveChild() : nullptr;
}

void TMDIForm::Tile() {
    if (m_client) {
        m_client->Perform(WM_MDITILE, m_tileMode);
    }
}

void TMDIForm::Cascade() {
    if (m_client) {
        m_client->Perform(WM_MDICASCADE);
    }
}

} // namespace tk
