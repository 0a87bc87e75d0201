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
    const SPropValue* v = Find(tag);
    return v != nullptr && v->Value.lpszA != nullptr ? std::string(v->Value.lpszA) : std::string();
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

HRESULT AddressBook::ForEach(const std::function<bool(const EntryView&)>& visit, bool withProps,
                             const UnreadableEntry& unreadable) {
    if (!m_container) {
        return MAPI_E_CALL_FAILED;
    }
    ComRef<IMAPITable> table;
    HRESULT hr = m_container->GetContentsTable(0, table.out());
    if (FAILED(hr)) {
        return hr;
    }
    TagArray<3> columns;
    columns.aulPropTag[0] = PR_ENTRYID;
    columns.aulPropTag[1] = PR_OBJECT_TYPE;
    columns.aulPropTag[2] = PR_DISPLAY_NAME;
    hr = table->SetColumns(columns.get(), 0);
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
            const SRow& row = rows->aRow[i];
            if (row.cValues < 2 || row.lpProps[0].ulPropTag != PR_ENTRYID ||
                row.lpProps[1].ulPropTag != PR_OBJECT_TYPE) {
                continue;
            }
            EntryView view;
            view.objectType = row.lpProps[1].Value.ul;
            view.entryId = row.lpProps[0].Value.bin;
            if (!withProps) {
                view.props = row.lpProps;
                view.count = row.cValues;
                if (!visit(view)) {
                    return S_OK;
                }
                continue;
            }
            ULONG type = 0;
            ComRef<IUnknown> unknown;
            hr = m_book->OpenEntry(view.entryId.cb, reinterpret_cast<LPENTRYID>(view.entryId.lpb),
                                   nullptr, 0, &type, unknown.out());
            LPSPropValue props = nullptr;
            if (SUCCEEDED(hr)) {
                ComRef<IMAPIProp> entry(static_cast<IMAPIProp*>(unknown.release()));
                hr = entry->GetProps(nullptr, 0, &view.count, &props);
            }
            WabBuffer heldProps(m_object.get(), props);
            if (hr == MAPI_E_NOT_FOUND || hr == MAPI_E_OBJECT_DELETED) {
                continue; // deleted since the table was read
            }
            if (FAILED(hr) && !unreadable) {
                return hr;
            }
            if (FAILED(hr)) {
                unreadable(view.entryId, hr);
                continue;
            }
            view.props = props;
            if (!visit(view)) {
                return S_OK;
            }
        }
    }
}

HRESULT AddressBook::Delete(const std::vector<BYTE>& entryId) {
    if (!m_container) {
        return MAPI_E_CALL_FAILED;
    }
    SBinary bin{static_cast<ULONG>(entryId.size()), const_cast<LPBYTE>(entryId.data())};
    ENTRYLIST list{1, &bin};
    return m_container->DeleteEntries(&list, 0);
}

} // namespace wabtool
