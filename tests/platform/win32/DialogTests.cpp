#include "platform/win32/CrtAssert.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Qt.h"
#include "platform/win32/Win32Testing.h"
#include "tests/platform/win32/TestFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

namespace {

class DialogHooks : public ::testing::Test {
protected:
    void SetUp() override { win32test::ResetHooks(); }
    void TearDown() override { win32test::ResetHooks(); }
};

// Real dialogs, driven from a timer while the code under test sits in the
// dialog's modal loop.
class RealDialogs : public DialogHooks {
protected:
    void SetUp() override {
        DialogHooks::SetUp();
        win32test::SetHooksActive(false);
    }
};

class OnModal {
public:
    explicit OnModal(std::function<void(QWidget*)> act) : act_(std::move(act)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                timer_.stop();
                act_(modal);
            } else if (++ticks_ > 500) {
                timer_.stop();
                ADD_FAILURE() << "no modal dialog came up";
            }
        });
        timer_.start(10);
    }

private:
    QTimer timer_;
    std::function<void(QWidget*)> act_;
    int ticks_ = 0;
};

OPENFILENAMEA BrowseRequest(char* file, DWORD maxFile, HWND owner) {
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "WAB File(*.wab)\0*.wab\0\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = maxFile;
    ofn.lpstrTitle = "Open Windows Address Book File";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    return ofn;
}

TEST_F(DialogHooks, MessageBoxTakesScriptedAnswersAndRecordsTheCalls) {
    QWidget owner;
    win32test::ScriptMessageBox(IDYES);
    win32test::ScriptMessageBox(IDNO);
    EXPECT_EQ(MessageBoxA(HwndFromWidget(&owner), "Are you sure to delete the records?",
                          "Information", MB_ICONQUESTION | MB_YESNO),
              IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "second", nullptr, MB_OK), IDNO);
    EXPECT_EQ(win32test::UnusedAnswers(), 0u);

    const auto& calls = win32test::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(WidgetFromHwnd(calls[0].owner), &owner);
    EXPECT_EQ(calls[0].text, "Are you sure to delete the records?");
    EXPECT_EQ(calls[0].caption, "Information");
    EXPECT_EQ(calls[0].type, MB_ICONQUESTION | MB_YESNO);
    EXPECT_TRUE(calls[0].scripted);
    EXPECT_EQ(calls[1].caption, "Error") << "a null caption reads as on Windows";
}

TEST_F(DialogHooks, UnscriptedMessageBoxGetsTheEscapeAnswer) {
    const struct {
        UINT type;
        int answer;
    } cases[] = {
        {MB_OK | MB_ICONERROR, IDOK},
        {MB_OKCANCEL, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL | MB_ICONQUESTION, IDCANCEL},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageBoxA(nullptr, "unexpected", "Confirmation", c.type), c.answer) << c.type;
        EXPECT_FALSE(win32test::MessageBoxCalls().back().scripted);
    }
}

TEST_F(DialogHooks, ShellExecuteIsRecordedNotRun) {
    QWidget owner;
    win32test::ScriptShellExecute(42);
    HINSTANCE r = ShellExecuteA(HwndFromWidget(&owner), "open", "quenby.chm", nullptr, "", SW_SHOW);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(r), 42);
    r = ShellExecuteA(nullptr, "open", "https://example.invalid/index.htm?ref=prod", "", "",
                      SW_SHOW);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(r), SE_ERR_NOASSOC);

    const auto& calls = win32test::ShellExecuteCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(WidgetFromHwnd(calls[0].owner), &owner);
    EXPECT_EQ(calls[0].verb, "open");
    EXPECT_EQ(calls[0].file, "quenby.chm");
    EXPECT_EQ(calls[0].parameters, "");
    EXPECT_EQ(calls[0].directory, "");
    EXPECT_EQ(calls[0].show, SW_SHOW);
    EXPECT_TRUE(calls[0].scripted);
    EXPECT_FALSE(calls[1].scripted);
}

