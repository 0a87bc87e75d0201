#include "skin/SKForm.h"

#include <optional>

#include <QWidget>

#include "platform/toolkit/MDI.h"
#include "platform/win32/Win32.h"
#include "skin/SKButton.h"
#include "skin/SKImagePanel.h"
#include "skin/SKMainMenu.h"
#include "skin/SKMenu.h"

namespace sk {

using namespace tk;

namespace {

// The frame band the host keeps around its client area once its caption is
// gone, the widest border that still leaves room for the form's colour, and
// the one corner the outline arcs are drawn for.
constexpr int kFrame = 3;
constexpr int kMaxColouredBorder = 3;
constexpr int kArcCorner = 11;
constexpr int kMinHostWidth = 125;
constexpr int kMinHostHeight = 50;
constexpr int kMenuBarHeight = 22;
constexpr TColor kDisabledText = 0x808080;

// Shared by every skinned form of the process: how often a host maximised
// from the start has been sized while maximised.
int g_maximizedSizes = 0;

bool HostMinimized(const TCustomForm* host) {
    return host->WindowState() == wsMinimized;
}

// A theme file marks dark and light menu bars in its control font colour;
// none when it marks neither.
std::optional<TColor> MarkedMenuBarColor(const TskThemeLink& theme) {
    const TColor marker = theme.GetColor(siControlFontColor);
    if (marker == 0x20000) {
        return 0xAC5B3B;
    }
    if (marker == 0x30000) {
        return 0x996733;
    }
    return std::nullopt;
}

} // namespace

// ---- frame decisions --------------------------------------------------------------

TskFramePlan PlanFormBorder(const TskFrameInput& In) {
    TskFramePlan plan;
    const int W = In.width;
    const int H = In.height;
    const int b = In.borderWidth;
    const int t = In.titleBarHeight;
    auto add = [&](TRect r, TColor c) { plan.bands.push_back({r, c}); };
    add(Rect(0, 0, b, H), In.borderColor);
    add(Rect(0, H - b, W, H), In.borderColor);
    add(Rect(W - b, 0, W, H), In.borderColor);
    if (b <= kMaxColouredBorder) {
        add(Rect(b, t, kFrame, H - b), In.color);
        add(Rect(b, H - kFrame, W - b, H - b), In.color);
        add(Rect(W - kFrame, t, W - b, H - b), In.color);
        if (In.menuBarHeight > 0) {
            const int top = t + kFrame;
            const int bottom = top + In.menuBarHeight;
            add(Rect(b, top, kFrame, bottom), In.menuBarColor);
            add(Rect(W - kFrame, top, W - b, bottom), In.menuBarColor);
        }
    }
    if (t > 0) {
        plan.continueTitle = In.titleBarCanPaint && b <= kMaxColouredBorder;
        plan.arcs = plan.continueTitle && b == 1 && In.roundCorner == kArcCorner;
    } else {
        add(Rect(0, 0, W, 1), In.borderColor);
        add(Rect(b, 1, W - b, kFrame), In.color);
    }
    return plan;
}

TRegion FormRegion(int Width, int Height, int R) {
    TRegion region = CreateRoundRectRgn(0, 0, Width + 1, Height + 1, R, R);
    // Only the top corners are round.
    CombineRgn(region, region, CreateRectRgn(0, Height - 2 * R, 2 * R, Height), RGN_OR);
    CombineRgn(region, region, CreateRectRgn(Width - 2 * R, Height - 2 * R, Width, Height), RGN_OR);
    return region;
}

// ---- what the skinned form and the MDI frame share --------------------------------

namespace {

// The title images run on into the frame band beside and above the title bar.
void ContinueTitleImages(TCanvas* Canvas, const TskTitleBar* TitleBar, int W, int b) {
    const TGraphic* left = TitleBar->GetLeftImage()->Graphic();
    const TGraphic* right = TitleBar->GetRightImage()->Graphic();
    const TGraphic* centre = TitleBar->GetCenterImage()->Graphic();
    // The sides beside the title bar's ends.
    TBitmap side(kFrame - b, left->Height());
    if (!side.Empty()) {
        side.Canvas()->Draw(0, 0, *left);
        Canvas->Draw(b, 0, side);
        if (right->Width() > 2) {
            side.Canvas()->Draw(2 - right->Width(), 0, *right);
        } else {
            side.Canvas()->StretchDraw(Rect(0, 0, side.Width(), side.Height()), *right);
        }
        Canvas->Draw(W - kFrame, 0, side);
    }
    // The top rows of the window.
    TBitmap top(W - 5, kFrame);
    if (top.Empty()) {
        return;
    }
    top.Canvas()->Draw(-2, 0, *left);
    const int x1 = left->Width() - 2;
    const int x2 = (W - 5) - right->Width() + 3;
    top.Canvas()->Draw(x2, 0, *right);
    top.Canvas()->StretchDraw(Rect(x1, 0, x2, centre->Height()), *centre);
    Canvas->Draw(2, 0, top);
}

// Paints a planned frame onto a canvas on the whole window.
void PaintFrame(TCanvas* Canvas, const TskFramePlan& Plan, const TskFrameInput& In,
                const TskTitleBar* TitleBar) {
    TCanvasState state(*Canvas);
    for (const TskFrameBand& band : Plan.bands) {
        Menu_DrawBackGround(Canvas, band.rect, band.color);
    }
    if (Plan.continueTitle && TitleBar) {
        ContinueTitleImages(Canvas, TitleBar, In.width, In.borderWidth);
    }
    if (Plan.arcs) {
        const int W = In.width;
        const int r = kArcCorner;
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(In.borderColor);
        Canvas->Arc(W - 2 * r + 1, -1, W + 1, 2 * r - 1, W + 1, r - 1, W - r + 1, -1);
        Canvas->Arc(-1, -1, 2 * r - 1, 2 * r - 1, r - 1, -1, -1, r - 1);
    }
}

void DrawMenuBarFace(TToolBar* Bar, const TRect& Rect, TskUIStyle Style) {
    if (Style == MacOS) {
        const TBitmap& face = GetNamedSkinBitmap("MACOS_MENU_BAR");
        StretchTopRows(Bar->Canvas(), Rect, face, face.Height());
    }
}

// One top-level item of a skinned menu bar: hot or dropped down in the
// selection colours, otherwise its caption alone (grey when disabled, if
// GreyDisabled). FontMenu, when there is one, gives the caption font.
void DrawMenuBarItem(TToolBar* Bar, TToolButton* Button, TCustomDrawState State,
                     const TskThemeLink& Theme, const TskMainMenu* FontMenu, bool GreyDisabled) {
    TCanvas* c = Bar->Canvas();
    TFont* font = c->Font();
    font->Assign(*Bar->Font());
    if (FontMenu) {
        FontMenu->CaptionFont(*font);
    }
    const QString caption = Button->Caption();
    const UINT flags = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    TRect r = Button->BoundsRect();
    const bool selected = (State & cdsSelected) != 0;
    c->Brush()->SetStyle(bsClear);
    if ((State & cdsHot) || selected) {
        if (Theme.UsedStyle() == MacOS) {
            TBitmap face(r.Width(), r.Height());
            StretchTopRows(face.Canvas(), Rect(0, 0, r.Width(), r.Height()),
                           GetNamedSkinBitmap("MACOS_MENU_SELECT"),
                           GetNamedSkinBitmap("MACOS_MENU_SELECT").Height());
            face.Canvas()->Font()->Assign(*font);
            face.Canvas()->Font()->SetColor(Theme.GetColor(siMenuSelectedFontColor));
            face.Canvas()->Brush()->SetStyle(bsClear);
            TRect text = Rect(0, 0, r.Width(), r.Height() + 2);
            face.Canvas()->DrawText(caption, text, flags);
            c->Draw(r.Left, r.Top, face);
            return;
        }
        if (selected) {
            r.Right -= 2;
        }
        Menu_DrawBackGround(c, r, Theme.GetColor(siMenuSelectedBackgroundColor));
        Menu_DrawBorder(c, r, Theme.GetColor(siMenuSelectedBorderColor));
        if (selected) {
            OffsetRect(r, 2, 0);
        }
        OffsetRect(r, 0, 2);
        c->Brush()->SetStyle(bsClear);
        font->SetColor(Theme.GetColor(siMenuSelectedFontColor));
        c->DrawText(caption, r, flags);
        return;
    }
    OffsetRect(r, 0, 2);
    TColor ink = Theme.GetColor(siMenuFontColor);
    if (Theme.UsesFileTheme() && Theme.GetColor(siControlFontColor) == 0x30000) {
        ink = clWhite;
    }
    font->SetColor(Button->Enabled() || !GreyDisabled ? ink : kDisabledText);
    c->DrawText(caption, r, flags);
}

// The first skinned form among a form's direct child controls.
TskForm* FirstSkinnedForm(const TCustomForm* Form) {
    for (TControl* c : Form->ControlList()) {
        if (auto* skinned = qobject_cast<TskForm*>(c)) {
            return skinned;
        }
    }
    return nullptr;
}

} // namespace

// ---- the host, as both frames take it over ----------------------------------------

void TskFrameHost::HookHost(TCustomForm* Host) {
    m_host = Host;
    const TFormBorderStyle style = Host->BorderStyle();
    if (style == bsNone || style == bsSingle || style == bsToolWindow) {
        Host->SetBorderStyle(bsDialog);
    }
    const int clientWidth = Host->ClientWidth();
    const int clientHeight = Host->ClientHeight();
    Host->SetWindowCaption(false);
    Host->SetAutoScroll(false);
    m_oldWndProc = Host->WindowProc;
    Host->WindowProc = [this](TMessage& m) { HostWndProc(m); };
    if (Application && !Application->OnMessage) {
        Application->OnMessage = [this](TMsg& Msg, bool& Handled) {
            OnApplicationMessage(Msg, Handled);
        };
        m_hookedApplication = true;
    }
    Host->RefreshFrame();
    Host->SetClientWidth(clientWidth);
    Host->SetClientHeight(clientHeight);
}

void TskFrameHost::UnhookHost() {
    m_destroying = true;
    if (m_host) {
        if (m_oldWndProc) {
            m_host->WindowProc = m_oldWndProc;
            m_oldWndProc = nullptr;
        }
        if (!m_host->IsDestroying()) {
            m_host->SetWindowCaption(true);
            m_host->RefreshFrame();
            if (m_host->HandleAllocated()) {
                m_host->Handle()->clearMask();
            }
        }
    }
    if (m_hookedApplication && Application) {
        Application->OnMessage = nullptr;
    }
    m_hookedApplication = false;
}

void TskFrameHost::ShapeHost(int R) {
    if (!m_host || !m_host->HandleAllocated()) {
        return;
    }
    TRegion region = FormRegion(m_host->Width(), m_host->Height(), R);
    if (region == m_region && !m_region.IsEmpty()) {
        return; // sizes come again and again while the window is dragged
    }
    m_region = std::move(region);
    m_host->Handle()->setMask(m_region.ToQ());
}

void TskFrameHost::InvalidateHostFrame() {
    if (!m_host || !m_host->HandleAllocated()) {
        return;
    }
    QWidget* window = m_host->Handle();
    QRegion band(window->rect());
    if (const QWidget* client = m_host->ClientWidget(); client && client != window) {
        band -= QRegion(client->geometry());
    }
    window->update(band);
}

void TskFrameHost::HostWndProc(TMessage& Message) {
    // Going away: the host hears nothing until its own procedure is back.
    if (m_destroying) {
        return;
    }
    QPointer<TComponent> self(FrameComponent());
    if (Message.Msg != WM_NCPAINT && m_oldWndProc) {
        m_oldWndProc(Message);
        if (!self || m_destroying || !m_host) {
            return;
        }
    }
    switch (Message.Msg) {
    case WM_KEYDOWN:
        ProcessKeyPress(Message);
        break;
    case WM_ACTIVATE:
        if (TskTitleBar* bar = FrameTitleBar()) {
            bar->SetActive((Message.WParam & 0xFFFF) != 0);
        }
        break;
    case WM_NCPAINT:
        if (HostMinimized(m_host) && m_oldWndProc) {
            m_oldWndProc(Message);
        } else {
            PaintFormBorder(reinterpret_cast<TCanvas*>(Message.WParam));
        }
        break;
    case CM_RECREATEWND:
        if (m_host->HasWindowCaption()) {
            m_host->SetWindowCaption(false);
            m_host->RefreshFrame();
        }
        break;
    case WM_SIZE:
        HostSized();
        break;
    default:
        OtherHostMessage(Message);
        break;
    }
}

void TskFrameHost::OnApplicationMessage(TMsg& Msg, bool& Handled) {
    if (m_destroying) {
        return;
    }
    if (Msg.message != WM_KEYDOWN) {
        ApplicationMessage(Msg, Handled);
        return;
    }
    TMessage m;
    m.Msg = WM_KEYDOWN;
    m.WParam = Msg.wParam;
    m.LParam = Msg.lParam;
    ProcessKeyPress(m);
    Handled = m.Result != 0;
}

void TskFrameHost::SetFrameCaption(const QString& Value) {
    if (TskTitleBar* bar = FrameTitleBar()) {
        bar->SetCaption(Value);
    }
    if (m_host) {
        m_host->SetCaption(Value);
    }
}

void TskFrameHost::SetTitleBarVisible(bool Value) {
    if (Value == m_titleBarVisible) {
        return;
    }
    m_titleBarVisible = Value;
    if (TskTitleBar* bar = FrameTitleBar()) {
        bar->SetVisible(Value);
        TitleBarToTop();
    }
    InvalidateHostFrame();
    RegionWindow();
}

bool TskFrameHost::TitleBarCustom() const {
    return FrameTitleBar() && FrameTitleBar()->Custom();
}

void TskFrameHost::SetTitleBarCustom(bool Value) {
    if (TskTitleBar* bar = FrameTitleBar()) {
        bar->SetCustom(Value);
    }
}

bool TskFrameHost::TitleBarDrawAppIcon() const {
    return FrameTitleBar() && FrameTitleBar()->DrawAppIcon();
}

void TskFrameHost::SetTitleBarDrawAppIcon(bool Value) {
    if (TskTitleBar* bar = FrameTitleBar()) {
        bar->SetDrawAppIcon(Value);
    }
}

TskTitleBarButtons* TskFrameHost::TitleBarButtons() const {
    return FrameTitleBar() ? FrameTitleBar()->Buttons() : nullptr;
}

TskTitleBarSections* TskFrameHost::TitleBarSections() const {
    return FrameTitleBar() ? FrameTitleBar()->Sections() : nullptr;
}

// ---- construction -----------------------------------------------------------------

TskForm::TskForm(TComponent* AOwner) : TCustomPanel(AOwner), m_theme(this, DeepBlue) {
    PublishEvent("OnTitleBarCustomBtnsClick", OnTitleBarCustomBtnsClick);
    PublishEvent("OnTitleBarHelpBtnClick", OnTitleBarHelpBtnClick);
    auto* host = qobject_cast<TCustomForm*>(AOwner);
    if (!host) {
        return;
    }
    // Only the first skinned form of a form takes it over.
    for (const TControl* c : host->ControlList()) {
        if (qobject_cast<const TskForm*>(c)) {
            return;
        }
    }
    TakeOver(host);
}

void TskForm::TakeOver(TCustomForm* Host) {
    m_host = Host;
    for (TSizeConstraints* limits : {Host->Constraints(), Constraints()}) {
        limits->SetMinHeight(kMinHostHeight);
        limits->SetMinWidth(kMinHostWidth);
    }
    m_hostBounds = Host->BoundsRect();
    m_hostMaximized = Host->WindowState() == wsMaximized;

    m_titleBar = new TskTitleBar(this); // owned by this form
    m_titleBar->SetParent(this);
    m_titleBar->OnCustomBtnsClick = [this](TObject* Sender, int Index) {
        if (OnTitleBarCustomBtnsClick) {
            OnTitleBarCustomBtnsClick(Sender, Index);
        }
    };
    m_titleBar->OnHelpBtnClick = [this](TObject* Sender, int Index) {
        if (OnTitleBarHelpBtnClick) {
            OnTitleBarHelpBtnClick(Sender, Index);
        }
    };
    m_menuBarColor = Color();
    m_menuBarHeight = kMenuBarHeight;

    // On the host before the style, so the title bar knows its form.
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetAlign(alClient);
    SetParent(Host);
    SetUIStyle(DeepBlue);
    m_autoUpdateSub = false;

    SetCaption(Host->Caption());
    m_titleBarVisible = true;
    TControl::SetCaption(QStringLiteral(" "));

    Host->SetScaled(false);
    HookHost(Host);
    RegionWindow();
}

TskForm::~TskForm() {
    if (!m_destroying) {
        Release();
    }
    // The bars go before the panel they sit on.
    for (TComponent* bar :
         {static_cast<TComponent*>(m_menuBar), static_cast<TComponent*>(m_titleBar)}) {
        if (bar) {
            bar->Free();
        }
    }
}

void TskForm::Release() {
    if (auto* menu = SkinnedMenu(); menu && menu->LinkedForm() == this) {
        menu->SetLinkedForm(nullptr);
    }
    UnhookHost();
}

void TskForm::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || !AComponent) {
        return;
    }
    if (AComponent == m_titleBar) {
        m_titleBar = nullptr;
    }
    if (AComponent == m_menuBar) {
        m_menuBar = nullptr;
    }
    m_formPanel.Removed(AComponent, Operation);
    if (m_menu.Removed(AComponent, Operation)) {
        DestroyMenuBar();
    }
    if (AComponent == this && !m_destroying) {
        Release();
    }
    if (m_theme.ThemeRemoved(AComponent, Operation)) {
        ContainerApplyUIStyle(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}

// ---- style and properties ---------------------------------------------------------

void TskForm::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    m_borderColor = m_theme.GetColor(siFormBorderColor);
    m_borderWidth = m_theme.GetInt(siFormBorderWidthInt);
    SetColor(m_theme.GetColor(siFormBackgroundColor));
    if (!m_theme.UsesFileTheme()) {
        SetMenuBarColor(Color());
    } else if (m_menuBar) {
        if (const auto marked = MarkedMenuBarColor(m_theme)) {
            m_menuBar->SetColor(*marked);
        } else {
            SetMenuBarColor(Color());
        }
    }
    SetRoundCorner(m_theme.GetInt(siFormRoundCornerInt));
    if (m_titleBar) {
        m_titleBar->SetFileTheme(FileTheme());
        m_titleBar->SetUIStyle(Value);
    }
    if (TskMainMenu* menu = SkinnedMenu()) {
        menu->SetUIStyle(Value);
        menu->SetFileTheme(FileTheme());
    }
    if (m_autoUpdateSub) {
        ContainerApplyUIStyle(this, Value, FileTheme());
    }
    Invalidate();
    InvalidateHostFrame();
}

