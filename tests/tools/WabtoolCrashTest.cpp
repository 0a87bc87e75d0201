// wabtool killed at random moments, and wabtool beside another process
// changing the same address book: the book stays sound, every change whole
// or absent, every listing one moment of it.
//
// QUENBY_KILLS sets how many kills the crash test makes (default 3);
// scripts/crashtest runs it with 100.
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/platform/wab32/WabTestSupport.h"
#include "tests/tools/ToolProcess.h"
#include "tools/wabtool/Text.h"
#include "tools/wabtool/WabClient.h"

using wabtest::IntegrityOf;
using wabtest::ReadBytes;
using wabtest::ScopedEnv;
using wabtest::StringProp;
using wabtest::TempDir;

namespace {

int Kills() {
    const char* kills = std::getenv("QUENBY_KILLS");
    return kills != nullptr && std::atoi(kills) > 0 ? std::atoi(kills) : 3;
}

// Starts wabtool with its output and errors in `out`.
pid_t Start(const std::vector<std::string>& args, const std::string& out) {
    return wabtooltest::StartTool(args, out, out);
}

using wabtooltest::WaitTool;

std::string Name(const char* prefix, int i) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%06d", prefix, i);
    return text;
}

// A vCard file of `count` contacts named PREFIX000000, ... with matching
// e-mail addresses.
// Built piecewise: GCC 12 at -O3 warns falsely on "b" + std::to_string().
std::string BatchPrefix(int batch) {
    std::string prefix = "b";
    prefix += std::to_string(batch);
    prefix += "-";
    return prefix;
}

void WriteCards(const std::string& file, const char* prefix, int count) {
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < count; ++i) {
        const std::string name = Name(prefix, i);
        out << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" << name << "\r\nN:" << name
            << ";Given;;;\r\nEMAIL;TYPE=INTERNET:" << name
            << "@example.org\r\nTEL;TYPE=WORK:+1 555 0100\r\nORG:Example\r\nEND:VCARD\r\n";
    }
}

// Names and e-mail addresses of "wabtool list" output; false if a line is
// not whole or a contact's address is not its own.
bool ReadListing(const std::string& listing, std::vector<std::string>& names) {
    names.clear();
    for (const std::string& line : wabtool::Split(listing, "\n")) {
        if (line.empty()) {
            continue;
        }
        const std::vector<std::string> fields = wabtool::Split(line, "\t");
        if (fields.size() != 4 || fields[3] != fields[2] + "@example.org") {
            return false;
        }
        names.push_back(fields[2]);
    }
    return true;
}

std::size_t CountEntries(const std::string& file) {
    wabtool::AddressBook book;
    EXPECT_EQ(book.Open(file), S_OK) << file;
    std::size_t count = 0;
    book.ForEach([&](const wabtool::EntryView&) { return ++count, true; }, false);
    return count;
}

// ---- Killed at random moments ---------------------------------------------------------

// The import creates the default address book on first use and stores
// 200,000 contacts in one transaction; a kill anywhere leaves a store that
// opens, is sound, and holds all of them or none.
TEST(WabtoolCrash, ImportKilledAtRandomMomentsLeavesAllOrNothing) {
    constexpr int kContacts = 200000;
    TempDir dir;
    const std::string cards = dir.file("cards.vcf");
    WriteCards(cards, "Contact", kContacts);
    std::mt19937_64 random(std::random_device{}());

    // One whole run tells how long an import takes here.
    double whole = 0;
    {
        ScopedEnv data("XDG_DATA_HOME", dir.file("whole"));
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(WaitTool(Start({"import", cards}, dir.file("out.txt"))), 0)
            << ReadBytes(dir.file("out.txt"));
        whole = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ASSERT_EQ(CountEntries(""), static_cast<std::size_t>(kContacts));
    }
    int killed = 0;
    std::map<std::size_t, int> outcomes;
    for (int k = 0; k < Kills(); ++k) {
        const std::string data = dir.file("kill" + std::to_string(k));
        ScopedEnv xdg("XDG_DATA_HOME", data);
        const pid_t child = Start({"import", cards}, dir.file("out.txt"));
        const double at = std::uniform_real_distribution<double>(0, whole * 1.1)(random);
        std::this_thread::sleep_for(std::chrono::duration<double>(at));
        kill(child, SIGKILL);
        const int status = WaitTool(child);
        killed += status == 128 + SIGKILL ? 1 : 0;
        SCOPED_TRACE("killed after " + std::to_string(at) + " s, status " + std::to_string(status));
        const std::size_t count = CountEntries("");
        EXPECT_TRUE(count == 0 || count == kContacts) << count;
        ++outcomes[count];
        for (const auto& entry : std::filesystem::recursive_directory_iterator(data)) {
            if (entry.path().extension() == ".wab") {
                EXPECT_EQ(IntegrityOf(entry.path().string()), "ok");
            }
        }
        std::filesystem::remove_all(data);
    }
    std::printf("[ crash    ] %d kills (%d during the import) of a %.1f s import: %d left none, "
                "%d all\n",
                Kills(), killed, whole, outcomes[0], outcomes[kContacts]);
}

