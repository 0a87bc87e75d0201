#include "skin/SKScrollBar.h"

#include <algorithm>

namespace sk {

using namespace tk;

namespace {

constexpr int kArrowSlices = 6;
constexpr int kThumbSlices = 3;
constexpr int kMinThumb = 18;

// Slice Index of Count of a theme image, turned for the bar's orientation.
void LoadSlice(const TskThemeLink& theme, int item, int count, int index, TBitmap* out,
               void (*turn)(TBitmap*)) {
    out->Clear();
    theme.GetBitmap(item, out, count, index);
    if (turn) {
        turn(out);
    }
}

} // namespace

TskScrollBar::TskScrollBar(TComponent* AOwner)
    : TCustomPanel(AOwner), m_theme(this, GetSKFormStyle(AOwner)) {
    SetControlStyle(ControlStyle() & ~csAcceptsControls);
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    m_track = new TskScrollTrackBar(this); // owned by the bar
    m_track->SetParent(this);
    m_track->SetShowTick(false);
    m_track->SetTabStop(false);
    m_track->SetTransparent(false);
    m_track->SetMax(100);
    m_dec = MakeButton(-1);
    m_inc = MakeButton(+1);
    PublishEvent("OnChange", m_track->OnChange);
    SetBounds(0, 0, 200, 16);
    SetUIStyle(m_theme.UIStyle());
}

TskScrollBar::~TskScrollBar() = default;

TskImageButton* TskScrollBar::MakeButton(int Step) {
    auto* b = new TskImageButton(this); // owned by the bar
    b->SetParent(this);
    b->SetTabStop(false);
    b->SetMouseContinuouslyDownInterval(100);
    b->SetAutoSize(true);
    b->OnMouseContinuouslyDown = [this, Step](TObject*) {
        SetPosition(static_cast<int>(std::clamp<long long>(
            static_cast<long long>(Position()) + static_cast<long long>(Step) * m_smallChange,
            Min(), Max())));
    };
    return b;
}

void TskScrollBar::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(m_theme.UIStyle());
    }
}

void TskScrollBar::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomPanel::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TskScrollBar::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    m_track->SetColor(Color());
    UpdatePictures();
    PlaceTrackBarAndButton();
}

void TskScrollBar::SetOrientation(TskProgressBarOrientation Value) {
    if (Value == m_orientation) {
        return;
    }
    m_orientation = Value;
    UpdatePictures();
    PlaceTrackBarAndButton();
}

void TskScrollBar::SetLineButton(int Value) {
    if (Value == m_lineButton) {
        return;
    }
    const int length = m_orientation == skVertical ? Height() : Width();
    if (Value > length - ButtonLengths()) {
        return;
    }
    m_lineButton = Value;
    UpdateSliderPic();
}

int TskScrollBar::ButtonLengths() const {
    return m_orientation == skVertical ? m_dec->Height() + m_inc->Height()
                                       : m_dec->Width() + m_inc->Width();
}

void TskScrollBar::SetPosition(int Value) {
    if (Value != m_track->Position()) {
        m_track->SetPosition(Value);
    }
}

void TskScrollBar::SetPageSize(int Value) {
    m_track->SetPageSize(Value);
    UpdateSliderPic();
}

void TskScrollBar::SetVisible(bool Value) {
    TCustomPanel::SetVisible(Value);
    m_track->SetVisible(Value);
    m_dec->SetVisible(Value);
    m_inc->SetVisible(Value);
}

void TskScrollBar::CMColorChanged(TMessage& Message) {
    TCustomPanel::CMColorChanged(Message);
    m_track->SetColor(Color());
}

void TskScrollBar::WMSize(TMessage& Message) {
    TCustomPanel::WMSize(Message);
    PlaceTrackBarAndButton();
}

