#include "WriteTest.h"

#include "ProgramFolder.h"
#include "Tolvash.h"
#include "WriteTestRecord.h"

#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {

inline constexpr settings::IniInt kTestWrite{"Setup", "TestWrite", 0};

int RandomNumber()
{
    static std::mt19937 engine{std::random_device{}()};
    // rand() + 1: 1 .. 32768.
    return std::uniform_int_distribution<int>(1, 32768)(engine);
}

}  // namespace

WriteTest::WriteTest(std::string folder, CIni& ini) : folder_(std::move(folder)), ini_(ini) {}

std::string WriteTest::NewTestFileName()
{
    // A name that is not taken, so no data file is overwritten or deleted by the test and an
    // old file cannot pass for a new one; nor is its marker, which another start may hold.
    for (int tries = 0; tries < 1000; ++tries) {
        std::string name = std::to_string(RandomNumber()) + ".dat";
        if (!platform::FindInFolder(folder_, name)
            && !platform::FindInFolder(folder_,
                                       std::string(write_test_record::kMarkerPrefix) + name))
            return name;
    }
    return {};
}

bool WriteTest::CreateFileSelf(const std::string& path)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    static const char text[] = "write test\n";
    bool ok =
        write(fd, text, sizeof text - 1) == static_cast<ssize_t>(sizeof text - 1) && fsync(fd) == 0;
    if (close(fd) != 0)
        ok = false;
    if (!ok)
        unlink(path.c_str());
    return ok;
}

bool WriteTest::TestFile()
{
    report_.fileOk = false;
    report_.fileByTolvash = false;
    // What a test killed at an earlier start left behind.
    write_test_record::RemoveLeftOvers(folder_);
    std::string name = NewTestFileName();
    if (name.empty())
        return false;
    report_.testFile = platform::JoinPath(folder_, name);
    write_test_record::Record record;
    if (!record.Open(folder_, name))
        return false;

    report_.fileByTolvash =
        tolvash_call::RunAndWait(folder_, tolvash_call::TestFileArgs(report_.testFile));
    if (!report_.fileByTolvash)
        CreateFileSelf(report_.testFile);

    int fd = open(report_.testFile.c_str(), O_RDONLY | O_CLOEXEC);
    report_.fileOk = fd >= 0;
    if (fd >= 0)
        close(fd);
    // The file goes before its record, so a kill in between leaves at most the record.
    unlink(report_.testFile.c_str());
    record.Close();
    return report_.fileOk;
}

bool WriteTest::TestIni()
{
    report_.iniOk = false;
    report_.iniByTolvash = false;
    const char* path = ini_.GetPath();
    if (!path)
        return false;
    int number = RandomNumber();

    report_.iniByTolvash =
        tolvash_call::RunAndWait(folder_, tolvash_call::TestIniArgs(path, number));
    if (!report_.iniByTolvash)
        ini_.WriteInt(kTestWrite, number);

    report_.iniOk = ini_.GetInt(kTestWrite.section, kTestWrite.key, number - 1) == number;
    return report_.iniOk;
}
