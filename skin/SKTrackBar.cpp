#include "skin/SKTrackBar.h"

#include <QPointer>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace sk {

using namespace tk;

namespace {

constexpr unsigned kPageTimer = 1;
constexpr int kPagePeriod = 100;

// Ties go to the even neighbour, whatever the floating-point rounding mode.
long long RoundHalfEven(double v) {
    const double lower = std::floor(v);
    const double diff = v - lower;
    auto result = static_cast<long long>(lower);
    if (diff > 0.5 || (diff == 0.5 && (result % 2 != 0))) {
        ++result;
    }
    return result;
}

int Clamp(long long v, int lo, int hi) {
    return static_cast<int>(std::clamp<long long>(v, lo, hi));
}

} // namespace

// The thumb hands the mouse to its track: a press starts a drag, the moves
// that follow (the thumb keeps the pointer until the release) drag, the
// release ends it.
class TskTrackBar::Thumb : public TskImagePanel {
public:
    explicit Thumb(TskTrackBar* track) : TskImagePanel(track), m_track(track) {
        SetParentColor(true);
        SetAutoSize(true);
    }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        TskImagePanel::MouseDown(Button, Shift, X, Y);
        m_track->ThumbMouseDown(Button, Shift, X + Left(), Y + Top());
    }
    void MouseMove(TShiftState Shift, int X, int Y) override {
        TskImagePanel::MouseMove(Shift, X, Y);
        if (m_track->m_dragging) {
            m_track->DragTo(X + Left(), Y + Top());
        }
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        TskImagePanel::MouseUp(Button, Shift, X, Y);
        m_track->ThumbMouseUp(Button, Shift, X + Left(), Y + Top());
    }

private:
    TskTrackBar* m_track;
};

// ---- TskTrackBar ----------------------------------------------------------------

TskTrackBar::TskTrackBar(TComponent* AOwner)
    : TCustomPanel(AOwner), m_theme(this, GetSKFormStyle(AOwner)),
      m_barImage(std::make_unique<TPicture>()) {
    SetControlStyle(ControlStyle() & ~csAcceptsControls);
    SetBevelOuter(bvNone);
    SetParentColor(true);
    SetFocusable(true);
    SetTabStop(true);
    m_thumb = new Thumb(this); // owned by the track
    m_thumb->SetParent(this);
    SetBounds(0, 0, 150, 20);
    m_barImage->OnChange = [this] {
        BuildGroove();
        Invalidate();
    };
    PublishEvent("OnChange", OnChange);
    SetUIStyle(m_theme.UIStyle());
}

TskTrackBar::~TskTrackBar() {
    m_barImage->OnChange = nullptr;
}

TskImagePanel* TskTrackBar::Slider() const {
    return m_thumb;
}

TPicture* TskTrackBar::SliderImage() const {
    return m_thumb->Picture();
}

void TskTrackBar::SetSliderImage(const TGraphic* Value) {
    m_thumb->Picture()->Assign(Value);
    UpdateSlider();
}

void TskTrackBar::SetOrientation(TskProgressBarOrientation Value) {
    if (Value == m_orientation) {
        return;
    }
    m_orientation = Value;
    UpdatePicture();
    BuildGroove();
    UpdateSlider();
    Invalidate();
}

void TskTrackBar::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(m_theme.UIStyle());
    }
}

void TskTrackBar::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    if (Value == MacOS) {
        m_transparent = true;
    }
    UpdatePicture();
    Invalidate();
}

void TskTrackBar::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomPanel::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TskTrackBar::UpdatePicture() {
    if (CustomPicture()) {
        return;
    }
    TBitmap bar;
    m_theme.GetBitmap(siTrackBarBarImage, &bar);
    TBitmap slider;
    m_theme.GetBitmap(
        m_orientation == skHorizontal ? siTrackBarSliderImage : siTrackBarSliderVImage, &slider);
    m_thumb->SetTransparent(SliderTransparent());
    m_thumb->Picture()->Assign(&slider);
    m_barImage->Assign(&bar); // rebuilds the groove
    if (m_orientation == skHorizontal) {
        SetHeight(std::max(bar.Height(), m_thumb->Height()));
    } else {
        SetWidth(std::max(bar.Height(), m_thumb->Width()));
    }
    UpdateSlider();
}

