#include "platform/toolkit/Menus.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <algorithm>
#include <set>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/StdCtrls.h"

namespace tk {

namespace {

// Plain-look metrics of a menu row.
constexpr int kMinRowHeight = 19;
constexpr int kSeparatorHeight = 9;
constexpr int kIconLeft = 2;
constexpr int kIconSize = 16;
constexpr int kTextGap = 6;      // icon column to caption
constexpr int kShortCutGap = 24; // caption to short-cut text
constexpr int kArrowSpace = 16;  // submenu arrow, right of the short-cut
constexpr int kMaxItemSize = 4096;

TMenuChain* g_activeChain = nullptr;
const TMenuWindow* g_painting = nullptr;

int IconColumn(const TCustomImageList* images) {
    return std::max(kIconSize, images ? images->Width() : 0);
}

int TextLeft(const TCustomImageList* images) {
    return kIconLeft + IconColumn(images) + kTextGap;
}

} // namespace

void GetMenuFont(TFont& font) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        font.AssignLogFont(metrics.lfMenuFont);
    } else {
        font.SetName(QStringLiteral("Tahoma"));
        font.SetHeight(-11);
        font.SetStyle({});
    }
    font.SetColor(clMenuText);
}

// ---- menu item -----------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {
    PublishEvent("OnClick", OnClick);
    PublishEvent("OnMeasureItem", OnMeasureItem);
    PublishEvent("OnDrawItem", OnDrawItem);
    PublishEvent("OnAdvancedDrawItem", OnAdvancedDrawItem);
}

TMenuItem::~TMenuItem() {
    Detach();
}

void TMenuItem::BeforeDestruction() {
    TComponent::BeforeDestruction();
    Detach();
}

void TMenuItem::Detach() {
    TMenuChain::ItemGoing(this);
    if (m_parent) {
        m_parent->Remove(this);
    }
    // Sub-items go with their item, as in the classic toolkit; each leaves
    // its owner's list as it is freed.
    while (!m_items.empty()) {
        TMenuItem* child = m_items.back();
        m_items.pop_back();
        child->m_parent = nullptr;
        child->Free();
    }
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* menu = qobject_cast<TMenu*>(parent)) {
        menu->Items()->Add(this);
    } else if (auto* item = qobject_cast<TMenuItem*>(parent)) {
        item->Add(this);
    }
}

TComponent* TMenuItem::ParentComponent() const {
    if (m_parent && m_parent->m_menu) {
        return m_parent->m_menu;
    }
    return m_parent;
}

void TMenuItem::MenuChanged(bool Rebuild) {
    // Nobody is told while the item is read or its form is torn down.
    if (IsLoading() || IsDestroying() || (Owner() && Owner()->IsDestroying())) {
        return;
    }
    for (TMenuItem* it = this; it; it = it->m_parent) {
        emit it->Changed();
    }
    if (TMenu* menu = GetParentMenu(); menu && !menu->IsLoading()) {
        menu->MenuChanged(menu, this, Rebuild);
    }
}

void TMenuItem::SetCaption(const QString& caption) {
    if (caption != m_caption) {
        m_caption = caption;
        MenuChanged(false);
    }
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut != m_shortCut) {
        m_shortCut = shortCut;
        MenuChanged(false);
    }
}

void TMenuItem::TurnSiblingsOff() {
    if (!m_parent) {
        return;
    }
    for (TMenuItem* sibling : m_parent->m_items) {
        if (sibling != this && sibling->m_radioItem && sibling->m_groupIndex == m_groupIndex &&
            sibling->m_checked) {
            sibling->m_checked = false;
            sibling->MenuChanged(false);
        }
    }
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == m_checked) {
        return;
    }
    m_checked = checked;
    if (checked && m_radioItem) {
        TurnSiblingsOff();
    }
    MenuChanged(false);
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled != m_enabled) {
        m_enabled = enabled;
        MenuChanged(false);
    }
}

void TMenuItem::SetDefault(bool v) {
    if (v == m_default) {
        return;
    }
    // One default item per menu.
    if (v && m_parent) {
        for (TMenuItem* sibling : m_parent->m_items) {
            if (sibling != this && sibling->m_default) {
                sibling->m_default = false;
                sibling->MenuChanged(false);
            }
        }
    }
    m_default = v;
    MenuChanged(false);
}

void TMenuItem::SetImageIndex(int index) {
    if (index != m_imageIndex) {
        m_imageIndex = index;
        MenuChanged(false);
    }
}

void TMenuItem::SetVisible(bool visible) {
    if (visible != m_visible) {
        m_visible = visible;
        MenuChanged(true);
    }
}

