// The main window end to end on real address books: start-up and settings,
// the two views and the duplicates of the selected contact, deleting, the
// options and about dialogs, help, the resize limit and the button row.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "app/About.h"
#include "app/Option.h"
#include "skin/SKButton.h"
#include "skin/SKEdit.h"
#include "skin/SKForm.h"
#include "skin/SKImagePanel.h"
#include "skin/SKTitleBar.h"
#include "tests/app/AppTestSupport.h"

using namespace apptest;
using Names_t = std::vector<std::string>;

namespace {

class MainWindow : public AppFixture {};

// ---- start-up and settings -------------------------------------------------------

TEST_F(MainWindow, FirstRunOpensTheDefaultBookAndWritesTheDefaultsOnce) {
    Book({{"Ann", "ann@example.org"}, {"Bob", "bob@example.org"}}, QString()); // default book
    TfmMain* fm = Start();
    EXPECT_STREQ(fm->m_szWabName, "");
    EXPECT_TRUE(fm->m_bCheckMail);
    EXPECT_FALSE(fm->m_bCheckName);
    EXPECT_EQ(Names(fm->slvItems), (Names_t{"Ann", "Bob"}));
    EXPECT_TRUE(fm->rbtnAll->Checked());
    ASSERT_NE(fm->slvItems->Selected(), nullptr);
    EXPECT_EQ(fm->slvItems->Selected()->Index(), 0);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(QFile::exists(SettingsFile())) << "read only, until the window goes";

    fm->Close();
    EXPECT_FALSE(QFile::exists(SettingsFile())) << "closing alone writes nothing";
    form.reset();
    EXPECT_EQ(ReadSettings(), "[Quenby]\nWabName=\nCheckName=0\nCheckMail=1\n");
}

TEST_F(MainWindow, SettingsAreReadAsTheProfileFunctionsReadThem) {
    const QString book = Book({{"Ann", "a@x.org"}, {"Ann", "b@x.org"}});
    struct Case {
        const char* what;
        QString file;
        bool mail;
        bool name;
    };
    const Case cases[] = {
        {"both zero", "[Quenby]\nWabName=" + book + "\nCheckMail=0\nCheckName=0\n", false, false},
        {"yes reads as 0, 2 as true",
         "[Quenby]\nWabName=" + book + "\nCheckMail=yes\nCheckName=2\n", false, true},
        {"lower-case names", "[quenby]\nwabname=" + book + "\ncheckmail=1\ncheckname=1\n", true,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteSettings(c.file);
        TfmMain* fm = Start();
        EXPECT_EQ(fm->m_bCheckMail, c.mail);
        EXPECT_EQ(fm->m_bCheckName, c.name);
        EXPECT_EQ(QString::fromUtf8(fm->m_szWabName), book);
        EXPECT_EQ(Names(fm->slvItems), (Names_t{"Ann", "Ann"}));
        // Under name alone the two Anns are one group; with no criterion, none.
        const bool grouped = c.name && !c.mail;
        EXPECT_EQ(RecordOf(fm->slvItems->Items()->Item(0))->nDupGroup, grouped ? 1 : 0);
        form.reset();
    }
    // Written back as 1 and 0; the other sections and keys survive.
    WriteSettings("[Other]\nKeep=this\n[Quenby]\nWabName=" + book +
                  "\nCheckMail=yes\nCheckName=2\nExtra=1\n");
    Start();
    form.reset();
    const QString written = ReadSettings();
    EXPECT_TRUE(written.contains("[Other]\nKeep=this\n")) << written.toStdString();
    EXPECT_TRUE(written.contains("CheckName=1\n")) << written.toStdString();
    EXPECT_TRUE(written.contains("CheckMail=0\n")) << written.toStdString();
    EXPECT_TRUE(written.contains("Extra=1\n")) << written.toStdString();
}

TEST_F(MainWindow, ALongBookNameIsCutAndAnUnopenableBookIsReported) {
    // 300 characters: the first 259 are kept, and name no file.
    WriteSettings("[Quenby]\nWabName=" + QString(300, 'w') + "\n");
    TfmMain* fm = Start();
    EXPECT_EQ(std::strlen(fm->m_szWabName), 259u);
    EXPECT_TRUE(Names(fm->slvItems).empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].first, "Error");
    EXPECT_NE(Boxes()[0].second.find("Cannot open the address book \"www"), std::string::npos);
    form.reset();

    // Each reason a book cannot be opened is named, with the file.
    QFile text(Path("notes.wab"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not an address book\n");
    text.close();
    const struct {
        QString file;
        const char* reason;
    } cases[] = {
        {Path("missing.wab"), "the file does not exist"},
        {Path("notes.wab"), "not an address book"},
    };
    for (const auto& c : cases) {
        win32test::ResetHooks();
        UseBook(c.file);
        Start();
        ASSERT_EQ(Boxes().size(), 1u) << c.reason;
        EXPECT_EQ(Boxes()[0].first, "Error");
        EXPECT_EQ(Boxes()[0].second, "Cannot open the address book \"" + c.file.toStdString() +
                                         "\": " + std::string(c.reason) + ".")
            << Boxes()[0].second;
        EXPECT_TRUE(Names(form->slvItems).empty());
        EXPECT_TRUE(form->sbtnDel->Enabled()); // no row was ever selected
        form.reset();
    }
}

// ---- views and the duplicates of the selected contact ---------------------------------

TEST_F(MainWindow, ViewsSelectionAndTheDuplicatesList) {
    // Groups x, y, x, y, and a contact alone.
    UseBook(Book({{"A", "x@example.org"},
                  {"B", "y@example.org"},
                  {"C", "X@EXAMPLE.ORG"},
                  {"D", "y@example.org"},
                  {"E", "e@example.org"}}));
    TfmMain* fm = Start();
    fm->Show();
    fm->Handle()->grab().save(ArtifactsDir() + "/main-window.png");
    fm->slvItems->Handle()->grab().save(ArtifactsDir() + "/main-list.png");
    EXPECT_EQ(Names(fm->slvItems), (Names_t{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(Names(fm->slvDups), Names_t{"C"}); // A is selected
    EXPECT_EQ(Checks(fm->slvDups), std::vector<bool>{false});
    EXPECT_EQ(RecordOf(Row(fm->slvItems, "B"))->nDupGroup, 2);
    EXPECT_EQ(RowInk(fm->slvItems, Row(fm->slvItems, "B")), Ink::Blue);
    EXPECT_EQ(RowInk(fm->slvItems, Row(fm->slvItems, "E")), Ink::Black);
    EXPECT_EQ(DrawnColor(fm, Row(fm->slvItems, "A")), tk::clBlue); // selected

    // A contact alone: an empty duplicates list and the three buttons off.
    Row(fm->slvItems, "E")->SetSelected(true);
    EXPECT_TRUE(Names(fm->slvDups).empty());
    for (auto* b : {fm->sbtnSelAll, fm->sbtnClear, fm->sbtnDel}) {
        EXPECT_FALSE(b->Enabled());
    }
    // One with duplicates: unchecked rows, the buttons on.
    Row(fm->slvItems, "D")->SetSelected(true);
    EXPECT_EQ(Names(fm->slvDups), Names_t{"B"});
    for (auto* b : {fm->sbtnSelAll, fm->sbtnClear, fm->sbtnDel}) {
        EXPECT_TRUE(b->Enabled());
    }
    fm->sbtnSelAll->Click();
    EXPECT_EQ(Checks(fm->slvDups), std::vector<bool>{true});
    fm->sbtnClear->Click();
    EXPECT_EQ(Checks(fm->slvDups), std::vector<bool>{false});
    fm->sbtnSelAll->Click();
    Row(fm->slvItems, "B")->SetSelected(true);
    Row(fm->slvItems, "D")->SetSelected(true);
    EXPECT_EQ(Checks(fm->slvDups), std::vector<bool>{false}) << "rebuilt, not kept";

    // Duplicate Records: only the grouped contacts, all blue.
    fm->rbtnDup->SetChecked(true);
    EXPECT_EQ(Names(fm->slvItems), (Names_t{"A", "B", "C", "D"}));
    fm->slvItems->Handle()->grab().save(ArtifactsDir() + "/main-list-dup.png");
    EXPECT_EQ(RowInk(fm->slvItems, Row(fm->slvItems, "D")), Ink::Blue);

    // Refresh from there: All Records, filled once from the old records
    // through the radio button and once after the re-open.
    int selections = 0;
    auto handler = fm->slvItems->OnSelectItem;
    fm->slvItems->OnSelectItem = [&](tk::TObject* s, tk::TListItem* i, bool selected) {
        selections += selected ? 1 : 0;
        handler(s, i, selected);
    };
    fm->sbtnRefresh->Click();
    EXPECT_EQ(selections, 2);
    EXPECT_TRUE(fm->rbtnAll->Checked());
    EXPECT_FALSE(fm->rbtnDup->Checked());
    EXPECT_EQ(Names(fm->slvItems), (Names_t{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(fm->slvItems->Selected()->Caption(), "A");
}

TEST_F(MainWindow, DuplicateViewWithoutDuplicatesLeavesTheLowerListAlone) {
    // Same names, different addresses, under the address alone: no group.
    UseBook(Book({{"Ann", "a@x.org"}, {"Ann", "b@x.org"}}));
    TfmMain* fm = Start();
    fm->Show();
    EXPECT_EQ(DrawnColor(fm, fm->slvItems->Items()->Item(0)), tk::clBlack); // selected
    EXPECT_EQ(RowInk(fm->slvItems, fm->slvItems->Items()->Item(1)), Ink::Black);
    EXPECT_FALSE(fm->sbtnDel->Enabled());
    fm->rbtnDup->SetChecked(true);
    EXPECT_TRUE(Names(fm->slvItems).empty());
    EXPECT_EQ(fm->slvItems->Selected(), nullptr);
    EXPECT_FALSE(fm->sbtnDel->Enabled()) << "the buttons keep their state";
}

// ---- deleting ------------------------------------------------------------------------

TEST_F(MainWindow, DeletingCheckedDuplicates) {
    const std::vector<Contact> group = {
        {"A", "x@example.org"}, {"B", "x@example.org"}, {"C", "x@example.org"}};
    struct Case {
        const char* what;
        std::vector<std::string> checked;
        Names_t left;
        Names_t dupsAfter;
        bool aBlue;
    };
    const Case cases[] = {
        {"B and C", {"B", "C"}, {"A"}, {}, false},
        {"only B", {"B"}, {"A", "C"}, {"C"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        win32test::ResetHooks();
        const QString file = Book(group, QString::fromLatin1(c.what).remove(' ') + ".wab");
        UseBook(file);
        TfmMain* fm = Start();
        fm->Show();
        for (const std::string& name : c.checked) {
            Row(fm->slvDups, name)->SetChecked(true);
        }
        win32test::ScriptMessageBox(IDYES);
        fm->sbtnDel->Click();
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0], std::make_pair(std::string("Information"),
                                             std::string("Are you sure to delete the records?")));
        EXPECT_EQ(Names(fm->slvItems), c.left);
        EXPECT_EQ(Names(fm->slvDups), c.dupsAfter);
        EXPECT_EQ(Checks(fm->slvDups), std::vector<bool>(c.dupsAfter.size(), false));
        EXPECT_EQ(fm->slvItems->Selected()->Caption(), "A");
        EXPECT_EQ(DrawnColor(fm, Row(fm->slvItems, "A")), c.aBlue ? tk::clBlue : tk::clBlack);
        if (c.aBlue) {
            EXPECT_EQ(RowInk(fm->slvItems, Row(fm->slvItems, "C")), Ink::Blue);
        }
        EXPECT_TRUE(fm->sbtnDel->Enabled());
        form.reset();
        EXPECT_EQ(StoreNames(file), c.left);
    }

    // Nothing checked: the information box, nothing else.
    win32test::ResetHooks();
    UseBook(Book(group, "none.wab"));
    TfmMain* fm = Start();
    fm->sbtnDel->Click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], std::make_pair(std::string("Information"),
                                         std::string("Please select one or more records you "
                                                     "want to delete.")));
    // No to the confirmation: nothing goes.
    Row(fm->slvDups, "B")->SetChecked(true);
    win32test::ScriptMessageBox(IDNO);
    fm->sbtnDel->Click();
    EXPECT_EQ(Names(fm->slvItems), (Names_t{"A", "B", "C"}));
    EXPECT_EQ(StoreNames(Path("none.wab")), (Names_t{"A", "B", "C"}));
}

TEST_F(MainWindow, DeletingAllDuplicatesKeepsTheFirstOfEveryGroup) {
    struct Case {
        const char* what;
        std::vector<Contact> book;
        bool byName;
        Names_t left;
    };
    const Case cases[] = {
        {"groups {A, C} and {B, D, E}",
         {{"A", "x@e.org"}, {"B", "y@e.org"}, {"C", "X@E.ORG"}, {"D", "y@e.org"}, {"E", "y@e.org"}},
         false,
         {"A", "B"}},
        {"no group", {{"A", "x@e.org"}, {"B", "y@e.org"}}, false, {"A", "B"}},
        {"names alone, whatever the addresses",
         {{"Ann", "a@e.org"}, {"Bob", "b@e.org"}, {"ANN", "c@e.org"}, {"Cid", ""}},
         true,
         {"Ann", "Bob", "Cid"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        win32test::ResetHooks();
        const QString file = Book(c.book, QStringLiteral("all%1.wab").arg(n++));
        UseBook(file, !c.byName, c.byName);
        TfmMain* fm = Start();
        fm->Show();
        fm->rbtnDup->SetChecked(true);
        win32test::ScriptMessageBox(IDYES);
        fm->btnDelAll->Click();
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].first, "Confirmation");
        EXPECT_EQ(Boxes()[0].second, "Are you sure to delete all of the duplicate records?");
        EXPECT_EQ(win32test::MessageBoxCalls()[0].type, MB_YESNOCANCEL | MB_ICONQUESTION);
        EXPECT_TRUE(fm->rbtnAll->Checked());
        EXPECT_EQ(Names(fm->slvItems), c.left);
        fm->slvItems->Handle()->grab().save(ArtifactsDir() + "/main-after-delete-all.png");
        for (int i = 0; i < fm->slvItems->Items()->Count(); ++i) {
            EXPECT_EQ(DrawnColor(fm, fm->slvItems->Items()->Item(i)), tk::clBlack) << i;
        }
        form.reset();
        EXPECT_EQ(StoreNames(file), c.left);
    }

    // Any answer but Yes deletes nothing.
    for (int answer : {IDNO, IDCANCEL}) {
        win32test::ResetHooks();
        const QString file =
            Book({{"A", "x@e.org"}, {"B", "x@e.org"}}, QStringLiteral("keep%1.wab").arg(answer));
        UseBook(file);
        TfmMain* fm = Start();
        win32test::ScriptMessageBox(answer);
        fm->btnDelAll->Click();
        EXPECT_EQ(Names(fm->slvItems), (Names_t{"A", "B"}));
        form.reset();
        EXPECT_EQ(StoreNames(file), (Names_t{"A", "B"}));
    }
}

TEST_F(MainWindow, ARefusedDeletionIsReportedAndListedAgain) {
    // The file may not be changed: the contacts cannot go, and the lists
    // show them again rather than pretending they went.
    const QString file = Book({{"A", "x@e.org"}, {"B", "x@e.org"}, {"C", "x@e.org"}});
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    UseBook(file);
    TfmMain* fm = Start();
    Row(fm->slvDups, "B")->SetChecked(true);
    Row(fm->slvDups, "C")->SetChecked(true);
    win32test::ScriptMessageBox(IDYES);
    fm->sbtnDel->Click();
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].first, "Error");
    EXPECT_NE(Boxes()[1].second.find("2 contacts could not be deleted: access denied"),
              std::string::npos)
        << Boxes()[1].second;
    EXPECT_EQ(Names(fm->slvItems), (Names_t{"A", "B", "C"}));
    EXPECT_EQ(Names(fm->slvDups), (Names_t{"B", "C"}));

    win32test::ScriptMessageBox(IDYES);
    fm->btnDelAll->Click();
    ASSERT_EQ(Boxes().size(), 4u);
    EXPECT_NE(Boxes()[3].second.find("2 contacts could not be deleted"), std::string::npos);
    EXPECT_EQ(Names(fm->slvItems), (Names_t{"A", "B", "C"}));
    form.reset();
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(StoreNames(file), (Names_t{"A", "B", "C"}));
}

// ---- options ----------------------------------------------------------------------------

// Runs the options dialog from the menu command; act works inside its modal
// run and leaves it by OK, Cancel or the close button.
void WithOptions(TfmMain* fm, const std::function<void(TfmOption*)>& act) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ran = true;
        act(fmOption);
    });
    fm->sbtnOptionClick(fm);
    EXPECT_TRUE(ran);
}

TEST_F(MainWindow, OptionsDialogShowsTheSettingsAndChangesThemOnOk) {
    const QString book = Book({{"A", "x@e.org"}, {"B", "x@e.org"}, {"C", "c@e.org"}});
    const QString other = Book({{"Z", "z@e.org"}}, "other.wab");
    Book({{"D", "d@e.org"}}, QString()); // the default book

    // Default book: "Default" chosen, Browse off, an empty box.
    TfmMain* fm = Start();
    WithOptions(fm, [&](TfmOption* dlg) {
        EXPECT_EQ(dlg->skForm1->Caption(), "Set Application Options ...");
        EXPECT_TRUE(dlg->rbtnDefault->Checked());
        EXPECT_FALSE(dlg->sbtnBrowse->Enabled());
        EXPECT_EQ(dlg->edtName->Text(), "");
        EXPECT_TRUE(dlg->cbtnEmail->Checked());
        EXPECT_FALSE(dlg->cbtnName->Checked());
        // "Other" without a file, while the default is in use: nothing changes.
        dlg->rbtnOther->SetChecked(true);
        EXPECT_TRUE(dlg->sbtnBrowse->Enabled());
        dlg->sbtnOK->Click();
    });
    EXPECT_FALSE(fmOption->m_bChanged);
    EXPECT_EQ(Names(fm->slvItems), Names_t{"D"});

    // Browse to a book: OK re-opens it.
    WithOptions(fm, [&](TfmOption* dlg) {
        dlg->rbtnOther->SetChecked(true);
        win32test::ScriptOpenFileName(book.toStdString());
        dlg->sbtnBrowse->Click();
        EXPECT_EQ(dlg->edtName->Text(), book);
        dlg->sbtnOK->Click();
    });
    const auto& asked = win32test::OpenFileNameCalls().back();
    EXPECT_EQ(asked.title, "Open Windows Address Book File");
    EXPECT_EQ(asked.filter,
              (std::vector<std::pair<std::string, std::string>>{{"WAB File(*.wab)", "*.wab"}}));
    EXPECT_EQ(asked.flags, DWORD{OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST});
    EXPECT_EQ(asked.nMaxFile, 259u);
    EXPECT_TRUE(fmOption->m_bChanged);
    EXPECT_EQ(QString::fromUtf8(fm->m_szWabName), book);
    EXPECT_EQ(Names(fm->slvItems), (Names_t{"A", "B", "C"}));

    // Opened with a file: "Other" chosen, Browse on, the path shown. The
    // same file again does not re-open; a path differing in letter case does.
    WithOptions(fm, [&](TfmOption* dlg) {
        dlg->Handle()->grab().save(ArtifactsDir() + "/options.png");
        EXPECT_TRUE(dlg->rbtnOther->Checked());
        EXPECT_TRUE(dlg->sbtnBrowse->Enabled());
        EXPECT_EQ(dlg->edtName->Text(), book);
        win32test::ScriptOpenFileName(book.toStdString());
        dlg->sbtnBrowse->Click();
        dlg->sbtnOK->Click();
    });
    EXPECT_FALSE(fmOption->m_bChanged);

    // Both criteria cleared: the error box, and the dialog stays.
    WithOptions(fm, [&](TfmOption* dlg) {
        dlg->cbtnEmail->SetChecked(false);
        dlg->sbtnOK->Click();
        EXPECT_TRUE(dlg->Visible());
        ASSERT_FALSE(Boxes().empty());
        EXPECT_EQ(Boxes().back(),
                  std::make_pair(std::string("Error"),
                                 std::string("You must set at lease one criteria to check "
                                             "duplicate contact record.")));
        // Only the name: accepted, no re-open and no regrouping; the
        // duplicates list follows the new criteria at once.
        dlg->cbtnName->SetChecked(true);
        dlg->sbtnOK->Click();
    });
    EXPECT_FALSE(fm->m_bCheckMail);
    EXPECT_TRUE(fm->m_bCheckName);
    EXPECT_EQ(RecordOf(Row(fm->slvItems, "B"))->nDupGroup, 1) << "the old grouping stays";
    EXPECT_EQ(Names(fm->slvDups), Names_t{"B"}) << "A's old group, through the shared mark";

    // Cancel after changing everything changes nothing.
    WithOptions(fm, [&](TfmOption* dlg) {
        dlg->rbtnDefault->SetChecked(true);
        dlg->cbtnEmail->SetChecked(true);
        dlg->sbtnCancel->Click();
    });
    EXPECT_EQ(QString::fromUtf8(fm->m_szWabName), book);
    EXPECT_FALSE(fm->m_bCheckMail);

    // Back to the default book: the name empties and it re-opens.
    WithOptions(fm, [&](TfmOption* dlg) {
        dlg->rbtnDefault->SetChecked(true);
        EXPECT_EQ(dlg->edtName->Text(), book) << "the box keeps the last file";
        dlg->sbtnOK->Click();
    });
    EXPECT_TRUE(fmOption->m_bChanged);
    EXPECT_STREQ(fm->m_szWabName, "");
    EXPECT_EQ(Names(fm->slvItems), Names_t{"D"});

    // The other book under a name in other letter case counts as a change
    // (and, naming no file here, is reported).
    std::string upper = other.toStdString();
    upper.replace(upper.size() - 9, 9, "OTHER.WAB");
    WithOptions(fm, [&](TfmOption* dlg) {
        dlg->rbtnOther->SetChecked(true);
        win32test::ScriptOpenFileName(upper);
        dlg->sbtnBrowse->Click();
        dlg->sbtnOK->Click();
    });
    EXPECT_TRUE(fmOption->m_bChanged);
    EXPECT_EQ(Boxes().back().first, "Error");
}

// ---- help, web page, about -----------------------------------------------------------

TEST_F(MainWindow, HelpWebPageAndAbout) {
    Book({}, QString());
    TfmMain* fm = Start();
    // Help names the file alone: the shell looks in the current folder.
    const QString before = QDir::currentPath();
    QDir::setCurrent(tmp.path());
    fm->sbtnHelp->Click();
    QDir::setCurrent(before);
    qobject_cast<tk::TMenuItem*>(fm->FindComponent("miHelpWeb"))->Click();
    const auto& calls = win32test::ShellExecuteCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].verb, "open");
    EXPECT_EQ(calls[0].file, "quenby.chm");
    EXPECT_EQ(calls[0].parameters, "");
    EXPECT_EQ(calls[0].directory, "");
    EXPECT_EQ(calls[0].show, SW_SHOW);
    EXPECT_TRUE(QString::fromStdString(calls[1].file).endsWith("/index.htm?ref=prod"));

