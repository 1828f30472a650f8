// The "DISPLAYCLASS" window as the screens use it: a pop-up owned by the screen, fed text and
// addresses, telling its owner of tapped links before following them, and scrolled by the
// stylus, the keys and its scroll bar.
#include "htmlview.h"

#include "page_fixture.h"
#include "platform/htmlview/view_place.h"
#include "platform/ui/window_manager.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

namespace htmlview_test {
namespace {

constexpr int viewTop = 26;
constexpr int viewHeight = 268;
constexpr int stripe = 50;

// Colour of the stripe pages: stripe i in its own shade of blue.
COLORREF stripeColour(int i)
{
    return RGB(0, i * 4, 255 - i * 4);
}

std::string colourText(COLORREF c)
{
    char text[8];
    snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

std::string stripes(int count)
{
    std::string page = "<body style=\"margin:0\">";
    for (int i = 0; i < count; ++i)
        page += "<div id=\"s" + std::to_string(i) + "\" style=\"height:" + std::to_string(stripe) +
                "px;background:" + colourText(stripeColour(i)) + "\"></div>";
    return page + "</body>";
}

std::string colouredPage(const std::string& colour, const std::string& body = "")
{
    return "<body style=\"margin:0;background:" + colour + "\"><div style=\"height:600px\">" + body + "</div></body>";
}

class ViewTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        ui::resetWindowManager();
        current = this;
        ASSERT_TRUE(InitHTMLControl(nullptr));
        ASSERT_TRUE(InitHTMLControl(nullptr)) << "a second initialisation also succeeds";
        WNDCLASSW wc{};
        wc.lpfnWndProc = ownerProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = u"HtmlViewOwner";
        RegisterClassW(&wc);
        owner = CreateWindowExW(0, u"HtmlViewOwner", u"", WS_POPUP | WS_VISIBLE, 0, viewTop, 240, 294, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        view = CreateWindowExW(0, WC_HTML, nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS, 0, viewTop, 240,
                               viewHeight, owner, nullptr, nullptr, nullptr);
        ASSERT_NE(view, nullptr);
        pump();
    }

    void TearDown() override
    {
        ui::resetWindowManager();
        current = nullptr;
        PageTest::TearDown();
    }

    static LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NOTIFY && current != nullptr) {
            const auto* notice = reinterpret_cast<const NM_HTMLVIEW*>(lParam);
            if (notice->hdr.code == NM_HOTSPOT && notice->hdr.hwndFrom == current->view) {
                current->targets.push_back(notice->szTarget != nullptr ? notice->szTarget : "(null)");
                return current->onLink ? current->onLink() : 0;
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void pump()
    {
        MSG msg{};
        for (int guard = 0; guard < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    void showText(const std::string& utf8, HWND target = nullptr)
    {
        std::string text = htmlview::utf8To1251(utf8);
        HWND to = target != nullptr ? target : view;
        SendMessageW(to, DTM_CLEAR, 0, 0);
        SendMessageW(to, DTM_ADDTEXT, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(to, DTM_ENDOFSOURCE, 0, 0);
        pump();
    }

    BOOL navigate(const std::string& address)
    {
        std::u16string wide = htmlview::utf8ToUtf16(address);
        BOOL shown = static_cast<BOOL>(SendMessageW(view, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(wide.c_str())));
        pump();
        return shown;
    }

    void tap(int x, int y)
    {
        SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        pump();
    }

    void drag(int x, int fromY, int toY)
    {
        SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, fromY));
        for (int step = 1; step <= 4; ++step)
            SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, fromY + (toY - fromY) * step / 4));
        SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(x, toY));
        pump();
    }

    void key(UINT code)
    {
        SendMessageW(view, WM_KEYDOWN, code, 0);
        pump();
    }

