// The housekeeping pages in the real main window: backup and restore from the utility page
// through to the next start's renames, the start-up programs launched at start-up and edited in
// their dialog, the plug-in page and its editor, and the information page and About dialog.
#include "WindowTestSupport.h"

#include <QDateEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include <map>

#include "AboutDlg.h"
#include "BackupArchive.h"
#include "AsciiCase.h"
#include "FlatButton.h"
#include "Ini.h"
#include "Limiti.h"
#include "LinkLabel.h"
#include "ModalDialog.h"
#include "PlugInEditor.h"
#include "PlugInPage.h"
#include "MemoriesWindow.h"
#include "PrintDialogs.h"
#include "ProgramRun.h"
#include "RadioMemoriesWindow.h"
#include "ProgramFolder.h"
#include "ReportArgs.h"
#include "ReportPdf.h"
#include "RestoredFiles.h"
#include "SkedsPage.h"
#include "StartupDlg.h"
#include "UserDate.h"
#include "UtilityPage.h"
#include "ZipTestSupport.h"

using namespace wndtest;
using testing_support::GetFile;
using testing_support::PutFile;
using testing_support::WithModal;

namespace {

// The data files by the names the program opens them under (letter case ignored).
std::map<std::string, std::string> DataFiles(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const char* pattern : {"*.dat", "*.mem", "*.wav", "*.ini"})
        for (const std::string& name : platform::GlobFolder(folder, pattern))
            files[platform::AsciiLowerCopy(name)] = GetFile(folder + "/" + name);
    return files;
}

std::vector<std::string> Texts(std::vector<MessageBoxRequest>& boxes)
{
    std::vector<std::string> texts;
    for (const MessageBoxRequest& r : boxes)
        texts.push_back(r.text);
    boxes.clear();
    return texts;
}

void Click(CMyFontDialog& dlg, int id)
{
    auto* b = dlg.GetDlgItemAs<QAbstractButton>(id);
    ASSERT_NE(b, nullptr) << id;
    b->click();
}

// The program report_args under `folder`, and the report it will write.
std::string PlaceReporter(const std::string& folder, const std::string& report)
{
    fs::create_directories(folder);
    const std::string program = folder + "/report_args";
    fs::copy_file(report_args::kProgram, program, fs::copy_options::overwrite_existing);
    ::setenv("CORVANE_REPORT", report.c_str(), 1);
    return program;
}

const auto kPump = [] { platform::WaitPumpingMessages(10); };

}  // namespace

