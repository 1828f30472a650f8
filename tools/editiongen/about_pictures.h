// The four pictures of the about screen: an upper and a lower band for the portrait screen
// (240 pixels wide) and for the landscape one (320 wide).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/editiongen/canvas.h"

// `index` 0 and 1 are the portrait upper and lower pictures, 2 and 3 the landscape ones.
bool drawAboutPicture(int index, const std::string& city, Canvas& out, std::string& error);

// A text of a band as it is placed: its baseline start and its box (right and bottom exclusive).
struct BannerText {
    std::string text;
    bool bold = false;
    int size = 0;
    int x = 0, baseline = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The part of a lower band the about screen keeps for its product link (drawn at the band's
// lower right, and tapped there): none of the band's own text goes under it.
struct BannerArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};
BannerArea aboutLinkArea(int index);
int aboutPictureWidth(int index);
int aboutPictureHeight(int index);

// Where a band's texts go; `measure` gives a text's width in pixels (bold or not, at a size).
std::vector<BannerText> layOutAboutTexts(int index, const std::string& city,
                                         const std::function<int(const std::string&, bool, int)>& measure);
