#include "platform/toolkit/ToolBar.h"

#include <QImage>
#include <algorithm>

#include "platform/toolkit/StdCtrls.h"

namespace tk {

namespace {

constexpr int kDropDownWidth = 14; // the arrow part of a drop-down button
constexpr int kCaptionMargin = 8;  // each side of a caption
constexpr int kImageMargin = 7;    // beside an image, both sides together

// Width of text in a font, without access-key marks.
class TTextMeasure {
public:
    explicit TTextMeasure(const TFont& font)
        : m_image(1, 1, QImage::Format_RGB32), m_canvas(&m_image) {
        m_canvas.Font()->Assign(font);
    }
    int Width(const QString& caption) { return m_canvas.TextWidth(StripHotkey(caption)); }

private:
    QImage m_image;
    TCanvas m_canvas;
};

TColor EdgeColor(TEdgeStyle style, bool farSide) {
    // Lowered: shadow towards the light (top and left), highlight away from it.
    const bool shadow = (style == esLowered) != farSide;
    return shadow ? clBtnShadow : clBtnHighlight;
}

} // namespace

// ---- button ----------------------------------------------------------------------

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    TGraphicControl::SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
    if (TToolBar* bar = ToolBar()) {
        bar->RemoveButton(this);
    }
}

std::unique_ptr<THandleWidget> TToolButton::CreateWidget(QWidget* parentWidget) {
    // The bar paints its buttons and takes their mouse input, as the native
    // tool bar does; the button's own window stays see-through.
    auto w = TGraphicControl::CreateWidget(parentWidget);
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    return w;
}

TToolBar* TToolButton::ToolBar() const {
    return qobject_cast<TToolBar*>(Parent());
}

int TToolButton::Index() const {
    const TToolBar* bar = ToolBar();
    if (!bar) {
        return -1;
    }
    auto it = std::find(bar->m_buttons.begin(), bar->m_buttons.end(), this);
    return it == bar->m_buttons.end() ? -1 : static_cast<int>(it - bar->m_buttons.begin());
}

void TToolButton::SetParent(TWinControl* parent) {
    if (TToolBar* old = ToolBar(); old && old != parent) {
        old->RemoveButton(this);
    }
    const bool joins = parent && parent != Parent();
    TGraphicControl::SetParent(parent);
    if (TToolBar* bar = ToolBar(); bar && joins) {
        bar->AddButton(this);
    }
}

void TToolButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TToolBar* bar = ToolBar();
    if (m_placing || !bar) {
        if (!bar && IsSeparator()) {
            m_separatorWidth = std::max(AWidth, 0);
        }
        TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
        return;
    }
    // On a bar the bar places its buttons: a size set from outside is the
    // bar's button size (a separator keeps its own width).
    if (IsSeparator()) {
        m_separatorWidth = std::max(AWidth, 0);
    } else if (!IsLoading()) {
        if (AHeight != Height() && AHeight > 0) {
            bar->SetButtonHeight(AHeight);
        }
        if (!m_autoSize && AWidth != Width() && AWidth > 0) {
            bar->SetButtonWidth(AWidth);
        }
    }
    bar->ButtonsChanged();
}

void TToolButton::Changed(bool relayout) {
    if (TToolBar* bar = ToolBar()) {
        if (relayout) {
            bar->ButtonsChanged();
        } else {
            bar->Invalidate();
        }
    }
}

void TToolButton::SetStyle(TToolButtonStyle style) {
    if (style != m_style) {
        m_style = style;
        Changed(true);
    }
}

void TToolButton::SetGrouped(bool v) {
    if (v != m_grouped) {
        m_grouped = v;
        if (v && m_down) {
            UngroupOthers();
        }
        Changed(false);
    }
}

void TToolButton::UngroupOthers() {
    TToolBar* bar = ToolBar();
    const int index = Index();
    if (!bar || index < 0) {
        return;
    }
    // The group is the run of grouped check buttons around this one.
    auto inGroup = [](const TToolButton* b) { return b->m_grouped && b->m_style == tbsCheck; };
    for (int dir : {-1, +1}) {
        for (int i = index + dir; i >= 0 && i < bar->ButtonCount(); i += dir) {
            TToolButton* b = bar->Buttons(i);
            if (!inGroup(b)) {
                break;
            }
            b->m_down = false;
        }
    }
}