void TskForm::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(UIStyle());
    }
}

void TskForm::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    InvalidateHostFrame();
}

void TskForm::SetBorderWidth(int Value) {
    m_borderWidth = Value;
    InvalidateHostFrame();
}

QString TskForm::Caption() const {
    return m_titleBar ? m_titleBar->Caption() : QString();
}

void TskForm::SetCaption(const QString& Value) {
    SetFrameCaption(Value);
}

void TskForm::SetPanel(TCustomPanel* Value) {
    if (Value == this) {
        MessageBoxA(nullptr, "Sorry, you can't select the Form assign to FormPanel property",
                    "Error", MB_OK | MB_ICONERROR);
        return;
    }
    m_formPanel.Set(Value);
    if (!Value) {
        return;
    }
    Value->SetAlign(alClient);
    if (qobject_cast<TPanel*>(Value)) {
        Value->SetBevelOuter(bvNone);
        Value->SetBevelInner(bvNone);
        Value->SetBorderStyle(bsNone);
        Value->SetCaption(QString());
    } else if (qobject_cast<TskImagePanel*>(Value)) {
        Value->SetCaption(QString());
    }
}

TFont* TskForm::TitleFont() const {
    return m_titleBar ? m_titleBar->Font() : nullptr;
}

void TskForm::SetTitleFont(TFont* Value) {
    if (m_titleBar && Value) {
        m_titleBar->Font()->Assign(*Value);
    }
}

