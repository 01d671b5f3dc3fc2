#include "DdeMessages.h"

#include <cstdio>

namespace dde {
namespace {

constexpr std::size_t kFixed = 4 + 4 + 1 + 4 + 1 + 1 + 4;  // id format flag value len len len

void Put32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t Get32(const std::string& in, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= std::uint32_t(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return v;
}

}  // namespace

bool AppendDdeMessage(std::string& out, const DdeMessage& m)
{
    if (m.name1.size() > kMaxName || m.name2.size() > kMaxName)
        return false;
    std::string body;
    Put32(body, m.id);
    Put32(body, m.format);
    body.push_back(static_cast<char>(m.flag));
    Put32(body, m.value);
    body.push_back(static_cast<char>(m.name1.size()));
    body.push_back(static_cast<char>(m.name2.size()));
    Put32(body, static_cast<std::uint32_t>(m.data.size()));
    body += m.name1;
    body += m.name2;
    body += m.data;
    return platform::ipc::AppendFrame(out, static_cast<std::uint8_t>(m.type), body);
}

std::optional<DdeMessage> DecodeDdeMessage(const platform::ipc::Frame& frame)
{
    if (frame.type < static_cast<std::uint8_t>(DdeMessageType::Connect)
        || frame.type > static_cast<std::uint8_t>(DdeMessageType::Pairs))
        return std::nullopt;
    const std::string& p = frame.payload;
    if (p.size() < kFixed)
        return std::nullopt;
    DdeMessage m;
    m.type = static_cast<DdeMessageType>(frame.type);
    m.id = Get32(p, 0);
    m.format = Get32(p, 4);
    m.flag = static_cast<std::uint8_t>(p[8]);
    m.value = Get32(p, 9);
    const std::size_t len1 = static_cast<unsigned char>(p[13]);
    const std::size_t len2 = static_cast<unsigned char>(p[14]);
    const std::size_t dataLen = Get32(p, 15);
    // Each length is checked against what is left, so no sum can wrap.
    const std::size_t left = p.size() - kFixed;
    if (len1 > left || len2 > left - len1 || dataLen != left - len1 - len2)
        return std::nullopt;
    m.name1 = p.substr(kFixed, len1);
    m.name2 = p.substr(kFixed + len1, len2);
    m.data = p.substr(kFixed + len1 + len2);
    return m;
}

std::string EncodePairs(const std::vector<std::pair<std::string, std::string>>& pairs)
{
    std::string out;
    for (const auto& [service, topic] : pairs) {
        out += service;
        out.push_back('\0');
        out += topic;
        out.push_back('\0');
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> DecodePairs(const std::string& data)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t at = 0;
    while (at < data.size()) {
        const std::size_t end1 = data.find('\0', at);
        if (end1 == std::string::npos)
            break;
        const std::size_t end2 = data.find('\0', end1 + 1);
        if (end2 == std::string::npos)
            break;
        pairs.emplace_back(data.substr(at, end1 - at), data.substr(end1 + 1, end2 - end1 - 1));
        at = end2 + 1;
    }
    return pairs;
}

std::string DdeSocketName(long pid, unsigned serial)
{
    char name[64];
    std::snprintf(name, sizeof name, "dde-%ld-%u.sock", pid, serial);
    return name;
}

bool IsDdeSocketName(const std::string& name)
{
    long pid = 0;
    unsigned serial = 0;
    int used = 0;
    return std::sscanf(name.c_str(), "dde-%ld-%u.sock%n", &pid, &serial, &used) == 2
           && used == static_cast<int>(name.size()) && pid > 0;
}

}  // namespace dde
