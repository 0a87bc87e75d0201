// Two ways of doing one thing, measured in turns in one run, so that a busy
// machine slows both alike; goals are judged by the median of the ratios of
// the turns, which one noisy turn cannot move.
#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace benchsupport {

template <class F> double Seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 != 0 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// The plain way to read a store: one SQLite scan of every property, each
// value taken as the library takes it. Its seconds.
inline double PlainScan(const std::string& file) {
    return Seconds([&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT entry_id, tag, value FROM props", -1, &stmt, nullptr);
        std::int64_t bytes = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            bytes += sqlite3_column_int64(stmt, 0) + sqlite3_column_int64(stmt, 1);
            if (sqlite3_column_type(stmt, 2) == SQLITE_TEXT) {
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, 2));
            }
            bytes += sqlite3_column_bytes(stmt, 2);
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        benchmark::DoNotOptimize(bytes);
    });
}

struct Turns {
    std::vector<double> ours;   // seconds of each turn
    std::vector<double> plain;  // seconds of each turn
    std::vector<double> ratios; // ours / plain, turn by turn
    double Ratio() const { return Median(ratios); }
};

// `turns` pairs of runs, each side first in every other pair. Each function
// runs once and returns its seconds (what it prepares left out), or a
// negative number when it failed (then the turns end).
inline Turns InTurns(int turns, const std::function<double()>& ours,
                     const std::function<double()>& plain) {
    Turns t;
    for (int i = 0; i < turns; ++i) {
        double a = 0;
        double b = 0;
        if (i % 2 == 0) {
            a = ours();
            b = plain();
        } else {
            b = plain();
            a = ours();
        }
        if (a < 0 || b <= 0) {
            break;
        }
        t.ours.push_back(a);
        t.plain.push_back(b);
        t.ratios.push_back(a / b);
    }
    return t;
}

// The medians as counters, and ours as the benchmark's time.
inline void Report(benchmark::State& state, const Turns& t) {
    state.SetIterationTime(Median(t.ours));
    state.counters["ours_ms"] = Median(t.ours) * 1000;
    state.counters["plain_ms"] = Median(t.plain) * 1000;
    state.counters["ratio"] = t.Ratio();
    state.counters["turns"] = static_cast<double>(t.ratios.size());
}

// Runs the benchmarks as BENCHMARK_MAIN does; false after an argument it
// does not know.
inline bool RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return false;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return true;
}

// "WHAT: OURS 12 ms, PLAIN 5 ms (medians of 7 turns), median ratio 2.40 (GOAL)"
inline void PrintTurns(const char* what, const char* ours, const char* plain, const Turns& t,
                       const char* goal) {
    if (!t.ratios.empty()) {
        std::printf("%s: %s %.0f ms, %s %.0f ms (medians of %zu turns), median ratio %.2f (%s)\n",
                    what, ours, Median(t.ours) * 1000, plain, Median(t.plain) * 1000,
                    t.ratios.size(), t.Ratio(), goal);
    }
}

} // namespace benchsupport
