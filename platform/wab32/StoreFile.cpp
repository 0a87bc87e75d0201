#include "platform/wab32/StoreFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

#include "platform/wab32/Faults.h"
#include "platform/wab32/WabResults.h"

namespace wab {
namespace {

constexpr std::size_t kMaxSqlitePath = 512; // the unix VFS's mxPathname
constexpr std::size_t kSidecarRoom = 4;     // "-wal", "-shm"
constexpr char kTempPrefix[] = ".wab-new-"; // + 6 characters of mkstemp
constexpr const char* kSidecars[] = {"-wal", "-shm", "-journal"};
constexpr std::time_t kLeftoverAge = 10; // seconds; a creation takes milliseconds

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    void reset(int fd) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd;
};

std::string Parent(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string UserName() {
    std::vector<char> buffer(16384);
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr && found->pw_name[0] != '\0') {
        return found->pw_name;
    }
    for (const char* name : {"USER", "LOGNAME"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0' && std::strchr(value, '/') == nullptr) {
            return value;
        }
    }
    return "user";
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

bool Writable(const std::string& path, mode_t mode) {
    return ::access(path.c_str(), W_OK) == 0 && (mode & 0222) != 0;
}

std::uint32_t BigEndian(const unsigned char* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = (value << 8) | p[i];
    }
    return value;
}

void RemoveWithSidecars(const std::string& path) {
    ::unlink(path.c_str());
    for (const char* sidecar : kSidecars) {
        ::unlink((path + sidecar).c_str());
    }
}

void SyncFolder(const std::string& folder) {
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

// Temporary files of creations that were killed: no process holds their lock
// any more, and they are older than any creation takes.
void RemoveLeftovers(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            if (std::strncmp(entry->d_name, kTempPrefix, sizeof kTempPrefix - 1) == 0) {
                names.emplace_back(entry->d_name);
            }
        }
        ::closedir(dir);
    }
    const std::time_t now = std::time(nullptr);
    for (std::string name : names) {
        for (const char* sidecar : kSidecars) {
            const std::size_t n = std::strlen(sidecar);
            if (name.size() > n && name.compare(name.size() - n, n, sidecar) == 0) {
                name.resize(name.size() - n);
            }
        }
        const std::string path = folder + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            RemoveWithSidecars(path); // sidecars whose file is gone
            continue;
        }
        if (!S_ISREG(st.st_mode) || now - st.st_mtime < kLeftoverAge) {
            continue;
        }
        Fd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (fd.get() >= 0 && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            RemoveWithSidecars(path);
        }
    }
}

// The file a new store is built in, locked while it is built, removed unless
// it was put in place.
class TempStore {
public:
    ~TempStore() {
        if (!m_path.empty() && !m_placed) {
            RemoveWithSidecars(m_path);
        }
    }
    HRESULT Make(const std::string& folder) {
        std::string pattern = folder + "/" + kTempPrefix + "XXXXXX";
        int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            return FromErrno(errno);
        }
        m_fd.reset(fd);
        m_path = pattern;
        ::fchmod(fd, 0600); // whatever the umask says
        ::flock(fd, LOCK_EX);
        return S_OK;
    }
    HRESULT Sync() { return ::fsync(m_fd.get()) == 0 ? S_OK : FromErrno(errno); }
    const std::string& Path() const { return m_path; }
    void Placed() { m_placed = true; }

private:
    Fd m_fd;
    std::string m_path;
    bool m_placed = false;
};

HRESULT RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return S_OK;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return errno == EEXIST ? MAPI_E_COLLISION : FromErrno(errno);
    }
    // A file system without it: a hard link fails just as well on a taken name.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return S_OK;
    }
    if (errno == EEXIST) {
        return MAPI_E_COLLISION;
    }
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) {
        return MAPI_E_COLLISION;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? S_OK : FromErrno(errno);
}

// Puts `from` over `to` if `to` is still the file `expected` describes; S_FALSE
// when another process has replaced it meanwhile.
HRESULT ReplaceIfUnchanged(const std::string& from, const std::string& to,
                           const struct stat& expected) {
    Fd fd(::open(to.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0) {
        return errno == ENOENT ? S_FALSE : FromErrno(errno);
    }
    ::flock(fd.get(), LOCK_EX); // two processes mending the same file take turns
    struct stat now {};
    if (::lstat(to.c_str(), &now) != 0 || now.st_ino != expected.st_ino ||
        now.st_dev != expected.st_dev || now.st_size != expected.st_size ||
        now.st_mtim.tv_sec != expected.st_mtim.tv_sec ||
        now.st_mtim.tv_nsec != expected.st_mtim.tv_nsec) {
        return S_FALSE;
    }
    for (const char* sidecar : kSidecars) {
        ::unlink((to + sidecar).c_str()); // they belong to the blank file, not to ours
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? S_OK : FromErrno(errno);
}

} // namespace

HRESULT FromErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
        return MAPI_E_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return MAPI_E_NO_ACCESS;
    case ENAMETOOLONG:
        return WAB_E_NAME_TOO_LONG;
    case EISDIR:
        return WAB_E_IS_FOLDER;
    case ENOSPC:
    case EDQUOT:
        return WAB_E_DISK_FULL;
    case ENOMEM:
        return MAPI_E_NOT_ENOUGH_MEMORY;
    case EBUSY:
    case ETXTBSY:
        return MAPI_E_BUSY;
    case EEXIST:
        return MAPI_E_COLLISION;
    default:
        return MAPI_E_DISK_ERROR;
    }
}

