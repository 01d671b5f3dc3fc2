#include "ProgressText.h"

std::string ProgressText(const std::string& text, int pos, bool showCount)
{
    if (!text.empty())
        return showCount ? text + " : " + std::to_string(pos) : text;
    return showCount ? std::to_string(pos) : std::string();
}