void TToolButton::SetDown(bool v) {
    if (v == m_down) {
        return;
    }
    m_down = v;
    if (v && m_grouped) {
        UngroupOthers();
    }
    Changed(false);
}

void TToolButton::SetImageIndex(int index) {
    if (index != m_imageIndex) {
        m_imageIndex = index;
        Changed(true);
    }
}

void TToolButton::SetAutoSize(bool v) {
    if (v != m_autoSize) {
        m_autoSize = v;
        Changed(true);
    }
}

void TToolButton::SetWrap(bool v) {
    if (v != m_wrap) {
        m_wrap = v;
        Changed(true);
    }
}

void TToolButton::SetMarked(bool v) {
    if (v != m_marked) {
        m_marked = v;
        Changed(false);
    }
}

void TToolButton::SetIndeterminate(bool v) {
    if (v != m_indeterminate) {
        m_indeterminate = v;
        Changed(false);
    }
}

void TToolButton::SetMenuItem(TMenuItem* item) {
    if (!m_menuItem.Set(item, &TMenuItem::Changed, [this] { TakeFromMenuItem(); })) {
        return;
    }
    TakeFromMenuItem();
    Changed(true);
}

void TToolButton::TakeFromMenuItem() {
    if (m_menuItem) {
        SetCaption(m_menuItem->Caption());
        SetEnabled(m_menuItem->Enabled());
    }
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu) {
    if (m_dropdownMenu.Set(menu)) {
        Changed(true);
    }
}

bool TToolButton::HasDropDown() const {
    return (m_menuItem && m_menuItem->VisibleCount() > 0) || m_dropdownMenu;
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    m_menuItem.Removed(AComponent, Operation);
    m_dropdownMenu.Removed(AComponent, Operation);
}

void TToolButton::Click() {
    if (!Enabled()) {
        return;
    }
    if (m_style == tbsCheck) {
        if (!m_grouped) {
            SetDown(!m_down);
        } else if (!m_down) {
            SetDown(true);
        } else if (m_allowAllUp) {
            SetDown(false);
        }
    }
    if (m_menuItem && m_menuItem->VisibleCount() == 0) {
        m_menuItem->Click();
        return;
    }
    if (OnClick) {
        OnClick(this);
    } else {
        ExecuteAction(this);
    }
}

void TToolButton::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
    ApplyActionToControl(*this, Sender, CheckDefaults);
    if (const auto* a = qobject_cast<const TCustomAction*>(Sender)) {
        if (!CheckDefaults || m_imageIndex == -1) {
            SetImageIndex(a->ImageIndex());
        }
        if (!CheckDefaults || !m_down) {
            SetDown(a->Checked());
        }
    }
}

void TToolButton::CMTextChanged(TMessage& m) {
    TGraphicControl::CMTextChanged(m);
    Changed(true);
}

void TToolButton::CMEnabledChanged(TMessage& m) {
    TGraphicControl::CMEnabledChanged(m);
    if (TToolBar* bar = ToolBar(); bar && !Enabled() && bar->m_hot == this) {
        bar->m_hot = nullptr;
    }
    Changed(false);
}

void TToolButton::CMVisibleChanged(TMessage& m) {
    TGraphicControl::CMVisibleChanged(m);
    Changed(true);
}

// ---- bar -------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
    m_controlStyle |= csAcceptsControls;
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
    PublishEvent("OnCustomDraw", OnCustomDraw);
    PublishEvent("OnCustomDrawButton", OnCustomDrawButton);
}

TToolBar::~TToolBar() {
    m_chain.Close(true);
}

void TToolBar::BeforeDestruction() {
    m_chain.Close(true);
    TCustomControl::BeforeDestruction();
}

void TToolBar::Loaded() {
    TCustomControl::Loaded();
    ButtonsChanged();
}

void TToolBar::SetButtonHeight(int h) {
    h = std::max(h, 1);
    if (h != m_buttonHeight) {
        m_buttonHeight = h;
        ButtonsChanged();
    }
}

