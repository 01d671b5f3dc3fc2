// ASCII case folding, independent of the user's locale.
#pragma once

#include <string>
#include <string_view>

namespace platform {

constexpr char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
constexpr char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

constexpr bool AsciiIEquals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

constexpr bool AsciiIStartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && AsciiIEquals(text.substr(0, prefix.size()), prefix);
}

inline std::string AsciiLowerCopy(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

}  // namespace platform
