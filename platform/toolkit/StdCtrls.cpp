#include "platform/toolkit/StdCtrls.h"

#include <algorithm>

#include "platform/toolkit/Actions.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ImageList.h"
#include "platform/toolkit/Menus.h"
#include "platform/toolkit/ToolBar.h"
#include "platform/toolkit/CheckLst.h"
#include "platform/toolkit/Edits.h"
#include "platform/toolkit/ListView.h"
#include "platform/toolkit/StatusBar.h"
#include "platform/toolkit/Timers.h"

namespace tk {

void Frame3D(TCanvas& canvas, TRect& r, TColor topColor, TColor bottomColor, int width) {
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(psSolid);
    --r.Bottom;
    --r.Right;
    while (width-- > 0) {
        canvas.Pen()->SetColor(topColor);
        // Polylines leave out their last point; the corners are closed by the
        // other colour's line, as the classic frame is drawn.
        canvas.Polyline({{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}});
        canvas.Pen()->SetColor(bottomColor);
        canvas.Polyline({{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}});
        InflateRect(r, -1, -1);
    }
    ++r.Bottom;
    ++r.Right;
}

// ---- panel -------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    m_controlStyle |= csAcceptsControls | csOpaque;
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::FrameChanged() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
    if (v != m_bevelOuter) {
        m_bevelOuter = v;
        FrameChanged();
    }
}
void TCustomPanel::SetBevelInner(TBevelCut v) {
    if (v != m_bevelInner) {
        m_bevelInner = v;
        FrameChanged();
    }
}
void TCustomPanel::SetBevelWidth(int v) {
    if (v != m_bevelWidth) {
        m_bevelWidth = std::max(1, v);
        FrameChanged();
    }
}
void TCustomPanel::SetBorderWidth(int v) {
    if (v != m_borderWidth) {
        m_borderWidth = std::max(0, v);
        FrameChanged();
    }
}
void TCustomPanel::SetBorderStyle(TFormBorderStyle v) {
    if (v != m_borderStyle) {
        m_borderStyle = v;
        FrameChanged();
    }
}
void TCustomPanel::SetAlignment(TAlignment v) {
    if (v != m_alignment) {
        m_alignment = v;
        Invalidate();
    }
}

void TCustomPanel::AdjustClientRect(TRect& r) const {
    int inset = m_borderWidth;
    if (m_bevelOuter != bvNone) {
        inset += m_bevelWidth;
    }
    if (m_bevelInner != bvNone) {
        inset += m_bevelWidth;
    }
    if (m_borderStyle == bsSingle) {
        inset += 1;
    }
    InflateRect(r, -inset, -inset);
}

void TCustomPanel::Paint() {
    TCanvas& c = *Canvas();
    TRect r = ClientRect();
    auto bevelColors = [](TBevelCut cut, TColor& top, TColor& bottom) {
        top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    if (m_borderStyle == bsSingle) {
        Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
    }
    TColor top = 0;
    TColor bottom = 0;
    if (m_bevelOuter != bvNone) {
        bevelColors(m_bevelOuter, top, bottom);
        Frame3D(c, r, top, bottom, m_bevelWidth);
    }
    Frame3D(c, r, Color(), Color(), m_borderWidth);
    if (m_bevelInner != bvNone) {
        bevelColors(m_bevelInner, top, bottom);
        Frame3D(c, r, top, bottom, m_bevelWidth);
    }
    c.Brush()->SetColor(Color());
    c.Brush()->SetStyle(bsSolid);
    c.FillRect(r);
    if (!Caption().isEmpty()) {
        c.Brush()->SetStyle(bsClear);
        c.Font()->Assign(*Font());
        UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
        flags |= m_alignment == taCenter         ? DT_CENTER
                 : m_alignment == taRightJustify ? DT_RIGHT
                                                 : DT_LEFT;
        c.DrawText(Caption(), r, flags);
    }
}

// ---- label -------------------------------------------------------------------

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    m_controlStyle |= csSetCaption;
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
}

