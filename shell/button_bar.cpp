#include "shell/button_bar.h"

#include "db/database_program.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/shell_state.h"

ButtonBar buttonBar;

namespace {

constexpr COLORREF stripColour = RGB(24, 115, 181);
constexpr COLORREF edgeColour = RGB(0, 173, 230);
constexpr COLORREF pressedColour = RGB(255, 255, 255);

constexpr int makerSlot = 0;
constexpr int homeSlot = 1;
constexpr int helpSlot = 5;
constexpr int exitSlot = 6;
constexpr int changeSlot = 7;

const BarSlot initialSlots[barSlotCount] = {
    {IDI_BAR_MAKER, 0, 0, 0, 108, 20, nullptr},   {IDI_BAR_HOME, 0, 0, 0, 22, 20, nullptr},
    {IDI_BAR_BACK, 0, 0, 0, 22, 20, nullptr},     {IDI_BAR_FORWARD, 0, 0, 0, 22, 20, nullptr},
    {IDI_BAR_KEYBOARD, 0, 0, 0, 22, 20, nullptr}, {IDI_BAR_HELP, 0, 0, 0, 22, 18, nullptr},
    {IDI_BAR_EXIT, 0, 0, 0, 26, 20, nullptr},     {IDI_BAR_CHANGE_M, 0, 0, 0, 22, 20, nullptr},
};

HICON loadSlotIcon(const BarSlot& slot)
{
    return static_cast<HICON>(LoadImageW(shellState.instanceHandle, MAKEINTRESOURCEW(slot.iconId), IMAGE_ICON,
                                         slot.width, slot.height, 0));
}

void drawSlotIcon(HDC dc, const BarSlot& slot)
{
    if (slot.icon != nullptr)
        DrawIconEx(dc, slot.x, slot.y, slot.icon, 0, 0, 0, nullptr, DI_NORMAL);
}

} // namespace

void resetButtonBar(ButtonBar& bar)
{
    bar.height = initialBarHeight;
    bar.mode = 0;
    for (int i = 0; i < barSlotCount; ++i)
        bar.slots[i] = initialSlots[i];
}

void loadBarIcons(ButtonBar& bar)
{
    for (BarSlot& slot : bar.slots)
        slot.icon = loadSlotIcon(slot);
}

void layoutBar(ButtonBar& bar, int left, int top, int right, const BarDatabaseState& databases)
{
    for (BarSlot& slot : bar.slots) {
        slot.visible = bar.mode;
        slot.y = top + ((bar.height - slot.height) >> 1);
    }
    const int d = (right - left - bar.slots[makerSlot].width + 3) / 4;
    BarSlot& exit = bar.slots[exitSlot];
    exit.x = right - exit.width - 4;
    bar.slots[helpSlot].x = right - 2 * d;

    if (bar.mode == 0) {
        bar.slots[makerSlot].visible = 1;
        bar.slots[helpSlot].visible = 1;
        exit.visible = 1;
        BarSlot& change = bar.slots[changeSlot];
        if (databases.changeOffered) {
            const int wanted = databases.cityM ? IDI_BAR_CHANGE_M : IDI_BAR_CHANGE;
            change.iconId = wanted;
            // The picture follows the open edition's city, so it is loaded again at every layout.
            change.icon = loadSlotIcon(change);
            change.visible = 1;
            change.x = right - 3 * d;
        } else {
            change.visible = 0;
        }
        return;
    }

    const int h = (right - left + 4) / 7;
    const int l = (h + 3) / 6;
    for (int slot = homeSlot; slot <= 4; ++slot)
        bar.slots[slot].x = right + l - (8 - slot) * h;
    bar.slots[makerSlot].visible = 0;
    bar.slots[changeSlot].visible = 0;
}

RECT barStrip(const ButtonBar& bar, HWND window)
{
    RECT outer = {};
    GetWindowRect(window, &outer);
    return {outer.left, outer.bottom - 2 * bar.height, outer.right, outer.bottom};
}

void drawBar(ButtonBar& bar, HWND window, const RECT* area)
{
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return;
    const RECT strip = barStrip(bar, window);
    layoutBar(bar, strip.left, strip.top, strip.right, currentBarDatabases());
    RECT part = strip;
    if (area != nullptr && !IntersectRect(&part, &strip, area)) {
        ReleaseDC(window, dc);
        return;
    }

    HBRUSH brush = CreateSolidBrush(stripColour);
    HPEN pen = CreatePen(PS_SOLID, 1, edgeColour);
    FillRect(dc, &part, brush);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    if (part.top == strip.top) {
        MoveToEx(dc, part.left, strip.top, nullptr);
        LineTo(dc, part.right, strip.top);
    }
    for (const BarSlot& slot : bar.slots) {
        const RECT icon = {slot.x, slot.y, slot.x + slot.width, slot.y + slot.height};
        RECT shown;
        if (slot.visible && IntersectRect(&shown, &icon, &part))
            drawSlotIcon(dc, slot);
    }
    SelectObject(dc, previousPen);
    DeleteObject(brush);
    DeleteObject(pen);
    ReleaseDC(window, dc);
}

int hitTestBar(const ButtonBar& bar, int x, int y)
{
    for (int i = 0; i < barSlotCount; ++i) {
        const BarSlot& s = bar.slots[i];
        if (s.visible && x >= s.x && y >= s.y && x < s.x + s.width && y < s.y + s.height)
            return i;
    }
    return -1;
}

void pressBarButton(const ButtonBar& bar, int index, HWND window)
{
    if (index < 0 || index >= barSlotCount)
        return;
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return;
    const BarSlot& s = bar.slots[index];
    HPEN pen = CreatePen(PS_SOLID, 2, pressedColour);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, s.x, s.y, s.x + s.width - 1, s.y + s.height - 1);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
    ReleaseDC(window, dc);
}

void releaseBarButton(const ButtonBar& bar, int index, HWND window)
{
    if (index < 0 || index >= barSlotCount)
        return;
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return;
    const BarSlot& s = bar.slots[index];
    const RECT around = {s.x - 1, s.y - 1, s.x + s.width, s.y + s.height};
    HBRUSH brush = CreateSolidBrush(stripColour);
    FillRect(dc, &around, brush);
    DeleteObject(brush);
    drawSlotIcon(dc, s);
    ReleaseDC(window, dc);
}

BarDatabaseState currentBarDatabases()
{
    const DirectoryDatabase* db = databaseProgram.current;
    BarDatabaseState state;
    state.changeOffered = db != nullptr && databaseProgram.choices.count > 1;
    state.cityM = db != nullptr && cityLetter(*db) == 0xCC;
    return state;
}
