// ydb query: the directory's lists and searches without a screen. Lines go to standard output as
// the screens would show them (UTF-8, or JSON Lines with --json); every message box goes to
// standard error as "CAPTION: text", and the search's questions are answered by options.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "db/database.h"
#include "emulator.h"
#include "search/completion.h"
#include "search/firm_lists.h"
#include "search/letter_index.h"
#include "search/messages.h"
#include "search/rubric_table.h"
#include "search/search_run.h"
#include "search/search_state.h"
#include "search/street_list.h"
#include "search/wide_text.h"
#include "tools/ydb/commands.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/examine/record_json.h"
#include "tools/ydb/source/cp1251.h"

namespace {

std::string utf8(const WCHAR* text) { return utf16ToUtf8(text, wideLength(text) + 1); }

std::u16string fromUtf8(const char* text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::u16string out(n > 0 ? static_cast<size_t>(n) : 1, u'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
    out.resize(out.size() - 1);
    return out;
}

// The search screen's boxes show upper case: what is typed into them arrives upper-cased.
std::u16string typedIntoUpperCaseBox(const char* text) {
    std::u16string out = fromUtf8(text);
    for (char16_t& c : out) {
        if ((c >= u'a' && c <= u'z') || (c >= u'а' && c <= u'я')) c = static_cast<char16_t>(c - 0x20);
        else if (c == u'ё') c = u'Ё';
    }
    return out;
}

struct Output {
    bool json = false;

    void line(const WCHAR* text, const nlohmann::json& fields = {}) const {
        if (!json) {
            std::printf("%s\n", utf8(text).c_str());
            return;
        }
        nlohmann::json object = fields.is_object() ? fields : nlohmann::json::object();
        object["text"] = utf8(text);
        std::printf("%s\n", object.dump().c_str());
    }
};

struct PrintedList : ListSink {
    const Output& out;
    explicit PrintedList(const Output& o) : out(o) {}
    bool addLine(const WCHAR* text, ItemValue value) override {
        out.line(text, {{"value", value}});
        return true;
    }
    void selectLine(int32_t) override {}
};

// Lines kept in order, for the index whose ranges the letter firms need.
struct KeptList : ListSink {
    std::vector<ItemValue> values;
    bool addLine(const WCHAR*, ItemValue value) override {
        values.push_back(value);
        return true;
    }
    void selectLine(int32_t) override {}
};

struct KeptTree : TreeSink {
    struct Item {
        TreeItem handle;
        TreeItem parent;
        std::u16string text;
    };
    std::vector<Item> items;  // in insertion order; handle = position + 1
    TreeItem insertLastChild(TreeItem parent, const WCHAR* text) override {
        items.push_back({items.size() + 1, parent, std::u16string(text)});
        return items.size();
    }
    // The tree's own sort compares texts without regard to case.
    void sortChildren(TreeItem parent) override {
        auto folded = [](std::u16string s) {
            for (char16_t& c : s)
                if (c >= u'а' && c <= u'я') c = static_cast<char16_t>(c - 0x20);
                else if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
            return s;
        };
        std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
            if (a.parent != parent || b.parent != parent) return false;
            return folded(a.text) < folded(b.text);
        });
    }
};

struct KeptCompletion : CompletionSink {
    std::vector<std::u16string> lines;
    int32_t lineCount() override { return static_cast<int32_t>(lines.size()); }
    void closeList() override {}
    void emptyList() override { lines.clear(); }
    bool addLine(const WCHAR* text) override {
        lines.emplace_back(text);
        return true;
    }
    void openList() override {}
    void restoreTypedText() override {}
};

// Message boxes on standard error; the questions answered as the options say.
struct AnsweringHooks : ScreenHooks {
    int fragmentAnswer = IDNO;
    int notesAnswer = IDNO;
    int readErrors = 0;
    int messageBox(const WCHAR* text, const WCHAR* caption, UINT type) override {
        // The screen asks for conditions in a box; the tool says so as a usage error instead.
        if (std::u16string_view(caption) == text::captionConditions) return IDOK;
        std::fprintf(stderr, "%s: %s\n", utf8(caption).c_str(), utf8(text).c_str());
        if (std::u16string_view(text) == text::readError) ++readErrors;
        if ((type & MB_TYPEMASK) != MB_YESNO) return IDOK;
        if (std::u16string_view(caption) == text::captionHope) return fragmentAnswer;
        if (std::u16string_view(caption) == text::captionLastChance) return notesAnswer;
        return IDNO;
    }
};

constexpr char16_t damagedFileText[] = u"Файл базы данных поврежден !?";

bool parseNumber(const char* text, uint64_t limit, uint64_t& value) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(text, &end, 0);
    if (end == text || *end != 0 || text[0] == '-' || errno != 0 || v > limit) return false;
    value = v;
    return true;
}

bool parseAnswer(const char* text, int& answer) {
    if (std::strcmp(text, "yes") == 0) answer = IDYES;
    else if (std::strcmp(text, "no") == 0) answer = IDNO;
    else return false;
    return true;
}

