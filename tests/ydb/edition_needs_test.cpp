// What the handheld will not find in an edition's resources, told with what to add.
#include <gtest/gtest.h>

#include "tools/ydb/source/edition_needs.h"

namespace {

std::string helpWith(const std::vector<std::string>& anchors) {
    std::string text = "<html><body><A NAME='top'></A>";
    for (const std::string& a : anchors) text += "<a class=\"x\" name=\"" + a + "\"></a><p>" + a + "</p>";
    return text + "<a href=\"#t35\">not an anchor</a><a name=t43>bare</a></body></html>";
}

EditionResources complete() {
    EditionResources r;
    r.hasHelp = true;
    r.help = helpWith({"t2", "t31", "t32", "t34", "t35", "t41"});
    r.pictures = {{240, 72}, {240, -48}, {320, 56}, {320, 36}, {720, 1060}};
    return r;
}

std::vector<std::string> messages(const EditionResources& r) {
    std::vector<std::string> out;
    for (const ResourceWarning& w : resourceWarnings(r))
        out.push_back(std::to_string(static_cast<int>(w.subject)) + " " + std::to_string(w.picture) + " " + w.message);
    return out;
}

TEST(EditionNeeds, AnchorsAreTheNamesOfATagsAsThePageViewMatchesThem) {
    EXPECT_EQ(anchorNames(helpWith({"t2", "T31"})), (std::vector<std::string>{"top", "t2", "T31", "t43"}));
}

TEST(EditionNeeds, ACompleteEditionHasNoWarning) {
    EXPECT_EQ(messages(complete()), std::vector<std::string>{});
}

TEST(EditionNeeds, NoHelpTextOrAnAnchorItLacks) {
    EditionResources r = complete();
    r.help = helpWith({"t2", "t31", "t32", "t34", "t35"});
    EXPECT_EQ(messages(r), (std::vector<std::string>{"1 -1 no anchor \"t41\": the help of the metro scheme opens at the "
                                                     "top of the text; add <a name=\"t41\"></a> before its paragraph"}));
    r.hasHelp = false;
    EXPECT_EQ(messages(r), (std::vector<std::string>{
                               "0 -1 no help text: every screen's help button opens an empty page; add {\"help\": FILE}, "
                               "an HTML page with a paragraph for each screen under the anchors t2, t31, t32, t34, t35, t41, t43"}));
}

TEST(EditionNeeds, PicturesMissingOrOfASizeTheScreenCannotShow) {
    EditionResources r = complete();
    r.pictures.resize(3);
    EXPECT_EQ(messages(r), (std::vector<std::string>{
                               "0 3 no picture 3 (the about screen's lower picture, landscape): the screen leaves its "
                               "place empty; add a {\"picture\": FILE} of 320 pixels wide as picture resource number 4",
                               "0 4 no picture 4 (the metro scheme): the screen leaves its place empty; add a "
                               "{\"picture\": FILE} of at least 320 x 294 pixels as picture resource number 5"}));

    r = complete();
    r.pictures[0] = {480, 260};      // stretched to 240, and with the lower one taller than the screen
    r.pictures[3] = {320, 160};      // 56 + 160 > 214
    r.pictures[4] = {300, 2000};     // narrower than the landscape screen
    EXPECT_EQ(messages(r), (std::vector<std::string>{
                               "2 0 picture 0 (the about screen's upper picture, portrait) is 480 x 260 pixels: the screen "
                               "stretches it to 240 pixels wide; make it 240 pixels wide",
                               "2 1 pictures 0 and 1 are 308 pixels high together, more than the 294 the about screen "
                               "has: they overlap; make them lower",
                               "2 3 pictures 2 and 3 are 216 pixels high together, more than the 214 the about screen "
                               "has: they overlap; make them lower",
                               "2 4 picture 4 (the metro scheme) is 300 x 2000 pixels, smaller than the screen shows: the "
                               "rest of the screen is left unpainted; make it at least 320 x 294 pixels"}));
}

// The letter М (0xCC) selects the second set; the about screen's product page is in both.
TEST(EditionNeeds, TilePagesFollowTheCityLetter) {
    std::vector<std::string> asked;
    auto none = [&](const std::string& file) {
        asked.push_back(file);
        return false;
    };
    std::vector<std::string> warnings = missingPageWarnings(0xCF, none);
    EXPECT_EQ(asked, (std::vector<std::string>{"lumetra.html", "bridges.html", "emergency.html", "security_service.html",
                                               "medics.html", "transport.html", "info_service.html"}));
    EXPECT_EQ(warnings[1], "no bridges.html, which home tile \"Разводка мостов\" opens (city letter П): it would stay on "
                           "\"Загружается: …\"; add html/bridges.html");
    asked.clear();
    missingPageWarnings(0xCC, none);
    EXPECT_EQ(asked, (std::vector<std::string>{"quandrix.html", "pdd.htm", "resc.htm", "ohr.htm", "zdrav.htm",
                                               "transp.htm", "sprav.htm", "lumetra.html"}));
    EXPECT_TRUE(missingPageWarnings(0xCC, [](const std::string&) { return true; }).empty());
}

} // namespace
