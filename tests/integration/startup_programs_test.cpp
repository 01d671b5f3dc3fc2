// The start-up list and the plug-in files without a window: the reading rule of "Startup.dat",
// the editor's Save and Delete, the refusals, the words of a command line, a real program
// started from the list, and the plug-in names that would leave their folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "CommandLine.h"
#include "PlugInFile.h"
#include "ReportArgs.h"
#include "StartupFile.h"
#include "StartupLauncher.h"
#include "StartupList.h"
#include "TempDir.h"

using namespace startup_programs;
using testing_support::GetFile;
using testing_support::PutFile;

TEST(StartupFile, ReadingRuleTakesWellFormedLinesOnly)
{
    const std::string text =
        "\"Logger\"=\"/opt/log/run\"=\"-x 1\"\r\n"  // CR LF
        "\"Empty cmd\"=\"/bin/true\"=\"\"\n"
        "\"\"=\"/bin/nodesc\"=\"\"\n"  // empty description
        "no quotes at all\n"
        "\"Only one\"=\"/bin/x\"\n"            // one pair
        "\"Tail\"=\"/bin/y\"=\"a \"=\" b\"\n"  // a pair in the last field
        "\"Short\"=\"\n"
        "\"Last\"=\"/bin/z\"=\"no newline\"";
    const std::vector<StartupEntry> entries = ParseText(text);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], (StartupEntry{"Logger", "/opt/log/run", "-x 1"}));
    EXPECT_EQ(entries[1], (StartupEntry{"Empty cmd", "/bin/true", ""}));
    EXPECT_EQ(entries[2], (StartupEntry{"Tail", "/bin/y", "a \"=\" b"}));
    EXPECT_EQ(entries[3], (StartupEntry{"Last", "/bin/z", "no newline"}));
    for (const StartupEntry& e : entries)
        if (CheckEntry(e) == EntryCheck::Ok) {
            EXPECT_EQ(ParseText(FormatLine(e)), std::vector<StartupEntry>{e});
        }
}

TEST(StartupFile, WritesAndAppendsThroughTheFolderAndKeepsTheOldFileOnRefusal)
{
    testing_support::TempDir dir;
    PutFile(dir / "STARTUP.DAT", "\"A\"=\"/bin/a\"=\"\"\r\n");
    ASSERT_EQ(ReadFile(dir.path).size(), 1u);  // found ignoring case
    std::string error;
    ASSERT_TRUE(AppendEntry(dir.path, {"B", "/bin/b", ""}, &error)) << error;
    ASSERT_TRUE(AppendEntry(dir.path, {"B", "/bin/b", ""}, &error)) << error;
    EXPECT_EQ(ReadFile(dir.path).size(), 3u);
    // An empty description disappears on the next write.
    ASSERT_TRUE(WriteFile(dir.path, {{"", "/bin/x", ""}, {"C", "/bin/c", " "}}, &error));
    EXPECT_EQ(GetFile(dir / "STARTUP.DAT"), "\"C\"=\"/bin/c\"=\" \"\n");
}

TEST(StartupList, SaveAndDeleteMatchTheWholeDescriptionIgnoringCase)
{
    StartupList list({{"Logger", "/bin/l", ""}, {"Log", "/bin/old", "1"}, {"Cluster", "/c", ""}});
    EXPECT_EQ(list.Entries()[0].commandLine, " ");  // shown as a blank
    EXPECT_EQ(list.Save({"LOG", "/bin/new", "2"}), 2);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Entries()[0].description, "Logger");  // kept
    EXPECT_EQ(list.Entries()[2].program, "/bin/new");
    // Deleting the last entry selects the new last one; a description no entry has removes nothing.
    EXPECT_EQ(list.Delete("log"), 1);
    EXPECT_EQ(list.Delete("Lo"), -1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Delete("logger"), 0);
    EXPECT_EQ(list.Delete("cluster"), -1);
    EXPECT_EQ(list.Count(), 0);
}

