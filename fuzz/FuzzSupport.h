// What the fuzz targets share: a private folder for the files a reader must
// be given by name, and a Qt application for the readers that need one.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#ifdef QT_CORE_LIB
#include <QtGlobal>
#endif

namespace fuzz {

// A folder of this process, on tmpfs where there is one, so each input
// written there costs no disk; removed by nobody (the run is short and the
// name is unique).
inline const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern =
            (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::string("/tmp")) +
            "/quenby-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

inline std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = Folder() + "/" + name;
    chmod(path.c_str(), 0600); // a run may have left it read-only
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

// The offscreen platform, as the tests use it; set before Qt starts.
inline void UseOffscreenQt() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_FONT_DPI", "96", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        setenv("XDG_RUNTIME_DIR", Folder().c_str(), 1);
    }
}

#ifdef QT_CORE_LIB
// Qt's warnings about the images and texts it is fed are no findings, and
// printing them slows the run down.
inline void QuietQt() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}
#endif

} // namespace fuzz
