// Read-only registry backed by one text file per hive:
//   HKEY_LOCAL_MACHINE  /etc/quenby/registry/HKEY_LOCAL_MACHINE.reg
//   HKEY_CURRENT_USER   ${XDG_CONFIG_HOME:-~/.config}/quenby/registry/HKEY_CURRENT_USER.reg
// When QUENBY_REGISTRY_DIR is set, both files are read from that folder
// instead ($QUENBY_REGISTRY_DIR/<HIVE>.reg).
//
// File format, a subset of the usual .reg export:
//   ; comment (also '#'); blank lines and lines that do not parse are ignored
//   [Software\Microsoft\WAB\DLLPath]   a key, path below the hive; a leading
//                                      "HKEY_LOCAL_MACHINE\" (the hive's own
//                                      name) is allowed and dropped
//   @="/opt/quenby/libwab32.so"        the key's default value, REG_SZ
//   "Name"="text"                      REG_SZ; inside quotes \\ is a
//                                      backslash and \" a quote
//   "Name"=expand:"text"               REG_EXPAND_SZ (never expanded here)
//   "Name"=dword:0000002a              REG_DWORD, hexadecimal
//   "Name"=hex:01,02,ff                REG_BINARY
// Key paths are backslash-separated and, like value names, match without
// regard to ASCII case. The parents of a listed key exist too. A missing
// file is an empty hive. A value given twice keeps the later one.
//
// A key handle holds the key's values as they were when it was opened.
#include "platform/win32/Win32.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

