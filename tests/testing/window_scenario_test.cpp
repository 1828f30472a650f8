// A small program on the real window manager, driven like a user drives it: its window found,
// painted, tapped; a question answered; a modal dialog opened, a box inside it answered, closed.
#include "win32.h"
#include "win32/dialog_template.h"

#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/testing/scenario.h"
#include "platform/testing/script.h"
#include "platform/testing/windows.h"
#include "platform/ui/window_manager.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

constexpr WORD questionDialogId = 100;
std::vector<std::string> programLog;

INT_PTR CALLBACK questionDialog(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_LBUTTONUP) {
        const int answer = MessageBoxW(dialog, u"Закрыть диалог?", u"ВНУТРИ", MB_OKCANCEL | MB_ICONEXCLAMATION);
        if (answer == IDOK) EndDialog(dialog, 55);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK testWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &client, red);
        DeleteObject(red);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_LBUTTONUP: {
        const int y = static_cast<short>(HIWORD(lParam));
        if (y < 150) {
            if (MessageBoxW(window, u"Сохранить?", u"ВОПРОС", MB_YESNO | MB_ICONQUESTION) == IDYES)
                SetWindowTextW(window, u"Сохранено");
        } else {
            const INT_PTR result = DialogBoxParamW(emu::programInstance(), MAKEINTRESOURCEW(questionDialogId), window,
                                                   questionDialog, 0);
            programLog.push_back("dialog " + std::to_string(result));
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(4);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

const DialogTemplate questionTemplate = {DIALOG_TEMPLATE_SIGNATURE, WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 10, 10, 100, 60,
                                         u"Диалог", nullptr, 0, nullptr, nullptr, 0};
const emu::ResourceEntry testResources[] = {
    {RT_DIALOG, MAKEINTRESOURCEW(questionDialogId), &questionTemplate, sizeof questionTemplate},
};

int testProgram()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = testWindow;
    windowClass.hInstance = emu::programInstance();
    windowClass.lpszClassName = u"ScenarioWindow";
    if (!RegisterClassW(&windowClass)) return -1;
    HWND window = CreateWindowExW(0, u"ScenarioWindow", u"Тест", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                                  nullptr, emu::programInstance(), nullptr);
    if (!window) return -2;
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

class WindowScenario : public ::testing::Test {
protected:
    void SetUp() override {
        ui::resetWindowManager();
        gdi::resizeScreen(240, 320);
        emu::registerResources(testResources, 1);
        programLog.clear();
    }
    void TearDown() override { ui::resetWindowManager(); }

    driver::ScenarioSettings settings() {
        driver::ScenarioSettings s;
        s.watchdogSeconds = 20;
        s.reportFailure = [](const std::string& message) { ADD_FAILURE() << message; };
        return s;
    }
};

TEST_F(WindowScenario, TapAQuestionAnswerItAndEndTheProgram) {
    const driver::ScenarioResult result = driver::runScenario(testProgram, [] {
        HWND window = driver::findWindow(u"scenariowindow", u"Тест");
        ASSERT_NE(window, nullptr) << "class names match case-insensitively";
        EXPECT_EQ(driver::findWindow(u"", u"Нет такого"), nullptr);
        EXPECT_EQ(gdi::screen().pixels[100 * 240 + 120], 0xFF0000u) << "painted before the first idle moment";

        driver::tap(120, 100);
        const std::optional<driver::BoxRecord> box = driver::openBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->caption, u"ВОПРОС");
        EXPECT_EQ(box->text, u"Сохранить?");
        EXPECT_EQ(box->owner, window);
        EXPECT_EQ(box->style & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION));
        driver::answerBox(IDYES);
        EXPECT_EQ(driver::windowText(window), u"Сохранено");

        driver::pressKey(VK_ESCAPE);
        EXPECT_TRUE(driver::programEnded());
    }, settings());
    EXPECT_EQ(result.exitCode, 4);
}

TEST_F(WindowScenario, ABoxInsideAModalDialogIsAnsweredInReadingOrder) {
    const driver::ScenarioResult result = driver::runScenario(testProgram, [] {
        driver::tap(120, 200);
        HWND dialog = driver::findWindow(u"", u"Диалог");
        ASSERT_NE(dialog, nullptr) << "the body acts inside the dialog's own loop";
        RECT frame;
        GetWindowRect(dialog, &frame);
        RECT client;
        GetClientRect(dialog, &client);
        POINT centre = {client.right / 2, client.bottom / 2};
        ClientToScreen(dialog, &centre);

        driver::tap(centre.x, centre.y);
        ASSERT_TRUE(driver::openBox());
        EXPECT_EQ(driver::openBox()->caption, u"ВНУТРИ");
        driver::answerBox(IDCANCEL);
        EXPECT_NE(driver::findWindow(u"", u"Диалог"), nullptr) << "cancel keeps the dialog";
        EXPECT_TRUE(programLog.empty());

        driver::tap(centre.x, centre.y);
        driver::answerBox(IDOK);
        EXPECT_EQ(driver::findWindow(u"", u"Диалог"), nullptr);
        EXPECT_THAT(programLog, ElementsAre("dialog 55"));
        driver::quitProgram();
    }, settings());
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_EQ(driver::boxes().size(), 2u);
}

TEST_F(WindowScenario, AScriptChecksWindowsAndBoxes) {
    driver::Script script;
    std::string error;
    ASSERT_EQ(driver::parseScript("expect-window ScenarioWindow|Тест\n"
                                  "tap 120 100\n"
                                  "expect-box ВОПРОС|Сохранить?\n"
                                  "answer IDNO\n"
                                  "expect-window |Тест\n"
                                  "expect-window |Сохранено\n",
                                  script, error),
              0)
        << error;
    driver::ScriptSettings settings;
    settings.windowExists = [](std::u16string_view windowClass, std::u16string_view caption) {
        return driver::findWindow(windowClass, caption) != nullptr;
    };
    settings.scenario.watchdogSeconds = 20;
    const driver::ScriptOutcome outcome = driver::runScript(script, testProgram, settings);
    EXPECT_EQ(outcome.error, "line 6: expected a window \"|Сохранено\", there is none");
    EXPECT_EQ(outcome.exitCode, 4) << "the program is closed after the failure";
}

}  // namespace