void TskScrollBar::UpdatePictures() {
    SetColor(m_theme.GetColor(siScrollBarBackgroundColor));
    // The arrows are drawn for a vertical bar, the thumb for a horizontal one.
    void (*arrowTurn)(TBitmap*) = m_orientation == skHorizontal ? RoundPicture : nullptr;
    void (*thumbTurn)(TBitmap*) = m_orientation == skVertical ? RoundPicture3 : nullptr;
    TBitmap slice;
    for (int i = 0; i < 3; ++i) {
        for (TskImageButton* b : {m_dec, m_inc}) {
            const int index = (b == m_dec ? 1 : 4) + i;
            LoadSlice(m_theme, siScrollBarButtonImage, kArrowSlices, index, &slice, arrowTurn);
            TPicture* target = i == 0   ? b->PicNormal()
                               : i == 1 ? b->PicMouseOn()
                                        : b->PicMouseDown();
            target->Assign(&slice);
        }
    }
    LoadSlice(m_theme, siScrollBarSliderImage, kThumbSlices, 1, &m_thumbStart, thumbTurn);
    LoadSlice(m_theme, siScrollBarSliderImage, kThumbSlices, 2, &m_thumbMiddle, thumbTurn);
    LoadSlice(m_theme, siScrollBarSliderImage, kThumbSlices, 3, &m_thumbEnd, thumbTurn);
    Invalidate();
}

void TskScrollBar::PlaceTrackBarAndButton() {
    if (m_placing) {
        return;
    }
    m_placing = true;
    m_track->SetOrientation(m_orientation);
    if (Width() == 0 || Height() == 0) {
        SetVisible(false);
        m_placing = false;
        return;
    }
    // The bar is as thick as its buttons; a style without arrow pictures
    // keeps the thickness it has.
    if (m_orientation == skVertical) {
        if (m_dec->Width() > 0) {
            SetWidth(m_dec->Width());
        }
        m_dec->SetBounds(0, 0, m_dec->Width(), m_dec->Height());
        m_track->SetBounds(0, m_dec->Height(), Width(),
                           Height() - m_inc->Height() - m_dec->Height() - 1);
        m_inc->SetBounds(0, Height() - m_inc->Height(), m_inc->Width(), m_inc->Height());
    } else {
        if (m_dec->Height() > 0) {
            SetHeight(m_dec->Height());
        }
        m_dec->SetBounds(0, 0, m_dec->Width(), m_dec->Height());
        m_track->SetBounds(m_dec->Width(), 0, Width() - m_dec->Width() - m_inc->Width(), Height());
        m_inc->SetBounds(Width() - m_inc->Width(), 0, m_inc->Width(), m_inc->Height());
    }
    m_placing = false;
    UpdateSliderPic();
}

void TskScrollBar::UpdateSliderPic() {
    const bool vertical = m_orientation == skVertical;
    const int trackLength = vertical ? m_track->Height() : m_track->Width();
    int length = m_lineButton;
    if (length > 0) {
        length = std::max(length, kMinThumb);
    } else {
        const int page = PageSize();
        const int percent = page >= 10 && page <= 100 ? page : 10;
        length = trackLength * percent / 100;
    }
    const int cross = vertical ? m_thumbStart.Width() : m_thumbStart.Height();
    if (cross <= 0 || length <= 0) {
        m_track->SetThumbPicture(nullptr);
        return;
    }
    TBitmap thumb(vertical ? cross : length, vertical ? length : cross);
    TCanvas* c = thumb.Canvas();
    const int startLength = vertical ? m_thumbStart.Height() : m_thumbStart.Width();
    const int endLength = vertical ? m_thumbEnd.Height() : m_thumbEnd.Width();
    const TRect middle = vertical ? Rect(0, startLength, cross, length - endLength)
                                  : Rect(startLength, 0, length - endLength, cross);
    if (middle.Width() > 0 && middle.Height() > 0) {
        c->StretchDraw(middle, m_thumbMiddle);
    }
    c->Draw(0, 0, m_thumbStart);
    if (vertical) {
        c->Draw(0, length - endLength, m_thumbEnd);
    } else {
        c->Draw(length - endLength, 0, m_thumbEnd);
    }
    m_track->SetThumbPicture(&thumb);
    m_track->UpdateSliderSize();
}

void RegisterSkinScrollBarClasses() {
    static const bool done = [] {
        RegisterSkinTrackBarClasses();
        RegisterClass<TskScrollBar>();
        return true;
    }();
    (void)done;
}

} // namespace sk
