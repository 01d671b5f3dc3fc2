// The main window as the radio link sees it, over a real worker: message boxes answered from a
// script, frames from the worker (and the driver) drained on the test's thread, and a record of
// what the link asked for.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GestCommand.h"
#include "Ini.h"
#include "Language.h"
#include "Profile.h"
#include "ProgramFolder.h"
#include "RadioLink.h"
#include "RadioLinkHost.h"
#include "TempDir.h"
#include "VekDriver.h"
#include "WindowMessages.h"

namespace linktest {

using Bytes = std::vector<uint8_t>;

class TestHost : public ILinkUser,
                 public ILinkProgress,
                 public ILinkAudio,
                 public ILinkDisplay,
                 public ILinkRadio,
                 public ILinkPosting,
                 public cat::IWorkerNotify,
                 public cat::ISerialOwner {
public:
    cat::CGestCommand* worker = nullptr;
    cat::CVekDriver* driver = nullptr;
    int radioAddress = 0x58;

    // Answers for Yes/No boxes, in order; an empty script answers No.
    std::deque<int> answers;
    std::vector<MessageBoxRequest> boxes;
    std::vector<std::string> latencyTexts;
    std::vector<Bytes> frames;  // what reached the main window
    int setupDialogs = 0;
    int noPortDialogs = 0;
    int noPortAnswer = 1;
    int closeRequests = 0;
    int offLineShown = 0;
    std::vector<std::string> lineLostTexts;
    int progressOpened = 0;
    int progressClosed = 0;
    int toolWindowsPlaced = 0;
    int syncRefreshes = 0;
    int frequencyReads = 0;
    int cancelAfterReads = -1;  // the progress dialog is cancelled after this many reads
    bool pollingHeld = false;
    bool sending = false;
    bool withFm = true;
    std::string diagnostics = "DIAGNOSTICS\r\n";
    int audioError = 0;
    std::function<int()> audioTestHook;
    int audioDialogs = 0;
    int audioTests = 0;
    int formatsApplied = 0;
    int recorderFront = -1;
    int recorderEnabled = -1;

    // ---- ILinkUser ----
    int ShowMessageBox(const MessageBoxRequest& request) override
    {
        boxes.push_back(request);
        if ((request.style & mb::kButtonsMask) != mb::kYesNo)
            return mb::kIdOk;
        if (answers.empty())
            return mb::kIdNo;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void RunSetupDialog() override { ++setupDialogs; }
    void SetWaitCursor(bool) override {}
    int RunNoPortDialog(int) override
    {
        ++noPortDialogs;
        return noPortAnswer;
    }
    void CloseProgram(bool) override { ++closeRequests; }
    // ---- ILinkProgress ----
    void OpenProgress(const std::string&, int) override { ++progressOpened; }
    void StepProgress() override {}
    bool ProgressCancelled() override
    {
        return cancelAfterReads >= 0 && frequencyReads >= cancelAfterReads;
    }
    void CloseProgress() override { ++progressClosed; }
    bool WaitPumpingMessages(int ms) override
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            PumpMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    void PumpMessages() override
    {
        std::vector<std::pair<uintptr_t, intptr_t>> driverFrames;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            driverFrames.swap(driverFrames_);
        }
        for (const auto& [length, handle] : driverFrames) {
            uint8_t frame[256];
            if (driver != nullptr && driver->CopyBuffRx(handle, frame, static_cast<int>(length))
                && worker != nullptr)
                worker->PushReceivedFrame(static_cast<int>(length), frame);
        }
        if (worker == nullptr)
            return;
        worker->AcknowledgeFramesAvailable();
        worker->AcknowledgeIdleTick();
        uint8_t buffer[256];
        int size = sizeof buffer;
        while (worker->PopFrameForGui(size, buffer)) {
            frames.emplace_back(buffer, buffer + size);
            size = sizeof buffer;
        }
    }
    bool IsClosing() override { return false; }
    // ---- ILinkAudio ----
    bool RunAudioSettingsDialog() override
    {
        ++audioDialogs;
        return true;
    }
    int TestAudioInput() override
    {
        ++audioTests;
        return audioTestHook ? audioTestHook() : audioError;
    }
    void ApplyRecordingFormat() override { ++formatsApplied; }
    void PlaceRecorderBar(int front, int enabled) override
    {
        recorderFront = front;
        recorderEnabled = enabled;
    }
    // ---- ILinkDisplay ----
    void FillModeList(bool withFmModes) override { withFm = withFmModes; }
    std::string DiagnosticsText() override { return diagnostics; }
    void PlaceToolWindows() override { ++toolWindowsPlaced; }
    void ShowLatency(const std::string& text) override { latencyTexts.push_back(text); }
    void ShowOffLine() override { ++offLineShown; }
    void ShowLineLost(const std::string& text) override { lineLostTexts.push_back(text); }
    // ---- ILinkRadio ----
    bool SetPollingHeld(bool held) override
    {
        const bool was = pollingHeld;
        pollingHeld = held;
        return was;
    }
    void SetSending(bool on) override { sending = on; }
    void SendFrequencyRead() override
    {
        ++frequencyReads;
        const uint8_t read[] = {0xFE, 0xFE, static_cast<uint8_t>(radioAddress), 0xE0, 0x03, 0xFD};
        worker->EnqueueCommand(sizeof read, 0, read);
    }
    void ReadFrequencyMode(bool) override { SendFrequencyRead(); }
    void RefreshAfterSync() override { ++syncRefreshes; }
    void CloseAuxiliaryPorts() override {}
    // ---- ILinkPosting ----
    cat::IWorkerNotify* WorkerNotifyTarget() override { return this; }
    cat::ISerialOwner* SerialOwner() override { return this; }
    DrvPostFn DriverPostFunction() override { return &TestHost::DriverPost; }
    void* DriverPostContext() override { return this; }

    // ---- cat::IWorkerNotify, cat::ISerialOwner ----
    void PostWorkerMessage(unsigned) override {}
    void PostSerialFrame(int, const uint8_t*, int) override {}
    void PostSerialError(int, int) override {}

    // Pumps until a frame satisfying pred reached the main window.
    template <typename Pred>
    bool PumpUntil(Pred pred, std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            PumpMessages();
            for (const Bytes& f : frames)
                if (pred(f))
                    return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    // Pumps until the worker has nothing left to do.
    bool PumpUntilIdle(std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            PumpMessages();
            if (worker->IsIdle())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

private:
    static void DriverPost(void* context, unsigned message, uintptr_t wParam, intptr_t lParam)
    {
        auto* self = static_cast<TestHost*>(context);
        if (message != msg::kDriverRx)
            return;
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->driverFrames_.emplace_back(wParam, lParam);
    }

    std::mutex mutex_;
    std::vector<std::pair<uintptr_t, intptr_t>> driverFrames_;
};

// A program folder with its INI file and a private registry profile, and a link over them.
struct LinkFixture {
    testing_support::TempDir folder{"corvane-link"};
    testing_support::TempDir config{"corvane-link-config"};
    CIni ini;
    Profile profile;
    CLanguage language;
    cat::CGestCommand worker;
    cat::CVekDriver driver;
    TestHost host;
    CRadioLink link{
        RadioLinkHost{host, host, host, host, host, host}, ini, profile, language, worker, driver};

    LinkFixture() : profile(config / "registry.ini")
    {
        platform::SetProgramFolder(folder.path);
        ini.SetPath((folder / "Corvane.INI").c_str());
        ::setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
        host.worker = &worker;
        host.driver = &driver;
    }
    ~LinkFixture()
    {
        worker.Stop(true);
        platform::SetProgramFolder("");
    }

    void Set(const char* section, const char* key, int value) { ini.WriteInt(section, key, value); }
    void Set(const char* section, const char* key, const char* value)
    {
        ini.WriteString(section, key, value);
    }
    // A complete set-up for a radio at 58 on COMn, with no audio questions.
    void SerialSetup(int port, int portMode, int baud = 19200)
    {
        Set("Setup", "Porta", port);
        Set("Setup", "Indirizzo", 0x58);
        Set("Setup", "RTX", 2);
        Set("Setup", "Baud", baud);
        Set("Setup", "PortaModo", portMode);
        Set("AudioRecorder", "Abilitato", 0);
    }
    // COMn leads to `device` through the user's registry profile.
    void MapPort(int port, const std::string& device)
    {
        std::filesystem::create_directories(config.path + "/Dravik/Corvane");
        Profile user;
        user.WriteProfileString("Ports", ("COM" + std::to_string(port)).c_str(), device.c_str());
    }
};

}  // namespace linktest
