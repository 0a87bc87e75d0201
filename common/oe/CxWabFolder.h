// The records of one opened address-book container. The folder owns its
// records and one reference to the container; deleting a record here is the
// only change the program makes to an address book.
#pragma once

#include <memory>

#include "common/misc/CxList.h"
#include "platform/wab32/WabAbi.h"

class CxWab;
struct WabRecord;

class CxWabFolder {
public:
    // Takes over the caller's reference to pContainer.
    CxWabFolder(CxWab* pWab, IABContainer* pContainer);
    virtual ~CxWabFolder();
    CxWabFolder(const CxWabFolder&) = delete;
    CxWabFolder& operator=(const CxWabFolder&) = delete;

    // Takes the record (a heap block from new) into the folder, which frees it.
    bool AddRecord(WabRecord* pRecord);
    // Takes the record out of the folder and asks the address book to delete
    // the contact; frees the record when bFree is set. True when the record
    // was taken out; false when it is not in this folder (nothing happens).
    // A deletion the address book refuses still takes the record out (the
    // contact shows up again at the next open) and is counted below.
    bool DeleteRecord(WabRecord* pRecord, bool bFree);
    void FreeRecords();

    // Deletions the address book refused since the last ClearRefusals, and
    // the reason it gave for the last of them.
    unsigned GetRefusedCount() const { return m_nRefused; }
    HRESULT GetLastRefusal() const { return m_hrRefusal; }
    void ClearRefusals();

    // The records in reading order; walking it moves the list's cursor.
    CxList* GetRecordList() const { return m_pRecList.get(); }
    IABContainer* GetContainer() const { return m_lpContainer; }
    const char* GetName() const { return m_szName; }

    // Frees one record: its identifier copy, its contact reference, itself.
    static void FreeRecord(WabRecord* pRecord);

private:
    CxWab* m_pWab;                      // the session; not owned
    std::unique_ptr<CxList> m_pRecList; // of WabRecord*, each owned
    IABContainer* m_lpContainer;        // one reference, released in the destructor
    char m_szName[256];
    unsigned m_nRefused = 0;
    HRESULT m_hrRefusal = S_OK;
};