TEST_F(DialogHooks, OpenFileNameDeliversOnlyWhatFits) {
    QWidget owner;
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = BrowseRequest(file, MAX_PATH - 1, HwndFromWidget(&owner));

    win32test::ScriptOpenFileName("/home/u/Contacts.wab");
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, "/home/u/Contacts.wab");
    EXPECT_EQ(ofn.nFileOffset, 8);
    EXPECT_EQ(ofn.nFileExtension, 17);

    const std::string fits = "/" + std::string(257, 'a');    // 258 characters + NUL = 259
    const std::string tooLong = "/" + std::string(258, 'a'); // needs 260
    win32test::ScriptOpenFileName(tooLong);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, "/home/u/Contacts.wab") << "a failed pick leaves the buffer alone";
    win32test::ScriptOpenFileName(fits);
    EXPECT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(std::string(file), fits);

    win32test::ScriptOpenFileNameCancel();
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_FALSE(GetOpenFileNameA(&ofn)); // unscripted
    EXPECT_EQ(std::string(file), fits);

    const auto& calls = win32test::OpenFileNameCalls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(WidgetFromHwnd(calls[0].owner), &owner);
    EXPECT_EQ(calls[0].title, "Open Windows Address Book File");
    using Filter = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(calls[0].filter, (Filter{{"WAB File(*.wab)", "*.wab"}}));
    EXPECT_EQ(calls[0].flags, 0x1800u);
    EXPECT_EQ(calls[0].nMaxFile, 259u);
    EXPECT_EQ(calls[0].initialFile, "");
    EXPECT_EQ(calls[1].initialFile, "/home/u/Contacts.wab");
    EXPECT_FALSE(calls[4].scripted);

    ofn.lStructSize = 12;
    win32test::ScriptOpenFileName("/x.wab");
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(calls.size(), 5u) << "a malformed request is refused before any dialog";
}

TEST_F(RealDialogs, MessageBoxShowsButtonsAndIconOfItsType) {
    using B = QMessageBox::StandardButton;
    const struct {
        UINT type;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        B press; // NoButton: the Escape key
        int answer;
    } cases[] = {
        {MB_OK | MB_ICONINFORMATION, B::Ok, QMessageBox::Information, B::Ok, IDOK},
        {MB_OK, B::Ok, QMessageBox::NoIcon, B::NoButton, IDOK},
        {MB_OKCANCEL | MB_ICONWARNING, B::Ok | B::Cancel, QMessageBox::Warning, B::Cancel,
         IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, B::Yes | B::No, QMessageBox::Question, B::Yes, IDYES},
        {MB_YESNO | MB_ICONQUESTION, B::Yes | B::No, QMessageBox::Question, B::NoButton, IDNO},
        {MB_YESNOCANCEL | MB_ICONERROR, B::Yes | B::No | B::Cancel, QMessageBox::Critical, B::No,
         IDNO},
        {MB_YESNOCANCEL, B::Yes | B::No | B::Cancel, QMessageBox::NoIcon, B::NoButton, IDCANCEL},
    };
    QWidget owner;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        OnModal driver([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->parentWidget(), &owner);
            EXPECT_EQ(box->windowTitle(), "Confirmation");
            EXPECT_EQ(box->text(), "<b>Smith & Co</b>");
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->standardButtons(), c.buttons);
            EXPECT_EQ(box->icon(), c.icon);
            if (c.press == B::NoButton) {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(box, &escape);
            } else {
                box->button(c.press)->click();
            }
        });
        EXPECT_EQ(MessageBoxA(HwndFromWidget(&owner), "<b>Smith & Co</b>", "Confirmation", c.type),
                  c.answer);
    }
    EXPECT_TRUE(win32test::MessageBoxCalls().empty());
}

TEST_F(RealDialogs, OpenFileDialogOffersTheFilterAndReturnsThePick) {
    TempDir dir;
    const std::string book = dir.File("book.wab");
    WriteText(book, "");
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = BrowseRequest(file, MAX_PATH - 1, nullptr);
    ofn.lpstrInitialDir = dir.path().c_str();
    OnModal driver([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Open Windows Address Book File");
        EXPECT_EQ(dialog->nameFilters(), QStringList{"WAB File(*.wab) (*.wab)"});
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        dialog->selectFile(QString::fromStdString(book));
        static_cast<QDialog*>(dialog)->accept(); // runs the dialog's own checks
    });
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(std::filesystem::path(file), std::filesystem::path(book));
}

