#include "TextFormat.h"

#include <algorithm>
#include <cstdio>

namespace textformat {
namespace {

struct Conversion {
    std::size_t end = 0;  // index after the conversion character
    char kind = '!';      // 'i', 'f', 's', '%' or '!'
    char conv = 0;
    std::string flags;
    int width = -1;
    int precision = -1;
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads up to 3 digits; more, or a value above kMaxWidth, is refused.
bool ReadNumber(std::string_view t, std::size_t& i, int& value)
{
    value = 0;
    std::size_t digits = 0;
    while (i < t.size() && IsDigit(t[i])) {
        if (++digits > 3)
            return false;
        value = value * 10 + (t[i] - '0');
        ++i;
    }
    return value <= kMaxWidth;
}

// Parses the conversion that starts at t[start] == '%'.
Conversion Parse(std::string_view t, std::size_t start)
{
    Conversion c;
    std::size_t i = start + 1;
    c.end = i;
    if (i >= t.size())
        return c;
    if (t[i] == '%') {
        c.kind = '%';
        c.end = i + 1;
        return c;
    }
    while (i < t.size() && std::string_view("-+ #0").find(t[i]) != std::string_view::npos) {
        if (c.flags.size() < 5)
            c.flags += t[i];
        ++i;
    }
    if (i < t.size() && IsDigit(t[i])) {
        if (!ReadNumber(t, i, c.width)) {
            c.end = i;
            return c;
        }
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        if (!ReadNumber(t, i, c.precision)) {
            c.end = i;
            return c;
        }
    }
    // Length modifiers are accepted and dropped: the argument is always passed at full width.
    while (i < t.size() && std::string_view("hlLqjzt").find(t[i]) != std::string_view::npos)
        ++i;
    if (i >= t.size()) {
        c.end = i;
        return c;
    }
    c.conv = t[i];
    c.end = i + 1;
    switch (c.conv) {
    case 'd':
    case 'i':
    case 'o':
    case 'u':
    case 'x':
    case 'X':
    case 'c': c.kind = 'i'; break;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A': c.kind = 'f'; break;
    case 's': c.kind = 's'; break;
    default: c.kind = '!'; break;  // %n, %p, '*' and anything unknown
    }
    return c;
}

std::string ConversionFormat(const Conversion& c, const char* length)
{
    std::string format = "%" + c.flags;
    if (c.width >= 0)
        format += std::to_string(c.width);
    if (c.precision >= 0)
        format += "." + std::to_string(c.precision);
    format += length;
    format += c.conv;
    return format;
}

template <class T>
void Append(std::string& out, const std::string& format, T value)
{
    char buf[640];  // width and precision are at most 255, so this always fits
    int n = std::snprintf(buf, sizeof buf, format.c_str(), value);
    if (n > 0)
        out.append(buf, static_cast<std::size_t>(n) < sizeof buf ? static_cast<std::size_t>(n)
                                                                 : sizeof buf - 1);
}

bool Convert(const Conversion& c, const FormatArg* arg, std::string& out)
{
    if (!arg)
        return false;
    const auto& v = arg->Value();
    if (c.kind == 'i' && std::holds_alternative<long long>(v)) {
        long long x = std::get<long long>(v);
        if (c.conv == 'c')
            Append(out, ConversionFormat(c, ""), static_cast<int>(static_cast<unsigned char>(x)));
        else
            Append(out, ConversionFormat(c, "ll"), x);
        return true;
    }
    if (c.kind == 'f'
        && (std::holds_alternative<double>(v) || std::holds_alternative<long long>(v))) {
        double x = std::holds_alternative<double>(v) ? std::get<double>(v)
                                                     : static_cast<double>(std::get<long long>(v));
        Append(out, ConversionFormat(c, ""), x);
        return true;
    }
    if (c.kind == 's' && std::holds_alternative<std::string>(v)) {
        const std::string& s = std::get<std::string>(v);
        // Width and precision are applied here, so a long string needs no bounded buffer.
        std::size_t len = s.size();
        if (c.precision >= 0 && static_cast<std::size_t>(c.precision) < len)
            len = static_cast<std::size_t>(c.precision);
        std::size_t pad =
            c.width > 0 && static_cast<std::size_t>(c.width) > len ? c.width - len : 0;
        bool left = c.flags.find('-') != std::string::npos;
        if (!left)
            out.append(pad, ' ');
        out.append(s, 0, len);
        if (left)
            out.append(pad, ' ');
        return true;
    }
    return false;
}

template <class Args>
bool PrintfImpl(std::string_view format, const Args& args, std::string& out)
{
    out.clear();
    bool ok = true;
    auto next = args.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        std::size_t pct = format.find('%', i);
        if (pct == std::string_view::npos) {
            out.append(format.substr(i));
            break;
        }
        out.append(format.substr(i, pct - i));
        Conversion c = Parse(format, pct);
        if (c.kind == '%') {
            out += '%';
        } else {
            const FormatArg* arg = nullptr;
            if (c.kind != '!' && next != args.end())
                arg = &*next++;
            if (c.kind == '!' || !Convert(c, arg, out)) {
                out.append(format.substr(pct, c.end - pct));
                ok = false;
            }
        }
        i = c.end;
    }
    return ok;
}

}  // namespace

std::string PrintfSignature(std::string_view text)
{
    std::string sig;
    std::size_t i = 0;
    while ((i = text.find('%', i)) != std::string_view::npos) {
        Conversion c = Parse(text, i);
        if (c.kind != '%')
            sig += c.kind;
        i = c.end;
    }
    return sig;
}

std::vector<int> InsertSignature(std::string_view text)
{
    std::vector<int> used;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (text[i + 1] == '%') {
            ++i;
            continue;
        }
        if (text[i + 1] < '1' || text[i + 1] > '9')
            continue;
        int n = text[i + 1] - '0';
        if (i + 2 < text.size() && IsDigit(text[i + 2]))
            n = n * 10 + (text[i + 2] - '0');
        bool seen = false;
        for (int u : used)
            seen = seen || u == n;
        if (!seen)
            used.push_back(n);
    }
    std::sort(used.begin(), used.end());
    return used;
}

bool PrintfText(std::string_view format, std::initializer_list<FormatArg> args, std::string& out)
{
    return PrintfImpl(format, args, out);
}

bool PrintfText(std::string_view format, const std::vector<FormatArg>& args, std::string& out)
{
    return PrintfImpl(format, args, out);
}

std::string InsertText(std::string_view templ, const std::vector<std::string_view>& inserts)
{
    std::string out;
    out.reserve(templ.size());
    std::size_t i = 0;
    while (i < templ.size()) {
        char ch = templ[i];
        if (ch != '%' || i + 1 >= templ.size()) {
            out += ch;
            ++i;
            continue;
        }
        char nx = templ[i + 1];
        if (nx == '%') {
            out += '%';
            i += 2;
            continue;
        }
        if (nx >= '1' && nx <= '9') {
            std::size_t len = 2;
            int n = nx - '0';
            if (i + 2 < templ.size() && IsDigit(templ[i + 2])) {
                n = n * 10 + (templ[i + 2] - '0');
                len = 3;
            }
            if (static_cast<std::size_t>(n) <= inserts.size()) {
                out.append(inserts[static_cast<std::size_t>(n) - 1]);
            } else {
                out.append(templ.substr(i, len));
            }
            i += len;
            continue;
        }
        out += ch;
        ++i;
    }
    return out;
}

}  // namespace textformat
