#include "Profile.h"

Profile::Profile()
{
    registry_.SetRootKey(kRootKey);
}

Profile::Profile(std::string filePath) : registry_(std::move(filePath))
{
    registry_.SetRootKey(kRootKey);
}

bool Profile::Fail(const char* text)
{
    lastError_ = text;
    return false;
}

int Profile::GetProfileInt(const char* section, const char* name, int def) const
{
    if (!section || !name)
        return def;
    return registry_.GetProfileInt(section, name, def);
}

std::string Profile::GetProfileString(const char* section, const char* name, const char* def) const
{
    std::string fallback = def ? def : "";
    if (!section || !name)
        return fallback;
    return registry_.GetProfileString(section, name, fallback);
}

bool Profile::GetProfileBinary(const char* section, const char* name,
                               std::vector<std::uint8_t>& out) const
{
    out.clear();
    if (!section || !name)
        return false;
    return registry_.GetProfileBinary(section, name, out);
}

bool Profile::WriteProfileInt(const char* section, const char* name, int value)
{
    if (!section || !name)
        return Fail("No section or name");
    return registry_.WriteProfileInt(section, name, value, &lastError_);
}

bool Profile::WriteProfileString(const char* section, const char* name, const char* value)
{
    if (!section || !name)
        return Fail("No section or name");
    return registry_.WriteProfileString(section, name, value ? value : "", &lastError_);
}

bool Profile::WriteProfileBinary(const char* section, const char* name, const std::uint8_t* data,
                                 std::size_t size)
{
    if (!section || !name)
        return Fail("No section or name");
    return registry_.WriteProfileBinary(section, name, data, size, &lastError_);
}

bool Profile::DeleteValue(const char* section, const char* name)
{
    if (!section || !name)
        return Fail("No section or name");
    return registry_.DeleteValue(section, name, &lastError_);
}

bool Profile::DeleteKey(const char* section)
{
    if (!section)
        return Fail("No section");
    return registry_.DeleteKey(section, &lastError_);
}

std::optional<ProfileRect> Profile::GetRect(const settings::RegRect& r) const
{
    auto top = registry_.FindProfileInt(r.section, r.top);
    auto bottom = registry_.FindProfileInt(r.section, r.bottom);
    auto left = registry_.FindProfileInt(r.section, r.left);
    auto right = registry_.FindProfileInt(r.section, r.right);
    if (!top || !bottom || !left || !right)
        return std::nullopt;
    return ProfileRect{*top, *bottom, *left, *right};
}

bool Profile::WriteRect(const settings::RegRect& r, const ProfileRect& rect)
{
    return WriteProfileInt(r.section, r.top, rect.top)
           && WriteProfileInt(r.section, r.bottom, rect.bottom)
           && WriteProfileInt(r.section, r.left, rect.left)
           && WriteProfileInt(r.section, r.right, rect.right);
}

bool Profile::DeleteRect(const settings::RegRect& r)
{
    return DeleteValue(r.section, r.top) && DeleteValue(r.section, r.bottom)
           && DeleteValue(r.section, r.left) && DeleteValue(r.section, r.right);
}

Profile& AppProfile()
{
    static Profile profile;
    return profile;
}
