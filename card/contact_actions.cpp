#include "card/contact_actions.h"

#include "card/card_fields.h"
#include "db/database.h"
#include "db/database_program.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/rubric_table.h"
#include "shell/screen_frame.h"
#include "shell/shell_state.h"
#include "win32/controls.h"

#include <cstring>

namespace {

constexpr int mailAddressCharacters = 512;
constexpr char mailtoScheme[] = "mailto:";
constexpr size_t mailtoLength = sizeof mailtoScheme - 1;

} // namespace

bool startsWithMailto(const char* target)
{
    for (size_t i = 0; i < mailtoLength; ++i) {
        char c = target[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != mailtoScheme[i])
            return false;
    }
    return true;
}

std::u16string mailToCommandLine(const char* target)
{
    // Code page 1251 is one byte a character: the first 512 bytes are the first 512 characters.
    const char* address = target + mailtoLength;
    const int length = static_cast<int>(strnlen(address, mailAddressCharacters));
    WCHAR wide[mailAddressCharacters] = {};
    const int converted = length > 0 ? MultiByteToWideChar(CP_ACP, 0, address, length, wide, length) : 0;
    return u"-to \"" + std::u16string(wide, converted > 0 ? static_cast<size_t>(converted) : 0) + u"\"";
}

void startMailTo(const char* target)
{
    std::u16string commandLine = mailToCommandLine(target);
    PROCESS_INFORMATION process = {};
    CreateProcessW(W("tmail.exe"), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                   &process);
}

namespace {

constexpr int controlTextCharacters = 100;  // 99 characters and the 0
constexpr uint32_t notesReadCap = 32768;


std::u16string controlText(HWND card, int controlId)
{
    WCHAR text[controlTextCharacters] = {};
    GetDlgItemTextW(card, controlId, text, controlTextCharacters);
    return std::u16string(text);
}

bool startProgram(const WCHAR* program, std::u16string& commandLine)
{
    PROCESS_INFORMATION process = {};
    return CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                          &process) != FALSE;
}

void noteBox(HWND card, const WCHAR* text)
{
    MessageBoxW(card, text, W("ПРИМЕЧАНИЕ"), MB_OK);
}

// Under the line's rubric key: true when the search is over (notes shown, or the key absent: a comment
// without the key says the rubric has nothing to add, not that its line should be shown whole).
bool showNotesOf(HWND card, uint32_t rubricIndex, uint32_t firmDetailsRef)
{
    DirectoryDatabase* db = databaseProgram.current;
    const RubricTable& table = searchState.rubricTable;
    if (db == nullptr || !table.entries || rubricIndex == 0 || rubricIndex >= table.count)
        return false;
    if (readRecord(*db, tableDetails, firmDetailsRef, 0, notesReadCap) != readOk || db->details.comment == nullptr)
        return false;
    WCHAR* joined = nullptr;
    const int found = rubricNotes(db->details.comment, table.entries[rubricIndex].code, joined);
    if (found == notesNoMemory || found == notesKeyAbsent)
        return true;
    const bool shown = joined[0] != 0;
    if (shown)
        noteBox(card, joined);
    LocalFree(joined);
    return shown;
}

} // namespace

void dialSelectedTelephone(HWND card)
{
    std::u16string number = numberToDial(controlText(card, IDC_CARD_TELEPHONES).c_str());
    if (number.empty())
        return;
    if (shellState.phoneMakeCall != nullptr) {
        PHONEMAKECALLINFO request = {sizeof request, PMCF_PROMPTBEFORECALLING, number.c_str(), nullptr, nullptr,
                                     nullptr};
        shellState.phoneMakeCall(&request);
        return;
    }
    MessageBoxW(card, W("Эта возможность поддерживается только в коммуникаторах!"), W("ОТКАЗ"), MB_OK | MB_ICONSTOP);
    // A library without the export may still be a phone: its button stays for another try.
    if (shellState.phoneLibrary == nullptr)
        EnableWindow(GetDlgItem(card, IDC_CARD_DIAL), FALSE);
}

void openWebAddress(HWND card)
{
    std::u16string host = webHostText(controlText(card, IDC_CARD_WEB).c_str());
    if (host.empty())
        return;
    if (!startProgram(W("\\Windows\\iexplore.exe"), host)) {
        reportStartFailure();
        return;
    }
    // The browser needs the memory more than the card: the next read takes a new window.
    if (databaseProgram.current != nullptr)
        releaseWindow(*databaseProgram.current);
}

void writeEmail(HWND card)
{
    std::u16string commandLine = emailCommandLine(controlText(card, IDC_CARD_EMAIL).c_str());
    if (commandLine.empty())
        return;
    if (!startProgram(W("tmail.exe"), commandLine))
        reportStartFailure();
}

void showRubricNotes(HWND card, HWND list, uint32_t firmDetailsRef)
{
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected < 0)
        return;
    const auto value = static_cast<uint32_t>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
    const uint32_t rubricIndex = value & 0xFFFFu;
    const uint32_t length = value >> 16;
    // Only the hours line has rubric 0; a line without notes is shown whole when it is too long.
    if (rubricIndex != 0 && databaseProgram.current != nullptr) {
        CardHooks hooks(card);
        buildRubricTable(*databaseProgram.current, nullptr, hooks);
        if (showNotesOf(card, rubricIndex, firmDetailsRef))
            return;
    }
    if (length <= cardListFitLength)
        return;
    WCHAR line[cardListLineCharacters + 1] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0) <= cardListLineCharacters)
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(line));
    noteBox(card, line);
}

void reportStartFailure()
{
    showSystemError(W("PROC:"), false);
}
