// The driver library's one instance: a simulated radio in the process, its answers handed to the
// program through the posting function, frames kept in a ring for DrvGetBuffRx.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "ControlSession.h"
#include "DriverSettings.h"
#include "FrameParser.h"
#include "AudioStream.h"
#include "BlockRing.h"
#include "SimulatedRadio.h"
#include "VekDriverApi.h"

namespace simdriver {

class SimDriver {
public:
    static SimDriver& Instance();

    int Init(DrvPostFn post, void* context, unsigned msgRx, unsigned msgAudio, unsigned msgHelp);
    int SupportsAudio();
    int AudioStart();
    int AudioStop();
    int AudioPause(int pause);
    const unsigned char* AudioBlock(intptr_t handle) const { return audio_.Block(handle); }
    int Send(const unsigned char* bytes, int length);
    const unsigned char* Received(intptr_t handle) const { return ring_.Find(handle); }
    int IsConnected();
    int Ptt(int on);
    int OpenCom(int port);
    int CloseCom();
    int SetLine(bool dtr, int port, int state);
    int Setup(void* owner);
    int Stop();
    int Control(const char* command, char* reply, int replySize);

private:
    SimDriver() = default;
    void OnRadioBytes(const uint8_t* bytes, size_t length);  // the radio's thread
    // The trace holds the frames sent, one per line in hex, and what else the program asked of
    // the driver (PTT, auxiliary port and its lines) in words.
    void Trace(const unsigned char* bytes, int length);
    void TraceLine(const std::string& line);

    std::mutex mutex_;  // the radio's lifetime, the session, the trace
    std::unique_ptr<sim::SimulatedRadio> radio_;
    std::unique_ptr<sim::ControlSession> session_;
    DriverSettings settings_;
    std::FILE* trace_ = nullptr;
    uint64_t run_ = 0;  // counts DrvStop calls: a hung send waits for the next one
    int sent_ = 0;      // frames sent in this run
    std::condition_variable hangCv_;
    int comPort_ = 0;
    int dtr_ = 0;
    int rts_ = 0;

    // Touched only by the radio's thread while the radio exists.
    sim::FrameParser parser_;
    DrvPostFn post_ = nullptr;
    void* context_ = nullptr;
    unsigned msgRx_ = 0;
    unsigned msgAudio_ = 0;
    unsigned msgHelp_ = 0;

    RxRing ring_;
    // Started and stopped without holding mutex_: its thread takes mutex_ to read the squelch.
    AudioStream audio_;
};

}  // namespace simdriver
