// The two bits of UTF-8 the grid needs: a typed character as text, and Backspace.
#pragma once

#include <string>

namespace gridutf8 {

inline std::string Encode(char32_t ch)
{
    std::string out;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        if (ch >= 0xD800 && ch <= 0xDFFF)
            return "\xEF\xBF\xBD";  // a lone surrogate
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x110000) {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        return "\xEF\xBF\xBD";
    }
    return out;
}

// Removes the last code point.
inline void PopBack(std::string& s)
{
    while (!s.empty()) {
        const unsigned char c = static_cast<unsigned char>(s.back());
        s.pop_back();
        if ((c & 0xC0) != 0x80)
            break;
    }
}

}  // namespace gridutf8
