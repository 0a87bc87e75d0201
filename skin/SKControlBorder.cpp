#include "skin/SKControlBorder.h"

namespace sk {

TskControlBorder::TskControlBorder(tk::TWinControl* Control)
    : m_control(Control), m_theme(Control, GetSKFormStyle(Control->Owner())) {}

void TskControlBorder::SetBorderColor(TColor Value) {
    m_color = Value;
    m_control->Invalidate();
}

void TskControlBorder::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    SetBorderColor(m_theme.GetColor(siControlBorderColor));
}

void TskControlBorder::Paint(const tk::TMessage& Message) const {
    DrawControlBorder(reinterpret_cast<tk::TCanvas*>(Message.WParam), m_control, m_color,
                      m_control->Color(), true);
}

} // namespace sk
