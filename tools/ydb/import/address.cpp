#include "tools/ydb/import/address.h"

#include <cctype>
#include <vector>

#include "search/search_text.h"
#include "tools/ydb/import/text_fold.h"

namespace {

struct StreetKind {
    std::string full;    // lower case
    std::string short_;  // as the directory writes it
};

// The kinds, in code page 1251; abbreviations already written in the map are moved too.
const std::vector<StreetKind>& streetKinds() {
    static const std::vector<StreetKind> kinds = [] {
        const char* const pairs[][2] = {
            {"улица", "ул."},     {"ул.", "ул."},       {"проспект", "пр."}, {"пр-т", "пр."},   {"пр.", "пр."},
            {"переулок", "пер."}, {"пер.", "пер."},     {"набережная", "наб."}, {"наб.", "наб."},
            {"шоссе", "ш."},      {"ш.", "ш."},         {"площадь", "пл."},  {"пл.", "пл."},   {"бульвар", "б-р"},
            {"б-р", "б-р"},       {"проезд", "пр-д"},   {"аллея", "аллея"},  {"тупик", "туп."}, {"дорога", "дор."},
            {"микрорайон", "мкр."}, {"квартал", "кв-л"}, {"спуск", "спуск"}, {"тракт", "тракт"}, {"просека", "просека"}};
        std::vector<StreetKind> out;
        for (const auto& p : pairs) {
            StreetKind k;
            foldToCp1251(p[0], k.full);
            foldToCp1251(p[1], k.short_);
            out.push_back(std::move(k));
        }
        return out;
    }();
    return kinds;
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0xC0 && c <= 0xDF) c = static_cast<unsigned char>(c + 0x20);
        else if (c == 0xA8) c = 0xB8;
        else c = static_cast<unsigned char>(std::tolower(c));
        ch = static_cast<char>(c);
    }
    return out;
}

const StreetKind* kindOf(std::string_view word) {
    std::string lower = lowerCase(word);
    for (const StreetKind& k : streetKinds())
        if (lower == k.full) return &k;
    return nullptr;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string directoryStreetName(std::string_view street) {
    size_t firstEnd = street.find(' ');
    size_t lastStart = street.rfind(' ');
    if (firstEnd == std::string_view::npos) return std::string(street);
    if (const StreetKind* k = kindOf(street.substr(0, firstEnd)))
        return std::string(street.substr(firstEnd + 1)) + " " + k->short_;
    if (const StreetKind* k = kindOf(street.substr(lastStart + 1)))
        return std::string(street.substr(0, lastStart)) + " " + k->short_;
    return std::string(street);
}

std::string streetKeyOf(std::string_view directoryName) {
    std::string key(directoryName);
    key.resize(compactKey(upcaseText(key.data())));
    if (key.size() > 3) key.resize(3);
    return key;
}

HouseNumber parseHouseNumber(std::string_view text) {
    HouseNumber h;
    std::string t = lowerCase(text.substr(0, text.find_first_of(";,")));
    for (const char* word : {"дом", "д."}) {
        std::string w;
        foldToCp1251(word, w);
        if (t.starts_with(w)) t.erase(0, w.size());
    }
    size_t i = t.find_first_not_of(' ');
    if (i == std::string::npos || !isDigit(t[i])) {
        h.understood = false;
        return h;
    }
    uint32_t n = 0;
    while (i < t.size() && isDigit(t[i]) && n <= 9999) n = n * 10 + static_cast<uint32_t>(t[i++] - '0');
    if (n == 0 || n > 9999) {
        h.understood = false;
        return h;
    }
    h.house = n;
    // The rest without spaces, the words for building and structure in their short forms.
    std::string rest;
    for (; i < t.size(); ++i)
        if (t[i] != ' ') rest += t[i];
    if (rest.starts_with("/")) rest.erase(0, 1);
    const char* const shortForms[][2] = {{"корпус", "к"}, {"корп.", "к"}, {"корп", "к"}, {"к.", "к"},
                                         {"строение", "с"}, {"стр.", "с"}, {"стр", "с"}, {"литера", ""},
                                         {"лит.", ""}, {"лит", ""}};
    for (const auto& f : shortForms) {
        std::string from, to;
        foldToCp1251(f[0], from);
        foldToCp1251(f[1], to);
        if (rest.starts_with(from)) {
            rest = to + rest.substr(from.size());
            break;
        }
    }
    // A letter keeps the case it was written in, as the map had it; the lowering above was for matching.
    if (rest.size() == 1 && !isDigit(rest[0])) {
        std::string original(text);
        size_t at = original.find_last_not_of(' ');
        if (at != std::string::npos && lowerCase(original.substr(at, 1)) == rest) rest = original.substr(at, 1);
    }
    h.suffix = rest;
    return h;
}
