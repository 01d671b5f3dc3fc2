#include "FullDisk.h"
#include "AtomicFile.h"
#include "PrivateProfile.h"
#include "VersionInfo.h"

#include <gtest/gtest.h>

#include "TempDir.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace fs = std::filesystem;
using namespace platform;

namespace {

struct TempDir : testing_support::TempDir {
    TempDir() : testing_support::TempDir("corvane-pp") {}
};

void Put(const std::string& path, const std::string& text)
{
    testing_support::PutFile(path, text);
}
std::string Get(const std::string& path)
{
    return testing_support::GetFile(path);
}

int WaitChild(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status)
                             : 100 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace

TEST(PrivateProfile, ReadsIgnoringCaseTrimmingAndUnquoting)
{
    TempDir d;
    std::string f = d / "Corvane.ini";
    Put(f,
        "\xEF\xBB\xBF"
        "; comment\n"
        "orphan=before any section\n"
        "[Setup]\r\n"
        "  Baud =  19200  \r\n"
        "Driver=\"  SimRadio.so \"\r\n"
        "Half=\"open\r\n"
        "Empty=\r\n"
        "Twice=1\n"
        "Twice=2\n"
        "no equals sign\n"
        "[ S-Meter ]\n"
        "Refresh=300\n"
        "[setup]\n"
        "Hidden=1\n");
    EXPECT_EQ(ReadProfileValue(f, "setup", "BAUD"), "19200");
    EXPECT_EQ(ReadProfileValue(f, "Setup", "Driver"), "  SimRadio.so ");
    EXPECT_EQ(ReadProfileValue(f, "Setup", "Driver", true), "\"  SimRadio.so \"");
    EXPECT_EQ(ReadProfileValue(f, "Setup", "Half"), "\"open");
    EXPECT_EQ(ReadProfileValue(f, "Setup", "Empty"), "");
    EXPECT_EQ(ReadProfileValue(f, "Setup", "Twice"), "1");
    EXPECT_EQ(ReadProfileValue(f, "s-meter", "refresh"), "300");
    EXPECT_FALSE(ReadProfileValue(f, "Setup", "orphan"));
    EXPECT_FALSE(ReadProfileValue(f, "Setup", "Hidden"));  // only the first [Setup] counts
    EXPECT_FALSE(ReadProfileValue(f, "Setup", "Missing"));
    EXPECT_FALSE(ReadProfileValue(d / "none.ini", "Setup", "Baud"));
    EXPECT_EQ(GetPrivateProfileString("Setup", "Missing", "dflt", f), "dflt");
    // The file name itself matches ignoring case.
    EXPECT_EQ(ReadProfileValue(d / "CORVANE.INI", "Setup", "Baud"), "19200");

    EXPECT_EQ(ReadProfileSectionNames(f), (std::vector<std::string>{"Setup", "S-Meter"}));
    EXPECT_EQ(ReadProfileKeyNames(f, "SETUP"),
              (std::vector<std::string>{"Baud", "Driver", "Half", "Empty", "Twice"}));
    EXPECT_TRUE(ReadProfileKeyNames(f, "Nowhere").empty());
}

TEST(PrivateProfile, WritesCreateReplaceInPlaceAndDelete)
{
    TempDir d;
    std::string f = d / "new.ini";
    ASSERT_TRUE(WriteProfileValue(f, "Setup", "Baud", "1200"));
    EXPECT_EQ(Get(f), "[Setup]\nBaud=1200\n");
    ASSERT_TRUE(WriteProfileValue(f, "Setup", "Bit", "8"));
    ASSERT_TRUE(WriteProfileValue(f, "TxRx", "TuneSec", "5"));
    ASSERT_TRUE(WriteProfileValue(f, "SETUP", "baud", "19200"));
    EXPECT_EQ(Get(f), "[Setup]\nbaud=19200\nBit=8\n[TxRx]\nTuneSec=5\n");

    // A null value deletes the key, a null key the section; deleting what is absent succeeds.
    ASSERT_TRUE(WritePrivateProfileString("setup", "BAUD", nullptr, f));
    EXPECT_EQ(Get(f), "[Setup]\nBit=8\n[TxRx]\nTuneSec=5\n");
    ASSERT_TRUE(WritePrivateProfileString("Setup", nullptr, nullptr, f));
    EXPECT_EQ(Get(f), "[TxRx]\nTuneSec=5\n");
    EXPECT_TRUE(DeleteProfileKey(f, "Nowhere", "x"));
    EXPECT_TRUE(DeleteProfileSection(d / "absent.ini", "Setup"));
    EXPECT_FALSE(fs::exists(d / "absent.ini"));
    EXPECT_FALSE(WritePrivateProfileString(nullptr, "k", "v", f));
    ASSERT_TRUE(WritePrivateProfileString("TxRx", "TuneSec", "", f));
    EXPECT_EQ(ReadProfileValue(f, "TxRx", "TuneSec"), "");

    // Writing into an existing case variant of the file name updates that file.
    ASSERT_TRUE(WriteProfileValue(d / "NEW.INI", "TxRx", "TuneSec", "7"));
    EXPECT_EQ(ReadProfileValue(f, "TxRx", "TuneSec"), "7");
    EXPECT_FALSE(fs::exists(d / "NEW.INI"));
}

TEST(PrivateProfile, WritesKeepEveryOtherLineByteForByte)
{
    TempDir d;
    std::string f = d / "keep.ini";
    const std::string before =
        "\xEF\xBB\xBF; Corvane settings\r\n"
        "[Setup]\r\n"
        "Baud = 1200\r\n"
        "  odd line without equals\r\n"
        "Driver=\"x\"\r\n"
        "\r\n"
        "; about S-Meter\r\n"
        "[S-Meter]\r\n"
        "Refresh=300";
    Put(f, before);

    ASSERT_TRUE(WriteProfileValue(f, "Setup", "Baud", "19200"));
    std::string expected = before;
    expected.replace(expected.find("Baud = 1200"), 11, "Baud=19200");
    EXPECT_EQ(Get(f), expected);

    // A new key goes after the section's last key; the old lines keep their CR LF.
    ASSERT_TRUE(WriteProfileValue(f, "Setup", "Bit", "8"));
    expected.insert(expected.find("\r\n\r\n; about") + 2, "Bit=8\n");
    EXPECT_EQ(Get(f), expected);

    // A key added to the last, unterminated line's section.
    ASSERT_TRUE(WriteProfileValue(f, "S-Meter", "Divisore", "10"));
    expected += "\nDivisore=10\n";
    EXPECT_EQ(Get(f), expected);

    ASSERT_TRUE(DeleteProfileKey(f, "Setup", "Driver"));
    expected.erase(expected.find("Driver=\"x\"\r\n"), 12);
    EXPECT_EQ(Get(f), expected);

    // Removing the first section keeps the byte-order mark and the comment before it.
    ASSERT_TRUE(DeleteProfileSection(f, "setup"));
    EXPECT_EQ(Get(f), "\xEF\xBB\xBF; Corvane settings\r\n[S-Meter]\r\nRefresh=300\nDivisore=10\n");
}

TEST(PrivateProfile, LongValuesAndRefusedEntries)
{
    TempDir d;
    std::string f = d / "long.ini";
    std::string longValue(5000, 'v');
    longValue[0] = 'A';
    longValue[4999] = 'Z';
    ASSERT_TRUE(WriteProfileValue(f, "Setup", "Log", longValue));
    EXPECT_EQ(ReadProfileValue(f, "Setup", "Log"), longValue);

    std::string error;
    EXPECT_FALSE(WriteProfileValue(f, "Setup", "Log", "two\nlines", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(WriteProfileValue(f, "Setup", "Log", "cr\rhere"));
    EXPECT_FALSE(WriteProfileValue(f, "Setup", "a=b", "x"));
    EXPECT_FALSE(WriteProfileValue(f, "Setup", "[x]", "x"));
    EXPECT_FALSE(WriteProfileValue(f, "Setup", " ", "x"));
    EXPECT_FALSE(WriteProfileValue(f, "Se]tup", "k", "x"));
    EXPECT_FALSE(WriteProfileValue(f, "Setup", "k", std::string_view("nul\0byte", 8)));
    EXPECT_EQ(ReadProfileValue(f, "Setup", "Log"), longValue);  // untouched
}

TEST(PrivateProfile, FailedWritesReportAndKeepTheFile)
{
    TempDir d;
    std::string error;
    Put(d / "plain", "x");
    EXPECT_FALSE(WriteProfileValue(d / "plain/Corvane.ini", "Setup", "k", "v", &error));
    EXPECT_FALSE(error.empty());

    // /proc/self/environ can be read but nothing can be created beside it, not even by root.
    error.clear();
    EXPECT_FALSE(WriteProfileValue("/proc/self/environ", "Setup", "k", "v", &error));
    EXPECT_FALSE(error.empty());

    // Disk full.
    std::string f = d / "Corvane.ini";
    const std::string content = "[Setup]\r\nBaud=1200\r\n";
    Put(f, content);
    EXPECT_TRUE(testing_support::OnFullDisk(1024, [&] {
        std::string err;
        return !WriteProfileValue(f, "Setup", "Log", std::string(8192, 'x'), &err) && !err.empty();
    }));
    EXPECT_EQ(Get(f), content);
    EXPECT_EQ(std::distance(fs::directory_iterator(d.path), fs::directory_iterator()), 2);
}

TEST(PrivateProfile, AFileFarLargerThanSettingsIsNeitherParsedNorRewritten)
{
    TempDir d;
    const std::string f = d / "Corvane.ini";
    // Millions of empty lines: parsed, each would cost far more memory than its byte.
    const std::string huge = "[Setup]\nBaud=1200\n" + std::string(3 * 1024 * 1024, '\n');
    Put(f, huge);
    EXPECT_FALSE(ReadProfileValue(f, "Setup", "Baud").has_value());
    std::string error;
    EXPECT_FALSE(WriteProfileValue(f, "Setup", "Baud", "4800", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Get(f).size(), huge.size());

    // A large but plausible file is read as ever.
    Put(f, "[Setup]\nBaud=1200\n" + std::string(512 * 1024, '\n'));
    EXPECT_EQ(ReadProfileValue(f, "Setup", "Baud"), "1200");
}

TEST(PrivateProfile, ReadOnlyFileOrFolderIsRefused)
{
    TempDir d;
    std::string error;
    std::string f = d / "Corvane.ini";
    const std::string content = "[Setup]\r\nBaud=1200\r\n";
    Put(f, content);
    if (!testing_support::PermissionsHold())
        GTEST_SKIP() << "running as root: permission bits are not enforced";
    chmod(f.c_str(), 0444);
    EXPECT_FALSE(WriteProfileValue(f, "Setup", "Baud", "9600", &error));
    EXPECT_FALSE(DeleteProfileKey(f, "Setup", "Baud", &error));
    EXPECT_EQ(Get(f), content);
    chmod(f.c_str(), 0644);
    chmod(d.path.c_str(), 0500);
    EXPECT_FALSE(WriteProfileValue(f, "Setup", "Baud", "9600", &error));
    EXPECT_EQ(Get(f), content);
}

// A reader in another process, reading in a loop while a large file is rewritten many times,
// never sees a half-written file and never sees an older value after a newer one.
namespace {

// Runs `read` on a thread; true when it returned by itself. An open that waits for a writer of
// the FIFO is released afterwards by opening the other end, so a failing run still ends.
bool ReturnsWithoutAWriter(const std::string& fifo, const std::function<void()>& read)
{
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread reader([&] {
        read();
        done.set_value();
    });
    const bool returned =
        finished.wait_for(std::chrono::seconds(30)) == std::future_status::ready;  // a guard
    if (!returned) {
        const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            close(fd);
    }
    reader.join();
    return returned;
}

}  // namespace

TEST(PrivateProfile, AFifoInPlaceOfTheFileIsNotWaitedFor)
{
    TempDir d;
    const std::string fifo = d / "Corvane.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    bool read = true, wrote = true;
    std::optional<std::string> value;
    std::string text, error;
    EXPECT_TRUE(ReturnsWithoutAWriter(fifo, [&] { read = ReadWholeFile(fifo, text, &error); }));
    EXPECT_FALSE(read);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(
        ReturnsWithoutAWriter(fifo, [&] { value = ReadProfileValue(fifo, "Setup", "Language"); }));
    EXPECT_FALSE(value.has_value());
    EXPECT_TRUE(ReturnsWithoutAWriter(
        fifo, [&] { wrote = WriteProfileValue(fifo, "Setup", "Language", "x"); }));
    EXPECT_FALSE(wrote);
    struct stat st {};
    ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "left as it was";

    std::optional<VersionInfo> info;
    EXPECT_TRUE(ReturnsWithoutAWriter(fifo, [&] { info = ReadVersionInfo(fifo); }));
    EXPECT_FALSE(info.has_value());
}

TEST(PrivateProfile, ConcurrentReaderNeverSeesAHalfWrittenFile)
{
    TempDir d;
    std::string f = d / "big.ini";
    std::string text = "[Head]\nV=0\n[Filler]\n";
    for (int i = 0; i < 4000; ++i)
        text += "Key" + std::to_string(i) + "=" + std::string(40, 'f') + "\n";
    text += "[Tail]\nEnd=yes\n";
    Put(f, text);

    int stop[2];
    ASSERT_EQ(pipe(stop), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        close(stop[1]);
        long last = 0, reads = 0;
        for (;;) {
            std::string t;
            if (!ReadWholeFile(f, t))
                _exit(2);
            auto head = ProfileFind(t, "Head", "V");
            auto tail = ProfileFind(t, "Tail", "End");
            if (!head || !tail || *tail != "yes")
                _exit(3);
            long v = std::atol(head->c_str());
            if (v < last)
                _exit(4);
            last = v;
            ++reads;
            pollfd p{stop[0], POLLIN, 0};
            if (poll(&p, 1, 0) > 0)
                break;  // the writer is done (pipe closed)
        }
        _exit(reads > 0 ? 0 : 5);
    }
    close(stop[0]);
    for (int i = 1; i <= 150; ++i)
        ASSERT_TRUE(WriteProfileValue(f, "Head", "V", std::to_string(i)));
    close(stop[1]);
    EXPECT_EQ(WaitChild(pid), 0);
    EXPECT_EQ(ReadProfileValue(f, "Head", "V"), "150");
}

// Writers in several processes never lose each other's updates.
TEST(PrivateProfile, ConcurrentWritersKeepEveryUpdate)
{
    TempDir d;
    std::string f = d / "shared.ini";
    constexpr int kWriters = 4, kKeys = 40;
    std::vector<pid_t> pids;
    for (int w = 0; w < kWriters; ++w) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int k = 0; k < kKeys; ++k)
                if (!WriteProfileValue(f, "Section" + std::to_string(k % 3),
                                       "W" + std::to_string(w) + "K" + std::to_string(k),
                                       std::to_string(k)))
                    _exit(1);
            _exit(0);
        }
        pids.push_back(pid);
    }
    for (pid_t pid : pids)
        EXPECT_EQ(WaitChild(pid), 0);
    for (int w = 0; w < kWriters; ++w)
        for (int k = 0; k < kKeys; ++k)
            EXPECT_EQ(ReadProfileValue(f, "Section" + std::to_string(k % 3),
                                       "W" + std::to_string(w) + "K" + std::to_string(k)),
                      std::to_string(k));
    EXPECT_EQ(std::distance(fs::directory_iterator(d.path), fs::directory_iterator()), 1);
}
