// The whole start-up of the application object in a temporary program folder: the order of the
// steps, the language dialog on a first start, restored files read before the INI, the position
// reset, the write test's message 194, the fonts handed to the main window, keyboard PTT and the
// shut-down.
#include "CorvaneApp.h"
#include "KeyboardPtt.h"
#include "LanguageChooser.h"
#include "PositionReset.h"
#include "StartupTestSupport.h"
#include "StringTable.h"
#include "TempDir.h"

#include <QApplication>
#include <QAbstractButton>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using testing_support::GetFile;
using testing_support::PutFile;
using testing_support::TempDir;

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "startup_sequence_test";
    static char* argv[] = {name, nullptr};
    // Left to the process's end: destroying it among the static objects is not safe.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

struct Recorder : IStartupObserver {
    void OnStartupStep(StartupStep step) override { steps.push_back(step); }
    std::vector<StartupStep> steps;
};

struct FakeMainWindow : IMainWindow {
    struct Log {
        std::string otherFace, mainFace;
        int otherSize = -1, mainSize = -1;
        int runs = 0;
        bool deleted = false;
        std::vector<bool> pttCalls;
    };
    explicit FakeMainWindow(Log& log, std::function<void(FakeMainWindow&)> during)
        : log_(log), during_(std::move(during))
    {
    }
    ~FakeMainWindow() override { log_.deleted = true; }
    void SetOtherDialogFont(const std::string& face, int size) override
    {
        log_.otherFace = face;
        log_.otherSize = size;
    }
    int DoModalWithFont(const std::string& face, int size) override
    {
        log_.mainFace = face;
        log_.mainSize = size;
        ++log_.runs;
        if (during_)
            during_(*this);
        return 1;
    }
    int PttKey() const override { return pttKey; }
    bool IsTransmitting() const override { return transmitting; }
    void SetPtt(bool on) override
    {
        transmitting = on;
        log_.pttCalls.push_back(on);
    }
    int pttKey = 0;
    bool transmitting = false;

private:
    Log& log_;
    std::function<void(FakeMainWindow&)> during_;
};

struct FakeFactory : IMainWindowFactory {
    std::unique_ptr<IMainWindow> Create(IMainWindowContext&) override
    {
        ++created;
        return std::make_unique<FakeMainWindow>(log, during);
    }
    FakeMainWindow::Log log;
    std::function<void(FakeMainWindow&)> during;
    int created = 0;
};

// Does what the language dialog's "Ok" on its first entry does.
struct FakeLanguageDialog : ILanguageDialog {
    bool Run(CCorvaneApp& app) override
    {
        ++runs;
        LanguageChooser chooser(app.Language(), app.Ini(), app.ProgramFolder());
        chooser.Refresh();
        return chooser.Choose(0).outcome == LanguageChooser::Outcome::Chosen;
    }
    int runs = 0;
};

class StartupSequenceTest : public ::testing::Test {
protected:
    StartupSequenceTest() : profile_(registryDir_ / "registry.ini")
    {
        App();
        std::filesystem::copy_file(std::string(CORVANE_SOURCE_DIR) + "/resources/English.lng",
                                   dir_ / "English.lng");
        startup_test::CopyTolvash(dir_.path);
    }

    // Runs the start-up; message boxes are recorded and answered OK.
    bool Start(bool realLanguageDialog = false)
    {
        CCorvaneApp::Setup setup;
        setup.executablePath = dir_ / "Corvane";
        setup.profile = &profile_;
        setup.mainWindow = &factory_;
        setup.languageDialog = realLanguageDialog ? nullptr : &languageDialog_;
        setup.observer = &recorder_;
        app_ = std::make_unique<CCorvaneApp>(setup);
        app_->Language().SetMessageBoxSink([this](const MessageBoxRequest& r) {
            boxes_.push_back(r);
            return mb::kIdOk;
        });
        bool result = app_->InitInstance();
        app_->ExitInstance();
        return result;
    }

    void ConfigureLanguage() { PutFile(dir_ / "Corvane.ini", "[Setup]\nLanguage=English.lng\n"); }

    TempDir dir_;
    TempDir registryDir_;
    Profile profile_;
    Recorder recorder_;
    FakeFactory factory_;
    FakeLanguageDialog languageDialog_;
    std::vector<MessageBoxRequest> boxes_;
    std::unique_ptr<CCorvaneApp> app_;
};

using S = StartupStep;

