#include "skin/SKTitleBar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>
#include <array>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Forms.h"
#include "platform/win32/Win32.h"
#include "resources/Strings.h"
#include "skin/SKForm.h"

namespace sk {

using namespace tk;

namespace {

// The 18-state title-button strip: first state of each button type.
constexpr int kStripStates = 18;
constexpr int kRestoreFirst = 10;
int FirstState(TskTitleBarBtnType type) {
    switch (type) {
    case skControlBox:
        return 1;
    case skHelp:
        return 4;
    case skMax:
        return 7;
    case skMin:
        return 13;
    case skClose:
        return 16;
    default:
        return 0;
    }
}

// Images are drawn 3 pixels up and left in a skinned form, so that their
// outer pixels fall into the window frame, which the form paints from them.
constexpr int kFrameOverlap = 3;
constexpr int kAppIconSize = 16;
constexpr int kAppIconGap = 3;
constexpr int kAppIconStep = 21;
constexpr int kControlBoxGap = 5;
constexpr int kDefaultCaptionLeft = 6;

// Caption colours of file themes whose item 27 holds one of these markers
// are dark.
bool DarkCaptionMarker(TColor value) {
    return value == 0x10000 || value == 0x40000 || value == 0x30000 || value == 0x50000;
}

// Whether an item of the collection already has the value that only one
// may have; if so, says so in an error box.
template <class Item, class Pred>
bool TakenByAnother(const TCollection* collection, Pred taken, const char* refusal) {
    for (int i = 0; collection && i < collection->Count(); ++i) {
        if (taken(*collection->ItemAs<Item>(i))) {
            MessageBoxA(nullptr, refusal, "Error", MB_OK | MB_ICONERROR);
            return true;
        }
    }
    return false;
}

QString ResourceText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The application's icon, else the program's own.
const TIcon& AppIcon() {
    static const std::unique_ptr<TIcon> icon = [] {
        auto i = std::make_unique<TIcon>();
        if (Application && !qApp->windowIcon().isNull()) {
            i->SetIcon(qApp->windowIcon());
        } else {
            try {
                i->LoadFromResourceName(QStringLiteral("MAINICON"));
            } catch (const Exception&) {
                // No icon: nothing is drawn.
            }
        }
        return i;
    }();
    return *icon;
}

} // namespace

// ---- TskTitleBarSection --------------------------------------------------------

TskTitleBarSection::TskTitleBarSection(TCollection* Collection)
    : TCollectionItem(Collection), m_picture(std::make_unique<TPicture>()) {
    m_picture->OnChange = [this] { PictureChanged(); };
}

TskTitleBarSection::~TskTitleBarSection() {
    m_picture->OnChange = nullptr;
}

void TskTitleBarSection::PictureChanged() {
    if (m_autoSize && !m_picture->Empty()) {
        m_width = m_picture->Width();
    }
    Changed();
}

void TskTitleBarSection::SetAutoSize(bool Value) {
    m_autoSize = Value;
    if (!m_picture->Empty()) {
        m_width = m_picture->Width();
    }
    Changed();
}

void TskTitleBarSection::SetWidth(int Value) {
    m_width = Value;
    Changed();
}

void TskTitleBarSection::SetAlign(TskTitleBarAlign Value) {
    if (Value == skClient &&
        TakenByAnother<TskTitleBarSection>(
            Collection(), [](const TskTitleBarSection& s) { return s.m_align == skClient; },
            "Sorry, only one section's Align property can be \"skClient\"")) {
        return;
    }
    m_align = Value;
    if (Value == skClient) {
        m_stretch = true;
    }
    Changed();
}

void TskTitleBarSection::SetPicture(const TPicture* Value) {
    if (Value) {
        m_picture->Assign(*Value);
    } else {
        m_picture->Clear();
    }
}

void TskTitleBarSection::SetStretch(bool Value) {
    m_stretch = Value || m_align == skClient;
    Changed();
}

void TskTitleBarSection::Assign(const TCollectionItem& Other) {
    const auto* o = qobject_cast<const TskTitleBarSection*>(&Other);
    if (!o) {
        return;
    }
    // Fields, not setters: a collection copied item by item may hold two
    // client sections for a moment.
    m_width = o->m_width;
    m_align = o->m_align;
    m_picture->Assign(*o->m_picture);
    m_stretch = o->m_stretch;
    m_autoSize = o->m_autoSize;
    Changed();
}

TskTitleBarSections::TskTitleBarSections(TskTitleBar* Owner)
    : TCollection(tk::CollectionItemFactory<TskTitleBarSection>(), Owner) {}

// ---- TskTitleBarButton ---------------------------------------------------------

TskTitleBarButton::TskTitleBarButton(TCollection* Collection)
    : TCollectionItem(Collection), m_picNormal(std::make_unique<TPicture>()),
      m_picMouseOn(std::make_unique<TPicture>()), m_picMouseDown(std::make_unique<TPicture>()) {
    for (TPicture* p : {m_picNormal.get(), m_picMouseOn.get(), m_picMouseDown.get()}) {
        p->OnChange = [this] { Changed(); };
    }
}

TskTitleBarButton::~TskTitleBarButton() {
    for (TPicture* p : {m_picNormal.get(), m_picMouseOn.get(), m_picMouseDown.get()}) {
        p->OnChange = nullptr;
    }
}

TskTitleBar* TskTitleBarButton::TitleBar() const {
    return Collection() ? qobject_cast<TskTitleBar*>(Collection()->parent()) : nullptr;
}

void TskTitleBarButton::SetUIStyle(TskUIStyle Value) {
    m_style = Value;
    LoadPictures();
}

void TskTitleBarButton::SetButtonType(TskTitleBarBtnType Value) {
    if (Value == skControlBox &&
        TakenByAnother<TskTitleBarButton>(
            Collection(), [](const TskTitleBarButton& b) { return b.m_type == skControlBox; },
            "Sorry, only one button's ButtonType property can be \"skControlBox\"")) {
        return;
    }
    m_type = Value;
    LoadPictures();
}

void TskTitleBarButton::SetTransparent(bool Value) {
    m_transparent = Value;
    Changed();
}

void TskTitleBarButton::SetTop(int Value) {
    m_top = Value;
    Changed();
}

void TskTitleBarButton::SetVisible(bool Value) {
    m_visible = Value;
    Changed();
}

void TskTitleBarButton::LoadStates(const TskThemeLink& Theme, int First) {
    TPicture* pictures[] = {m_picNormal.get(), m_picMouseOn.get(), m_picMouseDown.get()};
    for (int i = 0; i < 3; ++i) {
        TBitmap state;
        Theme.GetBitmap(siTitleBarButtonImage, &state, kStripStates, First + i);
        pictures[i]->Assign(state.Empty() ? nullptr : &state);
    }
}

void TskTitleBarButton::LoadPictures() {
    TskTitleBar* bar = TitleBar();
    TskThemeLink theme(nullptr, m_style);
    theme.SetFileTheme(bar ? bar->FileTheme() : nullptr);
    m_transparent = theme.GetBool(siTitleBarButtonTransparentBool);
    if (m_type != skCustom) {
        LoadStates(theme, FirstState(m_type));
    }
    m_top = theme.GetInt(siTitleBarButtonTopInt);
    LoadMaxPictures();
    Changed();
}

void TskTitleBarButton::LoadMaxPictures() {
    TskTitleBar* bar = TitleBar();
    if (m_type != skMax || !bar || bar->Custom()) {
        return;
    }
    TskThemeLink theme(nullptr, m_style);
    theme.SetFileTheme(bar->FileTheme());
    LoadStates(theme, bar->FormMaximized() ? kRestoreFirst : FirstState(skMax));
}

void TskTitleBarButton::Assign(const TCollectionItem& Other) {
    const auto* o = qobject_cast<const TskTitleBarButton*>(&Other);
    if (!o) {
        return;
    }
    m_visible = o->m_visible;
    m_type = o->m_type;
    m_transparent = o->m_transparent;
    m_top = o->m_top;
    m_style = o->m_style;
    m_picNormal->Assign(*o->m_picNormal);
    m_picMouseOn->Assign(*o->m_picMouseOn);
    m_picMouseDown->Assign(*o->m_picMouseDown);
    m_controlBoxMenu = o->m_controlBoxMenu;
    Changed();
}

TskTitleBarButtons::TskTitleBarButtons(TskTitleBar* Owner)
    : TCollection(tk::CollectionItemFactory<TskTitleBarButton>(), Owner) {}

// ---- TskTitleBarPopupMenu ------------------------------------------------------

TskTitleBarPopupMenu::TskTitleBarPopupMenu(TComponent* AOwner) : TskPopupMenu(AOwner) {
    SetAutoHotkeys(maAutomatic);
    m_minimize = AddItem(ResourceText(quenby::SK_TITLE_MENUITEM_MINIMIZE), [this](TObject*) {
        if (!m_titleBar) {
            return;
        }
        for (int i = 0; i < m_titleBar->Buttons()->Count(); ++i) {
            TskTitleBarButton* b = m_titleBar->Buttons()->Items(i);
            if (b->Visible() && b->ButtonType() == skMin) {
                m_titleBar->DoClick(b);
                return;
            }
        }
    });
    m_maximize = AddItem(ResourceText(quenby::SK_TITLE_MENUITEM_MAXIMIZE), [this](TObject*) {
        QPointer<TskTitleBar> bar = m_titleBar;
        for (int i = 0; bar && i < bar->Buttons()->Count(); ++i) {
            TskTitleBarButton* b = bar->Buttons()->Items(i);
            if (b->Visible() && b->ButtonType() == skMax) {
                bar->DoClick(b);
            }
        }
    });
    AddItem(QStringLiteral("-"), nullptr);
    m_close = AddItem(ResourceText(quenby::SK_TITLE_MENUITEM_CLOSE), [this](TObject*) {
        if (TCustomForm* form = m_titleBar ? m_titleBar->ParentForm() : nullptr) {
            form->Close();
        }
    });
    MenuAdded();
}

TMenuItem* TskTitleBarPopupMenu::AddItem(const QString& Caption, TNotifyEvent OnClick) {
    auto* item = new TMenuItem(this); // owned by the menu
    item->SetCaption(Caption);
    item->OnClick = std::move(OnClick);
    Items()->Add(item);
    return item;
}

void TskTitleBarPopupMenu::Popup(int X, int Y) {
    bool has[6] = {};
    if (m_titleBar) {
        for (int i = 0; i < m_titleBar->Buttons()->Count(); ++i) {
            const TskTitleBarButton* b = m_titleBar->Buttons()->Items(i);
            if (b->Visible()) {
                has[b->ButtonType()] = true;
            }
        }
    }
    m_minimize->SetEnabled(has[skMin]);
    m_maximize->SetEnabled(has[skMax]);
    m_close->SetEnabled(has[skClose]);
    TskPopupMenu::Popup(X, Y);
}

// ---- TskTitleBar ---------------------------------------------------------------

TskTitleBar::TskTitleBar(TComponent* AOwner)
    : TCustomPanel(AOwner), m_theme(this), m_sections(std::make_unique<TskTitleBarSections>(this)),
      m_buttons(std::make_unique<TskTitleBarButtons>(this)),
      m_systemMenu(new TskTitleBarPopupMenu(this)) {
    SetControlStyle(ControlStyle() & ~csAcceptsControls);
    SetBevelOuter(bvNone);
    m_systemMenu->SetTitleBar(this);
    m_sections->OnChange = [this] { Invalidate(); };
    m_buttons->OnChange = [this] { Invalidate(); };
    for (TskTitleBarBtnType type : {skControlBox, skClose, skMax, skMin}) {
        m_buttons->Add()->SetButtonType(type);
    }
    SetAlign(alTop);
    SetParentFont(false);
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetColor(clWhite);
    Font()->SetStyle(fsBold);
    PublishEvent("OnCustomBtnsClick", OnCustomBtnsClick);
    PublishEvent("OnHelpBtnClick", OnHelpBtnClick);
    SetUIStyle(GetSKFormStyle(AOwner));
}

TskTitleBar::~TskTitleBar() {
    m_sections->OnChange = nullptr;
    m_buttons->OnChange = nullptr;
    m_buttons->Clear();
    m_sections->Clear();
}

void TskTitleBar::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    ApplyStyle(true);
}

