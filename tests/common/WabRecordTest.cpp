#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "common/oe/CxWab.h"
#include "common/oe/WabRecord.h"

namespace {

struct FieldCase {
    ULONG tag;
    std::size_t offset; // of the field GetFieldByTag must give
    std::size_t size;
    const char* field;
};
#define FIELD(tag, member)                                                                         \
    { tag, offsetof(WabRecord, member), sizeof(WabRecord::member), #member }

const FieldCase kTextFields[] = {
    FIELD(0x3001001E, szDisplayName),
    FIELD(0x3003001E, szEmailAddress),
    FIELD(0x3A06001E, szFirstName),
    FIELD(0x3A44001E, szMiddleName),
    FIELD(0x3A11001E, szLastName),
    FIELD(0x3A16001E, szCompany),
    FIELD(0x3A17001E, szTitle),
    FIELD(0x3A18001E, szDepartment),
    FIELD(0x3004001E, szComment),
    FIELD(0x3A02001E, szCallbackPhone),
    FIELD(0x3A08001E, szBusinessPhone),
    FIELD(0x3A09001E, szHomePhone),
    FIELD(0x3A1A001E, szPrimaryPhone),
    FIELD(0x3A1D001E, szRadioPhone),
    FIELD(0x3A1C001E, szMobilePhone),
    FIELD(0x3A1E001E, szCarPhone),
    FIELD(0x3A1F001E, szOtherPhone),
    FIELD(0x3A21001E, szPager),
    FIELD(0x3A23001E, szPrimaryFax),
    FIELD(0x3A24001E, szBusinessFax),
    FIELD(0x3A25001E, szHomeFax),
    FIELD(0x3A50001E, szPersonalHomePage),
    FIELD(0x3A51001E, szBusinessHomePage),
    FIELD(0x3A26001E, szBusinessCountry),
    FIELD(0x3A28001E, szBusinessState),
    FIELD(0x3A27001E, szBusinessCity),
    FIELD(0x3A29001E, szBusinessStreet),
    FIELD(0x3A2A001E, szBusinessPostal),
    FIELD(0x3A5A001E, szHomeCountry),
    FIELD(0x3A5C001E, szHomeState),
    FIELD(0x3A59001E, szHomeCity),
    FIELD(0x3A5D001E, szHomeStreet),
    FIELD(0x3A5B001E, szHomePostal),
    FIELD(0x3A60001E, szOtherCountry),
    FIELD(0x3A62001E, szOtherState),
    FIELD(0x3A5F001E, szOtherCity),
    FIELD(0x3A63001E, szOtherStreet),
    FIELD(0x3A61001E, szOtherPostal),
    FIELD(0x3A00001E, szAccount),
    FIELD(0x3A05001E, szGeneration),
    FIELD(0x3A07001E, szGovernmentID),
    FIELD(0x3A0A001E, szInitials),
    FIELD(0x3A0B001E, szKeyword),
    FIELD(0x3A0C001E, szLanguage),
    FIELD(0x3A0D001E, szLocation),
    FIELD(0x3A0F001E, szMHSCommonName),
    FIELD(0x3A10001E, szOrganizationalID),
    FIELD(0x3A1B001E, szBusinessPhone2),
    FIELD(0x3A2F001E, szHomePhone2),
    FIELD(0x3A2D001E, szISDN),
    FIELD(0x3A2E001E, szAssistantPhone),
    FIELD(0x3A30001E, szAssistant),
    FIELD(0x3A43001E, szHobbies),
    FIELD(0x3A46001E, szProfession),
    FIELD(0x3A4A001E, szCustomerID),
    FIELD(0x3A4C001E, szFTPSite),
    FIELD(0x3A4E001E, szManagerName),
    FIELD(0x3A4F001E, szNickName),
    FIELD(0x3A48001E, szSpouseName),
    FIELD(0x3A49001E, szComputerNetworkName),
};
#undef FIELD

TEST(WabRecordTest, EveryStringTagOfTheCatalogueHasItsOwnField) {
    ASSERT_EQ(std::size(kTextFields), 60u);
    WabRecord record;
    std::memset(&record, 0x5A, sizeof record); // the lookup must not care
    auto* base = reinterpret_cast<char*>(&record);
    for (const FieldCase& c : kTextFields) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(GetFieldByTag(&record, c.tag), base + c.offset);
        EXPECT_EQ(GetFieldSizeByTag(c.tag), c.size);
    }
    // Tags without a text field, among them the catalogue's other types,
    // the pseudo-tag and right identifiers with the wrong type.
    const ULONG others[] = {0x0000FFFF, 0x3A420040, 0x3A410040, 0x3A4D0002, 0x3A58101E,
                            0x3003000A, 0x3001001F, 0x0FFF0102, 0x0FFE0003, 0x00000000};
    for (ULONG tag : others) {
        EXPECT_EQ(GetFieldByTag(&record, tag), nullptr) << std::hex << tag;
        EXPECT_EQ(GetFieldSizeByTag(tag), 0u) << std::hex << tag;
    }
    EXPECT_EQ(GetFieldByTag(nullptr, PR_DISPLAY_NAME), nullptr);
}

TEST(WabRecordTest, CatalogueListsEachPropertyOnceWithItsLabel) {
    std::set<ULONG> tags;
    std::set<std::string> labels;
    int textEntries = 0;
    for (const WabPropertyEntry& e : WabPropertyCatalogue) {
        tags.insert(e.ulPropTag);
        labels.insert(e.szLabel);
        EXPECT_LT(std::strlen(e.szLabel), sizeof e.szLabel);
        textEntries += GetFieldSizeByTag(e.ulPropTag) != 0 ? 1 : 0;
    }
    EXPECT_EQ(tags.size(), 65u);
    EXPECT_EQ(labels.size(), 65u);
    EXPECT_EQ(textEntries, 60);
    EXPECT_STREQ(WabPropertyCatalogue[0].szLabel, "Display Name");
    EXPECT_STREQ(WabPropertyCatalogue[31].szLabel, "Street (Home )");
    EXPECT_EQ(WabPropertyCatalogue[64].ulPropTag, 0x0000FFFFu);
    EXPECT_STREQ(WabPropertyCatalogue[64].szLabel, "Folder Name");
}

SPropValue Text(ULONG tag, const char* text) {
    SPropValue v{};
    v.ulPropTag = tag;
    v.Value.lpszA = const_cast<char*>(text);
    return v;
}

TEST(WabRecordTest, FillRecordZeroesThenTakesOnlyMatchingTypes) {
    char* kids[] = {const_cast<char*>("Ann")};
    SPropValue values[8] = {};
    values[0] = Text(PR_DISPLAY_NAME, "first");
    values[1].ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(PR_EMAIL_ADDRESS));
    values[1].Value.err = MAPI_E_NOT_FOUND;
    values[2].ulPropTag = PR_CHILDRENS_NAMES;
    values[2].Value.MVszA = {1, kids};
    values[3].ulPropTag = PR_BIRTHDAY;
    values[3].Value.ft = {0x11223344, 0x01D00000};
    values[4].ulPropTag = PR_GENDER;
    values[4].Value.i = genderFemale;
    values[5].ulPropTag = PR_WEDDING_ANNIVERSARY;
    values[5].Value.ft = {7, 8};
    values[6] = Text(PR_DISPLAY_NAME, "second"); // the later value stands
    values[7] = Text(PR_COMPANY_NAME, nullptr);

