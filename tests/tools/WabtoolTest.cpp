// wabtool as people run it (the executable), and its readers on small
// inputs that show one format detail each.
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/wab32/WabLabels.h"
#include "tests/platform/wab32/WabTestSupport.h"
#include "tests/tools/ToolProcess.h"
#include "tools/wabtool/CommandSupport.h"
#include "tools/wabtool/Commands.h"
#include "tools/wabtool/Contact.h"
#include "tools/wabtool/Csv.h"
#include "tools/wabtool/Text.h"
#include "tools/wabtool/VCard.h"
#include "tools/wabtool/WabClient.h"

using wabtest::ReadBytes;
using wabtest::ScopedEnv;
using wabtest::TempDir;
using wabtest::WriteBytes;
using wabtool::Contact;

namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// `memoryLimit`: the bytes of address space the tool may have, 0 for no limit.
Result RunTool(const TempDir& dir, const std::vector<std::string>& args, rlim_t memoryLimit = 0) {
    const std::string outFile = dir.file("stdout.txt");
    const std::string errFile = dir.file("stderr.txt");
    const int status =
        wabtooltest::WaitTool(wabtooltest::StartTool(args, outFile, errFile, memoryLimit));
    Result r;
    r.status = status < 128 ? status : -1;
    r.out = ReadBytes(outFile);
    r.err = ReadBytes(errFile);
    return r;
}

using NameAndEmail = std::pair<std::string, std::string>;

// Display name and e-mail of each entry, from "wabtool list".
std::vector<NameAndEmail> Listed(const std::string& listing) {
    std::vector<NameAndEmail> entries;
    for (const std::string& line : wabtool::Split(listing, "\n")) {
        std::vector<std::string> fields = wabtool::Split(line, "\t");
        if (fields.size() == 4) {
            entries.emplace_back(fields[2], fields[3]);
        }
    }
    return entries;
}

std::vector<Contact> StoredContacts(const std::string& file) {
    std::vector<Contact> contacts;
    wabtool::AddressBook book;
    EXPECT_EQ(book.Open(file), S_OK);
    book.ForEach([&](const wabtool::EntryView& e) {
        contacts.push_back(Contact::FromEntry(e));
        return true;
    });
    return contacts;
}

std::string FixturesDir() {
    const char* source = std::getenv("QUENBY_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/../shared/fixtures/contacts/";
}

class WabtoolTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedEnv data{"XDG_DATA_HOME", dir.file("xdg")};

    std::string NewBook(const std::string& name = "book.wab") {
        const std::string file = dir.file(name);
        EXPECT_EQ(RunTool(dir, {"create", file}).status, 0);
        return file;
    }
};

// ---- Real-world exports ---------------------------------------------------------------

TEST_F(WabtoolTest, ImportsEachFixtureWithItsNamesAndAddresses) {
    if (!std::filesystem::exists(FixturesDir())) {
        GTEST_SKIP() << "no contact fixtures at " << FixturesDir();
    }
    struct Case {
        const char* file;
        std::vector<NameAndEmail> expected;
    };
    const Case cases[] = {
        // 2.1, QUOTED-PRINTABLE soft breaks in the middle of UTF-8 characters
        {"evolution-qp-utf8-2.1.vcf",
         {{"\xE5\x8D\x81\xE5\x9F\x8E\xE7\x9B\xAE\xE7\xAE\xA1\xE7\x90\x86\xE5\xA4\xA7\xE5\x9E\x8B"
           "\xE7\x9F\xA5\xE5\xBA\xA7",
           "weird@weird.com"}}},
        // 3.0 with item groups, escaped commas and colons, a folded photo
        {"apple-addressbook-3.0.vcf", {{"Mr. John Richter,James Doe Sr.", "john.doe@ibm.com"}}},
        // several cards, no final line break
        {"gmail-list-3.0.vcf",
         {{"Arnold Smith", "asmithk@gmail.com"},
          {"Chris Beatle", "chrisy55d@yahoo.com"},
          {"Doug White", "dwhite@gmail.com"}}},
        // numbered column groups, " ::: " lists, quoted fields over lines
        {"google-contacts.csv", {{"test contact", "homeemail@home.com"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string book = NewBook(std::string(c.file) + ".wab");
        Result imported = RunTool(dir, {"import", "--into", book, FixturesDir() + c.file});
        EXPECT_EQ(imported.status, 0) << imported.err;
        Result listed = RunTool(dir, {"list", book});
        EXPECT_EQ(listed.status, 0);
        EXPECT_EQ(Listed(listed.out), c.expected);
    }
}

TEST_F(WabtoolTest, FixtureDetailsLandInTheirFields) {
    if (!std::filesystem::exists(FixturesDir())) {
        GTEST_SKIP() << "no contact fixtures at " << FixturesDir();
    }
    const std::string book = NewBook();
    ASSERT_EQ(RunTool(dir, {"import", "--into", book, FixturesDir() + "apple-addressbook-3.0.vcf",
                            FixturesDir() + "google-contacts.csv"})
                  .status,
              0);
    std::vector<Contact> contacts = StoredContacts(book);
    ASSERT_EQ(contacts.size(), 2u);
    const Contact& apple = contacts[0];
    EXPECT_EQ(apple.Text(PR_ASSISTANT_TELEPHONE_NUMBER), "905-222-1234"); // item1 labelled
    EXPECT_EQ(apple.Text(PR_HOME_FAX_NUMBER), "905-888-1234");
    EXPECT_EQ(apple.Text(PR_HOME_ADDRESS_STREET), "Silicon Alley 5,");
    EXPECT_EQ(apple.Text(PR_BUSINESS_ADDRESS_STREET), "Street4\nBuilding 6\nFloor 8");
    EXPECT_EQ(apple.Text(PR_COMMENT), "Favotire Color: Blue");
    EXPECT_EQ(apple.Text(PR_PERSONAL_HOME_PAGE), "http://www.ibm.com");
    EXPECT_EQ(apple.Text(PR_SPOUSE_NAME), "Jenny");
    EXPECT_EQ(apple.Text(PR_COMPANY_NAME), "IBM");
    EXPECT_EQ(apple.Text(PR_DEPARTMENT_NAME), "Accounting");

    const Contact& google = contacts[1];
    std::size_t preferred = 9;
    EXPECT_EQ(google.Emails(preferred),
              (std::vector<std::string>{"homeemail@home.com", "workemail@work.com",
                                        "customemail@custom.com"}));
    EXPECT_EQ(preferred, 0u);
    EXPECT_EQ(google.Text(PR_MOBILE_TELEPHONE_NUMBER), "mobilephone 123-234-2433");
    EXPECT_EQ(google.Text(PR_BUSINESS_ADDRESS_CITY), "los angelas");
    EXPECT_EQ(google.Text(PR_COMPANY_NAME), "company-name");
    EXPECT_EQ(google.lists.at(PR_CHILDRENS_NAMES), std::vector<std::string>{"child data"});
}

TEST_F(WabtoolTest, ExportThenImportGivesBackTheSameContacts) {
    if (!std::filesystem::exists(FixturesDir())) {
        GTEST_SKIP() << "no contact fixtures at " << FixturesDir();
    }
    const std::string original = NewBook("original.wab");
    std::vector<std::string> import = {"import", "--into", original};
    for (const char* f : {"evolution-qp-utf8-2.1.vcf", "apple-addressbook-3.0.vcf",
                          "gmail-list-3.0.vcf", "google-contacts.csv"}) {
        import.push_back(FixturesDir() + f);
    }
    ASSERT_EQ(RunTool(dir, import).status, 0);
    std::vector<Contact> before = StoredContacts(original);
    ASSERT_EQ(before.size(), 6u);

    for (const char* format : {"vcard3", "vcard4", "csv"}) {
        SCOPED_TRACE(format);
        Result exported = RunTool(dir, {"export", "--from", original, "--format", format});
        ASSERT_EQ(exported.status, 0) << exported.err;
        const std::string file =
            dir.file(std::string("export.") + (std::string(format) == "csv" ? "csv" : "vcf"));
        WriteBytes(file, exported.out);
        const std::string copy = NewBook(std::string("copy-") + format + ".wab");
        ASSERT_EQ(RunTool(dir, {"import", "--into", copy, file}).status, 0);
        std::vector<Contact> after = StoredContacts(copy);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].text, before[i].text) << before[i].Text(PR_DISPLAY_NAME);
            EXPECT_EQ(after[i].numbers, before[i].numbers);
            EXPECT_EQ(after[i].lists, before[i].lists);
        }
    }
}

