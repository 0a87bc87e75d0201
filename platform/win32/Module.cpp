// Modules and libraries on top of dlopen. Handles are what dlopen returned;
// they are kept in a table so that a stale or foreign handle is refused
// instead of being handed to the dynamic loader, which would crash on it.
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Testing.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>
#include <vector>

namespace {

struct LoadedLibrary {
    std::string path;
    int references = 0;
};

std::mutex& TableMutex() {
    static std::mutex m;
    return m;
}

// What GetModuleFileNameA reports for the program, when a test says.
std::string& ProgramFileOverride() {
    static std::string path;
    return path;
}

std::map<void*, LoadedLibrary>& Table() {
    static std::map<void*, LoadedLibrary> t;
    return t;
}

std::string ExecutablePath() {
    std::vector<char> buf(256);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) {
            return {};
        }
        if (static_cast<std::size_t>(n) < buf.size()) {
            return std::string(buf.data(), static_cast<std::size_t>(n));
        }
        buf.resize(buf.size() * 2);
    }
}

std::string CurrentDirectory() {
    std::vector<char> buf(256);
    while (getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE) {
            return {};
        }
        buf.resize(buf.size() * 2);
    }
    return buf.data();
}

bool EndsWithNoCase(std::string_view s, std::string_view tail) {
    if (s.size() < tail.size()) {
        return false;
    }
    return std::equal(tail.begin(), tail.end(), s.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

// The path the loader used for a handle, made absolute (symbolic links are
// kept, as the name the library was loaded under is what callers expect).
std::string PathOf(void* handle) {
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_name == nullptr) {
        return {};
    }
    std::string path = map->l_name;
    if (!path.empty() && path.front() != '/') {
        path = CurrentDirectory() + "/" + path;
    }
    return path;
}

HMODULE Open(const std::string& file) {
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return nullptr;
    }
    std::lock_guard lock(TableMutex());
    LoadedLibrary& entry = Table()[handle];
    if (entry.references++ == 0) {
        entry.path = PathOf(handle);
    }
    return reinterpret_cast<HMODULE>(handle);
}

} // namespace

namespace win32test {

std::string MappedLibraryName(const char* name) {
    std::string_view n = name != nullptr ? name : "";
    if (n.empty()) {
        return {};
    }
    // Already a Linux file name: leave it alone.
    if (EndsWithNoCase(n, ".so") || n.find(".so.") != std::string_view::npos) {
        return std::string(n);
    }
    std::string stem(n);
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (EndsWithNoCase(stem, ".dll")) {
        stem.resize(stem.size() - 4);
    } else if (stem.back() == '.') {
        // A trailing dot is how Windows callers say "no extension".
        stem.pop_back();
    }
    if (stem.empty()) {
        return {};
    }
    return "lib" + stem + ".so";
}

void SetProgramFileName(const std::string& path) {
    ProgramFileOverride() = path;
}

} // namespace win32test

std::string GetProgramFolder() {
    std::string exe = ExecutablePath();
    std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return exe.substr(0, slash + 1);
}

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    if (lpFilename == nullptr || nSize == 0) {
        return 0;
    }
    std::string path;
    if (hModule == nullptr) {
        path = ProgramFileOverride().empty() ? ExecutablePath() : ProgramFileOverride();
    } else {
        std::lock_guard lock(TableMutex());
        auto it = Table().find(hModule);
        if (it != Table().end()) {
            path = it->second.path;
        }
    }
    if (path.empty()) {
        lpFilename[0] = '\0';
        return 0;
    }
    if (path.size() < nSize) {
        std::memcpy(lpFilename, path.data(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    }
    std::memcpy(lpFilename, path.data(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
    return nSize;
}

HMODULE LoadLibraryA(LPCSTR lpLibFileName) {
    if (lpLibFileName == nullptr || *lpLibFileName == '\0') {
        return nullptr;
    }
    std::string_view name = lpLibFileName;
    if (name.find('/') != std::string_view::npos) {
        return Open(std::string(name));
    }
    // A Windows path ("C:\...") names nothing on this system; searching the
    // library path for it could only find something unintended.
    if (name.find('\\') != std::string_view::npos) {
        return nullptr;
    }
    std::string mapped = win32test::MappedLibraryName(lpLibFileName);
    if (mapped.empty()) {
        return nullptr;
    }
    std::string folder = GetProgramFolder();
    if (!folder.empty()) {
        if (HMODULE h = Open(folder + mapped)) {
            return h;
        }
    }
    return Open(mapped);
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    // Names below 0x10000 are ordinals on Windows; there are none here, and
    // they must not be read as strings.
    if (hModule == nullptr || reinterpret_cast<std::uintptr_t>(lpProcName) < 0x10000) {
        return nullptr;
    }
    {
        std::lock_guard lock(TableMutex());
        if (Table().count(hModule) == 0) {
            return nullptr;
        }
    }
    void* symbol = dlsym(hModule, lpProcName);
    FARPROC proc = nullptr;
    static_assert(sizeof(proc) == sizeof(symbol));
    std::memcpy(&proc, &symbol, sizeof(proc));
    return proc;
}

BOOL FreeLibrary(HMODULE hLibModule) {
    {
        std::lock_guard lock(TableMutex());
        auto it = Table().find(hLibModule);
        if (hLibModule == nullptr || it == Table().end()) {
            return FALSE;
        }
        if (--it->second.references == 0) {
            Table().erase(it);
        }
    }
    // Outside the lock: the library's destructors may load or free others.
    return dlclose(hLibModule) == 0 ? TRUE : FALSE;
}
