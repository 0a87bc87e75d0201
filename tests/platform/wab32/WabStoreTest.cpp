// The address-book library and its store, through the ABI only.
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <pwd.h>
#include <set>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/platform/wab32/WabTestSupport.h"
#include "tools/wabtool/WabClient.h"

using wabtest::IntegrityOf;
using wabtest::ReadBytes;
using wabtest::ScopedEnv;
using wabtest::StringProp;
using wabtest::TempDir;
using wabtool::AddressBook;
using wabtool::EntryView;
using wabtool::WabBuffer;

namespace {

std::string UserName() {
    return getpwuid(geteuid())->pw_name;
}

HRESULT AddContact(AddressBook& book, const std::string& name, std::vector<BYTE>* id = nullptr,
                   ULONG objectType = MAPI_MAILUSER) {
    SPropValue props[] = {StringProp(PR_DISPLAY_NAME, name.c_str())};
    return book.Add(objectType, props, 1, id);
}

std::vector<std::string> Names(AddressBook& book) {
    std::vector<std::string> names;
    HRESULT hr = book.ForEach([&](const EntryView& e) {
        names.push_back(e.String(PR_DISPLAY_NAME));
        return true;
    });
    EXPECT_EQ(hr, S_OK);
    return names;
}

std::vector<std::string> NamesIn(const std::string& file) {
    AddressBook book;
    EXPECT_EQ(book.Open(file), S_OK) << file;
    return Names(book);
}

// A new store file holding `count` contacts named c0, c1, ...
void MakeStore(const std::string& file, int count) {
    AddressBook book;
    ASSERT_EQ(book.Open(file, WAB_CREATE_STORE), S_OK);
    ASSERT_EQ(book.BeginTransaction(), S_OK);
    for (int i = 0; i < count; ++i) {
        std::string name("c"); // not "c" + ...: GCC 12 warns falsely on it
        name += std::to_string(i);
        ASSERT_EQ(AddContact(book, name), S_OK);
    }
    ASSERT_EQ(book.CommitTransaction(), S_OK);
}

void RunSql(const std::string& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
}

// Every file of a folder with its bytes.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    }
    return files;
}

// A store whose last contact sits committed in its WAL, as a writer that
// was killed leaves it: the WAL and the shared-memory file stay beside it.
void MakeStoreWithPendingWal(const std::string& file) {
    MakeStore(file, 1);
    pid_t child = fork();
    if (child == 0) {
        AddressBook book;
        _exit(book.Open(file) == S_OK && AddContact(book, "in WAL") == S_OK ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_GT(std::filesystem::file_size(file + "-wal"), 0u);
}

class FaultLibrary : public wabtest::FaultLibrary {
public:
    FaultLibrary() : wabtest::FaultLibrary(WAB32FAIL_PATH) {}
};

void CheckStoredEntry(AddressBook& book, const EntryView& e, ULONG binaryTag,
                      const std::string& blob) {
    EXPECT_EQ(e.objectType, MAPI_MAILUSER);
    EXPECT_EQ(e.String(PR_DISPLAY_NAME), "J\xC3\xBCrgen \xE2\x82\xAC");
    ASSERT_NE(e.Find(PR_GENDER), nullptr);
    EXPECT_EQ(e.Find(PR_GENDER)->Value.i, genderMale);
    ASSERT_NE(e.Find(PR_BIRTHDAY), nullptr);
    EXPECT_EQ(e.Find(PR_BIRTHDAY)->Value.ft.dwLowDateTime, 0x89ABCDEFu);
    EXPECT_EQ(e.Find(PR_BIRTHDAY)->Value.ft.dwHighDateTime, 0x01D2A3B4u);
    ASSERT_NE(e.Find(binaryTag), nullptr);
    const SBinary& bin = e.Find(binaryTag)->Value.bin;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bin.lpb), bin.cb), blob);
    ASSERT_NE(e.Find(PR_CHILDRENS_NAMES), nullptr);
    const SLPSTRArray& mv = e.Find(PR_CHILDRENS_NAMES)->Value.MVszA;
    ASSERT_EQ(mv.cValues, 3u);
    EXPECT_STREQ(mv.lppszA[0], "Ann");
    EXPECT_STREQ(mv.lppszA[1], "");
    EXPECT_STREQ(mv.lppszA[2], "Bj\xC3\xB6rn");
    ASSERT_NE(e.Find(PR_CONTACT_DEFAULT_ADDRESS_INDEX), nullptr);
    EXPECT_EQ(e.Find(PR_CONTACT_DEFAULT_ADDRESS_INDEX)->Value.l, -7);
    ASSERT_NE(e.Find(PR_ENTRYID), nullptr);
    EXPECT_EQ(e.Find(PR_OBJECT_TYPE)->Value.ul, MAPI_MAILUSER);

    // Asking for named tags: a missing one comes back as an error value,
    // PT_UNSPECIFIED takes the stored type.
    ULONG type = 0;
    ComRef<IUnknown> unknown;
    EXPECT_EQ(book.Book()->OpenEntry(e.entryId.cb, reinterpret_cast<LPENTRYID>(e.entryId.lpb),
                                     nullptr, 0, &type, unknown.out()),
              S_OK);
    ComRef<IMailUser> user(static_cast<IMailUser*>(unknown.release()));
    struct {
        ULONG cValues = 3;
        ULONG aulPropTag[3] = {PR_DISPLAY_NAME, PR_EMAIL_ADDRESS,
                               PROP_TAG(PT_UNSPECIFIED, PROP_ID(PR_GENDER))};
    } tags;
    ULONG count = 0;
    LPSPropValue values = nullptr;
    EXPECT_EQ(user->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &values),
              MAPI_W_ERRORS_RETURNED);
    WabBuffer held(book.Object(), values);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(values[0].ulPropTag, PR_DISPLAY_NAME);
    EXPECT_EQ(values[1].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(PR_EMAIL_ADDRESS)));
    EXPECT_EQ(values[1].Value.err, MAPI_E_NOT_FOUND);
    EXPECT_EQ(values[2].ulPropTag, PR_GENDER);

    // A stored entry is never rewritten.
    SPropValue change = StringProp(PR_DISPLAY_NAME, "x");
    EXPECT_TRUE(FAILED(user->SetProps(1, &change, nullptr)));
}

class WabStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedEnv xdg{"XDG_DATA_HOME", dir.file("xdg")};
};

// ---- Where the default address book lives -------------------------------------

struct DefaultCase {
    const char* what;
    std::optional<std::string> xdg; // relative to the temp folder unless it starts "rel"
    std::string expected;           // relative to the temp folder
};

TEST_F(WabStoreTest, DefaultAddressBookIsCreatedPrivateAtTheXdgLocation) {
    const DefaultCase cases[] = {
        {"XDG_DATA_HOME set", "xdg", "xdg/wab/" + UserName() + ".wab"},
        {"XDG_DATA_HOME unset", std::nullopt, "home/.local/share/wab/" + UserName() + ".wab"},
        {"relative XDG_DATA_HOME ignored", "rel/data",
         "home/.local/share/wab/" + UserName() + ".wab"},
    };
    ScopedEnv home("HOME", dir.file("home"));
    for (const DefaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<std::string> value = c.xdg;
        if (value && value->rfind("rel", 0) != 0) {
            value = dir.file(*value);
        }
        ScopedEnv xdgCase("XDG_DATA_HOME", value);
        const std::string expected = dir.file(c.expected);
        {
            AddressBook book;
            ASSERT_EQ(book.Open(""), S_OK);
            ASSERT_EQ(AddContact(book, c.what), S_OK);
        }
        struct stat st {};
        ASSERT_EQ(stat(expected.c_str(), &st), 0) << expected;
        EXPECT_EQ(st.st_mode & 0777, 0600u);

        // A null parameter block means the same book.
        IAddrBook* book = nullptr;
        IWABObject* object = nullptr;
        ASSERT_EQ(WABOpen(&book, &object, nullptr, 0), S_OK);
        book->Release();
        object->Release();
        EXPECT_EQ(NamesIn(""), std::vector<std::string>{c.what});
        std::filesystem::remove(expected);
    }
}

TEST_F(WabStoreTest, CreatedStoreIsPrivateAndCreateNeverOverwrites) {
    const std::string file = dir.file("new.wab");
    MakeStore(file, 1);
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    const std::string before = ReadBytes(file);
    AddressBook book;
    EXPECT_TRUE(FAILED(book.Open(file, WAB_CREATE_STORE)));
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(NamesIn(file), std::vector<std::string>{"c0"});
}

// ---- Files that are not usable stores ---------------------------------------------

