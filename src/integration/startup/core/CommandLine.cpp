#include "CommandLine.h"

namespace startup_programs {

std::vector<std::string> SplitCommandLine(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;  // "" is an empty word
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

}  // namespace startup_programs
