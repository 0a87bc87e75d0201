#include "skin/SKButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <algorithm>
#include <vector>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ImageList.h"

namespace sk {

using namespace tk;

namespace {

constexpr unsigned kRepeatTimer = 1;
constexpr TColor kDisabledText = 0x808080;
constexpr int kButtonSlices = 3;
constexpr int kMarkSlices = 4;

// The caption as drawn: accelerator ampersands removed, "&&" kept as one.
QString DisplayedText(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size()) {
                out += caption[++i];
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

TColor PixelColor(const TBitmap& bitmap, int x, int y) {
    const QRgb p = bitmap.Image().pixel(x, y);
    return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

bool IsMouseMessage(unsigned msg) {
    return (msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONUP) || msg == WM_MOUSEWHEEL;
}

// What every skinned button-like control does to a message before its own
// handling. False drops the message.
bool PrepareInput(const TControl& control, TMessage& m) {
    // A disabled window gets no input.
    if (!control.Enabled() && IsMouseMessage(m.Msg)) {
        return false;
    }
    // Without double clicks in the style the second press is a plain one.
    if (m.Msg == WM_LBUTTONDBLCLK && !(control.ControlStyle() & csDoubleClicks)) {
        m.Msg = WM_LBUTTONDOWN;
        m.WParam &= ~static_cast<std::uintptr_t>(ssDouble);
    }
    // A held key repeats its key-down only; Qt also repeats the release.
    if ((m.Msg == WM_KEYUP || m.Msg == WM_SYSKEYUP) && m.Event &&
        m.Event->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(m.Event)->isAutoRepeat()) {
        return false;
    }
    return true;
}

// Containers that cannot paint behind a transparent child themselves: their
// own parent does, at their place.
bool PaintsThroughParent(const TWinControl* parent) {
    return parent->inherits("tk::TTabSheet") || parent->inherits("sk::TskDBNavigator") ||
           parent->inherits("sk::TskToolBar");
}

void PaintBackground(TCanvas* canvas, TControl* control, bool transparent) {
    if (!transparent) {
        canvas->Brush()->SetColor(control->Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(control->ClientRect());
        return;
    }
    TWinControl* parent = control->Parent();
    if (!parent) {
        return;
    }
    if (PaintsThroughParent(parent)) {
        TCanvasState state(*canvas);
        canvas->MoveOrigin(-control->Left(), -control->Top());
        DoTrans(canvas, parent);
    } else {
        DoTrans(canvas, control);
    }
}

void TrySetFocus(TWinControl* control) {
    if (!control->CanFocus()) {
        return;
    }
    try {
        control->SetFocus();
    } catch (const std::exception&) {
        // Focus is a nicety here; the click goes on without it.
    }
}

// Remembers the widget that last lost the focus: Qt's focus-in does not say
// where the focus came from.
class FocusOrigin : public QObject {
public:
    static FocusOrigin& Instance() {
        static FocusOrigin origin;
        if (!origin.m_installed && qApp) {
            qApp->installEventFilter(&origin);
            origin.m_installed = true;
        }
        return origin;
    }
    TControl* LastControl() const {
        for (QWidget* w = m_last.data(); w; w = w->parentWidget()) {
            if (auto* handle = qobject_cast<THandleWidget*>(w)) {
                return handle->Control();
            }
        }
        return nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::FocusOut && watched->isWidgetType()) {
            m_last = static_cast<QWidget*>(watched);
        }
        return false;
    }

private:
    QPointer<QWidget> m_last;
    bool m_installed = false;
};

} // namespace

// ---- TskCustomButton ----------------------------------------------------------

TskCustomButton::TskCustomButton(TComponent* AOwner)
    : TCustomControl(AOwner), m_theme(this, GetSKFormStyle(AOwner)) {
    // A fast double click is two clicks; a button holds no children.
    SetControlStyle(ControlStyle() & ~(csDoubleClicks | csAcceptsControls));
    SetCaption(QString());
    SetParentColor(true);
    SetFocusable(true);
    TWinControl::SetTabStop(true);
    PublishEvent("OnMouseExit", OnMouseExit);
    PublishEvent("OnMouseContinuouslyDown", OnMouseContinuouslyDown);
}

TskCustomButton::~TskCustomButton() = default;

void TskCustomButton::SetAutoSize(bool Value) {
    m_autoSize = Value;
    AutoSizeChanged();
    Invalidate();
}

void TskCustomButton::SetCancel(bool Value) {
    m_cancel = Value;
    Invalidate();
}

void TskCustomButton::SetDefault(bool Value) {
    m_default = Value;
    if (HandleAllocated()) {
        if (TCustomForm* form = ParentForm()) {
            // Every button works out again whether Enter is its.
            form->Perform(CM_FOCUSCHANGED, 0,
                          reinterpret_cast<std::intptr_t>(form->ActiveControl()));
        }
    }
    Invalidate();
}

void TskCustomButton::SetTransparent(bool Value) {
    m_transparent = Value;
    TransparentChanged();
    Invalidate();
}

void TskCustomButton::SetModalResult(int Value) {
    m_modalResult = Value;
    Invalidate();
}

void TskCustomButton::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    UIStyleChanged();
    if (m_autoSize) {
        AutoSizeChanged();
    }
    Invalidate();
}

void TskCustomButton::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(m_theme.UIStyle());
    }
}

