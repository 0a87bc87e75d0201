#include "platform/wab32/Store.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/wab32/Faults.h"
#include "platform/wab32/StoreFile.h"
#include "platform/wab32/StoreSql.h"
#include "platform/wab32/WabResults.h"

namespace wab {
namespace {

constexpr int kSchemaVersion = 2;
constexpr int kBusyTimeoutMs = 5000;

// What version 2 adds to version 1: the time an entry was deleted.
constexpr const char* kVersion2 = "ALTER TABLE entries ADD COLUMN deleted_on INTEGER;"
                                  "PRAGMA user_version=2;";
static_assert(kSchemaVersion == 2);

bool IsIntegerType(ULONG type) {
    return type == PT_SHORT || type == PT_LONG || type == PT_BOOLEAN || type == PT_SYSTIME ||
           type == PT_I8;
}

bool IsBlobType(ULONG type) {
    return type == PT_BINARY || type == PT_MV_STRING8;
}

// Takes a column into `value` when its storage class fits the tag's type.
bool ColumnToValue(sqlite3_stmt* stmt, int column, ULONG tag, StoredValue& value) {
    const int storage = sqlite3_column_type(stmt, column);
    if (storage != SQLITE_TEXT && storage != SQLITE_BLOB) {
        const std::int64_t n = storage == SQLITE_INTEGER ? sqlite3_column_int64(stmt, column) : 0;
        return ToStoredValue(tag, storage, n, nullptr, 0, value);
    }
    const auto* data = storage == SQLITE_TEXT
                           ? reinterpret_cast<const char*>(sqlite3_column_text(stmt, column))
                           : static_cast<const char*>(sqlite3_column_blob(stmt, column));
    return ToStoredValue(tag, storage, 0, data,
                         static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)), value);
}

int BindValue(sqlite3_stmt* stmt, int index, const StoredValue& value) {
    ULONG type = PROP_TYPE(value.tag);
    if (IsIntegerType(type)) {
        return sqlite3_bind_int64(stmt, index, value.n);
    }
    if (type == PT_STRING8) {
        return sqlite3_bind_text(stmt, index, value.bytes.data(),
                                 static_cast<int>(value.bytes.size()), SQLITE_STATIC);
    }
    if (IsBlobType(type)) {
        if (value.bytes.empty()) {
            return sqlite3_bind_zeroblob(stmt, index, 0);
        }
        return sqlite3_bind_blob(stmt, index, value.bytes.data(),
                                 static_cast<int>(value.bytes.size()), SQLITE_STATIC);
    }
    return SQLITE_MISMATCH;
}

// Runs a query of one row; SQLITE_ROW when it gave one.
int StepOnce(sqlite3* db, Statement& stmt, const char* sql) {
    int rc = stmt.Prepare(db, sql);
    return rc == SQLITE_OK ? sqlite3_step(stmt.get()) : rc;
}

// URI form of a path with a query, for SQLite's read-only opens.
std::string FileUri(const std::string& path, const char* query) {
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path) {
        if (c == '%' || c == '?' || c == '#' || c < 0x21 || c >= 0x7F) {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 0xF];
        } else {
            uri += static_cast<char>(c);
        }
    }
    return uri + "?" + query;
}

} // namespace

HRESULT FromSqlite(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return S_OK;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return MAPI_E_BUSY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return MAPI_E_NO_ACCESS;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
    case SQLITE_ERROR: // a missing table or column: not a store of ours
        return MAPI_E_CORRUPT_DATA;
    case SQLITE_NOMEM:
        return MAPI_E_NOT_ENOUGH_MEMORY;
    case SQLITE_FULL:
        return WAB_E_DISK_FULL;
    case SQLITE_IOERR:
        return MAPI_E_DISK_ERROR;
    case SQLITE_CANTOPEN:
    case SQLITE_NOTFOUND:
        return MAPI_E_NOT_FOUND;
    default:
        return MAPI_E_CALL_FAILED;
    }
}

void TakeContentRow(sqlite3_stmt* stmt, ContentRow& row) {
    row.id = sqlite3_column_int64(stmt, 0);
    row.objectType = static_cast<ULONG>(sqlite3_column_int64(stmt, 1));
    if (sqlite3_column_type(stmt, 2) == SQLITE_TEXT) {
        row.hasName = true;
        row.displayName.assign(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)),
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt, 2)));
    }
}

