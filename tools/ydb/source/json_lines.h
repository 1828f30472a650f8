// Line numbers inside a JSON document: the parser keeps none, but errors must name a line.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct JsonLayout {
    std::vector<int> elementLines;        // line of each element of a top-level array
    std::map<std::string, int> keyLines;  // line of each key of a top-level object
};

// Scans the text once, tracking strings and nesting; the text need not be valid JSON (what cannot be
// placed is simply missing from the result).
JsonLayout locateJson(std::string_view text);

// A key given twice in one object of a document, with both places (1-based; the column counts
// characters).
struct DuplicateKey {
    std::string key;
    int firstLine = 0, firstColumn = 0;
    int line = 0, column = 0;
};

// Every key that repeats a key of its own object, at any depth, in document order. The parser keeps
// the last value of such a key without a word, so the text is scanned for them. Meant for text the
// parser has accepted.
std::vector<DuplicateKey> duplicateKeys(std::string_view text);

// The 1-based line holding byte `offset`.
int lineOfOffset(std::string_view text, size_t offset);