void TskCustomButton::SetPicTransparent(bool Value) {
    m_picTransparent = Value;
    Invalidate();
}

void TskCustomButton::SetFocusedRectMargin(int Value) {
    m_focusedRectMargin = Value;
    Invalidate();
}

void TskCustomButton::SetTabStop(bool Value) {
    TWinControl::SetTabStop(Value);
    ApplyFocusPolicy();
}

void TskCustomButton::ApplyFocusPolicy() {
    // Qt would hand the focus to a clicked widget; only a tab stop takes it.
    if (HandleAllocated() && !TabStop()) {
        Handle()->setFocusPolicy(Qt::NoFocus);
    }
}

void TskCustomButton::SetEnabled(bool Value) {
    TCustomControl::SetEnabled(Value);
    if (!Enabled()) {
        // No release reaches a disabled button, so the hold ends here.
        StopRepeatTimer();
        FMouseDown = false;
    }
    EnableChanged();
    Invalidate();
}

void TskCustomButton::StopRepeatTimer() {
    if (FTimer) {
        KillTimer(kRepeatTimer);
        FTimer = false;
    }
}

void TskCustomButton::Click() {
    if (FMouseDown) {
        StopRepeatTimer();
        FMouseDown = false;
        Invalidate();
    }
    if (TCustomForm* form = ParentForm()) {
        form->SetModalResult(m_modalResult);
    }
    if (OnClick) {
        OnClick(this);
    } else {
        ExecuteAction(this);
    }
}

void TskCustomButton::AutoSizeChanged() {
    if (!m_autoSize) {
        return;
    }
    // The built-in image even under a file theme, so the size is predictable.
    TBitmap image;
    GetInsideThemeBitmap(m_theme.UIStyle(), siButtonImage, &image);
    const int height = image.Height() > 0 ? image.Height() : 21;
    // Without an image the face is the 74x21 stand-in slice.
    const int width = image.Width() > 0 ? image.Width() : 74 * kButtonSlices;
    SetBounds(Left(), Top(), width / kButtonSlices, height);
}

void TskCustomButton::FontChanged() {
    Canvas()->Font()->Assign(*Font());
    Invalidate();
}

void TskCustomButton::TransparentChanged() {
    m_picTransparent = m_transparent;
}

void TskCustomButton::LoadButtonSlice(TBitmap* ABitmap, int Slice) const {
    m_theme.GetBitmap(siButtonImage, ABitmap, kButtonSlices, Slice);
    if (ABitmap->Empty()) {
        ABitmap->SetSize(74, 21);
    }
}

void TskCustomButton::PaintButtonNormal(TBitmap* ABitmap) {
    LoadButtonSlice(ABitmap, 1);
}
void TskCustomButton::PaintButtonMouseOn(TBitmap* ABitmap) {
    LoadButtonSlice(ABitmap, 2);
}
void TskCustomButton::PaintButtonMouseDown(TBitmap* ABitmap) {
    LoadButtonSlice(ABitmap, 3);
}
void TskCustomButton::PaintButtonDisabled(TBitmap* ABitmap) {
    // The disabled look comes from the caption.
    LoadButtonSlice(ABitmap, 1);
}

void TskCustomButton::PaintPic(TCanvas* ACanvas, TBitmap* ABitmap) {
    SpitDraw(ABitmap, ACanvas, ClientRect(), m_picTransparent);
}

void TskCustomButton::PaintText(TCanvas* ACanvas, const QString& ACaption) {
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Font()->Assign(*Font());
    if (FFocusBold) {
        ACanvas->Font()->SetStyle(ACanvas->Font()->Style() | fsBold);
    }
    constexpr UINT flags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    TRect r = ClientRect();
    if (!Enabled()) {
        TRect shadow = r;
        OffsetRect(shadow, 1, 1);
        ACanvas->Font()->SetColor(clWhite);
        ACanvas->DrawText(ACaption, shadow, flags);
        ACanvas->Font()->SetColor(kDisabledText);
    } else if (FMouseDown) {
        OffsetRect(r, 1, 1);
    }
    ACanvas->DrawText(ACaption, r, flags);
    FFocusBold = false;
}