HRESULT StepDone(sqlite3_stmt* stmt) {
    const int rc = sqlite3_step(stmt);
    return rc == SQLITE_DONE ? S_OK : FromSqlite(rc);
}

bool ToStoredValue(ULONG tag, int storage, std::int64_t n, const char* data, std::size_t size,
                   StoredValue& value) {
    const ULONG type = PROP_TYPE(tag);
    value.tag = tag;
    value.n = 0;
    if (IsIntegerType(type)) {
        if (storage != SQLITE_INTEGER) {
            return false;
        }
        value.n = n;
        value.bytes.clear();
        return true;
    }
    if ((type == PT_STRING8 && storage == SQLITE_TEXT) ||
        (IsBlobType(type) && storage == SQLITE_BLOB)) {
        value.bytes.assign(size == 0 ? "" : data, size);
        return type != PT_MV_STRING8 || size == 0 || value.bytes.back() == '\0';
    }
    return false;
}

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

int Statement::Prepare(sqlite3* db, const char* sql) {
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
}

std::string Store::DefaultPath() {
    return DefaultStorePath();
}

HRESULT Store::Open(const char* fileName, ULONG ulFlags, std::shared_ptr<Store>& out) {
    out.reset();
    if (fileName == nullptr || fileName[0] == '\0') {
        return OpenDefault(out);
    }
    const std::string path(fileName);
    HRESULT hr = CheckStoreName(path);
    if (SUCCEEDED(hr) && (ulFlags & WAB_CREATE_STORE) != 0) {
        hr = CreateStoreFile(path, nullptr, Build);
    }
    return SUCCEEDED(hr) ? OpenFile(path, false, out, nullptr) : hr;
}

// The default book is a private file (0600) in a private folder (0700), made
// on first use; a link or a file others may open is refused, never written
// through. An empty or blank file that an older version's interrupted first
// use left there is replaced by a new store.
HRESULT Store::OpenDefault(std::shared_ptr<Store>& out) {
    const std::string path = DefaultPath();
    if (path.empty()) {
        return MAPI_E_NOT_FOUND;
    }
    HRESULT hr = CheckStoreName(path);
    if (SUCCEEDED(hr)) {
        hr = PreparePrivateFolder(path.substr(0, path.find_last_of('/')));
    }
    struct stat st {};
    if (SUCCEEDED(hr)) {
        hr = StatStoreFile(path, true, st);
    }
    if (hr == MAPI_E_NOT_FOUND) {
        hr = CreateStoreFile(path, nullptr, Build);
        if (hr == MAPI_E_COLLISION) {
            hr = S_OK; // another process made it first
        }
        if (SUCCEEDED(hr)) {
            hr = StatStoreFile(path, true, st);
        }
    }
    if (FAILED(hr)) {
        return hr;
    }
    if (st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
        return WAB_E_NOT_PRIVATE;
    }
    bool blank = false;
    hr = OpenFile(path, true, out, &blank);
    if (blank) {
        hr = CreateStoreFile(path, &st, Build);
        if (SUCCEEDED(hr)) {
            hr = OpenFile(path, true, out, nullptr);
        }
    }
    return hr;
}

HRESULT Store::OpenFile(const std::string& path, bool isDefault, std::shared_ptr<Store>& out,
                        bool* blank) {
    struct stat st {};
    HRESULT hr = StatStoreFile(path, isDefault, st);
    if (FAILED(hr)) {
        return hr;
    }
    // Until the file is known to be ours, SQLite must not see a journal or
    // WAL beside it: it would write their changes back into the file.
    const bool pendingWal = IsNonEmptyFile(path + "-wal");
    HeaderFacts facts;
    hr = ReadHeader(path, facts);
    if (FAILED(hr)) {
        return hr;
    }
    if (!pendingWal && (st.st_size == 0 || facts.bare)) {
        if (blank != nullptr) {
            *blank = true;
        }
        return WAB_E_NOT_ADDRESS_BOOK;
    }
    // With changes in a WAL, the file's own header may be out of date: SQLite
    // judges the pair below.
    if (!pendingWal && facts.header != Header::Ours) {
        return facts.header == Header::Damaged ? MAPI_E_CORRUPT_DATA : WAB_E_NOT_ADDRESS_BOOK;
    }
    // Our stores keep a WAL, never a rollback journal: one beside a store of
    // ours was left by another program, and could be another file's.
    if (IsNonEmptyFile(path + "-journal")) {
        return facts.header == Header::Foreign ? WAB_E_NOT_ADDRESS_BOOK : WAB_E_STRAY_JOURNAL;
    }
    std::shared_ptr<Store> store(new (std::nothrow) Store);
    if (!store) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    const Placing where{IsReadOnlyPlace(path, st), pendingWal, isDefault,
                        facts.header == Header::Ours};
    hr = store->Connect(path, where, blank);
    if (SUCCEEDED(hr)) {
        out = std::move(store);
    }
    return hr;
}

