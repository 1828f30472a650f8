// What the handheld's screens take from an edition besides its tables: the help text and the anchors
// its screens jump to, the pictures by number with the sizes the screens can show, and the
// information pages each set of home tiles opens. `build` and `check` warn about what is missing,
// `new` and `synth` write all of it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct HelpAnchor {
    const char* name;    // as in <a name="...">
    const char* screen;  // who jumps there
    const char* title;   // the heading of its paragraph in a starter help text
};
extern const std::vector<HelpAnchor> helpAnchors;

struct PictureNeed {
    const char* screen;
    int width;      // the width the screen stretches it to; 0 for any
    int minWidth;   // the least size that fills the screen; 0 for any
    int minHeight;
};
// Indexed by picture number.
extern const std::vector<PictureNeed> pictureNeeds;

// The default device's screen less the 26-pixel button bar at its foot: the about screen makes itself
// full, and the metro scheme must fill that too (with the task bar shown it needs less).
constexpr int portraitWidth = 240, portraitContentHeight = 294;
constexpr int landscapeWidth = 320, landscapeContentHeight = 214;

struct TilePage {
    const char* file;   // in HTML\ beside the database
    const char* tile;   // what opens it
    const char* title;  // the heading of a starter page
};
// The city letter М (0xCC in code page 1251) selects the second set of tile pages, any other the first.
constexpr uint8_t secondSetLetter = 0xCC;
// The pages the tiles of this letter's set open, and the about screen's product page.
std::vector<TilePage> tilePages(uint8_t cityLetter);
// Both sets, each file once: what an edition for either letter carries.
std::vector<TilePage> allTilePages();

// The resources of one edition as found in its source or its file.
struct PictureFacts {
    int32_t width = 0, height = 0;  // height may be negative (rows top-down)
};
struct EditionResources {
    bool hasHelp = false;
    std::string help;  // the first help text (code page 1251)
    std::vector<PictureFacts> pictures;
};

// A warning about one resource: the help text, picture `picture`, or the edition as a whole.
struct ResourceWarning {
    enum class Subject { edition, help, picture } subject = Subject::edition;
    int picture = -1;
    std::string message;  // UTF-8, says what to add
};
std::vector<ResourceWarning> resourceWarnings(const EditionResources& resources);

// The tile pages of this letter's set for which `has(file)` is false, as warnings that name the tile.
std::vector<std::string> missingPageWarnings(uint8_t cityLetter, const std::function<bool(const std::string&)>& has);

// The anchor names of <a name="..."> in an HTML text, as the page view matches them.
std::vector<std::string> anchorNames(const std::string& html);