void TskTitleBar::SetFileTheme(TskFileTheme* Value) {
    m_theme.SetFileTheme(Value);
    ApplyStyle(false);
}

void TskTitleBar::AddStyleSections() {
    // Left, right, client: drawing goes by this order, not by Align.
    const std::array<std::pair<int, TskTitleBarAlign>, 3> images = {
        {{siTitleBarLeftImage, skLeft},
         {siTitleBarRightImage, skRight},
         {siTitleBarClientImage, skClient}}};
    for (const auto& [item, align] : images) {
        TskTitleBarSection* section = m_sections->Add();
        TBitmap image;
        m_theme.GetBitmap(item, &image);
        section->Picture()->Assign(image.Empty() ? nullptr : &image);
        if (align == skClient) {
            section->SetAlign(skClient);
        } else {
            section->SetAutoSize(true);
            section->SetAlign(align);
        }
    }
}

void TskTitleBar::ApplyStyle(bool CaptionColour) {
    if (m_custom) {
        return;
    }
    m_sections->BeginUpdate();
    m_sections->Clear();
    AddStyleSections();
    m_sections->EndUpdate();
    m_leftBtnXOffset = m_theme.GetInt(siTitleBarButtonLeftOffsetInt);
    m_rightBtnXOffset = m_theme.GetInt(siTitleBarButtonRightOffsetInt);
    TBitmap strip;
    m_theme.GetBitmap(siTitleBarButtonImage, &strip);
    m_captionCentreHeight = strip.Height();
    m_buttonTop = m_theme.GetInt(siTitleBarButtonTopInt) - (InForm() ? kFrameOverlap : 0);
    if (TCustomForm* form = ParentForm()) {
        form->Constraints()->SetMinWidth(m_theme.GetInt(siFormMinWidthInt));
    }
    m_roundCorner = m_theme.GetInt(siFormRoundCornerInt);
    for (int i = 0; i < m_buttons->Count(); ++i) {
        m_buttons->Items(i)->SetUIStyle(UIStyle());
    }
    m_systemMenu->SetUIStyle(UIStyle());
    m_systemMenu->SetFileTheme(FileTheme());
    if (CaptionColour) {
        const bool dark =
            UIStyle() == MacOS ||
            (m_theme.UsesFileTheme() && DarkCaptionMarker(m_theme.GetColor(siControlFontColor)));
        Font()->SetColor(dark ? clBlack : clWhite);
    }
    SetAutoSize(true);
    Invalidate();
}