namespace {

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

using Values = std::map<std::string, Value>; // by lower-case name; "" is the default value

enum class HiveId { LocalMachine, CurrentUser };

struct Hive {
    std::map<std::string, Values> keys; // by normalised path
};

struct OpenKey {
    HiveId hive;
    std::string path;
    Values values;
};

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view s) {
    std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool StartsWithNoCase(std::string_view s, std::string_view head) {
    return s.size() >= head.size() && Lower(s.substr(0, head.size())) == head;
}

const char* HiveName(HiveId id) {
    return id == HiveId::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// Lower case, empty components (leading, trailing, doubled backslashes)
// dropped, so that equal keys compare equal as strings.
std::string Normalise(std::string_view path) {
    std::string out;
    while (!path.empty()) {
        std::size_t sep = path.find('\\');
        std::string_view part = path.substr(0, sep);
        if (!part.empty()) {
            if (!out.empty()) {
                out += '\\';
            }
            out += Lower(part);
        }
        if (sep == std::string_view::npos) {
            break;
        }
        path.remove_prefix(sep + 1);
    }
    return out;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return {};
}

std::string HiveFile(HiveId id) {
    std::string file = std::string(HiveName(id)) + ".reg";
    if (const char* dir = std::getenv("QUENBY_REGISTRY_DIR"); dir != nullptr && *dir != '\0') {
        return std::string(dir) + "/" + file;
    }
    if (id == HiveId::LocalMachine) {
        return "/etc/quenby/registry/" + file;
    }
    std::string config;
    // Relative values are invalid by the desktop's own rules and are ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        config = xdg;
    } else {
        std::string home = HomeFolder();
        if (home.empty()) {
            return {};
        }
        config = home + "/.config";
    }
    return config + "/quenby/registry/" + file;
}

// A quoted string starting at s[pos]; pos ends after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view s, std::size_t& pos) {
    if (pos >= s.size() || s[pos] != '"') {
        return std::nullopt;
    }
    std::string out;
    for (++pos; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == '\\' && pos + 1 < s.size()) {
            out += s[++pos];
        } else if (c == '"') {
            ++pos;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

std::optional<Value> StringValue(DWORD type, std::string_view s) {
    std::size_t pos = 0;
    auto text = ParseQuoted(s, pos);
    if (!text || !Trim(s.substr(pos)).empty()) {
        return std::nullopt;
    }
    Value v{type, std::vector<BYTE>(text->begin(), text->end())};
    v.data.push_back(0);
    return v;
}

std::optional<Value> ParseData(std::string_view d) {
    if (!d.empty() && d.front() == '"') {
        return StringValue(REG_SZ, d);
    }
    if (StartsWithNoCase(d, "expand:")) {
        return StringValue(REG_EXPAND_SZ, Trim(d.substr(7)));
    }
    if (StartsWithNoCase(d, "dword:")) {
        std::string_view digits = Trim(d.substr(6));
        std::uint32_t n = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n, 16);
        if (ec != std::errc() || end != digits.data() + digits.size() || digits.size() > 8) {
            return std::nullopt;
        }
        Value v{REG_DWORD, {}};
        for (int i = 0; i < 4; ++i) {
            v.data.push_back(static_cast<BYTE>(n >> (8 * i)));
        }
        return v;
    }
    if (StartsWithNoCase(d, "hex:")) {
        Value v{REG_BINARY, {}};
        std::string_view rest = d.substr(4);
        while (!Trim(rest).empty()) {
            std::size_t comma = rest.find(',');
            std::string_view byte = Trim(rest.substr(0, comma));
            unsigned n = 0;
            auto [end, ec] = std::from_chars(byte.data(), byte.data() + byte.size(), n, 16);
            if (ec != std::errc() || end != byte.data() + byte.size() || n > 0xff) {
                return std::nullopt;
            }
            v.data.push_back(static_cast<BYTE>(n));
            if (comma == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(comma + 1);
        }
        return v;
    }
    return std::nullopt;
}

void ParseValueLine(std::string_view t, Values& values) {
    std::string name;
    std::size_t pos = 0;
    if (t.front() == '@') {
        pos = 1;
    } else if (auto quoted = ParseQuoted(t, pos)) {
        name = Lower(*quoted);
    } else {
        return;
    }
    std::string_view rest = Trim(t.substr(pos));
    if (rest.empty() || rest.front() != '=') {
        return;
    }
    if (auto value = ParseData(Trim(rest.substr(1)))) {
        values[name] = std::move(*value);
    }
}

Hive LoadHive(HiveId id) {
    Hive hive;
    std::string file = HiveFile(id);
    if (file.empty()) {
        return hive;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string prefix = Lower(HiveName(id));
    Values* current = nullptr;
    std::string line;
    while (std::getline(in, line)) {
        std::string_view t = Trim(line);
        if (t.empty() || t.front() == ';' || t.front() == '#') {
            continue;
        }
        if (t.front() == '[') {
            std::size_t close = t.rfind(']');
            if (close == std::string_view::npos) {
                current = nullptr;
                continue;
            }
            std::string path = Normalise(t.substr(1, close - 1));
            if (path == prefix) {
                path.clear();
            } else if (path.compare(0, prefix.size() + 1, prefix + "\\") == 0) {
                path.erase(0, prefix.size() + 1);
            }
            current = &hive.keys[path];
            continue;
        }
        if (current != nullptr) {
            ParseValueLine(t, *current);
        }
    }
    return hive;
}

bool KeyExists(const Hive& hive, const std::string& path) {
    if (path.empty() || hive.keys.count(path) != 0) {
        return true;
    }
    std::string child = path + "\\";
    auto it = hive.keys.lower_bound(child);
    return it != hive.keys.end() && it->first.compare(0, child.size(), child) == 0;
}

std::mutex& HandleMutex() {
    static std::mutex m;
    return m;
}

// Open keys, owned here from RegOpenKeyExA until RegCloseKey.
std::map<HKEY, std::unique_ptr<OpenKey>>& Handles() {
    static std::map<HKEY, std::unique_ptr<OpenKey>> h;
    return h;
}

std::optional<HiveId> Predefined(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) {
        return HiveId::LocalMachine;
    }
    if (key == HKEY_CURRENT_USER) {
        return HiveId::CurrentUser;
    }
    return std::nullopt;
}

constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | 0x0020 /* create link */ |
                                0x00010000 /* delete */ | 0x00040000 /* write DAC */ |
                                0x00080000 /* write owner */;

} // namespace

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired,
                      HKEY* phkResult) {
    if (phkResult == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    if ((samDesired & kWriteRights) != 0) {
        return ERROR_ACCESS_DENIED;
    }
    HiveId hive;
    std::string path;
    if (auto id = Predefined(hKey)) {
        hive = *id;
    } else {
        std::lock_guard lock(HandleMutex());
        auto it = Handles().find(hKey);
        if (it == Handles().end()) {
            return ERROR_INVALID_HANDLE;
        }
        hive = it->second->hive;
        path = it->second->path;
    }
    std::string sub = Normalise(lpSubKey != nullptr ? lpSubKey : "");
    if (!sub.empty()) {
        path = path.empty() ? sub : path + "\\" + sub;
    }
    Hive loaded = LoadHive(hive);
    if (!KeyExists(loaded, path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    auto key = std::make_unique<OpenKey>();
    key->hive = hive;
    key->values = std::move(loaded.keys[path]);
    key->path = std::move(path);
    HKEY handle = reinterpret_cast<HKEY>(key.get());
    std::lock_guard lock(HandleMutex());
    Handles().emplace(handle, std::move(key));
    *phkResult = handle;
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                         LPBYTE lpData, LPDWORD lpcbData) {
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::string name = Lower(lpValueName != nullptr ? lpValueName : "");
    Value value;
    if (auto id = Predefined(hKey)) {
        Hive hive = LoadHive(*id);
        auto it = hive.keys.find(std::string());
        if (it == hive.keys.end() || it->second.count(name) == 0) {
            return ERROR_FILE_NOT_FOUND;
        }
        value = it->second[name];
    } else {
        std::lock_guard lock(HandleMutex());
        auto it = Handles().find(hKey);
        if (it == Handles().end()) {
            return ERROR_INVALID_HANDLE;
        }
        auto found = it->second->values.find(name);
        if (found == it->second->values.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
        value = found->second;
    }
    if (lpType != nullptr) {
        *lpType = value.type;
    }
    if (lpcbData != nullptr) {
        auto size = static_cast<DWORD>(value.data.size());
        if (lpData != nullptr) {
            if (*lpcbData < size) {
                *lpcbData = size;
                return ERROR_MORE_DATA;
            }
            if (size != 0) {
                std::memcpy(lpData, value.data.data(), size);
            }
        }
        *lpcbData = size;
    }
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY hKey) {
    if (Predefined(hKey)) {
        return ERROR_SUCCESS;
    }
    std::lock_guard lock(HandleMutex());
    return Handles().erase(hKey) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