UINT TLabel::TextFlags() const {
    UINT flags = DT_EXPANDTABS;
    flags |= m_wordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    flags |= m_alignment == taCenter         ? DT_CENTER
             : m_alignment == taRightJustify ? DT_RIGHT
                                             : DT_LEFT;
    if (!m_showAccelChar) {
        flags |= DT_NOPREFIX;
    }
    return flags;
}

void TLabel::Paint() {
    TCanvas& c = *Canvas();
    const TRect client = ClientRect();
    if (!m_transparent) {
        c.Brush()->SetColor(Color());
        c.Brush()->SetStyle(bsSolid);
        c.FillRect(client);
    }
    c.Brush()->SetStyle(bsClear);
    c.Font()->Assign(*Font());
    TRect r = client;
    UINT flags = TextFlags();
    if (m_layout != tlTop) {
        TRect calc = client;
        c.DrawText(Caption(), calc, flags | DT_CALCRECT);
        const int dy = m_layout == tlBottom ? client.Height() - calc.Height()
                                            : (client.Height() - calc.Height()) / 2;
        OffsetRect(r, 0, dy);
    }
    if (!Enabled()) {
        c.Font()->SetColor(clGrayText);
    }
    c.DrawText(Caption(), r, flags);
}

void TLabel::AdjustBounds() {
    if (!m_autoSize || IsLoading()) {
        return;
    }
    TBitmap probe(1, 1);
    TCanvas& c = *probe.Canvas();
    c.Font()->Assign(*Font());
    TRect r = Rect(0, 0, m_wordWrap ? Width() : 0, 0);
    QString text = Caption();
    if (text.isEmpty() || (m_showAccelChar && text == QLatin1String("&"))) {
        text = QStringLiteral(" ");
    }
    c.DrawText(text, r, (TextFlags() & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
    int left = Left();
    if (m_alignment == taRightJustify) {
        left += Width() - r.Width();
    } else if (m_alignment == taCenter) {
        left += (Width() - r.Width()) / 2;
    }
    SetBounds(left, Top(), r.Width(), r.Height());
}

void TLabel::SetAutoSize(bool v) {
    if (v != m_autoSize) {
        m_autoSize = v;
        AdjustBounds();
    }
}
void TLabel::SetTransparent(bool v) {
    if (v != m_transparent) {
        m_transparent = v;
        Invalidate();
    }
}
void TLabel::SetWordWrap(bool v) {
    if (v != m_wordWrap) {
        m_wordWrap = v;
        AdjustBounds();
        Invalidate();
    }
}
void TLabel::SetShowAccelChar(bool v) {
    if (v != m_showAccelChar) {
        m_showAccelChar = v;
        AdjustBounds();
        Invalidate();
    }
}
void TLabel::SetAlignment(TAlignment v) {
    if (v != m_alignment) {
        m_alignment = v;
        Invalidate();
    }
}
void TLabel::SetLayout(TTextLayout v) {
    if (v != m_layout) {
        m_layout = v;
        Invalidate();
    }
}
void TLabel::SetFocusControl(TWinControl* c) {
    if (m_focusControl) {
        m_focusControl->RemoveFreeNotification(this);
    }
    m_focusControl = c;
    if (c) {
        c->FreeNotification(this);
    }
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == m_focusControl) {
        m_focusControl = nullptr;
    }
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::CMTextChanged(TMessage& m) {
    TGraphicControl::CMTextChanged(m);
    AdjustBounds();
}

void TLabel::CMFontChanged(TMessage& m) {
    TGraphicControl::CMFontChanged(m);
    AdjustBounds();
}

void TLabel::CMDialogChar(TMessage& m) {
    if (m_focusControl && Enabled() && m_showAccelChar &&
        IsAccel(static_cast<unsigned>(m.WParam), Caption()) && m_focusControl->CanFocus()) {
        m_focusControl->SetFocus();
        m.Result = 1;
    }
}

// ---- splitter ----------------------------------------------------------------

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    m_controlStyle &= ~csClickEvents;
    SetParentColor(true);
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    UpdateCursor();
    PublishEvent("OnMoved", OnMoved);
}

void TSplitter::WndProc(TMessage& m) {
    TGraphicControl::WndProc(m);
    // The cursor follows the direction the splitter drags in.
    if (m.Msg == WM_SIZE) {
        UpdateCursor();
    }
}

void TSplitter::UpdateCursor() {
    if (Cursor() == crDefault || Cursor() == crHSplit || Cursor() == crVSplit) {
        SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit);
    }
}

