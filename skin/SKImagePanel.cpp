#include "skin/SKImagePanel.h"

#include <QCoreApplication>
#include <algorithm>

#include "platform/toolkit/Application.h"
#include "skin/SKGroupBox.h"
#include "skin/SKStatusBar.h"

namespace sk {

using tk::TCanvas;
using tk::TMessage;
using tk::TRect;

namespace {

bool CollapsibleAlign(tk::TAlign align) {
    return align != tk::alClient && align != tk::alLeft && align != tk::alRight;
}

} // namespace

// ---- TskCustomPanel -----------------------------------------------------------

TskCustomPanel::TskCustomPanel(tk::TComponent* AOwner)
    : tk::TCustomPanel(AOwner), m_picture(std::make_unique<tk::TPicture>()) {
    SetBevelOuter(tk::bvNone);
    m_picture->OnChange = [this] { PictureChanged(); };
}

TskCustomPanel::~TskCustomPanel() {
    m_picture->OnChange = nullptr;
}

void TskCustomPanel::SetPicture(const tk::TPicture* Value) {
    if (Value) {
        m_picture->Assign(*Value);
    } else {
        m_picture->Clear();
    }
    ClearPanel();
    Invalidate();
}

void TskCustomPanel::SetTransparent(bool Value) {
    m_transparent = Value;
    if (tk::TGraphic* g = m_picture->Graphic()) {
        g->SetTransparent(Value);
    }
    Invalidate();
}

void TskCustomPanel::SetAutoSize(bool Value) {
    m_autoSize = Value;
    if (m_picture->Graphic()) {
        ApplyAutoSize();
    }
}

void TskCustomPanel::SetDrawStyle(TskDrawStyle Value) {
    m_drawStyle = Value;
    ClearPanel();
    Invalidate();
}

void TskCustomPanel::SetCaptionPos(int X, int Y) {
    m_captionX = X;
    m_captionY = Y;
    Invalidate();
}

void TskCustomPanel::ClearPanel() {
    // The face is composed from Color on every paint; asking for one is
    // what clearing the window amounts to here.
    if (Parent()) {
        Invalidate();
    }
}

void TskCustomPanel::RepaintText(const TRect& /*Rect*/) {}

void TskCustomPanel::PictureChanged() {
    // Handing the flag to the graphic raises its change notification again.
    if (m_inPictureChanged) {
        return;
    }
    m_inPictureChanged = true;
    if (tk::TGraphic* g = m_picture->Graphic()) {
        if (m_autoSize) {
            ApplyAutoSize();
        }
        g->SetTransparent(m_transparent);
    }
    m_inPictureChanged = false;
    ClearPanel();
    Invalidate();
}

void TskCustomPanel::ApplyAutoSize() {
    if (!m_autoSize || m_picture->Empty()) {
        return;
    }
    const tk::TAlign a = Align();
    int w = Width();
    int h = Height();
    if (a != tk::alTop && a != tk::alBottom && a != tk::alClient) {
        w = m_picture->Width();
    }
    if (a != tk::alLeft && a != tk::alRight && a != tk::alClient) {
        h = m_picture->Height();
    }
    SetBounds(Left(), Top(), w, h);
}

void TskCustomPanel::PaintFace(TCanvas& c) {
    const TRect client = ClientRect();
    const tk::TGraphic* graphic = m_picture->Graphic();
    if (m_transparent) {
        DoTrans(&c, this);
    } else {
        // Also behind a picture that does not cover the panel.
        c.Brush()->SetColor(Color());
        c.Brush()->SetStyle(tk::bsSolid);
        c.FillRect(client);
    }
    if (graphic && !graphic->Empty()) {
        switch (m_drawStyle) {
        case skStretch:
            c.StretchDraw(client, *graphic);
            break;
        case skTile:
            TileDraw(&c, m_picture.get(), client);
            break;
        case skNormal:
            c.Draw(0, 0, *graphic);
            break;
        }
    }
    const QString text = Caption();
    if (text.trimmed().isEmpty()) {
        return;
    }
    c.Font()->Assign(*Font());
    c.Brush()->SetStyle(tk::bsClear);
    if (m_captionX == -1 || m_captionY == -1) {
        UINT flags = DT_SINGLELINE | DT_VCENTER;
        flags |= Alignment() == tk::taCenter         ? DT_CENTER
                 : Alignment() == tk::taRightJustify ? DT_RIGHT
                                                     : DT_LEFT;
        TRect r = client;
        c.DrawText(text, r, flags);
        // The text's own box, for RepaintText.
        TRect calc = client;
        c.DrawText(text, calc, DT_SINGLELINE | DT_CALCRECT);
        const int dx = (flags & DT_CENTER)  ? (client.Width() - calc.Width()) / 2
                       : (flags & DT_RIGHT) ? client.Width() - calc.Width()
                                            : 0;
        const int dy = (client.Height() - calc.Height()) / 2;
        tk::OffsetRect(calc, dx, dy);
        m_lastCaptionRect = calc;
    } else {
        TRect r = tk::Rect(m_captionX, m_captionY, client.Right, client.Bottom);
        c.DrawText(text, r, DT_SINGLELINE);
        TRect calc = r;
        c.DrawText(text, calc, DT_SINGLELINE | DT_CALCRECT);
        m_lastCaptionRect = calc;
    }
}

void TskCustomPanel::Paint() {
    if (Width() <= 0 || Height() <= 0) {
        return;
    }
    tk::TBitmap buffer(Width(), Height());
    PaintFace(*buffer.Canvas());
    Canvas()->Draw(0, 0, buffer);
}

void TskCustomPanel::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
}

