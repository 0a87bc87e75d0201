// Linked into every test executable: the folders of the source and build
// trees, and a reproducible Qt (offscreen, 96 DPI, no scaling), set before
// main runs. Values already in the environment win.
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const bool kEnvironmentSet = [] {
    setenv("QUENBY_SOURCE_DIR", QUENBY_SOURCE_DIR, 0);
    setenv("QUENBY_BINARY_DIR", QUENBY_BINARY_DIR, 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_FONT_DPI", "96", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
    setenv("QT_SCALE_FACTOR", "1", 0);
    // Qt wants a private runtime folder and complains on every run without.
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::string dir = "/tmp/quenby-test-runtime-" + std::to_string(getuid());
        mkdir(dir.c_str(), 0700);
        chmod(dir.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
    }
    return true;
}();
} // namespace
