// Profile (INI) files. Every call reads the file afresh. A write changes only
// the lines it must and replaces the whole file through a temporary file in
// the same folder and a rename, so a crash never leaves half a file and a
// write that fails leaves the old file byte for byte as it was.
//
// Lines whose first non-blank character is ';' are comments; lines that are
// neither "[section]" nor "key=value" are kept but never match. Names match
// without regard to ASCII case; the first match wins when a name repeats.
#include "platform/win32/Win32.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

struct Line {
    std::string text;
    std::string eol; // "\n", "\r\n", or "" for a last line without one
};

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    std::string_view name;
    std::string_view value;
};

Parsed Parse(std::string_view text) {
    std::string_view t = Trim(text);
    if (t.empty() || t.front() == ';') {
        return {};
    }
    if (t.front() == '[') {
        std::size_t close = t.find(']');
        if (close == std::string_view::npos) {
            return {};
        }
        return {Kind::Section, Trim(t.substr(1, close - 1)), {}};
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
        return {};
    }
    return {Kind::Key, Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

void AddUnique(std::vector<std::string>& names, std::string_view name) {
    for (const std::string& n : names) {
        if (EqualNoCase(n, name)) {
            return;
        }
    }
    names.emplace_back(name);
}

class Profile {
public:
    static Profile FromText(std::string_view text) {
        Profile p;
        if (text.substr(0, kBom.size()) == kBom) {
            p.bom_ = kBom;
            text.remove_prefix(kBom.size());
        }
        bool eolKnown = false;
        while (!text.empty()) {
            std::size_t nl = text.find('\n');
            Line line;
            if (nl == std::string_view::npos) {
                line.text = text;
                text = {};
            } else {
                bool crlf = nl > 0 && text[nl - 1] == '\r';
                line.text = text.substr(0, crlf ? nl - 1 : nl);
                line.eol = crlf ? "\r\n" : "\n";
                text.remove_prefix(nl + 1);
                if (!eolKnown) {
                    p.eol_ = line.eol;
                    eolKnown = true;
                }
            }
            p.lines_.push_back(std::move(line));
        }
        return p;
    }

    std::string ToText() const {
        std::string out = bom_;
        for (const Line& l : lines_) {
            out += l.text;
            out += l.eol;
        }
        return out;
    }

    // The trimmed raw value; it points into this object.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const {
        bool in = false;
        for (const Line& l : lines_) {
            Parsed p = Parse(l.text);
            if (p.kind == Kind::Section) {
                in = EqualNoCase(p.name, section);
            } else if (in && p.kind == Kind::Key && EqualNoCase(p.name, key)) {
                return p.value;
            }
        }
        return std::nullopt;
    }

    std::vector<std::string> Sections() const {
        std::vector<std::string> names;
        for (const Line& l : lines_) {
            Parsed p = Parse(l.text);
            if (p.kind == Kind::Section) {
                AddUnique(names, p.name);
            }
        }
        return names;
    }

    std::vector<std::string> Keys(std::string_view section) const {
        std::vector<std::string> names;
        bool in = false;
        for (const Line& l : lines_) {
            Parsed p = Parse(l.text);
            if (p.kind == Kind::Section) {
                in = EqualNoCase(p.name, section);
            } else if (in && p.kind == Kind::Key) {
                AddUnique(names, p.name);
            }
        }
        return names;
    }

    void Set(std::string_view section, std::string_view key, std::string_view value) {
        bool in = false;
        int sectionsSeen = 0;
        std::optional<std::size_t> insertAfter;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            Line& l = lines_[i];
            Parsed p = Parse(l.text);
            if (p.kind == Kind::Section) {
                in = EqualNoCase(p.name, section);
                if (in && ++sectionsSeen == 1) {
                    insertAfter = i;
                }
            } else if (in && p.kind == Kind::Key) {
                if (EqualNoCase(p.name, key)) {
                    // Keep the key as spelled in the file and the spacing
                    // around '='; only the value changes.
                    std::size_t start = l.text.find('=') + 1;
                    start = std::min(l.text.find_first_not_of(kBlanks, start), l.text.size());
                    l.text.resize(start);
                    l.text += value;
                    return;
                }
                if (sectionsSeen == 1) {
                    insertAfter = i;
                }
            }
        }
        Line entry{std::string(key) + "=" + std::string(value), eol_};
        if (insertAfter) {
            if (lines_[*insertAfter].eol.empty()) {
                lines_[*insertAfter].eol = eol_;
            }
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAfter + 1),
                          std::move(entry));
            return;
        }
        if (!lines_.empty() && lines_.back().eol.empty()) {
            lines_.back().eol = eol_;
        }
        // Appended piecewise: GCC 12 warns (falsely) on "[" + std::string(...).
        std::string header("[");
        header.append(section).append("]");
        lines_.push_back(Line{std::move(header), eol_});
        lines_.push_back(std::move(entry));
    }

    void DeleteKey(std::string_view section, std::string_view key) {
        bool in = false;
        std::vector<Line> kept;
        for (Line& l : lines_) {
            Parsed p = Parse(l.text);
            if (p.kind == Kind::Section) {
                in = EqualNoCase(p.name, section);
            } else if (in && p.kind == Kind::Key && EqualNoCase(p.name, key)) {
                continue;
            }
            kept.push_back(std::move(l));
        }
        lines_ = std::move(kept);
    }

    void DeleteSection(std::string_view section) {
        bool in = false;
        std::vector<Line> kept;
        for (Line& l : lines_) {
            Parsed p = Parse(l.text);
            if (p.kind == Kind::Section) {
                in = EqualNoCase(p.name, section);
            }
            if (!in) {
                kept.push_back(std::move(l));
            }
        }
        lines_ = std::move(kept);
    }

