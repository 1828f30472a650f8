// The sample pictures a user must be able to read: no station name over another name, a station or
// a line, and nothing of the about banner under the product link.
#include "tools/editiongen/about_pictures.h"
#include "tools/editiongen/metro_scheme.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string describe(const SchemeLabel& label)
{
    return label.name + " at " + std::to_string(label.box.left) + "," + std::to_string(label.box.top);
}

TEST(MetroScheme, TheSampleSchemesPutEveryNameClearOfNamesStationsAndLines)
{
    std::string error;
    TextFont* font = openFont(false, error);
    ASSERT_NE(font, nullptr) << error;
    for (const char* city : {"msk", "spb"}) {
        SCOPED_TRACE(city);
        const std::string folder = std::string(DIR_DATA_FOLDER) + "/" + city;
        std::vector<MetroLine> lines;
        ASSERT_TRUE(parseMetroScheme(readFile(folder + "/metro.txt"), lines, error)) << error;
        const auto size = nlohmann::json::parse(readFile(folder + "/city.json")).at("metroSize");
        const int width = size[0].get<int>(), height = size[1].get<int>();
        SchemeLayout layout;
        layOutMetroScheme(lines, width, height, [font](const std::string& name) { return textWidth(font, name, labelSize); },
                          layout);
        EXPECT_EQ(layout.labels.size(), layout.marks.size()) << "one name per station mark";
        for (size_t i = 0; i < layout.labels.size(); ++i) {
            const SchemeLabel& label = layout.labels[i];
            EXPECT_TRUE(label.box.left >= 0 && label.box.top >= 0 && label.box.right <= width &&
                        label.box.bottom <= height)
                << describe(label);
            for (size_t j = i + 1; j < layout.labels.size(); ++j)
                EXPECT_FALSE(label.box.meets(layout.labels[j].box)) << describe(label) << " / " << describe(layout.labels[j]);
            for (const SchemeMark& mark : layout.marks)
                EXPECT_FALSE(boxMeetsMark(label.box, mark)) << describe(label);
            for (const SchemeSegment& segment : layout.segments)
                EXPECT_FALSE(boxMeetsSegment(label.box, segment))
                    << describe(label) << " crossed by the line from " << segment.x0 << "," << segment.y0 << " to "
                    << segment.x1 << "," << segment.y1;
        }
        EXPECT_EQ(layout.unplaced, 0);
    }
    closeFont(font);
}

// The geometry the placement relies on: a thick line meets a box it passes within half its width of.
TEST(MetroScheme, ABoxMeetsALineOrMarkWithinTheirWidth)
{
    const SchemeBox box{100, 100, 140, 112};
    EXPECT_TRUE(boxMeetsSegment(box, {80, 106, 160, 106, {}}));   // straight through
    EXPECT_TRUE(boxMeetsSegment(box, {120, 90, 120, 98, {}}));    // ends 2 pixels above: its width reaches
    EXPECT_FALSE(boxMeetsSegment(box, {120, 80, 120, 95, {}}));   // clear above
    EXPECT_FALSE(boxMeetsSegment(box, {60, 60, 98, 90, {}}));     // diagonal, short of the corner
    EXPECT_TRUE(boxMeetsSegment(box, {90, 130, 150, 90, {}}));    // diagonal across
    EXPECT_TRUE(boxMeetsMark(box, {145, 106, {}, false}));
    EXPECT_FALSE(boxMeetsMark(box, {148, 106, {}, false}));
}

// The about screen draws its product link over the lower band's right part: nothing of the band's
// own text may be under it, in either orientation, whatever the city.
TEST(AboutPictures, TheLowerBandsLeaveTheLinksAreaFreeAndKeepTheirTextInside)
{
    std::string error;
    TextFont* font = openFont(false, error);
    TextFont* bold = font ? openFont(true, error) : nullptr;
    ASSERT_NE(bold, nullptr) << error;
    const auto measure = [font, bold](const std::string& text, bool isBold, int size) {
        return textWidth(isBold ? bold : font, text, size);
    };
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        const BannerArea link = aboutLinkArea(index);
        for (const char* city : {"Москва", "Санкт-Петербург"}) {
            const std::vector<BannerText> texts = layOutAboutTexts(index, city, measure);
            ASSERT_EQ(texts.size(), 2u);
            for (const BannerText& t : texts) {
                EXPECT_FALSE(t.left < link.right && link.left < t.right && t.top < link.bottom && link.top < t.bottom)
                    << t.text;
                EXPECT_GE(t.left, 0);
                EXPECT_LE(t.right, aboutPictureWidth(index)) << t.text;
                EXPECT_GE(t.top, index % 2 == 1 ? 10 : 0) << t.text << " under the stripes";
                EXPECT_LE(t.bottom, aboutPictureHeight(index)) << t.text;
            }
            EXPECT_FALSE(texts[0].left < texts[1].right && texts[1].left < texts[0].right &&
                         texts[0].top < texts[1].bottom && texts[1].top < texts[0].bottom);
        }
        if (index % 2 == 1) {
            // The link's own place: the lower right quarter the screen takes taps in.
            EXPECT_LE(link.left, aboutPictureWidth(index) * 3 / 4);
            EXPECT_EQ(link.right, aboutPictureWidth(index));
        }
    }
    closeFont(font);
    closeFont(bold);
}

} // namespace
