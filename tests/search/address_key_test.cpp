#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "search/address_key.h"
#include "search/text_match.h"
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

// One of the set's bytes, followed by one of its followers where it has any.
bool holdsScanBytes(const std::string& text, const ByteSet& set) {
    auto in = [](char c, const uint8_t* bytes, int count) {
        return std::find(bytes, bytes + count, static_cast<uint8_t>(c)) != bytes + count;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (!in(text[i], set.bytes, set.count)) continue;
        if (set.followerCount == 0 || (i + 1 < text.size() && in(text[i + 1], set.followers, set.followerCount)))
            return true;
    }
    return false;
}

// The bytes a scan masks may turn a firm away only when its key cannot hold the search key: keys
// cut from the address keys themselves, over texts of a few letters in both cases, the separator
// and Cyrillic among them.
TEST(AddressKeyTest, TheScanBytesTurnAwayOnlyTextsWhoseKeyLacksTheSearchKey) {
    const std::string letters = "aAbB1|." + cp1251(u"яЯ");
    std::mt19937 random(5);
    std::uniform_int_distribution<size_t> pick(0, letters.size() - 1), length(0, 12);
    auto text = [&] {
        std::string t(length(random), ' ');
        for (char& c : t) c = letters[pick(random)];
        return t;
    };
    int pairs = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::string source = byTable(text(), text());
        const size_t from = std::uniform_int_distribution<size_t>(0, source.size() - 1)(random);
        const std::string key = source.substr(from, 1 + length(random) % 4);
        const PreparedKey prepared = prepareAddressKey(key.data(), key.size());
        pairs += prepared.scanBytes.followerCount > 0;
        for (int probe = 0; probe < 20; ++probe) {
            const std::string web = text(), email = text();
            if (byTable(web, email).find(key) == std::string::npos) continue;
            ASSERT_TRUE(prepared.scanBytes.count == 0 || holdsScanBytes(web, prepared.scanBytes) ||
                        holdsScanBytes(email, prepared.scanBytes))
                << key << " in " << web << "|" << email;
        }
    }
    EXPECT_GT(pairs, 1000);
}

// Pairs where they are asked for; the separator every address key holds is never a witness.
TEST(AddressKeyTest, PairsWhereAskedAndNeverWithTheSeparator) {
    EXPECT_EQ(prepareKey("AB", 2, textFold().upcase, scanSingleBytes).scanBytes.followerCount, 0);
    const PreparedKey upper = prepareKey("AB", 2, textFold().upcase, scanNeighbourPairs);
    EXPECT_EQ(upper.scanBytes.count, 2);
    EXPECT_EQ(upper.scanBytes.followerCount, 2);
    EXPECT_EQ(upper.scanBytes.followers[0], 'B');
    const PreparedKey joined = prepareAddressKey("A|", 2);
    EXPECT_EQ(joined.scanBytes.followerCount, 0);
    EXPECT_EQ(joined.scanBytes.count, 2);  // 'A' and 'a'
}

}  // namespace
