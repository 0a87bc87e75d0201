// The skinned frame against the toolkit's plain look: opening and drawing a
// 6-item popup menu, painting a title bar, painting a whole 800 x 600 window
// with its frame band, title bar and menu bar.
#include <QApplication>
#include <benchmark/benchmark.h>

#include "bench/GuiBenchMain.h"
#include "platform/toolkit/Forms.h"
#include "skin/SKForm.h"
#include "skin/SKMainMenu.h"
#include "skin/SKPopupMenu.h"

using namespace tk;
using namespace sk;

namespace {

void FillMenu(TForm* form, TMenu* menu) {
    const char* captions[] = {"&New", "&Open...", "&Save", "-", "&Options ...", "E&xit"};
    for (const char* caption : captions) {
        auto* item = new TMenuItem(form); // owned by the form
        item->SetCaption(QString::fromLatin1(caption));
        if (!item->IsLine()) {
            item->SetShortCut(ShortCut('A' + menu->Items()->Count(), ssCtrl));
        }
        menu->Items()->Add(item);
    }
}

template <class Menu> void OpenAndDraw(benchmark::State& state) {
    TComponentPtr<TForm> form(new TForm(nullptr));
    Menu* menu = new Menu(form.get()); // owned by the form
    FillMenu(form.get(), menu);
    for (auto _ : state) {
        menu->Popup(100, 100);
        TMenuWindow* window = TMenuChain::Active() ? TMenuChain::Active()->Window(0) : nullptr;
        if (!window) {
            state.SkipWithError("the menu did not open");
            break;
        }
        window->repaint();
        state.PauseTiming();
        menu->CloseMenu();
        QApplication::processEvents(); // the closed window is deleted
        state.ResumeTiming();
    }
}

void BM_OpenAndDrawPlainMenu(benchmark::State& state) {
    OpenAndDraw<TPopupMenu>(state);
}
BENCHMARK(BM_OpenAndDrawPlainMenu)->Unit(benchmark::kMicrosecond);

void BM_OpenAndDrawSkinnedMenu(benchmark::State& state) {
    OpenAndDraw<TskPopupMenu>(state);
}
BENCHMARK(BM_OpenAndDrawSkinnedMenu)->Unit(benchmark::kMicrosecond);

// An 800 x 600 window, skinned or plain, shown.
struct Window {
    explicit Window(bool skinned) {
        form->SetBounds(0, 0, 800, 600);
        form->SetCaption("Quenby for WAB - Clean Outlook Express Address Book");
        if (skinned) {
            frame = new TskForm(form.get()); // owned by the form
            frame->SetUIStyle(BlueGlass);
            auto* menu = new TskMainMenu(form.get()); // owned by the form
            for (const char* caption : {"&File", "Tools", "&Help"}) {
                auto* item = new TMenuItem(form.get()); // owned by the form
                item->SetCaption(QString::fromLatin1(caption));
                menu->Items()->Add(item);
            }
        }
        form->Show();
        QApplication::processEvents();
    }
    TComponentPtr<TForm> form{new TForm(nullptr)};
    TskForm* frame = nullptr;
};

// Rendering the whole window with every child, as the tests' pictures do.
void BM_PaintPlainWindow(benchmark::State& state) {
    Window w(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(w.form->Handle()->grab());
    }
}
BENCHMARK(BM_PaintPlainWindow)->Unit(benchmark::kMicrosecond);

void BM_PaintSkinnedWindow(benchmark::State& state) {
    Window w(true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(w.form->Handle()->grab());
    }
}
BENCHMARK(BM_PaintSkinnedWindow)->Unit(benchmark::kMicrosecond);

void BM_PaintTitleBar(benchmark::State& state) {
    Window w(true);
    QWidget* bar = w.frame->TitleBar()->Handle();
    for (auto _ : state) {
        bar->repaint();
    }
}
BENCHMARK(BM_PaintTitleBar)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return benchsupport::RunGuiBenchmarks(argc, argv);
}
