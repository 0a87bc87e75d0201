#include "skin/SKToolBar.h"

#include "platform/toolkit/ShortCuts.h"
#include "platform/toolkit/StdCtrls.h"

namespace sk {

using namespace tk;

namespace {
// The arrow part at the right of a drop-down button.
constexpr int kDropDownPart = 14;
} // namespace

TskToolButtonLook ToolButtonLook(TCustomDrawState State) {
    if (State & cdsHot) {
        return (State & cdsPressed) ? TskToolButtonLook::Down : TskToolButtonLook::Hot;
    }
    if (State & (cdsSelected | cdsChecked)) {
        return TskToolButtonLook::Hot;
    }
    return TskToolButtonLook::Default;
}

TskToolButtonPlaces ToolButtonPlaces(const TRect& R, bool List, bool DropDown, bool Down,
                                     int ImageWidth, int ImageHeight, int CaptionWidth) {
    const bool images = ImageWidth > 0 && ImageHeight > 0;
    if (List) {
        return {{R.Left + 5, R.Top + 3},
                images ? TPoint{R.Left + ImageWidth + 7, R.Top + 4}
                       : TPoint{R.Left + 8, R.Top + 3}};
    }
    const int right = DropDown ? R.Right - kDropDownPart : R.Right;
    const int room = right - R.Left;
    const int captionTop = images ? R.Top + ImageHeight + 4 : R.Top + (Down ? 5 : 4);
    return {{R.Left + (room - ImageWidth) / 2, R.Top + 3},
            {R.Left + (room - CaptionWidth) / 2, captionTop}};
}

TskToolBar::TskToolBar(TComponent* AOwner)
    : TToolBar(AOwner), m_theme(this, GetSKFormStyle(AOwner)) {
    OnCustomDraw = [this](TToolBar* Bar, const TRect& Rect, bool& DefaultDraw) {
        DrawBar(Bar, Rect, DefaultDraw);
    };
    if (!IsDesigning()) {
        OnCustomDrawButton = [this](TToolBar* Bar, TToolButton* Button, TCustomDrawState State,
                                    bool& DefaultDraw) {
            DrawButton(Bar, Button, State, DefaultDraw);
        };
    }
    SetFlat(true);
    SetTransparent(false);
    SetUIStyle(m_theme.UIStyle());
}

void TskToolBar::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    m_buttonBorderColor = m_theme.GetColor(siToolBarButtonBorderColor);
    m_buttonColor = m_theme.GetColor(siToolBarButtonBackgroundColor);
    m_buttonDownColor = m_theme.GetColor(siToolBarButtonDownBackgroundColor);
    SetTransparent(Value == MacOS || Value == Protein);
    SetEdgeInner(esNone);
    SetEdgeOuter(esNone);
    Invalidate();
}

void TskToolBar::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(UIStyle());
    }
}

void TskToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TToolBar::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TskToolBar::DrawBar(TToolBar* Bar, const TRect& /*Rect*/, bool& /*DefaultDraw*/) {
    if (Bar->Transparent()) {
        DoTrans(Bar->Canvas(), Bar);
    }
}

void TskToolBar::DrawButton(TToolBar* Bar, TToolButton* Button, TCustomDrawState State,
                            bool& DefaultDraw) {
    const TskToolButtonLook look = ToolButtonLook(State);
    if (look == TskToolButtonLook::Default || Button->IsSeparator()) {
        return;
    }
    DefaultDraw = false;
    TCanvas* c = Bar->Canvas();
    const TRect r = Button->BoundsRect();
    const bool down = look == TskToolButtonLook::Down;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(down ? m_buttonDownColor : m_buttonColor);
    c->FillRect(r);
    c->Brush()->SetColor(m_buttonBorderColor);
    c->FrameRect(r);

    TCustomImageList* images = Bar->HotImages() ? Bar->HotImages() : Bar->Images();
    const QString caption = Bar->ShowCaptions() ? Button->Caption() : QString();
    c->Font()->Assign(*Bar->Font());
    const int captionWidth = c->TextWidth(StripHotkey(caption));
    const bool dropDown = Button->Style() == tbsDropDown;
    const TskToolButtonPlaces at =
        ToolButtonPlaces(r, Bar->List(), dropDown, down, images ? images->Width() : 0,
                         images ? images->Height() : 0, captionWidth);
    if (images) {
        images->Draw(c, at.image.x, at.image.y, Button->ImageIndex(), Button->Enabled());
    }
    if (!caption.isEmpty()) {
        c->Brush()->SetStyle(bsClear);
        if (!Button->Enabled()) {
            c->Font()->SetColor(clGrayText);
        }
        TRect text = Rect(at.caption.x, at.caption.y, r.Right, r.Bottom);
        c->DrawText(caption, text, DT_SINGLELINE | DT_LEFT | DT_TOP);
    }
    if (dropDown && (State & cdsHot)) {
        DrawDropDownMark(c, r);
    }
}

void TskToolBar::DrawDropDownMark(TCanvas* Canvas, const TRect& R) {
    const int split = R.Right - kDropDownPart;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(m_buttonBorderColor);
    Canvas->MoveTo(split, R.Top);
    Canvas->LineTo(split, R.Bottom);
    const int x = split + 4;
    const int y = R.Top + R.Height() / 2 - 1;
    Canvas->Pen()->SetColor(clBlack);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clBlack);
    Canvas->Polygon({{x, y}, {x + 4, y}, {x + 2, y + 2}});
}

void RegisterSkinToolBarClasses() {
    static const bool done = [] {
        RegisterToolkitClasses(); // the bar's buttons are the toolkit's
        RegisterClass<TskToolBar>();
        return true;
    }();
    (void)done;
}

} // namespace sk
