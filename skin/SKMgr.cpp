#include "skin/SKMgr.h"

#include "skin/SKThemeFile.h"

namespace sk {

TskFileThemeMgr::TskFileThemeMgr() = default;
TskFileThemeMgr::~TskFileThemeMgr() = default;
bool TskFileThemeMgr::LoadFromFile(const QString&) {
    return false;
}
void TskFileThemeMgr::GetBitmap(int, tk::TBitmap*) const {}
bool TskFileThemeMgr::GetBool(int) const {
    return false;
}
TColor TskFileThemeMgr::GetColor(int) const {
    return 0;
}
int TskFileThemeMgr::GetInt(int) const {
    return 0;
}

TskFileTheme::TskFileTheme(tk::TComponent* AOwner)
    : tk::TComponent(AOwner), m_mgr(std::make_unique<TskFileThemeMgr>()) {}
TskFileTheme::~TskFileTheme() = default;
void TskFileTheme::SetThemeFile(const QString&) {}
bool TskFileTheme::CheckThemeFile(const QString&) {
    return false;
}
void TskFileTheme::GetBitmap(int, tk::TBitmap*) const {}
void TskFileTheme::GetBitmap(int, tk::TBitmap*, int, int) const {}
bool TskFileTheme::GetBool(int) const {
    return false;
}
TColor TskFileTheme::GetColor(int) const {
    return 0;
}
int TskFileTheme::GetInt(int) const {
    return 0;
}
void TskFileTheme::ReassignUsers() {}

bool UsingFileTheme(const TskFileTheme*, TskUIStyle UIStyle, TskUIStyle& UsedStyle) {
    UsedStyle = UIStyle;
    return false;
}

TskThemeLink::TskThemeLink(tk::TComponent* Self, TskUIStyle Initial)
    : m_self(Self), m_style(Initial), m_used(Initial) {}
TskThemeLink::~TskThemeLink() = default;
void TskThemeLink::SetUIStyle(TskUIStyle Value) {
    m_style = Value;
}
bool TskThemeLink::SetFileTheme(TskFileTheme*) {
    return false;
}
bool TskThemeLink::ThemeRemoved(tk::TComponent*, tk::TOperation) {
    return false;
}
void TskThemeLink::Resolve() {}
void TskThemeLink::GetBitmap(int, tk::TBitmap*, int, int) const {}
TColor TskThemeLink::GetColor(int) const {
    return 0;
}
int TskThemeLink::GetInt(int) const {
    return -1;
}
bool TskThemeLink::GetBool(int) const {
    return false;
}

} // namespace sk
