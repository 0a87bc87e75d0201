// Grouping duplicates: the hash pass on 100,000 contacts, and against the
// plain pass that compares every ungrouped contact with every other, both on
// the same 50,000 contacts in turns in the same run (the median ratio counts).
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/Duplicates.h"
#include "bench/Turns.h"
#include "common/oe/WabRecord.h"
#include "tests/app/DuplicatesReference.h"

namespace {

// A book where every fourth contact repeats an earlier one's address (in
// other letter case) and the rest are unique, as an exported book might be.
struct Book {
    std::vector<WabRecord> storage;
    std::vector<WabRecord*> records;

    explicit Book(int count) : storage(static_cast<std::size_t>(count)) {
        for (int i = 0; i < count; ++i) {
            WabRecord& r = storage[static_cast<std::size_t>(i)];
            std::memset(&r, 0, sizeof r);
            const int who = i % 4 == 3 ? i / 2 : i;
            std::snprintf(r.szDisplayName, sizeof r.szDisplayName, "Contact %06d", who);
            std::snprintf(r.szEmailAddress, sizeof r.szEmailAddress,
                          i % 4 == 3 ? "CONTACT%06d@EXAMPLE.ORG" : "contact%06d@example.org", who);
            records.push_back(&r);
        }
    }
};

constexpr TDuplicateCriteria kMail{true, false};

constexpr int kTurns = 3;
benchsupport::Turns g_turns;

void BM_GroupDuplicates100k(benchmark::State& state) {
    Book book(100000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(GroupDuplicates(book.records.data(), book.records.size(), kMail));
    }
}

// The hash pass is timed over many runs per turn, as one takes milliseconds.
void BM_GroupDuplicates50kAgainstPlainPass(benchmark::State& state) {
    Book book(50000);
    constexpr int kRunsPerTurn = 20;
    for (auto _ : state) {
        g_turns = benchsupport::InTurns(
            kTurns,
            [&] {
                return benchsupport::Seconds([&] {
                           for (int i = 0; i < kRunsPerTurn; ++i) {
                               benchmark::DoNotOptimize(GroupDuplicates(
                                   book.records.data(), book.records.size(), kMail));
                           }
                       }) /
                       kRunsPerTurn;
            },
            [&] {
                return benchsupport::Seconds([&] {
                    quenbytest::PlainGroupDuplicates(book.records.data(), book.records.size(),
                                                     kMail);
                });
            });
        benchsupport::Report(state, g_turns);
    }
}

BENCHMARK(BM_GroupDuplicates100k)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_GroupDuplicates50kAgainstPlainPass)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    if (!benchsupport::RunBenchmarks(argc, argv)) {
        return 1;
    }
    if (!g_turns.ratios.empty() && g_turns.Ratio() > 0) {
        std::printf("Grouping 50,000 contacts: hash pass %.2f ms, plain pass %.2f s (medians of "
                    "%zu turns), %.0f times faster by the median ratio (goal: at least 1000)\n",
                    benchsupport::Median(g_turns.ours) * 1000, benchsupport::Median(g_turns.plain),
                    g_turns.ratios.size(), 1 / g_turns.Ratio());
    }
    return 0;
}