TEST_F(WabStoreTest, MissingFileFailsAndIsNotCreated) {
    const std::string file = dir.file("missing.wab");
    AddressBook book;
    EXPECT_TRUE(FAILED(book.Open(file)));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(WabStoreTest, UnusableFilesFailAndStayByteForByte) {
    struct Case {
        const char* what;
        HRESULT expected;
        std::function<void(const std::string&)> make;
    };
    const Case cases[] = {
        {"text file", WAB_E_NOT_ADDRESS_BOOK,
         [](const std::string& f) { wabtest::WriteBytes(f, "BEGIN:VCARD\nEND:VCARD\n"); }},
        {"empty file", WAB_E_NOT_ADDRESS_BOOK,
         [](const std::string& f) { wabtest::WriteBytes(f, ""); }},
        {"other SQLite database", WAB_E_NOT_ADDRESS_BOOK,
         [](const std::string& f) {
             RunSql(f, "CREATE TABLE t(x); INSERT INTO t VALUES(1),(2);");
         }},
        {"other SQLite database in WAL mode", WAB_E_NOT_ADDRESS_BOOK,
         [](const std::string& f) {
             RunSql(f, "PRAGMA journal_mode=WAL; CREATE TABLE t(x); INSERT INTO t VALUES(1);");
         }},
        {"newer schema", MAPI_E_VERSION,
         [](const std::string& f) {
             MakeStore(f, 3);
             RunSql(f, "PRAGMA user_version=3;");
         }},
        {"truncated store", MAPI_E_CORRUPT_DATA,
         [](const std::string& f) {
             MakeStore(f, 400);
             std::filesystem::resize_file(f, std::filesystem::file_size(f) / 2);
         }},
        {"overwritten block in the middle", MAPI_E_CORRUPT_DATA,
         [](const std::string& f) {
             MakeStore(f, 2000);
             std::string bytes = ReadBytes(f);
             std::size_t middle = bytes.size() / 2 / 4096 * 4096;
             for (std::size_t i = middle; i < middle + 4096; ++i) {
                 bytes[i] = static_cast<char>(0xFF);
             }
             wabtest::WriteBytes(f, bytes);
         }},
        // Counting rows never reads the pages a long value runs on to.
        {"broken chain of a long value", MAPI_E_CORRUPT_DATA,
         [](const std::string& f) {
             {
                 AddressBook book;
                 ASSERT_EQ(book.Open(f, WAB_CREATE_STORE), S_OK);
                 const std::string note(40000, 'Q');
                 SPropValue props[] = {StringProp(PR_DISPLAY_NAME, "long"),
                                       StringProp(PR_COMMENT, note.c_str())};
                 ASSERT_EQ(book.Add(MAPI_MAILUSER, props, 2), S_OK);
             }
             std::string bytes = ReadBytes(f);
             const std::string run(200, 'Q');
             std::size_t page = 4096;
             while (page < bytes.size() && bytes.compare(page + 4, run.size(), run) != 0) {
                 page += 4096;
             }
             ASSERT_LT(page, bytes.size()) << "no page of the long value";
             bytes.replace(page, 4, "\x7F\x00\x7F\x00");
             wabtest::WriteBytes(f, bytes);
         }},
        {"junk after the last page", MAPI_E_CORRUPT_DATA,
         [](const std::string& f) {
             MakeStore(f, 3);
             wabtest::WriteBytes(f, ReadBytes(f) + std::string(4096, 'J'));
         }},
        {"overwritten page", MAPI_E_CORRUPT_DATA,
         [](const std::string& f) {
             MakeStore(f, 400);
             std::string bytes = ReadBytes(f);
             ASSERT_GT(bytes.size(), 4u * 4096);
             for (std::size_t i = 2 * 4096; i < 3 * 4096; ++i) {
                 bytes[i] = static_cast<char>(0x5A);
             }
             wabtest::WriteBytes(f, bytes);
         }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = dir.file("case" + std::to_string(n++) + ".wab");
        c.make(file);
        const std::string before = ReadBytes(file);
        {
            AddressBook book;
            const HRESULT hr = book.Open(file);
            EXPECT_EQ(hr, c.expected) << DescribeWabResult(hr);
        }
        EXPECT_EQ(ReadBytes(file), before);
        EXPECT_FALSE(std::filesystem::exists(file + "-wal"));
    }
}

// Each reason an open can fail reads differently, in words, never as a number.
TEST(WabResultsTest, EveryOpenFailureHasItsOwnReason) {
    const HRESULT codes[] = {MAPI_E_NOT_FOUND,  WAB_E_NOT_ADDRESS_BOOK, MAPI_E_CORRUPT_DATA,
                             MAPI_E_VERSION,    MAPI_E_NO_ACCESS,       MAPI_E_BUSY,
                             MAPI_E_DISK_ERROR, WAB_E_DISK_FULL,        MAPI_E_NOT_ENOUGH_MEMORY,
                             MAPI_E_COLLISION,  WAB_E_IS_FOLDER,        WAB_E_NAME_TOO_LONG,
                             WAB_E_NOT_PRIVATE, WAB_E_STRAY_JOURNAL};
    std::set<std::string> reasons;
    for (HRESULT hr : codes) {
        const std::string reason = DescribeWabResult(hr);
        EXPECT_EQ(reason.find("0x"), std::string::npos) << reason;
        EXPECT_TRUE(reasons.insert(reason).second) << reason;
    }
    EXPECT_EQ(DescribeWabResult(static_cast<HRESULT>(0x80041234u)), "error 0x80041234");
}

// A foreign database whose last changes still sit in its WAL: closing the
// last connection to it would write them back into the file.
TEST_F(WabStoreTest, ForeignDatabaseWithPendingWalStaysByteForByte) {
    const std::string source = dir.file("source.db");
    const std::string file = dir.file("pending.wab");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(source.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                           "CREATE TABLE t(x); INSERT INTO t VALUES(1),(2);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    // Copied while the writer is open, the pair is what a crash leaves behind.
    std::filesystem::copy_file(source, file);
    std::filesystem::copy_file(source + "-wal", file + "-wal");
    sqlite3_close(db);
    const std::string before = ReadBytes(file);
    const std::string walBefore = ReadBytes(file + "-wal");
    ASSERT_FALSE(walBefore.empty());
    {
        AddressBook book;
        EXPECT_TRUE(FAILED(book.Open(file)));
    }
    EXPECT_TRUE(ReadBytes(file) == before);
    EXPECT_TRUE(ReadBytes(file + "-wal") == walBefore);
}

// A foreign database its writer left in the middle of a transaction: reading
// it would roll the journal back into the file.
TEST_F(WabStoreTest, ForeignDatabaseWithHotJournalStaysByteForByte) {
    const std::string file = dir.file("hot.wab");
    RunSql(file, "PRAGMA journal_mode=DELETE; CREATE TABLE t(x);"
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)"
                 " INSERT INTO t SELECT randomblob(500) FROM n;");
    pid_t child = fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(file.c_str(), &db);
        // A tiny cache spills changed pages into the file before the commit.
        sqlite3_exec(db, "PRAGMA cache_size=2; BEGIN; UPDATE t SET x = randomblob(500);", nullptr,
                     nullptr, nullptr);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const std::string before = ReadBytes(file);
    const std::string journal = ReadBytes(file + "-journal");
    ASSERT_FALSE(journal.empty());
    {
        AddressBook book;
        EXPECT_TRUE(FAILED(book.Open(file)));
    }
    EXPECT_TRUE(ReadBytes(file) == before);
    EXPECT_TRUE(ReadBytes(file + "-journal") == journal);
}

// ---- Entries and their properties ---------------------------------------------------

TEST_F(WabStoreTest, PropertiesOfEveryStoredTypeComeBackUnchanged) {
    const std::string file = dir.file("props.wab");
    MakeStore(file, 0);
    const ULONG binaryTag = PROP_TAG(PT_BINARY, 0x6601);
    const BYTE blob[] = {0, 1, 2, 0xFF};
    char* children[] = {const_cast<char*>("Ann"), const_cast<char*>(""),
                        const_cast<char*>("Bj\xC3\xB6rn")};
    {
        AddressBook book;
        ASSERT_EQ(book.Open(file), S_OK);
        std::vector<SPropValue> props(6);
        props[0] = StringProp(PR_DISPLAY_NAME, "J\xC3\xBCrgen \xE2\x82\xAC");
        props[1].ulPropTag = PR_GENDER;
        props[1].Value.i = genderMale;
        props[2].ulPropTag = PR_BIRTHDAY;
        props[2].Value.ft = {0x89ABCDEFu, 0x01D2A3B4u};
        props[3].ulPropTag = binaryTag;
        props[3].Value.bin = {sizeof blob, const_cast<LPBYTE>(blob)};
        props[4].ulPropTag = PR_CHILDRENS_NAMES;
        props[4].Value.MVszA = {3, children};
        props[5].ulPropTag = PR_CONTACT_DEFAULT_ADDRESS_INDEX;
        props[5].Value.l = -7;
        ASSERT_EQ(book.Add(MAPI_MAILUSER, props.data(), 6), S_OK);

        // Types the store cannot keep, and computed properties, are refused.
        SPropValue wide{};
        wide.ulPropTag = PROP_TAG(PT_UNICODE, 0x3001);
        EXPECT_TRUE(FAILED(book.Add(MAPI_MAILUSER, &wide, 1)));
        SPropValue computed{};
        computed.ulPropTag = PR_OBJECT_TYPE;
        EXPECT_TRUE(FAILED(book.Add(MAPI_MAILUSER, &computed, 1)));
    }

    AddressBook book;
    ASSERT_EQ(book.Open(file), S_OK);
    int seen = 0;
    ASSERT_EQ(book.ForEach([&](const EntryView& e) {
        ++seen;
        CheckStoredEntry(book, e, binaryTag,
                         std::string(reinterpret_cast<const char*>(blob), sizeof blob));
        return true;
    }),
              S_OK);
    EXPECT_EQ(seen, 1);
}

// A property of every identifier; a later value of an identifier replaces
// the earlier one.
TEST_F(WabStoreTest, ContactWithEveryPropertyIdentifierComesBackWhole) {
    const std::string file = dir.file("wide.wab");
    MakeStore(file, 0);
    std::vector<std::string> texts;
    std::vector<SPropValue> props;
    for (ULONG id = 1; id <= 0xFFFE; ++id) {
        texts.push_back(std::to_string(id));
    }
    for (ULONG id = 1; id <= 0xFFFE; ++id) {
        props.push_back(StringProp(PROP_TAG(PT_STRING8, id), texts[id - 1].c_str()));
    }
    props.push_back(StringProp(PR_DISPLAY_NAME, "last wins"));
    AddressBook book;
    ASSERT_EQ(book.Open(file), S_OK);
    ASSERT_EQ(book.Add(MAPI_MAILUSER, props.data(), static_cast<ULONG>(props.size())), S_OK);
    ASSERT_EQ(book.ForEach([&](const EntryView& e) {
        EXPECT_EQ(e.count, 0xFFFEu + 2); // with the identifier and the kind
        EXPECT_EQ(e.String(PR_DISPLAY_NAME), "last wins");
        EXPECT_EQ(e.String(PROP_TAG(PT_STRING8, 0xFFFE)), "65534");
        return true;
    }),
              S_OK);
}

TEST_F(WabStoreTest, ContentsTableListsEveryEntryOneRowAtATime) {
    const std::string file = dir.file("rows.wab");
    MakeStore(file, 0);
    AddressBook book;
    ASSERT_EQ(book.Open(file), S_OK);
    ASSERT_EQ(AddContact(book, "A"), S_OK);
    ASSERT_EQ(AddContact(book, "L", nullptr, MAPI_DISTLIST), S_OK);
    ASSERT_EQ(AddContact(book, "B"), S_OK);

    ComRef<IMAPITable> table;
    ASSERT_EQ(book.Container()->GetContentsTable(0, table.out()), S_OK);
    struct {
        ULONG cValues = 3;
        ULONG aulPropTag[3] = {PR_DISPLAY_NAME, PR_ENTRYID, PR_OBJECT_TYPE};
    } columns;
    ASSERT_EQ(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0), S_OK);
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr), S_OK);
        std::vector<std::pair<std::string, ULONG>> rows;
        for (;;) {
            LPSRowSet set = nullptr;
            ASSERT_EQ(table->QueryRows(1, 0, &set), S_OK);
            ASSERT_NE(set, nullptr);
            const ULONG cRows = set->cRows;
            if (cRows == 1) {
                const SRow& row = set->aRow[0];
                EXPECT_EQ(row.cValues, 3u);
                EXPECT_EQ(row.lpProps[1].ulPropTag, PR_ENTRYID);
                EXPECT_EQ(row.lpProps[2].ulPropTag, PR_OBJECT_TYPE);
                rows.emplace_back(row.lpProps[0].Value.lpszA, row.lpProps[2].Value.ul);
                book.Object()->FreeBuffer(row.lpProps);
            }
            book.Object()->FreeBuffer(set);
            if (cRows == 0) {
                break;
            }
        }
        const std::vector<std::pair<std::string, ULONG>> expected = {
            {"A", MAPI_MAILUSER}, {"L", MAPI_DISTLIST}, {"B", MAPI_MAILUSER}};
        EXPECT_EQ(rows, expected);
    }
}