std::string DefaultStorePath() {
    std::string dataHome;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') { // relative values are to be ignored
        dataHome = xdg;
    } else {
        std::string home = HomeFolder();
        if (home.empty()) {
            return {};
        }
        dataHome = home + "/.local/share";
    }
    return dataHome + "/wab/" + UserName() + ".wab";
}

HRESULT CheckStoreName(const std::string& path) {
    std::size_t full = path.size();
    if (path[0] != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) == nullptr) {
            return FromErrno(errno);
        }
        full += std::strlen(cwd) + 1;
    }
    const std::size_t slash = path.find_last_of('/');
    const std::size_t base = slash == std::string::npos ? path.size() : path.size() - slash - 1;
    if (full + kSidecarRoom > kMaxSqlitePath || base + kSidecarRoom > NAME_MAX) {
        return WAB_E_NAME_TOO_LONG;
    }
    return S_OK;
}

HRESULT PreparePrivateFolder(const std::string& folder) {
    bool made = false;
    std::size_t slash = 0;
    do {
        slash = folder.find('/', slash + 1);
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) == 0) {
            made = true;
        } else if (errno != EEXIST) {
            return FromErrno(errno);
        }
    } while (slash != std::string::npos);
    if (made) {
        ::chmod(folder.c_str(), 0700); // whatever the umask says
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        return FromErrno(errno);
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
        return WAB_E_NOT_PRIVATE;
    }
    return S_OK;
}

HRESULT StatStoreFile(const std::string& path, bool noFollow, struct stat& st) {
    if ((noFollow ? ::lstat(path.c_str(), &st) : ::stat(path.c_str(), &st)) != 0) {
        return FromErrno(errno);
    }
    if (S_ISLNK(st.st_mode)) {
        return WAB_E_NOT_PRIVATE;
    }
    if (S_ISDIR(st.st_mode)) {
        return WAB_E_IS_FOLDER;
    }
    // A pipe or a device: SQLite would wait on it or read it as garbage.
    return S_ISREG(st.st_mode) ? S_OK : WAB_E_NOT_ADDRESS_BOOK;
}

HRESULT ReadHeader(const std::string& path, HeaderFacts& facts) {
    facts = {};
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return FromErrno(errno);
    }
    unsigned char h[100];
    ssize_t got = ::pread(fd.get(), h, sizeof h, 0);
    if (got < 0) {
        return FromErrno(errno);
    }
    if (got < static_cast<ssize_t>(sizeof h) ||
        std::memcmp(h, "SQLite format 3", 16) != 0) { // the NUL counts too
        return S_OK;
    }
    const std::uint32_t appId = BigEndian(h + 68, 4);
    std::uint32_t pageSize = BigEndian(h + 16, 2);
    pageSize = pageSize == 1 ? 65536 : pageSize;
    struct stat st {};
    ::fstat(fd.get(), &st);
    // A database with nothing in it: page 1 alone, a table leaf without cells.
    unsigned char root[5] = {};
    facts.bare = appId == 0 && st.st_size == static_cast<off_t>(pageSize) &&
                 ::pread(fd.get(), root, sizeof root, 100) == sizeof root && root[0] == 0x0D &&
                 root[3] == 0 && root[4] == 0;
    if (appId != static_cast<std::uint32_t>(kApplicationId)) {
        return S_OK;
    }
    // Fields SQLite would take at their word: other versions make it treat
    // the file as read-only, another encoding garbles every text.
    const bool validPageSize =
        pageSize >= 512 && pageSize <= 65536 && (pageSize & (pageSize - 1)) == 0;
    const bool sound = validPageSize && (h[18] == 1 || h[18] == 2) && (h[19] == 1 || h[19] == 2) &&
                       h[21] == 64 && h[22] == 32 && h[23] == 32 && BigEndian(h + 56, 4) == 1;
    facts.header = sound ? Header::Ours : Header::Damaged;
    return S_OK;
}

bool IsNonEmptyFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsReadOnlyPlace(const std::string& path, const struct stat& st) {
    const std::string folder = Parent(path);
    struct stat fs {};
    return !Writable(path, st.st_mode) || ::stat(folder.c_str(), &fs) != 0 ||
           !Writable(folder, fs.st_mode);
}

HRESULT CreateStoreFile(const std::string& path, const struct stat* replacing,
                        const std::function<HRESULT(const std::string&)>& build) {
    const std::string folder = Parent(path);
    RemoveLeftovers(folder);
    TempStore temp;
    HRESULT hr = temp.Make(folder);
    if (SUCCEEDED(hr)) {
        hr = build(temp.Path());
    }
    if (SUCCEEDED(hr)) {
        hr = temp.Sync();
    }
    if (FAILED(hr)) {
        return hr;
    }
    if (Fault("KillBeforeRename")) {
        std::_Exit(137); // as if killed: no cleanup runs
    }
    hr = replacing != nullptr ? ReplaceIfUnchanged(temp.Path(), path, *replacing)
                              : RenameNoReplace(temp.Path(), path);
    if (hr == S_OK) {
        temp.Placed();
        SyncFolder(folder);
    }
    return hr;
}

SnapshotCopy::~SnapshotCopy() {
    if (!m_folder.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }
}

HRESULT SnapshotCopy::Make(const std::string& path) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") +
                          "/quenby-wab-XXXXXX"; // mkdtemp makes it 0700
    if (::mkdtemp(pattern.data()) == nullptr) {
        return FromErrno(errno);
    }
    m_folder = pattern;
    m_file = m_folder + "/store.wab";
    std::error_code ec;
    for (const char* suffix : {"", "-wal"}) {
        std::filesystem::copy_file(path + suffix, m_file + suffix, ec);
        if (ec) {
            return FromErrno(ec.value());
        }
    }
    return S_OK;
}

} // namespace wab