void TMenuItem::SetRadioItem(bool v) {
    if (v != m_radioItem) {
        m_radioItem = v;
        if (v && m_checked) {
            TurnSiblingsOff();
        }
        MenuChanged(false);
    }
}

void TMenuItem::SetGroupIndex(int index) {
    if (index != m_groupIndex) {
        m_groupIndex = index;
        if (m_radioItem && m_checked) {
            TurnSiblingsOff();
        }
        MenuChanged(false);
    }
}

void TMenuItem::SetAutoHotkeys(TMenuAutoFlag flag) {
    if (flag != m_autoHotkeys) {
        m_autoHotkeys = flag;
        MenuChanged(false);
    }
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) {
        return;
    }
    for (const TMenuItem* p = this; p; p = p->m_parent) {
        if (p == item) {
            throw Exception(QStringLiteral("A menu item cannot be inserted into itself"));
        }
    }
    if (item->m_menu) {
        throw Exception(QStringLiteral("A menu's root cannot be inserted into another item"));
    }
    if (item->m_parent) {
        item->m_parent->Remove(item);
    }
    index = std::clamp(index, 0, Count());
    m_items.insert(m_items.begin() + index, item);
    item->m_parent = this;
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(m_items.begin(), m_items.end(), item);
    if (it == m_items.end()) {
        return;
    }
    TMenuChain::ItemGoing(item);
    m_items.erase(it);
    item->m_parent = nullptr;
    MenuChanged(true);
}

void TMenuItem::Delete(int index) {
    if (index < 0 || index >= Count()) {
        return;
    }
    TMenuItem* item = Items(index);
    Remove(item);
    item->Free();
}

void TMenuItem::Clear() {
    while (!m_items.empty()) {
        Delete(Count() - 1);
    }
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

int TMenuItem::VisibleCount() const {
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const TMenuItem* i) { return i->m_visible; }));
}

TMenuItem* TMenuItem::Find(const QString& caption) const {
    const QString wanted = StripHotkey(caption);
    for (TMenuItem* item : m_items) {
        if (StripHotkey(item->m_caption).compare(wanted, Qt::CaseInsensitive) == 0) {
            return item;
        }
    }
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* top = this;
    while (top->m_parent) {
        top = top->m_parent;
    }
    return top->m_menu;
}

bool TMenuItem::AutoHotkeysOn() const {
    for (const TMenuItem* it = this; it; it = it->m_parent) {
        if (it->m_autoHotkeys != maParent) {
            return it->m_autoHotkeys == maAutomatic;
        }
    }
    const TMenu* menu = GetParentMenu();
    return !menu || menu->AutoHotkeys() != maManual;
}

QChar TMenuItem::AccessKey() const {
    const QChar marked = GetHotkey(m_caption);
    if (!marked.isNull() || !m_parent || IsLine() || !m_parent->AutoHotkeysOn()) {
        return marked;
    }
    // Siblings keep their marked letters; the others, in order, take the
    // first letter of their caption that is still free.
    std::set<char16_t> used;
    for (const TMenuItem* s : m_parent->m_items) {
        if (s->m_visible) {
            if (const QChar k = GetHotkey(s->m_caption); !k.isNull()) {
                used.insert(k.unicode());
            }
        }
    }
    for (const TMenuItem* s : m_parent->m_items) {
        if (!s->m_visible || s->IsLine() || !GetHotkey(s->m_caption).isNull()) {
            continue;
        }
        QChar picked;
        for (const QChar c : StripHotkey(s->m_caption)) {
            if (c.isLetterOrNumber() && !used.count(c.toUpper().unicode())) {
                picked = c.toUpper();
                break;
            }
        }
        if (!picked.isNull()) {
            used.insert(picked.unicode());
        }
        if (s == this) {
            return picked;
        }
    }
    return {};
}

QString TMenuItem::HotkeyCaption() const {
    const QChar key = AccessKey();
    if (key.isNull() || !GetHotkey(m_caption).isNull()) {
        return m_caption;
    }
    for (qsizetype i = 0; i < m_caption.size(); ++i) {
        if (m_caption[i] == QLatin1Char('&')) {
            ++i; // a literal "&&"
            continue;
        }
        if (m_caption[i].toUpper() == key) {
            QString marked = m_caption;
            marked.insert(i, QLatin1Char('&'));
            return marked;
        }
    }
    return m_caption;
}

bool TMenuItem::IsOwnerDrawn() const {
    const TMenu* menu = GetParentMenu();
    return menu && menu->OwnerDraw();
}

void TMenuItem::InitiatePopup() {
    if (Count() > 0 && OnClick) {
        OnClick(this);
    }
}

