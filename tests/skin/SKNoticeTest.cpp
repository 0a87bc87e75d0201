// The pop-up notice on the manual clock: sliding in, staying, sliding out and
// one OnClose; the close box; its place; a tick count that wraps; clicks.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/toolkit/Timers.h"
#include "skin/SKThemes.h"
#include "skin/frmMSNPop.h"
#include "tests/skin/FrameTestSupport.h"

using namespace sk;
using namespace tk;
using namespace sktest;
using Phase = TfrmMSNPopForm::TPhase;

namespace {

struct NoticeTest : ::testing::Test {
    TManualClockScope clock;
    TComponentPtr<TskMSNPopForm> notice{new TskMSNPopForm(nullptr)};
    TfrmMSNPopForm* window = notice->Window();
    int closes = 0;
    int clicks = 0;
    int titleClicks = 0;
    void SetUp() override {
        TestApplication();
        notice->SetTitle("Quenby for WAB");
        notice->SetMessageText("12 duplicates deleted");
        notice->OnClose = [this](TObject*) { ++closes; };
        notice->OnClick = [this](TObject*) { ++clicks; };
        notice->OnTitleClick = [this](TObject*) { ++titleClicks; };
    }
    void Advance(int ms) { clock.Clock().Advance(ms); }
    TRect Placed() const { return window->BoundsRect(); }
};

} // namespace

TEST_F(NoticeTest, SlidesInStaysSlidesOutAndClosesOnce) {
    EXPECT_EQ(window->Width(), 181);
    EXPECT_EQ(window->Height(), 116);
    EXPECT_FALSE(window->Visible());
    const TRect area = GetWorkAreaRect();
    const TRect rest = Bounds(area.Right - 181 - 18, area.Bottom - 116, 181, 116);

    notice->Popup();
    EXPECT_EQ(window->Phase(), Phase::SlidingIn);
    EXPECT_TRUE(window->Handle()->isVisible());
    EXPECT_EQ(window->lbl_title->Caption(), "Quenby for WAB");
    EXPECT_EQ(window->lbl_text->Caption(), "12 duplicates deleted");
    EXPECT_EQ(window->lbl_text->Font()->Color(), clNavy);
    // Half way: the top half shows, standing on the work area's bottom.
    Advance(200);
    EXPECT_EQ(Placed(), Rect(rest.Left, rest.Bottom - 58, rest.Right, rest.Bottom));
    Advance(200);
    EXPECT_EQ(window->Phase(), Phase::Shown);
    EXPECT_EQ(Placed(), rest);

    // About two seconds up, looked at every 100 ms.
    Advance(1900);
    EXPECT_EQ(window->Phase(), Phase::Shown);
    Advance(100);
    EXPECT_EQ(window->Phase(), Phase::SlidingOut);
    EXPECT_EQ(closes, 0);
    Advance(200);
    EXPECT_EQ(Placed().Height(), 58);
    EXPECT_EQ(Placed().Bottom, rest.Bottom);
    Advance(200);
    EXPECT_EQ(window->Phase(), Phase::Hidden);
    EXPECT_FALSE(window->Handle()->isVisible());
    EXPECT_EQ(closes, 1);
    Advance(5000);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(clock.Clock().ActiveCount(), 0);
}

TEST_F(NoticeTest, TheCloseBoxHidesAtOnce) {
    notice->Popup();
    Advance(400);
    ASSERT_EQ(window->Phase(), Phase::Shown);
    // Just outside the box does nothing but a click.
    QTest::mouseClick(window->Handle(), Qt::LeftButton, {}, QPoint(161, 10));
    EXPECT_EQ(window->Phase(), Phase::Shown);
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(window->Handle(), Qt::LeftButton, {}, QPoint(175, 19));
    EXPECT_EQ(window->Phase(), Phase::Hidden);
    EXPECT_FALSE(window->Handle()->isVisible());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(clicks, 1);
    Advance(3000);
    EXPECT_EQ(closes, 1);
}

TEST_F(NoticeTest, PlacedWhereAskedAndUpdatedWhileUp) {
    notice->SetAutoPosition(false);
    notice->SetPositionX(100);
    notice->SetPositionY(100);
    notice->Popup();
    Advance(400);
    EXPECT_EQ(Placed(), Bounds(100, 100, 181, 116));
    // Popping up again while up: new text and place, the same stay.
    Advance(1000);
    notice->SetPositionY(120);
    notice->SetMessageText("Again");
    notice->Popup();
    EXPECT_EQ(Placed(), Bounds(100, 120, 181, 116));
    EXPECT_EQ(window->lbl_text->Caption(), "Again");
    Advance(1000);
    EXPECT_EQ(window->Phase(), Phase::SlidingOut);
}

TEST_F(NoticeTest, ATickCountThatWrapsEndsTheDisplay) {
    clock.Clock().SetTickCount(0xFFFFFFFFu - 550);
    notice->Popup();
    Advance(400);
    ASSERT_EQ(window->Phase(), Phase::Shown);
    Advance(100);
    EXPECT_EQ(window->Phase(), Phase::Shown);
    // The counter passes 0 before the next look.
    Advance(100);
    EXPECT_EQ(window->Phase(), Phase::SlidingOut);
}

TEST_F(NoticeTest, ClicksAndClickHide) {
    notice->Popup();
    Advance(400);
    QTest::mouseClick(window->lbl_title->Handle(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseClick(window->lbl_text->Handle(), Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(titleClicks, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(window->Phase(), Phase::Shown);
    // With ClickHide a click on the body sends it away.
    notice->SetClickHide(true);
    notice->Popup();
    QTest::mouseClick(window->Handle(), Qt::LeftButton, {}, QPoint(90, 100));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(window->Phase(), Phase::SlidingOut);
    // Close while sliding out changes nothing; OnClose comes once at the end.
    notice->Close();
    Advance(400);
    EXPECT_EQ(closes, 1);
    notice->Close();
    EXPECT_EQ(closes, 1);
}

TEST_F(NoticeTest, PaintsItsPicture) {
    notice->Popup();
    Advance(400);
    const QImage face = Shot(window->Handle());
    const QImage picture = window->Background().Image();
    ASSERT_EQ(picture.size(), QSize(181, 116));
    // The close box's corner and a point of the body away from the texts.
    for (QPoint p : {QPoint(170, 8), QPoint(5, 110)}) {
        EXPECT_EQ(PixelAt(face, p.x(), p.y()), picture.pixel(p) & 0xFFFFFF);
    }
}
