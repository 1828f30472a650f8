#include "shell/favourites_commands.h"

#include "resources/dernolo/dernolo_ids.h"
#include "search/screens/rubric_tree_screen.h"
#include "search/search_state.h"
#include "shell/favourites.h"
#include "shell/home_screen.h"
#include "shell/screen_frame.h"
#include "shell/shell_state.h"

EditorWait editorWait = standardEditorWait;

namespace {

const WCHAR confirmCaption[] = W("ПОДТВЕРДИТЕ");
const WCHAR writeErrorCaption[] = W("ОШИБКА ЗАПИСИ");
const WCHAR reminderCaption[] = W("НАПОМИНАНИЕ");
const WCHAR editorCaption[] = W("РЕДАКТОР ЗАМЕТОК");
const WCHAR addQuestionHead[] = W("Добавить в избранное рубрику '");
const WCHAR addQuestionTail[] = W("'?");
const WCHAR clearQuestion[] = W("Вы действительно хотите удалить ВСЕ пункты избранного?");
const WCHAR editReminder[] =
    W("С помощью редактора заметок вы сможете удалить выборочно рубрики или изменить их порядок. Для этого "
      "удалите или переставьте строки местами. Редактируйте только в режиме печатного текста!");
const WCHAR stillEditing[] =
    W("Редактор заметок ещё не закрыл файл избранного. Повторить - ждать дальше, Отмена - не ждать и "
      "показать избранное как оно есть.");
const WCHAR notesProgram[] = W("\\Windows\\notes.exe");
const WCHAR* const commentLines[] = {W("*Вы можете только:"), W("*удалить строки или"),
                                     W("*переставить строки местами")};
constexpr int addFavouriteByteLimit = 1023;
constexpr DWORD pumpSlice = 50;

// `head`, `middle` and `tail` one after another in the shared buffer, cut at its capacity.
const WCHAR* joinedInShellBuffer(const WCHAR* head, const WCHAR* middle, const WCHAR* tail)
{
    auto* out = reinterpret_cast<WCHAR*>(shellState.shellBuffer);
    constexpr int capacity = shellBufferBytes / static_cast<int>(sizeof(WCHAR));
    int length = 0;
    for (const WCHAR* part : {head, middle, tail})
        for (const WCHAR* c = part; *c != 0 && length < capacity - 1; ++c)
            out[length++] = *c;
    out[length] = 0;
    return out;
}

int confirm(HWND window, const WCHAR* question, UINT defaultButton)
{
    return MessageBoxW(window, question, confirmCaption, MB_YESNO | MB_ICONQUESTION | defaultButton);
}

// The comment lines in code page 1251, each with CR LF. False when one could not be written whole.
bool writeCommentLines(HANDLE file)
{
    for (const WCHAR* line : commentLines) {
        char bytes[64];
        const int length = WideCharToMultiByte(CP_ACP, 0, line, -1, bytes, sizeof bytes - 2, nullptr, nullptr) - 1;
        if (length <= 0)
            return false;
        bytes[length] = '\r';
        bytes[length + 1] = '\n';
        DWORD written = 0;
        if (!WriteFile(file, bytes, static_cast<DWORD>(length + 2), &written, nullptr) ||
            written != static_cast<DWORD>(length + 2))
            return false;
    }
    return true;
}

// The file made ready for the editor: created when absent, given the comment lines when empty.
// False when it cannot be opened for writing, so there is nothing to edit.
bool prepareForEditing(const WCHAR* path)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // The lines only go into a file that is surely empty; a size that cannot be read is left alone.
    if (GetFileSize(file, nullptr) == 0)
        writeCommentLines(file);
    CloseHandle(file);
    return true;
}

enum class FileState { free, held, gone };

// Whether the editor still holds the file. Only a sharing refusal means it does: a file that was
// removed or made read-only meanwhile would never come free, so it ends the wait too.
FileState editedFileState(const WCHAR* path)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return FileState::free;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION ? FileState::held : FileState::gone;
}