void TskCustomButton::PaintFocus(TCanvas* ACanvas) {
    const int m = m_focusedRectMargin;
    ACanvas->DrawFocusRect(Rect(m, m, Width() - m, Height() - m));
}

void TskCustomButton::Paint() {
    // A cue the last paint did not use must not leak into this one.
    FFocusBold = false;
    TBitmap state;
    if (!Enabled()) {
        PaintButtonDisabled(&state);
    } else if (FMouseDown) {
        PaintButtonMouseDown(&state);
    } else if (FMouseOn) {
        PaintButtonMouseOn(&state);
    } else {
        PaintButtonNormal(&state);
    }
    state.SetTransparent(m_picTransparent);

    // The size is read after the face: a control button takes its slice's.
    if (Width() <= 0 || Height() <= 0) {
        return;
    }
    TBitmap buffer(Width(), Height());
    TCanvas* c = buffer.Canvas();
    PaintBackground(c, this, m_transparent);
    PaintPic(c, &state);
    if (Focused() && TabStop()) {
        PaintFocus(c);
    }
    c->Font()->Assign(*Font());
    Canvas()->Font()->Assign(*Font());
    if (!Caption().trimmed().isEmpty()) {
        PaintText(c, Caption());
    }
    Canvas()->Draw(0, 0, buffer);
}

void TskCustomButton::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TskCustomButton::CreateHandle() {
    TCustomControl::CreateHandle();
    FActive = m_default;
}

void TskCustomButton::InitializeHandle() {
    TCustomControl::InitializeHandle();
    ApplyFocusPolicy();
}

void TskCustomButton::Loaded() {
    TCustomControl::Loaded();
    // TabStop read from a description went through the plain setter.
    ApplyFocusPolicy();
}

void TskCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft) {
        FMouseDown = true;
        if (!FTimer) {
            SetTimer(kRepeatTimer, std::max(m_mouseContinuouslyDownInterval, 0));
            FTimer = true;
        }
        if (TabStop()) {
            TrySetFocus(this);
        }
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TskCustomButton::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if ((X < 0 || Y < 0 || X > Width() || Y > Height()) && (FMouseOn || FMouseDown)) {
        FMouseOn = false;
        FMouseDown = false;
        Invalidate();
    }
    // While the mouse is grabbed Qt holds enter and leave back until the
    // release; the pointer's moves tell them at once.
    const bool inside = PtInRect(ClientRect(), {X, Y});
    if (!inside && m_hoverReported) {
        Perform(CM_MOUSELEAVE);
    } else if (inside && !m_hoverReported) {
        Perform(CM_MOUSEENTER);
    }
}

void TskCustomButton::KeyDown(unsigned& Key, TShiftState Shift) {
    if ((Key == VK_SPACE || Key == VK_RETURN) && Focused() && Enabled()) {
        FMouseDown = true;
        Invalidate();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TskCustomButton::KeyUp(unsigned& Key, TShiftState Shift) {
    const bool click =
        (Key == VK_SPACE || Key == VK_RETURN) && Focused() && FMouseDown && Enabled();
    TCustomControl::KeyUp(Key, Shift);
    if (click) {
        FMouseDown = false;
        Invalidate();
        Click();
    }
}

void TskCustomButton::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
    ApplyActionToControl(*this, Sender, CheckDefaults);
}

void TskCustomButton::WndProc(TMessage& Message) {
    if (!PrepareInput(*this, Message)) {
        return;
    }
    if (Message.Msg == CM_MOUSEENTER) {
        if (m_hoverReported) {
            return;
        }
        m_hoverReported = true;
    } else if (Message.Msg == CM_MOUSELEAVE) {
        if (!m_hoverReported) {
            return;
        }
        m_hoverReported = false;
    }
    TCustomControl::WndProc(Message);
}

void TskCustomButton::WMEraseBkgnd(TMessage& Message) {
    // The paint covers every pixel.
    Message.Result = 1;
}

void TskCustomButton::WMSetFocus(TMessage& Message) {
    TCustomControl::WMSetFocus(Message);
    Invalidate();
}

void TskCustomButton::WMKillFocus(TMessage& Message) {
    TCustomControl::WMKillFocus(Message);
    Invalidate();
}

void TskCustomButton::WMTimer(TMessage& Message) {
    if (Message.WParam != kRepeatTimer) {
        TCustomControl::WMTimer(Message);
        return;
    }
    if (OnMouseContinuouslyDown) {
        OnMouseContinuouslyDown(this);
    }
}

void TskCustomButton::CMMouseEnter(TMessage& Message) {
    if (IsDesigning()) {
        return;
    }
    FMouseOn = true;
    Invalidate();
    TCustomControl::CMMouseEnter(Message);
}

void TskCustomButton::CMMouseLeave(TMessage& Message) {
    FMouseOn = false;
    FMouseDown = false;
    StopRepeatTimer();
    Invalidate();
    TCustomControl::CMMouseLeave(Message);
    if (OnMouseExit) {
        OnMouseExit(this);
    }
}

void TskCustomButton::CMFontChanged(TMessage& Message) {
    TCustomControl::CMFontChanged(Message);
    FontChanged();
}

void TskCustomButton::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    CaptionChanged();
    Invalidate();
}