void TMenuItem::Click() {
    if (!m_enabled) {
        return;
    }
    if (m_autoCheck && !(m_radioItem && m_checked)) {
        SetChecked(!m_checked);
    }
    if (OnClick) {
        OnClick(this);
    } else {
        ExecuteAction(this);
    }
}

void TMenuItem::ActionChange(TBasicAction* Sender, bool CheckDefaults) {
    const auto* a = qobject_cast<const TCustomAction*>(Sender);
    if (!a) {
        return;
    }
    if (!CheckDefaults || m_caption.isEmpty()) {
        SetCaption(a->Caption());
    }
    if (!CheckDefaults || !m_checked) {
        SetChecked(a->Checked());
    }
    if (!CheckDefaults || m_enabled) {
        SetEnabled(a->Enabled());
    }
    if (!CheckDefaults || m_hint.isEmpty()) {
        SetHint(a->Hint());
    }
    if (!CheckDefaults || m_imageIndex == -1) {
        SetImageIndex(a->ImageIndex());
    }
    if (!CheckDefaults || m_shortCut == 0) {
        SetShortCut(a->ShortCut());
    }
    if (!CheckDefaults || m_visible) {
        SetVisible(a->Visible());
    }
    if (!CheckDefaults || m_groupIndex == 0) {
        SetGroupIndex(a->GroupIndex());
    }
    if (!CheckDefaults || !m_autoCheck) {
        SetAutoCheck(a->AutoCheck());
    }
}

void TMenuItem::DefaultMeasure(TCanvas* ACanvas, int& Width, int& Height) const {
    const TMenu* menu = GetParentMenu();
    const TCustomImageList* images = menu ? menu->Images() : nullptr;
    if (IsLine()) {
        Width = TextLeft(images);
        Height = kSeparatorHeight;
        return;
    }
    if (!ACanvas) {
        Width = TextLeft(images) + kArrowSpace;
        Height = kMinRowHeight;
        return;
    }
    const TFontStyles oldStyle = ACanvas->Font()->Style();
    if (m_default) {
        ACanvas->Font()->SetStyle(oldStyle | fsBold);
    }
    const QString text = StripHotkey(m_caption);
    Width = TextLeft(images) + ACanvas->TextWidth(text) + kArrowSpace + 4;
    Height = std::max(kMinRowHeight,
                      ACanvas->TextHeight(text.isEmpty() ? QStringLiteral("W") : text) + 6);
    ACanvas->Font()->SetStyle(oldStyle);
    if (m_shortCut != 0) {
        Width += kShortCutGap + ACanvas->TextWidth(ShortCutText());
    }
    if (images && images->Height() + 4 > Height) {
        Height = images->Height() + 4;
    }
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
    DefaultMeasure(ACanvas, Width, Height);
    if (IsOwnerDrawn() && OnMeasureItem) {
        OnMeasureItem(this, ACanvas, Width, Height);
    }
    Width = std::clamp(Width, 0, kMaxItemSize);
    Height = std::clamp(Height, 0, kMaxItemSize);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) {
    if (IsOwnerDrawn()) {
        if (OnAdvancedDrawItem) {
            OnAdvancedDrawItem(this, ACanvas, ARect, State);
            return;
        }
        if (OnDrawItem) {
            OnDrawItem(this, ACanvas, ARect, (State & odSelected) != 0);
            return;
        }
    }
    DefaultDraw(ACanvas, ARect, State);
}

