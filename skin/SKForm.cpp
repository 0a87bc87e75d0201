#include "skin/SKForm.h"

#include <QWidget>

#include "platform/win32/Win32.h"
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
    const TFormBorderStyle style = Host->BorderStyle();
    if (style == bsNone || style == bsSingle || style == bsToolWindow) {
        Host->SetBorderStyle(bsDialog);
    }
    // The frame band comes out of the window, not out of the client area the
    // host was given.
    const int clientWidth = Host->ClientWidth();
    const int clientHeight = Host->ClientHeight();
    Host->SetWindowCaption(false);
    Host->SetAutoScroll(false);

    m_oldWndProc = Host->WindowProc;
    Host->WindowProc = [this](TMessage& m) { NewParentWndProc(m); };
    if (Application && !Application->OnMessage) {
        Application->OnMessage = [this](TMsg& Msg, bool& Handled) {
            OnApplicationMessage(Msg, Handled);
        };
        m_hookedApplication = true;
    }
    Host->RefreshFrame();
    Host->SetClientWidth(clientWidth);
    Host->SetClientHeight(clientHeight);
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
        // Markers of dark and light menu bars in a theme file.
        const TColor marker = m_theme.GetColor(siControlFontColor);
        if (marker == 0x20000) {
            m_menuBar->SetColor(0xAC5B3B);
        } else if (marker == 0x30000) {
            m_menuBar->SetColor(0x996733);
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
    InvalidateFrame();
}

void TskForm::SetFileTheme(TskFileTheme* Value) {
    if (m_theme.SetFileTheme(Value)) {
        SetUIStyle(UIStyle());
    }
}

bool TskForm::TitleBarCustom() const {
    return m_titleBar && m_titleBar->Custom();
}

void TskForm::SetTitleBarCustom(bool Value) {
    if (m_titleBar) {
        m_titleBar->SetCustom(Value);
    }
}

void TskForm::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    InvalidateFrame();
}

void TskForm::SetBorderWidth(int Value) {
    m_borderWidth = Value;
    InvalidateFrame();
}

void TskForm::SetTitleBarVisible(bool Value) {
    if (Value == m_titleBarVisible) {
        return;
    }
    m_titleBarVisible = Value;
    if (m_titleBar) {
        m_titleBar->SetVisible(Value);
        TitleBarToTop();
    }
    InvalidateFrame();
    RegionWindow();
}

QString TskForm::Caption() const {
    return m_titleBar ? m_titleBar->Caption() : QString();
}

