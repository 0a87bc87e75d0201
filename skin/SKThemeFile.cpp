#include "skin/SKThemeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstring>
#include <unordered_set>

#include "platform/toolkit/Forms.h"
#include "platform/win32/Win32.h"
#include "skin/frmThemeMgr.h"

namespace sk {

namespace {

// Theme files are small; anything beyond this is not read at all rather
// than pulled into memory whole.
constexpr qint64 kMaxThemeFileSize = qint64(512) * 1024 * 1024;

quint32 ReadU32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24);
}

void AppendU32(QByteArray& out, quint32 v) {
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                       char((v >> 24) & 0xFF)};
    out.append(b, 4);
}

template <class L> const L* FindLine(const std::vector<L>& list, const QString& name) {
    for (const L& l : list) {
        if (l.Name.compare(name, Qt::CaseInsensitive) == 0) {
            return &l;
        }
    }
    return nullptr;
}

} // namespace

bool IsSKThemeFile(const QString& FileName) {
    if (FileName.isEmpty() || !QFileInfo(FileName).isFile()) {
        return false;
    }
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = f.read(16);
    if (head.size() < 16) {
        return false;
    }
    const QByteArray magic = head.left(12);
    const qsizetype zero = magic.indexOf('\0');
    return (zero < 0 ? magic : magic.left(zero)) == QByteArray(SK_THEMEFILE_MAGIC);
}

// ---- reader -------------------------------------------------------------------

TskThemeFileReader::TskThemeFileReader(const QString& FileName) {
    Load(FileName);
}

std::unique_ptr<TskThemeFileReader> TskThemeFileReader::FromData(const QByteArray& Data) {
    std::unique_ptr<TskThemeFileReader> reader(new TskThemeFileReader());
    reader->Parse(Data);
    return reader;
}

TskThemeFileReader::~TskThemeFileReader() = default;

void TskThemeFileReader::Load(const QString& FileName) {
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxThemeFileSize) {
        return;
    }
    Parse(f.readAll());
}

void TskThemeFileReader::Parse(const QByteArray& Data) {
    const qint64 size = Data.size();
    const char* bytes = Data.constData();
    if (size < SK_THEMEFILE_HEADER_SIZE) {
        return;
    }
    // The header size field is not needed: the first entry's offset is.
    quint32 offset = ReadU32(bytes + 20);

    // Bounds that a sound file never reaches: entries do not overlap, and
    // their data together is not larger than the file. They stop chains that
    // loop or reuse one big data block over and over.
    std::unordered_set<quint32> visited;
    const std::size_t maxEntries = static_cast<std::size_t>(size / SK_THEMEFILE_ENTRY_SIZE) + 1;
    qint64 dataBudget = size;

    for (;;) {
        if (qint64(offset) + SK_THEMEFILE_ENTRY_SIZE > size) {
            return; // truncated, or an offset past the end
        }
        if (!visited.insert(offset).second || visited.size() > maxEntries) {
            return;
        }
        const char* entry = bytes + offset;
        const quint32 next = ReadU32(entry + 73);
        if (next == 0) {
            return; // the end entry
        }
        const char* nameEnd =
            static_cast<const char*>(std::memchr(entry, 0, SK_THEMEFILE_NAME_SIZE));
        const QString name = QString::fromLatin1(
            entry, nameEnd ? nameEnd - entry : qsizetype(SK_THEMEFILE_NAME_SIZE));
        const auto kind = static_cast<unsigned char>(entry[64]);
        const quint32 dataOffset = ReadU32(entry + 65);
        const quint32 length = ReadU32(entry + 69);
        const bool inFile = qint64(dataOffset) + qint64(length) <= size;

        switch (kind) {
        case tekFile: {
            if (!inFile || (dataBudget -= length) < 0) {
                return;
            }
            auto stream = std::make_unique<QBuffer>();
            stream->setData(bytes + dataOffset, qsizetype(length));
            stream->open(QIODevice::ReadOnly);
            m_files.push_back({name, std::move(stream)});
            break;
        }
        case tekInteger:
            // Only a four-byte value is an integer; anything else is skipped.
            if (!inFile) {
                return;
            }
            if (length == 4) {
                const auto v = static_cast<qint32>(ReadU32(bytes + dataOffset));
                m_integers.push_back({name, QString::number(v)});
            }
            break;
        case tekBoolean:
            if (!inFile) {
                return;
            }
            if (length >= 1) {
                const auto v = static_cast<unsigned char>(bytes[dataOffset]);
                m_booleans.push_back({name, QString::number(v)});
            }
            break;
        case tekString:
            if (!inFile || (dataBudget -= length) < 0) {
                return;
            }
            m_strings.push_back({name, QString::fromLatin1(bytes + dataOffset, length)});
            break;
        default:
            break;
        }
        offset = next;
    }
}

