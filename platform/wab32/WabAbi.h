// Binary interface of the address-book library (libwab32.so): the entry point
// WABOpen and the COM-style interfaces it hands out. Virtual functions stand in
// the order of the interfaces' vtables; every HRESULT below zero is a failure.
//
// Self-contained on purpose: the library and its command-line client include
// nothing else of ours. The basic type aliases repeat platform/win32/Win32.h
// exactly, so both headers can be included together.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Basic types ----------------------------------------------------------

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using HRESULT = LONG;
using LPSTR = char*;
using LPCSTR = const char*;
using LPBYTE = BYTE*;
using LPVOID = void*;
struct HWND__;
using HWND = HWND__*;

using SCODE = LONG;
using ULONG_PTR = std::uintptr_t;
using LPULONG = ULONG*;

#ifndef QUENBY_FILETIME_DEFINED
#define QUENBY_FILETIME_DEFINED
// 100-nanosecond intervals since 1601-01-01 UTC, low word first.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
#endif

#ifndef QUENBY_GUID_DEFINED
#define QUENBY_GUID_DEFINED
struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
#endif
using IID = GUID;
using LPGUID = GUID*;
using LPCIID = const IID*;
using REFIID = const IID&;

inline bool WabIsEqualGuid(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) {
        return false;
    }
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) {
            return false;
        }
    }
    return true;
}

// ---- Results --------------------------------------------------------------

#ifndef S_OK
#define S_OK (static_cast<HRESULT>(0))
#endif
#ifndef SUCCEEDED
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#endif
#ifndef FAILED
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
#endif

constexpr HRESULT MAPI_E_CALL_FAILED = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT MAPI_E_INTERFACE_NOT_SUPPORTED = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT MAPI_E_NOT_ENOUGH_MEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT MAPI_E_INVALID_PARAMETER = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT MAPI_E_NO_ACCESS = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT MAPI_E_NO_SUPPORT = static_cast<HRESULT>(0x80040102u);
constexpr HRESULT MAPI_E_BAD_CHARWIDTH = static_cast<HRESULT>(0x80040103u);
constexpr HRESULT MAPI_E_UNKNOWN_FLAGS = static_cast<HRESULT>(0x80040106u);
constexpr HRESULT MAPI_E_INVALID_ENTRYID = static_cast<HRESULT>(0x80040107u);
constexpr HRESULT MAPI_E_BUSY = static_cast<HRESULT>(0x8004010Bu);
constexpr HRESULT MAPI_E_NOT_FOUND = static_cast<HRESULT>(0x8004010Fu);
constexpr HRESULT MAPI_E_VERSION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT MAPI_E_DISK_ERROR = static_cast<HRESULT>(0x80040116u);
constexpr HRESULT MAPI_E_COMPUTED = static_cast<HRESULT>(0x8004011Au);
constexpr HRESULT MAPI_E_CORRUPT_DATA = static_cast<HRESULT>(0x8004011Bu);
constexpr HRESULT MAPI_E_INVALID_TYPE = static_cast<HRESULT>(0x80040302u);
constexpr HRESULT MAPI_E_OBJECT_DELETED = static_cast<HRESULT>(0x80040801u);
constexpr HRESULT MAPI_W_ERRORS_RETURNED = static_cast<HRESULT>(0x00040380u);
constexpr HRESULT MAPI_W_PARTIAL_COMPLETION = static_cast<HRESULT>(0x00040680u);

// ---- Property tags --------------------------------------------------------

constexpr ULONG PROP_TYPE(ULONG ulPropTag) {
    return ulPropTag & 0xFFFFu;
}
constexpr ULONG PROP_ID(ULONG ulPropTag) {
    return ulPropTag >> 16;
}
constexpr ULONG PROP_TAG(ULONG ulPropType, ULONG ulPropID) {
    return (ulPropID << 16) | ulPropType;
}