int usage(const std::string& reason = {}) { return usageError("query", reason); }

int queryRubrics(DirectoryDatabase& db, const std::vector<const char*>& args, const Output& out, AnsweringHooks& hooks) {
    bool choice = false;
    for (const char* a : args) {
        if (std::strcmp(a, "--flat") == 0) searchState.flatMode = 1;
        else if (std::strcmp(a, "--choice") == 0) choice = true;
        else return usage(std::string("rubrics takes --flat and --choice, not '") + a + "'");
    }
    if (choice) searchState.rubricChoice.marker = choiceAsked;
    KeptTree tree;
    buildRubricTable(db, &tree, hooks);
    // Depth first from the top level, as the tree shows its items when every level is open.
    std::vector<std::pair<TreeItem, int>> stack;
    for (auto it = tree.items.rbegin(); it != tree.items.rend(); ++it)
        if (it->parent == 0) stack.push_back({it->handle, 0});
    std::vector<const KeptTree::Item*> byHandle(tree.items.size() + 1, nullptr);
    for (const KeptTree::Item& item : tree.items) byHandle[item.handle] = &item;
    while (!stack.empty()) {
        const auto [handle, depth] = stack.back();
        stack.pop_back();
        const KeptTree::Item& item = *byHandle[handle];
        const int32_t index = findRubricEntry(handle);
        nlohmann::json fields = {{"depth", depth}, {"index", index}};
        std::u16string shown = std::u16string(2 * static_cast<size_t>(depth), u' ') + item.text;
        if (choice && index >= 0) {
            // What choosing the item hands to the search: "|" and the first 6 characters of the code.
            char code[7] = {};
            std::memcpy(code, searchState.rubricTable.entries[index].code, 6);
            const std::string theme = "|" + cp1251ToUtf8(code);
            fields["theme"] = theme;
            shown += u"\t" + fromUtf8(theme.c_str());
        }
        out.line(out.json ? item.text.c_str() : shown.c_str(), fields);
        for (auto it = tree.items.rbegin(); it != tree.items.rend(); ++it)
            if (it->parent == handle) stack.push_back({it->handle, depth + 1});
    }
    return exitOk;
}

