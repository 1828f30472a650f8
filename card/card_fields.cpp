#include "card/card_fields.h"

#include "db/database.h"
#include "search/rubric_table.h"
#include "search/search_text.h"
#include "search/wide_text.h"

#include <cstring>

namespace {

constexpr size_t nameCharacters = 256;
// The controls' texts are read at most this long; the conversions of the actions hold one more.
constexpr size_t readCharacters = 99;
constexpr char16_t entryIndent[] = u"   ";
constexpr char16_t phoneCut = u'ф';

std::u16string boundedText(const WCHAR* text, size_t limit)
{
    if (text == nullptr)
        return {};
    size_t length = 0;
    while (length < limit && text[length] != 0)
        ++length;
    return std::u16string(text, length);
}

bool startsWith(const std::u16string& text, const std::u16string& part)
{
    return text.compare(0, part.size(), part) == 0 && text.size() >= part.size();
}

// One code page 1251 byte of a converted text is one character, so the list lines compare here.
std::string comparable(const char* text)
{
    std::string copy(text, strnlen(text, cardListLineCharacters));
    upcaseText(copy.data());
    return copy;
}

bool isHostStart(char16_t c)
{
    return std::u16string_view(u" :?,;|/\\").find(c) != std::u16string_view::npos;
}

bool endsAddress(char16_t c)
{
    return std::u16string_view(u" ,;:|").find(c) != std::u16string_view::npos;
}

} // namespace

std::u16string cardNameText(const WCHAR* namePrefix, const char* name)
{
    WCHAR wideName[nameCharacters + 1];
    toWide(name != nullptr ? name : "", wideName, nameCharacters + 1);
    const std::u16string joined = boundedText(namePrefix, SIZE_MAX) + u" " + std::u16string(wideName);
    std::u16string shown;
    for (const char16_t c : joined) {
        shown += c;
        if (c == u'&')
            shown += c;
    }
    return shown;
}

std::u16string cardAddressText(const WCHAR* streetName, uint32_t house, const WCHAR* houseSuffix)
{
    std::u16string text = u" " + boundedText(streetName, SIZE_MAX);
    if (house >= 1 && house <= 9999) {
        const std::string number = std::to_string(house);
        text += u", д." + std::u16string(number.begin(), number.end());
    }
    const std::u16string suffix = boundedText(houseSuffix, SIZE_MAX);
    if (!suffix.empty())
        text += u"/" + suffix;
    return text;
}

std::u16string cardLinkText(const WCHAR* text)
{
    const std::u16string value = boundedText(text, SIZE_MAX);
    return value.empty() ? value : u" " + value;
}

std::vector<std::u16string> telephoneEntries(const WCHAR* mainPhone, const WCHAR* phones)
{
    const std::u16string main = boundedText(mainPhone, SIZE_MAX);
    std::vector<std::u16string> entries;
    if (const size_t cut = main.find(phoneCut); cut != std::u16string::npos)
        entries.push_back(entryIndent + main.substr(0, cut));
    entries.push_back(entryIndent + main);

    // A comma that would end an empty token belongs to the token: ",5" is a number, not a gap.
    const std::u16string extra = boundedText(phones, SIZE_MAX);
    std::u16string token;
    auto addToken = [&] {
        if (!token.empty() && !startsWith(main, token))
            entries.push_back(entryIndent + token);
        token.clear();
    };
    for (const char16_t c : extra) {
        if (c == u',' && !token.empty())
            addToken();
        else
            token += c;
    }
    addToken();
    return entries;
}

uint32_t cardLineValue(uint32_t rubricIndex, size_t length)
{
    return (rubricIndex & 0xFFFFu) | (static_cast<uint32_t>(length + 1) << 16);
}

CardListLine cardListLine(const char* text, uint32_t rubricIndex)
{
    WCHAR wide[cardListLineCharacters + 1];
    toWide(text, wide, cardListLineCharacters + 1);
    CardListLine line{std::u16string(wide), 0};
    line.value = cardLineValue(rubricIndex, line.text.size());
    return line;
}

