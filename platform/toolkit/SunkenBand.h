// The frame of lists and edits, kept in the control's non-client band: the
// two-pixel sunken edge of the classic look when the border style is single,
// then BorderWidth pixels of the control's colour.
#pragma once

#include "platform/toolkit/Controls.h"

namespace tk {

class TSunkenBand {
public:
    // Sizes the control's band at once.
    TSunkenBand(TWinControl* control, TFormBorderStyle style, int borderWidth);
    TSunkenBand(const TSunkenBand&) = delete;
    TSunkenBand& operator=(const TSunkenBand&) = delete;

    TFormBorderStyle BorderStyle() const { return m_style; }
    void SetBorderStyle(TFormBorderStyle v);
    int BorderWidth() const { return m_borderWidth; }
    // Negative widths count as 0.
    void SetBorderWidth(int v);

    // The whole band, for WM_NCPAINT: paints on the canvas the message carries.
    void Paint(const TMessage& m) const;

private:
    void Apply();

    TWinControl* m_control;
    TFormBorderStyle m_style;
    int m_borderWidth;
};

} // namespace tk
