// The small operations of the command layer against the simulated radio: VFO selection, split,
// filter, mode, the typed frequency, and the receive entry points for driver and early serial
// frames.
#include <gtest/gtest.h>

#include <cerrno>

#include "CommandLayout.h"
#include "ControllerTestSupport.h"
#include "VekDriver.h"
#include "WindowMessages.h"

using namespace ctltest;

TEST(ControllerCommands, SelectVfoKeepsTheOtherVfoAndReadsTheNewOne)
{
    SimRig rig;
    rig.radio->SelectVfoByHand(1);
    rig.radio->SetFrequencyByHand(7050000);
    rig.radio->SelectVfoByHand(0);
    rig.radio->SetFrequencyByHand(14200000);

    rig.controller->SelectVfoA();
    EXPECT_EQ(rig.view.frequency, 14200000.0);
    EXPECT_TRUE(rig.view.Button(radio::ctl::kVfoA));
    EXPECT_EQ(rig.clients.ddeVfo, 1);
    EXPECT_TRUE(rig.view.enabled[radio::ctl::kStoreR]);

    rig.controller->SelectVfoB();
    EXPECT_EQ(rig.radio->State().currentVfo, 1);
    EXPECT_EQ(rig.view.frequency, 7050000.0);
    EXPECT_TRUE(rig.view.Button(radio::ctl::kVfoB));
    EXPECT_FALSE(rig.view.Button(radio::ctl::kVfoA));
    EXPECT_EQ(rig.clients.ddeVfo, 0);
    EXPECT_TRUE(rig.clients.Has(9, 1));
    EXPECT_EQ(rig.view.secondLabel, "VFO-A : ");
    EXPECT_EQ(rig.view.secondText, "14.200.000 USB");
    EXPECT_EQ(rig.view.status, " VFO-B");
}

TEST(ControllerCommands, SplitOnReadsBothVfosAndOffRestoresDuplex)
{
    SimRig rig;
    rig.controller->SelectVfoA();
    rig.radio->ClearFrames();
    rig.controller->OnSplit();
    rig.Settle();
    EXPECT_TRUE(rig.radio->State().split);
    EXPECT_EQ(rig.radio->State().currentVfo, 0);  // back on A
    EXPECT_EQ(rig.Sent().front(), rig.Frame({0x0F, 0x01}));
    EXPECT_EQ(rig.view.status, " VFO-A SPL");
    EXPECT_EQ(rig.clients.ddeSplit, 1);
    EXPECT_FALSE(rig.view.secondText.empty());

    ctltest::MutableState(*rig.controller).duplexPlusRemembered = true;
    rig.controller->OnSplit();
    rig.Settle();
    EXPECT_FALSE(rig.radio->State().split);
    EXPECT_TRUE(rig.view.Button(radio::ctl::kDupPlus));
    EXPECT_EQ(rig.clients.ddeSplit, 0);
}

TEST(ControllerCommands, FilterTogglesExceptInWfm)
{
    SimRig rig;
    rig.controller->ReadFrequencyMode(true);
    rig.controller->OnFilter();
    rig.Settle();
    EXPECT_EQ(rig.radio->State().vfo[0].filter, 2);
    EXPECT_TRUE(rig.view.Button(radio::ctl::kFilter));
    EXPECT_TRUE(rig.clients.Has(4, 1));
    rig.controller->OnFilter();
    rig.Settle();
    EXPECT_EQ(rig.radio->State().vfo[0].filter, 1);

    rig.radio->SetModeByHand(radio::kWfm, 1);
    rig.controller->ReadFrequencyMode(true);
    rig.controller->OnFilter();
    rig.Settle();
    EXPECT_EQ(rig.radio->State().vfo[0].filter, 1);
    EXPECT_FALSE(rig.view.Button(radio::ctl::kFilter));
}