// ---- Real-world export details, one small fixture each ------------------------------

std::string OwnFixture(const char* name) {
    const char* source = std::getenv("QUENBY_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/tests/tools/fixtures/" + name;
}

TEST(ImportFixtureTest, ReadsWhatPeoplesProgramsWrite) {
    struct Case {
        const char* file;
        std::map<ULONG, std::string> expected;
        std::vector<std::size_t> warningLines;
    };
    const std::string sjisNote =
        "\xE6\x9D\xB1\xE4\xBA\xAC\xE9\x83\xBD\xE5\x8D\x83\xE4\xBB\xA3"
        "\xE7\x94\xB0\xE5\x8C\xBA\xE3\x81\xAE\xE4\xBC\x9A\xE7\xA4\xBE"
        "\xE3\x81\xAB\xE5\x8B\xA4\xE3\x82\x81\xE3\x81\xA6\xE3\x81\x84"
        "\xE3\x81\xBE\xE3\x81\x99\xE3\x80\x82"; // 東京都千代田区の会社に勤めています。
    const std::string yamada = "\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E"; // 山田 太郎
    const std::map<ULONG, std::string> zoe = {
        {PR_DISPLAY_NAME, "Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m"},
        {PR_COMPANY_NAME, "Caf\xC3\xA9 \xC3\x9Cn\xC3\xAF"
                          "code"}};
    const Case cases[] = {
        {"qp-soft-break-folded.vcf",
         {{PR_BUSINESS_ADDRESS_STREET, "100 Waters Edge\nApt 2"},
          {PR_BUSINESS_ADDRESS_CITY, "Baytown"},
          {PR_COMMENT, "A note that goes on and on and on, 50% = half of it, a=lone sign"}},
         {}},
        {"qp-soft-break-blank-line.vcf",
         {{PR_COMMENT, "first line\nsecond line"}, {PR_MOBILE_TELEPHONE_NUMBER, "+1 555 0100"}},
         {}},
        {"qp-long-shift-jis.vcf",
         {{PR_COMMENT, "\xE6\x9D\xB1\xE4\xBA\xAC\xE9\x83\xBD\xE5\x8D\x83\xE4\xBB\xA3\xE7\x94\xB0"
                       "\xE5\x8C\xBA\xE5\x8D\x83\xE4\xBB\xA3\xE7\x94\xB0\xE4\xB8\x80\xE4\xB8\x81"
                       "\xE7\x9B\xAE\xE4\xB8\x80\xE7\x95\xAA\xE4\xB8\x80\xE5\x8F\xB7\xE3\x80\x81"
                       "\xE7\x9A\x87\xE5\xB1\x85\xE3\x81\xAE\xE8\xBF\x91\xE3\x81\x8F\xE3\x81\xAB"
                       "\xE3\x81\x82\xE3\x82\x8B\xE4\xBA\x8B\xE5\x8B\x99\xE6\x89\x80\xE3\x81\xA7"
                       "\xE3\x81\x99\xE3\x80\x82"}},
         {}},
        {"line-ends-cr.vcf",
         {{PR_DISPLAY_NAME, "CarriageReturn"}, {PR_MOBILE_TELEPHONE_NUMBER, "+1 555 0101"}},
         {}},
        {"line-ends-cr-cr-lf.vcf",
         {{PR_DISPLAY_NAME, "DoubleReturn"},
          {PR_COMMENT, "one\ntwo"},
          {PR_MOBILE_TELEPHONE_NUMBER, "+1 555 0102"}},
         {}},
        {"line-ends-cr-cr-lf.csv",
         {{PR_DISPLAY_NAME, "Double Return"},
          {PR_COMMENT, "one\ntwo"},
          {PR_MOBILE_TELEPHONE_NUMBER, "+1 555 0103"}},
         {}},
        {"utf16le-bom.vcf", zoe, {}},
        {"utf16be.vcf", zoe, {}},
        {"utf16be-bom.csv", zoe, {}},
        {"utf16le.csv", zoe, {}},
        {"shift-jis.vcf",
         {{PR_DISPLAY_NAME, yamada},
          {PR_COMPANY_NAME, "\xE6\xA0\xAA\xE5\xBC\x8F\xE4\xBC\x9A\xE7\xA4\xBE\xE3\x83\x86\xE3\x82"
                            "\xB9\xE3\x83\x88"}, // 株式会社テスト
          {PR_COMMENT, sjisNote}},
         {}},
        {"gb18030.csv",
         {{PR_DISPLAY_NAME, "\xE5\xBC\xA0\xE4\xBC\x9F"}, // 张伟
          {PR_COMPANY_NAME, "\xE5\x8C\x97\xE4\xBA\xAC\xE6\xB5\x8B\xE8\xAF\x95\xE6\x9C\x89\xE9\x99"
                            "\x90\xE5\x85\xAC\xE5\x8F\xB8"}}, // 北京测试有限公司
         {}},
        {"windows-1252.csv",
         {{PR_GIVEN_NAME, "Jos\xC3\xA9"},
          {PR_SURNAME, "M\xC3\xBCller"},
          {PR_COMMENT, "\xE2\x80\x9CStra\xC3\x9F"
                       "e\xE2\x80\x9D \xC3\xBC"
                       "ber Flu\xC3\x9F "
                       "\xE2\x80\x93 5 \xE2\x82\xAC"}},
         {}},
        {"declared-charset.vcf",
         {{PR_DISPLAY_NAME, yamada},
          {PR_COMMENT, sjisNote},
          {PR_TITLE, "Directeur g\xC3\xA9n\xC3\xA9ral"},
          {PR_COMPANY_NAME, "Soci\xC3\xA9t\xC3\xA9 G\xC3\xA9n\xC3\xA9rale"}},
         {}},
        {"no-room.vcf",
         {{PR_PERSONAL_HOME_PAGE, "http://home.example"},
          {PR_BUSINESS_HOME_PAGE, "http://work.example"},
          {PR_SPOUSE_NAME, "Pat"},
          {PR_MANAGER_NAME, "Lee"},
          {PR_COMPANY_NAME, "First Company"}},
         {6, 8, 10, 12}},
        {"no-room.csv",
         {{PR_PERSONAL_HOME_PAGE, "http://home.example"},
          {PR_BUSINESS_HOME_PAGE, "http://work.example"},
          {PR_SPOUSE_NAME, "Pat"},
          {PR_COMPANY_NAME, "First Company"}},
         {2, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<Contact> contacts;
        std::vector<wabtool::Issue> warnings;
        wabtool::Issue error;
        ASSERT_TRUE(wabtool::ReadContactsFile(c.file, c.file, ReadBytes(OwnFixture(c.file)),
                                              contacts, warnings, error))
            << error.Format();
        ASSERT_EQ(contacts.size(), 1u);
        for (const auto& [tag, value] : c.expected) {
            EXPECT_EQ(contacts[0].Text(tag), value) << std::hex << tag;
        }
        std::vector<std::size_t> lines;
        for (const wabtool::Issue& w : warnings) {
            lines.push_back(w.line);
            EXPECT_EQ(w.file, c.file);
            EXPECT_NE(w.message.find("left out"), std::string::npos) << w.Format();
        }
        EXPECT_EQ(lines, c.warningLines);
    }
}

// ---- Bad input --------------------------------------------------------------------------

TEST_F(WabtoolTest, BadInputNamesFileAndLineAndWritesNothing) {
    using namespace std::string_literals;
    const std::string book = NewBook();
    WriteBytes(dir.file("good.vcf"), "BEGIN:VCARD\nVERSION:3.0\nFN:Kept out\nEND:VCARD\n");
    struct Case {
        const char* name;
        std::string content;
        const char* where; // expected in the message
    };
    const Case cases[] = {
        {"nocolon.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\njunk\r\nEND:VCARD\r\n",
         "nocolon.vcf:4:"},
        {"noend.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B\n",
         "noend.vcf:5:"},
        {"before.vcf", "hello\nBEGIN:VCARD\nFN:A\nEND:VCARD\n", "before.vcf:1:"},
        {"version.vcf", "BEGIN:VCARD\nVERSION:5.0\nFN:A\nEND:VCARD\n", "version.vcf:2:"},
        {"noname.vcf", "BEGIN:VCARD\nVERSION:3.0\nNOTE:who?\nEND:VCARD\n", "noname.vcf:1:"},
        {"quote.csv", "Name,E-mail Address\nA,a@x\n\"B,b@x\n", "quote.csv:3:"},
        {"header.csv", "Colour,Size\nred,9\n", "header.csv:1:"},
        {"wide.csv", "Name,E-mail Address\nA,a@x,surplus\n", "wide.csv:2:"},
        {"empty.vcf", "", "empty.vcf"},
        // The address book keeps text up to its first NUL: the rest would be lost.
        {"nul.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:A\nNOTE:kept\0lost\nEND:VCARD\n"s, "nul.vcf:1:"},
        {"nulqp.vcf",
         "BEGIN:VCARD\nVERSION:2.1\nFN:A\nNOTE;QUOTED-PRINTABLE:kept=00lost\nEND:VCARD\n",
         "nulqp.vcf:1:"},
        {"nul.csv", "Name,Notes\nA,kept\0lost\n"s, "nul.csv:2:"},
    };
    const std::string before = ReadBytes(book);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.file(c.name), c.content);
        Result r = RunTool(dir, {"import", "--into", book, dir.file("good.vcf"), dir.file(c.name)});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.where), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was imported"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(ReadBytes(book) == before);
    EXPECT_EQ(Listed(RunTool(dir, {"list", book}).out), std::vector<NameAndEmail>{});
}

TEST_F(WabtoolTest, InputLargerThanMemoryFailsCleanlyAndWritesNothing) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer cannot map its shadow memory under an address-space limit";
#endif
    const std::string book = NewBook();
    const std::string big = dir.file("big.vcf");
    WriteBytes(big, "BEGIN:VCARD\nVERSION:3.0\nFN:A\nNOTE:");
    std::filesystem::resize_file(big, std::uintmax_t{1} << 30); // sparse
    const std::string before = ReadBytes(book);
    Result r = RunTool(dir, {"import", "--into", book, big}, rlim_t{256} << 20);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("out of memory"), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(book), before);
}