HRESULT Store::Build(const std::string& path) {
    Store store;
    HRESULT hr = FromSqlite(sqlite3_open_v2(path.c_str(), &store.m_db,
                                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr));
    if (SUCCEEDED(hr)) {
        hr = store.Initialise();
    }
    if (SUCCEEDED(hr)) {
        // Closing writes back and removes the WAL; the file alone is the store.
        sqlite3_close_v2(store.m_db);
        store.m_db = nullptr;
        if (IsNonEmptyFile(path + "-wal")) {
            hr = MAPI_E_DISK_ERROR;
        }
    }
    return hr;
}

Store::Store() = default;

Store::~Store() {
    LeaveSnapshot();
    if (m_inTransaction) {
        Exec("ROLLBACK");
    }
    // Statements are finalised after this body; close_v2 waits for them.
    sqlite3_close_v2(m_db);
}

HRESULT Store::Exec(const char* sql) {
    return FromSqlite(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
}

HRESULT Store::Connect(const std::string& path, const Placing& where, bool* blank) {
    const bool readOnly = where.readOnly;
    const bool pendingWal = where.pendingWal;
    m_readOnly = readOnly;
    std::string target = path;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (readOnly) {
        // Reading makes or changes no file where we may not write: a writer's
        // WAL and shared memory are read as they are; committed changes in a
        // WAL alone are read from a private copy; else the file as it is.
        flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
        if (FileExists(path + "-wal") && FileExists(path + "-shm")) {
            target = FileUri(path, "readonly_shm=1");
        } else if (pendingWal) {
            m_copy = std::make_unique<SnapshotCopy>();
            HRESULT hr = m_copy->Make(path);
            if (FAILED(hr)) {
                return hr;
            }
            target = m_copy->Path();
        } else {
            target = FileUri(path, "immutable=1");
        }
    }
    if (where.isDefault) {
        flags |= SQLITE_OPEN_NOFOLLOW;
    }
    int rc = sqlite3_open_v2(target.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        return FromSqlite(rc);
    }
    if (pendingWal && !readOnly) {
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    HRESULT hr = Validate(where.oursByHeader, blank);
    if (FAILED(hr)) {
        return hr;
    }
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    if (!readOnly) {
        // Only now that the file is known to be ours may anything be written.
        hr = Exec("PRAGMA journal_mode=WAL");
        if (SUCCEEDED(hr)) {
            hr = Exec("PRAGMA synchronous=NORMAL");
        }
        if (SUCCEEDED(hr) && m_version < kSchemaVersion) {
            hr = Upgrade();
        }
        if (FAILED(hr)) {
            return hr;
        }
    }
    hr = PrepareStatements();
    if (SUCCEEDED(hr) && !readOnly) {
        PurgeExpired();
    }
    return hr;
}

// One transaction: the file is either as it was or of the new version. The
// version is read again under the write lock, as another process may have
// upgraded the store since it was checked.
HRESULT Store::Upgrade() {
    HRESULT hr = Exec("BEGIN IMMEDIATE");
    if (FAILED(hr)) {
        return hr;
    }
    Statement version;
    int rc = StepOnce(m_db, version, "PRAGMA user_version");
    hr = rc == SQLITE_ROW ? S_OK : FromSqlite(rc);
    const bool done = SUCCEEDED(hr) && sqlite3_column_int64(version.get(), 0) >= kSchemaVersion;
    sqlite3_reset(version.get());
    if (SUCCEEDED(hr) && !done) {
        hr = Exec(kVersion2);
    }
    if (SUCCEEDED(hr) && Fault("Upgrade")) {
        hr = MAPI_E_DISK_ERROR;
    }
    if (Fault("KillUpgrading")) {
        std::_Exit(137); // as if killed half-way: no cleanup runs
    }
    hr = Finish(hr);
    if (SUCCEEDED(hr)) {
        m_version = kSchemaVersion;
    }
    return hr;
}

HRESULT Store::Finish(HRESULT hr) {
    if (SUCCEEDED(hr)) {
        hr = Exec("COMMIT");
    }
    if (FAILED(hr)) {
        Exec("ROLLBACK");
    }
    return hr;
}

// Fills a new, private file: nobody else can see it until it is renamed into
// place, so no other process can have got here first.
HRESULT Store::Initialise() {
    HRESULT hr = Exec("BEGIN IMMEDIATE");
    if (FAILED(hr)) {
        return hr;
    }
    std::random_device random;
    for (std::size_t i = 0; i < m_uid.size(); i += 4) {
        std::uint32_t word = random();
        for (std::size_t k = 0; k < 4; ++k) {
            m_uid[i + k] = static_cast<BYTE>(word >> (8 * k));
        }
    }
    static const char* const schema =
        "CREATE TABLE store(uid BLOB NOT NULL);"
        "CREATE TABLE entries(id INTEGER PRIMARY KEY AUTOINCREMENT,"
        " object_type INTEGER NOT NULL, display_name TEXT);"
        "CREATE TABLE props(entry_id INTEGER NOT NULL, tag INTEGER NOT NULL, value,"
        " PRIMARY KEY(entry_id, tag)) WITHOUT ROWID;"
        "PRAGMA application_id=1363302219;";
    static_assert(kApplicationId == 1363302219);
    hr = Exec(schema);
    if (SUCCEEDED(hr)) {
        hr = Exec(kVersion2);
    }
    if (SUCCEEDED(hr)) {
        Statement insert;
        int rc = insert.Prepare(m_db, "INSERT INTO store(uid) VALUES(?1)");
        if (rc == SQLITE_OK) {
            sqlite3_bind_blob(insert.get(), 1, m_uid.data(), static_cast<int>(m_uid.size()),
                              SQLITE_STATIC);
            rc = sqlite3_step(insert.get());
        }
        hr = rc == SQLITE_DONE ? S_OK : FromSqlite(rc);
    }
    if (Fault("KillBuilding")) {
        std::_Exit(137); // as if killed half-way: no cleanup runs
    }
    hr = Finish(hr);
    return SUCCEEDED(hr) ? Exec("PRAGMA journal_mode=WAL") : hr;
}

HRESULT Store::Validate(bool oursByHeader, bool* blank) {
    // Reads only: a file that turns out not to be ours stays as it was.
    Statement header;
    int rc = StepOnce(m_db, header,
                      "SELECT (SELECT application_id FROM pragma_application_id), "
                      "(SELECT user_version FROM pragma_user_version), "
                      "(SELECT count(*) FROM sqlite_master)");
    if (rc != SQLITE_ROW) {
        // No SQLite header at all: some other kind of file, unless it is ours.
        return (rc & 0xFF) == SQLITE_NOTADB && !oursByHeader ? WAB_E_NOT_ADDRESS_BOOK
                                                             : FromSqlite(rc);
    }
    const std::int64_t appId = sqlite3_column_int64(header.get(), 0);
    const std::int64_t version = sqlite3_column_int64(header.get(), 1);
    const std::int64_t objects = sqlite3_column_int64(header.get(), 2);
    sqlite3_reset(header.get());
    if (appId != kApplicationId) {
        if (blank != nullptr && appId == 0 && objects == 0) {
            *blank = true;
        }
        return WAB_E_NOT_ADDRESS_BOOK;
    }
    if (version < 1) {
        return MAPI_E_CORRUPT_DATA;
    }
    if (version > kSchemaVersion) {
        return MAPI_E_VERSION;
    }
    m_version = static_cast<int>(version);
    HRESULT hr = CheckPages();
    if (SUCCEEDED(hr)) {
        hr = ReadUid();
    }
    return SUCCEEDED(hr) ? CheckTables() : hr;
}

// Every table and column the statements name, asked for before anything is
// written: a store whose tables were changed is refused as it is, rather
// than turned into WAL mode (or upgraded) first and refused after.
HRESULT Store::CheckTables() {
    const char* const queries[] = {
        "SELECT id, object_type, display_name FROM entries LIMIT 0",
        "SELECT entry_id, tag, value FROM props LIMIT 0",
    };
    for (const char* sql : queries) {
        Statement query;
        if (query.Prepare(m_db, sql) != SQLITE_OK) {
            return MAPI_E_CORRUPT_DATA;
        }
    }
    // The deletion time comes with version 2 and only with it: a later store
    // that says it is of version 1 would show its deleted entries as in use.
    Statement stamp;
    const bool stamped = stamp.Prepare(m_db, "SELECT deleted_on FROM entries LIMIT 0") == SQLITE_OK;
    return stamped == (m_version >= 2) ? S_OK : MAPI_E_CORRUPT_DATA;
}

// Reads every page and checks every cell, long values included, so damage
// anywhere is refused before anything is read from the store or written to it.
HRESULT Store::CheckPages() {
    Statement check;
    int rc = StepOnce(m_db, check, "PRAGMA quick_check(1)");
    if (rc != SQLITE_ROW) {
        return FromSqlite(rc);
    }
    const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
    if (verdict == nullptr || std::strcmp(verdict, "ok") != 0) {
        return MAPI_E_CORRUPT_DATA;
    }
    // Bytes after the last page are never read by SQLite, yet the file is not
    // as it was written.
    Statement pages;
    rc = StepOnce(m_db, pages,
                  "SELECT (SELECT page_count FROM pragma_page_count), "
                  "(SELECT page_size FROM pragma_page_size)");
    if (rc != SQLITE_ROW) {
        return FromSqlite(rc);
    }
    const sqlite3_int64 used =
        sqlite3_column_int64(pages.get(), 0) * sqlite3_column_int64(pages.get(), 1);
    sqlite3_file* file = nullptr;
    sqlite3_int64 size = 0;
    if (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_FILE_POINTER, &file) == SQLITE_OK &&
        file != nullptr && file->pMethods != nullptr &&
        file->pMethods->xFileSize(file, &size) == SQLITE_OK && size > used) {
        return MAPI_E_CORRUPT_DATA;
    }
    return S_OK;
}

HRESULT Store::ReadUid() {
    Statement uid;
    int rc = StepOnce(m_db, uid, "SELECT uid FROM store LIMIT 1");
    if (rc != SQLITE_ROW) {
        return rc == SQLITE_DONE ? MAPI_E_CORRUPT_DATA : FromSqlite(rc);
    }
    if (sqlite3_column_type(uid.get(), 0) != SQLITE_BLOB ||
        sqlite3_column_bytes(uid.get(), 0) != static_cast<int>(m_uid.size())) {
        return MAPI_E_CORRUPT_DATA;
    }
    std::memcpy(m_uid.data(), sqlite3_column_blob(uid.get(), 0), m_uid.size());
    sqlite3_reset(uid.get());
    return S_OK;
}

HRESULT Store::PrepareStatements() {
    struct Item {
        Statement* stmt;
        const char* sql;
    };
    auto prepare = [this](std::initializer_list<Item> items) {
        for (const Item& item : items) {
            int rc = item.stmt->Prepare(m_db, item.sql);
            if (rc != SQLITE_OK) {
                return FromSqlite(rc);
            }
        }
        return S_OK;
    };
    // Entries in use have no deletion time (a first-version store, read as it
    // is, has none at all); a deleted one's properties are packed under a tag
    // below every property's.
    const bool stamped = m_version >= 2;
    HRESULT hr = prepare({
        {&m_contents, stamped ? "SELECT id, object_type, display_name FROM entries"
                                " WHERE deleted_on IS NULL ORDER BY id"
                              : "SELECT id, object_type, display_name FROM entries ORDER BY id"},
        {&m_objectType, stamped
                            ? "SELECT object_type FROM entries WHERE id = ?1 AND deleted_on IS NULL"
                            : "SELECT object_type FROM entries WHERE id = ?1"},
        {&m_props, "SELECT tag, value FROM props WHERE entry_id = ?1 AND tag >= 0"},
        {&m_propsFrom, "SELECT entry_id, tag, value FROM props WHERE entry_id >= ?1 AND tag >= 0"},
        {&m_prop, "SELECT value FROM props WHERE entry_id = ?1 AND tag = ?2"},
        {&m_insertEntry, "INSERT INTO entries(object_type, display_name) VALUES(?1, ?2)"},
        {&m_insertProp, "INSERT INTO props(entry_id, tag, value) VALUES(?1, ?2, ?3)"},
        {&m_deleteProps, "DELETE FROM props WHERE entry_id = ?1"},
    });
    if (FAILED(hr) || !stamped) {
        return hr;
    }
    return prepare({
        {&m_stampDeleted,
         "UPDATE entries SET deleted_on = ?2 WHERE id = ?1 AND deleted_on IS NULL"},
        {&m_insertPacked, "INSERT INTO props(entry_id, tag, value) VALUES(?1, -1, ?2)"},
        {&m_deletedList, "SELECT id, object_type, display_name, deleted_on FROM entries"
                         " WHERE deleted_on IS NOT NULL ORDER BY deleted_on DESC, id DESC"},
        {&m_packed, "SELECT value FROM props WHERE entry_id = ?1 AND tag = -1"},
        {&m_unstamp, "UPDATE entries SET deleted_on = NULL"
                     " WHERE id = ?1 AND object_type = ?2 AND deleted_on IS NOT NULL"},
        {&m_dropPacked, "DELETE FROM props WHERE entry_id = ?1 AND tag = -1"},
        {&m_dropDeleted, "DELETE FROM entries WHERE id = ?1 AND deleted_on IS NOT NULL"},
    });
}

HRESULT Store::LoadContents(std::vector<ContentRow>& rows) {
    std::lock_guard lock(m_mutex);
    EnterSnapshot();
    rows.clear();
    sqlite3_stmt* stmt = m_contents.get();
    ResetOnExit reset(stmt);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        TakeContentRow(stmt, rows.emplace_back());
    }
    if (rc != SQLITE_DONE) {
        rows.clear();
        return FromSqlite(rc);
    }
    m_listed.clear();
    if (m_inSnapshot) {
        m_listed.reserve(rows.size());
        for (const ContentRow& row : rows) { // in id order, as the query sorts them
            m_listed.emplace_back(row.id, row.objectType);
        }
    }
    return S_OK;
}