void TToolBar::SetButtonWidth(int w) {
    w = std::max(w, 1);
    if (w != m_buttonWidth) {
        m_buttonWidth = w;
        ButtonsChanged();
    }
}

void TToolBar::SetFlat(bool v) {
    if (v != m_flat) {
        m_flat = v;
        Invalidate();
    }
}

void TToolBar::SetShowCaptions(bool v) {
    if (v != m_showCaptions) {
        m_showCaptions = v;
        ButtonsChanged();
    }
}

void TToolBar::SetAutoSize(bool v) {
    if (v != m_autoSize) {
        m_autoSize = v;
        ButtonsChanged();
    }
}

void TToolBar::SetWrapable(bool v) {
    if (v != m_wrapable) {
        m_wrapable = v;
        ButtonsChanged();
    }
}

void TToolBar::SetList(bool v) {
    if (v != m_list) {
        m_list = v;
        ButtonsChanged();
    }
}

void TToolBar::SetTransparent(bool v) {
    if (v != m_transparent) {
        m_transparent = v;
        SetControlStyle(v ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
        Invalidate();
    }
}

void TToolBar::SetIndent(int v) {
    v = std::max(v, 0);
    if (v != m_indent) {
        m_indent = v;
        ButtonsChanged();
    }
}

void TToolBar::SetImageList(TComponentRef<TCustomImageList>& slot, TCustomImageList* images) {
    if (!slot.Set(images, &TCustomImageList::Changed, [this] { ButtonsChanged(); })) {
        return;
    }
    // The same list may sit in another slot; it stays watched for that one.
    for (TCustomImageList* held : {m_images.Get(), m_hotImages.Get(), m_disabledImages.Get()}) {
        if (held) {
            FreeNotification(held);
        }
    }
    ButtonsChanged();
}

void TToolBar::SetImages(TCustomImageList* images) {
    SetImageList(m_images, images);
}

void TToolBar::SetHotImages(TCustomImageList* images) {
    SetImageList(m_hotImages, images);
}

void TToolBar::SetDisabledImages(TCustomImageList* images) {
    SetImageList(m_disabledImages, images);
}

void TToolBar::SetEdgeBorders(TEdgeBorders borders) {
    if (borders != m_edgeBorders) {
        m_edgeBorders = borders;
        ButtonsChanged();
    }
}

void TToolBar::SetEdgeInner(TEdgeStyle style) {
    if (style != m_edgeInner) {
        m_edgeInner = style;
        ButtonsChanged();
    }
}

void TToolBar::SetEdgeOuter(TEdgeStyle style) {
    if (style != m_edgeOuter) {
        m_edgeOuter = style;
        ButtonsChanged();
    }
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || !AComponent) {
        return;
    }
    bool changed = m_images.Removed(AComponent, Operation);
    changed = m_hotImages.Removed(AComponent, Operation) || changed;
    changed = m_disabledImages.Removed(AComponent, Operation) || changed;
    if (changed && !IsDestroying()) {
        ButtonsChanged();
    }
}

void TToolBar::AddButton(TToolButton* b) {
    if (std::find(m_buttons.begin(), m_buttons.end(), b) == m_buttons.end()) {
        m_buttons.push_back(b);
        ButtonsChanged();
    }
}

void TToolBar::RemoveButton(TToolButton* b) {
    auto it = std::find(m_buttons.begin(), m_buttons.end(), b);
    if (it == m_buttons.end()) {
        return;
    }
    m_buttons.erase(it);
    if (m_tracked == b) {
        m_chain.Close();
    }
    for (TToolButton** p : {&m_hot, &m_pressed, &m_tracked, &m_lastClosed}) {
        if (*p == b) {
            *p = nullptr;
        }
    }
    if (!IsDestroying()) {
        ButtonsChanged();
    }
}

void TToolBar::ButtonsChanged() {
    // Nothing to lay out while the bar is read, or torn down with its form.
    if (IsLoading() || IsDestroying() || (Owner() && Owner()->IsDestroying())) {
        return;
    }
    LayoutButtons();
}