// While a listing is read, entries come in any order, again, or without
// any property, and each still gives exactly its own properties.
TEST_F(WabStoreTest, EntriesReadInAnyOrderDuringAListing) {
    const std::string file = dir.file("order.wab");
    MakeStore(file, 0);
    AddressBook book;
    ASSERT_EQ(book.Open(file), S_OK);
    std::vector<std::vector<BYTE>> ids(5);
    for (int i = 0; i < 5; ++i) {
        if (i == 3) {
            ASSERT_EQ(book.Add(MAPI_MAILUSER, nullptr, 0, &ids[3]), S_OK);
        } else {
            ASSERT_EQ(AddContact(book, "n" + std::to_string(i), &ids[i]), S_OK);
        }
    }
    ComRef<IMAPITable> listing; // keeps the listing's snapshot while entries are read
    ASSERT_EQ(book.Container()->GetContentsTable(0, listing.out()), S_OK);
    for (int i : {2, 0, 1, 1, 4, 3, 4, 0, 3, 2}) {
        SCOPED_TRACE(i);
        ULONG type = 0;
        ComRef<IUnknown> unknown;
        ASSERT_EQ(book.Book()->OpenEntry(static_cast<ULONG>(ids[i].size()),
                                         reinterpret_cast<LPENTRYID>(ids[i].data()), nullptr, 0,
                                         &type, unknown.out()),
                  S_OK);
        ComRef<IMailUser> user(static_cast<IMailUser*>(unknown.release()));
        ULONG count = 0;
        LPSPropValue values = nullptr;
        ASSERT_EQ(user->GetProps(nullptr, 0, &count, &values), S_OK);
        WabBuffer held(book.Object(), values);
        EntryView view;
        view.props = values;
        view.count = count;
        EXPECT_EQ(view.String(PR_DISPLAY_NAME), i == 3 ? "" : "n" + std::to_string(i));
        EXPECT_EQ(count, i == 3 ? 2u : 3u); // with the identifier and the kind
    }
}

// ---- Deleting ------------------------------------------------------------------------

