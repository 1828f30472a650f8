#include "tools/ydb/source/synth.h"
#include "tools/ydb/source/synth_words.h"

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "tools/ydb/source/starter_resources.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const auto& syllables = synthSyllables;
const auto& endings = synthEndings;
const char* const prefixes[] = {"ООО", "ЗАО", "ОАО", "ИП", "АО", "", "", ""};
const char* const streetKinds[] = {"ул.", "пр.", "пер.", "наб.", "ш."};
const char* const hours[] = {"пн-пт 9-18", "ежедневно 10-22", "круглосуточно", "пн-сб 10-20, вс 11-18"};
const char* const topics[] = {"Доставка", "Опт", "Розница", "Ремонт", "Консультации", "Аренда"};

bool writeJson(const fs::path& path, const json& value, std::string& error) {
    std::ofstream out(path, std::ios::binary);
    out << value.dump(1) << '\n';
    if (!out) error = path.string() + ": cannot be written";
    return static_cast<bool>(out);
}

} // namespace

bool writeSynthEdition(const std::string& folder, const SynthOptions& options, std::string& error) {
    fs::path root(folder);
    std::error_code ec;
    fs::create_directories(root, ec);
    if (ec) {
        error = folder + ": cannot be made (" + ec.message() + ")";
        return false;
    }
    SeededRandom rng{options.seed};

    // The same help text, pages and pictures as a new edition's: a generated edition is complete too.
    json resources;
    if (!writeStarterResources(folder, "Синтетический город", resources, error)) return false;
    if (!writeJson(root / "edition.json",
                   json{{"title", json::array({"Синтетическое издание", std::to_string(options.firms) + " фирм"})},
                        {"cityLetter", "С"},
                        {"resources", resources}},
                   error))
        return false;

    // 12 themes, 6 groups each, 5 rubrics per group: 444 rubrics in three levels.
    json rubrics = json::array();
    std::vector<std::string> leaves;
    for (int a = 0; a < 12; ++a) {
        std::string ca = std::to_string(10 + a);
        rubrics.push_back({{"code", ca}, {"title", std::string("Тема ") + syllables[a] + "ия"}, {"flags", 2}});
        for (int b = 0; b < 6; ++b) {
            std::string cb = ca + std::to_string(10 + b);
            rubrics.push_back({{"code", cb}, {"title", std::string("Группа ") + syllables[(a + b) % 30] + endings[b]},
                               {"flags", 2}});
            for (int c = 0; c < 5; ++c) {
                std::string cc = cb + std::to_string(10 + c);
                rubrics.push_back({{"code", cc},
                                   {"title", std::string(syllables[(a * 7 + b * 3 + c) % 30]) + endings[(c + a) % 10] +
                                                 ": " + topics[(b + c) % 6]},
                                   {"flags", 3}});
                leaves.push_back(cc);
            }
        }
    }
    if (!writeJson(root / "rubrics.json", rubrics, error)) return false;

    // Enough streets that none holds more firms than a street list can count.
    uint32_t streetCount = std::max<uint32_t>(300, options.firms / 2000 + 1);
    std::vector<std::string> streets;
    {
        std::ofstream out(root / "streets.jsonl", std::ios::binary);
        for (uint32_t i = 0; i < streetCount; ++i) {
            std::string name = std::string(syllables[i % 30]) + syllables[(i / 30) % 30] + "ская " +
                               streetKinds[i % 5] + " " + std::to_string(i / 900 + 1);
            std::string key = std::string(syllables[i % 30]).substr(0, 2) + std::to_string(i % 10);
            streets.push_back(name);
            out << json{{"key", key}, {"name", name}}.dump() << '\n';
        }
        if (!out) {
            error = "cannot write streets.jsonl";
            return false;
        }
    }

    std::ofstream out(root / "firms.jsonl", std::ios::binary);
    for (uint32_t i = 0; i < options.firms; ++i) {
        std::string name = std::string(rng.pick(syllables)) + rng.pick(syllables) + rng.pick(endings);
        if (rng.below(4) == 0) name = "«" + name + "»";
        if (rng.below(3) == 0) name += " " + std::to_string(rng.below(100));
        std::string leaf = leaves[rng.below(static_cast<uint32_t>(leaves.size()))];
        json rubricList = json::array({leaf});
        if (rng.below(3) == 0) rubricList.push_back(leaves[rng.below(static_cast<uint32_t>(leaves.size()))]);
        std::string local = std::to_string(200 + rng.below(800)) + "-" + std::to_string(10 + rng.below(90)) + "-" +
                            std::to_string(10 + rng.below(90));
        json phones = json::array({local});
        if (rng.below(2) == 0) phones.push_back("(812) " + std::to_string(300 + rng.below(700)) + "-00-" +
                                                std::to_string(10 + rng.below(90)));
        json firm{{"name", name},
                  {"street", streets[rng.below(streetCount)]},
                  {"house", rng.below(8) == 0 ? 0 : 1 + rng.below(150)},
                  {"phone", local},
                  {"phones", phones},
                  {"namePrefix", rng.pick(prefixes)},
                  {"rubrics", rubricList},
                  {"hours", rng.pick(hours)}};
        if (rng.below(5) == 0) firm["houseSuffix"] = std::to_string(1 + rng.below(5));
        if (rng.below(2) == 0) firm["web"] = "www.firm" + std::to_string(i) + ".ru";
        if (rng.below(2) == 0) firm["email"] = "info@firm" + std::to_string(i) + ".ru";
        if (rng.below(4) == 0)
            firm["comment"] = "|" + leaf.substr(0, 2) + "| " + rng.pick(topics) + " |$" + rng.pick(topics) +
                              " по предварительной заявке|";
        out << firm.dump() << '\n';
    }
    if (!out) {
        error = "cannot write firms.jsonl";
        return false;
    }
    return true;
}
