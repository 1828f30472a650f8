#include "platform/controls/text_order.h"
#include "tests/controls/control_fixture.h"

namespace controls_test {
namespace {

constexpr int listId = 1004;

class ListBoxTest : public ControlTest {
protected:
    HWND list = nullptr;

    HWND makeList(DWORD style)
    {
        list = create(WC_LISTBOXW, style, listId, 0, 0, 240, 160);
        return list;
    }

    LRESULT add(const char16_t* text)
    {
        return SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }

    std::u16string line(int index)
    {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0)
            return u"<err>";
        std::u16string text(static_cast<size_t>(length) + 1, u'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return text;
    }

    int itemHeight()
    {
        return static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    }

    void tapLine(int index)
    {
        RECT r{};
        ASSERT_EQ(SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)), 0);
        tap(list, r.left + 20, (r.top + r.bottom) / 2);
    }
};

TEST(ListTextOrder, SymbolsThenDigitsThenLatinThenCyrillicIgnoringCase)
{
    using controls::compareListText;
    EXPECT_LT(compareListText(u"<<выбрать тему>>", u"1 мая"), 0);
    EXPECT_LT(compareListText(u"1 мая", u"Zoo"), 0);
    EXPECT_LT(compareListText(u"Zoo", u"аптека"), 0);
    EXPECT_EQ(compareListText(u"АПТЕКА", u"аптека"), 0);
    EXPECT_LT(compareListText(u"ель", u"ёлка"), 0);
    EXPECT_LT(compareListText(u"ёлка", u"жук"), 0);
    EXPECT_LT(compareListText(u"Банк", u"банки"), 0);
    // Word sort: a hyphen or an apostrophe does not part a word from its neighbours.
    EXPECT_LT(compareListText(u"Интернетклуб", u"Интернет-магазин"), 0);
    EXPECT_GT(compareListText(u"Санкт-Петербург", u"Санкта"), 0);
    EXPECT_LT(compareListText(u"Coop", u"Co-op"), 0);
    EXPECT_GT(compareListText(u"Co-op", u"Coop"), 0);
    EXPECT_LT(compareListText(u"Д'Артаньян", u"Дом"), 0);
    EXPECT_EQ(compareListText(u"ИНТЕРНЕТ-АДРЕС", u"интернет-адрес"), 0);
    EXPECT_LT(compareListText(u"-", u"--"), 0);
}

TEST_F(ListBoxTest, SortedListInsertsInTheDevicesOrderAndFindsPrefixes)
{
    makeList(LBS_NOTIFY | LBS_SORT | WS_VSCROLL);
    EXPECT_EQ(add(u"кафе"), 0);
    EXPECT_EQ(add(u"Аптека"), 0);
    EXPECT_EQ(add(u"<<выбрать тему>>"), 0);
    EXPECT_EQ(add(u"БАНК"), 2);
    EXPECT_EQ(add(u"аптека"), 2);  // an equal line goes after the one already there
    EXPECT_EQ(line(1), u"Аптека");
    EXPECT_EQ(line(2), u"аптека");
    EXPECT_EQ(line(4), u"кафе");

    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"АПТ")), 1);
    // The search starts after the given line and wraps round.
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, 1, reinterpret_cast<LPARAM>(u"апт")), 2);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, 2, reinterpret_cast<LPARAM>(u"апт")), 1);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"Ба")), 3);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"кафес")), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"БАНК")), 3);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"БАН")), LB_ERR);
}

TEST_F(ListBoxTest, UnsortedListKeepsTheOrderGivenAndInsertsWhereAsked)
{
    makeList(LBS_NOTIFY);
    add(u"Я");
    add(u"А");
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(u"М")), 1);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"Ц")), 3);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"Х")), LB_ERR);
    EXPECT_EQ(line(0), u"Я");
    EXPECT_EQ(line(1), u"М");
    EXPECT_EQ(line(2), u"А");
    EXPECT_EQ(line(3), u"Ц");
}

