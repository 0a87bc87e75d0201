// The address-book store: one SQLite database file in WAL mode.
//
// Schema (PRAGMA application_id 'QBWK', PRAGMA user_version 2):
//   store(uid BLOB)                      one row: the store's identity, part
//                                        of every entry identifier it issues
//   entries(id INTEGER PRIMARY KEY AUTOINCREMENT, object_type INTEGER,
//           display_name TEXT)           ids are never reused, so an old
//                                        identifier can never hit a new entry;
//                                        the name repeats PR_DISPLAY_NAME so
//                                        listing needs no look-up per entry
//                                        (a row is rewritten only to stamp or
//                                        unstamp its deletion, below)
//   props(entry_id, tag, value) WITHOUT ROWID, primary key (entry_id, tag)
//                                        the value's storage follows the tag's
//                                        type: integers for PT_SHORT, PT_LONG,
//                                        PT_BOOLEAN and PT_SYSTIME (64 bits),
//                                        text for PT_STRING8, blobs for
//                                        PT_BINARY and PT_MV_STRING8 (each
//                                        string followed by a NUL)
// Version 2 adds entries.deleted_on INTEGER: null for an entry in use, for a
// deleted one the time of its deletion as FILETIME ticks. Deleting keeps the
// entry's row, stamped, and moves its props rows into one props row under the
// tag -1, which no property has, packed as StoreDeleted.cpp describes. Every
// reader of entries in use passes over stamped rows and that tag. This way a
// delete writes the same pages as before (the entry's row and its props' leaf)
// rather than a second copy elsewhere: each delete is committed on its own.
// A version 1 store gets the column when it is opened for writing, and is
// read as it is otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/wab32/WabAbi.h"

struct sqlite3;
struct sqlite3_stmt;

namespace wab {

// One property as the store keeps it.
struct StoredValue {
    ULONG tag = 0;
    std::int64_t n = 0; // integer types and PT_SYSTIME
    std::string bytes;  // PT_STRING8, PT_BINARY, packed PT_MV_STRING8
};

// A value about to be copied into a buffer for the caller.
struct ValueView {
    ULONG tag = 0;
    std::int64_t n = 0;
    const char* data = nullptr; // strings, binaries, packed multi-valued strings
    std::size_t size = 0;
};

// Receives the properties of one entry while the store holds them.
class PropsSink {
public:
    // `views` is scratch space the sink may use; it keeps its capacity.
    virtual HRESULT Take(const StoredValue* values, std::size_t count,
                         std::vector<ValueView>& views) = 0;

protected:
    ~PropsSink() = default;
};

struct ContentRow {
    std::int64_t id = 0;
    ULONG objectType = 0;
    bool hasName = false;
    std::string displayName;
    std::int64_t deletedOn = 0; // FILETIME ticks; deleted entries only
};

// The entries in use, or those deleting removed.
enum class Part { Live, Deleted };

struct EntryKey {
    std::int64_t id = 0;
    ULONG objectType = 0;
};

using StoreUid = std::array<BYTE, 16>;

class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    int Prepare(sqlite3* db, const char* sql);
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

class SnapshotCopy;

class Store {
public:
    // Empty name: the user's default address book, created on first use.
    // Checks every page of the file first: a damaged store is refused with
    // MAPI_E_CORRUPT_DATA, anything else than a store with
    // WAB_E_NOT_ADDRESS_BOOK; a store nobody may write to is read without a
    // file being made beside it.
    static HRESULT Open(const char* fileName, ULONG ulFlags, std::shared_ptr<Store>& out);
    static std::string DefaultPath();

    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    bool ReadOnly() const { return m_readOnly; }
    const StoreUid& Uid() const { return m_uid; }

    HRESULT LoadContents(std::vector<ContentRow>& rows);
    HRESULT GetObjectType(std::int64_t id, ULONG& objectType);
    // Hands all properties of an entry to `sink`; reading them reuses the
    // store's scratch space, so a long read allocates nothing per entry.
    HRESULT ReadProps(std::int64_t id, PropsSink& sink);
    HRESULT ReadProp(std::int64_t id, ULONG tag, StoredValue& value, Part part = Part::Live);
    HRESULT InsertEntry(ULONG objectType, const std::vector<StoredValue>& props, std::int64_t& id);
    // Moves the entries to the deleted part, stamped with the current time.
    // `missing` counts the identifiers that named no entry.
    HRESULT DeleteEntries(const std::vector<std::int64_t>& ids, std::size_t& missing);

