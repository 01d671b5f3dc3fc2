#include "PrivateProfile.h"
#include "Profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Each test gets its own XDG_CONFIG_HOME, so the user's real settings are never touched.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/corvane-prof-XXXXXX";
        dir_ = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string File() const { return dir_ + "/Dravik/Corvane/registry.ini"; }
    std::string dir_;
};

}  // namespace

TEST_F(ProfileTest, ValuesLiveUnderTheProgramsRootKey)
{
    Profile profile;
    EXPECT_EQ(profile.FilePath(), File());
    ASSERT_TRUE(profile.Write(settings::reg::LastPath, std::string("/opt/corvane/")));
    // What the extension library reads with a plain INI reader.
    EXPECT_EQ(platform::GetPrivateProfileString("Software\\Dravik\\Corvane\\Setup", "LastPath", "",
                                                File()),
              "/opt/corvane/");
    EXPECT_EQ(AppProfile().Get(settings::reg::LastPath), "/opt/corvane/");

    EXPECT_EQ(profile.GetProfileInt(nullptr, "X", 4), 4);
    EXPECT_EQ(profile.GetProfileString("Setup", nullptr, "d"), "d");
    EXPECT_FALSE(profile.WriteProfileInt(nullptr, "X", 1));
    EXPECT_FALSE(profile.WriteProfileString("Setup", nullptr, "v"));
    EXPECT_FALSE(profile.DeleteKey(nullptr));
    ASSERT_TRUE(profile.WriteProfileString("Setup", "Null", nullptr));
    EXPECT_EQ(profile.GetProfileString("Setup", "Null", "d"), "");
    EXPECT_FALSE(profile.WriteProfileString("Setup", "Bad", "two\nlines"));
    EXPECT_FALSE(profile.LastError().empty());
}

TEST_F(ProfileTest, DescriptorDefaultsAndTypes)
{
    Profile profile;
    EXPECT_EQ(profile.Get(settings::reg::FontSizeMainAtStartup), 0);
    EXPECT_EQ(profile.Get(settings::reg::FontSizeMainInDialog), 8);
    EXPECT_EQ(profile.Get(settings::reg::FontDisplaySize), 26);
    EXPECT_EQ(profile.Get(settings::reg::AudioInput), "  Default");
    EXPECT_EQ(profile.Get(settings::reg::FontMain), "");

    ASSERT_TRUE(profile.Write(settings::reg::AudioInput, std::string("  USB Audio ")));
    EXPECT_EQ(profile.Get(settings::reg::AudioInput), "  USB Audio ");
    const std::vector<std::uint8_t> format{1, 0, 1, 0, 0x40, 0x1F, 0, 0};
    ASSERT_TRUE(profile.Write(settings::reg::Format, format));
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(profile.Get(settings::reg::Format, back));
    EXPECT_EQ(back, format);
    ASSERT_TRUE(profile.Delete(settings::reg::Format));
    EXPECT_FALSE(profile.Get(settings::reg::Format, back));
}

TEST_F(ProfileTest, WindowRectanglesAreWholeOrAbsent)
{
    Profile profile;
    EXPECT_FALSE(profile.GetRect(settings::reg::TxRxRect));
    ASSERT_TRUE(profile.WriteRect(settings::reg::TxRxRect, ProfileRect{10, 200, -5, 300}));
    auto rect = profile.GetRect(settings::reg::TxRxRect);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->top, 10);
    EXPECT_EQ(rect->bottom, 200);
    EXPECT_EQ(rect->left, -5);
    EXPECT_EQ(rect->right, 300);
    // The tool windows share key names but not sections.
    EXPECT_FALSE(profile.GetRect(settings::reg::MemorieRect));

    // A window-position reset removes single values; a partial rectangle counts as absent.
    ASSERT_TRUE(profile.DeleteValue("TxRx", "Left"));
    EXPECT_FALSE(profile.GetRect(settings::reg::TxRxRect));
    ASSERT_TRUE(profile.WriteProfileString("TxRx", "Left", "5"));  // a string is not an integer
    EXPECT_FALSE(profile.GetRect(settings::reg::TxRxRect));
    ASSERT_TRUE(profile.DeleteRect(settings::reg::TxRxRect));
    EXPECT_EQ(profile.GetProfileInt("TxRx", "Top", -9), -9);

    ASSERT_TRUE(profile.WriteRect(settings::reg::MainWindowRect, ProfileRect{1, 2, 3, 4}));
    EXPECT_EQ(profile.GetProfileInt("CurrentSet", "MainRight", 0), 4);
    ASSERT_TRUE(profile.DeleteKey("CurrentSet"));
    EXPECT_FALSE(profile.GetRect(settings::reg::MainWindowRect));
}
