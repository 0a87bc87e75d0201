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
    if (pRecord == nullptr || !m_pRecList->Remove(pRecord)) {
        return false;
    }
    SBinary entry{pRecord->cbEntryID, pRecord->lpEntryID};
    ENTRYLIST list{1, &entry};
    const HRESULT hr = m_lpContainer->DeleteEntries(&list, 0);
    if (FAILED(hr)) {
        ++m_nRefused;
        m_hrRefusal = hr;
    }
    if (bFree) {
        FreeRecord(pRecord);
    }
    return true;
}

void CxWabFolder::ClearRefusals() {
    m_nRefused = 0;
    m_hrRefusal = S_OK;
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
