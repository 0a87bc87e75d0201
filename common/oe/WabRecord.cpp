#include "common/oe/WabRecord.h"

#include <cstring>

#include "platform/wab32/WabLabels.h"

// Every string property a record keeps, with its field.
#define WAB_TEXT_FIELDS(X)                                                                         \
    X(PR_DISPLAY_NAME, szDisplayName)                                                              \
    X(PR_EMAIL_ADDRESS, szEmailAddress)                                                            \
    X(PR_SURNAME, szLastName)                                                                      \
    X(PR_MIDDLE_NAME, szMiddleName)                                                                \
    X(PR_GIVEN_NAME, szFirstName)                                                                  \
    X(PR_COMPANY_NAME, szCompany)                                                                  \
    X(PR_TITLE, szTitle)                                                                           \
    X(PR_DEPARTMENT_NAME, szDepartment)                                                            \
    X(PR_COMMENT, szComment)                                                                       \
    X(PR_CALLBACK_TELEPHONE_NUMBER, szCallbackPhone)                                               \
    X(PR_BUSINESS_TELEPHONE_NUMBER, szBusinessPhone)                                               \
    X(PR_HOME_TELEPHONE_NUMBER, szHomePhone)                                                       \
    X(PR_PRIMARY_TELEPHONE_NUMBER, szPrimaryPhone)                                                 \
    X(PR_RADIO_TELEPHONE_NUMBER, szRadioPhone)                                                     \
    X(PR_MOBILE_TELEPHONE_NUMBER, szMobilePhone)                                                   \
    X(PR_CAR_TELEPHONE_NUMBER, szCarPhone)                                                         \
    X(PR_OTHER_TELEPHONE_NUMBER, szOtherPhone)                                                     \
    X(PR_PAGER_TELEPHONE_NUMBER, szPager)                                                          \
    X(PR_PRIMARY_FAX_NUMBER, szPrimaryFax)                                                         \
    X(PR_BUSINESS_FAX_NUMBER, szBusinessFax)                                                       \
    X(PR_HOME_FAX_NUMBER, szHomeFax)                                                               \
    X(PR_PERSONAL_HOME_PAGE, szPersonalHomePage)                                                   \
    X(PR_BUSINESS_HOME_PAGE, szBusinessHomePage)                                                   \
    X(PR_BUSINESS_ADDRESS_COUNTRY, szBusinessCountry)                                              \
    X(PR_BUSINESS_ADDRESS_STATE_OR_PROVINCE, szBusinessState)                                      \
    X(PR_BUSINESS_ADDRESS_CITY, szBusinessCity)                                                    \
    X(PR_BUSINESS_ADDRESS_STREET, szBusinessStreet)                                                \
    X(PR_BUSINESS_ADDRESS_POSTAL_CODE, szBusinessPostal)                                           \
    X(PR_HOME_ADDRESS_COUNTRY, szHomeCountry)                                                      \
    X(PR_HOME_ADDRESS_STATE_OR_PROVINCE, szHomeState)                                              \
    X(PR_HOME_ADDRESS_CITY, szHomeCity)                                                            \
    X(PR_HOME_ADDRESS_STREET, szHomeStreet)                                                        \
    X(PR_HOME_ADDRESS_POSTAL_CODE, szHomePostal)                                                   \
    X(PR_OTHER_ADDRESS_COUNTRY, szOtherCountry)                                                    \
    X(PR_OTHER_ADDRESS_STATE_OR_PROVINCE, szOtherState)                                            \
    X(PR_OTHER_ADDRESS_CITY, szOtherCity)                                                          \
    X(PR_OTHER_ADDRESS_STREET, szOtherStreet)                                                      \
    X(PR_OTHER_ADDRESS_POSTAL_CODE, szOtherPostal)                                                 \
    X(PR_ACCOUNT, szAccount)                                                                       \
    X(PR_GENERATION, szGeneration)                                                                 \
    X(PR_GOVERNMENT_ID_NUMBER, szGovernmentID)                                                     \
    X(PR_INITIALS, szInitials)                                                                     \
    X(PR_KEYWORD, szKeyword)                                                                       \
    X(PR_LANGUAGE, szLanguage)                                                                     \
    X(PR_LOCATION, szLocation)                                                                     \
    X(PR_MHS_COMMON_NAME, szMHSCommonName)                                                         \
    X(PR_ORGANIZATIONAL_ID_NUMBER, szOrganizationalID)                                             \
    X(PR_BUSINESS2_TELEPHONE_NUMBER, szBusinessPhone2)                                             \
    X(PR_HOME2_TELEPHONE_NUMBER, szHomePhone2)                                                     \
    X(PR_ISDN_NUMBER, szISDN)                                                                      \
    X(PR_ASSISTANT_TELEPHONE_NUMBER, szAssistantPhone)                                             \
    X(PR_ASSISTANT, szAssistant)                                                                   \
    X(PR_HOBBIES, szHobbies)                                                                       \
    X(PR_PROFESSION, szProfession)                                                                 \
    X(PR_FTP_SITE, szFTPSite)                                                                      \
    X(PR_CUSTOMER_ID, szCustomerID)                                                                \
    X(PR_MANAGER_NAME, szManagerName)                                                              \
    X(PR_COMPUTER_NETWORK_NAME, szComputerNetworkName)                                             \
    X(PR_NICKNAME, szNickName)                                                                     \
    X(PR_SPOUSE_NAME, szSpouseName)

const WabPropertyEntry WabPropertyCatalogue[kWabPropertyCount] = {
#define WAB_CATALOGUE_ENTRY(tag, label) {tag, label},
    WAB_PROPERTY_LABELS(WAB_CATALOGUE_ENTRY)
#undef WAB_CATALOGUE_ENTRY
        {0x0000FFFF, "Folder Name"},
};

char* GetFieldByTag(WabRecord* pRecord, ULONG ulPropTag) {
    if (pRecord == nullptr) {
        return nullptr;
    }
    switch (ulPropTag) {
#define WAB_FIELD_CASE(tag, field)                                                                 \
    case tag:                                                                                      \
        return pRecord->field;
        WAB_TEXT_FIELDS(WAB_FIELD_CASE)
#undef WAB_FIELD_CASE
    default:
        return nullptr;
    }
}

std::size_t GetFieldSizeByTag(ULONG ulPropTag) {
    switch (ulPropTag) {
#define WAB_SIZE_CASE(tag, field)                                                                  \
    case tag:                                                                                      \
        return sizeof(WabRecord::field);
        WAB_TEXT_FIELDS(WAB_SIZE_CASE)
#undef WAB_SIZE_CASE
    default:
        return 0;
    }
}

void CopyTextField(char* pszField, std::size_t cbField, const char* pszText) {
    if (pszField == nullptr || cbField == 0) {
        return;
    }
    std::size_t n = pszText != nullptr ? std::strlen(pszText) : 0;
    if (n >= cbField) {
        n = cbField - 1;
        // Step back over continuation bytes so no character is split; text
        // that is not UTF-8 loses at most the three bytes a character could.
        std::size_t limit = n >= 3 ? n - 3 : 0;
        std::size_t cut = n;
        while (cut > limit && (static_cast<unsigned char>(pszText[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        if ((static_cast<unsigned char>(pszText[cut]) & 0xC0) != 0x80) {
            n = cut;
        }
    }
    if (n != 0) {
        std::memcpy(pszField, pszText, n);
    }
    pszField[n] = '\0';
}
