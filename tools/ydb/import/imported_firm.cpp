#include "tools/ydb/import/imported_firm.h"

#include <algorithm>

#include "search/search_text.h"
#include "tools/ydb/import/address.h"
#include "tools/ydb/import/opening_hours.h"
#include "tools/ydb/import/phones.h"
#include "tools/ydb/import/text_fold.h"
#include "tools/ydb/source/source_edition.h"

void MapBox::add(int32_t x, int32_t y) {
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
}

void MapBox::add(const MapBox& o) {
    if (o.empty()) return;
    add(o.minX, o.minY);
    add(o.maxX, o.maxY);
}

bool MapBox::near(const MapBox& o, int32_t margin) const {
    if (empty() || o.empty()) return false;
    auto apart = [margin](int64_t lo1, int64_t hi1, int64_t lo2, int64_t hi2) {
        return lo1 > hi2 + margin || lo2 > hi1 + margin;
    };
    return !apart(minX, maxX, o.minX, o.maxX) && !apart(minY, maxY, o.minY, o.maxY);
}

namespace {

// The first of `keys` the object has, folded; empty when none, or none that can be written.
std::string textOf(const TagLookup& tag, std::initializer_list<const char*> keys) {
    for (const char* key : keys)
        if (const char* value = tag(key)) {
            std::string out;
            if (foldToCp1251(value, out)) return out;
        }
    return {};
}

std::string firstItem(const std::string& list) {
    std::string item = list.substr(0, list.find(';'));
    while (!item.empty() && item.back() == ' ') item.pop_back();
    return item;
}

std::string cp1251(const char* utf8) {
    std::string out;
    foldToCp1251(utf8, out);
    return out;
}

// "ООО «Ромашка»": the organisation form goes to the name prefix.
void splitOrganisationForm(ImportedFirm& f) {
    static const std::vector<std::string> forms = [] {
        std::vector<std::string> out;
        for (const char* form : {"ООО", "ОАО", "ЗАО", "ПАО", "НАО", "АО", "ИП", "АНО", "НКО", "ГУП", "МУП", "ФГУП",
                                 "ГБУ", "ГАУ", "ЧУ", "ЧОУ"})
            out.push_back(cp1251(form));
        return out;
    }();
    for (const std::string& form : forms)
        if (f.name.size() > form.size() + 1 && f.name.starts_with(form) && f.name[form.size()] == ' ') {
            f.namePrefix = form;
            f.name.erase(0, form.size() + 1);
            return;
        }
}

// A web address without its scheme; one too long keeps only its host, which still opens the site.
std::string webAddress(std::string web, ImportReport& report) {
    for (const char* scheme : {"https://", "http://"})
        if (web.starts_with(scheme)) web.erase(0, std::string_view(scheme).size());
    while (!web.empty() && web.back() == '/') web.pop_back();
    if (web.size() <= limits::web) return web;
    report.cutField("web addresses (longer than 63 characters; the site's host kept when it fits)");
    web.resize(web.find('/') == std::string::npos ? 0 : web.find('/'));
    return web.size() <= limits::web ? web : std::string{};
}

void addAddress(const TagLookup& tag, ImportedFirm& f, ImportReport& report) {
    std::string street = textOf(tag, {"addr:street"});
    if (street.empty()) return;
    f.street = directoryStreetName(street);
    if (f.street.size() > limits::streetName) {
        report.cutField("street names (longer than 39 characters)");
        f.street.resize(limits::streetName);
        while (f.street.back() == ' ') f.street.pop_back();
    }
    // The street search needs a key; a street of dashes and quotes has none, and no house either.
    if (streetKeyOf(f.street).empty()) {
        report.cutField("addresses (a street without a letter or a digit)");
        f.street.clear();
        return;
    }
    if (const char* number = tag("addr:housenumber")) {
        std::string text;
        foldToCp1251(number, text);
        HouseNumber h = parseHouseNumber(text);
        if (!h.understood) report.cutField("house numbers (no number from 1 to 9999)");
        if (h.suffix.size() > limits::houseSuffix) {
            report.cutField("house suffixes (longer than 11 characters)");
            h.suffix.clear();
        }
        f.house = h.house;
        f.houseSuffix = h.house ? h.suffix : std::string{};
    }
}

void addPhones(const TagLookup& tag, ImportedFirm& f, ImportReport& report) {
    std::vector<std::string> all;
    for (const char* key : {"phone", "contact:phone", "phone:mobile", "contact:mobile", "fax", "contact:fax"})
        if (const char* value = tag(key)) {
            std::string text;
            if (!foldToCp1251(value, text)) continue;
            for (std::string& p : directoryPhones(text, std::string_view(key).ends_with("fax")))
                if (std::find(all.begin(), all.end(), p) == all.end()) all.push_back(std::move(p));
        }
    // The main telephone (15 characters) is the first that fits; the list keeps them all.
    auto main = std::find_if(all.begin(), all.end(), [](const std::string& p) { return p.size() <= limits::phone; });
    if (main != all.end()) std::rotate(all.begin(), main, main + 1);
    size_t used = 0;
    for (std::string& p : all) {
        if (used + p.size() + (used ? 1 : 0) > limits::phones) {
            report.cutField("telephone lists (longer than 1023 characters; the last numbers left out)");
            break;
        }
        used += p.size() + (used ? 1 : 0);
        f.phones.push_back(std::move(p));
    }
    if (!f.phones.empty() && main == all.end()) report.cutField("main telephones (none of 15 characters or fewer)");
}

} // namespace