HRESULT Store::GetObjectType(std::int64_t id, ULONG& objectType) {
    std::lock_guard lock(m_mutex);
    EnterSnapshot();
    return LookUpType(id, objectType);
}

HRESULT Store::LookUpType(std::int64_t id, ULONG& objectType) {
    if (m_inSnapshot && !m_listed.empty()) {
        auto it = std::lower_bound(m_listed.begin(), m_listed.end(), std::make_pair(id, ULONG{0}));
        if (it != m_listed.end() && it->first == id) {
            objectType = it->second;
            return S_OK;
        }
    }
    sqlite3_stmt* stmt = m_objectType.get();
    ResetOnExit reset(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) {
        return MAPI_E_NOT_FOUND;
    }
    if (rc != SQLITE_ROW) {
        return FromSqlite(rc);
    }
    objectType = static_cast<ULONG>(sqlite3_column_int64(stmt, 0));
    return S_OK;
}

HRESULT Store::ReadProps(std::int64_t id, PropsSink& sink) {
    std::lock_guard lock(m_mutex);
    EnterSnapshot();
    std::size_t count = 0;
    HRESULT hr = m_inSnapshot ? ReadPropsInOrder(id, count) : ReadPropsOf(id, count);
    if (FAILED(hr)) {
        return hr;
    }
    if (count == 0) {
        // No properties at all is fine; no entry at all is not.
        ULONG type = 0;
        hr = LookUpType(id, type);
        if (FAILED(hr)) {
            return hr == MAPI_E_NOT_FOUND ? MAPI_E_OBJECT_DELETED : hr;
        }
    }
    m_views.clear();
    return sink.Take(m_scratch.data(), count, m_views);
}