void TskTrackBar::BuildGroove() {
    const auto* bar = dynamic_cast<const TBitmap*>(m_barImage->Graphic());
    if (!bar || bar->Empty() || Length() <= 0) {
        m_groove.Clear();
        return;
    }
    m_groove.SetSize(Length(), bar->Height());
    TCanvas* c = m_groove.Canvas();
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Rect(0, 0, Length(), bar->Height()));
    SpitDrawHorizontal(bar, c, Rect(0, 0, Length(), bar->Height()), false);
    if (m_orientation == skVertical) {
        RoundPicture(&m_groove);
    }
}

void TskTrackBar::SetMin(int Value) {
    if (Value == m_min) {
        return;
    }
    m_min = std::min(Value, m_max);
    m_position = std::clamp(m_position, m_min, m_max);
    UpdateSlider();
}

void TskTrackBar::SetMax(int Value) {
    if (Value == m_max) {
        return;
    }
    m_max = std::max(Value, m_min);
    m_position = std::clamp(m_position, m_min, m_max);
    UpdateSlider();
}

void TskTrackBar::SetPosition(int Value) {
    m_position = std::clamp(Value, m_min, m_max);
    UpdateSlider();
}

void TskTrackBar::SetPageSize(int Value) {
    if (Value >= 0 && Value <= m_max) {
        m_pageSize = Value;
    }
}

void TskTrackBar::SetLineSize(int Value) {
    if (Value >= 0 && Value <= m_max) {
        m_lineSize = Value;
    }
}

void TskTrackBar::SetShowTick(bool Value) {
    m_showTick = Value;
    Invalidate();
}

void TskTrackBar::SetTransparent(bool Value) {
    m_transparent = Value;
    Invalidate();
}

void TskTrackBar::SetFrequency(int Value) {
    m_frequency = Value;
    Invalidate();
}

int TskTrackBar::Length() const {
    return m_orientation == skHorizontal ? Width() : Height();
}

int TskTrackBar::SliderLength() const {
    return m_orientation == skHorizontal ? m_thumb->Width() : m_thumb->Height();
}

TPoint TskTrackBar::GetSliderPosFromPosition() const {
    const long long range = static_cast<long long>(m_max) - m_min;
    const long long along = range == 0 ? 0
                                       : (static_cast<long long>(m_position) - m_min) *
                                             (Length() - SliderLength()) / range;
    if (m_orientation == skHorizontal) {
        return {static_cast<int>(along), std::max(Height() - m_thumb->Height(), 0) / 2};
    }
    return {std::max(Width() - m_thumb->Width(), 0) / 2, static_cast<int>(along)};
}

int TskTrackBar::GetPositionFromSliderPos(int X, int Y) const {
    const int along = m_orientation == skHorizontal ? X : Y;
    const int room = Length() - SliderLength();
    const long long steps = room == 0
                                ? 0
                                : RoundHalfEven(static_cast<double>(along - SliderLength() / 2) *
                                                (static_cast<double>(m_max) - m_min) / room);
    return Clamp(steps + m_min, m_min, m_max);
}

TRect TskTrackBar::SliderRect() const {
    return m_thumb->BoundsRect();
}

void TskTrackBar::UpdateSlider() {
    const TPoint p = GetSliderPosFromPosition();
    m_thumb->SetBounds(p.x, p.y, m_thumb->Width(), m_thumb->Height());
    Invalidate();
    if (m_position == m_lastPosition) {
        return;
    }
    m_lastChange = m_position - m_lastPosition;
    m_lastPosition = m_position;
    if (OnChange && !IsLoading()) {
        OnChange(this);
    }
}

