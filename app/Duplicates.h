// Which contacts are duplicates of one another: the pairwise test under the
// user's criteria, and the pass that numbers the groups.
#pragma once

#include <cstddef>
#include <cstdint>

struct WabRecord;

// The user's criteria: same e-mail address, same display name (both may be set).
struct TDuplicateCriteria {
    bool bCheckMail = true;
    bool bCheckName = false;
};

// ASCII-only, byte-wise and case-insensitive equality of two NUL-terminated
// strings: a to z match A to Z, every other byte only itself, whatever the
// locale. No trimming, no other normalisation.
bool SameTextIgnoringAsciiCase(const char* a, const char* b);

// Whether b is a duplicate of a: false for a null record or no criterion;
// true when both carry the same group mark (not 0); otherwise every chosen
// field must be non-empty and equal in both.
bool IsDuplicate(const WabRecord* a, const WabRecord* b, const TDuplicateCriteria& criteria);

// Writes every record's nDupGroup: 0 for a record without a duplicate, else
// its group's number, groups numbered 1, 2, ... in the order of their first
// member. The same marks as comparing every ungrouped record with every
// other, in linear expected time (one hash pass over the folded fields).
// Returns the number of groups.
std::int32_t GroupDuplicates(WabRecord* const* records, std::size_t count,
                             const TDuplicateCriteria& criteria);