void TskCustomPanel::CMTextChanged(TMessage& Message) {
    tk::TCustomPanel::CMTextChanged(Message);
    RepaintText(m_lastCaptionRect);
    Invalidate();
}

void TskCustomPanel::WMSize(TMessage& Message) {
    tk::TCustomPanel::WMSize(Message);
    Invalidate();
}

// ---- TskPanel -----------------------------------------------------------------

// Marks an animation for the height bookkeeping; nested requests (run from
// the message loop between steps) count as well.
class TskPanel::AnimationScope {
public:
    explicit AnimationScope(TskPanel* panel) : m_panel(panel) { ++m_panel->m_animating; }
    ~AnimationScope() {
        if (m_panel) {
            --m_panel->m_animating;
        }
    }
    AnimationScope(const AnimationScope&) = delete;
    AnimationScope& operator=(const AnimationScope&) = delete;

private:
    QPointer<TskPanel> m_panel;
};

TskPanel::TskPanel(tk::TComponent* AOwner)
    : tk::TCustomPanel(AOwner), m_theme(this, GetSKFormStyle(AOwner)) {
    SetBevelOuter(tk::bvNone);
    try {
        m_buttonImage.LoadFromResourceName(QStringLiteral("PANEL_BUTTON"));
    } catch (const tk::Exception&) {
        // Without the art the bar simply has no button image.
    }
    PublishEvent("OnPush", OnPush);
    PublishEvent("OnPop", OnPop);
    SetBounds(0, 0, 100, 100);
    SetUIStyle(m_theme.UIStyle());
}

TskPanel::~TskPanel() = default;

void TskPanel::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    Invalidate();
}

void TskPanel::SetShowButton(bool Value) {
    m_showButton = Value;
    if (!Value) {
        m_buttonHot = false;
    }
    Invalidate();
}

void TskPanel::SetCaptionFontColor(TColor Value) {
    m_captionFontColor = Value;
    Invalidate();
}

void TskPanel::SetFileTheme(TskFileTheme* Value) {
    if (!m_theme.SetFileTheme(Value)) {
        return;
    }
    m_themeReentry = true;
    SetUIStyle(m_theme.UIStyle());
    m_themeReentry = false;
}

