// A source edition after reading and checking: every text already in code page 1251, every
// reference resolved to an index, every limit of the file format met.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SourceRubric {
    std::string code;
    std::string title;
    uint8_t flags = 3;
    int line = 0;
};

struct SourceStreet {
    std::string key;
    std::string name;
    int line = 0;
};

struct SourceFirm {
    std::string name;
    std::optional<uint32_t> street;   // index into SourceEdition::streets; none for a kiosk or a mobile service
    uint32_t house = 0;               // 0: none
    std::string houseSuffix;
    std::string web;
    std::string email;
    std::string phone;                // main telephone, may carry "ф" for a fax
    std::string phones;               // every telephone, comma-separated, as the details record holds them
    std::string namePrefix;
    std::vector<uint32_t> rubrics;    // indices into SourceEdition::rubrics
    std::string rubricCodes;          // "|code|code|"
    std::string hours;
    std::string comment;
    int line = 0;
};

enum class ResourceKind { picture, help };

struct SourceResource {
    ResourceKind kind = ResourceKind::picture;
    std::string file;    // as named in edition.json, for messages
    std::string bytes;   // a whole bitmap file, or the help text in code page 1251
};

struct SourcePage {
    std::string name;    // file name inside html/
    std::string bytes;   // code page 1251
};

struct SourceEdition {
    std::string title;       // lines joined with CR LF
    uint8_t cityLetter = 0;
    std::vector<SourceResource> resources;
    std::vector<SourceRubric> rubrics;
    std::vector<SourceStreet> streets;
    std::vector<SourceFirm> firms;
    std::vector<SourcePage> pages;
};

// The limits of the format and of the screens that show the texts (characters of code page 1251).
namespace limits {
constexpr size_t title = 80;
constexpr size_t rubricCode = 8;
constexpr size_t streetKey = 3;
constexpr size_t streetName = 39;
constexpr size_t firmName = 255;
constexpr size_t houseSuffix = 11;
constexpr size_t web = 63;
constexpr size_t email = 63;
constexpr size_t phone = 15;
constexpr size_t phones = 1023;
constexpr size_t namePrefix = 31;
constexpr size_t rubricCodes = 4095;
constexpr size_t hours = 511;
constexpr size_t comment = 32767;
constexpr uint32_t maxHouse = 9999;   // larger numbers are stored but never shown
constexpr size_t recordBody = 0xFFFF; // 16-bit record lengths
} // namespace limits
