// Links resolved against the page they are on, and the device paths of file addresses.
#include "platform/htmlview/page_address.h"

#include <gtest/gtest.h>

namespace {

using htmlview::resolveLink;

const std::string page = "file://\\Storage Card\\Program Files\\MORVANE\\QUILLDEN\\HTML\\transport.html";

TEST(PageAddress, LinksAreResolvedAgainstTheirPage)
{
    const std::string folder = "file://\\Storage Card\\Program Files\\MORVANE\\QUILLDEN\\HTML\\";
    EXPECT_EQ(resolveLink(page, "bridges.html"), folder + "bridges.html");
    EXPECT_EQ(resolveLink(page, "./sub/a.htm#x"), folder + "sub\\a.htm#x");
    EXPECT_EQ(resolveLink(page, "../help.html"), "file://\\Storage Card\\Program Files\\MORVANE\\QUILLDEN\\help.html");
    EXPECT_EQ(resolveLink(page, "#t2"), page + "#t2");
    EXPECT_EQ(resolveLink(page + "#old", "#t2"), page + "#t2");
    EXPECT_EQ(resolveLink(page, ""), page);
    EXPECT_EQ(resolveLink(page, "/Windows/a.htm"), "file://\\Windows\\a.htm");
    // ".." never climbs above the device root.
    EXPECT_EQ(resolveLink(page, "../../../../../../../x.htm"), "file://\\x.htm");
    // Other schemes are left to whoever handles them.
    EXPECT_EQ(resolveLink(page, "mailto:info@morvane.ru"), "mailto:info@morvane.ru");
    EXPECT_EQ(resolveLink(page, "http://morvane.ru/a"), "http://morvane.ru/a");
    EXPECT_EQ(resolveLink(page, "FILE:///Temp/a.htm"), "file://\\Temp\\a.htm");
    // Without a file to start from, a relative link cannot be placed.
    EXPECT_EQ(resolveLink("", "bridges.html"), "bridges.html");
    EXPECT_EQ(resolveLink("", "#t2"), "#t2");
}

TEST(PageAddress, FileAddressesNameDevicePaths)
{
    EXPECT_EQ(htmlview::devicePathOf(page + "#t2"), u"\\Storage Card\\Program Files\\MORVANE\\QUILLDEN\\HTML\\transport.html");
    EXPECT_EQ(htmlview::devicePathOf("file:///My%20Documents/a.htm?x=1"), u"\\My Documents\\a.htm");
    EXPECT_EQ(htmlview::devicePathOf("file://\\%D0%9C.htm"), u"\\М.htm");
    EXPECT_EQ(htmlview::devicePathOf("file://\\bad%zz%4"), u"\\bad%zz%4");
    EXPECT_EQ(htmlview::devicePathOf("mailto:x@y"), u"");
    EXPECT_EQ(htmlview::fragmentOf(page + "#t2"), "t2");
    EXPECT_EQ(htmlview::withoutFragment(page + "#t2"), page);
    EXPECT_TRUE(htmlview::hasScheme("mailto:x"));
    EXPECT_FALSE(htmlview::hasScheme("bridges.html"));
}

} // namespace
