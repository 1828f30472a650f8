#include <gtest/gtest.h>

#include <random>
#include <string>

#include "search/address_key.h"
#include "tests/db/test_support.h"

namespace {

std::string byTable(const std::string& web, const std::string& email) {
    char out[addressKeyCapacity];
    const size_t n = addressKey(web.data(), web.size(), email.data(), email.size(), out);
    EXPECT_EQ(out[n], 0);
    return {out, n};
}

std::string byConversion(const std::string& web, const std::string& email) {
    char out[addressKeyCapacity];
    const size_t n = addressKeyByConversion(web.data(), web.size(), email.data(), email.size(), out);
    return {out, n};
}

TEST(AddressKeyTest, IsTheFieldsJoinedUpperCasedAndCut) {
    EXPECT_EQ(byTable(cp1251(u"www.Кафе-Ромашка.ru"), "Info@Mail.ru"), cp1251(u"WWW.КАФЕ-РОМАШКА.RU|INFO@MAIL.RU"));
    EXPECT_EQ(byTable("", ""), "|");
    // Each field keeps its first 63 characters, the whole its first 99.
    const std::string web(70, 'w'), email(70, 'e');
    EXPECT_EQ(byTable(web, ""), std::string(63, 'W') + "|");
    EXPECT_EQ(byTable(web, email), std::string(63, 'W') + "|" + std::string(35, 'E'));
    char out[addressKeyCapacity];
    EXPECT_EQ(addressKey(nullptr, 0, nullptr, 0, out), 1u);
}

// The byte table stands in for the conversions: every byte in either field, and random texts of
// every length around the cuts.
TEST(AddressKeyTest, GivesWhatTheConversionsGive) {
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(byTable(one, ""), byConversion(one, "")) << b;
        EXPECT_EQ(byTable("a" + one, one + "z"), byConversion("a" + one, one + "z")) << b;
    }
    std::mt19937 random(11);
    std::uniform_int_distribution<int> byte(1, 255), length(0, 80);
    for (int round = 0; round < 2000; ++round) {
        std::string web(static_cast<size_t>(length(random)), ' '), email(static_cast<size_t>(length(random)), ' ');
        for (char& c : web) c = static_cast<char>(byte(random));
        for (char& c : email) c = static_cast<char>(byte(random));
        ASSERT_EQ(byTable(web, email), byConversion(web, email)) << web.size() << " " << email.size();
    }
}

}  // namespace