TEST(ControllerCommands, SetModeHandlesFilterAndDuplex)
{
    SimRig rig;
    rig.controller->ReadFrequencyMode(true);
    rig.Settle();
    radio::RadioState& s = ctltest::MutableState(*rig.controller);
    s.filterNarrow = true;
    s.duplexPlusRemembered = true;
    rig.radio->ClearFrames();
    EXPECT_TRUE(rig.controller->SetMode(radio::kWfm));
    EXPECT_FALSE(rig.view.Button(radio::ctl::kFilter));
    EXPECT_EQ(rig.view.modeText, "WFM");
    rig.Settle();  // a newer setting replaces one still queued
    EXPECT_TRUE(rig.controller->SetMode(radio::kFm));
    EXPECT_TRUE(rig.view.Button(radio::ctl::kDupPlus));
    rig.Settle();
    s.filterNarrow = true;
    EXPECT_TRUE(rig.controller->SetMode(radio::kUsb));
    EXPECT_FALSE(rig.view.Button(radio::ctl::kDupPlus));
    EXPECT_NE(rig.view.status.find(" N"), std::string::npos);  // the status line follows
    rig.Settle();
    EXPECT_EQ(rig.Sent(),
              (std::vector<Bytes>{rig.Frame({0x06, 0x06, 0x01}), rig.Frame({0x06, 0x05, 0x01}),
                                  rig.Frame({0x06, 0x01, 0x02})}));
    EXPECT_EQ(rig.radio->State().mode, radio::kUsb);

    // A mode outside the model's list changes nothing.
    rig.radio->ClearFrames();
    s.modeNames.resize(5);
    EXPECT_FALSE(rig.controller->SetMode(radio::kFm));
    EXPECT_FALSE(rig.controller->SetMode(-1));
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());
    EXPECT_EQ(rig.controller->State().mode, radio::kUsb);
}

TEST(ControllerCommands, TypedFrequencyIsSentOnlyInsideTheLimits)
{
    SimRig rig;
    ctltest::MutableState(*rig.controller).upperLimit = 199999999;
    rig.controller->OnKillFocusFrequency(21300000);
    rig.Settle();
    EXPECT_EQ(rig.radio->State().vfo[0].frequencyHz, 21300000u);
    EXPECT_TRUE(rig.clients.Has(0, 21300000));
    EXPECT_EQ(rig.clients.ddeFrequency, 21300000);

    rig.radio->ClearFrames();
    rig.controller->OnKillFocusFrequency(432000000);
    EXPECT_FALSE(rig.controller->SetFrequency(432000000));
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());
    EXPECT_TRUE(rig.controller->SetFrequency(50100000));
    rig.Settle();
    EXPECT_EQ(rig.radio->State().vfo[0].frequencyHz, 50100000u);

    // A send already running is not interrupted by a second one.
    rig.radio->ClearFrames();
    ctltest::MutableState(*rig.controller).sending = true;
    rig.controller->OnKillFocusFrequency(21300000);
    // Nor does a client's frequency go out then: it hears so rather than a false success.
    EXPECT_FALSE(rig.controller->SetFrequency(7050000));
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());
}

TEST(ControllerCommands, TheFieldShowsTheFrequencyInForceExceptWhileTheUserTypes)
{
    SimRig rig;
    rig.controller->ReadFrequencyMode(true);
    rig.Settle();
    ASSERT_EQ(rig.view.frequency, 14074000.0);

    // Typing: a client's frequency is not sent, and the radio's report is kept, not shown.
    rig.view.typing = true;
    rig.view.frequency = 7;
    rig.radio->ClearFrames();
    EXPECT_FALSE(rig.controller->SetFrequency(7050000));
    rig.radio->SetFrequencyByHand(14100000);
    rig.controller->ReadFrequencyMode(true);
    rig.Settle();
    for (const Bytes& f : rig.Sent())
        EXPECT_NE(f[4], 0x05);
    EXPECT_EQ(rig.view.frequency, 7.0);
    EXPECT_EQ(rig.controller->State().frequencyHz, 14100000);

    // A typed value the radio cannot take gives way to the frequency in force.
    rig.view.typing = false;
    rig.controller->OnKillFocusFrequency(7);
    EXPECT_EQ(rig.view.frequency, 14100000.0);

    // After "OFF LINE" the same frequency, reported again, is shown again.
    rig.controller->ShowOffLine();
    rig.view.frequency = 0;
    rig.controller->SetOffLine(false);
    rig.clients.notes.clear();
    rig.controller->ReadFrequencyMode(true);
    rig.Settle();
    EXPECT_EQ(rig.view.frequency, 14100000.0);
    EXPECT_TRUE(rig.clients.Has(0, 14100000));
}