int TskForm::RoundCorner() const {
    return m_titleBar ? m_titleBar->RoundCorner() : 0;
}

void TskForm::SetRoundCorner(int Value) {
    if (m_titleBar) {
        m_titleBar->SetRoundCorner(Value);
    }
    RegionWindow();
}

int TskForm::GetTitleBarHeight() const {
    return m_titleBar && m_titleBar->Visible() ? m_titleBar->Height() : 0;
}

int TskForm::GetRoundCorner() const {
    return m_titleBar && m_titleBar->Visible() ? m_titleBar->RoundCorner() : 0;
}

void TskForm::TitleBarToTop() {
    // The first of the top-aligned controls is the one with the smallest top.
    if (m_titleBar && m_titleBar->Visible()) {
        m_titleBar->SetTop(-1);
    }
}

void TskForm::Resize() {
    TCustomPanel::Resize();
    if (m_titleBar && m_titleBar->Top() != 0) {
        TitleBarToTop();
    }
}

// ---- the host's messages ----------------------------------------------------------

void TskForm::OtherHostMessage(TMessage& Message) {
    if (Message.Msg == WM_SHOWWINDOW) {
        // The native menu bar is never shown.
        m_host->SetMenu(nullptr);
    }
}

void TskForm::HostSized() {
    const bool maximized = m_host->WindowState() == wsMaximized;
    if (maximized && IsDesigning()) {
        return;
    }
    if (m_hostMaximized) {
        if (!maximized) {
            m_host->RestoreNormalBounds(m_hostBounds);
            m_hostMaximized = false;
        } else if (g_maximizedSizes == 2) {
            m_host->SetWindowState(wsMaximized);
        } else {
            ++g_maximizedSizes;
        }
    }
    if (maximized && m_host->FormStyle() != fsMDIChild) {
        // One row short of the work area, so that a task bar set to hide
        // itself still comes up when the pointer reaches the bottom.
        const TRect area = GetWorkAreaRect();
        m_host->SetBounds(area.Left, area.Top, area.Width(), area.Height() - 1);
    }
    InvalidateHostFrame();
    if (m_titleBar) {
        m_titleBar->ProcessMaxBtn();
        if (m_host->FormStyle() == fsMDIChild) {
            MDIChildSized(maximized);
        }
    }
    RegionWindow();
}