void TskPanel::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    if (m_themeReentry && Value != FromThemeFile) {
        return;
    }
    SetColor(tk::clWhite);
    m_barImage.Clear();
    m_theme.GetBitmap(siSideChannelBarImage, &m_barImage);
    m_borderColor = m_theme.GetColor(siControlBorderColor);
    if (m_theme.UsesFileTheme()) {
        const TColor marker = m_theme.GetColor(siControlFontColor);
        const bool dark =
            marker == 0x20000 || marker == 0x30000 || marker == 0x40000 || marker == 0x50000;
        m_captionFontColor = dark ? tk::clBlack : tk::clWhite;
    } else if (m_theme.UsedStyle() == MacOS) {
        m_captionFontColor = tk::clBlack;
    } else {
        m_captionFontColor = m_theme.GetColor(siMenuSelectedFontColor);
    }
    // A new bar height moves the child area: lay the children out again.
    const int h = m_expandedHeight;
    SetHeight(h - 1);
    SetHeight(h);
    Realign();
    Invalidate();
}

void TskPanel::SetHeight(int Value) {
    m_expandedHeight = Value;
    if (IsDesigning() || m_expanded) {
        SizeTo(Value);
    }
}

void TskPanel::SizeTo(int Height) {
    SetBounds(Left(), Top(), Width(), Height);
}

int TskPanel::CaptionBarHeight() const {
    return m_barImage.Height() > 0 ? m_barImage.Height() : 20;
}

bool TskPanel::ButtonVisible() const {
    return m_showButton && CollapsibleAlign(Align());
}

TRect TskPanel::ButtonRect() const {
    const int left = Width() - 1 - 13 - 4;
    const int top = (CaptionBarHeight() - 12) / 2;
    return tk::Bounds(left, top, 13, 12);
}

TRect TskPanel::ButtonPaintRect() const {
    const int y = (ButtonRect().Bottom - 12) / 2 + 2;
    return tk::Bounds(Width() - 13 - 4, y, 13, 12);
}

bool TskPanel::PointerOverButton() const {
    return m_pointerInside && InRect(m_pointer, ButtonRect());
}

bool TskPanel::SizeStep(int height) {
    const int before = Height();
    SizeTo(height);
    // Constraints or a refusing resize hook can hold the panel where it is;
    // asking again would never end.
    return Height() != before;
}

bool TskPanel::Step() {
    QPointer<TskPanel> self(this);
    Repaint();
    if (tk::Application) {
        tk::Application->ProcessMessages();
    } else {
        QCoreApplication::processEvents();
    }
    return !self.isNull();
}

void TskPanel::Push() {
    if (!CollapsibleAlign(Align())) {
        throw tk::Exception(
            QStringLiteral("Can't push when Align is alClient, alLeft or alRight."));
    }
    {
        AnimationScope animating(this);
        const int target = CaptionBarHeight();
        while (target < Height() - 15) {
            if (!SizeStep(Height() - 15)) {
                break;
            }
            if (!Step()) {
                return;
            }
        }
        SizeTo(target);
        Repaint();
    }
    m_expanded = false;
    Invalidate();
    if (OnPush) {
        OnPush(this);
    }
}

void TskPanel::Pop() {
    {
        AnimationScope animating(this);
        while (Height() + 15 < m_expandedHeight) {
            if (!SizeStep(Height() + 15)) {
                break;
            }
            if (!Step()) {
                return;
            }
        }
        SizeTo(m_expandedHeight);
        Repaint();
    }
    m_expanded = true;
    Invalidate();
    if (OnPop) {
        OnPop(this);
    }
}

void TskPanel::AdjustClientRect(TRect& r) const {
    r = tk::Rect(r.Left + 3, r.Top + CaptionBarHeight() + 3, r.Right - 3, r.Bottom - 3);
}

void TskPanel::WMSize(TMessage& Message) {
    if (m_expanded && m_animating == 0) {
        m_expandedHeight = Height();
    }
    tk::TCustomPanel::WMSize(Message);
    Invalidate();
}

void TskPanel::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
}

void TskPanel::DrawButton(TCanvas& c) {
    m_buttonHot = PointerOverButton();
    if (m_buttonImage.Empty()) {
        return;
    }
    // Slices: expanded, expanded hot, collapsed, collapsed hot.
    const int state = (m_expanded ? 1 : 3) + (m_buttonHot ? 1 : 0);
    tk::TBitmap slice;
    SpitBitmap(&m_buttonImage, &slice, 4, state);
    const TRect at = ButtonPaintRect();
    c.Draw(at.Left, at.Top, slice);
}

