#include <gtest/gtest.h>

#include <vector>

#include "search/street_list.h"

namespace {

// A list of `count` streets whose references grow by uneven steps, as record lengths do.
struct OwnedList {
    StreetList list;
    explicit OwnedList(uint32_t count) {
        list.entries = new StreetListEntry[count];
        list.count = count;
        uint32_t ref = 0;
        for (uint32_t i = 0; i < count; ++i) {
            list.entries[i] = {ref, i * 4, "K", "N"};
            ref += 10 + i % 7;
        }
    }
    ~OwnedList() { freeStreetList(list); }
};

TEST(StreetList, FindsEveryStreetIncludingTheFirstAndTheLast) {
    for (uint32_t count : {1u, 2u, 3u, 1000u, 100000u}) {
        OwnedList owned(count);
        const StreetList& l = owned.list;
        EXPECT_EQ(findStreet(l, l.entries[0].ref), &l.entries[0]) << count;
        EXPECT_EQ(findStreet(l, l.entries[count - 1].ref), &l.entries[count - 1]) << count;
        for (uint32_t i = 0; i < count; i += 97) EXPECT_EQ(findStreet(l, l.entries[i].ref), &l.entries[i]);
    }
}

TEST(StreetList, AReferenceNoStreetHasFindsNothing) {
    OwnedList owned(1000);
    const StreetList& l = owned.list;
    EXPECT_EQ(findStreet(l, 1), nullptr);  // between the first two
    EXPECT_EQ(findStreet(l, l.entries[999].ref + 1), nullptr);
    EXPECT_EQ(findStreet(l, 0xFFFFFFFF), nullptr);
    StreetList empty;
    EXPECT_EQ(findStreet(empty, 0), nullptr);
}

} // namespace
