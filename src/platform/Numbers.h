// Numbers as text in the C locale, whatever the user's locale: "88.5" always means 88.5 and a
// double is always printed with a '.'.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Whole-text parses: surrounding spaces and a leading '+' are allowed, nothing else may follow.
// nullopt for no number, trailing text, an out-of-range value or (doubles) infinity and NaN.
std::optional<int> ParseInt(std::string_view text);
std::optional<std::int64_t> ParseInt64(std::string_view text);
std::optional<double> ParseDouble(std::string_view text);

// Prefix parses like atoi/atof: leading spaces, a sign, then as much of a number as follows;
// 0 when there is none. Out-of-range integers saturate; an out-of-range double gives 0.
int ParseIntPrefix(std::string_view text);
std::int64_t ParseInt64Prefix(std::string_view text);
double ParseDoublePrefix(std::string_view text);

std::string FormatInt(int value);
std::string FormatInt64(std::int64_t value);
// Shortest text that reads back as the same double ("88.5", "0.1", "1e+300").
std::string FormatDouble(double value);
// Fixed notation with `decimals` digits after the point, like "%.*f" ("88.50"); decimals is
// clamped to 0..30.
std::string FormatDouble(double value, int decimals);

}  // namespace platform