TEST_F(ListBoxTest, FullListAnswersErrSpaceAndTellsTheParent)
{
    makeList(LBS_NOTIFY);
    emu::setListCapacity(3);
    EXPECT_EQ(add(u"1"), 0);
    EXPECT_EQ(add(u"2"), 1);
    EXPECT_EQ(add(u"3"), 2);
    EXPECT_EQ(add(u"4"), LB_ERRSPACE);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"0")), LB_ERRSPACE);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(received, (std::vector<Received>{command(listId, LBN_ERRSPACE), command(listId, LBN_ERRSPACE)}));
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(add(u"4"), 2);
}

TEST_F(ListBoxTest, ItemDataAndBadIndexesAnswerAsTheDeviceDoes)
{
    makeList(LBS_NOTIFY);
    add(u"один");
    add(u"два");
    EXPECT_TRUE(SendMessageW(list, LB_SETITEMDATA, 1, static_cast<LPARAM>(0x1234)));
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 0x1234);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 2, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETITEMDATA, 5, 1), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 7, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 2, 0), LB_ERR);

    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 1, 0), 1);
    // -1 clears the selection and still answers LB_ERR.
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_TRUE(received.empty());  // the program's own changes are not reported

    // Deleting a line before the selection moves the selection with its line.
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    SendMessageW(list, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    SendMessageW(list, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxTest, LinesKeepTheirTextsAndDataThroughManyDeletionsAndInsertions)
{
    makeList(LBS_NOTIFY | LBS_SORT);
    const auto name = [](int i) {
        std::u16string text = u"фирма ";
        for (int n = i; n > 0 || text.size() < 12; n /= 10)
            text.push_back(static_cast<char16_t>(u'0' + n % 10));
        return text + u", Невский пр., " + std::u16string(static_cast<size_t>(i % 5), u'д');
    };
    for (int i = 0; i < 400; ++i) {
        const std::u16string text = name(i);
        const LRESULT at = add(text.c_str());
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(at), i);
    }
    // Most lines deleted, the others' texts and values stay with them.
    for (int line = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)) - 1; line >= 0; --line)
        if (SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0) % 4 != 0)
            SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(line), 0);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 100);
    for (int line = 0; line < 100; ++line) {
        const auto value = static_cast<int>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0));
        EXPECT_EQ(value % 4, 0);
        EXPECT_EQ(this->line(line), name(value));
    }
    // Added again, sorted among the kept ones and found.
    add(name(401).c_str());
    const std::u16string wanted = name(401);
    const LRESULT found = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wanted.c_str()));
    ASSERT_NE(found, LB_ERR);
    EXPECT_EQ(line(static_cast<int>(found)), wanted);
    EXPECT_LT(line(static_cast<int>(found) - 1), wanted);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    add(u"одна");
    EXPECT_EQ(line(0), u"одна");
}

TEST_F(ListBoxTest, TapSelectsAndReportsEvenWhenTheLineWasSelected)
{
    makeList(LBS_NOTIFY | WS_VSCROLL);
    add(u"Аптека");
    add(u"Банк");
    pump();
    tapLine(1);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(received, std::vector<Received>{command(listId, LBN_SELCHANGE)});

    received.clear();
    tapLine(1);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.front(), command(listId, LBN_SELCHANGE));
}

TEST_F(ListBoxTest, ListWithoutNotifyStaysSilent)
{
    makeList(WS_VSCROLL);
    add(u"Аптека");
    pump();
    tapLine(0);
    key(VK_DOWN);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(received.empty());
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndReportOnlyChanges)
{
    makeList(LBS_NOTIFY);
    add(u"1");
    add(u"2");
    SetFocus(list);
    pump();
    received.clear();
    key(VK_DOWN);  // nothing selected: the first line
    key(VK_DOWN);
    key(VK_DOWN);  // at the end: no change
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(received, (std::vector<Received>{command(listId, LBN_SELCHANGE), command(listId, LBN_SELCHANGE)}));
}

