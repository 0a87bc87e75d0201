// skin_notice_xdriver [SHOTDIR]: the pop-up notice on a real X server (the
// test starts a bare Xvfb for it), on the real message-loop timers: it slides
// up from the bottom of the screen, shows its picture, and goes by itself
// after its stay; a second one goes at once by a real click (XTest) on its
// close box. Prints one line per step; the exit status is the number of
// failed steps.
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <set>

#include "skin/SKThemes.h"
#include "skin/frmMSNPop.h"

// Last: the X headers' macros would break the headers above.
#include "tests/skin/xdriver/XDriverSupport.h"

using namespace tk;
using namespace sk;
using xdriver::Step;

namespace {

QImage Screen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

// Whether the screen shows rows First .. Last of the picture with its top-left
// corner at At (the columns left and right of the texts checked).
bool Shows(const QImage& screen, const QImage& picture, QPoint at, int first, int last) {
    for (int y = first; y <= last; ++y) {
        for (int x : {3, 176}) {
            if ((screen.pixel(at.x() + x, at.y() + y) & 0xFFFFFF) !=
                (picture.pixel(x, y) & 0xFFFFFF)) {
                return false;
            }
        }
    }
    return true;
}

struct Notice {
    TComponentPtr<TskMSNPopForm> component{new TskMSNPopForm(nullptr)};
    TfrmMSNPopForm* window = component->Window();
    int closes = 0;
    Notice() {
        component->SetTitle("Quenby for WAB");
        component->SetMessageText("12 duplicate contacts were deleted.");
        component->SetStayTime(1000);
        component->OnClose = [this](TObject*) { ++closes; };
    }
};

void SlidesInAndGoesByItself(const QString& shots) {
    Notice n;
    const TRect area = GetWorkAreaRect();
    const QPoint rest(area.Right - 181 - 18, area.Bottom - 116);
    const QImage picture = n.window->Background().Image();
    QElapsedTimer clock;
    clock.start();
    n.component->Popup();
    // Watch the slide: the notice grows from the bottom edge of the screen.
    std::set<int> heights;
    bool partShown = false;
    while (n.window->Phase() == TfrmMSNPopForm::TPhase::SlidingIn && clock.elapsed() < 5000) {
        QTest::qWait(15);
        const int h = n.window->Height();
        heights.insert(h);
        if (!partShown && h > 20 && h < 96) {
            const QImage screen = Screen();
            // The top rows of the picture sit on the bottom of the screen.
            partShown = n.window->Height() == h &&
                        Shows(screen, picture, QPoint(rest.x(), area.Bottom - h), 0, 15);
            if (partShown && !shots.isEmpty()) {
                screen.save(shots + "/notice-sliding-xvfb.png");
            }
        }
    }
    const qint64 slide = clock.elapsed();
    Step("the notice slides in", heights.size() >= 3 && slide >= 400,
         QString("%1 heights in %2 ms").arg(heights.size()).arg(slide));
    Step("part way, its top shows at the bottom of the screen", partShown);
    QTest::qWait(50);
    const QImage screen = Screen();
    if (!shots.isEmpty()) {
        screen.save(shots + "/notice-xvfb.png");
    }
    const TRect placed = n.window->BoundsRect();
    Step("it rests at the bottom right of the screen",
         placed == Bounds(rest.x(), rest.y(), 181, 116) && Shows(screen, picture, rest, 0, 115),
         QString("at %1,%2 %3x%4")
             .arg(placed.Left)
             .arg(placed.Top)
             .arg(placed.Width())
             .arg(placed.Height()));
    const bool gone = QTest::qWaitFor([&] { return n.closes > 0; }, 5000);
    Step("it goes by itself, telling OnClose once", gone && n.closes == 1,
         QString("after %1 ms").arg(clock.elapsed()));
    Step("its window is gone", !n.window->Handle()->isVisible());
    QTest::qWait(300);
    Step("OnClose came once only", n.closes == 1);
}

void TheCloseBoxClosesAtOnce(Display* display) {
    Notice n;
    n.component->SetStayTime(60000);
    n.component->Popup();
    const bool up =
        QTest::qWaitFor([&] { return n.window->Phase() == TfrmMSNPopForm::TPhase::Shown; }, 5000);
    Step("a second notice comes up", up);
    const TRect box = TfrmMSNPopForm::CloseBox();
    const QPoint at = n.window->Handle()->mapToGlobal(QPoint(box.Left + 6, box.Top + 6));
    XTestFakeMotionEvent(display, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
    const bool closed = QTest::qWaitFor([&] { return n.closes == 1; }, 5000);
    Step("its close box closes it at once",
         closed && !n.window->Handle()->isVisible() &&
             n.window->Phase() == TfrmMSNPopForm::TPhase::Hidden);
}

} // namespace

int main(int argc, char** argv) {
    return xdriver::Run(argc, argv, [](Display* display, const QString& shots) {
        SlidesInAndGoesByItself(shots);
        TheCloseBoxClosesAtOnce(display);
    });
}