// Puts a stand-in for the desktop's opener first on PATH; it writes the
// number of its arguments and the first one to a log file.
class FakeOpener {
public:
    FakeOpener() {
        std::filesystem::create_directory(dir_.File("bin"));
        const std::string script = dir_.File("bin/xdg-open");
        WriteText(script, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"$QUENBY_OPENER_LOG.part\"\n"
                          "mv \"$QUENBY_OPENER_LOG.part\" \"$QUENBY_OPENER_LOG\"\n");
        ::chmod(script.c_str(), 0755);
    }

    // What the opener was given, once it has run.
    std::optional<std::string> Received() {
        for (int i = 0; i < 500; ++i) {
            if (auto text = ReadText(log_)) {
                std::filesystem::remove(log_);
                return text;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    std::string log_ = dir_.File("opener.log");
    ScopedEnv path_{"PATH", (dir_.File("bin") + ":" + std::getenv("PATH")).c_str()};
    ScopedEnv logEnv_{"QUENBY_OPENER_LOG", log_.c_str()};
};

std::intptr_t Open(const std::string& file, const char* directory = "") {
    return reinterpret_cast<std::intptr_t>(
        ShellExecuteA(nullptr, "open", file.c_str(), "", directory, SW_SHOW));
}

TEST_F(RealDialogs, ShellHandsDocumentsToTheOpenerAsOneArgument) {
    FakeOpener opener;
    const std::string odd = opener.dir().File("help; $(touch pwned) 'x'.chm");
    WriteText(odd, "");
    EXPECT_GT(Open(odd), 32);
    EXPECT_EQ(opener.Received(), "1\n" + odd + "\n");
    EXPECT_FALSE(std::filesystem::exists(opener.dir().File("pwned")));

    const std::string page = "https://example.invalid/quenby/index.htm?ref=prod";
    EXPECT_GT(Open(page), 32);
    EXPECT_EQ(opener.Received(), "1\n" + page + "\n");

    // A bare name is looked up in the current directory, not the program's.
    WriteText(opener.dir().File("quenby.chm"), "");
    std::string cwd = std::filesystem::current_path().string();
    ASSERT_EQ(::chdir(opener.dir().path().c_str()), 0);
    std::intptr_t r = Open("quenby.chm");
    ASSERT_EQ(::chdir(cwd.c_str()), 0);
    EXPECT_GT(r, 32);
    EXPECT_EQ(opener.Received(), "1\n" + opener.dir().File("quenby.chm") + "\n");
}

TEST_F(RealDialogs, ShellReportsMissingFilesWithoutStartingAnything) {
    FakeOpener opener;
    const std::string dir = opener.dir().path();
    EXPECT_EQ(Open(dir + "/missing.chm"), SE_ERR_FNF);
    EXPECT_EQ(Open("quenby.chm", dir.c_str()), SE_ERR_FNF);
    EXPECT_EQ(Open(dir + "/no/such/folder/quenby.chm"), SE_ERR_PNF);
    EXPECT_EQ(Open("quenby.chm", (dir + "/nowhere").c_str()), SE_ERR_PNF);
    EXPECT_EQ(Open(""), SE_ERR_FNF);
    WriteText(dir + "/quenby.chm", "");
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(
                  ShellExecuteA(nullptr, "print", "quenby.chm", "", dir.c_str(), SW_SHOW)),
              SE_ERR_NOASSOC);
    EXPECT_FALSE(std::filesystem::exists(dir + "/opener.log"));
}

TEST(CrtAssertDeathTest, ReportsExpressionFileAndLineThenAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int answer = 41;
    CRT_ASSERT(answer == 41);
    // The text goes to standard error and, as a message box, to the hooks
    // (active on the offscreen platform), which echo it there as well.
    EXPECT_DEATH(CRT_ASSERT(answer == 42),
                 "Assertion failed: answer == 42, file .*DialogTests\\.cpp, line [0-9]+"
                 ".*MessageBoxA.*Assertion failed: answer == 42");
}

} // namespace
