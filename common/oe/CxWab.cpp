#include "common/oe/CxWab.h"

#include <cstring>

#include "common/oe/CxWabFolder.h"
#include "common/oe/WabRecord.h"
#include "platform/win32/CrtAssert.h"

namespace {

constexpr char kDllPathKey[] = "Software\\Microsoft\\WAB\\DLLPath";

// The contents columns; ReadRecord takes the identifier and the kind by
// position, so the order is fixed.
struct ContentsColumns {
    ULONG cValues = 3;
    ULONG aulPropTag[3] = {PR_DISPLAY_NAME, PR_ENTRYID, PR_OBJECT_TYPE};
};

// A row we can read: the identifier in column 1 and the kind in column 2.
bool IsWellFormed(const SRow& row) {
    return row.cValues >= 3 && row.lpProps != nullptr && row.lpProps[1].ulPropTag == PR_ENTRYID &&
           row.lpProps[2].ulPropTag == PR_OBJECT_TYPE;
}

ULONG ObjectTypeOf(const SRow& row) {
    return IsWellFormed(row) ? row.lpProps[2].Value.ul : 0;
}

} // namespace

CxWab::CxWab(const char* pszWabFile)
    : m_szWabFile{}, m_pRootFolder(), m_bLibLoaded(false), m_hWabLib(nullptr),
      m_lpfnWABOpen(nullptr), m_lpAdrBook(), m_lpWABObject(), m_lpPropArray(nullptr),
      m_ulcValues(0), m_hrLastOpen(S_OK) {
    char szPath[260] = "";
    bool bFits = true;
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDllPathKey, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        DWORD cbData = sizeof szPath;
        DWORD dwType = 0;
        LSTATUS status = RegQueryValueExA(hKey, nullptr, nullptr, &dwType,
                                          reinterpret_cast<LPBYTE>(szPath), &cbData);
        if (status == ERROR_SUCCESS) {
            if (cbData < sizeof szPath) {
                szPath[cbData] = '\0';
            } else if (std::memchr(szPath, '\0', sizeof szPath) == nullptr) {
                bFits = false;
            }
        } else {
            bFits = status != ERROR_MORE_DATA;
            szPath[0] = '\0';
        }
        RegCloseKey(hKey);
    }
    // A path longer than the buffer is not cut down: what is left of it could
    // name another library. The session then simply has no library.
    if (bFits) {
        m_hWabLib = LoadLibraryA(szPath[0] != '\0' ? szPath : "WAB32.DLL");
        if (m_hWabLib != nullptr) {
            m_lpfnWABOpen = reinterpret_cast<LPWABOPEN>(GetProcAddress(m_hWabLib, "WABOpen"));
            m_bLibLoaded = true;
        }
    }
    if (pszWabFile != nullptr) {
        Open(pszWabFile);
    }
}

std::string CxWab::DescribeResult(HRESULT hr) {
    if (hr == CXWAB_E_NO_LIBRARY) {
        return "the address-book library (WAB32.DLL) was not found or cannot be used";
    }
    return DescribeWabResult(hr);
}

CxWab::~CxWab() {
    Close();
    if (m_bLibLoaded && m_hWabLib != nullptr) {
        FreeLibrary(m_hWabLib);
    }
}

bool CxWab::Open(const char* pszWabFile) {
    m_hrLastOpen = OpenBook(pszWabFile);
    return SUCCEEDED(m_hrLastOpen);
}

