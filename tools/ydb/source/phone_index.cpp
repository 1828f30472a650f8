#include "tools/ydb/source/phone_index.h"

#include <algorithm>
#include <string>

#include "tools/ydb/source/cp1251.h"

namespace {

bool isLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

void addNumber(const std::string& digits, std::vector<uint32_t>& numbers) {
    if (digits.size() < 3 || digits.size() > 9) return;
    uint32_t value = static_cast<uint32_t>(std::stoul(digits));
    if (value == 0) return;
    if (std::find(numbers.begin(), numbers.end(), value) == numbers.end()) numbers.push_back(value);
}

} // namespace

void phoneIndexNumbers(std::string_view telephone, std::vector<uint32_t>& numbers) {
    std::string whole;
    std::string local;
    bool bracketed = false;
    for (char ch : telephone) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (isLetter(c)) break;
        if (c == ')') {
            bracketed = true;
            local.clear();
        } else if (c >= '0' && c <= '9') {
            whole += ch;
            local += ch;
        }
    }
    addNumber(whole, numbers);
    if (!bracketed) local = whole.size() > 9 ? whole.substr(whole.size() - 7) : whole;
    if (local != whole) addNumber(local, numbers);
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "nothing" or the numbers themselves, for a warning.
std::string indexHolds(const std::vector<uint32_t>& numbers) {
    if (numbers.empty()) return "the index holds nothing for it, so the firm is not found by it";
    std::string list;
    for (uint32_t n : numbers) list += (list.empty() ? "" : " and ") + std::to_string(n);
    return "the index holds only " + list;
}

} // namespace

std::string telephoneWarning(std::string_view telephone) {
    if (telephone.empty()) return {};
    std::vector<uint32_t> numbers;
    phoneIndexNumbers(telephone, numbers);
    const std::string quoted = "\"" + cp1251ToUtf8(std::string(telephone)) + "\": ";
    size_t letter = 0;
    while (letter < telephone.size() && !isLetter(static_cast<unsigned char>(telephone[letter]))) ++letter;
    const size_t digitsBefore =
        static_cast<size_t>(std::count_if(telephone.begin(), telephone.begin() + static_cast<std::ptrdiff_t>(letter), isDigit));
    // A word after the digits ("ф", "доб. 12") is how a fax or an extension is written; a single
    // letter with digits after it is a mistyped digit, or a prefix that hides the number.
    if (letter < telephone.size()) {
        const bool lone = letter + 1 >= telephone.size() || !isLetter(static_cast<unsigned char>(telephone[letter + 1]));
        const bool digitsAfter = std::any_of(telephone.begin() + static_cast<std::ptrdiff_t>(letter), telephone.end(), isDigit);
        if (lone && digitsAfter)
            return quoted + "the letter " + cp1251ToUtf8(std::string(1, telephone[letter])) +
                   " comes before its digits end (a Cyrillic О or З typed for 0 or 3?) and the number ends there: " +
                   indexHolds(numbers);
    }
    if (!numbers.empty()) return {};
    if (digitsBefore == 0) return quoted + "no digits: " + indexHolds(numbers);
    if (digitsBefore < 3) return quoted + "fewer than 3 digits: " + indexHolds(numbers);
    return quoted + "neither the number nor its local part has 3 to 9 digits: " + indexHolds(numbers);
}
