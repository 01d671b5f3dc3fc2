#include "NumText.h"

#include "Numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace numtext {
namespace {
bool IsSeparator(char c, const NumFormat& f)
{
    return c == '+' || c == '-' || (f.decimalChar != 0 && c == f.decimalChar)
           || (f.groupChar != 0 && c == f.groupChar);
}
// A position after `separators` removed characters before it, then `zeros` removed from the
// front (positions inside them go to 0).
void MoveLeft(int* pos, int separators, int zeros)
{
    if (!pos)
        return;
    *pos -= separators;
    if (*pos > 0)
        *pos = std::max(*pos - zeros, 0);
}
}  // namespace

std::string Strip(std::string_view text, const NumFormat& f, int* caret, int* second)
{
    // One pass, each position moved once: a pasted text may be very long.
    std::string s;
    s.reserve(text.size());
    int caretLeft = 0, secondLeft = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsSeparator(text[i], f)) {
            s.push_back(text[i]);
            continue;
        }
        const int at = static_cast<int>(i);
        if (caret && at < *caret)
            ++caretLeft;
        if (second && at < *second)
            ++secondLeft;
    }
    const std::size_t zeros = std::min(s.find_first_not_of('0'), s.size());
    s.erase(0, zeros);
    MoveLeft(caret, caretLeft, static_cast<int>(zeros));
    MoveLeft(second, secondLeft, static_cast<int>(zeros));
    return s;
}

std::string Format(std::string digits, const NumFormat& f, char signChar, int* caret)
{
    int c = caret ? *caret : 0;
    const int minDigits = std::max(f.minDigits, 0);
    if (static_cast<int>(digits.size()) < minDigits) {
        const int pad = minDigits - static_cast<int>(digits.size());
        digits.insert(0, static_cast<std::size_t>(pad), '0');
        c += pad;
    }
    const int d = static_cast<int>(digits.size()) - 1;
    const int point = d - f.decimals;
    for (int i = d; i >= 0; --i) {
        char put = 0;
        if (i < point && (point - i) % 3 == 0 && f.groupChar != 0)
            put = f.groupChar;
        if (i == point && f.decimals > 0 && f.decimalChar != 0)
            put = f.decimalChar;
        if (put == 0)
            continue;
        digits.insert(static_cast<std::size_t>(i + 1), 1, put);
        if (i + 1 < c)
            ++c;
    }
    if (f.showSign) {
        if (f.signInFront) {
            digits.insert(0, 1, signChar);
            ++c;
        } else {
            digits.push_back(signChar);
        }
    }
    if (caret)
        *caret = std::clamp(c, 0, static_cast<int>(digits.size()));
    return digits;
}

bool IsNumeric(std::string_view text, const NumFormat& f)
{
    return std::all_of(text.begin(), text.end(), [&](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || IsSeparator(c, f);
    });
}

double ValueOf(std::string_view text, const NumFormat& f)
{
    if (!IsNumeric(text, f))
        return 0.0;
    const bool negative = !text.empty() && text.front() == '-';
    std::string digits = Strip(text, f);
    if (f.decimals > 0) {
        if (static_cast<int>(digits.size()) <= f.decimals)
            digits.insert(0, static_cast<std::size_t>(f.decimals), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(f.decimals), 1, '.');
    }
    if (negative)
        digits.insert(0, 1, '-');
    return platform::ParseDoublePrefix(digits);
}

std::string DigitsOf(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    std::string s = platform::FormatDouble(std::fabs(value), std::clamp(decimals, 0, 30));
    s.erase(std::remove(s.begin(), s.end(), '.'), s.end());
    const auto first = s.find_first_not_of('0');
    return first == std::string::npos ? std::string() : s.substr(first);
}
}  // namespace numtext

NumEditModel::NumEditModel()
{
    text_ = numtext::Format({}, format_, signChar_);
    lastText_ = text_;
}

void NumEditModel::SetFormat(int decimals, char decimalChar, bool showSign, bool signInFront)
{
    format_.decimals = std::clamp(decimals, 0, 30);
    format_.decimalChar = decimalChar;
    format_.groupChar = '.';
    format_.maxDigits = 9;
    format_.minDigits = std::max(format_.decimals + 1, 0);
    format_.showSign = showSign;
    format_.signInFront = signInFront;
    if (!status_) {
        int caret = static_cast<int>(text_.size());
        const std::string digits = numtext::Strip(text_, format_, &caret);
        if (static_cast<int>(digits.size()) > format_.maxDigits) {
            text_ = numtext::Format({}, format_, signChar_);
        } else {
            text_ = numtext::Format(digits, format_, signChar_);
        }
        lastText_ = text_;
        selStart_ = selEnd_ = static_cast<int>(text_.size());
    }
}

void NumEditModel::SetSelection(int start, int end)
{
    const int n = static_cast<int>(text_.size());
    selStart_ = std::clamp(std::min(start, end), 0, n);
    selEnd_ = std::clamp(std::max(start, end), 0, n);
}

