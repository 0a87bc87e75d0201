// The 64 contact properties the address book's tools name, each with the
// label they show for it, in their order. The contact record's catalogue and
// wabtool's CSV header both take them from here; depends on the ABI header
// alone.
#pragma once

#include <iterator>

#include "platform/wab32/WabAbi.h"

// X(tag, label) for each property, for tables whose entries need the label as
// an array initialiser.
#define WAB_PROPERTY_LABELS(X)                                                                     \
    X(PR_DISPLAY_NAME, "Display Name")                                                             \
    X(PR_EMAIL_ADDRESS, "Email Address")                                                           \
    X(PR_SURNAME, "Last Name")                                                                     \
    X(PR_MIDDLE_NAME, "Middle Name")                                                               \
    X(PR_GIVEN_NAME, "First Name")                                                                 \
    X(PR_COMPANY_NAME, "Company")                                                                  \
    X(PR_TITLE, "Title")                                                                           \
    X(PR_DEPARTMENT_NAME, "Department")                                                            \
    X(PR_COMMENT, "Comment")                                                                       \
    X(PR_CALLBACK_TELEPHONE_NUMBER, "Callback Telephone No.")                                      \
    X(PR_BUSINESS_TELEPHONE_NUMBER, "Business Telephone No.")                                      \
    X(PR_HOME_TELEPHONE_NUMBER, "Home Telephone No.")                                              \
    X(PR_PRIMARY_TELEPHONE_NUMBER, "Primary Telephone No.")                                        \
    X(PR_RADIO_TELEPHONE_NUMBER, "Radio Telephone No.")                                            \
    X(PR_MOBILE_TELEPHONE_NUMBER, "Mobile Telephone No.")                                          \
    X(PR_CAR_TELEPHONE_NUMBER, "Car Telephone No.")                                                \
    X(PR_OTHER_TELEPHONE_NUMBER, "Other Telephone No.")                                            \
    X(PR_PAGER_TELEPHONE_NUMBER, "Pager No.")                                                      \
    X(PR_PRIMARY_FAX_NUMBER, "Primary Fax")                                                        \
    X(PR_BUSINESS_FAX_NUMBER, "Business Fax")                                                      \
    X(PR_HOME_FAX_NUMBER, "Home Fax")                                                              \
    X(PR_PERSONAL_HOME_PAGE, "Personal Homepage")                                                  \
    X(PR_BUSINESS_HOME_PAGE, "Business Homepage")                                                  \
    X(PR_BUSINESS_ADDRESS_COUNTRY, "Country ( Business )")                                         \
    X(PR_BUSINESS_ADDRESS_STATE_OR_PROVINCE, "State or Province ( Business )")                     \
    X(PR_BUSINESS_ADDRESS_CITY, "City ( Business )")                                               \
    X(PR_BUSINESS_ADDRESS_STREET, "Street ( Business )")                                           \
    X(PR_BUSINESS_ADDRESS_POSTAL_CODE, "Postal ( Business )")                                      \
    X(PR_HOME_ADDRESS_COUNTRY, "Country ( Home )")                                                 \
    X(PR_HOME_ADDRESS_STATE_OR_PROVINCE, "State or Province ( Home )")                             \
    X(PR_HOME_ADDRESS_CITY, "City ( Home )")                                                       \
    X(PR_HOME_ADDRESS_STREET, "Street (Home )")                                                    \
    X(PR_HOME_ADDRESS_POSTAL_CODE, "Postal ( Home )")                                              \
    X(PR_OTHER_ADDRESS_COUNTRY, "Country ( Other )")                                               \
    X(PR_OTHER_ADDRESS_STATE_OR_PROVINCE, "State or Province ( Other )")                           \
    X(PR_OTHER_ADDRESS_CITY, "City ( Other )")                                                     \
    X(PR_OTHER_ADDRESS_STREET, "Street ( Other )")                                                 \
    X(PR_OTHER_ADDRESS_POSTAL_CODE, "Postal ( Other )")                                            \
    X(PR_ACCOUNT, "Account")                                                                       \
    X(PR_GENERATION, "Generation")                                                                 \
    X(PR_GOVERNMENT_ID_NUMBER, "Government ID")                                                    \
    X(PR_INITIALS, "Initials")                                                                     \
    X(PR_KEYWORD, "Keyword")                                                                       \
    X(PR_LANGUAGE, "Language")                                                                     \
    X(PR_LOCATION, "Location")                                                                     \
    X(PR_MHS_COMMON_NAME, "MHS Common Name")                                                       \
    X(PR_ORGANIZATIONAL_ID_NUMBER, "Organizational ID")                                            \
    X(PR_BUSINESS2_TELEPHONE_NUMBER, "Business Phone 2")                                           \
    X(PR_HOME2_TELEPHONE_NUMBER, "Home Phone 2")                                                   \
    X(PR_ISDN_NUMBER, "ISDN Number")                                                               \
    X(PR_ASSISTANT_TELEPHONE_NUMBER, "Assistant Telephone No.")                                    \
    X(PR_ASSISTANT, "Assistant")                                                                   \
    X(PR_HOBBIES, "Hobbies")                                                                       \
    X(PR_PROFESSION, "Profession")                                                                 \
    X(PR_BIRTHDAY, "Birthday")                                                                     \
    X(PR_WEDDING_ANNIVERSARY, "Wedding Anniversary")                                               \
    X(PR_FTP_SITE, "FTP Site")                                                                     \
    X(PR_CUSTOMER_ID, "Customer ID")                                                               \
    X(PR_MANAGER_NAME, "Manager Name")                                                             \
    X(PR_COMPUTER_NETWORK_NAME, "Computer Network Name")                                           \
    X(PR_GENDER, "Gender")                                                                         \
    X(PR_NICKNAME, "Nick Name")                                                                    \
    X(PR_SPOUSE_NAME, "Spouse Name")                                                               \
    X(PR_CHILDRENS_NAMES, "Children's Names")

struct WabPropertyLabel {
    ULONG ulPropTag;
    const char* pszLabel;
};

inline constexpr WabPropertyLabel kWabPropertyLabels[] = {
#define WAB_PROPERTY_LABEL_ENTRY(tag, label) {tag, label},
    WAB_PROPERTY_LABELS(WAB_PROPERTY_LABEL_ENTRY)
#undef WAB_PROPERTY_LABEL_ENTRY
};
static_assert(std::size(kWabPropertyLabels) == 64);
