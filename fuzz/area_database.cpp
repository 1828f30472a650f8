#include "fuzz/area_database.h"

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "fuzz/exercise_files.h"
#include "tools/writer/edition_writer.h"

#include <vector>

namespace {

constexpr char16_t devicePath[] = u"\\area.ydb";

std::string hostFile;
std::vector<uint8_t> soundPart;  // header and tables, the resource area left empty
DirectoryDatabase* previousCurrent = nullptr;

// Enough records that the tables are not empty, so the area does not begin right at the header.
Edition soundEdition()
{
    Edition edition;
    edition.title = "Area";
    EditionFirm firm;
    firm.name = "Alpha";
    firm.phone = "3100000";
    edition.firms = {firm};
    edition.rubrics = {{"01", "Top", 3, true, {0}}};
    return edition;
}

} // namespace

bool prepareAreaDatabase(const std::string& hostRoot, const char* prefix)
{
    const std::string root = exerciseDeviceRoot(hostRoot, prefix);
    if (root.empty())
        return false;
    hostFile = root + "/area.ydb";
    emu::setMessageBoxHandler([](HWND, std::u16string_view, std::u16string_view, UINT) { return IDOK; });
    DatabaseImage image;
    std::string error;
    if (writeEdition(soundEdition(), image, error) != writeOk)
        return false;
    soundPart = image.bytes;
    return true;
}

DirectoryDatabase* openAreaDatabase(const uint8_t* data, size_t size, const char* exercise)
{
    std::vector<uint8_t> file = soundPart;
    file.insert(file.end(), data, data + size);
    if (!writeExerciseInput(hostFile, file.data(), file.size()))
        exerciseBroken(exercise, "the input could not be written");
    DirectoryDatabase* db = createDatabase();
    if (db == nullptr || openDatabase(*db, devicePath) != 0 || db->title == nullptr)
        exerciseBroken(exercise, "the sound part did not open as a database");
    previousCurrent = databaseProgram.current;
    databaseProgram.current = db;
    return db;
}

void closeAreaDatabase(DirectoryDatabase* db)
{
    databaseProgram.current = previousCurrent;
    destroyDatabase(db);
}
