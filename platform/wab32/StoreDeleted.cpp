// The store's deleted part: entries stamped with the time of their deletion,
// each with its properties packed into one props row under the tag -1.
//
// The packing keeps the props rows byte for byte as SQLite held them: a
// format byte (1), then for each row its tag and its value, each as a storage
// byte (SQLite's class: 1 integer, 2 real, 3 text, 4 blob, 5 null) followed by
// 8 bytes little-endian for an integer or a real, or a 4-byte little-endian
// length and the bytes for text or a blob.
#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/wab32/Faults.h"
#include "platform/wab32/Store.h"
#include "platform/wab32/StoreSql.h"
#include "platform/wab32/WabResults.h"

namespace wab {
namespace {

constexpr char kPackFormat = 1;
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kUnixEpochTicks = 116444736000000000; // 1970-01-01 as FILETIME
constexpr std::int64_t kKeptDays = 30;

// One SQLite value, as packed.
struct Packed {
    int storage = SQLITE_NULL;
    std::int64_t n = 0; // an integer, or the bits of a real
    const char* data = nullptr;
    std::size_t size = 0;
};

void PutNumber(std::string& out, std::uint64_t n, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>(n >> (8 * i)));
    }
}

void PackColumn(sqlite3_stmt* stmt, int column, std::string& out) {
    const int storage = sqlite3_column_type(stmt, column);
    out.push_back(static_cast<char>(storage));
    if (storage == SQLITE_INTEGER) {
        PutNumber(out, static_cast<std::uint64_t>(sqlite3_column_int64(stmt, column)), 8);
    } else if (storage == SQLITE_FLOAT) {
        const double real = sqlite3_column_double(stmt, column);
        std::uint64_t bits = 0;
        std::memcpy(&bits, &real, sizeof bits);
        PutNumber(out, bits, 8);
    } else if (storage == SQLITE_TEXT || storage == SQLITE_BLOB) {
        const void* data = storage == SQLITE_TEXT
                               ? static_cast<const void*>(sqlite3_column_text(stmt, column))
                               : sqlite3_column_blob(stmt, column);
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt, column));
        PutNumber(out, size, 4);
        out.append(size == 0 ? "" : static_cast<const char*>(data), size);
    }
}

// Reads packed values in order; false at the end or on damage (then `damaged`).
class Unpacker {
public:
    explicit Unpacker(const std::string& packed)
        : m_p(packed.data()), m_end(packed.data() + packed.size()) {
        m_damaged = packed.empty() || *m_p++ != kPackFormat;
    }
    bool Next(Packed& value) {
        if (m_damaged || m_p == m_end) {
            return false;
        }
        value = {};
        value.storage = static_cast<unsigned char>(*m_p++);
        switch (value.storage) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return Number(8, value.n);
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            std::int64_t size = 0;
            if (!Number(4, size) || m_end - m_p < size) {
                return Damaged();
            }
            value.data = m_p;
            value.size = static_cast<std::size_t>(size);
            m_p += size;
            return true;
        }
        case SQLITE_NULL:
            return true;
        default:
            return Damaged();
        }
    }
    // A tag and its value; false at the end or on damage.
    bool NextRow(Packed& tag, Packed& value) {
        if (!Next(tag)) {
            return false;
        }
        return Next(value) || Damaged();
    }
    bool IsDamaged() const { return m_damaged; }

private:
    bool Number(int bytes, std::int64_t& n) {
        if (m_end - m_p < bytes) {
            return Damaged();
        }
        std::uint64_t raw = 0;
        for (int i = 0; i < bytes; ++i) {
            raw |= static_cast<std::uint64_t>(static_cast<unsigned char>(m_p[i])) << (8 * i);
        }
        m_p += bytes;
        n = static_cast<std::int64_t>(raw);
        return true;
    }
    bool Damaged() {
        m_damaged = true;
        return false;
    }

    const char* m_p;
    const char* m_end;
    bool m_damaged;
};

int BindPacked(sqlite3_stmt* stmt, int index, const Packed& value) {
    switch (value.storage) {
    case SQLITE_INTEGER:
        return sqlite3_bind_int64(stmt, index, value.n);
    case SQLITE_FLOAT: {
        double real = 0;
        std::memcpy(&real, &value.n, sizeof real);
        return sqlite3_bind_double(stmt, index, real);
    }
    case SQLITE_TEXT:
        return sqlite3_bind_text(stmt, index, value.data, static_cast<int>(value.size),
                                 SQLITE_STATIC);
    case SQLITE_BLOB:
        return value.size == 0 ? sqlite3_bind_zeroblob(stmt, index, 0)
                               : sqlite3_bind_blob(stmt, index, value.data,
                                                   static_cast<int>(value.size), SQLITE_STATIC);
    default:
        return sqlite3_bind_null(stmt, index);
    }
}