    // The about dialog is made and freed for each showing.
    for (int i = 0; i < 2; ++i) {
        QPointer<TfmAbout> shown;
        QTimer::singleShot(0, [&] {
            for (tk::TComponent* c : fm->Components()) {
                if (auto* about = qobject_cast<TfmAbout*>(c)) {
                    shown = about;
                }
            }
            ASSERT_TRUE(shown);
            EXPECT_EQ(shown->Caption(), "About Quenby");
            shown->Handle()->grab().save(ArtifactsDir() + "/about.png");
            qobject_cast<sk::TskButton*>(shown->FindComponent("skButton1"))->Click();
        });
        qobject_cast<tk::TMenuItem*>(fm->FindComponent("miHelpAbout"))->Click();
        EXPECT_TRUE(shown.isNull()) << "freed when its modal run ended";
    }
}

// ---- window size and the button row -------------------------------------------------

TEST_F(MainWindow, ResizeLimitAndTopRowPlacement) {
    Book({}, QString());
    TfmMain* fm = Start();
    fm->Show();
    bool resize = true;
    int w = 801;
    int h = 601;
    fm->FormCanResize(fm, w, h, resize);
    EXPECT_TRUE(resize);
    for (auto [cw, ch] : {std::pair{800, 601}, std::pair{801, 600}}) {
        fm->FormCanResize(fm, cw, ch, resize);
        EXPECT_FALSE(resize) << cw << " x " << ch;
    }
    // Through the window itself.
    fm->SetBounds(fm->Left(), fm->Top(), 801, 601);
    EXPECT_EQ(fm->Width(), 801);
    fm->SetBounds(fm->Left(), fm->Top(), 800, 700);
    EXPECT_EQ(fm->Width(), 801);
    EXPECT_EQ(fm->Height(), 601);

    // Lefts of Delete, Refresh, Help and Exit for the panel's width.
    fm->spTop->SetAlign(tk::alNone);
    const struct {
        int width;
        int lefts[4];
    } rows[] = {
        {794, {434, 524, 614, 704}},
        {790, {430, 520, 610, 700}},
        {789, {433, 522, 611, 700}},
        {1024, {480, 616, 752, 888}},
    };
    for (const auto& r : rows) {
        fm->spTop->SetWidth(r.width);
        const int got[] = {fm->btnDelAll->Left(), fm->sbtnRefresh->Left(), fm->sbtnHelp->Left(),
                           fm->sbtnExit->Left()};
        EXPECT_EQ(std::vector<int>(std::begin(got), std::end(got)),
                  std::vector<int>(std::begin(r.lefts), std::end(r.lefts)))
            << r.width;
    }
}

