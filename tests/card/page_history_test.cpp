// The pane's history as text: the shift past the tenth entry, stores that keep what lies ahead,
// the cut at an entry's size; and the mail program's command line of a mailto: link.
#include "card/contact_actions.h"
#include "card/page_history.h"

#include <gtest/gtest.h>

#include <string>

namespace {

HtmlPane emptyPane()
{
    HtmlPane pane{};
    pane.historyIndex = -1;
    return pane;
}

TEST(PageHistory, ElevenEntriesKeepTheLastTenAndTheIndexStaysOnTheNewest)
{
    HtmlPane pane = emptyPane();
    for (int i = 1; i <= 11; ++i)
        recordHistoryEntry(pane, ("#a" + std::to_string(i)).c_str());
    EXPECT_EQ(pane.historyIndex, 9);
    EXPECT_STREQ(pane.history[0], "#a2");
    EXPECT_STREQ(pane.history[8], "#a10");
    EXPECT_STREQ(pane.history[9], "#a11");
    recordHistoryEntry(pane, "#a12");
    EXPECT_EQ(pane.historyIndex, 9);
    EXPECT_STREQ(pane.history[0], "#a3");
    EXPECT_STREQ(pane.history[9], "#a12");
}

TEST(PageHistory, AStoreKeepsTheEntriesAheadAndNothingIsStoredBeforeTheFirst)
{
    HtmlPane pane = emptyPane();
    EXPECT_EQ(storeHistoryEntry(pane, -1, "file://\\page.html"), -1);
    EXPECT_STREQ(pane.history[0], "") << "the first page opened is not in the history";
    recordHistoryEntry(pane, "");
    recordHistoryEntry(pane, "#t2");
    recordHistoryEntry(pane, "#t31");
    pane.historyIndex = 1;  // back once
    recordHistoryEntry(pane, "other.html");
    EXPECT_STREQ(pane.history[2], "other.html");
    pane.historyIndex = 0;
    recordHistoryEntry(pane, "#t35");
    EXPECT_TRUE(historyHasNext(pane)) << "forward still leads to the earlier path";
    EXPECT_STREQ(pane.history[2], "other.html");
}

TEST(PageHistory, ForwardNeedsAFilledEntryAfterTheCurrentOne)
{
    HtmlPane pane = emptyPane();
    EXPECT_FALSE(historyHasNext(pane));
    recordHistoryEntry(pane, "#t2");
    EXPECT_FALSE(historyHasNext(pane));
    recordHistoryEntry(pane, "#t31");
    pane.historyIndex = 0;
    EXPECT_TRUE(historyHasNext(pane));
    for (int i = 0; i < 12; ++i)
        recordHistoryEntry(pane, "#x");
    EXPECT_FALSE(historyHasNext(pane)) << "nothing after the tenth entry";
}

TEST(PageHistory, EntriesAreCutAtTheirSizeAndTellTheirKind)
{
    HtmlPane pane = emptyPane();
    const std::string longest(400, 'a');
    recordHistoryEntry(pane, longest.c_str());
    EXPECT_EQ(std::string(pane.history[0]), longest.substr(0, historyEntryBytes - 1));
    EXPECT_EQ(historyEntryKind(""), HistoryEntryKind::helpText);
    EXPECT_EQ(historyEntryKind("#t2"), HistoryEntryKind::anchor);
    EXPECT_EQ(historyEntryKind("medics.html"), HistoryEntryKind::address);
}

TEST(MailLink, TheAddressAfterTheSchemeInQuotes)
{
    EXPECT_TRUE(startsWithMailto("mailto:a@b.ru"));
    EXPECT_TRUE(startsWithMailto("MailTo:a@b.ru"));
    EXPECT_FALSE(startsWithMailto("mail:a@b.ru"));
    EXPECT_FALSE(startsWithMailto("mailt"));
    EXPECT_EQ(mailToCommandLine("mailto:info@firm.ru"), u"-to \"info@firm.ru\"");
    EXPECT_EQ(mailToCommandLine("mailto:"), u"-to \"\"");
    // Code page 1251 text comes through as itself.
    EXPECT_EQ(mailToCommandLine("mailto:\xEF\xF0\xE8\xE5\xEC@firm.ru"), u"-to \"прием@firm.ru\"");
    const std::string longest = "mailto:" + std::string(600, 'x');
    EXPECT_EQ(mailToCommandLine(longest.c_str()), u"-to \"" + std::u16string(512, u'x') + u"\"");
}

}  // namespace