TEST_F(WabtoolTest, CommandsWorkOnTheDefaultBookAndRefuseMisuse) {
    WriteBytes(dir.file("one.vcf"),
               "\xEF\xBB\xBF"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Default\r\nEMAIL:d@x\r\nEND:VCARD\r\n");
    EXPECT_EQ(RunTool(dir, {"import", dir.file("one.vcf")}).status, 0);
    EXPECT_EQ(Listed(RunTool(dir, {"list"}).out), (std::vector<NameAndEmail>{{"Default", "d@x"}}));

    const std::string book = NewBook();
    const std::string bytes = ReadBytes(book);
    Result again = RunTool(dir, {"create", book});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(ReadBytes(book), bytes);
    EXPECT_EQ(RunTool(dir, {"list", dir.file("missing.wab")}).status, 1);
    EXPECT_EQ(RunTool(dir, {"export", "--format", "xml"}).status, 2);
    EXPECT_EQ(RunTool(dir, {"import"}).status, 2);
    EXPECT_EQ(RunTool(dir, {"frobnicate"}).status, 2);
    for (const std::vector<std::string>& misuse :
         std::vector<std::vector<std::string>>{{"restore"},
                                               {"restore", "--all", std::string(64, 'a')},
                                               {"restore", "--since", "2024-02-30"},
                                               {"restore", book, "not-an-id"},
                                               {"purge", "--older-than", "-1"},
                                               {"deleted", book, book}}) {
        EXPECT_EQ(RunTool(dir, misuse).status, 2) << misuse[0] << " " << misuse.back();
    }
    for (const char* command :
         {"create", "import", "export", "list", "deleted", "restore", "purge"}) {
        Result help = RunTool(dir, {command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("Usage: wabtool ") + command, 0), 0u) << help.out;
    }
}

// An empty name would mean the default book: a script with an unset
// variable must not write into the user's own address book.
TEST_F(WabtoolTest, EmptyFileNameIsRefusedNotTakenForTheDefaultBook) {
    WriteBytes(dir.file("one.vcf"), "BEGIN:VCARD\nVERSION:3.0\nFN:A\nEND:VCARD\n");
    const std::vector<std::vector<std::string>> commands = {
        {"import", "--into", "", dir.file("one.vcf")},
        {"import", "--into=", dir.file("one.vcf")},
        {"import", ""},
        {"list", ""},
        {"export", "--from="},
        {"export", "--from", ""},
        {"deleted", ""},
        {"restore", "", "--all"},
        {"purge", ""},
    };
    for (const std::vector<std::string>& command : commands) {
        Result r = RunTool(dir, command);
        EXPECT_EQ(r.status, 2) << command[0] << " " << command[1];
        EXPECT_NE(r.err.find("empty"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("xdg/wab")));
}

// Each failure names the file and says what is wrong with it.
TEST_F(WabtoolTest, EachErrorSaysWhatIsWrongWithWhichFile) {
    const std::string sound = NewBook("sound.wab");
    const std::string longName = dir.file(std::string(260, 'n') + ".wab");
    struct Case {
        std::string file;
        std::function<void(const std::string&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {dir.file("missing.wab"), [](const std::string&) {}, "the file does not exist"},
        {dir.file("folder.wab"), [](const std::string& f) { std::filesystem::create_directory(f); },
         "a folder, not a file"},
        {dir.file("text.wab"), [](const std::string& f) { WriteBytes(f, "hello\n"); },
         "not an address book"},
        {longName, [](const std::string&) {}, "the file name is too long"},
        {dir.file("journal.wab"),
         [&](const std::string& f) {
             std::filesystem::copy_file(sound, f);
             WriteBytes(f + "-journal", std::string(512, 'j'));
         },
         "journal"},
        {dir.file("flipped.wab"),
         [&](const std::string& f) {
             std::string bytes = ReadBytes(sound);
             bytes[18] = 3; // a file format SQLite would only read
             WriteBytes(f, bytes);
         },
         "the address book is damaged"},
    };
    WriteBytes(dir.file("one.vcf"), "BEGIN:VCARD\nVERSION:3.0\nFN:A\nEND:VCARD\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        c.make(c.file);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"list", c.file},
              std::vector<std::string>{"import", "--into", c.file, dir.file("one.vcf")}}) {
            Result r = RunTool(dir, command);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err.rfind("wabtool: " + c.file + ": ", 0), 0u) << r.err;
            EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        }
    }
    Result folder = RunTool(dir, {"import", "--into", sound, dir.path().string()});
    EXPECT_EQ(folder.status, 1) << "not an abort";
    EXPECT_NE(folder.err.find("a folder, not a file"), std::string::npos) << folder.err;
}