    // The deleted entries, newest first.
    HRESULT LoadDeleted(std::vector<ContentRow>& rows);
    // Puts deleted entries back as they were, all or none: MAPI_E_NOT_FOUND
    // when one is not deleted (or of another kind), MAPI_E_COLLISION when it
    // is in use (put back already).
    HRESULT RestoreEntries(const std::vector<EntryKey>& keys);
    // Removes deleted entries for good; `missing` counts those already gone.
    HRESULT PurgeEntries(const std::vector<std::int64_t>& ids, std::size_t& missing);

    // A write that failed before reaching the file, treated as any other.
    HRESULT FailWrite(HRESULT hr);

    HRESULT BeginTransaction();
    HRESULT CommitTransaction();
    HRESULT AbortTransaction();

    // While a batch reader is registered (a contents table being read), the
    // reads share one snapshot instead of locking the file for each query;
    // any write of this connection ends it first, so writes never wait on it
    // and later reads see them.
    void BeginReadBatch();
    void EndReadBatch();

private:
    // Where a file to be opened stands.
    struct Placing {
        bool readOnly;
        bool pendingWal; // committed or not, changes wait in a WAL beside it
        bool isDefault;
        bool oursByHeader;
    };

    Store();
    static HRESULT OpenDefault(std::shared_ptr<Store>& out);
    // `blank` (may be null) is set when the file holds no database content
    // at all, as an interrupted first use of an older version left it.
    static HRESULT OpenFile(const std::string& path, bool isDefault, std::shared_ptr<Store>& out,
                            bool* blank);
    static HRESULT Build(const std::string& path);
    HRESULT Connect(const std::string& path, const Placing& where, bool* blank);
    HRESULT Initialise();
    HRESULT Validate(bool oursByHeader, bool* blank);
    HRESULT Upgrade();
    void PurgeExpired();
    HRESULT CheckPages();
    HRESULT ReadUid();
    HRESULT CheckTables();
    bool IdentifiersUsedUp();
    HRESULT PrepareStatements();
    HRESULT Exec(const char* sql);
    HRESULT BeginWrite(bool& ownTransaction);
    void GrowCache();
    void EnterSnapshot();
    void LeaveSnapshot();
    HRESULT LookUpType(std::int64_t id, ULONG& objectType);
    void TakeRow(sqlite3_stmt* stmt, int column, std::size_t& count);
    HRESULT ReadPropsOf(std::int64_t id, std::size_t& count);
    HRESULT ReadPropsInOrder(std::int64_t id, std::size_t& count);
    void CloseCursor();
    HRESULT EndWrite(bool ownTransaction, HRESULT hr);
    // Commits the transaction begun when `hr` is a success, else undoes it.
    HRESULT Finish(HRESULT hr);
    // Runs `one` on each id in one write (the caller's transaction or its own);
    // `missing` counts the ids where it found nothing.
    HRESULT WriteEach(const std::vector<std::int64_t>& ids, std::size_t& missing,
                      const std::function<HRESULT(std::int64_t id, bool& found)>& one);
    HRESULT MoveToDeleted(std::int64_t id, std::int64_t now, bool& found);
    HRESULT RestoreEntry(const EntryKey& key);
    HRESULT ReadPacked(std::int64_t id);
    HRESULT ReadDeletedProp(std::int64_t id, ULONG tag, StoredValue& value);

    // What is read when it is a private copy; first, so it goes last.
    std::unique_ptr<SnapshotCopy> m_copy;
    std::mutex m_mutex; // the statements are shared by every object of this store
    sqlite3* m_db = nullptr;
    bool m_readOnly = false;
    int m_version = 0; // of the schema; below 2 only when read-only
    bool m_inTransaction = false;
    bool m_grownCache = false;
    HRESULT m_failedTransaction = S_OK; // why the caller's transaction was undone
    int m_batchReaders = 0;
    bool m_inSnapshot = false;
    StoreUid m_uid{};
    // The kinds of the entries listed in the current snapshot, by id: opening
    // a listed entry then needs no query. Dropped with the snapshot.
    std::vector<std::pair<std::int64_t, ULONG>> m_listed;
    std::vector<StoredValue> m_scratch;
    std::vector<ValueView> m_views;
    Statement m_contents;
    Statement m_objectType;
    Statement m_props;
    Statement m_propsFrom;
    // Where m_propsFrom stands, within a snapshot.
    struct Cursor {
        bool open = false;
        int rc = 0;
        std::int64_t done = 0;
        std::int64_t entry = 0;
    } m_cursor;
    Statement m_prop;
    Statement m_insertEntry;
    Statement m_insertProp;
    Statement m_deleteProps;
    // The deleted part, prepared when the store has one.
    Statement m_stampDeleted;
    Statement m_insertPacked;
    Statement m_deletedList;
    Statement m_packed;
    Statement m_unstamp;
    Statement m_dropPacked;
    Statement m_dropDeleted;
    std::string m_packing; // scratch for a deleted entry's properties
};

} // namespace wab