private:
    std::string bom_;
    std::vector<Line> lines_;
    std::string eol_ = "\n";
};

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now so that the caller sees the error a late write may report.
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWhole(const char* path, std::string& out, struct stat* info = nullptr) {
    Fd fd(::open(path, O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return ReadResult::Failed;
    }
    if (info != nullptr) {
        *info = st;
    }
    out.clear();
    char buf[8192];
    for (;;) {
        ssize_t n = ::read(fd.get(), buf, sizeof(buf));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return ReadResult::Failed;
        }
        if (n == 0) {
            return ReadResult::Ok;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
}

// A folder or file without any write permission bit counts as read-only even
// for a privileged user, as a read-only attribute would on Windows.
bool MayWrite(const std::string& path) {
    struct stat st {};
    return ::access(path.c_str(), W_OK) == 0 && ::stat(path.c_str(), &st) == 0 &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Removes the temporary file unless it was renamed into place.
struct TempName {
    std::string path;
    bool committed = false;
    ~TempName() {
        if (!path.empty() && !committed) {
            ::unlink(path.c_str());
        }
    }
};

bool ReplaceFile(const char* fileName, std::string_view text, bool existed,
                 const struct stat& old) {
    std::string target = fileName;
    if (existed) {
        // Write through a symbolic link rather than replacing the link.
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(fileName, nullptr), &std::free);
        if (real) {
            target = real.get();
        }
    }
    std::size_t slash = target.rfind('/');
    std::string dir =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (!MayWrite(dir) || (existed && !MayWrite(target))) {
        return false;
    }

    static std::atomic<unsigned> counter{0};
    TempName temp;
    int raw = -1;
    for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
        temp.path = dir + "/." + base.substr(0, 64) + "." + std::to_string(::getpid()) + "." +
                    std::to_string(counter++) + ".tmp";
        // A new file gets the usual mode through the umask; an existing one
        // gets its old mode back below.
        raw = ::open(temp.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                     existed ? 0600 : 0666);
        if (raw < 0 && errno != EEXIST) {
            temp.path.clear();
            return false;
        }
    }
    if (raw < 0) {
        temp.path.clear();
        return false;
    }
    Fd fd(raw);
    if (!WriteAll(fd.get(), text)) {
        return false;
    }
    if (existed) {
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
            // Not ours to give away: the file stays with the writer.
        }
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
            return false;
        }
    }
    if (::fsync(fd.get()) != 0 || !fd.Close()) {
        return false;
    }
    if (::rename(temp.path.c_str(), target.c_str()) != 0) {
        return false;
    }
    temp.committed = true;
    Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0) {
        ::fsync(dirFd.get()); // the rename is durable once the folder is
    }
    return true;
}

Profile Load(LPCSTR fileName) {
    std::string text;
    if (fileName != nullptr && ReadWhole(fileName, text) == ReadResult::Ok) {
        return Profile::FromText(text);
    }
    return {};
}

DWORD CopyString(std::string_view s, LPSTR buf, DWORD size) {
    std::size_t n = std::min<std::size_t>(s.size(), size - 1);
    if (n != 0) { // an empty view may have no data at all
        std::memcpy(buf, s.data(), n);
    }
    buf[n] = '\0';
    return static_cast<DWORD>(n);
}

