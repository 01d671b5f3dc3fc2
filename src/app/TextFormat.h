// Formatting of translatable texts without trusting them.
//
// A translated text comes from a language file, so it is outside input: it never reaches the C
// library's printf family as a format. PrintfText interprets the conversions itself and hands each
// one, rebuilt from checked parts, to snprintf together with an argument of the matching kind.
// Inserts ("%1".."%99") are copied in as plain text and never scanned again.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// One argument of a printf-style text.
class FormatArg {
public:
    FormatArg(int v) : value_(static_cast<long long>(v)) {}
    FormatArg(long v) : value_(static_cast<long long>(v)) {}
    FormatArg(long long v) : value_(v) {}
    FormatArg(unsigned v) : value_(static_cast<long long>(v)) {}
    FormatArg(unsigned long v) : value_(static_cast<long long>(v)) {}
    FormatArg(double v) : value_(v) {}
    FormatArg(const char* v) : value_(std::string(v ? v : "")) {}
    FormatArg(std::string v) : value_(std::move(v)) {}
    FormatArg(std::string_view v) : value_(std::string(v)) {}

    const std::variant<long long, double, std::string>& Value() const { return value_; }

private:
    std::variant<long long, double, std::string> value_;
};

namespace textformat {

// The kinds of the printf conversions of a text, in order: 'i' integer (d i o u x X c),
// 'f' floating (f F e E g G a A), 's' string, '!' a malformed or refused conversion (%n, %p, '*',
// a width or precision above kMaxWidth, a '%' at the end). "%%" is no conversion.
std::string PrintfSignature(std::string_view text);

// The insert numbers a "%1"-style text uses, sorted, each once.
std::vector<int> InsertSignature(std::string_view text);

inline constexpr int kMaxWidth = 255;

// printf-style formatting of `format`. A conversion whose argument is missing or of another kind
// is copied out as written and makes the result false; surplus arguments are ignored.
bool PrintfText(std::string_view format, std::initializer_list<FormatArg> args, std::string& out);
bool PrintfText(std::string_view format, const std::vector<FormatArg>& args, std::string& out);

// "%1".."%99" become the inserts (a number without an insert stays as written), "%%" becomes '%';
// every other character is copied.
std::string InsertText(std::string_view templ, const std::vector<std::string_view>& inserts);

}  // namespace textformat