void TskPanel::Paint() {
    const int w = Width();
    const int h = Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    // As tall as the expanded panel, so the animation steps reuse one face;
    // never shorter than the control, which a splitter may have stretched.
    tk::TBitmap buffer(w, std::max(h, m_expandedHeight));
    TCanvas& c = *buffer.Canvas();
    const TRect client = ClientRect();
    const int bar = CaptionBarHeight();

    c.Brush()->SetStyle(tk::bsSolid);
    c.Brush()->SetColor(Color());
    c.FillRect(client);
    c.Brush()->SetColor(m_borderColor);
    c.FrameRect(client);

    if (!m_barImage.Empty()) {
        c.StretchDraw(tk::Rect(1, 0, w - 1, m_barImage.Height()), m_barImage);
    }

    c.Font()->Assign(*Font());
    c.Font()->SetColor(m_captionFontColor);
    c.Brush()->SetStyle(tk::bsClear);
    TRect captionRect = tk::Rect(10, 0, w - 1, bar);
    c.DrawText(Caption(), captionRect, DT_SINGLELINE | DT_VCENTER);

    if (ButtonVisible()) {
        DrawButton(c);
    } else {
        m_buttonHot = false;
    }
    Canvas()->Draw(0, 0, buffer);
}

void TskPanel::UpdateButton() {
    const bool hot = ButtonVisible() && PointerOverButton();
    if (hot == m_buttonHot) {
        return;
    }
    m_buttonHot = hot;
    if (HandleAllocated()) {
        // Only the button changes; the paint recomposes the face but the
        // window redraws just this part.
        const TRect r = ButtonPaintRect();
        const TRect hit = ButtonRect();
        const TRect both = tk::Rect(std::min(r.Left, hit.Left), std::min(r.Top, hit.Top),
                                    std::max(r.Right, hit.Right), std::max(r.Bottom, hit.Bottom));
        ClientWidget()->update(both.ToQ());
    }
}

void TskPanel::MouseMove(tk::TShiftState Shift, int X, int Y) {
    tk::TCustomPanel::MouseMove(Shift, X, Y);
    m_pointer = {X, Y};
    m_pointerInside = true;
    // Moving off the bar also puts the button out, so that a later click in
    // the panel's body cannot collapse it.
    if (m_showButton && ((Y >= 0 && Y < CaptionBarHeight()) || m_buttonHot)) {
        UpdateButton();
    }
}

void TskPanel::CMMouseLeave(TMessage& Message) {
    tk::TCustomPanel::CMMouseLeave(Message);
    m_pointerInside = false;
    UpdateButton();
}

void TskPanel::MouseUp(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y) {
    tk::TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (Button != tk::TMouseButton::mbLeft) {
        return;
    }
    // The release point decides, as the last move would have.
    m_pointer = {X, Y};
    m_pointerInside = true;
    m_buttonHot = ButtonVisible() && PointerOverButton();
    if (!m_buttonHot) {
        return;
    }
    // The animation pumps messages: a handler may free the panel meanwhile.
    QPointer<TskPanel> self(this);
    if (m_expanded) {
        Push();
    } else {
        Pop();
    }
    if (self) {
        Invalidate();
    }
}

void TskPanel::Notification(tk::TComponent* AComponent, tk::TOperation Operation) {
    tk::TCustomPanel::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        if (!IsDestroying()) {
            ContainerApplyUIStyle(this, DeepBlue, nullptr);
            SetUIStyle(DeepBlue);
        }
    }
}

// ---- registration -------------------------------------------------------------

void RegisterSkinPanelClasses() {
    static const bool done = [] {
        tk::RegisterClass<TskImagePanel>();
        tk::RegisterClass<TskPanel>();
        tk::RegisterClass<TskGroupBox>();
        tk::RegisterClass<TskStatusBar>();
        return true;
    }();
    (void)done;
}

} // namespace sk
