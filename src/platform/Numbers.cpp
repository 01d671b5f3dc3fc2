#include "Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// from_chars takes no '+': drop one when a digit or '.' follows.
std::string_view DropPlus(std::string_view s)
{
    if (s.size() > 1 && s[0] == '+' && s[1] != '-' && s[1] != '+')
        s.remove_prefix(1);
    return s;
}

template <class T>
std::optional<T> ParseWhole(std::string_view text)
{
    text = DropPlus(Trim(text));
    if (text.empty())
        return std::nullopt;
    T value{};
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

template <class T>
T ParsePrefix(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    text = DropPlus(text);
    bool negative = !text.empty() && text.front() == '-';
    T value{};
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range)
        return negative ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
    if (ec != std::errc())
        return 0;
    (void)ptr;
    return value;
}

template <class T>
std::string FormatInteger(T value)
{
    char buf[32];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    return std::string(buf, ptr);
}

}  // namespace

std::optional<int> ParseInt(std::string_view text)
{
    return ParseWhole<int>(text);
}
std::optional<std::int64_t> ParseInt64(std::string_view text)
{
    return ParseWhole<std::int64_t>(text);
}

std::optional<double> ParseDouble(std::string_view text)
{
    auto v = ParseWhole<double>(text);
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

int ParseIntPrefix(std::string_view text)
{
    return ParsePrefix<int>(text);
}
std::int64_t ParseInt64Prefix(std::string_view text)
{
    return ParsePrefix<std::int64_t>(text);
}

double ParseDoublePrefix(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    text = DropPlus(text);
    double value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)ptr;
    if (ec != std::errc() || !std::isfinite(value))
        return 0;
    return value;
}

std::string FormatInt(int value)
{
    return FormatInteger(value);
}
std::string FormatInt64(std::int64_t value)
{
    return FormatInteger(value);
}

std::string FormatDouble(double value)
{
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc())
        return "0";
    return std::string(buf, ptr);
}

std::string FormatDouble(double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 30)
        decimals = 30;
    // 1e308 in fixed notation needs 309 digits before the point.
    char buf[400];
    auto [ptr, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return "0";
    return std::string(buf, ptr);
}

}  // namespace platform
