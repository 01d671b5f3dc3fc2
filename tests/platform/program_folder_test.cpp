#include "FullDisk.h"
#include "AtomicFile.h"
#include "ProgramFolder.h"

#include <gtest/gtest.h>

#include "TempDir.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace platform;

namespace {

struct TempDir : testing_support::TempDir {
    TempDir() : testing_support::TempDir("corvane-pf") {}
};

void Put(const std::string& path, const std::string& text)
{
    testing_support::PutFile(path, text);
}
std::string Get(const std::string& path)
{
    return testing_support::GetFile(path);
}

std::vector<std::string> Entries(const std::string& dir)
{
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(ProgramFolder, DefaultsToExecutableFolderAndCanBeOverridden)
{
    std::string exe = ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(ProgramFolder(), DirName(exe) + "/");

    SetProgramFolder("/opt/corvane");
    EXPECT_EQ(ProgramFolder(), "/opt/corvane/");
    SetProgramFolder("");
    EXPECT_EQ(ProgramFolder(), DirName(exe) + "/");
}

TEST(ProgramFolder, ResolvesNamesIgnoringCase)
{
    TempDir d;
    Put(d / "MemPC.Dat", "m");
    Put(d / "Corvane.ini", "i");

    EXPECT_EQ(FindInFolder(d.path, "mempc.dat"), d / "MemPC.Dat");
    EXPECT_EQ(FindInFolder(d.path, "MEMPC.DAT"), d / "MemPC.Dat");
    EXPECT_EQ(ResolveInFolder(d.path, "Corvane.INI"), d / "Corvane.ini");
    EXPECT_FALSE(FindInFolder(d.path, "Split.Dat"));
    // A name not present resolves to itself, spelled as asked.
    EXPECT_EQ(ResolveInFolder(d.path, "Split.Dat"), d / "Split.Dat");
    EXPECT_EQ(ResolvePathCase(d / "CORVANE.INI"), d / "Corvane.ini");

    int fd = OpenInFolder(d.path, "mempc.DAT", O_RDONLY);
    ASSERT_GE(fd, 0);
    char c = 0;
    EXPECT_EQ(read(fd, &c, 1), 1);
    EXPECT_EQ(c, 'm');
    EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC);
    close(fd);

    // An exact match wins over a case variant.
    Put(d / "mempc.dat", "x");
    EXPECT_EQ(FindInFolder(d.path, "mempc.dat"), d / "mempc.dat");
}

TEST(ProgramFolder, RefusesNamesThatLeaveTheFolder)
{
    TempDir d;
    fs::create_directory(d / "sub");
    Put(d / "sub/inner.dat", "x");
    for (const char* bad : {"", ".", "..", "../x.dat", "/etc/passwd", "sub/inner.dat", "a/../b"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(IsPlainName(bad));
        EXPECT_FALSE(FindInFolder(d / "sub", bad));
        EXPECT_EQ(ResolveInFolder(d.path, bad), "");
        EXPECT_LT(OpenInFolder(d.path, bad, O_RDONLY), 0);
        EXPECT_FALSE(RenameInFolder(d.path, bad, "y.dat"));
        EXPECT_FALSE(RenameInFolder(d / "sub", "inner.dat", bad));
        EXPECT_FALSE(RemoveInFolder(d / "sub", bad));
    }
    EXPECT_FALSE(IsPlainName(std::string_view("a\0b", 3)));
    EXPECT_TRUE(fs::exists(d / "sub/inner.dat"));
    EXPECT_TRUE(GlobFolder(d.path, "sub/*").empty());
}

TEST(ProgramFolder, GlobMatchesRegularFilesIgnoringCase)
{
    TempDir d;
    Put(d / "MemPC.Dat", "");
    Put(d / "split.DAT", "");
    Put(d / "Skeds.dat", "");
    Put(d / "notes.txt", "");
    Put(d / "datfile", "");
    fs::create_directory(d / "folder.dat");

    EXPECT_EQ(GlobFolder(d.path, "*.dat"),
              (std::vector<std::string>{"MemPC.Dat", "Skeds.dat", "split.DAT"}));
    EXPECT_EQ(GlobFolder(d.path, "S*.DAT"), (std::vector<std::string>{"Skeds.dat", "split.DAT"}));
    EXPECT_EQ(GlobFolder(d.path, "*.TXT"), (std::vector<std::string>{"notes.txt"}));
    EXPECT_TRUE(GlobFolder(d.path, "*.wav").empty());
    EXPECT_TRUE(GlobFolder(d / "missing", "*").empty());
}

TEST(ProgramFolder, RenameReplacesCaseVariantsOfTheTarget)
{
    TempDir d;
    Put(d / "Corvane.bkp", "restored");
    Put(d / "CORVANE.INI", "old");
    ASSERT_TRUE(RenameInFolder(d.path, "corvane.BKP", "Corvane.ini"));
    EXPECT_EQ(Entries(d.path), (std::vector<std::string>{"Corvane.ini"}));
    EXPECT_EQ(Get(d / "Corvane.ini"), "restored");

    // Changing only the case of a name.
    ASSERT_TRUE(RenameInFolder(d.path, "Corvane.ini", "CORVANE.ini"));
    EXPECT_EQ(Entries(d.path), (std::vector<std::string>{"CORVANE.ini"}));
    EXPECT_EQ(Get(d / "CORVANE.ini"), "restored");

    std::string error;
    EXPECT_FALSE(RenameInFolder(d.path, "absent.da_", "absent.dat", &error));
    EXPECT_FALSE(error.empty());

    EXPECT_TRUE(RemoveInFolder(d.path, "corvane.INI"));
    EXPECT_TRUE(Entries(d.path).empty());
    EXPECT_TRUE(RemoveInFolder(d.path, "corvane.INI"));  // already gone
}

// Where the folder ignores letter case, the other spelling names the very file just renamed into
// place; a second link to one file stands in for that here.
TEST(ProgramFolder, RenameKeepsASpellingThatIsTheRenamedFileItself)
{
    TempDir d;
    Put(d / "Corvane.bkp", "restored");
    ASSERT_EQ(::link((d / "Corvane.bkp").c_str(), (d / "CORVANE.INI").c_str()), 0);
    ASSERT_TRUE(RenameInFolder(d.path, "Corvane.bkp", "Corvane.ini"));
    EXPECT_EQ(Get(d / "Corvane.ini"), "restored");
    EXPECT_EQ(Get(d / "CORVANE.INI"), "restored");
}

TEST(AtomicFile, WritesNewAndReplacesOldKeepingPermissions)
{
    TempDir d;
    std::string p = d / "data.dat";
    ASSERT_TRUE(WriteFileAtomic(p, "first"));
    EXPECT_EQ(Get(p), "first");

    chmod(p.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomic(p, std::string(100000, 'x')));
    EXPECT_EQ(Get(p), std::string(100000, 'x'));
    struct stat st {};
    ASSERT_EQ(stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A link is followed: the link stays, its target gets the content.
    fs::create_symlink(p, d / "link.dat");
    ASSERT_TRUE(WriteFileAtomic(d / "link.dat", "via link"));
    EXPECT_TRUE(fs::is_symlink(d / "link.dat"));
    EXPECT_EQ(Get(p), "via link");
    EXPECT_EQ(Entries(d.path), (std::vector<std::string>{"data.dat", "link.dat"}));

    std::string text;
    bool missing = false;
    EXPECT_FALSE(ReadWholeFile(d / "none", text, nullptr, &missing));
    EXPECT_TRUE(missing);
}

TEST(AtomicFile, FailuresReportAndKeepTheOldFile)
{
    TempDir d;
    std::string error;
    // A folder that cannot exist, whoever runs the test: its parent is a regular file.
    Put(d / "plain", "file");
    EXPECT_FALSE(WriteFileAtomic(d / "plain/x.ini", "data", &error));
    EXPECT_FALSE(error.empty());
    // A folder nobody can create files in.
    error.clear();
    EXPECT_FALSE(WriteFileAtomic("/proc/self/corvane-test.ini", "data", &error));
    EXPECT_FALSE(error.empty());

    // A disk that fills up while writing: the file-size limit holds for root too. Run in a child
    // so the limit does not stay with the test.
    std::string p = d / "big.dat";
    Put(p, "old content");
    EXPECT_TRUE(testing_support::OnFullDisk(4096, [&] {
        std::string err;
        return !WriteFileAtomic(p, std::string(1 << 20, 'y'), &err) && !err.empty();
    }));
    EXPECT_EQ(Get(p), "old content");
    EXPECT_EQ(Entries(d.path),
              (std::vector<std::string>{"big.dat", "plain"}));  // no temporary left
}

TEST(AtomicFile, ReadOnlyFileOrFolderIsRefused)
{
    TempDir d;
    std::string error;
    std::string p = d / "big.dat";
    Put(p, "old content");
    if (!testing_support::PermissionsHold())
        GTEST_SKIP() << "running as root: permission bits are not enforced";
    chmod(p.c_str(), 0444);
    EXPECT_FALSE(WriteFileAtomic(p, "new", &error));
    EXPECT_EQ(Get(p), "old content");
    chmod(p.c_str(), 0644);
    chmod(d.path.c_str(), 0500);
    EXPECT_FALSE(WriteFileAtomic(p, "new", &error));
    EXPECT_EQ(Get(p), "old content");
}
