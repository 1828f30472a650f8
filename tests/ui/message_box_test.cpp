// The drawn message box: its buttons answered with the keys and the stylus, its owner disabled
// while it is open, its icon drawn, and the routing of MessageBoxW (a test driver's handler first,
// the drawn box with a presenter, standard error without one).
#include "tests/ui/ui_fixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace ui_test {
namespace {

class MessageBoxTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ui::setPresenterActive(true);
        main = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
        pump();
    }
    void TearDown() override
    {
        ui::setPresenterActive(false);
        UiTest::TearDown();
    }

    static HWND box() { return FindWindowW(u"#MessageBox", nullptr); }
    static void key(UINT k)
    {
        ui::keyDown(k);
        ui::keyUp(k);
    }
    // Answers the next box with the given keys (one idle moment each).
    void keys(std::initializer_list<UINT> list)
    {
        for (UINT k : list)
            whenIdle([k] { key(k); });
    }
    // How many pixels of the box are close to the colour.
    static int pixelsLike(COLORREF colour)
    {
        RECT r;
        GetWindowRect(box(), &r);
        int count = 0;
        const gdi::Framebuffer& fb = gdi::screen();
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const uint32_t p = fb.pixels[static_cast<size_t>(y * fb.width + x)];
                const int dr = static_cast<int>((p >> 16) & 0xFF) - GetRValue(colour);
                const int dg = static_cast<int>((p >> 8) & 0xFF) - GetGValue(colour);
                const int db = static_cast<int>(p & 0xFF) - GetBValue(colour);
                if (dr * dr + dg * dg + db * db < 30 * 30)
                    ++count;
            }
        return count;
    }

    HWND main = nullptr;
};

TEST_F(MessageBoxTest, EnterAnswersTheDefaultButton)
{
    keys({VK_RETURN});
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO | MB_ICONQUESTION), IDYES);
    keys({VK_RETURN});
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
    keys({VK_RETURN});
    EXPECT_EQ(MessageBoxW(main, u"Готово", u"Сообщение", MB_OK), IDOK);
    EXPECT_EQ(stepsLeft(), 0u);
}

TEST_F(MessageBoxTest, TheArrowsAndTabMoveBetweenTheButtons)
{
    keys({VK_RIGHT, VK_RETURN});
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO), IDNO);
    keys({VK_LEFT, VK_RETURN});
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO | MB_DEFBUTTON2), IDYES);
    keys({VK_TAB, VK_TAB, VK_RETURN});
    EXPECT_EQ(MessageBoxW(main, u"Сохранить?", u"ВОПРОС", MB_YESNOCANCEL), IDCANCEL);
    // Moving past the last button comes round to the first.
    keys({VK_RIGHT, VK_RIGHT, VK_RETURN});
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO), IDYES);
}

TEST_F(MessageBoxTest, EscapeCancelsWhereThereIsCancelAndIsOkInAnOkBox)
{
    keys({VK_ESCAPE});
    EXPECT_EQ(MessageBoxW(main, u"Нет файла", u"Ошибка", MB_OK | MB_ICONSTOP), IDOK);
    keys({VK_ESCAPE});
    EXPECT_EQ(MessageBoxW(main, u"Продолжить?", u"ВОПРОС", MB_OKCANCEL), IDCANCEL);
    // A Yes/No box has no cancel: Escape leaves it open.
    keys({VK_ESCAPE, VK_RIGHT, VK_RETURN});
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO), IDNO);
}

TEST_F(MessageBoxTest, AButtonsLetterAnswersIt)
{
    whenIdle([] { ui::character(u'н'); });
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO), IDNO);
    whenIdle([] { ui::character(u'Д'); });
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO | MB_DEFBUTTON2), IDYES);
}

TEST_F(MessageBoxTest, TheStylusPressesTheButtonItIsLiftedOn)
{
    auto tapButton = [](bool right, bool liftOutside) {
        RECT r;
        GetWindowRect(box(), &r);
        const int centre = (r.left + r.right) / 2;
        const int x = right ? centre + 30 : centre - 30;
        const int y = r.bottom - 1 - 8 - 11;
        ui::stylusDown(x, y);
        if (liftOutside) {
            ui::stylusMove(x, r.top + 5);
            ui::stylusUp(x, r.top + 5);
        } else {
            ui::stylusUp(x, y);
        }
    };
    whenIdle([&] { tapButton(true, false); });
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO), IDNO);
    whenIdle([&] { tapButton(true, true); });  // slid off: nothing
    whenIdle([&] { tapButton(false, false); });
    EXPECT_EQ(MessageBoxW(main, u"Удалить?", u"ВОПРОС", MB_YESNO), IDYES);
    // A tap outside the box does not reach the disabled owner.
    clearLog();
    whenIdle([] { ui::stylusDown(2, 2); ui::stylusUp(2, 2); });
    whenIdle([] { key(VK_RETURN); });
    EXPECT_EQ(MessageBoxW(main, u"Готово", u"Сообщение", MB_OK), IDOK);
    EXPECT_THAT(only({WM_LBUTTONDOWN, WM_LBUTTONUP}), ElementsAre());
}

