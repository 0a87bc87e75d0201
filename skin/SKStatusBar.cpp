#include "skin/SKStatusBar.h"

#include <algorithm>

#include "platform/toolkit/Forms.h"

namespace sk {

using tk::TCanvas;
using tk::TRect;

TskStatusBar::TskStatusBar(tk::TComponent* AOwner)
    : tk::TStatusBar(AOwner), m_theme(this, GetSKFormStyle(AOwner)) {
    SetUIStyle(m_theme.UIStyle());
}

TskStatusBar::~TskStatusBar() = default;

void TskStatusBar::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(m_theme.UIStyle());
    }
}

void TskStatusBar::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    SetPanelColor(m_theme.GetColor(siFormBackgroundColor));
    Invalidate();
}

void TskStatusBar::Paint() {
    tk::TStatusBar::Paint();
    const tk::TCustomForm* form = ParentForm();
    if (!form ||
        (form->BorderStyle() != tk::bsSizeable && form->BorderStyle() != tk::bsSizeToolWin)) {
        return;
    }
    TCanvas& c = *Canvas();
    const int w = Width();
    const int h = Height();
    c.Brush()->SetColor(Color());
    c.Brush()->SetStyle(tk::bsSolid);
    // The corner, and the last row and column of the toolkit's own grip,
    // which reaches one pixel further.
    TRect r = tk::Rect(w - 16, h - 16, w - 1, h - 1);
    c.FillRect(tk::Rect(r.Left, r.Top, w, h));
    if (SizeGrip() && form->WindowState() != tk::wsMaximized) {
        c.Pen()->SetColor(tk::clInactiveCaption);
        c.Pen()->SetWidth(1);
        c.Pen()->SetStyle(tk::psSolid);
        r.Top += 1;
        for (int k = 0; k < 4; ++k) {
            c.MoveTo(r.Left + 1 + 4 * k, r.Bottom);
            c.LineTo(r.Right, r.Top + 4 * k);
        }
    }
    if (h - 16 > 3) {
        c.FillRect(tk::Rect(w - 16, 3, w - 1, h - 16));
    }
}

void TskStatusBar::Notification(tk::TComponent* AComponent, tk::TOperation Operation) {
    tk::TStatusBar::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation) && !IsDestroying()) {
        SetUIStyle(DeepBlue);
    }
}

} // namespace sk