TEST(ControllerCommands, EnsureVfoKnownAsksWhenNoVfoIsSelected)
{
    SimRig rig;
    rig.view.vfoChoice = 0;
    EXPECT_FALSE(rig.controller->EnsureVfoKnown());
    EXPECT_EQ(rig.view.beeps, 1);
    rig.view.vfoChoice = radio::kVfoB;
    EXPECT_TRUE(rig.controller->EnsureVfoKnown());
    EXPECT_EQ(rig.radio->State().currentVfo, 1);
    EXPECT_TRUE(rig.controller->EnsureVfoKnown());
    EXPECT_EQ(rig.view.beeps, 2);
}

TEST(ControllerCommands, ReadFrequencyModeFollowsTheRadio)
{
    SimRig rig;
    rig.radio->SetFrequencyByHand(3650000);
    rig.radio->SetModeByHand(radio::kLsb, 2);
    rig.controller->ReadFrequencyMode(true);
    EXPECT_EQ(rig.view.frequency, 3650000.0);
    EXPECT_EQ(rig.view.modeText, "LSB");
    EXPECT_TRUE(rig.view.Button(radio::ctl::kFilter));
    EXPECT_FALSE(rig.controller->State().displayNotReady);
    EXPECT_FALSE(rig.view.enabled[radio::ctl::kStoreR]);  // no VFO button down
    EXPECT_FALSE(rig.view.enabled[radio::ctl::kReverse]);
    EXPECT_TRUE(rig.controller->State().pollingAllowed);

    ctltest::MutableState(*rig.controller).closing = true;
    rig.radio->ClearFrames();
    EXPECT_EQ(rig.controller->OnReadFrequencyRequest(), 0);
    rig.Settle();
    EXPECT_TRUE(rig.Sent().empty());
}

TEST(ControllerCommands, EarlySerialFramesGoThroughTheWorker)
{
    SimRig rig(sim::RadioModel::IC706MKIIG, true);
    // Leading noise, then a frequency frame from the radio.
    const Bytes block = {0x00, 0x11, 0xFE, 0xFE, 0xE0, 0x58, 0x00,
                         0x00, 0x00, 0x10, 0x14, 0x00, 0xFD, 0x77};
    rig.controller->OnSerialBlock(block.data(), static_cast<int>(block.size()));
    EXPECT_TRUE(rig.PumpUntil([&] { return rig.view.frequency == 14100000.0; }));
    EXPECT_EQ(rig.view.rxSwaps, 2);  // the early frame and its delivery
    ctltest::MutableState(*rig.controller).frequencyHz = 1;

    // Another source, or no frame at all, is dropped.
    const Bytes other = {0xFE, 0xFE, 0xE0, 0x5E, 0x00, 0x00, 0x00, 0x20, 0x14, 0x00, 0xFD};
    rig.controller->OnSerialBlock(other.data(), static_cast<int>(other.size()));
    const Bytes noEnd = {0xFE, 0xFE, 0xE0, 0x58, 0x00, 0x00};
    rig.controller->OnSerialBlock(noEnd.data(), static_cast<int>(noEnd.size()));
    // A frame behind them is the first to arrive.
    rig.controller->OnSerialBlock(block.data() + 2, 11);
    EXPECT_TRUE(rig.PumpUntil([&] { return rig.view.rxSwaps == 4; }));
    EXPECT_EQ(rig.view.frequency, 14100000.0);  // only the last one was parsed

    // A preamble inside a broken frame starts the frame that is delivered.
    const Bytes glued = {0xFE, 0xFE, 0xE0, 0x58, 0x00, 0x12, 0xFE, 0xFE, 0xE0,
                         0x58, 0x00, 0x00, 0x00, 0x30, 0x14, 0x00, 0xFD};
    rig.controller->OnSerialBlock(glued.data(), static_cast<int>(glued.size()));
    EXPECT_TRUE(rig.PumpUntil([&] { return rig.view.frequency == 14300000.0; }));

    // An impossible length is a receive error.
    rig.controller->OnSerialBlock(block.data(), 0);
    EXPECT_TRUE(rig.controller->State().noAnswer);
    EXPECT_EQ(rig.view.texts[radio::ctl::kStatus], "Error");
    EXPECT_NE(testing_support::GetFile(rig.logPath).find("RX:Error "), std::string::npos);
}

