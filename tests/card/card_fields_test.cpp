// The business card's fields and the decisions of its contact actions, without a window: what the
// card shows for a firm, which number is dialled, which host the browser gets, the mail program's
// command line and the notes filed under a rubric.
#include "card/card_fields.h"

#include "db/database.h"
#include "tests/search/search_fixture.h"

#include <gtest/gtest.h>

namespace {

std::string cp1251(std::u16string_view text)
{
    std::string bytes(text.size() + 1, '\0');
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

TEST(CardFields, NameShowsItsAmpersandsAndPrefix)
{
    EXPECT_EQ(cardNameText(u"ООО", cp1251(u"Рога & Копыта").c_str()), u"ООО Рога && Копыта");
    EXPECT_EQ(cardNameText(u"", "A&&B"), u" A&&&&B");
    // A name is cut at 256 characters before its ampersands are doubled.
    const std::string longName(300, '&');
    EXPECT_EQ(cardNameText(u"", longName.c_str()).size(), 1u + 512u);
}

TEST(CardFields, AddressTakesTheHouseOnlyBetween1And9999)
{
    EXPECT_EQ(cardAddressText(u"Невский пр.", 28, u""), u" Невский пр., д.28");
    EXPECT_EQ(cardAddressText(u"Невский пр.", 9999, u"А"), u" Невский пр., д.9999/А");
    EXPECT_EQ(cardAddressText(u"Невский пр.", 0, u"2"), u" Невский пр./2");
    EXPECT_EQ(cardAddressText(u"Невский пр.", 10000, u"Б"), u" Невский пр./Б");
    EXPECT_EQ(cardAddressText(u"", 0, u""), u" ");
    EXPECT_EQ(cardLinkText(u""), u"");
    EXPECT_EQ(cardLinkText(u"www.firm.ru"), u" www.firm.ru");
}

TEST(CardFields, TelephoneEntries)
{
    using Entries = std::vector<std::u16string>;
    // "ф" (a fax) gives the number before it first, trailing spaces kept, then the whole text.
    EXPECT_EQ(telephoneEntries(u"325-00-00 ф", u""), (Entries{u"   325-00-00 ", u"   325-00-00 ф"}));
    EXPECT_EQ(telephoneEntries(u"ф 325-00-00", u""), (Entries{u"   ", u"   ф 325-00-00"}));
    // An extra number that is a leading part of the main one is left out; spaces are kept.
    EXPECT_EQ(telephoneEntries(u"325-00-00, доб. 5", u"325-00-00,327-11-11, 100-20-30"),
              (Entries{u"   325-00-00, доб. 5", u"   327-11-11", u"    100-20-30"}));
    // A comma that would end an empty token belongs to it.
    EXPECT_EQ(telephoneEntries(u"1", u"2,,3,"), (Entries{u"   1", u"   2", u"   ,3"}));
    EXPECT_EQ(telephoneEntries(u"1", u",5"), (Entries{u"   1", u"   ,5"}));
    // An empty main number is still one entry.
    EXPECT_EQ(telephoneEntries(u"", u""), (Entries{u"   "}));
}

TEST(CardFields, ListLineValueAndCut)
{
    const CardListLine hours = cardListLine(cp1251(u"Пн-Пт 9-18").c_str(), 0);
    EXPECT_EQ(hours.text, u"Пн-Пт 9-18");
    EXPECT_EQ(hours.value, 11u << 16);
    // A line past the list's 99 characters is cut, and its stored length is the cut one.
    const std::string longTitle(150, 'x');
    const CardListLine cut = cardListLine(longTitle.c_str(), 7);
    EXPECT_EQ(cut.text, std::u16string(99, u'x'));
    EXPECT_EQ(cut.value, (100u << 16) | 7u);
}

TEST(CardFields, NumberToDial)
{
    // A bracketed code not beginning with 8 gets the 8 of a long-distance call.
    EXPECT_EQ(numberToDial(u"   (495) 123-45-67"), u"84951234567");
    EXPECT_EQ(numberToDial(u"   (812) 123-45-67"), u"8121234567");
    EXPECT_EQ(numberToDial(u"   (8-812) 123-45-67"), u"88121234567");
    EXPECT_EQ(numberToDial(u"   123-45-67"), u"1234567");
    // Eight or nine digits without a bracket are a number of the country.
    EXPECT_EQ(numberToDial(u"   12-345-678"), u"+712345678");
    EXPECT_EQ(numberToDial(u"   123 456 789"), u"+7123456789");
    EXPECT_EQ(numberToDial(u"   1234567890"), u"1234567890");
    // Letters count for nothing: an extension joins the number and changes the digit count.
    EXPECT_EQ(numberToDial(u"   123-45-67 доб. 5"), u"+712345675");
    EXPECT_EQ(numberToDial(u"   325-00-00 ф"), u"3250000");
    EXPECT_EQ(numberToDial(u"   12"), u"");
    EXPECT_EQ(numberToDial(u"   (1"), u"");
    EXPECT_EQ(numberToDial(u"   "), u"");
    EXPECT_EQ(numberToDial(u""), u"");
    // Only the first 99 characters of the field are read.
    EXPECT_EQ(numberToDial((std::u16string(97, u' ') + u"12345").c_str()), u"");
}

TEST(CardFields, WebHost)
{
    EXPECT_EQ(webHostText(u" www.firm.ru"), u"www.firm.ru");
    EXPECT_EQ(webHostText(u" http://www.firm.ru/price/list.html"), u"www.firm.ru/price/list.html");
    EXPECT_EQ(webHostText(u" //firm.ru"), u"firm.ru");
    EXPECT_EQ(webHostText(u" www.firm.ru; www.other.ru"), u"www.firm.ru");
    EXPECT_EQ(webHostText(u" www.firm.ru, www.other.ru"), u"www.firm.ru");
    EXPECT_EQ(webHostText(u" www.firm.ru:8080/x"), u"www.firm.ru");
    EXPECT_EQ(webHostText(u"firm.ru"), u"firm.ru");
    // The walk back stops at the first character whatever it is.
    EXPECT_EQ(webHostText(u"/firm.ru"), u"/firm.ru");
    // No "." in the text: no host to open.
    EXPECT_EQ(webHostText(u" localhost"), u"");
    EXPECT_EQ(webHostText(u""), u"");
}

TEST(CardFields, EmailCommandLine)
{
    const std::u16string tail = u"\" -subject \"Вопрос\" -body \"Добрый день!\r\n\r\nСпасибо.\r\n(i) Morvane(c)\"";
    EXPECT_EQ(emailCommandLine(u"   info@firm.ru"), u"-to \"info@firm.ru" + tail);
    EXPECT_EQ(emailCommandLine(u" a@b.ru, c@d.ru"), u"-to \"a@b.ru, c@d.ru" + tail);
    EXPECT_EQ(emailCommandLine(u"    "), u"");
    EXPECT_EQ(emailCommandLine(u""), u"");
}

std::u16string notesUnder(const char* comment, const char* code, int expected = notesFound)
{
    WCHAR* joined = nullptr;
    EXPECT_EQ(rubricNotes(comment, code, joined), expected);
    if (joined == nullptr)
        return u"<none>";
    std::u16string text(joined);
    LocalFree(joined);
    return text;
}

TEST(CardFields, RubricNotes)
{
    // Two notes under one key, a note under another, a code longer than two characters.
    const char comment[] = "|01|about|$first note|02|x|$other|01|more|$second note|";
    EXPECT_EQ(notesUnder(comment, "01"), u"first note\r\n\r\nsecond note");
    EXPECT_EQ(notesUnder(comment, "0203"), u"other");
    EXPECT_EQ(notesUnder(comment, "03", notesKeyAbsent), u"<none>");
    // A note that runs to the end of the comment ends the search.
    EXPECT_EQ(notesUnder("|01||$to the end", "01"), u"to the end");
    // A key without "|$" after it ends the search; the notes before it stay.
    EXPECT_EQ(notesUnder("|01||$one||01|none", "01"), u"one");
    EXPECT_EQ(notesUnder("|01|nothing", "01"), u"");
    // A code shorter than the key cannot be looked up.
    EXPECT_EQ(notesUnder(comment, "0", notesKeyAbsent), u"<none>");
    EXPECT_EQ(notesUnder(nullptr, "01", notesKeyAbsent), u"<none>");
}

class CardListTest : public SearchTest {};

EditionRubric rubric(const std::string& code, std::u16string_view title)
{
    EditionRubric r;
    r.code = code;
    r.title = cp1251(title);
    r.firms = {0};
    return r;
}

TEST_F(CardListTest, HoursThenOneLinePerTitle)
{
    Edition edition;
    edition.title = "Test";
    edition.rubrics = {rubric("01", u"Банки"), rubric("0101", u"Банкоматы"), rubric("02", u"банки"),
                       rubric("03", u"Банк"), rubric("04", u"Аптеки")};
    EditionFirm firm = firmNamed(u"Фирма");
    firm.rubricCodes = "|0101|02|03|04|01|";
    edition.firms = {firm};
    DirectoryDatabase& database = open(edition);

    ScriptedHooks hooks;
    const std::string hours = cp1251(u"Пн-Пт 9-18");
    const std::vector<CardListLine> lines = cardListLines(database, hours.c_str(), firm.rubricCodes.c_str(), hooks);
    std::vector<std::u16string> texts;
    for (const CardListLine& line : lines)
        texts.push_back(line.text);
    // "банки" repeats "Банки" in another letter case; "Банк" only begins "Банки" and keeps its line.
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"Пн-Пт 9-18", u"Банки", u"Банкоматы", u"Банк", u"Аптеки"}));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].value, 11u << 16);
    EXPECT_EQ(lines[1].value, (6u << 16) | 1u);
    EXPECT_EQ(lines[4].value, (7u << 16) | 5u);
    EXPECT_TRUE(hooks.shown.empty());

    // Without hours or rubric codes the list is empty.
    EXPECT_TRUE(cardListLines(database, nullptr, nullptr, hooks).empty());
    EXPECT_TRUE(cardListLines(database, "", "|99|", hooks).empty());
}

} // namespace
