#include "tools/setup/install.h"

#include "tools/setup/file_copy.h"
#include "tools/setup/plain_words.h"

#include <algorithm>
#include <cctype>

namespace setup {

namespace fs = std::filesystem;

namespace {

// Names used while an edition is being replaced. None of them contains ".ydb", so the
// directory program never takes a half-copied file for a database.
const char stagedDatabaseName[] = "~setup-db.tmp";
const char stagedPagesName[] = "~setup-html.tmp";
const char retiredPagesName[] = "~setup-html.old";
const char pagesFolderName[] = "HTML";

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The directory program counts a file as a database when its name holds ".ydb" or ".YDB".
bool looksLikeDatabase(const std::string& name)
{
    return name.find(".ydb") != std::string::npos || name.find(".YDB") != std::string::npos;
}

bool endsWithYdb(const std::string& name)
{
    return name.size() > 4 && sameIgnoringCase(name.substr(name.size() - 4), ".ydb");
}

std::string devicePathText(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += "\\" + part;
    return text + "\\";
}

struct Job {
    const Progress& progress;
    uint64_t done = 0;
    uint64_t total = 0;

    void started(const std::string& file) const
    {
        if (progress.copying)
            progress.copying(file, done, total);
    }
    void copied(uint64_t bytes) { done += bytes; }
};

// The edition's database file on the medium: exactly one file ending in ".ydb".
std::string findDatabase(const EditionSource& edition, fs::path& database)
{
    std::error_code error;
    fs::directory_iterator entries(edition.folder, error);
    if (error)
        return "На диске с программой установки нет базы «" + edition.name + "» (папка " + edition.folder.string() +
               ": " + describeReason(error) + ").";
    int found = 0;
    for (const fs::directory_entry& entry : entries) {
        std::error_code kindError;
        if (entry.is_regular_file(kindError) && endsWithYdb(entry.path().filename().string())) {
            database = entry.path();
            ++found;
        }
    }
    if (found == 0)
        return "В папке " + edition.folder.string() + " нет файла базы (.ydb) для «" + edition.name + "».";
    if (found > 1)
        return "В папке " + edition.folder.string() + " несколько файлов баз (.ydb); непонятно, какой устанавливать.";
    return {};
}

std::string makeFolder(const fs::path& folder, const std::string& shownName)
{
    std::error_code error;
    if (fs::is_directory(folder, error))
        return {};
    if (fs::exists(folder, error))
        return "На устройстве «" + shownName + "» — файл, а не папка; установка туда невозможна.";
    fs::create_directory(folder, error);
    if (error)
        return describeFailure("создать папку", shownName, error);
    return {};
}

std::string checkSpace(const fs::path& folder, uint64_t needed)
{
    std::error_code error;
    fs::space_info space = fs::space(folder, error);
    if (error || space.available >= needed)
        return {};
    auto megabytes = [](uint64_t bytes) { return std::to_string((bytes + 1024 * 1024 - 1) / (1024 * 1024)); };
    return "На устройстве недостаточно места: нужно " + megabytes(needed) + " МБ, свободно " +
           megabytes(space.available) + " МБ.";
}

void removeQuietly(const fs::path& path)
{
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

// Puts the staged pages in place of the old ones, keeping the old ones aside until the
// database itself has been replaced.
std::string swapInPages(const fs::path& editionFolder, const std::string& shownFolder)
{
    std::error_code error;
    fs::path retired = editionFolder / retiredPagesName;
    removeQuietly(retired);
    fs::path current = deviceEntry(editionFolder, pagesFolderName);
    bool hadPages = fs::exists(current, error);
    if (hadPages) {
        fs::rename(current, retired, error);
        if (error)
            return describeFailure("заменить папку", shownFolder + "\\HTML", error);
    }
    fs::rename(editionFolder / stagedPagesName, editionFolder / pagesFolderName, error);
    if (error) {
        std::error_code ignored;
        if (hadPages)
            fs::rename(retired, current, ignored);
        return describeFailure("заменить папку", shownFolder + "\\HTML", error);
    }
    return {};
}

// Undoes swapInPages after the database could not be replaced.
void restorePages(const fs::path& editionFolder)
{
    fs::path retired = editionFolder / retiredPagesName;
    removeQuietly(editionFolder / pagesFolderName);
    std::error_code ignored;
    if (fs::exists(retired, ignored))
        fs::rename(retired, editionFolder / pagesFolderName, ignored);
}

// Other database files of the same edition folder are older issues: left there, the
// directory program would offer them as further choices.
void removeOlderDatabases(const fs::path& editionFolder, const fs::path& installed)
{
    std::error_code error;
    std::vector<fs::path> older;
    for (const fs::directory_entry& entry : fs::directory_iterator(editionFolder, error)) {
        std::error_code kindError;
        if (entry.path() != installed && entry.is_regular_file(kindError) &&
            looksLikeDatabase(entry.path().filename().string()))
            older.push_back(entry.path());
    }
    for (const fs::path& path : older)
        removeQuietly(path);
}

std::string installEdition(const EditionSource& edition, const fs::path& installFolder, const std::string& shownInstall,
                           Job& job)
{
    fs::path database;
    if (std::string failure = findDatabase(edition, database); !failure.empty())
        return failure;
    fs::path pages = deviceEntry(edition.folder, pagesFolderName);
    std::error_code error;
    bool hasPages = fs::is_directory(pages, error);

    std::string shownFolder = shownInstall + edition.name;
    fs::path editionFolder = deviceEntry(installFolder, edition.name);
    if (std::string failure = makeFolder(editionFolder, shownFolder); !failure.empty())
        return failure;
    uint64_t needed = bytesToCopy(database) + (hasPages ? bytesToCopy(pages) : 0);
    if (std::string failure = checkSpace(editionFolder, needed); !failure.empty())
        return failure;

    std::string databaseName = database.filename().string();
    std::string shownDatabase = shownFolder + "\\" + databaseName;
    fs::path stagedDatabase = editionFolder / stagedDatabaseName;
    fs::path stagedPages = editionFolder / stagedPagesName;
    auto abandon = [&](const std::string& failure) {
        removeQuietly(stagedDatabase);
        removeQuietly(stagedPages);
        return failure;
    };

    job.started(shownDatabase);
    std::string failure =
        copyFileChecked(database, stagedDatabase, shownDatabase, [&job](uint64_t bytes) { job.copied(bytes); });
    if (failure.empty() && hasPages)
        failure = copyTreeChecked(
            pages, stagedPages, shownFolder + "\\HTML", [&job](const std::string& file) { job.started(file); },
            [&job](uint64_t bytes) { job.copied(bytes); });
    if (!failure.empty())
        return abandon(failure);

    if (hasPages) {
        if (failure = swapInPages(editionFolder, shownFolder); !failure.empty())
            return abandon(failure);
    }
    fs::path target = deviceEntry(editionFolder, databaseName);
    fs::rename(stagedDatabase, target, error);
    if (error) {
        if (hasPages)
            restorePages(editionFolder);
        return abandon(describeFailure("заменить", shownDatabase, error));
    }
    removeQuietly(editionFolder / retiredPagesName);
    removeOlderDatabases(editionFolder, target);
    return {};
}

} // namespace

fs::path deviceEntry(const fs::path& folder, const std::string& name)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (sameIgnoringCase(entry.path().filename().string(), name))
            return entry.path();
    }
    return folder / name;
}

