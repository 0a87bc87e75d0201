// A small RAII client of the address-book library's ABI: what wabtool needs
// to create, read and delete entries. Never touches the store directly.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wab32/ComRef.h"
#include "platform/wab32/WabAbi.h"
#include "platform/wab32/WabResults.h"

namespace wabtool {

// A buffer the library allocated, given back with FreeBuffer. Holds a
// reference to the object that frees it, so it may outlive AddressBook::Close.
class WabBuffer {
public:
    explicit WabBuffer(IWABObject* object, void* p = nullptr) : m_object(object), m_p(p) {
        object->AddRef();
    }
    ~WabBuffer() { reset(); }
    WabBuffer(const WabBuffer&) = delete;
    WabBuffer& operator=(const WabBuffer&) = delete;
    void reset(void* p = nullptr) {
        if (m_p != nullptr) {
            m_object->FreeBuffer(m_p);
        }
        m_p = p;
    }
    template <class T> T* as() const { return static_cast<T*>(m_p); }

private:
    ComRef<IWABObject> m_object;
    void* m_p;
};

// One entry as ForEach hands it out; valid during the callback only.
struct EntryView {
    ULONG objectType = 0;
    SBinary entryId{};
    const SPropValue* props = nullptr;
    ULONG count = 0;

    const SPropValue* Find(ULONG tag) const;
    std::string String(ULONG tag) const;    // empty when absent
    std::string_view Text(ULONG tag) const; // the same, without a copy
};

class AddressBook {
public:
    AddressBook() = default;
    ~AddressBook() { Close(); }
    AddressBook(const AddressBook&) = delete;
    AddressBook& operator=(const AddressBook&) = delete;

    // Empty name: the user's default address book. flags: WAB_PARAM::ulFlags.
    // entry: another build's WABOpen (tests), else the linked one.
    HRESULT Open(const std::string& file, ULONG flags = 0, LPWABOPEN entry = nullptr);
    void Close();
    bool IsOpen() const { return static_cast<bool>(m_book); }

    HRESULT BeginTransaction();
    HRESULT CommitTransaction();
    HRESULT AbortTransaction();

    // objectType: MAPI_MAILUSER or MAPI_DISTLIST.
    HRESULT Add(ULONG objectType, const SPropValue* props, ULONG count,
                std::vector<BYTE>* entryId = nullptr);
    // Stops early when the visitor returns false. withProps: open every entry
    // and fetch all its properties; otherwise the row's columns only. An
    // entry that cannot be opened or read ends the walk with its failure, or,
    // given `unreadable`, is handed to it and left out.
    using UnreadableEntry = std::function<void(const SBinary& entryId, HRESULT hr)>;
    HRESULT ForEach(const std::function<bool(const EntryView&)>& visit, bool withProps = true,
                    const UnreadableEntry& unreadable = nullptr);
    // The rows of the contents table with PR_DISPLAY_NAME and the `more`
    // columns (an absent value as an error value), without opening the
    // entries: the quick way to list them. A row of a kind no contact or list
    // has is opened to learn why it cannot be read, and handed to
    // `unreadable`.
    HRESULT ForEachRow(const std::vector<ULONG>& more,
                       const std::function<bool(const EntryView&)>& visit,
                       const UnreadableEntry& unreadable);
    HRESULT Delete(const std::vector<BYTE>& entryId);

    // The deleted entries, newest first; each view holds PR_ENTRYID,
    // PR_OBJECT_TYPE, PR_DISPLAY_NAME, PR_EMAIL_ADDRESS and PR_DELETED_ON
    // (an absent one as an error value).
    HRESULT ForEachDeleted(const std::function<bool(const EntryView&)>& visit);
    // Puts deleted entries back, all or none.
    HRESULT Restore(const std::vector<std::vector<BYTE>>& entryIds);
    // Removes deleted entries for good.
    HRESULT Purge(const std::vector<std::vector<BYTE>>& entryIds);

    IAddrBook* Book() const { return m_book.get(); }
    IWABObject* Object() const { return m_object.get(); }
    IABContainer* Container() const { return m_container.get(); }

private:
    // Calls `row` for each row of `table` with `columns`, the first two being
    // PR_ENTRYID and PR_OBJECT_TYPE; stops early when it returns false.
    HRESULT WalkTable(IMAPITable* table, const std::vector<ULONG>& columns,
                      const std::function<bool(EntryView&, HRESULT& hr)>& row);
    // WalkTable over the contents table, PR_DISPLAY_NAME and `more` after
    // the first two columns.
    HRESULT WalkContents(const std::vector<ULONG>& more,
                         const std::function<bool(EntryView&, HRESULT& hr)>& row);
    HRESULT OpenListed(const EntryView& view, ComRef<IUnknown>& entry);
    HRESULT DeletedEntries();
    HRESULT OnDeleted(const std::vector<std::vector<BYTE>>& entryIds,
                      HRESULT (IWABDeletedEntries::*action)(LPENTRYLIST, ULONG));

    ComRef<IAddrBook> m_book;
    ComRef<IWABObject> m_object;
    ComRef<IABContainer> m_container;
    ComRef<IWABTransaction> m_transaction;
    ComRef<IWABDeletedEntries> m_deleted;
    std::vector<BYTE> m_userTemplate;
    std::vector<BYTE> m_listTemplate;
};

} // namespace wabtool
