// Batched profile writes: the file a batch leaves is the file the single writes would have left,
// reads in the batch see its writes, and a writer outside the batch keeps its changes.
#include "PrivateProfile.h"
#include "ProfileBatch.h"
#include "RegistryProfile.h"

#include <gtest/gtest.h>

#include "TempDir.h"

#include <functional>

using namespace platform;
using testing_support::GetFile;
using testing_support::PutFile;
using testing_support::TempDir;

namespace {

// A hand-edited file: byte-order mark, CR LF lines, comments, a duplicate section, quoted
// values, odd lines, spaces around names and no line break at the end.
const std::string kStart =
    "\xEF\xBB\xBF; settings\r\n"
    "stray line before any section\r\n"
    "[Setup]\r\n"
    "Baud=1200\r\n"
    "  Driver = \"SimRadio.so\"  \r\n"
    "; comment after the keys\r\n"
    "\r\n"
    "[Bande]\r\n"
    "20_freq=14175000\r\n"
    "20_modo=1\r\n"
    "[setup]\r\n"
    "Baud=9600\r\n"
    "[Memorie]\r\n"
    "Top=10\r\n"
    "Top=11\r\n"
    "Left=4";

struct Edit {
    enum Kind { Set, DelKey, DelSection } kind;
    std::string section, key = {}, value = {};
};

const std::vector<Edit> kEdits = {
    {Edit::Set, "SETUP", "baud", "19200"},  // replaced in place, in the first [Setup]
    {Edit::Set, "Setup", "Log", "\"  spaced, quoted  \""},
    {Edit::Set, "Bande", "40_freq", "7050000"},  // new key after the section's last key
    {Edit::DelKey, "Memorie", "top"},            // both lines
    {Edit::Set, "Memorie", "Right", "800"},      // after a last line without line break
    {Edit::Set, "S-Meter", "Refresh", "250"},    // new section at the end
    {Edit::DelKey, "Setup", "Driver"},
    {Edit::Set, "Setup", "Driver", "VekDriver.so"},  // deleted then written again: at the end
    {Edit::DelSection, "setup"},                     // both [Setup] sections
    {Edit::Set, "Setup", "Language", "English.lng"},
    {Edit::Set, "Nuova", "k", ""},  // an empty value is a value
    {Edit::DelKey, "Nuova", "k"},   // the section stays, empty
    {Edit::DelKey, "Absent", "x"},
    {Edit::Set, " Bande ", " 20_modo ", "3"},
};

void ApplySingly(const std::string& file, const std::vector<Edit>& edits)
{
    for (const Edit& e : edits) {
        bool ok = e.kind == Edit::Set      ? WriteProfileValue(file, e.section, e.key, e.value)
                  : e.kind == Edit::DelKey ? DeleteProfileKey(file, e.section, e.key)
                                           : DeleteProfileSection(file, e.section);
        ASSERT_TRUE(ok);
    }
}

void Queue(ProfileBatch& batch, const std::vector<Edit>& edits)
{
    for (const Edit& e : edits) {
        bool ok = e.kind == Edit::Set      ? batch.Write(e.section, e.key, e.value)
                  : e.kind == Edit::DelKey ? batch.DeleteKey(e.section, e.key)
                                           : batch.DeleteSection(e.section);
        ASSERT_TRUE(ok);
    }
}

}  // namespace

TEST(ProfileBatch, LeavesTheFileSingleWritesWouldLeave)
{
    TempDir d;
    const std::string single = d / "single.ini", batched = d / "Batched.INI";
    PutFile(single, kStart);
    PutFile(batched, kStart);
    ApplySingly(single, kEdits);

    // The name resolves ignoring case, as for the single calls.
    ProfileBatch batch(d / "batched.ini");
    Queue(batch, kEdits);
    // Reads see the queued edits; the file is not touched before the commit.
    EXPECT_EQ(batch.Read("setup", "LANGUAGE"), "English.lng");
    EXPECT_EQ(batch.Read("Setup", "Log"), std::nullopt);
    EXPECT_EQ(batch.Read("Bande", "20_modo"), "3");
    EXPECT_EQ(batch.SectionNames(),
              (std::vector<std::string>{"Bande", "Memorie", "S-Meter", "Setup", "Nuova"}));
    EXPECT_EQ(GetFile(batched), kStart);

    ASSERT_TRUE(batch.Commit());
    EXPECT_TRUE(batch.Empty());
    EXPECT_EQ(GetFile(batched), GetFile(single));
    EXPECT_EQ(ReadProfileValue(batched, "Memorie", "Right"), "800");

    // Deletes alone do not create a missing file; a write does.
    ProfileBatch fresh(d / "new.ini");
    fresh.DeleteKey("Setup", "Baud");
    ASSERT_TRUE(fresh.Commit());
    EXPECT_FALSE(std::filesystem::exists(d / "new.ini"));
    ApplySingly(d / "new-single.ini", kEdits);
    Queue(fresh, kEdits);
    ASSERT_TRUE(fresh.Commit());
    EXPECT_EQ(GetFile(d / "new.ini"), GetFile(d / "new-single.ini"));
}

TEST(ProfileBatch, AWriterOutsideTheBatchKeepsItsChanges)
{
    TempDir d;
    const std::string f = d / "Corvane.ini";
    PutFile(f, "[Setup]\nBaud=1200\n");
    ProfileBatch batch(f);
    ASSERT_TRUE(batch.Write("Setup", "Baud", "4800"));
    // As the helper program writes the INI while the program runs.
    ASSERT_TRUE(WriteProfileValue(f, "Setup", "TestWrite", "4711"));
    EXPECT_EQ(batch.Read("Setup", "TestWrite"), "4711");
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(GetFile(f), "[Setup]\nBaud=4800\nTestWrite=4711\n");
}

TEST(ProfileBatch, RegistryKeysAndSubKeysAsWithoutABatch)
{
    TempDir d;
    auto run = [](RegistryProfile& reg) {
        reg.WriteProfileInt("Setup", "Count", -1);
        reg.WriteProfileString("Setup", "LastPath", "/opt/corvane/");
        reg.WriteProfileString("Memorie\\Sub", "Top", "1");
        reg.WriteProfileInt("Memorie", "Top", 10);
        reg.DeleteKey("memorie");  // with its sub-key
        reg.WriteProfileInt("TxRx", "Left", 5);
        reg.DeleteValue("Setup", "Count");
    };
    const std::string start = "[Software\\Dravik\\Corvane\\Memorie\\Old]\nTop=dword:1\n";
    PutFile(d / "plain.ini", start);
    PutFile(d / "batched.ini", start);
    RegistryProfile plain(d / "plain.ini"), batched(d / "batched.ini");
    plain.SetRootKey("Software\\Dravik\\Corvane");
    batched.SetRootKey("Software\\Dravik\\Corvane");
    run(plain);

    batched.BeginBatch();
    batched.BeginBatch();  // nested: only the outermost end writes
    run(batched);
    EXPECT_EQ(batched.GetProfileString("Setup", "LastPath"), "/opt/corvane/");
    ASSERT_TRUE(batched.CommitBatch());
    EXPECT_EQ(GetFile(d / "batched.ini"), start);
    ASSERT_TRUE(batched.CommitBatch());
    EXPECT_EQ(GetFile(d / "batched.ini"), GetFile(d / "plain.ini"));
}
