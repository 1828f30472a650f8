// The sample editions' generator: its kiosks and mobile services come without a street or a house,
// the source reader accepts them, and a second run writes the same firms.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "tools/ydb/source/issues.h"
#include "tools/ydb/source/source_reader.h"

namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool generate(const std::string& city, const fs::path& out) {
    const std::string command = std::string(EDITIONGEN_PROGRAM) + " '" + DIR_DATA_FOLDER + "' " + city + " '" +
                                out.string() + "' >/dev/null 2>&1";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) && WEXITSTATUS(raw) == 0;
}

TEST(SampleSource, EachCityHasFirmsWithoutAStreetAndTheSameFirmsEveryRun) {
    const fs::path root = fs::temp_directory_path() / ("sample-source-" + std::to_string(::getpid()));
    for (const char* city : {"spb", "msk"}) {
        SCOPED_TRACE(city);
        const nlohmann::json settings = nlohmann::json::parse(fileText(fs::path(DIR_DATA_FOLDER) / city / "city.json"));
        const uint32_t expected = settings.at("firmsWithoutStreet").get<uint32_t>();
        ASSERT_GT(expected, 0u);
        ASSERT_TRUE(generate(city, root / "first"));
        ASSERT_TRUE(generate(city, root / "second"));
        EXPECT_EQ(fileText(root / "first" / "firms.jsonl"), fileText(root / "second" / "firms.jsonl"));

        SourceEdition edition;
        IssueList issues;
        ASSERT_TRUE(readSourceEdition((root / "first").string(), edition, issues)) << formatIssue(issues.items.front());
        uint32_t withoutStreet = 0;
        for (const SourceFirm& firm : edition.firms) {
            if (firm.street) continue;
            ++withoutStreet;
            EXPECT_EQ(firm.house, 0u);
            EXPECT_TRUE(firm.houseSuffix.empty());
        }
        EXPECT_EQ(withoutStreet, expected);
        EXPECT_EQ(edition.firms.size(), settings.at("firms").get<uint32_t>() + expected);
    }
    fs::remove_all(root);
}

} // namespace