void Store::TakeRow(sqlite3_stmt* stmt, int column, std::size_t& count) {
    if (count == m_scratch.size()) {
        m_scratch.emplace_back();
    }
    auto tag = static_cast<ULONG>(sqlite3_column_int64(stmt, column));
    if (ColumnToValue(stmt, column + 1, tag, m_scratch[count])) {
        ++count;
    }
}

HRESULT Store::ReadPropsOf(std::int64_t id, std::size_t& count) {
    sqlite3_stmt* stmt = m_props.get();
    ResetOnExit reset(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        TakeRow(stmt, 0, count);
    }
    return rc == SQLITE_DONE ? S_OK : FromSqlite(rc);
}

// Entries are read mostly in id order, as the contents table lists them: the
// cursor walks on from the last entry instead of seeking each one anew, which
// saves a third of the reading.
HRESULT Store::ReadPropsInOrder(std::int64_t id, std::size_t& count) {
    sqlite3_stmt* stmt = m_propsFrom.get();
    auto step = [&] {
        m_cursor.rc = sqlite3_step(stmt);
        m_cursor.entry = m_cursor.rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : INT64_MAX;
    };
    // The cursor has passed every row after entry `done` up to its current
    // entry; the rows of `done` itself are taken, so asking again seeks anew.
    if (!m_cursor.open || id <= m_cursor.done || id > m_cursor.entry) {
        sqlite3_reset(stmt);
        sqlite3_bind_int64(stmt, 1, id);
        m_cursor.open = true;
        step();
    }
    m_cursor.done = id;
    while (m_cursor.rc == SQLITE_ROW && m_cursor.entry == id) {
        TakeRow(stmt, 1, count);
        step();
    }
    if (m_cursor.rc != SQLITE_ROW && m_cursor.rc != SQLITE_DONE) {
        const int rc = m_cursor.rc;
        CloseCursor();
        return FromSqlite(rc);
    }
    return S_OK;
}