    // The screen pixel at a point of the view's client area.
    static COLORREF pixel(int x, int y)
    {
        const gdi::Framebuffer& fb = gdi::screen();
        uint32_t p = fb.pixels[static_cast<size_t>((y + viewTop) * fb.width + x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    // The stripe shown at the top of the view, or -1.
    static int stripeAtTop()
    {
        for (int i = 0; i < 100; ++i)
            if (pixel(10, 0) == stripeColour(i))
                return i;
        return -1;
    }

    static ViewTest* current;
    HWND owner = nullptr;
    HWND view = nullptr;
    std::vector<std::string> targets;
    std::function<LRESULT()> onLink;
};

ViewTest* ViewTest::current = nullptr;

// A link in the top left corner of the page, to `href`.
std::string linkPage(const std::string& colour, const std::string& href)
{
    return colouredPage(colour, "<a href=\"" + href + "\">ссылка</a>");
}

TEST_F(ViewTest, TheOwnerHearsOfALinkBeforeTheViewFollowsIt)
{
    std::string first = writePage("first.html", linkPage("#FF0000", "second.html"));
    writePage("second.html", colouredPage("#00FF00"));
    ASSERT_TRUE(navigate(first));
    EXPECT_EQ(pixel(100, 100), RGB(255, 0, 0));
    // As the screens do, the owner shows a page of its own while it handles the link; the
    // view's own navigation comes after it and replaces it.
    onLink = [this] {
        showText(colouredPage("#FFFF00", "Загружается"));
        return LRESULT{0};
    };
    tap(8, 6);
    ASSERT_EQ(targets, std::vector<std::string>{"second.html"});
    EXPECT_EQ(pixel(100, 100), RGB(0, 255, 0));
}

TEST_F(ViewTest, ALinkTheOwnerHandlesIsNotFollowed)
{
    std::string first = writePage("first.html", linkPage("#FF0000", "second.html"));
    writePage("second.html", colouredPage("#00FF00"));
    ASSERT_TRUE(navigate(first));
    onLink = [] { return LRESULT{1}; };
    tap(8, 6);
    EXPECT_EQ(targets.size(), 1u);
    EXPECT_EQ(pixel(100, 100), RGB(255, 0, 0));
    // A mail link is the owner's alone: the view has nowhere to go with it.
    onLink = nullptr;
    ASSERT_TRUE(navigate(writePage("mail.html", linkPage("#FF0000", "mailto:info@morvane.ru"))));
    tap(8, 6);
    EXPECT_EQ(targets.back(), "mailto:info@morvane.ru");
    EXPECT_EQ(pixel(100, 100), RGB(255, 0, 0));
}

TEST_F(ViewTest, TargetsReachTheOwnerInCodePage1251)
{
    ASSERT_TRUE(navigate(writePage("first.html", linkPage("#FFFFFF", "мосты.html"))));
    tap(8, 6);
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_EQ(targets[0], htmlview::utf8To1251("мосты.html"));
}

TEST_F(ViewTest, AnchorsScrollTheirElementToTheTop)
{
    showText("<a href=\"#s7\">7</a>" + stripes(20));
    EXPECT_EQ(stripeAtTop(), -1) << "the link line is above the stripes";
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("s3"));
    pump();
    EXPECT_EQ(stripeAtTop(), 3);
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("#s5"));
    pump();
    EXPECT_EQ(stripeAtTop(), 5);
    // An unknown name leaves the view where it is.
    EXPECT_FALSE(SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("nowhere")));
    pump();
    EXPECT_EQ(stripeAtTop(), 5);
    // Near the end, the page's last screen is as far as it goes.
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("s19"));
    pump();
    EXPECT_EQ(pixel(10, viewHeight - 1), stripeColour(19));
    // A "#name" link that nobody handles scrolls the view itself.
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("s0"));
    key(VK_HOME);
    tap(4, 6);
    EXPECT_EQ(targets, std::vector<std::string>{"#s7"});
    EXPECT_EQ(stripeAtTop(), 7);
}