void TSplitter::SetBeveled(bool v) {
    if (v != m_beveled) {
        m_beveled = v;
        Invalidate();
    }
}

TControl* TSplitter::FindResizedControl() const {
    TWinControl* parent = Parent();
    if (!parent) {
        return nullptr;
    }
    TPoint p{Left(), Top()};
    switch (Align()) {
    case alLeft:
        --p.x;
        break;
    case alRight:
        p.x += Width();
        break;
    case alTop:
        --p.y;
        break;
    case alBottom:
        p.y += Height();
        break;
    default:
        return nullptr;
    }
    for (TControl* c : parent->ControlList()) {
        if (c == this || !c->Visible() || !c->Enabled() || c->Align() != Align()) {
            continue;
        }
        TRect r = c->BoundsRect();
        if (r.Width() == 0) {
            if (Align() == alTop || Align() == alLeft) {
                --r.Left;
            } else {
                ++r.Right;
            }
        }
        if (r.Height() == 0) {
            if (Align() == alTop || Align() == alLeft) {
                --r.Top;
            } else {
                ++r.Bottom;
            }
        }
        if (PtInRect(r, p)) {
            return c;
        }
    }
    return nullptr;
}

void TSplitter::Paint() {
    TCanvas& c = *Canvas();
    TRect r = ClientRect();
    c.Brush()->SetColor(Color());
    c.Brush()->SetStyle(bsSolid);
    c.FillRect(r);
    if (m_beveled) {
        Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
    }
}

int TSplitter::NewSizeFor(int x, int y) const {
    const bool horizontal = Align() == alLeft || Align() == alRight;
    const int split = horizontal ? x - m_downPos.x : y - m_downPos.y;
    int s = 0;
    switch (Align()) {
    case alLeft:
        s = m_control->Width() + split;
        break;
    case alRight:
        s = m_control->Width() - split;
        break;
    case alTop:
        s = m_control->Height() + split;
        break;
    case alBottom:
        s = m_control->Height() - split;
        break;
    default:
        break;
    }
    return std::clamp(s, m_minSize, std::max(m_minSize, m_maxSize));
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft || !Parent()) {
        return;
    }
    m_control = FindResizedControl();
    if (!m_control) {
        return;
    }
    m_downPos = {X, Y};
    // How far the other side may shrink: the parent's client less every
    // other control stacked the same way, keeping MinSize for the rest.
    const bool horizontal = Align() == alLeft || Align() == alRight;
    TWinControl* parent = Parent();
    m_maxSize = (horizontal ? parent->ClientWidth() : parent->ClientHeight()) - m_minSize;
    for (TControl* c : parent->ControlList()) {
        if (!c->Visible()) {
            continue;
        }
        if (horizontal && (c->Align() == alLeft || c->Align() == alRight)) {
            m_maxSize -= c->Width();
        } else if (!horizontal && (c->Align() == alTop || c->Align() == alBottom)) {
            m_maxSize -= c->Height();
        }
    }
    m_maxSize += horizontal ? m_control->Width() : m_control->Height();
    m_dragging = true;
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!m_dragging || !m_control || m_resizeStyle == rsNone) {
        return;
    }
    const int size = NewSizeFor(X, Y);
    // The splitter moves with the boundary, so its own coordinates shift:
    // measure from where the pointer was pressed in the parent instead.
    const bool horizontal = Align() == alLeft || Align() == alRight;
    const int before = horizontal ? Left() : Top();
    if (horizontal) {
        m_control->SetWidth(size);
    } else {
        m_control->SetHeight(size);
    }
    const int moved = (horizontal ? Left() : Top()) - before;
    if (horizontal) {
        m_downPos.x += moved;
    } else {
        m_downPos.y += moved;
    }
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (m_dragging && Button == TMouseButton::mbLeft) {
        m_dragging = false;
        m_control = nullptr;
        if (OnMoved) {
            OnMoved(this);
        }
    }
}