TEST_F(WabStoreTest, DeleteIsCommittedBeforeItReturns) {
    const std::string file = dir.file("delete.wab");
    MakeStore(file, 0);
    // The other process starts before any connection is open here: SQLite
    // state must never cross a fork.
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t child = fork();
    if (child == 0) {
        close(go[1]);
        char byte = 0;
        int count = -1;
        if (read(go[0], &byte, 1) == 1) {
            AddressBook seen;
            if (seen.Open(file) == S_OK) {
                count = 0;
                seen.ForEach([&](const EntryView&) { return ++count, true; });
            }
        }
        _exit(count);
    }
    close(go[0]);

    AddressBook book;
    ASSERT_EQ(book.Open(file), S_OK);
    std::vector<BYTE> keep;
    std::vector<BYTE> gone;
    ASSERT_EQ(AddContact(book, "keep", &keep), S_OK);
    ASSERT_EQ(AddContact(book, "gone", &gone), S_OK);

    AddressBook other; // a second connection, opened before the delete
    ASSERT_EQ(other.Open(file), S_OK);
    ASSERT_EQ(book.Delete(gone), S_OK);
    EXPECT_EQ(Names(other), std::vector<std::string>{"keep"});
    // Kept among the deleted, yet no reader of the address book finds it.
    ULONG type = 0;
    ComRef<IUnknown> unknown;
    EXPECT_EQ(other.Book()->OpenEntry(static_cast<ULONG>(gone.size()),
                                      reinterpret_cast<LPENTRYID>(gone.data()), nullptr, 0, &type,
                                      unknown.out()),
              MAPI_E_NOT_FOUND);

    ASSERT_EQ(write(go[1], "x", 1), 1);
    close(go[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "entries another process sees";

    // Deleting it again is a partial success; foreign or broken identifiers
    // delete nothing at all.
    EXPECT_EQ(book.Delete(gone), MAPI_W_PARTIAL_COMPLETION);
    std::vector<BYTE> foreign;
    {
        AddressBook elsewhere;
        ASSERT_EQ(elsewhere.Open(dir.file("other.wab"), WAB_CREATE_STORE), S_OK);
        ASSERT_EQ(AddContact(elsewhere, "other", &foreign), S_OK);
    }
    ASSERT_EQ(foreign.size(), keep.size());
    EXPECT_EQ(book.Delete(foreign), MAPI_E_INVALID_ENTRYID);
    EXPECT_EQ(book.Delete(std::vector<BYTE>(5, 0)), MAPI_E_INVALID_ENTRYID);
    book.Close();
    other.Close();
    EXPECT_EQ(NamesIn(file), std::vector<std::string>{"keep"});
}

TEST_F(WabStoreTest, ReadOnlyStoreListsButChangesNothing) {
    const std::string file = dir.file("readonly.wab");
    MakeStore(file, 2);
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    const std::string before = ReadBytes(file);
    {
        AddressBook book;
        ASSERT_EQ(book.Open(file), S_OK);
        std::vector<std::vector<BYTE>> ids;
        ASSERT_EQ(book.ForEach([&](const EntryView& e) {
            ids.emplace_back(e.entryId.lpb, e.entryId.lpb + e.entryId.cb);
            return true;
        }),
                  S_OK);
        ASSERT_EQ(ids.size(), 2u);
        EXPECT_TRUE(FAILED(book.Delete(ids[0])));
        EXPECT_TRUE(FAILED(AddContact(book, "new")));
        EXPECT_TRUE(FAILED(book.BeginTransaction()));
    }
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(NamesIn(file), (std::vector<std::string>{"c0", "c1"}));
}

// Reading makes no file where the store may not be written: a WAL or
// shared-memory file left there (mode 0444 when made as root) would keep the
// store read-only after its permissions are restored.
TEST_F(WabStoreTest, ReadOnlyStoreIsReadWithoutLeavingAFile) {
    struct Case {
        const char* what;
        bool pendingWal;
        bool keepSharedMemory; // a killed writer's, beside its WAL
        bool readOnlyFolder;
    };
    const Case cases[] = {
        {"read-only file", false, false, false},
        {"read-only file, WAL of a killed writer", true, true, false},
        {"read-only file, WAL alone", true, false, false},
        {"read-only folder", false, false, true},
        {"read-only folder, WAL alone", true, false, true},
        {"read-only folder, WAL of a killed writer", true, true, true},
    };
    ScopedEnv tmp("TMPDIR", dir.file("tmp"));
    std::filesystem::create_directory(dir.file("tmp"));
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path folder = dir.path() / ("case" + std::to_string(n++));
        std::filesystem::create_directory(folder);
        const std::string file = (folder / "book.wab").string();
        std::vector<std::string> expected = {"c0"};
        if (c.pendingWal) {
            MakeStoreWithPendingWal(file);
            expected.push_back("in WAL");
            if (!c.keepSharedMemory) {
                std::filesystem::remove(file + "-shm");
            }
        } else {
            MakeStore(file, 1);
        }
        ASSERT_EQ(chmod(file.c_str(), 0444), 0);
        if (c.readOnlyFolder) {
            ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
        }
        const auto before = FolderContents(folder);
        {
            AddressBook book;
            ASSERT_EQ(book.Open(file), S_OK);
            EXPECT_EQ(Names(book), expected);
            EXPECT_EQ(AddContact(book, "new"), MAPI_E_NO_ACCESS);
        }
        EXPECT_TRUE(FolderContents(folder) == before);
        EXPECT_TRUE(std::filesystem::is_empty(dir.file("tmp"))) << "a copy was left behind";
        chmod(folder.c_str(), 0755);
    }
}

// The default book is a private file in a private folder: anything else in
// its place is refused and left as it is; an empty or blank file that an
// older version's interrupted first use left is replaced by a new store.
TEST_F(WabStoreTest, DefaultBookIsNeverWrittenThroughALinkOrAForeignMode) {
    const std::string folder = dir.file("xdg/wab");
    const std::string book = folder + "/" + UserName() + ".wab";
    const std::string target = dir.file("elsewhere.wab");
    struct Case {
        const char* what;
        std::function<void()> make;
        HRESULT expected;
    };
    const Case cases[] = {
        {"a link to another file",
         [&] {
             MakeStore(target, 1);
             std::filesystem::create_symlink(target, book);
         },
         WAB_E_NOT_PRIVATE},
        {"an empty file others may write",
         [&] {
             wabtest::WriteBytes(book, "");
             chmod(book.c_str(), 0666);
         },
         WAB_E_NOT_PRIVATE},
        {"a folder others may enter",
         [&] {
             MakeStore(book, 1);
             chmod(folder.c_str(), 0755);
         },
         WAB_E_NOT_PRIVATE},
        {"an empty private file",
         [&] {
             wabtest::WriteBytes(book, "");
             chmod(book.c_str(), 0600);
         },
         S_OK},
        {"an empty private file beside a journal",
         [&] {
             wabtest::WriteBytes(book, "");
             chmod(book.c_str(), 0600);
             wabtest::WriteBytes(book + "-journal", std::string(512, 'j'));
         },
         S_OK},
        {"a blank database",
         [&] {
             RunSql(book, "PRAGMA journal_mode=WAL;");
             chmod(book.c_str(), 0600);
         },
         S_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir.file("xdg"));
        std::filesystem::remove(target);
        std::filesystem::create_directories(folder);
        chmod(folder.c_str(), 0700);
        c.make();
        const auto before = FolderContents(folder);
        const std::string targetBefore = ReadBytes(target);
        AddressBook opened;
        EXPECT_EQ(opened.Open(""), c.expected) << DescribeWabResult(opened.Open(""));
        if (c.expected == S_OK) {
            EXPECT_EQ(AddContact(opened, "mine"), S_OK);
            opened.Close();
            struct stat st {};
            ASSERT_EQ(lstat(book.c_str(), &st), 0);
            EXPECT_TRUE(S_ISREG(st.st_mode));
            EXPECT_EQ(st.st_mode & 0777, 0600u);
            EXPECT_EQ(NamesIn(""), std::vector<std::string>{"mine"});
            EXPECT_FALSE(std::filesystem::exists(book + "-journal"));
        } else {
            EXPECT_TRUE(FolderContents(folder) == before);
            EXPECT_TRUE(ReadBytes(target) == targetBefore);
        }
    }
}

// A creation killed at any moment leaves no store, or a whole one; what it
// leaves is ignored, and removed by a later creation in that folder.
TEST_F(WabStoreTest, CreationKilledAtAnyMomentLeavesNoHalfStore) {
    FaultLibrary faults;
    ASSERT_NE(faults.Entry(), nullptr);
    const std::string book = dir.file("xdg/wab/" + UserName() + ".wab");
    const std::string named = dir.file("named.wab");
    for (const char* moment : {"KillBuilding", "KillBeforeRename"}) {
        for (const std::string& file : {book, named}) {
            SCOPED_TRACE(std::string(moment) + " " + file);
            std::filesystem::remove(file);
            pid_t child = fork();
            if (child == 0) {
                setenv("WAB32FAIL", moment, 1);
                WAB_PARAM param{};
                param.cbSize = sizeof param;
                std::string name = file == book ? std::string() : file;
                param.szFileName = name.data();
                param.ulFlags = file == book ? 0 : WAB_CREATE_STORE;
                IAddrBook* opened = nullptr;
                IWABObject* object = nullptr;
                faults.Entry()(&opened, &object, &param, 0);
                _exit(0);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 137) << "the fault did not kill it";
            EXPECT_FALSE(std::filesystem::exists(file));

            // Left over, and aged past any creation still under way.
            const std::filesystem::path folder = std::filesystem::path(file).parent_path();
            std::vector<std::string> leftovers;
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                if (entry.path().filename().string().rfind(".wab-new-", 0) == 0) {
                    leftovers.push_back(entry.path().string());
                    const timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
                    utimes(entry.path().c_str(), old);
                }
            }
            EXPECT_FALSE(leftovers.empty());
            AddressBook again;
            ASSERT_EQ(again.Open(file == book ? std::string() : file,
                                 file == book ? 0 : WAB_CREATE_STORE),
                      S_OK);
            EXPECT_EQ(AddContact(again, "after"), S_OK);
            for (const std::string& leftover : leftovers) {
                EXPECT_FALSE(std::filesystem::exists(leftover)) << leftover;
            }
        }
    }
}

