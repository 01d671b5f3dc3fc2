// A font description that cells carry; the drawing side turns it into a real font.
#pragma once

#include <string>

struct GridFont {
    std::string face;
    int height = 0;    // character height in pixels; 0 = the painter's default size
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    int escapement = 0;  // tenths of a degree; 900 / -900 = vertical text
    friend bool operator==(const GridFont&, const GridFont&) = default;
};
