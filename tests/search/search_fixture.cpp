#include "tests/search/search_fixture.h"

#include "search/search_state.h"
#include "search/street_list.h"

bool RecordingList::addLine(const WCHAR* text, ItemValue value) {
    if (lines.size() >= capacity) return false;
    lines.push_back({std::u16string(text), value});
    return true;
}

std::vector<std::u16string> RecordingList::texts() const {
    std::vector<std::u16string> out;
    for (const ListedLine& line : lines) out.push_back(line.text);
    return out;
}

TreeItem RecordingTree::insertLastChild(TreeItem parent, const WCHAR* text) {
    items.push_back({parent, std::u16string(text)});
    return items.size();
}

std::vector<std::u16string> RecordingTree::childrenOf(TreeItem parent) const {
    std::vector<std::u16string> out;
    for (const Item& item : items)
        if (item.parent == parent) out.push_back(item.text);
    return out;
}

bool RecordingCompletion::addLine(const WCHAR* text) {
    lines.emplace_back(text);
    return true;
}

int ScriptedHooks::messageBox(const WCHAR* text, const WCHAR* caption, UINT type) {
    shown.push_back({std::u16string(text), std::u16string(caption), type});
    if ((type & MB_TYPEMASK) != MB_YESNO) return IDOK;
    if (answers.empty()) return IDNO;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::vector<std::u16string> ScriptedHooks::captions() const {
    std::vector<std::u16string> out;
    for (const ShownBox& box : shown) out.push_back(box.caption);
    return out;
}

void SearchTest::SetUp() {
    DeviceTest::SetUp();
    searchState = SearchState{};
}

void SearchTest::TearDown() {
    freeStreetList(streetList);
    searchState = SearchState{};
    destroyDatabase(db);
    db = nullptr;
    DeviceTest::TearDown();
}

DirectoryDatabase& SearchTest::open(const Edition& edition) {
    std::string error;
    EXPECT_EQ(writeEdition(edition, image, error), writeOk) << error;
    const std::u16string path = install(image, "search.ydb");
    db = createDatabase();
    EXPECT_EQ(openDatabase(*db, path.c_str()), 0);
    return *db;
}

EditionFirm firmNamed(std::u16string_view name, uint32_t street, uint32_t house, std::u16string_view suffix) {
    EditionFirm firm;
    firm.name = cp1251(name);
    firm.street = street;
    firm.house = house;
    firm.houseSuffix = cp1251(suffix);
    return firm;
}