void TskCustomButton::CMDialogKey(TMessage& Message) {
    const auto key = static_cast<unsigned>(Message.WParam);
    const auto shift = static_cast<TShiftState>(Message.LParam);
    if (((key == VK_RETURN && FActive) || (key == VK_ESCAPE && m_cancel)) &&
        !(shift & (ssShift | ssCtrl | ssAlt)) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    TCustomControl::CMDialogKey(Message);
}

void TskCustomButton::CMDialogChar(TMessage& Message) {
    if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && Enabled()) {
        Click();
        Message.Result = 1;
    } else {
        Message.Result = 0;
    }
}

void TskCustomButton::CMFocusChanged(TMessage& Message) {
    // Enter belongs to the focused push button, or to the default one when
    // the focus is anywhere else.
    auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
    if (qobject_cast<TskButton*>(focused)) {
        FActive = focused == this;
    } else {
        FActive = m_default;
    }
    TCustomControl::CMFocusChanged(Message);
}

// ---- TskButton ------------------------------------------------------------------

TskButton::TskButton(TComponent* AOwner)
    : TskCustomButton(AOwner), m_glyph(std::make_unique<TPicture>()) {
    m_glyph->OnChange = [this] { Invalidate(); };
    SetBounds(0, 0, 80, 27);
    UIStyleChanged();
}

TskButton::~TskButton() = default;

TBitmap* TskButton::Glyph() const {
    return m_glyph->Bitmap();
}

void TskButton::SetGlyph(const TBitmap* Value) {
    if (Value) {
        m_glyph->Assign(Value);
    } else {
        m_glyph->Clear();
    }
    Invalidate();
}

const TBitmap* TskButton::GlyphBitmap() const {
    const auto* bitmap = dynamic_cast<const TBitmap*>(m_glyph->Graphic());
    return bitmap && !bitmap->Empty() ? bitmap : nullptr;
}

void TskButton::SetLayout(TButtonLayout Value) {
    m_layout = Value;
    Invalidate();
}

void TskButton::SetSpacing(int Value) {
    m_spacing = Value;
    Invalidate();
}

void TskButton::UIStyleChanged() {
    SetTransparent(m_theme.GetBool(siButtonTransparentBool));
}

void TskButton::PaintPic(TCanvas* ACanvas, TBitmap* ABitmap) {
    SpitDraw(ABitmap, ACanvas, ClientRect(), PicTransparent());
    if (!HasGlyph()) {
        return;
    }
    const TBitmap& glyph = *GlyphBitmap();
    int gw = glyph.Width();
    const int gh = glyph.Height();
    // Twice as wide as high: the enabled and the disabled image side by side.
    const bool twoImages = gw == 2 * gh;
    if (twoImages) {
        gw /= 2;
    }
    ACanvas->Font()->Assign(*Font());
    const int tw = ACanvas->TextWidth(DisplayedText(Caption()));
    const int th = ACanvas->TextHeight(Caption());
    const int W = Width();
    const int H = Height();
    const int S = m_spacing;
    int gx = 0;
    int gy = 0;
    switch (m_layout) {
    case blGlyphLeft:
        gx = (W - tw - gw - S) / 2;
        gy = (H - gh) / 2;
        FTextPos = {gx + gw + S, (H - th) / 2};
        break;
    case blGlyphRight:
        gx = (W + tw + S - gw) / 2;
        gy = (H - gh) / 2;
        FTextPos = {gx - tw - S, (H - th) / 2};
        break;
    case blGlyphTop:
        gx = (W - gw) / 2;
        gy = (H - th - gh - S) / 2;
        FTextPos = {(W - tw) / 2, gy + gh + S};
        break;
    case blGlyphBottom:
        gx = (W - gw) / 2;
        gy = (H + th + S - gh) / 2;
        FTextPos = {(W - tw) / 2, gy - th - S};
        break;
    }
    if (IsMouseDown()) {
        ++gx;
        ++gy;
    }
    TImageList images(nullptr);
    images.SetWidth(gw);
    images.SetHeight(gh);
    images.AddMasked(glyph, PixelColor(glyph, 0, 0));
    if (twoImages) {
        images.Draw(ACanvas, gx, gy, Enabled() ? 0 : 1, true);
    } else {
        images.Draw(ACanvas, gx, gy, 0, Enabled());
    }
}

