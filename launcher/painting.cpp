#include "launcher/painting.h"

#include "launcher/choice.h"

namespace {

constexpr int backgroundWidth = 798;
constexpr int backgroundHeight = 610;

// The sentence is centred vertically in this box and wrapped to its width.
constexpr RECT messageBox = {292, 531, 658, 600};
constexpr int messageBoxHeight = 69;

void copyPicture(HDC dc, HDC memory, HBITMAP picture, int x, int y, int width, int height)
{
    if (picture == nullptr)
        return;
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
}

void drawEditionMessage(HDC dc, const char* message)
{
    int height = -(GetDeviceCaps(dc, LOGPIXELSY) * 10 / 72);
    HFONT font = CreateFontA(height, 0, 0, 30, FW_BOLD, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, nullptr);
    HGDIOBJ previousFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);

    RECT measured = messageBox;
    DrawTextA(dc, message, -1, &measured, DT_WORDBREAK | DT_LEFT | DT_CALCRECT);
    RECT box = messageBox;
    box.top += (messageBoxHeight - (measured.bottom - measured.top)) / 2;
    DrawTextA(dc, message, -1, &box, DT_WORDBREAK | DT_LEFT);

    if (font != nullptr) {
        SelectObject(dc, previousFont);
        DeleteObject(font);
    }
}

} // namespace

void drawButton(const LauncherState& state, HDC dc, int entry, HBITMAP picture)
{
    HDC memory = CreateCompatibleDC(dc);
    if (memory == nullptr)
        return;
    const ButtonEntry& button = state.buttons[entry];
    copyPicture(dc, memory, picture, button.x, button.y, button.width, button.height);
    DeleteDC(memory);
}

void paintLauncher(const LauncherState& state, HDC dc)
{
    HDC memory = CreateCompatibleDC(dc);
    if (memory != nullptr) {
        copyPicture(dc, memory, state.background, 0, 0, backgroundWidth, backgroundHeight);
        for (int entry = 0; entry < state.activeButtons; ++entry) {
            const ButtonEntry& button = state.buttons[entry];
            copyPicture(dc, memory, buttonPicture(state, entry), button.x, button.y, button.width, button.height);
        }
        DeleteDC(memory);
    }
    if (state.editionMessage != nullptr)
        drawEditionMessage(dc, state.editionMessage);
}