// ---- image -------------------------------------------------------------------

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner), m_picture(std::make_unique<TPicture>()) {
    m_picture->OnChange = [this] { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    m_picture->OnChange = nullptr;
}

void TImage::PictureChanged() {
    if (m_autoSize && !m_picture->Empty()) {
        SetBounds(Left(), Top(), m_picture->Width(), m_picture->Height());
    }
    if (TGraphic* g = m_picture->Graphic()) {
        g->SetTransparent(m_transparent);
    }
    Invalidate();
}

void TImage::SetStretch(bool v) {
    m_stretch = v;
    Invalidate();
}
void TImage::SetCenter(bool v) {
    m_center = v;
    Invalidate();
}
void TImage::SetTransparent(bool v) {
    m_transparent = v;
    PictureChanged();
}
void TImage::SetAutoSize(bool v) {
    m_autoSize = v;
    PictureChanged();
}

void TImage::Paint() {
    TGraphic* g = m_picture->Graphic();
    if (!g || g->Empty()) {
        return;
    }
    TRect dest;
    if (m_stretch) {
        dest = ClientRect();
    } else if (m_center) {
        dest = Bounds((Width() - g->Width()) / 2, (Height() - g->Height()) / 2, g->Width(),
                      g->Height());
    } else {
        dest = Bounds(0, 0, g->Width(), g->Height());
    }
    Canvas()->StretchDraw(dest, *g);
}

// ---- group box -----------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    m_controlStyle |= csAcceptsControls | csOpaque;
    SetParentColor(true);
    SetBounds(0, 0, 185, 105);
}

int TGroupBox::CaptionHeight() const {
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(*Font());
    return probe.Canvas()->TextHeight(QStringLiteral("0"));
}

void TGroupBox::AdjustClientRect(TRect& r) const {
    r.Top += CaptionHeight();
    InflateRect(r, -2, -2);
}

void TGroupBox::Paint() {
    TCanvas& c = *Canvas();
    c.Brush()->SetColor(Color());
    c.Brush()->SetStyle(bsSolid);
    c.FillRect(ClientRect());
    c.Font()->Assign(*Font());
    const int h = CaptionHeight();
    // The etched frame: a dark line with a light one inside and below.
    TRect r = Rect(0, h / 2 - 1, Width(), Height());
    c.Brush()->SetColor(clBtnHighlight);
    c.FrameRect(Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom));
    c.Brush()->SetColor(clBtnShadow);
    c.FrameRect(Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1));
    if (!Caption().isEmpty()) {
        TRect text = Rect(8, 0, 0, h);
        c.DrawText(Caption(), text, DT_SINGLELINE | DT_CALCRECT);
        c.Brush()->SetColor(Color());
        c.Brush()->SetStyle(bsSolid);
        TRect back = text;
        InflateRect(back, 1, 0);
        c.FillRect(back);
        c.Brush()->SetStyle(bsClear);
        if (!Enabled()) {
            c.Font()->SetColor(clGrayText);
        }
        c.DrawText(Caption(), text, DT_SINGLELINE);
    }
}

void TGroupBox::CMTextChanged(TMessage& m) {
    TCustomControl::CMTextChanged(m);
    Realign();
}

void TGroupBox::CMFontChanged(TMessage& m) {
    TCustomControl::CMFontChanged(m);
    Realign();
}

// ---- button ------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
    m_controlStyle &= ~csClickEvents; // clicks come from the press tracking
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetFocusable(true);
}

void TButton::SetDefault(bool v) {
    m_default = v;
    if (TCustomForm* form = ParentForm()) {
        m_active = v && !qobject_cast<TButton*>(form->ActiveControl());
    }
    Invalidate();
}

void TButton::Click() {
    if (TCustomForm* form = ParentForm(); form && m_modalResult != 0) {
        form->SetModalResult(m_modalResult);
    }
    TCustomControl::Click();
}

