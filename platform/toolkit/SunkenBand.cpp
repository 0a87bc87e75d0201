#include "platform/toolkit/SunkenBand.h"

#include <algorithm>

#include "platform/toolkit/StdCtrls.h"

namespace tk {

TSunkenBand::TSunkenBand(TWinControl* control, TFormBorderStyle style, int borderWidth)
    : m_control(control), m_style(style), m_borderWidth(std::max(0, borderWidth)) {
    Apply();
}

void TSunkenBand::SetBorderStyle(TFormBorderStyle v) {
    m_style = v;
    Apply();
}

void TSunkenBand::SetBorderWidth(int v) {
    m_borderWidth = std::max(0, v);
    Apply();
}

void TSunkenBand::Apply() {
    m_control->SetNonClientBand(m_borderWidth + (m_style == bsSingle ? 2 : 0));
}

void TSunkenBand::Paint(const TMessage& m) const {
    auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
    if (!canvas) {
        return;
    }
    TRect r = Rect(0, 0, m_control->Width(), m_control->Height());
    if (m_style == bsSingle) {
        Frame3D(*canvas, r, clBtnShadow, clBtnHighlight, 1);
        Frame3D(*canvas, r, cl3DDkShadow, cl3DLight, 1);
    }
    Frame3D(*canvas, r, m_control->Color(), m_control->Color(), m_borderWidth);
}

} // namespace tk
