#include "tools/editiongen/firm_generator.h"

#include "tools/writer/seeded_random.h"

using nlohmann::json;

namespace {

const std::vector<std::string> legalForms = {"ООО", "ООО", "ООО", "ЗАО", "ОАО", "АО", "ГУП", "ФГУП", "НОУ", "ЧОП"};
const std::vector<std::string> hoursList = {
    "пн-пт 9.00-18.00", "пн-пт 10.00-19.00, сб 11.00-16.00", "ежедневно 10.00-22.00", "круглосуточно",
    "пн-сб 9.00-20.00, вс выходной", "пн-чт 9.00-18.00, пт 9.00-17.00, обед 13.00-14.00",
    "вт-вс 11.00-19.00, пн выходной", "ежедневно 8.00-23.00, без выходных"};
const std::vector<std::string> noteTexts = {
    "Работаем по предварительной записи", "Скидки пенсионерам и студентам 10%", "Оплата наличными и картой",
    "Бесплатная парковка для клиентов", "Выезд специалиста в день обращения", "Доставка по городу бесплатно от 3000 руб.",
    "Гарантия на все работы 1 год", "Есть пандус и лифт для колясок", "Консультация по телефону бесплатно",
    "Принимаются заказы от организаций по безналичному расчёту"};
const std::vector<std::string> commentTexts = {"Вход со двора", "2 этаж, офис 204", "Ориентир: остановка трамвая",
                                                "Рядом со станцией метро", "Вход с торца здания", "В здании бизнес-центра"};
const std::vector<std::string> suffixes = {"А", "Б", "2", "1", "3", "В", "4"};
const std::vector<std::string> streetlessKinds = {"Киоск", "Выездная служба", "Передвижной пункт", "Мобильная служба"};

std::string digits(SeededRandom& r, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + (i == 0 ? 2 + r.below(7) : r.below(10)));
    return s;
}

std::string localNumber(SeededRandom& r) {
    std::string d = digits(r, 7);
    return d.substr(0, 3) + "-" + d.substr(3, 2) + "-" + d.substr(5, 2);
}

std::string telephone(SeededRandom& r, const FirmWords& w) {
    int kind = static_cast<int>(r.below(10));
    if (kind < 6) return localNumber(r);
    if (kind < 9) return "(" + r.pick(w.phoneCodes) + ") " + localNumber(r);
    return "8-" + r.pick(w.mobileCodes) + "-" + localNumber(r);
}

// A name in one of the shapes real directories hold: with guillemets, straight quotes, "&", Ё
// (from the brand list), long descriptive names, plain brands.
std::string firmName(SeededRandom& r, const std::string& kind, const std::string& brand, const std::string& street) {
    switch (r.below(8)) {
    case 0:
    case 1: return kind + " «" + brand + "»";
    case 2: return brand;
    case 3: return "\"" + brand + "\", " + kind;
    case 4: return brand + " & " + r.pick(std::vector<std::string>{"Ко", "партнёры", "сыновья", "K°"});
    case 5: return kind + " «" + brand + "» (" + street + ")";
    case 6: return brand + "-" + kind;
    default: return kind + " " + brand;
    }
}

// One firm; `previous` (null for none) may give it a branch's name. A copy, because a field the
// previous firm lacks is read as null by inserting it. A firm without a street (a kiosk, a mobile
// service) has no house either, its name says what it is, and it draws exactly what one with a
// street draws.
json makeFirm(SeededRandom& r, const FirmWords& words, const std::vector<const RubricNode*>& leaves, json previous,
              uint32_t i, bool withStreet) {
    const RubricNode* leaf = leaves[r.below(leaves.size())];
    std::string kind = leaf->kinds.empty() ? leaf->title : r.pick(leaf->kinds);
    std::string street = r.pick(words.streets);
    std::string shortStreet = street.substr(0, street.find(' '));
    std::string brand = r.pick(words.brands);
    json firm;
    bool soleTrader = r.chance(8) && withStreet;
    if (!previous.is_null() && r.chance(6)) {
        // A branch: the same firm at another address.
        firm["name"] = previous["name"];
        firm["namePrefix"] = previous["namePrefix"];
        firm["rubrics"] = previous["rubrics"];
        if (previous.contains("web")) firm["web"] = previous["web"];
    } else if (soleTrader) {
        firm["name"] = r.pick(words.people);
        firm["namePrefix"] = "ИП";
    } else {
        firm["name"] = withStreet ? firmName(r, kind, brand, shortStreet) : r.pick(streetlessKinds) + " «" + brand + "»";
        if (r.chance(55)) firm["namePrefix"] = r.pick(legalForms);
    }
    if (!firm.contains("rubrics")) {
        json codes = json::array({leaf->code});
        if (r.chance(25)) codes.push_back(leaves[r.below(leaves.size())]->code);
        firm["rubrics"] = codes;
    }
    if (withStreet) firm["street"] = street;
    if (!r.chance(5) && withStreet) firm["house"] = 1 + r.below(r.chance(80) ? 60 : 250);
    if (r.chance(18) && withStreet) firm["houseSuffix"] = r.pick(suffixes);

    std::string main = telephone(r, words);
    json phones = json::array({main});
    for (uint32_t k = r.below(3); k > 0; --k) phones.push_back(telephone(r, words));
    if (r.chance(12) && main.size() <= 13) main += " ф";
    firm["phone"] = main;
    firm["phones"] = phones;

    std::string latin = transliterate(brand);
    if (latin.size() > 20) latin.resize(20);
    if (latin.empty()) latin = "firm" + std::to_string(i);
    if (!firm.contains("web") && r.chance(45)) {
        std::string web = "www." + latin + ".ru";
        if (r.chance(10)) web += ", www." + latin + "-" + words.siteSuffix + ".com";
        firm["web"] = web;
    }
    if (r.chance(40)) {
        std::string mail = r.pick(std::vector<std::string>{"info", "office", "mail", "zakaz"}) + "@" + latin + ".ru";
        if (r.chance(10)) mail += "; sale@" + latin + ".ru";
        firm["email"] = mail;
    }
    if (r.chance(70)) firm["hours"] = r.pick(hoursList);
    // Notes per rubric: "|NN| heading |$note|", NN being the rubric's theme.
    std::string comment;
    // The plain comments name an office or an entrance.
    if (r.chance(25) && withStreet) comment = r.pick(commentTexts) + ". ";
    if (r.chance(35)) {
        for (const auto& code : firm["rubrics"]) {
            std::string theme = code.get<std::string>().substr(0, 2);
            comment += "|" + theme + "| " + kind + " |$" + r.pick(noteTexts) + "|";
            if (r.chance(20)) comment += "|" + theme + "| |$" + r.pick(noteTexts) + "|";
        }
    }
    if (!comment.empty()) firm["comment"] = comment;
    return firm;
}

} // namespace

std::vector<json> generateFirms(const FirmWords& words, uint32_t count, uint32_t withoutStreet, uint64_t seed) {
    std::vector<const RubricNode*> leaves;
    for (const RubricNode& n : words.rubrics)
        if (n.level == 2) leaves.push_back(&n);
    std::vector<json> firms;
    SeededRandom r{seed};
    json previous;
    for (uint32_t i = 0; i < count; ++i) {
        firms.push_back(makeFirm(r, words, leaves, previous, i, true));
        previous = firms.back();
    }
    // Drawn from a stream of their own, so that adding them leaves every other firm as it was.
    SeededRandom own{~seed};
    for (uint32_t i = 0; i < withoutStreet; ++i) firms.push_back(makeFirm(own, words, leaves, json(), count + i, false));
    return firms;
}
