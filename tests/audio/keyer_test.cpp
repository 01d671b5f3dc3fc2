// The voice keyer over the recorder bar on the test device: a phrase is sent keyed and released
// at its end, a missing one says so with its number and leaves the transmitter released, the
// loop's pause counts from each end of transmission (with or without a PTT port), and a program
// that closes during the pause ends the loop unkeyed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include <chrono>

#include "AudioRecorder.h"
#include "AutoCQ.h"
#include "CustomControls.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "MessagePump.h"
#include "NumEdit.h"
#include "Profile.h"
#include "TempDir.h"
#include "TestWaveSystem.h"

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "keyer_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        RegisterCustomControls();
        return a;
    }();
    return *app;
}

struct RecorderHost : IRecorderHost {
    bool DriverAudio() const override { return false; }
    bool ExtendedFunctions() const override { return true; }
    void PauseDriverAudio(bool) override {}
    bool RunAudioSettings(QWidget*) override { return false; }
};

struct Keyer : IKeyerHost {
    testing_support::TempDir dir{"corvane-keyer"};
    CIni ini;
    Profile registry{dir / "registry.ini"};
    CLanguage language;
    std::vector<MessageBoxRequest> boxes;
    RecorderHost recorderHost;
    std::shared_ptr<audio::TestWaveSystem> devices = std::make_shared<audio::TestWaveSystem>();
    std::unique_ptr<CAudioRecorder> bar;
    std::unique_ptr<CAutoCQ> page;

    // IKeyerHost, with what the keyer did
    bool pttPort = true;
    bool keyed = false;
    std::vector<std::pair<bool, std::uint64_t>> keying;  // state and time
    std::vector<int> waits;
    std::function<bool()> duringWait;
    void SetPtt(bool on) override
    {
        keyed = on;
        keying.emplace_back(on, TickMs());
    }
    bool HasPttPort() const override { return pttPort; }
    bool Wait(int ms) override
    {
        waits.push_back(ms);
        if (duringWait && !duringWait())
            return false;
        platform::WaitPumpingMessages(ms);
        return true;
    }
    CAudioRecorder* Recorder() override { return bar.get(); }
    std::uint64_t TickMs() const override
    {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }

    Keyer()
    {
        App();
        language.SetMessageBoxSink([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return mb::kIdYes;
        });
        framework::SetLanguage(&language);
        ini.SetPath((dir / "Corvane.ini").c_str());
        bar = std::make_unique<CAudioRecorder>(recorderHost, ini, registry, devices);
        bar->Create(CAudioRecorder::kTemplateId, nullptr);
        page = std::make_unique<CAutoCQ>(*this, ini, dir.path + "/");
        page->Create(CAutoCQ::kTemplateId, nullptr);
    }
    ~Keyer() override
    {
        page.reset();
        bar.reset();
        framework::SetLanguage(nullptr);
    }
    void Pump(int n = 50)
    {
        for (int i = 0; i < n; ++i)
            platform::PumpMessages();
    }
    void Click(int id)
    {
        if (auto* b = page->GetDlgItemAs<QPushButton>(id))
            b->click();
    }
    // Records phrase n through its Record button (the question answered Yes).
    void RecordPhrase(int n)
    {
        const std::string shown = bar->GetDlgItemText(CAudioRecorder::kFile);
        Click(CAutoCQ::kRecordFirst + n - 1);
        ASSERT_TRUE(page->Recording());
        // The bar names the phrase while it records, and its own file again after.
        EXPECT_EQ(bar->GetDlgItemText(CAudioRecorder::kFile), "Frase" + std::to_string(n) + ".wav");
        Pump();
        Click(CAutoCQ::kRecordFirst + n - 1);
        Pump();
        ASSERT_FALSE(page->Recording());
        EXPECT_EQ(bar->GetDlgItemText(CAudioRecorder::kFile), shown);
    }
    int Plays() const { return static_cast<int>(devices->Output(-1).formats.size()); }
};

}  // namespace