HRESULT CxWab::OpenBook(const char* pszWabFile) {
    Close();
    if (m_lpfnWABOpen == nullptr) {
        return CXWAB_E_NO_LIBRARY;
    }
    if (pszWabFile == nullptr || pszWabFile[0] == '\0') {
        m_szWabFile[0] = '\0';
    } else {
        std::size_t n = strnlen(pszWabFile, sizeof m_szWabFile);
        if (n == sizeof m_szWabFile) {
            // Cut to 259 characters it would name another file, which the
            // user might then delete contacts from.
            m_szWabFile[0] = '\0';
            return WAB_E_NAME_TOO_LONG;
        }
        // The name may be our own (a re-open of GetWabFile()).
        std::memmove(m_szWabFile, pszWabFile, n + 1);
    }

    WAB_PARAM wp{};
    wp.cbSize = sizeof wp;
    wp.hwnd = nullptr;
    wp.szFileName = m_szWabFile;
    wp.ulFlags = 0;
    // clang-format off
    CRT_ASSERT(m_lpfnWABOpen!=NULL);
    // clang-format on
    HRESULT hr = m_lpfnWABOpen(m_lpAdrBook.out(), m_lpWABObject.out(), &wp, 0);
    if (FAILED(hr)) {
        // Nothing was handed out; whatever the pointers hold is not ours.
        m_lpAdrBook.release();
        m_lpWABObject.release();
        return hr;
    }
    if (!m_lpAdrBook || !m_lpWABObject) {
        Close();
        return MAPI_E_CALL_FAILED;
    }

    ULONG cbEID = 0;
    LPENTRYID lpEID = nullptr;
    hr = m_lpAdrBook->GetPAB(&cbEID, &lpEID);
    if (FAILED(hr)) {
        Close();
        return hr;
    }
    ULONG ulObjType = 0;
    ComRef<IUnknown> lpUnknown;
    hr = m_lpAdrBook->OpenEntry(cbEID, lpEID, nullptr, 0, &ulObjType, lpUnknown.out());
    m_lpWABObject->FreeBuffer(lpEID);
    if (FAILED(hr)) {
        lpUnknown.release(); // nothing was handed out
    }
    if (FAILED(hr) || !lpUnknown || ulObjType != MAPI_ABCONT) {
        lpUnknown.reset();
        Close();
        return FAILED(hr) ? hr : MAPI_E_CALL_FAILED;
    }
    // The folder takes this reference over.
    auto* lpContainer = static_cast<IABContainer*>(lpUnknown.release());
    m_pRootFolder = std::make_unique<CxWabFolder>(this, lpContainer);
    m_hrRead = S_OK;
    if (!ReadContents(lpContainer)) {
        return FAILED(m_hrRead) ? m_hrRead : MAPI_E_CALL_FAILED;
    }
    return S_OK;
}

bool CxWab::Close() {
    // The address book and its object go before the folder releases the
    // container and the records their contacts.
    m_lpAdrBook.reset();
    m_lpWABObject.reset();
    m_pRootFolder.reset();
    return true;
}

WabRecord* CxWab::GetFirstRecord() {
    if (!m_pRootFolder) {
        return nullptr;
    }
    return static_cast<WabRecord*>(m_pRootFolder->GetRecordList()->GetFirst());
}

WabRecord* CxWab::GetNextRecord() {
    if (!m_pRootFolder) {
        return nullptr;
    }
    return static_cast<WabRecord*>(m_pRootFolder->GetRecordList()->GetNext());
}

void CxWab::FillRecord(WabRecord* pRecord, const SPropValue* lpProps, ULONG cValues) {
    if (pRecord == nullptr) {
        return;
    }
    std::memset(pRecord, 0, sizeof *pRecord);
    pRecord->cbSize = sizeof(WabRecord);
    for (ULONG i = 0; lpProps != nullptr && i < cValues; ++i) {
        const SPropValue& value = lpProps[i];
        if (char* pszField = GetFieldByTag(pRecord, value.ulPropTag)) {
            CopyTextField(pszField, GetFieldSizeByTag(value.ulPropTag), value.Value.lpszA);
        } else if (value.ulPropTag == PR_BIRTHDAY) {
            pRecord->ftBirthday = value.Value.ft;
        } else if (value.ulPropTag == PR_GENDER) {
            pRecord->nGender = value.Value.i;
        } else if (value.ulPropTag == PR_WEDDING_ANNIVERSARY) {
            pRecord->ftWeddingAnniversary = value.Value.ft;
        }
    }
}

