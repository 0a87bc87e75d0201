// Helpers shared by the address-book tests: temp folders, environment
// overrides, file contents, property values, whole entries.
#pragma once

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <unistd.h>

#include "platform/wab32/WabAbi.h"
#include "tools/wabtool/WabClient.h"

namespace wabtest {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quenby-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~TempDir() {
        std::error_code ec;
        // Read-only leftovers of a test must not keep the folder alive.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Sets (or, with nullopt, removes) an environment variable for a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        Apply(value);
    }
    ~ScopedEnv() { Apply(m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Apply(const std::optional<std::string>& value) {
        if (value) {
            setenv(m_name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }
    std::string m_name;
    std::optional<std::string> m_old;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// SQLite's own verdict on a store: "ok", or what is wrong.
inline std::string IntegrityOf(const std::string& file) {
    sqlite3* db = nullptr;
    std::string verdict = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            verdict = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return verdict;
}

inline SPropValue StringProp(ULONG tag, const char* text) {
    SPropValue v{};
    v.ulPropTag = tag;
    v.Value.lpszA = const_cast<char*>(text);
    return v;
}

// The scripted-failure build of the library, for failures no file can cause
// and for a clock the test sets.
class FaultLibrary {
public:
    explicit FaultLibrary(const char* path) : m_handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
    ~FaultLibrary() {
        if (m_handle != nullptr) {
            dlclose(m_handle);
        }
    }
    FaultLibrary(const FaultLibrary&) = delete;
    FaultLibrary& operator=(const FaultLibrary&) = delete;
    LPWABOPEN Entry() const {
        return m_handle != nullptr ? reinterpret_cast<LPWABOPEN>(dlsym(m_handle, "WABOpen"))
                                   : nullptr;
    }
    // Opens `file` with the library's clock at `seconds` since 1970.
    HRESULT OpenAt(wabtool::AddressBook& book, const std::string& file,
                   std::int64_t seconds) const {
        ScopedEnv now("WAB32NOW", std::to_string(seconds));
        return book.Open(file, 0, Entry());
    }

private:
    void* m_handle;
};

// One property as text: its tag and its value, whatever the type.
inline std::string Render(const SPropValue& v) {
    std::string text = std::to_string(v.ulPropTag) + "=";
    switch (PROP_TYPE(v.ulPropTag)) {
    case PT_STRING8:
        return text + v.Value.lpszA;
    case PT_BINARY:
        return text + std::string(reinterpret_cast<const char*>(v.Value.bin.lpb), v.Value.bin.cb);
    case PT_MV_STRING8:
        for (ULONG i = 0; i < v.Value.MVszA.cValues; ++i) {
            text += std::string(v.Value.MVszA.lppszA[i]) + '\x01';
        }
        return text;
    case PT_SHORT:
        return text + std::to_string(v.Value.i);
    case PT_SYSTIME:
        return text + std::to_string(v.Value.ft.dwHighDateTime) + ":" +
               std::to_string(v.Value.ft.dwLowDateTime);
    default:
        return text + std::to_string(v.Value.l);
    }
}

// Identifiers ordered as text: the vectors' own ordering makes GCC 12 at -O3
// warn falsely of an oversized memcmp.
struct IdLess {
    bool operator()(const std::vector<BYTE>& a, const std::vector<BYTE>& b) const {
        return std::string_view(reinterpret_cast<const char*>(a.data()), a.size()) <
               std::string_view(reinterpret_cast<const char*>(b.data()), b.size());
    }
};
using Snapshot = std::map<std::vector<BYTE>, std::vector<std::string>, IdLess>;

// Every entry of a book by identifier, with all its properties in order.
inline Snapshot Entries(wabtool::AddressBook& book) {
    Snapshot entries;
    book.ForEach([&](const wabtool::EntryView& e) {
        auto& props = entries[std::vector<BYTE>(e.entryId.lpb, e.entryId.lpb + e.entryId.cb)];
        for (ULONG i = 0; i < e.count; ++i) {
            props.push_back(Render(e.props[i]));
        }
        return true;
    });
    return entries;
}

} // namespace wabtest
