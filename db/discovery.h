// Finding the database files on the device and changing between them. The choices and the current
// database live in databaseProgram (database_program.h).
//
// The shell's side: at start-up it sets databaseProgram.messageOwner and calls takeMemoryReading,
// then chooseStartDatabase; a null result means "end the program" (the message has been shown).
// It then shows the database's title and picks the information pages by cityLetter. For the
// database-change command it calls changeDatabase with a callback that discards its RubricTable and
// StreetList, then refreshes the title, the page set and the home screen. At the end it calls
// closeCurrentDatabase.
#pragma once

#include "db/database_program.h"

// Searches `folder` (a device path ending in a backslash) and its sub-folders, depth first, for files
// whose name holds ".ydb" or ".YDB", and appends the usable ones to databaseProgram.choices until it
// holds 3. Returns the number of choices.
int discoverDatabases(LPCWSTR folder);

// A file is usable when it opened without error and the last line of its title is not empty.
bool isUsableDatabase(const DirectoryDatabase& db);

// Searches the program's folder, then (when that found nothing) the install folder, and opens the
// first choice as the current database. None when nothing usable was found ("НЕТ ДОСТУПНЫХ БАЗ
// ДАННЫХ!" has been shown) or no object could be made: the start-up code then ends the program.
DirectoryDatabase* chooseStartDatabase();

// Called when the screens' lists built from the old database must go: after it is closed, before the
// next one is opened.
using DiscardDatabaseLists = void (*)(void* context);

// With more than one choice: closes the current database, lets the shell discard its lists, and opens
// the next choice (after the last, the first). Returns the current database afterwards (unchanged
// with one choice or none; none when no object could be made).
DirectoryDatabase* changeDatabase(DiscardDatabaseLists discardLists, void* context);

// The end of the program: closes and frees the current database.
void closeCurrentDatabase();

// The folder of the program's own file, up to and including its last backslash, into `out` of
// `capacity` units; false (and `out` empty) when the module path holds no backslash.
bool programFileFolder(WCHAR* out, size_t capacity);

// The install folder searched when the program's own folder holds no database.
extern const WCHAR installFolder[];
