// SQLite plumbing shared by the store's source files.
#pragma once

#include <cstdint>
#include <sqlite3.h>

#include "platform/wab32/Store.h"

namespace wab {

HRESULT FromSqlite(int rc);

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

// Columns 0 to 2 of a listing: id, object type, display name.
void TakeContentRow(sqlite3_stmt* stmt, ContentRow& row);

// Now, as FILETIME ticks (100 ns since 1601, UTC): when a deletion happened.
std::int64_t ClockTicks();

// Runs a statement that changes rows; S_OK when it ran to its end.
HRESULT StepDone(sqlite3_stmt* stmt);

// Takes a value SQLite keeps in `storage` (SQLITE_INTEGER, ...) into `value`
// when the storage fits the tag's type.
bool ToStoredValue(ULONG tag, int storage, std::int64_t n, const char* data, std::size_t size,
                   StoredValue& value);

} // namespace wab