void TMenuItem::DefaultDraw(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) const {
    if (!ACanvas) {
        return;
    }
    TCanvas& c = *ACanvas;
    const bool selected = (State & odSelected) != 0;
    const bool disabled = (State & odDisabled) != 0 || !m_enabled;
    c.Brush()->SetStyle(bsSolid);
    if (IsLine()) {
        c.Brush()->SetColor(clMenu);
        c.FillRect(ARect);
        const int y = ARect.Top + ARect.Height() / 2 - 1;
        c.Pen()->SetColor(clBtnShadow);
        c.MoveTo(ARect.Left + 1, y);
        c.LineTo(ARect.Right - 1, y);
        c.Pen()->SetColor(clBtnHighlight);
        c.MoveTo(ARect.Left + 1, y + 1);
        c.LineTo(ARect.Right - 1, y + 1);
        return;
    }
    c.Brush()->SetColor(selected ? clHighlight : clMenu);
    c.FillRect(ARect);
    const TColor ink = selected ? clHighlightText : clMenuText;

    const TMenu* menu = GetParentMenu();
    const TCustomImageList* images = menu ? menu->Images() : nullptr;
    const bool hasImage = images && m_imageIndex >= 0 && m_imageIndex < images->Count();
    const int column = IconColumn(images);
    const int midY = ARect.Top + ARect.Height() / 2;
    if (hasImage) {
        const int x = ARect.Left + kIconLeft + (column - images->Width()) / 2;
        const int y = ARect.Top + (ARect.Height() - images->Height()) / 2;
        if (m_checked) {
            TRect box = Rect(x - 1, y - 1, x + images->Width() + 1, y + images->Height() + 1);
            Frame3D(c, box, clBtnShadow, clBtnHighlight, 1);
        }
        images->Draw(&c, x, y, m_imageIndex, !disabled);
    } else if (m_checked) {
        const int x = ARect.Left + kIconLeft + (column - 7) / 2;
        c.Pen()->SetColor(disabled ? clGrayText : ink);
        c.Brush()->SetColor(disabled ? clGrayText : ink);
        if (m_radioItem) {
            c.Ellipse(x, midY - 3, x + 7, midY + 4);
        } else {
            // The classic tick, three pixels thick.
            for (int d = 0; d < 3; ++d) {
                c.Polyline({{x, midY - 2 + d}, {x + 2, midY + d}, {x + 7, midY - 5 + d}});
            }
        }
    }

    c.Font()->SetColor(ink);
    if (m_default) {
        c.Font()->SetStyle(c.Font()->Style() | fsBold);
    }
    c.Brush()->SetStyle(bsClear);
    TRect text =
        Rect(ARect.Left + TextLeft(images), ARect.Top, ARect.Right - kArrowSpace, ARect.Bottom);
    const QString caption = HotkeyCaption();
    const QString shortCut = ShortCutText();
    auto drawTexts = [&](const TRect& r) {
        TRect t = r;
        c.DrawText(caption, t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!shortCut.isEmpty()) {
            t = r;
            c.DrawText(shortCut, t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        }
    };
    if (disabled) {
        if (!selected) {
            c.Font()->SetColor(clBtnHighlight);
            TRect shadow = text;
            OffsetRect(shadow, 1, 1);
            drawTexts(shadow);
        }
        c.Font()->SetColor(clGrayText);
    }
    drawTexts(text);

    if (VisibleCount() > 0) {
        const int x = ARect.Right - kArrowSpace / 2 - 2;
        const TColor arrow = disabled ? clGrayText : ink;
        c.Pen()->SetColor(arrow);
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(arrow);
        c.Polygon({{x, midY - 4}, {x + 4, midY}, {x, midY + 4}});
    }
}

// ---- menu ----------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), m_items(new TMenuItem(this)) {
    m_items->m_menu = this;
    PublishEvent("OnChange", OnChange);
}

TMenu::~TMenu() {
    m_chain.reset();
}

void TMenu::BeforeDestruction() {
    // Its own popup closes without raising OnClose; a bar's drop-down of its
    // items closes as usual.
    m_chain.reset();
    CloseMenu();
    m_images.Disconnect();
    TComponent::BeforeDestruction();
}

void TMenu::Loaded() {
    TComponent::Loaded();
    MenuChanged(this, nullptr, true);
}

void TMenu::SetOwnerDraw(bool v) {
    if (v != m_ownerDraw) {
        m_ownerDraw = v;
        if (!IsLoading()) {
            MenuChanged(this, nullptr, false);
        }
    }
}

void TMenu::SetImages(TCustomImageList* images) {
    const bool changed = m_images.Set(images, &TCustomImageList::Changed, [this] {
        if (!IsLoading()) {
            MenuChanged(this, nullptr, false);
        }
    });
    if (changed && !IsLoading()) {
        MenuChanged(this, nullptr, false);
    }
}

void TMenu::SetAutoHotkeys(TMenuAutoFlag flag) {
    m_autoHotkeys = flag == maParent ? maAutomatic : flag;
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    m_images.Removed(AComponent, Operation);
}

void TMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
    if (OnChange) {
        OnChange(Sender, Source, Rebuild);
    }
}

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortCut) const {
    if (shortCut == scNone) {
        return nullptr;
    }
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            if (!item->Visible()) {
                continue;
            }
            if (item->ShortCut() == shortCut) {
                return item;
            }
            if (TMenuItem* found = find(item)) {
                return found;
            }
        }
        return nullptr;
    };
    return find(m_items);
}

bool TMenu::IsShortCut(unsigned key, TShiftState shift) {
    QPointer<TMenuItem> item = FindItemByShortCut(ShortCut(key, shift));
    if (!item) {
        return false;
    }
    // The drop-downs the item sits in hear that they are about to show, as
    // their handlers may set the item's state.
    std::vector<QPointer<TMenuItem>> path;
    for (TMenuItem* p = item->Parent(); p && p != m_items; p = p->Parent()) {
        path.insert(path.begin(), p);
    }
    for (auto& p : path) {
        if (!p || !p->Enabled()) {
            return false;
        }
        p->InitiatePopup();
    }
    if (!item || !item->Enabled()) {
        return false;
    }
    item->Click();
    return true;
}