int TToolBar::EdgeWidth(TEdgeBorder side) const {
    if (!(m_edgeBorders & side)) {
        return 0;
    }
    return (m_edgeInner != esNone ? 1 : 0) + (m_edgeOuter != esNone ? 1 : 0);
}

void TToolBar::AdjustClientRect(TRect& r) const {
    r.Left += EdgeWidth(ebLeft);
    r.Top += EdgeWidth(ebTop);
    r.Right -= EdgeWidth(ebRight);
    r.Bottom -= EdgeWidth(ebBottom);
}

void TToolBar::AlignControls(TControl* /*AControl*/, TRect& /*r*/) {
    // Every child of a bar is one of its buttons, placed in rows.
    LayoutButtons();
}

int TToolBar::ButtonWidthFor(const TToolButton* b, int uniform) const {
    if (b->IsSeparator()) {
        return b->m_separatorWidth;
    }
    int w = uniform;
    if (b->AutoSize()) {
        TTextMeasure measure(*Font());
        const int text =
            m_showCaptions && !b->Caption().isEmpty() ? measure.Width(b->Caption()) : 0;
        const int image = m_images ? m_images->Width() : 0;
        if (text == 0) {
            w = image > 0 ? image + kImageMargin : m_buttonWidth;
        } else if (m_list) {
            w = image > 0 ? image + kImageMargin + text + kCaptionMargin
                          : text + 2 * kCaptionMargin;
        } else {
            w = std::max(image + kImageMargin, text + 2 * kCaptionMargin);
        }
    }
    if (b->Style() == tbsDropDown) {
        w += kDropDownWidth;
    }
    return w;
}

void TToolBar::LayoutButtons() {
    if (m_layingOut || IsLoading() || IsDestroying()) {
        return;
    }
    m_layingOut = true;
    TRect area = ClientRect();
    AdjustClientRect(area);

    // Buttons that do not size themselves share one width, wide enough for
    // the widest caption.
    int uniform = m_buttonWidth;
    if (m_showCaptions) {
        TTextMeasure measure(*Font());
        const int image = m_images ? m_images->Width() : 0;
        for (const TToolButton* b : m_buttons) {
            if (b->Visible() && !b->IsSeparator() && !b->AutoSize() && !b->Caption().isEmpty()) {
                const int text = measure.Width(b->Caption());
                const int need = m_list ? image + kImageMargin + text + kCaptionMargin
                                        : std::max(image + kImageMargin, text + 2 * kCaptionMargin);
                uniform = std::max(uniform, need);
            }
        }
    }

    const int left = area.Left + m_indent;
    int x = left;
    int y = area.Top;
    int bottom = area.Top;
    bool rowStart = true;
    for (TToolButton* b : m_buttons) {
        if (!b->Visible()) {
            continue;
        }
        const int w = ButtonWidthFor(b, uniform);
        if (m_wrapable && !rowStart && x + w > area.Right) {
            x = left;
            y += m_buttonHeight;
            rowStart = true;
        }
        b->m_placing = true;
        b->SetBounds(x, y, w, m_buttonHeight);
        b->m_placing = false;
        bottom = y + m_buttonHeight;
        x += w;
        rowStart = false;
        if (b->Wrap()) {
            x = left;
            y += m_buttonHeight;
            rowStart = true;
        }
    }
    m_rows = (bottom - area.Top) / m_buttonHeight;
    if (m_autoSize) {
        const int h = std::max(m_rows, 1) * m_buttonHeight + EdgeWidth(ebTop) + EdgeWidth(ebBottom);
        if (h != Height()) {
            SetHeight(h);
        }
    }
    m_layingOut = false;
    Invalidate();
}

TToolButton* TToolBar::ButtonAt(int x, int y) const {
    for (TToolButton* b : m_buttons) {
        if (b->Visible() && !b->IsSeparator() && PtInRect(b->BoundsRect(), {x, y})) {
            return b;
        }
    }
    return nullptr;
}