std::optional<ImportedFirm> firmFromTags(const TagTable& table, const TagLookup& tag, ImportReport& report) {
    TagVerdict verdict = judgeTags(table, tag);
    if (!verdict.businessKind) {
        if (verdict.onlyNotFirms && (tag("name") || tag("name:ru"))) report.leave("not firms (a bench, a parking place...)");
        return std::nullopt;
    }
    const char* rawName = tag("name:ru");
    if (!rawName) rawName = tag("name");
    if (!rawName) {
        report.leave("without a name");
        return std::nullopt;
    }
    ImportedFirm f;
    if (!foldToCp1251(rawName, f.name) || f.name.empty()) {
        report.leave("with a name that code page 1251 cannot hold");
        return std::nullopt;
    }
    splitOrganisationForm(f);
    if (f.name.size() > limits::firmName) {
        report.cutField("names (longer than 255 characters)");
        f.name.resize(limits::firmName);
    }
    f.nameKey = f.name;
    f.nameKey.resize(compactKey(upcaseText(f.nameKey.data())));
    f.rubrics = std::move(verdict.rubrics);
    std::sort(f.rubrics.begin(), f.rubrics.end());
    if (f.rubrics.empty())
        for (const std::string& t : verdict.unmatched) ++report.unmatchedTags[t];

    addAddress(tag, f, report);
    addPhones(tag, f, report);
    std::string web = firstItem(textOf(tag, {"website", "contact:website", "url"}));
    if (!web.empty()) f.web = webAddress(web, report);
    f.email = firstItem(textOf(tag, {"email", "contact:email"}));
    if (f.email.starts_with("mailto:")) f.email.erase(0, 7);
    if (f.email.size() > limits::email) {
        report.cutField("e-mail addresses (longer than 63 characters; left out, a cut one reaches no one)");
        f.email.clear();
    }
    std::string hours = textOf(tag, {"opening_hours"});
    if (!hours.empty()) {
        f.hours = russianOpeningHours(hours).value_or(hours);
        if (f.hours.size() > limits::hours) {
            report.cutField("opening hours (longer than 511 characters)");
            f.hours.resize(limits::hours);
        }
    }
    return f;
}

void mergeFirm(ImportedFirm& into, ImportedFirm&& o) {
    auto take = [](std::string& to, std::string& from) {
        if (to.empty()) to = std::move(from);
    };
    if (into.street.empty()) {
        into.street = std::move(o.street);
        into.house = o.house;
        into.houseSuffix = std::move(o.houseSuffix);
    }
    take(into.namePrefix, o.namePrefix);
    take(into.web, o.web);
    take(into.email, o.email);
    take(into.hours, o.hours);
    size_t used = 0;
    for (const std::string& p : into.phones) used += p.size() + 1;
    for (std::string& p : o.phones)
        if (std::find(into.phones.begin(), into.phones.end(), p) == into.phones.end() &&
            used + p.size() <= limits::phones) {
            used += p.size() + 1;
            into.phones.push_back(std::move(p));
        }
    for (uint32_t r : o.rubrics)
        if (std::find(into.rubrics.begin(), into.rubrics.end(), r) == into.rubrics.end()) into.rubrics.push_back(r);
    std::sort(into.rubrics.begin(), into.rubrics.end());
    into.box.add(o.box);
}
