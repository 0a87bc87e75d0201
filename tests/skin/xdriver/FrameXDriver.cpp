// skin_frame_xdriver [SHOTDIR]: a skinned window on a real X server (the test
// starts a bare Xvfb for it), driven by real pointer and key events through
// the XTest extension: it moves by its title bar, maximises and restores by
// double click and by its button, does not move while maximised, minimises,
// runs a menu short-cut, and closes from its system menu and its close
// button. Prints one line per step; the exit status is the number of failed
// steps.
#include <QScreen>
#include <QTest>

#include "platform/toolkit/Forms.h"
#include "skin/SKForm.h"
#include "skin/SKMainMenu.h"

// Last: the X headers' macros would break the headers above.
#include "tests/skin/xdriver/XDriverSupport.h"
#include <X11/keysym.h>

using namespace tk;
using namespace sk;
using xdriver::Step;

namespace {

bool WaitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 5000);
}

QString Geometry(const TControl* c) {
    return QStringLiteral("%1,%2 %3x%4")
        .arg(c->Left())
        .arg(c->Top())
        .arg(c->Width())
        .arg(c->Height());
}

// Real input through the X server.
class Pointer {
public:
    explicit Pointer(Display* display) : m_display(display) {}
    void MoveTo(QPoint p) {
        XTestFakeMotionEvent(m_display, -1, p.x(), p.y(), CurrentTime);
        Sync();
    }
    void Press() {
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        Sync();
    }
    void Release() {
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        Sync();
    }
    void Click(QPoint p) {
        MoveTo(p);
        Press();
        Release();
    }
    void DoubleClick(QPoint p) {
        MoveTo(p);
        for (int i = 0; i < 2; ++i) {
            XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
            XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        }
        Sync();
    }
    void Drag(QPoint from, QPoint by) {
        MoveTo(from);
        Press();
        for (int step = 1; step <= 5; ++step) {
            MoveTo(from + by * step / 5);
        }
        Release();
    }
    void Key(KeySym modifier, KeySym key) {
        const KeyCode mod = XKeysymToKeycode(m_display, modifier);
        const KeyCode code = XKeysymToKeycode(m_display, key);
        XTestFakeKeyEvent(m_display, mod, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XTestFakeKeyEvent(m_display, mod, False, CurrentTime);
        Sync();
    }

private:
    void Sync() {
        XSync(m_display, False);
        QTest::qWait(30); // the events reach the program through its own connection
    }
    Display* m_display;
};

struct SkinnedWindow {
    SkinnedWindow() {
        form->SetBorderStyle(bsSizeable);
        form->SetBounds(100, 100, 400, 260);
        form->SetCaption("Skinned window under X");
        skinned = new TskForm(form.get()); // owned by the form
        skinned->SetUIStyle(BlueGlass);
        auto* menu = new TskMainMenu(form.get()); // owned by the form
        auto* file = new TMenuItem(form.get());   // owned by the form
        file->SetCaption("&File");
        menu->Items()->Add(file);
        auto* run = new TMenuItem(form.get()); // owned by the form
        run->SetCaption("&Run");
        run->SetShortCut(ShortCut('R', ssCtrl));
        run->OnClick = [this](TObject*) { ++runs; };
        file->Add(run);
    }
    bool Show() {
        form->Show();
        return QTest::qWaitForWindowExposed(form->Handle()) &&
               QTest::qWaitForWindowActive(form->Handle());
    }
    // A screen point of the title bar.
    QPoint Title(int x, int y) const {
        const TPoint p = skinned->TitleBar()->ClientToScreen({x, y});
        return {p.x, p.y};
    }
    QPoint Button(int index) const {
        const TskTitleBar* bar = skinned->TitleBar();
        const TRect r = bar->Layout(bar->Width()).buttons.at(static_cast<std::size_t>(index));
        return Title(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    }
    QPoint Caption() const { return Title(200, 15); }

    TComponentPtr<TForm> form{new TForm(nullptr)};
    TskForm* skinned = nullptr;
    int runs = 0;
};

void MovesAndMaximises(SkinnedWindow& w, Pointer& pointer, const QString& shots) {
    const TRect start = w.form->BoundsRect();
    // The corner outside the rounded shape shows the white root window.
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    if (!shots.isEmpty()) {
        screen.save(shots + "/frame-xvfb.png");
    }
    Step("the window is shaped",
         (screen.pixel(start.Left, start.Top) & 0xFFFFFF) == 0xFFFFFF &&
             (screen.pixel(start.Left + 30, start.Top + 10) & 0xFFFFFF) != 0xFFFFFF);

    pointer.Drag(w.Caption(), QPoint(60, 40));
    Step("dragging the title bar moves the window", WaitFor([&] {
             return w.form->Left() == start.Left + 60 && w.form->Top() == start.Top + 40;
         }),
         Geometry(w.form.get()));
    const TRect moved = w.form->BoundsRect();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    const TRect maximised = Rect(work.left(), work.top(), work.right() + 1, work.bottom());

    pointer.DoubleClick(w.Caption());
    Step("a double click maximises",
         WaitFor([&] { return w.form->BoundsRect() == maximised; }) &&
             w.form->WindowState() == wsMaximized,
         Geometry(w.form.get()));
    pointer.Drag(w.Caption(), QPoint(50, 50));
    QTest::qWait(100);
    Step("a maximised window does not move", w.form->BoundsRect() == maximised,
         Geometry(w.form.get()));
    pointer.DoubleClick(w.Caption());
    Step("a second double click restores",
         WaitFor([&] { return w.form->BoundsRect() == moved; }) &&
             w.form->WindowState() == wsNormal,
         Geometry(w.form.get()));

    pointer.Click(w.Button(2));
    Step("the maximise button maximises",
         WaitFor([&] { return w.form->BoundsRect() == maximised; }), Geometry(w.form.get()));
    pointer.Click(w.Button(2));
    Step("the restore button restores", WaitFor([&] { return w.form->BoundsRect() == moved; }),
         Geometry(w.form.get()));
}

void MinimisesRunsAndCloses(SkinnedWindow& w, Pointer& pointer) {
    pointer.Click(w.Button(3));
    Step("the minimise button minimises",
         WaitFor([&] { return w.form->WindowState() == wsMinimized; }));
    w.form->SetWindowState(wsNormal);
    w.form->BringToFront();
    Step("the window comes back", QTest::qWaitForWindowActive(w.form->Handle()));

    pointer.MoveTo(w.Title(150, 100));
    pointer.Key(XK_Control_L, XK_r);
    Step("a menu short-cut runs", WaitFor([&] { return w.runs == 1; }));

    pointer.Click(w.Button(0));
    TskTitleBarPopupMenu* system = w.skinned->TitleBar()->SystemMenu();
    const bool open = WaitFor([&] {
        return TMenuChain::Active() && TMenuChain::Active()->Root() == system->Items() &&
               TMenuChain::Active()->Window(0)->isVisible();
    });
    Step("the control box opens the system menu", open);
    if (open) {
        TMenuWindow* menu = TMenuChain::Active()->Window(0);
        const TRect close = menu->RowRect(3);
        const QPoint at =
            menu->mapToGlobal(QPoint(close.Left + 30, close.Top + close.Height() / 2) +
                              QPoint(TMenuWindow::Border, TMenuWindow::Border));
        pointer.Click(at);
        Step("its close item closes the window",
             WaitFor([&] { return !w.form->Visible() && !w.form->Handle()->isVisible(); }));
    }

    Step("the window shows again", w.Show());
    pointer.Click(w.Button(1));
    Step("the close button closes the window",
         WaitFor([&] { return !w.form->Visible() && !w.form->Handle()->isVisible(); }));
}

} // namespace

int main(int argc, char** argv) {
    return xdriver::Run(argc, argv, [](Display* display, const QString& shots) {
        SkinnedWindow w;
        Step("the window shows", w.Show());
        Pointer pointer(display);
        MovesAndMaximises(w, pointer, shots);
        MinimisesRunsAndCloses(w, pointer);
    });
}