constexpr ULONG PT_UNSPECIFIED = 0x0000;
constexpr ULONG PT_NULL = 0x0001;
constexpr ULONG PT_SHORT = 0x0002;
constexpr ULONG PT_I2 = PT_SHORT;
constexpr ULONG PT_LONG = 0x0003;
constexpr ULONG PT_ERROR = 0x000A;
constexpr ULONG PT_BOOLEAN = 0x000B;
constexpr ULONG PT_I8 = 0x0014;
constexpr ULONG PT_STRING8 = 0x001E;
constexpr ULONG PT_UNICODE = 0x001F;
constexpr ULONG PT_SYSTIME = 0x0040;
constexpr ULONG PT_BINARY = 0x0102;
constexpr ULONG MV_FLAG = 0x1000;
constexpr ULONG PT_MV_STRING8 = MV_FLAG | PT_STRING8;
constexpr ULONG PT_MV_BINARY = MV_FLAG | PT_BINARY;

constexpr ULONG PR_ENTRYID = 0x0FFF0102;
constexpr ULONG PR_OBJECT_TYPE = 0x0FFE0003;
constexpr ULONG PR_DEF_CREATE_DL = 0x36E40102;
constexpr ULONG PR_DEF_CREATE_MAILUSER = 0x36E50102;
constexpr ULONG PR_DISPLAY_TYPE = 0x39000003;
constexpr ULONG PR_DISPLAY_NAME = 0x3001001E;
constexpr ULONG PR_ADDRTYPE = 0x3002001E;
constexpr ULONG PR_EMAIL_ADDRESS = 0x3003001E;
constexpr ULONG PR_COMMENT = 0x3004001E;
constexpr ULONG PR_ACCOUNT = 0x3A00001E;
constexpr ULONG PR_CALLBACK_TELEPHONE_NUMBER = 0x3A02001E;
constexpr ULONG PR_GENERATION = 0x3A05001E;
constexpr ULONG PR_GIVEN_NAME = 0x3A06001E;
constexpr ULONG PR_GOVERNMENT_ID_NUMBER = 0x3A07001E;
constexpr ULONG PR_BUSINESS_TELEPHONE_NUMBER = 0x3A08001E;
constexpr ULONG PR_HOME_TELEPHONE_NUMBER = 0x3A09001E;
constexpr ULONG PR_INITIALS = 0x3A0A001E;
constexpr ULONG PR_KEYWORD = 0x3A0B001E;
constexpr ULONG PR_LANGUAGE = 0x3A0C001E;
constexpr ULONG PR_LOCATION = 0x3A0D001E;
constexpr ULONG PR_MHS_COMMON_NAME = 0x3A0F001E;
constexpr ULONG PR_ORGANIZATIONAL_ID_NUMBER = 0x3A10001E;
constexpr ULONG PR_SURNAME = 0x3A11001E;
constexpr ULONG PR_COMPANY_NAME = 0x3A16001E;
constexpr ULONG PR_TITLE = 0x3A17001E;
constexpr ULONG PR_DEPARTMENT_NAME = 0x3A18001E;
constexpr ULONG PR_PRIMARY_TELEPHONE_NUMBER = 0x3A1A001E;
constexpr ULONG PR_BUSINESS2_TELEPHONE_NUMBER = 0x3A1B001E;
constexpr ULONG PR_MOBILE_TELEPHONE_NUMBER = 0x3A1C001E;
constexpr ULONG PR_RADIO_TELEPHONE_NUMBER = 0x3A1D001E;
constexpr ULONG PR_CAR_TELEPHONE_NUMBER = 0x3A1E001E;
constexpr ULONG PR_OTHER_TELEPHONE_NUMBER = 0x3A1F001E;
constexpr ULONG PR_PAGER_TELEPHONE_NUMBER = 0x3A21001E;
constexpr ULONG PR_PRIMARY_FAX_NUMBER = 0x3A23001E;
constexpr ULONG PR_BUSINESS_FAX_NUMBER = 0x3A24001E;
constexpr ULONG PR_HOME_FAX_NUMBER = 0x3A25001E;
constexpr ULONG PR_BUSINESS_ADDRESS_COUNTRY = 0x3A26001E;
constexpr ULONG PR_BUSINESS_ADDRESS_CITY = 0x3A27001E;
constexpr ULONG PR_BUSINESS_ADDRESS_STATE_OR_PROVINCE = 0x3A28001E;
constexpr ULONG PR_BUSINESS_ADDRESS_STREET = 0x3A29001E;
constexpr ULONG PR_BUSINESS_ADDRESS_POSTAL_CODE = 0x3A2A001E;
constexpr ULONG PR_ISDN_NUMBER = 0x3A2D001E;
constexpr ULONG PR_ASSISTANT_TELEPHONE_NUMBER = 0x3A2E001E;
constexpr ULONG PR_HOME2_TELEPHONE_NUMBER = 0x3A2F001E;
constexpr ULONG PR_ASSISTANT = 0x3A30001E;
constexpr ULONG PR_WEDDING_ANNIVERSARY = 0x3A410040;
constexpr ULONG PR_BIRTHDAY = 0x3A420040;
constexpr ULONG PR_HOBBIES = 0x3A43001E;
constexpr ULONG PR_MIDDLE_NAME = 0x3A44001E;
constexpr ULONG PR_DISPLAY_NAME_PREFIX = 0x3A45001E;
constexpr ULONG PR_PROFESSION = 0x3A46001E;
constexpr ULONG PR_SPOUSE_NAME = 0x3A48001E;
constexpr ULONG PR_COMPUTER_NETWORK_NAME = 0x3A49001E;
constexpr ULONG PR_CUSTOMER_ID = 0x3A4A001E;
constexpr ULONG PR_FTP_SITE = 0x3A4C001E;
constexpr ULONG PR_GENDER = 0x3A4D0002;
constexpr ULONG PR_MANAGER_NAME = 0x3A4E001E;
constexpr ULONG PR_NICKNAME = 0x3A4F001E;
constexpr ULONG PR_PERSONAL_HOME_PAGE = 0x3A50001E;
constexpr ULONG PR_BUSINESS_HOME_PAGE = 0x3A51001E;
constexpr ULONG PR_CONTACT_ADDRTYPES = 0x3A54101E;
constexpr ULONG PR_CONTACT_DEFAULT_ADDRESS_INDEX = 0x3A550003;
constexpr ULONG PR_CONTACT_EMAIL_ADDRESSES = 0x3A56101E;
constexpr ULONG PR_CHILDRENS_NAMES = 0x3A58101E;
constexpr ULONG PR_HOME_ADDRESS_CITY = 0x3A59001E;
constexpr ULONG PR_HOME_ADDRESS_COUNTRY = 0x3A5A001E;
constexpr ULONG PR_HOME_ADDRESS_POSTAL_CODE = 0x3A5B001E;
constexpr ULONG PR_HOME_ADDRESS_STATE_OR_PROVINCE = 0x3A5C001E;
constexpr ULONG PR_HOME_ADDRESS_STREET = 0x3A5D001E;
constexpr ULONG PR_OTHER_ADDRESS_CITY = 0x3A5F001E;
constexpr ULONG PR_OTHER_ADDRESS_COUNTRY = 0x3A60001E;
constexpr ULONG PR_OTHER_ADDRESS_POSTAL_CODE = 0x3A61001E;
constexpr ULONG PR_OTHER_ADDRESS_STATE_OR_PROVINCE = 0x3A62001E;
constexpr ULONG PR_OTHER_ADDRESS_STREET = 0x3A63001E;

