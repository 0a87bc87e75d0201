#include "skin/SKGroupBox.h"

#include <cstdlib>

namespace sk {

using tk::TCanvas;
using tk::TMessage;
using tk::TRect;

TskCustomGroupBox::TskCustomGroupBox(tk::TComponent* AOwner)
    : TskCustomPanel(AOwner), m_theme(this, GetSKFormStyle(AOwner)) {
    tk::TControl::SetCaption(QStringLiteral(" "));
    SetBounds(0, 0, 185, 105);
    SetParentColor(true);
    SetUIStyle(m_theme.UIStyle());
}

TskCustomGroupBox::~TskCustomGroupBox() = default;

void TskCustomGroupBox::SetCaption(const QString& Value) {
    m_caption = Value;
    Invalidate();
}

void TskCustomGroupBox::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    Invalidate();
}

void TskCustomGroupBox::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    UpdateUIStyle(Value, m_theme.FileTheme());
}

void TskCustomGroupBox::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(m_theme.UIStyle());
    }
}

void TskCustomGroupBox::UpdateUIStyle(TskUIStyle Style, TskFileTheme* Theme) {
    ContainerApplyUIStyle(this, Style, Theme);
    TskUIStyle used = DeepBlue;
    const bool fromFile = UsingFileTheme(Theme, Style, used);
    auto color = [&](int item) {
        return fromFile ? Theme->GetColor(item) : GetInsideThemeColor(used, item);
    };
    m_borderColor = color(siControlBorderColor);
    Font()->SetColor(color(siControlFontColor));
    Invalidate();
}

void TskCustomGroupBox::SetEnabled(bool Value) {
    TskCustomPanel::SetEnabled(Value);
    const std::vector<tk::TControl*> children = ControlList();
    for (tk::TControl* c : children) {
        c->SetEnabled(Value);
    }
}

int TskCustomGroupBox::CaptionHeight() const {
    return std::abs(Font()->Height());
}

TRect TskCustomGroupBox::InnerRect() const {
    const TRect r = ClientRect();
    return tk::Rect(r.Left + 3, r.Top + CaptionHeight(), r.Right - 2, r.Bottom - 2);
}

void TskCustomGroupBox::AdjustClientRect(TRect& r) const {
    const int h = CaptionHeight();
    r = tk::Rect(r.Left + 3, r.Top + h + 5, r.Right - 3, r.Bottom - 3);
}

void TskCustomGroupBox::CMFontChanged(TMessage& Message) {
    TskCustomPanel::CMFontChanged(Message);
    Realign();
    Invalidate();
}

void TskCustomGroupBox::Paint() {
    TCanvas& c = *Canvas();
    const TRect r = ClientRect();
    if (Transparent()) {
        TskCustomPanel::Paint();
    } else {
        c.Brush()->SetColor(Color());
        c.Brush()->SetStyle(tk::bsSolid);
        c.FillRect(r);
    }
    c.Font()->Assign(*Font());
    const int y = r.Top + CaptionHeight() / 2 + 1;
    const int back = m_caption.isEmpty() ? r.Left : r.Left + c.TextWidth(m_caption) + 6;
    c.Pen()->SetColor(m_borderColor);
    c.Pen()->SetWidth(1);
    c.Pen()->SetStyle(tk::psSolid);
    c.MoveTo(r.Left + 2, y);
    c.LineTo(r.Left, y);
    c.LineTo(r.Left, r.Bottom - 1);
    c.LineTo(r.Right - 1, r.Bottom - 1);
    c.LineTo(r.Right - 1, y);
    c.LineTo(back, y);
    if (!m_caption.isEmpty()) {
        c.Brush()->SetStyle(tk::bsClear);
        if (!Enabled()) {
            c.Font()->SetColor(tk::clGray);
        }
        c.TextOut(5, 0, m_caption);
    }
}

void TskCustomGroupBox::Notification(tk::TComponent* AComponent, tk::TOperation Operation) {
    TskCustomPanel::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation) && !IsDestroying()) {
        ContainerApplyUIStyle(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}

} // namespace sk
