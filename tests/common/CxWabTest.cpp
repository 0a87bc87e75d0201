// The session and its folder against the real library and real stores in a
// temp folder; failure paths through the scripted-failure build of the
// library, chosen through the registry as the program would find it.
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "common/oe/CxWab.h"
#include "common/oe/CxWabFolder.h"
#include "common/oe/WabRecord.h"
#include "tests/platform/wab32/WabTestSupport.h"
#include "tools/wabtool/WabClient.h"

using wabtest::ScopedEnv;
using wabtest::StringProp;
using wabtest::TempDir;

namespace {

struct Entry {
    std::string name;
    std::string email;
    ULONG type = MAPI_MAILUSER;
};

void FillStore(const std::string& file, const std::vector<Entry>& entries, bool create = true) {
    wabtool::AddressBook book;
    ASSERT_EQ(book.Open(file, create ? WAB_CREATE_STORE : 0), S_OK) << file;
    for (const Entry& e : entries) {
        std::vector<SPropValue> props;
        if (!e.name.empty()) {
            props.push_back(StringProp(PR_DISPLAY_NAME, e.name.c_str()));
        }
        if (!e.email.empty()) {
            props.push_back(StringProp(PR_EMAIL_ADDRESS, e.email.c_str()));
        }
        ASSERT_EQ(book.Add(e.type, props.data(), static_cast<ULONG>(props.size())), S_OK);
    }
}

std::vector<std::string> Names(CxWab& wab) {
    std::vector<std::string> names;
    for (WabRecord* r = wab.GetFirstRecord(); r != nullptr; r = wab.GetNextRecord()) {
        names.emplace_back(r->szDisplayName);
    }
    return names;
}

class CxWabTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedEnv registry{"QUENBY_REGISTRY_DIR", dir.file("registry")};
    ScopedEnv data{"XDG_DATA_HOME", dir.file("xdg")};
    ScopedEnv faults{"WAB32FAIL", std::nullopt};

    void SetUp() override { std::filesystem::create_directories(dir.path() / "registry"); }

    void SetDllPath(const std::string& path) {
        wabtest::WriteBytes(dir.file("registry/HKEY_LOCAL_MACHINE.reg"),
                            "[Software\\Microsoft\\WAB\\DLLPath]\n@=\"" + path + "\"\n");
    }
    // The scripted-failure library with the given failures.
    void UseFailingLibrary(const char* failures) {
        SetDllPath(WAB32FAIL_PATH);
        setenv("WAB32FAIL", failures, 1);
    }
    std::string Store(const std::vector<Entry>& entries, const std::string& name = "book.wab") {
        std::string file = dir.file(name);
        FillStore(file, entries);
        return file;
    }
};

// ---- Opening ---------------------------------------------------------------------

TEST_F(CxWabTest, NullAndEmptyNamesOpenTheDefaultAddressBook) {
    FillStore("", {{"Default", "d@example.org"}}, false);

    CxWab closed(nullptr);
    EXPECT_TRUE(closed.HasLibrary());
    EXPECT_EQ(closed.GetRootFolder(), nullptr);
    EXPECT_EQ(closed.GetFirstRecord(), nullptr);
    for (const char* name : {static_cast<const char*>(nullptr), ""}) {
        ASSERT_TRUE(closed.Open(name));
        EXPECT_STREQ(closed.GetWabFile(), "");
        EXPECT_EQ(Names(closed), std::vector<std::string>{"Default"});
    }

    CxWab opened("");
    EXPECT_EQ(Names(opened), std::vector<std::string>{"Default"});
}

