// The pop-up notice on a real X server, on the real timers: it slides in,
// goes by itself, and its close box works (the driver program does the
// looking and clicking).
#include "tests/skin/XDriverTest.h"

TEST(NoticeUnderX, SlidesInAndClosesByItself) {
    sktest::RunXDriver("skin_notice_xdriver");
}
