// Opening an address book of 100,000 contacts as the session reads it: one
// row request, one open and one property fetch per contact, every record
// filled. The baseline is a plain SQLite scan of the same properties, the two
// measured in turns in the same run, so the median ratio holds on any
// machine.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>

#include "app/Startup.h"
#include "bench/BenchSupport.h"
#include "bench/Turns.h"
#include "common/oe/CxWab.h"
#include "common/oe/WabRecord.h"

namespace {

constexpr int kContacts = 100000;
constexpr int kTurns = 7;

benchsupport::Turns g_turns;

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

void BM_SessionOpenAgainstPlainScan(benchmark::State& state) {
    const std::string& file = Book();
    CxWab wab(nullptr);
    for (auto _ : state) {
        g_turns = benchsupport::InTurns(
            kTurns,
            [&] {
                bool ok = false;
                const double seconds = benchsupport::Seconds([&] { ok = wab.Open(file.c_str()); });
                return ok ? seconds : -1;
            },
            [&] { return benchsupport::PlainScan(file); });
        if (g_turns.ratios.size() != kTurns) {
            state.SkipWithError("Open failed");
            return;
        }
        benchsupport::Report(state, g_turns);
    }
    int records = 0;
    for (WabRecord* r = wab.GetFirstRecord(); r != nullptr; r = wab.GetNextRecord()) {
        ++records;
    }
    state.counters["records"] = records;
}

BENCHMARK(BM_SessionOpenAgainstPlainScan)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    KeepFreedHeap(); // as the program does at start-up
    if (!benchsupport::RunBenchmarks(argc, argv)) {
        return 1;
    }
    benchsupport::PrintTurns("Open of 100,000 contacts", "session", "plain scan", g_turns,
                             "goals: 1000 ms, ratio 3");
    return 0;
}