void Store::CloseCursor() {
    if (m_cursor.open) {
        sqlite3_reset(m_propsFrom.get());
        m_cursor = {};
    }
}

HRESULT Store::ReadProp(std::int64_t id, ULONG tag, StoredValue& value, Part part) {
    std::lock_guard lock(m_mutex);
    EnterSnapshot();
    if (part == Part::Deleted) {
        return ReadDeletedProp(id, tag, value);
    }
    sqlite3_stmt* stmt = m_prop.get();
    ResetOnExit reset(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    sqlite3_bind_int64(stmt, 2, tag);
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) {
        return MAPI_E_NOT_FOUND;
    }
    if (rc != SQLITE_ROW) {
        return FromSqlite(rc);
    }
    return ColumnToValue(stmt, 0, tag, value) ? S_OK : MAPI_E_NOT_FOUND;
}

HRESULT Store::BeginWrite(bool& ownTransaction) {
    if (m_readOnly) {
        return MAPI_E_NO_ACCESS;
    }
    if (m_failedTransaction != S_OK) {
        return m_failedTransaction; // nothing more until the caller ends it
    }
    LeaveSnapshot();
    ownTransaction = !m_inTransaction;
    GrowCache();
    // Immediate: take the write lock up front, so a reader turned writer
    // never deadlocks against another process.
    return ownTransaction ? Exec("BEGIN IMMEDIATE") : S_OK;
}