TEST(UtilityWindows, BackupAndRestoreComeBackByteForByteAtTheNextStart)
{
    WindowFixture f;
    testing_support::TempDir target, empty, unopenable;
    PutFile(f.folder / "MemPC.Dat", "Calling ~ 145.500.000 ~ FM ~ OFF ~\n");
    PutFile(f.folder / "Voice.WAV", std::string(50000, '\x7f'));
    fs::permissions(f.folder / "Voice.WAV", fs::perms(0604));
    std::map<std::string, std::string> backedUp;
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        auto* page = w.findChild<CUtility*>();
        ASSERT_NE(page, nullptr);
        std::optional<std::string> answer;
        std::vector<std::string> prompts;
        page->SetFolderAsker([&](const std::string& caption, const std::string& prompt,
                                 const std::optional<std::string>&) {
            EXPECT_EQ(caption, w.windowTitle().toStdString());
            prompts.push_back(prompt);
            return answer;
        });
        // Cancelled: nothing saved, nothing written.
        const std::string ini = f.Ini();
        Click(*page, CUtility::kBackup);
        Click(*page, CUtility::kRestore);
        EXPECT_EQ(f.Ini(), ini);
        EXPECT_TRUE(f.boxes.empty());
        EXPECT_EQ(prompts, (std::vector<std::string>{"Select the folder/file in which to save",
                                                     "Select the folder/file from which to "
                                                     "recover the files"}));

        answer = target.path;
        Click(*page, CUtility::kBackup);
        EXPECT_EQ(Texts(f.boxes), std::vector<std::string>{"Backup archives performed."});
        EXPECT_EQ(f.profile->Get(settings::reg::Backup), target / "Corvane_BACKUP.ZIP");
        backedUp = DataFiles(f.folder.path);
        PutFile(f.folder / "MemPC.Dat", "changed since\n");
        // A link put into the archive is never restored as a file of its text.
        ASSERT_TRUE(ziptest::WriteZip(target / "Corvane_BACKUP.ZIP",
                                      {{"Split.da_", "/etc/passwd", S_IFLNK | 0777}}, true));

        // No archive there: said so, and nothing asked.
        answer = empty.path;
        Click(*page, CUtility::kRestore);
        EXPECT_EQ(Texts(f.boxes), std::vector<std::string>{"Folder < " + empty.path
                                                           + " > doesn't contains any files of "
                                                             "backup."});
        // An archive that cannot be opened is none either.
        fs::create_directory(unopenable / "Corvane_BACKUP.ZIP");
        answer = unopenable.path;
        Click(*page, CUtility::kRestore);
        EXPECT_EQ(Texts(f.boxes), std::vector<std::string>{"Folder < " + unopenable.path
                                                           + " > doesn't contains any files of "
                                                             "backup."});
        answer = target.path;
        f.yesNoAnswer = mb::kIdNo;
        Click(*page, CUtility::kRestore);
        EXPECT_EQ(Texts(f.boxes).size(), 1u);
        EXPECT_FALSE(fs::exists(f.folder / "MemPC.da_"));

        f.yesNoAnswer = mb::kIdYes;
        Click(*page, CUtility::kRestore);
        const std::vector<std::string> texts = Texts(f.boxes);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[1].rfind("Restore archives and configuration performed.", 0), 0u);
        EXPECT_NE(texts[1].find("These entries of the archive were left out (links, or names a "
                                "backup never writes):\nSplit.da_"),
                  std::string::npos)
            << texts[1];
        // The restore ends the program by itself; should it not, the test ends it later.
        QPointer<CCorvaneDlg> window(&w);
        QTimer::singleShot(15000, [window] {
            if (window) {
                ADD_FAILURE() << "the restore did not end the program";
                window->CloseProgram();
            }
        });
    }));
    EXPECT_TRUE(fs::exists(f.folder / "MemPC.da_"));
    ASSERT_GT(restored_files::RenamePending(f.folder.path, {}), 0);
    const std::map<std::string, std::string> now = DataFiles(f.folder.path);
    for (const auto& [name, content] : backedUp) {
        ASSERT_TRUE(now.count(name)) << name;
        EXPECT_TRUE(now.at(name) == content) << name << " differs from its backup";
    }
    EXPECT_EQ(now.size(), backedUp.size());
    EXPECT_EQ(fs::status(f.folder / "Voice.wav").permissions(), fs::perms(0604));
}