void TskTrackBar::StepTowards(int X, int Y, int Step) {
    const TRect s = SliderRect();
    const bool horizontal = m_orientation == skHorizontal;
    const int along = horizontal ? X : Y;
    const int start = horizontal ? s.Left : s.Top;
    const int end = horizontal ? s.Right : s.Bottom;
    if (along >= start && along < end) {
        return;
    }
    const int target = GetPositionFromSliderPos(X, Y);
    const long long pos = m_position;
    SetPosition(start < along
                    ? Clamp(std::min(pos + Step, static_cast<long long>(target)), m_min, m_max)
                    : Clamp(std::max(pos - Step, static_cast<long long>(target)), m_min, m_max));
}

void TskTrackBar::DragTo(int X, int Y) {
    m_pointer = {X, Y};
    SetPosition(GetPositionFromSliderPos(X, Y));
}

void TskTrackBar::StopPaging() {
    if (m_pageTimer) {
        KillTimer(kPageTimer);
        m_pageTimer = false;
    }
}

void TskTrackBar::TakeFocus() {
    if (!CanFocus() || !Enabled()) {
        return;
    }
    try {
        SetFocus();
    } catch (const std::exception&) {
        // The step stands without the focus.
    }
}

void TskTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomPanel::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft) {
        return;
    }
    QPointer<QObject> alive(this);
    m_pointer = {X, Y};
    StepTowards(X, Y, m_pageSize);
    if (!alive) {
        return;
    }
    if (!m_pageTimer) {
        SetTimer(kPageTimer, kPagePeriod);
        m_pageTimer = true;
    }
    TakeFocus();
}

void TskTrackBar::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomPanel::MouseMove(Shift, X, Y);
    m_pointer = {X, Y};
    if (m_dragging) {
        DragTo(X, Y);
    } else if (!PtInRect(ClientRect(), {X, Y})) {
        StopPaging();
    }
}

void TskTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft) {
        StopPaging();
        m_dragging = false;
    }
    TCustomPanel::MouseUp(Button, Shift, X, Y);
}

void TskTrackBar::ThumbMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft) {
        m_dragging = true;
        m_pointer = {X, Y};
        TakeFocus();
    }
    if (OnMouseDown) {
        OnMouseDown(this, Button, Shift, X, Y);
    }
}

void TskTrackBar::ThumbMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft) {
        m_dragging = false;
        StopPaging();
    }
    if (OnMouseUp) {
        OnMouseUp(this, Button, Shift, X, Y);
    }
}

void TskTrackBar::CMMouseLeave(TMessage& Message) {
    if (!m_dragging) {
        StopPaging();
    }
    TCustomPanel::CMMouseLeave(Message);
}

void TskTrackBar::WMTimer(TMessage& Message) {
    if (Message.WParam != kPageTimer) {
        TCustomPanel::WMTimer(Message);
        return;
    }
    const int step = m_orientation == skHorizontal ? 3 * m_pageSize : m_pageSize;
    StepTowards(m_pointer.x, m_pointer.y, step);
}

bool TskTrackBar::WantsKey(unsigned Key, TShiftState /*Shift*/) const {
    // Every key that moves the thumb is the track's, not the form's.
    static constexpr unsigned kKeys[] = {VK_LEFT,  VK_RIGHT, VK_UP,   VK_DOWN,
                                         VK_PRIOR, VK_NEXT,  VK_HOME, VK_END};
    return std::find(std::begin(kKeys), std::end(kKeys), Key) != std::end(kKeys);
}