TMenuChain& TMenu::EnsureChain() {
    if (!m_chain) {
        m_chain = std::make_unique<TMenuChain>();
    }
    return *m_chain;
}

void TMenu::CloseMenu() {
    TMenuChain* chain = TMenuChain::Active();
    if (chain && chain->Root() && chain->Root()->GetParentMenu() == this) {
        chain->Close();
    }
}

bool TMenu::IsOpen() const {
    const TMenuChain* chain = TMenuChain::Active();
    return chain && chain->Root() && chain->Root()->GetParentMenu() == this;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {
    PublishEvent("OnPopup", OnPopup);
    PublishEvent("OnClose", OnClose);
}

void TPopupMenu::Popup(int X, int Y) {
    m_popupPoint = {X, Y};
    QPointer<TPopupMenu> self(this);
    if (OnPopup) {
        OnPopup(this);
        if (!self) {
            return;
        }
    }
    TMenuChain& chain = EnsureChain();
    chain.OnClosed = [this, self] {
        if (self && OnClose) {
            OnClose(this);
        }
    };
    chain.Open(Items(), {X, Y}, nullptr, false, nullptr, m_alignment);
}

// ---- chain -----------------------------------------------------------------------

void TMenuChain::DeferredDelete::operator()(TMenuWindow* w) const {
    // The window may be inside one of its own event handlers.
    w->m_chainHides = true;
    w->m_chain = nullptr;
    w->hide();
    w->deleteLater();
}

TMenuChain::TMenuChain() = default;

TMenuChain::~TMenuChain() {
    Close(true);
    if (g_activeChain == this) {
        g_activeChain = nullptr;
    }
}

TMenuChain* TMenuChain::Active() {
    return g_activeChain;
}

void TMenuChain::ItemGoing(const TMenuItem* item) {
    if (g_activeChain && g_activeChain->Shows(item)) {
        g_activeChain->Close();
    }
}

bool TMenuChain::Shows(const TMenuItem* item) const {
    if (item == m_root) {
        return true;
    }
    for (const WindowPtr& w : m_levels) {
        if (w->m_parent == item) {
            return true;
        }
        for (const auto& row : w->m_rows) {
            if (row.item == item) {
                return true;
            }
        }
    }
    return false;
}

TMenuWindow* TMenuChain::Window(int level) const {
    if (level < 0 || level >= Depth()) {
        return nullptr;
    }
    return m_levels[static_cast<std::size_t>(level)].get();
}

TMenuWindow* TMenuChain::WindowAt(QPoint global) const {
    for (auto it = m_levels.rbegin(); it != m_levels.rend(); ++it) {
        if ((*it)->geometry().contains(global)) {
            return it->get();
        }
    }
    return nullptr;
}

bool TMenuChain::Open(TMenuItem* parent, TPoint p, TMenuBarHost* host, bool selectFirst,
                      const TRect* avoid, TPopupAlignment alignment) {
    if (!parent) {
        return false;
    }
    if (g_activeChain) {
        g_activeChain->Close();
    }
    QPointer<TMenuItem> guard(parent);
    parent->InitiatePopup();
    if (!guard) {
        return false;
    }
    m_root = parent;
    m_host = host;
    if (!OpenLevel(parent, p, selectFirst, avoid, alignment)) {
        m_root = nullptr;
        m_host = nullptr;
        return false;
    }
    g_activeChain = this;
    return true;
}

namespace {

QRect ScreenArea(QPoint p) {
    QScreen* screen = QGuiApplication::screenAt(p);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
}

void UpdateActions(const TMenuItem* parent) {
    for (int i = 0; i < parent->Count(); ++i) {
        if (TBasicAction* a = parent->Items(i)->Action()) {
            a->Update();
        }
    }
}

} // namespace

bool TMenuChain::OpenLevel(TMenuItem* parent, TPoint p, bool selectFirst, const TRect* avoid,
                           TPopupAlignment alignment) {
    UpdateActions(parent);
    WindowPtr w(new TMenuWindow(this, parent, Depth()));
    w->Layout();
    if (w->RowCount() == 0) {
        return false;
    }
    const QSize size = w->size();
    const QRect area = ScreenArea({p.x, p.y});
    int x = p.x;
    if (alignment == paRight) {
        x -= size.width();
    } else if (alignment == paCenter) {
        x -= size.width() / 2;
    }
    int y = p.y;
    if (x + size.width() > area.right() + 1) {
        x = area.right() + 1 - size.width();
    }
    if (y + size.height() > area.bottom() + 1) {
        y = avoid ? avoid->Top - size.height() : area.bottom() + 1 - size.height();
    }
    x = std::max(x, area.left());
    y = std::max(y, area.top());
    w->move(x, y);
    TMenuWindow* shown = w.get();
    m_levels.push_back(std::move(w));
    shown->show();
    if (selectFirst) {
        shown->Step(+1);
    }
    return true;
}

void TMenuChain::OpenSubmenu(int level, bool selectFirst) {
    TMenuWindow* owner = Window(level);
    if (!owner) {
        return;
    }
    QPointer<TMenuItem> item = owner->RowItem(owner->Selected());
    if (!item || !item->Enabled() || item->IsLine() || item->VisibleCount() == 0) {
        return;
    }
    CloseFrom(level + 1);
    item->InitiatePopup();
    // The handler may have closed the menu or freed the item.
    if (!item || Window(level) != owner || owner->RowItem(owner->Selected()) != item) {
        return;
    }
    UpdateActions(item);
    WindowPtr w(new TMenuWindow(this, item, level + 1));
    w->Layout();
    if (w->RowCount() == 0) {
        return;
    }
    const QRect pg = owner->geometry();
    const TRect row = owner->RowRect(owner->Selected());
    const QSize size = w->size();
    const QRect area = ScreenArea(pg.topRight());
    int x = pg.x() + pg.width() - TMenuWindow::Border;
    if (x + size.width() > area.right() + 1) {
        x = pg.x() - size.width() + TMenuWindow::Border;
    }
    int y = pg.y() + row.Top;
    if (y + size.height() > area.bottom() + 1) {
        y = area.bottom() + 1 - size.height();
    }
    w->move(std::max(x, area.left()), std::max(y, area.top()));
    TMenuWindow* shown = w.get();
    m_levels.push_back(std::move(w));
    shown->show();
    if (selectFirst) {
        shown->Step(+1);
    }
}

void TMenuChain::CloseFrom(int level) {
    while (Depth() > std::max(level, 0)) {
        WindowPtr w = std::move(m_levels.back());
        m_levels.pop_back();
    }
}

void TMenuChain::Close(bool silent) {
    if (m_closing || m_levels.empty()) {
        return;
    }
    m_closing = true;
    CloseFrom(0);
    m_closing = false;
    if (g_activeChain == this) {
        g_activeChain = nullptr;
    }
    TMenuBarHost* host = m_host;
    m_host = nullptr;
    m_root = nullptr;
    if (!silent) {
        const std::function<void()> closed = OnClosed;
        if (host) {
            host->MenuBarClosed();
        }
        if (closed) {
            closed();
        }
    }
}

void TMenuChain::Activate(TMenuItem* item) {
    QPointer<TMenuItem> guard(item);
    Close();
    if (guard) {
        guard->Click();
    }
}

// ---- window ----------------------------------------------------------------------

TMenuWindow::TMenuWindow(TMenuChain* chain, TMenuItem* parent, int level)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), m_chain(chain), m_parent(parent),
      m_level(level) {
    setAttribute(Qt::WA_NoMouseReplay);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    connect(parent, &TMenuItem::Changed, this, &TMenuWindow::Relayout);
}