void TskButton::PaintText(TCanvas* ACanvas, const QString& ACaption) {
    if (!HasGlyph()) {
        TskCustomButton::PaintText(ACanvas, ACaption);
        return;
    }
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Font()->Assign(*Font());
    if (Enabled() && IsMouseDown()) {
        ++FTextPos.x;
        ++FTextPos.y;
    }
    if (!Enabled()) {
        ACanvas->Font()->SetColor(clWhite);
        TRect shadow = Rect(FTextPos.x + 1, FTextPos.y + 1, Width(), Height());
        ACanvas->DrawText(ACaption, shadow, DT_SINGLELINE);
        ACanvas->Font()->SetColor(kDisabledText);
    }
    TRect r = Rect(FTextPos.x, FTextPos.y, Width(), Height());
    ACanvas->DrawText(ACaption, r, DT_SINGLELINE);
}

void TskButton::PaintFocus(TCanvas* ACanvas) {
    const TskUIStyle style = m_theme.UsedStyle();
    if (style == MacOS || style == BlueGlass) {
        FFocusBold = true;
    } else {
        TskCustomButton::PaintFocus(ACanvas);
    }
}

void TskButton::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
    TskCustomButton::ActionChange(Sender, CheckDefaults);
    const auto* action = qobject_cast<const TCustomAction*>(Sender);
    if (!action || HasGlyph()) {
        return;
    }
    const TCustomImageList* images = action->Images();
    const int index = action->ImageIndex();
    if (images && index >= 0 && index < images->Count()) {
        TBitmap image;
        if (images->GetBitmap(index, image)) {
            SetGlyph(&image);
        }
    }
}

// ---- TskArrowButton -------------------------------------------------------------

TskArrowButton::TskArrowButton(TComponent* AOwner) : TskCustomButton(AOwner) {
    UIStyleChanged();
}

void TskArrowButton::SetArrow(TskArrowButtonType Value) {
    m_arrow = Value;
    Invalidate();
}

void TskArrowButton::UIStyleChanged() {
    SetTransparent(m_theme.GetBool(siButtonTransparentBool));
}

void TskArrowButton::PaintPic(TCanvas* ACanvas, TBitmap* ABitmap) {
    SpitDraw(ABitmap, ACanvas, ClientRect(), PicTransparent());
    const int x0 = (Width() - 6) / 2;
    const int y0 = (Height() - 3) / 2;
    ACanvas->Pen()->SetColor(clBlack);
    ACanvas->Pen()->SetStyle(psSolid);
    ACanvas->Brush()->SetColor(clBlack);
    ACanvas->Brush()->SetStyle(bsSolid);
    if (m_arrow == skUp) {
        ACanvas->Polygon({{x0, y0 + 3}, {x0 + 3, y0}, {x0 + 6, y0 + 3}});
    } else {
        ACanvas->Polygon({{x0, y0}, {x0 + 3, y0 + 3}, {x0 + 6, y0}});
    }
}

// ---- TskControlButton -----------------------------------------------------------

TskControlButton::TskControlButton(TComponent* AOwner) : TskCustomButton(AOwner) {
    SetTabStop(false);
    SetUIStyle(DeepBlue);
}

void TskControlButton::SetThemeID(int Value) {
    m_themeID = Value;
    Invalidate();
}

void TskControlButton::SetPicIndex(int Value) {
    m_picIndex = Value;
    Invalidate();
}

void TskControlButton::SetPicCount(int Value) {
    m_picCount = Value;
    Invalidate();
}

void TskControlButton::LoadSlice(TBitmap* ABitmap, int Index) {
    // Items, counts and slices the theme does not have draw nothing.
    if (m_themeID < 1 || m_themeID > SK_ITEM_COUNT || SK_ITEM_TYPE[m_themeID] != TskType::Str ||
        m_picCount < 1 || Index < 1 || Index > m_picCount) {
        return;
    }
    m_theme.GetBitmap(m_themeID, ABitmap, m_picCount, Index);
    if (!ABitmap->Empty()) {
        SetBounds(Left(), Top(), ABitmap->Width(), ABitmap->Height());
    }
}

