#include "tools/ydb/source/starter_edition.h"

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "tools/ydb/source/starter_resources.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const char town[] = "Новоград";

bool writeText(const fs::path& path, const std::string& text, std::string& error) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) error = path.string() + ": cannot be written";
    return static_cast<bool>(out);
}

std::string jsonLines(const json& items) {
    std::string text;
    for (const json& item : items) text += item.dump() + "\n";
    return text;
}

// Two themes of two rubrics each: the first level is shown in the full tree, the rubrics in both.
const json rubrics = json::array({
    {{"code", "10"}, {"title", "Автомобили"}, {"flags", 2}},
    {{"code", "1010"}, {"title", "Автосервисы"}, {"flags", 3}},
    {{"code", "1011"}, {"title", "Автомойки"}, {"flags", 3}},
    {{"code", "20"}, {"title", "Питание"}, {"flags", 2}},
    {{"code", "2010"}, {"title", "Кафе"}, {"flags", 3}},
    {{"code", "2011"}, {"title", "Рестораны"}, {"flags", 3}},
});

const json streets = json::array({
    {{"key", "ЛЕН"}, {"name", "Ленина ул."}},
    {{"key", "НАБ"}, {"name", "Набережная ул."}},
    {{"key", "САД"}, {"name", "Садовая ул."}},
});

// One firm of each kind a publisher meets: notes under a rubric, a fax, a firm in two rubrics, a
// kiosk without a street.
const json firms = json::array({
    {{"name", "Мотор"}, {"namePrefix", "ООО"}, {"street", "Ленина ул."}, {"house", 12},
     {"phone", "(812) 325-12-12"}, {"phones", json::array({"(812) 325-12-12", "325-12-13 ф"})}, {"rubrics", json::array({"1010"})},
     {"hours", "пн-пт 9-18"}, {"web", "www.motor.ru"}, {"email", "info@motor.ru"},
     {"comment", "|10| Шиномонтаж |$Запись по телефону, шиномонтаж без выходных|"}},
    {{"name", "Чистый кузов"}, {"street", "Набережная ул."}, {"house", 3}, {"houseSuffix", "А"},
     {"phone", "44-55-66"}, {"phones", json::array({"44-55-66"})}, {"rubrics", json::array({"1011", "1010"})}, {"hours", "ежедневно 8-22"}},
    {{"name", "Берёзка"}, {"namePrefix", "ИП"}, {"street", "Садовая ул."}, {"house", 7},
     {"phone", "21-30-40"}, {"phones", json::array({"21-30-40"})}, {"rubrics", json::array({"2010"})}, {"hours", "ежедневно 10-23"}},
    {{"name", "Старый город"}, {"street", "Ленина ул."}, {"house", 1}, {"phone", "21-50-50"},
     {"phones", json::array({"21-50-50", "8-921-123-45-67"})}, {"rubrics", json::array({"2011", "2010"})}, {"hours", "ежедневно 12-24"},
     {"web", "www.stariy-gorod.ru"}},
    {{"name", "Пирожки у вокзала"}, {"phone", "21-77-00"}, {"phones", json::array({"21-77-00"})}, {"rubrics", json::array({"2010"})},
     {"hours", "ежедневно 7-20"}},
});

} // namespace

bool writeStarterEdition(const std::string& folder, std::string& error) {
    const fs::path root(folder);
    std::error_code ec;
    fs::create_directories(root, ec);
    if (ec) {
        error = folder + ": cannot be made (" + ec.message() + ")";
        return false;
    }
    json resources;
    if (!writeStarterResources(folder, town, resources, error)) return false;
    const json edition{{"title", json::array({"Справочник организаций", town})}, {"cityLetter", "Н"}, {"resources", resources}};
    return writeText(root / "edition.json", edition.dump(1) + "\n", error) &&
           writeText(root / "rubrics.json", rubrics.dump(1) + "\n", error) &&
           writeText(root / "streets.jsonl", jsonLines(streets), error) &&
           writeText(root / "firms.jsonl", jsonLines(firms), error);
}
