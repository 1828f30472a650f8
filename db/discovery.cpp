#include "db/discovery.h"

#include "db/database_messages.h"

// As the program spells it: without a leading backslash, which the device takes from its root.
const WCHAR installFolder[] = W("Storage Card\\Program Files\\MORVANE\\QUILLDEN\\");

namespace {

size_t textLength(const WCHAR* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

bool contains(const WCHAR* text, const WCHAR* part) {
    const size_t partLength = textLength(part);
    for (; *text; ++text) {
        size_t i = 0;
        while (i < partLength && text[i] == part[i]) ++i;
        if (i == partLength) return true;
    }
    return false;
}

// Only these two spellings count; other mixtures of case are not database files.
bool isDatabaseName(const WCHAR* name) { return contains(name, W(".ydb")) || contains(name, W(".YDB")); }

// "%s%s" into a path buffer; false when the result would not fit in a device path.
bool joinPath(WCHAR (&out)[databasePathCapacity], const WCHAR* folder, const WCHAR* name) {
    const size_t a = textLength(folder);
    const size_t b = textLength(name);
    if (a + b + 1 > databasePathCapacity) return false;
    for (size_t i = 0; i < a; ++i) out[i] = folder[i];
    for (size_t i = 0; i < b; ++i) out[a + i] = name[i];
    out[a + b] = 0;
    return true;
}

bool isDotEntry(const WCHAR* name) {
    return name[0] == u'.' && (name[1] == 0 || (name[1] == u'.' && name[2] == 0));
}

void considerFile(const WCHAR (&path)[databasePathCapacity]) {
    DirectoryDatabase* candidate = createDatabase();
    if (!candidate) return;
    openDatabase(*candidate, path);
    if (isUsableDatabase(*candidate)) {
        DatabaseChoices& choices = databaseProgram.choices;
        choices.entries[choices.count++] = DatabaseChoice{};
        joinPath(choices.entries[choices.count - 1].path, path, W(""));
    }
    destroyDatabase(candidate);
}

DirectoryDatabase* openChoice(int index) {
    DirectoryDatabase* db = createDatabase();
    if (!db) {
        reportOutOfMemory();
        return nullptr;
    }
    // Not checked again: a file that turned bad since the search has shown its message, and later
    // reads report it.
    openDatabase(*db, databaseProgram.choices.entries[index].path);
    return db;
}

} // namespace

bool isUsableDatabase(const DirectoryDatabase& db) {
    if (db.lastError != 0 || !db.title) return false;
    const char* lastLine = db.title;
    for (const char* p = db.title; *p; ++p)
        if (*p == '\r' || *p == '\n') lastLine = p + 1;
    return *lastLine != 0;
}

int discoverDatabases(LPCWSTR folder) {
    DatabaseChoices& choices = databaseProgram.choices;
    WCHAR pattern[databasePathCapacity];
    if (!joinPath(pattern, folder, W("*.*"))) return choices.count;
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstFileW(pattern, &entry);
    if (listing == INVALID_HANDLE_VALUE) return choices.count;
    do {
        if (choices.count >= maxDatabaseChoices) break;
        WCHAR path[databasePathCapacity];
        if (!joinPath(path, folder, entry.cFileName)) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (isDotEntry(entry.cFileName)) continue;
            WCHAR subfolder[databasePathCapacity];
            if (joinPath(subfolder, path, W("\\"))) discoverDatabases(subfolder);
        } else if (isDatabaseName(entry.cFileName)) {
            considerFile(path);
        }
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
    return choices.count;
}

bool programFileFolder(WCHAR* out, size_t capacity) {
    if (capacity == 0) return false;
    const DWORD length = GetModuleFileNameW(nullptr, out, static_cast<DWORD>(capacity));
    size_t cut = 0;
    for (size_t i = 0; i < length && i < capacity && out[i]; ++i)
        if (out[i] == u'\\') cut = i + 1;
    // A path cut at the capacity leaves no room for the 0 after its last backslash.
    if (cut == 0 || cut >= capacity) {
        out[0] = 0;
        return false;
    }
    out[cut] = 0;
    return true;
}

DirectoryDatabase* chooseStartDatabase() {
    DatabaseChoices& choices = databaseProgram.choices;
    choices.count = 0;
    choices.current = 0;

    WCHAR own[databasePathCapacity];
    if (programFileFolder(own, databasePathCapacity)) discoverDatabases(own);
    if (choices.count == 0) discoverDatabases(installFolder);
    if (choices.count == 0) {
        reportNoDatabases();
        return nullptr;
    }
    databaseProgram.current = openChoice(0);
    return databaseProgram.current;
}

DirectoryDatabase* changeDatabase(DiscardDatabaseLists discardLists, void* context) {
    DatabaseChoices& choices = databaseProgram.choices;
    if (choices.count <= 1) return databaseProgram.current;
    choices.current = (choices.current + 1) % choices.count;
    destroyDatabase(databaseProgram.current);
    databaseProgram.current = nullptr;
    if (discardLists) discardLists(context);
    databaseProgram.current = openChoice(choices.current);
    return databaseProgram.current;
}

void closeCurrentDatabase() {
    destroyDatabase(databaseProgram.current);
    databaseProgram.current = nullptr;
}
