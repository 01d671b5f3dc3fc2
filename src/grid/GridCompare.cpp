#include "GridCompare.h"

#include <string>

namespace gridcmp {
namespace {

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view StripLeadingZeros(std::string_view digits)
{
    std::size_t i = 0;
    while (i < digits.size() && digits[i] == '0')
        ++i;
    return digits.substr(i);
}

// Compares two unsigned whole numbers given as digit strings.
int CompareMagnitude(std::string_view a, std::string_view b)
{
    a = StripLeadingZeros(a);
    b = StripLeadingZeros(b);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Compares fraction digit strings (after the point).
int CompareFraction(std::string_view a, std::string_view b)
{
    while (!a.empty() && a.back() == '0')
        a.remove_suffix(1);
    while (!b.empty() && b.back() == '0')
        b.remove_suffix(1);
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

struct Signed {
    bool negative = false;
    std::string_view digits;
};

Signed ReadLeadingInteger(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && IsCSpace(s[i]))
        ++i;
    Signed out;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        out.negative = s[i++] == '-';
    const std::size_t start = i;
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    out.digits = s.substr(start, i - start);
    if (StripLeadingZeros(out.digits).empty())
        out.negative = false;  // -0 is 0
    return out;
}

// The digits of s one by one, other characters and leading zeros skipped; no copy, as a sort
// compares each text many times.
class SignificantDigits {
public:
    explicit SignificantDigits(std::string_view s) : s_(s)
    {
        while (Next() == '0')
            ++pos_;
        for (std::size_t i = pos_; i < s_.size(); ++i)
            count_ += IsDigit(s_[i]) ? 1 : 0;
    }
    std::size_t Count() const { return count_; }
    // The next digit (consumed by Take), 0 at the end.
    char Next()
    {
        while (pos_ < s_.size() && !IsDigit(s_[pos_]))
            ++pos_;
        return pos_ < s_.size() ? s_[pos_] : 0;
    }
    void Take() { ++pos_; }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
    std::size_t count_ = 0;
};

struct Decimal {
    std::string whole, fraction;
};

Decimal ReadDecimalComma(std::string_view s)
{
    Decimal d;
    bool inFraction = false;
    for (char c : s) {
        if (c == ',') {
            if (inFraction)
                break;  // "1,5,3" reads as 1.5
            inFraction = true;
        } else if (IsDigit(c)) {
            (inFraction ? d.fraction : d.whole) += c;
        }
    }
    return d;
}

}  // namespace

int Text(std::string_view a, std::string_view b)
{
    return a.compare(b);
}

int LeadingInteger(std::string_view a, std::string_view b)
{
    const Signed x = ReadLeadingInteger(a), y = ReadLeadingInteger(b);
    if (x.negative != y.negative)
        return x.negative ? -1 : 1;
    const int m = CompareMagnitude(x.digits, y.digits);
    return x.negative ? -m : m;
}

int DigitsOnly(std::string_view a, std::string_view b)
{
    SignificantDigits x(a), y(b);
    if (x.Count() != y.Count())
        return x.Count() < y.Count() ? -1 : 1;
    for (char dx = x.Next(), dy = y.Next(); dx != 0;
         x.Take(), y.Take(), dx = x.Next(), dy = y.Next())
        if (dx != dy)
            return dx < dy ? -1 : 1;
    return 0;
}

int DecimalComma(std::string_view a, std::string_view b)
{
    const Decimal x = ReadDecimalComma(a), y = ReadDecimalComma(b);
    const int w = CompareMagnitude(x.whole, y.whole);
    return w != 0 ? w : CompareFraction(x.fraction, y.fraction);
}

}  // namespace gridcmp
