// The main window on large address books: from nothing to the first painted
// window, refilling the contact list, and deleting every duplicate with the
// refresh that follows. Ends with the process's peak memory next to the
// records' own size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>

#include "app/Main.h"
#include "app/Startup.h"
#include "bench/BenchSupport.h"
#include "bench/GuiBenchMain.h"
#include "common/oe/WabRecord.h"
#include "platform/win32/Win32Testing.h"
#include "skin/SKListView.h"

namespace {

namespace fs = std::filesystem;

// Books are made once per size; a benchmark that changes one works on a copy.
const std::string& Book(int count, bool pairs) {
    static std::map<std::pair<int, bool>, std::string> made;
    auto& file = made[{count, pairs}];
    if (file.empty()) {
        file = (benchsupport::Folder() /
                ("book-" + std::to_string(count) + (pairs ? "-pairs" : "") + ".wab"))
                   .string();
        benchsupport::MakeBook(file, count, pairs);
    }
    return file;
}

// The settings beside a stand-in program file, naming the book.
void UseBook(const std::string& file) {
    static const bool once = [] {
        const fs::path registry = benchsupport::Folder() / "registry";
        fs::create_directories(registry);
        setenv("QUENBY_REGISTRY_DIR", registry.c_str(), 1);
        setenv("XDG_DATA_HOME", (benchsupport::Folder() / "xdg").c_str(), 1);
        win32test::SetProgramFileName((benchsupport::Folder() / "quenby").string());
        return true;
    }();
    (void)once;
    QFile ini(QString::fromStdString((benchsupport::Folder() / "brindle.ini").string()));
    ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
    ini.write(QByteArray("[Quenby]\nWabName=") + file.c_str() + "\nCheckMail=1\nCheckName=0\n");
}

template <class F> double Seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_StartToFirstPaint(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    UseBook(Book(count, false));
    for (auto _ : state) {
        tk::TComponentPtr<TfmMain> fm;
        state.SetIterationTime(Seconds([&] {
            fm.reset(new TfmMain(tk::Application));
            fm->Show();
            fm->Handle()->repaint();
            QApplication::processEvents();
        }));
        if (fm->slvItems->Items()->Count() != count) {
            state.SkipWithError("the list does not hold the book");
        }
        fm.reset();
    }
}

void BM_FillRecordList(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    UseBook(Book(count, false));
    tk::TComponentPtr<TfmMain> fm(new TfmMain(tk::Application));
    for (auto _ : state) {
        fm->FillRecordList();
    }
    if (fm->slvItems->Items()->Count() != count) {
        state.SkipWithError("the list does not hold the book");
    }
}

void BM_DeleteAllDuplicates(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string& book = Book(count, true);
    const std::string copy = (benchsupport::Folder() / "work.wab").string();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(copy);
        fs::copy_file(book, copy);
        UseBook(copy);
        tk::TComponentPtr<TfmMain> fm(new TfmMain(tk::Application));
        win32test::ScriptMessageBox(IDYES);
        state.ResumeTiming();
        fm->btnDelAllClick(fm.get());
        state.PauseTiming();
        if (fm->slvItems->Items()->Count() != count / 2) {
            state.SkipWithError("not every duplicate went");
        }
        fm.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_StartToFirstPaint)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();
BENCHMARK(BM_FillRecordList)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DeleteAllDuplicates)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    KeepFreedHeap(); // as the program does at start-up
    const int status = benchsupport::RunGuiBenchmarks(argc, argv);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("Peak memory %.0f MiB; 100,000 records take %.0f MiB (%zu bytes each)\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0,
                100000.0 * sizeof(WabRecord) / (1024.0 * 1024.0), sizeof(WabRecord));
    return status;
}