// A restore killed after any of its steps, then the real program started: it finds the old set
// or the new set whole, never part of each, and no file the killed processes left half written.
TEST(UtilityWindows, ARestoreKilledAtAnyStepLeavesTheOldOrTheNewSetAtTheNextStart)
{
    const std::string built = std::string(CORVANE_BIN_DIR) + "/Corvane";
    if (!fs::exists(built))
        GTEST_SKIP() << "the program is not built";
    WindowFixture f;
    fs::copy_file(built, f.folder / "Corvane");
    testing_support::TempDir fresh, target;
    const std::map<std::string, std::string> oldSet{{"TestA.dat", "old A"},
                                                    {"TestB.mem", "old B"},
                                                    {"TestC.wav", std::string(300000, 'c')},
                                                    {"TestD.dat", "old D"}};
    for (const auto& [name, content] : oldSet)
        PutFile(fresh / name, "new " + content);
    const backup::BackupResult archive = backup::WriteBackup(fresh.path, target.path);
    ASSERT_TRUE(archive.ok) << archive.error;
    // Four extractions, the commit, four renames.
    constexpr int kSteps = 9, kCommit = 5;
    // A rewrite of this still running process keeps its temporary file.
    const std::string liveTemp = ".Corvane.ini.tmp-" + std::to_string(::getpid()) + "-7";
    PutFile(f.folder / liveTemp, "being written");

    // One temporary, all of them, the commit alone, part of the renames, all but the list's end.
    for (int killAt : {1, 4, kCommit, kCommit + 1, kSteps}) {
        SCOPED_TRACE("killed after step " + std::to_string(killAt));
        for (const auto& [name, content] : oldSet)
            PutFile(f.folder / name, content);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            backup::RestoreBackup(archive.archivePath, f.folder.path, [&](int done, int total) {
                if (total != kSteps)
                    ::_exit(2);
                if (done == killAt)
                    ::raise(SIGKILL);
            });
            ::_exit(3);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        // What a rewrite in the killed process left.
        const std::string deadTemp = ".TestA.dat.tmp-" + std::to_string(pid) + "-0";
        PutFile(f.folder / deadTemp, "half");

        {
            ProgramRun run(f.folder / "Corvane");
            ASSERT_TRUE(run.Started());
            ASSERT_TRUE(WaitFor([&] {
                return f.Trace().find("FE FE 58 E0 15 02 FD") != std::string::npos;
            })) << run.Errors();
            EXPECT_EQ(run.Stop(SIGTERM), 0) << run.Errors();
        }
        fs::remove(f.trace);
        for (const auto& [name, content] : oldSet)
            EXPECT_EQ(GetFile(f.folder / name), killAt < kCommit ? content : "new " + content)
                << name;
        std::vector<std::string> hidden;
        for (const auto& e : fs::directory_iterator(f.folder.path)) {
            const std::string name = e.path().filename().string();
            if (name[0] == '.')
                hidden.push_back(name);
        }
        EXPECT_EQ(hidden, std::vector<std::string>{liveTemp});
        for (const char* pending : {"*.da_", "*.me_", "*.wa_", "*.bkp"})
            EXPECT_TRUE(platform::GlobFolder(f.folder.path, pending).empty()) << pending;
    }
}

TEST(UtilityWindows, StartupProgramsStartAtStartupAndTheDialogEditsTheList)
{
    WindowFixture f;
    const std::string report = f.folder / "report.txt";
    const std::string program = PlaceReporter(f.folder / "my tools", report);
    PutFile(f.folder / "Startup.dat",
            "\"Reporter\"=\"" + program + "\"=\"--call \"DX spot\"\"\r\nmalformed\r\n");
    char before[4096];
    ASSERT_NE(::getcwd(before, sizeof before), nullptr);
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        const report_args::Report r = report_args::WaitForReport(report, kPump);
        EXPECT_EQ(r.cwd, f.folder / "my tools");
        EXPECT_EQ(r.args, (std::vector<std::string>{program, "--call", "DX spot"}));
        char now[4096];
        EXPECT_STREQ(::getcwd(now, sizeof now), before);

        auto* page = w.findChild<CUtility*>();
        ASSERT_NE(page, nullptr);
        page->SetDialogRunner([&](CMyFontDialog& d) {
            auto& dlg = static_cast<CStartup&>(d);
            ASSERT_TRUE(dlg.Create(CStartup::kTemplateId, page));
            ASSERT_EQ(dlg.List().Count(), 1);
            EXPECT_EQ(dlg.GetDlgItemText(CStartup::kCommandLine), "--call \"DX spot\"");
            const auto save = [&](const std::string& d, const std::string& p,
                                  const std::string& c) {
                dlg.SetDlgItemText(CStartup::kDescription, d);
                dlg.SetDlgItemText(CStartup::kProgram, p);
                dlg.SetDlgItemText(CStartup::kCommandLine, c);
                Click(dlg, CStartup::kSave);
            };
            save("Logger", "/opt/logger", "");
            save("Log", "/opt/log", "-a");
            save("LOG", "/opt/log2", "-b");  // replaces "Log" only
            save("Bad\"=desc", "/opt/x", "");
            save("Bad field", "/opt/x\"=y", "");
            EXPECT_EQ(Texts(f.boxes),
                      (std::vector<std::string>{"Description not valid.",
                                                "Program and command line must not hold a line "
                                                "break or \"=."}));
            ASSERT_EQ(dlg.List().Count(), 3);
            f.yesNoAnswer = mb::kIdYes;
            dlg.SetDlgItemText(CStartup::kDescription, "reporter");
            Click(dlg, CStartup::kDelete);
            Texts(f.boxes);
            EXPECT_EQ(dlg.GetDlgItemAs<QListWidget>(CStartup::kList)->count(), 2);
            Click(dlg, ctl::kIdOk);
        });
        Click(*page, CUtility::kStartup);
        w.CloseProgram();
    }));
    ::unsetenv("CORVANE_REPORT");
    EXPECT_EQ(GetFile(f.folder / "Startup.dat"),
              "\"Logger\"=\"/opt/logger\"=\"\"\n\"LOG\"=\"/opt/log2\"=\"-b\"\n");
}