// Time passing with the screen kept painted. False when the program is ending or the main window
// went away meanwhile.
bool pause(HWND window, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (!pumpMessages() || !IsWindow(window))
            return false;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return true;
        const DWORD left = milliseconds - elapsed;
        Sleep(left < pumpSlice ? left : pumpSlice);
    }
}

// Until the editor lets the file go, the user ends the wait, or the window is gone. The window is
// disabled meanwhile: a tap on a tile must not clear or append to the file while it is edited.
void waitForEditor(HWND window, const WCHAR* path)
{
    EnableWindow(window, FALSE);
    HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    bool waiting = pause(window, editorWait.firstDelay);
    DWORD since = GetTickCount();
    while (waiting && editedFileState(path) == FileState::held) {
        if (GetTickCount() - since >= editorWait.patience) {
            SetCursor(previousCursor);
            const int answer = MessageBoxW(window, stillEditing, reminderCaption, MB_RETRYCANCEL | MB_ICONQUESTION);
            if (answer != IDRETRY || !IsWindow(window))
                break;
            // The box gave the window back; the wait takes it again.
            EnableWindow(window, FALSE);
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            since = GetTickCount();
            continue;
        }
        waiting = pause(window, editorWait.retryInterval);
    }
    SetCursor(previousCursor);
    if (IsWindow(window)) {
        EnableWindow(window, TRUE);
        SetFocus(window);
    }
}

} // namespace

void refreshFavourites(HWND window)
{
    loadFavourites();
    layoutTiles(window);
    InvalidateRect(window, nullptr, TRUE);
}

void addFavouriteCommand(HWND window)
{
    shellState.returnHomeMarker = 0;
    searchState.rubricChoice.marker = choiceAsked;
    searchState.flatMode = 1;
    DialogBoxParamW(shellState.instanceHandle, MAKEINTRESOURCEW(IDD_RUBRIC_TREE), window, rubricTreeScreenProc, 0);
    if (shellState.returnHomeMarker == returnHomeValue) {
        goHome(window);
        return;
    }
    RubricChoice& choice = searchState.rubricChoice;
    if (choice.marker == 0 || choice.marker == choiceAsked || shellState.shellBuffer == nullptr)
        return;
    // The title is the tree's, at most its capacity; it is never taken unterminated.
    choice.title[sizeof choice.title / sizeof choice.title[0] - 1] = 0;
    const WCHAR* question = joinedInShellBuffer(addQuestionHead, choice.title, addQuestionTail);
    if (confirm(window, question, MB_DEFBUTTON1) != IDYES)
        return;
    const int written = appendFavourite(choice.title, addFavouriteByteLimit);
    if (written == favouriteOpenFailed || written == favouriteWriteFailed) {
        // Also a write that did not go through whole: the user must not take it as added.
        showSystemError(writeErrorCaption, true);
        return;
    }
    if (written == favouriteWritten)
        refreshFavourites(window);
}

void clearFavourites(HWND window)
{
    if (confirm(window, clearQuestion, MB_DEFBUTTON2) != IDYES)
        return;
    WCHAR path[favouritesPathCapacity];
    if (favouritesPath(path) == 0 && !DeleteFileW(path) && GetLastError() != ERROR_FILE_NOT_FOUND)
        showSystemError(writeErrorCaption, true);
    refreshFavourites(window);
}

void editFavourites(HWND window)
{
    WCHAR path[favouritesPathCapacity];
    if (favouritesPath(path) == 0 && prepareForEditing(path)) {
        MessageBoxW(window, editReminder, reminderCaption, MB_OK);
        PROCESS_INFORMATION process = {};
        if (CreateProcessW(notesProgram, path, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &process)) {
            if (process.hProcess != nullptr)
                CloseHandle(process.hProcess);
            if (process.hThread != nullptr)
                CloseHandle(process.hThread);
            waitForEditor(window, path);
        } else {
            // Without an editor the user is told why nothing opened; the list is shown as it is.
            showSystemError(editorCaption, true);
        }
    }
    refreshFavourites(window);
}