TEST_F(StartupSequenceTest, AConfiguredStartRunsEveryStepInOrderThenShutsDown)
{
    ConfigureLanguage();
    profile_.Write(settings::reg::FontOther, std::string("DejaVu Sans"));
    profile_.Write(settings::reg::FontSizeOtherAtStartup, 10);
    profile_.Write(settings::reg::FontMain, std::string("DejaVu Serif"));
    profile_.Write(settings::reg::FontSizeMainAtStartup, 12);

    EXPECT_FALSE(Start());  // always false: the program ends when the main window closes

    EXPECT_EQ(recorder_.steps,
              (std::vector<S>{S::SystemCheck, S::RegistryKey, S::ProgramPaths, S::LastPath,
                              S::PositionReset, S::RestoredFiles, S::IniPath, S::SettingsImport,
                              S::Language, S::WriteTestFile, S::WriteTestIni, S::Bitmaps,
                              S::MainWindowCreate, S::MainWindowFonts, S::MainWindowRun,
                              S::MainWindowDelete}));
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(languageDialog_.runs, 0);

    EXPECT_EQ(profile_.Get(settings::reg::LastPath), dir_.path + "/");
    EXPECT_EQ(std::string(app_->Ini().GetPath()), dir_ / "Corvane.ini");
    EXPECT_EQ(app_->Language().GetFilePath(), "");  // English.lng has no entries: English
    EXPECT_TRUE(app_->WriteTestReport().fileByTolvash);
    EXPECT_TRUE(app_->WriteTestReport().iniByTolvash);

    EXPECT_EQ(factory_.created, 1);
    EXPECT_EQ(factory_.log.otherFace, "DejaVu Sans");
    EXPECT_EQ(factory_.log.otherSize, 10);
    EXPECT_EQ(factory_.log.mainFace, "DejaVu Serif");
    EXPECT_EQ(factory_.log.mainSize, 12);
    EXPECT_EQ(factory_.log.runs, 1);
    EXPECT_TRUE(factory_.log.deleted);
    EXPECT_EQ(app_->MainWindow(), nullptr);
}

TEST_F(StartupSequenceTest, FirstStartAsksForTheLanguageBeforeTheWriteTest)
{
    EXPECT_FALSE(Start());
    EXPECT_EQ(languageDialog_.runs, 1);
    auto at = [&](S s) {
        return std::find(recorder_.steps.begin(), recorder_.steps.end(), s)
               - recorder_.steps.begin();
    };
    EXPECT_LT(at(S::Language), at(S::LanguageDialog));
    EXPECT_LT(at(S::LanguageDialog), at(S::WriteTestFile));
    EXPECT_EQ(factory_.log.runs, 1);
    // The choice is kept, so the next start asks no more.
    EXPECT_EQ(app_->Ini().GetString("Setup", "Language"), "English.lng");
    EXPECT_EQ(factory_.log.mainSize, 0);  // no font set: the template font

    // Settings too large to be read are no first start: the file is named, nothing is asked,
    // nothing written, and the program ends.
    const std::string ini = dir_ / "Corvane.ini";
    const std::string big = GetFile(ini) + std::string(2 * 1024 * 1024, ';') + "\n";
    PutFile(ini, big);
    boxes_.clear();
    EXPECT_FALSE(Start());
    EXPECT_EQ(languageDialog_.runs, 1);
    EXPECT_EQ(factory_.created, 1);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "The settings file < " + ini
                                  + " > cannot be read: The file is too large\n\nThe program ends "
                                    "and leaves the file as it is.");
    EXPECT_TRUE(GetFile(ini) == big);
}

// Presses the button captioned `caption` of the first modal dialog that opens.
void PressInModalDialog(const QString& caption)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, caption] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            if (++*tries > 10000)
                poll->deleteLater();  // no dialog came: the test's checks fail
            return;
        }
        poll->deleteLater();
        for (auto* button : modal->findChildren<QAbstractButton*>())
            if (button->text() == caption)
                return button->click();
        modal->close();
    });
    poll->start(0);
}

TEST_F(StartupSequenceTest, TheLanguageDialogItselfOnAFirstStart)
{
    PressInModalDialog("Ok");
    EXPECT_FALSE(Start(true));
    EXPECT_EQ(app_->Ini().GetString("Setup", "Language"), "English.lng");
    EXPECT_EQ(factory_.log.runs, 1);

    std::filesystem::remove(dir_ / "Corvane.ini");
    factory_.created = 0;
    PressInModalDialog("Abort");
    EXPECT_FALSE(Start(true));
    EXPECT_EQ(factory_.created, 0);
    EXPECT_EQ(recorder_.steps.back(), S::LanguageDialog);
}

TEST_F(StartupSequenceTest, ARestoredIniIsInPlaceBeforeTheSettingsAreRead)
{
    PutFile(dir_ / "CORVANE.INI", "[Setup]\nLanguage=Gone.lng\n");
    PutFile(dir_ / "Corvane.bkp", "[Setup]\nLanguage=English.lng\nBaud=9600\n");
    EXPECT_FALSE(Start());
    EXPECT_EQ(languageDialog_.runs, 0);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "CORVANE.INI"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "Corvane.bkp"));
    EXPECT_EQ(app_->Ini().GetInt("Setup", "Baud", 0), 9600);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(StartupSequenceTest, ResetPositionForgetsWindowPlacesAndFonts)
{
    ConfigureLanguage();
    for (const auto& e : position_reset::ResetValues())
        profile_.WriteProfileInt(e.section, e.name, 7);
    profile_.WriteProfileString("CurrentSet", "FontMain", "DejaVu Serif");
    profile_.Write(settings::reg::ResetPosition, 1);
    profile_.Write(settings::reg::Backup, std::string("/backups/Corvane_BACKUP.ZIP"));

    EXPECT_FALSE(Start());
    for (const auto& e : position_reset::ResetValues())
        EXPECT_EQ(profile_.GetProfileInt(e.section, e.name, -1), -1) << e.section << "/" << e.name;
    EXPECT_EQ(factory_.log.mainFace, "");
    EXPECT_EQ(factory_.log.mainSize, 0);
    EXPECT_EQ(profile_.Get(settings::reg::Backup), "/backups/Corvane_BACKUP.ZIP");

    // Without the request the places stay.
    profile_.WriteProfileInt("TxRx", "Top", 40);
    Start();
    EXPECT_EQ(profile_.GetProfileInt("TxRx", "Top", -1), 40);
}

