#include "shell/favourites.h"

#include "db/database_program.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

namespace {

const WCHAR fileName[] = W("Favorites.txt");
constexpr int fileNameLength = sizeof fileName / sizeof fileName[0] - 1;

// Every caption together fits here: a code page 1251 byte is one UTF-16 unit, and only
// favouritesReadLimit bytes are read, so the slots need no allocation that could fail or leak.
WCHAR captionStore[favouritesReadLimit + favouriteSlotCount];

bool currentChoiceValid()
{
    const DatabaseChoices& choices = databaseProgram.choices;
    return choices.current >= 0 && choices.current < choices.count && choices.current < maxDatabaseChoices;
}

void clearSlots()
{
    for (int i = firstFavouriteSlot; i < firstFavouriteSlot + favouriteSlotCount; ++i)
        tileTable[i].caption = nullptr;
    homePages[favouritesPage].last = firstFavouriteSlot - 1;
}

// Lines end at CR, LF or the end of the data; empty lines and '*' comments give no slot.
int fillSlots(const char* bytes, int length)
{
    int filled = 0;
    int stored = 0;
    int start = -1;
    for (int i = 0; i <= length && filled < favouriteSlotCount; ++i) {
        const bool ends = i == length || bytes[i] == '\r' || bytes[i] == '\n';
        if (!ends) {
            if (start < 0)
                start = i;
            continue;
        }
        if (start < 0)
            continue;
        const int lineLength = i - start;
        if (bytes[start] != '*') {
            WCHAR* caption = captionStore + stored;
            int converted = MultiByteToWideChar(CP_ACP, 0, bytes + start, lineLength, caption, lineLength);
            if (converted < 0)
                converted = 0;
            caption[converted] = 0;
            stored += converted + 1;
            tileTable[firstFavouriteSlot + filled].caption = caption;
            ++filled;
        }
        start = -1;
    }
    return filled;
}

} // namespace

int favouritesPath(WCHAR (&path)[favouritesPathCapacity])
{
    path[0] = 0;
    if (!currentChoiceValid())
        return -1;
    const WCHAR* database = databaseProgram.choices.entries[databaseProgram.choices.current].path;
    int length = 0;
    while (length < databasePathCapacity && database[length] != 0)
        ++length;
    int slash = length - 1;
    while (slash >= 1 && database[slash] != '\\')
        --slash;
    if (slash < 1 || slash + 1 + fileNameLength >= favouritesPathCapacity)
        return -1;
    for (int i = 0; i <= slash; ++i)
        path[i] = database[i];
    for (int i = 0; i <= fileNameLength; ++i)
        path[slash + 1 + i] = fileName[i];
    return 0;
}

void loadFavourites()
{
    WCHAR path[favouritesPathCapacity];
    if (!currentChoiceValid() || favouritesPath(path) != 0)
        return;
    clearSlots();
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char bytes[favouritesReadLimit];
    DWORD read = 0;
    if (!ReadFile(file, bytes, sizeof bytes, &read, nullptr) || read > sizeof bytes)
        read = 0;
    CloseHandle(file);
    homePages[favouritesPage].last = firstFavouriteSlot - 1 + fillSlots(bytes, static_cast<int>(read));
}

int appendFavourite(const WCHAR* title, int byteLimit)
{
    WCHAR path[favouritesPathCapacity];
    if (favouritesPath(path) != 0)
        return favouriteNoPath;
    char* line = shellState.shellBuffer;
    // Room is kept for the CR LF after the title.
    const int limit = byteLimit < shellBufferBytes - 2 ? byteLimit : shellBufferBytes - 2;
    if (line == nullptr || title == nullptr || limit < 1)
        return favouriteWriteFailed;
    int units = lstrlenW(title);
    if (units > limit - 1)
        units = limit - 1;
    const int bytes = units > 0 ? WideCharToMultiByte(CP_ACP, 0, title, units, line, limit - 1, nullptr, nullptr) : 0;
    // A title that does not convert is not written as an empty line.
    if (bytes <= 0 && units > 0)
        return favouriteWriteFailed;
    line[bytes] = '\r';
    line[bytes + 1] = '\n';

    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return favouriteOpenFailed;
    DWORD written = 0;
    const bool moved = SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
    const bool ok = moved && WriteFile(file, line, static_cast<DWORD>(bytes + 2), &written, nullptr) &&
                    written == static_cast<DWORD>(bytes + 2);
    CloseHandle(file);
    return ok ? favouriteWritten : favouriteWriteFailed;
}
