#include "tools/editiongen/about_pictures.h"

#include <algorithm>

namespace {

BannerText placed(const std::string& text, bool bold, int size, int x, int baseline, int width)
{
    // The cell of the face: a size's height above the baseline, a quarter of it below.
    return {text, bold, size, x, baseline, x, baseline - size, x + width, baseline + size / 4 + 1};
}

} // namespace

int aboutPictureWidth(int index) { return index < 2 ? 240 : 320; }

int aboutPictureHeight(int index)
{
    const bool portrait = index < 2;
    if (index % 2 == 0)
        return portrait ? 72 : 56;
    return portrait ? 48 : 36;
}

BannerArea aboutLinkArea(int index)
{
    if (index % 2 == 0)
        return {};
    // The screen takes a tap right of three quarters of its width as the link; the name itself
    // ends a sixteenth of the width from the right. Keep from five eighths on free, the whole height.
    const int width = aboutPictureWidth(index);
    return {width * 5 / 8, 0, width, aboutPictureHeight(index)};
}

std::vector<BannerText> layOutAboutTexts(int index, const std::string& city,
                                         const std::function<int(const std::string&, bool, int)>& measure)
{
    const bool portrait = index < 2;
    std::vector<BannerText> texts;
    if (index % 2 == 0) {
        const std::string maker = "Morvane";
        const std::string line = "Справочник: " + city;
        const int makerSize = portrait ? 24 : 22;
        texts.push_back(placed(maker, true, makerSize, 12, portrait ? 32 : 28, measure(maker, true, makerSize)));
        texts.push_back(placed(line, false, 12, 14, portrait ? 52 : 46, measure(line, false, 12)));
        return texts;
    }
    // The lower band: the map product's name and what it is, on one row when both end before the
    // link's area, else one above the other.
    const int height = aboutPictureHeight(index);
    const int free = aboutLinkArea(index).left - 4;
    const std::string product = "Lumetra";
    const std::string what = "карты города";
    const int productWidth = measure(product, true, 16);
    const int whatWidth = measure(what, false, 12);
    // Under the 10-pixel stripes.
    const int stripes = 10;
    if (12 + productWidth + 10 + whatWidth <= free) {
        const int baseline = std::max(stripes + 16, height - 8);
        texts.push_back(placed(product, true, 16, 12, baseline, productWidth));
        texts.push_back(placed(what, false, 12, 12 + productWidth + 10, baseline, whatWidth));
    } else {
        texts.push_back(placed(product, true, 16, 12, stripes + 16, productWidth));
        texts.push_back(placed(what, false, 12, 14, height - 5, whatWidth));
    }
    return texts;
}

bool drawAboutPicture(int index, const std::string& city, Canvas& out, std::string& error) {
    TextFont* bold = openFont(true, error);
    TextFont* font = bold ? openFont(false, error) : nullptr;
    if (!font) {
        closeFont(bold);
        return false;
    }
    const int width = aboutPictureWidth(index);
    const int height = aboutPictureHeight(index);
    out = makeCanvas(width, height, {255, 255, 255});
    Rgb upperColours[2] = {{255, 255, 255}, {230, 240, 255}};
    if (index % 2 == 0) {
        // Upper band: the maker's name over a sky gradient with a stylised skyline.
        verticalGradient(out, 0, 0, width, height, {18, 64, 140}, {132, 211, 247});
        for (int x = 0, i = 0; x < width; x += 14, ++i) {
            int h = 8 + (i * 37 % 23);
            fillRect(out, x, height - h, 12, h, {12, 40, 90});
        }
    } else {
        // Lower band: the map product's colours.
        verticalGradient(out, 0, 0, width, height, {250, 250, 240}, {214, 232, 200});
        const Rgb stripes[] = {{214, 8, 59}, {0, 120, 201}, {0, 154, 73}, {234, 113, 37}, {112, 39, 133}};
        for (int i = 0; i < 5; ++i) fillRect(out, 0, i * 2, width, 2, stripes[i]);
        upperColours[0] = {0, 0, 128};
        upperColours[1] = {40, 60, 40};
    }
    const auto measure = [bold, font](const std::string& text, bool isBold, int size) {
        return textWidth(isBold ? bold : font, text, size);
    };
    const std::vector<BannerText> texts = layOutAboutTexts(index, city, measure);
    for (size_t i = 0; i < texts.size(); ++i)
        drawText(out, texts[i].bold ? bold : font, texts[i].text, texts[i].x, texts[i].baseline, texts[i].size,
                 upperColours[i < 2 ? i : 1]);
    closeFont(bold);
    closeFont(font);
    return true;
}
