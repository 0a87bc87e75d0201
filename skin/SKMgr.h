// File themes: the component a skinned control points its FileTheme at, the
// manager that answers theme items from a loaded theme file, the rule that
// decides between a file theme and the built-in tables, and the style state
// every skinned component keeps.
#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "platform/toolkit/Component.h"
#include "skin/SKThemes.h"

namespace sk {

class TskThemeFileReader;

// Holds at most one theme-file reader and answers theme items by number from
// it (the entry named SK_FILETHEME_ITEMNAME[Index]).
class TskFileThemeMgr {
public:
    TskFileThemeMgr();
    ~TskFileThemeMgr();
    TskFileThemeMgr(const TskFileThemeMgr&) = delete;
    TskFileThemeMgr& operator=(const TskFileThemeMgr&) = delete;

    // A file that does not exist answers false and keeps the reader held.
    bool LoadFromFile(const QString& FileName);
    bool Loaded() const { return m_reader != nullptr; }
    const TskThemeFileReader* Reader() const { return m_reader.get(); }

    // Without a reader Buf is left alone; so is it when the entry is missing
    // or its bytes are no image.
    void GetBitmap(int Index, tk::TBitmap* Buf) const;
    // Without a reader: false and 0. Colours are stored as integers.
    bool GetBool(int Index) const;
    TColor GetColor(int Index) const;
    int GetInt(int Index) const;

private:
    std::unique_ptr<TskThemeFileReader> m_reader;
};

// A theme loaded from a theme file, for the FileTheme property of skinned
// components (style FromThemeFile).
class TskFileTheme : public tk::TComponent {
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ PublishedThemeFile WRITE SetPublishedThemeFile)

public:
    explicit TskFileTheme(tk::TComponent* AOwner);
    ~TskFileTheme() override;

    QString ThemeFile() const { return m_themeFile; }
    // Finds Value as given, else its file name in the program's folder; a file
    // found nowhere is ignored. Throws tk::Exception "Invalid skin file for
    // SkinKit!" for a file without the theme-file magic, changing nothing.
    void SetThemeFile(const QString& Value);
    bool CanUse() const { return m_canUse; }
    static bool CheckThemeFile(const QString& FileName);

    void GetBitmap(int Index, tk::TBitmap* Buf) const;
    void GetBitmap(int Index, tk::TBitmap* Buf, int SpitCount, int SpitIndex) const;
    bool GetBool(int Index) const;
    TColor GetColor(int Index) const;
    int GetInt(int Index) const;

protected:
    // SetThemeFile without the check for an unchanged name: an embedded
    // theme reuses one temporary name for different contents.
    void LoadThemeFile(const QString& Value);
    // What the published ThemeFile reads and writes; the embedded theme
    // publishes its own design-time path under the same name.
    virtual QString PublishedThemeFile() const { return m_themeFile; }
    virtual void SetPublishedThemeFile(const QString& Value) { SetThemeFile(Value); }

private:
    void ReassignUsers();

    QString m_themeFile;
    std::unique_ptr<TskFileThemeMgr> m_mgr;
    bool m_canUse = false;
};

// Marks an object as one of the skin layer's components for as long as the
// mark lives: held by every skinned component (inside its TskThemeLink) and
// by the theme manager, so that code looking for them needs no class names.
class TskSkinMark {
public:
    explicit TskSkinMark(const QObject* Component);
    ~TskSkinMark();
    TskSkinMark(const TskSkinMark&) = delete;
    TskSkinMark& operator=(const TskSkinMark&) = delete;

    static bool IsSkinned(const QObject* Component);

private:
    const QObject* m_component;
};

// UsedStyle := UIStyle and false for a built-in style; true for FromThemeFile
// with a usable FileTheme; otherwise UsedStyle := DeepBlue and false.
bool UsingFileTheme(const TskFileTheme* FileTheme, TskUIStyle UIStyle, TskUIStyle& UsedStyle);

// The style state of one skinned component and the protocol it follows:
//
//   void TskThing::SetUIStyle(TskUIStyle v) {
//       m_theme.SetUIStyle(v);            // store, decide file or built-in
//       m_color = m_theme.GetColor(siControlBorderColor);  ... load images
//       Invalidate();
//   }
//   void TskThing::SetFileTheme(TskFileTheme* v) {
//       if (m_theme.SetFileTheme(v)) SetUIStyle(UIStyle());
//   }
//   void TskThing::Notification(TComponent* c, TOperation op) {
//       TBase::Notification(c, op);
//       if (m_theme.ThemeRemoved(c, op)) SetUIStyle(DeepBlue);   // or UIStyle()
//   }
//
// The getters answer from the file theme when UsingFileTheme said so, else
// from the built-in table of the style in use.
class TskThemeLink {
public:
    // Self hears of the theme's removal through its Notification.
    explicit TskThemeLink(tk::TComponent* Self, TskUIStyle Initial = DeepBlue);
    ~TskThemeLink();
    TskThemeLink(const TskThemeLink&) = delete;
    TskThemeLink& operator=(const TskThemeLink&) = delete;

    TskUIStyle UIStyle() const { return m_style; }
    TskFileTheme* FileTheme() const { return m_fileTheme.data(); }

    // Stores the style and decides where values come from.
    void SetUIStyle(TskUIStyle Value);
    // Stores a different reference (moving the removal notification) and
    // decides again; false when Value is the reference already held.
    bool SetFileTheme(TskFileTheme* Value);
    // For Notification: true when AComponent is the file theme going away;
    // the reference is then cleared.
    bool ThemeRemoved(tk::TComponent* AComponent, tk::TOperation Operation);
    // Decides again (after the theme loaded another file, say).
    void Resolve();

    bool UsesFileTheme() const { return m_usesFile; }
    TskUIStyle UsedStyle() const { return m_used; }

    void GetBitmap(int Index, tk::TBitmap* Buf, int SpitCount = 0, int SpitIndex = 0) const;
    TColor GetColor(int Index) const;
    int GetInt(int Index) const;
    bool GetBool(int Index) const;

private:
    tk::TComponent* m_self;
    TskSkinMark m_mark;
    TskUIStyle m_style;
    QPointer<TskFileTheme> m_fileTheme;
    bool m_usesFile = false;
    TskUIStyle m_used = DeepBlue;
};

} // namespace sk
