// One contact held in memory: a fixed-size block with an inline text field
// per supported property, the contact's identity and its place in a folder.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/wab32/WabAbi.h"

class CxWabFolder;

struct WabRecord {
    ULONG cbSize;
    char szDisplayName[64];
    char szEmailAddress[64];
    char szFirstName[32];
    char szMiddleName[32];
    char szLastName[32];
    char szCompany[32];
    char szTitle[32];
    char szDepartment[64];
    char szComment[2048];
    char szCallbackPhone[32];
    char szBusinessPhone[32];
    char szHomePhone[32];
    char szPrimaryPhone[32];
    char szRadioPhone[32];
    char szMobilePhone[32];
    char szCarPhone[32];
    char szOtherPhone[32];
    char szPager[32];
    char szPrimaryFax[32];
    char szBusinessFax[32];
    char szHomeFax[32];
    FILETIME ftBirthday;
    char szPersonalHomePage[64];
    char szBusinessHomePage[64];
    char szBusinessCountry[32];
    char szBusinessState[32];
    char szBusinessCity[32];
    char szBusinessStreet[256];
    char szBusinessPostal[16];
    char szHomeCountry[32];
    char szHomeState[32];
    char szHomeCity[32];
    char szHomeStreet[256];
    char szHomePostal[16];
    char szOtherCountry[32];
    char szOtherState[32];
    char szOtherCity[32];
    char szOtherStreet[256];
    char szOtherPostal[16];
    std::int32_t nDupGroup; // 0: no duplicate; k >= 1: member of duplicate group k
    ULONG cbEntryID;
    LPBYTE lpEntryID; // owned copy, from LocalAlloc; the folder frees it with LocalFree
    char szAccount[32];
    char szGeneration[16];
    char szGovernmentID[32];
    char szInitials[16];
    char szKeyword[64];
    char szLanguage[8];
    char szLocation[32];
    char szMHSCommonName[32];
    char szOrganizationalID[32];
    char szBusinessPhone2[32];
    char szHomePhone2[32];
    char szISDN[32];
    char szAssistantPhone[32];
    char szAssistant[32];
    char szHobbies[128];
    char szProfession[32];
    char szCustomerID[32];
    char szFTPSite[256];
    char szManagerName[32];
    char szNickName[32];
    std::int16_t nGender;
    FILETIME ftWeddingAnniversary;
    char szSpouseName[32];
    char szChildrenNames[128]; // never filled
    char szComputerNetworkName[32];
    char szFolderName[32];
    CxWabFolder* pFolder;  // the folder holding the record; not owned
    IMailUser* lpMailUser; // one reference, released when the record is freed
};

struct WabPropertyEntry {
    ULONG ulPropTag;
    char szLabel[64];
};

constexpr int kWabPropertyCount = 65;
extern const WabPropertyEntry WabPropertyCatalogue[kWabPropertyCount];

// The record's text field for one of the 60 string tags of the catalogue;
// null for any other tag (or a null record). Never reads the record.
char* GetFieldByTag(WabRecord* pRecord, ULONG ulPropTag);
// The width in bytes of that field; 0 where GetFieldByTag gives null.
std::size_t GetFieldSizeByTag(ULONG ulPropTag);

// Copies text into a field of cbField bytes, cut to fit before a UTF-8
// character boundary, always NUL-terminated. A null text leaves it empty.
void CopyTextField(char* pszField, std::size_t cbField, const char* pszText);
