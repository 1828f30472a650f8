#include "tests/controls/control_fixture.h"

namespace controls_test {
namespace {

constexpr int treeId = 1003;

class TreeViewTest : public ControlTest {
protected:
    HWND tree = nullptr;
    void SetUp() override
    {
        ControlTest::SetUp();
        tree = create(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
                      treeId, 0, 20, 240, 200);
    }

    HTREEITEM add(HTREEITEM under, const char16_t* text)
    {
        TVINSERTSTRUCTW insert{};
        insert.hParent = under;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<LPWSTR>(text);
        return TreeView_InsertItem(tree, &insert);
    }

    std::u16string textOfItem(HTREEITEM item)
    {
        WCHAR buffer[128]{};
        TVITEMW info{};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = buffer;
        info.cchTextMax = 128;
        if (!TreeView_GetItem(tree, &info))
            return u"<none>";
        return buffer;
    }

    // Client y of the middle of visible row `row`, x on its label.
    POINT rowPoint(int row, HTREEITEM item)
    {
        RECT r{};
        EXPECT_TRUE(TreeView_GetItemRect(tree, item, &r, TRUE));
        (void)row;
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    void tapItem(HTREEITEM item)
    {
        POINT p = rowPoint(0, item);
        tap(tree, p.x, p.y);
    }
};

TEST_F(TreeViewTest, TapReportsClickThenSelectionByMouseAndRetapChangesNothing)
{
    HTREEITEM first = add(TVI_ROOT, u"Аптеки");
    HTREEITEM second = add(TVI_ROOT, u"Банки");
    pump();
    received.clear();

    tapItem(second);
    std::vector<Received> expected{notice(treeId, NM_CLICK), notice(treeId, TVN_SELCHANGING, TVC_BYMOUSE),
                                   notice(treeId, TVN_SELCHANGED, TVC_BYMOUSE)};
    EXPECT_EQ(received, expected);
    EXPECT_EQ(received.back().newItem, second);
    EXPECT_EQ(TreeView_GetSelection(tree), second);

    received.clear();
    tapItem(second);
    EXPECT_EQ(received, std::vector<Received>{notice(treeId, NM_CLICK)});

    received.clear();
    tapItem(first);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[2].newItem, first);
}

TEST_F(TreeViewTest, ParentAnsweringTheClickKeepsTheSelection)
{
    add(TVI_ROOT, u"Аптеки");
    HTREEITEM second = add(TVI_ROOT, u"Банки");
    pump();
    onNotify = [](NMHDR* h) -> LRESULT { return h->code == NM_CLICK ? 1 : 0; };
    received.clear();
    tapItem(second);
    EXPECT_EQ(received, std::vector<Received>{notice(treeId, NM_CLICK)});
    EXPECT_EQ(TreeView_GetSelection(tree), nullptr);
}

TEST_F(TreeViewTest, KeysMoveTheSelectionByKeyboardAfterTellingTheParent)
{
    HTREEITEM first = add(TVI_ROOT, u"Аптеки");
    HTREEITEM second = add(TVI_ROOT, u"Банки");
    TreeView_SelectItem(tree, first);
    SetFocus(tree);
    pump();
    received.clear();

    key(VK_DOWN);
    std::vector<Received> expected{notice(treeId, TVN_KEYDOWN), notice(treeId, TVN_SELCHANGING, TVC_BYKEYBOARD),
                                   notice(treeId, TVN_SELCHANGED, TVC_BYKEYBOARD)};
    EXPECT_EQ(received, expected);
    EXPECT_EQ(TreeView_GetSelection(tree), second);

    // At the last item Down still reaches the parent but moves nothing.
    received.clear();
    key(VK_DOWN);
    EXPECT_EQ(received, std::vector<Received>{notice(treeId, TVN_KEYDOWN)});
}

TEST_F(TreeViewTest, ProgrammaticSelectionAndClearingAreOfUnknownCause)
{
    HTREEITEM first = add(TVI_ROOT, u"Аптеки");
    received.clear();
    EXPECT_TRUE(TreeView_SelectItem(tree, first));
    EXPECT_TRUE(TreeView_SelectItem(tree, first));  // already selected: no second report
    EXPECT_TRUE(TreeView_SelectItem(tree, nullptr));
    std::vector<Received> expected{notice(treeId, TVN_SELCHANGING, TVC_UNKNOWN),
                                   notice(treeId, TVN_SELCHANGED, TVC_UNKNOWN),
                                   notice(treeId, TVN_SELCHANGING, TVC_UNKNOWN),
                                   notice(treeId, TVN_SELCHANGED, TVC_UNKNOWN)};
    EXPECT_EQ(received, expected);
    EXPECT_EQ(received.back().newItem, nullptr);
    EXPECT_EQ(TreeView_GetSelection(tree), nullptr);

    // With the selection cleared the first item's tap is a change again.
    received.clear();
    tapItem(first);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[2].action, static_cast<UINT>(TVC_BYMOUSE));
}

TEST_F(TreeViewTest, InsertsLastUnderTheParentAndWalksTheStructure)
{
    HTREEITEM a = add(TVI_ROOT, u"01 Еда");
    HTREEITEM a1 = add(a, u"0101 Кафе");
    HTREEITEM a2 = add(a, u"0102 Бары");
    HTREEITEM b = add(TVI_ROOT, u"02 Связь");
    EXPECT_EQ(TreeView_GetRoot(tree), a);
    EXPECT_EQ(TreeView_GetChild(tree, a), a1);
    EXPECT_EQ(TreeView_GetNextSibling(tree, a1), a2);
    EXPECT_EQ(TreeView_GetNextSibling(tree, a2), nullptr);
    EXPECT_EQ(TreeView_GetParent(tree, a2), a);
    EXPECT_EQ(TreeView_GetNextSibling(tree, a), b);
    EXPECT_EQ(TreeView_GetCount(tree), 4u);

    // Collapsed children are not visible; expanded they come right after their parent.
    EXPECT_EQ(TreeView_GetNextVisible(tree, a), b);
    EXPECT_TRUE(TreeView_Expand(tree, a, TVE_EXPAND));
    EXPECT_EQ(TreeView_GetNextVisible(tree, a), a1);
    EXPECT_EQ(TreeView_GetNextVisible(tree, a2), b);
    EXPECT_EQ(TreeView_GetNextVisible(tree, b), nullptr);
    EXPECT_FALSE(TreeView_Expand(tree, b, TVE_EXPAND));  // nothing to open
}

TEST_F(TreeViewTest, SortsOneLevelCaseInsensitively)
{
    HTREEITEM c = add(TVI_ROOT, u"вокзалы");
    HTREEITEM c2 = add(c, u"Я");
    HTREEITEM c1 = add(c, u"А");
    HTREEITEM a = add(TVI_ROOT, u"Аптеки");
    HTREEITEM b = add(TVI_ROOT, u"БАНКИ");
    EXPECT_TRUE(TreeView_SortChildren(tree, TVI_ROOT, FALSE));
    EXPECT_EQ(TreeView_GetRoot(tree), a);
    EXPECT_EQ(TreeView_GetNextSibling(tree, a), b);
    EXPECT_EQ(TreeView_GetNextSibling(tree, b), c);
    EXPECT_EQ(TreeView_GetChild(tree, c), c2);  // not recursive
    EXPECT_EQ(TreeView_GetNextSibling(tree, c2), c1);
}

TEST_F(TreeViewTest, DeletingTheRootEmptiesTheTreeAndStaleHandlesAreRefused)
{
    HTREEITEM a = add(TVI_ROOT, u"Аптеки");
    add(a, u"Дежурные");
    TreeView_SelectItem(tree, a);
    received.clear();
    EXPECT_TRUE(TreeView_DeleteAllItems(tree));
    EXPECT_EQ(TreeView_GetCount(tree), 0u);
    EXPECT_EQ(TreeView_GetRoot(tree), nullptr);
    EXPECT_EQ(TreeView_GetSelection(tree), nullptr);
    EXPECT_EQ(textOfItem(a), u"<none>");
    EXPECT_FALSE(TreeView_DeleteItem(tree, a));
    EXPECT_FALSE(TreeView_SelectItem(tree, a));
    // A new item never gets the old handle back.
    HTREEITEM again = add(TVI_ROOT, u"Аптеки");
    EXPECT_NE(again, a);
}

TEST_F(TreeViewTest, ItemTextIsCutToTheCallersBuffer)
{
    HTREEITEM a = add(TVI_ROOT, u"Автомобили");
    WCHAR buffer[5]{};
    TVITEMW info{};
    info.mask = TVIF_TEXT;
    info.hItem = a;
    info.pszText = buffer;
    info.cchTextMax = 5;
    ASSERT_TRUE(TreeView_GetItem(tree, &info));
    EXPECT_EQ(std::u16string(buffer), u"Авто");

    info.pszText = const_cast<LPWSTR>(u"Авиабилеты");
    EXPECT_TRUE(TreeView_SetItem(tree, &info));
    EXPECT_EQ(textOfItem(a), u"Авиабилеты");
}

TEST_F(TreeViewTest, HitTestFindsButtonLabelAndEmptySpace)
{
    HTREEITEM a = add(TVI_ROOT, u"Еда");
    add(a, u"Кафе");
    pump();
    RECT label{};
    ASSERT_TRUE(TreeView_GetItemRect(tree, a, &label, TRUE));

    TVHITTESTINFO info{};
    info.pt = POINT{label.left + 3, (label.top + label.bottom) / 2};
    EXPECT_EQ(TreeView_HitTest(tree, &info), a);
    EXPECT_EQ(info.flags, static_cast<UINT>(TVHT_ONITEMLABEL));

    info.pt = POINT{label.left + 3, 190};
    EXPECT_EQ(TreeView_HitTest(tree, &info), nullptr);
    EXPECT_EQ(info.flags, static_cast<UINT>(TVHT_NOWHERE));

    // A tap on the [+] opens the item without selecting it.
    info.pt = POINT{label.left - 8, (label.top + label.bottom) / 2};
    TreeView_HitTest(tree, &info);
    EXPECT_EQ(info.flags, static_cast<UINT>(TVHT_ONITEMBUTTON));
    received.clear();
    tap(tree, info.pt.x, info.pt.y);
    EXPECT_EQ(received, (std::vector<Received>{notice(treeId, TVN_ITEMEXPANDING, 0), notice(treeId, TVN_ITEMEXPANDED, 0),
                                               notice(treeId, NM_CLICK)}));
    EXPECT_EQ(TreeView_GetSelection(tree), nullptr);
    EXPECT_NE(TreeView_GetNextVisible(tree, a), nullptr);
}

TEST_F(TreeViewTest, HoldingTheStylusSendsTheGestureInsteadOfATap)
{
    HTREEITEM a = add(TVI_ROOT, u"Аптеки");
    pump();
    POINT p = rowPoint(0, a);
    bool asked = false;
    onNotify = [&asked](NMHDR* h) -> LRESULT {
        if (h->code == NM_RECOGNIZEGESTURE)
            asked = true;
        return 0;
    };
    received.clear();
    press(tree, p.x, p.y);
    EXPECT_TRUE(asked);
    // The hold timer running out is what the device's 500 ms look like to the control.
    SendMessageW(tree, WM_TIMER, 1, 0);
    release(tree, p.x, p.y);
    EXPECT_EQ(received, std::vector<Received>{notice(treeId, GN_CONTEXTMENU)});
    EXPECT_EQ(TreeView_GetSelection(tree), nullptr);

    // A parent that declines the gesture gets an ordinary tap.
    onNotify = [](NMHDR* h) -> LRESULT { return h->code == NM_RECOGNIZEGESTURE ? TRUE : 0; };
    received.clear();
    press(tree, p.x, p.y);
    SendMessageW(tree, WM_TIMER, 1, 0);
    release(tree, p.x, p.y);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.front(), notice(treeId, NM_CLICK));
    EXPECT_EQ(TreeView_GetSelection(tree), a);
}

