#include "tools/ydb/source/edition_needs.h"

#include <algorithm>
#include <cstdlib>
#include <regex>

#include "tools/ydb/source/cp1251.h"

const std::vector<HelpAnchor> helpAnchors = {
    {"t2", "the business card", "Визитка организации"},
    {"t31", "the alphabetical catalogue", "Алфавитный каталог"},
    {"t32", "the rubric tree", "Рубрикатор"},
    {"t34", "the home screen's favourites page", "Избранное"},
    {"t35", "the search screen", "Поиск"},
    {"t41", "the metro scheme", "Схема метро"},
    {"t43", "the home screen's telephones page", "Телефоны и справки"},
};

const std::vector<PictureNeed> pictureNeeds = {
    {"the about screen's upper picture, portrait", portraitWidth, 0, 0},
    {"the about screen's lower picture, portrait", portraitWidth, 0, 0},
    {"the about screen's upper picture, landscape", landscapeWidth, 0, 0},
    {"the about screen's lower picture, landscape", landscapeWidth, 0, 0},
    {"the metro scheme", 0, landscapeWidth, portraitContentHeight},
};

namespace {

const TilePage productPage = {"lumetra.html", "the product name on the about screen", "Lumetra"};

const std::vector<TilePage> firstSet = {
    {"lumetra.html", "home tile 6 (the product picture)", "Lumetra"},
    {"bridges.html", "home tile \"Разводка мостов\"", "Разводка мостов"},
    {"emergency.html", "the telephones page's \"Службы спасения, аварийные службы\"", "Службы спасения, аварийные службы"},
    {"security_service.html", "the telephones page's \"Безопасность, охрана правопорядка\"", "Безопасность, охрана правопорядка"},
    {"medics.html", "the telephones page's \"Здравоохранение\"", "Здравоохранение"},
    {"transport.html", "the telephones page's \"Транспорт\"", "Транспорт"},
    {"info_service.html", "the telephones page's \"Справочные службы\"", "Справочные службы"},
};

const std::vector<TilePage> secondSet = {
    {"quandrix.html", "home tile 6 (the product picture)", "Quandrix"},
    {"pdd.htm", "home tile \"Таблица штрафов\"", "Таблица штрафов"},
    {"resc.htm", "the telephones page's \"Службы спасения и аварийные службы\"", "Службы спасения и аварийные службы"},
    {"ohr.htm", "the telephones page's \"Безопасность и охрана порядка\"", "Безопасность и охрана порядка"},
    {"zdrav.htm", "the telephones page's \"Здравоохранение\"", "Здравоохранение"},
    {"transp.htm", "the telephones page's \"Транспорт/заказ билетов\"", "Транспорт/заказ билетов"},
    {"sprav.htm", "the telephones page's \"Справочные службы\"", "Справочные службы"},
};

std::string size(const PictureFacts& p) { return std::to_string(p.width) + " x " + std::to_string(std::abs(p.height)); }

void checkAboutPair(const EditionResources& r, int upper, int contentHeight, std::vector<ResourceWarning>& out) {
    for (int i : {upper, upper + 1}) {
        if (static_cast<size_t>(i) >= r.pictures.size() || r.pictures[i].width == pictureNeeds[i].width) continue;
        out.push_back({ResourceWarning::Subject::picture, i,
                       "picture " + std::to_string(i) + " (" + pictureNeeds[i].screen + ") is " + size(r.pictures[i]) +
                           " pixels: the screen stretches it to " + std::to_string(pictureNeeds[i].width) +
                           " pixels wide; make it " + std::to_string(pictureNeeds[i].width) + " pixels wide"});
    }
    if (static_cast<size_t>(upper + 1) >= r.pictures.size()) return;
    const int height = std::abs(r.pictures[upper].height) + std::abs(r.pictures[upper + 1].height);
    if (height > contentHeight)
        out.push_back({ResourceWarning::Subject::picture, upper + 1,
                       "pictures " + std::to_string(upper) + " and " + std::to_string(upper + 1) + " are " +
                           std::to_string(height) + " pixels high together, more than the " +
                           std::to_string(contentHeight) + " the about screen has: they overlap; make them lower"});
}

} // namespace

