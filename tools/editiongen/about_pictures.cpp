#include "tools/editiongen/about_pictures.h"

bool drawAboutPicture(int index, const std::string& city, Canvas& out, std::string& error) {
    TextFont* bold = openFont(true, error);
    TextFont* font = bold ? openFont(false, error) : nullptr;
    if (!font) {
        closeFont(bold);
        return false;
    }
    bool portrait = index < 2;
    int width = portrait ? 240 : 320;
    if (index % 2 == 0) {
        // Upper band: the maker's name over a sky gradient with a stylised skyline.
        int height = portrait ? 72 : 56;
        out = makeCanvas(width, height, {255, 255, 255});
        verticalGradient(out, 0, 0, width, height, {18, 64, 140}, {132, 211, 247});
        for (int x = 0, i = 0; x < width; x += 14, ++i) {
            int h = 8 + (i * 37 % 23);
            fillRect(out, x, height - h, 12, h, {12, 40, 90});
        }
        drawText(out, bold, "Morvane", 12, portrait ? 32 : 28, portrait ? 24 : 22, {255, 255, 255});
        drawText(out, font, "Справочник: " + city, 14, portrait ? 52 : 46, 12, {230, 240, 255});
    } else {
        // Lower band: the map product's colours and the web address.
        int height = portrait ? 48 : 36;
        out = makeCanvas(width, height, {255, 255, 255});
        verticalGradient(out, 0, 0, width, height, {250, 250, 240}, {214, 232, 200});
        const Rgb stripes[] = {{214, 8, 59}, {0, 120, 201}, {0, 154, 73}, {234, 113, 37}, {112, 39, 133}};
        for (int i = 0; i < 5; ++i) fillRect(out, 0, i * 2, width, 2, stripes[i]);
        drawText(out, bold, "Lumetra", 12, height - 12, 16, {0, 0, 128});
        drawText(out, font, "карты города", 100, height - 12, 12, {40, 60, 40});
    }
    closeFont(bold);
    closeFont(font);
    return true;
}
