// The word lists of the sample editions (data/): plain UTF-8 text files, one item a line, '#' comments.
#pragma once

#include <string>
#include <vector>

// Non-empty, non-comment lines with their indentation kept; false when the file cannot be read.
bool readListFile(const std::string& path, std::vector<std::string>& lines);
bool readTextFile(const std::string& path, std::string& text);

struct RubricNode {
    std::string code;                 // two digits per level
    std::string title;
    std::vector<std::string> kinds;   // words a firm of this rubric calls itself (leaves only)
    int level = 0;                    // 0, 1, 2
};

// The rubric tree from "rubrics.txt": two spaces of indentation per level; a leaf may end with
// " = kind; kind" naming what its firms call themselves.
bool parseRubricTree(const std::vector<std::string>& lines, std::vector<RubricNode>& rubrics, std::string& error);

// Upper-cases the Cyrillic and Latin letters of a UTF-8 text.
std::string upperUtf8(const std::string& s);
// The street's short search key: the first three letters of its first word that is not an
// abbreviation of the street's kind, upper case.
std::string streetKey(const std::string& name);
// A Latin spelling of a Russian word, for web and e-mail addresses.
std::string transliterate(const std::string& s);