TMenuItem* TMenuWindow::RowItem(int row) const {
    if (row < 0 || row >= RowCount()) {
        return nullptr;
    }
    return m_rows[static_cast<std::size_t>(row)].item;
}

TRect TMenuWindow::RowRect(int row) const {
    if (row < 0 || row >= RowCount()) {
        return {};
    }
    return m_rows[static_cast<std::size_t>(row)].rect;
}

TMenuWindow* TMenuWindow::FromCanvas(const TCanvas* canvas) {
    if (g_painting && canvas && g_painting->m_paintCanvas == canvas) {
        return const_cast<TMenuWindow*>(g_painting);
    }
    return nullptr;
}

TRect TMenuWindow::WindowRect() const {
    return Rect(-Border, -Border, width() - Border, height() - Border);
}

void TMenuWindow::Layout() {
    m_inLayout = true;
    m_rows.clear();
    for (int i = 0; i < m_parent->Count(); ++i) {
        if (TMenuItem* item = m_parent->Items(i); item->Visible()) {
            m_rows.push_back({item, {}});
        }
    }
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    TFont font;
    GetMenuFont(font);
    int y = 0;
    int widest = 0;
    for (Row& row : m_rows) {
        canvas.Font()->Assign(font);
        int w = 0;
        int h = 0;
        row.item->MeasureItem(&canvas, w, h);
        row.rect = Rect(0, y, w, y + h);
        y += h;
        widest = std::max(widest, w);
    }
    for (Row& row : m_rows) {
        row.rect.Right = widest;
    }
    if (m_selected >= RowCount()) {
        m_selected = -1;
    }
    resize(widest + 2 * Border, y + 2 * Border);
    m_inLayout = false;
}

