#include "ChannelDescription.h"

#include "MemoryChannel.h"

#include <cctype>
#include <cstdio>

namespace lists {

namespace {

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i]))
            != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::string ChannelDescription(std::string_view prefix, int n)
{
    char number[8];
    std::snprintf(number, sizeof number, "%02d", n);
    return std::string(prefix) + " " + number;
}

int ChannelNamedBy(std::string_view description, std::string_view prefix)
{
    if (prefix.empty() || description.size() < prefix.size()
        || !SameIgnoringCase(description.substr(0, prefix.size()), prefix))
        return 0;
    std::string_view rest = description.substr(prefix.size());
    if (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    size_t digits = 0;
    while (digits < rest.size() && IsDigit(rest[digits]))
        ++digits;
    if (digits < 1 || digits > 2)
        return 0;
    const int n = digits == 1 ? rest[0] - '0' : (rest[0] - '0') * 10 + (rest[1] - '0');
    return n >= 1 && n <= radiomem::kChannels ? n : 0;
}

}  // namespace lists