TEST(ControllerCommands, DriverFrameWithoutDriverOrBadLengthIsAnError)
{
    SimRig rig;
    rig.view.frequency = 7000000;
    rig.controller->OnDriverFrame(257, 1);
    EXPECT_TRUE(rig.controller->State().noAnswer);
    EXPECT_EQ(rig.view.frequency, 0.0);
    EXPECT_EQ(rig.view.texts[radio::ctl::kStatus2], " ");
    EXPECT_EQ(rig.view.texts[radio::ctl::kStatus], "Error");
}

namespace {

// The driver's posts, as the main window's message target would queue them.
struct DriverPosts {
    static void Post(void* context, unsigned message, uintptr_t wParam, intptr_t lParam)
    {
        auto* self = static_cast<DriverPosts*>(context);
        std::lock_guard<std::mutex> lock(self->mutex);
        if (message == msg::kDriverRx)
            self->frames.emplace_back(wParam, lParam);
    }
    std::mutex mutex;
    std::vector<std::pair<uintptr_t, intptr_t>> frames;
};

}  // namespace

TEST(ControllerCommands, DriverLengthIsCheckedBeforeItIsNarrowed)
{
    SimRig rig;
    cat::CVekDriver driver;
    ASSERT_TRUE(driver.Load(std::string(CORVANE_BIN_DIR) + "/Drivers/SimRadio.so"))
        << driver.LastError();
    DriverPosts posts;
    ASSERT_NE(driver.Init(&DriverPosts::Post, &posts, msg::kDriverRx, msg::kDriverAudio,
                          msg::kDriverHelp),
              0);
    const Bytes read = {0xFE, 0xFE, 0x58, 0xE0, 0x03, 0xFD};
    ASSERT_NE(driver.SendCommand(read.data(), static_cast<int>(read.size())), 0);
    std::pair<uintptr_t, intptr_t> frame{};
    for (int i = 0; i < 5000 && frame.first == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::lock_guard<std::mutex> lock(posts.mutex);
        if (!posts.frames.empty())
            frame = posts.frames.front();
    }
    ASSERT_EQ(frame.first, 11u);
    rig.controller->SetDriver(&driver);

    // A pointer-wide length far above 256 whose low bits look like 11 is a receive error.
    rig.controller->WindowProc(msg::kDriverRx, frame.first + (uintptr_t{1} << 32), frame.second);
    EXPECT_TRUE(rig.controller->State().noAnswer);
    EXPECT_EQ(rig.view.texts[radio::ctl::kStatus], "Error");
    // The true length is taken.
    rig.controller->WindowProc(msg::kDriverRx, frame.first, frame.second);
    EXPECT_FALSE(rig.controller->State().noAnswer);

    rig.controller->SetDriver(nullptr);
    driver.Unload();
}

