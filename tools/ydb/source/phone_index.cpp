#include "tools/ydb/source/phone_index.h"

#include <algorithm>
#include <string>

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
