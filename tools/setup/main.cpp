// The setup program of one distribution folder ("Install_SPb", "Install_Msk", "Install_ALL"):
// installs the editions that lie beside it onto the handheld's device folder.
//
//   setup.exe [DEVICE_FOLDER]
//
// Without an argument the device folder is taken from QUILLDEN_DEVICE, else the handheld this
// build set up. The launcher starts it without arguments.
#include "tools/setup/install.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#ifndef SETUP_EDITIONS
#error "SETUP_EDITIONS names the editions of this setup program, e.g. \"SPb,Msk\""
#endif
#ifndef SETUP_DEFAULT_DEVICE
#define SETUP_DEFAULT_DEVICE ""
#endif

namespace fs = std::filesystem;

namespace {

struct EditionTitle {
    const char* name;
    const char* title;
};

const EditionTitle editionTitles[] = {
    {"SPb", "Санкт-Петербург"},
    {"Msk", "Москва"},
};

const char* titleOf(const std::string& name)
{
    for (const EditionTitle& edition : editionTitles) {
        if (name == edition.name)
            return edition.title;
    }
    return name.c_str();
}

// The folder of this program, where its editions lie.
fs::path ownFolder(const char* argv0)
{
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error)
        self = fs::absolute(argv0, error);
    return self.parent_path();
}

std::vector<setup::EditionSource> configuredEditions(const fs::path& medium)
{
    std::vector<setup::EditionSource> editions;
    std::string list = SETUP_EDITIONS;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!name.empty())
            editions.push_back({name, medium / name});
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return editions;
}

fs::path chosenDeviceFolder(int argc, char** argv)
{
    if (argc > 1)
        return argv[1];
    if (const char* fromEnvironment = std::getenv("QUILLDEN_DEVICE"); fromEnvironment && *fromEnvironment)
        return fromEnvironment;
    return SETUP_DEFAULT_DEVICE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 || (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
        std::fprintf(stderr, "Использование: %s [ПАПКА_УСТРОЙСТВА]\n", argv[0]);
        return 2;
    }
    std::vector<setup::EditionSource> editions = configuredEditions(ownFolder(argv[0]));
    fs::path device = chosenDeviceFolder(argc, argv);

    std::printf("Установка Morvane Quillden на КПК\n");
    for (const setup::EditionSource& edition : editions)
        std::printf("  база: %s\n", titleOf(edition.name));
    if (device.empty()) {
        std::fprintf(stderr, "Не указана папка устройства: назовите её при запуске или в QUILLDEN_DEVICE.\n");
        return 1;
    }
    std::printf("  устройство: %s\n", device.c_str());

    setup::Progress progress;
    progress.copying = [](const std::string& file, uint64_t done, uint64_t total) {
        unsigned percent = total == 0 ? 100 : static_cast<unsigned>(done * 100 / total);
        std::printf("[%3u%%] %s\n", percent, file.c_str());
        std::fflush(stdout);
    };
    setup::InstallResult result = setup::installEditions(editions, device, progress);
    if (!result.ok) {
        std::fprintf(stderr, "ОШИБКА: %s\nУстановка не выполнена; прежняя версия на устройстве осталась без изменений.\n",
                     result.error.c_str());
        return 1;
    }
    std::printf("[100%%] Установка завершена. Базы находятся в папке \\Storage Card\\Program Files\\MORVANE\\QUILLDEN\\"
                " устройства.\n");
    return 0;
}
