#include "skin/frmMSNPop.h"

#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "skin/SKThemes.h"

// The form description is compiled into the static skin library, whose
// resources are registered on first use.
static void InitNoticeResources() {
    Q_INIT_RESOURCE(skin);
}

namespace sk {

using namespace tk;

namespace {

// Slides move every 10 ms, the fastest a message-loop timer ticks.
constexpr int kSlideStep = kMinTimerIntervalMs;
// Between the notice and the right edge of the work area.
constexpr int kRightGap = 18;

std::uint32_t Ticks() {
    return TTimerService::Instance().TickCount();
}

// Above the other windows (the offscreen platform has no stacking and says
// so on every call).
void Raise(QWidget* Window) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        Window->raise();
    }
}

void InvalidateTree(TControl* Control) {
    Control->Invalidate();
    if (auto* container = qobject_cast<TWinControl*>(Control)) {
        for (TControl* child : container->ControlList()) {
            InvalidateTree(child);
        }
    }
}

} // namespace

TRect NoticeSlideBounds(const TRect& Rest, double Progress) {
    const double p = std::clamp(Progress, 0.0, 1.0);
    const int shown = std::max(1, static_cast<int>(std::lround(Rest.Height() * p)));
    return Rect(Rest.Left, Rest.Bottom - shown, Rest.Right, Rest.Bottom);
}

// ---- the window -------------------------------------------------------------------

TfrmMSNPopForm::TfrmMSNPopForm(TComponent* AOwner) : TForm(AOwner) {
    InitNoticeResources();
    RegisterToolkitClasses();
    RegisterHandler("FormCreate", &TfrmMSNPopForm::FormCreate);
    RegisterHandler("FormMouseDown", &TfrmMSNPopForm::FormMouseDown);
    RegisterHandler("FormClick", &TfrmMSNPopForm::FormClick);
    RegisterHandler("lbl_titleClick", &TfrmMSNPopForm::lbl_titleClick);
    RegisterHandler("lbl_textClick", &TfrmMSNPopForm::lbl_textClick);
    RegisterHandler("Timer1Timer", &TfrmMSNPopForm::Timer1Timer);
    LoadDescription(QStringLiteral(":/forms/frmMSNPop.form"));
    lbl_title = qobject_cast<TLabel*>(FindComponent("lbl_title"));
    lbl_text = qobject_cast<TLabel*>(FindComponent("lbl_text"));
    Timer1 = qobject_cast<TTimer*>(FindComponent("Timer1"));
    m_slideTimer = new TTimer(this); // owned by the form
    m_slideTimer->SetEnabled(false);
    m_slideTimer->SetInterval(kSlideStep);
    m_slideTimer->OnTimer = [this](TObject*) { SlideStep(); };
    DoCreate();
}

TfrmMSNPopForm::~TfrmMSNPopForm() = default;

void TfrmMSNPopForm::FormCreate(TObject* /*Sender*/) {
    try {
        m_background.LoadFromResourceName(QStringLiteral("MSNPOPFORM"));
    } catch (const EResNotFound&) {
        m_background.Clear(); // an empty window, as without its picture
    }
    // A bare pop-up: no caption, no border, no task-bar button, above the
    // other windows, and never taking the focus.
    SetBorderStyle(bsNone);
    QWidget* w = Handle();
    w->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                      Qt::WindowDoesNotAcceptFocus);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    const int width = m_background.Width();
    const int height = m_background.Height();
    const TRect area = GetWorkAreaRect();
    m_rest = Bounds(area.Right - width - kRightGap, area.Bottom - height, width, height);
    SetBoundsRect(m_rest);
    lbl_title->SetBounds(10, 5, ClientWidth() - 30, 18);
    lbl_text->SetBounds(10, 40, ClientWidth() - 20, ClientHeight() - 50);
}