TEST(UtilityWindows, PlugInPageAndEditor)
{
    WindowFixture f;
    const std::string report = f.folder / "plugin-report.txt";
    const std::string program = PlaceReporter(f.folder / "bin", report);
    const std::string plugIns = f.folder / "PlugIn";
    fs::create_directories(plugIns);
    for (int i = 1; i <= 10; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "%02d", i);
        PutFile(
            plugIns + "/" + name + ".vek",
            std::string("Tool ") + name + "\n" + (i == 2 ? "/no/such/program" : program) + "\n");
    }
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        auto* page = w.findChild<CPlugIn*>();
        ASSERT_NE(page, nullptr);
        std::vector<std::string> shown;
        for (int k = 0; k < 8; ++k) {
            auto* b = page->GetDlgItemAs<CFlatButton>(CPlugIn::kFirstButton + k);
            ASSERT_NE(b, nullptr);
            if (!b->isHidden())
                shown.push_back(b->text().toStdString());
        }
        EXPECT_EQ(shown,
                  (std::vector<std::string>{"01", "03", "04", "05", "06", "07", "08", "09"}));
        Click(*page, CPlugIn::kFirstButton);
        EXPECT_EQ(report_args::WaitForReport(report, kPump).args,
                  std::vector<std::string>{program});

        page->SetEditorRunner([&](CPlugInGest& dlg) {
            ASSERT_TRUE(dlg.Create(CPlugInGest::kTemplateId, page));
            ASSERT_EQ(dlg.Entries().size(), 8u);
            EXPECT_EQ(dlg.GetDlgItemText(CPlugInGest::kName), "01");
            const std::string file01 = GetFile(plugIns + "/01.vek");
            // Unchanged: nothing asked, nothing written.
            Click(dlg, CPlugInGest::kSave);
            EXPECT_TRUE(f.boxes.empty());
            // Another program differing only in case is another program: asked, and No keeps it.
            std::string upper = program;
            upper.back() = 'S';
            fs::copy_file(program, upper);
            dlg.SetDlgItemText(CPlugInGest::kProgram, upper);
            f.yesNoAnswer = mb::kIdNo;
            Click(dlg, CPlugInGest::kSave);
            EXPECT_EQ(Texts(f.boxes),
                      std::vector<std::string>{"Replace <01> PlugIn with the introduced data"});
            EXPECT_EQ(GetFile(plugIns + "/01.vek"), file01);
            // Names that would leave the folder: refused, and Delete does nothing.
            f.yesNoAnswer = mb::kIdYes;
            for (const char* bad : {"../evil", ".."}) {
                dlg.SetDlgItemText(CPlugInGest::kName, bad);
                Click(dlg, CPlugInGest::kSave);
                Click(dlg, CPlugInGest::kDelete);
            }
            const std::vector<std::string> texts = Texts(f.boxes);
            ASSERT_EQ(texts.size(), 4u);
            EXPECT_EQ(texts[0].rfind("Error Not a valid name, the PlugIn ../evil has not", 0), 0u);
            EXPECT_FALSE(fs::exists(f.folder / "evil.vek"));
            EXPECT_TRUE(fs::exists(f.folder / "PlugIn"));
            // A new plug-in, then two copies into the start-up list.
            dlg.SetDlgItemText(CPlugInGest::kName, "Cluster");
            dlg.SetDlgItemText(CPlugInGest::kDescription, "DX cluster");
            dlg.SetDlgItemText(CPlugInGest::kProgram, program);
            Click(dlg, CPlugInGest::kSave);
            EXPECT_EQ(GetFile(plugIns + "/Cluster.vek"), "DX cluster\n" + program + "\n");
            // Only the first eight files are listed: the copy takes the one shown.
            EXPECT_EQ(dlg.Entries().size(), 8u);
            dlg.GetDlgItemAs<QListWidget>(CPlugInGest::kList)->setCurrentRow(0);
            EXPECT_EQ(dlg.GetDlgItemText(CPlugInGest::kName), "01");
            Click(dlg, CPlugInGest::kCopyToStartup);
            Click(dlg, CPlugInGest::kCopyToStartup);
            EXPECT_EQ(Texts(f.boxes),
                      std::vector<std::string>(
                          2, "PlugIn <01>  has correctly been inserted in the startup program"));
            EXPECT_EQ(GetFile(f.folder / "Startup.dat"),
                      "\"01\"=\"" + program + "\"=\"\"\n\"01\"=\"" + program + "\"=\"\"\n");
            dlg.SetDlgItemText(CPlugInGest::kName, "03");
            Click(dlg, CPlugInGest::kDelete);
            Texts(f.boxes);
            EXPECT_FALSE(fs::exists(plugIns + "/03.vek"));
        });
        Click(*page, CPlugIn::kConfig);
        // Refilled: 03 gone, so 10 now shows.
        EXPECT_FALSE(page->GetDlgItem(CPlugIn::kFirstButton + 7)->isHidden());
        EXPECT_EQ(page->GetDlgItemAs<CFlatButton>(CPlugIn::kFirstButton + 1)->text(), "04");

        // A file that cannot be read (over the size a plug-in file may have) keeps its place
        // among the first eight: it is not listed, and no ninth file takes its place.
        PutFile(plugIns + "/04.vek", std::string(70000, 'x'));
        page->SetEditorRunner([&](CPlugInGest& dlg) {
            ASSERT_TRUE(dlg.Create(CPlugInGest::kTemplateId, page));
            ASSERT_EQ(dlg.Entries().size(), 8u);
            EXPECT_TRUE(dlg.Entries()[2].name.empty());
            auto* list = dlg.GetDlgItemAs<QListWidget>(CPlugInGest::kList);
            std::vector<std::string> names;
            for (int row = 0; row < list->count(); ++row)
                names.push_back(list->item(row)->text().toStdString());
            EXPECT_EQ(names, (std::vector<std::string>{"01", "02", "05", "06", "07", "08", "09"}));
            EXPECT_EQ(dlg.FindEntry("10"), -1);
            // The entry after the gap is shown and replaced, and stays the one selected.
            list->setCurrentRow(3);
            EXPECT_EQ(dlg.GetDlgItemText(CPlugInGest::kName), "06");
            EXPECT_EQ(dlg.GetDlgItemText(CPlugInGest::kDescription), "Tool 06");
            dlg.SetDlgItemText(CPlugInGest::kDescription, "Tool six");
            f.yesNoAnswer = mb::kIdYes;
            Click(dlg, CPlugInGest::kSave);
            Texts(f.boxes);
            EXPECT_EQ(GetFile(plugIns + "/06.vek"), "Tool six\n" + program + "\n");
            ASSERT_NE(list->currentItem(), nullptr);
            EXPECT_EQ(list->currentItem()->text(), "06");
            EXPECT_EQ(dlg.GetDlgItemText(CPlugInGest::kDescription), "Tool six");
        });
        Click(*page, CPlugIn::kConfig);
        w.CloseProgram();
    }));
    ::unsetenv("CORVANE_REPORT");
}