void TskTitleBar::SetAutoSize(bool Value) {
    m_autoSize = Value;
    if (m_sections->Count() == 0) {
        m_autoSize = false;
        return;
    }
    const TPicture* left = m_sections->Items(0)->Picture();
    SetHeight(std::max(0, left->Height() - (InForm() ? kFrameOverlap : 0)));
}

void TskTitleBar::SetSections(const TskTitleBarSections* Value) {
    if (Value) {
        m_sections->Assign(*Value);
    }
}

void TskTitleBar::SetButtons(const TskTitleBarButtons* Value) {
    if (Value) {
        m_buttons->Assign(*Value);
    }
}

TPicture* TskTitleBar::SectionPicture(int Index) const {
    return Index < m_sections->Count() ? m_sections->Items(Index)->Picture() : nullptr;
}

bool TskTitleBar::CanPaint() const {
    if (m_sections->Count() != 3) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (m_sections->Items(i)->Picture()->Empty()) {
            return false;
        }
    }
    return true;
}

bool TskTitleBar::InForm() const {
    return qobject_cast<TskForm*>(Parent()) != nullptr || qobject_cast<TskMDIForm*>(Owner());
}

bool TskTitleBar::InMDIForm() const {
    return qobject_cast<TskMDIForm*>(Owner()) && Parent();
}

