#include "MaskText.h"

#include <algorithm>

MaskEditModel::MaskEditModel(std::string mask, std::string literal)
    : mask_(std::move(mask)), literal_(std::move(literal))
{
    literal_.resize(mask_.size(), '_');
}

void MaskEditModel::SetCaret(int pos)
{
    caret_ = std::clamp(pos, 0, static_cast<int>(text_.size()));
}

void MaskEditModel::SetText(std::string_view text)
{
    text_ = std::string(text);
    restore_ = text_;
    caret_ = static_cast<int>(text_.size());
}

bool MaskEditModel::Accepts(int pos, char ch) const
{
    if (pos < 0 || pos >= static_cast<int>(mask_.size()))
        return false;
    if (mask_[pos] != '0')
        return ch == literal_[pos];
    if (ch < '0' || ch > '9')
        return false;
    // The limits of the time mask: hours at positions 0-1, minutes at 3-4.
    auto at = [&](int i) { return i < static_cast<int>(text_.size()) ? text_[i] : '\0'; };
    const std::string& lim = pos < 2 ? maxHours : maxMinutes;
    const int first = pos < 2 ? 0 : 3;
    if (lim.size() < 2 || (pos != first && pos != first + 1))
        return true;
    if (pos == first) {
        if (ch > lim[0])
            return false;
        // Overwriting the first digit must not make the second one too large.
        const char second = at(first + 1);
        return !(ch == lim[0] && second != '\0' && second > lim[1]);
    }
    return !(at(first) == lim[0] && ch > lim[1]);
}

void MaskEditModel::Put(int pos, char ch)
{
    if (pos < static_cast<int>(text_.size())) {
        text_[pos] = ch;
    } else {
        // Places before the caret are filled, so pos == size here.
        text_.push_back(ch);
    }
}

void MaskEditModel::SkipLiteral()
{
    while (caret_ < static_cast<int>(mask_.size()) && literal_[caret_] != '_') {
        Put(caret_, literal_[caret_]);
        ++caret_;
    }
}

bool MaskEditModel::TypeChar(char ch)
{
    if (caret_ > static_cast<int>(text_.size()))
        caret_ = static_cast<int>(text_.size());
    const int saved = caret_;
    const std::string savedText = text_;
    if (caret_ < static_cast<int>(mask_.size()) && literal_[caret_] != '_'
        && ch != literal_[caret_])
        SkipLiteral();
    if (!Accepts(caret_, ch)) {
        text_ = savedText;
        caret_ = saved;
        return false;
    }
    Put(caret_, ch);
    ++caret_;
    if (caret_ < static_cast<int>(mask_.size()) && literal_[caret_] != '_')
        SkipLiteral();
    return true;
}

bool MaskEditModel::Backspace()
{
    if (caret_ <= 0 || caret_ > static_cast<int>(text_.size()))
        return false;
    --caret_;
    // The program's character comes back only where it still gives a valid time (restoring
    // the '9' of "19:00" after "20:00" was typed would give "29:00").
    if (caret_ < static_cast<int>(restore_.size()) && Accepts(caret_, restore_[caret_]))
        text_[caret_] = restore_[caret_];
    return true;
}

bool MaskEditModel::Paste(std::string_view clip)
{
    MaskEditModel trial = *this;
    for (char c : clip) {
        // A literal the field has just passed by itself ("08:15" pasted whole).
        const int prev = trial.caret_ - 1;
        if (prev >= 0 && prev < static_cast<int>(literal_.size()) && literal_[prev] != '_'
            && c == literal_[prev])
            continue;
        if (!trial.TypeChar(c))
            return false;
    }
    *this = trial;
    return true;
}

std::optional<TimeOfDay> ParseTimeText(std::string_view t)
{
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (t.size() != 5 || t[2] != ':' || !digit(t[0]) || !digit(t[1]) || !digit(t[3])
        || !digit(t[4]))
        return std::nullopt;
    TimeOfDay v{(t[0] - '0') * 10 + (t[1] - '0'), (t[3] - '0') * 10 + (t[4] - '0')};
    if (v.hour > 23 || v.minute > 59)
        return std::nullopt;
    return v;
}