void NumEditModel::Restore(const Saved& s)
{
    text_ = s.text;
    selStart_ = s.selStart;
    selEnd_ = s.selEnd;
    signChar_ = s.signChar;
}

void NumEditModel::LeaveStatus()
{
    if (!status_)
        return;
    status_ = false;
    text_.clear();
    selStart_ = selEnd_ = 0;
}

void NumEditModel::ReplaceSelection(std::string_view with)
{
    text_.replace(static_cast<std::size_t>(selStart_),
                  static_cast<std::size_t>(selEnd_ - selStart_), with);
    selStart_ = selEnd_ = selStart_ + static_cast<int>(with.size());
}

bool NumEditModel::Apply(int caret, const Saved& before)
{
    const std::string digits = numtext::Strip(text_, format_, &caret);
    if (static_cast<int>(digits.size()) > format_.maxDigits) {
        Restore(before);
        return false;
    }
    text_ = numtext::Format(digits, format_, signChar_, &caret);
    lastText_ = text_;
    selStart_ = selEnd_ = caret;
    return true;
}

bool NumEditModel::SetText(std::string_view text)
{
    if (text == lastText_)
        return false;
    if (!numtext::IsNumeric(text, format_)) {
        text_ = std::string(text);
        lastText_ = text_;
        status_ = true;
        selStart_ = selEnd_ = static_cast<int>(text_.size());
        return true;
    }
    const std::string digits = numtext::Strip(text, format_);
    if (static_cast<int>(digits.size()) > format_.maxDigits)
        return false;
    status_ = false;
    text_ = numtext::Format(digits, format_, signChar_);
    lastText_ = text_;
    selStart_ = selEnd_ = static_cast<int>(text_.size());
    return true;
}

void NumEditModel::SetValue(double value)
{
    const Saved before = Save();
    signChar_ = value < 0 ? '-' : '+';
    const std::string digits = numtext::DigitsOf(value, format_.decimals);
    if (static_cast<int>(digits.size()) > format_.maxDigits) {
        Restore(before);
        return;
    }
    status_ = false;
    text_ = numtext::Format(digits, format_, signChar_);
    lastText_ = text_;
    selStart_ = selEnd_ = static_cast<int>(text_.size());
}

bool NumEditModel::TypeChar(char ch)
{
    const bool digit = ch >= '0' && ch <= '9';
    const bool sign = ch == '+' || ch == '-';
    if (!digit && !sign)
        return false;
    const Saved before = Save();
    LeaveStatus();
    if (sign)
        signChar_ = ch;
    ReplaceSelection(std::string_view(&ch, 1));
    return Apply(selStart_, before);
}

bool NumEditModel::Backspace()
{
    const Saved before = Save();
    if (status_) {
        LeaveStatus();
        return Apply(0, before);
    }
    if (selStart_ == selEnd_) {
        if (selStart_ == 0)
            return false;
        --selStart_;
    }
    ReplaceSelection({});
    return Apply(selStart_, before);
}

bool NumEditModel::Delete()
{
    const Saved before = Save();
    if (status_) {
        LeaveStatus();
        return Apply(0, before);
    }
    if (selStart_ == selEnd_) {
        if (selEnd_ >= static_cast<int>(text_.size()))
            return false;
        ++selEnd_;
    }
    ReplaceSelection({});
    return Apply(selStart_, before);
}

void NumEditModel::Reformat()
{
    if (status_)
        return;
    Apply(selStart_, Save());
}

std::optional<std::string> NumEditModel::Copy() const
{
    if (selStart_ == selEnd_)
        return std::nullopt;
    std::string sel = text_.substr(static_cast<std::size_t>(selStart_),
                                   static_cast<std::size_t>(selEnd_ - selStart_));
    if (status_)
        return sel;
    sel.erase(std::remove_if(sel.begin(), sel.end(),
                             [](char c) { return !std::isdigit(static_cast<unsigned char>(c)); }),
              sel.end());
    return sel;
}

std::optional<std::string> NumEditModel::Cut()
{
    auto clip = Copy();
    if (!clip)
        return clip;
    const Saved before = Save();
    if (status_) {
        LeaveStatus();
    } else {
        ReplaceSelection({});
    }
    Apply(selStart_, before);
    return clip;
}

bool NumEditModel::Paste(std::string_view clip)
{
    while (!clip.empty() && std::isspace(static_cast<unsigned char>(clip.front())))
        clip.remove_prefix(1);
    while (!clip.empty() && std::isspace(static_cast<unsigned char>(clip.back())))
        clip.remove_suffix(1);
    if (clip.empty() || !numtext::IsNumeric(clip, format_))
        return false;
    const Saved before = Save();
    const bool wasStatus = status_;
    LeaveStatus();
    for (char c : clip)
        if (c == '+' || c == '-')
            signChar_ = c;
    ReplaceSelection(clip);
    if (Apply(selStart_, before))
        return true;
    // Refused: the status text it restored is still a status, not digits to edit.
    status_ = wasStatus;
    return false;
}