void TskForm::MDIChildSized(bool Maximized) {
    // A maximised child's caption is its frame's, which shows the child's
    // buttons on its menu bar; what sat under the title bar moves up into
    // its place (the three pixels of the frame band aside), and back down.
    if (Maximized == m_maximizedInFrame || (Maximized && !m_titleBarVisible)) {
        return;
    }
    m_maximizedInFrame = Maximized;
    const int dy = Maximized ? -(m_titleBar->Height() - kFrame) : m_scrolled;
    m_titleBar->SetVisible(!Maximized);
    for (TControl* c : std::vector<TControl*>(ControlList())) {
        if (c != m_titleBar && c != m_menuBar && c->Align() == alNone) {
            c->SetTop(c->Top() + dy);
        }
    }
    m_scrolled = Maximized ? -dy : 0;
    TitleBarToTop();
}

void TskForm::ProcessKeyPress(TMessage& Message) {
    if (m_destroying) {
        return;
    }
    const auto key = static_cast<unsigned>(Message.WParam);
    const auto shift = static_cast<TShiftState>(Message.LParam);
    TMainMenu* menu = m_menu;
    Message.Result =
        m_host && FormHasFocus(m_host) && m_host->Active() && menu && menu->IsShortCut(key, shift);
}

void TskForm::ApplicationMessage(TMsg& Msg, bool& Handled) {
    // Alt+Space: the skinned system menu.
    if (Msg.message == WM_SYSCHAR && Msg.wParam == u' ') {
        if (m_titleBar) {
            const TCustomForm* main =
                Application->MainForm() ? Application->MainForm() : m_host.data();
            m_titleBar->PopupSystemMenu(main->Left(), main->Top() + GetTitleBarHeight());
        }
        Handled = true;
    }
}

// ---- shape and frame ------------------------------------------------------------

void TskForm::RegionWindow() {
    if (!IsDesigning()) {
        ShapeHost(GetRoundCorner());
    }
}