void TskForm::SetCaption(const QString& Value) {
    if (m_titleBar) {
        m_titleBar->SetCaption(Value);
    }
    if (m_host) {
        m_host->SetCaption(Value);
    }
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

TskTitleBarButtons* TskForm::TitleBarButtons() const {
    return m_titleBar ? m_titleBar->Buttons() : nullptr;
}

TskTitleBarSections* TskForm::TitleBarSections() const {
    return m_titleBar ? m_titleBar->Sections() : nullptr;
}

bool TskForm::TitleBarDrawAppIcon() const {
    return m_titleBar && m_titleBar->DrawAppIcon();
}

void TskForm::SetTitleBarDrawAppIcon(bool Value) {
    if (m_titleBar) {
        m_titleBar->SetDrawAppIcon(Value);
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

void TskForm::NewParentWndProc(TMessage& Message) {
    // Going away: the host hears nothing until its own procedure is back.
    if (m_destroying) {
        return;
    }
    QPointer<TskForm> self(this);
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
    case WM_SHOWWINDOW:
        // The native menu bar is never shown.
        m_host->SetMenu(nullptr);
        break;
    case WM_ACTIVATE:
        if (m_titleBar) {
            m_titleBar->SetActive((Message.WParam & 0xFFFF) != 0);
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
        break;
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
    InvalidateFrame();
    if (m_titleBar) {
        m_titleBar->ProcessMaxBtn();
    }
    RegionWindow();
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

void TskForm::OnApplicationMessage(TMsg& Msg, bool& Handled) {
    if (m_destroying) {
        return;
    }
    if (Msg.message == WM_SYSCHAR && Msg.wParam == u' ') {
        if (m_titleBar) {
            const TCustomForm* main =
                Application->MainForm() ? Application->MainForm() : m_host.data();
            m_titleBar->PopupSystemMenu(main->Left(), main->Top() + GetTitleBarHeight());
        }
        Handled = true;
    } else if (Msg.message == WM_KEYDOWN) {
        TMessage m;
        m.Msg = WM_KEYDOWN;
        m.WParam = Msg.wParam;
        m.LParam = Msg.lParam;
        ProcessKeyPress(m);
        Handled = m.Result != 0;
    }
}

// ---- shape and frame ------------------------------------------------------------

void TskForm::RegionWindow() {
    if (IsDesigning() || !m_host || !m_host->HandleAllocated()) {
        return;
    }
    TRegion region = FormRegion(m_host->Width(), m_host->Height(), GetRoundCorner());
    if (region == m_region && !m_region.IsEmpty()) {
        return; // sizes come again and again while the window is dragged
    }
    m_region = std::move(region);
    m_host->Handle()->setMask(m_region.ToQ());
}

void TskForm::InvalidateFrame() {
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
    const TskFramePlan plan = PlanFormBorder(in);

    TCanvasState state(*WindowCanvas);
    for (const TskFrameBand& band : plan.bands) {
        Menu_DrawBackGround(WindowCanvas, band.rect, band.color);
    }
    if (plan.continueTitle) {
        ContinueTitleImages(WindowCanvas, in.width, in.borderWidth);
    }
    if (plan.arcs) {
        const int W = in.width;
        const int r = kArcCorner;
        WindowCanvas->Pen()->SetStyle(psSolid);
        WindowCanvas->Pen()->SetWidth(1);
        WindowCanvas->Pen()->SetColor(m_borderColor);
        WindowCanvas->Arc(W - 2 * r + 1, -1, W + 1, 2 * r - 1, W + 1, r - 1, W - r + 1, -1);
        WindowCanvas->Arc(-1, -1, 2 * r - 1, 2 * r - 1, r - 1, -1, -1, r - 1);
    }
}

void TskForm::ContinueTitleImages(TCanvas* Canvas, int W, int b) {
    const TGraphic* left = m_titleBar->GetLeftImage()->Graphic();
    const TGraphic* right = m_titleBar->GetRightImage()->Graphic();
    const TGraphic* centre = m_titleBar->GetCenterImage()->Graphic();
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
    InvalidateFrame();
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
    InvalidateFrame();
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
    InvalidateFrame();
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

void TskForm::MenuBarFont(TFont& Font) const {
    if (const TskMainMenu* menu = SkinnedMenu()) {
        menu->CaptionFont(Font);
    }
}

void TskForm::RepaintMenuBar() {
    if (!m_menuBar || !m_menu) {
        return;
    }
    if (SkinnedMenu()) {
        TFont font;
        font.Assign(*m_menuBar->Font());
        MenuBarFont(font);
        m_menuBar->Font()->Assign(font);
    }
    m_menuBar->Invalidate();
}

void TskForm::SetMenuBarColor(TColor Value) {
    m_menuBarColor = Value;
    if (m_menuBar) {
        m_menuBar->SetColor(Value);
    }
    InvalidateFrame();
}

void TskForm::SetMenuBarHeight(int Value) {
    m_menuBarHeight = Value;
    if (m_menuBar) {
        m_menuBar->SetHeight(Value);
        m_menuBar->SetButtonHeight(Value);
    }
    InvalidateFrame();
}

void TskForm::DrawMenuBar(TToolBar* Bar, const TRect& Rect, bool& /*DefaultDraw*/) {
    if (MenuTheme().UsedStyle() == MacOS) {
        StretchTopRows(Bar->Canvas(), Rect, GetNamedSkinBitmap("MACOS_MENU_BAR"),
                       GetNamedSkinBitmap("MACOS_MENU_BAR").Height());
    }
}

void TskForm::DrawButton(TToolBar* Bar, TToolButton* Button, TCustomDrawState State,
                         bool& DefaultDraw) {
    DefaultDraw = false;
    const TskThemeLink& theme = MenuTheme();
    TCanvas* c = Bar->Canvas();
    TFont* font = c->Font();
    font->Assign(*Bar->Font());
    MenuBarFont(*font);
    const QString caption = Button->Caption();
    const UINT flags = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    TRect r = Button->BoundsRect();
    const bool selected = (State & cdsSelected) != 0;
    c->Brush()->SetStyle(bsClear);
    if ((State & cdsHot) || selected) {
        if (theme.UsedStyle() == MacOS) {
            TBitmap face(r.Width(), r.Height());
            StretchTopRows(face.Canvas(), Rect(0, 0, r.Width(), r.Height()),
                           GetNamedSkinBitmap("MACOS_MENU_SELECT"),
                           GetNamedSkinBitmap("MACOS_MENU_SELECT").Height());
            face.Canvas()->Font()->Assign(*font);
            face.Canvas()->Font()->SetColor(theme.GetColor(siMenuSelectedFontColor));
            face.Canvas()->Brush()->SetStyle(bsClear);
            TRect text = Rect(0, 0, r.Width(), r.Height() + 2);
            face.Canvas()->DrawText(caption, text, flags);
            c->Draw(r.Left, r.Top, face);
            return;
        }
        if (selected) {
            r.Right -= 2;
        }
        Menu_DrawBackGround(c, r, theme.GetColor(siMenuSelectedBackgroundColor));
        Menu_DrawBorder(c, r, theme.GetColor(siMenuSelectedBorderColor));
        if (selected) {
            OffsetRect(r, 2, 0);
        }
        OffsetRect(r, 0, 2);
        c->Brush()->SetStyle(bsClear);
        font->SetColor(theme.GetColor(siMenuSelectedFontColor));
        c->DrawText(caption, r, flags);
        return;
    }
    OffsetRect(r, 0, 2);
    TColor ink = theme.GetColor(siMenuFontColor);
    if (theme.UsesFileTheme() && theme.GetColor(siControlFontColor) == 0x30000) {
        ink = clWhite;
    }
    font->SetColor(Button->Enabled() ? ink : kDisabledText);
    c->DrawText(caption, r, flags);
}

void RegisterSkinFrameClasses() {
    tk::RegisterClass<TskForm>();
    tk::RegisterClass<TskTitleBar>();
    tk::RegisterClass<TskMainMenu>();
    tk::RegisterClass<TskPopupMenu>();
}

} // namespace sk
