#include "tests/scenarios/rubric_tree_edition.h"

#include "emulator.h"
#include "platform/testing/windows.h"
#include "platform/ui/input.h"
#include "resources/dernolo/dernolo_ids.h"
#include "win32/commctrl.h"

#include <cstring>

namespace dernolo_test {

namespace {

const char helpText[] =
    "<html><body><p>top</p><div style=\"height:600px\"></div><a name=\"t32\"></a><p>t32</p>"
    "<div style=\"height:600px\"></div></body></html>";

EditionRubric rubric(const char* code, std::u16string_view title, uint8_t flags, std::vector<uint32_t> firms)
{
    EditionRubric r;
    r.code = code;
    r.title = cp1251(title);
    r.flags = flags;
    r.hasFirmList = !firms.empty();
    r.firms = std::move(firms);
    return r;
}

// Depth first over the tree's items, collapsed branches included.
HTREEITEM findItem(HWND tree, HTREEITEM first, std::u16string_view text)
{
    for (HTREEITEM item = first; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
        WCHAR buffer[128] = {};
        TVITEMW fields = {};
        fields.mask = TVIF_TEXT;
        fields.hItem = item;
        fields.pszText = buffer;
        fields.cchTextMax = 128;
        if (TreeView_GetItem(tree, &fields) && text == std::u16string_view(buffer))
            return item;
        if (HTREEITEM below = findItem(tree, TreeView_GetChild(tree, item), text))
            return below;
    }
    return nullptr;
}

} // namespace

Edition rubricTreeEdition()
{
    Edition e;
    e.title = cp1251(u"Справочник\r\nСанкт-Петербург");
    e.cityLetter = 'P';
    EditionChunk help;
    help.kind = ChunkKind::help;
    help.bytes = helpText;
    e.chunks.push_back(help);
    for (const char16_t* name : {u"Альфа", u"Бета", u"Гамма"}) {
        EditionFirm f;
        f.name = cp1251(name);
        e.firms.push_back(f);
    }
    e.rubrics = {
        rubric("01", u"Автомобили", 3, {}),
        rubric("0101", u"Автосервисы", 3, {0, 1}),
        rubric("0102", u"Шиномонтаж", 3, {1}),
        rubric("02", u"Банки", 3, {2}),
        rubric("02", u"Банкоматы", 3, {2}),
        rubric("03", u"Вокзалы", 2, {0}),
        rubric("04", u"Гостиницы", 1, {1}),
        rubric("05", u"Аптеки", 3, {2}),
    };
    return e;
}

void RubricTreeScenario::SetUp()
{
    DernoloScenario::SetUp();
    installEdition(rubricTreeEdition(), "spb.ydb", "SPb");
}

HWND treeScreen() { return driver::findWindow(u"", u"Желтые страницы"); }

HWND treeControl()
{
    HWND screen = treeScreen();
    return screen != nullptr ? driver::findControl(screen, IDC_RUBRIC_TREE) : nullptr;
}

HWND firmListScreen() { return driver::findWindow(u"", u"Список фирм"); }

std::vector<driver::TreeItemDump> shownItems()
{
    HWND tree = treeControl();
    return tree != nullptr ? driver::treeViewItems(tree, true) : std::vector<driver::TreeItemDump>{};
}

std::u16string selectedItem()
{
    for (const driver::TreeItemDump& item : shownItems())
        if (item.selected)
            return item.text;
    return u"<none>";
}

// The item's label on the screen; empty when it is not shown.
RECT labelOnScreen(std::u16string_view text)
{
    HWND tree = treeControl();
    HTREEITEM item = tree != nullptr ? findItem(tree, TreeView_GetRoot(tree), text) : nullptr;
    // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
    RECT r = {};
    std::memcpy(&r, &item, sizeof item);
    if (item == nullptr || !SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) {
        driver::fail("no shown item " + emu::toUtf8(text));
        return RECT{};
    }
    MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT itemPoint(std::u16string_view text)
{
    const RECT r = labelOnScreen(text);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT expandSignPoint(std::u16string_view text)
{
    // The sign stands half an indent left of the label.
    const RECT r = labelOnScreen(text);
    const int indent = static_cast<int>(SendMessageW(treeControl(), TVM_GETINDENT, 0, 0));
    return POINT{r.left - indent / 2, (r.top + r.bottom) / 2};
}

void tapItem(std::u16string_view text)
{
    const POINT p = itemPoint(text);
    driver::tap(p.x, p.y);
}

void holdAt(POINT point, int answer)
{
    ui::stylusDown(point.x, point.y);
    driver::sleepFor(700);
    if (driver::openBox())
        driver::answerBox(answer);
    ui::stylusUp(point.x, point.y);
    driver::waitIdle();
}

}  // namespace dernolo_test
