// Duplicate grouping: the pairwise test's rules, and the hash pass against
// the plain pass that compares every ungrouped record with every other.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/Duplicates.h"
#include "common/oe/WabRecord.h"
#include "tests/app/DuplicatesReference.h"

namespace {

struct Book {
    std::vector<std::unique_ptr<WabRecord>> owned;
    std::vector<WabRecord*> records;

    WabRecord* Add(const char* name, const char* email) {
        auto r = std::make_unique<WabRecord>();
        std::memset(r.get(), 0, sizeof(WabRecord));
        std::strncpy(r->szDisplayName, name, sizeof r->szDisplayName - 1);
        std::strncpy(r->szEmailAddress, email, sizeof r->szEmailAddress - 1);
        records.push_back(r.get());
        owned.push_back(std::move(r));
        return records.back();
    }
    std::vector<std::int32_t> Marks() const {
        std::vector<std::int32_t> marks;
        for (const WabRecord* r : records) {
            marks.push_back(r->nDupGroup);
        }
        return marks;
    }
};

constexpr TDuplicateCriteria kMail{true, false};
constexpr TDuplicateCriteria kName{false, true};
constexpr TDuplicateCriteria kBoth{true, true};
constexpr TDuplicateCriteria kNone{false, false};

TEST(IsDuplicate, FieldsUnderEachCriterion) {
    struct Case {
        const char* what;
        const char* nameA;
        const char* mailA;
        const char* nameB;
        const char* mailB;
        TDuplicateCriteria criteria;
        bool duplicate;
    };
    const Case cases[] = {
        {"same address", "A", "x@example.org", "B", "x@example.org", kMail, true},
        {"ASCII case", "A", "Ann@Example.ORG", "B", "ann@example.org", kMail, true},
        {"trailing space", "A", "x@example.org ", "B", "x@example.org", kMail, false},
        {"both without address", "Ann", "", "Ann", "", kMail, false},
        {"one without address", "Ann", "x@example.org", "Ann", "", kMail, false},
        {"same name", "Ann", "a@example.org", "ANN", "b@example.org", kName, true},
        {"accented case (Windows-1252)", "Ren\xE9", "", "REN\xC9", "", kName, false},
        {"accented, same bytes", "Ren\xE9", "", "REN\xE9", "", kName, true},
        {"both names empty", "", "x@example.org", "", "x@example.org", kName, false},
        {"both: name differs", "Ann", "x@example.org", "Bob", "x@example.org", kBoth, false},
        {"both: both equal", "Ann", "x@example.org", "ann", "X@example.org", kBoth, true},
        {"both: address empty", "Ann", "", "Ann", "", kBoth, false},
        {"no criterion", "Ann", "x@example.org", "Ann", "x@example.org", kNone, false},
    };
    for (const Case& c : cases) {
        Book book;
        WabRecord* a = book.Add(c.nameA, c.mailA);
        WabRecord* b = book.Add(c.nameB, c.mailB);
        EXPECT_EQ(IsDuplicate(a, b, c.criteria), c.duplicate) << c.what;
        EXPECT_EQ(IsDuplicate(b, a, c.criteria), c.duplicate) << c.what << " (swapped)";
    }
    Book book;
    WabRecord* a = book.Add("Ann", "x@example.org");
    EXPECT_FALSE(IsDuplicate(a, nullptr, kMail));
    EXPECT_FALSE(IsDuplicate(nullptr, a, kMail));

    // The shared mark decides before any field is compared, but never
    // without a criterion.
    WabRecord* b = book.Add("Bob", "y@example.org");
    a->nDupGroup = b->nDupGroup = 4;
    EXPECT_TRUE(IsDuplicate(a, b, kMail));
    EXPECT_FALSE(IsDuplicate(a, b, kNone));
    a->nDupGroup = b->nDupGroup = 0;
    EXPECT_FALSE(IsDuplicate(a, b, kMail));
}

TEST(GroupDuplicates, GroupsAreNumberedInTheOrderOfTheirFirstMember) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> contacts; // name, address
        TDuplicateCriteria criteria;
        std::vector<std::int32_t> marks;
    };
    const Case cases[] = {
        {"x, y, x, y", {{"1", "x"}, {"2", "y"}, {"3", "x"}, {"4", "y"}}, kMail, {1, 2, 1, 2}},
        {"three of a kind", {{"1", "x"}, {"2", "X"}, {"3", "z"}, {"4", "x"}}, kMail, {1, 1, 0, 1}},
        {"no address, same name", {{"Ann", ""}, {"Ann", ""}}, kMail, {0, 0}},
        {"same name alone", {{"Ann", "a"}, {"Bob", "a"}, {"ann", "b"}}, kName, {1, 0, 1}},
        {"both criteria", {{"Ann", "a"}, {"Bob", "a"}, {"ann", "A"}}, kBoth, {1, 0, 1}},
        {"no criterion", {{"Ann", "a"}, {"Ann", "a"}}, kNone, {0, 0}},
        {"one record", {{"Ann", "a"}}, kMail, {0}},
        {"empty book", {}, kMail, {}},
    };
    for (const Case& c : cases) {
        Book book;
        for (const auto& [name, mail] : c.contacts) {
            book.Add(name, mail)->nDupGroup = 9; // stale marks are rewritten
        }
        GroupDuplicates(book.records.data(), book.records.size(), c.criteria);
        EXPECT_EQ(book.Marks(), c.marks) << c.what;
    }
}

// Random books drawn from a small pool, so that groups, case variants,
// accented letters, blanks and empty fields meet often.
TEST(GroupDuplicates, GivesThePlainPassMarksOnRandomBooks) {
    const char* names[] = {"Ann",
                           "ANN",
                           "ann ",
                           "Ren\xE9",
                           "REN\xC9",
                           "Ren\xC9",
                           "Bob",
                           "",
                           "b\xF6"
                           "b",
                           "B\xD6"
                           "B"};
    const char* mails[] = {"a@x.org", "A@X.ORG",    "a@x.org ",   "b@x.org", "",
                           "",        "\xE9@x.org", "\xC9@X.ORG", "c@x.org"};
    std::mt19937 random(20261210);
    for (int round = 0; round < 200; ++round) {
        const int size = static_cast<int>(random() % 60);
        Book book;
        for (int i = 0; i < size; ++i) {
            book.Add(names[random() % std::size(names)], mails[random() % std::size(mails)]);
        }
        for (const TDuplicateCriteria& criteria : {kMail, kName, kBoth, kNone}) {
            quenbytest::PlainGroupDuplicates(book.records.data(), book.records.size(), criteria);
            const std::vector<std::int32_t> expected = book.Marks();
            GroupDuplicates(book.records.data(), book.records.size(), criteria);
            ASSERT_EQ(book.Marks(), expected)
                << "round " << round << ", mail " << criteria.bCheckMail << ", name "
                << criteria.bCheckName;
        }
    }
}

} // namespace