TEST_F(ListBoxTest, DraggingScrollsWithoutSelectingAndTheTopStopsAtTheLastPage)
{
    makeList(LBS_NOTIFY | WS_VSCROLL);
    for (int i = 0; i < 50; ++i) {
        std::u16string text = u"Строка " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        add(text.c_str());
    }
    pump();
    int rows = 160 / itemHeight();
    press(list, 50, 140);
    drag(list, 50, 100);
    drag(list, 50, 140 - 3 * itemHeight());
    release(list, 50, 140 - 3 * itemHeight());
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_TRUE(received.empty());

    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 49, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 50 - rows);
    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 50, 0), LB_ERR);

    // Selecting a line out of view brings it into view.
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ListBoxTest, LinesAddedBelowTheShownOnesRepaintOnlyTheScrollBar)
{
    makeList(LBS_NOTIFY | WS_VSCROLL);
    const int rows = 160 / itemHeight();
    RECT dirty{};
    // A short list filled while it paints: a line added last draws only itself.
    for (int i = 0; i < 3; ++i)
        add(u"строка");
    pump();
    add(u"четвёртая");
    ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
    EXPECT_EQ(dirty.top, 3 * itemHeight());
    pump();
    for (int i = 4; i < rows + 5; ++i)
        add(u"строка");
    pump();
    EXPECT_FALSE(GetUpdateRect(list, &dirty, FALSE));

    // A long list growing while it paints: the lines shown stay as they are drawn.
    add(u"ещё одна");
    ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
    EXPECT_GE(dirty.left, 240 - 16) << "only the bar at the right edge";
    pump();

    // Once the thumb is as small as it gets and stays at the top, a line more changes nothing
    // drawn; a scrolled list's thumb moves up with every few lines and is drawn again.
    for (int i = 0; i < 2000; ++i)
        add(u"строка");
    pump();
    add(u"ещё одна");
    EXPECT_FALSE(GetUpdateRect(list, &dirty, FALSE));
    SendMessageW(list, LB_SETTOPINDEX, 1500, 0);
    pump();
    int redrawn = 0;
    for (int i = 0; i < 50; ++i) {
        add(u"строка");
        redrawn += GetUpdateRect(list, &dirty, FALSE) ? 1 : 0;
        pump();
    }
    EXPECT_GT(redrawn, 0);
    EXPECT_LT(redrawn, 50);

    // A line inserted among the shown ones redraws the lines from it down; the bar appearing
    // redraws them all.
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    pump();
    SendMessageW(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(u"вставка"));
    ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
    EXPECT_EQ(dirty.left, 0);
    EXPECT_EQ(dirty.top, itemHeight());
    EXPECT_GE(dirty.bottom, rows * itemHeight());
    pump();
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < rows; ++i)
        add(u"строка");
    pump();
    add(u"первая лишняя");
    ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
    EXPECT_EQ(dirty.left, 0) << "the bar takes room from the lines";
}

TEST_F(ListBoxTest, AWiderExtentRedrawsOnlyTheBarsNeverTheLines)
{
    makeList(LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL);
    for (int i = 0; i < 5; ++i)
        add(u"строка");
    pump();
    RECT dirty{};
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 100, 0);
    EXPECT_FALSE(GetUpdateRect(list, &dirty, FALSE)) << "narrower than the list: nothing changes";
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 400, 0);
    ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
    EXPECT_GE(dirty.top, 160 - 16) << "the bar appears in a strip the lines leave as they are";
    pump();
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 500, 0);
    ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
    EXPECT_GE(dirty.top, 160 - 16) << "only the bar at the bottom edge";
    EXPECT_GT(dirty.left, 0) << "only its thumb";
    pump();
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 500, 0);
    EXPECT_FALSE(GetUpdateRect(list, &dirty, FALSE));
    // Scrolled sideways, a narrower extent pulls the lines back: they are drawn again.
    tap(list, 180, 160 - 6);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 250, 0);
    ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
    EXPECT_EQ(dirty.top, 0);
}

// The list as it is on the screen, and as it is once painted whole again.
std::vector<uint32_t> listPixels(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    const gdi::Framebuffer& screen = gdi::screen();
    std::vector<uint32_t> pixels;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            pixels.push_back(screen.pixels[static_cast<size_t>(y * screen.width + x)]);
    return pixels;
}

