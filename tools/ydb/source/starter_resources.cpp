#include "tools/ydb/source/starter_resources.h"

#include <filesystem>
#include <fstream>

#include "tools/editiongen/about_pictures.h"
#include "tools/editiongen/bmp_writer.h"
#include "tools/editiongen/metro_scheme.h"
#include "tools/ydb/source/edition_needs.h"

namespace fs = std::filesystem;

namespace {

const char pageHead[] = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">";

// Two lines crossing in the middle: enough for the screen to have something to pan.
const char schemeText[] = "line Центральная #D6083B\n"
                          "Северная @ 50,8\n"
                          "Парковая\n"
                          "Площадь @ 50,50\n"
                          "Рынок\n"
                          "Южная @ 50,92\n"
                          "line Речная #0078C9\n"
                          "Западная @ 8,50\n"
                          "Набережная\n"
                          "Площадь @ 50,50\n"
                          "Вокзальная\n"
                          "Восточная @ 92,50\n";
constexpr int schemeWidth = 480, schemeHeight = 480;

bool writeFile(const fs::path& path, const std::string& bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) error = path.string() + ": cannot be written";
    return static_cast<bool>(out);
}

std::string helpText(const std::string& city) {
    std::string text = std::string(pageHead) + "<title>Справка</title></head><body>\n<h3>Справочник: " + city +
                       "</h3>\n<p>Этот абзац открывают главный экран, список организаций рубрики и экран «О разработчике»: "
                       "перепишите его, рассказав, что есть в издании.</p>\n";
    for (const HelpAnchor& a : helpAnchors)
        text += std::string("<a name=\"") + a.name + "\"></a><h4>" + a.title +
                "</h4>\n<p>Сюда ведёт кнопка справки экрана «" + a.title +
                "». Перепишите абзац: что видит на нём пользователь и что может сделать.</p>\n";
    return text + "</body></html>\n";
}

std::string pageText(const TilePage& page, const std::string& city) {
    return std::string(pageHead) + "<title>" + page.title + "</title></head><body>\n<h3>" + page.title + "</h3>\n<p>" +
           city + ". Перепишите эту страницу: её открывает плитка главного экрана.</p>\n</body></html>\n";
}

} // namespace

bool writeStarterResources(const std::string& folder, const std::string& city, nlohmann::json& resources,
                           std::string& error) {
    const fs::path root(folder);
    std::error_code ec;
    fs::create_directories(root / "pictures", ec);
    fs::create_directories(root / "html", ec);
    if (ec) {
        error = folder + ": cannot make its folders (" + ec.message() + ")";
        return false;
    }
    resources = nlohmann::json::array();
    // Pictures 0-3: the about screen's upper and lower pictures, portrait then landscape.
    for (int i = 0; i < 4; ++i) {
        Canvas canvas;
        if (!drawAboutPicture(i, city, canvas, error)) return false;
        const std::string name = "pictures/about" + std::to_string(i) + ".bmp";
        if (!writeFile(root / name, encodeBmp24(canvas), error)) return false;
        resources.push_back({{"picture", name}});
    }
    std::vector<MetroLine> lines;
    Canvas scheme;
    if (!parseMetroScheme(schemeText, lines, error) ||
        !drawMetroScheme(lines, "Метрополитен: " + city, schemeWidth, schemeHeight, scheme, error))
        return false;
    std::vector<Rgb> exact = {{255, 255, 255}, {0, 0, 0}};
    for (const MetroLine& l : lines) exact.push_back(l.colour);
    if (!writeFile(root / "pictures/metro.bmp", encodeBmp8(scheme, makePalette(exact)), error)) return false;
    resources.push_back({{"picture", "pictures/metro.bmp"}});

    if (!writeFile(root / "help.html", helpText(city), error)) return false;
    resources.push_back({{"help", "help.html"}});
    for (const TilePage& page : allTilePages())
        if (!writeFile(root / "html" / page.file, pageText(page, city), error)) return false;
    return true;
}