void TskControlButton::PaintButtonNormal(TBitmap* ABitmap) {
    LoadSlice(ABitmap, m_picIndex);
}
void TskControlButton::PaintButtonMouseOn(TBitmap* ABitmap) {
    LoadSlice(ABitmap, m_picIndex + 1);
}
void TskControlButton::PaintButtonMouseDown(TBitmap* ABitmap) {
    LoadSlice(ABitmap, m_picIndex);
}
void TskControlButton::PaintButtonDisabled(TBitmap* ABitmap) {
    LoadSlice(ABitmap, m_picIndex);
}

void TskControlButton::PaintPic(TCanvas* ACanvas, TBitmap* ABitmap) {
    if (ABitmap->Empty()) {
        return;
    }
    ABitmap->SetTransparentColor(PixelColor(*ABitmap, 0, 0));
    ACanvas->Draw(0, 0, *ABitmap);
}

// ---- TskImageButton -------------------------------------------------------------

TskImageButton::TskImageButton(TComponent* AOwner)
    : TskCustomButton(AOwner), m_picNormal(MakePicture()), m_picMouseOn(MakePicture()),
      m_picMouseDown(MakePicture()), m_picDisabled(MakePicture()) {}

TskImageButton::~TskImageButton() {
    // The pictures go before the control: nothing may hear of their changes.
    for (auto* p : {&m_picNormal, &m_picMouseOn, &m_picMouseDown, &m_picDisabled}) {
        (*p)->OnChange = nullptr;
    }
}

std::unique_ptr<TPicture> TskImageButton::MakePicture() {
    auto picture = std::make_unique<TPicture>();
    picture->OnChange = [this] {
        AutoSizeChanged();
        Invalidate();
    };
    return picture;
}

void TskImageButton::SetStretch(bool Value) {
    m_stretch = Value;
    Invalidate();
}

void TskImageButton::SetDrawFocused(bool Value) {
    m_drawFocused = Value;
    Invalidate();
}

void TskImageButton::AutoSizeChanged() {
    if (AutoSize() && Parent() && !m_picNormal->Empty()) {
        SetBounds(Left(), Top(), m_picNormal->Width(), m_picNormal->Height());
    }
}

void TskImageButton::LoadPicture(TBitmap* ABitmap, const TPicture* Picture) const {
    if (Picture->Empty()) {
        Picture = m_picNormal.get();
    }
    const TGraphic* graphic = Picture->Graphic();
    if (!graphic || graphic->Empty()) {
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(graphic)) {
        ABitmap->Assign(*bitmap);
    } else {
        ABitmap->SetSize(graphic->Width(), graphic->Height());
        graphic->Draw(*ABitmap->Canvas(), Rect(0, 0, graphic->Width(), graphic->Height()));
    }
}

void TskImageButton::PaintButtonNormal(TBitmap* ABitmap) {
    LoadPicture(ABitmap, m_picNormal.get());
}
void TskImageButton::PaintButtonMouseOn(TBitmap* ABitmap) {
    LoadPicture(ABitmap, m_picMouseOn.get());
}
void TskImageButton::PaintButtonMouseDown(TBitmap* ABitmap) {
    LoadPicture(ABitmap, m_picMouseDown.get());
}
void TskImageButton::PaintButtonDisabled(TBitmap* ABitmap) {
    LoadPicture(ABitmap, m_picDisabled.get());
}

void TskImageButton::PaintPic(TCanvas* ACanvas, TBitmap* ABitmap) {
    if (ABitmap->Empty()) {
        return;
    }
    ABitmap->SetTransparentColor(PixelColor(*ABitmap, 0, 0));
    ABitmap->SetTransparent(true);
    if (m_stretch) {
        ACanvas->StretchDraw(ClientRect(), *ABitmap);
    } else {
        ACanvas->Draw(0, 0, *ABitmap);
    }
}

void TskImageButton::PaintFocus(TCanvas* ACanvas) {
    if (m_drawFocused) {
        TskCustomButton::PaintFocus(ACanvas);
    }
}

// ---- TskToolBarSpeedButton ------------------------------------------------------

TskToolBarSpeedButton::TskToolBarSpeedButton(TComponent* AOwner)
    : TCustomPanel(AOwner), m_glyph(std::make_unique<TPicture>()) {
    m_glyph->OnChange = [this] { Invalidate(); };
    SetBounds(0, 0, 18, 18);
}