// Names separated by NULs and ended by an empty one; when they do not fit,
// the last is cut and followed by two NULs and the result is size - 2.
DWORD CopyList(const std::vector<std::string>& names, LPSTR buf, DWORD size) {
    if (size < 2) {
        buf[0] = '\0';
        return 0;
    }
    std::size_t pos = 0;
    for (const std::string& name : names) {
        if (pos + name.size() + 2 > size) {
            std::size_t room = pos < size - 2 ? size - 2 - pos : 0;
            std::memcpy(buf + pos, name.data(), std::min(room, name.size()));
            buf[size - 2] = '\0';
            buf[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buf + pos, name.data(), name.size());
        pos += name.size();
        buf[pos++] = '\0';
    }
    buf[pos] = '\0';
    if (names.empty()) {
        buf[1] = '\0';
    }
    return static_cast<DWORD>(pos);
}

// The leading decimal number with an optional sign; no digits gives 0.
// Overflow wraps, as the original's unchecked arithmetic does.
UINT LeadingNumber(std::string_view s) {
    s = Trim(s);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    UINT value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10u + static_cast<UINT>(s[i] - '0');
    }
    return negative ? 0u - value : value;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                               LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
    if (lpReturnedString == nullptr || nSize == 0) {
        return 0;
    }
    Profile profile = Load(lpFileName);
    if (lpAppName == nullptr) {
        return CopyList(profile.Sections(), lpReturnedString, nSize);
    }
    if (lpKeyName == nullptr) {
        return CopyList(profile.Keys(Trim(lpAppName)), lpReturnedString, nSize);
    }
    if (auto value = profile.Find(Trim(lpAppName), Trim(lpKeyName))) {
        return CopyString(Unquote(*value), lpReturnedString, nSize);
    }
    std::string_view fallback = lpDefault != nullptr ? lpDefault : "";
    // Trailing blanks of the default are dropped, as the original does.
    fallback = fallback.substr(0, fallback.find_last_not_of(' ') + 1);
    return CopyString(fallback, lpReturnedString, nSize);
}

UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
    if (lpAppName == nullptr || lpKeyName == nullptr) {
        return static_cast<UINT>(nDefault);
    }
    Profile profile = Load(lpFileName);
    auto value = profile.Find(Trim(lpAppName), Trim(lpKeyName));
    // An empty value cannot be told from a missing one by the original
    // either: both give the default.
    if (!value || Unquote(*value).empty()) {
        return static_cast<UINT>(nDefault);
    }
    return LeadingNumber(Unquote(*value));
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName) {
    if (lpFileName == nullptr || *lpFileName == '\0') {
        return FALSE;
    }
    if (lpAppName == nullptr) {
        // (null, null, null) asks to flush a cache; there is none.
        return lpKeyName == nullptr && lpString == nullptr ? TRUE : FALSE;
    }
    // Names or values that would break the line structure are refused
    // rather than written, since they would corrupt the rest of the file.
    if (HasLineBreak(lpAppName) || (lpKeyName != nullptr && HasLineBreak(lpKeyName)) ||
        (lpString != nullptr && HasLineBreak(lpString))) {
        return FALSE;
    }
    std::string_view section = Trim(lpAppName);
    if (section.empty() || section.find(']') != std::string_view::npos) {
        return FALSE;
    }
    std::string_view key;
    if (lpKeyName != nullptr) {
        key = Trim(lpKeyName);
        if (key.empty() || key.find('=') != std::string_view::npos || key.front() == '[' ||
            key.front() == ';') {
            return FALSE;
        }
    }

    std::string old;
    struct stat info {};
    ReadResult read = ReadWhole(lpFileName, old, &info);
    if (read == ReadResult::Failed) {
        // Rewriting a file we cannot read would throw its contents away.
        return FALSE;
    }
    bool existed = read == ReadResult::Ok;
    Profile profile = Profile::FromText(old);
    if (lpKeyName == nullptr) {
        profile.DeleteSection(section);
    } else if (lpString == nullptr) {
        profile.DeleteKey(section, key);
    } else {
        profile.Set(section, key, lpString);
    }
    std::string text = profile.ToText();
    if (existed ? text == old : text.empty()) {
        return TRUE;
    }
    return ReplaceFile(lpFileName, text, existed, info) ? TRUE : FALSE;
}
