// What the device does for a contact of the business card: dials a telephone through the telephone
// service, opens a web site in the browser, starts the mail program (also for a "mailto:" link of a
// page), and shows a firm's notes under one of its rubrics. The window-free parts are in
// card/card_fields.h; these read the card's controls and start, call and show.
#pragma once

#include "search/sinks.h"
#include "win32.h"

#include <cstdint>
#include <string>

// Whether an 8-bit link target is a "mailto:" address (the scheme in any letter case).
bool startsWithMailto(const char* target);

// The mail program's command line for a link: -to "address", the address being the target after
// "mailto:" in UTF-16, at most 512 characters.
std::u16string mailToCommandLine(const char* target);

// Starts "tmail.exe" for a "mailto:" link; a failure is not reported.
void startMailTo(const char* target);

// The card's selected telephone dialled, asking the user to confirm first. Without the telephone
// service the refusal box; when the library itself is missing the telephone button is disabled too.
void dialSelectedTelephone(HWND card);
// The browser started on the host of the card's web text; the read window given back once it runs.
void openWebAddress(HWND card);
// The mail program started with the card's e-mail address, a subject and a greeting.
void writeEmail(HWND card);
// The notes under the rubric of the list's selected line, or a line too long for the list shown
// whole. `firmDetailsRef` is the firm's details record (table 7).
void showRubricNotes(HWND card, HWND list, uint32_t firmDetailsRef);
// The system's text for the last error in a "PROC:" box owned by the main window; nothing when
// the last error is 0.
void reportStartFailure();

// The card's answers to the list operations: their message boxes owned by the card.
class CardHooks : public ScreenHooks {
public:
    explicit CardHooks(HWND owner) : owner_(owner) {}
    int messageBox(const WCHAR* text, const WCHAR* caption, UINT type) override
    {
        return MessageBoxW(owner_, text, caption, type);
    }

private:
    HWND owner_;
};