int querySearch(DirectoryDatabase& db, const std::vector<const char*>& args, const Output& out, AnsweringHooks& hooks) {
    SearchRequest request;
    std::u16string name, street, phone;
    for (size_t i = 0; i < args.size(); ++i) {
        const char* a = args[i];
        const char* value = i + 1 < args.size() ? args[i + 1] : nullptr;
        if (!value) return usage(std::string(a) + " needs a value");
        ++i;
        if (std::strcmp(a, "--mode") == 0) {
            static const char* const modes[searchModeCount] = {"prefix", "contains", "web", "notes"};
            request.mode = -1;
            for (int32_t m = 0; m < searchModeCount; ++m)
                if (std::strcmp(value, modes[m]) == 0) request.mode = m;
            if (request.mode < 0) return usage("--mode is prefix, contains, web or notes");
        } else if (std::strcmp(a, "--name") == 0) {
            name = typedIntoUpperCaseBox(value);
        } else if (std::strcmp(a, "--street") == 0) {
            street = typedIntoUpperCaseBox(value);
        } else if (std::strcmp(a, "--phone") == 0) {
            phone = fromUtf8(value);  // the telephone field takes digits only
            if (!std::all_of(phone.begin(), phone.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
                return usage("--phone takes digits only");
            if (phone.size() > 9) phone.resize(9);
        } else if (std::strcmp(a, "--theme") == 0) {
            std::string code;
            if (!utf8ToCp1251(value, code)) return usage("--theme takes a rubric code");
            RubricChoice& choice = searchState.rubricChoice;
            choice.marker = choiceMade;
            std::memset(choice.code, 0, sizeof choice.code);
            std::memcpy(choice.code, code.data(), std::min<size_t>(code.size(), 6));
        } else if (std::strcmp(a, "--fragment") == 0) {
            if (!parseAnswer(value, hooks.fragmentAnswer)) return usage("--fragment takes yes or no");
        } else if (std::strcmp(a, "--notes") == 0) {
            if (!parseAnswer(value, hooks.notesAnswer)) return usage("--notes takes yes or no");
        } else {
            return usage(std::string("search has no option '") + a + "'");
        }
    }
    request.name = name.c_str();
    request.street = street.c_str();
    request.phone = phone.c_str();
    loadStreetList(streetList, db);
    PrintedList results(out);
    if (runSearch(db, request, results, hooks) == searchNeedsConditions)
        return usage("search needs at least one of --name, --street and --phone (with letters or digits)");
    return exitOk;
}

int queryLetterFirms(DirectoryDatabase& db, const char* arg, const Output& out, AnsweringHooks& hooks) {
    uint64_t line = 0;
    if (!parseNumber(arg, 0x7FFFFFFF, line)) return usage("letter-firms takes a line number of the index");
    KeptList index;
    fillLetterIndex(db, index, hooks);
    if (line >= index.values.size()) {
        std::fprintf(stderr, "ydb query: the index has %zu lines\n", index.values.size());
        return exitUsage;
    }
    const auto start = static_cast<uint32_t>(index.values[line]);
    const uint32_t end =
        line + 1 < index.values.size() ? static_cast<uint32_t>(index.values[line + 1]) : tableLength(db, tableFirms);
    PrintedList firms(out);
    fillLetterFirms(db, start, end, firms, hooks);
    return exitOk;
}

// The handheld only ever reads a rubric firm list where a rubric points; anywhere else it reads
// the middle of a list as if it were a start and calls the file damaged.
bool startsRubricFirmList(DirectoryDatabase& db, uint32_t ref) {
    const uint32_t length = tableLength(db, tableRubricFirms);
    if (ref >= length) {
        std::fprintf(stderr, "ydb query: firm list %u lies beyond the rubric firm lists (%u bytes)\n", ref, length);
        return false;
    }
    bool found = false;
    uint32_t failedRef = 0;
    const int32_t walk = walkTable(db, tableRubrics, 0, [&](uint32_t) { found = found || db.rubric.firmListRef == ref; },
                                   failedRef);
    if (found) return true;
    if (walk != readOk)
        std::fprintf(stderr, "ydb query: damaged: the rubric at %u cannot be read (reader code %d)\n", failedRef, walk);
    else
        std::fprintf(stderr,
                     "ydb query: no rubric's firm list starts at %u; the rubrics' firmListRef values are the starts "
                     "(ydb dump FILE rubrics)\n",
                     ref);
    return false;
}

int runQuery(DirectoryDatabase& db, const std::string& what, const std::vector<const char*>& args, const Output& out,
             AnsweringHooks& hooks) {
    if (what == "rubrics") return queryRubrics(db, args, out, hooks);
    if (what == "search") return querySearch(db, args, out, hooks);
    if (what == "letters") {
        if (!args.empty()) return usage("letters takes no arguments");
        PrintedList index(out);
        fillLetterIndex(db, index, hooks);
        return exitOk;
    }
    if (what == "letter-firms") return args.size() == 1 ? queryLetterFirms(db, args[0], out, hooks) : usage();
    if (what == "firms") {
        uint64_t ref = 0;
        if (args.size() != 1 || !parseNumber(args[0], 0xFFFFFFFF, ref)) return usage("firms takes one REF, a number");
        if (!startsRubricFirmList(db, static_cast<uint32_t>(ref))) return exitFailed;
        PrintedList list(out);
        fillRubricFirmList(db, static_cast<uint32_t>(ref), list, hooks);
        return exitOk;
    }
    if (what == "complete-name" || what == "complete-street") {
        if (args.empty() || (what == "complete-street" && args.size() != 1)) return usage(what + (what == "complete-street" ? " takes one TEXT" : " takes one TEXT or more"));
        KeptCompletion box;
        for (const char* a : args) {
            const std::u16string typed = typedIntoUpperCaseBox(a);
            if (what == "complete-name") completeName(db, modeNameBegins, typed.c_str(), box);
            else completeStreet(db, typed.c_str(), box);
        }
        for (const std::u16string& line : box.lines) out.line(line.c_str());
        return exitOk;
    }
    return usage("no WHAT '" + what + "'");
}

}  // namespace

int runQuery(int argc, char** argv) {
    Output out;
    std::vector<const char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) out.json = true;
        else args.push_back(argv[i]);
    }
    if (args.size() < 2) return usage(args.empty() ? "FILE and WHAT are needed" : "WHAT is needed");
    const std::string file = args[0];
    const std::string what = args[1];
    args.erase(args.begin(), args.begin() + 2);

    int damaged = 0;
    emu::setMessageBoxHandler([&damaged](HWND, std::u16string_view text, std::u16string_view caption, UINT style) {
        std::fprintf(stderr, "%s: %s\n", utf16ToUtf8(caption.data(), caption.size()).c_str(),
                     utf16ToUtf8(text.data(), text.size()).c_str());
        if (text == damagedFileText) ++damaged;
        return emu::defaultMessageBoxAnswer(style);
    });
    std::string error;
    OpenFailure failure;
    DirectoryDatabase* db = openHostDatabase(file, error, failure);
    if (!db) {
        std::fprintf(stderr, "ydb query: %s\n", error.c_str());
        return exitCodeOf(failure);
    }
    searchState = SearchState{};
    AnsweringHooks hooks;
    const int result = runQuery(*db, what, args, out, hooks);
    freeStreetList(streetList);
    freeRubricTable();
    destroyDatabase(db);
    std::fflush(stdout);
    if (result != exitOk) return result;
    return damaged > 0 || hooks.readErrors > 0 ? exitFailed : exitOk;
}
