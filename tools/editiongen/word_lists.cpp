#include "tools/editiongen/word_lists.h"

#include "tools/editiongen/utf8_text.h"

#include <fstream>
#include <sstream>

namespace {

uint32_t upper(uint32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 32;
    if (cp >= 0x0430 && cp <= 0x044F) return cp - 32;
    if (cp == 0x0451) return 0x0401;
    return cp;
}

bool isLetter(uint32_t cp) {
    return (cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z') || (cp >= 0x0410 && cp <= 0x044F) || cp == 0x0401 ||
           cp == 0x0451;
}

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

} // namespace

bool readTextFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

bool readListFile(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = trim(line);
        if (t.empty() || t[0] == '#') continue;
        lines.push_back(line);
    }
    return true;
}

bool parseRubricTree(const std::vector<std::string>& lines, std::vector<RubricNode>& rubrics, std::string& error) {
    int counters[3] = {9, 9, 9};
    std::string codes[3];
    for (const std::string& line : lines) {
        size_t indent = line.find_first_not_of(' ');
        int level = static_cast<int>(indent / 2);
        if (indent % 2 != 0 || level > 2 || (level > 0 && codes[level - 1].empty())) {
            error = "bad indentation: " + line;
            return false;
        }
        if (++counters[level] > 99) {
            error = "more than 90 rubrics under one parent: " + line;
            return false;
        }
        for (int l = level + 1; l < 3; ++l) counters[l] = 9, codes[l].clear();
        RubricNode node;
        node.level = level;
        codes[level] = (level ? codes[level - 1] : "") + std::to_string(counters[level]);
        node.code = codes[level];
        std::string text = trim(line);
        size_t eq = text.find(" = ");
        node.title = trim(text.substr(0, eq));
        if (eq != std::string::npos) {
            std::stringstream kinds(text.substr(eq + 3));
            std::string kind;
            while (std::getline(kinds, kind, ';'))
                if (!trim(kind).empty()) node.kinds.push_back(trim(kind));
        }
        rubrics.push_back(node);
    }
    return true;
}

std::string upperUtf8(const std::string& s) {
    std::vector<uint32_t> cps = utf8CodePoints(s);
    for (uint32_t& cp : cps) cp = upper(cp);
    return utf8FromCodePoints(cps);
}

std::string streetKey(const std::string& name) {
    static const char* const kinds[] = {"ул.", "пр.", "просп.", "пер.", "наб.", "пл.", "ш.", "б-р", "бул.",
                                        "проезд", "линия", "аллея", "дор.", "тупик"};
    std::stringstream words(name);
    std::string word;
    while (words >> word) {
        bool kind = false;
        for (const char* k : kinds) kind = kind || word == k;
        if (kind) continue;
        std::vector<uint32_t> letters;
        for (uint32_t cp : utf8CodePoints(word))
            if (isLetter(cp) || (cp >= '0' && cp <= '9')) letters.push_back(upper(cp));
        if (letters.empty()) continue;
        if (letters.size() > 3) letters.resize(3);
        return utf8FromCodePoints(letters);
    }
    return "УЛ";
}

std::string transliterate(const std::string& s) {
    static const char* const table[] = {"a", "b", "v", "g", "d", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p",
                                        "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "sch", "", "y", "", "e", "yu", "ya"};
    std::string out;
    for (uint32_t cp : utf8CodePoints(s)) {
        uint32_t u = upper(cp);
        if (u >= 0x0410 && u <= 0x042F) {
            out += table[u - 0x0410];
        } else if (u == 0x0401) {
            out += "e";
        } else if ((cp >= 'a' && cp <= 'z') || (cp >= '0' && cp <= '9')) {
            out += static_cast<char>(cp);
        } else if (cp >= 'A' && cp <= 'Z') {
            out += static_cast<char>(cp + 32);
        }
    }
    return out;
}