// PR_GENDER values.
constexpr short genderUnspecified = 0;
constexpr short genderFemale = 1;
constexpr short genderMale = 2;

// ---- Object types, flags ----------------------------------------------------

constexpr ULONG MAPI_ADDRBOOK = 2;
constexpr ULONG MAPI_ABCONT = 4;
constexpr ULONG MAPI_MAILUSER = 6;
constexpr ULONG MAPI_DISTLIST = 8;

constexpr ULONG DT_MAILUSER = 0;
constexpr ULONG DT_DISTLIST = 1;

constexpr ULONG MAPI_MODIFY = 0x00000001;
constexpr ULONG MAPI_BEST_ACCESS = 0x00000010;
constexpr ULONG MAPI_UNICODE = 0x80000000;

constexpr ULONG KEEP_OPEN_READONLY = 0x00000001;
constexpr ULONG KEEP_OPEN_READWRITE = 0x00000002;
constexpr ULONG FORCE_SAVE = 0x00000004;

constexpr ULONG TBL_NOADVANCE = 0x00000001;

using BOOKMARK = ULONG_PTR;
constexpr BOOKMARK BOOKMARK_BEGINNING = 0;
constexpr BOOKMARK BOOKMARK_CURRENT = 1;
constexpr BOOKMARK BOOKMARK_END = 2;

