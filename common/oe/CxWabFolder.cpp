#include "common/oe/CxWabFolder.h"

#include <cstddef>

#include "common/oe/WabRecord.h"
#include "platform/win32/CrtAssert.h"
#include "platform/win32/Win32.h"

CxWabFolder::CxWabFolder(CxWab* pWab, IABContainer* pContainer)
    : m_pWab(pWab), m_pRecList(std::make_unique<CxList>()), m_lpContainer(pContainer), m_szName{} {
    // The checks show their expressions as written.
    // clang-format off
    CRT_ASSERT(pWab!=NULL);
    CRT_ASSERT(pContainer!=NULL);
    // clang-format on
}

CxWabFolder::~CxWabFolder() {
    FreeRecords();
    if (m_lpContainer != nullptr) {
        m_lpContainer->Release();
    }
}

bool CxWabFolder::AddRecord(WabRecord* pRecord) {
    if (pRecord == nullptr) {
        return false;
    }
    pRecord->pFolder = this;
    CopyTextField(pRecord->szFolderName, 31, m_szName); // at most 30 characters
    return m_pRecList->Add(pRecord);
}

bool CxWabFolder::DeleteRecord(WabRecord* pRecord, bool bFree) {
    if (pRecord == nullptr) {
        return false;
    }
    std::uint32_t nPos = 0;
    void* pItem = m_pRecList->GetFirst();
    while (pItem != nullptr && pItem != pRecord) {
        pItem = m_pRecList->GetNext();
        ++nPos;
    }
    if (pItem == nullptr) {
        return false;
    }
    m_pRecList->RemoveAt(nPos);

    SBinary entry{pRecord->cbEntryID, pRecord->lpEntryID};
    ENTRYLIST list{1, &entry};
    HRESULT hr = m_lpContainer->DeleteEntries(&list, 0);
    if (bFree) {
        FreeRecord(pRecord);
    }
    return SUCCEEDED(hr);
}

void CxWabFolder::FreeRecords() {
    for (void* pItem = m_pRecList->GetFirst(); pItem != nullptr; pItem = m_pRecList->GetNext()) {
        FreeRecord(static_cast<WabRecord*>(pItem));
    }
    m_pRecList->RemoveAll();
}

void CxWabFolder::FreeRecord(WabRecord* pRecord) {
    if (pRecord == nullptr) {
        return;
    }
    if (pRecord->lpEntryID != nullptr) {
        LocalFree(pRecord->lpEntryID);
    }
    if (pRecord->lpMailUser != nullptr) {
        pRecord->lpMailUser->Release();
    }
    delete pRecord;
}