// Room for a large import's pages, so they reach the WAL once, taken when
// the first write comes: a reader walks the file once and does better with
// the default cache than with filling a large one page by page.
void Store::GrowCache() {
    if (!m_grownCache) {
        m_grownCache = SUCCEEDED(Exec("PRAGMA cache_size=-32768"));
    }
}

HRESULT Store::EndWrite(bool ownTransaction, HRESULT hr) {
    if (SUCCEEDED(hr)) {
        if (!ownTransaction) {
            return hr;
        }
        HRESULT commit = Exec("COMMIT");
        if (SUCCEEDED(commit)) {
            return hr;
        }
        hr = commit;
    }
    // A failed step inside the caller's transaction undoes all of it: the
    // transaction stays all or nothing without a savepoint for every save.
    Exec("ROLLBACK");
    if (!ownTransaction) {
        m_inTransaction = false;
        m_failedTransaction = hr;
    }
    return hr;
}

HRESULT Store::InsertEntry(ULONG objectType, const std::vector<StoredValue>& props,
                           std::int64_t& id) {
    std::lock_guard lock(m_mutex);
    id = 0;
    bool own = false;
    HRESULT hr = BeginWrite(own);
    if (FAILED(hr)) {
        return hr;
    }
    {
        sqlite3_stmt* stmt = m_insertEntry.get();
        ResetOnExit reset(stmt);
        sqlite3_bind_int64(stmt, 1, objectType);
        sqlite3_bind_null(stmt, 2);
        for (const StoredValue& v : props) {
            if (v.tag == PR_DISPLAY_NAME) {
                sqlite3_bind_text(stmt, 2, v.bytes.data(), static_cast<int>(v.bytes.size()),
                                  SQLITE_STATIC);
            }
        }
        int rc = sqlite3_step(stmt);
        hr = rc == SQLITE_DONE ? S_OK : FromSqlite(rc);
        if ((rc & 0xFF) == SQLITE_FULL && IdentifiersUsedUp()) {
            hr = WAB_E_NO_IDENTIFIERS;
        }
        if (SUCCEEDED(hr)) {
            id = sqlite3_last_insert_rowid(m_db);
        }
    }
    sqlite3_stmt* stmt = m_insertProp.get();
    for (std::size_t i = 0; SUCCEEDED(hr) && i < props.size(); ++i) {
        ResetOnExit reset(stmt);
        sqlite3_bind_int64(stmt, 1, id);
        sqlite3_bind_int64(stmt, 2, props[i].tag);
        int rc = BindValue(stmt, 3, props[i]);
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(stmt);
        }
        hr = rc == SQLITE_DONE ? S_OK
                               : (rc == SQLITE_MISMATCH ? MAPI_E_INVALID_TYPE : FromSqlite(rc));
    }
    hr = EndWrite(own, hr);
    if (FAILED(hr)) {
        id = 0;
    }
    return hr;
}

