// ExtGetLanguage: the name from the program's INI file or from the registry stand-in, and callers
// on many threads and in many processes at once.
#include "ExtensionTestSupport.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

using namespace ext_test;
using testing_support::PutFile;

namespace {

class ExtensionLanguage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRegistry();
        ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "LastPath", folder.path + "/"));
    }
    void TearDown() override { ClearRegistry(); }

    std::string Language() { return Library::Get().ExtGetLanguage(); }
    void Ini(const std::string& text) { PutFile(folder / "Corvane.ini", text); }
    void RegistryLanguage(const std::string& value)
    {
        ASSERT_TRUE(SetupRegistry().WriteProfileString("Setup", "Language", value));
    }

    testing_support::TempDir folder{"corvane-ext-lang"};
};

}  // namespace

TEST_F(ExtensionLanguage, TheIniFileOfLastPathGivesTheName)
{
    RegistryLanguage("/usr/share/corvane/Deutsch.lng");  // not read while the INI exists
    Ini("[Setup]\nLanguage=Italiano\n");
    EXPECT_EQ(Language(), "Italiano");
    Ini("[setup]\r\nlanguage = \"English UK\"\r\n");
    EXPECT_EQ(Language(), "English UK");
    Ini("[Setup]\nLanguage=I\n");
    EXPECT_EQ(Language(), "");
    Ini("[Setup]\nOther=1\n");
    EXPECT_EQ(Language(), "");
    Ini("[Setup]\nLanguage=" + std::string(1023, 'x') + "\n");
    EXPECT_EQ(Language().size(), 1023u);
    Ini("[Setup]\nLanguage=" + std::string(1024, 'x') + "\n");
    EXPECT_EQ(Language(), "");
}

TEST_F(ExtensionLanguage, WithoutTheIniTheRegistryValueGivesTheFileName)
{
    RegistryLanguage("C:\\Lang\\Italiano.lng");
    EXPECT_EQ(Language(), "Italiano.lng");
    RegistryLanguage("/usr/share/corvane/Deutsch.lng");
    EXPECT_EQ(Language(), "Deutsch.lng");
    RegistryLanguage("Francais");
    EXPECT_EQ(Language(), "");
    RegistryLanguage("C:\\Lang\\X");
    EXPECT_EQ(Language(), "");
    ClearRegistry();
    EXPECT_EQ(Language(), "");
}

TEST_F(ExtensionLanguage, TextsHandedOutStayWholeWhileOtherThreadsAsk)
{
    const char* names[] = {"Italiano", "English"};
    Ini(std::string("[Setup]\nLanguage=") + names[1] + "\n");
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::vector<std::thread> callers;
    std::vector<std::vector<const char*>> kept(6);
    for (std::size_t t = 0; t < kept.size(); ++t) {
        callers.emplace_back([&, t] {
            while (!stop) {
                const char* text = Library::Get().ExtGetLanguage();
                if (std::strcmp(text, names[0]) != 0 && std::strcmp(text, names[1]) != 0)
                    ++bad;
                if (kept[t].size() < 2000)
                    kept[t].push_back(text);
            }
        });
    }
    // As the program rewrites its INI: whole, through a rename.
    for (int i = 0; i < 200; ++i) {
        PutFile(folder / "next.tmp", std::string("[Setup]\nLanguage=") + names[i % 2] + "\n");
        ASSERT_EQ(std::rename((folder / "next.tmp").c_str(), (folder / "Corvane.ini").c_str()), 0);
    }
    stop = true;
    for (auto& c : callers)
        c.join();
    EXPECT_EQ(bad, 0);
    // Every text handed out is still the name it was.
    for (const auto& texts : kept)
        for (const char* text : texts)
            if (std::strcmp(text, names[0]) != 0 && std::strcmp(text, names[1]) != 0)
                ++bad;
    EXPECT_EQ(bad, 0);
}

TEST_F(ExtensionLanguage, ACallerKilledInTheMiddleHoldsUpNoOtherProcess)
{
    Ini("[Setup]\nLanguage=Italiano\n");
    std::vector<pid_t> children;
    for (int i = 0; i < 4; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (int n = 0; n < 20000; ++n)
                if (std::strcmp(Library::Get().ExtGetLanguage(), "Italiano") != 0)
                    ::_exit(1);
            ::_exit(0);
        }
        children.push_back(pid);
    }
    // Two of them die wherever they are.
    ::kill(children[0], SIGKILL);
    ::kill(children[1], SIGKILL);
    for (int i = 0; i < 50; ++i)
        EXPECT_STREQ(Library::Get().ExtGetLanguage(), "Italiano");
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        if (pid != children[0] && pid != children[1]) {
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 0);
        }
    }
    // A process that loaded the library afresh gets the name too.
    const pid_t fresh = ::fork();
    if (fresh == 0)
        ::_exit(std::strcmp(Library::Get().ExtGetLanguage(), "Italiano") == 0 ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(fresh, &status, 0), fresh);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