// ---- Property values --------------------------------------------------------

struct ENTRYID {
    BYTE abFlags[4];
    BYTE ab[1]; // provider-defined bytes follow
};
using LPENTRYID = ENTRYID*;

struct SBinary {
    ULONG cb;
    LPBYTE lpb;
};
using LPSBinary = SBinary*;

struct SBinaryArray {
    ULONG cValues;
    SBinary* lpbin;
};
using ENTRYLIST = SBinaryArray;
using LPENTRYLIST = ENTRYLIST*;

struct SShortArray {
    ULONG cValues;
    short* lpi;
};

struct SLongArray {
    ULONG cValues;
    LONG* lpl;
};

struct SLPSTRArray {
    ULONG cValues;
    LPSTR* lppszA;
};

union PV {
    short i;            // PT_SHORT
    LONG l;             // PT_LONG
    ULONG ul;           // PT_LONG, unsigned view
    float flt;          // PT_FLOAT
    double dbl;         // PT_DOUBLE
    unsigned short b;   // PT_BOOLEAN
    std::int64_t li;    // PT_I8
    LPSTR lpszA;        // PT_STRING8
    SBinary bin;        // PT_BINARY
    FILETIME ft;        // PT_SYSTIME
    LPGUID lpguid;      // PT_CLSID
    SShortArray MVi;    // PT_MV_SHORT
    SLongArray MVl;     // PT_MV_LONG
    SLPSTRArray MVszA;  // PT_MV_STRING8
    SBinaryArray MVbin; // PT_MV_BINARY
    SCODE err;          // PT_ERROR
    LONG x;             // PT_NULL, PT_OBJECT
};

struct SPropValue {
    ULONG ulPropTag;
    ULONG dwAlignPad;
    PV Value;
};
using LPSPropValue = SPropValue*;

// Counted arrays: the element array runs on past its declared single element.
struct SPropTagArray {
    ULONG cValues;
    ULONG aulPropTag[1];
};
using LPSPropTagArray = SPropTagArray*;

constexpr std::size_t CbNewSPropTagArray(ULONG cTags) {
    return offsetof(SPropTagArray, aulPropTag) + cTags * sizeof(ULONG);
}

struct SPropProblem {
    ULONG ulIndex;
    ULONG ulPropTag;
    SCODE scode;
};

struct SPropProblemArray {
    ULONG cProblem;
    SPropProblem aProblem[1];
};
using LPSPropProblemArray = SPropProblemArray*;

struct SRow {
    ULONG ulAdrEntryPad;
    ULONG cValues;
    LPSPropValue lpProps;
};
using LPSRow = SRow*;

struct SRowSet {
    ULONG cRows;
    SRow aRow[1];
};
using LPSRowSet = SRowSet*;

constexpr std::size_t CbNewSRowSet(ULONG cRows) {
    return offsetof(SRowSet, aRow) + (cRows == 0 ? 1 : cRows) * sizeof(SRow);
}

