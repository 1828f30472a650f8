// The user's favourite rubrics: "Favorites.txt" beside the current database, one title a line in
// code page 1251, shown as the home screen's favourite slots (tiles 13 to 24). Each database keeps
// its own list because the file lives in the database's folder.
#pragma once

#include "win32.h"

constexpr int favouritesPathCapacity = 260;
// Only this much of the file is read; the rest stays in the file unseen.
constexpr int favouritesReadLimit = 2048;

// The file's path beside the current database: 0, or -1 when there is none (no current choice, a
// path without a backslash after its first character, or a folder too long for the name).
int favouritesPath(WCHAR (&path)[favouritesPathCapacity]);

// The slot captions rebuilt from the file: one slot per non-empty line that does not begin with '*',
// in file order, at most twelve. The slots are left as they are when there is no current choice or
// no path; an absent or unreadable file leaves them empty.
void loadFavourites();

constexpr int favouriteWritten = 0;
constexpr int favouriteNoPath = -1;
constexpr int favouriteOpenFailed = -2;   // the thread's last error says why
constexpr int favouriteWriteFailed = -3;

// Appends `title` in code page 1251 (at most byteLimit - 1 bytes of it) and CR LF at the end of the
// file, creating it when absent; a last line left without a break is ended first. One of the codes
// above.
int appendFavourite(const WCHAR* title, int byteLimit);
