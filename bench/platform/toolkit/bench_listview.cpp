// Filling the report list with 100,000 six-column rows and selecting the
// first; clearing it again.
#include <QApplication>
#include <benchmark/benchmark.h>

#include "bench/ContactRows.h"
#include "bench/GuiBenchMain.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ListView.h"

using namespace tk;

namespace {

constexpr int kRows = 100000;

struct Fixture {
    TComponentPtr<TForm> form{new TForm(nullptr)};
    TListView* list = nullptr;
    Fixture() {
        form->SetBounds(0, 0, 800, 600);
        list = new TListView(form.get()); // owned by the form
        list->SetParent(form.get());
        list->SetAlign(alClient);
        list->SetViewStyle(vsReport);
        benchsupport::AddContactColumns(list);
        form->Show();
        QApplication::processEvents();
    }
    void Fill() { benchsupport::FillContactRows(list, kRows); }
};

void BM_FillAndSelectFirst(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.Fill();
        benchmark::DoNotOptimize(f.list->Selected());
        state.PauseTiming();
        f.list->Items()->Clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FillAndSelectFirst)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Clear(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        state.PauseTiming();
        f.Fill();
        QApplication::processEvents();
        state.ResumeTiming();
        f.list->Items()->Clear();
    }
}
BENCHMARK(BM_Clear)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return benchsupport::RunGuiBenchmarks(argc, argv);
}