bool TskTitleBar::FormMaximized() const {
    const TCustomForm* form = ParentForm();
    return form && form->WindowState() == wsMaximized;
}

void TskTitleBar::ProcessMaxBtn() {
    for (int i = 0; i < m_buttons->Count(); ++i) {
        m_buttons->Items(i)->LoadMaxPictures();
    }
}

void TskTitleBar::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomPanel::Notification(AComponent, Operation);
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        SetUIStyle(DeepBlue);
    }
}

// ---- layout and painting -------------------------------------------------------

TskTitleBarLayout TskTitleBar::Layout(int Width) const {
    TskTitleBarLayout l;
    l.buttons.assign(static_cast<std::size_t>(m_buttons->Count()), TRect{});
    const int top = m_buttonTop;
    int x = Width + m_rightBtnXOffset + 1;
    for (int i = 0; i < m_buttons->Count(); ++i) {
        const TskTitleBarButton* b = m_buttons->Items(i);
        if (!b->Visible() || b->ButtonType() == skControlBox) {
            continue;
        }
        const int w = b->PicNormal()->Width();
        x -= w + m_buttonInterval + 1;
        l.buttons[static_cast<std::size_t>(i)] = Bounds(x, top, w, b->PicNormal()->Height());
    }
    l.captionRight = x;
    int xc = m_leftBtnXOffset;
    for (int i = 0; i < m_buttons->Count(); ++i) {
        const TskTitleBarButton* b = m_buttons->Items(i);
        if (!b->Visible() || b->ButtonType() != skControlBox) {
            continue;
        }
        const int w = b->PicNormal()->Width();
        l.buttons[static_cast<std::size_t>(i)] = Bounds(xc, top, w, b->PicNormal()->Height());
        l.controlBox = i;
        if (m_drawAppIcon) {
            l.appIcon = Bounds(xc + kAppIconGap, top, kAppIconSize, kAppIconSize);
            xc += kAppIconStep;
        } else {
            xc += w + kControlBoxGap;
        }
        break;
    }
    l.captionLeft = xc == 0 ? kDefaultCaptionLeft : xc;
    return l;
}

