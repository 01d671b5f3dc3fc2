#include "Ini.h"

#include "Numbers.h"
#include "PrivateProfile.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr const char* kSetup = "Setup";
constexpr std::size_t kIntChars = 64;
constexpr int kMaxSetupBytes = 8;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Unsigned 32-bit decimal conversion: an optional sign negates modulo 2^32; overflow gives
// 0xFFFFFFFF whatever the sign. The result keeps 32 bits on every machine.
int UnsignedDecimal32(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::uint64_t v = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (v > 0xFFFFFFFFull) {
            overflow = true;
            break;
        }
    }
    std::uint32_t u = overflow ? 0xFFFFFFFFu : static_cast<std::uint32_t>(v);
    if (negative && !overflow)
        u = static_cast<std::uint32_t>(0u - u);
    return static_cast<int>(u);
}

}  // namespace

void CIni::SetPath(const char* path)
{
    if (path)
        path_ = path;
    else if (path_)
        path_->clear();
    if (!batch_.Retarget(path_ ? *path_ : std::string(), &lastError_))
        std::fprintf(stderr, "settings not saved: %s\n", lastError_.c_str());
}

void CIni::BeginBatch()
{
    batch_.Begin(path_ ? *path_ : std::string());
}

bool CIni::CommitBatch()
{
    return batch_.End(&lastError_);
}

bool CIni::Fail(const char* text)
{
    lastError_ = text;
    return false;
}

std::optional<std::string> CIni::Read(const char* section, const char* key) const
{
    if (!section || !key || !path_ || path_->empty())
        return std::nullopt;
    if (platform::ProfileBatch* batch = batch_.Get())
        return batch->Read(section, key);
    return platform::ReadProfileValue(*path_, section, key);
}

std::string CIni::GetString(const char* section, const char* key, const char* def) const
{
    if (auto v = Read(section, key))
        return *v;
    return def ? std::string(def) : std::string();
}

bool CIni::WriteString(const char* section, const char* key, const char* value)
{
    if (!section || !key)
        return Fail("No section or key");
    if (!path_ || path_->empty())
        return Fail("No settings file");
    if (platform::ProfileBatch* batch = batch_.Get())
        return batch->Write(section, key, value ? value : "", &lastError_);
    return platform::WriteProfileValue(*path_, section, key, value ? value : "", &lastError_);
}

int CIni::GetInt(const char* section, const char* key, int def) const
{
    auto v = Read(section, key);
    if (!v || v->empty())
        return def;
    return UnsignedDecimal32(std::string_view(*v).substr(0, kIntChars));
}

bool CIni::WriteInt(const char* section, const char* key, int value)
{
    return WriteString(section, key, platform::FormatInt(value).c_str());
}

bool CIni::DeleteKey(const char* section, const char* key)
{
    if (!section || !key)
        return Fail("No section or key");
    if (!path_ || path_->empty())
        return Fail("No settings file");
    if (platform::ProfileBatch* batch = batch_.Get())
        return batch->DeleteKey(section, key, &lastError_);
    return platform::DeleteProfileKey(*path_, section, key, &lastError_);
}

int CIni::GetSetupBytes(const char* key, unsigned char* out) const
{
    auto v = Read(kSetup, key);
    if (!v || v->size() < 2)
        return 0;
    for (char c : *v)
        if (HexDigit(c) < 0)
            return 0;
    std::size_t pairs = v->size() / 2;
    int count =
        pairs > static_cast<std::size_t>(kMaxSetupBytes) ? kMaxSetupBytes : static_cast<int>(pairs);
    if (out)
        for (int i = 0; i < count; ++i)
            out[i] =
                static_cast<unsigned char>(HexDigit((*v)[2 * i]) * 16 + HexDigit((*v)[2 * i + 1]));
    return count;
}

bool CIni::WriteSetupBytes(const char* key, const unsigned char* bytes)
{
    if (!bytes)
        return Fail("No data");
    static const char digits[] = "0123456789ABCDEF";
    char text[2 * kMaxSetupBytes + 1];
    for (int i = 0; i < kMaxSetupBytes; ++i) {
        text[2 * i] = digits[bytes[i] >> 4];
        text[2 * i + 1] = digits[bytes[i] & 0x0F];
    }
    text[2 * kMaxSetupBytes] = '\0';
    return WriteString(kSetup, key, text);
}

std::vector<std::string> CIni::GetSectionNames() const
{
    if (!path_ || path_->empty())
        return {};
    if (platform::ProfileBatch* batch = batch_.Get())
        return batch->SectionNames();
    return platform::ReadProfileSectionNames(*path_);
}