void TskForm::PaintFormBorder(TCanvas* WindowCanvas) {
    if (m_destroying || !WindowCanvas || !m_host || !m_host->HandleAllocated() ||
        HostMinimized(m_host)) {
        return;
    }
    TskFrameInput in;
    in.width = m_host->Width();
    in.height = m_host->Height();
    in.borderWidth = m_borderWidth;
    in.borderColor = m_borderColor;
    in.color = Color();
    in.titleBarHeight = GetTitleBarHeight();
    in.titleBarCanPaint = m_titleBar && m_titleBar->CanPaint();
    in.menuBarHeight = m_menuBar && m_menuBar->Visible() ? m_menuBar->Height() : 0;
    in.menuBarColor = m_menuBar ? m_menuBar->Color() : m_menuBarColor;
    in.roundCorner = GetRoundCorner();
    PaintFrame(WindowCanvas, PlanFormBorder(in), in, m_titleBar);
}

void TskForm::Paint() {
    if (m_destroying) {
        return;
    }
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    Menu_DrawBackGround(c, r, Color());
    const TskUIStyle used = m_theme.UsedStyle();
    if (used != MacOS && used != Protein) {
        return;
    }
    const TBitmap& tile =
        GetNamedSkinBitmap(used == MacOS ? "MACOS_FORM_BACKGROUND" : "PROTEIN_FORM_BACKGROUND");
    if (tile.Empty()) {
        return;
    }
    TBitmap face(r.Width(), r.Height());
    face.Canvas()->Brush()->SetBitmap(&tile);
    face.Canvas()->FillRect(r);
    c->Draw(0, 0, face);
}

void TskForm::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 1;
}

void TskForm::CMColorChanged(TMessage& Message) {
    TCustomPanel::CMColorChanged(Message);
    InvalidateHostFrame();
}

// ---- the menu bar -----------------------------------------------------------------

TskMainMenu* TskForm::SkinnedMenu() const {
    return qobject_cast<TskMainMenu*>(m_menu.Get());
}

const TskThemeLink& TskForm::MenuTheme() const {
    if (const TskMainMenu* menu = SkinnedMenu()) {
        return menu->Theme();
    }
    return m_theme;
}

void TskForm::SetMenu(TMainMenu* Value) {
    if (TskMainMenu* old = SkinnedMenu(); old && old->LinkedForm() == this) {
        old->SetLinkedForm(nullptr);
    }
    m_menu.Set(Value);
    if (TskMainMenu* menu = SkinnedMenu()) {
        menu->SetLinkedForm(this);
    }
    if (!m_menu) {
        DestroyMenuBar();
        return;
    }
    CreateMenuBar();
    UpdateMenu();
    RepaintMenuBar();
}

void TskForm::CreateMenuBar() {
    if (m_menuBar || !m_host || m_host->FormStyle() == fsMDIChild) {
        return;
    }
    auto* bar = new TToolBar(this); // owned by this form
    bar->SetFlat(true);
    bar->SetEdgeBorders({});
    bar->SetShowCaptions(true);
    bar->SetButtonHeight(m_menuBarHeight);
    bar->SetHeight(m_menuBarHeight);
    bar->SetColor(m_menuBarColor);
    bar->SetWrapable(true);
    bar->SetAutoSize(true);
    bar->SetTop(GetTitleBarHeight());
    bar->OnCustomDraw = [this](TToolBar* Bar, const TRect& Rect, bool& DefaultDraw) {
        DrawMenuBar(Bar, Rect, DefaultDraw);
    };
    bar->OnCustomDrawButton = [this](TToolBar* Bar, TToolButton* Button, TCustomDrawState State,
                                     bool& DefaultDraw) {
        DrawButton(Bar, Button, State, DefaultDraw);
    };
    m_menuBar = bar;
    bar->SetParent(this);
    TitleBarToTop();
}

void TskForm::DestroyMenuBar() {
    if (m_menuBar && !(m_host && m_host->FormStyle() == fsMDIChild)) {
        TToolBar* bar = m_menuBar;
        m_menuBar = nullptr;
        bar->Free();
    }
    m_menu.Set(nullptr);
    InvalidateHostFrame();
}

void TskForm::UpdateMenu() {
    if (!m_menu) {
        DestroyMenuBar();
        return;
    }
    if (!m_menuBar) {
        return;
    }
    m_menuBar->SetAutoSize(false);
    while (m_menuBar->ButtonCount() > 0) {
        m_menuBar->Buttons(m_menuBar->ButtonCount() - 1)->Free();
    }
    TMenuItem* items = m_menu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        auto* button = new TToolButton(m_menuBar); // owned by the bar
        button->SetGrouped(true);
        button->SetAutoSize(true);
        button->SetMenuItem(items->Items(i));
        button->SetVisible(items->Items(i)->Visible());
        button->SetParent(m_menuBar);
    }
    m_menuBar->SetAutoSize(true);
    InvalidateHostFrame();
}

void TskForm::UpdateTopMenu() {
    if (!m_menuBar) {
        return;
    }
    for (int i = 0; i < m_menuBar->ButtonCount(); ++i) {
        TToolButton* button = m_menuBar->Buttons(i);
        if (const TMenuItem* item = button->MenuItem()) {
            button->SetCaption(item->Caption());
            button->SetEnabled(item->Enabled());
        }
    }
}

void TskForm::RepaintMenuBar() {
    if (!m_menuBar || !m_menu) {
        return;
    }
    if (SkinnedMenu()) {
        TFont font;
        font.Assign(*m_menuBar->Font());
        SkinnedMenu()->CaptionFont(font);
        m_menuBar->Font()->Assign(font);
    }
    m_menuBar->Invalidate();
}

void TskForm::SetMenuBarColor(TColor Value) {
    m_menuBarColor = Value;
    if (m_menuBar) {
        m_menuBar->SetColor(Value);
    }
    InvalidateHostFrame();
}

void TskForm::SetMenuBarHeight(int Value) {
    m_menuBarHeight = Value;
    if (m_menuBar) {
        m_menuBar->SetHeight(Value);
        m_menuBar->SetButtonHeight(Value);
    }
    InvalidateHostFrame();
}

void TskForm::DrawMenuBar(TToolBar* Bar, const TRect& Rect, bool& /*DefaultDraw*/) {
    DrawMenuBarFace(Bar, Rect, MenuTheme().UsedStyle());
}

void TskForm::DrawButton(TToolBar* Bar, TToolButton* Button, TCustomDrawState State,
                         bool& DefaultDraw) {
    DefaultDraw = false;
    DrawMenuBarItem(Bar, Button, State, MenuTheme(), SkinnedMenu(), true);
}

// ---- the MDI frame ------------------------------------------------------------------

