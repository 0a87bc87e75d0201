// Stores of our own format that something else has written into: each opens,
// skipping (and naming) what cannot be read, or is refused with its reason
// and left as it was.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include "tests/platform/wab32/WabTestSupport.h"
#include "tools/wabtool/WabClient.h"

using wabtest::ReadBytes;
using wabtest::StringProp;
using wabtest::TempDir;
using wabtool::AddressBook;
using wabtool::EntryView;

namespace {

void RunSql(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
}

// Contacts Ann (entry 1), Bob (2) and Cid (3, deleted), each with a name and
// an e-mail address.
void MakeStore(const std::string& file) {
    AddressBook book;
    ASSERT_EQ(book.Open(file, WAB_CREATE_STORE), S_OK);
    std::vector<BYTE> cid;
    for (const char* name : {"Ann", "Bob", "Cid"}) {
        const std::string email = std::string(name) + "@example.org";
        SPropValue props[] = {StringProp(PR_DISPLAY_NAME, name),
                              StringProp(PR_EMAIL_ADDRESS, email.c_str())};
        ASSERT_EQ(book.Add(MAPI_MAILUSER, props, 2, &cid), S_OK);
    }
    ASSERT_EQ(book.Delete(cid), S_OK);
}

// What a full walk of a store sees: the names it reads, and the reason for
// each entry it cannot.
struct Walk {
    HRESULT hr = MAPI_E_CALL_FAILED;
    std::vector<std::string> names;
    std::vector<HRESULT> unreadable;
    std::vector<std::string> deleted;
};

Walk WalkStore(AddressBook& book) {
    Walk walk;
    walk.hr = book.ForEach(
        [&](const EntryView& e) {
            walk.names.push_back(e.String(PR_DISPLAY_NAME));
            return true;
        },
        true, [&](const SBinary&, HRESULT hr) { walk.unreadable.push_back(hr); });
    book.ForEachDeleted([&](const EntryView& e) {
        walk.deleted.push_back(e.String(PR_DISPLAY_NAME));
        return true;
    });
    return walk;
}

std::vector<BYTE> DeletedId(AddressBook& book) {
    std::vector<BYTE> id;
    book.ForEachDeleted([&](const EntryView& e) {
        id.assign(e.entryId.lpb, e.entryId.lpb + e.entryId.cb);
        return false;
    });
    return id;
}

void ExpectNothingBeside(const std::string& file) {
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        EXPECT_FALSE(std::filesystem::exists(file + suffix)) << suffix;
    }
}

class WabHostileStore : public ::testing::Test {
protected:
    TempDir dir;
    int n = 0;
    std::string Damaged(const std::string& sql) {
        const std::string file = dir.file("case" + std::to_string(n++) + ".wab");
        MakeStore(file);
        RunSql(file, sql);
        return file;
    }
};

// Refused before anything is written: the file stays byte for byte, with
// nothing left beside it.
TEST_F(WabHostileStore, StoresThatCannotBeReadAreRefusedAndLeftAsTheyWere) {
    const struct {
        const char* what;
        const char* sql;
        HRESULT expected;
    } cases[] = {
        {"schema version 0", "PRAGMA user_version=0", MAPI_E_CORRUPT_DATA},
        {"negative schema version", "PRAGMA user_version=-1", MAPI_E_CORRUPT_DATA},
        {"version 1 with the deletion time of version 2", "PRAGMA user_version=1",
         MAPI_E_CORRUPT_DATA},
        {"newer schema version", "PRAGMA user_version=3", MAPI_E_VERSION},
        {"far newer schema version", "PRAGMA user_version=2147483647", MAPI_E_VERSION},
        {"no properties table", "DROP TABLE props", MAPI_E_CORRUPT_DATA},
        // Opening for writing would turn it to WAL mode first.
        {"no properties table, rollback journal", "PRAGMA journal_mode=DELETE; DROP TABLE props",
         MAPI_E_CORRUPT_DATA},
        {"no deletion column at version 2",
         "CREATE TABLE e2(id INTEGER PRIMARY KEY AUTOINCREMENT, object_type INTEGER NOT NULL,"
         " display_name TEXT); INSERT INTO e2 SELECT id, object_type, display_name FROM entries;"
         " DROP TABLE entries; ALTER TABLE e2 RENAME TO entries",
         MAPI_E_CORRUPT_DATA},
        {"properties without values", "ALTER TABLE props RENAME COLUMN value TO v",
         MAPI_E_CORRUPT_DATA},
        {"no identity", "DELETE FROM store", MAPI_E_CORRUPT_DATA},
        {"identity of 15 bytes", "UPDATE store SET uid = zeroblob(15)", MAPI_E_CORRUPT_DATA},
        {"identity as text", "UPDATE store SET uid = '0123456789abcdef'", MAPI_E_CORRUPT_DATA},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = Damaged(c.sql);
        const std::string before = ReadBytes(file);
        {
            AddressBook book;
            const HRESULT hr = book.Open(file);
            EXPECT_EQ(hr, c.expected) << DescribeWabResult(hr);
        }
        EXPECT_TRUE(ReadBytes(file) == before);
        ExpectNothingBeside(file);
    }
}

