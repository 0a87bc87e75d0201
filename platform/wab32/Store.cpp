#include "platform/wab32/Store.h"

#include "platform/wab32/WabResults.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <random>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wab {
namespace {

constexpr int kApplicationId = 0x5142574B; // "QBWK"
constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 5000;

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

// Leaves a statement ready for its next use and releases its read snapshot,
// so no call of ours keeps the file locked after it returns.
class ResetOnExit {
public:
    explicit ResetOnExit(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    ~ResetOnExit() { sqlite3_reset(m_stmt); }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    sqlite3_stmt* m_stmt;
};

bool IsIntegerType(ULONG type) {
    return type == PT_SHORT || type == PT_LONG || type == PT_BOOLEAN || type == PT_SYSTIME ||
           type == PT_I8;
}

bool IsBlobType(ULONG type) {
    return type == PT_BINARY || type == PT_MV_STRING8;
}

// Takes a column into `value` when its storage class fits the tag's type.
bool ColumnToValue(sqlite3_stmt* stmt, int column, ULONG tag, StoredValue& value) {
    ULONG type = PROP_TYPE(tag);
    int storage = sqlite3_column_type(stmt, column);
    value.tag = tag;
    value.n = 0;
    if (IsIntegerType(type)) {
        if (storage != SQLITE_INTEGER) {
            return false;
        }
        value.n = sqlite3_column_int64(stmt, column);
        value.bytes.clear();
        return true;
    }
    if (type == PT_STRING8 && storage == SQLITE_TEXT) {
        const auto* text = sqlite3_column_text(stmt, column);
        value.bytes.assign(reinterpret_cast<const char*>(text),
                           static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
        return true;
    }
    if (IsBlobType(type) && storage == SQLITE_BLOB) {
        const void* blob = sqlite3_column_blob(stmt, column);
        auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt, column));
        value.bytes.assign(size == 0 ? "" : static_cast<const char*>(blob), size);
        if (type == PT_MV_STRING8 && size != 0 && value.bytes.back() != '\0') {
            return false;
        }
        return true;
    }
    return false;
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

bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
}

// URI form of a path for SQLite's "immutable" open.
std::string FileUri(const std::string& path) {
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
    return uri + "?immutable=1";
}

} // namespace

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

int Statement::Prepare(sqlite3* db, const char* sql) {
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
}

std::string Store::DefaultPath() {
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

HRESULT Store::Open(const char* fileName, ULONG ulFlags, std::shared_ptr<Store>& out) {
    out.reset();
    const bool isDefault = fileName == nullptr || fileName[0] == '\0';
    const bool create = !isDefault && (ulFlags & WAB_CREATE_STORE) != 0;
    const std::string path = isDefault ? DefaultPath() : std::string(fileName);
    if (path.empty()) {
        return MAPI_E_NOT_FOUND;
    }

    bool mayInitialise = false;
    bool created = false;
    if (isDefault || create) {
        if (isDefault && !MakeFolders(path)) {
            return MAPI_E_NO_ACCESS;
        }
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            fchmod(fd, 0600); // whatever the umask says
            ::close(fd);
            mayInitialise = true;
            created = true;
        } else if (errno == EEXIST) {
            if (create) {
                return MAPI_E_COLLISION;
            }
        } else {
            return errno == ENOENT ? MAPI_E_NOT_FOUND : MAPI_E_NO_ACCESS;
        }
    }

    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return MAPI_E_NOT_FOUND;
    }
    if (isDefault && st.st_size == 0) {
        mayInitialise = true; // a first use that stopped before it wrote anything
    }
    // Mode bits count even for root: a file marked read-only is treated as such.
    const bool readOnly = ::access(path.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0;
    if (readOnly && mayInitialise) {
        return MAPI_E_NO_ACCESS;
    }

    std::shared_ptr<Store> store(new (std::nothrow) Store);
    if (!store) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    HRESULT hr = store->OpenConnection(path, readOnly, mayInitialise);
    if (FAILED(hr)) {
        store.reset();
        if (created) {
            ::unlink(path.c_str());
            ::unlink((path + "-wal").c_str());
            ::unlink((path + "-shm").c_str());
        }
        return hr;
    }
    out = std::move(store);
    return S_OK;
}

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

