#include "skin/SKProgressBar.h"

#include <algorithm>

namespace sk {

using namespace tk;

namespace {
constexpr int kThickness = 12;
} // namespace

int ProgressPercent(int Min, int Max, int Position) {
    if (Max == Min) {
        return 0;
    }
    // 64-bit: a range spanning most of int would overflow the product.
    const long long span = static_cast<long long>(Max) - Min;
    return static_cast<int>((static_cast<long long>(Position) - Min) * 100 / span);
}

int ProgressFilledLength(int Min, int Max, int Position, int Length) {
    if (Min >= Max || Position <= Min) {
        return 0;
    }
    if (Position > Max) {
        return Length;
    }
    const long long span = static_cast<long long>(Max) - Min;
    return static_cast<int>(Length * (static_cast<long long>(Position) - Min) / span);
}

TskProgressBar::TskProgressBar(TComponent* AOwner)
    : TCustomPanel(AOwner), m_theme(this, GetSKFormStyle(AOwner)),
      m_picture(std::make_unique<TPicture>()) {
    SetControlStyle(ControlStyle() & ~csAcceptsControls);
    SetBevelOuter(bvNone);
    m_picture->OnChange = [this] { Invalidate(); };
    SetBounds(0, 0, 150, kThickness);
    UpdatePicture();
    UpdateProgress();
}

TskProgressBar::~TskProgressBar() {
    m_picture->OnChange = nullptr;
}

void TskProgressBar::SetMax(int Value) {
    m_max = Value;
    UpdateProgress();
}

void TskProgressBar::SetMin(int Value) {
    m_min = Value;
    UpdateProgress();
}

void TskProgressBar::SetPosition(int Value) {
    m_position = Value;
    UpdateProgress();
}

void TskProgressBar::UpdateProgress() {
    SetCaption(QString::number(ProgressPercent(m_min, m_max, m_position)) + QLatin1Char('%'));
    Invalidate();
}

void TskProgressBar::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    UpdatePicture();
}

void TskProgressBar::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(UIStyle());
    }
}

void TskProgressBar::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomPanel::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TskProgressBar::UpdatePicture() {
    TBitmap image;
    m_theme.GetBitmap(siProgressBarImage, &image);
    if (m_orientation == skVertical) {
        RoundPicture(&image);
    }
    m_picture->Assign(image.Empty() ? nullptr : &image);
    m_color = m_theme.GetColor(siControlBackgroundColor);
    m_borderColor = m_theme.GetColor(siControlBorderColor);
    Invalidate();
}

void TskProgressBar::SetOrientation(TskProgressBarOrientation Value) {
    m_orientation = Value;
    UpdatePicture();
    const int length = std::max(Width(), Height());
    if (Value == skVertical) {
        SetBounds(Left(), Top(), kThickness, length);
    } else {
        SetBounds(Left(), Top(), length, kThickness);
    }
}

void TskProgressBar::SetPicture(const TPicture* Value) {
    if (Value) {
        m_picture->Assign(*Value);
    } else {
        m_picture->Clear();
    }
    Invalidate();
}

bool TskProgressBar::CaptionShown() const {
    return m_showCaption && !(m_smartShowCaption && m_position == m_min);
}

void TskProgressBar::Paint() {
    const int w = Width();
    const int h = Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    TBitmap face(w, h);
    TCanvas* c = face.Canvas();
    if (m_orientation == skVertical) {
        // A vertical bar has no room across for the percentage, for good.
        m_showCaption = false;
        PaintVertical(c, w, h);
    } else {
        PaintHorizontal(c, w, h);
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(m_borderColor);
    c->FrameRect(Rect(0, 0, w, h));
    Canvas()->Draw(0, 0, face);
}

void TskProgressBar::PaintHorizontal(TCanvas* Canvas, int W, int H) {
    const int f = std::max(1, ProgressFilledLength(m_min, m_max, m_position, W - 1));
    if (!m_picture->Empty()) {
        Canvas->StretchDraw(Rect(1, 1, f, H - 1), *m_picture->Graphic());
    }
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(m_color);
    Canvas->FillRect(Rect(f, 1, W - 1, H - 1));
    if (CaptionShown()) {
        DrawCaption(Canvas, W, H);
    }
}

void TskProgressBar::PaintVertical(TCanvas* Canvas, int W, int H) {
    // The horizontal bar turned a quarter: the same number of rows filled,
    // from the bottom up, as a horizontal bar fills columns from the left.
    const int f = std::max(1, ProgressFilledLength(m_min, m_max, m_position, H - 1));
    const int top = H - f;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(m_color);
    Canvas->FillRect(Rect(1, 1, W - 1, top));
    if (!m_picture->Empty()) {
        Canvas->StretchDraw(Rect(1, top, W - 1, H - 1), *m_picture->Graphic());
    }
}

void TskProgressBar::DrawCaption(TCanvas* Canvas, int W, int H) {
    Canvas->Font()->Assign(*Font());
    Canvas->Font()->SetColor(m_captionColor);
    Canvas->Brush()->SetStyle(bsClear);
    const QString text = TControl::Caption();
    const QSize size = Canvas->TextExtent(text);
    Canvas->TextOut((W - size.width()) / 2, (H - size.height()) / 2, text);
}

void TskProgressBar::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
}

void RegisterSkinProgressBarClasses() {
    static const bool done = [] {
        RegisterClass<TskProgressBar>();
        return true;
    }();
    (void)done;
}

} // namespace sk
