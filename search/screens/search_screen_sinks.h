// The search screen's combo boxes as the completions' sink: the drop-down list opened, closed,
// emptied and filled by the program, and the text the user typed kept in the edit field through
// all of it.
#pragma once

#include "search/sinks.h"

class ComboCompletionSink : public CompletionSink {
public:
    // Takes the box's text as it is now: the text the completion works on and puts back.
    explicit ComboCompletionSink(HWND box);
    const WCHAR* typedText() const { return typed; }

    int32_t lineCount() override;
    void closeList() override;
    void emptyList() override;
    bool addLine(const WCHAR* text) override;
    void openList() override;
    void restoreTypedText() override;

private:
    HWND box;
    WCHAR typed[256] = {};  // at most 255 characters, as the completions read them
    int typedLength = 0;
};