bool TskThemeFileReader::GetBool(const QString& Name) const {
    const Line* l = FindLine(m_booleans, Name);
    if (!l) {
        return false;
    }
    bool ok = false;
    const int v = l->Value.toInt(&ok);
    return ok && (v & 0xFF) != 0;
}

qint32 TskThemeFileReader::GetInteger(const QString& Name) const {
    const Line* l = FindLine(m_integers, Name);
    if (!l) {
        return -1;
    }
    bool ok = false;
    const int v = l->Value.toInt(&ok);
    return ok ? v : -1;
}

QString TskThemeFileReader::GetStr(const QString& Name) const {
    const Line* l = FindLine(m_strings, Name);
    return l ? l->Value : QString();
}

QIODevice* TskThemeFileReader::GetFile(const QString& Name) const {
    const FileEntry* e = FindLine(m_files, Name);
    if (!e) {
        return nullptr;
    }
    e->Stream->seek(0);
    return e->Stream.get();
}

// ---- writer -------------------------------------------------------------------

TskThemeFileWriter::TskThemeFileWriter(const QString& FileName) : m_fileName(FileName) {}

TskThemeFileWriter::~TskThemeFileWriter() {
    if (!m_saved) {
        Save();
    }
}

void TskThemeFileWriter::AddBool(const QString& Name, bool Value) {
    m_booleans.push_back({Name, Value ? QStringLiteral("1") : QStringLiteral("0")});
    m_saved = false;
}

void TskThemeFileWriter::AddFile(const QString& Name, const QString& FilePath) {
    m_files.push_back({Name, FilePath});
    m_saved = false;
}

void TskThemeFileWriter::AddInteger(const QString& Name, qint32 Value) {
    m_integers.push_back({Name, QString::number(Value)});
    m_saved = false;
}

void TskThemeFileWriter::AddStr(const QString& Name, const QString& Value) {
    m_strings.push_back({Name, Value});
    m_saved = false;
}

QString TskThemeFileWriter::FirstValue(const std::vector<Line>& list, const QString& name) {
    // A value is found again by its name, so a repeated name repeats the
    // first value: files read back the same whatever the reader picks.
    const Line* l = FindLine(list, name);
    return l ? l->Value : QString();
}

bool TskThemeFileWriter::Save() {
    QByteArray out;
    out.append(SK_THEMEFILE_MAGIC, 10);
    out.append(2, '\0');
    AppendU32(out, SK_THEMEFILE_HEADER_SIZE);
    AppendU32(out, 1);
    AppendU32(out, SK_THEMEFILE_HEADER_SIZE);

    bool fits = true;
    auto entry = [&](const QString& name, unsigned char kind, const QByteArray& data) {
        const qint64 dataOffset = qint64(out.size()) + SK_THEMEFILE_ENTRY_SIZE;
        const qint64 next = dataOffset + data.size();
        if (next > qint64(0xFFFFFFFFu)) {
            fits = false;
            return;
        }
        QByteArray field = name.toLatin1().left(SK_THEMEFILE_NAME_SIZE);
        field.append(SK_THEMEFILE_NAME_SIZE - field.size(), '\0');
        out.append(field);
        out.append(char(kind));
        AppendU32(out, quint32(dataOffset));
        AppendU32(out, quint32(data.size()));
        AppendU32(out, quint32(next));
        out.append(data);
    };

    for (const Line& l : m_files) {
        QFile source(FirstValue(m_files, l.Name));
        if (!source.open(QIODevice::ReadOnly)) {
            return false;
        }
        const QByteArray data = source.readAll();
        if (source.error() != QFileDevice::NoError) {
            return false;
        }
        entry(l.Name, tekFile, data);
    }
    for (const Line& l : m_strings) {
        entry(l.Name, tekString, FirstValue(m_strings, l.Name).toLatin1());
    }
    for (const Line& l : m_integers) {
        QByteArray data;
        AppendU32(data, quint32(FirstValue(m_integers, l.Name).toInt()));
        entry(l.Name, tekInteger, data);
    }
    for (const Line& l : m_booleans) {
        entry(l.Name, tekBoolean, QByteArray(1, FirstValue(m_booleans, l.Name).toInt() ? 1 : 0));
    }
    if (!fits) {
        return false;
    }
    QByteArray end(SK_THEMEFILE_ENTRY_SIZE, '\0');
    end[64] = char(tekBoolean);
    out.append(end);

    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit()) {
        return false;
    }
    m_saved = true;
    return true;
}