TEST(UtilityWindows, InformationPageAndAboutDialog)
{
    WindowFixture f;
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        auto* page = w.findChild<CAboutBox*>();
        ASSERT_NE(page, nullptr);
        // The program's own icon on its windows.
        EXPECT_FALSE(w.windowIcon().isNull());
        EXPECT_FALSE(QApplication::windowIcon().isNull());
        // The page, built during the start-up, names the version too.
        ASSERT_FALSE(w.VersionText().empty());
        EXPECT_EQ(page->GetDlgItemText(CAboutBox::kProgramLine)
                      .rfind(w.ProgramName() + " - " + w.VersionText(), 0),
                  0u)
            << page->GetDlgItemText(CAboutBox::kProgramLine);
        w.Ini().WriteInt(settings::currentset::Vita, 1500);
        w.Ini().WriteInt(settings::setup::Beta, 3);
        w.TellUsageTime(1500);
        EXPECT_EQ(page->GetDlgItemText(CAboutBox::kUsage),
                  "Total run (Days - Hours:Minutes) : 1 - 01:00");
        EXPECT_EQ(page->GetDlgItemAs<CLinkLabel>(CAboutBox::kMail)->GetURL(),
                  "mailto:corvane@example.org");

        EXPECT_TRUE(WithModal<CAboutDlg>(
            [&] { w.DispatchCommand(mainwnd::kSysAbout, ctl::kBnClicked); },
            [&](CAboutDlg* dlg) {
                EXPECT_EQ(dlg->windowTitle(), w.windowTitle());
                const std::string line = dlg->GetDlgItemText(CAboutBox::kProgramLine);
                EXPECT_EQ(line.rfind(w.ProgramName() + " - " + w.VersionText(), 0), 0u) << line;
                EXPECT_EQ(line.substr(line.size() - 7), " BETA 3");
                EXPECT_EQ(dlg->GetDlgItemText(CAboutBox::kUsage),
                          page->GetDlgItemText(CAboutBox::kUsage));
                dlg->done(ctl::kIdOk);
            }));
        w.Ini().WriteInt(settings::currentset::Vita, 0);
        w.TellUsageTime(0);
        EXPECT_EQ(page->GetDlgItemText(CAboutBox::kUsage),
                  "Total run (Days - Hours:Minutes) : 0 - 00:00");
        w.CloseProgram();
    }));
}

