// What the search tests share: editions written into a device folder and opened, and sinks and
// screen hooks that record what the operations show and answer their questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "search/sinks.h"
#include "tests/db/test_support.h"

struct ListedLine {
    std::u16string text;
    ItemValue value;
};

struct RecordingList : ListSink {
    std::vector<ListedLine> lines;
    int32_t selected = -1;
    size_t capacity = SIZE_MAX;  // lines accepted before "out of space"

    bool addLine(const WCHAR* text, ItemValue value) override;
    void selectLine(int32_t index) override { selected = index; }
    std::vector<std::u16string> texts() const;
};

struct RecordingTree : TreeSink {
    struct Item {
        TreeItem parent;
        std::u16string text;
    };
    std::vector<Item> items;  // handle h is items[h - 1]
    std::vector<TreeItem> sortedParents;

    TreeItem insertLastChild(TreeItem parent, const WCHAR* text) override;
    void sortChildren(TreeItem parent) override { sortedParents.push_back(parent); }
    std::vector<std::u16string> childrenOf(TreeItem parent) const;
};

struct RecordingCompletion : CompletionSink {
    std::vector<std::u16string> lines;
    bool open = false;
    int restored = 0;

    int32_t lineCount() override { return static_cast<int32_t>(lines.size()); }
    void closeList() override { open = false; }
    void emptyList() override { lines.clear(); }
    bool addLine(const WCHAR* text) override;
    void openList() override { open = true; }
    void restoreTypedText() override { ++restored; }
};

struct ScriptedHooks : ScreenHooks {
    std::vector<ShownBox> shown;
    std::deque<int> answers;  // IDYES / IDNO for the questions, in order; IDNO when none is left
    int waitCursors = 0;

    int messageBox(const WCHAR* text, const WCHAR* caption, UINT type) override;
    void showWaitCursor() override { ++waitCursors; }
    std::vector<std::u16string> captions() const;
};

class SearchTest : public DeviceTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes and opens the edition; the image stays in `image` for its references.
    DirectoryDatabase& open(const Edition& edition);

    DatabaseImage image;
    DirectoryDatabase* db = nullptr;
};

// A firm named `name` (UTF-16) on edition street `street`, house and suffix as given.
EditionFirm firmNamed(std::u16string_view name, uint32_t street = noStreet, uint32_t house = 0,
                      std::u16string_view suffix = u"");