bool SaveBuiltInThemeFile(TskUIStyle Style, const QString& FileName) {
    // Compared as numbers: clang 14 (the fuzz build) crashes on the enums.
    if (static_cast<int>(Style) < static_cast<int>(MacOS) ||
        static_cast<int>(Style) > static_cast<int>(BlueGlass)) {
        return false;
    }
    QTemporaryDir images;
    if (!images.isValid()) {
        return false;
    }
    TskThemeFileWriter writer(FileName);
    for (int i = 1; i <= SK_ITEM_COUNT; ++i) {
        const QString name = QLatin1String(SK_FILETHEME_ITEMNAME[static_cast<std::size_t>(i)]);
        switch (SK_ITEM_TYPE[static_cast<std::size_t>(i)]) {
        case TskType::Str: {
            tk::TBitmap bitmap;
            GetInsideThemeBitmap(Style, i, &bitmap);
            if (bitmap.Empty()) {
                break;
            }
            const QString path = images.filePath(name + QStringLiteral(".bmp"));
            try {
                bitmap.SaveToFile(path);
            } catch (const tk::Exception&) {
                return false;
            }
            writer.AddFile(name, path);
            break;
        }
        case TskType::Int:
            writer.AddInteger(name, GetInsideThemeInt(Style, i));
            break;
        case TskType::Color:
            writer.AddInteger(name, static_cast<qint32>(GetInsideThemeColor(Style, i)));
            break;
        case TskType::Bool:
            writer.AddBool(name, GetInsideThemeBool(Style, i));
            break;
        }
    }
    // Saved here, while the images still exist.
    return writer.Save();
}

// ---- embedded theme -----------------------------------------------------------

TskBuiltInFileTheme::TskBuiltInFileTheme(tk::TComponent* AOwner) : TskFileTheme(AOwner) {}

TskBuiltInFileTheme::~TskBuiltInFileTheme() = default;

bool TskBuiltInFileTheme::HasSkinData() const {
    return !m_themeFile2.isEmpty() && QFileInfo(m_themeFile2).isFile();
}

void TskBuiltInFileTheme::WriteSkinData(QIODevice& Stream) const {
    if (!HasSkinData()) {
        return;
    }
    QFile f(m_themeFile2);
    if (f.open(QIODevice::ReadOnly)) {
        Stream.write(f.readAll());
    }
}

namespace {

// Removes the temporary copy whatever loading it does.
struct RemoveFile {
    QString path;
    ~RemoveFile() {
        if (!path.isEmpty()) {
            QFile::remove(path);
        }
    }
};

} // namespace

void TskBuiltInFileTheme::ReadSkinData(QIODevice& Stream) {
    const QByteArray data = Stream.readAll();
    const QDir temp(QDir::tempPath());
    RemoveFile copy;
    for (int n = 0; n < 100000 && copy.path.isEmpty(); ++n) {
        const QString name =
            n == 0 ? QStringLiteral("SKINKIT.skn") : QStringLiteral("SKINKIT%1.skn").arg(n);
        const QString path = temp.filePath(name);
        if (QFileInfo::exists(path)) {
            continue;
        }
        // NewOnly: a file that appeared since the check is never overwritten.
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            continue;
        }
        copy.path = path;
        if (f.write(data) != data.size() || !f.flush()) {
            return;
        }
    }
    if (copy.path.isEmpty()) {
        return;
    }
    LoadThemeFile(copy.path);
}

QByteArray TskBuiltInFileTheme::SkinData() const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteSkinData(buffer);
    return buffer.data();
}

void TskBuiltInFileTheme::SetSkinData(const QByteArray& Data) {
    QBuffer buffer;
    buffer.setData(Data);
    buffer.open(QIODevice::ReadOnly);
    ReadSkinData(buffer);
}

// ---- theme manager ------------------------------------------------------------

TskThemeManager::TskThemeManager(tk::TComponent* AOwner) : tk::TComponent(AOwner) {}