TEST(ControllerCommands, SerialOwnerMessagesArriveOnTheGuiThread)
{
    SimRig rig;
    const Bytes frame = {0xFE, 0xFE, 0xE0, 0x58, 0x00, 0x00, 0x00, 0x40, 0x14, 0x00, 0xFD};
    std::thread backend(
        [&] { rig.controller->PostSerialFrame(1, frame.data(), static_cast<int>(frame.size())); });
    backend.join();
    EXPECT_TRUE(rig.PumpUntil([&] { return rig.view.frequency == 14400000.0; }));

    // A port error other than a device gone makes the controller ask for the frequency again.
    rig.radio->ClearFrames();
    std::thread failing([&] { rig.controller->PostSerialError(1, ETIMEDOUT); });
    failing.join();
    ASSERT_TRUE(rig.PumpUntil([&] { return !rig.Sent().empty(); }));
    EXPECT_EQ(rig.Sent().front(), rig.Frame({0x03}));
}

TEST(ControllerCommands, AWaitTellsHowItEndedAndTheStatusShowsASilentRadioUntilItAnswers)
{
    SimRig rig;
    rig.controller->Worker().SetTimes(1000000, 20);  // a silent command is dropped after 1 s
    using radio::SendResult;
    EXPECT_EQ(rig.controller->SendCommand(0x03, 0, {}, true), SendResult::Answered);
    EXPECT_EQ(rig.controller->SendCommand(0x19, 0x01, {}, true), SendResult::Refused);
    EXPECT_EQ(rig.controller->SendCommand(0x03), SendResult::Queued);
    rig.Settle();
    const std::string shown = rig.view.status;

    sim::Fault silent;
    silent.kind = sim::FaultKind::SilentCommand;
    silent.command = 0x11;
    rig.radio->InjectFault(silent);
    EXPECT_EQ(rig.controller->SendCommand(0x11, radio::kRead, {}, true), SendResult::NoAnswer);
    EXPECT_TRUE(rig.PumpUntil([&] { return rig.view.status == "RTX not answering " + shown; }))
        << rig.view.status;
    // Other commands are answered; the state stays until the silent one answers again.
    EXPECT_EQ(rig.controller->SendCommand(0x03, 0, {}, true), SendResult::Answered);
    rig.controller->UpdateStatusLine();
    EXPECT_EQ(rig.view.status, "RTX not answering " + shown);
    rig.radio->ClearFaults();
    EXPECT_EQ(rig.controller->SendCommand(0x11, radio::kRead, {}, true), SendResult::Answered);
    EXPECT_TRUE(rig.PumpUntil([&] { return rig.view.status == shown; })) << rig.view.status;
}

// A poll's read still unanswered when a step sets a new frequency, or answered while the main
// window has not yet taken the answer in, tells the old one; the step stays in force, so the next
// step builds on it. A read asked after the set is shown.
TEST(ControllerCommands, AReadAskedBeforeASetDoesNotUndoIt)
{
    SimRig rig;
    rig.controller->ReadFrequencyMode(true);
    rig.Settle();
    ASSERT_EQ(rig.controller->State().frequencyHz, 14074000);

    for (int64_t step = 1; step <= 4; ++step) {
        rig.radio->ClearFrames();
        rig.controller->SendCommand(civ::kCmdReadFrequency);
        if (step % 2 == 0) {
            // No messages are pumped here: the answer waits in the main window's queue.
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (std::chrono::steady_clock::now() < end
                   && (rig.Sent().empty() || rig.controller->Worker().IsWaiting()))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ASSERT_FALSE(rig.Sent().empty());
            ASSERT_FALSE(rig.controller->Worker().IsWaiting());
        }
        ASSERT_TRUE(rig.controller->SetFrequency(rig.controller->State().frequencyHz + 1000));
        rig.Settle();
        EXPECT_EQ(rig.controller->State().frequencyHz, 14074000 + step * 1000) << step;
        EXPECT_EQ(rig.view.frequency, static_cast<double>(14074000 + step * 1000)) << step;
    }
    EXPECT_EQ(rig.radio->State().vfo[0].frequencyHz, 14078000u);

    // A change at the radio is seen by the next read.
    rig.radio->SetFrequencyByHand(14100000);
    rig.controller->SendCommand(civ::kCmdReadFrequency);
    rig.Settle();
    EXPECT_EQ(rig.controller->State().frequencyHz, 14100000);
}