TEST(UtilityWindows, PrintAsksForEachCheckedListInOrderAndANoEndsTheRun)
{
    WindowFixture f;
    testing_support::TempDir out;
    PutFile(f.folder / "Split.Dat", "Repeater shift ~ -600.000 ~ FM ~ OFF ~\n");
    PutFile(f.folder / "Skeds.Dat",
            "209912312359 ~ New year net ~ 14.250.000 ~ USB ~ OFF ~ 7.100.000 ~ LSB ~ ON ~ "
            "NOSPLIT ~ VFO A ~\n");
    // The PC memories show another group than "_base".
    PutFile(f.folder / "Contest.mem", "");
    {
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteString(settings::memorie::Gruppo, "Contest");
    }
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        auto* page = w.findChild<CUtility*>();
        ASSERT_NE(page, nullptr);
        for (int id : {CUtility::kPrint, CUtility::kBandLimits})
            EXPECT_TRUE(page->GetDlgItem(id)->isEnabled()) << id;
        for (int id : {CDlgMem::kTemplateId, CDlgMemRadio::kTemplateId})
            w.ShowToolWindow(id);
        bool noAfterFirst = false;
        const auto questions = [&f] {
            std::vector<std::string> texts;
            for (const std::string& t : Texts(f.boxes))
                if (t.rfind("Print", 0) == 0 || t.rfind("Select", 0) == 0)
                    texts.push_back(t);
            return texts;
        };

        Click(*page, CUtility::kPrint);
        EXPECT_EQ(questions(), std::vector<std::string>{"Select one or more printjobs"});

        for (int box : {CUtility::kPrintSplit, CUtility::kPrintSkeds, CUtility::kPrintBandLimits})
            page->GetDlgItemAs<QAbstractButton>(box)->setChecked(true);
        // Yes to the split, then No to the skeds: the band limits are not even asked. The split
        // goes to a file of the user's own naming.
        f.yesNoAnswer = mb::kIdYes;
        noAfterFirst = true;
        std::vector<std::string> printed;
        {
            testing_support::PrintDialogs dialogs([&](const std::string&) {
                if (noAfterFirst)
                    f.yesNoAnswer = mb::kIdNo;
                return out / "my split.pdf";
            });
            Click(*page, CUtility::kPrint);
            EXPECT_EQ(questions(),
                      (std::vector<std::string>{"Print the Split?", "Print the Skeds ?"}));
            ASSERT_EQ(dialogs.Offered().size(), 1u);
            EXPECT_EQ(platform::BaseName(dialogs.Offered()[0]), "Split.pdf");
            printed = dialogs.Printed();
        }
        std::vector<std::string> pages = reportpdf::Pages(printed[0]);
        ASSERT_EQ(pages.size(), 1u);
        // The title on the page (pdftotext may widen its runs of blanks).
        const std::string title = w.windowTitle().toStdString();
        EXPECT_NE(pages[0].find(title.substr(0, title.find("  "))), std::string::npos) << pages[0];
        EXPECT_NE(pages[0].find("Repeater shift"), std::string::npos) << pages[0];

        // Yes to every question: the three reports and the two memory lists in their order,
        // each offered under its own name in the folder last chosen, the split where it went.
        for (int box : {CUtility::kPrintMemories, CUtility::kPrintRadioMemories})
            page->GetDlgItemAs<QAbstractButton>(box)->setChecked(true);
        f.yesNoAnswer = mb::kIdYes;
        noAfterFirst = false;
        {
            testing_support::PrintDialogs dialogs;
            Click(*page, CUtility::kPrint);
            EXPECT_EQ(questions(),
                      (std::vector<std::string>{"Print the Split?", "Print the Skeds ?",
                                                "Print the list of programme memories?",
                                                "Print the list of transceiver memories?",
                                                "Print the band limit settings?"}));
            EXPECT_EQ(dialogs.Offered(),
                      (std::vector<std::string>{out / "my split.pdf", out / "Skeds.pdf",
                                                out / "Contest.pdf", out / "MemRTX.pdf",
                                                out / "BandLimits.pdf"}));
            printed = dialogs.Printed();
        }
        ASSERT_EQ(printed.size(), 5u);
        const std::vector<std::pair<std::string, std::string>> expected{
            {"List the Split :", "-600.000"},
            {"List of the Skeds :", "New year net"},
            {"List program Memories", "Page 1 of 1"},
            {"List program Memories", "Page 1 of"},
            {"Band Limits :", "General coverage of the transceiver from"}};
        for (std::size_t i = 0; i < expected.size(); ++i) {
            pages = reportpdf::Pages(printed[i]);
            ASSERT_FALSE(pages.empty()) << i;
            EXPECT_NE(pages[0].find(expected[i].first), std::string::npos) << pages[0];
            EXPECT_NE(pages[0].find(expected[i].second), std::string::npos) << pages[0];
        }
        // The sked's date as the skeds page shows it, in the user's format.
        std::tm newYearsEve{};
        newYearsEve.tm_year = 199;
        newYearsEve.tm_mon = 11;
        newYearsEve.tm_mday = 31;
        const std::string date = platform::UserDate(newYearsEve);
        EXPECT_NE(reportpdf::Pages(printed[1])[0].find(date + " 23:59"), std::string::npos) << date;
        auto* skeds = w.findChild<CSkeds*>();
        ASSERT_NE(skeds, nullptr);
        EXPECT_EQ(skeds->GetDlgItemAs<QDateEdit>(CSkeds::kDate)->text().toStdString(), date);
        // A print that cannot be written says where it was to go.
        {
            testing_support::PrintDialogs dialogs(
                [&](const std::string&) { return out / "missing/Split.pdf"; });
            for (int box : {CUtility::kPrintSkeds, CUtility::kPrintMemories,
                            CUtility::kPrintRadioMemories, CUtility::kPrintBandLimits})
                page->GetDlgItemAs<QAbstractButton>(box)->setChecked(false);
            Click(*page, CUtility::kPrint);
            const std::string failed =
                "The print to < " + (out / "missing/Split.pdf") + " > could not be made.";
            EXPECT_EQ(Texts(f.boxes), (std::vector<std::string>{"Print the Split?", failed}));
        }

        // The band and mode limits dialog runs modally over the window.
        EXPECT_TRUE(WithModal<CLimiti>([&] { Click(*page, CUtility::kBandLimits); },
                                       [](CLimiti* dlg) {
                                           EXPECT_EQ(dlg->windowTitle(),
                                                     "Corvane - Band and mode limits");
                                           dlg->done(ctl::kIdCancel);
                                       }));
        w.CloseProgram();
    }));
}