TEST_F(ViewTest, AnAnchorAskedForBeforeTheEndOfSourceIsKept)
{
    std::string text = stripes(20);
    SendMessageW(view, DTM_CLEAR, 0, 0);
    SendMessageW(view, DTM_ADDTEXT, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("s4"));
    SendMessageW(view, DTM_ENDOFSOURCE, 0, 0);
    pump();
    EXPECT_EQ(stripeAtTop(), 4);
    // Clearing forgets it.
    SendMessageW(view, DTM_CLEAR, 0, 0);
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("s4"));
    SendMessageW(view, DTM_CLEAR, 0, 0);
    SendMessageW(view, DTM_ADDTEXT, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(view, DTM_ENDOFSOURCE, 0, 0);
    pump();
    EXPECT_EQ(stripeAtTop(), 0);
}

TEST_F(ViewTest, AnEmptyNamedAnchorStandsWhereTheNextElementBegins)
{
    // Help texts mark their sections with "<a name=...></a>" before a heading: the anchor has no box
    // of its own.
    std::string page = "<body style=\"margin:0\">";
    for (int i = 0; i < 12; ++i)
        page += "<a name=\"n" + std::to_string(i) + "\"></a><div style=\"height:" + std::to_string(stripe) +
                "px;background:" + colourText(stripeColour(i)) + "\"></div>";
    showText(page + "</body>");
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("n6"));
    pump();
    EXPECT_EQ(stripeAtTop(), 6);
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("#n2"));
    pump();
    EXPECT_EQ(stripeAtTop(), 2);
}

TEST_F(ViewTest, AddressesWithAnchorsAndRelativeAddresses)
{
    std::string page = writePage("stripes.html", stripes(20));
    ASSERT_TRUE(navigate(page + "#s6"));
    EXPECT_EQ(stripeAtTop(), 6);
    writePage("sub\\other.html", colouredPage("#00FF00"));
    ASSERT_TRUE(navigate("sub/other.html"));
    EXPECT_EQ(pixel(100, 100), RGB(0, 255, 0));
    ASSERT_TRUE(navigate("../stripes.html#s2"));
    EXPECT_EQ(stripeAtTop(), 2);
    // What cannot be read leaves the page shown, as does an address the view cannot go to.
    EXPECT_FALSE(navigate("missing.html"));
    EXPECT_FALSE(navigate("http://morvane.ru/"));
    EXPECT_FALSE(SendMessageW(view, DTM_NAVIGATE, 0, 0));
    EXPECT_EQ(stripeAtTop(), 2);
}

// What the test driver reads of the view: the page it went to and the anchor it jumped to last.
TEST_F(ViewTest, TheViewKnowsItsPageAndItsLastAnchor)
{
    auto place = [this] { return htmlview::viewPlace(view).value_or(htmlview::ViewPlace{"(none)", "(none)"}); };
    EXPECT_FALSE(htmlview::viewPlace(owner)) << "another class has no place";
    EXPECT_EQ(place().address, "");

    std::string page = writePage("stripes.html", stripes(20));
    ASSERT_TRUE(navigate(page + "#s6"));
    EXPECT_EQ(place().address, page) << "the page, its anchor apart";
    EXPECT_EQ(place().anchor, "s6");
    ASSERT_TRUE(navigate("../HTML/stripes.html"));
    EXPECT_EQ(place().address, page) << "a relative address as resolved";
    EXPECT_EQ(place().anchor, "") << "a new page starts without one";
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("#s3"));
    EXPECT_EQ(place().anchor, "s3");
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("nowhere"));
    EXPECT_EQ(place().anchor, "s3") << "an unknown name is no jump";
    EXPECT_FALSE(navigate("missing.html"));
    EXPECT_EQ(place().address, page) << "a page that cannot be read changes nothing";

    // A followed link: to a named place of the page (its name in Cyrillic), then to another page.
    std::string named = stripes(20);
    named.replace(named.find("id=\"s5\""), 7, "id=\"мост\"");
    std::string links =
        writePage("links.html", "<a href=\"#мост\">мост</a> <a href=\"sub/other.html\">дальше</a>" + named);
    writePage("sub\\other.html", colouredPage("#00FF00"));
    ASSERT_TRUE(navigate(links));
    tap(4, 6);
    EXPECT_EQ(stripeAtTop(), 5);
    EXPECT_EQ(place().anchor, "мост");
    key(VK_HOME);
    tap(60, 6);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(place().address, "file://\\" + std::string(pagesFolder) + "sub\\other.html");
    EXPECT_EQ(place().anchor, "");

    // Text added in place of a page has no address; its anchor counts once it is jumped to.
    SendMessageW(view, DTM_CLEAR, 0, 0);
    EXPECT_EQ(place().address, "");
    std::string text = stripes(20);
    SendMessageW(view, DTM_ADDTEXT, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>("s4"));
    EXPECT_EQ(place().anchor, "") << "not before the page is complete";
    SendMessageW(view, DTM_ENDOFSOURCE, 0, 0);
    EXPECT_EQ(place().anchor, "s4");
    ASSERT_TRUE(navigate(page));
    SendMessageW(view, DTM_ADDTEXT, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(place().address, "") << "text added without a clear is no longer the page";
}