TEST(VoiceKeyer, APhraseGoesOutKeyedAndAMissingOneIsNamedUnkeyed)
{
    Keyer k;
    k.RecordPhrase(1);
    EXPECT_TRUE(k.keying.empty()) << "recording does not key";

    k.Click(CAutoCQ::kTransmitFirst);
    EXPECT_TRUE(k.page->Transmitting());
    EXPECT_TRUE(k.keyed);
    EXPECT_FALSE(k.page->GetDlgItem(CAutoCQ::kRecordFirst + 1)->isEnabled());
    k.Pump(200);
    EXPECT_FALSE(k.page->Transmitting()) << "the end of the file ends the transmission";
    EXPECT_FALSE(k.keyed);
    EXPECT_EQ(k.Plays(), 1);
    EXPECT_TRUE(k.page->GetDlgItem(CAutoCQ::kRecordFirst + 1)->isEnabled());

    const std::size_t boxesBefore = k.boxes.size();
    k.Click(CAutoCQ::kTransmitFirst + 2);
    ASSERT_EQ(k.boxes.size(), boxesBefore + 1);
    EXPECT_EQ(k.boxes.back().text, "Phrase 3 not present, please register");
    EXPECT_FALSE(k.page->Transmitting());
    EXPECT_FALSE(k.keyed);
    ASSERT_FALSE(k.keying.empty());
    EXPECT_FALSE(k.keying.back().first) << "keyed, then released";

    // Without a PTT port the phrase plays unkeyed.
    k.pttPort = false;
    k.keying.clear();
    k.Click(CAutoCQ::kTransmitFirst);
    k.Pump(200);
    EXPECT_EQ(k.Plays(), 2);
    EXPECT_TRUE(k.keying.empty());
}

TEST(VoiceKeyer, TheLoopPauseCountsFromEachEndOfTransmissionWithOrWithoutAPttPort)
{
    for (const bool port : {true, false}) {
        SCOPED_TRACE(port ? "with a PTT port" : "without a PTT port");
        Keyer k;
        k.pttPort = port;
        k.RecordPhrase(2);
        k.page->GetDlgItemAs<CNumEdit>(CAutoCQ::kPauseFirst + 1)->SetValue(1);
        const int loop = CAutoCQ::kLoopFirst + 1;
        k.Click(loop);
        ASSERT_TRUE(k.page->Looping());
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (k.Plays() < 3 && std::chrono::steady_clock::now() < end)
            platform::WaitPumpingMessages(10);
        EXPECT_GE(k.Plays(), 3);
        // Each pause waited (nearly) the whole second: the release was just taken.
        ASSERT_GE(k.waits.size(), 2u);
        for (int ms : k.waits)
            EXPECT_GE(ms, 900);
        if (port) {
            // Keyed and released in turn, at least the pause apart.
            for (std::size_t i = 1; i + 1 < k.keying.size(); i += 2) {
                EXPECT_FALSE(k.keying[i].first);
                EXPECT_TRUE(k.keying[i + 1].first);
                EXPECT_GE(k.keying[i + 1].second - k.keying[i].second, 950u);
            }
        }
        k.Click(loop);
        EXPECT_FALSE(k.page->Looping());
        EXPECT_FALSE(k.keyed);
        EXPECT_EQ(k.bar->Engine().State(), audio::WaveEngine::kIdle);
    }
}

TEST(VoiceKeyer, ClosingDuringTheLoopPauseEndsItUnkeyed)
{
    Keyer k;
    k.RecordPhrase(1);
    // The program closes while the loop waits in its pause.
    k.duringWait = [&] {
        k.page->Shutdown();
        return false;
    };
    k.Click(CAutoCQ::kLoopFirst);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (k.waits.empty() && std::chrono::steady_clock::now() < end)
        platform::WaitPumpingMessages(10);
    ASSERT_EQ(k.waits.size(), 1u);
    k.Pump(200);
    EXPECT_FALSE(k.page->Looping());
    EXPECT_FALSE(k.keyed);
    EXPECT_FALSE(k.keying.back().first) << "the last keying is the release";
    EXPECT_EQ(k.Plays(), 1) << "no transmission after the close";
    EXPECT_EQ(k.bar->Engine().State(), audio::WaveEngine::kIdle);
}