void TMenuWindow::Relayout() {
    if (m_inLayout || !m_chain) {
        return;
    }
    TMenuItem* selected = RowItem(m_selected);
    Layout();
    m_selected = -1;
    for (int i = 0; i < RowCount(); ++i) {
        if (RowItem(i) == selected) {
            m_selected = i;
        }
    }
    if (RowCount() == 0) {
        m_chain->CloseFrom(m_level);
        return;
    }
    update();
}

int TMenuWindow::RowAt(QPoint local) const {
    const TPoint p{local.x() - Border, local.y() - Border};
    for (int i = 0; i < RowCount(); ++i) {
        if (PtInRect(m_rows[static_cast<std::size_t>(i)].rect, p)) {
            return i;
        }
    }
    return -1;
}

bool TMenuWindow::Selectable(int row) const {
    const TMenuItem* item = RowItem(row);
    return item && !item->IsLine();
}

void TMenuWindow::Select(int row) {
    if (!Selectable(row)) {
        row = -1;
    }
    if (row != m_selected) {
        m_selected = row;
        update();
    }
}

void TMenuWindow::Step(int direction) {
    const int n = RowCount();
    if (n == 0) {
        return;
    }
    int r = m_selected >= 0 ? m_selected : (direction > 0 ? -1 : n);
    for (int i = 0; i < n; ++i) {
        r = (r + direction + n) % n;
        if (Selectable(r)) {
            Select(r);
            return;
        }
    }
}

void TMenuWindow::Hover(int row) {
    if (!Selectable(row)) {
        row = -1;
    }
    const bool subOpen = m_chain->Depth() > m_level + 1;
    if (row == m_selected && (subOpen || row < 0)) {
        return;
    }
    Select(row);
    m_chain->CloseFrom(m_level + 1);
    if (row >= 0) {
        m_chain->OpenSubmenu(m_level, false);
    }
}

void TMenuWindow::Enter(int row, bool byKey) {
    TMenuItem* item = RowItem(row);
    if (!item || item->IsLine()) {
        return;
    }
    Select(row);
    if (item->VisibleCount() > 0) {
        if (!item->Enabled()) {
            return;
        }
        if (m_chain->Depth() > m_level + 1) {
            if (byKey) {
                m_chain->Window(m_level + 1)->Step(+1);
            }
            return;
        }
        m_chain->OpenSubmenu(m_level, byKey);
        return;
    }
    if (item->Enabled()) {
        m_chain->Activate(item);
    }
}

void TMenuWindow::AccessKey(QChar key) {
    const QChar wanted = key.toUpper();
    std::vector<int> matches;
    for (int i = 0; i < RowCount(); ++i) {
        if (Selectable(i) && RowItem(i)->AccessKey() == wanted) {
            matches.push_back(i);
        }
    }
    if (matches.empty()) {
        return;
    }
    if (matches.size() == 1) {
        Enter(matches.front(), true);
        return;
    }
    // Several items share the key: each press selects the next.
    auto next = std::upper_bound(matches.begin(), matches.end(), m_selected);
    Select(next == matches.end() ? matches.front() : *next);
}

bool TMenuWindow::event(QEvent* e) {
    try {
        return QWidget::event(e);
    } catch (...) {
        if (Application) {
            Application->HandleException(nullptr);
        }
        return true;
    }
}