int TskTitleBar::ButtonAt(TPoint P) const {
    const TskTitleBarLayout l = Layout(Width());
    int found = -1;
    // Right-hand buttons in collection order, then the control box.
    for (int i = 0; i < static_cast<int>(l.buttons.size()); ++i) {
        const TRect& r = l.buttons[static_cast<std::size_t>(i)];
        if (i != l.controlBox && r.Width() > 0 && InRect(P, r)) {
            found = i;
        }
    }
    if (l.controlBox >= 0 && InRect(P, l.buttons[static_cast<std::size_t>(l.controlBox)])) {
        found = l.controlBox;
    }
    return found;
}

QString TskTitleBar::FitCaption(TCanvas* Canvas, const QString& Caption, int Room) {
    if (Canvas->TextWidth(Caption) <= Room) {
        return Caption;
    }
    const QString dots = QStringLiteral("...");
    QString text = Caption;
    while (!text.isEmpty() && Canvas->TextWidth(text + dots) > Room) {
        text.chop(1);
    }
    return text + dots;
}

void TskTitleBar::Paint() {
    TBitmap bitmap(Width(), Height());
    bitmap.Canvas()->Font()->Assign(*Font());
    bitmap.Canvas()->Brush()->SetStyle(bsClear);
    DrawSectionsTo(&bitmap);
    DrawButtons(&bitmap);
    Canvas()->Draw(0, 0, bitmap);
}

void TskTitleBar::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
}

void TskTitleBar::DrawSectionsTo(TBitmap* Bitmap) {
    const int d = InForm() ? -kFrameOverlap : 0;
    // An MDI frame's title images start one pixel further left.
    const int dx = InMDIForm() ? d - 1 : d;
    TCanvas* c = Bitmap->Canvas();
    const TPicture* left = SectionPicture(0);
    const TPicture* right = SectionPicture(1);
    const TPicture* client = SectionPicture(2);
    int xl = dx;
    if (left && !left->Empty()) {
        c->Draw(dx, d, *left->Graphic());
        xl = left->Width() + dx;
    }
    int xr = Bitmap->Width() - dx;
    if (right && !right->Empty()) {
        xr = Bitmap->Width() - right->Width() - dx;
        c->Draw(xr, d, *right->Graphic());
    }
    if (client && !client->Empty()) {
        c->StretchDraw(Rect(xl, d, xr, d + client->Height()), *client->Graphic());
    }
}