InstallResult installEditions(const std::vector<EditionSource>& editions, const fs::path& deviceFolder,
                              const Progress& progress)
{
    InstallResult result;
    std::error_code error;
    if (!fs::is_directory(deviceFolder, error)) {
        result.error = "Папка устройства " + deviceFolder.string() +
                       " не найдена. Подключите КПК и запустите установку снова.";
        return result;
    }

    fs::path installFolder = deviceFolder;
    std::vector<std::string> shownParts;
    for (const std::string& part : installFolderPath) {
        installFolder = deviceEntry(installFolder, part);
        shownParts.push_back(part);
        if (std::string failure = makeFolder(installFolder, devicePathText(shownParts)); !failure.empty()) {
            result.error = failure;
            return result;
        }
    }
    std::string shownInstall = devicePathText(installFolderPath);

    Job job{progress};
    for (const EditionSource& edition : editions) {
        fs::path database;
        if (findDatabase(edition, database).empty())
            job.total += bytesToCopy(database);
        job.total += bytesToCopy(deviceEntry(edition.folder, pagesFolderName));
    }
    for (const EditionSource& edition : editions) {
        if (std::string failure = installEdition(edition, installFolder, shownInstall, job); !failure.empty()) {
            result.error = failure;
            return result;
        }
    }
    result.ok = true;
    return result;
}

} // namespace setup