TEST(StartupList, EntriesThatWouldBreakTheLineAreRefused)
{
    EXPECT_EQ(CheckEntry({"", "/bin/a", ""}), EntryCheck::BadDescription);
    EXPECT_EQ(CheckEntry({"a\"=b", "/bin/a", ""}), EntryCheck::BadDescription);
    EXPECT_EQ(CheckEntry({"a\nb", "/bin/a", ""}), EntryCheck::BadDescription);
    EXPECT_EQ(CheckEntry({"a", "/bin/\"=a", ""}), EntryCheck::BadField);
    EXPECT_EQ(CheckEntry({"a", "/bin/a", "x\ry"}), EntryCheck::BadField);
    EXPECT_EQ(CheckEntry({"a \"quoted\"", "/bin/a", "-f \"a b\""}), EntryCheck::Ok);
}

TEST(StartupLauncher, CommandLineWordsAndQuotes)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitCommandLine(" "), V{});
    EXPECT_EQ(SplitCommandLine("-a  b\tc"), (V{"-a", "b", "c"}));
    EXPECT_EQ(SplitCommandLine("\"two words\" x\"y z\" \"\""), (V{"two words", "xy z", ""}));
    EXPECT_EQ(SplitCommandLine("$HOME;rm *"), (V{"$HOME;rm", "*"}));  // no shell
}

TEST(StartupLauncher, StartsEachProgramInItsFolderWithItsWords)
{
    testing_support::TempDir dir;
    const std::string programs = dir / "my programs";
    std::filesystem::create_directories(programs);
    const std::string program = programs + "/report_args";
    std::filesystem::copy_file(report_args::kProgram, program);
    const std::string report = dir / "report.txt";
    ::setenv("CORVANE_REPORT", report.c_str(), 1);
    PutFile(dir / "Startup.dat", "\"Rep\"=\"" + program + "\"=\"-v \"two words\" $HOME\"\r\n"
                                     "\"Gone\"=\"" + dir.path + "/missing\"=\"\"\r\n"
                                     "\"Bare\"=\"true\"=\"\"\r\n");
    char before[4096];
    ASSERT_NE(::getcwd(before, sizeof before), nullptr);

    const std::vector<LaunchResult> results = LaunchAll(dir.path);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results[0].spawn.started);
    EXPECT_FALSE(results[1].spawn.started);
    EXPECT_FALSE(results[2].spawn.started);  // a bare name is no program path
    char after[4096];
    ASSERT_NE(::getcwd(after, sizeof after), nullptr);
    EXPECT_STREQ(after, before);

    const report_args::Report r = report_args::WaitForReport(report);
    ::unsetenv("CORVANE_REPORT");
    EXPECT_EQ(r.cwd, programs);
    EXPECT_EQ(r.args, (std::vector<std::string>{program, "-v", "two words", "$HOME"}));
}

TEST(PlugInFile, NamesStayInsideTheFolderAndLinesReadAsText)
{
    for (const char* bad : {"", ".", "..", "../x", "a/b", "tab\there", "bell\a"})
        EXPECT_FALSE(plugins::IsPlugInName(bad)) << bad;
    for (const char* good : {"Logger", "My Tool", "..x", "résumé"})
        EXPECT_TRUE(plugins::IsPlugInName(good)) << good;

    testing_support::TempDir dir;
    std::string error;
    EXPECT_FALSE(plugins::WriteFile(dir.path, {"../escape", "d", "/bin/p", 2}, &error));
    EXPECT_FALSE(plugins::DeleteFile(dir.path, "..", &error));
    EXPECT_FALSE(std::filesystem::exists(dir.path + "/../escape.vek"));
    ASSERT_TRUE(plugins::WriteFile(dir.path, {"Tool", "Desc", "/bin/p", 2}, &error)) << error;
    EXPECT_EQ(GetFile(dir / "Tool.vek"), "Desc\n/bin/p\n");

    PutFile(dir / "one.VEK", "only a description\r\n");
    PutFile(dir / "crlf.vek", "D\r\n/bin/q\r\nextra\r\n");
    const auto one = plugins::ReadFile(dir.path, "one.VEK");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->name, "one");
    EXPECT_EQ(one->lines, 1);
    EXPECT_EQ(one->program, "");
    const auto crlf = plugins::ReadFile(dir.path, "crlf.vek");
    ASSERT_TRUE(crlf);
    EXPECT_EQ(crlf->program, "/bin/q");
    EXPECT_EQ(plugins::ListFiles(dir.path),
              (std::vector<std::string>{"Tool.vek", "crlf.vek", "one.VEK"}));
}