// The bytes of a text or blob column, which SQLite gives as null when empty.
void TakeBytes(sqlite3_stmt* stmt, int column, std::string& out) {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, column));
    out.assign(data != nullptr ? data : "",
               data != nullptr ? static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)) : 0);
}

} // namespace

std::int64_t ClockTicks() {
    std::int64_t seconds = 0;
    if (ScriptedTime(seconds)) {
        return kUnixEpochTicks + seconds * kTicksPerSecond;
    }
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, kTicksPerSecond>>;
    return kUnixEpochTicks +
           std::chrono::duration_cast<Ticks>(std::chrono::system_clock::now().time_since_epoch())
               .count();
}

// In the caller's write transaction. `found` is false when no entry in use
// has the id; nothing is changed then.
HRESULT Store::MoveToDeleted(std::int64_t id, std::int64_t now, bool& found) {
    found = false;
    {
        sqlite3_stmt* stmt = m_stampDeleted.get();
        ResetOnExit reset(stmt);
        sqlite3_bind_int64(stmt, 1, id);
        sqlite3_bind_int64(stmt, 2, now);
        HRESULT hr = StepDone(stmt);
        if (FAILED(hr) || sqlite3_changes(m_db) == 0) {
            return hr;
        }
        found = true;
    }
    m_packing.assign(1, kPackFormat);
    {
        sqlite3_stmt* stmt = m_props.get();
        ResetOnExit reset(stmt);
        sqlite3_bind_int64(stmt, 1, id);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            PackColumn(stmt, 0, m_packing);
            PackColumn(stmt, 1, m_packing);
        }
        if (rc != SQLITE_DONE) {
            return FromSqlite(rc);
        }
    }
    // Removed first, so the packed row takes the room they leave in the leaf.
    {
        ResetOnExit reset(m_deleteProps.get());
        sqlite3_bind_int64(m_deleteProps.get(), 1, id);
        HRESULT hr = StepDone(m_deleteProps.get());
        if (FAILED(hr)) {
            return hr;
        }
    }
    sqlite3_stmt* stmt = m_insertPacked.get();
    ResetOnExit reset(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    sqlite3_bind_blob(stmt, 2, m_packing.data(), static_cast<int>(m_packing.size()), SQLITE_STATIC);
    return StepDone(stmt);
}

HRESULT Store::LoadDeleted(std::vector<ContentRow>& rows) {
    std::lock_guard lock(m_mutex);
    rows.clear();
    if (m_version < 2) {
        return S_OK; // a first-version store read as it is: nothing was kept
    }
    EnterSnapshot();
    sqlite3_stmt* stmt = m_deletedList.get();
    ResetOnExit reset(stmt);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ContentRow& row = rows.emplace_back();
        TakeContentRow(stmt, row);
        row.deletedOn = sqlite3_column_int64(stmt, 3);
    }
    if (rc != SQLITE_DONE) {
        rows.clear();
        return FromSqlite(rc);
    }
    return S_OK;
}

// The packed properties of a deleted entry into m_packing.
HRESULT Store::ReadPacked(std::int64_t id) {
    sqlite3_stmt* stmt = m_packed.get();
    ResetOnExit reset(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW) {
        // A stamped entry always has them: one without was damaged.
        return rc == SQLITE_DONE ? MAPI_E_CORRUPT_DATA : FromSqlite(rc);
    }
    TakeBytes(stmt, 0, m_packing);
    return S_OK;
}

HRESULT Store::ReadDeletedProp(std::int64_t id, ULONG tag, StoredValue& value) {
    if (m_version < 2) {
        return MAPI_E_NOT_FOUND;
    }
    HRESULT hr = ReadPacked(id);
    if (FAILED(hr)) {
        return hr;
    }
    Unpacker unpack(m_packing);
    Packed key;
    Packed found;
    while (unpack.NextRow(key, found)) {
        if (key.storage == SQLITE_INTEGER && key.n == static_cast<std::int64_t>(tag)) {
            return ToStoredValue(tag, found.storage, found.n, found.data, found.size, value)
                       ? S_OK
                       : MAPI_E_NOT_FOUND;
        }
    }
    return unpack.IsDamaged() ? MAPI_E_CORRUPT_DATA : MAPI_E_NOT_FOUND;
}

HRESULT Store::RestoreEntries(const std::vector<EntryKey>& keys) {
    std::lock_guard lock(m_mutex);
    bool own = false;
    HRESULT hr = BeginWrite(own);
    if (FAILED(hr)) {
        return hr;
    }
    std::vector<EntryKey> sorted = keys;
    std::sort(sorted.begin(), sorted.end(), [](const EntryKey& a, const EntryKey& b) {
        return a.id != b.id ? a.id < b.id : a.objectType < b.objectType;
    });
    // Named twice, an entry is still put back once.
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](const EntryKey& a, const EntryKey& b) {
                                 return a.id == b.id && a.objectType == b.objectType;
                             }),
                 sorted.end());
    for (std::size_t i = 0; SUCCEEDED(hr) && i < sorted.size(); ++i) {
        hr = RestoreEntry(sorted[i]);
    }
    return EndWrite(own, hr);
}

