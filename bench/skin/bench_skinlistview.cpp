// Filling a report list with 100,000 six-column rows and selecting the
// first: the plain list, the skinned list in its border, and the skinned list
// driving linked skinned scroll bars, side by side in one run.
#include <QApplication>
#include <benchmark/benchmark.h>

#include "bench/ContactRows.h"
#include "bench/GuiBenchMain.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/ListView.h"
#include "skin/SKListView.h"

using namespace tk;

namespace {

constexpr int kRows = 100000;

enum class Kind { Plain, Skinned, SkinnedWithBars };

struct Fixture {
    TComponentPtr<TForm> form{new TForm(nullptr)};
    TListView* list = nullptr;

    explicit Fixture(Kind kind) {
        form->SetBounds(0, 0, 800, 600);
        if (kind == Kind::Plain) {
            list = new TListView(form.get()); // owned by the form
        } else {
            auto* skinned = new sk::TskListView(form.get()); // owned by the form
            skinned->SetUIStyle(sk::BlueGlass);
            list = skinned;
        }
        list->SetParent(form.get());
        list->SetBounds(0, 0, 800, 600);
        list->SetViewStyle(vsReport);
        benchsupport::AddContactColumns(list);
        if (kind == Kind::SkinnedWithBars) {
            auto* skinned = static_cast<sk::TskListView*>(list);
            for (bool vertical : {true, false}) {
                auto* bar = new sk::TskScrollBar(form.get()); // owned by the form
                bar->SetParent(form.get());
                if (vertical) {
                    skinned->SetVScrollBar(bar);
                } else {
                    skinned->SetHScrollBar(bar);
                }
            }
        }
        form->Show();
        QApplication::processEvents();
    }
    void Fill() { benchsupport::FillContactRows(list, kRows); }
};

void BM_FillAndSelectFirst(benchmark::State& state, Kind kind) {
    Fixture f(kind);
    for (auto _ : state) {
        f.Fill();
        benchmark::DoNotOptimize(f.list->Selected());
        // The linked bars follow once the loop runs; that is part of the fill.
        QApplication::processEvents();
        state.PauseTiming();
        f.list->Items()->Clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_FillAndSelectFirst, Plain, Kind::Plain)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_FillAndSelectFirst, Skinned, Kind::Skinned)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_FillAndSelectFirst, SkinnedWithBars, Kind::SkinnedWithBars)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return benchsupport::RunGuiBenchmarks(argc, argv);
}