namespace {

constexpr int kControlButtonSize = 16;
// Right edges of the child buttons (close, restore, minimise), from the
// panel's right edge, and their top.
constexpr int kControlButtonRight[3] = {20, 38, 56};
constexpr int kControlButtonTop = 1;
constexpr int kCascadeStep = 22;

TMDIClient* FindMDIClient(const TCustomForm* Form) {
    for (TControl* c : Form->ControlList()) {
        if (auto* client = qobject_cast<TMDIClient*>(c)) {
            return client;
        }
    }
    return nullptr;
}

bool HasVisibleButton(const TskTitleBar* TitleBar, TskTitleBarBtnType Type) {
    const TskTitleBarButtons* buttons = TitleBar->Buttons();
    for (int i = 0; i < buttons->Count(); ++i) {
        if (buttons->Items(i)->ButtonType() == Type && buttons->Items(i)->Visible()) {
            return true;
        }
    }
    return false;
}

} // namespace

TskMDIForm::TskMDIForm(TComponent* AOwner) : TComponent(AOwner), m_theme(this, DeepBlue) {
    m_host = qobject_cast<TCustomForm*>(AOwner);
    if (!m_host) {
        throw Exception(QStringLiteral("Sorry, TskMDIForm must be placed on a form"));
    }
    TakeOver();
}

void TskMDIForm::TakeOver() {
    TCustomForm* host = m_host;
    host->Constraints()->SetMinHeight(kMinHostHeight);
    host->Constraints()->SetMinWidth(kMinHostWidth);
    host->SetMenu(nullptr);

    m_titleBar = new TskTitleBar(this); // owned by this component, on the host
    m_titleBar->SetParent(host);
    m_titleBar->SetBounds(0, 0, host->ClientWidth(), m_titleBar->Height());
    m_titleBar->SetCaption(host->Caption());
    m_titleBar->OnResize = [](TObject*) {};

    m_drawChildCaptions = true;
    m_drawChildMenus = true;
    CreateMenuBar();
    UpdateMenu();
    SetUIStyle(DeepBlue);

    m_client = FindMDIClient(host);
    if (m_client) {
        m_oldClientProc = m_client->WindowProc;
        m_client->WindowProc = [this](TMessage& m) { ClientWndProc(m); };
    }
    HookHost(host);
    RegionWindow();
}

TskMDIForm::~TskMDIForm() {
    if (!m_destroying) {
        Release();
    }
    // The child buttons and the bar before the panel they sit on.
    for (TComponent* c :
         {static_cast<TComponent*>(m_buttons[0]), static_cast<TComponent*>(m_buttons[1]),
          static_cast<TComponent*>(m_buttons[2]), static_cast<TComponent*>(m_menuBar),
          static_cast<TComponent*>(m_topPanel), static_cast<TComponent*>(m_titleBar)}) {
        if (c) {
            c->Free();
        }
    }
}

void TskMDIForm::Release() {
    if (m_client && m_oldClientProc) {
        m_client->WindowProc = m_oldClientProc;
    }
    m_oldClientProc = nullptr;
    UnhookHost();
}

void TskMDIForm::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opInsert) {
        TitleBarToTop();
        return;
    }
    if (!AComponent) {
        return;
    }
    if (AComponent == m_titleBar) {
        m_titleBar = nullptr;
    }
    if (AComponent == m_menuBar) {
        m_menuBar = nullptr;
    }
    if (AComponent == m_topPanel) {
        m_topPanel = nullptr;
    }
    for (TskToolBarSpeedButton*& b : m_buttons) {
        if (AComponent == b) {
            b = nullptr;
        }
    }
    const bool shownGoes = AComponent == m_shownMenu.data();
    m_menu.Removed(AComponent, Operation);
    if (shownGoes) {
        m_shownMenu = nullptr;
        if (!m_destroying) {
            UpdateMenu();
        }
    }
    if (AComponent == this && !m_destroying) {
        Release();
    }
    if (m_theme.ThemeRemoved(AComponent, Operation) && !m_destroying) {
        SetUIStyle(DeepBlue);
    }
}

// ---- the menu bar -----------------------------------------------------------------

void TskMDIForm::CreateMenuBar() {
    if (m_topPanel) {
        return;
    }
    auto* panel = new TPanel(this); // owned by this component, on the host
    panel->SetBevelOuter(bvNone);
    panel->SetBevelInner(bvNone);
    panel->SetAlign(alTop);
    panel->SetVisible(false);
    panel->SetParent(m_host);
    panel->OnResize = [this](TObject*) { PlaceControlButtons(); };
    m_topPanel = panel;

    auto* bar = new TToolBar(this); // owned by this component, on the panel
    bar->SetFlat(true);
    bar->SetEdgeBorders({});
    bar->SetShowCaptions(true);
    bar->SetAutoSize(true);
    bar->OnCustomDraw = [this](TToolBar* Bar, const TRect& Rect, bool& DefaultDraw) {
        DrawMenuBar(Bar, Rect, DefaultDraw);
    };
    bar->OnCustomDrawButton = [this](TToolBar* Bar, TToolButton* Button, TCustomDrawState State,
                                     bool& DefaultDraw) {
        DrawButton(Bar, Button, State, DefaultDraw);
    };
    bar->SetParent(panel);
    m_menuBar = bar;
    TitleBarToTop();
    if (IsDesigning()) {
        return;
    }
    const TBitmap& glyphs = GetNamedSkinBitmap("MDI_CONTROL_BUTTON");
    for (int i = 0; i < 3; ++i) {
        auto* button = new TskToolBarSpeedButton(this); // owned by this component
        TBitmap glyph;
        if (!glyphs.Empty()) {
            SpitBitmap(&glyphs, &glyph, 3, 3 - i); // close, restore, minimise
        }
        button->SetGlyph(&glyph);
        button->SetParent(panel);
        button->SetVisible(false);
        button->OnClick = [this, i](TObject*) { ControlButtonClick(i + 1); };
        m_buttons[i] = button;
    }
    PlaceControlButtons();
}

TskToolBarSpeedButton* TskMDIForm::ControlButton(int Index) const {
    return Index >= 1 && Index <= 3 ? m_buttons[Index - 1] : nullptr;
}