// One entry the store cannot give back is named and left out; the others
// are still listed and exported.
TEST_F(WabtoolTest, UnreadableEntryIsNamedAndTheRestListed) {
    const std::string book = NewBook();
    WriteBytes(dir.file("three.vcf"), "BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B\n"
                                      "END:VCARD\nBEGIN:VCARD\nFN:C\nEND:VCARD\n");
    ASSERT_EQ(RunTool(dir, {"import", "--into", book, dir.file("three.vcf")}).status, 0);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(book.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE entries SET object_type = 99 WHERE id = 2", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    Result listed = RunTool(dir, {"list", book});
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(Listed(listed.out), (std::vector<NameAndEmail>{{"A", ""}, {"C", ""}}));
    EXPECT_NE(listed.err.find(book + ": entry "), std::string::npos) << listed.err;
    EXPECT_NE(listed.err.find("the address book is damaged; left out"), std::string::npos)
        << listed.err;
    Result exported = RunTool(dir, {"export", "--from", book});
    EXPECT_EQ(exported.status, 1);
    EXPECT_NE(exported.out.find("FN:C"), std::string::npos);
}

// Input reaches the terminal escaped: a file cannot retitle or clear it, and
// a NUL does not cut the message short.
TEST_F(WabtoolTest, ControlCharactersInMessagesAreShownEscaped) {
    using namespace std::string_literals;
    const std::string book = NewBook();
    WriteBytes(dir.file("evil.vcf"),
               "BEGIN:VCARD\nVERSION:3.0\nFN:A\n\x1B]0;owned\x07 hidden\0 rest\nEND:VCARD\n"s);
    Result bad = RunTool(dir, {"import", "--into", book, dir.file("evil.vcf")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err.find('\x1B'), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("\\x1B]0;owned\\x07 hidden\\x00 rest"), std::string::npos) << bad.err;

    WriteBytes(dir.file("name.vcf"), "BEGIN:VCARD\nVERSION:3.0\nFN:Eve\x1B[2J\\nnext\nEND:VCARD\n");
    ASSERT_EQ(RunTool(dir, {"import", "--into", book, dir.file("name.vcf")}).status, 0);
    Result listed = RunTool(dir, {"list", book});
    EXPECT_EQ(Listed(listed.out), (std::vector<NameAndEmail>{{"Eve\\x1B[2J\\nnext", ""}}));
}

// ---- Deleted contacts --------------------------------------------------------------------

struct DeletedLine {
    std::string id, time, kind, name, email;
    bool operator==(const DeletedLine&) const = default;
};

std::vector<DeletedLine> DeletedListed(const std::string& listing) {
    std::vector<DeletedLine> lines;
    for (const std::string& line : wabtool::Split(listing, "\n")) {
        std::vector<std::string> f = wabtool::Split(line, "\t");
        if (f.size() == 5) {
            lines.push_back({f[0], f[1], f[2], f[3], f[4]});
        }
    }
    return lines;
}

std::string Hex(const std::vector<BYTE>& id) {
    SBinary bin{static_cast<ULONG>(id.size()), const_cast<BYTE*>(id.data())};
    return wabtool::HexId(bin);
}

using wabtest::Snapshot;

Snapshot EntriesIn(const std::string& file) {
    wabtool::AddressBook book;
    EXPECT_EQ(book.Open(file), S_OK);
    return wabtest::Entries(book);
}

// "Ann", with a property of every kind the store keeps, "Bob", and the list
// "Team", in that order.
std::vector<std::vector<BYTE>> AddThree(const std::string& file) {
    static const BYTE blob[] = {0, 1, 0x7F, 0x80, 0xFF, 0};
    static char* children[] = {const_cast<char*>("Ann Jr."), const_cast<char*>(""),
                               const_cast<char*>("Bj\xC3\xB6rn")};
    std::vector<SPropValue> ann = {wabtest::StringProp(PR_DISPLAY_NAME, "Ann"),
                                   wabtest::StringProp(PR_EMAIL_ADDRESS, "ann@example.org"),
                                   wabtest::StringProp(PR_COMMENT, "line one\r\nline two")};
    SPropValue v{};
    v.ulPropTag = PR_CHILDRENS_NAMES;
    v.Value.MVszA = {3, children};
    ann.push_back(v);
    v = {};
    v.ulPropTag = PROP_TAG(PT_BINARY, 0x6601);
    v.Value.bin = {sizeof blob, const_cast<BYTE*>(blob)};
    ann.push_back(v);
    v = {};
    v.ulPropTag = PR_BIRTHDAY;
    v.Value.ft = {0x89ABCDEFu, 0x01D2A3B4u};
    ann.push_back(v);
    v = {};
    v.ulPropTag = PR_GENDER;
    v.Value.i = genderFemale;
    ann.push_back(v);
    v = {};
    v.ulPropTag = PR_CONTACT_DEFAULT_ADDRESS_INDEX;
    v.Value.l = -7;
    ann.push_back(v);
    const SPropValue bob[] = {wabtest::StringProp(PR_DISPLAY_NAME, "Bob"),
                              wabtest::StringProp(PR_EMAIL_ADDRESS, "bob@example.org")};
    const SPropValue team[] = {wabtest::StringProp(PR_DISPLAY_NAME, "Team")};
    std::vector<std::vector<BYTE>> ids(3);
    wabtool::AddressBook book;
    EXPECT_EQ(book.Open(file), S_OK);
    EXPECT_EQ(book.Add(MAPI_MAILUSER, ann.data(), static_cast<ULONG>(ann.size()), &ids[0]), S_OK);
    EXPECT_EQ(book.Add(MAPI_MAILUSER, bob, 2, &ids[1]), S_OK);
    EXPECT_EQ(book.Add(MAPI_DISTLIST, team, 1, &ids[2]), S_OK);
    return ids;
}

void DeleteThroughLibrary(const std::string& file, const std::vector<std::vector<BYTE>>& ids) {
    wabtool::AddressBook book;
    ASSERT_EQ(book.Open(file), S_OK);
    for (const std::vector<BYTE>& id : ids) {
        ASSERT_EQ(book.Delete(id), S_OK);
    }
}

TEST_F(WabtoolTest, DeletedContactsComeBackWholeOrGoForGood) {
    const std::string book = NewBook();
    const std::vector<std::vector<BYTE>> ids = AddThree(book);
    const Snapshot before = EntriesIn(book);
    DeleteThroughLibrary(book, {ids[0], ids[2]});
    EXPECT_EQ(Listed(RunTool(dir, {"list", book}).out),
              (std::vector<NameAndEmail>{{"Bob", "bob@example.org"}}));

    Result deleted = RunTool(dir, {"deleted", book});
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    std::vector<DeletedLine> lines = DeletedListed(deleted.out);
    ASSERT_EQ(lines.size(), 2u) << deleted.out;
    for (DeletedLine& line : lines) {
        EXPECT_EQ(line.time.size(), 19u) << line.time; // 2024-05-31 14:30:15
        line.time.clear();
    }
    const std::vector<DeletedLine> newestFirst = {
        {Hex(ids[2]), "", "list", "Team", ""},
        {Hex(ids[0]), "", "contact", "Ann", "ann@example.org"}};
    EXPECT_EQ(lines, newestFirst);

    Result one = RunTool(dir, {"restore", book, Hex(ids[0])});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, "restored 1 contact to " + book + "\n");
    EXPECT_EQ(EntriesIn(book).at(ids[0]), before.at(ids[0]));
    EXPECT_EQ(RunTool(dir, {"restore", "--all", book}).status, 0);
    EXPECT_EQ(EntriesIn(book), before) << "identifiers and every property as they were";

    DeleteThroughLibrary(book, {ids[1]});
    Result purged = RunTool(dir, {"purge", book});
    EXPECT_EQ(purged.status, 0) << purged.err;
    EXPECT_EQ(purged.out, "purged 1 deleted contact from " + book + "\n");
    EXPECT_TRUE(DeletedListed(RunTool(dir, {"deleted", book}).out).empty());
    Result none = RunTool(dir, {"restore", book, "--all"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "no deleted contacts to restore in " + book + "\n");
    EXPECT_EQ(Listed(RunTool(dir, {"list", book}).out),
              (std::vector<NameAndEmail>{{"Ann", "ann@example.org"}, {"Team", ""}}));
}

// A restore that cannot put back every contact it names puts back none, and
// says which one and why.
TEST_F(WabtoolTest, RestoreThatCannotBeWholeRestoresNothing) {
    const std::string book = NewBook();
    const std::vector<std::vector<BYTE>> ids = AddThree(book);
    DeleteThroughLibrary(book, ids);
    ASSERT_EQ(RunTool(dir, {"restore", book, Hex(ids[0])}).status, 0);
    const std::string unknown(64, '7');
    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::string reason;
    };
    const Case cases[] = {
        {"one is back already",
         {"restore", book, Hex(ids[1]), Hex(ids[0])},
         "\"Ann\" (" + Hex(ids[0]) + ") is in the address book already"},
        {"one was never deleted",
         {"restore", book, Hex(ids[1]), unknown},
         "no deleted contact has the identifier " + unknown},
        // The last one is put back after the first: all that is undone.
        {"one is damaged", {"restore", book, "--all"}, "the address book is damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.reason == "the address book is damaged") {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(book.c_str(), &db), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(db, "DELETE FROM props WHERE entry_id = 3 AND tag = -1", nullptr,
                                   nullptr, nullptr),
                      SQLITE_OK);
            sqlite3_close(db);
        }
        Result r = RunTool(dir, c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind("wabtool: " + book + ": ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.reason + "; nothing was restored"), std::string::npos) << r.err;
        EXPECT_EQ(DeletedListed(RunTool(dir, {"deleted", book}).out).size(), 2u);
        EXPECT_EQ(Listed(RunTool(dir, {"list", book}).out),
                  (std::vector<NameAndEmail>{{"Ann", "ann@example.org"}}));
    }
}

TEST_F(WabtoolTest, ReadOnlyStoreListsItsDeletedContactsButKeepsThem) {
    const std::string book = NewBook();
    const std::vector<std::vector<BYTE>> ids = AddThree(book);
    DeleteThroughLibrary(book, {ids[1]});
    ASSERT_EQ(chmod(book.c_str(), 0444), 0);
    const std::string before = ReadBytes(book);
    EXPECT_EQ(DeletedListed(RunTool(dir, {"deleted", book}).out).size(), 1u);
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"restore", book, "--all"},
          std::vector<std::string>{"purge", book}}) {
        Result r = RunTool(dir, command);
        EXPECT_EQ(r.status, 1) << command[0];
        EXPECT_NE(r.err.find("access denied"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(ReadBytes(book) == before);
    EXPECT_EQ(DeletedListed(RunTool(dir, {"deleted", book}).out).size(), 1u);
}

// Times are shown and read in local time, to the second: a time copied from
// "wabtool deleted" selects that deletion and those after it.
TEST_F(WabtoolTest, RestoreSinceAndPurgeOlderThanGoByTheTimeOfDeletion) {
    wabtest::FaultLibrary faults(WAB32FAIL_PATH);
    ASSERT_NE(faults.Entry(), nullptr);
    ScopedEnv zone("TZ", "UTC");
    const std::string book = NewBook();
    const std::vector<std::vector<BYTE>> ids = AddThree(book);
    const std::int64_t now = std::time(nullptr);
    const std::int64_t when[] = {now - 25 * 86400, now - 10 * 86400, now - 86400};
    for (int i = 0; i < 3; ++i) {
        wabtool::AddressBook opened;
        ASSERT_EQ(faults.OpenAt(opened, book, when[i]), S_OK);
        ASSERT_EQ(opened.Delete(ids[static_cast<std::size_t>(i)]), S_OK);
    }
    auto shown = [](std::int64_t seconds) {
        const auto t = static_cast<std::time_t>(seconds);
        std::tm tm{};
        gmtime_r(&t, &tm);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
        return std::string(text);
    };
    const std::vector<DeletedLine> lines = DeletedListed(RunTool(dir, {"deleted", book}).out);
    ASSERT_EQ(lines.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(2 - i)].time, shown(when[i]));
    }

    Result since = RunTool(dir, {"restore", book, "--since", lines[1].time});
    EXPECT_EQ(since.status, 0) << since.err;
    EXPECT_EQ(Listed(RunTool(dir, {"list", book}).out),
              (std::vector<NameAndEmail>{{"Bob", "bob@example.org"}, {"Team", ""}}));
    Result young = RunTool(dir, {"purge", book, "--older-than", "26"});
    EXPECT_EQ(young.out, "no deleted contacts to purge in " + book + "\n");
    Result old = RunTool(dir, {"purge", book, "--older-than=24"});
    EXPECT_EQ(old.out, "purged 1 deleted contact from " + book + "\n");
    EXPECT_TRUE(DeletedListed(RunTool(dir, {"deleted", book}).out).empty());
}