TskThemeManager::~TskThemeManager() = default;

void TskThemeManager::SetUIStyle(TskUIStyle Value) {
    const TskUIStyle old = m_style;
    m_style = Value;
    UpdateAll();
    if (old != Value && OnUIStyleChanged) {
        OnUIStyleChanged(this);
    }
}

void TskThemeManager::SetFileTheme(TskFileTheme* Value) {
    if (Value != m_fileTheme.data()) {
        if (m_fileTheme) {
            RemoveFreeNotification(m_fileTheme.data());
        }
        m_fileTheme = Value;
        if (Value) {
            FreeNotification(Value);
        }
    }
    SetUIStyle(m_style);
}

void TskThemeManager::SetList(const TskThemeMgrCompList& Value) {
    m_compList = Value;
}

void TskThemeManager::UpdateAll() {
    auto* owner = qobject_cast<tk::TCustomForm*>(Owner());
    if (!owner) {
        return;
    }
    QPointer<TskThemeManager> self(this);
    const TskThemeMgrCompList names = m_compList;
    for (const QString& name : names) {
        if (!self) {
            return;
        }
        tk::TComponent* c = owner->FindComponent(name);
        if (!c) {
            continue;
        }
        SetPublishedProperty(c, "UIStyle", QVariant(static_cast<int>(m_style)));
        SetPublishedProperty(c, "FileTheme", QVariant::fromValue<QObject*>(m_fileTheme.data()));
    }
}

void TskThemeManager::Notification(tk::TComponent* AComponent, tk::TOperation Operation) {
    tk::TComponent::Notification(AComponent, Operation);
    if (Operation != tk::TOperation::opRemove || !AComponent || AComponent == this) {
        return;
    }
    const QString name = AComponent->Name();
    if (!name.isEmpty()) {
        m_compList.removeIf(
            [&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
    }
    if (AComponent == static_cast<tk::TComponent*>(m_fileTheme.data())) {
        m_fileTheme = nullptr;
        m_style = DeepBlue;
    }
}

// ---- editing ------------------------------------------------------------------

namespace {

// The chosen theme file, or empty when the user cancels.
QString ChooseThemeFile() {
    static const char kFilter[] = "SkinKit Theme File(*.skn)\0*.skn\0";
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) {
        return {};
    }
    return QFile::decodeName(file);
}

} // namespace

void FileThemeEdit(TskFileTheme* Theme) {
    if (!Theme) {
        return;
    }
    const QString file = ChooseThemeFile();
    if (!file.isEmpty()) {
        Theme->SetThemeFile(file);
    }
}

void BuiltInFileThemeEdit(TskBuiltInFileTheme* Theme) {
    if (!Theme) {
        return;
    }
    const QString file = ChooseThemeFile();
    if (!file.isEmpty()) {
        Theme->SetThemeFile2(file);
    }
}

void ThemeManagerEdit(TskThemeManager* Manager) {
    if (!Manager) {
        return;
    }
    auto* owner = qobject_cast<tk::TCustomForm*>(Manager->Owner());
    if (!owner) {
        return;
    }
    try {
        tk::TComponentPtr<TfrmMgr> dialog(new TfrmMgr(nullptr));
        const TskThemeMgrCompList& current = Manager->CompList();
        for (const tk::TComponent* c : owner->Components()) {
            if (!TskSkinMark::IsSkinned(c) || !IsHasProperty(c, "UIStyle") ||
                !IsHasProperty(c, "FileTheme") || qobject_cast<const TskThemeManager*>(c)) {
                continue;
            }
            dialog->List->AddItem(c->Name());
            dialog->List->SetChecked(dialog->List->Count() - 1,
                                     current.contains(c->Name(), Qt::CaseInsensitive));
        }
        if (dialog->ShowModal() == tk::mrOk) {
            TskThemeMgrCompList chosen;
            for (int i = 0; i < dialog->List->Count(); ++i) {
                if (dialog->List->Checked(i)) {
                    chosen << dialog->List->Items().at(i);
                }
            }
            Manager->SetList(chosen);
        }
    } catch (...) {
        Manager->UpdateAll();
        throw;
    }
    Manager->UpdateAll();
}

void RegisterThemeFileClasses() {
    tk::RegisterClass<TskFileTheme>();
    tk::RegisterClass<TskBuiltInFileTheme>();
    tk::RegisterClass<TskThemeManager>();
}

} // namespace sk