TCustomDrawState TToolBar::ButtonState(const TToolButton* b) const {
    TCustomDrawState s = 0;
    if (!b) {
        return s;
    }
    if (b == m_hot) {
        s |= cdsHot;
    }
    if (b == m_pressed && m_pressedInside) {
        s |= cdsPressed | cdsSelected;
    }
    if (b == m_tracked) {
        s |= cdsSelected;
    }
    if (b->Down()) {
        s |= cdsChecked;
    }
    if (!b->Enabled()) {
        s |= cdsDisabled | cdsGrayed;
    }
    if (b->Marked()) {
        s |= cdsMarked;
    }
    if (b->Indeterminate()) {
        s |= cdsIndeterminate;
    }
    return s;
}

void TToolBar::Paint() {
    TCanvas& c = *Canvas();
    const TRect client = ClientRect();
    if (!m_transparent) {
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(Color());
        c.FillRect(client);
    }
    // Edges: outer line on the outside, inner line next to it.
    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetWidth(1);
    auto edge = [&](TEdgeBorder side) {
        int inset = 0;
        for (TEdgeStyle style : {m_edgeOuter, m_edgeInner}) {
            if (style == esNone) {
                continue;
            }
            const bool farSide = side == ebRight || side == ebBottom;
            c.Pen()->SetColor(EdgeColor(style, farSide));
            switch (side) {
            case ebTop:
                c.MoveTo(client.Left, client.Top + inset);
                c.LineTo(client.Right, client.Top + inset);
                break;
            case ebBottom:
                c.MoveTo(client.Left, client.Bottom - 1 - inset);
                c.LineTo(client.Right, client.Bottom - 1 - inset);
                break;
            case ebLeft:
                c.MoveTo(client.Left + inset, client.Top);
                c.LineTo(client.Left + inset, client.Bottom);
                break;
            case ebRight:
                c.MoveTo(client.Right - 1 - inset, client.Top);
                c.LineTo(client.Right - 1 - inset, client.Bottom);
                break;
            }
            ++inset;
        }
    };
    for (TEdgeBorder side : {ebTop, ebBottom, ebLeft, ebRight}) {
        if (m_edgeBorders & side) {
            edge(side);
        }
    }

    bool defaultDraw = true;
    if (OnCustomDraw) {
        OnCustomDraw(this, client, defaultDraw);
    }
    if (!defaultDraw) {
        return;
    }
    for (TToolButton* b : std::vector<TToolButton*>(m_buttons)) {
        if (!b->Visible()) {
            continue;
        }
        c.Font()->Assign(*Font());
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(Color());
        c.Pen()->SetColor(clBlack);
        c.Pen()->SetStyle(psSolid);
        const TCustomDrawState state = ButtonState(b);
        bool drawIt = true;
        if (OnCustomDrawButton) {
            OnCustomDrawButton(this, b, state, drawIt);
        }
        if (drawIt) {
            DefaultDrawButton(b, state);
        }
    }
}