// SQLite reports a full disk also when the largest row id has been issued,
// as identifiers are never reused.
bool Store::IdentifiersUsedUp() {
    Statement last;
    const int rc =
        StepOnce(m_db, last,
                 "SELECT max(ifnull((SELECT seq FROM sqlite_sequence"
                 " WHERE name = 'entries'), 0), ifnull((SELECT max(id) FROM entries), 0))");
    return rc == SQLITE_ROW && sqlite3_column_int64(last.get(), 0) == INT64_MAX;
}

HRESULT Store::DeleteEntries(const std::vector<std::int64_t>& ids, std::size_t& missing) {
    const std::int64_t now = ClockTicks();
    return WriteEach(ids, missing,
                     [&](std::int64_t id, bool& found) { return MoveToDeleted(id, now, found); });
}

HRESULT Store::WriteEach(const std::vector<std::int64_t>& ids, std::size_t& missing,
                         const std::function<HRESULT(std::int64_t, bool&)>& one) {
    std::lock_guard lock(m_mutex);
    missing = 0;
    bool own = false;
    HRESULT hr = BeginWrite(own);
    if (FAILED(hr)) {
        return hr;
    }
    std::size_t gone = 0;
    for (std::size_t i = 0; SUCCEEDED(hr) && i < ids.size(); ++i) {
        bool found = false;
        hr = one(ids[i], found);
        gone += found ? 0 : 1;
    }
    hr = EndWrite(own, hr);
    if (SUCCEEDED(hr)) {
        missing = gone;
    }
    return hr;
}

HRESULT Store::FailWrite(HRESULT hr) {
    std::lock_guard lock(m_mutex);
    bool own = false;
    HRESULT begun = BeginWrite(own);
    return FAILED(begun) ? begun : EndWrite(own, hr);
}

HRESULT Store::BeginTransaction() {
    std::lock_guard lock(m_mutex);
    if (m_readOnly) {
        return MAPI_E_NO_ACCESS;
    }
    if (m_inTransaction || m_failedTransaction != S_OK) {
        return MAPI_E_CALL_FAILED;
    }
    LeaveSnapshot();
    GrowCache();
    HRESULT hr = Exec("BEGIN IMMEDIATE");
    if (SUCCEEDED(hr)) {
        m_inTransaction = true;
    }
    return hr;
}

HRESULT Store::CommitTransaction() {
    std::lock_guard lock(m_mutex);
    if (m_failedTransaction != S_OK) {
        HRESULT failed = m_failedTransaction;
        m_failedTransaction = S_OK;
        return failed;
    }
    if (!m_inTransaction) {
        return MAPI_E_CALL_FAILED;
    }
    m_inTransaction = false;
    return Finish(S_OK);
}

HRESULT Store::AbortTransaction() {
    std::lock_guard lock(m_mutex);
    if (m_failedTransaction != S_OK) {
        m_failedTransaction = S_OK;
        return S_OK; // undone already
    }
    if (!m_inTransaction) {
        return MAPI_E_CALL_FAILED;
    }
    m_inTransaction = false;
    return Exec("ROLLBACK");
}

void Store::BeginReadBatch() {
    std::lock_guard lock(m_mutex);
    ++m_batchReaders;
}

void Store::EndReadBatch() {
    std::lock_guard lock(m_mutex);
    if (m_batchReaders > 0 && --m_batchReaders == 0) {
        LeaveSnapshot();
    }
}

void Store::EnterSnapshot() {
    if (m_batchReaders > 0 && !m_inSnapshot && !m_inTransaction &&
        sqlite3_get_autocommit(m_db) != 0 && SUCCEEDED(Exec("BEGIN"))) {
        m_inSnapshot = true;
    }
}

void Store::LeaveSnapshot() {
    m_listed.clear();
    CloseCursor();
    if (m_inSnapshot) {
        m_inSnapshot = false;
        Exec("COMMIT"); // a read transaction: nothing to write
    }
}

} // namespace wab
