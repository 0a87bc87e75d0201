// Opening an address book of 100,000 contacts as the session reads it: one
// row request, one open and one property fetch per contact, every record
// filled. The baseline is a plain SQLite scan of the same properties, in the
// same run, so the ratio holds on any machine.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <sqlite3.h>

#include "app/Startup.h"
#include "bench/BenchSupport.h"
#include "common/oe/CxWab.h"
#include "common/oe/WabRecord.h"

namespace {

constexpr int kContacts = 100000;

struct Totals {
    double seconds = 0;
    std::int64_t runs = 0;
    double Mean() const { return runs != 0 ? seconds / static_cast<double>(runs) : 0; }
};
Totals g_open;
Totals g_scan;

const std::string& Book() {
    static const std::string file = [] {
        // An empty registry: the session loads WAB32.DLL from the program's
        // folder, as the program does.
        const auto registry = benchsupport::Folder() / "registry";
        std::filesystem::create_directories(registry);
        setenv("QUENBY_REGISTRY_DIR", registry.c_str(), 1);
        std::string path = (benchsupport::Folder() / "large.wab").string();
        benchsupport::MakeBook(path, kContacts);
        return path;
    }();
    return file;
}

template <class F> double Seconds(F&& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_PlainSqliteScan(benchmark::State& state) {
    const std::string& file = Book();
    std::int64_t values = 0;
    for (auto _ : state) {
        g_scan.seconds += Seconds([&] {
            sqlite3* db = nullptr;
            sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db, "SELECT entry_id, tag, value FROM props", -1, &stmt, nullptr);
            std::int64_t bytes = 0;
            values = 0;
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                bytes += sqlite3_column_int64(stmt, 0) + sqlite3_column_int64(stmt, 1);
                if (sqlite3_column_type(stmt, 2) == SQLITE_TEXT) {
                    benchmark::DoNotOptimize(sqlite3_column_text(stmt, 2));
                }
                bytes += sqlite3_column_bytes(stmt, 2);
                ++values;
            }
            sqlite3_finalize(stmt);
            sqlite3_close(db);
            benchmark::DoNotOptimize(bytes);
        });
        ++g_scan.runs;
    }
    state.counters["values"] = static_cast<double>(values);
}

void BM_SessionOpen(benchmark::State& state) {
    const std::string& file = Book();
    CxWab wab(nullptr);
    for (auto _ : state) {
        bool ok = false;
        g_open.seconds += Seconds([&] { ok = wab.Open(file.c_str()); });
        ++g_open.runs;
        if (!ok) {
            state.SkipWithError("Open failed");
            break;
        }
    }
    int records = 0;
    for (WabRecord* r = wab.GetFirstRecord(); r != nullptr; r = wab.GetNextRecord()) {
        ++records;
    }
    state.counters["records"] = records;
    state.counters["record_bytes"] = sizeof(WabRecord);
}

BENCHMARK(BM_PlainSqliteScan)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_SessionOpen)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    KeepFreedHeap(); // as the program does at start-up
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_open.runs != 0 && g_scan.runs != 0) {
        std::printf("Open of %d contacts: %.0f ms, plain scan: %.0f ms, ratio %.2f "
                    "(limits: 1000 ms, ratio 4)\n",
                    kContacts, g_open.Mean() * 1000, g_scan.Mean() * 1000,
                    g_open.Mean() / g_scan.Mean());
    }
    return 0;
}