TEST_F(MessageBoxTest, TheOwnerIsDisabledWhileTheBoxIsOpenAndActiveAgainAfter)
{
    bool enabledMeanwhile = true;
    HWND boxSeen = nullptr;
    HWND ownerSeen = nullptr;
    whenIdle([&] {
        enabledMeanwhile = IsWindowEnabled(main) != FALSE;
        boxSeen = box();
        ownerSeen = GetWindow(boxSeen, GW_OWNER);
        EXPECT_EQ(GetActiveWindow(), boxSeen);
        key(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxW(main, u"Готово", u"Сообщение", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_NE(boxSeen, nullptr);
    EXPECT_EQ(ownerSeen, main);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_FALSE(IsWindow(boxSeen));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(GetFocus(), main);
}

TEST_F(MessageBoxTest, ABoxInsideABoxHandlerIsAnsweredFirst)
{
    std::vector<int> answers;
    handlers["main"] = [&](HWND window, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != WM_USER)
            return false;
        answers.push_back(MessageBoxW(window, u"Внутри", u"Второй", MB_YESNO));
        return true;
    };
    whenIdle([&] { PostMessageW(main, WM_USER, 0, 0); });  // behind the first box
    whenIdle([] { key(VK_RIGHT); });
    whenIdle([] { key(VK_RETURN); });  // the inner box: No
    whenIdle([] { key(VK_RETURN); });  // the outer box: OK
    answers.push_back(MessageBoxW(main, u"Снаружи", u"Первый", MB_OK));
    EXPECT_THAT(answers, ElementsAre(IDNO, IDOK));
    EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(MessageBoxTest, IconsAreDrawnInTheirColoursAndNoIconDrawsNone)
{
    const COLORREF red = RGB(204, 0, 0), blue = RGB(0, 90, 190), yellow = RGB(250, 200, 0);
    struct Case {
        UINT style;
        COLORREF colour;
    };
    for (const Case c : {Case{MB_ICONSTOP, red}, Case{MB_ICONHAND, red}, Case{MB_ICONQUESTION, blue},
                         Case{MB_ICONINFORMATION, blue}, Case{MB_ICONEXCLAMATION, yellow}}) {
        int seen = 0;
        whenIdle([&] {
            seen = pixelsLike(c.colour);
            key(VK_RETURN);
        });
        MessageBoxW(main, u"Текст", u"Заголовок", MB_OK | c.style);
        EXPECT_GT(seen, 300) << "style " << c.style;
    }
    int colours = 0;
    whenIdle([&] {
        colours = pixelsLike(red) + pixelsLike(yellow);
        key(VK_RETURN);
    });
    MessageBoxW(main, u"Текст", u"Заголовок", MB_OK);
    EXPECT_EQ(colours, 0);
}

TEST_F(MessageBoxTest, TheBoxIsCentredOnTheScreenAndTopmostWhenAsked)
{
    RECT r{};
    DWORD exStyle = 0;
    whenIdle([&] {
        GetWindowRect(box(), &r);
        exStyle = static_cast<DWORD>(GetWindowLongW(box(), GWL_EXSTYLE));
        key(VK_RETURN);
    });
    MessageBoxW(main, u"Очень длинный текст сообщения, который не помещается в одну строку на маленьком экране",
                u"Заголовок", MB_OK | MB_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_NEAR((r.left + r.right) / 2, 120, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, 160, 1);
    EXPECT_LE(r.right - r.left, 240);
    EXPECT_GE(r.left, 0);
    whenIdle([&] {
        exStyle = static_cast<DWORD>(GetWindowLongW(box(), GWL_EXSTYLE));
        key(VK_RETURN);
    });
    MessageBoxW(main, u"Текст", u"Заголовок", MB_OK);
    EXPECT_FALSE(exStyle & WS_EX_TOPMOST);
}

TEST_F(MessageBoxTest, AHandlerInstalledFirstSeesEveryBox)
{
    ui::setPresenterActive(false);
    std::vector<std::u16string> seen;
    emu::MessageBoxHandler previous =
        emu::setMessageBoxHandler([&](HWND, std::u16string_view text, std::u16string_view, UINT) {
            seen.emplace_back(text);
            return IDNO;
        });
    ui::setPresenterActive(true);
    EXPECT_EQ(MessageBoxW(main, u"Вопрос", u"ВОПРОС", MB_YESNO), IDNO);
    EXPECT_EQ(box(), nullptr);
    ui::setPresenterActive(false);
    // Turning the presenter off keeps the driver's handler too.
    EXPECT_EQ(MessageBoxW(main, u"Ещё", u"ВОПРОС", MB_YESNO), IDNO);
    emu::setMessageBoxHandler(std::move(previous));
    EXPECT_THAT(seen, ElementsAre(u"Вопрос", u"Ещё"));
}

TEST_F(MessageBoxTest, WithoutAPresenterTheBoxIsALineAndTheDefaultAnswer)
{
    ui::setPresenterActive(false);
    EXPECT_FALSE(ui::presenterActive());
    ::testing::internal::CaptureStderr();
    const int answer = MessageBoxW(main, u"Нет места", u"ОШИБКА", MB_YESNO | MB_DEFBUTTON2);
    const std::string written = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(written, emu::toUtf8(u"ОШИБКА: Нет места\n"));
    ui::setPresenterActive(true);
    EXPECT_TRUE(ui::presenterActive());
}

TEST_F(MessageBoxTest, ANullOwnerDisablesNothing)
{
    bool enabled = false;
    whenIdle([&] {
        enabled = IsWindowEnabled(main) != FALSE;
        key(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Текст", u"Заголовок", MB_OK), IDOK);
    EXPECT_TRUE(enabled);
}

} // namespace
} // namespace ui_test