// ---- Two processes ----------------------------------------------------------------------

// A book of `count` contacts named PREFIX000000, ..., in that order.
void MakeBook(const std::string& file, const char* prefix, int count) {
    wabtool::AddressBook book;
    ASSERT_EQ(book.Open(file, WAB_CREATE_STORE), S_OK);
    ASSERT_EQ(book.BeginTransaction(), S_OK);
    for (int i = 0; i < count; ++i) {
        const std::string name = Name(prefix, i);
        const std::string email = name + "@example.org";
        SPropValue props[] = {StringProp(PR_DISPLAY_NAME, name.c_str()),
                              StringProp(PR_EMAIL_ADDRESS, email.c_str())};
        ASSERT_EQ(book.Add(MAPI_MAILUSER, props, 2), S_OK);
    }
    ASSERT_EQ(book.CommitTransaction(), S_OK);
}

// Runs `write` in a process of its own and lists the book with wabtool until
// it ends; each listing must be whole and pass `consistent`. Afterwards the
// writer has succeeded, and the book is sound and holds `entries`.
void ListWhileWriting(const TempDir& dir, const std::string& file,
                      const std::function<bool()>& write,
                      const std::function<bool(const std::vector<std::string>&)>& consistent,
                      std::size_t entries) {
    const pid_t writer = fork();
    if (writer == 0) {
        _exit(write() ? 0 : 1);
    }
    int status = 0;
    int listings = 0;
    for (bool writing = true; writing;) {
        writing = waitpid(writer, &status, WNOHANG) == 0;
        const std::string out = dir.file("list.txt");
        const int listed = WaitTool(Start({"list", file}, out));
        std::vector<std::string> names;
        const std::string listing = ReadBytes(out);
        EXPECT_EQ(listed, 0) << listing.substr(0, 400);
        EXPECT_TRUE(ReadListing(listing, names) && consistent(names)) << listing.substr(0, 400);
        ++listings;
        if (writing && ::testing::Test::HasFailure()) {
            kill(writer, SIGKILL);
            waitpid(writer, &status, 0);
            writing = false;
        }
    }
    std::printf("[ listings ] %d while writing\n", listings);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(listings, 1);
    EXPECT_EQ(IntegrityOf(file), "ok");
    EXPECT_EQ(CountEntries(file), entries);
}

// One process deletes the contacts one by one, in their order, as the
// program deletes duplicates; every listing shows the ones not yet deleted.
TEST(WabtoolTwoProcesses, ListingWhileAnotherProcessDeletesShowsOneMoment) {
    constexpr int kContacts = 20000;
    TempDir dir;
    const std::string file = dir.file("book.wab");
    MakeBook(file, "c", kContacts);
    ListWhileWriting(
        dir, file,
        [&] {
            wabtool::AddressBook book;
            std::vector<std::vector<BYTE>> ids;
            if (book.Open(file) != S_OK) {
                return false;
            }
            book.ForEach(
                [&](const wabtool::EntryView& e) {
                    ids.emplace_back(e.entryId.lpb, e.entryId.lpb + e.entryId.cb);
                    return true;
                },
                false);
            for (const auto& id : ids) {
                if (book.Delete(id) != S_OK) {
                    return false;
                }
            }
            return true;
        },
        [](const std::vector<std::string>& names) {
            // The last contacts, from some one on, each once, in order.
            const int first = kContacts - static_cast<int>(names.size());
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (names[i] != Name("c", first + static_cast<int>(i))) {
                    return false;
                }
            }
            return true;
        },
        0);
}

// One process imports batches of contacts, each all or nothing; every
// listing shows whole batches, the earlier ones first.
TEST(WabtoolTwoProcesses, ListingWhileAnotherProcessImportsShowsWholeImports) {
    constexpr int kBatches = 20;
    constexpr int kPerBatch = 1000;
    TempDir dir;
    const std::string file = dir.file("book.wab");
    MakeBook(file, "c", 0);
    std::vector<std::string> batches;
    for (int b = 0; b < kBatches; ++b) {
        batches.push_back(dir.file("batch" + std::to_string(b) + ".vcf"));
        WriteCards(batches.back(), BatchPrefix(b).c_str(), kPerBatch);
    }
    ListWhileWriting(
        dir, file,
        [&] {
            for (const std::string& batch : batches) {
                if (WaitTool(Start({"import", "--into", file, batch}, batch + ".out")) != 0) {
                    return false;
                }
            }
            return true;
        },
        [](const std::vector<std::string>& names) {
            if (names.size() % kPerBatch != 0) {
                return false;
            }
            for (std::size_t i = 0; i < names.size(); ++i) {
                const std::string batch = BatchPrefix(static_cast<int>(i / kPerBatch));
                if (names[i] != Name(batch.c_str(), static_cast<int>(i % kPerBatch))) {
                    return false;
                }
            }
            return true;
        },
        kBatches * kPerBatch);
}

} // namespace
