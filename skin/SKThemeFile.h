// Theme files (*.skn): a 24-byte header and a chain of 77-byte entries, each
// followed by its data (a whole file, a 32-bit integer, a byte or text). The
// reader, the writer, the embedded theme that carries a theme file inside a
// form description, and the manager that gives one style and one file theme
// to chosen components of its form.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/toolkit/Component.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

class QBuffer;

namespace sk {

// Layout constants of the file format.
inline constexpr char SK_THEMEFILE_MAGIC[] = "SkinKit_TB";
inline constexpr int SK_THEMEFILE_HEADER_SIZE = 24;
inline constexpr int SK_THEMEFILE_ENTRY_SIZE = 77;
inline constexpr int SK_THEMEFILE_NAME_SIZE = 64;

enum TskThemeEntryKind : unsigned char {
    tekFile = 0,
    tekInteger = 1,
    tekBoolean = 2,
    tekString = 3,
};

// True when the file exists and starts with the magic.
bool IsSKThemeFile(const QString& FileName);

// One loaded theme file in memory. Damaged files (truncated, offsets or
// lengths past the end, chains that loop) are read as far as they are sound.
class TskThemeFileReader {
public:
    struct Line {
        QString Name;
        QString Value; // decimal text for integers and booleans
    };
    struct FileEntry {
        QString Name;
        std::unique_ptr<QBuffer> Stream;
    };

    explicit TskThemeFileReader(const QString& FileName);
    // Reads file bytes already in memory (embedded themes, tests).
    static std::unique_ptr<TskThemeFileReader> FromData(const QByteArray& Data);
    ~TskThemeFileReader();
    TskThemeFileReader(const TskThemeFileReader&) = delete;
    TskThemeFileReader& operator=(const TskThemeFileReader&) = delete;

    // Names match in any case; of two entries with one name the first counts.
    // Missing or malformed: false, -1, empty text, null stream.
    bool GetBool(const QString& Name) const;
    qint32 GetInteger(const QString& Name) const;
    QString GetStr(const QString& Name) const;
    // Rewound to its start; owned by the reader.
    QIODevice* GetFile(const QString& Name) const;

    const std::vector<FileEntry>& Files() const { return m_files; }
    const std::vector<Line>& Integers() const { return m_integers; }
    const std::vector<Line>& Booleans() const { return m_booleans; }
    const std::vector<Line>& Strings() const { return m_strings; }

private:
    TskThemeFileReader() = default;
    void Load(const QString& FileName);
    void Parse(const QByteArray& Data);

    std::vector<FileEntry> m_files;
    std::vector<Line> m_integers;
    std::vector<Line> m_booleans;
    std::vector<Line> m_strings;
};

// Collects entries and writes them as one theme file: files, strings,
// integers, booleans, each group in the order added, then the end entry.
class TskThemeFileWriter {
public:
    explicit TskThemeFileWriter(const QString& FileName);
    // Saves unless Save already wrote what was added.
    ~TskThemeFileWriter();
    TskThemeFileWriter(const TskThemeFileWriter&) = delete;
    TskThemeFileWriter& operator=(const TskThemeFileWriter&) = delete;

    void AddBool(const QString& Name, bool Value);
    void AddFile(const QString& Name, const QString& FilePath);
    void AddInteger(const QString& Name, qint32 Value);
    void AddStr(const QString& Name, const QString& Value);

    // Writes the whole file or nothing: false (the target untouched) when a
    // source file cannot be read or the target cannot be written.
    bool Save();

private:
    struct Line {
        QString Name;
        QString Value;
    };
    static QString FirstValue(const std::vector<Line>& list, const QString& name);

    QString m_fileName;
    std::vector<Line> m_files;
    std::vector<Line> m_integers;
    std::vector<Line> m_booleans;
    std::vector<Line> m_strings;
    bool m_saved = false;
};

// Writes a theme file holding every item of a built-in style: images as BMP
// file entries, colours and integers as integers, flags as booleans.
bool SaveBuiltInThemeFile(TskUIStyle Style, const QString& FileName);

// A file theme whose theme file travels inside the form description, as the
// binary property SkinData.
class TskBuiltInFileTheme : public TskFileTheme {
    Q_OBJECT
    Q_PROPERTY(QByteArray SkinData READ SkinData WRITE SetSkinData)

public:
    explicit TskBuiltInFileTheme(tk::TComponent* AOwner);
    ~TskBuiltInFileTheme() override;

    // The design-time path of the source theme file; only stored.
    QString ThemeFile() const { return m_themeFile2; }
    void SetThemeFile2(const QString& Value) { m_themeFile2 = Value; }

    // Data to store exactly when the file named by ThemeFile exists.
    bool HasSkinData() const;
    // The bytes of that file, into Stream.
    void WriteSkinData(QIODevice& Stream) const;
    // Loads stored theme-file bytes through a temporary file in the
    // temporary directory ("SKINKIT.skn", or SKINKIT1.skn ... when taken),
    // deleted afterwards.
    void ReadSkinData(QIODevice& Stream);

    QByteArray SkinData() const;
    void SetSkinData(const QByteArray& Data);

protected:
    QString PublishedThemeFile() const override { return m_themeFile2; }
    void SetPublishedThemeFile(const QString& Value) override { SetThemeFile2(Value); }

private:
    QString m_themeFile2;
};

using TskThemeMgrCompList = QStringList;

// Gives one style and one file theme to the listed components of its form.
class TskThemeManager : public tk::TComponent {
    Q_OBJECT
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(QStringList CompList READ CompList WRITE SetList)

public:
    explicit TskThemeManager(tk::TComponent* AOwner);
    ~TskThemeManager() override;

    TskUIStyle UIStyle() const { return m_style; }
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_fileTheme.data(); }
    void SetFileTheme(TskFileTheme* Value);
    const TskThemeMgrCompList& CompList() const { return m_compList; }
    void SetList(const TskThemeMgrCompList& Value);

    void UpdateAll();
    void UpdateTheme() { UpdateAll(); }

    tk::TNotifyEvent OnUIStyleChanged;

protected:
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

private:
    TskSkinMark m_mark{this};
    TskUIStyle m_style = DeepBlue;
    QPointer<TskFileTheme> m_fileTheme;
    TskThemeMgrCompList m_compList;
};

// Design-time editing: choose a theme file, or the managed components.
void ThemeManagerEdit(TskThemeManager* Manager);
void FileThemeEdit(TskFileTheme* Theme);
void BuiltInFileThemeEdit(TskBuiltInFileTheme* Theme);

// Registers the skin layer's non-visual classes with the form reader.
void RegisterThemeFileClasses();

} // namespace sk