// Types the interfaces name but this library never looks into.
struct MAPIERROR;
using LPMAPIERROR = MAPIERROR*;
struct MAPINAMEID;
using LPMAPINAMEID = MAPINAMEID*;
struct SRestriction;
using LPSRestriction = SRestriction*;
struct SSortOrderSet;
using LPSSortOrderSet = SSortOrderSet*;
struct ADRENTRY;
using LPADRENTRY = ADRENTRY*;
struct ADRLIST;
using LPADRLIST = ADRLIST*;
struct ADRPARM;
using LPADRPARM = ADRPARM*;
struct SPropTagArrayFlags;
using LPFlagList = SPropTagArrayFlags*;
struct IMAPIProgress;
using LPMAPIPROGRESS = IMAPIProgress*;
struct IMAPIAdviseSink;
using LPMAPIADVISESINK = IMAPIAdviseSink*;
using LPFNDISMISS = void (*)(ULONG_PTR ulUIParam, LPVOID lpvContext);
using LPFNBUTTON = SCODE (*)(ULONG_PTR ulUIParam, LPVOID lpvContext, ULONG cbEntryID,
                             LPENTRYID lpSelection, ULONG ulFlags);

// ---- Interfaces ---------------------------------------------------------------

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};
using LPUNKNOWN = IUnknown*;

struct IMAPIProp : IUnknown {
    virtual HRESULT GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) = 0;
    virtual HRESULT SaveChanges(ULONG ulFlags) = 0;
    // A null tag array asks for every property.
    virtual HRESULT GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                             LPSPropValue* lppPropArray) = 0;
    virtual HRESULT GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) = 0;
    virtual HRESULT OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions,
                                 ULONG ulFlags, LPUNKNOWN* lppUnk) = 0;
    virtual HRESULT SetProps(ULONG cValues, LPSPropValue lpPropArray,
                             LPSPropProblemArray* lppProblems) = 0;
    virtual HRESULT DeleteProps(LPSPropTagArray lpPropTagArray,
                                LPSPropProblemArray* lppProblems) = 0;
    virtual HRESULT CopyTo(ULONG ciidExclude, LPCIID rgiidExclude, LPSPropTagArray lpExcludeProps,
                           ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress, LPCIID lpInterface,
                           LPVOID lpDestObj, ULONG ulFlags, LPSPropProblemArray* lppProblems) = 0;
    virtual HRESULT CopyProps(LPSPropTagArray lpIncludeProps, ULONG_PTR ulUIParam,
                              LPMAPIPROGRESS lpProgress, LPCIID lpInterface, LPVOID lpDestObj,
                              ULONG ulFlags, LPSPropProblemArray* lppProblems) = 0;
    virtual HRESULT GetNamesFromIDs(LPSPropTagArray* lppPropTags, LPGUID lpPropSetGuid,
                                    ULONG ulFlags, ULONG* lpcPropNames,
                                    LPMAPINAMEID** lpppPropNames) = 0;
    virtual HRESULT GetIDsFromNames(ULONG cPropNames, LPMAPINAMEID* lppPropNames, ULONG ulFlags,
                                    LPSPropTagArray* lppPropTags) = 0;
};
using LPMAPIPROP = IMAPIProp*;

