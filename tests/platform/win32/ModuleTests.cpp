#include "platform/win32/Win32.h"
#include "platform/win32/Win32Testing.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

namespace {

std::string Executable() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf));
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

TEST(Module, WindowsNamesMapToLinuxFileNames) {
    const struct {
        const char* name;
        const char* mapped;
    } cases[] = {
        {"WAB32.DLL", "libwab32.so"},
        {"wab32.dll", "libwab32.so"},
        {"Wab32", "libwab32.so"},
        {"WAB32.", "libwab32.so"},
        {"libm.so.6", "libm.so.6"},
        {"libWab.so", "libWab.so"},
        {".dll", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(win32test::MappedLibraryName(c.name), c.mapped) << c.name;
    }
    EXPECT_EQ(win32test::MappedLibraryName(nullptr), "");
}

TEST(Module, ProgramPathAndFolder) {
    const std::string exe = Executable();
    ASSERT_FALSE(exe.empty());
    char buf[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameA(nullptr, buf, sizeof(buf)), exe.size());
    EXPECT_EQ(std::string(buf), exe);

    // Cut to the buffer, NUL-terminated, the buffer size returned.
    char small[5];
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof(small)), 5u);
    EXPECT_EQ(std::string(small), exe.substr(0, 4));

    std::string folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(exe.substr(0, folder.size()), folder);
    EXPECT_EQ(exe.find('/', folder.size()), std::string::npos);
}

TEST(Module, LoadsByMappedNameFromTheProgramFolderAndByPath) {
    using Answer = int (*)();
    const std::string expectedPath = GetProgramFolder() + "libwin32testlib.so";
    for (const char* name : {"WIN32TESTLIB.DLL", WIN32TESTLIB_PATH}) {
        SCOPED_TRACE(name);
        HMODULE lib = LoadLibraryA(name);
        ASSERT_NE(lib, nullptr);
        FARPROC proc = GetProcAddress(lib, "win32testlib_answer");
        ASSERT_NE(proc, nullptr);
        EXPECT_EQ(reinterpret_cast<Answer>(proc)(), 42);
        EXPECT_EQ(GetProcAddress(lib, "no_such_symbol"), nullptr);
        EXPECT_EQ(GetProcAddress(lib, reinterpret_cast<LPCSTR>(1)), nullptr); // an ordinal

        char path[MAX_PATH];
        ASSERT_GT(GetModuleFileNameA(lib, path, sizeof(path)), 0u);
        EXPECT_EQ(std::filesystem::path(path), std::filesystem::path(expectedPath));
        EXPECT_TRUE(FreeLibrary(lib));
        EXPECT_FALSE(FreeLibrary(lib)) << "a freed handle must be refused";
        EXPECT_EQ(GetProcAddress(lib, "win32testlib_answer"), nullptr);
    }
}

TEST(Module, UnloadableNamesGiveNull) {
    for (const char* name :
         {"/nonexistent/libwab32.so", "C:\\Program Files\\WAB32.DLL", "NOSUCHLIBRARY.DLL", ""}) {
        EXPECT_EQ(LoadLibraryA(name), nullptr) << name;
    }
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(0x1234)));
}

} // namespace