TskToolBarSpeedButton::~TskToolBarSpeedButton() {
    m_glyph->OnChange = nullptr;
}

TBitmap* TskToolBarSpeedButton::Glyph() const {
    return m_glyph->Bitmap();
}

void TskToolBarSpeedButton::SetGlyph(const TBitmap* Value) {
    if (Value) {
        m_glyph->Assign(Value);
    } else {
        m_glyph->Clear();
    }
    Invalidate();
}

void TskToolBarSpeedButton::Paint() {
    if (Width() <= 0 || Height() <= 0) {
        return;
    }
    TBitmap buffer(Width(), Height());
    TCanvas* c = buffer.Canvas();
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(ClientRect());
    const auto* bitmap = dynamic_cast<const TBitmap*>(m_glyph->Graphic());
    if (bitmap && !bitmap->Empty()) {
        if (FHot) {
            c->Brush()->SetColor(clBlack);
            c->FrameRect(ClientRect());
        }
        TBitmap glyph;
        glyph.Assign(*bitmap);
        glyph.SetTransparent(true);
        c->Draw(1, 1, glyph);
    }
    Canvas()->Draw(0, 0, buffer);
}

void TskToolBarSpeedButton::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
}

void TskToolBarSpeedButton::CMMouseEnter(TMessage& Message) {
    FHot = true;
    Invalidate();
    TCustomPanel::CMMouseEnter(Message);
}

void TskToolBarSpeedButton::CMMouseLeave(TMessage& Message) {
    FHot = false;
    Invalidate();
    TCustomPanel::CMMouseLeave(Message);
}

// ---- TskCheckBox ----------------------------------------------------------------

TskCheckBox::TskCheckBox(TComponent* AOwner)
    : TCustomControl(AOwner), m_theme(this, GetSKFormStyle(AOwner)) {
    SetControlStyle(ControlStyle() & ~csDoubleClicks);
    SetBounds(0, 0, 93, 17);
    SetParentColor(true);
    SetFocusable(true);
    TWinControl::SetTabStop(true);
    PublishEvent("OnClick", OnClick);
}

TskCheckBox::~TskCheckBox() = default;

void TskCheckBox::SetChecked(bool Value) {
    if (Value == m_checked) {
        return;
    }
    m_checked = Value;
    Invalidate();
    CheckStateChanged();
}

void TskCheckBox::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    FitToCaption();
    Invalidate();
}

void TskCheckBox::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(m_theme.UIStyle());
    }
}

void TskCheckBox::SetTransparent(bool Value) {
    m_transparent = Value;
    Invalidate();
}

void TskCheckBox::SetAutoSize(bool Value) {
    m_autoSize = Value;
    FitToCaption();
    Invalidate();
}

void TskCheckBox::SetEnabled(bool Value) {
    TCustomControl::SetEnabled(Value);
    Invalidate();
}

void TskCheckBox::Click() {
    DoClick();
    TCustomControl::Click();
}

bool TskCheckBox::NeedDrawFocus() {
    return TabStop() && Focused();
}

void TskCheckBox::FireOnClick() {
    if (!IsLoading() && OnClick) {
        OnClick(this);
    }
}

void TskCheckBox::CheckStateChanged() {
    FireOnClick();
}

void TskCheckBox::DoClick() {
    Toggle();
    SetChecked(!m_checked);
}

void TskCheckBox::TakeFocus() {
    TrySetFocus(this);
}

void TskCheckBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TskCheckBox::LoadMark(TBitmap* ABitmap) {
    const int slice = Enabled() ? (m_checked ? 1 : 2) : (m_checked ? 3 : 4);
    m_theme.GetBitmap(GetPicThemeIndex(), ABitmap, kMarkSlices, slice);
    ABitmap->SetTransparent(GetPicTransparent());
}

void TskCheckBox::AdjustSize(TCanvas* ACanvas, const TBitmap& Mark) {
    // An aligned box takes its size from the parent; fighting the alignment
    // from every paint would repaint for ever.
    if (!m_autoSize || Align() != alNone) {
        return;
    }
    const int height = std::max(ACanvas->TextHeight(QStringLiteral("W")) + 2, Mark.Height()) + 4;
    const int width = Mark.Width() + ACanvas->TextWidth(DisplayedText(Caption())) + 8;
    SetBounds(Left(), Top(), width, height);
}

void TskCheckBox::FitToCaption() {
    if (IsLoading()) {
        return;
    }
    TBitmap mark;
    LoadMark(&mark);
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(*Font());
    AdjustSize(probe.Canvas(), mark);
}