void TButton::Paint() {
    TCanvas& c = *Canvas();
    TRect r = ClientRect();
    const bool focused = Focused();
    if (m_active || focused) {
        c.Brush()->SetColor(clWindowFrame);
        c.FrameRect(r);
        InflateRect(r, -1, -1);
    }
    if (m_pressed) {
        c.Brush()->SetColor(clBtnShadow);
        c.FrameRect(r);
        InflateRect(r, -1, -1);
    } else {
        Frame3D(c, r, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(c, r, cl3DLight, clBtnShadow, 1);
    }
    c.Brush()->SetColor(Color());
    c.Brush()->SetStyle(bsSolid);
    c.FillRect(r);
    c.Brush()->SetStyle(bsClear);
    c.Font()->Assign(*Font());
    if (!Enabled()) {
        c.Font()->SetColor(clGrayText);
    }
    TRect text = r;
    if (m_pressed) {
        OffsetRect(text, 1, 1);
    }
    c.DrawText(Caption(), text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    if (focused) {
        TRect fr = ClientRect();
        InflateRect(fr, -4, -4);
        c.DrawFocusRect(fr);
    }
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == TMouseButton::mbLeft && Enabled()) {
        if (CanFocus()) {
            SetFocus();
        }
        m_tracking = true;
        m_pressed = true;
        Invalidate();
    }
}

void TButton::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (m_tracking) {
        const bool inside = PtInRect(ClientRect(), {X, Y});
        if (inside != m_pressed) {
            m_pressed = inside;
            Invalidate();
        }
    }
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == TMouseButton::mbLeft && m_tracking) {
        m_tracking = false;
        const bool click = m_pressed;
        m_pressed = false;
        Invalidate();
        if (click) {
            Click();
        }
    }
}

void TButton::KeyDown(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE) {
        m_spaceDown = true;
        m_pressed = true;
        Invalidate();
    }
}

void TButton::KeyUp(unsigned& Key, TShiftState Shift) {
    TCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && m_spaceDown) {
        m_spaceDown = false;
        m_pressed = false;
        Invalidate();
        Click();
    }
}

void TButton::CMDialogKey(TMessage& m) {
    const auto key = static_cast<unsigned>(m.WParam);
    if (((key == VK_RETURN && m_active) || (key == VK_ESCAPE && m_cancel)) && CanFocus() &&
        !(static_cast<TShiftState>(m.LParam) & (ssAlt | ssCtrl))) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMFocusChanged(TMessage& m) {
    // Enter presses the focused button, or the default one when the focus is
    // on something that is not a button.
    auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
    const bool wasActive = m_active;
    if (qobject_cast<TButton*>(focused)) {
        m_active = focused == this;
    } else {
        m_active = m_default;
    }
    if (wasActive != m_active) {
        Invalidate();
    }
}

void TButton::WMSetFocus(TMessage& m) {
    TCustomControl::WMSetFocus(m);
    Invalidate();
}

void TButton::WMKillFocus(TMessage& m) {
    TCustomControl::WMKillFocus(m);
    m_pressed = false;
    m_spaceDown = false;
    Invalidate();
}

// ---- class registry --------------------------------------------------------

void RegisterToolkitClasses() {
    static const bool done = [] {
        RegisterClass<TPanel>();
        RegisterClass<TLabel>();
        RegisterClass<TSplitter>();
        RegisterClass<TImage>();
        RegisterClass<TButton>();
        RegisterClass<TTimer>();
        RegisterClass<TListView>();
        RegisterClass<TGroupBox>();
        RegisterClass<TEdit>();
        RegisterClass<TMaskEdit>();
        RegisterClass<TStatusBar>();
        RegisterClass<TCheckListBox>();
        RegisterClass<TMainMenu>();
        RegisterClass<TPopupMenu>();
        RegisterClass<TMenuItem>();
        RegisterClass<TToolBar>();
        RegisterClass<TToolButton>();
        RegisterClass<TImageList>();
        RegisterClass<TActionList>();
        RegisterClass<TAction>();
        return true;
    }();
    (void)done;
}

} // namespace tk
