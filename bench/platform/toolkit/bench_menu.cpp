// Opening a 6-item owner-drawn popup menu and drawing it, with measure and
// draw callbacks of the weight the skin's have (bar, background, caption,
// short-cut text).
#include <QApplication>
#include <benchmark/benchmark.h>

#include "bench/GuiBenchMain.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Menus.h"

using namespace tk;

namespace {

struct Fixture {
    TComponentPtr<TForm> form{new TForm(nullptr)};
    TPopupMenu* menu = new TPopupMenu(form.get()); // owned by the form
    int drawn = 0;

    Fixture() {
        menu->SetOwnerDraw(true);
        const char* captions[] = {"&New", "&Open...", "&Save", "-", "&Options ...", "E&xit"};
        for (const char* caption : captions) {
            auto* item = new TMenuItem(form.get()); // owned by the form
            item->SetCaption(QString::fromLatin1(caption));
            if (!item->IsLine()) {
                item->SetShortCut(ShortCut('A' + menu->Items()->Count(), ssCtrl));
            }
            item->OnMeasureItem = [](TObject* s, TCanvas* c, int& w, int& h) {
                auto* it = static_cast<TMenuItem*>(s);
                h = it->IsLine() ? 5 : 21;
                w = c->TextWidth(it->Caption()) + c->TextWidth(it->ShortCutText()) + 26 + 40;
            };
            item->OnDrawItem = [this](TObject* s, TCanvas* c, const TRect& r, bool selected) {
                auto* it = static_cast<TMenuItem*>(s);
                ++drawn;
                c->Brush()->SetColor(0xCED3D6);
                c->FillRect(Rect(r.Left, r.Top, r.Left + 26, r.Bottom));
                c->Brush()->SetColor(selected ? 0xEC5E5E : 0xE7E7E7);
                c->FillRect(Rect(r.Left + 26, r.Top, r.Right, r.Bottom));
                if (it->IsLine()) {
                    c->Pen()->SetColor(0x848284);
                    c->MoveTo(r.Left + 30, r.Top + 2);
                    c->LineTo(r.Right - 2, r.Top + 2);
                    return;
                }
                c->Brush()->SetStyle(bsClear);
                TRect text = Rect(r.Left + 30, r.Top + 4, r.Right, r.Bottom);
                c->DrawText(it->Caption(), text, DT_SINGLELINE | DT_LEFT | DT_TOP);
                const QString sc = it->ShortCutText();
                c->TextOut(r.Right - c->TextWidth(sc) - 16, r.Top + 4, sc);
            };
            menu->Items()->Add(item);
        }
    }
};

void BM_OpenAndDrawOwnerDrawnMenu(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.drawn = 0;
        f.menu->Popup(100, 100);
        TMenuWindow* window = TMenuChain::Active() ? TMenuChain::Active()->Window(0) : nullptr;
        if (!window) {
            state.SkipWithError("the menu did not open");
            break;
        }
        // The window is exposed and painted by the event loop, as on screen.
        QApplication::processEvents();
        if (f.drawn != 6) {
            state.SkipWithError("the menu was not drawn");
            break;
        }
        state.PauseTiming();
        f.menu->CloseMenu();
        QApplication::processEvents(); // the closed window is deleted
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenAndDrawOwnerDrawnMenu)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchsupport::RunGuiBenchmarks(argc, argv);
}
