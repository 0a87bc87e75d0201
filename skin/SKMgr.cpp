#include "skin/SKMgr.h"

#include <QFileInfo>
#include <unordered_map>

#include "platform/toolkit/Forms.h"
#include "platform/win32/Win32.h"
#include "skin/SKThemeFile.h"

namespace sk {

namespace {

QString ItemName(int index) {
    if (index < 1 || index > SK_ITEM_COUNT) {
        return {};
    }
    return QLatin1String(SK_FILETHEME_ITEMNAME[static_cast<std::size_t>(index)]);
}

} // namespace

// ---- TskFileThemeMgr ----------------------------------------------------------

TskFileThemeMgr::TskFileThemeMgr() = default;
TskFileThemeMgr::~TskFileThemeMgr() = default;

bool TskFileThemeMgr::LoadFromFile(const QString& FileName) {
    if (FileName.isEmpty() || !QFileInfo(FileName).isFile()) {
        return false;
    }
    m_reader = std::make_unique<TskThemeFileReader>(FileName);
    return true;
}

void TskFileThemeMgr::GetBitmap(int Index, tk::TBitmap* Buf) const {
    if (!m_reader || !Buf) {
        return;
    }
    QIODevice* stream = m_reader->GetFile(ItemName(Index));
    if (!stream) {
        return;
    }
    try {
        Buf->LoadFromStream(*stream);
    } catch (const tk::Exception&) {
        // Bytes that are no image leave the bitmap as it was.
    }
}

bool TskFileThemeMgr::GetBool(int Index) const {
    return m_reader && m_reader->GetBool(ItemName(Index));
}

TColor TskFileThemeMgr::GetColor(int Index) const {
    return static_cast<TColor>(GetInt(Index));
}

int TskFileThemeMgr::GetInt(int Index) const {
    return m_reader ? m_reader->GetInteger(ItemName(Index)) : 0;
}

// ---- TskFileTheme -------------------------------------------------------------

TskFileTheme::TskFileTheme(tk::TComponent* AOwner)
    : tk::TComponent(AOwner), m_mgr(std::make_unique<TskFileThemeMgr>()) {}

TskFileTheme::~TskFileTheme() = default;

bool TskFileTheme::CheckThemeFile(const QString& FileName) {
    return IsSKThemeFile(FileName);
}

namespace {

// Value itself, else its file-name part in the program's folder; empty when
// neither exists. Names written on Windows may use backslashes.
QString FindThemeFile(const QString& value) {
    if (value.isEmpty()) {
        return {};
    }
    if (QFileInfo(value).isFile()) {
        return value;
    }
    const qsizetype cut =
        std::max(value.lastIndexOf(QLatin1Char('/')), value.lastIndexOf(QLatin1Char('\\')));
    const QString name = value.mid(cut + 1);
    const QString folder = QString::fromStdString(GetProgramFolder());
    if (!name.isEmpty() && !folder.isEmpty()) {
        const QString candidate = folder + name;
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return {};
}

} // namespace

void TskFileTheme::SetThemeFile(const QString& Value) {
    if (Value == m_themeFile) {
        return;
    }
    LoadThemeFile(Value);
}

void TskFileTheme::LoadThemeFile(const QString& Value) {
    const QString found = FindThemeFile(Value);
    if (found.isEmpty()) {
        return;
    }
    if (!CheckThemeFile(found)) {
        throw tk::Exception(QStringLiteral("Invalid skin file for SkinKit!"));
    }
    m_themeFile = found;
    m_canUse = m_mgr->LoadFromFile(found);
    if (m_canUse) {
        ReassignUsers();
    }
}

void TskFileTheme::ReassignUsers() {
    auto* form = qobject_cast<tk::TCustomForm*>(Owner());
    if (!form) {
        return;
    }
    QPointer<TskFileTheme> self(this);
    const std::vector<tk::TComponent*> components = form->Components();
    for (tk::TComponent* c : components) {
        if (!self) {
            return;
        }
        if (!TskSkinMark::IsSkinned(c) || !IsHasProperty(c, "FileTheme")) {
            continue;
        }
        if (c->property("FileTheme").value<QObject*>() != this) {
            continue;
        }
        // A user on a built-in style only keeps the reference; re-applying
        // its style would overwrite values stored after it.
        if (c->property("UIStyle").toInt() != FromThemeFile) {
            continue;
        }
        // Setters ignore the reference they already hold, so it goes away
        // for a moment: each user then reloads from the new file.
        SetPublishedProperty(c, "FileTheme", QVariant::fromValue<QObject*>(nullptr));
        SetPublishedProperty(c, "FileTheme", QVariant::fromValue<QObject*>(this));
    }
}

void TskFileTheme::GetBitmap(int Index, tk::TBitmap* Buf) const {
    m_mgr->GetBitmap(Index, Buf);
}

void TskFileTheme::GetBitmap(int Index, tk::TBitmap* Buf, int SpitCount, int SpitIndex) const {
    if (!Buf) {
        return;
    }
    tk::TBitmap whole;
    m_mgr->GetBitmap(Index, &whole);
    if (whole.Empty()) {
        return;
    }
    SpitBitmap(&whole, Buf, SpitCount, SpitIndex);
}

bool TskFileTheme::GetBool(int Index) const {
    return m_mgr->GetBool(Index);
}

TColor TskFileTheme::GetColor(int Index) const {
    return m_mgr->GetColor(Index);
}

int TskFileTheme::GetInt(int Index) const {
    return m_mgr->GetInt(Index);
}

// ---- TskSkinMark ---------------------------------------------------------------

namespace {

// Marks per object; a component may hold more than one. Never freed, so a
// component outliving the statics still finds it.
std::unordered_map<const QObject*, int>& Marks() {
    static auto* marks = new std::unordered_map<const QObject*, int>();
    return *marks;
}

} // namespace

TskSkinMark::TskSkinMark(const QObject* Component) : m_component(Component) {
    if (m_component) {
        ++Marks()[m_component];
    }
}

TskSkinMark::~TskSkinMark() {
    if (!m_component) {
        return;
    }
    auto it = Marks().find(m_component);
    if (it != Marks().end() && --it->second <= 0) {
        Marks().erase(it);
    }
}

bool TskSkinMark::IsSkinned(const QObject* Component) {
    return Component && Marks().count(Component) > 0;
}

// ---- UsingFileTheme -----------------------------------------------------------

bool UsingFileTheme(const TskFileTheme* FileTheme, TskUIStyle UIStyle, TskUIStyle& UsedStyle) {
    if (UIStyle != FromThemeFile) {
        UsedStyle = UIStyle;
        return false;
    }
    if (FileTheme && FileTheme->CanUse()) {
        UsedStyle = FromThemeFile;
        return true;
    }
    UsedStyle = DeepBlue;
    return false;
}

// ---- TskThemeLink -------------------------------------------------------------

TskThemeLink::TskThemeLink(tk::TComponent* Self, TskUIStyle Initial)
    : m_self(Self), m_mark(Self), m_style(Initial) {
    Resolve();
}

TskThemeLink::~TskThemeLink() = default;

void TskThemeLink::SetUIStyle(TskUIStyle Value) {
    m_style = Value;
    Resolve();
}

bool TskThemeLink::SetFileTheme(TskFileTheme* Value) {
    TskFileTheme* old = m_fileTheme.data();
    if (Value == old) {
        return false;
    }
    if (old && m_self) {
        m_self->RemoveFreeNotification(old);
    }
    m_fileTheme = Value;
    if (Value && m_self) {
        m_self->FreeNotification(Value);
    }
    Resolve();
    return true;
}

bool TskThemeLink::ThemeRemoved(tk::TComponent* AComponent, tk::TOperation Operation) {
    if (Operation != tk::TOperation::opRemove || !AComponent ||
        AComponent != static_cast<tk::TComponent*>(m_fileTheme.data())) {
        return false;
    }
    m_fileTheme = nullptr;
    Resolve();
    return true;
}

void TskThemeLink::Resolve() {
    m_usesFile = UsingFileTheme(m_fileTheme.data(), m_style, m_used);
}

void TskThemeLink::GetBitmap(int Index, tk::TBitmap* Buf, int SpitCount, int SpitIndex) const {
    if (m_usesFile && m_fileTheme) {
        if (SpitCount == 0) {
            m_fileTheme->GetBitmap(Index, Buf);
        } else {
            m_fileTheme->GetBitmap(Index, Buf, SpitCount, SpitIndex);
        }
        return;
    }
    GetInsideThemeBitmap(m_used, Index, Buf, SpitCount, SpitIndex);
}

TColor TskThemeLink::GetColor(int Index) const {
    return m_usesFile && m_fileTheme ? m_fileTheme->GetColor(Index)
                                     : GetInsideThemeColor(m_used, Index);
}

int TskThemeLink::GetInt(int Index) const {
    return m_usesFile && m_fileTheme ? m_fileTheme->GetInt(Index)
                                     : GetInsideThemeInt(m_used, Index);
}

bool TskThemeLink::GetBool(int Index) const {
    return m_usesFile && m_fileTheme ? m_fileTheme->GetBool(Index)
                                     : GetInsideThemeBool(m_used, Index);
}

} // namespace sk