TEST_F(TreeViewTest, CustomDrawAsksForEveryItemAndUsesTheParentsColours)
{
    HTREEITEM a = add(TVI_ROOT, u"Аптеки");
    add(TVI_ROOT, u"Банки");
    std::vector<DWORD_PTR> asked;
    onNotify = [&asked](NMHDR* h) -> LRESULT {
        if (h->code != NM_CUSTOMDRAW)
            return 0;
        auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(h);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            asked.push_back(draw->nmcd.dwItemSpec);
            draw->clrText = RGB(150, 75, 150);
            draw->clrTextBk = RGB(255, 255, 255);
            return CDRF_NEWFONT;
        }
        return CDRF_DODEFAULT;
    };
    InvalidateRect(tree, nullptr, TRUE);
    pump();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], reinterpret_cast<DWORD_PTR>(a));

    // Some pixel of the first label carries the parent's text colour.
    RECT label{};
    TreeView_GetItemRect(tree, a, &label, TRUE);
    POINT origin{0, 0};
    ClientToScreen(tree, &origin);
    const gdi::Framebuffer& screen = gdi::screen();
    bool found = false;
    for (int y = label.top; y < label.bottom && !found; ++y)
        for (int x = label.left; x < label.right && !found; ++x)
            found = screen.pixels[static_cast<size_t>((origin.y + y) * screen.width + origin.x + x)] == 0x964B96u;
    EXPECT_TRUE(found);
}