void TskTrackBar::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomPanel::KeyDown(Key, Shift);
    const long long pos = m_position;
    switch (Key) {
    case VK_PRIOR:
        SetPosition(Clamp(pos - m_pageSize, m_min, m_max));
        break;
    case VK_NEXT:
        SetPosition(Clamp(pos + m_pageSize, m_min, m_max));
        break;
    case VK_END:
        SetPosition(m_max);
        break;
    case VK_HOME:
        SetPosition(m_min);
        break;
    case VK_LEFT:
    case VK_UP:
        SetPosition(Clamp(pos - m_lineSize, m_min, m_max));
        break;
    case VK_RIGHT:
    case VK_DOWN:
        SetPosition(Clamp(pos + m_lineSize, m_min, m_max));
        break;
    default:
        break;
    }
}

void TskTrackBar::WMSize(TMessage& Message) {
    TCustomPanel::WMSize(Message);
    BuildGroove();
    UpdateSlider();
}

void TskTrackBar::CMColorChanged(TMessage& Message) {
    TCustomPanel::CMColorChanged(Message);
    BuildGroove();
    Invalidate();
}

void TskTrackBar::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
}

void TskTrackBar::DrawTicks(TCanvas& c) const {
    if (m_max == m_min) {
        return;
    }
    const long long room = Length() - SliderLength();
    const long long range = static_cast<long long>(m_max) - m_min;
    const bool horizontal = m_orientation == skHorizontal;
    c.Pen()->SetColor(Font()->Color());
    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetWidth(1);
    auto tick = [&](long long value) {
        const int at = static_cast<int>(room * (value - m_min) / range + SliderLength() / 2);
        if (horizontal) {
            c.MoveTo(at, Height() - 1);
            c.LineTo(at, Height() - 4);
        } else {
            c.MoveTo(0, at);
            c.LineTo(3, at);
            c.MoveTo(Width() - 1, at);
            c.LineTo(Width() - 4, at);
        }
    };
    // A frequency below 1 would never reach Max: only both ends then.
    const long long step = m_frequency > 0 ? m_frequency : range;
    for (long long v = m_min; v < m_max; v += step) {
        tick(v);
    }
    tick(m_max);
}

void TskTrackBar::Paint() {
    if (Width() <= 0 || Height() <= 0) {
        return;
    }
    TBitmap buffer(Width(), Height());
    TCanvas* c = buffer.Canvas();
    if (m_transparent) {
        DoTrans(c, this);
    } else {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(ClientRect());
    }
    if (!m_groove.Empty()) {
        if (m_orientation == skHorizontal) {
            c->Draw(0, (Height() - m_groove.Height()) / 2, m_groove);
        } else {
            c->Draw((Width() - m_groove.Width()) / 2, 0, m_groove);
        }
    }
    if (Focused() && TabStop()) {
        c->DrawFocusRect(ClientRect());
    }
    if (m_showTick) {
        DrawTicks(*c);
    }
    Canvas()->Draw(0, 0, buffer);
}

// ---- TskScrollTrackBar ------------------------------------------------------------

TskScrollTrackBar::TskScrollTrackBar(TComponent* AOwner) : TskTrackBar(AOwner) {
    // The base constructor loaded the style's images before this class could
    // say it takes none.
    BarImage()->Clear();
    Slider()->SetTransparent(SliderTransparent());
    Slider()->Picture()->Clear();
}

bool TskScrollTrackBar::GetSliderVisible() const {
    return Slider()->Visible();
}

void TskScrollTrackBar::SetSliderVisible(bool Value) {
    Slider()->SetVisible(Value);
}

void TskScrollTrackBar::UpdateSliderSize() {
    const TPicture* p = Slider()->Picture();
    if (!p->Empty()) {
        Slider()->SetBounds(Slider()->Left(), Slider()->Top(), p->Width(), p->Height());
    }
    UpdateSlider();
}

void RegisterSkinTrackBarClasses() {
    static const bool done = [] {
        RegisterClass<TskTrackBar>();
        RegisterClass<TskScrollTrackBar>();
        return true;
    }();
    (void)done;
}

} // namespace sk
