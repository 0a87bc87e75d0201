#include "platform/toolkit/StatusBar.h"

#include <QWindow>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"

namespace tk {

TStatusBar::TStatusBar(TComponent* AOwner)
    : TCustomControl(AOwner), m_panels(CollectionItemFactory<TStatusPanel>()) {
    m_panels.OnChange = [this] { Invalidate(); };
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

void TStatusBar::SetSimplePanel(bool v) {
    m_simplePanel = v;
    Invalidate();
}

void TStatusBar::SetSimpleText(const QString& t) {
    m_simpleText = t;
    Invalidate();
}

void TStatusBar::SetSizeGrip(bool v) {
    m_sizeGrip = v;
    Invalidate();
}

bool TStatusBar::GripActive() const {
    const TCustomForm* form = ParentForm();
    return m_sizeGrip && form &&
           (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin) &&
           form->WindowState() != wsMaximized;
}

TRect TStatusBar::GripRect() const {
    if (!GripActive()) {
        return {};
    }
    return Rect(Width() - 16, std::max(0, Height() - 16), Width(), Height());
}

TRect TStatusBar::PanelRect(int i) const {
    int x = 0;
    for (int k = 0; k < i; ++k) {
        x += Panel(k)->Width();
    }
    int right = x + Panel(i)->Width();
    if (i == m_panels.Count() - 1 || right > Width()) {
        // The last panel takes the rest, short of the grip.
        right = Width() - (GripActive() ? 16 : 0);
    }
    return Rect(x, 2, std::max(x, right - 2), Height());
}

void TStatusBar::Paint() {
    TCanvas& c = *Canvas();
    c.Brush()->SetColor(Color());
    c.Brush()->SetStyle(bsSolid);
    c.FillRect(ClientRect());
    c.Font()->Assign(*Font());
    auto drawText = [&](TRect r, const QString& text, TAlignment a) {
        r.Left += 2;
        r.Right -= 2;
        c.Brush()->SetStyle(bsClear);
        const UINT align = a == taCenter ? DT_CENTER : a == taRightJustify ? DT_RIGHT : DT_LEFT;
        c.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align);
    };
    if (m_simplePanel || m_panels.Count() == 0) {
        if (m_simplePanel) {
            drawText(Rect(0, 2, Width() - (GripActive() ? 16 : 0), Height()), m_simpleText,
                     taLeftJustify);
        }
    } else {
        for (int i = 0; i < m_panels.Count(); ++i) {
            TRect r = PanelRect(i);
            const TBevelCut bevel = Panel(i)->Bevel();
            if (bevel == bvLowered || bevel == bvRaised) {
                TRect frame = r;
                Frame3D(c, frame, bevel == bvLowered ? clBtnShadow : clBtnHighlight,
                        bevel == bvLowered ? clBtnHighlight : clBtnShadow, 1);
            }
            drawText(r, Panel(i)->Text(), Panel(i)->Alignment());
        }
    }
    const TRect grip = GripRect();
    if (!grip.IsEmpty()) {
        // Three pairs of diagonal lines: light above dark.
        for (int k = 0; k < 3; ++k) {
            const int off = 4 * k;
            c.Pen()->SetColor(clBtnHighlight);
            c.MoveTo(grip.Right - 1 - 12 + off, grip.Bottom - 1);
            c.LineTo(grip.Right, grip.Bottom - 1 - 12 + off - 1);
            c.Pen()->SetColor(clBtnShadow);
            c.MoveTo(grip.Right - 1 - 11 + off, grip.Bottom - 1);
            c.LineTo(grip.Right, grip.Bottom - 1 - 11 + off - 1);
            c.MoveTo(grip.Right - 1 - 10 + off, grip.Bottom - 1);
            c.LineTo(grip.Right, grip.Bottom - 1 - 10 + off - 1);
        }
    }
}

void TStatusBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == TMouseButton::mbLeft && PtInRect(GripRect(), {X, Y})) {
        if (TCustomForm* form = ParentForm()) {
            if (QWindow* win = form->Handle()->windowHandle()) {
                win->startSystemResize(Qt::RightEdge | Qt::BottomEdge);
            }
        }
    }
}

} // namespace tk
