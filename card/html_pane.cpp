#include "card/html_pane.h"

#include "card/contact_actions.h"
#include "card/page_history.h"
#include "db/database_program.h"
#include "db/resource_area.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"

#include <cstring>

PageViewerState pageViewer;

namespace {

constexpr int sharedTextBytes = 1024;
constexpr int loadingAddressBytes = 512;
constexpr int addressCharacters = 255;

// The page shown while the view reads a file; the address goes between the two halves.
const WCHAR loadingHead[] = W("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">")
    W("</head>Загружается: <p><a href=\"\">");
const WCHAR loadingTail[] = W("</a>...</p></body></html>");

// Appends UTF-16 text converted to code page 1251; false when it does not fit.
bool append1251(char* out, size_t capacity, size_t& length, const WCHAR* text)
{
    const int room = static_cast<int>(capacity - length - 1);
    const int written = WideCharToMultiByte(CP_ACP, 0, text, -1, out + length, room, nullptr, nullptr);
    if (written <= 0)
        return false;
    length += static_cast<size_t>(written - 1);
    return true;
}

// The address as text of the page: the characters that would start markup are written as
// entities, so a hostile link target shows as what it is.
void appendEscaped(char* out, size_t capacity, size_t& length, const char* address)
{
    for (const char* at = address; *at != 0; ++at) {
        const char* entity = nullptr;
        switch (*at) {
        case '<': entity = "&lt;"; break;
        case '>': entity = "&gt;"; break;
        case '&': entity = "&amp;"; break;
        case '"': entity = "&quot;"; break;
        default: break;
        }
        const size_t size = entity != nullptr ? std::strlen(entity) : 1;
        if (length + size >= capacity)
            break;
        std::memcpy(out + length, entity != nullptr ? entity : at, size);
        length += size;
    }
    out[length] = 0;
}

void showText(HtmlPane& pane, const char* text)
{
    SendMessageW(pane.view, DTM_CLEAR, 0, 0);
    SendMessageW(pane.view, DTM_ADDTEXT, FALSE, reinterpret_cast<LPARAM>(text));
    SendMessageW(pane.view, DTM_ENDOFSOURCE, 0, 0);
}

void showLoadingPage(HtmlPane& pane, const char* address)
{
    char* page = shellState.shellBuffer;
    if (page == nullptr)
        return;
    size_t length = 0;
    page[0] = 0;
    if (!append1251(page, shellBufferBytes, length, loadingHead))
        return;
    appendEscaped(page, shellBufferBytes - sizeof loadingTail, length, address);
    append1251(page, shellBufferBytes, length, loadingTail);
    showText(pane, page);
}

void navigateView(HtmlPane& pane, const WCHAR* address)
{
    SendMessageW(pane.view, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(address));
}

void scrollToAnchor(HtmlPane& pane, const char* anchor)
{
    SendMessageW(pane.view, DTM_ANCHOR, 0, reinterpret_cast<LPARAM>(anchor[0] == '#' ? anchor + 1 : anchor));
}

// An anchor or a link target copied into the shared buffer, recorded as the next entry and scrolled
// to. A target longer than an entry holds is refused: cut, it would name another place.
void recordAndScroll(HtmlPane& pane, const char* target)
{
    if (strnlen(target, historyEntryBytes) >= historyEntryBytes)
        return;
    char* copy = shellState.shellBuffer;
    if (copy == nullptr)
        return;
    std::memset(copy, 0, sharedTextBytes);
    std::strcpy(copy, target);
    recordHistoryEntry(pane, copy);
    scrollToAnchor(pane, copy);
}

// The entry now current, shown without recording it again.
void showCurrentEntry(HtmlPane& pane)
{
    const char* entry = pane.history[pane.historyIndex];
    switch (historyEntryKind(entry)) {
    case HistoryEntryKind::helpText:
        showHelpText(pane, false);
        break;
    case HistoryEntryKind::anchor:
        scrollToAnchor(pane, entry);
        break;
    case HistoryEntryKind::address:
        showAddress(pane, entry);
        break;
    }
}

// The current database's folder, without the path's leading backslashes and with its last one:
// the length in characters, or 0 when the path has no backslash after its first character.
size_t databaseFolder(const WCHAR* path, const WCHAR*& start)
{
    while (*path == u'\\')
        ++path;
    start = path;
    size_t end = 0;
    for (size_t i = 1; path[i] != 0 && i < databasePathCapacity; ++i)
        if (path[i] == u'\\')
            end = i + 1;
    return end;
}

} // namespace

bool pageOpen()
{
    return pageViewer.currentPane != nullptr && shellState.homePageIndex <= 0;
}

int openPane(HWND parent)
{
    HtmlPane* pane = pageViewer.currentPane;
    const bool made = pane == nullptr;
    if (made) {
        pane = static_cast<HtmlPane*>(LocalAlloc(LPTR, sizeof(HtmlPane)));
        if (pane == nullptr)
            return -1;
        pane->historyIndex = -1;
        if (!pageViewer.htmlControlReady && InitHTMLControl(shellState.instanceHandle))
            pageViewer.htmlControlReady = true;
        pageViewer.currentPane = pane;
    }
    const int barMode = buttonBar.mode;
    buttonBar.mode = 1;
    drawBar(buttonBar, parent);

    RECT area = {};
    GetWindowRect(parent, &area);
    area.bottom -= 2 * buttonBar.height;
    // The screens start one bar height below the top of the screen at x 0, so the right edge and
    // the reduced bottom are the content area's width and height.
    if (pane->view == nullptr)
        pane->view = CreateWindowExW(0, WC_HTML, nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS, area.left,
                                     area.top, area.right, area.bottom, parent, nullptr, shellState.instanceHandle,
                                     nullptr);
    if (pane->view == nullptr) {
        // A pane without its view would cover nothing yet still count as open: the screen under
        // it would stop painting and its back button would close the pane instead of itself.
        if (made) {
            pageViewer.currentPane = nullptr;
            LocalFree(pane);
        }
        buttonBar.mode = barMode;
        drawBar(buttonBar, parent);
        return -2;
    }
    MoveWindow(pane->view, area.left, area.top, area.right, area.bottom, FALSE);
    ShowWindow(pane->view, SW_SHOW);
    UpdateWindow(pane->view);
    return 0;
}

void closePane()
{
    if (shellState.homePageIndex < 0) {
        shellState.homePageIndex = -shellState.homePageIndex;
        if (shellState.homePageIndex > 2)
            shellState.homePageIndex = 0;
    }
    HtmlPane* pane = pageViewer.currentPane;
    if (pane == nullptr)
        return;
    pageViewer.currentPane = nullptr;
    if (pane->text != nullptr)
        LocalFree(pane->text);
    if (pane->view != nullptr)
        DestroyWindow(pane->view);
    LocalFree(pane);
    SetFocus(shellState.mainWindow);
    InvalidateRect(shellState.mainWindow, nullptr, TRUE);
}

int loadHelpText(HtmlPane& pane, int n)
{
    const DirectoryDatabase* db = databaseProgram.current;
    if (db == nullptr)
        return -6;
    if (pane.text != nullptr) {
        LocalFree(pane.text);
        pane.text = nullptr;
    }
    ChunkCursor cursor;
    const int32_t walked = findChunk(*db, ydb::chunkTagHelp, static_cast<uint32_t>(n), cursor);
    pane.chunkPosition = cursor.position;
    std::memcpy(pane.chunkHeader, cursor.header, sizeof pane.chunkHeader);
    if (walked != 0)
        return -1;

    // A chunk may claim more than the file holds: only what is there is asked for, so a damaged
    // size cannot ask for a huge block.
    const uint32_t body = chunkSize(cursor) - ydb::chunkHeaderSize;
    const uint32_t bodyStart = cursor.position + ydb::chunkHeaderSize;
    const DWORD fileSize = GetFileSize(db->file, nullptr);
    const uint32_t inFile = fileSize != INVALID_FILE_SIZE && fileSize > bodyStart ? fileSize - bodyStart : 0;
    const uint32_t wanted = body < inFile ? body : inFile;
    pane.text = static_cast<char*>(LocalAlloc(LMEM_FIXED, wanted + 1));
    if (pane.text == nullptr)
        return -2;
    const uint32_t got = wanted > 0 ? readFileAt(*db, bodyStart, pane.text, wanted) : 0;
    pane.text[got] = 0;
    return got < body ? -3 : 0;
}

void showHelpText(HtmlPane& pane, bool record)
{
    if (pane.text != nullptr)
        showText(pane, pane.text);
    if (record)
        recordHistoryEntry(pane, "");
}

void jumpToAnchor(HtmlPane& pane, const char* anchor)
{
    recordAndScroll(pane, anchor);
}

void showAddress(HtmlPane& pane, const char* address)
{
    showLoadingPage(pane, address);
    WCHAR wide[addressCharacters + 1] = {};
    const int length = static_cast<int>(strnlen(address, addressCharacters));
    if (length > 0 && MultiByteToWideChar(CP_ACP, 0, address, length, wide, addressCharacters) <= 0)
        wide[0] = 0;
    navigateView(pane, wide);
    storeHistoryEntry(pane, pane.historyIndex, address);
}

void openInfoPage(HWND screen, const WCHAR* page)
{
    const DatabaseChoices& choices = databaseProgram.choices;
    if (choices.count <= 0 || choices.current < 0 || choices.current >= choices.count)
        return;
    const WCHAR* folder = nullptr;
    const size_t folderLength = databaseFolder(choices.entries[choices.current].path, folder);
    if (folderLength == 0)
        return;
    // "file://\" + folder + page.
    WCHAR address[2 * databasePathCapacity + 16] = W("file://\\");
    size_t length = lstrlenW(address);
    const size_t pageLength = static_cast<size_t>(lstrlenW(page));
    if (length + folderLength + pageLength >= sizeof address / sizeof address[0])
        return;
    std::memcpy(address + length, folder, folderLength * sizeof(WCHAR));
    length += folderLength;
    std::memcpy(address + length, page, (pageLength + 1) * sizeof(WCHAR));

    if (openPane(screen) != 0)
        return;
    HtmlPane& pane = *pageViewer.currentPane;
    char narrow[loadingAddressBytes + 1] = {};
    if (WideCharToMultiByte(CP_ACP, 0, address, -1, narrow, loadingAddressBytes, nullptr, nullptr) <= 0)
        narrow[0] = 0;
    showLoadingPage(pane, narrow);
    navigateView(pane, address);
    char stored[historyEntryBytes] = {};
    if (WideCharToMultiByte(CP_ACP, 0, address, -1, stored, historyEntryBytes - 1, nullptr, nullptr) > 0)
        storeHistoryEntry(pane, pane.historyIndex, stored);
}

void historyBack(HtmlPane& pane)
{
    if (pane.historyIndex <= 0 || pane.historyIndex > historyEntries)
        return;
    --pane.historyIndex;
    showCurrentEntry(pane);
}

void historyForward(HtmlPane& pane)
{
    if (!historyHasNext(pane))
        return;
    ++pane.historyIndex;
    showCurrentEntry(pane);
}

void historyHome(HtmlPane& pane)
{
    pane.historyIndex = 0;
    showCurrentEntry(pane);
}

void onLinkActivated(HtmlPane& pane, const NM_HTMLVIEW* notice)
{
    if (notice == nullptr || notice->szTarget == nullptr)
        return;
    const char* target = notice->szTarget;
    if (startsWithMailto(target)) {
        startMailTo(target);
        return;
    }
    recordAndScroll(pane, target);
}
