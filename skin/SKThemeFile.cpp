#include "skin/SKThemeFile.h"

#include <QBuffer>

namespace sk {

bool IsSKThemeFile(const QString&) {
    return false;
}

TskThemeFileReader::TskThemeFileReader(const QString& FileName) {
    Load(FileName);
}
std::unique_ptr<TskThemeFileReader> TskThemeFileReader::FromData(const QByteArray& Data) {
    std::unique_ptr<TskThemeFileReader> r(new TskThemeFileReader());
    r->Parse(Data);
    return r;
}
TskThemeFileReader::~TskThemeFileReader() = default;
void TskThemeFileReader::Load(const QString&) {}
void TskThemeFileReader::Parse(const QByteArray&) {}
bool TskThemeFileReader::GetBool(const QString&) const {
    return false;
}
qint32 TskThemeFileReader::GetInteger(const QString&) const {
    return -1;
}
QString TskThemeFileReader::GetStr(const QString&) const {
    return {};
}
QIODevice* TskThemeFileReader::GetFile(const QString&) const {
    return nullptr;
}

TskThemeFileWriter::TskThemeFileWriter(const QString& FileName) : m_fileName(FileName) {}
TskThemeFileWriter::~TskThemeFileWriter() = default;
void TskThemeFileWriter::AddBool(const QString&, bool) {}
void TskThemeFileWriter::AddFile(const QString&, const QString&) {}
void TskThemeFileWriter::AddInteger(const QString&, qint32) {}
void TskThemeFileWriter::AddStr(const QString&, const QString&) {}
bool TskThemeFileWriter::Save() {
    return false;
}
QString TskThemeFileWriter::FirstValue(const std::vector<Line>&, const QString&) {
    return {};
}

bool SaveBuiltInThemeFile(TskUIStyle, const QString&) {
    return false;
}

TskBuiltInFileTheme::TskBuiltInFileTheme(tk::TComponent* AOwner) : TskFileTheme(AOwner) {}
TskBuiltInFileTheme::~TskBuiltInFileTheme() = default;
bool TskBuiltInFileTheme::HasSkinData() const {
    return false;
}
void TskBuiltInFileTheme::WriteSkinData(QIODevice&) const {}
void TskBuiltInFileTheme::ReadSkinData(QIODevice&) {}
QByteArray TskBuiltInFileTheme::SkinData() const {
    return {};
}
void TskBuiltInFileTheme::SetSkinData(const QByteArray&) {}

TskThemeManager::TskThemeManager(tk::TComponent* AOwner) : tk::TComponent(AOwner) {}
TskThemeManager::~TskThemeManager() = default;
void TskThemeManager::SetUIStyle(TskUIStyle Value) {
    m_style = Value;
}
void TskThemeManager::SetFileTheme(TskFileTheme* Value) {
    m_fileTheme = Value;
}
void TskThemeManager::SetList(const TskThemeMgrCompList& Value) {
    m_compList = Value;
}
void TskThemeManager::UpdateAll() {}
void TskThemeManager::Notification(tk::TComponent* AComponent, tk::TOperation Operation) {
    tk::TComponent::Notification(AComponent, Operation);
}

void ThemeManagerEdit(TskThemeManager*) {}
void FileThemeEdit(TskFileTheme*) {}
void BuiltInFileThemeEdit(TskBuiltInFileTheme*) {}
void RegisterThemeFileClasses() {}

} // namespace sk
