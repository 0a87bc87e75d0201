// The remaining skinned components against the toolkit's plain ones: an MDI
// window of three children activating the next child and drawing itself,
// with and without the skinned frame and children; a progress bar painted
// against a plain panel of its size.
#include <QApplication>
#include <benchmark/benchmark.h>

#include "bench/GuiBenchMain.h"
#include "platform/toolkit/MDI.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKForm.h"
#include "skin/SKMainMenu.h"
#include "skin/SKProgressBar.h"

using namespace tk;
using namespace sk;

namespace {

TMainMenu* AddMenu(TForm* owner, bool skinned, std::initializer_list<const char*> captions) {
    TMainMenu* menu = skinned ? new TskMainMenu(owner) : new TMainMenu(owner); // owned by the form
    for (const char* caption : captions) {
        auto* item = new TMenuItem(owner); // owned by the form
        item->SetCaption(QString::fromLatin1(caption));
        menu->Items()->Add(item);
    }
    return menu;
}

// An 800 x 600 MDI window with three children, one with a menu of its own.
struct MDIWindow {
    explicit MDIWindow(bool skinned) {
        host->SetBounds(0, 0, 800, 600);
        host->SetCaption("Frame");
        if (skinned) {
            auto* frame = new TskMDIForm(host.get()); // owned by the form
            frame->SetUIStyle(BlueGlass);
            frame->SetMenu(AddMenu(host.get(), true, {"&File", "&Window", "&Help"}));
        }
        host->Show();
        for (int i = 0; i < 3; ++i) {
            auto* child = new TForm(host.get()); // owned by the frame's form
            child->SetBounds(30 * i, 30 * i, 400, 300);
            host->AddMDIChild(child);
            if (skinned) {
                (new TskForm(child))->SetUIStyle(BlueGlass); // owned by the child
            }
            if (i == 2) {
                AddMenu(child, skinned, {"&Edit", "&View"});
            }
            child->Show();
            children.push_back(child);
        }
        QApplication::processEvents();
    }
    TComponentPtr<TMDIForm> host{new TMDIForm(nullptr)};
    std::vector<TForm*> children;
};

void SwitchAndDraw(benchmark::State& state, bool skinned) {
    MDIWindow w(skinned);
    std::size_t next = 0;
    for (auto _ : state) {
        w.children[next]->BringToFront();
        benchmark::DoNotOptimize(w.host->Handle()->grab());
        next = (next + 1) % w.children.size();
    }
}

void BM_SwitchPlainMDIChild(benchmark::State& state) {
    SwitchAndDraw(state, false);
}
BENCHMARK(BM_SwitchPlainMDIChild)->Unit(benchmark::kMicrosecond);

void BM_SwitchSkinnedMDIChild(benchmark::State& state) {
    SwitchAndDraw(state, true);
}
BENCHMARK(BM_SwitchSkinnedMDIChild)->Unit(benchmark::kMicrosecond);

template <class Bar> void PaintBar(benchmark::State& state) {
    TComponentPtr<TForm> form(new TForm(nullptr));
    form->SetBounds(0, 0, 300, 100);
    auto* bar = new Bar(form.get()); // owned by the form
    bar->SetParent(form.get());
    bar->SetBounds(10, 10, 150, 12);
    bar->SetCaption("50%");
    form->Show();
    QApplication::processEvents();
    QWidget* widget = bar->Handle();
    for (auto _ : state) {
        widget->repaint();
    }
}

void BM_PaintPlainPanel(benchmark::State& state) {
    PaintBar<TPanel>(state);
}
BENCHMARK(BM_PaintPlainPanel)->Unit(benchmark::kMicrosecond);

void BM_PaintProgressBar(benchmark::State& state) {
    PaintBar<TskProgressBar>(state);
}
BENCHMARK(BM_PaintProgressBar)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return benchsupport::RunGuiBenchmarks(argc, argv);
}
