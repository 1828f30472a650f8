// The favourites page's three commands (add through the rubric tree, clear, edit in the notes
// editor) and the reload that follows every change of the file.
#pragma once

#include "win32.h"

// How long the edit command waits for the notes editor to let the file go. The editor holds the
// file's write share until it ends, so the program waits with the screen painted and the main
// window disabled; after `patience` without the file coming free it asks whether to go on
// waiting, so an editor that never lets go cannot hold the program for good.
struct EditorWait {
    DWORD firstDelay;     // before the first attempt: the editor needs a moment to open the file
    DWORD retryInterval;  // between attempts
    DWORD patience;       // of waiting before the question (and again after each "Retry")
};

extern EditorWait editorWait;
constexpr EditorWait standardEditorWait = {2000, 100, 120000};

// Slots from the file again, tiles laid out for them, the window redrawn.
void refreshFavourites(HWND window);

// The rubric tree in its favourite choice; the chosen rubric appended after a confirmation.
void addFavouriteCommand(HWND window);
// The file deleted after a confirmation whose default is No.
void clearFavourites(HWND window);
// The file (with three comment lines when it is empty) in the notes editor, then reloaded.
void editFavourites(HWND window);
