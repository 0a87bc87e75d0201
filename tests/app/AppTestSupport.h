// The program's windows on a real address book in a temporary folder: the
// settings file beside a stand-in program file there, the default address
// book under a private XDG_DATA_HOME, scripted answers for every dialog.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "common/oe/WabRecord.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/ListView.h"
#include "platform/win32/Win32Testing.h"
#include "skin/SKListView.h"
#include "tools/wabtool/WabClient.h"

namespace apptest {

struct Contact {
    std::string name;
    std::string email;
    std::string company = {};
};

inline tk::TApplication* App() {
    static tk::TApplication* app = [] {
        auto* a = new tk::TApplication(); // lives for the whole test run
        a->SetTitle("Quenby for WAB");
        return a;
    }();
    return app;
}

inline QString ArtifactsDir() {
    const QString dir = qEnvironmentVariable("QUENBY_BINARY_DIR") + QStringLiteral("/artifacts");
    QDir().mkpath(dir);
    return dir;
}

// Sets an environment variable for a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        setenv(name, value.toLocal8Bit().constData(), 1);
    }
    ~ScopedEnv() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class AppFixture : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    ScopedEnv data{"XDG_DATA_HOME", tmp.filePath("xdg")};
    ScopedEnv registry{"QUENBY_REGISTRY_DIR", tmp.filePath("registry")};
    tk::TComponentPtr<TfmMain> form;

    void SetUp() override {
        App();
        QDir().mkpath(tmp.filePath("registry"));
        win32test::ResetHooks();
        win32test::SetProgramFileName(tmp.filePath("quenby").toStdString());
    }
    void TearDown() override {
        form.reset();
        win32test::SetProgramFileName({});
    }

    QString Path(const QString& name) const { return tmp.filePath(name); }
    QString SettingsFile() const { return tmp.filePath("brindle.ini"); }

    // A new address book holding the contacts, in this order.
    QString Book(const std::vector<Contact>& contacts, const QString& name = "book.wab") {
        const std::string file = name.isEmpty() ? std::string() : Path(name).toStdString();
        wabtool::AddressBook book;
        EXPECT_EQ(book.Open(file, WAB_CREATE_STORE), S_OK) << file;
        for (const Contact& c : contacts) {
            std::vector<SPropValue> props;
            const std::pair<ULONG, const std::string*> values[] = {{PR_DISPLAY_NAME, &c.name},
                                                                   {PR_EMAIL_ADDRESS, &c.email},
                                                                   {PR_COMPANY_NAME, &c.company}};
            for (const auto& [tag, text] : values) {
                if (!text->empty()) {
                    SPropValue v{};
                    v.ulPropTag = tag;
                    v.Value.lpszA = const_cast<char*>(text->c_str());
                    props.push_back(v);
                }
            }
            EXPECT_EQ(book.Add(MAPI_MAILUSER, props.data(), static_cast<ULONG>(props.size())),
                      S_OK);
        }
        return name.isEmpty() ? QString() : Path(name);
    }

    // Display names in the store, in its order, as a later open sees them.
    std::vector<std::string> StoreNames(const QString& file) const {
        CxWab wab(file.toLocal8Bit().constData());
        std::vector<std::string> names;
        for (WabRecord* r = wab.GetFirstRecord(); r != nullptr; r = wab.GetNextRecord()) {
            names.emplace_back(r->szDisplayName);
        }
        return names;
    }

    void WriteSettings(const QString& text) {
        QFile f(SettingsFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }
    QString ReadSettings() const {
        QFile f(SettingsFile());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // The settings naming a book and the criteria.
    void UseBook(const QString& file, bool mail = true, bool name = false) {
        WriteSettings(QStringLiteral("[Quenby]\nWabName=%1\nCheckMail=%2\nCheckName=%3\n")
                          .arg(file)
                          .arg(mail ? 1 : 0)
                          .arg(name ? 1 : 0));
    }

    TfmMain* Start() {
        form.reset(new TfmMain(App()));
        return form.get();
    }
};

inline std::vector<std::string> Names(tk::TListView* list) {
    std::vector<std::string> names;
    for (int i = 0; i < list->Items()->Count(); ++i) {
        names.push_back(list->Items()->Item(i)->Caption().toStdString());
    }
    return names;
}

inline std::vector<bool> Checks(tk::TListView* list) {
    std::vector<bool> checks;
    for (int i = 0; i < list->Items()->Count(); ++i) {
        checks.push_back(list->Items()->Item(i)->Checked());
    }
    return checks;
}

inline tk::TListItem* Row(tk::TListView* list, const std::string& name) {
    for (int i = 0; i < list->Items()->Count(); ++i) {
        if (list->Items()->Item(i)->Caption().toStdString() == name) {
            return list->Items()->Item(i);
        }
    }
    return nullptr;
}

inline const WabRecord* RecordOf(tk::TListItem* row) {
    return row ? static_cast<const WabRecord*>(row->Data()) : nullptr;
}

// How the caption of a row is drawn: its text's colour, from the pixels of
// the list's face.
enum class Ink { None, Blue, Black };
inline Ink RowInk(tk::TListView* list, tk::TListItem* row) {
    const QImage face = list->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const tk::TRect r = row->DisplayRect();
    // Row rectangles are the view's (headers included), inside the border.
    const QPoint offset = list->View()->mapTo(list->Handle(), QPoint(0, 0));
    int blue = 0;
    int black = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left + 2; x < std::min(r.Right, 400); ++x) {
            const QPoint p(x + offset.x(), y + offset.y());
            if (!face.rect().contains(p)) {
                continue;
            }
            const QRgb c = face.pixel(p);
            blue += qBlue(c) > 150 && qRed(c) < 110 && qGreen(c) < 110;
            black += qBlue(c) < 90 && qRed(c) < 90 && qGreen(c) < 90;
        }
    }
    if (blue > 8 && blue > black) {
        return Ink::Blue;
    }
    return black > 8 ? Ink::Black : Ink::None;
}

// The colour the row's text gets from the window's custom-draw handler (the
// selected row's text is drawn in the selection's colours instead).
inline tk::TColor DrawnColor(TfmMain* fm, tk::TListItem* row) {
    bool defaultDraw = true;
    fm->slvItems->Canvas()->Font()->SetColor(tk::clWindowText);
    fm->slvItemsCustomDrawItem(fm->slvItems, row, {}, defaultDraw);
    return fm->slvItems->Canvas()->Font()->Color();
}

// The message boxes asked since the last reset, as (caption, text).
inline std::vector<std::pair<std::string, std::string>> Boxes() {
    std::vector<std::pair<std::string, std::string>> boxes;
    for (const auto& c : win32test::MessageBoxCalls()) {
        boxes.emplace_back(c.caption, c.text);
    }
    return boxes;
}

} // namespace apptest
