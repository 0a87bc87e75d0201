// The objects the library hands out. Each holds its own reference to the
// store, so callers may release them in any order.
#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/wab32/Buffers.h"
#include "platform/wab32/Faults.h"
#include "platform/wab32/Store.h"
#include "platform/wab32/WabAbi.h"
#include "platform/wab32/WabResults.h"

namespace wab {
namespace {

// ---- Entry identifiers ------------------------------------------------------
//
// 32 bytes: 4 flag bytes (0), the store's 16-byte uid, the kind (32 bits) and
// the entry's row id (64 bits), little-endian. The uid keeps an identifier of
// one store from naming an entry of another.

constexpr ULONG kEntryIdSize = 32;
constexpr ULONG kKindContainer = 1;
constexpr ULONG kKindMailUserTemplate = 2;
constexpr ULONG kKindDistListTemplate = 3;

struct EntryIdBytes {
    BYTE b[kEntryIdSize];
};

EntryIdBytes EncodeEntryId(const StoreUid& uid, ULONG kind, std::int64_t id) {
    EntryIdBytes out{};
    std::memcpy(out.b + 4, uid.data(), uid.size());
    for (int i = 0; i < 4; ++i) {
        out.b[20 + i] = static_cast<BYTE>(kind >> (8 * i));
    }
    auto uid64 = static_cast<std::uint64_t>(id);
    for (int i = 0; i < 8; ++i) {
        out.b[24 + i] = static_cast<BYTE>(uid64 >> (8 * i));
    }
    return out;
}

// The kind and row id of an identifier of this store, not yet judged.
bool ParseEntryId(const StoreUid& uid, ULONG cb, const void* lpEntryID, ULONG& kind,
                  std::int64_t& id) {
    if (cb != kEntryIdSize || lpEntryID == nullptr) {
        return false;
    }
    const auto* b = static_cast<const BYTE*>(lpEntryID);
    if (b[0] != 0 || b[1] != 0 || b[2] != 0 || b[3] != 0 ||
        std::memcmp(b + 4, uid.data(), uid.size()) != 0) {
        return false;
    }
    kind = 0;
    for (int i = 0; i < 4; ++i) {
        kind |= static_cast<ULONG>(b[20 + i]) << (8 * i);
    }
    std::uint64_t raw = 0;
    for (int i = 0; i < 8; ++i) {
        raw |= static_cast<std::uint64_t>(b[24 + i]) << (8 * i);
    }
    id = static_cast<std::int64_t>(raw);
    return true;
}

bool DecodeEntryId(const StoreUid& uid, ULONG cb, const void* lpEntryID, ULONG& kind,
                   std::int64_t& id) {
    if (!ParseEntryId(uid, cb, lpEntryID, kind, id)) {
        return false;
    }
    switch (kind) {
    case kKindContainer:
    case kKindMailUserTemplate:
    case kKindDistListTemplate:
        return id == 0;
    default: // also a kind the store does not know, listed from a damaged row
        return id > 0;
    }
}

// ---- Property arrays --------------------------------------------------------

ValueView View(const StoredValue& v) {
    return {v.tag, v.n, v.bytes.data(), v.bytes.size()};
}

ValueView ErrorView(ULONG tag, HRESULT error) {
    return {PROP_TAG(PT_ERROR, PROP_ID(tag)), error, nullptr, 0};
}

constexpr std::size_t Align8(std::size_t n) {
    return (n + 7) & ~std::size_t{7};
}

std::size_t CountPacked(const char* data, std::size_t size) {
    std::size_t strings = 0;
    for (std::size_t i = 0; i < size; ++i) {
        strings += data[i] == '\0' ? 1 : 0;
    }
    return strings;
}

std::size_t PayloadSize(const ValueView& v) {
    switch (PROP_TYPE(v.tag)) {
    case PT_STRING8:
        return Align8(v.size + 1);
    case PT_BINARY:
        return Align8(v.size);
    case PT_MV_STRING8:
        return CountPacked(v.data, v.size) * sizeof(LPSTR) + Align8(v.size);
    default:
        return 0;
    }
}

// Writes one value; its strings and bytes go to `payload`, which moves on.
void FillValue(const ValueView& v, SPropValue& out, char*& payload) {
    out.ulPropTag = v.tag;
    out.dwAlignPad = 0;
    std::memset(&out.Value, 0, sizeof out.Value);
    switch (PROP_TYPE(v.tag)) {
    case PT_SHORT:
        out.Value.i = static_cast<short>(v.n);
        break;
    case PT_LONG:
        out.Value.l = static_cast<LONG>(v.n);
        break;
    case PT_BOOLEAN:
        out.Value.b = static_cast<unsigned short>(v.n != 0);
        break;
    case PT_ERROR:
        out.Value.err = static_cast<SCODE>(v.n);
        break;
    case PT_I8:
        out.Value.li = v.n;
        break;
    case PT_SYSTIME: {
        auto raw = static_cast<std::uint64_t>(v.n);
        out.Value.ft.dwLowDateTime = static_cast<DWORD>(raw);
        out.Value.ft.dwHighDateTime = static_cast<DWORD>(raw >> 32);
        break;
    }
    case PT_STRING8:
        out.Value.lpszA = payload;
        if (v.size != 0) {
            std::memcpy(payload, v.data, v.size);
        }
        payload[v.size] = '\0';
        payload += Align8(v.size + 1);
        break;
    case PT_BINARY:
        out.Value.bin.cb = static_cast<ULONG>(v.size);
        out.Value.bin.lpb = reinterpret_cast<LPBYTE>(payload);
        if (v.size != 0) {
            std::memcpy(payload, v.data, v.size);
        }
        payload += Align8(v.size);
        break;
    case PT_MV_STRING8: {
        std::size_t count = CountPacked(v.data, v.size);
        auto* pointers = reinterpret_cast<LPSTR*>(payload);
        payload += count * sizeof(LPSTR);
        char* text = payload;
        if (v.size != 0) {
            std::memcpy(text, v.data, v.size);
        }
        std::size_t at = 0;
        for (std::size_t k = 0; k < count; ++k) {
            pointers[k] = text + at;
            at += std::strlen(text + at) + 1;
        }
        out.Value.MVszA.cValues = static_cast<ULONG>(count);
        out.Value.MVszA.lppszA = count != 0 ? pointers : nullptr;
        payload += Align8(v.size);
        break;
    }
    default:
        break;
    }
}

std::size_t ArraySize(const std::vector<ValueView>& views) {
    std::size_t size = Align8(views.size() * sizeof(SPropValue));
    for (const ValueView& v : views) {
        size += PayloadSize(v);
    }
    return size;
}

void FillArray(const std::vector<ValueView>& views, void* block) {
    auto* values = static_cast<SPropValue*>(block);
    char* payload = static_cast<char*>(block) + Align8(views.size() * sizeof(SPropValue));
    for (std::size_t i = 0; i < views.size(); ++i) {
        FillValue(views[i], values[i], payload);
    }
}

// One buffer holds the array and everything it points to.
HRESULT BuildPropArray(const std::vector<ValueView>& views, ULONG* lpcValues,
                       LPSPropValue* lppPropArray) {
    std::size_t size = ArraySize(views);
    if (size > 0xFFFFFFF0u) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    void* block = nullptr;
    HRESULT hr = AllocateBuffer(static_cast<ULONG>(size == 0 ? 1 : size), &block);
    if (FAILED(hr)) {
        return hr;
    }
    FillArray(views, block);
    *lpcValues = static_cast<ULONG>(views.size());
    *lppPropArray = static_cast<LPSPropValue>(block);
    return S_OK;
}

// Answers GetProps for an explicit tag list from all values of an object.
HRESULT SelectProps(const std::vector<ValueView>& all, const SPropTagArray& tags,
                    std::vector<ValueView>& chosen) {
    HRESULT hr = S_OK;
    chosen.clear();
    for (ULONG i = 0; i < tags.cValues; ++i) {
        ULONG want = tags.aulPropTag[i];
        const ValueView* hit = nullptr;
        for (const ValueView& v : all) {
            if (PROP_ID(v.tag) == PROP_ID(want) &&
                (PROP_TYPE(want) == PT_UNSPECIFIED || v.tag == want)) {
                hit = &v;
                break;
            }
        }
        if (hit != nullptr) {
            chosen.push_back(*hit);
        } else {
            chosen.push_back(ErrorView(want, MAPI_E_NOT_FOUND));
            hr = MAPI_W_ERRORS_RETURNED;
        }
    }
    return hr;
}

HRESULT AnswerGetProps(const std::vector<ValueView>& all, LPSPropTagArray lpPropTagArray,
                       ULONG ulFlags, ULONG* lpcValues, LPSPropValue* lppPropArray) {
    if (lpcValues == nullptr || lppPropArray == nullptr) {
        return MAPI_E_INVALID_PARAMETER;
    }
    *lpcValues = 0;
    *lppPropArray = nullptr;
    if ((ulFlags & MAPI_UNICODE) != 0) {
        return MAPI_E_BAD_CHARWIDTH;
    }
    if (lpPropTagArray == nullptr) {
        return BuildPropArray(all, lpcValues, lppPropArray);
    }
    std::vector<ValueView> chosen;
    HRESULT warning = SelectProps(all, *lpPropTagArray, chosen);
    HRESULT hr = BuildPropArray(chosen, lpcValues, lppPropArray);
    return FAILED(hr) ? hr : warning;
}

// ---- Shared COM plumbing ----------------------------------------------------

template <class I> class Unknown : public I {
public:
    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override {
        if (ppvObj == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        *ppvObj = nullptr;
        if (WabIsEqualGuid(riid, IID_IUnknown)) {
            AddRef();
            *ppvObj = static_cast<I*>(this);
            return S_OK;
        }
        return QueryOther(riid, ppvObj);
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        ULONG left = --m_refs;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    Unknown() = default;
    virtual ~Unknown() = default;
    virtual HRESULT QueryOther(REFIID, LPVOID*) { return MAPI_E_INTERFACE_NOT_SUPPORTED; }

private:
    std::atomic<ULONG> m_refs{1};
};

template <class I> class PropObject : public Unknown<I> {
public:
    HRESULT GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) override {
        if (lppMAPIError != nullptr) {
            *lppMAPIError = nullptr;
        }
        return S_OK;
    }
    HRESULT SaveChanges(ULONG) override { return MAPI_E_NO_SUPPORT; }
    HRESULT GetPropList(ULONG, LPSPropTagArray*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT OpenProperty(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT SetProps(ULONG, LPSPropValue, LPSPropProblemArray* lppProblems) override {
        if (lppProblems != nullptr) {
            *lppProblems = nullptr;
        }
        return MAPI_E_NO_ACCESS;
    }
    HRESULT DeleteProps(LPSPropTagArray, LPSPropProblemArray*) override { return MAPI_E_NO_ACCESS; }
    HRESULT CopyTo(ULONG, LPCIID, LPSPropTagArray, ULONG_PTR, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                   LPSPropProblemArray*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT CopyProps(LPSPropTagArray, ULONG_PTR, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                      LPSPropProblemArray*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT GetNamesFromIDs(LPSPropTagArray*, LPGUID, ULONG, ULONG*, LPMAPINAMEID**) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT GetIDsFromNames(ULONG, LPMAPINAMEID*, ULONG, LPSPropTagArray*) override {
        return MAPI_E_NO_SUPPORT;
    }
};

// ---- Entries (contacts and distribution lists) -------------------------------

bool IsStorableType(ULONG type) {
    return type == PT_SHORT || type == PT_LONG || type == PT_BOOLEAN || type == PT_SYSTIME ||
           type == PT_I8 || type == PT_STRING8 || type == PT_BINARY || type == PT_MV_STRING8;
}

HRESULT ToStored(const SPropValue& in, StoredValue& out) {
    out.tag = in.ulPropTag;
    out.n = 0;
    out.bytes.clear();
    switch (PROP_TYPE(in.ulPropTag)) {
    case PT_SHORT:
        out.n = in.Value.i;
        return S_OK;
    case PT_LONG:
        out.n = in.Value.l;
        return S_OK;
    case PT_BOOLEAN:
        out.n = in.Value.b != 0 ? 1 : 0;
        return S_OK;
    case PT_I8:
        out.n = in.Value.li;
        return S_OK;
    case PT_SYSTIME:
        out.n = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(in.Value.ft.dwHighDateTime) << 32) |
            in.Value.ft.dwLowDateTime);
        return S_OK;
    case PT_STRING8:
        if (in.Value.lpszA == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        out.bytes = in.Value.lpszA;
        return S_OK;
    case PT_BINARY:
        if (in.Value.bin.cb != 0 && in.Value.bin.lpb == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        out.bytes.assign(reinterpret_cast<const char*>(in.Value.bin.lpb), in.Value.bin.cb);
        return S_OK;
    case PT_MV_STRING8:
        if (in.Value.MVszA.cValues != 0 && in.Value.MVszA.lppszA == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        for (ULONG i = 0; i < in.Value.MVszA.cValues; ++i) {
            const char* s = in.Value.MVszA.lppszA[i];
            if (s == nullptr) {
                return MAPI_E_INVALID_PARAMETER;
            }
            out.bytes.append(s);
            out.bytes.push_back('\0');
        }
        return S_OK;
    default:
        return MAPI_E_INVALID_TYPE;
    }
}

class Entry final : public PropObject<IMailUser> {
public:
    // id 0: a new entry, written to the store by SaveChanges.
    Entry(std::shared_ptr<Store> store, ULONG objectType, std::int64_t id)
        : m_store(std::move(store)), m_objectType(objectType), m_id(id) {}

    HRESULT GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                     LPSPropValue* lppPropArray) override {
        if (Fault("GetProps")) {
            return MAPI_E_CALL_FAILED;
        }
        struct Answer final : PropsSink {
            Entry& entry;
            LPSPropTagArray tags;
            ULONG flags;
            ULONG* lpcValues;
            LPSPropValue* lppPropArray;
            Answer(Entry& e, LPSPropTagArray t, ULONG f, ULONG* c, LPSPropValue* p)
                : entry(e), tags(t), flags(f), lpcValues(c), lppPropArray(p) {}
            HRESULT Take(const StoredValue* values, std::size_t count,
                         std::vector<ValueView>& views) override {
                EntryIdBytes eid =
                    EncodeEntryId(entry.m_store->Uid(), entry.m_objectType, entry.m_id);
                if (entry.m_id != 0) {
                    views.push_back(
                        {PR_ENTRYID, 0, reinterpret_cast<const char*>(eid.b), sizeof eid.b});
                }
                views.push_back({PR_OBJECT_TYPE, entry.m_objectType, nullptr, 0});
                for (std::size_t i = 0; i < count; ++i) {
                    // Stored values of these were never written by us.
                    if (values[i].tag != PR_ENTRYID && values[i].tag != PR_OBJECT_TYPE) {
                        views.push_back(View(values[i]));
                    }
                }
                return AnswerGetProps(views, tags, flags, lpcValues, lppPropArray);
            }
        } answer(*this, lpPropTagArray, ulFlags, lpcValues, lppPropArray);
        if (m_id != 0) {
            return m_store->ReadProps(m_id, answer);
        }
        std::vector<ValueView> views;
        return answer.Take(m_pending.data(), m_pending.size(), views);
    }

    HRESULT SetProps(ULONG cValues, LPSPropValue lpPropArray,
                     LPSPropProblemArray* lppProblems) override {
        if (lppProblems != nullptr) {
            *lppProblems = nullptr;
        }
        if (m_id != 0) {
            return MAPI_E_NO_ACCESS; // stored entries are never rewritten
        }
        if (cValues != 0 && lpPropArray == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        std::vector<StoredValue> incoming(cValues);
        for (ULONG i = 0; i < cValues; ++i) {
            ULONG tag = lpPropArray[i].ulPropTag;
            if (tag == PR_ENTRYID || tag == PR_OBJECT_TYPE) {
                return MAPI_E_COMPUTED;
            }
            if (!IsStorableType(PROP_TYPE(tag))) {
                return MAPI_E_INVALID_TYPE;
            }
            HRESULT hr = ToStored(lpPropArray[i], incoming[i]);
            if (FAILED(hr)) {
                return hr;
            }
        }
        // A later value of the same identifier replaces the earlier one.
        for (StoredValue& value : incoming) {
            auto [at, added] = m_pendingAt.try_emplace(PROP_ID(value.tag), m_pending.size());
            if (added) {
                m_pending.push_back(std::move(value));
            } else {
                m_pending[at->second] = std::move(value);
            }
        }
        return S_OK;
    }

    HRESULT SaveChanges(ULONG) override {
        if (m_id != 0) {
            return S_OK;
        }
        if (Fault("SaveChanges")) {
            return m_store->FailWrite(MAPI_E_DISK_ERROR);
        }
        std::int64_t id = 0;
        HRESULT hr = m_store->InsertEntry(m_objectType, m_pending, id);
        if (SUCCEEDED(hr)) {
            m_id = id;
            m_pending.clear();
            m_pendingAt.clear();
        }
        return hr;
    }

private:
    std::shared_ptr<Store> m_store;
    ULONG m_objectType;
    std::int64_t m_id;
    std::vector<StoredValue> m_pending;
    std::unordered_map<ULONG, std::size_t> m_pendingAt; // property identifier -> index
};

// ---- Contents table ---------------------------------------------------------

class Table final : public Unknown<IMAPITable> {
public:
    // Takes over one read batch of the store, ended when the table goes.
    Table(std::shared_ptr<Store> store, std::vector<ContentRow> rows, Part part,
          std::vector<ULONG> columns)
        : m_store(std::move(store)), m_rows(std::move(rows)), m_part(part),
          m_columns(std::move(columns)) {}
    ~Table() override { m_store->EndReadBatch(); }
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    HRESULT GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) override {
        if (lppMAPIError != nullptr) {
            *lppMAPIError = nullptr;
        }
        return S_OK;
    }
    HRESULT Advise(ULONG, LPMAPIADVISESINK, ULONG_PTR*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT Unadvise(ULONG_PTR) override { return MAPI_E_NO_SUPPORT; }
    HRESULT GetStatus(ULONG* lpulTableStatus, ULONG* lpulTableType) override {
        if (lpulTableStatus == nullptr || lpulTableType == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        *lpulTableStatus = 0; // TBLSTAT_COMPLETE
        *lpulTableType = 1;   // TBLTYPE_SNAPSHOT
        return S_OK;
    }
    HRESULT SetColumns(LPSPropTagArray lpPropTagArray, ULONG) override {
        if (Fault("SetColumns")) {
            return MAPI_E_CALL_FAILED;
        }
        if (lpPropTagArray == nullptr || lpPropTagArray->cValues == 0) {
            return MAPI_E_INVALID_PARAMETER;
        }
        m_columns.assign(lpPropTagArray->aulPropTag,
                         lpPropTagArray->aulPropTag + lpPropTagArray->cValues);
        return S_OK;
    }
    HRESULT QueryColumns(ULONG, LPSPropTagArray* lpPropTagArray) override {
        if (lpPropTagArray == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        void* block = nullptr;
        HRESULT hr = AllocateBuffer(
            static_cast<ULONG>(CbNewSPropTagArray(static_cast<ULONG>(m_columns.size()))), &block);
        if (FAILED(hr)) {
            return hr;
        }
        auto* tags = static_cast<LPSPropTagArray>(block);
        tags->cValues = static_cast<ULONG>(m_columns.size());
        std::memcpy(tags->aulPropTag, m_columns.data(), m_columns.size() * sizeof(ULONG));
        *lpPropTagArray = tags;
        return S_OK;
    }
    HRESULT GetRowCount(ULONG, ULONG* lpulCount) override {
        if (lpulCount == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        *lpulCount = static_cast<ULONG>(m_rows.size());
        return S_OK;
    }
    HRESULT SeekRow(BOOKMARK bkOrigin, LONG lRowCount, LONG* lplRowsSought) override {
        if (Fault("SeekRow")) {
            return MAPI_E_CALL_FAILED;
        }
        std::int64_t base;
        if (bkOrigin == BOOKMARK_BEGINNING) {
            base = 0;
        } else if (bkOrigin == BOOKMARK_CURRENT) {
            base = static_cast<std::int64_t>(m_position);
        } else if (bkOrigin == BOOKMARK_END) {
            base = static_cast<std::int64_t>(m_rows.size());
        } else {
            return MAPI_E_INVALID_BOOKMARK;
        }
        std::int64_t target = base + lRowCount;
        if (target < 0) {
            target = 0;
        }
        if (target > static_cast<std::int64_t>(m_rows.size())) {
            target = static_cast<std::int64_t>(m_rows.size());
        }
        m_position = static_cast<std::size_t>(target);
        if (lplRowsSought != nullptr) {
            *lplRowsSought = static_cast<LONG>(target - base);
        }
        return S_OK;
    }
    HRESULT SeekRowApprox(ULONG ulNumerator, ULONG ulDenominator) override {
        if (ulDenominator == 0) {
            return MAPI_E_INVALID_PARAMETER;
        }
        std::uint64_t at = static_cast<std::uint64_t>(m_rows.size()) * ulNumerator / ulDenominator;
        m_position = at > m_rows.size() ? m_rows.size() : static_cast<std::size_t>(at);
        return S_OK;
    }
    HRESULT QueryPosition(ULONG* lpulRow, ULONG* lpulNumerator, ULONG* lpulDenominator) override {
        if (lpulRow == nullptr || lpulNumerator == nullptr || lpulDenominator == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        *lpulRow = static_cast<ULONG>(m_position);
        *lpulNumerator = static_cast<ULONG>(m_position);
        *lpulDenominator = static_cast<ULONG>(m_rows.empty() ? 1 : m_rows.size());
        return S_OK;
    }
    HRESULT FindRow(LPSRestriction, BOOKMARK, ULONG) override { return MAPI_E_NO_SUPPORT; }
    HRESULT Restrict(LPSRestriction, ULONG) override { return MAPI_E_NO_SUPPORT; }
    HRESULT CreateBookmark(BOOKMARK*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT FreeBookmark(BOOKMARK) override { return MAPI_E_NO_SUPPORT; }
    HRESULT SortTable(LPSSortOrderSet, ULONG) override { return MAPI_E_NO_SUPPORT; }
    HRESULT QuerySortOrder(LPSSortOrderSet*) override { return MAPI_E_NO_SUPPORT; }

    HRESULT QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows) override {
        if (lppRows == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        *lppRows = nullptr;
        if (Fault("QueryRows")) {
            return MAPI_E_CALL_FAILED;
        }
        if (lRowCount == 0) {
            return MAPI_E_INVALID_PARAMETER;
        }
        std::size_t first;
        std::size_t last;
        if (lRowCount > 0) {
            first = m_position;
            std::size_t want = static_cast<std::size_t>(lRowCount);
            last = m_rows.size() - first < want ? m_rows.size() : first + want;
        } else {
            std::size_t want = static_cast<std::size_t>(-static_cast<std::int64_t>(lRowCount));
            last = m_position;
            first = last < want ? 0 : last - want;
        }
        auto cRows = static_cast<ULONG>(last - first);
        void* block = nullptr;
        HRESULT hr = AllocateBuffer(static_cast<ULONG>(CbNewSRowSet(cRows)), &block);
        if (FAILED(hr)) {
            return hr;
        }
        auto* set = static_cast<LPSRowSet>(block);
        set->cRows = 0;
        for (std::size_t i = first; i < last; ++i) {
            SRow& row = set->aRow[set->cRows];
            hr = BuildRow(m_rows[i], row);
            if (FAILED(hr)) {
                for (ULONG k = 0; k < set->cRows; ++k) {
                    FreeBuffer(set->aRow[k].lpProps);
                }
                FreeBuffer(set);
                return hr;
            }
            ++set->cRows;
        }
        if ((ulFlags & TBL_NOADVANCE) == 0) {
            m_position = lRowCount > 0 ? last : first;
        }
        *lppRows = set;
        return S_OK;
    }

    HRESULT Abort() override { return S_OK; }
    HRESULT ExpandRow(ULONG, LPBYTE, ULONG, ULONG, LPSRowSet*, ULONG*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT CollapseRow(ULONG, LPBYTE, ULONG, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT WaitForCompletion(ULONG, ULONG, ULONG* lpulTableStatus) override {
        if (lpulTableStatus != nullptr) {
            *lpulTableStatus = 0;
        }
        return S_OK;
    }
    HRESULT GetCollapseState(ULONG, ULONG, LPBYTE, ULONG*, LPBYTE*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT SetCollapseState(ULONG, ULONG, LPBYTE, BOOKMARK*) override { return MAPI_E_NO_SUPPORT; }

private:
    HRESULT BuildRow(const ContentRow& source, SRow& row) {
        EntryIdBytes eid = EncodeEntryId(m_store->Uid(), source.objectType, source.id);
        m_views.clear();
        m_extra.resize(m_columns.size());
        for (std::size_t c = 0; c < m_columns.size(); ++c) {
            ULONG tag = m_columns[c];
            if (tag == PR_ENTRYID) {
                m_views.push_back({tag, 0, reinterpret_cast<const char*>(eid.b), sizeof eid.b});
            } else if (tag == PR_OBJECT_TYPE) {
                m_views.push_back({tag, source.objectType, nullptr, 0});
            } else if (tag == PR_DISPLAY_TYPE) {
                m_views.push_back({tag,
                                   source.objectType == MAPI_DISTLIST ? DT_DISTLIST : DT_MAILUSER,
                                   nullptr, 0});
            } else if (tag == PR_DISPLAY_NAME) {
                if (source.hasName) {
                    m_views.push_back(
                        {tag, 0, source.displayName.data(), source.displayName.size()});
                } else {
                    m_views.push_back(ErrorView(tag, MAPI_E_NOT_FOUND));
                }
            } else if (tag == PR_DELETED_ON && m_part == Part::Deleted) {
                m_views.push_back({tag, source.deletedOn, nullptr, 0});
            } else if (SUCCEEDED(m_store->ReadProp(source.id, tag, m_extra[c], m_part))) {
                m_views.push_back(View(m_extra[c]));
            } else {
                m_views.push_back(ErrorView(tag, MAPI_E_NOT_FOUND));
            }
        }
        row.ulAdrEntryPad = 0;
        row.cValues = 0;
        row.lpProps = nullptr;
        return BuildPropArray(m_views, &row.cValues, &row.lpProps);
    }

    std::shared_ptr<Store> m_store;
    std::vector<ContentRow> m_rows;
    Part m_part;
    std::vector<ULONG> m_columns;
    std::size_t m_position = 0;
    std::vector<ValueView> m_views;
    std::vector<StoredValue> m_extra;
};

HRESULT OpenTable(const std::shared_ptr<Store>& store, Part part, std::vector<ULONG> columns,
                  LPMAPITABLE* lppTable) {
    std::vector<ContentRow> rows;
    store->BeginReadBatch(); // the table takes it over
    HRESULT hr = part == Part::Live ? store->LoadContents(rows) : store->LoadDeleted(rows);
    Table* table = nullptr;
    if (SUCCEEDED(hr)) {
        table = new (std::nothrow) Table(store, std::move(rows), part, std::move(columns));
        hr = table != nullptr ? S_OK : MAPI_E_NOT_ENOUGH_MEMORY;
    }
    if (FAILED(hr)) {
        store->EndReadBatch();
        return hr;
    }
    *lppTable = table;
    return S_OK;
}

// Identifiers of contacts and lists, checked in full before anything is
// changed: one bad identifier changes nothing.
HRESULT DecodeEntryList(const StoreUid& uid, LPENTRYLIST lpEntries, std::vector<EntryKey>& keys) {
    if (lpEntries == nullptr || (lpEntries->cValues != 0 && lpEntries->lpbin == nullptr)) {
        return MAPI_E_INVALID_PARAMETER;
    }
    keys.clear();
    keys.reserve(lpEntries->cValues);
    for (ULONG i = 0; i < lpEntries->cValues; ++i) {
        EntryKey key;
        const SBinary& bin = lpEntries->lpbin[i];
        if (!DecodeEntryId(uid, bin.cb, bin.lpb, key.objectType, key.id) ||
            (key.objectType != MAPI_MAILUSER && key.objectType != MAPI_DISTLIST)) {
            return MAPI_E_INVALID_ENTRYID;
        }
        keys.push_back(key);
    }
    return S_OK;
}

// Deletes or purges the listed entries: MAPI_W_PARTIAL_COMPLETION when some
// were gone already.
HRESULT ChangeEach(Store& store, LPENTRYLIST lpEntries,
                   HRESULT (Store::*change)(const std::vector<std::int64_t>&, std::size_t&)) {
    std::vector<EntryKey> keys;
    HRESULT hr = DecodeEntryList(store.Uid(), lpEntries, keys);
    if (FAILED(hr)) {
        return hr;
    }
    std::vector<std::int64_t> ids;
    ids.reserve(keys.size());
    for (const EntryKey& key : keys) {
        ids.push_back(key.id);
    }
    std::size_t missing = 0;
    hr = (store.*change)(ids, missing);
    if (FAILED(hr)) {
        return hr;
    }
    return missing == 0 ? S_OK : MAPI_W_PARTIAL_COMPLETION;
}

// ---- Opening entries ----------------------------------------------------------

HRESULT OpenEntryOf(const std::shared_ptr<Store>& store, ULONG cbEntryID, LPENTRYID lpEntryID,
                    LPCIID lpInterface, ULONG* lpulObjType, LPUNKNOWN* lppUnk);

class Container final : public PropObject<IABContainer> {
public:
    explicit Container(std::shared_ptr<Store> store) : m_store(std::move(store)) {}

    HRESULT GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                     LPSPropValue* lppPropArray) override {
        const StoreUid& uid = m_store->Uid();
        EntryIdBytes self = EncodeEntryId(uid, kKindContainer, 0);
        EntryIdBytes user = EncodeEntryId(uid, kKindMailUserTemplate, 0);
        EntryIdBytes list = EncodeEntryId(uid, kKindDistListTemplate, 0);
        static const char name[] = "Contacts";
        std::vector<ValueView> all = {
            {PR_ENTRYID, 0, reinterpret_cast<const char*>(self.b), kEntryIdSize},
            {PR_OBJECT_TYPE, MAPI_ABCONT, nullptr, 0},
            {PR_DISPLAY_NAME, 0, name, sizeof name - 1},
            {PR_DEF_CREATE_MAILUSER, 0, reinterpret_cast<const char*>(user.b), kEntryIdSize},
            {PR_DEF_CREATE_DL, 0, reinterpret_cast<const char*>(list.b), kEntryIdSize},
        };
        return AnswerGetProps(all, lpPropTagArray, ulFlags, lpcValues, lppPropArray);
    }

    HRESULT GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) override {
        if (lppTable == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        *lppTable = nullptr;
        if (Fault("GetContentsTable")) {
            return MAPI_E_CALL_FAILED;
        }
        if ((ulFlags & MAPI_UNICODE) != 0) {
            return MAPI_E_BAD_CHARWIDTH;
        }
        return OpenTable(m_store, Part::Live,
                         {PR_DISPLAY_NAME, PR_ENTRYID, PR_OBJECT_TYPE, PR_DISPLAY_TYPE}, lppTable);
    }
    HRESULT GetHierarchyTable(ULONG, LPMAPITABLE*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG,
                      ULONG* lpulObjType, LPUNKNOWN* lppUnk) override {
        return OpenEntryOf(m_store, cbEntryID, lpEntryID, lpInterface, lpulObjType, lppUnk);
    }
    HRESULT SetSearchCriteria(LPSRestriction, LPENTRYLIST, ULONG) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT GetSearchCriteria(ULONG, LPSRestriction*, LPENTRYLIST*, ULONG*) override {
        return MAPI_E_NO_SUPPORT;
    }

    HRESULT CreateEntry(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG,
                        LPMAPIPROP* lppMAPIPropEntry) override {
        if (lppMAPIPropEntry == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        *lppMAPIPropEntry = nullptr;
        ULONG kind = 0;
        std::int64_t id = 0;
        if (!DecodeEntryId(m_store->Uid(), cbEntryID, lpEntryID, kind, id) ||
            (kind != kKindMailUserTemplate && kind != kKindDistListTemplate)) {
            return MAPI_E_INVALID_ENTRYID;
        }
        if (m_store->ReadOnly()) {
            return MAPI_E_NO_ACCESS;
        }
        ULONG type = kind == kKindMailUserTemplate ? MAPI_MAILUSER : MAPI_DISTLIST;
        auto* entry = new (std::nothrow) Entry(m_store, type, 0);
        if (entry == nullptr) {
            return MAPI_E_NOT_ENOUGH_MEMORY;
        }
        *lppMAPIPropEntry = entry;
        return S_OK;
    }
    HRESULT CopyEntries(LPENTRYLIST, ULONG_PTR, LPMAPIPROGRESS, ULONG) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT DeleteEntries(LPENTRYLIST lpEntries, ULONG) override {
        if (Fault("DeleteEntries")) {
            return MAPI_E_CALL_FAILED;
        }
        return ChangeEach(*m_store, lpEntries, &Store::DeleteEntries);
    }
    HRESULT ResolveNames(LPSPropTagArray, ULONG, LPADRLIST, LPFlagList) override {
        return MAPI_E_NO_SUPPORT;
    }

private:
    std::shared_ptr<Store> m_store;
};

HRESULT OpenEntryOf(const std::shared_ptr<Store>& store, ULONG cbEntryID, LPENTRYID lpEntryID,
                    LPCIID lpInterface, ULONG* lpulObjType, LPUNKNOWN* lppUnk) {
    if (lpulObjType == nullptr || lppUnk == nullptr) {
        return MAPI_E_INVALID_PARAMETER;
    }
    *lpulObjType = 0;
    *lppUnk = nullptr;
    if (lpInterface != nullptr && !WabIsEqualGuid(*lpInterface, IID_IUnknown)) {
        return MAPI_E_INTERFACE_NOT_SUPPORTED;
    }
    ULONG kind = kKindContainer;
    std::int64_t id = 0;
    // No identifier: the root container, which is the personal address book.
    if ((cbEntryID != 0 || lpEntryID != nullptr) &&
        !DecodeEntryId(store->Uid(), cbEntryID, lpEntryID, kind, id)) {
        // The store listed a row it cannot have written: a row id of 0 or
        // below, or the kind of the container or a template.
        ULONG type = 0;
        return ParseEntryId(store->Uid(), cbEntryID, lpEntryID, kind, id) &&
                       SUCCEEDED(store->GetObjectType(id, type)) && type == kind
                   ? MAPI_E_CORRUPT_DATA
                   : MAPI_E_INVALID_ENTRYID;
    }
    if (kind == kKindContainer) {
        auto* container = new (std::nothrow) Container(store);
        if (container == nullptr) {
            return MAPI_E_NOT_ENOUGH_MEMORY;
        }
        *lpulObjType = MAPI_ABCONT;
        *lppUnk = container;
        return S_OK;
    }
    ULONG type = 0;
    if (kind != MAPI_MAILUSER && kind != MAPI_DISTLIST) {
        // The store listed a row of a kind it cannot have written.
        return SUCCEEDED(store->GetObjectType(id, type)) && type == kind ? MAPI_E_CORRUPT_DATA
                                                                         : MAPI_E_INVALID_ENTRYID;
    }
    HRESULT hr = store->GetObjectType(id, type);
    if (FAILED(hr)) {
        return hr;
    }
    if (type != kind) {
        return MAPI_E_INVALID_ENTRYID;
    }
    auto* entry = new (std::nothrow) Entry(store, type, id);
    if (entry == nullptr) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    *lpulObjType = type;
    *lppUnk = entry;
    return S_OK;
}

// ---- Address book, transactions, the address-book object ------------------------

class Transaction final : public Unknown<IWABTransaction> {
public:
    explicit Transaction(std::shared_ptr<Store> store) : m_store(std::move(store)) {}
    HRESULT BeginTransaction(ULONG) override { return m_store->BeginTransaction(); }
    HRESULT CommitTransaction(ULONG) override { return m_store->CommitTransaction(); }
    HRESULT AbortTransaction() override { return m_store->AbortTransaction(); }

private:
    std::shared_ptr<Store> m_store;
};

class DeletedEntries final : public Unknown<IWABDeletedEntries> {
public:
    explicit DeletedEntries(std::shared_ptr<Store> store) : m_store(std::move(store)) {}

    HRESULT GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) override {
        if (lppTable == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        *lppTable = nullptr;
        if ((ulFlags & MAPI_UNICODE) != 0) {
            return MAPI_E_BAD_CHARWIDTH;
        }
        return OpenTable(m_store, Part::Deleted,
                         {PR_ENTRYID, PR_OBJECT_TYPE, PR_DISPLAY_NAME, PR_DELETED_ON}, lppTable);
    }
    HRESULT RestoreEntries(LPENTRYLIST lpEntries, ULONG) override {
        std::vector<EntryKey> keys;
        HRESULT hr = DecodeEntryList(m_store->Uid(), lpEntries, keys);
        return SUCCEEDED(hr) ? m_store->RestoreEntries(keys) : hr;
    }
    HRESULT PurgeEntries(LPENTRYLIST lpEntries, ULONG) override {
        return ChangeEach(*m_store, lpEntries, &Store::PurgeEntries);
    }

private:
    std::shared_ptr<Store> m_store;
};

class AddrBook final : public PropObject<IAddrBook> {
public:
    explicit AddrBook(std::shared_ptr<Store> store) : m_store(std::move(store)) {}

    HRESULT GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                     LPSPropValue* lppPropArray) override {
        std::vector<ValueView> all = {{PR_OBJECT_TYPE, MAPI_ADDRBOOK, nullptr, 0}};
        return AnswerGetProps(all, lpPropTagArray, ulFlags, lpcValues, lppPropArray);
    }

    HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG,
                      ULONG* lpulObjType, LPUNKNOWN* lppUnk) override {
        if (Fault("OpenEntry")) {
            if (lppUnk != nullptr) {
                *lppUnk = nullptr;
            }
            return MAPI_E_CALL_FAILED;
        }
        return OpenEntryOf(m_store, cbEntryID, lpEntryID, lpInterface, lpulObjType, lppUnk);
    }
    HRESULT CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2,
                            LPENTRYID lpEntryID2, ULONG, ULONG* lpulResult) override {
        if (lpulResult == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        ULONG kind1 = 0;
        ULONG kind2 = 0;
        std::int64_t id1 = 0;
        std::int64_t id2 = 0;
        if (!DecodeEntryId(m_store->Uid(), cbEntryID1, lpEntryID1, kind1, id1) ||
            !DecodeEntryId(m_store->Uid(), cbEntryID2, lpEntryID2, kind2, id2)) {
            return MAPI_E_INVALID_ENTRYID;
        }
        *lpulResult = kind1 == kind2 && id1 == id2 ? 1 : 0;
        return S_OK;
    }
    HRESULT Advise(ULONG, LPENTRYID, ULONG, LPMAPIADVISESINK, ULONG_PTR*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT Unadvise(ULONG_PTR) override { return MAPI_E_NO_SUPPORT; }
    HRESULT CreateOneOff(LPSTR, LPSTR, LPSTR, ULONG, ULONG*, LPENTRYID*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT NewEntry(ULONG_PTR, ULONG, ULONG, LPENTRYID, ULONG, LPENTRYID, ULONG*,
                     LPENTRYID*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT ResolveName(ULONG_PTR, ULONG, LPSTR, LPADRLIST) override { return MAPI_E_NO_SUPPORT; }
    HRESULT Address(ULONG_PTR*, LPADRPARM, LPADRLIST*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT Details(ULONG_PTR*, LPFNDISMISS, LPVOID, ULONG, LPENTRYID, LPFNBUTTON, LPVOID, LPSTR,
                    ULONG) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT RecipOptions(ULONG_PTR, ULONG, LPADRENTRY) override { return MAPI_E_NO_SUPPORT; }
    HRESULT QueryDefaultRecipOpt(LPSTR, ULONG, ULONG*, LPSPropValue*) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT GetPAB(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) override {
        if (lpcbEntryID == nullptr || lppEntryID == nullptr) {
            return MAPI_E_INVALID_PARAMETER;
        }
        *lpcbEntryID = 0;
        *lppEntryID = nullptr;
        if (Fault("GetPAB")) {
            return MAPI_E_CALL_FAILED;
        }
        void* block = nullptr;
        HRESULT hr = AllocateBuffer(kEntryIdSize, &block);
        if (FAILED(hr)) {
            return hr;
        }
        EntryIdBytes eid = EncodeEntryId(m_store->Uid(), kKindContainer, 0);
        std::memcpy(block, eid.b, kEntryIdSize);
        *lpcbEntryID = kEntryIdSize;
        *lppEntryID = static_cast<LPENTRYID>(block);
        return S_OK;
    }
    HRESULT SetPAB(ULONG, LPENTRYID) override { return MAPI_E_NO_SUPPORT; }
    HRESULT GetDefaultDir(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) override {
        return GetPAB(lpcbEntryID, lppEntryID);
    }
    HRESULT SetDefaultDir(ULONG, LPENTRYID) override { return MAPI_E_NO_SUPPORT; }
    HRESULT GetSearchPath(ULONG, LPSRowSet*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT SetSearchPath(ULONG, LPSRowSet) override { return MAPI_E_NO_SUPPORT; }
    HRESULT PrepareRecips(ULONG, LPSPropTagArray, LPADRLIST) override { return MAPI_E_NO_SUPPORT; }

protected:
    HRESULT QueryOther(REFIID riid, LPVOID* ppvObj) override {
        IUnknown* extension = nullptr;
        if (WabIsEqualGuid(riid, IID_IWABTransaction)) {
            extension = static_cast<IWABTransaction*>(new (std::nothrow) Transaction(m_store));
        } else if (WabIsEqualGuid(riid, IID_IWABDeletedEntries)) {
            extension =
                static_cast<IWABDeletedEntries*>(new (std::nothrow) DeletedEntries(m_store));
        } else {
            return MAPI_E_INTERFACE_NOT_SUPPORTED;
        }
        if (extension == nullptr) {
            return MAPI_E_NOT_ENOUGH_MEMORY;
        }
        *ppvObj = extension;
        return S_OK;
    }

private:
    std::shared_ptr<Store> m_store;
};

class WabObject final : public Unknown<IWABObject> {
public:
    HRESULT GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) override {
        if (lppMAPIError != nullptr) {
            *lppMAPIError = nullptr;
        }
        return S_OK;
    }
    HRESULT AllocateBuffer(ULONG cbSize, LPVOID* lppBuffer) override {
        return wab::AllocateBuffer(cbSize, lppBuffer);
    }
    HRESULT AllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer) override {
        return wab::AllocateMore(cbSize, lpObject, lppBuffer);
    }
    HRESULT FreeBuffer(LPVOID lpBuffer) override { return wab::FreeBuffer(lpBuffer); }
    HRESULT Backup(LPSTR) override { return MAPI_E_NO_SUPPORT; }
    HRESULT Import(LPSTR) override { return MAPI_E_NO_SUPPORT; }
    HRESULT Find(IAddrBook*, HWND) override { return MAPI_E_NO_SUPPORT; }
    HRESULT VCardDisplay(IAddrBook*, HWND, LPSTR) override { return MAPI_E_NO_SUPPORT; }
    HRESULT LDAPUrl(IAddrBook*, HWND, ULONG, LPSTR, IMailUser**) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT VCardCreate(IAddrBook*, ULONG, LPSTR, IMailUser*) override { return MAPI_E_NO_SUPPORT; }
    HRESULT VCardRetrieve(IAddrBook*, ULONG, LPSTR, IMailUser**) override {
        return MAPI_E_NO_SUPPORT;
    }
    HRESULT GetMe(IAddrBook*, ULONG, DWORD*, SBinary*, HWND) override { return MAPI_E_NO_SUPPORT; }
    HRESULT SetMe(IAddrBook*, ULONG, SBinary, HWND) override { return MAPI_E_NO_SUPPORT; }
};

} // namespace
} // namespace wab

extern "C" WAB_EXPORT HRESULT WABOpen(LPADRBOOK* lppAdrBook, LPWABOBJECT* lppWABObject,
                                      LPWAB_PARAM lpWP, DWORD) {
    if (lppAdrBook == nullptr || lppWABObject == nullptr) {
        return MAPI_E_INVALID_PARAMETER;
    }
    *lppAdrBook = nullptr;
    *lppWABObject = nullptr;
    wab::ResetFaults();
    if (wab::Fault("WABOpen")) {
        return MAPI_E_CALL_FAILED;
    }
    const char* fileName = nullptr;
    ULONG flags = 0;
    if (lpWP != nullptr) {
        // Older callers may pass a shorter block; read only what it covers.
        if (lpWP->cbSize < offsetof(WAB_PARAM, szFileName) + sizeof(lpWP->szFileName)) {
            return MAPI_E_INVALID_PARAMETER;
        }
        fileName = lpWP->szFileName;
        if (lpWP->cbSize >= offsetof(WAB_PARAM, ulFlags) + sizeof(lpWP->ulFlags)) {
            flags = lpWP->ulFlags;
        }
    }
    std::shared_ptr<wab::Store> store;
    HRESULT hr = wab::Store::Open(fileName, flags, store);
    if (FAILED(hr)) {
        return hr;
    }
    std::unique_ptr<wab::AddrBook> book(new (std::nothrow) wab::AddrBook(store));
    std::unique_ptr<wab::WabObject> object(new (std::nothrow) wab::WabObject);
    if (!book || !object) {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    *lppAdrBook = book.release();
    *lppWABObject = object.release();
    return S_OK;
}