// Rows the library cannot have written: the store opens, every other entry
// reads as before, and each damaged one is named with its reason.
TEST_F(WabHostileStore, DamagedRowsAreSkippedAndNamed) {
    const struct {
        const char* what;
        std::string sql;
        std::vector<std::string> names;
        std::vector<HRESULT> unreadable;
    } cases[] = {
        {"an entry of an unknown kind",
         "UPDATE entries SET object_type = 99 WHERE id = 1",
         {"Bob"},
         {MAPI_E_CORRUPT_DATA}},
        {"an entry of the container's kind",
         "UPDATE entries SET object_type = 1 WHERE id = 1",
         {"Bob"},
         {MAPI_E_CORRUPT_DATA}},
        {"an entry of a negative kind",
         "UPDATE entries SET object_type = -6 WHERE id = 1",
         {"Bob"},
         {MAPI_E_CORRUPT_DATA}},
        {"an entry with identifier 0",
         "UPDATE props SET entry_id = 0 WHERE entry_id = 1; UPDATE entries SET id = 0 WHERE id = 1",
         {"Bob"},
         {MAPI_E_CORRUPT_DATA}},
        {"an entry with a negative identifier",
         "UPDATE props SET entry_id = -4 WHERE entry_id = 1;"
         " UPDATE entries SET id = -4 WHERE id = 1",
         {"Bob"},
         {MAPI_E_CORRUPT_DATA}},
        // Values whose storage does not fit their tag's type are left out;
        // the entry reads without them.
        {"a name stored as a number",
         "UPDATE props SET value = 7 WHERE entry_id = 1 AND tag = " +
             std::to_string(PR_DISPLAY_NAME),
         {"", "Bob"},
         {}},
        {"properties of types the store never keeps",
         "INSERT INTO props VALUES(1, " + std::to_string(PROP_TAG(PT_UNICODE, 0x6601)) +
             ", 'x'), (1, " + std::to_string(PROP_TAG(0x0005, 0x6602)) + ", 1.5), (1, " +
             std::to_string(PROP_TAG(PT_ERROR, 0x6603)) + ", 5), (1, " +
             std::to_string(PROP_TAG(PT_MV_BINARY, 0x6604)) + ", x'00'), (1, " +
             std::to_string(PROP_TAG(PT_LONG, 0x6605)) + ", NULL), (1, 'tag', 'text')",
         {"Ann", "Bob"},
         {}},
        {"a multi-valued text without its last NUL",
         "INSERT INTO props VALUES(1, " + std::to_string(PR_CHILDRENS_NAMES) + ", x'4100')," +
             " (2, " + std::to_string(PR_CHILDRENS_NAMES) + ", x'41')",
         {"Ann", "Bob"},
         {}},
        {"stored values of the computed properties",
         "INSERT INTO props VALUES(1, " + std::to_string(PR_ENTRYID) + ", x'00'), (1, " +
             std::to_string(PR_OBJECT_TYPE) + ", 8)",
         {"Ann", "Bob"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = Damaged(c.sql);
        AddressBook book;
        ASSERT_EQ(book.Open(file), S_OK);
        const Walk walk = WalkStore(book);
        EXPECT_EQ(walk.hr, S_OK);
        EXPECT_EQ(walk.names, c.names);
        EXPECT_EQ(walk.unreadable, c.unreadable);
        EXPECT_EQ(walk.deleted, std::vector<std::string>{"Cid"});
        // Every entry read has its computed properties once, as the library
        // makes them.
        book.ForEach([&](const EntryView& e) {
            int ids = 0;
            int types = 0;
            for (ULONG i = 0; i < e.count; ++i) {
                ids += e.props[i].ulPropTag == PR_ENTRYID ? 1 : 0;
                types += e.props[i].ulPropTag == PR_OBJECT_TYPE ? 1 : 0;
            }
            EXPECT_EQ(types, 1);
            EXPECT_EQ(ids, 1);
            return true;
        });
    }
}

// Entries read whole however large their values, up to what one buffer of
// the library can hold.
TEST_F(WabHostileStore, HugeValuesReadWhole) {
    constexpr int kBytes = 24 * 1024 * 1024;
    const std::string file =
        Damaged("UPDATE props SET value = replace(hex(zeroblob(" + std::to_string(kBytes / 2) +
                ")), '0', 'x') WHERE entry_id = 1; INSERT INTO props VALUES(2, " +
                std::to_string(PR_CHILDRENS_NAMES) + ", zeroblob(1000000))");
    AddressBook book;
    ASSERT_EQ(book.Open(file), S_OK);
    std::vector<std::size_t> sizes;
    ULONG children = 0;
    EXPECT_EQ(book.ForEach([&](const EntryView& e) {
        sizes.push_back(e.String(PR_EMAIL_ADDRESS).size());
        if (const SPropValue* v = e.Find(PR_CHILDRENS_NAMES)) {
            children = v->Value.MVszA.cValues;
        }
        return true;
    }),
              S_OK);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{kBytes, 15}));
    EXPECT_EQ(children, 1000000u);
}

