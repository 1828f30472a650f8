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

bool writeWhole(HANDLE file, const char* bytes, int length)
{
    DWORD written = 0;
    return WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr) &&
           written == static_cast<DWORD>(length);
}

// A file whose last line has no break (edited by hand, or by another program) gets one first, so
// that the new entry does not run on into that line and spoil both.
bool endLastLine(HANDLE file)
{
    const DWORD size = GetFileSize(file, nullptr);
    if (size == 0)
        return true;
    if (size == INVALID_FILE_SIZE || SetFilePointer(file, -1, nullptr, FILE_END) == INVALID_SET_FILE_POINTER)
        return false;
    char last = 0;
    DWORD read = 0;
    if (!ReadFile(file, &last, 1, &read, nullptr) || read != 1)
        return false;
    if (last == '\r' || last == '\n')
        return true;
    return SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER && writeWhole(file, "\r\n", 2);
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
    // Writers are let be: a list the notes editor still holds (the user stopped waiting for it) is
    // shown as it stands rather than as no list at all.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
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

    // Read as well: the last byte says whether the file's last line was ended.
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return favouriteOpenFailed;
    const DWORD size = GetFileSize(file, nullptr);
    const bool ok = endLastLine(file) && SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
                    writeWhole(file, line, bytes + 2);
    // An entry reported as not added leaves no piece of itself, nor the break put before it.
    if (!ok && size != INVALID_FILE_SIZE &&
        SetFilePointer(file, static_cast<LONG>(size), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER)
        SetEndOfFile(file);
    CloseHandle(file);
    return ok ? favouriteWritten : favouriteWriteFailed;
}
