// The program's one session with the address book: loads the library,
// opens the default address book or a named file, reads every contact of
// the personal address book into its root folder, and releases it all again.
#pragma once

#include <memory>
#include <string>

#include "platform/wab32/ComRef.h"
#include "platform/wab32/WabAbi.h"
#include "platform/wab32/WabResults.h"
#include "platform/win32/Win32.h"

// The session found no address-book library, or none with WABOpen in it.
constexpr HRESULT CXWAB_E_NO_LIBRARY = static_cast<HRESULT>(0x80040A80u);

class CxWabFolder;
struct WabRecord;

class CxWab {
public:
    // Loads the library; opens pszWabFile at once unless it is null.
    explicit CxWab(const char* pszWabFile);
    virtual ~CxWab();
    CxWab(const CxWab&) = delete;
    CxWab& operator=(const CxWab&) = delete;

    // Null or empty: the default address book. False leaves the session closed.
    bool Open(const char* pszWabFile);
    // Why the last Open failed (S_OK after one that succeeded): a code of the
    // library (DescribeWabResult words it) or CXWAB_E_NO_LIBRARY.
    HRESULT GetLastOpenResult() const { return m_hrLastOpen; }
    // A short reason a user can read for a code of the session or the library.
    static std::string DescribeResult(HRESULT hr);
    bool Close();

    // Walk the root folder's records in reading order; null at the end.
    WabRecord* GetFirstRecord();
    WabRecord* GetNextRecord();
    CxWabFolder* GetRootFolder() const { return m_pRootFolder.get(); }

    // Zeroes the record and fills it from one contact's property values.
    static void FillRecord(WabRecord* pRecord, const SPropValue* lpProps, ULONG cValues);

    bool ReadContents(IABContainer* lpContainer);
    // True when the record was filled and holds its contact object.
    bool ReadRecord(WabRecord* pRecord, SRowSet* lpRowAB, int index);
    void FreeRows(SRowSet* lpRows);

    const char* GetWabFile() const { return m_szWabFile; }
    bool HasLibrary() const { return m_lpfnWABOpen != nullptr; }

private:
    HRESULT OpenBook(const char* pszWabFile);

    char m_szWabFile[260];
    std::unique_ptr<CxWabFolder> m_pRootFolder;
    bool m_bLibLoaded;
    HMODULE m_hWabLib;
    LPWABOPEN m_lpfnWABOpen;
    // One reference each while open; released in Close.
    ComRef<IAddrBook> m_lpAdrBook;
    ComRef<IWABObject> m_lpWABObject;
    // The library's buffer for the contact being read; null between reads.
    LPSPropValue m_lpPropArray;
    ULONG m_ulcValues;
    HRESULT m_hrLastOpen;
    HRESULT m_hrRead = S_OK; // the contents table's last answer while reading
};