// ---- Format details, in-process ---------------------------------------------------------

struct Parsed {
    std::vector<Contact> contacts;
    std::vector<wabtool::Issue> warnings;
};

Parsed ParseVCard(const std::string& text) {
    Parsed p;
    wabtool::Issue error;
    EXPECT_TRUE(wabtool::ReadVCards(text, "t.vcf", p.contacts, p.warnings, error))
        << error.Format();
    return p;
}

TEST(VCardReaderTest, DecodesTheEncodingsPeopleMeet) {
    struct Case {
        const char* what;
        std::string card;
        ULONG tag;
        std::string expected;
    };
    const Case cases[] = {
        {"folded line, CRLF", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Jo\r\n hn Smith\r\nEND:VCARD\r\n",
         PR_DISPLAY_NAME, "John Smith"},
        {"tab folding, LF", "BEGIN:VCARD\nVERSION:3.0\nFN:Ann\nNOTE:a\n\tb\nEND:VCARD\n",
         PR_COMMENT, "ab"},
        {"escapes", "BEGIN:VCARD\nVERSION:3.0\nFN:x\nNOTE:a\\, b\\; c\\nd\\\\e\nEND:VCARD\n",
         PR_COMMENT, "a, b; c\nd\\e"},
        {"group prefix",
         "BEGIN:VCARD\nVERSION:3.0\nFN:x\nitem7.EMAIL;type=INTERNET:g@x\nEND:VCARD\n",
         PR_EMAIL_ADDRESS, "g@x"},
        {"2.1 QP soft break inside a character",
         "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=UTF-8;QUOTED-PRINTABLE:Jos=C3=\n=A9\nEND:VCARD\n",
         PR_DISPLAY_NAME, "Jos\xC3\xA9"},
        {"2.1 QP line break, stored as the address book keeps it",
         "BEGIN:VCARD\nVERSION:2.1\nFN:x\nNOTE;ENCODING=QUOTED-PRINTABLE:a=0D=0Ab=0Dc\nEND:VCARD\n",
         PR_COMMENT, "a\nb\nc"},
        {"QP: an = without two hex digits stays as it is",
         "BEGIN:VCARD\nVERSION:2.1\nFN;ENCODING=QUOTED-PRINTABLE:A=ZZ=4 x\nEND:VCARD\n",
         PR_DISPLAY_NAME, "A=ZZ=4 x"},
        {"2.1 Latin-1", "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=ISO-8859-1:Jos\xE9\nEND:VCARD\n",
         PR_DISPLAY_NAME, "Jos\xC3\xA9"},
        {"no charset, not UTF-8: Windows-1252",
         "BEGIN:VCARD\nVERSION:2.1\nFN:\x80 Euro\nEND:VCARD\n", PR_DISPLAY_NAME,
         "\xE2\x82\xAC Euro"},
        {"no FN: from N", "BEGIN:VCARD\nVERSION:3.0\nN:Smith;Arnold;;;\nEND:VCARD\n",
         PR_DISPLAY_NAME, "Arnold Smith"},
        {"no FN or N: from the e-mail", "BEGIN:VCARD\nVERSION:4.0\nEMAIL:only@x\nEND:VCARD\n",
         PR_DISPLAY_NAME, "only@x"},
        {"4.0 preference",
         "BEGIN:VCARD\nVERSION:4.0\nFN:x\nEMAIL:b@x\nEMAIL;PREF=1:a@x\nEND:VCARD\n",
         PR_EMAIL_ADDRESS, "a@x"},
        {"2.1 bare types", "BEGIN:VCARD\nVERSION:2.1\nFN:x\nTEL;WORK;FAX:12\nEND:VCARD\n",
         PR_BUSINESS_FAX_NUMBER, "12"},
        {"4.0 tel URI",
         "BEGIN:VCARD\nVERSION:4.0\nFN:x\nTEL;VALUE=uri;TYPE=cell:tel:+1-555\nEND:VCARD\n",
         PR_MOBILE_TELEPHONE_NUMBER, "+1-555"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Parsed p = ParseVCard(c.card);
        ASSERT_EQ(p.contacts.size(), 1u);
        EXPECT_EQ(p.contacts[0].Text(c.tag), c.expected);
    }
}

// A contact of random values in the fields every format carries: blanks at
// either end, line breaks, commas, semicolons, quotes, backslashes and
// non-ASCII text.
Contact RandomContact(std::mt19937& random) {
    static const std::vector<std::string> pieces = {"a",
                                                    "Zoe",
                                                    " ",
                                                    "  ",
                                                    "\n",
                                                    ",",
                                                    ";",
                                                    ":",
                                                    "\\",
                                                    "\"",
                                                    "=",
                                                    "x=41",
                                                    "\xC3\xA9",
                                                    "\xE2\x82\xAC",
                                                    "\xE4\xB8\xAD\xE6\x96\x87",
                                                    "O'Neil",
                                                    "1",
                                                    "-",
                                                    "\t"};
    // Text of blanks alone counts as none, and " ::: " separates values in a
    // CSV list.
    auto text = [&](bool blanks) {
        std::string value;
        while (wabtool::Trim(value).empty() || value.find(" ::: ") != std::string::npos) {
            value.clear();
            const int n = 1 + static_cast<int>(random() % 6);
            for (int i = 0; i < n; ++i) {
                value += pieces[random() % pieces.size()];
            }
        }
        return blanks ? value : std::string(wabtool::Trim(value));
    };
    Contact c;
    for (const WabPropertyLabel& field : kWabPropertyLabels) {
        const ULONG tag = field.ulPropTag;
        if (PROP_TYPE(tag) != PT_STRING8 || tag == PR_EMAIL_ADDRESS || random() % 3 == 0) {
            continue;
        }
        c.text[tag] = text(!wabtool::IsAddressTag(tag)); // addresses lose their blanks
    }
    std::vector<std::string> emails;
    for (int i = static_cast<int>(random() % 3); i > 0; --i) {
        emails.push_back("p" + std::to_string(random() % 1000) + "@x.org");
    }
    c.SetEmails(emails, emails.empty() ? 0 : random() % emails.size());
    if (random() % 2 == 0) {
        c.numbers[PR_BIRTHDAY] = static_cast<std::int64_t>(*wabtool::ToFileTime(
            {1950 + static_cast<int>(random() % 60), 1 + static_cast<int>(random() % 12),
             1 + static_cast<int>(random() % 28)}));
        c.numbers[PR_GENDER] = random() % 2 == 0 ? genderMale : genderFemale;
        c.lists[PR_CHILDRENS_NAMES] = {text(true), text(true)};
    }
    c.CompleteDisplayName();
    return c;
}

TEST(RoundTripTest, EveryFormatGivesBackTheSameContacts) {
    std::mt19937 random(12);
    std::vector<Contact> contacts;
    for (int i = 0; i < 300; ++i) {
        contacts.push_back(RandomContact(random));
    }
    for (const char* format : {"vcard3", "vcard4", "csv"}) {
        SCOPED_TRACE(format);
        std::string file;
        if (std::string(format) == "csv") {
            wabtool::WriteCsvHeader(file);
        }
        for (const Contact& c : contacts) {
            if (std::string(format) == "csv") {
                wabtool::WriteCsvRow(c, file);
            } else {
                wabtool::WriteVCard(c,
                                    std::string(format) == "vcard4" ? wabtool::VCardVersion::V4
                                                                    : wabtool::VCardVersion::V3,
                                    file);
            }
        }
        std::vector<Contact> back;
        std::vector<wabtool::Issue> warnings;
        wabtool::Issue error;
        const bool read = std::string(format) == "csv"
                              ? wabtool::ReadCsv(file, "t.csv", back, warnings, error)
                              : wabtool::ReadVCards(file, "t.vcf", back, warnings, error);
        ASSERT_TRUE(read) << error.Format();
        EXPECT_TRUE(warnings.empty()) << warnings[0].Format();
        ASSERT_EQ(back.size(), contacts.size());
        int differing = 0;
        for (std::size_t i = 0; i < contacts.size() && differing < 3; ++i) {
            for (const auto& [tag, value] : contacts[i].text) {
                if (back[i].Text(tag) != value) {
                    ++differing;
                    ADD_FAILURE() << std::hex << tag << ": \"" << wabtool::Escaped(value)
                                  << "\" came back as \"" << wabtool::Escaped(back[i].Text(tag))
                                  << "\"";
                }
            }
            EXPECT_EQ(back[i].text.size(), contacts[i].text.size());
            EXPECT_EQ(back[i].numbers, contacts[i].numbers);
            EXPECT_EQ(back[i].lists, contacts[i].lists);
        }
    }
}

TEST(VCardWriterTest, WebPagesComeBackAsWritten) {
    Contact c;
    c.text[PR_DISPLAY_NAME] = "x";
    c.text[PR_PERSONAL_HOME_PAGE] = "file://C:\\notes\\new";
    c.text[PR_BUSINESS_HOME_PAGE] = "http://x/?a=1,b;c\nEMAIL:injected@x";
    for (wabtool::VCardVersion version : {wabtool::VCardVersion::V3, wabtool::VCardVersion::V4}) {
        std::string card;
        wabtool::WriteVCard(c, version, card);
        Parsed p = ParseVCard(card);
        ASSERT_EQ(p.contacts.size(), 1u) << card;
        EXPECT_EQ(p.contacts[0].Text(PR_PERSONAL_HOME_PAGE), c.Text(PR_PERSONAL_HOME_PAGE)) << card;
        EXPECT_EQ(p.contacts[0].Text(PR_BUSINESS_HOME_PAGE), c.Text(PR_BUSINESS_HOME_PAGE)) << card;
        EXPECT_FALSE(p.contacts[0].Has(PR_EMAIL_ADDRESS)) << card;
    }
}

TEST(VCardReaderTest, DatesWithoutAYearAreLeftOutWithAWarning) {
    Parsed p = ParseVCard("BEGIN:VCARD\nVERSION:4.0\nFN:x\nBDAY:--0517\nANNIVERSARY:20010203\n"
                          "END:VCARD\n");
    ASSERT_EQ(p.contacts.size(), 1u);
    EXPECT_EQ(p.contacts[0].numbers.count(PR_BIRTHDAY), 0u);
    EXPECT_EQ(p.contacts[0].numbers.count(PR_WEDDING_ANNIVERSARY), 1u);
    ASSERT_EQ(p.warnings.size(), 1u);
    EXPECT_EQ(p.warnings[0].line, 4u);
}

TEST(CsvReaderTest, ReadsTheHeadersOfCommonExports) {
    struct Case {
        const char* what;
        std::string csv;
        std::map<ULONG, std::string> expected;
    };
    const Case cases[] = {
        {"mail client with Title beside Job Title",
         "Title,First Name,Last Name,Job Title,E-mail Address,E-mail 2 Address,Business Street,"
         "Business Street 2\r\nMr.,Ann,Lee,Boss,a@x,b@x,1 Road,Floor 2\r\n",
         {{PR_DISPLAY_NAME_PREFIX, "Mr."},
          {PR_TITLE, "Boss"},
          {PR_DISPLAY_NAME, "Ann Lee"},
          {PR_EMAIL_ADDRESS, "a@x"},
          {PR_BUSINESS_ADDRESS_STREET, "1 Road\nFloor 2"}}},
        {"semicolons and a quoted line break",
         "Display Name;Primary Email;Notes\n\"Bo\";bo@x;\"two\nlines\"\n",
         {{PR_DISPLAY_NAME, "Bo"}, {PR_EMAIL_ADDRESS, "bo@x"}, {PR_COMMENT, "two\nlines"}}},
        {"contact service groups, starred primary",
         "Name,E-mail 1 - Type,E-mail 1 - Value,E-mail 2 - Type,E-mail 2 - Value,Phone 1 - Type,"
         "Phone 1 - Value\nCy,Work,w@x,* Home,h@x,Work Fax,77 ::: 78\n",
         {{PR_EMAIL_ADDRESS, "h@x"},
          {PR_BUSINESS_FAX_NUMBER, "77"},
          {PR_PRIMARY_FAX_NUMBER, "78"}}},
        {"mail client export in Windows-1252, as such clients write it",
         "First Name,Last Name,E-mail Address\r\nJos\xE9,\x80uro,j@x\r\n",
         {{PR_GIVEN_NAME, "Jos\xC3\xA9"}, {PR_SURNAME, "\xE2\x82\xACuro"}}},
        {"UTF-8 export with one stray byte keeps its accents",
         "First Name,Last Name,E-mail Address\nJos\xC3\xA9,Stra\xDF,j@x\n",
         {{PR_GIVEN_NAME, "Jos\xC3\xA9"}, {PR_SURNAME, "Stra\xC3\x9F"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Contact> contacts;
        std::vector<wabtool::Issue> warnings;
        wabtool::Issue error;
        ASSERT_TRUE(wabtool::ReadCsv(c.csv, "t.csv", contacts, warnings, error)) << error.Format();
        ASSERT_EQ(contacts.size(), 1u);
        for (const auto& [tag, value] : c.expected) {
            EXPECT_EQ(contacts[0].Text(tag), value) << std::hex << tag;
        }
    }
}

} // namespace