TEST_F(ViewTest, TheStylusDragsThePageAndATapAfterADragIsNoLink)
{
    showText("<a href=\"#s9\" style=\"display:block;height:40px\">ссылка</a>" + stripes(20));
    drag(100, 200, 60);
    EXPECT_EQ(stripeAtTop(), 2) << "140 pixels down: 40 of the link and 100 of stripes";
    drag(100, 60, 200);
    EXPECT_EQ(stripeAtTop(), -1);
    // A drag that starts on the link does not activate it.
    drag(10, 10, 30);
    EXPECT_TRUE(targets.empty());
    // Dragging beyond either end stops there.
    drag(100, 10, 260);
    EXPECT_EQ(stripeAtTop(), -1);
    for (int i = 0; i < 8; ++i)
        drag(100, 260, 10);
    EXPECT_EQ(pixel(10, viewHeight - 1), stripeColour(19));
}

TEST_F(ViewTest, KeysAndTheScrollBarMoveThePage)
{
    showText(stripes(20));
    key(VK_DOWN);
    key(VK_DOWN);
    key(VK_DOWN);
    EXPECT_EQ(stripeAtTop(), 0);
    key(VK_NEXT);
    int afterPage = stripeAtTop();
    EXPECT_GE(afterPage, 4);
    key(VK_PRIOR);
    key(VK_PRIOR);
    EXPECT_EQ(stripeAtTop(), 0);
    key(VK_END);
    EXPECT_EQ(pixel(10, viewHeight - 1), stripeColour(19));
    key(VK_HOME);
    EXPECT_EQ(stripeAtTop(), 0);
    // The bar runs down the right edge; a tap low on its track moves a screen down.
    EXPECT_NE(pixel(236, 150), stripeColour(3));
    tap(235, viewHeight - 40);
    EXPECT_EQ(stripeAtTop(), viewHeight / stripe);
    // A short page needs no bar and does not scroll.
    showText(stripes(2));
    key(VK_END);
    EXPECT_EQ(stripeAtTop(), 0);
    EXPECT_EQ(pixel(236, 10), stripeColour(0));
}

TEST_F(ViewTest, TheOwnerMayDestroyTheViewWhileItHearsOfALink)
{
    ASSERT_TRUE(navigate(writePage("first.html", linkPage("#FF0000", "second.html"))));
    onLink = [this] {
        DestroyWindow(view);
        return LRESULT{0};
    };
    tap(8, 6);
    EXPECT_EQ(targets.size(), 1u);
    EXPECT_FALSE(IsWindow(view));
}

TEST_F(ViewTest, ScreenshotOfTheBridgeTimetable)
{
    std::ifstream in(std::string(DIR_SOURCE_DIR) + "/data/spb/html/bridges.html", std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_TRUE(navigate(writePage("bridges.html", text)));
    key(VK_DOWN);
    ASSERT_TRUE(gdi::savePng(gdi::screen(), "htmlview_view_bridges.png"));
}

} // namespace
} // namespace htmlview_test
