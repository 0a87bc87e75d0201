// Grouping duplicates: the hash pass on 100,000 contacts, and against the
// plain pass that compares every ungrouped contact with every other, both on
// the same 50,000 contacts in the same run.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/Duplicates.h"
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

double g_hash50k = 0;
double g_plain50k = 0;

template <class F> double Seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_GroupDuplicates100k(benchmark::State& state) {
    Book book(100000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(GroupDuplicates(book.records.data(), book.records.size(), kMail));
    }
}

void BM_GroupDuplicates50k(benchmark::State& state) {
    Book book(50000);
    double total = 0;
    for (auto _ : state) {
        total += Seconds([&] { GroupDuplicates(book.records.data(), book.records.size(), kMail); });
    }
    g_hash50k = total / static_cast<double>(state.iterations());
}

void BM_PlainPass50k(benchmark::State& state) {
    Book book(50000);
    double total = 0;
    for (auto _ : state) {
        total += Seconds([&] {
            quenbytest::PlainGroupDuplicates(book.records.data(), book.records.size(), kMail);
        });
    }
    g_plain50k = total / static_cast<double>(state.iterations());
}

BENCHMARK(BM_GroupDuplicates100k)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_GroupDuplicates50k)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_PlainPass50k)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_hash50k > 0 && g_plain50k > 0) {
        std::printf("Grouping 50,000 contacts: hash pass %.2f ms, plain pass %.2f s, "
                    "%.0f times faster (goal: at least 1000)\n",
                    g_hash50k * 1000, g_plain50k, g_plain50k / g_hash50k);
    }
    return 0;
}