bool CxWab::ReadContents(IABContainer* lpContainer) {
    if (lpContainer == nullptr || !m_pRootFolder) {
        return false;
    }
    ComRef<IMAPITable> lpTable;
    if (FAILED(lpContainer->GetContentsTable(0, lpTable.out()))) {
        lpTable.release(); // nothing was handed out
        return true;       // open, without contacts
    }
    if (!lpTable) {
        return true;
    }
    ContentsColumns columns;
    m_hrRead = lpTable->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0);
    if (SUCCEEDED(m_hrRead)) {
        m_hrRead = lpTable->SeekRow(BOOKMARK_BEGINNING, 0, nullptr);
    }
    bool bOk = SUCCEEDED(m_hrRead);
    while (bOk) {
        SRowSet* lpRowAB = nullptr;
        m_hrRead = lpTable->QueryRows(1, 0, &lpRowAB);
        if (FAILED(m_hrRead)) {
            bOk = false;
            break;
        }
        if (lpRowAB == nullptr) {
            break;
        }
        bool bRow = lpRowAB->cRows != 0;
        if (bRow && ObjectTypeOf(lpRowAB->aRow[0]) == MAPI_MAILUSER) {
            // A heap block owned by the root folder from AddRecord on.
            auto* pRecord = new WabRecord;
            if (ReadRecord(pRecord, lpRowAB, 0)) {
                m_pRootFolder->AddRecord(pRecord);
            } else {
                delete pRecord; // a contact that cannot be opened or read is skipped
            }
        }
        FreeRows(lpRowAB);
        if (!bRow) {
            break;
        }
    }
    lpTable.reset();
    if (!bOk) {
        Close();
    }
    return bOk;
}

bool CxWab::ReadRecord(WabRecord* pRecord, SRowSet* lpRowAB, int index) {
    // clang-format off
    CRT_ASSERT(pRecord!=NULL);
    CRT_ASSERT(lpRowAB!=NULL);
    CRT_ASSERT(index>=0&&index<(int)lpRowAB->cRows);
    // clang-format on
    const SRow& row = lpRowAB->aRow[index];
    if (ObjectTypeOf(row) != MAPI_MAILUSER || !m_lpAdrBook) {
        return false;
    }
    const SBinary& eid = row.lpProps[1].Value.bin;
    if (eid.cb == 0 || eid.lpb == nullptr) {
        return false; // nothing to open, and nothing a delete could name
    }
    ULONG ulObjType = 0;
    ComRef<IUnknown> lpUnknown;
    HRESULT hr = m_lpAdrBook->OpenEntry(eid.cb, reinterpret_cast<LPENTRYID>(eid.lpb), nullptr, 0,
                                        &ulObjType, lpUnknown.out());
    if (FAILED(hr)) {
        lpUnknown.release(); // nothing was handed out
        return false;
    }
    if (!lpUnknown || ulObjType != MAPI_MAILUSER) {
        return false;
    }
    ComRef<IMailUser> lpMailUser(static_cast<IMailUser*>(lpUnknown.release()));
    hr = lpMailUser->GetProps(nullptr, 0, &m_ulcValues, &m_lpPropArray);
    auto* lpCopy = SUCCEEDED(hr) ? static_cast<LPBYTE>(LocalAlloc(LPTR, eid.cb)) : nullptr;
    bool bRead = lpCopy != nullptr;
    if (bRead) {
        FillRecord(pRecord, m_lpPropArray, m_ulcValues);
        std::memcpy(lpCopy, eid.lpb, eid.cb);
        pRecord->cbEntryID = eid.cb;
        pRecord->lpEntryID = lpCopy;
        pRecord->lpMailUser = lpMailUser.release(); // the record holds this reference now
    }
    if (m_lpPropArray != nullptr) {
        m_lpWABObject->FreeBuffer(m_lpPropArray);
    }
    m_lpPropArray = nullptr;
    m_ulcValues = 0;
    return bRead;
}

void CxWab::FreeRows(SRowSet* lpRows) {
    if (lpRows == nullptr || !m_lpWABObject) {
        return;
    }
    for (ULONG i = 0; i < lpRows->cRows; ++i) {
        m_lpWABObject->FreeBuffer(lpRows->aRow[i].lpProps);
    }
    m_lpWABObject->FreeBuffer(lpRows);
}
