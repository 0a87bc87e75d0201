#include "tools/wabtool/WabClient.h"

namespace wabtool {
namespace {

// A tag array of fixed size, laid out as SPropTagArray.
template <ULONG N> struct TagArray {
    ULONG cValues = N;
    ULONG aulPropTag[N];
    LPSPropTagArray get() { return reinterpret_cast<LPSPropTagArray>(this); }
};

} // namespace

const SPropValue* EntryView::Find(ULONG tag) const {
    for (ULONG i = 0; i < count; ++i) {
        if (props[i].ulPropTag == tag) {
            return &props[i];
        }
    }
    return nullptr;
}

std::string EntryView::String(ULONG tag) const {
    return std::string(Text(tag));
}

std::string_view EntryView::Text(ULONG tag) const {
    const SPropValue* v = Find(tag);
    return v != nullptr && v->Value.lpszA != nullptr ? std::string_view(v->Value.lpszA)
                                                     : std::string_view();
}

HRESULT AddressBook::Open(const std::string& file, ULONG flags, LPWABOPEN entry) {
    Close();
    std::string name = file;
    WAB_PARAM param{};
    param.cbSize = sizeof param;
    param.szFileName = name.data();
    param.ulFlags = flags;
    HRESULT hr = (entry != nullptr ? entry : &WABOpen)(m_book.out(), m_object.out(), &param, 0);
    if (FAILED(hr)) {
        Close();
        return hr;
    }
    ULONG cb = 0;
    LPENTRYID eid = nullptr;
    hr = m_book->GetPAB(&cb, &eid);
    if (FAILED(hr)) {
        Close();
        return hr;
    }
    WabBuffer pab(m_object.get(), eid);
    ULONG type = 0;
    ComRef<IUnknown> unknown;
    hr = m_book->OpenEntry(cb, eid, nullptr, 0, &type, unknown.out());
    if (FAILED(hr) || type != MAPI_ABCONT) {
        Close();
        return FAILED(hr) ? hr : MAPI_E_CALL_FAILED;
    }
    m_container.reset(static_cast<IABContainer*>(unknown.release()));

    TagArray<2> tags;
    tags.aulPropTag[0] = PR_DEF_CREATE_MAILUSER;
    tags.aulPropTag[1] = PR_DEF_CREATE_DL;
    ULONG count = 0;
    LPSPropValue values = nullptr;
    hr = m_container->GetProps(tags.get(), 0, &count, &values);
    WabBuffer held(m_object.get(), values);
    if (hr != S_OK || count != 2) {
        Close();
        return FAILED(hr) ? hr : MAPI_E_NO_SUPPORT;
    }
    m_userTemplate.assign(values[0].Value.bin.lpb,
                          values[0].Value.bin.lpb + values[0].Value.bin.cb);
    m_listTemplate.assign(values[1].Value.bin.lpb,
                          values[1].Value.bin.lpb + values[1].Value.bin.cb);
    return S_OK;
}

void AddressBook::Close() {
    m_deleted.reset();
    m_transaction.reset();
    m_container.reset();
    m_book.reset();
    m_object.reset();
}

HRESULT AddressBook::BeginTransaction() {
    if (!m_book) {
        return MAPI_E_CALL_FAILED;
    }
    if (!m_transaction) {
        HRESULT hr = m_book->QueryInterface(IID_IWABTransaction,
                                            reinterpret_cast<LPVOID*>(m_transaction.out()));
        if (FAILED(hr)) {
            return hr;
        }
    }
    return m_transaction->BeginTransaction(0);
}

HRESULT AddressBook::CommitTransaction() {
    return m_transaction ? m_transaction->CommitTransaction(0) : MAPI_E_CALL_FAILED;
}

HRESULT AddressBook::AbortTransaction() {
    return m_transaction ? m_transaction->AbortTransaction() : MAPI_E_CALL_FAILED;
}

HRESULT AddressBook::Add(ULONG objectType, const SPropValue* props, ULONG count,
                         std::vector<BYTE>* entryId) {
    if (!m_container) {
        return MAPI_E_CALL_FAILED;
    }
    std::vector<BYTE>& templ = objectType == MAPI_DISTLIST ? m_listTemplate : m_userTemplate;
    ComRef<IMAPIProp> entry;
    HRESULT hr =
        m_container->CreateEntry(static_cast<ULONG>(templ.size()),
                                 reinterpret_cast<LPENTRYID>(templ.data()), 0, entry.out());
    if (FAILED(hr)) {
        return hr;
    }
    hr = entry->SetProps(count, const_cast<LPSPropValue>(props), nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    hr = entry->SaveChanges(0);
    if (FAILED(hr) || entryId == nullptr) {
        return hr;
    }
    TagArray<1> tags;
    tags.aulPropTag[0] = PR_ENTRYID;
    ULONG cValues = 0;
    LPSPropValue values = nullptr;
    HRESULT got = entry->GetProps(tags.get(), 0, &cValues, &values);
    WabBuffer held(m_object.get(), values);
    if (got == S_OK && cValues == 1) {
        entryId->assign(values[0].Value.bin.lpb, values[0].Value.bin.lpb + values[0].Value.bin.cb);
    }
    return hr;
}

HRESULT AddressBook::WalkTable(IMAPITable* table, const std::vector<ULONG>& columns,
                               const std::function<bool(EntryView&, HRESULT& hr)>& row) {
    std::vector<ULONG> tags(1, static_cast<ULONG>(columns.size())); // laid out as SPropTagArray
    tags.insert(tags.end(), columns.begin(), columns.end());
    HRESULT hr = table->SetColumns(reinterpret_cast<LPSPropTagArray>(tags.data()), 0);
    if (FAILED(hr)) {
        return hr;
    }
    for (;;) {
        LPSRowSet rows = nullptr;
        hr = table->QueryRows(256, 0, &rows);
        if (FAILED(hr)) {
            return hr;
        }
        WabBuffer heldRows(m_object.get(), rows);
        struct RowsGuard {
            IWABObject* object;
            LPSRowSet rows;
            ~RowsGuard() {
                for (ULONG i = 0; rows != nullptr && i < rows->cRows; ++i) {
                    object->FreeBuffer(rows->aRow[i].lpProps);
                }
            }
        } guard{m_object.get(), rows};
        if (rows == nullptr || rows->cRows == 0) {
            return S_OK;
        }
        for (ULONG i = 0; i < rows->cRows; ++i) {
            const SRow& r = rows->aRow[i];
            if (r.cValues < 2 || r.lpProps[0].ulPropTag != PR_ENTRYID ||
                r.lpProps[1].ulPropTag != PR_OBJECT_TYPE) {
                continue;
            }
            EntryView view;
            view.objectType = r.lpProps[1].Value.ul;
            view.entryId = r.lpProps[0].Value.bin;
            view.props = r.lpProps;
            view.count = r.cValues;
            hr = S_OK;
            if (!row(view, hr)) {
                return hr;
            }
        }
    }
}

HRESULT AddressBook::WalkContents(const std::vector<ULONG>& more,
                                  const std::function<bool(EntryView&, HRESULT& hr)>& row) {
    if (!m_container) {
        return MAPI_E_CALL_FAILED;
    }
    ComRef<IMAPITable> table;
    HRESULT hr = m_container->GetContentsTable(0, table.out());
    if (FAILED(hr)) {
        return hr;
    }
    std::vector<ULONG> columns = {PR_ENTRYID, PR_OBJECT_TYPE, PR_DISPLAY_NAME};
    columns.insert(columns.end(), more.begin(), more.end());
    return WalkTable(table.get(), columns, row);
}

HRESULT AddressBook::OpenListed(const EntryView& view, ComRef<IUnknown>& entry) {
    ULONG type = 0;
    return m_book->OpenEntry(view.entryId.cb, reinterpret_cast<LPENTRYID>(view.entryId.lpb),
                             nullptr, 0, &type, entry.out());
}

HRESULT AddressBook::ForEach(const std::function<bool(const EntryView&)>& visit, bool withProps,
                             const UnreadableEntry& unreadable) {
    return WalkContents({}, [&](EntryView& view, HRESULT& result) {
        if (!withProps) {
            return visit(view);
        }
        ComRef<IUnknown> unknown;
        HRESULT got = OpenListed(view, unknown);
        LPSPropValue props = nullptr;
        if (SUCCEEDED(got)) {
            ComRef<IMAPIProp> entry(static_cast<IMAPIProp*>(unknown.release()));
            got = entry->GetProps(nullptr, 0, &view.count, &props);
        }
        WabBuffer heldProps(m_object.get(), props);
        if (got == MAPI_E_NOT_FOUND || got == MAPI_E_OBJECT_DELETED) {
            return true; // deleted since the table was read
        }
        if (FAILED(got) && !unreadable) {
            result = got;
            return false;
        }
        if (FAILED(got)) {
            unreadable(view.entryId, got);
            return true;
        }
        view.props = props;
        return visit(view);
    });
}

HRESULT AddressBook::ForEachRow(const std::vector<ULONG>& more,
                                const std::function<bool(const EntryView&)>& visit,
                                const UnreadableEntry& unreadable) {
    return WalkContents(more, [&](EntryView& view, HRESULT&) {
        if (view.objectType == MAPI_MAILUSER || view.objectType == MAPI_DISTLIST) {
            return visit(view);
        }
        ComRef<IUnknown> unknown;
        const HRESULT got = OpenListed(view, unknown);
        if (SUCCEEDED(got)) {
            return visit(view);
        }
        unreadable(view.entryId, got);
        return true;
    });
}

HRESULT AddressBook::Delete(const std::vector<BYTE>& entryId) {
    if (!m_container) {
        return MAPI_E_CALL_FAILED;
    }
    SBinary bin{static_cast<ULONG>(entryId.size()), const_cast<LPBYTE>(entryId.data())};
    ENTRYLIST list{1, &bin};
    return m_container->DeleteEntries(&list, 0);
}

HRESULT AddressBook::DeletedEntries() {
    if (!m_book) {
        return MAPI_E_CALL_FAILED;
    }
    if (m_deleted) {
        return S_OK;
    }
    return m_book->QueryInterface(IID_IWABDeletedEntries,
                                  reinterpret_cast<LPVOID*>(m_deleted.out()));
}

HRESULT AddressBook::ForEachDeleted(const std::function<bool(const EntryView&)>& visit) {
    HRESULT hr = DeletedEntries();
    ComRef<IMAPITable> table;
    if (SUCCEEDED(hr)) {
        hr = m_deleted->GetContentsTable(0, table.out());
    }
    if (FAILED(hr)) {
        return hr;
    }
    const auto columns = {PR_ENTRYID, PR_OBJECT_TYPE, PR_DISPLAY_NAME, PR_EMAIL_ADDRESS,
                          PR_DELETED_ON};
    return WalkTable(table.get(), columns, [&](EntryView& view, HRESULT&) { return visit(view); });
}

HRESULT AddressBook::OnDeleted(const std::vector<std::vector<BYTE>>& entryIds,
                               HRESULT (IWABDeletedEntries::*action)(LPENTRYLIST, ULONG)) {
    HRESULT hr = DeletedEntries();
    if (FAILED(hr)) {
        return hr;
    }
    std::vector<SBinary> bins;
    bins.reserve(entryIds.size());
    for (const std::vector<BYTE>& id : entryIds) {
        bins.push_back({static_cast<ULONG>(id.size()), const_cast<LPBYTE>(id.data())});
    }
    ENTRYLIST list{static_cast<ULONG>(bins.size()), bins.data()};
    return (m_deleted.get()->*action)(&list, 0);
}

HRESULT AddressBook::Restore(const std::vector<std::vector<BYTE>>& entryIds) {
    return OnDeleted(entryIds, &IWABDeletedEntries::RestoreEntries);
}

HRESULT AddressBook::Purge(const std::vector<std::vector<BYTE>>& entryIds) {
    return OnDeleted(entryIds, &IWABDeletedEntries::PurgeEntries);
}

} // namespace wabtool
