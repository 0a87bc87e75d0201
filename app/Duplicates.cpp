#include "app/Duplicates.h"

#include <vector>

#include "common/oe/WabRecord.h"

namespace {

// The classic "C"-locale upper-casing: only a to z change.
constexpr unsigned char Fold(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

} // namespace

bool SameTextIgnoringAsciiCase(const char* a, const char* b) {
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        if (Fold(*x) != Fold(*y)) {
            return false;
        }
        if (*x == '\0') {
            return true;
        }
    }
}

bool IsDuplicate(const WabRecord* a, const WabRecord* b, const TDuplicateCriteria& criteria) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    if (!criteria.bCheckMail && !criteria.bCheckName) {
        return false;
    }
    if (a->nDupGroup != 0 && a->nDupGroup == b->nDupGroup) {
        return true;
    }
    if (criteria.bCheckMail) {
        if (a->szEmailAddress[0] == '\0' && b->szEmailAddress[0] == '\0') {
            return false;
        }
        if (!SameTextIgnoringAsciiCase(a->szEmailAddress, b->szEmailAddress)) {
            return false;
        }
    }
    if (criteria.bCheckName) {
        if (a->szDisplayName[0] == '\0' && b->szDisplayName[0] == '\0') {
            return false;
        }
        if (!SameTextIgnoringAsciiCase(a->szDisplayName, b->szDisplayName)) {
            return false;
        }
    }
    return true;
}

std::int32_t GroupDuplicates(WabRecord* const* records, std::size_t count,
                             const TDuplicateCriteria& criteria) {
    if (!criteria.bCheckMail && !criteria.bCheckName) {
        for (std::size_t i = 0; i < count; ++i) {
            records[i]->nDupGroup = 0;
        }
        return 0;
    }
    // Two records are duplicates exactly when every chosen field is
    // non-empty in both and equal once folded, so the groups are the classes
    // of equal folded keys with two or more members. An open-addressing table
    // of the classes' first members finds each record's class without a copy
    // of any text.
    auto keyed = [&](const WabRecord* r) {
        return !(criteria.bCheckMail && r->szEmailAddress[0] == '\0') &&
               !(criteria.bCheckName && r->szDisplayName[0] == '\0');
    };
    auto sameKey = [&](const WabRecord* a, const WabRecord* b) {
        return (!criteria.bCheckMail ||
                SameTextIgnoringAsciiCase(a->szEmailAddress, b->szEmailAddress)) &&
               (!criteria.bCheckName ||
                SameTextIgnoringAsciiCase(a->szDisplayName, b->szDisplayName));
    };
    auto hashOf = [&](const WabRecord* r) {
        std::uint64_t h = 14695981039346656037ull; // FNV-1a over the folded fields
        auto mix = [&h](const char* text) {
            for (const char* p = text; *p != '\0'; ++p) {
                h = (h ^ Fold(static_cast<unsigned char>(*p))) * 1099511628211ull;
            }
            h = (h ^ 0x100u) * 1099511628211ull; // a field's end, which no byte can fake
        };
        if (criteria.bCheckMail) {
            mix(r->szEmailAddress);
        }
        if (criteria.bCheckName) {
            mix(r->szDisplayName);
        }
        return h ^ (h >> 29);
    };

    constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Slot {
        std::uint32_t first = kNone; // the class's first member
        std::uint32_t tag = 0;       // more bits of its key's hash, to skip most comparisons
    };
    std::size_t capacity = 16;
    while (capacity < count * 2) {
        capacity *= 2;
    }
    const std::size_t mask = capacity - 1;
    std::vector<Slot> slots(capacity);
    std::vector<std::uint32_t> first(count, kNone); // each record's class, by its first member
    std::vector<std::uint32_t> members(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        // Records lie kilobytes apart: ask for the coming ones' fields early.
        if (i + 8 < count) {
            const WabRecord* ahead = records[i + 8];
            __builtin_prefetch(ahead->szDisplayName);
            __builtin_prefetch(ahead->szEmailAddress + 32);
            __builtin_prefetch(&ahead->nDupGroup, 1);
        }
        WabRecord* r = records[i];
        r->nDupGroup = 0;
        if (!keyed(r)) {
            continue;
        }
        const std::uint64_t h = hashOf(r);
        const auto tag = static_cast<std::uint32_t>(h >> 32);
        std::size_t at = static_cast<std::size_t>(h) & mask;
        while (slots[at].first != kNone &&
               !(slots[at].tag == tag && sameKey(records[slots[at].first], r))) {
            at = (at + 1) & mask;
        }
        if (slots[at].first == kNone) {
            slots[at] = {static_cast<std::uint32_t>(i), tag};
        }
        first[i] = slots[at].first;
        ++members[slots[at].first];
    }

    // Numbers in the order the classes' first members come.
    std::int32_t groups = 0;
    std::vector<std::int32_t> number(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t f = first[i];
        if (f == kNone || members[f] < 2) {
            continue;
        }
        if (number[f] == 0) {
            number[f] = ++groups;
        }
        records[i]->nDupGroup = number[f];
    }
    return groups;
}