// Each way a named file fails to open says what is wrong with it.
TEST_F(WabStoreTest, EachFailedOpenNamesItsReason) {
    const std::string sound = dir.file("sound.wab");
    MakeStore(sound, 2);
    auto named = [&](std::size_t length) {
        std::string name = dir.file(std::string(length, 'n'));
        name.replace(name.size() - 4, 4, ".wab");
        return name;
    };
    struct Case {
        const char* what;
        std::string file;
        std::function<void(const std::string&)> make;
        HRESULT expected;
    };
    const Case cases[] = {
        {"a folder", dir.file("folder.wab"),
         [](const std::string& f) { std::filesystem::create_directory(f); }, WAB_E_IS_FOLDER},
        {"missing", dir.file("missing.wab"), [](const std::string&) {}, MAPI_E_NOT_FOUND},
        {"a name of 251 characters", named(251), [](const std::string& f) { MakeStore(f, 1); },
         S_OK},
        {"a name of 252 characters", named(252), [](const std::string&) {}, WAB_E_NAME_TOO_LONG},
        {"a name of 300 characters", named(300), [](const std::string&) {}, WAB_E_NAME_TOO_LONG},
        {"a stray journal beside a sound store", dir.file("journal.wab"),
         [&](const std::string& f) {
             std::filesystem::copy_file(sound, f);
             wabtest::WriteBytes(f + "-journal", std::string(1024, 'j'));
         },
         WAB_E_STRAY_JOURNAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make(c.file);
        AddressBook book;
        const HRESULT hr = book.Open(c.file);
        EXPECT_EQ(hr, c.expected) << DescribeWabResult(hr);
    }
    AddressBook book;
    EXPECT_EQ(book.Open(named(252), WAB_CREATE_STORE), WAB_E_NAME_TOO_LONG);
    EXPECT_FALSE(std::filesystem::exists(named(252)));
}

// A flipped byte in the file header: refused as what it now is, or opened and
// then fully usable, never opened only to fail on the first write.
TEST_F(WabStoreTest, FlippedHeaderByteIsRefusedOrHarmless) {
    const std::string sound = dir.file("sound.wab");
    MakeStore(sound, 3);
    const std::string bytes = ReadBytes(sound);
    const std::string file = dir.file("flipped.wab");
    for (int i = 0; i < 100; ++i) {
        for (unsigned char mask : {0x01, 0xFF}) {
            SCOPED_TRACE("byte " + std::to_string(i) + " ^ " + std::to_string(mask));
            std::string flipped = bytes;
            flipped[i] = static_cast<char>(flipped[i] ^ mask);
            std::filesystem::remove(file);
            wabtest::WriteBytes(file, flipped);
            AddressBook book;
            const HRESULT hr = book.Open(file);
            if (hr != S_OK) {
                EXPECT_TRUE(hr == MAPI_E_CORRUPT_DATA || hr == WAB_E_NOT_ADDRESS_BOOK ||
                            hr == MAPI_E_VERSION)
                    << DescribeWabResult(hr);
                continue;
            }
            EXPECT_EQ(AddContact(book, "c3"), S_OK);
            EXPECT_EQ(Names(book), (std::vector<std::string>{"c0", "c1", "c2", "c3"}));
        }
    }
}

// Stands in for the library's IWABObject and counts buffers given back to it
// after its last reference went: a use after free with the real object.
class WatchedObject final : public IWABObject {
public:
    IWABObject* inner = nullptr;
    ULONG refs = 1;
    int lateFrees = 0;

    HRESULT QueryInterface(REFIID riid, LPVOID* ppv) override {
        return inner->QueryInterface(riid, ppv);
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override {
        if (--refs == 0) {
            inner->Release();
        }
        return refs;
    }
    HRESULT GetLastError(HRESULT hr, ULONG flags, LPMAPIERROR* error) override {
        return inner->GetLastError(hr, flags, error);
    }
    HRESULT AllocateBuffer(ULONG cb, LPVOID* p) override { return inner->AllocateBuffer(cb, p); }
    HRESULT AllocateMore(ULONG cb, LPVOID o, LPVOID* p) override {
        return inner->AllocateMore(cb, o, p);
    }
    HRESULT FreeBuffer(LPVOID p) override {
        if (refs == 0) {
            ++lateFrees;
            return S_OK; // the object that could free it is gone: leaked
        }
        return inner->FreeBuffer(p);
    }
    HRESULT Backup(LPSTR) override { return MAPI_E_NO_SUPPORT; }
    HRESULT Import(LPSTR) override { return MAPI_E_NO_SUPPORT; }
    HRESULT Find(IAddrBook*, HWND) override { return MAPI_E_NO_SUPPORT; }
    HRESULT VCardDisplay(IAddrBook*, HWND, LPSTR) override { return MAPI_E_NO_SUPPORT; }
    HRESULT LDAPUrl(IAddrBook*, HWND, ULONG, LPSTR, IMailUser**) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT VCardCreate(IAddrBook*, ULONG, LPSTR, IMailUser*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT VCardRetrieve(IAddrBook*, ULONG, LPSTR, IMailUser**) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT GetMe(IAddrBook*, ULONG, DWORD*, SBinary*, HWND) override { return MAPI_E_NO_SUPPORT; }
    HRESULT SetMe(IAddrBook*, ULONG, SBinary, HWND) override { return MAPI_E_NO_SUPPORT; }
};

LPWABOPEN g_watchedEntry = nullptr;
WatchedObject g_watched;

HRESULT WatchedOpen(LPADRBOOK* book, LPWABOBJECT* object, LPWAB_PARAM param, DWORD reserved) {
    HRESULT hr = g_watchedEntry(book, object, param, reserved);
    if (SUCCEEDED(hr)) {
        g_watched.inner = *object;
        g_watched.refs = 1;
        *object = &g_watched;
    }
    return hr;
}

TEST_F(WabStoreTest, FailedOpenGivesBuffersBackBeforeLettingGo) {
    const std::string file = dir.file("book.wab");
    MakeStore(file, 1);
    FaultLibrary faults;
    g_watchedEntry = faults.Entry();
    ASSERT_NE(g_watchedEntry, nullptr);
    // The container cannot be opened: the identifier buffer is still held.
    ScopedEnv fail("WAB32FAIL", "OpenEntry");
    {
        AddressBook book;
        EXPECT_TRUE(FAILED(book.Open(file, 0, &WatchedOpen)));
    }
    EXPECT_EQ(g_watched.refs, 0u);
    EXPECT_EQ(g_watched.lateFrees, 0);
}

// ---- Transactions and concurrency ----------------------------------------------------

TEST_F(WabStoreTest, TransactionIsAllOrNothing) {
    const std::string file = dir.file("tx.wab");
    MakeStore(file, 0);
    {
        AddressBook book;
        ASSERT_EQ(book.Open(file), S_OK);
        ASSERT_EQ(book.BeginTransaction(), S_OK);
        ASSERT_EQ(AddContact(book, "aborted"), S_OK);
        ASSERT_EQ(book.AbortTransaction(), S_OK);
        ASSERT_EQ(book.BeginTransaction(), S_OK);
        ASSERT_EQ(AddContact(book, "kept"), S_OK);
        EXPECT_EQ(NamesIn(file), std::vector<std::string>{}) << "visible before commit";
        ASSERT_EQ(book.CommitTransaction(), S_OK);
        ASSERT_EQ(book.BeginTransaction(), S_OK);
        ASSERT_EQ(AddContact(book, "never committed"), S_OK);
    }
    EXPECT_EQ(NamesIn(file), std::vector<std::string>{"kept"});
}

TEST_F(WabStoreTest, FailedSaveUndoesTheWholeTransaction) {
    const std::string file = dir.file("failing.wab");
    MakeStore(file, 0);
    void* library = dlopen(WAB32FAIL_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<LPWABOPEN>(dlsym(library, "WABOpen"));
    ASSERT_NE(entry, nullptr);
    {
        ScopedEnv fail("WAB32FAIL", "SaveChanges:2");
        AddressBook book;
        ASSERT_EQ(book.Open(file, 0, entry), S_OK);
        ASSERT_EQ(book.BeginTransaction(), S_OK);
        EXPECT_EQ(AddContact(book, "first"), S_OK);
        EXPECT_TRUE(FAILED(AddContact(book, "second")));
        EXPECT_TRUE(FAILED(AddContact(book, "third"))) << "must not commit on its own";
        EXPECT_TRUE(FAILED(book.CommitTransaction()));
        EXPECT_EQ(AddContact(book, "after"), S_OK) << "usable again once ended";
    }
    dlclose(library);
    EXPECT_EQ(NamesIn(file), std::vector<std::string>{"after"});
}

TEST_F(WabStoreTest, TwoProcessesWritingAtOnceLeaveASoundStore) {
    const std::string file = dir.file("shared.wab");
    MakeStore(file, 0);
    constexpr int kAdds = 120;
    auto work = [&](const std::string& tag) {
        AddressBook book;
        if (book.Open(file) != S_OK) {
            return false;
        }
        std::vector<BYTE> previous;
        for (int i = 0; i < kAdds; ++i) {
            std::vector<BYTE> id;
            if (AddContact(book, tag + std::to_string(i), &id) != S_OK) {
                return false;
            }
            if (i % 3 == 2 && book.Delete(previous) != S_OK) {
                return false;
            }
            previous = id;
            if (i % 40 == 0) {
                if (book.BeginTransaction() != S_OK) {
                    return false;
                }
                for (int k = 0; k < 10; ++k) {
                    if (AddContact(book, tag + "batch") != S_OK) {
                        return false;
                    }
                }
                if (book.CommitTransaction() != S_OK) {
                    return false;
                }
            }
        }
        return true;
    };
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        if (children[c] == 0) {
            std::string prefix = "p"; // piecewise: GCC 12 warns falsely on "p" + to_string()
            prefix += std::to_string(c);
            _exit(work(prefix + "-") ? 0 : 1);
        }
    }
    for (int round = 0; round < 20; ++round) {
        AddressBook reader;
        ASSERT_EQ(reader.Open(file), S_OK);
        Names(reader);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(IntegrityOf(file), "ok");
    const std::size_t perProcess = kAdds - kAdds / 3 + 3 * 10;
    EXPECT_EQ(NamesIn(file).size(), 2 * perProcess);
}

// ---- Deleted entries -------------------------------------------------------------------

constexpr std::int64_t kDay = 86400;

// Names and deletion times (seconds since 1970) of the deleted entries.
std::vector<std::pair<std::string, std::int64_t>> DeletedIn(AddressBook& book) {
    std::vector<std::pair<std::string, std::int64_t>> deleted;
    EXPECT_EQ(book.ForEachDeleted([&](const EntryView& e) {
        const FILETIME& ft = e.Find(PR_DELETED_ON)->Value.ft;
        const auto ticks = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
        deleted.emplace_back(e.String(PR_DISPLAY_NAME), ticks / 10000000 - 11644473600);
        return true;
    }),
              S_OK);
    return deleted;
}

std::vector<BYTE> IdOf(AddressBook& book, const std::string& name) {
    std::vector<BYTE> id;
    book.ForEach([&](const EntryView& e) {
        if (e.String(PR_DISPLAY_NAME) == name) {
            id.assign(e.entryId.lpb, e.entryId.lpb + e.entryId.cb);
        }
        return true;
    });
    return id;
}

// Deleted entries are stamped with the library's clock and kept 30 days to
// the second; older ones go when the store is opened where it may be written,
// never when it is only read.
TEST_F(WabStoreTest, DeletedEntriesGoAfterThirtyDaysWhenOpenedForWriting) {
    FaultLibrary faults;
    ASSERT_NE(faults.Entry(), nullptr);
    const std::string file = dir.file("aging.wab");
    MakeStore(file, 3);
    constexpr std::int64_t t0 = 1700000000;
    for (const auto& [name, when] : {std::pair{"c0", t0}, std::pair{"c1", t0 + 10 * kDay}}) {
        AddressBook book;
        ASSERT_EQ(faults.OpenAt(book, file, when), S_OK);
        ASSERT_EQ(book.Delete(IdOf(book, name)), S_OK);
    }
    using Deleted = std::vector<std::pair<std::string, std::int64_t>>;
    const Deleted both = {{"c1", t0 + 10 * kDay}, {"c0", t0}};
    struct Case {
        const char* what;
        std::int64_t at;
        bool readOnly;
        Deleted left;
    };
    const Case cases[] = {
        {"read-only, long after", t0 + 100 * kDay, true, both},
        {"30 days to the second", t0 + 30 * kDay, false, both},
        {"a second later", t0 + 30 * kDay + 1, false, {{"c1", t0 + 10 * kDay}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(chmod(file.c_str(), c.readOnly ? 0444 : 0600), 0);
        AddressBook book;
        ASSERT_EQ(faults.OpenAt(book, file, c.at), S_OK);
        EXPECT_EQ(DeletedIn(book), c.left);
        EXPECT_EQ(Names(book), std::vector<std::string>{"c2"});
    }
}

// A store the library wrote before it kept deleted entries is read as it is
// where it may not be written, and upgraded in one step otherwise: an upgrade
// that fails or is killed leaves the file byte for byte.
TEST_F(WabStoreTest, FirstVersionStoreIsUpgradedOnlyWhenOpenedForWriting) {
    const std::string file = dir.file("version1.wab");
    std::filesystem::copy_file(
        std::string(QUENBY_SOURCE_DIR) + "/tests/platform/wab32/fixtures/version1.wab", file);
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    const std::string before = ReadBytes(file);
    wabtest::Snapshot entries;
    {
        AddressBook book;
        ASSERT_EQ(book.Open(file), S_OK);
        entries = wabtest::Entries(book);
        EXPECT_EQ(Names(book), (std::vector<std::string>{"Ann Example", "Ann Example",
                                                         "J\xC3\xBCrgen M\xC3\xBCller", "Team"}));
        EXPECT_TRUE(DeletedIn(book).empty());
    }
    EXPECT_TRUE(ReadBytes(file) == before);

    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    FaultLibrary faults;
    ASSERT_NE(faults.Entry(), nullptr);
    {
        ScopedEnv fail("WAB32FAIL", "Upgrade");
        AddressBook book;
        EXPECT_EQ(book.Open(file, 0, faults.Entry()), MAPI_E_DISK_ERROR);
    }
    EXPECT_TRUE(ReadBytes(file) == before) << "a failed upgrade";
    pid_t child = fork();
    if (child == 0) {
        setenv("WAB32FAIL", "KillUpgrading", 1);
        AddressBook book;
        book.Open(file, 0, faults.Entry());
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 137) << "the fault did not kill it";
    EXPECT_TRUE(ReadBytes(file) == before) << "a killed upgrade";

    AddressBook book;
    ASSERT_EQ(book.Open(file), S_OK);
    EXPECT_EQ(wabtest::Entries(book), entries);
    const std::vector<BYTE> ann = entries.begin()->first; // multi-valued and binary properties
    ASSERT_EQ(book.Delete(ann), S_OK);
    EXPECT_EQ(DeletedIn(book).size(), 1u);
    ASSERT_EQ(book.Restore({ann}), S_OK);
    EXPECT_EQ(wabtest::Entries(book), entries);
    EXPECT_EQ(book.Restore({ann}), MAPI_E_COLLISION) << "back already";
    book.Close();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* version = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &version, nullptr);
    ASSERT_EQ(sqlite3_step(version), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(version, 0), 2);
    sqlite3_finalize(version);
    sqlite3_close(db);
}

} // namespace