TEST_F(ListBoxTest, AListFilledWhileItPaintsLooksAsWhenPaintedWhole)
{
    makeList(LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | WS_BORDER);
    const auto paintedWhole = [this] {
        InvalidateRect(list, nullptr, TRUE);
        pump();
        return listPixels(list);
    };
    // Lines added one by one with a paint between them, the extent widening as a measuring fill
    // widens it: the vertical bar appears, then the horizontal one, and the thumb shrinks and
    // moves; a selected line and a scrolled list among them.
    const std::u16string words[] = {u"Аптека", u"Аптека «Здоровье», Невский пр., 12", u"Кафе", u"Ресторан и бар"};
    int extent = 0;
    for (int i = 0; i < 160; ++i) {
        const std::u16string text = words[i % 4] + u" " + std::u16string(static_cast<size_t>(i % 7), u'ж');
        add(text.c_str());
        const int width = 7 * static_cast<int>(text.size());
        if (i > 12 && width > extent) {
            extent = width;
            SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
        }
        if (i == 3)
            SendMessageW(list, LB_SETCURSEL, 2, 0);
        if (i == 90)
            SendMessageW(list, LB_SETTOPINDEX, 40, 0);
        pump();
        if (i == 2 || i == 9 || i == 10 || i == 14 || i == 40 || i == 100 || i == 159) {
            const std::vector<uint32_t> filled = listPixels(list);
            EXPECT_EQ(filled, paintedWhole()) << "after line " << i;
        }
    }
    // The horizontal bar goes again: the strip it leaves shows the lines.
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 10, 0);
    pump();
    const std::vector<uint32_t> narrowed = listPixels(list);
    EXPECT_EQ(narrowed, paintedWhole());

    // A list just filling its height: the horizontal bar takes a line's room, and both bars and
    // their corner appear at once.
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 0, 0);
    for (int i = 0; i < (160 - 2) / itemHeight(); ++i)
        add(words[i % 4].c_str());
    pump();
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 500, 0);
    pump();
    const std::vector<uint32_t> bothBars = listPixels(list);
    EXPECT_EQ(bothBars, paintedWhole());
}

TEST_F(ListBoxTest, ScrollBarArrowScrollsOneLine)
{
    makeList(LBS_NOTIFY | WS_VSCROLL);
    for (int i = 0; i < 30; ++i)
        add(u"строка");
    pump();
    tap(list, 240 - 5, 160 - 5);  // the down arrow at the foot of the bar
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 1);
    EXPECT_TRUE(received.empty());
}

TEST_F(ListBoxTest, MultiColumnListPlacesLinesInColumns)
{
    makeList(LBS_NOTIFY | LBS_SORT | LBS_MULTICOLUMN);
    int height = itemHeight();
    MoveWindow(list, 0, 0, 240, 2 * height, TRUE);
    SendMessageW(list, LB_SETCOLUMNWIDTH, 30, 0);
    for (const char16_t* pair : {u"АА", u"АБ", u"ВА", u"ГД", u"ЕЖ"})
        add(pair);
    pump();
    RECT third{};
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    EXPECT_EQ(third.left, 30);
    EXPECT_EQ(third.top, 0);
    tap(list, 35, height + height / 2);  // second column, second row
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(received, std::vector<Received>{command(listId, LBN_SELCHANGE)});
}

TEST_F(ListBoxTest, QuickSecondTapOnTheSameLineIsADoubleTapUnlessTheLinesMoved)
{
    makeList(LBS_NOTIFY | WS_VSCROLL);
    add(u"Аптека");
    add(u"Банк");
    pump();
    tapLine(0);
    received.clear();
    tapLine(0);
    EXPECT_EQ(received, (std::vector<Received>{command(listId, LBN_SELCHANGE), command(listId, LBN_DBLCLK)}));

    // The tap after a double tap starts over.
    received.clear();
    tapLine(0);
    EXPECT_EQ(received, std::vector<Received>{command(listId, LBN_SELCHANGE)});

    // A line inserted above puts another line under the stylus: no double tap on it.
    SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"Вокзал"));
    pump();
    received.clear();
    tapLine(0);
    EXPECT_EQ(received, std::vector<Received>{command(listId, LBN_SELCHANGE)});
    EXPECT_EQ(line(SendMessageW(list, LB_GETCURSEL, 0, 0)), u"Вокзал");
}

