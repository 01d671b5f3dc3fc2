// CAutoCQ (page 253): the voice keyer. Four phrases, each with Record, Transmit, Loop and a pause
// in seconds. Transmitting keys the transmitter through the TX/RX window, plays the phrase through
// the recorder bar and releases the transmitter when the file ends; a loop repeats the phrase with
// the pause between one end of transmission and the next start. One action runs at a time.
#pragma once

#include "TabPage.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CAudioRecorder;
class CIni;
namespace platform {
class MessageTarget;
}

// What the keyer needs of the program around it.
class IKeyerHost {
public:
    virtual ~IKeyerHost() = default;
    // Keys or releases the transmitter through the TX/RX window.
    virtual void SetPtt(bool on) = 0;
    // A PTT port is configured (Setup "PTTPorta" not 0).
    virtual bool HasPttPort() const = 0;
    // Waits pumping messages; false when the wait ended early because the program is closing.
    virtual bool Wait(int ms) = 0;
    // The recorder bar the phrases are recorded and played through; null before it exists.
    virtual CAudioRecorder* Recorder() = 0;
    // Milliseconds of a steady clock.
    virtual std::uint64_t TickMs() const = 0;
};

class CAutoCQ : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 253;
    static constexpr int kPhrases = 4;
    // The first id of each column; phrase n (1..4) adds n - 1.
    static constexpr int kRecordFirst = 1188;
    static constexpr int kTransmitFirst = 1184;
    static constexpr int kLoopFirst = 1192;
    static constexpr int kPauseFirst = 1104;

    // `folder` holds the phrase files (the program folder, ending in '/').
    CAutoCQ(IKeyerHost& host, CIni& ini, std::string folder);
    ~CAutoCQ() override;

    void SavePauses();
    void EnableRows(bool on);
    // The program closes: whatever runs ends with the transmitter released.
    void Shutdown();

    bool Recording() const { return recording_; }
    bool Transmitting() const { return transmitting_; }
    bool Looping() const { return looping_; }
    // "Frase%d.wav" of phrase n.
    static std::string PhraseFile(int n);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    void WindowProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    void OnRecord(int n);
    void OnTransmit(int n);
    // 0 when the loop runs or stopped, 1 when it could not (the Loop button unchecks).
    int OnLoop(int n, bool on);
    int ContinueLoop();
    void EndLoop();
    // Plays the current phrase with notification; 0 or the recorder's error.
    int PlayPhrase();
    void ShowPlayError(int error) const;
    void Ptt(bool on);
    void SetButton(int id, const std::string& caption, int tipId);
    void SetLoopCheck(int id, bool on);
    std::string Text(int stringId) const;

    IKeyerHost& host_;
    CIni& ini_;
    std::string folder_;
    std::unique_ptr<platform::MessageTarget> target_;
    bool recording_ = false;
    bool transmitting_ = false;
    bool looping_ = false;
    bool closing_ = false;
    bool initialised_ = false;
    int currentPhrase_ = 0;
    int currentButton_ = 0;
    int loopPauseMs_ = 0;
    std::uint64_t pttReleaseTick_ = 0;
};