HRESULT Store::OpenConnection(const std::string& path, bool readOnly, bool mayInitialise) {
    m_readOnly = readOnly;
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    // Changes left in a WAL by its last writer would be written back into
    // the file when we close it; until the file is known to be ours, it
    // must stay as it is.
    struct stat wal {};
    const bool pendingWal = ::stat((path + "-wal").c_str(), &wal) == 0 && wal.st_size > 0;
    // Our stores keep a WAL, never a rollback journal; reading a file beside
    // one would roll it back into the file.
    struct stat journal {};
    if (::stat((path + "-journal").c_str(), &journal) == 0 && journal.st_size > 0) {
        return MAPI_E_CORRUPT_DATA;
    }
    int rc = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        return FromSqlite(rc);
    }
    if (pendingWal) {
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);

    if (mayInitialise) {
        HRESULT hr = Initialise();
        if (FAILED(hr)) {
            return hr;
        }
    }
    HRESULT hr = Validate();
    if (hr == MAPI_E_NOT_FOUND && readOnly) {
        // A WAL store in a folder we may not write to: no shared-memory file
        // can be made, so read it as an unchanging file.
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        rc = sqlite3_open_v2(FileUri(path).c_str(), &m_db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            return FromSqlite(rc);
        }
        hr = Validate();
    }
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
        if (SUCCEEDED(hr)) {
            // Room for a large import's pages, so they reach the WAL once.
            hr = Exec("PRAGMA cache_size=-32768");
        }
        if (FAILED(hr)) {
            return hr;
        }
    }
    return PrepareStatements();
}

HRESULT Store::Initialise() {
    HRESULT hr = Exec("PRAGMA journal_mode=WAL");
    if (FAILED(hr)) {
        return hr;
    }
    hr = Exec("BEGIN IMMEDIATE");
    if (FAILED(hr)) {
        return hr;
    }
    // Another process may have got here first.
    Statement probe;
    int rc = probe.Prepare(m_db, "SELECT (SELECT application_id FROM pragma_application_id), "
                                 "(SELECT count(*) FROM sqlite_master)");
    std::int64_t appId = -1;
    std::int64_t objects = -1;
    if (rc == SQLITE_OK && sqlite3_step(probe.get()) == SQLITE_ROW) {
        appId = sqlite3_column_int64(probe.get(), 0);
        objects = sqlite3_column_int64(probe.get(), 1);
    }
    sqlite3_reset(probe.get());
    if (appId == kApplicationId) {
        Exec("ROLLBACK");
        return S_OK;
    }
    if (appId != 0 || objects != 0) {
        Exec("ROLLBACK");
        return WAB_E_NOT_ADDRESS_BOOK;
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
        "PRAGMA application_id=1363302219;"
        "PRAGMA user_version=1;";
    static_assert(kApplicationId == 1363302219 && kSchemaVersion == 1);
    hr = Exec(schema);
    if (SUCCEEDED(hr)) {
        Statement insert;
        rc = insert.Prepare(m_db, "INSERT INTO store(uid) VALUES(?1)");
        if (rc == SQLITE_OK) {
            sqlite3_bind_blob(insert.get(), 1, m_uid.data(), static_cast<int>(m_uid.size()),
                              SQLITE_STATIC);
            rc = sqlite3_step(insert.get());
        }
        hr = rc == SQLITE_DONE ? S_OK : FromSqlite(rc);
    }
    if (SUCCEEDED(hr)) {
        hr = Exec("COMMIT");
    }
    if (FAILED(hr)) {
        Exec("ROLLBACK");
    }
    return hr;
}

HRESULT Store::Validate() {
    // Reads only: a file that turns out not to be ours stays as it was.
    Statement header;
    int rc = header.Prepare(m_db, "SELECT (SELECT application_id FROM pragma_application_id), "
                                  "(SELECT user_version FROM pragma_user_version)");
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(header.get());
    }
    if (rc != SQLITE_ROW) {
        // No SQLite header at all: some other kind of file.
        return (rc & 0xFF) == SQLITE_NOTADB ? WAB_E_NOT_ADDRESS_BOOK : FromSqlite(rc);
    }
    std::int64_t appId = sqlite3_column_int64(header.get(), 0);
    std::int64_t version = sqlite3_column_int64(header.get(), 1);
    sqlite3_reset(header.get());
    if (appId != kApplicationId) {
        return WAB_E_NOT_ADDRESS_BOOK;
    }
    if (version < 1) {
        return MAPI_E_CORRUPT_DATA;
    }
    if (version > kSchemaVersion) {
        return MAPI_E_VERSION;
    }

    // Walking both tables visits every page of them, so a truncated file or
    // an overwritten block shows up here, at a seventh of a full cell check.
    for (const char* walk : {"SELECT count(*) FROM entries", "SELECT count(*) FROM props"}) {
        Statement count;
        rc = count.Prepare(m_db, walk);
        if (rc != SQLITE_OK) {
            return FromSqlite(rc);
        }
        rc = sqlite3_step(count.get());
        if (rc != SQLITE_ROW) {
            return FromSqlite(rc);
        }
    }

    Statement uid;
    rc = uid.Prepare(m_db, "SELECT uid FROM store LIMIT 1");
    if (rc != SQLITE_OK) {
        return FromSqlite(rc);
    }
    rc = sqlite3_step(uid.get());
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
    const Item items[] = {
        {&m_contents, "SELECT id, object_type, display_name FROM entries ORDER BY id"},
        {&m_objectType, "SELECT object_type FROM entries WHERE id = ?1"},
        {&m_props, "SELECT tag, value FROM props WHERE entry_id = ?1"},
        {&m_prop, "SELECT value FROM props WHERE entry_id = ?1 AND tag = ?2"},
        {&m_insertEntry, "INSERT INTO entries(object_type, display_name) VALUES(?1, ?2)"},
        {&m_insertProp, "INSERT INTO props(entry_id, tag, value) VALUES(?1, ?2, ?3)"},
        {&m_deleteProps, "DELETE FROM props WHERE entry_id = ?1"},
        {&m_deleteEntry, "DELETE FROM entries WHERE id = ?1"},
    };
    for (const Item& item : items) {
        int rc = item.stmt->Prepare(m_db, item.sql);
        if (rc != SQLITE_OK) {
            return FromSqlite(rc);
        }
    }
    return S_OK;
}

