#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "common/misc/CxList.h"

namespace {

int g_items[16];
void* Item(int i) {
    return &g_items[i];
}

std::vector<void*> Contents(CxList& list) {
    std::vector<void*> out;
    for (std::uint32_t i = 0; i < list.GetCount(); ++i) {
        out.push_back(list.GetAt(i));
    }
    return out;
}

TEST(CxListTest, EmptyListGivesNothingAndRefusesNull) {
    CxList list;
    EXPECT_EQ(list.GetFirst(), nullptr);
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_FALSE(list.RemoveAt(0));
    EXPECT_FALSE(list.Add(nullptr));
    EXPECT_EQ(list.GetCount(), 0u);
}

TEST(CxListTest, CursorFollowsAddWalkAndRandomAccess) {
    CxList list;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(list.Add(Item(i)));
        EXPECT_EQ(list.GetNext(), nullptr) << "the cursor rests on the new last element";
    }
    EXPECT_EQ(list.GetFirst(), Item(0));
    EXPECT_EQ(list.GetNext(), Item(1));
    EXPECT_EQ(list.GetNext(), Item(2));
    EXPECT_EQ(list.GetNext(), Item(3));
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetNext(), nullptr);

    EXPECT_EQ(list.GetAt(1), Item(1)); // backwards from the end
    EXPECT_EQ(list.GetAt(4), nullptr); // out of range: the cursor stays on 1
    EXPECT_EQ(list.GetNext(), Item(2));
}

TEST(CxListTest, RemoveAtUnlinksRenumbersAndPlacesTheCursor) {
    struct Case {
        int size;
        std::uint32_t remove;
        std::vector<int> left;
        int next; // what GetNext gives right after, -1 for null
    };
    const Case cases[] = {
        {4, 2, {0, 1, 3}, 3}, // cursor on the predecessor
        {3, 0, {1, 2}, 2},    // first removed: cursor on the new first
        {3, 2, {0, 1}, -1},   // last removed: cursor on the new last
        {1, 0, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.size << ", remove " << c.remove);
        CxList list;
        for (int i = 0; i < c.size; ++i) {
            list.Add(Item(i));
        }
        void* removed = nullptr;
        ASSERT_TRUE(list.RemoveAt(c.remove, &removed));
        EXPECT_EQ(removed, Item(static_cast<int>(c.remove)));
        EXPECT_EQ(list.GetNext(), c.next < 0 ? nullptr : Item(c.next));
        std::vector<void*> expected;
        for (int i : c.left) {
            expected.push_back(Item(i));
        }
        EXPECT_EQ(Contents(list), expected);
        EXPECT_EQ(list.GetCount(), c.left.size());
        EXPECT_FALSE(list.RemoveAt(list.GetCount()));
        if (c.left.empty()) {
            EXPECT_EQ(list.GetFirst(), nullptr);
        }
    }
}

// Random operations against a plain model of the list and its cursor; the
// elements repeat, so Remove must find the first of equal ones.
TEST(CxListTest, AgreesWithAModelOverRandomOperations) {
    CxList list;
    std::vector<void*> model;
    std::size_t cursor = 0;
    std::mt19937 random(1234);
    for (int step = 0; step < 20000; ++step) {
        int op = static_cast<int>(random() % 7);
        if (op == 6 && random() % 50 != 0) {
            op = 5;
        }
        std::size_t at = model.empty() ? 0 : random() % (model.size() + 1);
        switch (op) {
        case 0:
        case 1: {
            void* item = Item(static_cast<int>(random() % 16));
            ASSERT_TRUE(list.Add(item));
            model.push_back(item);
            cursor = model.size() - 1;
            break;
        }
        case 2: {
            bool ok = list.RemoveAt(static_cast<std::uint32_t>(at));
            ASSERT_EQ(ok, at < model.size());
            if (ok) {
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
                cursor = at > 0 ? at - 1 : 0;
            }
            break;
        }
        case 3: {
            void* got = list.GetAt(static_cast<std::uint32_t>(at));
            ASSERT_EQ(got, at < model.size() ? model[at] : nullptr);
            if (at < model.size()) {
                cursor = at;
            }
            break;
        }
        case 5: { // what a folder's delete does: find the first equal, remove it
            void* item = Item(static_cast<int>(random() % 16));
            auto found = std::find(model.begin(), model.end(), item);
            ASSERT_EQ(list.Remove(item), found != model.end());
            if (found != model.end()) {
                const auto pos = static_cast<std::size_t>(found - model.begin());
                model.erase(found);
                cursor = pos > 0 ? pos - 1 : 0;
            } else if (!model.empty()) {
                cursor = model.size() - 1;
            }
            break;
        }
        case 6:
            list.RemoveAll();
            model.clear();
            cursor = 0;
            break;
        case 4: {
            void* got = list.GetNext();
            bool more = cursor + 1 < model.size();
            ASSERT_EQ(got, more ? model[cursor + 1] : nullptr);
            if (more) {
                ++cursor;
            }
            break;
        }
        }
        ASSERT_EQ(list.GetCount(), model.size());
    }
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.GetFirst(), nullptr);
}

} // namespace
