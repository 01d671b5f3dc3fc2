// Random and truncated INI texts: the reader and the editor must neither crash nor hang, and an
// edit must always read back as written.
#include "AtomicFile.h"
#include "PrivateProfile.h"
#include "ProfileDocument.h"
#include "ProfileText.h"
#include "RegistryProfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;
using namespace platform;

namespace {

std::string RandomText(std::mt19937& rng)
{
    static const std::string pieces[] = {
        "[",  "]", "=",      "\"",           "\r",    "\n",     "\r\n", std::string(1, '\0'),
        ";",  " ", "\t",     "\xEF\xBB\xBF", "Setup", "setup",  "Key",  "KEY",
        "S1", "k", "dword:", "hex:",         "\xFF",  "[S1]\n", "k=v\n"};
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 400);
    std::string out;
    int n = length(rng);
    for (int i = 0; i < n; ++i) {
        int k = kind(rng);
        if (k < 6)
            out += pieces[piece(rng)];
        else if (k < 9)
            out += static_cast<char>(byte(rng));
        else if (rng() % 50 == 0)
            out += std::string(20000 + rng() % 50000,
                               static_cast<char>('a' + rng() % 3));  // a very long line
    }
    return out;
}

std::string Truncated(const std::string& s, std::mt19937& rng)
{
    if (s.empty())
        return s;
    return s.substr(0, rng() % s.size());
}

}  // namespace

TEST(ProfileFuzz, RandomTextsReadAndEditConsistently)
{
    std::mt19937 rng(20240611);
    const char* sections[] = {"S1", "Setup", "setup", "", "Key"};
    const char* keys[] = {"k", "Key", "KEY", "dword:"};
    for (int iter = 0; iter < 3000; ++iter) {
        std::string text = RandomText(rng);
        if (iter % 3 == 1)
            text = Truncated(text, rng);
        SCOPED_TRACE(iter);

        std::vector<std::string> names = ProfileSections(text);
        for (const std::string& s : names) {
            ProfileKeys(text, s);
            std::vector<std::string> left = ProfileSections(ProfileRemoveSection(text, s));
            EXPECT_EQ(std::count(left.begin(), left.end(), s), 0);
        }
        const char* section = sections[rng() % std::size(sections)];
        const char* key = keys[rng() % std::size(keys)];
        ProfileFind(text, section, key);
        ProfileFind(text, section, key, true);

        std::string value = "v" + std::to_string(iter);
        std::string edited = ProfileSet(text, section, key, value);
        ASSERT_EQ(ProfileFind(edited, section, key), value);
        std::string removed = ProfileRemoveKey(edited, section, key);
        ASSERT_FALSE(ProfileFind(removed, section, key));
        std::string gone = ProfileRemoveSection(edited, section);
        ASSERT_FALSE(ProfileFind(gone, section, key));

        RegistryProfile::DecodeInt(text);
        RegistryProfile::DecodeString(text);
        RegistryProfile::DecodeBinary(text);
    }
}

// The document that batches edit gives the text of the single edits applied one by one.
TEST(ProfileFuzz, RandomEditSeriesGiveTheSameTextInOnePass)
{
    std::mt19937 rng(4242);
    const char* sections[] = {"S1", "Setup", "setup", "", "Key", " S1 ", "New"};
    const char* keys[] = {"k", "Key", "KEY", "dword:", " k "};
    for (int iter = 0; iter < 2000; ++iter) {
        std::string text = RandomText(rng);
        if (iter % 3 == 1)
            text = Truncated(text, rng);
        SCOPED_TRACE(iter);
        ProfileDocument doc(text);
        for (int n = static_cast<int>(rng() % 12); n >= 0; --n) {
            const char* section = sections[rng() % std::size(sections)];
            const char* key = keys[rng() % std::size(keys)];
            switch (rng() % 6) {
            case 0:
            case 1:
            case 2: {
                std::string value = (rng() % 4 == 0 ? "\" v \"" : "v") + std::to_string(n);
                text = ProfileSet(text, section, key, value);
                doc.Set(section, key, value);
                break;
            }
            case 3:
            case 4:
                text = ProfileRemoveKey(text, section, key);
                doc.RemoveKey(section, key);
                break;
            default: text = ProfileRemoveSection(text, section); doc.RemoveSection(section);
            }
            ASSERT_EQ(doc.Find(section, key), ProfileFind(text, section, key));
        }
        ASSERT_EQ(doc.Text(), text);
        ASSERT_EQ(doc.Sections(), ProfileSections(text));
        ASSERT_EQ(doc.Keys("S1"), ProfileKeys(text, "S1"));
    }
}

TEST(ProfileFuzz, RandomFilesThroughTheFileFunctions)
{
    char tmpl[] = "/tmp/corvane-fuzz-XXXXXX";
    std::string dir = mkdtemp(tmpl);
    std::string file = dir + "/fuzz.ini";
    std::mt19937 rng(77);
    for (int iter = 0; iter < 300; ++iter) {
        SCOPED_TRACE(iter);
        std::string text = RandomText(rng);
        ASSERT_TRUE(WriteFileAtomic(file, text));
        ReadProfileSectionNames(file);
        ReadProfileKeyNames(file, "S1");
        ReadProfileValue(file, "Setup", "Key");
        ASSERT_TRUE(WriteProfileValue(file, "Setup", "Key", "value"));
        ASSERT_EQ(ReadProfileValue(file, "setup", "key"), "value");
        ASSERT_TRUE(DeleteProfileKey(file, "SETUP", "KEY"));
        ASSERT_FALSE(ReadProfileValue(file, "Setup", "Key"));

        RegistryProfile reg(file);
        reg.SetRootKey("S1");
        reg.GetProfileInt("", "k", 0);
        std::vector<std::uint8_t> bytes;
        reg.GetProfileBinary("", "k", bytes);
        ASSERT_TRUE(reg.WriteProfileString("Sub", "k", "x y"));
        ASSERT_EQ(reg.GetProfileString("Sub", "k"), "x y");
        ASSERT_TRUE(reg.DeleteKey(""));
        ASSERT_EQ(reg.GetProfileString("Sub", "k", "none"), "none");
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}