TEST_F(MainWindow, RefreshReportsABookThatStillCannotBeOpened) {
    const QString file = Path("later.wab");
    UseBook(file);
    TfmMain* fm = Start();
    ASSERT_EQ(Boxes().size(), 1u);
    fm->sbtnRefresh->Click();
    ASSERT_EQ(Boxes().size(), 2u) << "still missing";
    EXPECT_EQ(Boxes()[1].first, "Error");
    Book({{"Ann", "a@e.org"}}, "later.wab");
    fm->sbtnRefresh->Click();
    EXPECT_EQ(Boxes().size(), 2u) << "there now";
    EXPECT_EQ(Names(fm->slvItems), Names_t{"Ann"});
}

TEST_F(MainWindow, EveryWayOfClosingWritesTheSettingsOnce) {
    Book({}, QString());
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        QFile::remove(SettingsFile());
        TfmMain* fm = Start();
        fm->Show();
        switch (way) {
        case 0:
            fm->sbtnExit->Click();
            break;
        case 1:
            qobject_cast<tk::TMenuItem*>(fm->FindComponent("miFileExit"))->Click();
            break;
        default: {
            // A real click on the title bar's close button.
            sk::TskTitleBar* bar = fm->sfmMain->TitleBar();
            const tk::TRect close = bar->Layout(bar->Width()).buttons[1];
            const QPoint at((close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2);
            QTest::mouseMove(bar->Handle(), at);
            QTest::mouseClick(bar->Handle(), Qt::LeftButton, {}, at);
            break;
        }
        }
        EXPECT_FALSE(fm->Visible());
        EXPECT_FALSE(QFile::exists(SettingsFile()));
        form.reset();
        EXPECT_TRUE(QFile::exists(SettingsFile()));
    }
}

} // namespace