TEST_F(CxWabTest, ReadsEveryContactInRowOrderAndSkipsLists) {
    const std::string file = Store({{"Ann", "ann@example.org"},
                                    {"Team", "", MAPI_DISTLIST},
                                    {"", ""}, // nothing but what the contents row has
                                    {"Bob", "bob@example.org"}});
    CxWab wab(file.c_str());
    ASSERT_NE(wab.GetRootFolder(), nullptr);
    EXPECT_STREQ(wab.GetWabFile(), file.c_str());
    EXPECT_EQ(Names(wab), (std::vector<std::string>{"Ann", "", "Bob"}));
    for (WabRecord* r = wab.GetFirstRecord(); r != nullptr; r = wab.GetNextRecord()) {
        EXPECT_EQ(r->cbSize, sizeof(WabRecord));
        EXPECT_GT(r->cbEntryID, 0u);
        EXPECT_NE(r->lpEntryID, nullptr);
        EXPECT_NE(r->lpMailUser, nullptr);
        EXPECT_EQ(r->pFolder, wab.GetRootFolder());
        EXPECT_STREQ(r->szFolderName, "");
        EXPECT_EQ(r->nDupGroup, 0);
    }
    EXPECT_STREQ(wab.GetFirstRecord()->szEmailAddress, "ann@example.org");
}

TEST_F(CxWabTest, ContainersWithoutContactsOpenEmpty) {
    const std::vector<std::vector<Entry>> cases = {
        {}, {{"L1", "", MAPI_DISTLIST}, {"L2", "", MAPI_DISTLIST}}};
    int n = 0;
    for (const auto& entries : cases) {
        const std::string file = Store(entries, "case" + std::to_string(n++) + ".wab");
        CxWab wab(nullptr);
        EXPECT_TRUE(wab.Open(file.c_str()));
        EXPECT_NE(wab.GetRootFolder(), nullptr);
        EXPECT_EQ(wab.GetFirstRecord(), nullptr);
    }
}