void TfrmMSNPopForm::SetVisible(bool Visible) {
    // Not the form's showing, which raises and activates the window.
    TWinControl::SetVisible(Visible);
    if (HandleAllocated()) {
        Handle()->setVisible(Visible);
        if (Visible) {
            Raise(Handle());
        }
    }
}

void TfrmMSNPopForm::PopupAt(const TRect& Rest) {
    switch (m_phase) {
    case TPhase::SlidingOut:
        EndDisplay();
        if (m_phase != TPhase::Hidden) {
            return; // OnClose popped it up again already
        }
        [[fallthrough]];
    case TPhase::Hidden:
        m_rest = Rest;
        StartSlide(TPhase::SlidingIn);
        break;
    case TPhase::SlidingIn:
        m_rest = Rest; // the next step slides towards it
        break;
    case TPhase::Shown:
        m_rest = Rest;
        SetBoundsRect(Rest);
        break;
    }
}

void TfrmMSNPopForm::CloseNotice() {
    if (m_phase == TPhase::Hidden) {
        return;
    }
    Timer1->SetEnabled(false);
    if (m_closedByBox) {
        // The close box: the notice just disappears.
        m_closedByBox = false;
        EndDisplay();
        return;
    }
    if (m_phase == TPhase::SlidingOut) {
        return;
    }
    // Leaving during the slide in starts from what shows now.
    const double shown = m_phase == TPhase::SlidingIn
                             ? static_cast<double>(Height()) / std::max(1, m_rest.Height())
                             : 1.0;
    StartSlide(TPhase::SlidingOut);
    m_slideStart -= static_cast<std::uint32_t>(std::lround((1.0 - shown) * AnimateTime));
}

void TfrmMSNPopForm::StartSlide(TPhase Phase) {
    m_phase = Phase;
    m_slideStart = Ticks();
    if (AnimateTime <= 0) {
        SlideDone();
        return;
    }
    const bool in = Phase == TPhase::SlidingIn;
    SetBoundsRect(NoticeSlideBounds(m_rest, in ? 0.0 : 1.0));
    if (in) {
        SetVisible(true);
    } else if (HandleAllocated()) {
        Raise(Handle());
    }
    m_slideTimer->SetEnabled(true);
}

void TfrmMSNPopForm::SlideStep() {
    const std::uint32_t elapsed = Ticks() - m_slideStart; // wraps as the ticks do
    const double p = std::min(1.0, static_cast<double>(elapsed) / std::max(1, AnimateTime));
    SetBoundsRect(NoticeSlideBounds(m_rest, m_phase == TPhase::SlidingIn ? p : 1.0 - p));
    if (p >= 1.0) {
        SlideDone();
    }
}

void TfrmMSNPopForm::SlideDone() {
    m_slideTimer->SetEnabled(false);
    if (m_phase == TPhase::SlidingOut) {
        EndDisplay();
        return;
    }
    SetBoundsRect(m_rest);
    SetVisible(true);
    m_phase = TPhase::Shown;
    InvalidateAll();
    m_showTime = Ticks();
    Timer1->SetEnabled(true);
}

void TfrmMSNPopForm::EndDisplay() {
    m_phase = TPhase::Hidden;
    m_slideTimer->SetEnabled(false);
    Timer1->SetEnabled(false);
    SetVisible(false);
    SetBoundsRect(m_rest);
    InvalidateAll();
    if (Notice) {
        Notice->Fire(Notice->OnClose);
    }
}

void TfrmMSNPopForm::Timer1Timer(TObject* /*Sender*/) {
    // Signed: a tick count that wrapped since showing ends the display too.
    const long long elapsed = static_cast<long long>(Ticks()) - m_showTime;
    if (elapsed >= StayTime || elapsed < 0) {
        Timer1->SetEnabled(false);
        CloseNotice();
    }
}

