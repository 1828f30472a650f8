#include "tools/ydb/import/phones.h"

#include "tools/ydb/import/text_fold.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string grouped(std::string_view digits) {
    // The local number in the groups the directory uses: 325-12-12, 25-12-12, 5-12-12.
    std::string out(digits.substr(0, digits.size() - 4));
    out += "-";
    out += digits.substr(digits.size() - 4, 2);
    out += "-";
    out += digits.substr(digits.size() - 2);
    return out;
}

std::string cp1251(const char* utf8) {
    std::string out;
    foldToCp1251(utf8, out);
    return out;
}

std::string oneNumber(std::string_view item) {
    // The number is the leading run of digits and their separators; what follows is an extension.
    size_t end = 0;
    std::string digits;
    while (end < item.size() && std::string_view("0123456789+-() .").find(item[end]) != std::string_view::npos) {
        if (isDigit(item[end])) digits += item[end];
        ++end;
    }
    std::string extension;
    for (size_t i = end; i < item.size(); ++i)
        if (isDigit(item[i])) extension += item[i];
    std::string number;
    bool plus = item.starts_with("+");
    // A Russian number: +7 or 8 and ten digits, or the ten digits alone.
    if (digits.size() == 10 && !plus) digits = "7" + digits;
    if (digits.size() == 11 && (digits[0] == '7' || (digits[0] == '8' && !plus))) {
        std::string_view code = std::string_view(digits).substr(1, 3);
        std::string_view local = std::string_view(digits).substr(4);
        number = code[0] == '9' ? "8-" + std::string(code) + "-" + grouped(local)
                                : "(" + std::string(code) + ") " + grouped(local);
    } else if (digits.size() >= 5 && digits.size() <= 7 && !plus) {
        number = grouped(digits);
    } else {
        // Anything else (abroad, short service numbers) as it was written.
        number = std::string(item.substr(0, end));
        while (!number.empty() && number.back() == ' ') number.pop_back();
    }
    if (number.empty()) return {};
    if (!extension.empty()) number += " " + cp1251("доб.") + " " + extension;
    return number;
}

} // namespace

std::vector<std::string> directoryPhones(std::string_view value, bool fax) {
    std::vector<std::string> out;
    while (!value.empty()) {
        size_t end = value.find_first_of(";,");
        std::string_view item = value.substr(0, end);
        value = end == std::string_view::npos ? std::string_view{} : value.substr(end + 1);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        std::string number = oneNumber(item);
        if (number.empty()) continue;
        if (fax) number += " " + cp1251("ф");
        out.push_back(std::move(number));
    }
    return out;
}
