#include "LanguageChooser.h"

#include "AsciiCase.h"
#include "ProgramFolder.h"

#include <algorithm>
#include <numeric>

const char* const LanguageChooser::kLoadErrorText =
    "Error in the language file.\n\nPlease try again.";

LanguageChooser::LanguageChooser(CLanguage& language, CIni& ini, std::string folder)
    : language_(language), ini_(ini), folder_(std::move(folder))
{
}

const std::vector<std::string>& LanguageChooser::Refresh()
{
    language_.ListLanguages(folder_);
    std::vector<std::string> names = language_.LanguageNames();
    // The list is shown sorted; keep each path with its name.
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return platform::AsciiLowerCopy(names[a]) < platform::AsciiLowerCopy(names[b]);
    });
    names_.clear();
    paths_.clear();
    for (std::size_t i : order) {
        names_.push_back(names[i]);
        paths_.push_back(language_.GetListEntry(static_cast<int>(i)));
    }
    return names_;
}

LanguageChooser::Decision LanguageChooser::Choose(int index)
{
    Decision d;
    std::string path = (index >= 0 && static_cast<std::size_t>(index) < paths_.size())
                           ? paths_[static_cast<std::size_t>(index)]
                           : std::string();
    if (path.empty() || language_.Load(path, true) != CLanguage::kLoaded) {
        d.outcome = Outcome::StayOpen;
        d.message = language_.Translate(kLoadErrorText);
        return d;
    }
    d.outcome = Outcome::Chosen;
    std::string fileName = platform::BaseName(path);
    std::string current = ini_.GetString(settings::setup::Language);
    if (platform::AsciiIEquals(current, fileName))
        return d;
    d.changed = true;
    if (!ini_.WriteString(settings::setup::Language, fileName)) {
        d.settingSaved = false;
        d.message = ini_.LastError();
    }
    return d;
}

bool LanguageChooser::LoadConfigured(CLanguage& language, const CIni& ini,
                                     const std::string& folder)
{
    std::string name = ini.GetString(settings::setup::Language);
    if (name.empty() || !platform::IsPlainName(name))
        return false;
    return language.Load(platform::JoinPath(folder, name), true) == CLanguage::kLoaded;
}