void TskCheckBox::Loaded() {
    TCustomControl::Loaded();
    FitToCaption();
}

void TskCheckBox::Paint() {
    TBitmap mark;
    LoadMark(&mark);
    TBitmap buffer(std::max(Width(), 1), std::max(Height(), 1));
    TCanvas* c = buffer.Canvas();
    c->Font()->Assign(*Font());
    AdjustSize(c, mark);
    if (Width() <= 0 || Height() <= 0) {
        return;
    }
    buffer.SetSize(Width(), Height());
    c = buffer.Canvas();
    PaintBackground(c, this, m_transparent);
    if (!mark.Empty()) {
        c->Draw(1, (Height() - mark.Height()) / 2, mark);
    }
    const int th = c->TextHeight(QStringLiteral("W"));
    const int tx = mark.Width() + 4;
    const int ty = (Height() - th) / 2;
    c->Brush()->SetStyle(bsClear);
    TRect r = Rect(tx, ty, Width(), Height());
    c->DrawText(Caption(), r, DT_SINGLELINE | DT_LEFT | DT_TOP);
    if (NeedDrawFocus()) {
        c->DrawFocusRect(Rect(tx - 1, ty, Width(), ty + th + 2));
    }
    Canvas()->Draw(0, 0, buffer);
}

void TskCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == TMouseButton::mbLeft) {
        TakeFocus();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TskCheckBox::KeyUp(unsigned& Key, TShiftState Shift) {
    const bool click =
        (Key == VK_SPACE || Key == VK_RETURN) && Focused() && Enabled() && WantKeyUp();
    TCustomControl::KeyUp(Key, Shift);
    if (click) {
        Invalidate();
        Click();
    }
}

void TskCheckBox::WndProc(TMessage& Message) {
    if (PrepareInput(*this, Message)) {
        TCustomControl::WndProc(Message);
    }
}

void TskCheckBox::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
}

void TskCheckBox::WMSetFocus(TMessage& Message) {
    TCustomControl::WMSetFocus(Message);
    Invalidate();
}

void TskCheckBox::WMKillFocus(TMessage& Message) {
    TCustomControl::WMKillFocus(Message);
    Invalidate();
}

void TskCheckBox::CMFontChanged(TMessage& Message) {
    TCustomControl::CMFontChanged(Message);
    FitToCaption();
    Invalidate();
}

void TskCheckBox::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    FitToCaption();
    Invalidate();
}

void TskCheckBox::CMFocusChanged(TMessage& Message) {
    TCustomControl::CMFocusChanged(Message);
    Invalidate();
}

void TskCheckBox::CMDialogChar(TMessage& Message) {
    if (IsAccel(static_cast<unsigned>(Message.WParam), Caption()) && Enabled()) {
        TakeFocus();
        Click();
        Message.Result = 1;
    } else {
        Message.Result = 0;
    }
}

// ---- TskRadioButton -------------------------------------------------------------

TskRadioButton::TskRadioButton(TComponent* AOwner) : TskCheckBox(AOwner) {
    SetControlStyle(ControlStyle() | csDoubleClicks);
    FocusOrigin::Instance();
}

void TskRadioButton::DoClick() {
    if (!Checked()) {
        SetChecked(true);
    }
}

void TskRadioButton::CheckStateChanged() {
    if (!Checked()) {
        return;
    }
    if (TWinControl* parent = Parent()) {
        // A copy: an OnClick of a sibling may rearrange the parent.
        const std::vector<TControl*> siblings = parent->ControlList();
        for (TControl* c : siblings) {
            auto* other = qobject_cast<TskRadioButton*>(c);
            if (other && other != this && other->GroupIndex() == m_groupIndex) {
                other->SetChecked(false);
            }
        }
    }
    FireOnClick();
}

void TskRadioButton::WMSetFocus(TMessage& Message) {
    TskCheckBox::WMSetFocus(Message);
    // Moving along a group of radio-group buttons selects as it goes.
    const TControl* from = FocusOrigin::Instance().LastControl();
    if (from && from != this && from->inherits("sk::TskRadioGroupButton")) {
        Click();
    }
}

// ---- registration ---------------------------------------------------------------

void RegisterSkinButtonClasses() {
    static const bool done = [] {
        RegisterClass<TskButton>();
        RegisterClass<TskArrowButton>();
        RegisterClass<TskControlButton>();
        RegisterClass<TskImageButton>();
        RegisterClass<TskToolBarSpeedButton>();
        RegisterClass<TskCheckBox>();
        RegisterClass<TskRadioButton>();
        return true;
    }();
    (void)done;
}

} // namespace sk
