// A skinned window on a real X server without a window manager, moved,
// maximised, restored, minimised and closed by real pointer and key events
// (the driver program sends them through XTest).
#include "tests/skin/XDriverTest.h"

TEST(TskFormUnderX, MovesMaximisesMinimisesRunsShortCutsAndCloses) {
    sktest::RunXDriver("skin_frame_xdriver");
}
