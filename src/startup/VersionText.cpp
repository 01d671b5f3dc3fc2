#include "VersionText.h"

#include "Numbers.h"

VersionText MakeVersionText(const std::string& msText, const std::string& lsText,
                            const std::string& comments)
{
    VersionText result;
    if (!comments.empty()) {
        result.text = comments;
        result.beta = true;
        return result;
    }
    // The two numbers of the minor word are read as one: 0.1 -> 1, 1.2 -> 12.
    std::string digits;
    for (char c : lsText)
        if (c != '.')
            digits += c;
    int number = platform::ParseIntPrefix(digits);

    std::string major = msText;
    if (platform::ParseIntPrefix(major) < 1) {
        major = "Beta";
        result.beta = true;
    }
    result.text = major + "." + std::to_string(number);
    return result;
}

VersionText MakeVersionText(const platform::CVersionInfoReader& reader)
{
    return MakeVersionText(reader.GetVersionMSText(), reader.GetVersionLSText(),
                           reader.GetString("Comments"));
}
