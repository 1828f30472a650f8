// Every call the kernel can fail, of one search in each mode, failed in turn, from a program
// whose read window went back to the system: the program neither crashes nor leaks, says only what
// the reader and the search say (a damaged file, no memory, nothing found, the chain's questions,
// which are answered No), lists no firm that the search without faults would not list, and the
// screen is still there afterwards, and its bar leads back home.
#include "tests/scenarios/fault_sweep.h"
#include "tests/scenarios/firm_lists_edition.h"
#include "tests/scenarios/search_edition.h"

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "resources/dernolo/dernolo_ids.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <set>
#include <string>
#include <tuple>

namespace {

using namespace dernolo_test;

constexpr DWORD shortFirstFill = 200;

struct SearchCase {
    const char* name;
    int mode;
    std::u16string_view field;  // typed into `fieldId`
    int fieldId;
};

struct Outcome {
    FaultedAction search;
    std::vector<std::u16string> lines;
    Leftovers left;
    bool screenStayed = false;
};

bool describedBox(const driver::BoxRecord& box)
{
    static const std::set<std::u16string> captions = {u"ОШИБКА", u"ИЗВИНИТЕ", u"ПОИСК", u"С НАДЕЖДОЙ",
                                                      u"ПОСЛЕДНИЙ ШАНС", u"СОЖАЛЕНИЕ"};
    return captions.count(box.caption) != 0;
}

// A line of the clean search, or its firm's name alone: the reader leaves the street name empty
// when its fetch of the street fails, and the line then ends with the name.
bool listedCleanly(const std::vector<std::u16string>& clean, const std::u16string& line)
{
    return std::any_of(clean.begin(), clean.end(), [&](const std::u16string& full) {
        return full == line || full.rfind(line + u",", 0) == 0;
    });
}

class SearchFaults : public DernoloScenario {
protected:
    void SetUp() override
    {
        DernoloScenario::SetUp();
        installEdition(searchEdition(), "spb.ydb");
    }

    // With `firstFill` > 0 the first window fill of the search brings only that many bytes, so that
    // the scan needs more fills and a read can fail in its middle.
    Outcome runOnce(const SearchCase& c, DWORD firstFill, FaultKind kind, unsigned index)
    {
        Outcome outcome;
        restartDevice();
        run([&] {
            tapTile(searchTile);
            if (searchScreen() == nullptr) {
                driver::fail("the search did not open");
                return;
            }
            chooseMode(c.mode);
            typeInto(c.fieldId, c.field);
            closeDroppedList();
            releaseWindow(*databaseProgram.current);
            outcome.search = runFaulted(kind, index, [&] {
                if (firstFill > 0)
                    emu::shortReadFile(firstFill);
                tapButton(IDC_SEARCH_RUN);
                // A single firm opens its card at once: the sweep covers its reading too.
                if (searchScreen() == nullptr && GetActiveWindow() != mainWindow())
                    driver::pressKey(VK_ESCAPE);
            });
            outcome.screenStayed = searchScreen() != nullptr;
            if (outcome.screenStayed)
                outcome.lines = resultTexts();
            backHomeByBar();
            driver::quitProgram();
        });
        outcome.left = leftovers(outcome.search);
        return outcome;
    }

    void sweep(const SearchCase& c, DWORD firstFill)
    {
        const Outcome clean = runOnce(c, firstFill, noFault, 0);
        ASSERT_TRUE(clean.search.boxes.empty()) << c.name;
        ASSERT_FALSE(clean.lines.empty()) << c.name;
        ASSERT_GT(clean.search.counts[emu::FailingCall::read], 0u) << c.name << ": the search reads the file";
        int fewer = 0;
        int reported = 0;
        forEachFault(c.name, clean.search.counts, [&](FaultKind kind, unsigned i) {
            const Outcome faulty = runOnce(c, firstFill, kind, i);
            expectNothingLeaked(faulty.left, clean.left);
            EXPECT_TRUE(faulty.screenStayed);
            for (const std::u16string& line : faulty.lines)
                EXPECT_TRUE(listedCleanly(clean.lines, line)) << "a line the search does not list: " << emu::toUtf8(line);
            fewer += faulty.lines.size() < clean.lines.size() ? 1 : 0;
            EXPECT_LE(faulty.search.boxes.size(), 3u);
            for (const driver::BoxRecord& box : faulty.search.boxes) {
                ++reported;
                EXPECT_TRUE(describedBox(box)) << emu::toUtf8(box.caption) << ": " << emu::toUtf8(box.text);
            }
        });
        std::printf("%s (first fill %lu): %s failed in turn; %d boxes, %d shorter lists\n", c.name,
                    static_cast<unsigned long>(firstFill), countsText(clean.search.counts).c_str(), reported, fewer);
        EXPECT_GT(fewer, 0) << c.name << ": the failures reached the search's reads";
    }
};

const SearchCase searchCases[] = {
    {"beginning of the name", 0, u"аптек", IDC_SEARCH_NAME},
    {"part of the name", 1, u"здоровье", IDC_SEARCH_NAME},
    {"internet address", 2, u"pixel", IDC_SEARCH_NAME},
    {"notes", 3, u"спорт", IDC_SEARCH_NAME},
    {"street", 0, u"мира", IDC_SEARCH_STREET},
    {"telephone", 0, u"12345", IDC_SEARCH_PHONE},
};

// One test a mode and first fill, so that each sweep stays within a test's time under the
// sanitizers and the modes' sweeps run side by side.
class SearchFaultsOfMode : public SearchFaults, public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(SearchFaultsOfMode, OneSearch)
{
    const auto [index, shortFill] = GetParam();
    sweep(searchCases[index], shortFill ? shortFirstFill : 0);
}

INSTANTIATE_TEST_SUITE_P(EachMode, SearchFaultsOfMode,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(searchCases))),
                                            ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<int, bool>>& param) {
                             return "Case" + std::to_string(std::get<0>(param.param)) +
                                    (std::get<1>(param.param) ? "ShortFirstFill" : "WholeFill");
                         });

}  // namespace