std::vector<TilePage> tilePages(uint8_t cityLetter) {
    std::vector<TilePage> pages = cityLetter == secondSetLetter ? secondSet : firstSet;
    if (std::none_of(pages.begin(), pages.end(), [](const TilePage& p) { return std::string(p.file) == productPage.file; }))
        pages.push_back(productPage);
    return pages;
}

std::vector<TilePage> allTilePages() {
    std::vector<TilePage> pages = firstSet;
    for (const TilePage& p : secondSet) pages.push_back(p);
    return pages;
}

std::vector<std::string> anchorNames(const std::string& html) {
    static const std::regex anchor(R"re(<a\s[^>]*?\bname\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re", std::regex::icase);
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), anchor); it != std::sregex_iterator(); ++it)
        for (size_t group = 1; group <= 3; ++group)
            if ((*it)[group].matched) names.push_back((*it)[group].str());
    return names;
}

std::vector<ResourceWarning> resourceWarnings(const EditionResources& r) {
    std::vector<ResourceWarning> out;
    std::string every;
    for (const HelpAnchor& a : helpAnchors) every += std::string(every.empty() ? "" : ", ") + a.name;
    if (!r.hasHelp) {
        out.push_back({ResourceWarning::Subject::edition, -1,
                       "no help text: every screen's help button opens an empty page; add {\"help\": FILE}, an HTML "
                       "page with a paragraph for each screen under the anchors " + every});
    } else {
        const std::vector<std::string> names = anchorNames(r.help);
        for (const HelpAnchor& a : helpAnchors)
            if (std::find(names.begin(), names.end(), a.name) == names.end())
                out.push_back({ResourceWarning::Subject::help, -1,
                               std::string("no anchor \"") + a.name + "\": the help of " + a.screen +
                                   " opens at the top of the text; add <a name=\"" + a.name + "\"></a> before its paragraph"});
    }
    for (size_t i = r.pictures.size(); i < pictureNeeds.size(); ++i) {
        const PictureNeed& need = pictureNeeds[i];
        std::string wanted = need.width ? std::to_string(need.width) + " pixels wide"
                                      : "at least " + std::to_string(need.minWidth) + " x " +
                                            std::to_string(need.minHeight) + " pixels";
        out.push_back({ResourceWarning::Subject::edition, static_cast<int>(i),
                       "no picture " + std::to_string(i) + " (" + need.screen + "): the screen leaves its place empty; add "
                       "a {\"picture\": FILE} of " + wanted + " as picture resource number " + std::to_string(i + 1)});
    }
    checkAboutPair(r, 0, portraitContentHeight, out);
    checkAboutPair(r, 2, landscapeContentHeight, out);
    if (r.pictures.size() > 4) {
        const PictureFacts& scheme = r.pictures[4];
        const PictureNeed& need = pictureNeeds[4];
        if (scheme.width < need.minWidth || std::abs(scheme.height) < need.minHeight)
            out.push_back({ResourceWarning::Subject::picture, 4,
                           "picture 4 (" + std::string(need.screen) + ") is " + size(scheme) +
                               " pixels, smaller than the screen shows: the rest of the screen is left unpainted; "
                               "make it at least " + std::to_string(need.minWidth) + " x " +
                               std::to_string(need.minHeight) + " pixels"});
    }
    return out;
}

std::vector<std::string> missingPageWarnings(uint8_t cityLetter, const std::function<bool(const std::string&)>& has) {
    std::vector<std::string> out;
    const std::string letter = cityLetter ? cp1251ToUtf8(std::string(1, static_cast<char>(cityLetter))) : "none";
    for (const TilePage& page : tilePages(cityLetter))
        if (!has(page.file))
            out.push_back(std::string("no ") + page.file + ", which " + page.tile + " opens (city letter " +
                          letter + "): it would stay on \"Загружается: …\"; add html/" + page.file);
    return out;
}