TEST_F(CxWabTest, ReopenStartsFromFreshRecordsAndAFailedOpenHoldsNothing) {
    const std::string file = Store({{"Ann", ""}, {"Bob", ""}});
    CxWab wab(file.c_str());
    wab.GetFirstRecord()->nDupGroup = 3;
    ASSERT_TRUE(wab.Open(file.c_str()));
    EXPECT_EQ(Names(wab), (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(wab.GetFirstRecord()->nDupGroup, 0);

    EXPECT_FALSE(wab.Open(dir.file("missing.wab").c_str()));
    EXPECT_EQ(wab.GetRootFolder(), nullptr);
    EXPECT_EQ(wab.GetFirstRecord(), nullptr);
    EXPECT_EQ(wab.GetNextRecord(), nullptr);
}

TEST_F(CxWabTest, NameTooLongIsRefusedRatherThanCut) {
    // A store sits exactly where the name cut to 259 characters would point.
    std::string prefix = dir.file("");
    while (prefix.size() + 41 < 259 - 10) {
        prefix += std::string(40, 'd') + "/";
    }
    std::filesystem::create_directories(prefix);
    prefix += std::string(259 - prefix.size(), 'f');
    ASSERT_EQ(prefix.size(), 259u);
    FillStore(prefix, {{"Wrong file", ""}});

    CxWab wab(nullptr);
    EXPECT_FALSE(wab.Open((prefix + std::string(41, 'x')).c_str()));
    EXPECT_EQ(wab.GetFirstRecord(), nullptr);
    EXPECT_TRUE(wab.Open(prefix.c_str())) << "259 characters still fit";
}

TEST_F(CxWabTest, AFailedOpenTellsWhy) {
    const std::string good = Store({{"Ann", ""}});
    wabtest::WriteBytes(dir.file("notes.wab"), "just some text\n");
    std::string damaged = wabtest::ReadBytes(good);
    damaged.resize(damaged.size() / 2); // cut short
    wabtest::WriteBytes(dir.file("damaged.wab"), damaged);
    struct Case {
        std::string file;
        HRESULT why;
    };
    const Case cases[] = {
        {good, S_OK},
        {dir.file("missing.wab"), MAPI_E_NOT_FOUND},
        {dir.file("notes.wab"), WAB_E_NOT_ADDRESS_BOOK},
        {dir.file("damaged.wab"), MAPI_E_CORRUPT_DATA},
        {dir.file("") + std::string(300, 'n'), WAB_E_NAME_TOO_LONG},
    };
    CxWab wab(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(wab.Open(c.file.c_str()), c.why == S_OK);
        EXPECT_EQ(wab.GetLastOpenResult(), c.why) << DescribeWabResult(wab.GetLastOpenResult());
    }

    SetDllPath(dir.file("nowhere/libwab32.so"));
    CxWab without(good.c_str());
    EXPECT_FALSE(without.Open(good.c_str()));
    EXPECT_EQ(without.GetLastOpenResult(), CXWAB_E_NO_LIBRARY);
}

TEST_F(CxWabTest, ReopeningItsOwnFileName) {
    const std::string file = Store({{"Ann", ""}});
    CxWab wab(file.c_str());
    ASSERT_TRUE(wab.Open(wab.GetWabFile()));
    EXPECT_STREQ(wab.GetWabFile(), file.c_str());
    EXPECT_EQ(Names(wab), std::vector<std::string>{"Ann"});
}

// ---- Finding the library -----------------------------------------------------------

TEST_F(CxWabTest, LibraryComesFromTheRegistryPathOrTheDefaultName) {
    const std::string file = Store({{"Ann", ""}});
    struct Case {
        const char* what;
        std::optional<std::string> dllPath;
        bool hasLibrary;
        bool opens;
    };
    const Case cases[] = {
        {"no registry value: WAB32.DLL beside the program", std::nullopt, true, true},
        {"registry names the failing build", std::string(WAB32FAIL_PATH), true, false},
        {"registry names a missing file", dir.file("nowhere/libwab32.so"), false, false},
        {"registry path too long to hold", "/" + std::string(300, 'p'), false, false},
    };
    setenv("WAB32FAIL", "WABOpen", 1); // only the failing build reacts to it
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(dir.file("registry/HKEY_LOCAL_MACHINE.reg"));
        if (c.dllPath) {
            SetDllPath(*c.dllPath);
        }
        CxWab wab(file.c_str());
        EXPECT_EQ(wab.HasLibrary(), c.hasLibrary);
        EXPECT_EQ(wab.GetFirstRecord() != nullptr, c.opens);
        EXPECT_EQ(wab.Open(file.c_str()), c.opens);
    }
}

// ---- Failures of the library while reading --------------------------------------------

TEST_F(CxWabTest, ReadingFailuresCloseOrSkipAsTheyMust) {
    const std::string file = Store({{"Ann", ""}, {"Bob", ""}, {"Cid", ""}, {"Dan", ""}});
    struct Case {
        const char* failures;
        bool opens;
        bool hasFolder;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"GetContentsTable", true, true, {}},
        {"SetColumns", false, false, {}},
        {"SeekRow", false, false, {}},
        {"QueryRows:3", false, false, {}},                  // after two records were read
        {"OpenEntry:3", true, true, {"Ann", "Cid", "Dan"}}, // call 1 opens the container
        {"GetProps:1", true, true, {"Bob", "Cid", "Dan"}},
        {"GetPAB", false, false, {}},
        {"", true, true, {"Ann", "Bob", "Cid", "Dan"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failures);
        UseFailingLibrary(c.failures);
        CxWab wab(nullptr);
        EXPECT_EQ(wab.Open(file.c_str()), c.opens);
        EXPECT_EQ(wab.GetRootFolder() != nullptr, c.hasFolder);
        EXPECT_EQ(Names(wab), c.names);
    }
}

// ---- Folder ----------------------------------------------------------------------------

TEST_F(CxWabTest, DeletingRemovesContactsForGoodAndKeepsTheOrder) {
    const std::string file = Store({{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}, {"e", ""}});
    CxWab wab(file.c_str());
    CxWabFolder* folder = wab.GetRootFolder();
    ASSERT_NE(folder, nullptr);
    auto recordNamed = [&](const char* name) {
        for (WabRecord* r = wab.GetFirstRecord(); r != nullptr; r = wab.GetNextRecord()) {
            if (std::string(r->szDisplayName) == name) {
                return r;
            }
        }
        return static_cast<WabRecord*>(nullptr);
    };
    const struct {
        const char* name;
        std::vector<std::string> left;
    } steps[] = {
        {"a", {"b", "c", "d", "e"}}, // first
        {"c", {"b", "d", "e"}},      // middle
        {"e", {"b", "d"}},           // last
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_TRUE(folder->DeleteRecord(recordNamed(step.name), true));
        EXPECT_EQ(Names(wab), step.left);
        EXPECT_EQ(folder->GetRecordList()->GetCount(), step.left.size());
        CxWab other(file.c_str());
        EXPECT_EQ(Names(other), step.left) << "as a later open sees it";
    }

    // Taken out once, the same pointer is no longer in the folder.
    WabRecord* b = recordNamed("b");
    EXPECT_TRUE(folder->DeleteRecord(b, false));
    EXPECT_FALSE(folder->DeleteRecord(b, false));
    CxWabFolder::FreeRecord(b);
    EXPECT_FALSE(folder->DeleteRecord(nullptr, true));
    EXPECT_FALSE(folder->AddRecord(nullptr));

    EXPECT_TRUE(folder->DeleteRecord(recordNamed("d"), true));
    EXPECT_EQ(wab.GetFirstRecord(), nullptr);
    EXPECT_TRUE(wab.Open(file.c_str()));
    EXPECT_EQ(wab.GetFirstRecord(), nullptr);
}

TEST_F(CxWabTest, RefusedDeleteLeavesTheFolderButNotTheStore) {
    // The record is taken out all the same (true); the refusal is counted
    // with its reason for the caller to report.
    const std::string file = Store({{"a", ""}, {"b", ""}, {"c", ""}});
    struct Case {
        const char* what;
        std::function<void()> refuse;
        HRESULT why;
    } cases[] = {
        {"the library refuses", [&] { UseFailingLibrary("DeleteEntries"); }, MAPI_E_CALL_FAILED},
        {"a read-only file",
         [&] { std::filesystem::permissions(file, std::filesystem::perms::owner_read); },
         MAPI_E_NO_ACCESS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.refuse();
        CxWab wab(file.c_str());
        CxWabFolder* folder = wab.GetRootFolder();
        ASSERT_EQ(Names(wab), (std::vector<std::string>{"a", "b", "c"}));
        EXPECT_EQ(folder->GetRefusedCount(), 0u);
        EXPECT_TRUE(folder->DeleteRecord(wab.GetFirstRecord(), true));
        EXPECT_TRUE(folder->DeleteRecord(wab.GetFirstRecord(), true));
        EXPECT_EQ(Names(wab), std::vector<std::string>{"c"});
        EXPECT_EQ(folder->GetRefusedCount(), 2u);
        EXPECT_EQ(folder->GetLastRefusal(), c.why) << DescribeWabResult(folder->GetLastRefusal());
        folder->ClearRefusals();
        EXPECT_EQ(folder->GetRefusedCount(), 0u);
        EXPECT_EQ(folder->GetLastRefusal(), S_OK);
        ASSERT_TRUE(wab.Open(file.c_str()));
        EXPECT_EQ(Names(wab), (std::vector<std::string>{"a", "b", "c"}));
        unsetenv("WAB32FAIL");
        std::filesystem::remove(dir.file("registry/HKEY_LOCAL_MACHINE.reg"));
    }
}

// ---- Internal checks ---------------------------------------------------------------------

// Not a fixture test: each death-test child runs the test again, and would
// leave a temp folder behind.
TEST(CxWabChecksTest, InternalChecksStopWithTheirMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ScopedEnv registry("QUENBY_REGISTRY_DIR", "/nonexistent/quenby-registry");
    CxWab wab(nullptr);
    auto* container = reinterpret_cast<IABContainer*>(&wab); // never used: the check fires first
    WabRecord record{};
    SRowSet rows{};
    rows.cRows = 1;
    EXPECT_DEATH(CxWabFolder(nullptr, container),
                 "Assertion failed: pWab!=NULL, file .*CxWabFolder.cpp, line [0-9]+");
    EXPECT_DEATH(CxWabFolder(&wab, nullptr), "Assertion failed: pContainer!=NULL");
    EXPECT_DEATH(wab.ReadRecord(nullptr, &rows, 0), "Assertion failed: pRecord!=NULL");
    EXPECT_DEATH(wab.ReadRecord(&record, nullptr, 0), "Assertion failed: lpRowAB!=NULL");
    EXPECT_DEATH(wab.ReadRecord(&record, &rows, 1),
                 "Assertion failed: index>=0&&index<\\(int\\)lpRowAB->cRows, file .*CxWab.cpp");
}

} // namespace