void TMenuWindow::paintEvent(QPaintEvent* /*e*/) {
    TCanvas canvas(this);
    struct Painting {
        TMenuWindow* self;
        const TMenuWindow* previous = g_painting;
        explicit Painting(TMenuWindow* w, const TCanvas* c) : self(w) {
            g_painting = w;
            w->m_paintCanvas = c;
        }
        ~Painting() {
            g_painting = previous;
            self->m_paintCanvas = nullptr;
        }
    } painting(this, &canvas);

    TRect frame = Rect(0, 0, width(), height());
    Frame3D(canvas, frame, clBtnFace, cl3DDkShadow, 1);
    Frame3D(canvas, frame, clBtnHighlight, clBtnShadow, 1);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clMenu);
    canvas.FillRect(frame);
    canvas.SetOrigin(Border, Border);

    TFont font;
    GetMenuFont(font);
    for (int i = 0; i < RowCount(); ++i) {
        const Row& row = m_rows[static_cast<std::size_t>(i)];
        const bool selected = i == m_selected;
        TOwnerDrawState state = selected ? TOwnerDrawState{odSelected} : 0u;
        if (!row.item->Enabled()) {
            state |= odDisabled | odGrayed;
        }
        if (row.item->Checked()) {
            state |= odChecked;
        }
        if (row.item->Default()) {
            state |= odDefault;
        }
        // Each item starts from the same canvas state, whatever the last drew.
        canvas.Font()->Assign(font);
        canvas.Font()->SetColor(selected ? clHighlightText : clMenuText);
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(selected ? clHighlight : clMenu);
        canvas.Pen()->SetStyle(psSolid);
        canvas.Pen()->SetWidth(1);
        canvas.Pen()->SetColor(clBlack);
        canvas.Pen()->SetMode(pmCopy);
        row.item->DrawItem(&canvas, row.rect, state);
    }
}

void TMenuWindow::mouseMoveEvent(QMouseEvent* e) {
    if (!m_chain) {
        return;
    }
    const QPoint g = e->globalPosition().toPoint();
    if (TMenuWindow* w = m_chain->WindowAt(g)) {
        w->Hover(w->RowAt(w->mapFromGlobal(g)));
        return;
    }
    if (TMenuBarHost* host = m_chain->Host(); host && host->MenuBarTrack({g.x(), g.y()})) {
        return; // the bar opened another menu; this window is going
    }
    // Outside every window: the deepest menu lets go of a row that has no
    // submenu open.
    if (TMenuWindow* deepest = m_chain->Window(m_chain->Depth() - 1)) {
        deepest->Select(-1);
    }
}

void TMenuWindow::mousePressEvent(QMouseEvent* e) {
    if (!m_chain) {
        return;
    }
    const QPoint g = e->globalPosition().toPoint();
    if (TMenuWindow* w = m_chain->WindowAt(g)) {
        const int row = w->RowAt(w->mapFromGlobal(g));
        TMenuItem* item = w->RowItem(row);
        if (item && !item->IsLine() && item->VisibleCount() > 0) {
            w->Enter(row, false);
        }
        return;
    }
    // A press outside closes the menus and goes no further.
    TMenuBarHost* host = m_chain->Host();
    m_chain->Close();
    if (host) {
        host->MenuBarPressed({g.x(), g.y()});
    }
}

void TMenuWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (!m_chain || e->button() != Qt::LeftButton) {
        return;
    }
    const QPoint g = e->globalPosition().toPoint();
    if (TMenuWindow* w = m_chain->WindowAt(g)) {
        const int row = w->RowAt(w->mapFromGlobal(g));
        TMenuItem* item = w->RowItem(row);
        if (item && !item->IsLine() && item->VisibleCount() == 0) {
            w->Enter(row, false);
        }
    }
}

void TMenuWindow::keyPressEvent(QKeyEvent* e) {
    if (!m_chain) {
        return;
    }
    // Keys belong to the deepest open level.
    TMenuWindow* top = m_chain->Window(m_chain->Depth() - 1);
    if (top && top != this) {
        top->keyPressEvent(e);
        return;
    }
    TMenuChain* chain = m_chain;
    switch (e->key()) {
    case Qt::Key_Up:
        Step(-1);
        return;
    case Qt::Key_Down:
        Step(+1);
        return;
    case Qt::Key_Home:
        m_selected = -1;
        Step(+1);
        return;
    case Qt::Key_End:
        m_selected = -1;
        Step(-1);
        return;
    case Qt::Key_Right: {
        TMenuItem* item = RowItem(m_selected);
        if (item && item->Enabled() && item->VisibleCount() > 0) {
            chain->OpenSubmenu(m_level, true);
        } else if (chain->Host()) {
            chain->Host()->MenuBarStep(+1);
        }
        return;
    }
    case Qt::Key_Left:
        if (m_level > 0) {
            chain->CloseFrom(m_level);
        } else if (chain->Host()) {
            chain->Host()->MenuBarStep(-1);
        }
        return;
    case Qt::Key_Escape:
        if (m_level > 0) {
            chain->CloseFrom(m_level);
        } else {
            chain->Close();
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Enter(m_selected, true);
        return;
    case Qt::Key_Alt:
    case Qt::Key_F10:
        chain->Close();
        return;
    default:
        break;
    }
    const QString text = e->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace()) {
        AccessKey(text.at(0));
    }
}

void TMenuWindow::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    // Hidden from outside (the application closing its popups): the whole
    // menu goes.
    if (!m_chainHides && m_chain) {
        m_chain->Close();
    }
}

} // namespace tk