TEST_F(ListBoxTest, TypedLetterSelectsTheNextLineThatBeginsWithIt)
{
    makeList(LBS_NOTIFY | LBS_SORT);
    for (const char16_t* text : {u"Аптека", u"Банк", u"бар", u"Вокзал"})
        add(text);
    SetFocus(list);
    pump();
    received.clear();
    type(u"б");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    type(u"Б");  // the next line with that letter
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    type(u"я");  // no line: nothing changes
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(received, (std::vector<Received>{command(listId, LBN_SELCHANGE), command(listId, LBN_SELCHANGE)}));
}

TEST_F(ListBoxTest, FocusIsReportedOnlyByNotifyingLists)
{
    keepAll = true;
    makeList(LBS_NOTIFY);
    HWND quiet = create(WC_LISTBOXW, 0, 1030, 0, 170, 240, 60);
    SetFocus(list);
    SetFocus(quiet);
    EXPECT_EQ(received, (std::vector<Received>{command(listId, LBN_SETFOCUS), command(listId, LBN_KILLFOCUS)}));
}

TEST_F(ListBoxTest, WideLinesScrollSidewaysByBarAndByDrag)
{
    makeList(LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL);
    add(u"Гостиница Октябрьская, Лиговский пр., 10, подъезд 2, этаж 3");
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 600, 0);
    pump();
    RECT before{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&before));
    EXPECT_EQ(before.left, 0);

    tap(list, 240 - 5, 160 - 5);  // the right arrow of the lower bar (one line: no upright bar)
    RECT stepped{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&stepped));
    EXPECT_LT(stepped.left, 0);

    press(list, 150, 10);
    drag(list, 60, 10);
    release(list, 60, 10);
    RECT dragged{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&dragged));
    EXPECT_EQ(dragged.left, stepped.left - 90);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);

    // Never further than the extent allows.
    press(list, 230, 10);
    drag(list, 0, 10);
    drag(list, -200, 10);
    release(list, -200, 10);
    RECT far{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&far));
    EXPECT_EQ(far.left, -(600 - 240));
}

TEST_F(ListBoxTest, DraggingTheThumbScrollsInProportion)
{
    makeList(LBS_NOTIFY | WS_VSCROLL);
    for (int i = 0; i < 100; ++i)
        add(u"строка");
    pump();
    int rows = 160 / itemHeight();
    press(list, 240 - 6, scrollArrow + 3);  // on the thumb at the top
    drag(list, 240 - 6, 200);                              // past the foot of the bar
    release(list, 240 - 6, 200);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 100 - rows);
    EXPECT_TRUE(received.empty());
}

TEST_F(ListBoxTest, HeldArrowRepeatsAndHeldTrackStopsUnderTheStylus)
{
    makeList(LBS_NOTIFY | WS_VSCROLL);
    for (int i = 0; i < 100; ++i)
        add(u"строка");
    pump();
    // The repeat timer running out is what holding the stylus looks like to the control.
    constexpr WPARAM repeat = 2;
    press(list, 240 - 5, 160 - 5);  // the down arrow
    SendMessageW(list, WM_TIMER, repeat, 0);
    SendMessageW(list, WM_TIMER, repeat, 0);
    release(list, 240 - 5, 160 - 5);
    SendMessageW(list, WM_TIMER, repeat, 0);  // after release: nothing
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 3);

    // Holding the track pages towards the stylus and stops once the thumb is under it.
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    int rows = 160 / itemHeight();
    press(list, 240 - 6, 80);
    for (int i = 0; i < 40; ++i)
        SendMessageW(list, WM_TIMER, repeat, 0);
    release(list, 240 - 6, 80);
    int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_GT(top, 0);
    EXPECT_LT(top, 100 - rows);
    EXPECT_EQ(top % rows, 0);
    EXPECT_TRUE(received.empty());
}

}  // namespace
}  // namespace controls_test