    WabRecord record;
    std::memset(&record, 0xA5, sizeof record);
    CxWab::FillRecord(&record, values, 8);

    EXPECT_EQ(record.cbSize, sizeof(WabRecord));
    EXPECT_STREQ(record.szDisplayName, "second");
    EXPECT_STREQ(record.szEmailAddress, "");
    EXPECT_STREQ(record.szChildrenNames, "");
    EXPECT_STREQ(record.szCompany, "");
    EXPECT_EQ(record.ftBirthday.dwLowDateTime, 0x11223344u);
    EXPECT_EQ(record.ftBirthday.dwHighDateTime, 0x01D00000u);
    EXPECT_EQ(record.ftWeddingAnniversary.dwLowDateTime, 7u);
    EXPECT_EQ(record.nGender, genderFemale);
    EXPECT_EQ(record.nDupGroup, 0);
    EXPECT_EQ(record.cbEntryID, 0u);
    EXPECT_EQ(record.lpEntryID, nullptr);
    EXPECT_EQ(record.lpMailUser, nullptr);
    EXPECT_EQ(record.pFolder, nullptr);
    for (const FieldCase& c : kTextFields) {
        if (c.tag != PR_DISPLAY_NAME) {
            EXPECT_EQ(reinterpret_cast<char*>(&record)[c.offset], '\0') << c.field;
        }
    }
}

TEST(WabRecordTest, LongTextIsCutToTheFieldAtACharacterBoundary) {
    auto repeat = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) {
            out += s;
        }
        return out;
    };
    struct Case {
        const char* what;
        std::string text;
        std::size_t kept; // bytes kept in the 64-byte display name
    };
    const Case cases[] = {
        {"fits exactly", repeat("a", 63), 63},
        {"ASCII one too long", repeat("a", 64), 63},
        {"two-byte characters", repeat("\xC3\xA9", 40), 62},
        {"three-byte characters", repeat("\xE2\x82\xAC", 30), 63},
        {"four-byte characters", repeat("\xF0\x9F\x98\x80", 20), 60},
        {"ASCII then a split euro", repeat("a", 62) + "\xE2\x82\xAC", 62},
        {"not UTF-8 at all", repeat("\x80", 80), 63},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SPropValue value = Text(PR_DISPLAY_NAME, c.text.c_str());
        WabRecord record;
        CxWab::FillRecord(&record, &value, 1);
        EXPECT_EQ(std::strlen(record.szDisplayName), c.kept);
        EXPECT_EQ(std::string(record.szDisplayName), c.text.substr(0, c.kept));
    }
}

} // namespace