TEST_F(TreeViewTest, DraggingScrollsWithoutSelecting)
{
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 40; ++i) {
        std::u16string text = u"Рубрика " + std::u16string(1, static_cast<char16_t>(u'А' + i % 32));
        items.push_back(add(TVI_ROOT, text.c_str()));
    }
    pump();
    received.clear();
    press(tree, 60, 150);
    drag(tree, 60, 100);
    drag(tree, 60, 40);
    release(tree, 60, 40);
    EXPECT_TRUE(received.empty());
    EXPECT_NE(TreeView_GetNextItem(tree, nullptr, TVGN_FIRSTVISIBLE), items.front());
    EXPECT_EQ(TreeView_GetSelection(tree), nullptr);

    // Holding the bar's up arrow steps back one row at a time.
    SendMessageW(tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(items[10]));
    press(tree, 240 - 5, 5);
    SendMessageW(tree, WM_TIMER, 2, 0);
    release(tree, 240 - 5, 5);
    EXPECT_EQ(TreeView_GetNextItem(tree, nullptr, TVGN_FIRSTVISIBLE), items[8]);
}

TEST_F(TreeViewTest, ArrowKeysOpenCloseAndClimbTheLevels)
{
    HTREEITEM food = add(TVI_ROOT, u"Питание");
    HTREEITEM cafe = add(food, u"Кафе");
    add(TVI_ROOT, u"Связь");
    TreeView_SelectItem(tree, food);
    SetFocus(tree);
    pump();
    received.clear();

    key(VK_RIGHT);  // a closed heading opens
    EXPECT_EQ(received, (std::vector<Received>{notice(treeId, TVN_KEYDOWN), notice(treeId, TVN_ITEMEXPANDING),
                                               notice(treeId, TVN_ITEMEXPANDED)}));
    EXPECT_EQ(TreeView_GetNextVisible(tree, food), cafe);
    received.clear();
    key(VK_RIGHT);  // an open one hands the selection to its first child
    EXPECT_EQ(TreeView_GetSelection(tree), cafe);
    EXPECT_EQ(received.back(), notice(treeId, TVN_SELCHANGED, TVC_BYKEYBOARD));
    key(VK_LEFT);  // a child climbs to its parent
    EXPECT_EQ(TreeView_GetSelection(tree), food);
    key(VK_LEFT);  // an open parent closes
    EXPECT_NE(TreeView_GetNextVisible(tree, food), cafe);
    EXPECT_EQ(TreeView_GetSelection(tree), food);
}