struct IMAPITable : IUnknown {
    virtual HRESULT GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) = 0;
    virtual HRESULT Advise(ULONG ulEventMask, LPMAPIADVISESINK lpAdviseSink,
                           ULONG_PTR* lpulConnection) = 0;
    virtual HRESULT Unadvise(ULONG_PTR ulConnection) = 0;
    virtual HRESULT GetStatus(ULONG* lpulTableStatus, ULONG* lpulTableType) = 0;
    virtual HRESULT SetColumns(LPSPropTagArray lpPropTagArray, ULONG ulFlags) = 0;
    virtual HRESULT QueryColumns(ULONG ulFlags, LPSPropTagArray* lpPropTagArray) = 0;
    virtual HRESULT GetRowCount(ULONG ulFlags, ULONG* lpulCount) = 0;
    virtual HRESULT SeekRow(BOOKMARK bkOrigin, LONG lRowCount, LONG* lplRowsSought) = 0;
    virtual HRESULT SeekRowApprox(ULONG ulNumerator, ULONG ulDenominator) = 0;
    virtual HRESULT QueryPosition(ULONG* lpulRow, ULONG* lpulNumerator, ULONG* lpulDenominator) = 0;
    virtual HRESULT FindRow(LPSRestriction lpRestriction, BOOKMARK bkOrigin, ULONG ulFlags) = 0;
    virtual HRESULT Restrict(LPSRestriction lpRestriction, ULONG ulFlags) = 0;
    virtual HRESULT CreateBookmark(BOOKMARK* lpbkPosition) = 0;
    virtual HRESULT FreeBookmark(BOOKMARK bkPosition) = 0;
    virtual HRESULT SortTable(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) = 0;
    virtual HRESULT QuerySortOrder(LPSSortOrderSet* lppSortCriteria) = 0;
    // A row set comes back even past the last row, then with cRows 0.
    virtual HRESULT QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows) = 0;
    virtual HRESULT Abort() = 0;
    virtual HRESULT ExpandRow(ULONG cbInstanceKey, LPBYTE pbInstanceKey, ULONG ulRowCount,
                              ULONG ulFlags, LPSRowSet* lppRows, ULONG* lpulMoreRows) = 0;
    virtual HRESULT CollapseRow(ULONG cbInstanceKey, LPBYTE pbInstanceKey, ULONG ulFlags,
                                ULONG* lpulRowCount) = 0;
    virtual HRESULT WaitForCompletion(ULONG ulFlags, ULONG ulTimeout, ULONG* lpulTableStatus) = 0;
    virtual HRESULT GetCollapseState(ULONG ulFlags, ULONG cbInstanceKey, LPBYTE lpbInstanceKey,
                                     ULONG* lpcbCollapseState, LPBYTE* lppbCollapseState) = 0;
    virtual HRESULT SetCollapseState(ULONG ulFlags, ULONG cbCollapseState, LPBYTE pbCollapseState,
                                     BOOKMARK* lpbkLocation) = 0;
};
using LPMAPITABLE = IMAPITable*;

struct IMAPIContainer : IMAPIProp {
    virtual HRESULT GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT GetHierarchyTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface,
                              ULONG ulFlags, ULONG* lpulObjType, LPUNKNOWN* lppUnk) = 0;
    virtual HRESULT SetSearchCriteria(LPSRestriction lpRestriction, LPENTRYLIST lpContainerList,
                                      ULONG ulSearchFlags) = 0;
    virtual HRESULT GetSearchCriteria(ULONG ulFlags, LPSRestriction* lppRestriction,
                                      LPENTRYLIST* lppContainerList, ULONG* lpulSearchState) = 0;
};
using LPMAPICONTAINER = IMAPIContainer*;

struct IABContainer : IMAPIContainer {
    // lpEntryID is a template identifier from PR_DEF_CREATE_MAILUSER or
    // PR_DEF_CREATE_DL; the new entry exists in the store after SaveChanges.
    virtual HRESULT CreateEntry(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulCreateFlags,
                                LPMAPIPROP* lppMAPIPropEntry) = 0;
    virtual HRESULT CopyEntries(LPENTRYLIST lpEntries, ULONG_PTR ulUIParam,
                                LPMAPIPROGRESS lpProgress, ULONG ulFlags) = 0;
    // Committed to the store before it returns (unless a transaction is open).
    virtual HRESULT DeleteEntries(LPENTRYLIST lpEntries, ULONG ulFlags) = 0;
    virtual HRESULT ResolveNames(LPSPropTagArray lpPropTagArray, ULONG ulFlags, LPADRLIST lpAdrList,
                                 LPFlagList lpFlagList) = 0;
};
using LPABCONT = IABContainer*;

struct IMailUser : IMAPIProp {};
using LPMAILUSER = IMailUser*;

// Distribution lists are handed out with this library's IMailUser object
// (properties only; members are not modelled), so never call container
// methods on an entry of type MAPI_DISTLIST opened here.
struct IDistList : IABContainer {};
using LPDISTLIST = IDistList*;