void TfrmMSNPopForm::FormMouseDown(TObject* /*Sender*/, TMouseButton Button, TShiftState /*Shift*/,
                                   int X, int Y) {
    m_pressInBox = Button == TMouseButton::mbLeft && InRect(X, Y, CloseBox());
    if (m_pressInBox) {
        m_closedByBox = true;
        CloseNotice();
    }
}

void TfrmMSNPopForm::FormClick(TObject* /*Sender*/) {
    if (m_pressInBox) {
        m_pressInBox = false;
        return;
    }
    BodyClicked();
}

void TfrmMSNPopForm::lbl_titleClick(TObject* /*Sender*/) {
    if (Notice) {
        Notice->Fire(Notice->OnTitleClick);
    }
}

void TfrmMSNPopForm::lbl_textClick(TObject* /*Sender*/) {
    BodyClicked();
}

void TfrmMSNPopForm::BodyClicked() {
    QPointer<TfrmMSNPopForm> self(this);
    if (Notice) {
        Notice->Fire(Notice->OnClick);
    }
    if (self && ClickHide) {
        CloseNotice();
    }
}

void TfrmMSNPopForm::InvalidateAll() {
    InvalidateTree(this);
}

void TfrmMSNPopForm::Paint() {
    const int w = ClientWidth();
    const int h = ClientHeight();
    if (w <= 0 || h <= 0) {
        return;
    }
    TBitmap face(w, h);
    if (!m_background.Empty()) {
        face.Canvas()->Draw(0, 0, m_background);
    }
    Canvas()->Draw(0, 0, face);
}

void TfrmMSNPopForm::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
}

// ---- the component ----------------------------------------------------------------

TskMSNPopForm::TskMSNPopForm(TComponent* AOwner)
    : TComponent(AOwner), m_titleFont(std::make_unique<TFont>()),
      m_messageFont(std::make_unique<TFont>()) {
    m_titleFont->SetColor(clNavy);
    m_messageFont->SetColor(clNavy);
    PublishEvent("OnTitleClick", OnTitleClick);
    PublishEvent("OnClick", OnClick);
    PublishEvent("OnClose", OnClose);
    m_form = new TfrmMSNPopForm(this); // owned as a component of this one
    m_form->Notice = this;
}

TskMSNPopForm::~TskMSNPopForm() = default;

void TskMSNPopForm::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == m_form) {
        m_form = nullptr;
    }
}

void TskMSNPopForm::SetTitleFont(TFont* Value) {
    if (Value) {
        m_titleFont->Assign(*Value);
    }
}

void TskMSNPopForm::SetTextFont(TFont* Value) {
    if (Value) {
        m_messageFont->Assign(*Value);
    }
}

void TskMSNPopForm::Popup() {
    if (!m_form) {
        return;
    }
    m_form->AnimateTime = m_animateTime;
    m_form->StayTime = m_stayTime;
    m_form->ClickHide = m_clickHide;
    m_form->lbl_title->SetCaption(m_title);
    m_form->lbl_title->Font()->Assign(*m_titleFont);
    m_form->lbl_text->SetCaption(m_messageText);
    m_form->lbl_text->Font()->Assign(*m_messageFont);
    const TRect rest = m_form->RestBounds();
    const int w = rest.Width();
    const int h = rest.Height();
    TPoint at{m_positionX, m_positionY};
    if (m_autoPosition) {
        const TRect area = GetWorkAreaRect();
        at = {area.Right - w - kRightGap, area.Bottom - h};
    }
    m_form->PopupAt(Bounds(at.x, at.y, w, h));
}

void TskMSNPopForm::Close() {
    if (m_form) {
        m_form->CloseNotice();
    }
}

void TskMSNPopForm::Fire(const TNotifyEvent& Event) {
    if (Event) {
        Event(this);
    }
}

void RegisterSkinNoticeClasses() {
    static const bool done = [] {
        RegisterClass<TskMSNPopForm>();
        return true;
    }();
    (void)done;
}

} // namespace sk