void TskTitleBar::DrawButtonPicture(TCanvas* Canvas, const TskTitleBarButton* Button,
                                    const TRect& Rect, bool Hover) const {
    const TPicture* picture = Button->PicNormal();
    if (Hover) {
        picture = m_pressed ? Button->PicMouseDown() : Button->PicMouseOn();
    }
    if (!picture || picture->Empty()) {
        return;
    }
    const auto* bitmap = dynamic_cast<const TBitmap*>(picture->Graphic());
    if (Button->Transparent() && bitmap) {
        // Keyed by the bottom-left pixel.
        TBitmap keyed;
        keyed.Assign(*bitmap);
        keyed.SetTransparent(true);
        Canvas->Draw(Rect.Left, Rect.Top, keyed);
        return;
    }
    Canvas->Draw(Rect.Left, Rect.Top, *picture->Graphic());
}

void TskTitleBar::DrawButtons(TBitmap* Bitmap) {
    TCanvas* c = Bitmap->Canvas();
    const TskTitleBarLayout l = Layout(Bitmap->Width());
    m_hover = m_pointerInside ? ButtonAt(m_pointer) : -1;
    for (int i = 0; i < m_buttons->Count(); ++i) {
        const TRect& r = l.buttons[static_cast<std::size_t>(i)];
        if (r.IsEmpty() || (i == l.controlBox && m_drawAppIcon)) {
            continue;
        }
        DrawButtonPicture(c, m_buttons->Items(i), r, i == m_hover);
    }
    if (l.controlBox >= 0 && m_drawAppIcon && !AppIcon().Empty()) {
        c->StretchDraw(l.appIcon, AppIcon());
    }
    DrawCaption(c, l);
}

void TskTitleBar::DrawCaption(TCanvas* Canvas, const TskTitleBarLayout& Layout) {
    Canvas->Font()->Assign(*Font());
    if (!m_formActive) {
        Canvas->Font()->SetColor(clInactiveCaption);
    }
    Canvas->Brush()->SetStyle(bsClear);
    const QString text = FitCaption(Canvas, m_caption, Layout.captionRight - Layout.captionLeft);
    const int y = m_buttonTop + (m_captionCentreHeight - Canvas->TextHeight(text)) / 2;
    Canvas->TextOut(Layout.captionLeft, y, text);
}

void TskTitleBar::CMFontChanged(TMessage& Message) {
    TCustomPanel::CMFontChanged(Message);
    Invalidate();
}

// ---- mouse ---------------------------------------------------------------------

void TskTitleBar::WndProc(TMessage& Message) {
    // Where the pointer is, for the hover pictures and for moving the window
    // (the window moves under the pointer, so its screen position is kept).
    if (Message.Msg >= WM_MOUSEMOVE && Message.Msg <= WM_MBUTTONUP) {
        m_pointer = {Message.XPos(), Message.YPos()};
        m_pointerInside = true;
        if (const auto* e = dynamic_cast<const QMouseEvent*>(Message.Event)) {
            const QPoint g = e->globalPosition().toPoint();
            m_lastGlobal = {g.x(), g.y()};
        } else {
            m_lastGlobal = ClientToScreen(m_pointer);
        }
    }
    TCustomPanel::WndProc(Message);
}

void TskTitleBar::CMMouseLeave(TMessage& Message) {
    TCustomPanel::CMMouseLeave(Message);
    m_pointerInside = false;
    Invalidate();
}

void TskTitleBar::StartMove(TPoint Global) {
    TCustomForm* form = ParentForm();
    if (!form || !form->HandleAllocated()) {
        return;
    }
    QWidget* window = form->Handle();
    if (QWidget* grabber = QWidget::mouseGrabber()) {
        grabber->releaseMouse();
    }
    if (QWindow* handle = window->windowHandle(); handle && handle->startSystemMove()) {
        return; // the window system moves the window with the pointer
    }
    // No window manager to ask (a bare X server, the offscreen platform):
    // the window follows the pointer until the button is released.
    m_moving = true;
    m_moveStart = Global;
    m_formStart = {form->Left(), form->Top()};
}

void TskTitleBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomPanel::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft) {
        return;
    }
    m_pressed = true;
    m_hover = ButtonAt({X, Y});
    Invalidate();
    if (m_hover < 0 && !FormMaximized()) {
        m_pressed = false;
        StartMove(m_lastGlobal);
    }
}

void TskTitleBar::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomPanel::MouseMove(Shift, X, Y);
    if (m_moving) {
        if (!(Shift & ssLeft)) {
            m_moving = false;
        } else if (TCustomForm* form = ParentForm()) {
            form->SetBounds(m_formStart.x + m_lastGlobal.x - m_moveStart.x,
                            m_formStart.y + m_lastGlobal.y - m_moveStart.y, form->Width(),
                            form->Height());
        }
        return;
    }
    const int hover = ButtonAt({X, Y});
    if (hover != m_hover) {
        m_hover = hover;
        Invalidate();
    }
}

void TskTitleBar::FireButtonEvent(int Index) {
    const TskTitleBarBtnType type = m_buttons->Items(Index)->ButtonType();
    if (type == skCustom && OnCustomBtnsClick) {
        OnCustomBtnsClick(this, Index);
    } else if (type == skHelp && OnHelpBtnClick) {
        OnHelpBtnClick(this, Index);
    }
}

void TskTitleBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft) {
        return;
    }
    if (m_moving) {
        m_moving = false;
        return;
    }
    QPointer<TskTitleBar> self(this);
    m_hover = ButtonAt({X, Y});
    if (m_hover >= 0) {
        TskTitleBarButton* b = m_buttons->Items(m_hover);
        const int index = m_hover;
        if (b->ButtonType() == skControlBox && !b->ControlBoxMenu()) {
            PopupSystemMenu();
        } else {
            DoClick(b);
            if (self) {
                FireButtonEvent(index);
            }
        }
    }
    if (self) {
        m_pressed = false;
        Invalidate();
    }
}

void TskTitleBar::DblClick() {
    TCustomPanel::DblClick();
    if (IsDesigning()) {
        return;
    }
    const int hover = ButtonAt(m_pointer);
    if (hover < 0) {
        for (int i = 0; i < m_buttons->Count(); ++i) {
            TskTitleBarButton* b = m_buttons->Items(i);
            if (b->Visible() && b->ButtonType() == skMax) {
                DoClick(b);
                return;
            }
        }
    } else if (m_buttons->Items(hover)->ButtonType() == skControlBox) {
        if (TCustomForm* form = ParentForm()) {
            form->Close();
        }
    }
}

void TskTitleBar::PopupSystemMenu() {
    const TPoint p = ClientToScreen({0, Height()});
    PopupSystemMenu(p.x, p.y);
}

void TskTitleBar::PopupSystemMenu(int X, int Y) {
    m_systemMenu->Popup(X, Y);
}

void TskTitleBar::DoClick(TskTitleBarButton* Button) {
    TCustomForm* form = ParentForm();
    if (!Button || !form) {
        return;
    }
    switch (Button->ButtonType()) {
    case skMax:
        if (form->WindowState() == wsMaximized) {
            form->SetWindowState(wsNormal);
        } else {
            form->SetWindowState(wsMaximized);
            if (!InForm()) {
                const TRect r = GetWorkAreaRect();
                form->SetBounds(r.Left, r.Top, r.Width(), r.Height() - 1);
            }
        }
        ProcessMaxBtn();
        break;
    case skMin:
        form->SetWindowState(wsMinimized);
        break;
    case skClose:
        form->Close();
        break;
    case skControlBox:
        if (TPopupMenu* menu = Button->ControlBoxMenu()) {
            const TPoint p = ClientToScreen({0, Height()});
            menu->Popup(p.x, p.y);
        }
        break;
    default:
        break; // help and custom buttons: the title bar fires their events
    }
}

} // namespace sk
