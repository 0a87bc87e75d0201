// The store's file on disk, apart from what SQLite does inside it: its name
// and place, what its first bytes say, how a new one comes into being, and
// how a store nobody may write to is read without leaving a file beside it.
#pragma once

#include <functional>
#include <string>
#include <sys/stat.h>

#include "platform/wab32/WabAbi.h"

namespace wab {

constexpr int kApplicationId = 0x5142574B; // "QBWK", PRAGMA application_id

HRESULT FromErrno(int error);

// The user's default address book; empty when there is no home folder.
std::string DefaultStorePath();

// SQLite keeps "-wal" and "-shm" files beside a store and opens nothing
// longer than 512 bytes: a name that leaves no room for them is refused
// before anything is made or opened.
HRESULT CheckStoreName(const std::string& path);

// Makes the default book's folder, and those above it, where missing (0700),
// and refuses one that is not a private folder of this user.
HRESULT PreparePrivateFolder(const std::string& folder);

// What stands at `path`: a regular file, else the reason it cannot be a store.
// Follows a symbolic link unless `noFollow`, then refuses it.
HRESULT StatStoreFile(const std::string& path, bool noFollow, struct stat& st);

// What a file's own first bytes say, read without SQLite (which would act on
// a journal beside it before anyone could look).
enum class Header {
    Foreign, // no SQLite header, or another program's database
    Ours,
    Damaged, // our application id, with fields SQLite would misread
};
struct HeaderFacts {
    Header header = Header::Foreign;
    bool bare = false; // an SQLite database with nothing in it at all
};
HRESULT ReadHeader(const std::string& path, HeaderFacts& facts);

bool IsNonEmptyFile(const std::string& path);
bool FileExists(const std::string& path);
// Neither the file nor its folder may be written by us. Mode bits count even
// for root: a file marked read-only is treated as such.
bool IsReadOnlyPlace(const std::string& path, const struct stat& st);

// Builds a new store completely in a temporary file beside `path` (`build`
// fills it) and renames it into place, so no one ever sees a half-made store.
// Without `replacing`, only where no file is (else MAPI_E_COLLISION); with it,
// over the file it describes, with whatever lies beside that file, provided
// it is still that file (else S_FALSE, changing nothing). Temporary files
// that a killed creation left in the folder are removed first.
HRESULT CreateStoreFile(const std::string& path, const struct stat* replacing,
                        const std::function<HRESULT(const std::string&)>& build);

// A private copy of a store and its WAL, for reading committed changes that
// SQLite could only reach by making a shared-memory file beside the store.
// Removed with the object.
class SnapshotCopy {
public:
    SnapshotCopy() = default;
    ~SnapshotCopy();
    SnapshotCopy(const SnapshotCopy&) = delete;
    SnapshotCopy& operator=(const SnapshotCopy&) = delete;
    HRESULT Make(const std::string& path);
    const std::string& Path() const { return m_file; }

private:
    std::string m_folder;
    std::string m_file;
};

} // namespace wab
