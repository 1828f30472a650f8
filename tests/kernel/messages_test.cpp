// The system's error texts (FormatMessageW) and message boxes without a window manager.
#include "emulator.h"
#include "win32.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::u16string systemText(DWORD error, DWORD flags = 0) {
    WCHAR buffer[512] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | flags, nullptr, error, 0, buffer, 512, nullptr);
    return std::u16string(buffer, n);
}

TEST(FormatMessage, SystemTextsAreRussianAndEndWithALineBreak) {
    EXPECT_EQ(systemText(ERROR_FILE_NOT_FOUND), u"Не удается найти указанный файл.\r\n");
    EXPECT_EQ(systemText(ERROR_PATH_NOT_FOUND), u"Системе не удается найти указанный путь.\r\n");
    EXPECT_EQ(systemText(ERROR_ACCESS_DENIED), u"Отказано в доступе.\r\n");
    EXPECT_EQ(systemText(ERROR_NOT_ENOUGH_MEMORY), u"Недостаточно памяти для обработки команды.\r\n");
    EXPECT_EQ(systemText(ERROR_SHARING_VIOLATION),
              u"Процесс не может получить доступ к файлу, так как этот файл занят другим процессом.\r\n");
    EXPECT_EQ(systemText(ERROR_MOD_NOT_FOUND), u"Не найден указанный модуль.\r\n");
    // Every error the layer raises has a text.
    for (DWORD error : {ERROR_INVALID_HANDLE, ERROR_SEEK, ERROR_READ_FAULT, ERROR_WRITE_FAULT, ERROR_INVALID_PARAMETER,
                        ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE, ERROR_NO_MORE_FILES, ERROR_NEGATIVE_SEEK,
                        ERROR_DISK_FULL, ERROR_DIR_NOT_EMPTY, ERROR_ALREADY_EXISTS, ERROR_FILE_EXISTS,
                        ERROR_TOO_MANY_OPEN_FILES, ERROR_INSUFFICIENT_BUFFER, ERROR_PROC_NOT_FOUND,
                        ERROR_NO_UNICODE_TRANSLATION, ERROR_INVALID_FLAGS, ERROR_RESOURCE_NAME_NOT_FOUND,
                        ERROR_RESOURCE_TYPE_NOT_FOUND, ERROR_OUTOFMEMORY, ERROR_GEN_FAILURE})
        EXPECT_GT(systemText(error).size(), 2u) << error;
}

TEST(FormatMessage, WidthLimitDropsTheLineBreakAndHresultsShareTheText) {
    EXPECT_EQ(systemText(ERROR_ACCESS_DENIED, FORMAT_MESSAGE_MAX_WIDTH_MASK), u"Отказано в доступе.");
    EXPECT_EQ(systemText(0x80070005u), u"Отказано в доступе.\r\n");
}

TEST(FormatMessage, AllocatedBufferIsALocalBlock) {
    LPWSTR text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
                                   ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::u16string(text), u"Не удается найти указанный файл.\r\n");
    EXPECT_EQ(n, std::u16string(text).size());
    EXPECT_GE(LocalSize(text), (n + 1) * sizeof(WCHAR));
    EXPECT_EQ(LocalFree(text), nullptr);
}

TEST(FormatMessage, UnknownNumbersSmallBuffersAndOtherSourcesAreRefused) {
    WCHAR buffer[8];
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 99999, 0, buffer, 8, nullptr), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MR_MID_NOT_FOUND});
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, 8, nullptr), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_STRING, u"x", 0, 0, buffer, 8, nullptr), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

TEST(MessageBoxes, WithoutAHandlerTheBoxIsOneLineOnStandardError) {
    const emu::MessageBoxHandler previous = emu::setMessageBoxHandler({});
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, u"Файл базы данных поврежден !?", u"ОШИБКА", MB_OK | MB_ICONSTOP), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, u"Продолжить?", u"ВОПРОС", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, u"текст", nullptr, MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "\xCF\xF0\xE8\xE2\xE5\xF2", "\xCF\xD0\xCE\xC1\xC0", MB_RETRYCANCEL), IDRETRY);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written, "ОШИБКА: Файл базы данных поврежден !?\n"
                       "ВОПРОС: Продолжить?\n"
                       "Ошибка: текст\n"
                       "ПРОБА: Привет\n");
    emu::setMessageBoxHandler(previous);
}

TEST(MessageBoxes, AHandlerSeesOwnerTextCaptionAndStyle) {
    struct Seen {
        HWND owner;
        std::u16string text, caption;
        UINT style;
    } seen{};
    const emu::MessageBoxHandler previous =
        emu::setMessageBoxHandler([&](HWND owner, std::u16string_view text, std::u16string_view caption, UINT style) {
            seen = {owner, std::u16string(text), std::u16string(caption), style};
            return IDCANCEL;
        });
    testing::internal::CaptureStderr();
    const HWND owner = reinterpret_cast<HWND>(uintptr_t{0x1234});
    EXPECT_EQ(MessageBoxW(owner, u"Список рубрик", u"ERR", MB_OK), IDCANCEL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(seen.owner, owner);
    EXPECT_EQ(seen.text, u"Список рубрик");
    EXPECT_EQ(seen.caption, u"ERR");
    EXPECT_EQ(seen.style, UINT{MB_OK});
    emu::setMessageBoxHandler(previous);
}

TEST(MessageBoxes, DefaultAnswersFollowTheDefaultButton) {
    EXPECT_EQ(emu::defaultMessageBoxAnswer(MB_OK), IDOK);
    EXPECT_EQ(emu::defaultMessageBoxAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(emu::defaultMessageBoxAnswer(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
    EXPECT_EQ(emu::defaultMessageBoxAnswer(MB_YESNO | MB_DEFBUTTON3), IDYES);  // beyond its buttons
}

}  // namespace
