#include "fuzz/card/help_exercise.h"

#include "card/html_pane.h"
#include "db/resource_area.h"
#include "emulator.h"
#include "fuzz/area_database.h"
#include "fuzz/exercise_files.h"

#include <cstring>

namespace {

constexpr int maxTexts = 6;

[[noreturn]] void broken(const char* what) { exerciseBroken("help", what); }

void checkLoad(const HtmlPane& pane, int code)
{
    if (code != 0 && code != -1 && code != -2 && code != -3)
        broken("a code the loader does not give");
    if (code == -1 || code == -2) {
        if (pane.text != nullptr)
            broken("a failed load kept a text");
        return;
    }
    if (pane.text == nullptr)
        broken("a loaded text is missing");
    const uint32_t body = ydb::loadU32(pane.chunkHeader + ydb::chunkSizeOffset) - ydb::chunkHeaderSize;
    // The block holds the text and its 0; strlen stops at the first 0, inside the bytes read.
    const size_t length = std::strlen(pane.text);
    if (length > body)
        broken("a text longer than its chunk");
}

} // namespace

bool prepareHelpExercise(const std::string& hostRoot)
{
    return prepareAreaDatabase(hostRoot, "help-exercise");
}

int exerciseHelpTexts(const uint8_t* data, size_t size)
{
    DirectoryDatabase* db = openAreaDatabase(data, size, "help");
    const size_t blocks = emu::liveLocalBlocks();
    HtmlPane pane{};
    pane.historyIndex = -1;
    int loaded = 0;
    bool ended = false;
    for (int n = 0; n < maxTexts; ++n) {
        const int code = loadHelpText(pane, n);
        checkLoad(pane, code);
        if (ended && code != -1)
            broken("a help text found after the area ended");
        if (code == 0)
            ++loaded;
        ended = code == -1;
        if (ended)
            break;
    }
    if (pane.text != nullptr)
        LocalFree(pane.text);
    if (emu::liveLocalBlocks() != blocks)
        broken("a block left behind by a load");
    closeAreaDatabase(db);
    return loaded;
}