// In the caller's write transaction; any failure undoes all of it.
HRESULT Store::RestoreEntry(const EntryKey& key) {
    HRESULT hr = S_OK;
    {
        sqlite3_stmt* stmt = m_unstamp.get();
        ResetOnExit reset(stmt);
        sqlite3_bind_int64(stmt, 1, key.id);
        sqlite3_bind_int64(stmt, 2, key.objectType);
        hr = StepDone(stmt);
    }
    if (SUCCEEDED(hr) && sqlite3_changes(m_db) == 0) {
        // Not among the deleted: in use (put back already), or no such entry.
        ULONG type = 0;
        hr = LookUpType(key.id, type);
        if (FAILED(hr)) {
            return hr;
        }
        return type == key.objectType ? MAPI_E_COLLISION : MAPI_E_NOT_FOUND;
    }
    if (SUCCEEDED(hr)) {
        hr = ReadPacked(key.id);
    }
    if (SUCCEEDED(hr)) {
        ResetOnExit reset(m_dropPacked.get());
        sqlite3_bind_int64(m_dropPacked.get(), 1, key.id);
        hr = StepDone(m_dropPacked.get());
    }
    Unpacker unpack(m_packing);
    Packed tag;
    Packed value;
    sqlite3_stmt* insert = m_insertProp.get();
    while (SUCCEEDED(hr) && unpack.NextRow(tag, value)) {
        if (tag.storage != SQLITE_INTEGER) {
            return MAPI_E_CORRUPT_DATA; // we pack no other tags
        }
        ResetOnExit reset(insert);
        sqlite3_bind_int64(insert, 1, key.id);
        BindPacked(insert, 2, tag);
        BindPacked(insert, 3, value);
        const int rc = sqlite3_step(insert);
        // A tag kept twice, or kept and in use at once: the rows were damaged.
        hr = rc == SQLITE_DONE
                 ? S_OK
                 : ((rc & 0xFF) == SQLITE_CONSTRAINT ? MAPI_E_CORRUPT_DATA : FromSqlite(rc));
    }
    return SUCCEEDED(hr) && unpack.IsDamaged() ? MAPI_E_CORRUPT_DATA : hr;
}

HRESULT Store::PurgeEntries(const std::vector<std::int64_t>& ids, std::size_t& missing) {
    return WriteEach(ids, missing, [&](std::int64_t id, bool& found) {
        HRESULT hr = S_OK;
        {
            ResetOnExit reset(m_dropDeleted.get());
            sqlite3_bind_int64(m_dropDeleted.get(), 1, id);
            hr = StepDone(m_dropDeleted.get());
        }
        // Not deleted, or purged already: its rows are not touched.
        found = SUCCEEDED(hr) && sqlite3_changes(m_db) != 0;
        if (!found) {
            return hr;
        }
        ResetOnExit reset(m_dropPacked.get());
        sqlite3_bind_int64(m_dropPacked.get(), 1, id);
        return StepDone(m_dropPacked.get());
    });
}

// Housekeeping of a writable open: whatever stops it (another writer, a full
// disk) leaves the store as it was, and the next open tries again.
void Store::PurgeExpired() {
    const std::int64_t before = ClockTicks() - kKeptDays * 86400 * kTicksPerSecond;
    Statement any;
    if (any.Prepare(m_db, "SELECT 1 FROM entries WHERE deleted_on < ?1 LIMIT 1") != SQLITE_OK) {
        return;
    }
    sqlite3_bind_int64(any.get(), 1, before);
    const bool expired = sqlite3_step(any.get()) == SQLITE_ROW;
    sqlite3_reset(any.get());
    if (!expired || FAILED(Exec("BEGIN IMMEDIATE"))) {
        return;
    }
    Statement packed;
    Statement stamped;
    int rc = packed.Prepare(m_db, "DELETE FROM props WHERE tag = -1 AND entry_id IN"
                                  " (SELECT id FROM entries WHERE deleted_on < ?1)");
    if (rc == SQLITE_OK) {
        sqlite3_bind_int64(packed.get(), 1, before);
        rc = sqlite3_step(packed.get());
    }
    if (rc == SQLITE_DONE) {
        rc = stamped.Prepare(m_db, "DELETE FROM entries WHERE deleted_on < ?1");
    }
    if (rc == SQLITE_OK) {
        sqlite3_bind_int64(stamped.get(), 1, before);
        rc = sqlite3_step(stamped.get());
    }
    Finish(rc == SQLITE_DONE ? S_OK : FromSqlite(rc));
}

} // namespace wab