TEST_F(StartupSequenceTest, AFolderWithoutWriteRightsShowsMessage194AndEnds)
{
    for (bool withTolvash : {true, false}) {
        SCOPED_TRACE(withTolvash ? "with tolvash" : "without tolvash");
        if (!withTolvash)
            std::filesystem::remove(dir_ / "tolvash");
        ConfigureLanguage();
        boxes_.clear();
        recorder_.steps.clear();
        startup_test::ReadOnlyFolder readOnly(dir_.path);
        if (!readOnly.Ok())
            GTEST_SKIP() << "cannot make a folder read-only here";

        EXPECT_FALSE(Start());
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].text, FindStringTableText(strid::kNoWriteRights));
        EXPECT_EQ(boxes_[0].style & 0xF0, mb::kIconError);
        EXPECT_EQ(factory_.created, 0);
        EXPECT_EQ(recorder_.steps.back(), S::WriteTestFile);
    }
}

TEST_F(StartupSequenceTest, KeyboardPttWorksWhileTheMainWindowRunsAndIsReleasedAfter)
{
    ConfigureLanguage();
    factory_.during = [](FakeMainWindow& window) {
        window.pttKey = 123;  // F12
        QWidget target;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &press);
        // The window closes with the key still down.
    };
    Start();
    EXPECT_EQ(factory_.log.pttCalls, (std::vector<bool>{true, false}));
}

// ---- keyboard PTT on its own ----

class KeyTarget : public QWidget {
public:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
    void keyReleaseEvent(QKeyEvent* e) override { keys.push_back(-e->key()); }
    std::vector<int> keys;
};

class KeyboardPttTest : public ::testing::Test {
protected:
    KeyboardPttTest() : window_(log_, {}) { App(); }
    void Send(QEvent::Type type, int key, bool repeat = false, unsigned long timestamp = 0)
    {
        QKeyEvent e(type, key, Qt::NoModifier, QString(), repeat);
        e.setTimestamp(timestamp);
        QCoreApplication::sendEvent(&target_, &e);
    }
    FakeMainWindow::Log log_;
    FakeMainWindow window_;
    KeyTarget target_;
};

TEST_F(KeyboardPttTest, TheKeyKeysAndUnkeysAndIsSwallowed)
{
    window_.pttKey = 122;  // F11
    CKeyboardPtt ptt(window_);
    Send(QEvent::KeyPress, Qt::Key_F11);
    EXPECT_TRUE(window_.transmitting);
    // Auto-repeat neither unkeys nor keys again, marked or not (an unmarked pair shares its
    // time stamp and comes at once).
    Send(QEvent::KeyRelease, Qt::Key_F11, true);
    Send(QEvent::KeyPress, Qt::Key_F11, true);
    Send(QEvent::KeyRelease, Qt::Key_F11, false, 40);
    Send(QEvent::KeyPress, Qt::Key_F11, false, 40);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window_.transmitting);
    Send(QEvent::KeyPress, Qt::Key_A);
    Send(QEvent::KeyRelease, Qt::Key_F11, false, 80);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window_.transmitting);
    EXPECT_EQ(log_.pttCalls, (std::vector<bool>{true, false}));
    // Only the other key and the repeats reached the window.
    EXPECT_EQ(target_.keys, (std::vector<int>{-Qt::Key_F11, Qt::Key_F11, Qt::Key_A}));
}

TEST_F(KeyboardPttTest, NoKeyConfiguredLeavesKeysAlone)
{
    CKeyboardPtt ptt(window_);
    Send(QEvent::KeyPress, Qt::Key_Control);
    Send(QEvent::KeyRelease, Qt::Key_Control);
    EXPECT_TRUE(log_.pttCalls.empty());
    EXPECT_EQ(target_.keys.size(), 2u);
}

TEST_F(KeyboardPttTest, LosingTheFocusUnkeys)
{
    window_.pttKey = 18;  // ALT GR
    CKeyboardPtt ptt(window_);
    Send(QEvent::KeyPress, Qt::Key_AltGr);
    EXPECT_TRUE(window_.transmitting);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(qApp, &deactivate);
    EXPECT_FALSE(window_.transmitting);
    // The release that follows elsewhere does not key it again.
    Send(QEvent::KeyRelease, Qt::Key_AltGr);
    EXPECT_EQ(log_.pttCalls, (std::vector<bool>{true, false}));
}

}  // namespace