void TskMDIForm::PlaceControlButtons() {
    // Kept at the panel's top right as it resizes.
    for (int i = 0; i < 3; ++i) {
        if (TskToolBarSpeedButton* b = m_buttons[i]) {
            b->SetBounds(m_topPanel->Width() - kControlButtonRight[i], kControlButtonTop,
                         kControlButtonSize + 2, kControlButtonSize + 2);
            b->BringToFront();
        }
    }
}

TMainMenu* TskMDIForm::GetMainMenu() const {
    if (m_drawChildMenus && m_titleBar && m_client) {
        if (const TCustomForm* child = m_client->ActiveChild()) {
            if (TMainMenu* own = child->Menu()) {
                return own;
            }
            const TskForm* skinned = FirstSkinnedForm(child);
            if (skinned && skinned->Menu()) {
                return skinned->Menu();
            }
        }
    }
    return m_menu;
}

void TskMDIForm::UpdateMenu() {
    TMainMenu* menu = GetMainMenu();
    if (m_shownMenu && m_shownMenu != menu) {
        RemoveFreeNotification(m_shownMenu);
    }
    m_shownMenu = menu;
    if (!m_topPanel || !m_menuBar) {
        return;
    }
    if (!menu) {
        m_topPanel->SetVisible(false);
        InvalidateHostFrame();
        return;
    }
    FreeNotification(menu);
    TMenuItem* items = menu->Items();
    // Surplus buttons go from the front; the rest are bound anew.
    while (m_menuBar->ButtonCount() > items->Count()) {
        m_menuBar->Buttons(0)->Free();
    }
    while (m_menuBar->ButtonCount() < items->Count()) {
        auto* button = new TToolButton(m_menuBar); // owned by the bar
        button->SetGrouped(true);
        button->SetAutoSize(true);
        button->SetParent(m_menuBar);
    }
    for (int i = 0; i < items->Count(); ++i) {
        m_menuBar->Buttons(i)->SetMenuItem(items->Items(i));
        m_menuBar->Buttons(i)->SetVisible(items->Items(i)->Visible());
    }
    m_topPanel->SetVisible(true);
    m_topPanel->Constraints()->SetMinHeight(m_menuBar->Height());
    m_topPanel->SetHeight(m_menuBar->Height());
    TitleBarToTop();
    PlaceControlButtons();
    InvalidateHostFrame();
}

void TskMDIForm::SetMenu(TMainMenu* Value) {
    m_menu.Set(Value);
    UpdateMenu();
}

void TskMDIForm::SetTitleBarDrawChildMenus(bool Value) {
    m_drawChildMenus = Value;
    UpdateMenu();
}

void TskMDIForm::DrawMenuBar(TToolBar* Bar, const TRect& Rect, bool& /*DefaultDraw*/) {
    DrawMenuBarFace(Bar, Rect, m_theme.UsedStyle());
}

void TskMDIForm::DrawButton(TToolBar* Bar, TToolButton* Button, TCustomDrawState State,
                            bool& DefaultDraw) {
    DefaultDraw = false;
    // The frame's own colours; the menu gives the font only.
    DrawMenuBarItem(Bar, Button, State, m_theme, qobject_cast<TskMainMenu*>(m_shownMenu.data()),
                    false);
}

// ---- the maximised child's buttons --------------------------------------------------

TCustomForm* TskMDIForm::ArrangedChild() const {
    if (!m_client) {
        return nullptr;
    }
    TCustomForm* maximised = m_client->MaximizedChild();
    return maximised ? maximised : m_client->ActiveChild();
}

void TskMDIForm::ShowControlButtons() {
    const TCustomForm* child = ArrangedChild();
    const TskForm* skinned = child ? FirstSkinnedForm(child) : nullptr;
    const TskTitleBar* bar = skinned ? skinned->TitleBar() : nullptr;
    const TskTitleBarBtnType kinds[3] = {skClose, skMax, skMin};
    for (int i = 0; i < 3; ++i) {
        if (m_buttons[i]) {
            m_buttons[i]->SetVisible(bar && HasVisibleButton(bar, kinds[i]));
        }
    }
}

void TskMDIForm::HideControlButtons() {
    for (TskToolBarSpeedButton* b : m_buttons) {
        if (b) {
            b->SetVisible(false);
        }
    }
}

void TskMDIForm::ControlButtonClick(int Index) {
    TCustomForm* child = m_client ? m_client->ActiveChild() : nullptr;
    if (!child) {
        return;
    }
    switch (Index) {
    case 1:
        child->Close();
        break;
    case 2:
        child->SetWindowState(wsNormal);
        break;
    default:
        child->SetWindowState(wsMinimized);
        break;
    }
    if (Application) {
        Application->ProcessMessages();
    }
}

// ---- the host's and the client's messages ---------------------------------------

void TskMDIForm::HostSized() {
    const bool maximized = m_host->WindowState() == wsMaximized;
    if (maximized && IsDesigning()) {
        return;
    }
    if (maximized && m_host->FormStyle() != fsMDIChild) {
        const TRect area = GetWorkAreaRect();
        m_host->SetBounds(area.Left, area.Top, area.Width(), area.Height() - 1);
    }
    if (m_titleBar) {
        m_titleBar->ProcessMaxBtn();
    }
    InvalidateHostFrame();
    RegionWindow();
}

void TskMDIForm::ClientWndProc(TMessage& Message) {
    QPointer<TskMDIForm> self(this);
    if (m_oldClientProc) {
        m_oldClientProc(Message);
    }
    if (!self || m_destroying) {
        return;
    }
    switch (Message.Msg) {
    case WM_MDISETMENU:
        UpdateMenu();
        RefreshCaption();
        break;
    case WM_MDIMAXIMIZE:
        ShowControlButtons();
        RefreshCaption();
        break;
    case WM_MDIRESTORE:
        HideControlButtons();
        RefreshCaption();
        break;
    case WM_MDITILE:
        Tile();
        break;
    case WM_MDICASCADE:
        Cascade();
        break;
    default:
        break;
    }
}

void TskMDIForm::ProcessKeyPress(TMessage& Message) {
    const auto key = static_cast<unsigned>(Message.WParam);
    const auto shift = static_cast<TShiftState>(Message.LParam);
    Message.Result = !m_destroying && m_shownMenu && m_shownMenu->IsShortCut(key, shift);
}

void TskMDIForm::RefreshCaption() {
    if (m_titleBar && m_host) {
        m_titleBar->SetCaption(m_host->Caption());
    }
}

