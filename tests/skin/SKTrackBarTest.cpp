// Track bars and scroll bars on real widgets: the value and thumb mapping,
// the page repeat on the manual clock, dragging the thumb, keys, ticks, and
// the scroll bar's thumb length, layout, pictures and arrow repeat.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Timers.h"
#include "skin/SKScrollBar.h"
#include "skin/SKTrackBar.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;

namespace {

struct Host : sktest::THostForm {
    Host() : THostForm(420, 320) {}
    void Show() {
        form->Show();
        QApplication::processEvents();
    }
};

// A 0..100 track whose thumb (11 pixels along the axis in BlueGlass) has 200
// pixels to travel: value v sits under the pointer at 5 + 2v.
TskTrackBar* HundredTrack(Host& host, TskProgressBarOrientation orientation) {
    auto* track = host.Add<TskTrackBar>(10, 10);
    track->SetUIStyle(BlueGlass);
    track->SetOrientation(orientation);
    if (orientation == skHorizontal) {
        track->SetWidth(211);
    } else {
        track->SetHeight(211);
    }
    track->SetMax(100);
    track->SetPageSize(10);
    return track;
}

QPoint Along(const TskTrackBar* track, int along) {
    return track->Orientation() == skHorizontal ? QPoint(along, track->Height() / 2)
                                                : QPoint(track->Width() / 2, along);
}

QImage Face(TControl* c) {
    return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(SkinTrackBar, HeldPressStepsTowardsThePointerAndStopsUnderIt) {
    struct Case {
        TskProgressBarOrientation orientation;
        std::vector<int> positions; // after the press, then after every 100 ms
    } cases[] = {
        {skHorizontal, {10, 40, 70, 80, 80}},
        {skVertical, {10, 20, 30, 40, 50, 60, 70, 80, 80}},
    };
    for (const Case& c : cases) {
        TManualClockScope clock;
        Host host;
        TskTrackBar* track = HundredTrack(host, c.orientation);
        std::vector<int> changes;
        track->OnChange = [&](TObject*) { changes.push_back(track->GetLastChange()); };
        host.Show();
        QWidget* h = track->Handle();
        QTest::mousePress(h, Qt::LeftButton, {}, Along(track, 5 + 2 * 80));
        std::vector<int> seen{track->Position()};
        for (std::size_t i = 1; i < c.positions.size(); ++i) {
            clock.Clock().Advance(100);
            seen.push_back(track->Position());
        }
        EXPECT_EQ(seen, c.positions) << c.orientation;
        EXPECT_TRUE(track->PageTimerRunning());
        EXPECT_EQ(changes.front(), 10);
        EXPECT_EQ(changes.size(), c.positions.size() - 1);
        EXPECT_TRUE(track->Focused());

        // Back to the left of (above) the thumb: steps down, the same way.
        QTest::mouseMove(h, Along(track, 5 + 2 * 30));
        clock.Clock().Advance(100);
        EXPECT_EQ(track->Position(), c.orientation == skHorizontal ? 50 : 70);
        QTest::mouseRelease(h, Qt::LeftButton, {}, Along(track, 5 + 2 * 30));
        EXPECT_FALSE(track->PageTimerRunning());
        const int released = track->Position();
        clock.Clock().Advance(1000);
        EXPECT_EQ(track->Position(), released);

        // Leaving the track while held ends the repeat as well.
        QTest::mousePress(h, Qt::LeftButton, {}, Along(track, 5 + 2 * 90));
        EXPECT_TRUE(track->PageTimerRunning());
        QTest::mouseMove(h, QPoint(-30, -30));
        EXPECT_FALSE(track->PageTimerRunning());
        QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(-30, -30));
    }
}

TEST(SkinTrackBar, ValueUnderThePointerRoundsHalfToEven) {
    Host host;
    TskTrackBar* track = HundredTrack(host, skHorizontal);
    const struct {
        int x;
        int value;
    } cases[] = {
        {5, 0},   {6, 0},     {7, 1},    {8, 2},     // (x - 5) / 2: 0.5 -> 0, 1.5 -> 2
        {10, 2},  {12, 4},    {105, 50}, {205, 100}, // 2.5 -> 2, 3.5 -> 4
        {-40, 0}, {400, 100},                        // clamped
    };
    for (const auto& c : cases) {
        EXPECT_EQ(track->GetPositionFromSliderPos(c.x, 0), c.value) << c.x;
    }
    track->SetPosition(50);
    EXPECT_EQ(track->SliderRect().Left, 100);
    EXPECT_EQ(track->SliderRect().Top, 0);
    const QPoint vertical = [] {
        Host other;
        TskTrackBar* v = HundredTrack(other, skVertical);
        v->SetPosition(25);
        return QPoint(v->SliderRect().Left, v->SliderRect().Top);
    }();
    EXPECT_EQ(vertical, QPoint(0, 50));
}

TEST(SkinTrackBar, EmptyRangeKeepsTheThumbAtTheStartWithoutTicks) {
    Host host;
    auto* track = host.Add<TskTrackBar>(10, 10);
    track->SetUIStyle(BlueGlass);
    track->SetWidth(150);
    track->SetMax(0);
    EXPECT_EQ(track->Max(), 0);
    host.Show();
    EXPECT_EQ(track->SliderRect().Left, 0);
    const QImage face = Face(track);
    for (int x = 12; x < 150; ++x) {
        EXPECT_NE(face.pixel(x, face.height() - 2), qRgb(0, 0, 0)) << "tick at " << x;
    }
    QTest::mousePress(track->Slider()->Handle(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(track->Handle(), QPoint(120, 5));
    EXPECT_EQ(track->Position(), 0);
    QTest::mouseRelease(track->Handle(), Qt::LeftButton, {}, QPoint(120, 5));
}

TEST(SkinTrackBar, DraggingTheThumbFollowsThePointer) {
    Host host;
    TskTrackBar* track = HundredTrack(host, skHorizontal);
    std::vector<int> changes;
    track->OnChange = [&](TObject*) { changes.push_back(track->GetLastChange()); };
    std::vector<QPoint> downs;
    std::vector<QPoint> ups;
    track->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        downs.emplace_back(x, y);
    };
    track->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        ups.emplace_back(x, y);
    };
    track->SetPosition(10);
    changes.clear();
    host.Show();

    // The press lands on the thumb, which keeps the pointer while it is held.
    QTest::mousePress(track->Slider()->Handle(), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(track->Dragging());
    EXPECT_FALSE(track->PageTimerRunning());
    EXPECT_EQ(downs, std::vector<QPoint>{QPoint(25, 8)});
    QTest::mouseMove(track->Handle(), QPoint(105, 8));
    EXPECT_EQ(track->Position(), 50);
    EXPECT_EQ(track->SliderRect().Left, 100);
    QTest::mouseMove(track->Handle(), QPoint(300, 40)); // off the track: clamped
    EXPECT_EQ(track->Position(), 100);
    QTest::mouseRelease(track->Handle(), Qt::LeftButton, {}, QPoint(300, 40));
    EXPECT_FALSE(track->Dragging());
    EXPECT_EQ(ups, std::vector<QPoint>{QPoint(300, 40)});
    EXPECT_EQ(changes, (std::vector<int>{40, 50}));
}

TEST(SkinTrackBar, KeysStepByPageAndLine) {
    const struct {
        Qt::Key key;
        int position; // from 50
    } cases[] = {
        {Qt::Key_PageUp, 40}, {Qt::Key_PageDown, 60}, {Qt::Key_Home, 0},   {Qt::Key_End, 100},
        {Qt::Key_Left, 47},   {Qt::Key_Up, 47},       {Qt::Key_Right, 53}, {Qt::Key_Down, 53},
    };
    Host host;
    TskTrackBar* track = HundredTrack(host, skHorizontal);
    track->SetLineSize(3);
    host.Show();
    QApplication::setActiveWindow(host.form->Handle());
    track->SetFocus();
    for (const auto& c : cases) {
        track->SetPosition(50);
        QTest::keyClick(QApplication::focusWidget(), c.key);
        EXPECT_EQ(track->Position(), c.position) << c.key;
    }
}

TEST(SkinTrackBar, RangeRulesClampOrIgnore) {
    Host host;
    TskTrackBar* track = HundredTrack(host, skHorizontal);
    track->SetPosition(70);
    track->SetPageSize(101); // above Max: ignored
    EXPECT_EQ(track->PageSize(), 10);
    track->SetLineSize(-1);
    EXPECT_EQ(track->LineSize(), 1);
    track->SetPosition(500);
    EXPECT_EQ(track->Position(), 100);
    track->SetMax(40); // pulls the position in
    EXPECT_EQ(track->Position(), 40);
    track->SetMin(60); // above Max: becomes Max
    EXPECT_EQ(track->Min(), 40);
    track->SetMin(0);
    track->SetMax(-5); // below Min: becomes Min
    EXPECT_EQ(track->Max(), 0);
    EXPECT_EQ(track->Position(), 0);
}

TEST(SkinTrackBar, GrooveThumbAndTicksFollowTheStyle) {
    for (TskProgressBarOrientation o : {skHorizontal, skVertical}) {
        Host host;
        auto* track = host.Add<TskTrackBar>(10, 10);
        track->SetOrientation(o);
        track->SetUIStyle(WinXP);
        track->SetHeight(o == skHorizontal ? track->Height() : 150);
        track->SetFrequency(5); // ticks at 0, 5 and 10
        // Cross size: the larger of bar (8) and thumb (21 across, 22 upright).
        EXPECT_EQ(o == skHorizontal ? track->Height() : track->Width(),
                  o == skHorizontal ? 21 : 22);
        EXPECT_EQ(o == skHorizontal ? track->Groove().Height() : track->Groove().Width(), 8);
        EXPECT_EQ(track->SliderImage()->Width(), o == skHorizontal ? 11 : 22);
        EXPECT_FALSE(track->Transparent());
        host.Show();
        const QImage face = Face(track);
        const int room = 150 - 11;
        // The thumb stands over the first one.
        for (int v : {5, 10}) {
            const int at = room * v / 10 + 5;
            const QPoint tick = o == skHorizontal ? QPoint(at, face.height() - 3) : QPoint(1, at);
            EXPECT_EQ(face.pixel(tick), qRgb(0, 0, 0)) << o << " value " << v;
        }
    }
    Host host;
    auto* mac = host.Add<TskTrackBar>(0, 0);
    mac->SetUIStyle(MacOS);
    EXPECT_TRUE(mac->Transparent());
    // A frequency that never reaches Max ticks both ends only (and paints).
    mac->SetWidth(150);
    mac->SetFrequency(0);
    mac->SetPosition(5);
    host.Show();
    const QImage face = Face(mac);
    EXPECT_EQ(face.pixel(5, face.height() - 2), qRgb(0, 0, 0));
    EXPECT_EQ(face.pixel(144, face.height() - 2), qRgb(0, 0, 0));
}

// ---- scroll bar --------------------------------------------------------------------

TEST(SkinScrollBar, ThumbFromLineButtonOrPageSizePercent) {
    Host host;
    auto* bar = host.Add<TskScrollBar>(10, 10);
    bar->SetUIStyle(BlueGlass);
    bar->SetOrientation(skVertical);
    bar->SetHeight(233); // 16-pixel arrows: a track of 200
    ASSERT_EQ(bar->TrackBar()->Height(), 200);
    const struct {
        int pageSize;
        int lineButton;
        int thumb;
    } cases[] = {
        {5, 0, 20},    // below 10 percent: 10 percent
        {50, 0, 100},  // percent of the track
        {100, 0, 200}, // the whole track
        {50, 12, 18},  // a short line button is raised to 18
        {50, 40, 40},  // a line button wins over the page size
        {50, 250, 40}, // one that does not fit between the arrows is refused
    };
    for (const auto& c : cases) {
        bar->SetPageSize(c.pageSize);
        bar->SetLineButton(c.lineButton);
        EXPECT_EQ(bar->TrackBar()->SliderRect().Height(), c.thumb)
            << c.pageSize << " " << c.lineButton;
        EXPECT_EQ(bar->TrackBar()->SliderRect().Width(), 16);
    }
    bar->SetLineButton(0);
    bar->SetPageSize(150); // above Max: ignored, the thumb stays
    EXPECT_EQ(bar->PageSize(), 50);
    EXPECT_EQ(bar->TrackBar()->SliderRect().Height(), 100);
    bar->SetLargeChange(20); // the page size, without a new thumb
    EXPECT_EQ(bar->PageSize(), 20);
    EXPECT_EQ(bar->TrackBar()->SliderRect().Height(), 100);
}

TEST(SkinScrollBar, LayoutAndPicturesFollowOrientationAndStyle) {
    const struct {
        TskUIStyle style;
        int slice;     // arrow slice width (the vertical bar's width)
        int length;    // arrow slice height
        TColor colour; // theme item 31
    } cases[] = {
        {MacOS, 16, 22, 0xC9C9C9},
        {WinXP, 16, 17, 0xF9F9F9},
        {DeepBlue, 16, 16, 0xF5F5F5},
        {BlueGlass, 17, 16, 0xF4F4F4},
    };
    for (const auto& c : cases) {
        Host host;
        auto* bar = host.Add<TskScrollBar>(10, 10);
        bar->SetOrientation(skVertical);
        bar->SetUIStyle(c.style);
        bar->SetHeight(150);
        EXPECT_EQ(bar->Color(), c.colour);
        EXPECT_EQ(bar->TrackBar()->Color(), c.colour);
        EXPECT_EQ(bar->Width(), c.slice) << c.style;
        EXPECT_EQ(bar->DecButton()->BoundsRect(), Rect(0, 0, c.slice, c.length));
        EXPECT_EQ(bar->IncButton()->BoundsRect(), Rect(0, 150 - c.length, c.slice, 150));
        EXPECT_EQ(bar->TrackBar()->BoundsRect(), Rect(0, c.length, c.slice, 150 - c.length - 1));

        // Across: arrows turned a quarter anticlockwise, the bar as high as
        // they are.
        bar->SetOrientation(skHorizontal);
        bar->SetWidth(150);
        EXPECT_EQ(bar->Height(), c.slice);
        EXPECT_EQ(bar->DecButton()->BoundsRect(), Rect(0, 0, c.length, c.slice));
        EXPECT_EQ(bar->TrackBar()->BoundsRect(), Rect(c.length, 0, 150 - c.length, c.slice));
        TBitmap strip;
        GetInsideThemeBitmap(c.style, siScrollBarButtonImage, &strip, 6, 4);
        RoundPicture(&strip);
        EXPECT_TRUE(bar->IncButton()->PicNormal()->Bitmap()->Image().convertToFormat(
                        QImage::Format_RGB32) ==
                    strip.Image().convertToFormat(QImage::Format_RGB32))
            << c.style;
    }
}

TEST(SkinScrollBar, HeldArrowsStepEveryHundredMilliseconds) {
    const struct {
        bool increment;
        int held;
        int position; // from 50, SmallChange 4
    } cases[] = {
        {true, 350, 62},
        {false, 350, 38},
        {true, 90, 50},
        {false, 2000, 0},
    };
    for (const auto& c : cases) {
        TManualClockScope clock;
        Host host;
        auto* bar = host.Add<TskScrollBar>(10, 10);
        bar->SetUIStyle(DeepBlue);
        bar->SetPosition(50);
        bar->SetSmallChange(4);
        host.Show();
        QWidget* button = (c.increment ? bar->IncButton() : bar->DecButton())->Handle();
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        clock.Clock().Advance(c.held);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(bar->Position(), c.position) << c.increment << " " << c.held;
    }
}
