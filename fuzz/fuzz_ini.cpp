// The settings (INI) reader and writer on any file: every name it lists can
// be read, and a value written reads back as written.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/win32/Win32.h"

namespace {

std::vector<std::string> Names(const char* buffer, DWORD length) {
    std::vector<std::string> names;
    for (DWORD at = 0; at < length && buffer[at] != '\0';) {
        names.emplace_back(buffer + at);
        at += static_cast<DWORD>(names.back().size()) + 1;
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = fuzz::WriteInput("brindle.ini", data, size);
    const char* path = file.c_str();
    std::vector<char> buffer(4096);
    const auto room = static_cast<DWORD>(buffer.size());
    std::vector<std::string> sections = Names(
        buffer.data(), GetPrivateProfileStringA(nullptr, nullptr, "", buffer.data(), room, path));
    sections.push_back("Quenby");
    for (std::size_t s = 0; s < sections.size() && s < 8; ++s) {
        const char* section = sections[s].c_str();
        std::vector<std::string> keys =
            Names(buffer.data(),
                  GetPrivateProfileStringA(section, nullptr, "", buffer.data(), room, path));
        for (std::size_t k = 0; k < keys.size() && k < 8; ++k) {
            GetPrivateProfileStringA(section, keys[k].c_str(), "d", buffer.data(), 7, path);
            GetPrivateProfileIntA(section, keys[k].c_str(), -1, path);
        }
    }
    // The program's own settings, written into whatever the file holds.
    const char* wrote = "/tmp/a b.wab";
    if (!WritePrivateProfileStringA("Quenby", "WabName", wrote, path)) {
        std::abort();
    }
    GetPrivateProfileStringA("Quenby", "WabName", "", buffer.data(), room, path);
    if (std::strcmp(buffer.data(), wrote) != 0) {
        std::abort(); // a value written does not read back
    }
    WritePrivateProfileStringA("Quenby", "CheckMail", nullptr, path);
    WritePrivateProfileStringA(sections.front().c_str(), nullptr, nullptr, path);
    return 0;
}