// ---- style and properties -----------------------------------------------------------

void TskMDIForm::SetUIStyle(TskUIStyle Value) {
    m_theme.SetUIStyle(Value);
    m_borderColor = m_theme.GetColor(siFormBorderColor);
    m_frameWidth = m_theme.GetInt(siFormBorderWidthInt);
    TColor menuBar = m_theme.GetColor(siFormBackgroundColor);
    if (m_theme.UsesFileTheme()) {
        menuBar = MarkedMenuBarColor(m_theme).value_or(menuBar);
    }
    SetMenuBarColor(menuBar);
    if (auto* menu = qobject_cast<TskMainMenu*>(m_menu.Get())) {
        menu->SetUIStyle(Value);
        menu->SetFileTheme(FileTheme());
    }
    if (m_titleBar) {
        m_titleBar->SetFileTheme(FileTheme());
        m_titleBar->SetUIStyle(Value);
        m_titleBar->SetRoundCorner(0);
    }
    SetRoundCorner(m_theme.GetInt(siFormRoundCornerInt));
    InvalidateHostFrame();
}

void TskMDIForm::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(UIStyle());
    }
}

void TskMDIForm::SetMenuBarColor(TColor Value) {
    m_menuBarColor = Value;
    if (m_menuBar) {
        m_menuBar->SetColor(Value);
    }
    if (m_topPanel) {
        m_topPanel->SetColor(Value);
    }
    for (TskToolBarSpeedButton* b : m_buttons) {
        if (b) {
            b->SetColor(Value);
        }
    }
    InvalidateHostFrame();
}

void TskMDIForm::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    if (!IsDesigning()) {
        InvalidateHostFrame();
    }
}

QString TskMDIForm::Caption() const {
    return m_host ? m_host->Caption() : QString();
}

void TskMDIForm::SetCaption(const QString& Value) {
    SetFrameCaption(Value);
}

void TskMDIForm::SetRoundCorner(int Value) {
    m_roundCorner = Value;
    RegionWindow();
}

int TskMDIForm::GetTitleBarHeight() const {
    int h = m_titleBar && m_titleBar->Visible() ? m_titleBar->Height() : 0;
    if (m_topPanel && m_topPanel->Visible()) {
        h += m_topPanel->Height();
    }
    return h;
}

void TskMDIForm::TitleBarToTop() {
    // Of the top-aligned controls the one with the smallest top comes first:
    // the title bar, then the menu panel.
    if (m_topPanel && m_topPanel->Visible()) {
        m_topPanel->SetTop(-1);
    }
    if (m_titleBar && m_titleBar->Visible()) {
        m_titleBar->SetTop(-2);
    }
}

// ---- frame and shape ----------------------------------------------------------------

void TskMDIForm::RegionWindow() {
    if (!IsDesigning()) {
        ShapeHost(m_roundCorner);
    }
}

void TskMDIForm::PaintFormBorder(TCanvas* WindowCanvas) {
    if (m_destroying || !WindowCanvas || !m_host || !m_host->HandleAllocated() ||
        HostMinimized(m_host)) {
        return;
    }
    TskFrameInput in;
    in.width = m_host->Width();
    in.height = m_host->Height();
    in.borderWidth = m_frameWidth;
    in.borderColor = m_borderColor;
    in.color = m_menuBarColor; // the inner frame is the menu bar's colour
    in.titleBarHeight = m_titleBar && m_titleBar->Visible() ? m_titleBar->Height() : 0;
    in.titleBarCanPaint = m_titleBar && m_titleBar->CanPaint();
    in.roundCorner = m_roundCorner;
    PaintFrame(WindowCanvas, PlanFormBorder(in), in, m_titleBar);
}

// ---- arranging the children ---------------------------------------------------------

std::vector<TCustomForm*> TskMDIForm::ArrangeableChildren(bool& SomeMinimised) const {
    std::vector<TCustomForm*> open;
    SomeMinimised = false;
    if (!m_client) {
        return open;
    }
    for (TCustomForm* child : m_client->Children()) {
        if (child->WindowState() == wsMinimized) {
            SomeMinimised = true;
        } else {
            open.push_back(child);
        }
    }
    // Laid out from the bottom of the pile to the top.
    std::reverse(open.begin(), open.end());
    for (TCustomForm* child : open) {
        if (child->WindowState() == wsMaximized) {
            child->SetWindowState(wsNormal);
        }
    }
    return open;
}

void TskMDIForm::Tile() {
    bool minimised = false;
    const std::vector<TCustomForm*> open = ArrangeableChildren(minimised);
    if (open.empty() || !m_host) {
        return;
    }
    const int n = static_cast<int>(open.size());
    int taken = 0;
    for (const TControl* c : m_host->ControlList()) {
        if (c->Visible() && (c->Align() == alTop || c->Align() == alBottom)) {
            taken += c->Height();
        }
    }
    int h = m_host->ClientHeight() - taken - (minimised ? 25 : 0);
    const int width = m_host->ClientWidth();
    const auto* mdi = qobject_cast<const TMDIForm*>(m_host.data());
    if (mdi && mdi->TileMode() == tbVertical) {
        int x = 0;
        for (TCustomForm* child : open) {
            const int w = width / n - 2;
            child->SetBounds(x, 0, w, h - 4);
            x += w;
        }
        return;
    }
    h /= n;
    int y = 0;
    for (TCustomForm* child : open) {
        child->SetBounds(0, y, width - 4, h - 2);
        y += h - 2;
    }
}

void TskMDIForm::Cascade() {
    bool minimised = false;
    const std::vector<TCustomForm*> open = ArrangeableChildren(minimised);
    if (open.empty() || !m_host) {
        return;
    }
    const int w = static_cast<int>(m_host->ClientWidth() * 0.8);
    const int h = static_cast<int>(m_host->ClientHeight() * 0.6);
    int at = 0;
    for (TCustomForm* child : open) {
        child->SetBounds(at, at, w, h);
        at += kCascadeStep;
    }
}

void RegisterSkinFrameClasses() {
    tk::RegisterClass<TskForm>();
    tk::RegisterClass<TskMDIForm>();
    tk::RegisterClass<TskTitleBar>();
    tk::RegisterClass<TskMainMenu>();
    tk::RegisterClass<TskPopupMenu>();
}

} // namespace sk