TEST_F(TreeViewTest, ClosingAParentMovesTheSelectionUpToIt)
{
    HTREEITEM food = add(TVI_ROOT, u"Питание");
    HTREEITEM cafe = add(food, u"Кафе");
    TreeView_Expand(tree, food, TVE_EXPAND);
    TreeView_SelectItem(tree, cafe);
    received.clear();
    EXPECT_TRUE(TreeView_Expand(tree, food, TVE_COLLAPSE));
    EXPECT_EQ(TreeView_GetSelection(tree), food);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back(), notice(treeId, TVN_SELCHANGED, TVC_UNKNOWN));
    EXPECT_EQ(received.back().newItem, food);

    // Selecting a hidden item opens the way to it.
    TreeView_SelectItem(tree, cafe);
    EXPECT_EQ(TreeView_GetNextVisible(tree, food), cafe);
}

TEST_F(TreeViewTest, ParentCanRefuseASelectionChange)
{
    HTREEITEM first = add(TVI_ROOT, u"Аптеки");
    HTREEITEM second = add(TVI_ROOT, u"Банки");
    TreeView_SelectItem(tree, first);
    pump();
    onNotify = [](NMHDR* h) -> LRESULT { return h->code == TVN_SELCHANGINGW ? TRUE : 0; };
    received.clear();
    tapItem(second);
    EXPECT_EQ(received, (std::vector<Received>{notice(treeId, NM_CLICK), notice(treeId, TVN_SELCHANGING, TVC_BYMOUSE)}));
    EXPECT_EQ(TreeView_GetSelection(tree), first);
    EXPECT_FALSE(TreeView_SelectItem(tree, second));
}

