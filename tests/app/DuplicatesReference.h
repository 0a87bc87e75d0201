// The grouping pass written the plain way: every ungrouped record compared
// with every record of the list. Quadratic; the reference the fast pass must
// agree with, and the baseline of its benchmark.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/Duplicates.h"
#include "common/oe/WabRecord.h"

namespace quenbytest {

inline void PlainGroupDuplicates(WabRecord* const* records, std::size_t count,
                                 const TDuplicateCriteria& criteria) {
    for (std::size_t i = 0; i < count; ++i) {
        records[i]->nDupGroup = 0;
    }
    std::int32_t g = 1;
    for (std::size_t k = 0; k < count; ++k) {
        WabRecord* p = records[k];
        if (p->nDupGroup != 0) {
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < count; ++i) {
            WabRecord* q = records[i];
            if (q != p && q != nullptr && q->nDupGroup == 0 && IsDuplicate(p, q, criteria)) {
                p->nDupGroup = g;
                q->nDupGroup = g;
                found = true;
            }
        }
        if (found) {
            ++g;
        }
    }
}

} // namespace quenbytest