struct IAddrBook : IMAPIProp {
    virtual HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface,
                              ULONG ulFlags, ULONG* lpulObjType, LPUNKNOWN* lppUnk) = 0;
    virtual HRESULT CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2,
                                    LPENTRYID lpEntryID2, ULONG ulFlags, ULONG* lpulResult) = 0;
    virtual HRESULT Advise(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask,
                           LPMAPIADVISESINK lpAdviseSink, ULONG_PTR* lpulConnection) = 0;
    virtual HRESULT Unadvise(ULONG_PTR ulConnection) = 0;
    virtual HRESULT CreateOneOff(LPSTR lpszName, LPSTR lpszAdrType, LPSTR lpszAddress,
                                 ULONG ulFlags, ULONG* lpcbEntryID, LPENTRYID* lppEntryID) = 0;
    virtual HRESULT NewEntry(ULONG_PTR ulUIParam, ULONG ulFlags, ULONG cbEIDContainer,
                             LPENTRYID lpEIDContainer, ULONG cbEIDNewEntryTpl,
                             LPENTRYID lpEIDNewEntryTpl, ULONG* lpcbEIDNewEntry,
                             LPENTRYID* lppEIDNewEntry) = 0;
    virtual HRESULT ResolveName(ULONG_PTR ulUIParam, ULONG ulFlags, LPSTR lpszNewEntryTitle,
                                LPADRLIST lpAdrList) = 0;
    virtual HRESULT Address(ULONG_PTR* lpulUIParam, LPADRPARM lpAdrParms,
                            LPADRLIST* lppAdrList) = 0;
    virtual HRESULT Details(ULONG_PTR* lpulUIParam, LPFNDISMISS lpfnDismiss,
                            LPVOID lpvDismissContext, ULONG cbEntryID, LPENTRYID lpEntryID,
                            LPFNBUTTON lpfButtonCallback, LPVOID lpvButtonContext,
                            LPSTR lpszButtonText, ULONG ulFlags) = 0;
    virtual HRESULT RecipOptions(ULONG_PTR ulUIParam, ULONG ulFlags, LPADRENTRY lpRecip) = 0;
    virtual HRESULT QueryDefaultRecipOpt(LPSTR lpszAdrType, ULONG ulFlags, ULONG* lpcValues,
                                         LPSPropValue* lppOptions) = 0;
    // The identifier buffer is the library's; give it back with FreeBuffer.
    virtual HRESULT GetPAB(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) = 0;
    virtual HRESULT SetPAB(ULONG cbEntryID, LPENTRYID lpEntryID) = 0;
    virtual HRESULT GetDefaultDir(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) = 0;
    virtual HRESULT SetDefaultDir(ULONG cbEntryID, LPENTRYID lpEntryID) = 0;
    virtual HRESULT GetSearchPath(ULONG ulFlags, LPSRowSet* lppSearchPath) = 0;
    virtual HRESULT SetSearchPath(ULONG ulFlags, LPSRowSet lpSearchPath) = 0;
    virtual HRESULT PrepareRecips(ULONG ulFlags, LPSPropTagArray lpPropTagArray,
                                  LPADRLIST lpRecipList) = 0;
};
using LPADRBOOK = IAddrBook*;

struct IWABObject : IUnknown {
    virtual HRESULT GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) = 0;
    virtual HRESULT AllocateBuffer(ULONG cbSize, LPVOID* lppBuffer) = 0;
    // Ties the new block to lpObject: freeing lpObject frees it too.
    virtual HRESULT AllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer) = 0;
    virtual HRESULT FreeBuffer(LPVOID lpBuffer) = 0;
    virtual HRESULT Backup(LPSTR lpFileName) = 0;
    virtual HRESULT Import(LPSTR lpWIP) = 0;
    virtual HRESULT Find(IAddrBook* lpIAB, HWND hWnd) = 0;
    virtual HRESULT VCardDisplay(IAddrBook* lpIAB, HWND hWnd, LPSTR lpszFileName) = 0;
    virtual HRESULT LDAPUrl(IAddrBook* lpIAB, HWND hWnd, ULONG ulFlags, LPSTR lpszURL,
                            IMailUser** lppMailUser) = 0;
    virtual HRESULT VCardCreate(IAddrBook* lpIAB, ULONG ulFlags, LPSTR lpszVCard,
                                IMailUser* lpMailUser) = 0;
    virtual HRESULT VCardRetrieve(IAddrBook* lpIAB, ULONG ulFlags, LPSTR lpszVCard,
                                  IMailUser** lppMailUser) = 0;
    virtual HRESULT GetMe(IAddrBook* lpIAB, ULONG ulFlags, DWORD* lpdwAction, SBinary* lpsbEID,
                          HWND hwnd) = 0;
    virtual HRESULT SetMe(IAddrBook* lpIAB, ULONG ulFlags, SBinary sbEID, HWND hwnd) = 0;
};
using LPWABOBJECT = IWABObject*;