HRESULT Store::LoadContents(std::vector<ContentRow>& rows) {
    std::lock_guard lock(m_mutex);
    EnterSnapshot();
    rows.clear();
    sqlite3_stmt* stmt = m_contents.get();
    ResetOnExit reset(stmt);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ContentRow& row = rows.emplace_back();
        row.id = sqlite3_column_int64(stmt, 0);
        row.objectType = static_cast<ULONG>(sqlite3_column_int64(stmt, 1));
        if (sqlite3_column_type(stmt, 2) == SQLITE_TEXT) {
            row.hasName = true;
            row.displayName.assign(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)),
                                   static_cast<std::size_t>(sqlite3_column_bytes(stmt, 2)));
        }
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
    {
        sqlite3_stmt* stmt = m_props.get();
        ResetOnExit reset(stmt);
        sqlite3_bind_int64(stmt, 1, id);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (count == m_scratch.size()) {
                m_scratch.emplace_back();
            }
            auto tag = static_cast<ULONG>(sqlite3_column_int64(stmt, 0));
            if (ColumnToValue(stmt, 1, tag, m_scratch[count])) {
                ++count;
            }
        }
        if (rc != SQLITE_DONE) {
            return FromSqlite(rc);
        }
    }
    if (count == 0) {
        // No properties at all is fine; no entry at all is not.
        sqlite3_stmt* stmt = m_objectType.get();
        ResetOnExit reset(stmt);
        sqlite3_bind_int64(stmt, 1, id);
        int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) {
            return MAPI_E_OBJECT_DELETED;
        }
        if (rc != SQLITE_ROW) {
            return FromSqlite(rc);
        }
    }
    m_views.clear();
    return sink.Take(m_scratch.data(), count, m_views);
}

HRESULT Store::ReadProp(std::int64_t id, ULONG tag, StoredValue& value) {
    std::lock_guard lock(m_mutex);
    EnterSnapshot();
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
    // Immediate: take the write lock up front, so a reader turned writer
    // never deadlocks against another process.
    return ownTransaction ? Exec("BEGIN IMMEDIATE") : S_OK;
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

HRESULT Store::DeleteEntries(const std::vector<std::int64_t>& ids, std::size_t& missing) {
    std::lock_guard lock(m_mutex);
    missing = 0;
    bool own = false;
    HRESULT hr = BeginWrite(own);
    if (FAILED(hr)) {
        return hr;
    }
    std::size_t gone = 0;
    for (std::size_t i = 0; SUCCEEDED(hr) && i < ids.size(); ++i) {
        {
            ResetOnExit reset(m_deleteProps.get());
            sqlite3_bind_int64(m_deleteProps.get(), 1, ids[i]);
            int rc = sqlite3_step(m_deleteProps.get());
            hr = rc == SQLITE_DONE ? S_OK : FromSqlite(rc);
        }
        if (SUCCEEDED(hr)) {
            ResetOnExit reset(m_deleteEntry.get());
            sqlite3_bind_int64(m_deleteEntry.get(), 1, ids[i]);
            int rc = sqlite3_step(m_deleteEntry.get());
            hr = rc == SQLITE_DONE ? S_OK : FromSqlite(rc);
            if (SUCCEEDED(hr) && sqlite3_changes(m_db) == 0) {
                ++gone;
            }
        }
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
    HRESULT hr = Exec("COMMIT");
    if (FAILED(hr)) {
        Exec("ROLLBACK");
    }
    return hr;
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
    if (m_inSnapshot) {
        m_inSnapshot = false;
        Exec("COMMIT"); // a read transaction: nothing to write
    }
}

} // namespace wab