TEST_F(TreeViewTest, EnterReachesTheTreeEvenInADialog)
{
    HTREEITEM first = add(TVI_ROOT, u"Аптеки");
    TreeView_SelectItem(tree, first);
    MSG enter{tree, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    MSG down{tree, WM_KEYDOWN, VK_DOWN, 0, 0, {}};
    EXPECT_TRUE(SendMessageW(tree, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTALLKEYS);
    EXPECT_FALSE(SendMessageW(tree, WM_GETDLGCODE, VK_DOWN, reinterpret_cast<LPARAM>(&down)) & DLGC_WANTALLKEYS);
    SetFocus(tree);
    pump();
    received.clear();
    key(VK_RETURN);
    EXPECT_EQ(received, (std::vector<Received>{notice(treeId, TVN_KEYDOWN), notice(treeId, NM_RETURN)}));
}

TEST_F(TreeViewTest, TapOnEmptySpaceIsAClickThatSelectsNothing)
{
    add(TVI_ROOT, u"Аптеки");
    pump();
    received.clear();
    tap(tree, 60, 180);
    EXPECT_EQ(received, std::vector<Received>{notice(treeId, NM_CLICK)});
    EXPECT_EQ(TreeView_GetSelection(tree), nullptr);
}

TEST_F(TreeViewTest, HoldReportsTheItemAndTheScreenPoint)
{
    HTREEITEM a = add(TVI_ROOT, u"Аптеки");
    pump();
    POINT p = rowPoint(0, a);
    NMRGINFO seen{};
    onNotify = [&seen](NMHDR* h) -> LRESULT {
        if (h->code == GN_CONTEXTMENU)
            seen = *reinterpret_cast<NMRGINFO*>(h);
        return 0;
    };
    press(tree, p.x, p.y);
    SendMessageW(tree, WM_TIMER, 1, 0);
    release(tree, p.x, p.y);
    POINT onScreen = p;
    ClientToScreen(tree, &onScreen);
    EXPECT_EQ(seen.ptAction.x, onScreen.x);
    EXPECT_EQ(seen.ptAction.y, onScreen.y);
    EXPECT_EQ(seen.dwItemSpec, static_cast<DWORD>(reinterpret_cast<uintptr_t>(a)));

    // Moving the stylus away before the time is up makes it a drag, not a hold.
    seen = NMRGINFO{};
    press(tree, p.x, p.y);
    drag(tree, p.x, p.y + 30);
    SendMessageW(tree, WM_TIMER, 1, 0);
    release(tree, p.x, p.y + 30);
    EXPECT_EQ(seen.hdr.code, 0u);
}

TEST_F(TreeViewTest, ItemsDeletedWhileTheParentDrawsAreSkipped)
{
    add(TVI_ROOT, u"Аптеки");
    add(TVI_ROOT, u"Банки");
    add(TVI_ROOT, u"Вокзалы");
    HWND control = tree;
    onNotify = [control](NMHDR* h) -> LRESULT {
        if (h->code != NM_CUSTOMDRAW)
            return 0;
        auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(h);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            TreeView_DeleteAllItems(control);
        return CDRF_DODEFAULT;
    };
    InvalidateRect(tree, nullptr, TRUE);
    pump();
    EXPECT_EQ(TreeView_GetCount(tree), 0u);
}

}  // namespace
}  // namespace controls_test
