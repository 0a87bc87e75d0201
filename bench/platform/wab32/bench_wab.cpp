// Deleting 10,000 contacts one by one, each committed before the call
// returns, as the program deletes duplicates; storing one contact with a
// property of every identifier (65,534), whose cost must grow linearly; and
// opening an address book of
// 100,000 contacts, which checks every page of it, against a plain SQLite scan
// of its properties in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
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

void BM_StoreContactWithEveryPropertyId(benchmark::State& state) {
    const std::string file = (benchsupport::Folder() / "wide.wab").string();
    std::filesystem::remove(file);
    wabtool::AddressBook book;
    if (book.Open(file, WAB_CREATE_STORE) != S_OK) {
        state.SkipWithError("create failed");
        return;
    }
    const auto count = static_cast<ULONG>(state.range(0));
    std::vector<SPropValue> props(count);
    for (ULONG i = 0; i < count; ++i) {
        props[i].ulPropTag = PROP_TAG(PT_STRING8, i + 1);
        props[i].Value.lpszA = const_cast<char*>("value");
    }
    for (auto _ : state) {
        book.BeginTransaction();
        if (book.Add(MAPI_MAILUSER, props.data(), count) != S_OK) {
            state.SkipWithError("store failed");
            break;
        }
        book.AbortTransaction();
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_StoreContactWithEveryPropertyId)
    ->Unit(benchmark::kMillisecond)
    ->Arg(16383)
    ->Arg(32767)
    ->Arg(65534)
    ->Complexity()
    ->UseRealTime();

const std::string& Large() {
    static const std::string file = [] {
        std::string path = (benchsupport::Folder() / "large.wab").string();
        benchsupport::MakeBook(path, 100000);
        return path;
    }();
    return file;
}

void BM_PlainScanOfLargeStore(benchmark::State& state) {
    const std::string& file = Large();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT entry_id, tag, value FROM props", -1, &stmt, nullptr);
        std::int64_t bytes = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            bytes += sqlite3_column_bytes(stmt, 2);
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_OpenLargeStore(benchmark::State& state) {
    const std::string& file = Large();
    for (auto _ : state) {
        wabtool::AddressBook book;
        if (book.Open(file) != S_OK) {
            state.SkipWithError("open failed");
            break;
        }
    }
}

BENCHMARK(BM_PlainScanOfLargeStore)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_OpenLargeStore)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
