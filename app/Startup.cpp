#include "app/Startup.h"

#include <cstdlib>

std::string MissingDisplayMessage() {
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    if (set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY")) {
        return {};
    }
    return "quenby: no display to show the window on (DISPLAY is not set); run it in a desktop "
           "session, or under a virtual X server: xvfb-run -a scripts/run";
}