// Damage in the deleted part: listing goes on; putting back a contact whose
// kept properties are damaged fails as damage and changes nothing; purging
// removes it.
TEST_F(WabHostileStore, DamagedDeletedContactsListAndPurgeButDoNotComeBack) {
    const std::string packed = "(SELECT value FROM props WHERE entry_id = 3 AND tag = -1)";
    const struct {
        const char* what;
        std::string sql;
    } cases[] = {
        {"no kept properties", "DELETE FROM props WHERE entry_id = 3"},
        {"kept properties of another format",
         "UPDATE props SET value = x'02' || substr(" + packed + ", 2) WHERE entry_id = 3"},
        {"kept properties cut short",
         "UPDATE props SET value = substr(" + packed + ", 1, 20) WHERE entry_id = 3"},
        {"a length past the end", "UPDATE props SET value = x'0101' || zeroblob(8) || x'04FFFFFF7F'"
                                  " WHERE entry_id = 3"},
        {"kept properties as a number", "UPDATE props SET value = 1 WHERE entry_id = 3"},
        {"a kept property twice",
         "UPDATE props SET value = " + packed + " || substr(" + packed + ", 2) WHERE entry_id = 3"},
        {"a kept property that is also in use",
         "INSERT INTO props VALUES(3, " + std::to_string(PR_DISPLAY_NAME) + ", 'stray')"},
        {"a kept tag of text", "UPDATE props SET value = x'01' || x'0301000000' || 'A' ||"
                               " x'0301000000' || 'B' WHERE entry_id = 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = Damaged(c.sql);
        AddressBook book;
        ASSERT_EQ(book.Open(file), S_OK);
        Walk walk = WalkStore(book);
        EXPECT_EQ(walk.names, (std::vector<std::string>{"Ann", "Bob"}));
        EXPECT_EQ(walk.deleted, std::vector<std::string>{"Cid"});
        const std::vector<BYTE> cid = DeletedId(book);
        const HRESULT hr = book.Restore({cid});
        EXPECT_EQ(hr, MAPI_E_CORRUPT_DATA) << DescribeWabResult(hr);
        walk = WalkStore(book);
        EXPECT_EQ(walk.names, (std::vector<std::string>{"Ann", "Bob"}));
        EXPECT_EQ(walk.deleted, std::vector<std::string>{"Cid"});
        EXPECT_EQ(book.Purge({cid}), S_OK);
        EXPECT_TRUE(WalkStore(book).deleted.empty());
    }
}

// A deletion time that is no number keeps the contact listed and never
// expires it.
TEST_F(WabHostileStore, DeletionTimeOfTextIsListedAndKept) {
    const std::string file = Damaged("UPDATE entries SET deleted_on = 'yesterday' WHERE id = 3");
    for (int open = 0; open < 2; ++open) {
        AddressBook book;
        ASSERT_EQ(book.Open(file), S_OK);
        EXPECT_EQ(WalkStore(book).deleted, std::vector<std::string>{"Cid"});
    }
}

// Every identifier used up: the store still opens and reads, and adding says
// why it cannot, changing nothing.
TEST_F(WabHostileStore, ExhaustedIdentifiersRefuseNewEntriesWithTheirReason) {
    const std::string file =
        Damaged("UPDATE sqlite_sequence SET seq = 9223372036854775807 WHERE name = 'entries'");
    AddressBook book;
    ASSERT_EQ(book.Open(file), S_OK);
    SPropValue name = StringProp(PR_DISPLAY_NAME, "Dan");
    const HRESULT hr = book.Add(MAPI_MAILUSER, &name, 1);
    EXPECT_EQ(hr, WAB_E_NO_IDENTIFIERS) << DescribeWabResult(hr);
    EXPECT_EQ(DescribeWabResult(hr), "the address book has used up its entry identifiers");
    EXPECT_EQ(WalkStore(book).names, (std::vector<std::string>{"Ann", "Bob"}));
    // Deleting and restoring reuse identifiers; they still work.
    const std::vector<BYTE> cid = DeletedId(book);
    EXPECT_EQ(book.Restore({cid}), S_OK);
    EXPECT_EQ(WalkStore(book).names, (std::vector<std::string>{"Ann", "Bob", "Cid"}));
}

} // namespace