std::vector<CardListLine> cardListLines(DirectoryDatabase& db, const char* hours, const char* rubricCodes,
                                        ScreenHooks& hooks)
{
    std::vector<CardListLine> lines;
    std::vector<std::string> shown;
    if (hours != nullptr && *hours != 0) {
        lines.push_back(cardListLine(hours, 0));
        shown.push_back(comparable(hours));
    }
    if (rubricCodes == nullptr || *rubricCodes == 0)
        return lines;
    buildRubricTable(db, nullptr, hooks);
    const RubricTable& table = searchState.rubricTable;
    if (!table.entries)
        return lines;
    for (uint32_t j = 1; j < table.count; ++j) {
        const RubricTableEntry& entry = table.entries[j];
        const std::string key = std::string("|") + entry.code + "|";
        if (std::strstr(rubricCodes, key.c_str()) == nullptr)
            continue;
        if (readRecord(db, tableRubrics, entry.recordRef, 0, lookupReadCap) != readOk)
            continue;
        const char* title = db.rubric.title != nullptr ? db.rubric.title : "";
        // Two rubrics of one title give one line. A title that merely begins another one is a
        // rubric of its own and keeps its line.
        std::string key1251 = comparable(title);
        bool present = false;
        for (const std::string& s : shown)
            present = present || s == key1251;
        if (present)
            continue;
        lines.push_back(cardListLine(title, j));
        shown.push_back(std::move(key1251));
    }
    return lines;
}

std::u16string numberToDial(const WCHAR* text)
{
    const std::u16string read = boundedText(text, readCharacters);
    if (read.empty())
        return {};
    // Two spare bytes in front of the number take the "8" of a bracketed code or the "+7".
    char area[2 + readCharacters + 2] = {' ', ' '};
    char* body = area + 2;
    const int length = WideCharToMultiByte(CP_ACP, 0, read.data(), static_cast<int>(read.size()), body,
                                           static_cast<int>(readCharacters + 1), nullptr, nullptr);
    if (length <= 0)
        return {};
    body[length] = 0;
    const char* number = body;
    while (*number == ' ')
        ++number;
    if (number[0] == '(' && number[1] != '8')
        area[1] = '8';

    int digits = 0;
    for (int i = 0; i < length; ++i)
        if (body[i] >= '0' && body[i] <= '9')
            body[digits++] = body[i];
    body[digits] = 0;
    if (digits < 3)
        return {};

    const char* start = body;
    if (area[1] == '8') {
        start = area + 1;
    } else if (digits == 8 || digits == 9) {
        area[0] = '+';
        area[1] = '7';
        start = area;
    }
    return std::u16string(start, start + std::strlen(start));
}

std::u16string webHostText(const WCHAR* text)
{
    const std::u16string read = boundedText(text, readCharacters);
    const size_t dot = read.find(u'.');
    if (dot == std::u16string::npos)
        return {};
    size_t at = dot;
    while (at > 0 && !isHostStart(read[at]))
        --at;
    size_t start = at + 1;
    if (at == 0)
        start = read[0] == u' ' ? 1 : 0;
    size_t end = start;
    while (end < read.size() && !endsAddress(read[end]))
        ++end;
    return read.substr(start, end - start);
}

std::u16string emailCommandLine(const WCHAR* text)
{
    std::u16string address = boundedText(text, readCharacters);
    address.erase(0, address.find_first_not_of(u' '));
    if (address.empty())
        return {};
    return u"-to \"" + address + u"\" -subject \"Вопрос\" -body \"Добрый день!\r\n\r\nСпасибо.\r\n(i) Morvane(c)\"";
}

int rubricNotes(const char* comment, const char* code, WCHAR*& joined)
{
    joined = nullptr;
    if (comment == nullptr || code == nullptr || code[0] == 0 || code[1] == 0)
        return notesKeyAbsent;
    const char key[] = {'|', code[0], code[1], '|', 0};
    const char* at = std::strstr(comment, key);
    if (at == nullptr)
        return notesKeyAbsent;

    const size_t capacity = std::strlen(comment) + 1;
    joined = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, capacity * sizeof(WCHAR)));
    if (joined == nullptr)
        return notesNoMemory;
    size_t length = 0;
    while (at != nullptr) {
        const char* mark = std::strstr(at + 4, "|$");
        if (mark == nullptr)
            break;
        const char* note = mark + 2;
        const char* end = std::strchr(note, '|');
        const size_t noteLength = end != nullptr ? static_cast<size_t>(end - note) : std::strlen(note);
        if (noteLength > 0) {
            static const WCHAR emptyLine[] = W("\r\n\r\n");
            if (length > 0 && length + 4 < capacity) {
                std::memcpy(joined + length, emptyLine, 4 * sizeof(WCHAR));
                length += 4;
            }
            const size_t room = capacity - 1 - length;
            const size_t taken = noteLength < room ? noteLength : room;
            if (taken > 0)
                length += static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, note, static_cast<int>(taken),
                                                                  joined + length, static_cast<int>(taken)));
        }
        if (end == nullptr)
            break;
        at = std::strstr(end, key);
    }
    joined[length] = 0;
    return notesFound;
}