void TToolBar::DefaultDrawButton(TToolButton* b, TCustomDrawState state) {
    if (!b) {
        return;
    }
    TCanvas& c = *Canvas();
    const TRect r = b->BoundsRect();
    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetWidth(1);
    if (b->IsSeparator()) {
        if (b->Style() == tbsDivider || m_flat) {
            const int x = r.Left + r.Width() / 2 - 1;
            c.Pen()->SetColor(clBtnShadow);
            c.MoveTo(x, r.Top + 1);
            c.LineTo(x, r.Bottom - 1);
            c.Pen()->SetColor(clBtnHighlight);
            c.MoveTo(x + 1, r.Top + 1);
            c.LineTo(x + 1, r.Bottom - 1);
        }
        return;
    }
    const bool disabled = (state & cdsDisabled) != 0;
    const bool hot = (state & cdsHot) != 0 && !disabled;
    const bool down = (state & (cdsPressed | cdsSelected | cdsChecked)) != 0;

    TRect face = r;
    if (down) {
        Frame3D(c, face, clBtnShadow, clBtnHighlight, 1);
    } else if (!m_flat) {
        Frame3D(c, face, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(c, face, clBtnFace, clBtnShadow, 1);
    } else if (hot) {
        Frame3D(c, face, clBtnHighlight, clBtnShadow, 1);
    }

    TRect content = r;
    if (b->Style() == tbsDropDown) {
        content.Right -= kDropDownWidth;
    }
    const int shift = down ? 1 : 0;
    OffsetRect(content, shift, shift);

    TCustomImageList* images = m_images;
    bool drawEnabled = !disabled;
    if (disabled && m_disabledImages) {
        images = m_disabledImages;
        drawEnabled = true;
    } else if (hot && m_hotImages) {
        images = m_hotImages;
    }
    const bool hasImage = images && b->ImageIndex() >= 0 && b->ImageIndex() < images->Count();
    const QString caption = m_showCaptions ? b->Caption() : QString();
    const int textHeight = caption.isEmpty() ? 0 : c.TextHeight(QStringLiteral("W"));

    TRect text = content;
    UINT flags = DT_SINGLELINE | DT_VCENTER;
    if (hasImage) {
        const int iw = images->Width();
        const int ih = images->Height();
        int ix = 0;
        int iy = 0;
        if (m_list || caption.isEmpty()) {
            ix = caption.isEmpty() ? content.Left + (content.Width() - iw) / 2 : content.Left + 5;
            iy = content.Top + (content.Height() - ih) / 2;
            text.Left = content.Left + iw + kImageMargin;
            flags |= DT_LEFT;
        } else {
            const int total = ih + 1 + textHeight;
            ix = content.Left + (content.Width() - iw) / 2;
            iy = content.Top + (content.Height() - total) / 2;
            text = Rect(content.Left, iy + ih + 1, content.Right, iy + ih + 1 + textHeight);
            flags |= DT_CENTER;
        }
        images->Draw(&c, ix, iy, b->ImageIndex(), drawEnabled);
    } else {
        flags |= DT_CENTER;
    }

    if (!caption.isEmpty()) {
        c.Brush()->SetStyle(bsClear);
        if (disabled) {
            c.Font()->SetColor(clBtnHighlight);
            TRect shadow = text;
            OffsetRect(shadow, 1, 1);
            c.DrawText(caption, shadow, flags);
            c.Font()->SetColor(clGrayText);
        }
        c.DrawText(caption, text, flags);
    }

    if (b->Style() == tbsDropDown) {
        const int split = r.Right - kDropDownWidth;
        if (hot || !m_flat) {
            c.Pen()->SetColor(clBtnShadow);
            c.MoveTo(split, r.Top + 1);
            c.LineTo(split, r.Bottom - 1);
            c.Pen()->SetColor(clBtnHighlight);
            c.MoveTo(split + 1, r.Top + 1);
            c.LineTo(split + 1, r.Bottom - 1);
        }
        const int ax = split + (kDropDownWidth - 5) / 2 + shift;
        const int ay = r.Top + r.Height() / 2 - 1 + shift;
        const TColor arrow = disabled ? clGrayText : Font()->Color();
        c.Pen()->SetColor(arrow);
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(arrow);
        c.Polygon({{ax, ay}, {ax + 4, ay}, {ax + 2, ay + 2}});
    }
}

void TToolBar::SetHot(TToolButton* b) {
    if (b && (!b->Enabled() || b->IsSeparator())) {
        b = nullptr;
    }
    if (b != m_hot) {
        m_hot = b;
        Invalidate();
    }
}

void TToolBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft) {
        return;
    }
    TToolButton* b = ButtonAt(X, Y);
    if (!b || !b->Enabled()) {
        return;
    }
    if (b->Style() == tbsDropDown) {
        // The arrow part drops the menu; the rest is a push button.
        if (b->DropdownMenu() && X >= b->Left() + b->Width() - kDropDownWidth) {
            TrackMenu(b);
            return;
        }
    } else if (b->HasDropDown()) {
        // Menus drop on the press, as a menu bar's do.
        TrackMenu(b);
        return;
    }
    m_pressed = b;
    m_pressedInside = true;
    Invalidate();
}

void TToolBar::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    TToolButton* b = ButtonAt(X, Y);
    SetHot(b);
    if (m_pressed) {
        const bool inside = b == m_pressed;
        if (inside != m_pressedInside) {
            m_pressedInside = inside;
            Invalidate();
        }
    }
}

void TToolBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft || !m_pressed) {
        return;
    }
    TToolButton* b = m_pressed;
    const bool inside = ButtonAt(X, Y) == b;
    m_pressed = nullptr;
    m_pressedInside = false;
    Invalidate();
    if (inside) {
        b->Click();
    }
}

void TToolBar::CMMouseLeave(TMessage& m) {
    TCustomControl::CMMouseLeave(m);
    SetHot(nullptr);
}

void TToolBar::CMDialogChar(TMessage& m) {
    // Alt and a caption's marked letter: as a menu bar does.
    const auto shift = static_cast<TShiftState>(m.LParam);
    if (!(shift & ssAlt) || !m_showCaptions) {
        return;
    }
    const auto key = static_cast<unsigned>(m.WParam);
    for (TToolButton* b : std::vector<TToolButton*>(m_buttons)) {
        if (b->Visible() && b->Enabled() && !b->IsSeparator() && IsAccel(key, b->Caption())) {
            m.Result = 1;
            if (b->HasDropDown()) {
                TrackMenu(b, true);
            } else {
                b->Click();
            }
            return;
        }
    }
}

void TToolBar::CMFontChanged(TMessage& m) {
    TCustomControl::CMFontChanged(m);
    ButtonsChanged();
}

bool TToolBar::TrackMenu(TToolButton* button, bool selectFirst) {
    if (!button || button->ToolBar() != this || !button->Enabled() || !HandleAllocated()) {
        return false;
    }
    const TPoint origin = ClientToScreen({button->Left(), button->Top()});
    const TRect avoid = Bounds(origin.x, origin.y, button->Width(), button->Height());
    if (TMenuItem* item = button->MenuItem(); item && item->VisibleCount() > 0) {
        if (TMenuChain* open = TMenuChain::Active()) {
            open->Close();
        }
        m_tracked = button;
        m_lastClosed = nullptr;
        Repaint();
        QPointer<TToolBar> self(this);
        const bool opened =
            m_chain.Open(item, {avoid.Left, avoid.Bottom}, this, selectFirst, &avoid);
        if (self && !opened) {
            m_tracked = nullptr;
            Invalidate();
        }
        return opened;
    }
    if (TPopupMenu* menu = button->DropdownMenu()) {
        menu->Popup(avoid.Left, avoid.Bottom);
        return true;
    }
    return false;
}

void TToolBar::CloseMenu() {
    m_chain.Close();
}

TToolButton* TToolBar::NextMenuButton(TToolButton* from, int direction) const {
    const int n = ButtonCount();
    auto it = std::find(m_buttons.begin(), m_buttons.end(), from);
    int i =
        it == m_buttons.end() ? (direction > 0 ? -1 : n) : static_cast<int>(it - m_buttons.begin());
    for (int step = 0; step < n; ++step) {
        i = (i + direction + n) % n;
        TToolButton* b = m_buttons[static_cast<std::size_t>(i)];
        if (b->Visible() && b->Enabled() && b->MenuItem() && b->MenuItem()->VisibleCount() > 0) {
            return b;
        }
    }
    return nullptr;
}

bool TToolBar::MenuBarTrack(TPoint p) {
    const TPoint local = ScreenToClient(p);
    TToolButton* b = ButtonAt(local.x, local.y);
    SetHot(b);
    if (b && b != m_tracked && b->Enabled() && b->MenuItem() && b->MenuItem()->VisibleCount() > 0) {
        return TrackMenu(b, false);
    }
    return false;
}

void TToolBar::MenuBarStep(int direction) {
    TToolButton* next = NextMenuButton(m_tracked, direction);
    if (next && next != m_tracked) {
        TrackMenu(next, true);
    }
}

void TToolBar::MenuBarPressed(TPoint p) {
    const TPoint local = ScreenToClient(p);
    TToolButton* b = ButtonAt(local.x, local.y);
    // A press on the button whose menu just closed only closes it.
    if (b && b != m_lastClosed && b->Enabled() && b->HasDropDown()) {
        TrackMenu(b);
    }
    m_lastClosed = nullptr;
}

void TToolBar::MenuBarClosed() {
    m_lastClosed = m_tracked;
    m_tracked = nullptr;
    Invalidate();
}

} // namespace tk