// Our extension, reached with IAddrBook::QueryInterface(IID_IWABTransaction):
// everything the address book saves or deletes between BeginTransaction and
// CommitTransaction becomes visible at once, or not at all (AbortTransaction,
// or the last object of the store released with the transaction still open).
// A save or delete that fails inside it undoes the whole transaction: further
// changes fail, and CommitTransaction returns that failure.
struct IWABTransaction : IUnknown {
    virtual HRESULT BeginTransaction(ULONG ulFlags) = 0;
    virtual HRESULT CommitTransaction(ULONG ulFlags) = 0;
    virtual HRESULT AbortTransaction() = 0;
};
using LPWABTRANSACTION = IWABTransaction*;

// Our extension, reached with IAddrBook::QueryInterface(IID_IWABDeletedEntries).
// What DeleteEntries removes is kept whole, under its identifier, in a part of
// the store that no other interface shows; entries deleted more than 30 days
// ago are removed for good when the store is next opened for writing.
struct IWABDeletedEntries : IUnknown {
    // One row per deleted entry, newest first. Columns: PR_ENTRYID,
    // PR_OBJECT_TYPE, PR_DISPLAY_NAME, PR_DELETED_ON, or any properties of
    // the entries that SetColumns names.
    virtual HRESULT GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    // Puts the entries back with every property and their old identifiers,
    // all or none: MAPI_E_NOT_FOUND when one is not (or no longer) among the
    // deleted, MAPI_E_COLLISION when one is in the address book (put back
    // already).
    virtual HRESULT RestoreEntries(LPENTRYLIST lpEntries, ULONG ulFlags) = 0;
    // Removes deleted entries for good; MAPI_W_PARTIAL_COMPLETION when some
    // were gone already.
    virtual HRESULT PurgeEntries(LPENTRYLIST lpEntries, ULONG ulFlags) = 0;
};
using LPWABDELETEDENTRIES = IWABDeletedEntries*;

// When a deleted entry was deleted (a column of the deleted entries' table).
constexpr ULONG PR_DELETED_ON = 0x668F0040;

inline constexpr IID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IWABTransaction = {
    0x7C1D5E2A, 0x3B64, 0x4F0E, {0x9A, 0x51, 0x2E, 0x88, 0xC4, 0x07, 0x6B, 0xD3}};
inline constexpr IID IID_IWABDeletedEntries = {
    0x5E0B93C4, 0x1D7A, 0x4C62, {0xB8, 0x3F, 0x90, 0x2A, 0x6E, 0x15, 0xC7, 0x48}};

// ---- Entry point --------------------------------------------------------------

struct WAB_PARAM {
    ULONG cbSize; // sizeof(WAB_PARAM)
    HWND hwnd;
    LPSTR szFileName; // null or empty: the user's default address book
    ULONG ulFlags;
    GUID guidPSExt;
};
using LPWAB_PARAM = WAB_PARAM*;

// Our extension for WAB_PARAM::ulFlags: create szFileName as a new, empty
// address book (mode 0600); fails when the file exists.
constexpr ULONG WAB_CREATE_STORE = 0x01000000;

#if defined(__GNUC__)
#define WAB_EXPORT __attribute__((visibility("default")))
#else
#define WAB_EXPORT
#endif

extern "C" WAB_EXPORT HRESULT WABOpen(LPADRBOOK* lppAdrBook, LPWABOBJECT* lppWABObject,
                                      LPWAB_PARAM lpWP, DWORD Reserved2);
using LPWABOPEN = HRESULT (*)(LPADRBOOK* lppAdrBook, LPWABOBJECT* lppWABObject, LPWAB_PARAM lpWP,
                              DWORD Reserved2);
