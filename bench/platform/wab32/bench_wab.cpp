// Deleting 10,000 contacts one by one, each committed before the call
// returns, as the program deletes duplicates.
#include <benchmark/benchmark.h>
#include <vector>

#include "bench/BenchSupport.h"

namespace {

constexpr int kContacts = 10000;

const std::string& Template() {
    static const std::string file = [] {
        std::string path = (benchsupport::Folder() / "template.wab").string();
        benchsupport::MakeBook(path, kContacts);
        return path;
    }();
    return file;
}

void BM_DeleteEntriesOneByOne(benchmark::State& state) {
    const std::string work = (benchsupport::Folder() / "work.wab").string();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(work);
        std::filesystem::copy_file(Template(), work);
        wabtool::AddressBook book;
        std::vector<std::vector<BYTE>> ids;
        if (book.Open(work) != S_OK) {
            state.SkipWithError("open failed");
            break;
        }
        book.ForEach(
            [&](const wabtool::EntryView& e) {
                ids.emplace_back(e.entryId.lpb, e.entryId.lpb + e.entryId.cb);
                return true;
            },
            false);
        state.ResumeTiming();
        for (std::vector<BYTE>& id : ids) {
            SBinary bin{static_cast<ULONG>(id.size()), id.data()};
            ENTRYLIST list{1, &bin};
            if (book.Container()->DeleteEntries(&list, 0) != S_OK) {
                state.SkipWithError("delete failed");
                break;
            }
        }
        state.counters["deleted"] = static_cast<double>(ids.size());
    }
}

BENCHMARK(BM_DeleteEntriesOneByOne)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
