#include "platform/win32/Win32.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

TEST(System, LocalHeap) {
    auto* block = static_cast<unsigned char*>(LocalAlloc(LPTR, 64));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 64; ++i) {
        ASSERT_EQ(block[i], 0) << i;
    }
    EXPECT_EQ(LocalFree(block), nullptr);
    HLOCAL empty = LocalAlloc(LMEM_FIXED, 0);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(LocalFree(empty), nullptr);
    EXPECT_EQ(LocalFree(nullptr), nullptr);
}

TEST(System, TickCountMovesForward) {
    DWORD first = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(GetTickCount() - first, 20u);
}

TEST(System, WorkAreaAndMetrics) {
    RECT area{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    QRect expected = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(area.left, expected.left());
    EXPECT_EQ(area.top, expected.top());
    EXPECT_EQ(area.right - area.left, expected.width());
    EXPECT_EQ(area.bottom - area.top, expected.height());

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    for (const LOGFONTA* font : {&metrics.lfMenuFont, &metrics.lfCaptionFont, &metrics.lfStatusFont,
                                 &metrics.lfMessageFont}) {
        EXPECT_STREQ(font->lfFaceName, "Tahoma");
        EXPECT_EQ(font->lfHeight, -11);
        EXPECT_EQ(font->lfWeight, 400);
    }

    NONCLIENTMETRICSA wrong{};
    wrong.cbSize = sizeof(wrong) - 4;
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &wrong, 0));
    EXPECT_EQ(wrong.lfMenuFont.lfFaceName[0], '\0');
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETWORKAREA, 0, nullptr, 0));
    EXPECT_FALSE(SystemParametersInfoA(0x1234, 0, &area, 0));
}

} // namespace
