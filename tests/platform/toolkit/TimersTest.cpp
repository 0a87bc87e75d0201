// Message-loop timers: the shortest period, on the real event loop and on the
// manual clock alike.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>

#include "platform/toolkit/Timers.h"

using namespace tk;

TEST(Timers, NoTimerFiresFasterThanTenMilliseconds) {
    // On the real loop: a zero or negative interval would otherwise fire on
    // every pass, thousands of times in 60 ms.
    for (int interval : {-5, 0, 3}) {
        int ticks = 0;
        TTimerService& service = TTimerService::Instance();
        const int id = service.Start(interval, [&] { ++ticks; });
        QEventLoop loop;
        QTimer::singleShot(60, &loop, &QEventLoop::quit);
        loop.exec();
        service.Stop(id);
        EXPECT_LE(ticks, 7) << interval;
    }

    // The manual clock keeps the same floor.
    TManualClockScope clock;
    int ticks = 0;
    TTimerService::Instance().Start(-5, [&] { ++ticks; });
    clock.Clock().Advance(9);
    EXPECT_EQ(ticks, 0);
    clock.Clock().Advance(16);
    EXPECT_EQ(ticks, 2);
}
