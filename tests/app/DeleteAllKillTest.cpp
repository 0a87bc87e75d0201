// The program deleting every duplicate of a large book, killed at random
// moments (QUENBY_KILLS times, 3 unless set; scripts/crashtest makes 100):
// the book stays sound, each contact whole or gone, and no contact that was
// no duplicate, nor the first of a group, is gone.
#include <QProcess>
#include <QThread>
#include <chrono>
#include <map>
#include <random>

#include "tests/app/AppTestSupport.h"
#include "tests/platform/wab32/WabTestSupport.h"

namespace {

constexpr int kGrouped = 15000; // contact i shares its address with i +- 5000
constexpr int kGroups = 5000;
constexpr int kContacts = 20000; // the last 5000 have addresses of their own

// Built piecewise: GCC 12 at -O3 warns falsely on "literal" + std::to_string().
std::string NameOf(int i) {
    std::string name = "c";
    name += std::to_string(i);
    return name;
}

std::string EmailOf(int i) {
    std::string email = i < kGrouped ? "g" : "u";
    email += std::to_string(i < kGrouped ? i % kGroups : i);
    email += "@example.org";
    return email;
}

// Display name -> e-mail address of each contact in use, and of each deleted.
struct Outcome {
    std::map<std::string, std::string> live;
    std::map<std::string, std::string> deleted;
};

Outcome Read(const std::string& file) {
    Outcome outcome;
    wabtool::AddressBook book;
    EXPECT_EQ(book.Open(file), S_OK);
    EXPECT_EQ(book.ForEach([&](const wabtool::EntryView& e) {
        outcome.live[e.String(PR_DISPLAY_NAME)] = e.String(PR_EMAIL_ADDRESS);
        return true;
    }),
              S_OK);
    EXPECT_EQ(book.ForEachDeleted([&](const wabtool::EntryView& e) {
        outcome.deleted[e.String(PR_DISPLAY_NAME)] = e.String(PR_EMAIL_ADDRESS);
        return true;
    }),
              S_OK);
    return outcome;
}

void CheckOutcome(const Outcome& outcome) {
    EXPECT_EQ(outcome.live.size() + outcome.deleted.size(), static_cast<std::size_t>(kContacts));
    for (int i = 0; i < kContacts; ++i) {
        SCOPED_TRACE(NameOf(i));
        const auto live = outcome.live.find(NameOf(i));
        const auto deleted = outcome.deleted.find(NameOf(i));
        const bool kept = i < kGroups || i >= kGrouped;
        ASSERT_TRUE(live != outcome.live.end() || (!kept && deleted != outcome.deleted.end()));
        EXPECT_EQ(live != outcome.live.end() ? live->second : deleted->second, EmailOf(i));
    }
}

class DeleteAllKilled : public apptest::AppFixture {
protected:
    std::string book;

    void MakeBook() {
        std::vector<apptest::Contact> contacts;
        for (int i = 0; i < kContacts; ++i) {
            contacts.push_back({NameOf(i), EmailOf(i)});
        }
        book = Book(contacts).toStdString();
        UseBook(QString::fromStdString(book));
    }

    // Starts the program deleting; returns once it has begun to.
    bool Start(QProcess& program) {
        program.start(DELETE_HELPER_PATH, {tmp.path()});
        QByteArray said;
        while (!said.contains("deleting\n") && program.waitForReadyRead(30000)) {
            said += program.readAllStandardOutput();
        }
        return said.contains("deleting\n");
    }
};

TEST_F(DeleteAllKilled, EachContactIsWholeOrGoneAndNoFirstMemberGoes) {
    MakeBook();
    const std::string pristine = Path("pristine.wab").toStdString();
    std::filesystem::copy_file(book, pristine);

    // One whole run: how long deleting takes, and what it leaves.
    double whole = 0;
    {
        QProcess program;
        ASSERT_TRUE(Start(program)) << program.readAllStandardError().toStdString();
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(program.waitForFinished(120000));
        whole = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        const Outcome outcome = Read(book);
        EXPECT_EQ(outcome.live.size(), static_cast<std::size_t>(kContacts - 2 * kGroups));
        CheckOutcome(outcome);
    }
    std::mt19937_64 random(std::random_device{}());
    const char* kills = std::getenv("QUENBY_KILLS");
    const int rounds = kills != nullptr && std::atoi(kills) > 0 ? std::atoi(kills) : 3;
    int during = 0;
    for (int k = 0; k < rounds && !HasFailure(); ++k) {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(book + suffix);
        }
        std::filesystem::copy_file(pristine, book);
        QProcess program;
        ASSERT_TRUE(Start(program));
        const double at = std::uniform_real_distribution<double>(0, whole * 1.1)(random);
        QThread::usleep(static_cast<unsigned long>(at * 1e6));
        during += program.state() == QProcess::Running ? 1 : 0;
        program.kill();
        program.waitForFinished(10000);
        SCOPED_TRACE("killed after " + std::to_string(at) + " s");
        EXPECT_EQ(wabtest::IntegrityOf(book), "ok");
        CheckOutcome(Read(book));
    }
    std::printf("[ crash    ] %d kills (%d while deleting) of a %.1f s delete\n", rounds, during,
                whole);
}

} // namespace
